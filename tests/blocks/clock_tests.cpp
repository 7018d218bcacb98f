// Clock-recovery blocks: the edge timer, the counting phase detector, the VCO.
#include "ClockTimes.h"
#include "PhaseDetector.h"
#include "VCO.h"

#include "BlockTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace Quenrix;
using blocktest::StderrCapture;
using blocktest::Wire;

namespace {

const double kPi = 3.14159265358979323846;
const double kTs = 1e-10;

// ---------------------------------------------------------------- ClockTimes

struct EdgeCase {
    const char* label;
    int edge;
    int method;
    double offset;
    std::vector<double> clock;
    std::vector<double> expected; // -1 for no edge
};

TEST(ClockTimes, EdgeTable)
{
    const double inf = INFINITY;
    const EdgeCase cases[] = {
        {"first sample never an edge", ePositiveEdge, 0, 0.0, {1.0, 1.0}, {-1, -1}},
        {"rising", ePositiveEdge, 0, 0.0, {-1.0, 1.0}, {-1, 1e-10}},
        {"rising from exactly 0", ePositiveEdge, 0, 0.0, {0.0, 0.3}, {-1, 1e-10}},
        {"rising to exactly 0 is no edge", ePositiveEdge, 0, 0.0, {-1.0, 0.0, 0.2}, {-1, -1, 2e-10}},
        {"falling to exactly 0", eNegativeEdge, 0, 0.0, {0.5, 0.0}, {-1, 1e-10}},
        {"falling, then rising ignored", eNegativeEdge, 0, 0.0, {0.5, -0.2, 0.4, 0.0},
         {-1, 1e-10, -1, 3e-10}},
        {"offset added", ePositiveEdge, 0, 5e-9, {-1.0, -1.0, 1.0}, {-1, -1, 2e-10 + 5e-9}},
        {"edge value 2 never fires", 2, 0, 0.0, {-1.0, 1.0, -1.0, 1.0}, {-1, -1, -1, -1}},
        {"NaN gives no edge", ePositiveEdge, 0, 0.0, {-1.0, NAN, 1.0}, {-1, -1, -1}},
        {"linear, halfway", ePositiveEdge, eLinearInterp, 0.0, {-0.5, 0.5}, {-1, 0.5e-10}},
        {"linear, halfway, later sample", ePositiveEdge, eLinearInterp, 1e-9,
         {-0.5, -0.5, -0.5, 0.5}, {-1, -1, -1, 2.5e-10 + 1e-9}},
        {"linear, falling halfway", eNegativeEdge, eLinearInterp, 0.0, {0.5, -0.5}, {-1, 0.5e-10}},
        // Below -amplitude the previous sample is taken at phase pi/2: ratio 0.
        {"linear, clamped previous", ePositiveEdge, eLinearInterp, 0.0, {-3.0, 0.5}, {-1, 0.0}},
        {"linear, clamped both", eNegativeEdge, eLinearInterp, 0.0, {3.0, -inf}, {-1, 1e-10}},
        {"unknown method acts as nearest", ePositiveEdge, 7, 0.0, {-0.5, 0.5}, {-1, 1e-10}},
    };
    for (const EdgeCase& c : cases) {
        ClockTimes ct;
        double clk = 0.0, t = 0.0;
        Wire(ct.clock, clk);
        Wire(ct.time, t);
        ct.m_ClockEdge = static_cast<ClockEdgeE>(c.edge);
        ct.m_TimingMethod = static_cast<TimingMethodE>(c.method);
        ct.m_TimeOffset = c.offset;
        ASSERT_TRUE(ct.Initialize());
        for (size_t n = 0; n < c.clock.size(); ++n) {
            clk = c.clock[n];
            EXPECT_TRUE(ct.Run());
            if (c.expected[n] < 0)
                EXPECT_EQ(t, -1.0) << c.label << " sample " << n;
            else
                EXPECT_NEAR(t, c.expected[n], 1e-22) << c.label << " sample " << n;
        }
        EXPECT_EQ(ct.m_SampleCount, c.clock.size());
    }
}

// Linear timing places the edge where a sampled sinusoid really crosses zero.
TEST(ClockTimes, LinearTimingFindsTheTrueCrossingOfASinusoid)
{
    const double amplitude = 2.0;
    const double omega = 2.0 * kPi * 1.3e8; // rad/s, about 77 samples per period
    const double phase0 = 0.37;
    ClockTimes ct;
    double clk = 0.0, t = 0.0;
    Wire(ct.clock, clk);
    Wire(ct.time, t);
    ct.m_ClockEdge = ePositiveEdge;
    ct.m_TimingMethod = eLinearInterp;
    ct.m_ClockAmplitude = amplitude;
    ASSERT_TRUE(ct.Initialize());
    std::vector<double> edges;
    for (int n = 0; n < 400; ++n) {
        clk = amplitude * std::sin(omega * n * kTs - phase0);
        ct.Run();
        if (t >= 0)
            edges.push_back(t);
    }
    ASSERT_EQ(edges.size(), 6u); // 5.2 periods in 400 samples
    for (size_t k = 0; k < edges.size(); ++k) {
        const double exact = (phase0 + 2.0 * kPi * k) / omega;
        EXPECT_NEAR(edges[k], exact, 1e-9 * kTs) << k;
    }
}

TEST(ClockTimes, RatioOfDegenerateSamplesFallsBackToTheCurrentSample)
{
    ClockTimes ct;
    ct.m_ClockAmplitude = 0.0;
    EXPECT_EQ(ct.CalculateTimeRatio(0.0, 0.5), 1.0);
    ct.m_ClockAmplitude = NAN;
    EXPECT_EQ(ct.CalculateTimeRatio(-0.5, 0.5), 1.0);
}

TEST(ClockTimes, InitializeRejectsNonPositiveIntervalAndKeepsState)
{
    for (double ts : {0.0, -1e-10}) {
        ClockTimes ct;
        ct.m_SampleCount = 5;
        ct.m_PrevClock = 0.25;
        ct.SampleInterval = ts;
        StderrCapture cap;
        EXPECT_FALSE(ct.Initialize());
        EXPECT_EQ(cap.Take(), "SampleInterval must be larger than 0.\n");
        EXPECT_EQ(ct.m_SampleCount, 5u);
        EXPECT_EQ(ct.m_PrevClock, 0.25);
    }
}

// Only an interval of 0 or less is refused; a NaN interval is let through
// and the state restarts as usual.
TEST(ClockTimes, NaNIntervalIsNotRefused)
{
    ClockTimes ct;
    ct.m_SampleCount = 5;
    ct.m_PrevClock = 0.25;
    ct.SampleInterval = NAN;
    StderrCapture cap;
    EXPECT_TRUE(ct.Initialize());
    EXPECT_EQ(cap.Take(), "");
    EXPECT_EQ(ct.m_SampleCount, 0u);
    EXPECT_EQ(ct.m_PrevClock, -1.0);
}

TEST(ClockTimes, InitializeRestartsTheSampleCount)
{
    ClockTimes ct;
    double clk = 1.0, t = 0.0;
    Wire(ct.clock, clk);
    Wire(ct.time, t);
    ct.m_ClockEdge = ePositiveEdge;
    ASSERT_TRUE(ct.Initialize());
    for (int n = 0; n < 10; ++n)
        ct.Run();
    ASSERT_TRUE(ct.Initialize());
    EXPECT_EQ(ct.m_SampleCount, 0u);
    EXPECT_EQ(ct.m_PrevClock, -1.0);
    clk = -1.0;
    ct.Run();
    clk = 1.0;
    ct.Run();
    EXPECT_NEAR(t, 1e-10, 1e-24);
}

// ------------------------------------------------------------- PhaseDetector

class PhaseDetectorFixture : public testing::Test {
protected:
    PhaseDetector pd;
    double data = 0.0, err = 0.0;
    int clk = 0;

