// [Pin EMI] rows of a component's EMI block and the block's checks.
#ifndef IBISPARSER_PINEMI_H
#define IBISPARSER_PINEMI_H

#include "pin.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct PinEmiRecord {
    struct PinEmiRecord* next;
    char pinName[6];
    char domainName[21];
    double clock_div;
    int clock_divState;   // 0 absent or bad, 1 a number, 2 NA
} PinEmiRecord;

typedef struct PinDomainEntry {
    char domainName[21];
    double* percentage;
    struct PinDomainEntry* next;
} PinDomainEntry;

int PINEMI_ParseLine(char* text, PinEmiRecord** out);
void PINEMI_LinkPinEmi(PinEmiRecord** head, PinEmiRecord* row);
int PINEMI_PinExists(PinEmiRecord* rows, const char* name);
PinEmiRecord* PINEMI_FindPin(PinEmiRecord* rows, const char* name);
void PINEMI_TestList(PinEmiRecord* rows, PinDomainEntry** domains, PinRecord* pins,
                     const char* componentName);
void PINEMI_FreeList(PinEmiRecord* rows);

#ifdef __cplusplus
}
#endif

#endif
