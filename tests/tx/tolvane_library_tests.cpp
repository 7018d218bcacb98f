// The transmitter library as a host sees it: dlopen the built Tolvane_x64.so
// and call its exports by name.
//
// The output filter is worked by hand here, independently of the filter
// block: one pole at w = 2*pi*11.122 GHz with unity DC gain,
// H(s) = w / (s + w); the bilinear substitution s = c (1 - z^-1) / (1 + z^-1)
// with c = 2 * fs gives
//   H(z) = g (1 + z^-1) / (1 - a z^-1),  a = (c - w) / (c + w),  g = w / (c + w),
// so y[n] = a y[n-1] + g (u[n] + u[n-1]), where u is the FIR output
// u[n] = main * x[n] + post * x[n - 32].
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using InitFn = long (*)(double*, long, long, double, double, char*, char**, void**, char**);
using CloseFn = long (*)(void*);

constexpr double kMain = 0.828984375;
constexpr double kPost = -0.165796875;
constexpr double kSampleInterval = 6.25e-12; // 32 samples in 200 ps
constexpr double kBitTime = 2e-10;
constexpr int kSpb = 32;

const std::string kWarnings =
    "The IBIS-AMI model, usb3_tx, is unable to initialize the parameter xtx_process from the "
    "AMI_Init arguments.  The model will use the default setting. "
    "The IBIS-AMI model, usb3_tx, is unable to initialize the parameter xvptx from the "
    "AMI_Init arguments.  The model will use the default setting. "
    "The IBIS-AMI model, usb3_tx, is unable to initialize the parameter xtx_boost_en from the "
    "AMI_Init arguments.  The model will use the default setting. "
    "The IBIS-AMI model, usb3_tx, is unable to initialize the parameter xtx_boost_lvl from the "
    "AMI_Init arguments.  The model will use the default setting. "
    "The IBIS-AMI model, usb3_tx, is unable to initialize the parameter xtxlvl from the "
    "AMI_Init arguments.  The model will use the default setting. "
    "The IBIS-AMI model, usb3_tx, is unable to initialize the parameter xtxeq from the "
    "AMI_Init arguments.  The model will use the default setting. ";

const std::string kDefaultBanner =
    "\nUSB3 Tx, Version: 20170823\n"
    "\nTx settings:  xtx_process = 0, BitRate (Gbps) = 5, vptx = 1.2, xtx_boost_en = 1, "
    "xtx_boost_lvl = 1.156, xtxlvl = 105, xtxeq = 21 :\n"
    "xtx_vswing = 0.994781, xtx_deemph_dB = -3.52183\n";

const char kAllDefaults[] = "(usb3_tx (xtx_process 0) (xvptx 1.2) (xtx_boost_en 1) "
                            "(xtx_boost_lvl 1.156) (xtxlvl 105) (xtxeq 21))";

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1))
        ++n;
    return n;
}

// Hand-derived pole section applied to a sequence.
std::vector<double> PoleByHand(const std::vector<double>& u, double sample_rate)
{
    const double w = 2.0 * M_PI * 1.1122e10;
    const double c = 2.0 * sample_rate;
    const double a = (c - w) / (c + w), g = w / (c + w);
    std::vector<double> y(u.size());
    double yPrev = 0, uPrev = 0;
    for (size_t n = 0; n < u.size(); ++n) {
        y[n] = a * yPrev + g * (u[n] + uPrev);
        yPrev = y[n];
        uPrev = u[n];
    }
    return y;
}

// Stderr carries a settings line per column; keep it out of long loops.
class QuietStderr {
public:
    QuietStderr() : saved_(dup(2))
    {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        close(null);
    }
    ~QuietStderr()
    {
        dup2(saved_, 2);
        close(saved_);
    }

private:
    int saved_;
};

