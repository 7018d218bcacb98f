// Curve queries and curve arithmetic over the rows of I-V and V-t tables.
#include "query.h"

#include <math.h>
#include <stddef.h>

#include "cmn.h"
#include "errlog.h"
#include "mdl.h"

#define CMN_MODULE_PATH "IbisParser/query"

// Two grid values this close are one point of a sum.
static const double QRY_SAME_X = 1e-5;

const char* qry_ProcessString(int corner)
{
    switch (corner) {
    case QRY_TYP: return "TYP";
    case QRY_MIN: return "MIN";
    case QRY_MAX: return "MAX";
    default: return "UNK";
    }
}

RangePoint* qry_ReverseRngpLinks(RangePoint* first)
{
    RangePoint* last = NULL;
    for (RangePoint* p = first; p != NULL; p = p->prev) {
        RangePoint* next = p->next;
        p->next = p->prev;
        p->prev = next;
        last = p;
    }
    return last;
}

// The corner's value of a point when the point is usable for the corner.
static int s_CornerValue(const RangePoint* p, int corner, double* y)
{
    if (p == NULL || p->x_state != RNG_NUMBER)
        return 0;
    switch (corner) {
    case QRY_TYP:
        if (p->typ_state != RNG_NUMBER) return 0;
        *y = p->typ_value;
        return 1;
    case QRY_MIN:
        if (p->min_state != RNG_NUMBER) return 0;
        *y = p->min_value;
        return 1;
    case QRY_MAX:
        if (p->max_state != RNG_NUMBER) return 0;
        *y = p->max_value;
        return 1;
    default:
        return 0;
    }
}

int qry_PointsInRngp(const RangePoint* first, int corner)
{
    int n = 0;
    double y;
    for (const RangePoint* p = first; p != NULL; p = p->next)
        n += s_CornerValue(p, corner, &y);
    return n;
}

int qry_GetRngVal(const TypMinMax* range, int corner, double* out)
{
    CMN_ASSERT(out != NULL);
    if (range == NULL)
        return 0;
    const double* value = NULL;
    uint32_t state = RNG_ABSENT;
    switch (corner) {
    case QRY_TYP: value = &range->typ_value; state = range->typ_state; break;
    case QRY_MIN: value = &range->min_value; state = range->min_state; break;
    case QRY_MAX: value = &range->max_value; state = range->max_state; break;
    default: return 0;
    }
    if (state != RNG_NUMBER)
        return 0;
    *out = *value;
    return 1;
}

// Overwrites *out with the typ and then the corner's value of range, each
// when present.
static void s_TakeRef(const TypMinMax* range, int corner, double* out)
{
    qry_GetRngVal(range, QRY_TYP, out);
    qry_GetRngVal(range, corner, out);
}

int qry_GetRefs4Process(const ModelRecord* model, int corner, double* powerClampRef,
                        double* pullupRef, double* gndClampRef, double* pulldownRef)
{
    CMN_ASSERT(powerClampRef != NULL && pullupRef != NULL && gndClampRef != NULL &&
               pulldownRef != NULL);
    *powerClampRef = *pullupRef = *gndClampRef = *pulldownRef = 0.0;
    if (model == NULL)
        return 0;
    s_TakeRef(model->VoltageRange, corner, powerClampRef);
    s_TakeRef(model->PowerClampRef, corner, powerClampRef);
    s_TakeRef(model->VoltageRange, corner, pullupRef);
    s_TakeRef(model->PullupRef, corner, pullupRef);
    s_TakeRef(model->GndClampRef, corner, gndClampRef);
    switch (model->Model_type) {
    case MDL_INPUT_ECL:
    case MDL_OUTPUT_ECL:
    case MDL_IO_ECL:
    case MDL_3STATE_ECL:
        s_TakeRef(model->VoltageRange, corner, pulldownRef);
        break;
    default:
        break;
    }
    s_TakeRef(model->PulldownRef, corner, pulldownRef);
    return 1;
}

int qry_RngpIsBad(const RangePoint* first, int corner)
{
    int n = 0;
    double y;
    for (const RangePoint* p = first; p != NULL; p = p->next) {
        n += s_CornerValue(p, corner, &y);
        if (n >= 2)
            return 0;
    }
    return 1;
}

RangePoint* qry_ThisXPoint(RangePoint* point, double* x)
{
    CMN_ASSERT(x != NULL);
    if (point == NULL || point->x_state != RNG_NUMBER)
        return NULL;
    *x = point->x_value;
    return point;
}

// The first x-present point from p (inclusive), following next or prev.
static RangePoint* s_WalkX(RangePoint* p, int forward, double* x)
{
    for (; p != NULL; p = forward ? p->next : p->prev)
        if (qry_ThisXPoint(p, x) != NULL)
            return p;
    return NULL;
}

