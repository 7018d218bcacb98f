// Curve tables: I-V tables read row by row, with their row checks, their
// end-of-table checks, copies and interpolation.
#include "crv.h"

#include <math.h>
#include <stdlib.h>

#include "cmn.h"
#include "errlog.h"
#include "parse.h"

#define CMN_MODULE_PATH "IbisParser/crv"

int gbAllowLargeTables = 0;

// The table being read: one at a time, from CRV_New to CRV_Fini.
static unsigned long gBeginLine;

typedef struct {
    double voltage;
    double typ;
    uint32_t typState;
    int seen;
} VoltageEnd;
static VoltageEnd gVmin, gVmax;

// Column trackers for the monotonicity note, in the order Voltage, Typical,
// Minimum, Maximum.
enum { TRACK_NONE = 0, TRACK_ON = 1, TRACK_REPORTED = 2 };
enum { DIR_UNKNOWN = 0, DIR_RISING = 1, DIR_FALLING = 2 };
typedef struct {
    double last;
    int state;
    int direction;
} ColumnTracker;
static ColumnTracker s_trackers[4];

// Tail, count and repeat map of the table being read; started by CRV_New
// (or by the first row of a curve it did not start), ended by CRV_Fini.
static CurveRecord* s_current;
static RNGP_Appender s_appender;

static void s_EndTable(void)
{
    if (s_appender.head != NULL)
        RNGP_AppenderEnd(&s_appender);
    s_current = NULL;
}

void CRV_Reset(void)
{
    s_EndTable();
    gBeginLine = 0;
}

int CRV_AllowLargeTables(int flag) { return gbAllowLargeTables = flag != 0; }