class Tolvane : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        lib_ = dlopen(TOLVANE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(lib_, nullptr) << dlerror();
        init_ = reinterpret_cast<InitFn>(dlsym(lib_, "AMI_Init"));
        close_ = reinterpret_cast<CloseFn>(dlsym(lib_, "AMI_Close"));
    }
    static void TearDownTestSuite()
    {
        if (lib_)
            dlclose(lib_);
        lib_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(init_, nullptr);
        ASSERT_NE(close_, nullptr);
    }

    struct Result {
        long rc = -1;
        std::string msg;
        bool msgSet = false;
    };

    // One AMI_Init / AMI_Close pair over the given matrix.
    Result Init(double* matrix, long rows, long aggressors, const char* params,
                double si = kSampleInterval, double bt = kBitTime)
    {
        Result r;
        std::vector<char> p(params, params + std::strlen(params) + 1);
        char* out = nullptr;
        void* handle = nullptr;
        char* msg = nullptr;
        r.rc = init_(matrix, rows, aggressors, si, bt, p.data(), &out, &handle, &msg);
        EXPECT_EQ(out, nullptr) << "AMI_parameters_out must not be written";
        if (msg) {
            r.msgSet = true;
            r.msg = msg;
        }
        EXPECT_EQ(close_(handle), 1);
        return r;
    }

    static void* lib_;
    static InitFn init_;
    static CloseFn close_;
};
void* Tolvane::lib_ = nullptr;
InitFn Tolvane::init_ = nullptr;
CloseFn Tolvane::close_ = nullptr;

TEST_F(Tolvane, ExportsInitAndCloseOnly)
{
    EXPECT_EQ(dlsym(lib_, "AMI_GetWave"), nullptr);
    EXPECT_EQ(close_(nullptr), 1);
    // Beyond its AMI functions and the version record, the parser and the
    // runtime stay inside: a name the library exported could be taken over by
    // a function of the same name elsewhere in the host.
    for (const char* name : {"GetParsedTree", "FreeParsedTree", "AMI_Test", "CMN_malloc",
                             "PARSE_GetLineNum", "_ZN7Quenrix10ClockTimes3RunEv"})
        EXPECT_EQ(dlsym(lib_, name), nullptr) << name;
}

TEST_F(Tolvane, MessageWithDefaults)
{
    std::vector<double> col(64, 0.0);
    Result r = Init(col.data(), 64, 0, "(usb3_tx)");
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(r.msg, kWarnings + kDefaultBanner);

    r = Init(col.data(), 64, 0, kAllDefaults);
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(r.msg, kDefaultBanner);
}

TEST_F(Tolvane, MessageReportsTheGivenSettings)
{
    // Fast corner, boost off: 40 of 48 legs switch, swing 0.9825 * 40 / 48 =
    // 0.81875, 6.5 de-emphasis legs, 20 log10(27 / 40) = -3.41392 dB.
    std::vector<double> col(8, 0.0);
    Result r = Init(col.data(), 8, 0,
                    "(usb3_tx (xtx_process 1) (xvptx 1.0) (xtx_boost_en 0) "
                    "(xtx_boost_lvl 1.3) (xtxlvl 105) (xtxeq 21))",
                    3.125e-12, 1e-10);
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(r.msg, "\nUSB3 Tx, Version: 20170823\n"
                     "\nTx settings:  xtx_process = 1, BitRate (Gbps) = 10, vptx = 1, "
                     "xtx_boost_en = 0, xtx_boost_lvl = 1.3, xtxlvl = 105, xtxeq = 21 :\n"
                     "xtx_vswing = 0.81875, xtx_deemph_dB = -3.41392\n");

    // Only one parameter missing: only its warning, in front of the banner.
    r = Init(col.data(), 8, 0,
             "(usb3_tx (xtx_process 0) (xvptx 1.2) (xtx_boost_en 1) (xtx_boost_lvl 1.156) "
             "(xtxeq 21))");
    EXPECT_EQ(r.msg, "The IBIS-AMI model, usb3_tx, is unable to initialize the parameter xtxlvl "
                     "from the AMI_Init arguments.  The model will use the default setting. " +
                         kDefaultBanner);
}

TEST_F(Tolvane, UnitImpulseGivesTapsThroughTheHandWorkedPole)
{
    const size_t n = 256;
    std::vector<double> col(n, 0.0);
    col[0] = 1.0;
    ASSERT_EQ(Init(col.data(), n, 0, kAllDefaults).rc, 1);

    std::vector<double> u(n, 0.0);
    u[0] = kMain;
    u[kSpb] = kPost;
    const std::vector<double> want = PoleByHand(u, kSpb / kBitTime);
    for (size_t i = 0; i < n; ++i)
        EXPECT_NEAR(col[i], want[i], 1e-12) << "sample " << i;

    // Undo the pole by hand: what is left is the FIR output, the two taps.
    const double w = 2.0 * M_PI * 1.1122e10, c = 2.0 * kSpb / kBitTime;
    const double a = (c - w) / (c + w), g = w / (c + w);
    double uPrev = 0, yPrev = 0;
    for (size_t i = 0; i < n; ++i) {
        const double ui = (col[i] - a * yPrev) / g - uPrev;
        const double expect = i == 0 ? kMain : i == size_t(kSpb) ? kPost : 0.0;
        EXPECT_NEAR(ui, expect, 1e-9) << "sample " << i;
        uPrev = ui;
        yPrev = col[i];
    }
}