RangePoint* qry_NextXPoint(RangePoint* point, double* x)
{
    return point != NULL ? s_WalkX(point->next, 1, x) : NULL;
}

RangePoint* qry_PrevXPoint(RangePoint* point, double* x)
{
    return point != NULL ? s_WalkX(point->prev, 0, x) : NULL;
}

RangePoint* qry_FirstXPoint(RangePoint* first, double* x)
{
    return s_WalkX(first, 1, x);
}

// The tail of a chain.
static RangePoint* s_Tail(RangePoint* first)
{
    RangePoint* tail = first;
    while (tail != NULL && tail->next != NULL)
        tail = tail->next;
    return tail;
}

RangePoint* qry_LastXPoint(RangePoint* first, double* x)
{
    return s_WalkX(s_Tail(first), 0, x);
}

void qry_ShiftX(RangePoint* first, double dx)
{
    for (RangePoint* p = first; p != NULL; p = p->next)
        if (p->x_state != RNG_ABSENT)
            p->x_value += dx;
}

void qry_NegateX(RangePoint* first)
{
    for (RangePoint* p = first; p != NULL; p = p->next)
        if (p->x_state != RNG_ABSENT)
            p->x_value = -p->x_value;
}

RangePoint* qry_ThisYPoint(RangePoint* point, int corner, double* x, double* y)
{
    CMN_ASSERT(x != NULL && y != NULL);
    double value;
    if (!s_CornerValue(point, corner, &value))
        return NULL;
    *x = point->x_value;
    *y = value;
    return point;
}

// The first point usable for the corner from p (inclusive), following next
// or prev.
static RangePoint* s_WalkY(RangePoint* p, int forward, int corner, double* x, double* y)
{
    for (; p != NULL; p = forward ? p->next : p->prev)
        if (qry_ThisYPoint(p, corner, x, y) != NULL)
            return p;
    return NULL;
}

RangePoint* qry_NextYPoint(RangePoint* point, int corner, double* x, double* y)
{
    return point != NULL ? s_WalkY(point->next, 1, corner, x, y) : NULL;
}

RangePoint* qry_PrevYPoint(RangePoint* point, int corner, double* x, double* y)
{
    return point != NULL ? s_WalkY(point->prev, 0, corner, x, y) : NULL;
}

RangePoint* qry_FirstYPoint(RangePoint* first, int corner, double* x, double* y)
{
    return s_WalkY(first, 1, corner, x, y);
}

RangePoint* qry_LastYPoint(RangePoint* first, int corner, double* x, double* y)
{
    return s_WalkY(s_Tail(first), 0, corner, x, y);
}

int qry_ValueDirection(RangePoint* first)
{
    double anchorX, x;
    RangePoint* anchor = qry_FirstXPoint(first, &anchorX);
    if (anchor == NULL)
        return 0;
    for (RangePoint* p = qry_NextXPoint(anchor, &x); p != NULL; p = qry_NextXPoint(p, &x)) {
        if (x == anchorX)
            continue;
        return anchorX > x ? -1 : 1;
    }
    return 0;
}

void qry_UnsetPoint(RangePoint* point)
{
    CMN_ASSERT(point != NULL);
    point->x_state = point->typ_state = point->min_state = point->max_state = RNG_ABSENT;
}

void qry_SetPoint(RangePoint* point, int corner, double x, double y)
{
    CMN_ASSERT(point != NULL);
    point->x_value = x;
    point->x_state = RNG_NUMBER;
    switch (corner) {
    case QRY_TYP: point->typ_value = y; point->typ_state = RNG_NUMBER; break;
    case QRY_MIN: point->min_value = y; point->min_state = RNG_NUMBER; break;
    case QRY_MAX: point->max_value = y; point->max_state = RNG_NUMBER; break;
    default: break;
    }
}

// The nearest usable point before (step -1) or after (+1) from whose x is
// not from's x; null when there is none.
static RangePoint* s_OtherX(RangePoint* from, int corner, int step)
{
    double x, y;
    for (RangePoint* p = from; p != NULL;) {
        p = step < 0 ? qry_PrevYPoint(p, corner, &x, &y) : qry_NextYPoint(p, corner, &x, &y);
        if (p != NULL && x != from->x_value)
            return p;
    }
    return NULL;
}

