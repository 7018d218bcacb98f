// Curve queries and curve arithmetic on hand-built chains.  Every expected
// number is worked out by hand from the lines through the rows.
//
// Bug 3300 (no room for a sum's head) needs an allocation failure, which
// nothing in the project can cause on purpose; it is not raised here.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <limits>
#include <memory>
#include <vector>

#include "crv.h"
#include "log_capture.h"
#include "mdl.h"
#include "query.h"
#include "rng.h"
#include "rngp.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A column of a test row: a number, NA or absent.
struct Col {
    double v;
    uint32_t state;
    Col(double value) : v(value), state(RNG_NUMBER) {}  // NOLINT: rows read as numbers
    Col(double value, uint32_t s) : v(value), state(s) {}
};
const Col NA(0.0, RNG_NA);
const Col ABSENT(0.0, RNG_ABSENT);

struct Row {
    Col x, typ, min, max;
    Row(Col x_, Col y) : x(x_), typ(y), min(y), max(y) {}
    Row(Col x_, Col t, Col mn, Col mx) : x(x_), typ(t), min(mn), max(mx) {}
};

struct CurveDeleter {
    void operator()(CurveRecord* c) const { CRV_Free(c); }
};
using Curve = std::unique_ptr<CurveRecord, CurveDeleter>;

Curve Make(const std::vector<Row>& rows)
{
    CurveRecord* c = (CurveRecord*)calloc(1, sizeof(CurveRecord));
    RangePoint* tail = nullptr;
    for (const Row& r : rows) {
        RangePoint* p = (RangePoint*)calloc(1, sizeof(RangePoint));
        p->x_value = r.x.v;
        p->x_state = r.x.state;
        p->typ_value = r.typ.v;
        p->typ_state = r.typ.state;
        p->min_value = r.min.v;
        p->min_state = r.min.state;
        p->max_value = r.max.v;
        p->max_state = r.max.state;
        p->prev = tail;
        if (tail != nullptr)
            tail->next = p;
        else
            c->table = p;
        tail = p;
    }
    return Curve(c);
}

std::vector<RangePoint*> Links(const CurveRecord* c)
{
    std::vector<RangePoint*> v;
    for (RangePoint* p = c->table; p != nullptr; p = p->next) v.push_back(p);
    return v;
}

// Every link of the chain agrees with its neighbour's.
void ExpectSound(const CurveRecord* c)
{
    const RangePoint* prev = nullptr;
    for (const RangePoint* p = c->table; p != nullptr; p = p->next) {
        EXPECT_EQ(p->prev, prev);
        prev = p;
    }
}

double Y(CurveRecord* c, int corner, double x)
{
    double y = -12345.0;
    EXPECT_EQ(qry_Y(c, corner, &y, x), 1) << "x = " << x;
    return y;
}

// The x values and one corner of a curve, as "x:y" with "-" for no value.
std::vector<std::pair<double, double>> Points(const CurveRecord* c, int corner)
{
    std::vector<std::pair<double, double>> v;
    for (const RangePoint* p = c->table; p != nullptr; p = p->next) {
        EXPECT_EQ(p->x_state, (uint32_t)RNG_NUMBER);
        double y = kNaN;
        uint32_t s = corner == QRY_TYP ? p->typ_state : corner == QRY_MIN ? p->min_state : p->max_state;
        if (s == RNG_NUMBER)
            y = corner == QRY_TYP ? p->typ_value : corner == QRY_MIN ? p->min_value : p->max_value;
        v.push_back({p->x_value, y});
    }
    return v;
}

void ExpectPoints(const CurveRecord* c, int corner, const std::vector<std::pair<double, double>>& want)
{
    auto got = Points(c, corner);
    ASSERT_EQ(got.size(), want.size()) << "corner " << corner;
    for (size_t i = 0; i < want.size(); i++) {
        EXPECT_NEAR(got[i].first, want[i].first, 1e-12) << "point " << i;
        if (isnan(want[i].second))
            EXPECT_TRUE(isnan(got[i].second)) << "point " << i;
        else
            EXPECT_NEAR(got[i].second, want[i].second, 1e-12) << "point " << i;
    }
}