TEST_F(Tolvane, ConstantInputSettlesToMainPlusPost)
{
    const size_t n = 4096;
    std::vector<double> col(n, 0.25);
    ASSERT_EQ(Init(col.data(), n, 0, kAllDefaults).rc, 1);
    EXPECT_NEAR(col[n - 1], (kMain + kPost) * 0.25, 1e-12);
    EXPECT_NEAR(col[n / 2], (kMain + kPost) * 0.25, 1e-12);
    // the whole approach: the step through both taps and the hand-worked pole
    std::vector<double> u(n, kMain * 0.25);
    for (size_t i = kSpb; i < n; ++i)
        u[i] += kPost * 0.25;
    const std::vector<double> want = PoleByHand(u, kSpb / kBitTime);
    for (size_t i = 0; i < n; ++i)
        ASSERT_NEAR(col[i], want[i], 1e-12) << "sample " << i;
}

TEST_F(Tolvane, AggressorCountsAndMessageAccumulation)
{
    const long rows = 128;
    std::vector<double> m(3 * rows, 0.0);
    for (int j = 0; j < 3; ++j)
        m[j * rows + 5 * j] = 1.0 + j; // a different impulse per column

    // -1: nothing filtered, success, only the warnings.
    std::vector<double> before = m;
    Result r = Init(m.data(), rows, -1, "(usb3_tx)");
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(r.msg, kWarnings);
    EXPECT_EQ(0, std::memcmp(m.data(), before.data(), m.size() * sizeof(double)));

    // 0: only the main column.
    r = Init(m.data(), rows, 0, kAllDefaults);
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(r.msg, kDefaultBanner);
    EXPECT_NE(m[0], 1.0);
    EXPECT_EQ(0, std::memcmp(m.data() + rows, before.data() + rows, 2 * rows * sizeof(double)));

    // 1: the stream is never cleared, so column 1 hands over both banners.
    m = before;
    r = Init(m.data(), rows, 1, kAllDefaults);
    EXPECT_EQ(r.msg, kDefaultBanner + kDefaultBanner + kDefaultBanner);

    // 2: three columns, each filtered from a cleared state: the response of
    // column j is the response to its own impulse, shifted and scaled.
    m = before;
    r = Init(m.data(), rows, 2, kAllDefaults);
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(Count(r.msg, "USB3 Tx, Version"), 6u);
    std::vector<double> u(rows, 0.0);
    u[0] = kMain;
    u[kSpb] = kPost;
    const std::vector<double> h = PoleByHand(u, kSpb / kBitTime);
    for (int j = 0; j < 3; ++j)
        for (long i = 0; i < rows; ++i) {
            const double want = i >= 5 * j ? (1.0 + j) * h[i - 5 * j] : 0.0;
            EXPECT_NEAR(m[j * rows + i], want, 1e-12) << "column " << j << " sample " << i;
        }
}

TEST_F(Tolvane, EmptyColumnsStillSucceed)
{
    Result r = Init(nullptr, 0, 1, kAllDefaults);
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(Count(r.msg, "USB3 Tx, Version"), 3u);
}

