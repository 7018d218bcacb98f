// The symbol-spaced FIR block and the LFSR.
#include "BlindFFE.h"
#include "LFSR.h"

#include "BlockTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

using namespace Quenrix;
using blocktest::StderrCapture;
using blocktest::Wire;

namespace {

// ------------------------------------------------------------------ BlindFFE

class FfeFixture : public testing::Test {
protected:
    BlindFFE ffe;
    double in = 0.0, out = 0.0;

    void SetUp() override
    {
        Wire(ffe.input, in);
        Wire(ffe.output, out);
    }

    void SetTaps(const std::vector<double>& taps)
    {
        ffe.Coefficients.Resize(1, taps.size());
        ffe.Coefficients.CopyFrom(taps.data(), taps.size());
    }
};

TEST_F(FfeFixture, DefaultsPassTheInputThrough)
{
    EXPECT_EQ(ffe.SamplesPerBit, 16);
    ASSERT_EQ(ffe.Coefficients.NumElements(), 1u);
    ASSERT_TRUE(ffe.Initialize());
    EXPECT_EQ(ffe.m_iDelayLength, 16u);
    for (double x : {0.5, -1.25, 3.0, 0.0, 7.5}) {
        in = x;
        ASSERT_TRUE(ffe.Run());
        EXPECT_EQ(out, x);
    }
}

TEST_F(FfeFixture, TransmitterTapsOnAUnitImpulse)
{
    SetTaps({0.828984375, -0.165796875});
    ffe.SamplesPerBit = 32;
    ASSERT_TRUE(ffe.Initialize());
    EXPECT_EQ(ffe.m_iDelayLength, 64u);
    for (int n = 0; n < 100; ++n) {
        in = n == 0 ? 1.0 : 0.0;
        ASSERT_TRUE(ffe.Run());
        const double expected = n == 0 ? 0.828984375 : n == 32 ? -0.165796875 : 0.0;
        EXPECT_EQ(out, expected) << "sample " << n;
    }
}

TEST_F(FfeFixture, ThreeTapsMatchADirectConvolution)
{
    const std::vector<double> taps = {0.7, -0.2, 0.05};
    const int spacing = 5;
    SetTaps(taps);
    ffe.SamplesPerBit = spacing;
    ASSERT_TRUE(ffe.Initialize());
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<double> x;
    for (int n = 0; n < 200; ++n) {
        x.push_back(u(rng));
        in = x.back();
        ffe.Run();
        double y = 0.0;
        for (size_t i = 0; i < taps.size(); ++i) {
            const int k = n - static_cast<int>(i) * spacing;
            if (k >= 0)
                y += taps[i] * x[k];
        }
        EXPECT_NEAR(out, y, 1e-15) << n;
    }
}

// The taps are read in element order whatever the matrix shape.
TEST_F(FfeFixture, ColumnOfTapsActsLikeARow)
{
    const double taps[] = {0.75, 0.25};
    ffe.Coefficients.Resize(2, 1);
    ffe.Coefficients.CopyFrom(taps, 2);
    ffe.SamplesPerBit = 3;
    ASSERT_TRUE(ffe.Initialize());
    EXPECT_EQ(ffe.m_iDelayLength, 6u);
    for (int n = 0; n < 8; ++n) {
        in = n == 0 ? 1.0 : 0.0;
        ASSERT_TRUE(ffe.Run());
        EXPECT_EQ(out, n == 0 ? 0.75 : n == 3 ? 0.25 : 0.0) << "sample " << n;
    }
}

TEST_F(FfeFixture, InitializeStartsFromAnEmptyDelayLine)
{
    SetTaps({0.5, 0.5});
    ffe.SamplesPerBit = 4;
    ASSERT_TRUE(ffe.Initialize());
    in = 1.0;
    for (int n = 0; n < 6; ++n)
        ffe.Run();
    ASSERT_TRUE(ffe.Initialize());
    in = 0.0;
    for (int n = 0; n < 8; ++n) {
        ffe.Run();
        EXPECT_EQ(out, 0.0);
    }
}

TEST_F(FfeFixture, BadParametersFailAndLeaveTheBlockSilent)
{
    struct Case {
        int spacing;
        std::vector<double> taps;
        const char* message;
    };
    const Case cases[] = {
        {0, {1.0}, "SamplesPerBit must be a positive number.\n"},
        {-3, {1.0}, "SamplesPerBit must be a positive number.\n"},
        {16, {}, "Coefficients must hold at least one tap.\n"},
    };
    for (const Case& c : cases) {
        BlindFFE f;
        double x = 1.0, y = 9.0;
        Wire(f.input, x);
        Wire(f.output, y);
        f.Coefficients.Resize(c.taps.empty() ? 0 : 1, c.taps.size());
        f.Coefficients.CopyFrom(c.taps.data(), c.taps.size());
        f.SamplesPerBit = c.spacing;
        StderrCapture cap;
        EXPECT_FALSE(f.Initialize());
        EXPECT_EQ(cap.Take(), c.message);
        // Nothing to filter with: zero out, and the failure is reported.
        EXPECT_FALSE(f.Run());
        EXPECT_EQ(y, 0.0);
    }
}

TEST_F(FfeFixture, RunBeforeInitializeIsSafe)
{
    in = 1.0;
    EXPECT_FALSE(ffe.Run());
    EXPECT_EQ(out, 0.0);
}

TEST_F(FfeFixture, TapsChangedAfterInitializeDoNotReachPastTheDelayLine)
{
    ASSERT_TRUE(ffe.Initialize()); // one tap, 16 samples
    SetTaps({1, 1, 1, 1});
    ffe.SamplesPerBit = 100;
    in = 2.0;
    EXPECT_TRUE(ffe.Run());
    EXPECT_EQ(out, 2.0);
}

// The delay line wraps many times over: every output must be exactly the
// direct sum y[n] = c_0 x[n] + c_1 x[n - s] + ... (x = 0 before the start),
// added in tap order. Inputs span many binades so that any other order of
// summation, or a tap reading the wrong sample, shows in the last bits.
TEST(BlindFfeRing, EveryOutputIsTheDirectSumBitForBit)
{
    struct Case {
        std::vector<double> taps;
        int spacing;
        // Samples run first with this spacing, then Initialize again with the
        // case's own; 0 samples: a fresh block.
        int runBeforeReinit;
        int spacingBeforeReinit;
    };
    const Case cases[] = {
        {{0.9}, 1, 0, 0},
        {{0.9}, 2, 0, 0},
        {{0.9}, 7, 0, 0},
        {{0.6, -0.4}, 1, 0, 0},
        {{0.6, -0.4}, 2, 0, 0},
        {{0.6, -0.4}, 7, 0, 0},
        {{0.71, -0.19, 0.033}, 1, 0, 0},
        {{0.71, -0.19, 0.033}, 2, 0, 0},
        {{0.71, -0.19, 0.033}, 7, 0, 0},
        {{1.3, -0.27, 0.0625, -3.1e-3, 7.7e-5}, 1, 0, 0},
        {{1.3, -0.27, 0.0625, -3.1e-3, 7.7e-5}, 2, 0, 0},
        {{1.3, -0.27, 0.0625, -3.1e-3, 7.7e-5}, 7, 0, 0},
        // Run part way round the ring (head not at the start), then start
        // again: with the same line, a longer one and a shorter one.
        {{0.71, -0.19, 0.033}, 7, 10, 7},
        {{1.3, -0.27, 0.0625, -3.1e-3, 7.7e-5}, 2, 23, 2},
        {{0.6, -0.4}, 1, 1, 1},
        {{0.6, -0.4}, 7, 3, 1},
        {{0.6, -0.4}, 1, 37, 7},
        {{0.71, -0.19, 0.033}, 2, 30, 7},
    };
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> mant(-1.0, 1.0);
    std::uniform_int_distribution<int> binade(-30, 30);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.taps.size() << " taps, spacing " << c.spacing << ", run "
                                        << c.runBeforeReinit << " at spacing " << c.spacingBeforeReinit
                                        << " before re-initialising");
        BlindFFE f;
        double in = 0.0, out = 0.0;
        Wire(f.input, in);
        Wire(f.output, out);
        f.Coefficients.Resize(1, c.taps.size());
        f.Coefficients.CopyFrom(c.taps.data(), c.taps.size());
        if (c.runBeforeReinit > 0) {
            f.SamplesPerBit = c.spacingBeforeReinit;
            ASSERT_TRUE(f.Initialize());
            for (int n = 0; n < c.runBeforeReinit; ++n) {
                in = 100.0 + n;
                ASSERT_TRUE(f.Run());
            }
        }
        f.SamplesPerBit = c.spacing;
        ASSERT_TRUE(f.Initialize());
        const size_t length = c.taps.size() * static_cast<size_t>(c.spacing);
        ASSERT_EQ(f.m_iDelayLength, length);
        const int total = static_cast<int>(5 * length) + 3;
        std::vector<double> x;
        for (int n = 0; n < total; ++n) {
            x.push_back(mant(rng) * std::ldexp(1.0, binade(rng)));
            in = x.back();
            ASSERT_TRUE(f.Run());
            auto past = [&](int k) { return k < 0 ? 0.0 : x[static_cast<size_t>(k)]; };
            double y = 0.0;
            for (size_t i = 0; i < c.taps.size(); ++i)
                y += past(n - static_cast<int>(i) * c.spacing) * c.taps[i];
            ASSERT_EQ(out, y) << "sample " << n;
            // Position k of the line is the input from k samples ago.
            for (size_t k = 0; k < length; ++k)
                ASSERT_EQ(f.DelayedSample(k), past(n - static_cast<int>(k))) << "sample " << n << ", position " << k;
        }
    }
}