TEST(Query, WordsTypesAndRangeValues)
{
    EXPECT_STREQ(qry_ProcessString(1), "TYP");
    EXPECT_STREQ(qry_ProcessString(2), "MIN");
    EXPECT_STREQ(qry_ProcessString(4), "MAX");
    EXPECT_STREQ(qry_ProcessString(3), "UNK");
    EXPECT_STREQ(qry_ProcessString(0), "UNK");

    for (int t = 0; t <= 22; t++) EXPECT_EQ(qry_IsSingleEndedType(t), t >= 6 && t <= 11) << t;

    TypMinMax r = {1.5, RNG_NUMBER, 0.0, RNG_NA, 3.0, RNG_NUMBER};
    struct {
        int corner;
        int result;
        double out;
    } cases[] = {{1, 1, 1.5}, {2, 0, -7.0}, {4, 1, 3.0}, {3, 0, -7.0}, {0, 0, -7.0}};
    for (auto& c : cases) {
        double out = -7.0;
        EXPECT_EQ(qry_GetRngVal(&r, c.corner, &out), c.result) << c.corner;
        EXPECT_EQ(out, c.out) << c.corner;
    }
    double out = -7.0;
    EXPECT_EQ(qry_GetRngVal(nullptr, 1, &out), 0);
    EXPECT_EQ(out, -7.0);
}

TEST(Query, WalkersSkipRowsWithoutValues)
{
    Curve c = Make({Row(ABSENT, 9), Row(0, 1, NA, 5), Row(NA, 2), Row(1, ABSENT, 3, 6), Row(2, 4, 7, NA),
                    Row(ABSENT, 8)});
    auto p = Links(c.get());
    double x = -1, y = -1;
    EXPECT_EQ(qry_FirstXPoint(c->table, &x), p[1]);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(qry_NextXPoint(p[1], &x), p[3]);
    EXPECT_EQ(qry_NextXPoint(p[4], &x), nullptr);
    EXPECT_EQ(qry_PrevXPoint(p[3], &x), p[1]);
    EXPECT_EQ(qry_LastXPoint(c->table, &x), p[4]);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(qry_ThisXPoint(p[2], &x), nullptr);
    EXPECT_EQ(qry_NextXPoint(nullptr, &x), nullptr);

    EXPECT_EQ(qry_FirstYPoint(c->table, QRY_TYP, &x, &y), p[1]);
    EXPECT_EQ(qry_NextYPoint(p[1], QRY_TYP, &x, &y), p[4]);
    EXPECT_EQ(y, 4);
    EXPECT_EQ(qry_FirstYPoint(c->table, QRY_MIN, &x, &y), p[3]);
    EXPECT_EQ(qry_LastYPoint(c->table, QRY_MAX, &x, &y), p[3]);
    EXPECT_EQ(y, 6);
    EXPECT_EQ(qry_PrevYPoint(p[4], QRY_MAX, &x, &y), p[3]);
    EXPECT_EQ(qry_ThisYPoint(p[1], 3, &x, &y), nullptr);

    EXPECT_EQ(qry_PointsInRngp(c->table, QRY_TYP), 2);
    EXPECT_EQ(qry_PointsInRngp(c->table, QRY_MIN), 2);
    EXPECT_EQ(qry_PointsInRngp(c->table, QRY_MAX), 2);
    EXPECT_EQ(qry_PointsInRngp(nullptr, QRY_TYP), 0);
    EXPECT_EQ(qry_RngpIsBad(c->table, QRY_TYP), 0);
    EXPECT_EQ(qry_RngpIsBad(p[2], QRY_TYP), 1);   // from row 3 on: one usable typ
    EXPECT_EQ(qry_RngpIsBad(nullptr, QRY_TYP), 1);
    EXPECT_EQ(qry_RngpIsBad(c->table, 3), 1);

    // Shift and negate touch every x that is not absent (NA rows too).
    qry_ShiftX(c->table, 10);
    qry_NegateX(c->table);
    qry_NegateX(nullptr);
    const double want[] = {0, -10, -10, -11, -12, 0};
    for (size_t i = 0; i < p.size(); i++) EXPECT_EQ(p[i]->x_value, want[i]) << i;

    qry_SetPoint(p[0], QRY_MIN, 4, 5);
    EXPECT_EQ(p[0]->x_state, 1u);
    EXPECT_EQ(p[0]->min_value, 5);
    EXPECT_EQ(p[0]->min_state, 1u);
    EXPECT_EQ(p[0]->typ_value, 9);   // other corners untouched
    qry_SetPoint(p[5], 7, 4, 5);   // no such corner: x only
    EXPECT_EQ(p[5]->x_state, 1u);
    EXPECT_EQ(p[5]->typ_state, 1u);
    EXPECT_EQ(p[5]->typ_value, 8);
    qry_UnsetPoint(p[1]);
    EXPECT_EQ(p[1]->x_state + p[1]->typ_state + p[1]->min_state + p[1]->max_state, 0u);
}