// Settings without finite driver arithmetic: refused before any column is
// touched, with the reason after the Setup failure line.
TEST_F(Tolvane, SettingsWithoutFiniteTapsAreRefused)
{
    struct Case {
        const char* params;
        const char* reason;
    } cases[] = {
        {"(usb3_tx (xtxlvl -1))",
         "Error occurred in usb3_tx::Setup(). \nxtxlvl = -1 leaves no switching driver legs (64 "
         "of 64 legs attenuated)."},
        {"(usb3_tx (xtxlvl -40))", // 167 * 32 = 5344 -> 41 -> 82 attenuated
         "Error occurred in usb3_tx::Setup(). \nxtxlvl = -40 leaves no switching driver legs (82 "
         "of 64 legs attenuated)."},
        {"(usb3_tx (xtxeq 64))", "Error occurred in usb3_tx::Setup(). \nxtxeq = 64 de-emphasises "
                                 "all 54 switching driver legs; the de-emphasis has no finite value."},
        {"(usb3_tx (xtxeq 100))",
         "Error occurred in usb3_tx::Setup(). \nxtxeq = 100 de-emphasises all 54 switching driver "
         "legs; the de-emphasis has no finite value."},
        // 48-leg corner at xtxlvl 50: t = 77 * 24 = 1848 -> 14 -> 28 attenuated, 20
        // switch; 2*20*63/128 = 19.69 -> 20.19 -> 20 half legs, so xtxeq 63 too
        {"(usb3_tx (xtx_process 1) (xtxlvl 50) (xtxeq 63))",
         "Error occurred in usb3_tx::Setup(). \nxtxeq = 63 de-emphasises all 20 switching driver "
         "legs; the de-emphasis has no finite value."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        const long rows = 40;
        std::vector<double> m(3 * rows);
        for (size_t i = 0; i < m.size(); ++i)
            m[i] = 0.5 + i;
        const std::vector<double> before = m;
        Result r = Init(m.data(), rows, 2, c.params);
        EXPECT_EQ(r.rc, 0);
        EXPECT_NE(r.msg.find(c.reason), std::string::npos) << r.msg;
        EXPECT_EQ(Count(r.msg, "Error occurred"), 1u) << "the loop stops at the first column";
        EXPECT_EQ(Count(r.msg, "USB3 Tx, Version"), 0u);
        EXPECT_EQ(0, std::memcmp(m.data(), before.data(), m.size() * sizeof(double)));
    }
}

// Arguments the model cannot work with: result 0 and a reason, the matrix
// and the memory around it untouched.
TEST_F(Tolvane, BadArgumentsAreRefused)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        bool nullMatrix;
        long rows;
        double si, bt;
        const char* reason;
    } cases[] = {
        {"null matrix", true, 16, kSampleInterval, kBitTime, "impulse_matrix is null"},
        {"negative row size", false, -1, kSampleInterval, kBitTime, "row_size is negative"},
        {"zero sample interval", false, 16, 0.0, kBitTime, "sample_interval must be a positive"},
        {"negative sample interval", false, 16, -6.25e-12, kBitTime,
         "sample_interval must be a positive"},
        {"NaN sample interval", false, 16, nan, kBitTime, "sample_interval must be a positive"},
        {"infinite sample interval", false, 16, inf, kBitTime, "sample_interval must be a positive"},
        {"NaN bit time", false, 16, kSampleInterval, nan, "bit_time must be a positive"},
        {"negative bit time", false, 16, kSampleInterval, -kBitTime, "bit_time must be a positive"},
        {"bit time under half a sample", false, 16, kSampleInterval, 3e-12,
         "bit_time gives 0 samples per bit"},
        {"samples per bit beyond int", false, 16, 1e-20, 1.0, "too many samples per bit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const size_t guard = 16, n = 3 * 16;
        std::vector<double> mem(guard + n + guard, -7.0);
        for (size_t i = 0; i < n; ++i)
            mem[guard + i] = 1.0 + i;
        const std::vector<double> before = mem;
        Result r = Init(c.nullMatrix ? nullptr : mem.data() + guard, c.rows, 2, kAllDefaults,
                        c.si, c.bt);
        EXPECT_EQ(r.rc, 0);
        EXPECT_NE(r.msg.find(c.reason), std::string::npos) << r.msg;
        EXPECT_EQ(0, std::memcmp(mem.data(), before.data(), mem.size() * sizeof(double)));
    }
}