// ---------------------------------------------------------------------- LFSR

// Bit-by-bit register written independently of the block: bits[i] is bit i,
// feedback is the XOR of the bits at length - p for each tap position p, and
// it enters at the top while everything moves down one place.
struct ReferenceRegister {
    std::vector<int> bits;
    std::vector<int> positions;

    int Length() const { return static_cast<int>(bits.size()); }
    void Step()
    {
        int fb = 0;
        for (int p : positions)
            fb ^= bits[Length() - p];
        for (int i = 0; i + 1 < Length(); ++i)
            bits[i] = bits[i + 1];
        bits[Length() - 1] = fb;
    }
    uint64_t Value() const
    {
        uint64_t v = 0;
        for (int i = Length() - 1; i >= 0; --i)
            v = (v << 1) | static_cast<uint64_t>(bits[i]);
        return v;
    }
};

void SetVector(Matrix<int>& m, const std::vector<int>& v)
{
    m.Resize(1, v.size());
    m.CopyFrom(v.data(), v.size());
}

class LfsrFixture : public testing::Test {
protected:
    LFSR lfsr;
    int en = 1, rst = 0;
    std::vector<int> outs = std::vector<int>(64, -1);

    void Outputs(size_t n)
    {
        lfsr.output.Initialize(n);
        for (size_t k = 0; k < n; ++k)
            Wire(lfsr.output[k], outs[k]);
    }
    void WireInputs()
    {
        Wire(lfsr.enable, en);
        Wire(lfsr.reset, rst);
    }
    uint64_t OutputValue(size_t n) const
    {
        uint64_t v = 0;
        for (size_t k = n; k-- > 0;)
            v = (v << 1) | static_cast<uint64_t>(outs[k]);
        return v;
    }
};

