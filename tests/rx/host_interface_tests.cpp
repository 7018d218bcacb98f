// The receiver library as a host sees it: message texts, samples per bit,
// the clock list and its trimming, state across calls, and bad arguments.
#include "rx_library.h"
#include "Veskaro.h"

#include <cstdlib>
#include <cstring>
#include <limits>

using rxtest::Library;
using rxtest::Session;
using rxtest::Text;

namespace {

const char* const kWarnProcess =
    "The IBIS-AMI model, usb3_rx, is unable to initialize the parameter xrx_process from the "
    "AMI_Init arguments.  The model will use the default setting. ";
const char* const kWarnBoost =
    "The IBIS-AMI model, usb3_rx, is unable to initialize the parameter xboost from the AMI_Init "
    "arguments.  The model will use the default setting. ";
const char* const kSetupFailed = "Error occurred in usb3_rx::Setup(). ";
const char* const kBadProcess =
    "\nxrx_processs must be an integer in the set { 0(typ), 1(fast), -1(slow) }.";
const char* const kBadBoost = "\nxboost must be an integer in the range 0 to 7.";

std::string Banner(int process, int boost)
{
    return "\nUSB3 Rx, Version: 20170113\nRx settings:  xrx_process = " + std::to_string(process) +
           ", xboost = " + std::to_string(boost) + " :\n";
}

struct MessageCase {
    const char* name;
    std::string params;
    long result;
    std::string message;
};

void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

class MessageText : public ::testing::TestWithParam<MessageCase> {};

} // namespace

TEST(RxLibrary, LoadsAndExportsTheThreeFunctions)
{
    ASSERT_TRUE(Library::Get().Ok()) << dlerror();
}