TEST_F(Tolvane, NullMessageOrHandlePointer)
{
    std::vector<double> col(16, 1.0);
    const std::vector<double> before = col;
    char params[] = "(usb3_tx)";
    void* handle = nullptr;
    char* msg = nullptr;

    // No msg: refused, but the handle is handed out and closes cleanly.
    EXPECT_EQ(init_(col.data(), 16, 0, kSampleInterval, kBitTime, params, nullptr, &handle,
                    nullptr),
              0);
    EXPECT_NE(handle, nullptr);
    EXPECT_EQ(close_(handle), 1);

    // No handle: refused with a message that needs no handle.
    EXPECT_EQ(init_(col.data(), 16, 0, kSampleInterval, kBitTime, params, nullptr, nullptr, &msg),
              0);
    ASSERT_NE(msg, nullptr);
    EXPECT_NE(std::string(msg).find("AMI_memory_handle is null"), std::string::npos);
    EXPECT_EQ(col, before);

    // No parameter string reads as one without parameters.
    msg = nullptr;
    handle = nullptr;
    EXPECT_EQ(init_(col.data(), 16, 0, kSampleInterval, kBitTime, nullptr, nullptr, &handle, &msg),
              1);
    ASSERT_NE(msg, nullptr);
    EXPECT_EQ(std::string(msg), kWarnings + kDefaultBanner);
    EXPECT_EQ(close_(handle), 1);
}

// Guard zones on both sides of a three-column matrix; under the sanitizer
// build the exact-size heap matrix catches any stray write as well.
TEST_F(Tolvane, NothingWrittenOutsideTheMatrix)
{
    const long rows = 100;
    const size_t guard = 64;
    std::vector<double> mem(guard + 3 * rows + guard, 1234.5);
    std::vector<double> m(3 * rows, 1.0);
    std::copy(m.begin(), m.end(), mem.begin() + guard);
    ASSERT_EQ(Init(mem.data() + guard, rows, 2, kAllDefaults).rc, 1);
    for (size_t i = 0; i < guard; ++i) {
        EXPECT_EQ(mem[i], 1234.5);
        EXPECT_EQ(mem[guard + 3 * rows + i], 1234.5);
    }
    double* exact = new double[3 * rows];
    std::fill(exact, exact + 3 * rows, 1.0);
    EXPECT_EQ(Init(exact, rows, 2, kAllDefaults).rc, 1);
    for (long i = 0; i < 3 * rows; ++i)
        EXPECT_EQ(exact[i], mem[guard + i]);
    delete[] exact;
}

TEST_F(Tolvane, ThousandInitCloseCycles)
{
    QuietStderr quiet;
    std::vector<double> m(2 * 64);
    for (int k = 0; k < 1000; ++k) {
        std::fill(m.begin(), m.end(), 0.0);
        m[0] = m[64] = 1.0;
        char params[] = "(usb3_tx (xtxlvl 110))";
        void* handle = nullptr;
        char* msg = nullptr;
        ASSERT_EQ(init_(m.data(), 64, 1, kSampleInterval, kBitTime, params, nullptr, &handle, &msg),
                  1);
        ASSERT_EQ(close_(handle), 1);
    }
    // a failing Init hands out its handle too; closing it frees everything
    for (int k = 0; k < 1000; ++k) {
        char params[] = "(usb3_tx (xtxeq 90))";
        void* handle = nullptr;
        char* msg = nullptr;
        ASSERT_EQ(init_(m.data(), 64, 1, kSampleInterval, kBitTime, params, nullptr, &handle, &msg),
                  0);
        ASSERT_EQ(close_(handle), 1);
    }
}

// Driver taps per volt of the stage supply at the other settings' defaults:
// 64 legs, xtxlvl 105 switches 54 of them, swing 0.9825 * 54 / 64 =
// 0.828984375 per volt; xtxeq 21 de-emphasises 9, beta = 54 / 36 = 1.5,
// post-cursor share (beta - 1) / beta / 2 = 1/6, so main = 5/6 and post =
// -1/6 of the swing.
constexpr double kMainPerVolt = 0.828984375 * 5.0 / 6.0; // 0.6908203125
constexpr double kPostPerVolt = -0.828984375 / 6.0;      // -0.1381640625

// Stderr redirected into a file for the life of the object.
class CapturedStderr {
public:
    CapturedStderr() : saved_(dup(2)), file_(std::tmpfile())
    {
        std::fflush(stderr);
        dup2(fileno(file_), 2);
    }
    ~CapturedStderr()
    {
        std::fflush(stderr);
        dup2(saved_, 2);
        close(saved_);
        std::fclose(file_);
    }
    std::string Text()
    {
        std::fflush(stderr);
        std::string text;
        std::rewind(file_);
        for (int ch; (ch = std::fgetc(file_)) != EOF;)
            text += static_cast<char>(ch);
        return text;
    }

private:
    int saved_;
    std::FILE* file_;
};