TEST_F(LfsrFixture, Defaults)
{
    EXPECT_EQ(lfsr.ResetMode, 0);
    EXPECT_EQ(lfsr.InternalResetPeriod, 127);
    WireInputs();
    Outputs(10);
    ASSERT_TRUE(lfsr.Initialize());
    EXPECT_EQ(lfsr.m_Register.length, 10);
    EXPECT_EQ(lfsr.m_Register.taps, 0x81u);
    EXPECT_EQ(lfsr.m_Register.initial, 0x22u);
    EXPECT_EQ(lfsr.m_Register.state, 0x22u);
    EXPECT_EQ(lfsr.m_Register.counter, 127);
    ASSERT_TRUE(lfsr.Run());
    EXPECT_EQ(OutputValue(10), 0x22u);
    EXPECT_EQ(lfsr.m_Register.state, 0x11u); // parity of 0x81 & 0x22 is 0
}

// Tap positions count from the register's most significant end, so the
// state vector [9, 5], aligned to the top of the 10-bit register, sets
// exactly positions 9 and 5; one step later they have moved to 10 and 6.
TEST_F(LfsrFixture, TapTestCountsPositionsFromTheTop)
{
    WireInputs();
    ASSERT_TRUE(lfsr.Initialize());
    for (int p = 1; p <= 10; ++p)
        EXPECT_EQ(lfsr.m_Register.TestTap(p), p == 9 || p == 5) << "position " << p;
    ASSERT_TRUE(lfsr.Run());
    for (int p = 1; p <= 10; ++p)
        EXPECT_EQ(lfsr.m_Register.TestTap(p), p == 10 || p == 6) << "position " << p;
}

