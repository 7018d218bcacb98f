// Curve queries and curve arithmetic: walking a table's rows for one corner,
// y at any x by linear interpolation or extrapolation, sums of two curves on
// the union of their x grids, a model's reference voltages per corner, and
// the zero curves that serve as the neutral addend.
#ifndef IBISPARSER_QUERY_H
#define IBISPARSER_QUERY_H

#include "crv.h"
#include "rng.h"
#include "rngp.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ModelRecord ModelRecord;

// Corner codes; a set of corners is their OR.
enum { QRY_TYP = 1, QRY_MIN = 2, QRY_MAX = 4 };

const char* qry_ProcessString(int corner);
RangePoint* qry_ReverseRngpLinks(RangePoint* first);
int qry_PointsInRngp(const RangePoint* first, int corner);
int qry_GetRngVal(const TypMinMax* range, int corner, double* out);
int qry_GetRefs4Process(const ModelRecord* model, int corner, double* powerClampRef,
                        double* pullupRef, double* gndClampRef, double* pulldownRef);
int qry_RngpIsBad(const RangePoint* first, int corner);

RangePoint* qry_ThisXPoint(RangePoint* point, double* x);
RangePoint* qry_NextXPoint(RangePoint* point, double* x);
RangePoint* qry_PrevXPoint(RangePoint* point, double* x);
RangePoint* qry_FirstXPoint(RangePoint* first, double* x);
RangePoint* qry_LastXPoint(RangePoint* first, double* x);
void qry_ShiftX(RangePoint* first, double dx);
void qry_NegateX(RangePoint* first);

RangePoint* qry_ThisYPoint(RangePoint* point, int corner, double* x, double* y);
RangePoint* qry_NextYPoint(RangePoint* point, int corner, double* x, double* y);
RangePoint* qry_PrevYPoint(RangePoint* point, int corner, double* x, double* y);
RangePoint* qry_FirstYPoint(RangePoint* first, int corner, double* x, double* y);
RangePoint* qry_LastYPoint(RangePoint* first, int corner, double* x, double* y);

// +1 when x rises, -1 when it falls, 0 when it cannot be told.
int qry_ValueDirection(RangePoint* first);
void qry_UnsetPoint(RangePoint* point);
void qry_SetPoint(RangePoint* point, int corner, double x, double y);

// y at x on the chain from *cursor for one corner; advances *cursor for the
// next query at a larger x (smaller for direction < 0).  1 when y was made.
int qry_YRngp(RangePoint** cursor, int direction, int corner, double* y, double x);
// y at x on a curve; 1 when y was made.
int qry_Y(CurveRecord* curve, int corner, double* y, double x);
int qry_AddYAtX(CurveRecord* a, CurveRecord* b, RangePoint* point, double x);
int qry_AddYRngpAtX(RangePoint** cursorA, RangePoint** cursorB, int direction, int corner,
                    RangePoint* point, double x);
// A new curve (free it with CRV_Free) holding a + b for the corners of mask,
// or null.  Either input may be null; a falling input is reversed for the
// call and put back.
CurveRecord* qry_AddCrvsProcess(CurveRecord* a, CurveRecord* b, int mask);

// Zero curves of module lifetime: never free, shift or otherwise change them.
CurveRecord* qry_NullYFriendlyCrv(void);
CurveRecord* qry_NullYFriendlyCrvSpecV(double x1, double x2);
int qry_IsSingleEndedType(int modelType);

#ifdef __cplusplus
}
#endif

#endif
