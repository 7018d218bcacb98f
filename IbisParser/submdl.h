// [Submodel]: a submodel that models add through [Add Submodel], with its
// tables and its [Submodel Spec].
#ifndef IBISPARSER_SUBMDL_H
#define IBISPARSER_SUBMDL_H

#include "crv.h"
#include "ramp.h"
#include "smspec.h"
#include "wvfrm.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SubmodelRecord {
    struct SubmodelRecord* next;
    char name[21];
    int Submodel_type;   // 0 not given, 1 no valid type, 2 Dynamic_clamp, 3 Bus_hold, 4 Fall_back
    CurveRecord* Pulldown;
    CurveRecord* Pullup;
    CurveRecord* GND_Clamp;
    CurveRecord* POWER_Clamp;
    RampRecord* Ramp;
    WaveformRecord* Rising_Waveform;    // lists, file order
    WaveformRecord* Falling_Waveform;
    WaveformRecord* GND_Pulse_Table;
    WaveformRecord* POWER_Pulse_Table;
    SubmodelSpecRecord* Submodel_Spec;
} SubmodelRecord;

int SUBMDL_New(SubmodelRecord** out);
void SUBMDL_Init(void);
void SUBMDL_ReceiveLine(int lineKind, int keywordCode, const char* text);
void SUBMDL_Fini(int nextKeywordCode);
// Forgets the submodel being read.
void SUBMDL_Reset(void);
// The first submodel of the list with exactly that name (the newest one of a
// container's list, found through its index), or null.
SubmodelRecord* SUBMDL_NameExists(const SubmodelRecord* list, const char* name);
void SUBMDL_AddLink(SubmodelRecord* s, SubmodelRecord* next);
void SUBMDL_Free(SubmodelRecord* s);
void SUBMDL_FreeList(SubmodelRecord* list);

#ifdef __cplusplus
}
#endif

#endif