TEST_F(LfsrFixture, RunMatchesABitByBitRegister)
{
    struct Case {
        const char* label;
        std::vector<int> taps;
        std::vector<int> state;
        std::vector<int> positions;   // tap positions for the reference
        std::vector<int> initialBits; // bit i of the aligned initial state
        int enablePeriod;             // enable is 0 on every sample n % period == 0
    };
    std::vector<int> ones64(64, 1);
    std::vector<int> bits64(64, 0);
    bits64[63] = 1;
    bits64[0] = 1;
    bits64[17] = 1;
    const Case cases[] = {
        // initialBits is indexed by bit number. [9, 5] over 9 bits sets bits 0
        // and 4; aligned to the top of 10 bits: 1 and 5.
        {"defaults", {10, 3}, {9, 5}, {10, 3}, {0, 1, 0, 0, 0, 1, 0, 0, 0, 0}, 0},
        {"defaults, gated enable", {10, 3}, {9, 5}, {10, 3}, {0, 1, 0, 0, 0, 1, 0, 0, 0, 0}, 3},
        // Bit form: [1,0,0,1] is length 4 with taps at positions 1 and 4; the
        // one-bit state [1] is aligned to the top bit.
        {"bit form taps", {1, 0, 0, 1, 0, 0}, {1}, {1, 4}, {0, 0, 0, 1}, 0},
        // 64 bits; a state vector of 64 bits, first element the top bit.
        {"64 bits", {64, 63, 61, 60}, ones64, {64, 63, 61, 60}, ones64, 0},
        // Positions 64, 47 and 1 of a 64-bit state set bits 0, 17 and 63.
        {"64 bits, sparse state", {64, 63, 61, 60}, {64, 47, 1}, {64, 63, 61, 60}, bits64, 5},
    };
    for (const Case& c : cases) {
        LFSR l;
        int e = 1;
        std::vector<int> o(64, -1);
        Wire(l.enable, e);
        SetVector(l.FeedbackTaps, c.taps);
        SetVector(l.InitialState, c.state);
        ReferenceRegister ref{c.initialBits, c.positions};
        const size_t width = ref.bits.size();
        l.output.Initialize(width);
        for (size_t k = 0; k < width; ++k)
            Wire(l.output[k], o[k]);
        ASSERT_TRUE(l.Initialize()) << c.label;
        for (int n = 0; n < 3000; ++n) {
            e = (c.enablePeriod && n % c.enablePeriod == 0) ? 0 : 1;
            ASSERT_TRUE(l.Run());
            for (size_t k = 0; k < width; ++k)
                ASSERT_EQ(o[k], ref.bits[k]) << c.label << " sample " << n << " bit " << k;
            if (e)
                ref.Step();
        }
        EXPECT_EQ(l.m_Register.state, ref.Value()) << c.label;
    }
}