int qry_YRngp(RangePoint** cursor, int direction, int corner, double* y, double x)
{
    CMN_ASSERT(y != NULL);
    if (cursor == NULL || *cursor == NULL || direction == 0)
        return 0;
    double curX, curY, nxtX, nxtY;
    RangePoint* cur = qry_ThisYPoint(*cursor, corner, &curX, &curY);
    if (cur == NULL)
        cur = qry_NextYPoint(*cursor, corner, &curX, &curY);
    if (cur == NULL) {
        *cursor = NULL;
        return 0;
    }
    RangePoint* prev = cur;
    RangePoint* candidate = NULL;
    for (;;) {
        RangePoint* nxt = qry_NextYPoint(cur, corner, &nxtX, &nxtY);
        if (nxt == NULL)
            break;
        if (direction > 0 ? x > nxtX : nxtX > x) {
            prev = cur;
            cur = nxt;
            curX = nxtX;
            curY = nxtY;
            continue;
        }
        candidate = nxt;
        break;
    }
    *cursor = prev;
    // Never a line through two rows of one x: duplicate rows at the end of
    // the walk take the nearest earlier row of another x (the nearest later
    // one at the start of the table); a table of one x gives a constant.
    RangePoint* other = candidate;
    if (other == NULL || other->x_value == curX) {
        other = s_OtherX(cur, corner, -1);
        if (other == NULL)
            other = s_OtherX(cur, corner, +1);
    }
    if (other == NULL) {
        *y = curY;
        return 1;
    }
    double ox = 0.0, oy = 0.0;
    qry_ThisYPoint(other, corner, &ox, &oy);
    *y = (curY - oy) / (curX - ox) * (x - ox) + oy;
    return 1;
}

int qry_Y(CurveRecord* curve, int corner, double* y, double x)
{
    if (curve == NULL || curve->table == NULL)
        return 0;
    int direction = qry_ValueDirection(curve->table);
    if (direction == 0)
        return 0;
    RangePoint* cursor = curve->table;
    return qry_YRngp(&cursor, direction, corner, y, x);
}

// Writes the corner's column of point.
static void s_SetColumn(RangePoint* point, int corner, double y)
{
    double x = point->x_value;
    uint32_t xState = point->x_state;
    qry_SetPoint(point, corner, x, y);
    point->x_state = xState;
}

int qry_AddYAtX(CurveRecord* a, CurveRecord* b, RangePoint* point, double x)
{
    CMN_ASSERT(point != NULL);
    static const int corners[3] = {QRY_MIN, QRY_TYP, QRY_MAX};
    int written = 0;
    for (int i = 0; i < 3; i++) {
        double ya = 0.0, yb = 0.0;
        int readA = qry_Y(a, corners[i], &ya, x);
        int readB = qry_Y(b, corners[i], &yb, x);
        written = readA || readB;
        if (written)
            s_SetColumn(point, corners[i], ya + yb);
    }
    // max comes last: whether its column was written.
    return written;
}

int qry_AddYRngpAtX(RangePoint** cursorA, RangePoint** cursorB, int direction, int corner,
                    RangePoint* point, double x)
{
    CMN_ASSERT(point != NULL);
    double ya = 0.0, yb = 0.0;
    int readA = qry_YRngp(cursorA, direction, corner, &ya, x);
    int readB = qry_YRngp(cursorB, direction, corner, &yb, x);
    if (!readA && !readB)
        return 0;
    s_SetColumn(point, corner, ya + yb);
    return 1;
}

namespace {

// One input of a sum: its grid walker and its three corner cursors.
struct Addend {
    CurveRecord* curve;
    int reversed;
    RangePoint* walker;     // next x-present point of the grid, null when done
    double x;
    RangePoint* usable[3];  // per corner (min, typ, max): its usable rows
    RangePoint* block[3];   // the copies behind usable, when made
    RangePoint* cursor[3];
};

}  // namespace

static const int kSumCorners[3] = {QRY_MIN, QRY_TYP, QRY_MAX};

// The rows of chain usable for corner, linked in the same order: a query
// then never walks over rows without a value (a corner given on the first
// and last of 100,000 rows would make every query of a sum walk them all).
// When every row is usable that is the chain itself; otherwise the usable
// rows are copied into one block, returned in *block for the caller to
// free.  Null when there is no such row; the chain itself when there is no
// room for the copy.
static RangePoint* s_UsableRows(RangePoint* chain, int corner, RangePoint** block)
{
    *block = NULL;
    size_t n = 0, rows = 0;
    double y;
    for (RangePoint* p = chain; p != NULL; p = p->next, rows++)
        n += (size_t)s_CornerValue(p, corner, &y);
    if (n == 0)
        return NULL;
    if (n == rows || !CMN_malloc((void**)block, n * sizeof(RangePoint)))
        return chain;
    RangePoint* copy = *block;
    double x;
    size_t k = 0;
    for (RangePoint* p = qry_FirstYPoint(chain, corner, &x, &y); p != NULL;
         p = qry_NextYPoint(p, corner, &x, &y), k++) {
        copy[k] = *p;
        copy[k].prev = k > 0 ? &copy[k - 1] : NULL;
        copy[k].next = k + 1 < n ? &copy[k + 1] : NULL;
    }
    return copy;
}