TEST_P(MessageText, IsExactByteForByte)
{
    const MessageCase& c = GetParam();
    Session s(c.params);
    EXPECT_EQ(s.initResult, c.result);
    ASSERT_NE(s.msg, nullptr);
    EXPECT_EQ(s.Message(), c.message);
    EXPECT_NE(s.handle, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Init, MessageText,
    ::testing::Values(
        MessageCase{"NoParameters", "", 1, std::string(kWarnProcess) + kWarnBoost + Banner(0, 5)},
        MessageCase{"BothGiven", "(usb3_rx (xrx_process 0) (xboost 5))", 1, Banner(0, 5)},
        MessageCase{"FastCorner", "(usb3_rx (xrx_process 1) (xboost 3))", 1, Banner(1, 3)},
        MessageCase{"SlowCornerTopBoost", "(usb3_rx (xrx_process -1) (xboost 7))", 1,
                    Banner(-1, 7)},
        MessageCase{"OnlyBoost", "(usb3_rx (xboost 0))", 1, std::string(kWarnProcess) + Banner(0, 0)},
        MessageCase{"FractionsTruncate", "(usb3_rx (xboost 5.9) (xrx_process -0.5))", 1,
                    Banner(0, 5)},
        MessageCase{"BooleanIsNotANumber", "(usb3_rx (xrx_process True) (xboost 2))", 1,
                    std::string(kWarnProcess) + Banner(0, 2)},
        MessageCase{"OtherRootName", "(usb3_tx (xrx_process 1) (xboost 1))", 1,
                    std::string(kWarnProcess) + kWarnBoost + Banner(0, 5)},
        MessageCase{"KeysAreCaseSensitive", "(usb3_rx (XBOOST 1) (xrx_process 1))", 1,
                    std::string(kWarnBoost) + Banner(1, 5)},
        MessageCase{"Unparsable", "usb3_rx xboost 3", 1,
                    std::string(kWarnProcess) + kWarnBoost + Banner(0, 5)},
        MessageCase{"Unbalanced", "(usb3_rx (xboost 3)", 1,
                    std::string(kWarnProcess) + kWarnBoost + Banner(0, 5)},
        MessageCase{"OnlyBlanks", " \t\r\n ", 1,
                    std::string(kWarnProcess) + kWarnBoost + Banner(0, 5)},
        MessageCase{"InvalidCorner", "(usb3_rx (xrx_process 2) (xboost 5))", 0,
                    std::string(kSetupFailed) + kBadProcess},
        MessageCase{"CornerOutOfIntRange", "(usb3_rx (xrx_process 1e300) (xboost 5))", 0,
                    std::string(kSetupFailed) + kBadProcess},
        MessageCase{"CornerNotANumber", "(usb3_rx (xrx_process nan) (xboost 5))", 0,
                    std::string(kSetupFailed) + kBadProcess},
        MessageCase{"BoostAboveTable", "(usb3_rx (xrx_process 0) (xboost 8))", 0,
                    std::string(kSetupFailed) + kBadBoost},
        MessageCase{"BoostBelowTable", "(usb3_rx (xboost -1))", 0,
                    std::string(kWarnProcess) + kSetupFailed + kBadBoost}),
    [](const ::testing::TestParamInfo<MessageCase>& info) { return info.param.name; });

// Every column of the three coefficient tables (process corner 0, 1, -1 by
// boost step 0 to 7): the filter gets half the gain, the three numerator roots
// as zeros and the six denominator roots as poles, both in reverse order, in
// rad/s, and the tanh stage gets alpha and beta.
TEST(RxFrontEnd, EveryTableColumnConfiguresTheFilterAndTheTanhStage)
{
    struct Column {
        int process, boost;
        const char *gain, *num, *den, *nl;
    } columns[] = {
    {0, 0, "2.29853e+42", "0. 0. -6.782526e+09",
     "-2.311391e+07 -2.381471e+07 -1.443189e+10 -4.270888e+10 -8.407530e+10 -1.0e+20",
     "3.780 3.411"},
    {0, 1, "2.20578e+42", "0. 0. -5.345391e+09",
     "-2.311391e+07 -2.381471e+07 -1.394943e+10 -4.098551e+10 -8.407530e+10 -1.0e+20",
     "3.786 3.455"},
    {0, 2, "2.10894e+42", "0. 0. -4.175136e+09",
     "-2.311391e+07 -2.381471e+07 -1.354790e+10 -3.918613e+10 -8.407530e+10 -1.0e+20",
     "3.790 3.510"},
    {0, 3, "1.99766e+42", "0. 0. -3.331115e+09",
     "-2.311391e+07 -2.381471e+07 -1.315122e+10 -3.711841e+10 -8.407530e+10 -1.0e+20",
     "3.791 3.571"},
    {0, 4, "2.09772e+42", "0. 0. -2.306867e+09",
     "-2.311391e+07 -2.381471e+07 -1.179152e+10 -3.897775e+10 -8.407530e+10 -1.0e+20",
     "3.790 3.620"},
    {0, 5, "2.05033e+42", "0. 0. -1.866687e+09",
     "-2.311391e+07 -2.381471e+07 -1.162016e+10 -3.809723e+10 -8.407530e+10 -1.0e+20",
     "3.789 3.662"},
    {0, 6, "1.90451e+42", "0. 0. -1.272057e+09",
     "-2.311391e+07 -2.381471e+07 -1.176847e+10 -3.538766e+10 -8.407530e+10 -1.0e+20",
     "3.788 3.739"},
    {0, 7, "1.8941e+42", "0. 0. -9.403015e+08",
     "-2.311391e+07 -2.381471e+07 -1.130343e+10 -3.519421e+10 -8.407530e+10 -1.0e+20",
     "3.787 3.748"},
    {1, 0, "5.22037e+33", "0. 0. -7.211847e+09",
     "-1.734906e+07 -3.048082e+07 -1.534824e+10 -6.075980e+10 -6.850535e+10 -2.154430e+11",
     "3.662 4.415"},
    {1, 1, "4.80722e+33", "0. 0. -5.828763e+09",
     "-1.734906e+07 -3.048082e+07 -1.539554e+10 -5.595114e+10 -6.850535e+10 -2.154430e+11",
     "3.678 4.490"},
    {1, 2, "4.47839e+33", "0. 0. -4.774848e+09",
     "-1.734906e+07 -3.048082e+07 -1.544227e+10 -5.212392e+10 -6.850535e+10 -2.154430e+11",
     "3.680 4.609"},
    {1, 3, "4.24388e+33", "0. 0. -3.695397e+09",
     "-1.734906e+07 -3.048082e+07 -1.494265e+10 -4.939448e+10 -6.850535e+10 -2.154430e+11",
     "3.680 4.708"},
    {1, 4, "4.07177e+33", "0. 0. -2.719019e+09",
     "-1.734906e+07 -3.048082e+07 -1.453012e+10 -4.739122e+10 -6.850535e+10 -2.154430e+11",
     "3.681 4.800"},
    {1, 5, "3.91918e+33", "0. 0. -2.071207e+09",
     "-1.734906e+07 -3.048082e+07 -1.423013e+10 -4.561527e+10 -6.850535e+10 -2.154430e+11",
     "3.680 4.887"},
    {1, 6, "3.70848e+33", "0. 0. -1.431812e+09",
     "-1.734906e+07 -3.048082e+07 -1.381173e+10 -4.316288e+10 -6.850535e+10 -2.154430e+11",
     "3.678 4.946"},
    {1, 7, "3.58492e+33", "0. 0. -1.050022e+09",
     "-1.734906e+07 -3.048082e+07 -1.356563e+10 -4.172482e+10 -6.850535e+10 -2.154430e+11",
     "3.679 4.992"},
    {-1, 0, "1.953e+33", "0. 0. -6.971777e+09",
     "-1.954041e+07 -2.833065e+07 -1.389339e+10 -4.627509e+10 -5.000719e+10 -1.590963e+11",
     "3.979 2.271"},
    {-1, 1, "1.97234e+33", "0. 0. -5.337224e+09",
     "-1.954041e+07 -2.833065e+07 -1.254829e+10 -4.627509e+10 -5.050238e+10 -1.590963e+11",
     "3.989 2.317"},
    {-1, 2, "1.95276e+33", "0. 0. -4.099893e+09",
     "-1.954041e+07 -2.833065e+07 -1.161274e+10 -4.627509e+10 -5.000128e+10 -1.590963e+11",
     "3.993 2.359"},
    {-1, 3, "1.93047e+33", "0. 0. -3.216973e+09",
     "-1.954041e+07 -2.833065e+07 -1.104757e+10 -4.627509e+10 -4.943053e+10 -1.590963e+11",
     "3.993 2.391"},
    {-1, 4, "1.89871e+33", "0. 0. -2.364608e+09",
     "-1.954041e+07 -2.833065e+07 -1.004765e+10 -4.627509e+10 -4.861726e+10 -1.590963e+11",
     "3.992 2.420"},
    {-1, 5, "1.8527e+33", "0. 0. -1.826207e+09",
     "-1.954041e+07 -2.833065e+07 -9.622894e+09 -4.627509e+10 -4.743902e+10 -1.590963e+11",
     "3.990 2.437"},
    {-1, 6, "1.87131e+33", "0. 0. -1.283528e+09",
     "-1.954041e+07 -2.833065e+07 -8.925776e+09 -4.627509e+10 -4.791559e+10 -1.590963e+11",
     "3.989 2.451"},
    {-1, 7, "1.88992e+33", "0. 0. -1.000146e+09",
     "-1.954041e+07 -2.833065e+07 -8.681004e+09 -4.627509e+10 -4.751890e+10 -1.590963e+11",
     "3.986 2.462"},
    };
    auto numbers = [](const char* text) {
        std::vector<double> v;
        for (char* end = nullptr;; text = end) {
            const double x = std::strtod(text, &end);
            if (end == text)
                return v;
            v.push_back(x);
        }
    };
    for (const Column& col : columns) {
        SCOPED_TRACE(std::to_string(col.process) + "/" + std::to_string(col.boost));
        Session s("(usb3_rx (xrx_process " + std::to_string(col.process) + ") (xboost " +
                  std::to_string(col.boost) + "))");
        ASSERT_EQ(s.initResult, 1);
        EXPECT_EQ(s.Message(), Banner(col.process, col.boost));
        const usb3_rx_afe_sd& afe = static_cast<AMIContainer*>(s.handle)->cMarlowindModel.AFE;
        const std::vector<double> num = numbers(col.num), den = numbers(col.den),
                                  nl = numbers(col.nl);
        ASSERT_EQ(num.size(), 3u);
        ASSERT_EQ(den.size(), 6u);
        ASSERT_EQ(nl.size(), 2u);
        EXPECT_EQ(afe.CTLE.m_FreqUnit, Quenrix::eRad);
        EXPECT_EQ(afe.CTLE.m_SystemGain, 0.5 * std::strtod(col.gain, nullptr));
        ASSERT_EQ(afe.CTLE.m_RealZeros.NumElements(), 3u);
        for (size_t k = 0; k < 3; ++k)
            EXPECT_EQ(afe.CTLE.m_RealZeros(k), num[2 - k]) << "zero " << k;
        ASSERT_EQ(afe.CTLE.m_RealPoles.NumElements(), 6u);
        for (size_t k = 0; k < 6; ++k)
            EXPECT_EQ(afe.CTLE.m_RealPoles(k), den[5 - k]) << "pole " << k;
        EXPECT_EQ(afe.CTLE.m_ComplexConjugatePoles.NumElements(), 0u);
        EXPECT_EQ(afe.CTLE.m_ComplexConjugateZeros.NumElements(), 0u);
        EXPECT_EQ(afe.NL.coeff_tanh_alpha, nl[0]);
        EXPECT_EQ(afe.NL.coeff_tanh_beta, nl[1]);
    }
}

TEST(RxInit, LeavesTheImpulseResponseBitForBitUnchanged)
{
    Library& lib = Library::Get();
    std::vector<double> impulse(3 * 257);
    for (size_t k = 0; k < impulse.size(); ++k)
        impulse[k] = std::sin(0.37 * k) * 1e-3 + (k == 5 ? std::numeric_limits<double>::denorm_min() : 0);
    const std::vector<double> before = impulse;
    std::vector<char> p = Text("(usb3_rx (xboost 4))");
    void* h = nullptr;
    char* msg = nullptr;
    char* out = nullptr;
    ASSERT_EQ(lib.init(impulse.data(), 257, 2, 1e-10 / 32, 1e-10, p.data(), &out, &h, &msg), 1);
    EXPECT_EQ(std::memcmp(impulse.data(), before.data(), impulse.size() * sizeof(double)), 0);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(lib.close(h), 1);
}

// The model keeps its own sample interval, bit time / rounded samples per bit,
// so with a constant input (free-running VCO) every clock time is a whole
// multiple of it and consecutive times are that many samples apart.
TEST(RxInit, SamplesPerBitIsTheRoundedRatio)
{
    struct Case {
        double bitTime, sampleInterval;
        int samplesPerBit;
    } cases[] = {{1e-10, 3.125e-12, 32}, {1e-10, 1e-10 / 31.6, 32}, {1e-10, 1e-10 / 31.4, 31},
                 {2e-10, 2e-10 / 16.5, 17}, {1e-10, 1e-10 / 2.4, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.samplesPerBit);
        Session s("(usb3_rx (xboost 5))", c.bitTime, c.sampleInterval);
        ASSERT_EQ(s.initResult, 1);
        std::vector<double> wave(static_cast<size_t>(c.samplesPerBit) * 12, 0.0);
        std::vector<double> times = s.Run(wave, 0, wave.size());
        ASSERT_GE(times.size(), 10u);
        const double ts = c.bitTime / c.samplesPerBit;
        for (size_t k = 0; k + 1 < times.size(); ++k) {
            const double m = times[k] / ts;
            EXPECT_NEAR(m, std::round(m), 1e-6);
            if (k > 0) {
                EXPECT_NEAR(times[k] - times[k - 1], c.bitTime, ts * 1.01);
            }
        }
        EXPECT_EQ(times.back(), -1.0);
    }
}

TEST(RxGetWave, ZeroSamplesWriteOnlyTheTerminator)
{
    Session s("(usb3_rx (xboost 5))");
    ASSERT_EQ(s.initResult, 1);
    double clock[3] = {5.0, 5.0, 5.0};
    EXPECT_EQ(s.lib.getWave(nullptr, 0, clock, nullptr, s.handle), 1);
    EXPECT_EQ(clock[0], -1.0);
    EXPECT_EQ(clock[1], 5.0);
}

// A free-running VCO at 1.25 times the bit rate gives 40 rising crossings in
// 1024 samples at 32 samples per bit; the list keeps the last 1024/32 + 3
// entries: edges 7 to 40 and the terminator. The VCO is sped up through the
// handle, which is the library's container type.
TEST(RxGetWave, ClockListKeepsTheLastEntriesWithinTheLimit)
{
    const double bitTime = 1e-10, ts = bitTime / 32;
    Session s("(usb3_rx (xboost 5))", bitTime, ts);
    ASSERT_EQ(s.initResult, 1);
    const double f = 1.25 / bitTime;
    static_cast<AMIContainer*>(s.handle)->cMarlowindModel.CDR.VCO.m_FreeRunFrequency = f;

    // The rising zero crossings of cos(2 pi f ts n), placed on the first
    // sample past the crossing.
    std::vector<double> edges;
    double prev = 0;
    for (int n = 0; n < 1024; ++n) {
        const double v = std::cos(2 * M_PI * f * ts * n);
        if (n > 0 && prev <= 0 && v > 0)
            edges.push_back(n * ts);
        prev = v;
    }
    ASSERT_EQ(edges.size(), 40u);

    std::vector<double> wave(1024, 0.0);
    std::vector<double> clock(1024 / 32 + 3, -7.0); // exactly the limit
    ASSERT_EQ(s.lib.getWave(wave.data(), 1024, clock.data(), nullptr, s.handle), 1);
    for (size_t k = 0; k < 34; ++k)
        EXPECT_NEAR(clock[k], edges[6 + k], ts * 1e-6) << k;
    EXPECT_EQ(clock[34], -1.0);
}

// The loop's own signals, read from the handle one sample at a time on a
// PRBS that keeps the phase detector busy: the control value is a
// proportional path of 5e8 per unit of phase error plus an integral path that
// adds 15000 times the phase error every sample, and a clock time is reported
// exactly on the samples where the VCO output rises through zero.
TEST(RxClockRecovery, LoopGainsAndEdgeTimesOnEverySample)
{
    const double bitTime = 1e-10, ts = bitTime / 32;
    Session s("(usb3_rx (xrx_process 0) (xboost 5))", bitTime, ts);
    ASSERT_EQ(s.initResult, 1);
    const usb3_rx& m = static_cast<AMIContainer*>(s.handle)->cMarlowindModel;
    std::vector<double> wave = rxtest::Nrz(rxtest::Prbs7(300), bitTime, ts, 0.4, 0.3 * bitTime);

    double integPrev = 0.0, clockPrev = 0.0;
    size_t errorSamples = 0, edges = 0;
    for (size_t n = 0; n < wave.size(); ++n) {
        double times[4] = {-7.0, -7.0, -7.0, -7.0};
        ASSERT_EQ(s.lib.getWave(&wave[n], 1, times, nullptr, s.handle), 1);
        const double e = m.pd[0], integ = m.integ[0], v = m.vco[0], clk = m.clock[0];
        if (e != 0.0)
            ++errorSamples;
        EXPECT_NEAR(integ, integPrev + 15000.0 * e, 1e-9 * (1.0 + std::fabs(integ))) << n;
        EXPECT_NEAR(v, integ + 5e8 * e, 1e-9 * (1.0 + std::fabs(v))) << n;
        const bool rising = n > 0 && clockPrev <= 0.0 && clk > 0.0;
        if (rising) {
            ++edges;
            EXPECT_NEAR(times[0], static_cast<double>(n) * ts, ts * 1e-9) << n;
            EXPECT_EQ(times[1], -1.0) << n;
        } else {
            EXPECT_EQ(times[0], -1.0) << n;
        }
        integPrev = integ;
        clockPrev = clk;
    }
    EXPECT_GT(errorSamples, 100u);
    EXPECT_GE(edges, 290u);
}

TEST(RxGetWave, TwoHalfCallsEqualOneWholeCall)
{
    const std::vector<double> input =
        rxtest::Nrz(rxtest::Prbs7(200), 1e-10, 1e-10 / 32, 0.4, 0.3e-10);
    ASSERT_GE(input.size(), 4096u);

    Session whole("(usb3_rx (xboost 6))");
    Session halves("(usb3_rx (xboost 6))");
    std::vector<double> a(input.begin(), input.begin() + 4096), b = a;
    std::vector<double> ta, tb;
    for (size_t off = 0; off < 4096; off += 1024) {
        std::vector<double> t = whole.Run(a, off, 1024);
        ta.insert(ta.end(), t.begin(), t.end() - 1);
        for (size_t h = 0; h < 2; ++h) {
            t = halves.Run(b, off + 512 * h, 512);
            tb.insert(tb.end(), t.begin(), t.end() - 1);
        }
    }
    EXPECT_EQ(a, b);
    EXPECT_EQ(ta, tb);
    EXPECT_GE(ta.size(), 120u);
    EXPECT_NE(a, std::vector<double>(input.begin(), input.begin() + 4096));
}

// Beyond its AMI functions and the version record, whatever the library holds
// stays inside it: another name it exported could be taken over by a host's
// or another model's function of the same name.
TEST(RxLibrary, KeepsItsInternalNamesToItself)
{
    Library& lib = Library::Get();
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    for (const char* name : {"GetParsedTree", "FreeParsedTree", "AMI_Test", "CMN_malloc",
                             "PARSE_GetLineNum", "_ZN7Quenrix10ClockTimes3RunEv"})
        EXPECT_EQ(dlsym(lib.handle, name), nullptr) << name;
}

// ---- bad arguments: a failure result and a message, never a crash ----

TEST(RxBadInput, InitWithoutHandlePointerFailsWithAMessage)
{
    Library& lib = Library::Get();
    std::vector<char> p = Text("(usb3_rx)");
    char* msg = nullptr;
    EXPECT_EQ(lib.init(nullptr, 0, 0, 1e-12, 1e-10, p.data(), nullptr, nullptr, &msg), 0);
    ASSERT_NE(msg, nullptr);
    EXPECT_NE(std::string(msg).find("memory handle"), std::string::npos);
    EXPECT_EQ(lib.init(nullptr, 0, 0, 1e-12, 1e-10, p.data(), nullptr, nullptr, nullptr), 0);
}

TEST(RxBadInput, InitWithoutMsgPointerFailsButHandsOutAClosableHandle)
{
    Library& lib = Library::Get();
    std::vector<char> p = Text("(usb3_rx)");
    void* h = nullptr;
    EXPECT_EQ(lib.init(nullptr, 0, 0, 1e-12, 1e-10, p.data(), nullptr, &h, nullptr), 0);
    ASSERT_NE(h, nullptr);
    std::vector<double> wave(64, 0.1);
    double clock[8];
    EXPECT_EQ(lib.getWave(wave.data(), 64, clock, nullptr, h), 0);
    EXPECT_EQ(clock[0], -1.0);
    EXPECT_EQ(lib.close(h), 1);
}

TEST(RxBadInput, InitRejectsUnusableTimingAndNullParameters)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double sampleInterval, bitTime;
        bool nullParams;
        const char* says;
    } cases[] = {
        {0.0, 1e-10, false, "sample interval"},   {-1e-12, 1e-10, false, "sample interval"},
        {nan, 1e-10, false, "sample interval"},   {inf, 1e-10, false, "sample interval"},
        {1e-10, 0.4e-10, false, "sample per bit"}, {1e-12, -1e-10, false, "sample per bit"},
        {1e-12, nan, false, "sample per bit"},    {1e-12, inf, false, "too many samples per bit"},
        {1e-300, 1.0, false, "too many samples per bit"},   {1e-12, 1e-10, true, "parameter string"},
    };
    Library& lib = Library::Get();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        std::vector<char> p = Text("(usb3_rx (xboost 5))");
        void* h = nullptr;
        char* msg = nullptr;
        EXPECT_EQ(lib.init(nullptr, 0, 0, c.sampleInterval, c.bitTime, c.nullParams ? nullptr : p.data(),
                           nullptr, &h, &msg),
                  0);
        ASSERT_NE(h, nullptr);
        ASSERT_NE(msg, nullptr);
        EXPECT_NE(std::string(msg).find(c.says), std::string::npos) << msg;
        std::vector<double> wave(32, 0.0);
        double clock[4] = {1, 1, 1, 1};
        EXPECT_EQ(lib.getWave(wave.data(), 32, clock, nullptr, h), 0);
        EXPECT_EQ(clock[0], -1.0);
        EXPECT_EQ(lib.close(h), 1);
    }
}