// x^10 + x^3 + 1 is primitive: every non-zero state recurs after 1023 steps.
TEST_F(LfsrFixture, DefaultPolynomialHasMaximalPeriod)
{
    WireInputs();
    ASSERT_TRUE(lfsr.Initialize());
    const uint64_t start = lfsr.m_Register.state;
    int period = 0;
    do {
        lfsr.Run();
        ++period;
    } while (lfsr.m_Register.state != start && period < 5000);
    EXPECT_EQ(period, 1023);
}

TEST_F(LfsrFixture, PolynomialForms)
{
    struct Case {
        std::vector<int> taps;
        int length;
        uint64_t mask;
    };
    const Case cases[] = {
        {{10, 3}, 10, 0x81},
        {{1, 0, 0, 1, 0, 0}, 4, 0x9},
        {{0, 1, 1}, 3, 0x3},
        {{5, 2, 0}, 5, 0x09}, // a trailing 0 names bit 5, outside the register
        {{64, 1}, 64, (uint64_t(1) << 63) | 1u},
        {{2}, 2, 0x1},
    };
    for (const Case& c : cases) {
        LFSR l;
        SetVector(l.FeedbackTaps, c.taps);
        SetVector(l.InitialState, {1});
        ASSERT_TRUE(l.Initialize());
        EXPECT_EQ(l.m_Register.length, c.length);
        EXPECT_EQ(l.m_Register.taps, c.mask);
        EXPECT_EQ(l.m_Register.initial, uint64_t(1) << (c.length - 1));
    }
    // A column vector is a vector too.
    LFSR l;
    SetVector(l.InitialState, {1});
    l.FeedbackTaps.Resize(2, 1);
    const int t[] = {7, 1};
    l.FeedbackTaps.CopyFrom(t, 2);
    EXPECT_TRUE(l.Initialize());
    EXPECT_EQ(l.m_Register.length, 7);
}