static void s_StartAddend(Addend* s, CurveRecord* curve, int mask)
{
    s->curve = curve;
    s->reversed = 0;
    s->walker = NULL;
    for (int i = 0; i < 3; i++) s->usable[i] = s->block[i] = s->cursor[i] = NULL;
    if (curve == NULL)
        return;
    int direction = qry_ValueDirection(curve->table);
    if (direction < 0) {
        curve->table = qry_ReverseRngpLinks(curve->table);
        s->reversed = 1;
    }
    if (direction == 0)
        return;
    s->walker = qry_FirstXPoint(curve->table, &s->x);
    for (int i = 0; i < 3; i++)
        if (mask & kSumCorners[i])
            s->usable[i] = s_UsableRows(curve->table, kSumCorners[i], &s->block[i]);
}

CurveRecord* qry_AddCrvsProcess(CurveRecord* a, CurveRecord* b, int mask)
{
    CurveRecord* sum = NULL;
    if (!CMN_malloc((void**)&sum, sizeof(CurveRecord))) {
        ERRLOG_BugNew(3300);
        return NULL;
    }
    Addend in[2];
    s_StartAddend(&in[0], a, mask);
    // b is examined after a is put in rising order, so a curve added to
    // itself is reversed once.
    s_StartAddend(&in[1], b, mask);

    RNGP_Appender out;
    RNGP_AppenderStart(&out, &sum->table);
    int ok = 1, first = 1;
    double prevX = 3.4028234663852886e38;
    while (ok && (in[0].walker != NULL || in[1].walker != NULL)) {
        double x;
        if (in[0].walker != NULL && in[1].walker != NULL) {
            if (fabs(in[0].x - in[1].x) < QRY_SAME_X) {
                x = in[0].x;
                in[0].walker = qry_NextXPoint(in[0].walker, &in[0].x);
                in[1].walker = qry_NextXPoint(in[1].walker, &in[1].x);
            } else {
                Addend* s = in[0].x < in[1].x ? &in[0] : &in[1];
                x = s->x;
                s->walker = qry_NextXPoint(s->walker, &s->x);
            }
        } else {
            Addend* s = in[0].walker != NULL ? &in[0] : &in[1];
            x = s->x;
            s->walker = qry_NextXPoint(s->walker, &s->x);
        }
        if (!first && fabs(x - prevX) <= QRY_SAME_X)
            continue;
        RangePoint* point = NULL;
        if (!RNGP_New(&point)) {
            ok = 0;
            break;
        }
        point->x_value = x;
        point->x_state = RNG_NUMBER;
        // A flag, not the sentinel, marks the first point: a grid shifted
        // past 3.4e38 (or holding NaN) must not leave the cursors unset.
        if (first || prevX > x) {
            for (int k = 0; k < 2; k++)
                for (int i = 0; i < 3; i++) in[k].cursor[i] = in[k].usable[i];
        }
        for (int i = 0; i < 3; i++)
            if (mask & kSumCorners[i])
                qry_AddYRngpAtX(&in[0].cursor[i], &in[1].cursor[i], 1, kSumCorners[i], point, x);
        RNGP_Append(&out, point, 0);
        prevX = x;
        first = 0;
    }
    RNGP_AppenderEnd(&out);
    for (int k = 1; k >= 0; k--) {
        for (int i = 0; i < 3; i++)
            if (in[k].block[i] != NULL)
                CMN_free(in[k].block[i]);
        if (in[k].reversed)
            in[k].curve->table = qry_ReverseRngpLinks(in[k].curve->table);
    }
    if (!ok) {
        CRV_Free(sum);
        return NULL;
    }
    return sum;
}

// Fills a static zero curve of two points at x1 and x2.
static CurveRecord* s_ZeroCurve(CurveRecord* curve, RangePoint points[2], double x1, double x2)
{
    for (int i = 0; i < 2; i++) {
        RangePoint* p = &points[i];
        p->prev = i == 0 ? NULL : &points[0];
        p->next = i == 0 ? &points[1] : NULL;
        p->x_value = i == 0 ? x1 : x2;
        p->typ_value = p->min_value = p->max_value = 0.0;
        p->x_state = p->typ_state = p->min_state = p->max_state = RNG_NUMBER;
    }
    curve->table = &points[0];
    return curve;
}

CurveRecord* qry_NullYFriendlyCrv(void)
{
    static RangePoint points[2];
    static CurveRecord curve;
    // Made again on every call, so no caller's change can outlive its use.
    return s_ZeroCurve(&curve, points, 0.0, 1.0);
}

CurveRecord* qry_NullYFriendlyCrvSpecV(double x1, double x2)
{
    static RangePoint points[2];
    static CurveRecord curve;
    return s_ZeroCurve(&curve, points, x1, x2);
}

int qry_IsSingleEndedType(int modelType)
{
    return modelType >= MDL_OPEN_DRAIN && modelType <= MDL_IO_OPEN_SOURCE;
}