TEST(RxBadInput, NullHandleIsRefusedByGetWaveAndClose)
{
    Library& lib = Library::Get();
    std::vector<double> wave(16, 0.0);
    double clock[2] = {3, 3};
    EXPECT_EQ(lib.getWave(wave.data(), 16, clock, nullptr, nullptr), 0);
    EXPECT_EQ(clock[0], -1.0);
    EXPECT_EQ(lib.close(nullptr), 0);
}

// Failures after AMI_Init add their line to the same text: the pointer the
// host was given stays valid and keeps what it said.
TEST(RxBadInput, GetWaveArgumentErrorsAreReportedThroughTheSameText)
{
    Session s("(usb3_rx (xrx_process 0) (xboost 5))");
    ASSERT_EQ(s.initResult, 1);
    const char* original = s.msg;
    std::vector<double> wave(64, 0.25);
    double clock[8] = {2, 2, 2, 2, 2, 2, 2, 2};

    EXPECT_EQ(s.lib.getWave(wave.data(), -1, clock, nullptr, s.handle), 0);
    EXPECT_EQ(clock[0], -1.0);
    EXPECT_EQ(s.msg, original);
    EXPECT_EQ(std::string(s.msg),
              Banner(0, 5) + "The IBIS-AMI model, usb3_rx, was given a negative wave_size in AMI_GetWave. ");

    EXPECT_EQ(s.lib.getWave(nullptr, 64, clock, nullptr, s.handle), 0);
    EXPECT_NE(std::string(s.msg).find("was given no wave"), std::string::npos);
    // The same failure again does not repeat its line.
    const size_t len = std::strlen(s.msg);
    EXPECT_EQ(s.lib.getWave(nullptr, 64, clock, nullptr, s.handle), 0);
    EXPECT_EQ(std::strlen(s.msg), len);
    EXPECT_EQ(wave, std::vector<double>(64, 0.25));
}

