// The EMI block of a component: [Begin EMI Component] with its
// sub-parameters, [Pin EMI], [Pin Domain EMI] and [End EMI Component].
#ifndef IBISPARSER_CMPNTEMI_H
#define IBISPARSER_CMPNTEMI_H

#include "pinemi.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ComponentRecord ComponentRecord;

typedef struct ComponentEmiRecord {
    int domain;   // 0 not given, 1 Analog, 2 Digital, 3 Digital_Analog
    double* Cpd;
    double* C_Heatsink_gnd;
    double* C_Heatsink_float;
    PinEmiRecord* pinEmis;
    PinDomainEntry** pinDomains;   // null until [Pin Domain EMI]
} ComponentEmiRecord;

void CMPNTEMI_ReceiveLine(int lineKind, int keywordCode, char* text, ComponentEmiRecord** slot);
int CMPNTEMI_New(char* text, ComponentEmiRecord** slot);
void CMPNTEMI_Fini(int keywordCode);
int CMPNTEMI_InProgress(void);
void CMPNTEMI_Test(ComponentRecord* component, ComponentEmiRecord* emi);
void CMPNTEMI_Free(ComponentEmiRecord* emi);
// Closes the open block without a message and forgets the last keyword.
void CMPNTEMI_Reset(void);

#ifdef __cplusplus
}
#endif

#endif