std::string OverflowReason(int column, int row, const char* value)
{
    return "The IBIS-AMI model, usb3_tx, cannot shape the impulse matrix: the filtered value in "
           "column " +
           std::to_string(column) + ", row " + std::to_string(row) + " is not finite (" + value +
           "), as the Tx swing is too large for the matrix's values. The matrix is left as the "
           "host gave it. ";
}

// Finite taps whose products with the host's values overflow: the matrix
// that would come back holds infinities, so the call fails and every column,
// filtered ones included, is put back bit for bit.
TEST_F(Tolvane, OverflowingOutputIsRefusedAndTheMatrixRestored)
{
    const long rows = 300; // more than one block of the scan for non-finite values
    struct Spike {
        int column, row;
        double value;
    };
    struct Case {
        const char* params;
        std::vector<Spike> spikes; // the matrix: zero but for these
        int column, row;           // first value that is not finite
        const char* value;
    } cases[] = {
        // main = 0.6908203125e298; a host's impulse in V/s, 3e10 at row 0,
        // gives 2.07e308 > DBL_MAX = 1.797e308 at once.
        {"(usb3_tx (xvptx 1e298) (xtx_boost_en 0))",
         {{0, 0, 3e10}, {1, 1, 1.5e9}, {2, 2, 7.5e8}},
         0, 0, "+infinity"},
        // Just over the edge: DBL_MAX / main = 2.602e10 < 2.7e10.
        {"(usb3_tx (xvptx 1e298) (xtx_boost_en 0))", {{0, 0, 2.7e10}}, 0, 0, "+infinity"},
        // Boost on and its level above vptx: the stage runs at 1e300 V, main
        // = 0.69e300, so -1e9 gives -6.9e308; rows before it are zero.
        {"(usb3_tx (xtx_boost_en 1) (xtx_boost_lvl 1e300))", {{0, 5, -1e9}}, 0, 5, "-infinity"},
        // The main and first aggressor columns stay finite (main * 2 =
        // 1.4e298); only the second aggressor's 1e11 overflows (6.9e308).
        {"(usb3_tx (xvptx 1e298) (xtx_boost_en 0))",
         {{0, 0, 1.0}, {1, 3, 2.0}, {2, 7, 1e11}},
         2, 7, "+infinity"},
        {"(usb3_tx (xvptx 1e298) (xtx_boost_en 0))",
         {{0, 0, 1.0}, {1, 0, -1.0}, {2, 290, -1e11}},
         2, 290, "-infinity"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        std::vector<double> m(3 * rows, 0.0);
        for (const Spike& s : c.spikes)
            m[s.column * rows + s.row] = s.value;
        const std::vector<double> before = m;
        CapturedStderr err;
        Result r = Init(m.data(), rows, 2, c.params);
        const std::string posted = err.Text();
        const std::string reason = OverflowReason(c.column, c.row, c.value);
        EXPECT_EQ(r.rc, 0);
        EXPECT_EQ(0, std::memcmp(m.data(), before.data(), m.size() * sizeof(double)));
        // The reason closes the message, after the banners of the columns
        // filtered (the stream is cumulative: 1 + 2 + ... + (column + 1)),
        // and goes to the error sink too.
        ASSERT_GE(r.msg.size(), reason.size()) << r.msg;
        EXPECT_EQ(r.msg.substr(r.msg.size() - reason.size()), reason) << r.msg;
        EXPECT_EQ(Count(r.msg, "USB3 Tx, Version"),
                  static_cast<size_t>((c.column + 1) * (c.column + 2) / 2));
        EXPECT_EQ(Count(r.msg, "cannot shape"), 1u);
        EXPECT_NE(posted.find(reason), std::string::npos) << posted;
    }
}

// Near the edge but finite all through: the call succeeds and every column is
// the hand-worked response, scaled by the stage supply and the spike.
TEST_F(Tolvane, LargeButFiniteOutputStillSucceeds)
{
    const long rows = 128;
    struct Case {
        const char* params;
        double volts;     // the supply the taps scale with
        double spikes[3]; // column j holds spikes[j] at row 5 j
    } cases[] = {
        // |u| <= (0.69 + 0.14)e290 * 3e10 = 2.5e300; the pole's state and
        // output stay within a few times that, far below DBL_MAX = 1.8e308.
        {"(usb3_tx (xvptx 1e290) (xtx_boost_en 0))", 1e290, {3e10, 1.5e9, 7.5e8}},
        // main * 2.5e10 = 1.727e308 < DBL_MAX; after an impulse the pole's
        // state only decays (a = 0.64) and each output term is g = 0.18 of it.
        {"(usb3_tx (xvptx 1e298) (xtx_boost_en 0))", 1e298, {2.5e10, 1.0, -1.0}},
        // Boost off: its level is not used, the stage runs at vptx = 1.2 V.
        {"(usb3_tx (xtx_boost_en 0) (xtx_boost_lvl 1e300))", 1.2, {1e9, -1e9, 1e9}},
    };
    std::vector<double> u(rows, 0.0);
    u[0] = kMainPerVolt;
    u[kSpb] = kPostPerVolt;
    const std::vector<double> h = PoleByHand(u, kSpb / kBitTime); // per volt
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        std::vector<double> m(3 * rows, 0.0);
        for (int j = 0; j < 3; ++j)
            m[j * rows + 5 * j] = c.spikes[j];
        Result r = Init(m.data(), rows, 2, c.params);
        EXPECT_EQ(r.rc, 1) << r.msg;
        EXPECT_EQ(r.msg.find("cannot"), std::string::npos) << r.msg;
        for (int j = 0; j < 3; ++j) {
            // compared per volt and per unit of spike: the product itself
            // would overflow
            const double sign = c.spikes[j] < 0 ? -1.0 : 1.0;
            for (long i = 0; i < rows; ++i) {
                const double got = m[j * rows + i];
                ASSERT_TRUE(std::isfinite(got)) << "column " << j << " row " << i;
                const double want = i >= 5 * j ? sign * h[i - 5 * j] : 0.0;
                ASSERT_NEAR(got / c.volts / std::fabs(c.spikes[j]), want, 1e-12)
                    << "column " << j << " row " << i;
            }
        }
    }
}

