// Curve tables: the I-V tables of a model or submodel ([Pulldown], [Pullup],
// [GND Clamp], [POWER Clamp], [Series Current], [Series MOSFET], [ISSO PD],
// [ISSO PU]) with their row and end-of-table checks.
#ifndef IBISPARSER_CRV_H
#define IBISPARSER_CRV_H

#include "rngp.h"

#ifdef __cplusplus
extern "C" {
#endif

// Rows a table may hold while large tables are not allowed.
#define CRV_MAX_ROWS 100

typedef struct CurveRecord {
    RangePoint* table;   // first row (x: voltage, corners: currents); null while empty
} CurveRecord;

extern int gbAllowLargeTables;

int CRV_New(const char* keywordLine, const char* curveName, CurveRecord** slot);
int CRV_ReceiveLine(const char* text, CurveRecord* curve, const char* curveName);
int CRV_Fini(const char* ownerName, int modelType, int keywordCode, const CurveRecord* curve,
             const char* curveName, const char* ownerKind);
// Forgets the table being read (no pointer into it outlives a read).
void CRV_Reset(void);
void CRV_Free(CurveRecord* curve);
int CRV_CopyCrv(const CurveRecord* from, CurveRecord** to);
// Interpolated currents at voltage: each result a new double the caller
// frees, or null.  Returns *typ.
double* CRV_GetRefValCurrent(const CurveRecord* curve, double** typ, double** min,
                             double** max, double voltage);
int CRV_AllowLargeTables(int flag);

#ifdef __cplusplus
}
#endif

#endif
