// Series elements of a Series or Series_switch model and their
// completeness checks.
#include "sinfo.h"

#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "errlog.h"
#include "rng.h"

#define CMN_MODULE_PATH "IbisParser/sinfo"

int SINFO_Alloc(SeriesInfoRecord** slot)
{
    CMN_ASSERT(slot != nullptr);
    if (!CMN_malloc((void**)slot, sizeof(SeriesInfoRecord))) {
        *slot = nullptr;
        ERRLOG_BugNew(2901, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    return 1;
}

int SINFO_New(const char* keywordLine, SeriesInfoRecord** slot, const char* label)
{
    CMN_ASSERT(keywordLine != nullptr && slot != nullptr && label != nullptr);
    if (*slot != nullptr) {
        ERRLOG_LineErrorNew(2900, label);
        SeriesInfoRecord* old = *slot;
        *slot = nullptr;
        SINFO_Free(old);
    }
    if (!SINFO_Alloc(slot)) return 0;
    RNG_CheckKeywordLine(keywordLine, label, 2902, 2903, 2904);
    return 1;
}

void SINFO_Test(const SeriesInfoRecord* s, const char* modelName, const char* label)
{
    CMN_ASSERT(s != nullptr && modelName != nullptr && label != nullptr);
    if (!s->R_series && !s->L_series && !s->C_series && !s->SeriesCurrent && !s->SeriesMosfets)
        ERRLOG_ErrorNew(2905, modelName, label);
    if (strcmp(label, "[Off]") == 0 && s->SeriesMosfets) ERRLOG_ErrorNew(2906, modelName);
    if (s->Rl_series && !s->L_series) ERRLOG_ErrorNew(2907, modelName, label);
    if (s->Rc_series && !s->C_series) ERRLOG_ErrorNew(2908, modelName, label);
    if (s->Lc_series && !s->C_series) ERRLOG_ErrorNew(2909, modelName, label);
    if (s->SeriesMosfets) SMOS_TestList(s->SeriesMosfets, modelName, label);
}

void SINFO_Free(SeriesInfoRecord* s)
{
    if (s == nullptr) return;
    RNG_Free(s->R_series);
    RNG_Free(s->L_series);
    RNG_Free(s->Rl_series);
    RNG_Free(s->C_series);
    RNG_Free(s->Rc_series);
    RNG_Free(s->Lc_series);
    CRV_Free(s->SeriesCurrent);
    SMOS_FreeList(s->SeriesMosfets);
    free(s);
}
