// [Ramp]: the rising and falling edge rates of a model or submodel, per
// corner as a ratio dV/dt, and the optional R_load.
#ifndef IBISPARSER_RAMP_H
#define IBISPARSER_RAMP_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// One corner's ratio; state 0 absent or invalid, 1 a ratio, 2 NA.
typedef struct RampRatio {
    double dV;
    double dt;
    uint32_t state;
} RampRatio;

typedef struct RampRatioSet {
    RampRatio typ_ratio;
    RampRatio min_ratio;
    RampRatio max_ratio;
} RampRatioSet;

typedef struct RampRecord {
    RampRatioSet* dVdt_r;     // null until given
    RampRatioSet* dVdt_f;     // null until given
    double R_load_value;
    uint32_t R_load_state;    // 0 not given, 1 given
} RampRecord;

int RAMP_New(const char* keywordLine, RampRecord** slot);
void RAMP_ReceiveLine(const char* text, RampRecord* ramp, const char* modelName);
void RAMP_Fini(const RampRecord* ramp);
void RAMP_Free(RampRecord* ramp);

#ifdef __cplusplus
}
#endif

#endif
