// [Diff Pin] rows of a component and their checks against the [Pin] list.
#ifndef IBISPARSER_DIFPIN_H
#define IBISPARSER_DIFPIN_H

#include "pin.h"

#ifdef __cplusplus
extern "C" {
#endif

// Value states: 0 absent or unreadable, 1 a number, 2 NA.
struct DiffPinRecord {
    struct DiffPinRecord* next;
    int columns;
    char pinName[6];
    char invPinName[6];
    double vdiff;
    int vdiffState;
    double tdelay_typ;
    int tdelay_typState;
    double tdelay_min;
    int tdelay_minState;
    double tdelay_max;
    int tdelay_maxState;
};

int DIFPIN_ParseLine(char* text, int headerColumns, DiffPinRecord** out);
void DIFPIN_LinkDIFPIN(DiffPinRecord** head, DiffPinRecord* row);
void DIFPIN_TestList(DiffPinRecord* rows, PinRecord* pins, const char* componentName);
void DIFPIN_FreeList(DiffPinRecord* rows);

#ifdef __cplusplus
}
#endif

#endif