TEST(Query, ReverseSwapsEveryLink)
{
    EXPECT_EQ(qry_ReverseRngpLinks(nullptr), nullptr);
    Curve c = Make({Row(0, 0), Row(1, 1), Row(2, 2)});
    auto p = Links(c.get());
    c->table = qry_ReverseRngpLinks(c->table);
    EXPECT_EQ(c->table, p[2]);
    EXPECT_EQ(Links(c.get()), (std::vector<RangePoint*>{p[2], p[1], p[0]}));
    ExpectSound(c.get());
}

TEST(Query, Direction)
{
    struct {
        std::vector<Row> rows;
        int direction;
    } cases[] = {
        {{Row(1, 0), Row(1, 0), Row(0, 0)}, -1},   // first two share x: the third decides
        {{Row(1, 0), Row(1, 0), Row(2, 0)}, 1},
        {{Row(NA, 0), Row(3, 0), Row(ABSENT, 0), Row(2, 0)}, -1},
        {{Row(1, 0), Row(1, 5)}, 0},                // one distinct x
        {{Row(1, 0)}, 0},
        {{}, 0},
        {{Row(NA, 0), Row(NA, 1)}, 0},
        {{Row(kNaN, 0), Row(1, 0)}, 1},             // a NaN comparison counts as rising
        {{Row(1, 0), Row(kNaN, 0)}, 1},
        {{Row(kInf, 0), Row(1, 0)}, -1},
    };
    int i = 0;
    for (auto& c : cases) {
        Curve curve = Make(c.rows);
        EXPECT_EQ(qry_ValueDirection(curve->table), c.direction) << "case " << i;
        i++;
    }
}

TEST(Query, YInterpolatesAndExtrapolates)
{
    Curve rising = Make({Row(0, 0), Row(1, 1)});
    Curve falling = Make({Row(1, 1), Row(0, 0)});
    for (CurveRecord* c : {rising.get(), falling.get()}) {
        EXPECT_DOUBLE_EQ(Y(c, QRY_TYP, 2), 2);
        EXPECT_DOUBLE_EQ(Y(c, QRY_TYP, -1), -1);
        EXPECT_DOUBLE_EQ(Y(c, QRY_MAX, 0.25), 0.25);
    }
    // Three segments of slopes 1, 3 and -2.
    Curve bent = Make({Row(0, 0), Row(1, 1), Row(2, 4), Row(3, 2)});
    struct {
        double x, y;
    } pts[] = {{-1, -1}, {0.5, 0.5}, {1, 1}, {1.5, 2.5}, {2.5, 3}, {4, 0}};
    for (auto& p : pts) EXPECT_DOUBLE_EQ(Y(bent.get(), QRY_TYP, p.x), p.y) << p.x;

    // A corner with one usable row gives its value everywhere.
    Curve single = Make({Row(0, 0, NA, 0), Row(1, 1, 5, 1), Row(2, 2, ABSENT, 2)});
    for (double x : {-3.0, 1.0, 7.0}) EXPECT_EQ(Y(single.get(), QRY_MIN, x), 5);

    // No answer: one distinct x, no usable row, no curve, another corner.
    Curve flat = Make({Row(1, 2), Row(1, 3)});
    Curve none = Make({Row(0, NA), Row(1, NA)});
    double y = -9;
    EXPECT_EQ(qry_Y(flat.get(), QRY_TYP, &y, 0), 0);
    EXPECT_EQ(qry_Y(none.get(), QRY_TYP, &y, 0), 0);
    EXPECT_EQ(qry_Y(nullptr, QRY_TYP, &y, 0), 0);
    EXPECT_EQ(qry_Y(rising.get(), 3, &y, 0), 0);
    CurveRecord empty = {nullptr};
    EXPECT_EQ(qry_Y(&empty, QRY_TYP, &y, 0), 0);
    EXPECT_EQ(y, -9);
}

