// [Pin Mapping] rows of a component and their checks against the [Pin] list.
#ifndef IBISPARSER_PINMPG_H
#define IBISPARSER_PINMPG_H

#include "pin.h"

#ifdef __cplusplus
extern "C" {
#endif

struct PinMappingRecord {
    struct PinMappingRecord* next;
    int columns;
    char pinName[6];
    char pulldown_ref[16];
    char pullup_ref[16];
    char gnd_clamp_ref[16];
    char power_clamp_ref[16];
    char ext_ref[16];
};

int PINMPG_ParseLine(char* text, int headerColumns, PinMappingRecord** out);
void PINMPG_LinkPinMpg(PinMappingRecord** head, PinMappingRecord* row);
int PINMPG_TestPin(PinMappingRecord* rows, const char* pinName);
void PINMPG_TestList(PinMappingRecord* rows, PinRecord* pins, const char* componentName);
void PINMPG_FreeList(PinMappingRecord* rows);

#ifdef __cplusplus
}
#endif

#endif
