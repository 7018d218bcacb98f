// Series elements of a Series or Series_switch model: one record per model,
// or one under [On] and one under [Off].
#ifndef IBISPARSER_SINFO_H
#define IBISPARSER_SINFO_H

#include "crv.h"
#include "rng.h"
#include "smos.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SeriesInfoRecord {
    TypMinMax* R_series;
    TypMinMax* L_series;
    TypMinMax* Rl_series;
    TypMinMax* C_series;
    TypMinMax* Rc_series;
    TypMinMax* Lc_series;
    CurveRecord* SeriesCurrent;
    SeriesMosfetRecord* SeriesMosfets;   // file order
} SeriesInfoRecord;

int SINFO_Alloc(SeriesInfoRecord** slot);
int SINFO_New(const char* keywordLine, SeriesInfoRecord** slot, const char* label);
void SINFO_Test(const SeriesInfoRecord* s, const char* modelName, const char* label);
void SINFO_Free(SeriesInfoRecord* s);

#ifdef __cplusplus
}
#endif

#endif