TEST_F(LfsrFixture, BadParametersAreReported)
{
    struct Case {
        const char* label;
        std::vector<int> taps;
        std::vector<int> state;
        std::string messages;
    };
    const std::string vecTaps = "FeedbackTaps must be a vector or a 2 dimensional matrix with size "
                                "of one dimension equal to '1'.\n";
    const Case cases[] = {
        {"repeat", {7, 7}, {9, 5},
         "FeedbackTaps specification error detected at element number 2.\n"},
        {"zero inside", {5, 0, 3}, {1},
         "FeedbackTaps specification error detected at element number 2.\n"},
        {"zero first", {0, 3}, {1},
         "FeedbackTaps specification error detected at element number 1.\n"},
        {"too large", {3, 70}, {1},
         "FeedbackTaps specification error detected at element number 2.\n"},
        {"negative", {-1, 3}, {1},
         "FeedbackTaps specification error detected at element number 1.\n"},
        {"no taps set", {0, 0}, {1}, "FeedbackTaps must have at least one non-zero element.\n"},
        {"empty taps", {}, {1}, "FeedbackTaps array is empty.\n"},
        {"empty state", {10, 3}, {}, "InitialState array is empty.\n"},
        {"both empty", {}, {}, "FeedbackTaps array is empty.\nInitialState array is empty.\n"},
        {"state too long", {10, 3}, {12},
         "InitialState length (12) must be less than or equal to the LFSR length (10).\n"},
        {"state bit form too long", {3, 1}, {1, 0, 1, 1},
         "InitialState length (4) must be less than or equal to the LFSR length (3).\n"},
        {"state all zero", {10, 3}, {0, 0}, "InitialState must have at least one non-zero element.\n"},
        {"state repeat", {10, 3}, {4, 4},
         "InitialState specification error detected at element number 2.\n"},
        {"both bad", {3, 3}, {-5},
         "FeedbackTaps specification error detected at element number 2.\n"
         "InitialState specification error detected at element number 1.\n"},
        {"65 bits", std::vector<int>(65, 1), {1}, "LFSR could not be initialized.\n"},
    };
    for (const Case& c : cases) {
        LFSR l;
        SetVector(l.FeedbackTaps, c.taps);
        SetVector(l.InitialState, c.state);
        StderrCapture cap;
        EXPECT_FALSE(l.Initialize()) << c.label;
        EXPECT_EQ(cap.Take(), c.messages) << c.label;
    }

    // A 0 x 0 matrix is empty and, having no dimension of 1, no vector either.
    {
        LFSR l;
        l.FeedbackTaps.Resize(0, 0);
        StderrCapture cap;
        EXPECT_FALSE(l.Initialize());
        EXPECT_EQ(cap.Take(), "FeedbackTaps array is empty.\n" + vecTaps);
    }

    // Shapes: a 2 x 2 matrix or three dimensions are not vectors.
    LFSR l;
    l.FeedbackTaps.Resize(2, 2);
    {
        StderrCapture cap;
        EXPECT_FALSE(l.Initialize());
        EXPECT_EQ(cap.Take(), vecTaps);
    }
    const size_t dims[3] = {1, 2, 1};
    l.InitialState.ResizeMultidimensional(3, dims);
    {
        StderrCapture cap;
        EXPECT_FALSE(l.Initialize());
        EXPECT_EQ(cap.Take(), vecTaps + "InitialState must be a vector or a 2 dimensional matrix "
                                        "with size of one dimension equal to '1'.\n");
    }
}

TEST_F(LfsrFixture, TooManyOutputsAndBadPeriodFail)
{
    Outputs(11);
    {
        StderrCapture cap;
        EXPECT_FALSE(lfsr.Initialize());
        EXPECT_EQ(cap.Take(), "The number of outputs must be less than or equal to the number of "
                              "bits in the LFSR.  Currently, there are 11 outputs and 10 bits.\n");
    }
    // A failed Initialize leaves the block unusable rather than half set up.
    EXPECT_FALSE(lfsr.Run());
    Outputs(10);
    lfsr.ResetMode = 1;
    lfsr.InternalResetPeriod = 0;
    StderrCapture cap;
    EXPECT_FALSE(lfsr.Initialize());
    EXPECT_EQ(cap.Take(), "InternalResetPeriod must be [1,inf)\n");
}

TEST_F(LfsrFixture, InternalResetEveryPeriod)
{
    WireInputs();
    Outputs(10);
    lfsr.ResetMode = 1;
    lfsr.InternalResetPeriod = 3;
    ASSERT_TRUE(lfsr.Initialize());
    ReferenceRegister ref{{0, 1, 0, 0, 0, 1, 0, 0, 0, 0}, {10, 3}};
    const ReferenceRegister start = ref;
    // The counter starts at the period and is decremented first, so the first
    // reset comes on sample 2, then on every third sample.
    for (int n = 0; n < 20; ++n) {
        const bool resetSample = n % 3 == 2;
        if (resetSample)
            ref = start;
        ASSERT_TRUE(lfsr.Run());
        EXPECT_EQ(OutputValue(10), ref.Value()) << n;
        if (!resetSample)
            ref.Step();
    }
}

TEST_F(LfsrFixture, ExternalResetShowsTheInitialStateWithoutStepping)
{
    WireInputs();
    Outputs(10);
    ASSERT_TRUE(lfsr.Initialize());
    ReferenceRegister ref{{0, 1, 0, 0, 0, 1, 0, 0, 0, 0}, {10, 3}};
    const ReferenceRegister start = ref;
    for (int n = 0; n < 30; ++n) {
        rst = (n == 7 || n == 8 || n == 20) ? 1 : 0;
        if (rst)
            ref = start;
        ASSERT_TRUE(lfsr.Run());
        EXPECT_EQ(OutputValue(10), ref.Value()) << n;
        if (!rst)
            ref.Step();
    }
}