int CRV_New(const char* keywordLine, const char* curveName, CurveRecord** slot)
{
    CMN_ASSERT(keywordLine != NULL && curveName != NULL && slot != NULL);
    s_EndTable();
    if (*slot != NULL) {
        ERRLOG_LineErrorNew(1100, curveName);
        // The slot is cleared first, so a failed allocation below leaves no
        // pointer to the freed table.
        CurveRecord* old = *slot;
        *slot = NULL;
        CRV_Free(old);
    }
    CurveRecord* curve = NULL;
    if (!CMN_malloc((void**)&curve, sizeof(CurveRecord))) {
        ERRLOG_BugNew(1101, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    *slot = curve;
    RNG_CheckKeywordLine(keywordLine, curveName, 1102, 1103, 1104);
    gBeginLine = PARSE_GetLineNum();
    gVmin.seen = gVmax.seen = 0;
    for (ColumnTracker& t : s_trackers)
        t.state = TRACK_NONE, t.direction = DIR_UNKNOWN, t.last = 0.0;
    s_current = curve;
    RNGP_AppenderStart(&s_appender, &curve->table);
    return 1;
}

static void s_Track(ColumnTracker* t, double value, const char* curveName, const char* column)
{
    if (t->state == TRACK_REPORTED)
        return;
    if (t->state == TRACK_NONE) {
        t->state = TRACK_ON;
        t->direction = DIR_UNKNOWN;
    } else if (t->direction == DIR_UNKNOWN) {
        if (value > t->last)
            t->direction = DIR_RISING;
        else if (value < t->last)
            t->direction = DIR_FALLING;
    } else if ((t->direction == DIR_FALLING && value > t->last) ||
               (t->direction == DIR_RISING && value < t->last)) {
        ERRLOG_LineNoteNew(1110, curveName, column);
        t->state = TRACK_REPORTED;
    }
    t->last = value;
}

int CRV_ReceiveLine(const char* text, CurveRecord* curve, const char* curveName)
{
    CMN_ASSERT(text != NULL && curveName != NULL);
    // An owner whose CRV_New failed holds no record: the row has nowhere to go.
    if (curve == NULL)
        return 0;
    RangePoint* p = NULL;
    if (!RNGP_ParseLine(text, curveName, "Voltage", &p))
        return 0;
    if (s_current != curve || s_appender.head != &curve->table) {
        s_EndTable();
        s_current = curve;
        RNGP_AppenderStart(&s_appender, &curve->table);
    }
    int count = RNGP_Append(&s_appender, p, 1);

    static const char* const columns[4] = {"Voltage", "Typical", "Minimum", "Maximum"};
    const double values[4] = {p->x_value, p->typ_value, p->min_value, p->max_value};
    const uint32_t states[4] = {p->x_state, p->typ_state, p->min_state, p->max_state};
    for (int i = 0; i < 4; i++)
        if (states[i] == RNG_NUMBER)
            s_Track(&s_trackers[i], values[i], curveName, columns[i]);

    if (p->x_state == RNG_NA) {
        ERRLOG_LineErrorNew(1106);
    } else if (p->x_state == RNG_NUMBER) {
        VoltageEnd row = {p->x_value, p->typ_value, p->typ_state, 1};
        if (!gVmin.seen) {
            gVmin = gVmax = row;
        } else if (p->x_value < gVmin.voltage ||
                   (p->x_value == gVmin.voltage && gVmin.typState != RNG_NUMBER)) {
            gVmin = row;
        } else if (p->x_value > gVmax.voltage ||
                   (p->x_value == gVmax.voltage && gVmax.typState != RNG_NUMBER)) {
            gVmax = row;
        }
    }
    if (count == CRV_MAX_ROWS + 1 && !gbAllowLargeTables)
        ERRLOG_LineErrorNew(1107, CRV_MAX_ROWS, curveName);
    return 1;
}

// The value and state of a corner column: 1 typ, 2 min, 3 max.
static uint32_t s_State(const RangePoint* p, int column)
{
    return column == 1 ? p->typ_state : column == 2 ? p->min_state : p->max_state;
}
static double s_Value(const RangePoint* p, int column)
{
    return column == 1 ? p->typ_value : column == 2 ? p->min_value : p->max_value;
}

// Whether a column crosses zero; see CRV_Fini.
static void s_ZeroCrossing(const RangePoint* first, int column, const char* ownerKind,
                           const char* ownerName, const char* curveName)
{
    const RangePoint* last = first;
    while (last->next != NULL)
        last = last->next;
    if (s_State(first, column) != RNG_NUMBER || s_State(last, column) != RNG_NUMBER)
        return;
    int positive = 0, negative = 0;
    for (const RangePoint* p = first; p != NULL; p = p->next) {
        if (s_State(p, column) != RNG_NUMBER)
            continue;
        double v = s_Value(p, column);
        if (fabs(v) <= 1e-6)
            return;
        if (v > 0) positive = 1;
        else negative = 1;
    }
    if (positive != negative)
        ERRLOG_WarnNew(1112 + column, ownerKind, ownerName, curveName);
}

int CRV_Fini(const char* ownerName, int modelType, int keywordCode, const CurveRecord* curve,
             const char* curveName, const char* ownerKind)
{
    CMN_ASSERT(ownerName != NULL && curveName != NULL && ownerKind != NULL);
    s_EndTable();
    // An owner whose CRV_New failed holds no record: nothing to check.
    if (curve == NULL)
        return 0;
    int rows = 0;
    for (const RangePoint* p = curve->table; p != NULL && rows < 2; p = p->next)
        rows++;
    if (rows < 2)
        ERRLOG_ErrorNew(1108, curveName, (int)gBeginLine);
    else
        RNGP_ReportNAEnds(curve->table, 1109, curveName, gBeginLine);

    // A [Model] without Model_type reaches here with 0: it is checked as
    // "No Type", which skips the direction.
    int direction = 1;
    if (modelType <= 1 || keywordCode == KW_ISSO_PD || keywordCode == KW_ISSO_PU ||
        !gVmin.seen || gVmin.typState != RNG_NUMBER || gVmax.typState != RNG_NUMBER)
        direction = 0;
    if (direction) {
        int mustNotDecrease;
        if (modelType == 12 || modelType == 13 || modelType == 14 || modelType == 18) {
            mustNotDecrease = keywordCode == KW_GND_CLAMP;
        } else if ((modelType == 16 || modelType == 17) && keywordCode == KW_SERIES_CURRENT) {
            direction = 0;
            mustNotDecrease = 0;
        } else if ((modelType == 16 || modelType == 17) && keywordCode == KW_SERIES_MOSFET) {
            mustNotDecrease = 1;
        } else {
            mustNotDecrease = keywordCode == KW_PULLDOWN || keywordCode == KW_GND_CLAMP;
        }
        if (direction) {
            if (mustNotDecrease && gVmin.typ > gVmax.typ)
                ERRLOG_WarnNew(1111, ownerKind, ownerName, curveName);
            else if (!mustNotDecrease && gVmax.typ > gVmin.typ)
                ERRLOG_WarnNew(1112, ownerKind, ownerName, curveName);
        }
    }
    if ((keywordCode == KW_GND_CLAMP || keywordCode == KW_POWER_CLAMP) && curve->table != NULL)
        for (int c = 1; c <= 3; c++)
            s_ZeroCrossing(curve->table, c, ownerKind, ownerName, curveName);
    return 1;
}

void CRV_Free(CurveRecord* curve)
{
    if (curve == NULL)
        return;
    if (curve == s_current)
        s_EndTable();
    RNGP_FreeList(curve->table);
    CMN_free(curve);
}

int CRV_CopyCrv(const CurveRecord* from, CurveRecord** to)
{
    CMN_ASSERT(to != NULL);
    *to = NULL;
    CurveRecord* copy = NULL;
    if (!CMN_malloc((void**)&copy, sizeof(CurveRecord))) {
        ERRLOG_BugNew(1105);
        return 0;
    }
    RNGP_Appender a;
    RNGP_AppenderStart(&a, &copy->table);
    for (const RangePoint* p = from != NULL ? from->table : NULL; p != NULL; p = p->next) {
        if (p->x_state != RNG_NUMBER)
            continue;
        RangePoint* row = NULL;
        if (!RNGP_New(&row)) {
            RNGP_AppenderEnd(&a);
            CRV_Free(copy);
            return 0;
        }
        *row = *p;
        row->next = row->prev = NULL;
        RNGP_Append(&a, row, 1);
    }
    RNGP_AppenderEnd(&a);
    *to = copy;
    return 1;
}

// The known values of one interpolation end: typ, min, max.
typedef struct {
    double v;
    double val[3];
    int known[3];
} RefPoint;

static void s_TakeValues(const RangePoint* p, RefPoint* r, int typIsNumber)
{
    r->v = p->x_value;
    r->known[0] = r->known[1] = r->known[2] = 0;
    if (!typIsNumber)
        return;
    r->val[0] = p->typ_value;
    r->known[0] = 1;
    const uint32_t states[2] = {p->min_state, p->max_state};
    const double values[2] = {p->min_value, p->max_value};
    for (int i = 0; i < 2; i++) {
        if (states[i] == RNG_NUMBER) {
            r->val[i + 1] = values[i];
            r->known[i + 1] = 1;
        } else if (states[i] == RNG_NA) {
            r->val[i + 1] = p->typ_value;
            r->known[i + 1] = 1;
        }
    }
}

double* CRV_GetRefValCurrent(const CurveRecord* curve, double** typ, double** min,
                             double** max, double voltage)
{
    CMN_ASSERT(typ != NULL && min != NULL && max != NULL);
    *typ = *min = *max = NULL;
    if (curve == NULL)
        return NULL;
    RefPoint prev = {}, cur = {};
    int havePrev = 0, found = 0;
    for (const RangePoint* p = curve->table; p != NULL; p = p->next) {
        if (p->x_state != RNG_NUMBER)
            continue;
        if (!havePrev) {
            s_TakeValues(p, &prev, p->typ_state == RNG_NUMBER);
            havePrev = 1;
            continue;
        }
        if (fabs(p->x_value - prev.v) <= 1e-6 * fabs(prev.v))
            continue;
        if (p->typ_state != RNG_NUMBER) {
            s_TakeValues(p, &prev, 0);
            continue;
        }
        s_TakeValues(p, &cur, 1);
        double lo = prev.v < cur.v ? prev.v : cur.v;
        double hi = prev.v < cur.v ? cur.v : prev.v;
        if ((voltage >= lo && voltage <= hi) ||
            fabs(voltage - cur.v) <= 1e-6 * fabs(voltage)) {
            found = 1;
            break;
        }
        prev = cur;
    }
    if (!found)
        return NULL;
    double** results[3] = {typ, min, max};
    for (int i = 0; i < 3; i++) {
        if (!prev.known[i] || !cur.known[i])
            continue;
        double* r = NULL;
        if (!CMN_malloc((void**)&r, sizeof(double))) {
            ERRLOG_BugNew(1101, CMN_MODULE_PATH, __LINE__);
            continue;
        }
        *r = prev.val[i] + (voltage - prev.v) * (cur.val[i] - prev.val[i]) / (cur.v - prev.v);
        *results[i] = r;
    }
    return *typ;
}
