// [Series Pin Mapping] rows of a component and their checks.
#ifndef IBISPARSER_SPINMPG_H
#define IBISPARSER_SPINMPG_H

#include "pin.h"
#include "sswch.h"

#ifdef __cplusplus
extern "C" {
#endif

struct SeriesPinMappingRecord {
    struct SeriesPinMappingRecord* next;
    int columns;
    char pin1[6];
    char pin2[6];
    char modelName[41];
    char functionGroup[21];
};

int SPINMPG_ParseLine(char* text, int headerColumns, SeriesPinMappingRecord** out);
void SPINMPG_LinkSpinMpg(SeriesPinMappingRecord** head, SeriesPinMappingRecord* row);
void SPINMPG_TestList(SeriesPinMappingRecord* rows, PinRecord* pins, const char* componentName,
                      SwitchGroupRecord* groups);
void SPINMPG_FreeList(SeriesPinMappingRecord* rows);
// Between these two, what the checks learn of each model selector is kept
// over the components instead of per call of SPINMPG_TestList; the models
// and selectors must not change in between.
void SPINMPG_BeginChecks(void);
void SPINMPG_EndChecks(void);

#ifdef __cplusplus
}
#endif

#endif