TEST(Query, RowsOfOneVoltageNeverMakeAVerticalLine)
{
    // Ends on two rows at 1 V: the line runs through (1, 2) and (0, 0).
    Curve end = Make({Row(0, 0), Row(1, 1), Row(1, 2)});
    EXPECT_DOUBLE_EQ(Y(end.get(), QRY_TYP, 2), 4);
    // Starts on two rows at 1 V: through (1, 1) and the next other x (2, 3).
    Curve start = Make({Row(1, 1), Row(1, 2), Row(2, 3)});
    EXPECT_DOUBLE_EQ(Y(start.get(), QRY_TYP, 0.5), 0);
    // Falling, ending on two rows at 0 V: through (0, 5) and (1, 1).
    Curve down = Make({Row(2, 0), Row(1, 1), Row(0, 3), Row(0, 5)});
    EXPECT_DOUBLE_EQ(Y(down.get(), QRY_TYP, -1), 9);
    // One distinct x for the corner in a chain of two: the last row's value.
    Curve one = Make({Row(0, NA, 1, NA), Row(1, 7, NA, NA), Row(1, 9, NA, NA)});
    EXPECT_EQ(Y(one.get(), QRY_TYP, 5), 9);
}

TEST(Query, CursorMovesOnForGrowingX)
{
    Curve c = Make({Row(0, 0), Row(1, 10), Row(2, 30), Row(3, 60)});
    auto p = Links(c.get());
    RangePoint* cursor = c->table;
    double y = 0;
    ASSERT_EQ(qry_YRngp(&cursor, 1, QRY_TYP, &y, 0.5), 1);
    EXPECT_DOUBLE_EQ(y, 5);
    EXPECT_EQ(cursor, p[0]);
    ASSERT_EQ(qry_YRngp(&cursor, 1, QRY_TYP, &y, 2.5), 1);
    EXPECT_DOUBLE_EQ(y, 45);
    EXPECT_EQ(cursor, p[1]);
    ASSERT_EQ(qry_YRngp(&cursor, 1, QRY_TYP, &y, 5), 1);   // last segment extended
    EXPECT_DOUBLE_EQ(y, 120);
    EXPECT_EQ(cursor, p[2]);
    EXPECT_EQ(qry_YRngp(&cursor, 0, QRY_TYP, &y, 5), 0);
    EXPECT_EQ(qry_YRngp(nullptr, 1, QRY_TYP, &y, 5), 0);
    // No usable row at or after the cursor: the cursor is cleared.
    Curve na = Make({Row(0, 1, NA, 1), Row(1, 2, NA, 2)});
    cursor = na->table;
    EXPECT_EQ(qry_YRngp(&cursor, 1, QRY_MIN, &y, 0), 0);
    EXPECT_EQ(cursor, nullptr);
    EXPECT_EQ(qry_YRngp(&cursor, 1, QRY_MIN, &y, 0), 0);
}

TEST(Query, SumMergesGridsWithinTenMicrovolts)
{
    Curve a = Make({Row(0, 0), Row(1, 1), Row(2, 2)});        // y = x
    Curve b = Make({Row(0.000005, 0.00001), Row(1.5, 3)});    // y = 2x
    Curve sum(qry_AddCrvsProcess(a.get(), b.get(), QRY_TYP | QRY_MAX));
    ASSERT_TRUE(sum);
    ExpectSound(sum.get());
    ExpectPoints(sum.get(), QRY_TYP, {{0, 0}, {1, 3}, {1.5, 4.5}, {2, 6}});
    ExpectPoints(sum.get(), QRY_MAX, {{0, 0}, {1, 3}, {1.5, 4.5}, {2, 6}});
    ExpectPoints(sum.get(), QRY_MIN, {{0, kNaN}, {1, kNaN}, {1.5, kNaN}, {2, kNaN}});
}