TEST(RxBadInput, NullClockTimesStillEqualisesTheWave)
{
    const std::vector<double> input =
        rxtest::Nrz(rxtest::Prbs7(40), 1e-10, 1e-10 / 32, 0.4, 0.0);
    Session with("(usb3_rx (xboost 2))"), without("(usb3_rx (xboost 2))");
    std::vector<double> a = input, b = input;
    with.Run(a, 0, a.size());
    EXPECT_EQ(without.lib.getWave(b.data(), static_cast<long>(b.size()), nullptr, nullptr,
                                  without.handle),
              1);
    EXPECT_EQ(a, b);
}

TEST(RxBadInput, GetWaveAfterAFailedInitRunsNothing)
{
    Session s("(usb3_rx (xrx_process 3))");
    ASSERT_EQ(s.initResult, 0);
    std::vector<double> wave(100, 0.5);
    double clock[16];
    EXPECT_EQ(s.lib.getWave(wave.data(), 100, clock, nullptr, s.handle), 0);
    EXPECT_EQ(clock[0], -1.0);
    EXPECT_EQ(wave, std::vector<double>(100, 0.5));
    EXPECT_NE(std::string(s.msg).find("was not initialized"), std::string::npos);
    EXPECT_EQ(std::string(s.msg).rfind(std::string(kWarnBoost) + kSetupFailed + kBadProcess, 0), 0u);
}

