// A block holding a sample that is not finite, as a host sees the receiver
// refuse it: result 0, the block and the clock array left as given but for
// the terminator, one line naming the sample added to the AMI_Init text, and
// the model's state untouched, so that the next finite block comes out bit for
// bit as on a handle that never saw the bad one.
#include "rx_library.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

using rxtest::Library;
using rxtest::Session;

namespace {

const double kNan = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

const char* const kParams = "(usb3_rx (xrx_process 0) (xboost 5))";
const double kBitTime = 1e-10, kTs = 1e-10 / 32;
const double kUnset = -7.0; // what the clock array holds before a call

const char* const kNotFinite =
    "The IBIS-AMI model, usb3_rx, was given a value that is not finite in AMI_GetWave: ";

// A NaN with its sign bit set, which glibc's printf writes as "-nan".
double NegativeNan()
{
    return -std::numeric_limits<double>::quiet_NaN();
}

// A quiet NaN with a payload in its low bits.
double NanWithPayload()
{
    const uint64_t bits = 0x7ff8000000c0ffeeull;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// The same byte patterns, NaN payloads and signs included.
bool SameBits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// A PRBS as the channel delivers it, long enough for every test's blocks.
const std::vector<double>& Stimulus()
{
    static const std::vector<double> w =
        rxtest::Nrz(rxtest::Prbs7(400), kBitTime, kTs, 0.4, 0.3 * kBitTime);
    return w;
}

// One AMI_GetWave call on samples [offset, offset + count) of the stimulus,
// in a copy of their own; keeps what the call left in the block and in the
// clock array, which is longer than any clock list the call may write.
struct Call {
    long result = -1;
    std::vector<double> wave, clock;
};

Call GetWave(Session& s, size_t offset, size_t count, bool clockArray = true)
{
    Call c;
    c.wave.assign(Stimulus().begin() + offset, Stimulus().begin() + offset + count);
    c.clock.assign(count + 2, kUnset);
    c.result = s.lib.getWave(c.wave.data(), static_cast<long>(count),
                             clockArray ? c.clock.data() : nullptr, nullptr, s.handle);
    return c;
}

void ExpectSameOutput(const Call& a, const Call& b)
{
    EXPECT_EQ(a.result, 1);
    EXPECT_EQ(b.result, 1);
    EXPECT_TRUE(SameBits(a.wave, b.wave)) << "waveforms differ";
    EXPECT_TRUE(SameBits(a.clock, b.clock)) << "clock arrays differ";
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

struct BadBlockCase {
    const char* name;
    size_t size;
    // Where the block's samples are replaced, and by what.
    std::vector<std::pair<size_t, double>> bad;
    bool clockArray;
    // What the added line says after kNotFinite.
    const char* says;
};

void PrintTo(const BadBlockCase& c, std::ostream* os) { *os << c.name; }

class BadBlock : public ::testing::TestWithParam<BadBlockCase> {};

} // namespace

// Two handles alike run the same finite blocks; one of them is then given the
// bad block. After it, both run the same finite block and must agree to the
// bit: the refused block left no trace in the model.
TEST_P(BadBlock, IsRefusedAndLeavesNoTrace)
{
    const BadBlockCase& c = GetParam();
    Session seen(kParams), clean(kParams);
    ASSERT_EQ(seen.initResult, 1);
    ASSERT_EQ(clean.initResult, 1);
    const char* const text = seen.msg;
    const std::string before = seen.Message();

    size_t off = 0;
    for (size_t n : {1500, 37, 1024}) {
        ExpectSameOutput(GetWave(seen, off, n), GetWave(clean, off, n));
        off += n;
    }

    std::vector<double> block(Stimulus().begin() + off, Stimulus().begin() + off + c.size);
    for (const auto& b : c.bad)
        block[b.first] = b.second;
    const std::vector<double> given = block;
    std::vector<double> clock(c.size + 2, kUnset);
    EXPECT_EQ(seen.lib.getWave(block.data(), static_cast<long>(c.size),
                               c.clockArray ? clock.data() : nullptr, nullptr, seen.handle),
              0);
    EXPECT_TRUE(SameBits(block, given)) << "the refused block was written";
    std::vector<double> expectedClock(c.size + 2, kUnset);
    if (c.clockArray)
        expectedClock[0] = -1.0;
    EXPECT_TRUE(SameBits(clock, expectedClock)) << "more than the terminator was written";
    EXPECT_EQ(seen.msg, text);
    EXPECT_EQ(seen.Message(), before + kNotFinite + c.says);
    off += c.size;

    for (size_t n : {2048, 5}) {
        SCOPED_TRACE(n);
        ExpectSameOutput(GetWave(seen, off, n), GetWave(clean, off, n));
        off += n;
    }
    EXPECT_EQ(seen.Message(), before + kNotFinite + c.says);
    EXPECT_EQ(clean.Message(), before);
}

INSTANTIATE_TEST_SUITE_P(
    RxNotFinite, BadBlock,
    ::testing::Values(
        BadBlockCase{"NanFirst", 1000, {{0, kNan}}, true, "sample 0 of the block is nan. "},
        BadBlockCase{"NanMiddle", 1000, {{517, kNan}}, true, "sample 517 of the block is nan. "},
        BadBlockCase{"NanLast", 1000, {{999, kNan}}, true, "sample 999 of the block is nan. "},
        BadBlockCase{"InfFirst", 1000, {{0, kInf}}, true, "sample 0 of the block is inf. "},
        BadBlockCase{"InfMiddle", 1000, {{517, kInf}}, true, "sample 517 of the block is inf. "},
        BadBlockCase{"InfLast", 1000, {{999, kInf}}, true, "sample 999 of the block is inf. "},
        BadBlockCase{"MinusInfFirst", 1000, {{0, -kInf}}, true, "sample 0 of the block is -inf. "},
        BadBlockCase{"MinusInfMiddle", 1000, {{517, -kInf}}, true,
                     "sample 517 of the block is -inf. "},
        BadBlockCase{"MinusInfLast", 1000, {{999, -kInf}}, true,
                     "sample 999 of the block is -inf. "},
        // A NaN is "nan" whatever its sign and payload.
        BadBlockCase{"NegativeNan", 1000, {{250, NegativeNan()}}, true,
                     "sample 250 of the block is nan. "},
        BadBlockCase{"NanWithPayload", 1000, {{64, NanWithPayload()}}, true,
                     "sample 64 of the block is nan. "},
        // Only the first bad sample is named, not the first one placed.
        BadBlockCase{"FirstOfSeveral",
                     1000,
                     {{700, kInf}, {12, -kInf}, {13, kNan}, {999, kNan}},
                     true,
                     "sample 12 of the block is -inf. "},
        BadBlockCase{"OneSampleBlock", 1, {{0, kNan}}, true, "sample 0 of the block is nan. "},
        BadBlockCase{"WholeBlockNan", 64,
                     {{0, kNan}, {1, kNan}, {31, kNan}, {32, kNan}, {63, kNan}}, true,
                     "sample 0 of the block is nan. "},
        BadBlockCase{"NoClockArray", 1000, {{400, -kInf}}, false,
                     "sample 400 of the block is -inf. "}),
    [](const ::testing::TestParamInfo<BadBlockCase>& info) { return info.param.name; });

// Refusals in a row: the same bad block again adds no second line, another one
// adds its own, and the run goes on from where the last finite block left it.
TEST(RxNotFinite, RefusalsInARowAddOneLineEachAndTheRunGoesOn)
{
    Session seen(kParams), clean(kParams);
    ASSERT_EQ(seen.initResult, 1);
    const std::string before = seen.Message();
    ExpectSameOutput(GetWave(seen, 0, 3000), GetWave(clean, 0, 3000));

    std::vector<double> x(Stimulus().begin() + 3000, Stimulus().begin() + 3512);
    x[300] = kInf;
    const std::vector<double> xGiven = x;
    // Room for the longest clock list the blocks could give, were they run.
    std::vector<double> clock(512 + 2, kUnset);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(seen.lib.getWave(x.data(), 512, clock.data(), nullptr, seen.handle), 0);
        EXPECT_EQ(clock[0], -1.0);
    }
    EXPECT_EQ(seen.Message(), before + kNotFinite + "sample 300 of the block is inf. ");

    std::vector<double> y(Stimulus().begin() + 3000, Stimulus().begin() + 3100);
    y[99] = kNan;
    EXPECT_EQ(seen.lib.getWave(y.data(), 100, clock.data(), nullptr, seen.handle), 0);
    EXPECT_EQ(seen.lib.getWave(x.data(), 512, clock.data(), nullptr, seen.handle), 0);
    EXPECT_TRUE(SameBits(x, xGiven));
    EXPECT_EQ(seen.Message(), before + kNotFinite + "sample 300 of the block is inf. " +
                                  kNotFinite + "sample 99 of the block is nan. " + kNotFinite +
                                  "sample 300 of the block is inf. ");

    ExpectSameOutput(GetWave(seen, 3000, 4096), GetWave(clean, 3000, 4096));
}

// Values at the ends of the finite range are samples like any other: run,
// with result 1 and no line added.
TEST(RxNotFinite, FiniteExtremesAreRunNotRefused)
{
    const double values[] = {std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::lowest(),
                             std::numeric_limits<double>::denorm_min(),
                             -std::numeric_limits<double>::min(), -0.0};
    for (double v : values) {
        SCOPED_TRACE(v);
        Session s(kParams);
        ASSERT_EQ(s.initResult, 1);
        const std::string before = s.Message();
        std::vector<double> wave(Stimulus().begin(), Stimulus().begin() + 640);
        wave[320] = v;
        std::vector<double> clock(640 / 32 + 3, kUnset);
        EXPECT_EQ(s.lib.getWave(wave.data(), 640, clock.data(), nullptr, s.handle), 1);
        EXPECT_EQ(s.Message(), before);
        EXPECT_NE(wave[0], Stimulus()[0]) << "the block did not run";
    }
}

// The checks that came before stay first: a handle that cannot run and a
// negative size are reported as such, whatever the block holds.
TEST(RxNotFinite, EarlierChecksComeFirst)
{
    struct Case {
        const char* params;
        long size;
        const char* line;
    } cases[] = {
        {"(usb3_rx (xrx_process 3))", 16,
         "The IBIS-AMI model, usb3_rx, was not initialized; AMI_GetWave has nothing to run. "},
        {kParams, -16, "The IBIS-AMI model, usb3_rx, was given a negative wave_size in AMI_GetWave. "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Session s(c.params);
        std::vector<double> wave(16, kNan), clock(16 + 2, kUnset);
        EXPECT_EQ(s.lib.getWave(wave.data(), c.size, clock.data(), nullptr, s.handle), 0);
        EXPECT_EQ(clock[0], -1.0);
        EXPECT_TRUE(EndsWith(s.Message(), c.line)) << s.Message();
        EXPECT_EQ(s.Message().find("not finite"), std::string::npos);
    }
    std::vector<double> wave(16, kNan), clock(16 + 2, kUnset);
    EXPECT_EQ(Library::Get().getWave(wave.data(), 16, clock.data(), nullptr, nullptr), 0);
    EXPECT_EQ(clock[0], -1.0);
}