TEST(Query, SumOfAFallingInputRisesAndTheInputIsPutBack)
{
    Curve a = Make({Row(2, 20, 2, NA), Row(1, 10, 1, NA), Row(0, 0, 0, NA)});   // falling
    auto before = Links(a.get());
    Curve b = Make({Row(0.5, 1), Row(2.5, 1)});
    Curve sum(qry_AddCrvsProcess(a.get(), b.get(), 7));
    ASSERT_TRUE(sum);
    EXPECT_EQ(Links(a.get()), before);
    ExpectSound(a.get());
    // typ: 10x + 1; min: x + 1; max: b alone, 1.
    ExpectPoints(sum.get(), QRY_TYP, {{0, 1}, {0.5, 6}, {1, 11}, {2, 21}, {2.5, 26}});
    ExpectPoints(sum.get(), QRY_MIN, {{0, 1}, {0.5, 1.5}, {1, 2}, {2, 3}, {2.5, 3.5}});
    ExpectPoints(sum.get(), QRY_MAX, {{0, 1}, {0.5, 1}, {1, 1}, {2, 1}, {2.5, 1}});

    // A falling curve added to itself: reversed once, put back once.
    Curve twice(qry_AddCrvsProcess(a.get(), a.get(), QRY_TYP));
    ASSERT_TRUE(twice);
    EXPECT_EQ(Links(a.get()), before);
    ExpectPoints(twice.get(), QRY_TYP, {{0, 0}, {1, 20}, {2, 40}});
}

TEST(Query, SumsWithTheNullCurve)
{
    CurveRecord* null1 = qry_NullYFriendlyCrv();
    EXPECT_EQ(null1, qry_NullYFriendlyCrv());
    ExpectPoints(null1, QRY_TYP, {{0, 0}, {1, 0}});
    ExpectPoints(null1, QRY_MAX, {{0, 0}, {1, 0}});

    Curve a = Make({Row(-1, -5), Row(0.5, 2.5), Row(3, 8)});
    Curve copy(qry_AddCrvsProcess(a.get(), qry_NullYFriendlyCrv(), QRY_MIN));
    ASSERT_TRUE(copy);
    // a's own grid plus the null curve's 0 and 1; between -1 and 0.5 the slope
    // is 5, beyond 0.5 it is 2.2.
    ExpectPoints(copy.get(), QRY_MIN, {{-1, -5}, {0, 0}, {0.5, 2.5}, {1, 3.6}, {3, 8}});
    ExpectPoints(copy.get(), QRY_TYP, {{-1, kNaN}, {0, kNaN}, {0.5, kNaN}, {1, kNaN}, {3, kNaN}});

    Curve zero(qry_AddCrvsProcess(nullptr, qry_NullYFriendlyCrv(), 7));
    ASSERT_TRUE(zero);
    EXPECT_NE(zero.get(), qry_NullYFriendlyCrv());
    for (int corner : {1, 2, 4}) ExpectPoints(zero.get(), corner, {{0, 0}, {1, 0}});

    Curve nothing(qry_AddCrvsProcess(nullptr, nullptr, 7));
    ASSERT_TRUE(nothing);
    EXPECT_EQ(nothing->table, nullptr);

    // The null curve comes out as it went in.
    ExpectPoints(qry_NullYFriendlyCrv(), QRY_TYP, {{0, 0}, {1, 0}});

    CurveRecord* spec = qry_NullYFriendlyCrvSpecV(3, 1);
    EXPECT_EQ(spec, qry_NullYFriendlyCrvSpecV(-2, 4));
    ExpectPoints(spec, QRY_TYP, {{-2, 0}, {4, 0}});
    spec = qry_NullYFriendlyCrvSpecV(3, 1);   // falling: reversed for the sum only
    Curve specSum(qry_AddCrvsProcess(spec, nullptr, QRY_TYP));
    ASSERT_TRUE(specSum);
    ExpectPoints(specSum.get(), QRY_TYP, {{1, 0}, {3, 0}});
    ExpectPoints(spec, QRY_TYP, {{3, 0}, {1, 0}});
    ExpectSound(spec);
}