// A value of the host's that is not finite can only come out so: refused
// before any column is filtered, so no banner, only the reason.
TEST_F(Tolvane, NonFiniteInputIsRefusedUntouched)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const long rows = 200; // 600 values: more than one block of the scan
    struct Case {
        int column, row;
        double value;
        const char* reason;
    } cases[] = {
        {1, 7, nan, "impulse_matrix holds a value that is not finite (NaN) in column 1, row 7. "},
        {0, 0, inf, "impulse_matrix holds a value that is not finite (+infinity) in column 0, row 0. "},
        {1, 100, -nan, "impulse_matrix holds a value that is not finite (NaN) in column 1, row 100. "},
        {2, 199, -inf,
         "impulse_matrix holds a value that is not finite (-infinity) in column 2, row 199. "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        std::vector<double> m(3 * rows);
        for (size_t i = 0; i < m.size(); ++i)
            m[i] = 0.5 + i;
        m[c.column * rows + c.row] = c.value;
        const std::vector<double> before = m;
        Result r = Init(m.data(), rows, 2, kAllDefaults);
        EXPECT_EQ(r.rc, 0);
        EXPECT_EQ(r.msg, std::string("The IBIS-AMI model, usb3_tx, cannot start: ") + c.reason);
        EXPECT_EQ(0, std::memcmp(m.data(), before.data(), m.size() * sizeof(double)));
    }

    // Only the columns of the call are read: a NaN past them is not the
    // model's, and the main column is filtered as ever.
    std::vector<double> m(2 * rows, 0.0);
    m[0] = 1.0;
    m[rows + 3] = nan;
    Result r = Init(m.data(), rows, 0, kAllDefaults);
    EXPECT_EQ(r.rc, 1) << r.msg;
    EXPECT_EQ(r.msg, kDefaultBanner);
    EXPECT_NEAR(m[0], kMain * PoleByHand({1.0}, kSpb / kBitTime)[0], 1e-12);
    EXPECT_TRUE(std::isnan(m[rows + 3]));
}

// A column count no memory can hold: refused instead of wrapping the sizes
// of the copy and the column offsets.
TEST_F(Tolvane, MatrixTooLargeForMemoryIsRefused)
{
    std::vector<double> m(6, 1.0);
    const std::vector<double> before = m;
    Result r = Init(m.data(), 2, std::numeric_limits<long>::max(), kAllDefaults);
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.msg, "The IBIS-AMI model, usb3_tx, cannot start: row_size and aggressors give a "
                     "matrix larger than memory can hold. ");
    EXPECT_EQ(m, before);
}

} // namespace
