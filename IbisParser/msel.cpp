// [Model Selector] keyword: reading, end check, look-ups by name and the
// whole-file check of the listed models.
#include "msel.h"

#include <stdlib.h>
#include <string.h>

#include "rowlist.h"
#include "cmn.h"
#include "cmpnt.h"
#include "errlog.h"
#include "ibis.h"
#include "mdl.h"
#include "parse.h"
#include "subparm.h"

#define CMN_MODULE_PATH "IbisParser/msel"

static const SUBPARM_NAME_CODES s_nameCodes = {
    "Model Selector", nullptr, 0, 4009, 4010, 4011, 4012, 4013, 0,
};

static ModelSelectorRecord* gCurrentMsel;
static int eMselKeyword = KW_NOT_KEY, eMselPrevKeyword = KW_NOT_KEY;
// The current selector's last entry and how often each model name is listed
// in it so far (a selector may list many models).
static const char* s_EntryName(const ModelSelectorEntry* e) { return e->name; }
static RowAppender<ModelSelectorEntry> s_entries(s_EntryName);

static const char* s_SelectorName(const ModelSelectorRecord* s) { return s->name; }

void MSEL_Init(void)
{
    gCurrentMsel = nullptr;
    s_entries.Forget();
    CMPNT_ForgetIndexes();
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_LineBugNew(4000, CMN_MODULE_PATH, __LINE__);
        return;
    }
    ModelSelectorRecord* rec = nullptr;
    if (!CMN_malloc((void**)&rec, sizeof(ModelSelectorRecord))) {
        ERRLOG_LineErrorNew(4007);
        return;
    }
    rec->singleEnded = 2;
    IBIS_AddMsel(ibis, rec);
    gCurrentMsel = rec;
}

void MSEL_Reset(void)
{
    gCurrentMsel = nullptr;
    eMselKeyword = eMselPrevKeyword = KW_NOT_KEY;
    s_entries.Forget();
}

void MSEL_AddLink(ModelSelectorRecord* rec, ModelSelectorRecord* next)
{
    CMN_ASSERT(rec != nullptr);
    rec->next = next;
}

// 1 when an older selector of the container has the name of sel, the newest.
static int s_NameTaken(ModelSelectorRecord* sel)
{
    IBIS* ibis = nullptr;
    if (IBIS_GetIBIS(&ibis) && ibis->modelSelectors == sel)
        return IBIS_NamesOf(ibis)->selectors.Of(sel, s_SelectorName).Count(sel->name) > 1;
    return MSEL_NameExists(sel->name, sel->next);
}

static void s_KeywordLine(ModelSelectorRecord* sel, int code, const char* text)
{
    eMselPrevKeyword = eMselKeyword;
    eMselKeyword = code;
    if (code != KW_MODEL_SELECTOR) {
        ERRLOG_LineBugNew(4003, CMN_MODULE_PATH, __LINE__);
        return;
    }
    unsigned limit = geFileVersion < 4 ? 20 : 40;
    // The name is final here, before any look-up can index it.
    if (SUBPARM_KeywordName(text, sel->name, limit, &s_nameCodes) && s_NameTaken(sel))
        ERRLOG_LineErrorNew(4014, sel->name);
}

