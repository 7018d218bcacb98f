// [Begin EMI Model] ... [End EMI Model]: a model's EMI class.
#include "mdlemi.h"

#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "errlog.h"
#include "mdl.h"
#include "parse.h"
#include "rng.h"

#define CMN_MODULE_PATH "IbisParser/mdlemi"

unsigned long gMdlemiBeginLine;

typedef struct {
    const char* word;
    int code;
} MDLEMI_WORD;

static const MDLEMI_WORD mdlemi_domains[] = {{"Analog", 1}, {"Digital", 2}, {"", 0}};
static const MDLEMI_WORD mdlemi_types[] = {{"Ferrite", 1}, {"Not_a_ferrite", 2}, {"", 0}};

void MDLEMI_Reset(void) { gMdlemiBeginLine = 0; }

int MDLEMI_New(const char* text, ModelEmiRecord** field, int previousKeyword)
{
    CMN_ASSERT(text != nullptr && field != nullptr);
    (void)previousKeyword;
    if (*field != nullptr) {
        ERRLOG_LineErrorNew(4800);
        ModelEmiRecord* old = *field;
        *field = nullptr;
        MDLEMI_Free(old);
    }
    if (!CMN_malloc((void**)field, sizeof(ModelEmiRecord))) {
        *field = nullptr;
        ERRLOG_BugNew(4804, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    RNG_CheckKeywordLine(text, "EMI Model", 4803, 4802, 4801);
    gMdlemiBeginLine = PARSE_GetLineNum();
    return 1;
}

void MDLEMI_ReceiveLine(const char* text, ModelEmiRecord* record)
{
    CMN_ASSERT(text != nullptr && record != nullptr);
    ARG_LIST a;
    if (!CMN_ArgParse(text, 1, &a)) {
        ERRLOG_LineBugNew(4802, "EMI Model Sub-Parameter", CMN_MODULE_PATH, __LINE__);
        return;
    }
    const char* name = nullptr;
    if (a.iCount > 0) {
        if (strcmp(a.psArgs[0], "Model_emi_type") == 0) name = "Model_emi_type";
        if (strcmp(a.psArgs[0], "Domain") == 0) name = "Domain";
    }
    CMN_ArgFree(&a);
    if (name == nullptr) return;
    int isDomain = name[0] == 'D';
    int* field = isDomain ? &record->Domain : &record->Model_emi_type;
    const MDLEMI_WORD* table = isDomain ? mdlemi_domains : mdlemi_types;
    if (*field != 0) ERRLOG_LineErrorNew(4805, name);
    *field = 0;
    if (!CMN_ArgParse(text, 2, &a)) {
        ERRLOG_LineBugNew(4802, name, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (a.iTotal == 1) {
        ERRLOG_LineErrorNew(4806, name);
    } else if (a.iTotal != 2) {
        ERRLOG_LineErrorNew(4801, a.iTotal, name, 2);
    } else {
        const char* value = a.psArgs[1];
        int found = 0;
        for (const MDLEMI_WORD* row = table; row->code != 0 && !found; row++) {
            if (strcmp(row->word, value) == 0) {
                *field = row->code;
                found = 1;
            } else if (CMN_StrSameIC(row->word, value)) {
                ERRLOG_LineErrorNew(4807, name, value, row->word);
                found = 1;
            }
        }
        if (!found) ERRLOG_LineErrorNew(4808, name, value);
    }
    CMN_ArgFree(&a);
}

void MDLEMI_Fini(ModelRecord* model)
{
    CMN_ASSERT(model != nullptr && model->Emi != nullptr);
}

void MDLEMI_Free(ModelEmiRecord* record) { free(record); }