TEST_F(LfsrFixture, UnconnectedResetIsNotRead)
{
    WireInputs();
    Outputs(10);
    ASSERT_TRUE(lfsr.Initialize());
    lfsr.reset.SetConnected(false);
    rst = 1;
    lfsr.Run();
    lfsr.Run();
    EXPECT_NE(OutputValue(10), 0x22u);
    // A reset port that was never given sample memory is not read either.
    LFSR l;
    int e = 1;
    Wire(l.enable, e);
    ASSERT_TRUE(l.Initialize());
    EXPECT_TRUE(l.Run());
    EXPECT_EQ(l.m_Register.state, 0x11u);
}

// An enable port without sample memory, or marked unconnected, means the
// register runs freely: it shifts on every sample.
TEST_F(LfsrFixture, EnableWithoutSampleMemoryFreeRuns)
{
    ReferenceRegister ref{{0, 1, 0, 0, 0, 1, 0, 0, 0, 0}, {10, 3}};
    ASSERT_TRUE(lfsr.Initialize()); // neither input wired
    for (int n = 0; n < 50; ++n) {
        ASSERT_TRUE(lfsr.Run());
        ref.Step();
        EXPECT_EQ(lfsr.m_Register.state, ref.Value()) << n;
    }
    LFSR l;
    int e = 0;
    Wire(l.enable, e);
    l.enable.SetConnected(false);
    ASSERT_TRUE(l.Initialize());
    l.Run();
    EXPECT_EQ(l.m_Register.state, 0x11u);
    // Connected with a zero sample: held.
    l.enable.SetConnected(true);
    l.Run();
    EXPECT_EQ(l.m_Register.state, 0x11u);
}

TEST_F(LfsrFixture, RunBeforeInitializeWritesZeros)
{
    Outputs(4);
    EXPECT_FALSE(lfsr.Run());
    for (size_t k = 0; k < 4; ++k)
        EXPECT_EQ(outs[k], 0);
}

TEST_F(LfsrFixture, ValidateResetParameters)
{
    struct Case {
        int mode, period;
        bool repair;
        bool ok;
        int modeAfter, periodAfter;
        std::string messages;
    };
    const Case cases[] = {
        {5, 10, false, true, 1, 10, " reset to YES\n"},
        {-2, 10, false, true, 0, 10, " reset to NO\n"},
        {1, 0, false, false, 1, 0, "InternalResetPeriod must be [1,inf)\n"},
        {1, -4, true, true, 1, 1, "InternalResetPeriod has been set to 1.\n"},
        {7, 0, true, true, 1, 1, " reset to YES\nInternalResetPeriod has been set to 1.\n"},
        {0, 0, false, true, 0, 0, ""},
    };
    for (const Case& c : cases) {
        LFSR l;
        l.ResetMode = c.mode;
        l.InternalResetPeriod = c.period;
        StderrCapture cap;
        EXPECT_EQ(l.ValidateResetParameters(c.repair), c.ok);
        EXPECT_EQ(cap.Take(), c.messages);
        EXPECT_EQ(l.ResetMode, c.modeAfter);
        EXPECT_EQ(l.InternalResetPeriod, c.periodAfter);
        if (c.ok) {
            EXPECT_EQ(l.m_Register.counter, c.periodAfter);
        }
    }
    // The period check alone leaves an out-of-range mode as it is.
    LFSR l;
    l.ResetMode = 5;
    l.InternalResetPeriod = 0;
    StderrCapture cap;
    EXPECT_TRUE(l.ValidateResetPeriod(true));
    EXPECT_EQ(cap.Take(), "");
    EXPECT_EQ(l.ResetMode, 5);
}

} // namespace
