// [Model Spec]: the per-corner thresholds and limits a model states for itself.
#ifndef IBISPARSER_MSPEC_H
#define IBISPARSER_MSPEC_H

#include "rng.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ModelRecord ModelRecord;

// One TypMinMax per sub-parameter, null while not given.
typedef struct ModelSpecRecord {
    int allHysteresis;   // Vinh+, Vinh-, Vinl+ and Vinl- all given
    TypMinMax* Vinh;
    TypMinMax* Vinl;
    TypMinMax* Vinh_plus;
    TypMinMax* Vinh_minus;
    TypMinMax* Vinl_plus;
    TypMinMax* Vinl_minus;
    TypMinMax* S_overshoot_low;
    TypMinMax* S_overshoot_high;
    TypMinMax* D_overshoot_low;
    TypMinMax* D_overshoot_high;
    TypMinMax* D_overshoot_time;
    TypMinMax* Pulse_high;
    TypMinMax* Pulse_low;
    TypMinMax* Pulse_time;
    TypMinMax* Vmeas;
    TypMinMax* Vref;
    TypMinMax* Cref;
    TypMinMax* Rref;
    TypMinMax* Rref_diff;
    TypMinMax* Cref_diff;
    TypMinMax* Vref_rising;
    TypMinMax* Vref_falling;
    TypMinMax* Cref_rising;
    TypMinMax* Cref_falling;
    TypMinMax* Rref_rising;
    TypMinMax* Rref_falling;
    TypMinMax* Vmeas_rising;
    TypMinMax* Vmeas_falling;
    TypMinMax* D_overshoot_amp_h;
    TypMinMax* D_overshoot_amp_l;
    TypMinMax* D_overshoot_area_h;
    TypMinMax* D_overshoot_area_l;
} ModelSpecRecord;

extern unsigned long gMspecBeginLine;

int MSPEC_New(const char* keywordLine, ModelSpecRecord** slot);
void MSPEC_ReceiveLine(const char* text, ModelSpecRecord* spec, const char* modelName);
int MSPEC_Fini(ModelRecord* model);
void MSPEC_Free(ModelSpecRecord* spec);
void MSPEC_Reset(void);

#ifdef __cplusplus
}
#endif

#endif