TEST(RxBadInput, HugeAndDeeplyNestedParameterStringsFallBackOrParse)
{
    // Megabytes of blanks and sibling leaves around a valid setting.
    std::string big = "(usb3_rx " + std::string(1 << 20, ' ');
    for (int k = 0; k < 20000; ++k)
        big += "(pad" + std::to_string(k) + " 1) ";
    big += "(xboost 3) (xrx_process -1))";
    {
        Session s(big);
        EXPECT_EQ(s.initResult, 1);
        EXPECT_EQ(s.Message(), Banner(-1, 3));
    }
    // Far deeper than any parameter tree: treated as carrying no parameters.
    std::string deep = "(usb3_rx ";
    for (int k = 0; k < 200000; ++k)
        deep += "(b ";
    deep += "(xboost 3)";
    deep += std::string(200001, ')');
    {
        Session s(deep);
        EXPECT_EQ(s.initResult, 1);
        EXPECT_EQ(s.Message(), std::string(kWarnProcess) + kWarnBoost + Banner(0, 5));
    }
    // Moderately nested: still parsed, and the leaf is found by its full path.
    std::string nested = "(usb3_rx (xboost 1) ";
    for (int k = 0; k < 100; ++k)
        nested += "(b ";
    nested += "(x 1)" + std::string(100, ')') + ")";
    {
        Session s(nested);
        EXPECT_EQ(s.initResult, 1);
        EXPECT_EQ(s.Message(), std::string(kWarnProcess) + Banner(0, 1));
    }
    // Unbalanced megabyte of open parentheses.
    {
        Session s(std::string(1 << 20, '('));
        EXPECT_EQ(s.initResult, 1);
        EXPECT_EQ(s.Message(), std::string(kWarnProcess) + kWarnBoost + Banner(0, 5));
    }
}

// Under the sanitizer build the leak checker fails this program at exit if
// any cycle leaves memory behind.
TEST(RxLifecycle, ThousandCyclesOfInitGetWaveClose)
{
    Library& lib = Library::Get();
    std::vector<double> wave(1024);
    double clock[1024 / 32 + 3];
    for (int cycle = 0; cycle < 1000; ++cycle) {
        std::vector<char> p = Text(cycle % 3 ? "(usb3_rx (xboost 4))" : "(usb3_rx (xrx_process 5))");
        void* h = nullptr;
        char* msg = nullptr;
        const long ok = lib.init(nullptr, 0, 0, 1e-10 / 32, 1e-10, p.data(), nullptr, &h, &msg);
        ASSERT_EQ(ok, cycle % 3 ? 1 : 0);
        for (size_t i = 0; i < wave.size(); ++i)
            wave[i] = (i / 32 + cycle) % 2 ? 0.3 : -0.3;
        lib.getWave(wave.data(), 1024, clock, nullptr, h);
        ASSERT_EQ(lib.close(h), 1);
    }
}