static void s_DataLine(ModelSelectorRecord* sel, const char* text)
{
    ARG_LIST args;
    if (!SUBPARM_Split(text, 2, 0, &args)) {
        ERRLOG_LineBugNew(4015, "Model Selector Sub-Parameter", CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (args.iTotal == 0) {
        ERRLOG_LineErrorNew(4016);
        SUBPARM_Free(&args);
        return;
    }
    if (args.iTotal == 1) ERRLOG_LineErrorNew(4011, 1, "Model Selector", 2);
    ModelSelectorEntry* e = nullptr;
    if (!CMN_malloc((void**)&e, sizeof(ModelSelectorEntry))) {
        ERRLOG_LineErrorNew(4008);
        SUBPARM_Free(&args);
        return;
    }
    unsigned limit = geFileVersion < 4 ? 20 : 40;
    if (strlen(args.psArgs[0]) > limit) ERRLOG_LineErrorNew(4017, (int)limit);
    CMN_strncpy(e->name, args.psArgs[0], limit);
    SUBPARM_Free(&args);
    if (CMN_StrSameIC(e->name, "NA")) ERRLOG_LineErrorNew(4018);

    // The descriptor is the rest of the line, blanks inside included.
    const char* d = text;
    while (*d == ' ' || *d == '\t') d++;
    while (*d != '\0' && *d != ' ' && *d != '\t') d++;
    while (*d == ' ' || *d == '\t') d++;
    unsigned dlimit = 80 - (unsigned)strlen(e->name);
    if (strlen(d) > dlimit) ERRLOG_LineErrorNew(4019, d, dlimit);
    CMN_strncpy(e->descriptor, d, dlimit);

    // Once per repeated entry, so that the messages stay as many as the lines.
    if (s_entries.Append(&sel->models, e) > 0) ERRLOG_LineErrorNew(4025, e->name);
}

void MSEL_ReceiveLine(int lineKind, int keywordCode, char* text)
{
    CMN_ASSERT(text != nullptr);
    CMPNT_ForgetIndexes();
    ModelSelectorRecord* sel = gCurrentMsel;
    if (sel == nullptr) {
        ERRLOG_LineErrorNew(lineKind == PARSE_LINE_KEYWORD ? 4001 : 4002);
        return;
    }
    if (lineKind == PARSE_LINE_KEYWORD)
        s_KeywordLine(sel, keywordCode, text);
    else if (eMselKeyword != KW_MODEL_SELECTOR)
        ERRLOG_LineErrorNew(4002);
    else
        s_DataLine(sel, text);
}

void MSEL_Fini(void)
{
    const ModelSelectorRecord* sel = gCurrentMsel;
    if (sel == nullptr) return;
    if (sel->models == nullptr)
        ERRLOG_ErrorNew(4005, sel->name);
    else if (sel->models->next == nullptr)
        ERRLOG_WarnNew(4006, sel->name);
}

ModelSelectorRecord* MSEL_FindMsel(const char* name, ModelSelectorRecord* list)
{
    CMN_ASSERT(name != nullptr);
    return IBIS_FindInList(list, &IBIS::modelSelectors, &IBIS_Names::selectors, s_SelectorName,
                           name);
}

int MSEL_NameExists(const char* name, ModelSelectorRecord* list)
{
    return MSEL_FindMsel(name, list) != nullptr;
}

int MSEL_GetLastLink(ModelSelectorRecord** p)
{
    CMN_ASSERT(p != nullptr);
    if (*p == nullptr) return 0;
    while ((*p)->next != nullptr) *p = (*p)->next;
    return 1;
}

int MSEL_FreeList(ModelSelectorRecord* first)
{
    CMPNT_ForgetIndexes();
    while (first != nullptr) {
        ModelSelectorRecord* next = first->next;
        FreeChain(first->models);
        free(first);
        first = next;
    }
    return 1;
}

// 1 when the entry counts as differential.  Reserved words, unknown models
// and a missing container count as single-ended.
static int s_EntryIsDifferential(const ModelSelectorRecord* sel, const ModelSelectorEntry* e)
{
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_BugNew(4020, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    if (CMN_ReservedWord(e->name) == 0) return 0;
    ModelRecord* models = nullptr;
    IBIS_GetMdls(ibis, &models);
    if (models == nullptr || !MDL_NameExists(e->name, models)) {
        ERRLOG_ErrorNew(4024, e->name, sel->name);
        return 0;
    }
    ModelRecord* m = MDL_FindModel(e->name, models);
    return m->singleEnded == 0 || CMPNT_IsDifferentialPinModel(m, nullptr);
}

void MSEL_TestList(ModelSelectorRecord* list)
{
    for (ModelSelectorRecord* sel = list; sel != nullptr; sel = sel->next) {
        IBIS* ibis = nullptr;
        ModelRecord* models = nullptr;
        if (!IBIS_GetIBIS(&ibis))
            ERRLOG_BugNew(4020, CMN_MODULE_PATH, __LINE__);
        else if (IBIS_GetMdls(ibis, &models) && MDL_NameExists(sel->name, models))
            ERRLOG_ErrorNew(4021, sel->name);
        int firstDiff = 0;
        for (const ModelSelectorEntry* e = sel->models; e != nullptr; e = e->next) {
            int diff = s_EntryIsDifferential(sel, e);
            if (e == sel->models)
                firstDiff = diff;
            else if (diff && !firstDiff)
                ERRLOG_WarnNew(4022, e->name, sel->name);
            else if (!diff && firstDiff)
                ERRLOG_WarnNew(4023, e->name, sel->name);
        }
        CMPNT_SetMselSingleEnded(sel, firstDiff ? 0 : 1);
    }
}
