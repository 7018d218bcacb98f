// The four delays of a [Driver Schedule] line.
#ifndef IBISPARSER_DLY_H
#define IBISPARSER_DLY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct {
    double value;     // seconds
    uint32_t state;   // 0 absent, 1 number, 2 NA
} DelayValue;

typedef struct DelaySet {
    DelayValue Rise_on_dly;
    DelayValue Rise_off_dly;
    DelayValue Fall_on_dly;
    DelayValue Fall_off_dly;
} DelaySet;

int DLY_ParseDly(const char* text, const char* modelName, DelaySet** out);
void DLY_Free(DelaySet* d);

#ifdef __cplusplus
}
#endif

#endif
