// [Submodel Spec] keyword of a submodel: V_trigger_r, V_trigger_f and
// Off_delay.
#include "smspec.h"

#include <stdlib.h>

#include "cmn.h"
#include "errlog.h"
#include "parse.h"
#include "subparm.h"
#include "submdl.h"

#define CMN_MODULE_PATH "IbisParser/smspec"

enum { SMS_V_TRIGGER_R = 1, SMS_V_TRIGGER_F, SMS_OFF_DELAY };

static const SUBPARM_ENTRY mspec_subs[] = {
    {"V_trigger_r", SMS_V_TRIGGER_R}, {"V_trigger_f", SMS_V_TRIGGER_F},
    {"Off_delay", SMS_OFF_DELAY}, {"NOT_SMSPEC", 0},
};

static unsigned long gSmSpecBeginLine;

int SMSPEC_New(const char* keywordLine, SubmodelSpecRecord** slot)
{
    CMN_ASSERT(keywordLine != nullptr && slot != nullptr);
    if (*slot != nullptr) {
        ERRLOG_LineErrorNew(2700);
        // Emptied before the allocation, which may fail.
        SubmodelSpecRecord* old = *slot;
        *slot = nullptr;
        SMSPEC_Free(old);
    }
    if (!CMN_malloc((void**)slot, sizeof(SubmodelSpecRecord))) {
        ERRLOG_BugNew(2701, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    RNG_CheckKeywordLine(keywordLine, "Submodel Spec", 2702, 2703, 2704);
    gSmSpecBeginLine = PARSE_GetLineNum();
    return 1;
}

void SMSPEC_ReceiveLine(const char* text, SubmodelSpecRecord* spec, const char* submodelName)
{
    CMN_ASSERT(text != nullptr && spec != nullptr && submodelName != nullptr);
    int id = SUBPARM_LineId(text, mspec_subs, 2706);
    if (id == 0) return;
    TypMinMax** slot = id == SMS_V_TRIGGER_R   ? &spec->V_trigger_r
                       : id == SMS_V_TRIGGER_F ? &spec->V_trigger_f
                                               : &spec->Off_delay;
    const char* subName = mspec_subs[id - 1].name;
    if (*slot != nullptr) {
        ERRLOG_LineErrorNew(2707, subName, submodelName);
        return;
    }
    SUBPARM_Range(text, subName, slot, 2708);
}

void SMSPEC_Fini(const SubmodelRecord* s)
{
    CMN_ASSERT(s != nullptr);
    const SubmodelSpecRecord* spec = s->Submodel_Spec;
    if (spec == nullptr) return;
    if (spec->V_trigger_r == nullptr && spec->V_trigger_f == nullptr && spec->Off_delay == nullptr)
        ERRLOG_ErrorNew(2705, s->name);
}

void SMSPEC_Free(SubmodelSpecRecord* spec)
{
    if (spec == nullptr) return;
    RNG_Free(spec->V_trigger_r);
    RNG_Free(spec->V_trigger_f);
    RNG_Free(spec->Off_delay);
    free(spec);
}