TEST(Query, SumOfAGridBeyondTheSentinelStillReadsItsValues)
{
    // A zero curve moved by a 1e300 V reference, and one by infinity.
    Curve far = Make({Row(1e300, 1), Row(2e300, 2)});
    Curve sum(qry_AddCrvsProcess(far.get(), nullptr, QRY_TYP));
    ASSERT_TRUE(sum);
    ExpectPoints(sum.get(), QRY_TYP, {{1e300, 1}, {2e300, 2}});

    Curve inf = Make({Row(kInf, 0), Row(kInf, 0)});   // one x: takes no part
    Curve infSum(qry_AddCrvsProcess(inf.get(), qry_NullYFriendlyCrv(), QRY_TYP));
    ASSERT_TRUE(infSum);
    ExpectPoints(infSum.get(), QRY_TYP, {{0, 0}, {1, 0}});

    // NaN in the grid: the merge ends; no x is within 1e-5 of a NaN, so the
    // grid is 0 and 1 of the null curve, then NaN, 1 and 2.
    Curve nan = Make({Row(kNaN, 1), Row(1, 1), Row(2, kNaN)});
    Curve nanSum(qry_AddCrvsProcess(nan.get(), qry_NullYFriendlyCrv(), 7));
    ASSERT_TRUE(nanSum);
    EXPECT_EQ(Links(nanSum.get()).size(), 5u);
    ExpectSound(nanSum.get());
}

TEST(Query, AddAtOnePoint)
{
    Curve a = Make({Row(0, 0, 1, NA), Row(2, 2, 3, NA)});   // typ x, min x + 1
    Curve b = Make({Row(0, 10, NA, NA), Row(1, 10, NA, NA)});
    RangePoint point = {};
    point.x_value = 9;
    point.x_state = RNG_NUMBER;
    EXPECT_EQ(qry_AddYAtX(a.get(), b.get(), &point, 4), 0);   // max: neither reads
    EXPECT_EQ(point.typ_value, 14);
    EXPECT_EQ(point.min_value, 5);
    EXPECT_EQ(point.max_state, 0u);
    EXPECT_EQ(point.x_value, 9);
    Curve c = Make({Row(0, 1), Row(1, 1)});
    EXPECT_EQ(qry_AddYAtX(c.get(), nullptr, &point, 4), 1);
    EXPECT_EQ(point.max_value, 1);

    RangePoint* ca = a->table;
    RangePoint* cb = nullptr;
    RangePoint q = {};
    EXPECT_EQ(qry_AddYRngpAtX(&ca, &cb, 1, QRY_MIN, &q, 1), 1);
    EXPECT_EQ(q.min_value, 2);
    EXPECT_EQ(qry_AddYRngpAtX(&ca, &cb, 1, QRY_MAX, &q, 1), 0);
    EXPECT_EQ(q.max_state, 0u);
}

