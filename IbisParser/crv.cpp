#include "crv.h"
#include <stdlib.h>
int gbAllowLargeTables;
int CRV_New(const char*, const char*, CurveRecord**) { return 0; }
int CRV_ReceiveLine(const char*, CurveRecord*, const char*) { return 0; }
int CRV_Fini(const char*, int, int, const CurveRecord*, const char*, const char*) { return 0; }
void CRV_Reset(void) {}
void CRV_Free(CurveRecord* curve) { if (curve) { RNGP_FreeList(curve->table); free(curve); } }
int CRV_CopyCrv(const CurveRecord*, CurveRecord** to) { *to = nullptr; return 0; }
double* CRV_GetRefValCurrent(const CurveRecord*, double** typ, double** min, double** max, double) { *typ = *min = *max = nullptr; return nullptr; }
int CRV_AllowLargeTables(int flag) { return gbAllowLargeTables = flag != 0; }
