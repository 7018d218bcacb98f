// [Submodel Spec]: the trigger levels and off delay of a submodel.
#ifndef IBISPARSER_SMSPEC_H
#define IBISPARSER_SMSPEC_H

#include "rng.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SubmodelRecord SubmodelRecord;

typedef struct SubmodelSpecRecord {
    TypMinMax* V_trigger_r;   // each null while not given
    TypMinMax* V_trigger_f;
    TypMinMax* Off_delay;
} SubmodelSpecRecord;

int SMSPEC_New(const char* keywordLine, SubmodelSpecRecord** slot);
void SMSPEC_ReceiveLine(const char* text, SubmodelSpecRecord* spec, const char* submodelName);
void SMSPEC_Fini(const SubmodelRecord* s);
void SMSPEC_Free(SubmodelSpecRecord* spec);

#ifdef __cplusplus
}
#endif

#endif