TEST(Query, ReferenceVoltagesPerCorner)
{
    ModelRecord m = {};
    TypMinMax vr = {5.0, RNG_NUMBER, 4.5, RNG_NUMBER, 0.0, RNG_NA};
    TypMinMax pu = {3.3, RNG_NUMBER, 0.0, RNG_NA, 3.6, RNG_NUMBER};
    TypMinMax gc = {-1.0, RNG_NUMBER, 0.0, RNG_ABSENT, 0.0, RNG_ABSENT};
    m.VoltageRange = &vr;
    m.PullupRef = &pu;
    m.GndClampRef = &gc;
    struct {
        int type, corner;
        double power, pullup, gnd, pulldown;
    } cases[] = {
        {MDL_OUTPUT, 1, 5.0, 3.3, -1.0, 0.0},
        {MDL_OUTPUT, 2, 4.5, 3.3, -1.0, 0.0},   // pullup: NA min keeps typ
        {MDL_OUTPUT, 4, 5.0, 3.6, -1.0, 0.0},
        {MDL_IO_ECL, 2, 4.5, 3.3, -1.0, 4.5},   // ECL pull-down from [Voltage Range]
        {MDL_3STATE_ECL, 1, 5.0, 3.3, -1.0, 5.0},
    };
    for (auto& c : cases) {
        m.Model_type = c.type;
        double power = 9, pullup = 9, gnd = 9, pulldown = 9;
        EXPECT_EQ(qry_GetRefs4Process(&m, c.corner, &power, &pullup, &gnd, &pulldown), 1);
        EXPECT_EQ(power, c.power) << c.type << "/" << c.corner;
        EXPECT_EQ(pullup, c.pullup) << c.type << "/" << c.corner;
        EXPECT_EQ(gnd, c.gnd) << c.type << "/" << c.corner;
        EXPECT_EQ(pulldown, c.pulldown) << c.type << "/" << c.corner;
    }
    // Own keywords beat [Voltage Range].
    TypMinMax pd = {0.2, RNG_NUMBER, 0.1, RNG_NUMBER, 0.0, RNG_ABSENT};
    TypMinMax pc = {6.0, RNG_NUMBER, 0.0, RNG_ABSENT, 0.0, RNG_ABSENT};
    m.PulldownRef = &pd;
    m.PowerClampRef = &pc;
    m.Model_type = MDL_IO_ECL;
    double power, pullup, gnd, pulldown;
    qry_GetRefs4Process(&m, QRY_MIN, &power, &pullup, &gnd, &pulldown);
    EXPECT_EQ(power, 6.0);
    EXPECT_EQ(pulldown, 0.1);
    qry_GetRefs4Process(&m, QRY_MAX, &power, &pullup, &gnd, &pulldown);
    EXPECT_EQ(pulldown, 0.2);
    EXPECT_EQ(qry_GetRefs4Process(nullptr, QRY_TYP, &power, &pullup, &gnd, &pulldown), 0);
    EXPECT_EQ(power + pullup + gnd + pulldown, 0.0);
}

TEST(Query, LongTablesSumRowByRow)
{
    std::vector<Row> ra, rb;
    for (int i = 0; i < 1000; i++) {
        ra.push_back(Row(i, 2.0 * i));
        rb.push_back(Row(999 - i + 0.5, 1));   // falling, between a's rows
    }
    Curve a = Make(ra), b = Make(rb);
    Curve sum(qry_AddCrvsProcess(a.get(), b.get(), 7));
    ASSERT_TRUE(sum);
    auto pts = Points(sum.get(), QRY_TYP);
    ASSERT_EQ(pts.size(), 2000u);
    // At i: 2i + 1; at i + 0.5: 2i + 1 + 1.
    EXPECT_NEAR(pts[10].second, 11, 1e-9);
    EXPECT_NEAR(pts[11].second, 12, 1e-9);
    EXPECT_NEAR(pts[1999].second, 2 * 999.5 + 1, 1e-9);
}

// A corner given on the first and last rows only is read on those two rows:
// between them the line through the ends.
TEST(Query, SumOfACornerGivenOnTheEndRowsOnly)
{
    std::vector<Row> rows;
    const int n = 100000;
    for (int i = 0; i < n; i++) {
        double x = i / 1000.0;   // 0 to 99.999 V
        bool end = i == 0 || i == n - 1;
        rows.push_back(Row(x, x, end ? Col(2 * x) : NA, NA));
    }
    Curve a = Make(rows);
    Curve sum(qry_AddCrvsProcess(a.get(), nullptr, 7));
    ASSERT_TRUE(sum);
    auto typ = Points(sum.get(), QRY_TYP);
    auto min = Points(sum.get(), QRY_MIN);
    auto max = Points(sum.get(), QRY_MAX);
    ASSERT_EQ(min.size(), (size_t)n);
    for (int i : {0, 1, 5000, 77777, n - 1}) {
        EXPECT_NEAR(typ[i].second, i / 1000.0, 1e-9) << i;
        EXPECT_NEAR(min[i].second, 2 * i / 1000.0, 1e-9) << i;
        EXPECT_TRUE(isnan(max[i].second)) << i;
    }
}

}  // namespace