    void SetUp() override
    {
        Wire(pd.signal, data);
        Wire(pd.clock, clk);
        Wire(pd.phaseError, err);
        ASSERT_TRUE(pd.Initialize());
    }

    std::vector<double> Drive(const std::vector<int>& clocks, const std::vector<double>& datas)
    {
        std::vector<double> out;
        for (size_t n = 0; n < clocks.size(); ++n) {
            clk = clocks[n];
            data = datas[n];
            EXPECT_TRUE(pd.Run());
            out.push_back(err);
        }
        return out;
    }
};

// Worked by hand (active half: clock 1). Sample 1 activates and samples bit 0;
// samples 1..4 differ from it once (sample 4), so the saved mismatch count is
// 1. Sample 5 activates with bit 1, which differs from the previous bit 0, so
// samples 5 and 6 count 2 reference samples. Sample 7 deactivates:
// (1 - 2) / 2 * pi = -pi/2. The next period holds no transition: 0.
// Sample 2 is exactly 0.0, which must count as bit 0 (as 1 it would make the
// mismatch count 2 and the error 0).
TEST_F(PhaseDetectorFixture, HandWorkedSequence)
{
    const std::vector<int> clocks = {0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0};
    const std::vector<double> datas = {-1, -1, 0.0, -1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    const std::vector<double> expected = {0, 0, 0, 0, 0, 0, 0, -kPi / 2, 0, 0, 0, 0, 0};
    const std::vector<double> got = Drive(clocks, datas);
    for (size_t n = 0; n < expected.size(); ++n)
        EXPECT_DOUBLE_EQ(got[n], expected[n]) << "sample " << n;
}

TEST_F(PhaseDetectorFixture, CountersAfterTheHandWorkedPeriod)
{
    Drive({0, 1, 1, 0, 0, 1, 1, 0}, {-1, -1, 0.0, -1, 1, 1, 1, 1});
    EXPECT_EQ(pd.m_SavedMismatchCount, 1);
    EXPECT_EQ(pd.m_ReferenceCount, 2);
    EXPECT_EQ(pd.m_SampledBit, 1);
    EXPECT_EQ(pd.m_PrevSampledBit, 1);
    EXPECT_EQ(pd.m_MismatchCount, 0);
}

// Two more periods worked by hand; the error appears on the last sample.
TEST_F(PhaseDetectorFixture, ErrorIsMismatchAgainstReferenceCount)
{
    struct Case {
        const char* label;
        std::vector<int> clocks;
        std::vector<double> datas;
        double expected;
    };
    const Case cases[] = {
        // Bit 1 sampled at 1; samples 5, 6 differ (mismatch 2). Bit 0 at 7
        // differs from 1: reference counts 7, 8, 9 (3). (2 - 3) / 3 * pi.
        {"fewer mismatches", {0, 1, 1, 1, 0, 0, 0, 1, 1, 1, 0},
         {1, 1, 1, 1, 1, -1, -1, -1, -1, -1, -1}, -kPi / 3},
        // Bit 1 at 1; samples 3..6 differ (4). Bit 0 at 7: reference 7, 8
        // (2). (4 - 2) / 2 * pi.
        {"more mismatches", {0, 1, 1, 0, 0, 0, 0, 1, 1, 0}, {1, 1, 1, -1, -1, -1, -1, -1, -1, -1},
         kPi},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(pd.Initialize());
        const std::vector<double> got = Drive(c.clocks, c.datas);
        EXPECT_DOUBLE_EQ(got.back(), c.expected) << c.label;
        for (size_t n = 0; n + 1 < got.size(); ++n)
            EXPECT_EQ(got[n], 0.0) << c.label << " sample " << n;
    }
}

TEST_F(PhaseDetectorFixture, NegativeEdgeUsesTheLowHalf)
{
    pd.m_ClockEdge = eNegativeEdge;
    ASSERT_TRUE(pd.Initialize());
    // The inverted clock of the hand-worked sequence gives the same result.
    const std::vector<int> clocks = {1, 0, 0, 1, 1, 0, 0, 1};
    const std::vector<double> got = Drive(clocks, {-1, -1, 0.0, -1, 1, 1, 1, 1});
    EXPECT_DOUBLE_EQ(got[7], -kPi / 2);
}

TEST_F(PhaseDetectorFixture, AnyNonZeroEdgeValueActsAsPositive)
{
    pd.m_ClockEdge = static_cast<ClockEdgeE>(5);
    ASSERT_TRUE(pd.Initialize());
    const std::vector<double> got =
        Drive({0, 1, 1, 0, 0, 1, 1, 0}, {-1, -1, 0.0, -1, 1, 1, 1, 1});
    EXPECT_DOUBLE_EQ(got[7], -kPi / 2);
}

TEST_F(PhaseDetectorFixture, NoClockChangeOrNoDataChangeGivesZero)
{
    std::vector<int> steady(40, 1);
    std::vector<double> toggling(40);
    for (size_t n = 0; n < toggling.size(); ++n)
        toggling[n] = (n / 3) % 2 ? 1.0 : -1.0;
    for (double e : Drive(steady, toggling))
        EXPECT_EQ(e, 0.0);

    ASSERT_TRUE(pd.Initialize());
    std::vector<int> clocks(40);
    for (size_t n = 0; n < clocks.size(); ++n)
        clocks[n] = (n / 4) % 2;
    for (double e : Drive(clocks, std::vector<double>(40, 0.7)))
        EXPECT_EQ(e, 0.0);
}

TEST_F(PhaseDetectorFixture, FirstRunOnlyRecordsTheLevel)
{
    clk = 1;
    data = 1.0;
    err = 9.0;
    pd.Run();
    EXPECT_EQ(err, 0.0);
    EXPECT_TRUE(pd.m_bStarted);
    EXPECT_EQ(pd.m_PrevLevel, 1);
    EXPECT_EQ(pd.m_SampledBit, -1);
    EXPECT_EQ(pd.m_MismatchCount, -1);
}

TEST_F(PhaseDetectorFixture, CountsSaturateInsteadOfOverflowing)
{
    Drive({0, 1}, {-1, -1});
    pd.m_MismatchCount = 2147483646;
    Drive({1, 1, 1}, {1, 1, 1});
    EXPECT_EQ(pd.m_MismatchCount, 2147483647);
}

// ----------------------------------------------------------------------- VCO

class VcoFixture : public testing::Test {
protected:
    VCO vco;
    double vin = 0.0, vout = 0.0, voutq = 0.0;
    int clock = -1, clockq = -1;

    void SetUp() override
    {
        Wire(vco.vin, vin);
        Wire(vco.vout, vout);
        Wire(vco.clock, clock);
        Wire(vco.voutq, voutq);
        Wire(vco.clockq, clockq);
    }
};

TEST_F(VcoFixture, DefaultsFreeRunAtOneGigahertz)
{
    ASSERT_TRUE(vco.Initialize());
    std::vector<int> ones;
    for (int n = 0; n < 30; ++n) {
        vco.Run();
        EXPECT_NEAR(vout, std::cos(0.2 * kPi * n), 1e-12) << n;
        EXPECT_NEAR(voutq, std::sin(0.2 * kPi * n), 1e-12) << n;
        if (clock)
            ones.push_back(n);
    }
    const std::vector<int> expected = {0, 1, 2, 8, 9, 10, 11, 12, 18, 19, 20, 21, 22, 28, 29};
    EXPECT_EQ(ones, expected);
}

TEST_F(VcoFixture, ControlInputRaisesTheFrequencyFromTheFirstSample)
{
    vin = 1e8;
    ASSERT_TRUE(vco.Initialize());
    for (int n = 0; n < 50; ++n) {
        vco.Run();
        const double acc = 2.0 * kPi * 1e8 * kTs * (n + 1);
        EXPECT_NEAR(vco.m_AccumulatedPhase, acc, 1e-12) << n;
        EXPECT_NEAR(vout, std::cos(0.2 * kPi * n + acc), 1e-12) << n;
    }
}

TEST_F(VcoFixture, QuadratureModeOneInvertsTheQuadratureClock)
{
    struct Case {
        int mode;
        std::vector<int> highSamples; // of samples 1..4 and 6..9
    };
    for (const Case& c : {Case{0, {1, 2, 3, 4}}, Case{1, {6, 7, 8, 9}}, Case{2, {1, 2, 3, 4}}}) {
        vco.m_QuadratureMode = c.mode;
        ASSERT_TRUE(vco.Initialize());
        std::vector<int> high;
        for (int n = 0; n < 10; ++n) {
            vco.Run();
            const double s = std::sin(0.2 * kPi * n);
            EXPECT_NEAR(voutq, c.mode == 1 ? -s : s, 1e-12);
            if (n != 0 && n != 5 && clockq)
                high.push_back(n);
        }
        EXPECT_EQ(high, c.highSamples) << "mode " << c.mode;
    }
}

TEST_F(VcoFixture, ZeroWaveformGivesClockZero)
{
    vco.m_Amplitude = 0.0;
    vco.m_QuadratureMode = 1;
    ASSERT_TRUE(vco.Initialize());
    vco.Run();
    EXPECT_EQ(vout, 0.0);
    EXPECT_EQ(clock, 0);
    EXPECT_EQ(clockq, 0);
}

TEST_F(VcoFixture, InitialPhaseAndAmplitude)
{
    vco.m_InitialPhase = kPi / 3;
    vco.m_Amplitude = 2.5;
    ASSERT_TRUE(vco.Initialize());
    vco.Run();
    EXPECT_NEAR(vout, 1.25, 1e-12);
    EXPECT_NEAR(voutq, 2.5 * std::sin(kPi / 3), 1e-12);
}

TEST_F(VcoFixture, BadIntervalFailsAfterResettingTheState)
{
    for (double ts : {0.0, -1e-10}) {
        vco.m_SampleCount = 7;
        vco.m_AccumulatedPhase = 3.0;
        vco.m_InitialPhase = 0.5;
        vco.SampleInterval = ts;
        StderrCapture cap;
        EXPECT_FALSE(vco.Initialize());
        EXPECT_EQ(cap.Take(), "SampleInterval must be a positive number.\n");
        EXPECT_EQ(vco.m_SampleCount, 0u);
        EXPECT_EQ(vco.m_AccumulatedPhase, 0.5);
    }
}

TEST_F(VcoFixture, NaNIntervalIsNotRefused)
{
    vco.m_SampleCount = 7;
    vco.m_InitialPhase = 0.5;
    vco.SampleInterval = NAN;
    StderrCapture cap;
    EXPECT_TRUE(vco.Initialize());
    EXPECT_EQ(cap.Take(), "");
    EXPECT_EQ(vco.m_SampleCount, 0u);
    EXPECT_EQ(vco.m_AccumulatedPhase, 0.5);
}

// The three blocks wired as a recovery loop would be: the VCO clock drives the
// timer, and its rising edges come once per period.
TEST_F(VcoFixture, TimerSeesOneRisingEdgePerVcoPeriod)
{
    ClockTimes ct;
    double t = 0.0;
    Wire(ct.clock, vout);
    Wire(ct.time, t);
    ct.m_ClockEdge = ePositiveEdge;
    vco.m_FreeRunFrequency = 1.0 / (32 * kTs); // 32 samples per period
    ASSERT_TRUE(vco.Initialize());
    ASSERT_TRUE(ct.Initialize());
    std::vector<double> edges;
    for (int n = 0; n < 32 * 6; ++n) {
        vco.Run();
        ct.Run();
        if (t >= 0)
            edges.push_back(t);
    }
    ASSERT_GE(edges.size(), 5u);
    for (size_t k = 1; k < edges.size(); ++k)
        EXPECT_NEAR(edges[k] - edges[k - 1], 32 * kTs, 1e-20);
    // cos rises through 0 at 3/4 of the period, on sample 24; there the
    // phase rounds to just below 3*pi/2, so sample 25 is the first > 0.
    EXPECT_NEAR(edges[0], 25 * kTs, 1e-20);
}

} // namespace
