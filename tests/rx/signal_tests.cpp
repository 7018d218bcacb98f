// What the receiver does to a signal: the equalised waveform against the
// CTLE's analog transfer function and the tanh law, and clock recovery on a
// long PRBS-7 waveform.
#include "rx_library.h"

#include <complex>

using rxtest::Session;

namespace {

struct Corner {
    const char* params;
    double gain;         // tabulated gain; the filter's constant is half of it
    double zero;         // the real zero besides the two at s = 0, rad/s
    double poles[6];     // rad/s
    double alpha, beta;  // tanh stage
};

// Columns of the built-in tables (typical boost 5, fast boost 0, slow boost 7).
const Corner kCorners[] = {
    {"(usb3_rx (xrx_process 0) (xboost 5))", 2.05033e+42, -1.866687e+09,
     {-2.311391e+07, -2.381471e+07, -1.162016e+10, -3.809723e+10, -8.407530e+10, -1.0e+20},
     3.789, 3.662},
    {"(usb3_rx (xrx_process 1) (xboost 0))", 5.22037e+33, -7.211847e+09,
     {-1.734906e+07, -3.048082e+07, -1.534824e+10, -6.075980e+10, -6.850535e+10, -2.154430e+11},
     3.662, 4.415},
    {"(usb3_rx (xrx_process -1) (xboost 7))", 1.88992e+33, -1.000146e+09,
     {-1.954041e+07, -2.833065e+07, -8.681004e+09, -4.627509e+10, -4.751890e+10, -1.590963e+11},
     3.986, 2.462},
};

// The bilinear transform without prewarping maps z = e^{jw} to
// s = j (2/T) tan(w/2), so the discrete filter's response at w is exactly the
// analog H(s) there.
std::complex<double> DiscreteResponse(const Corner& c, double w, double T)
{
    const std::complex<double> s(0.0, 2.0 / T * std::tan(w / 2));
    std::complex<double> h = 0.5 * c.gain * s * s * (s - c.zero);
    for (double p : c.poles)
        h /= (s - p);
    return h;
}

} // namespace

// A sinusoid through the model: once the slowest pole's transient has died
// away (tau = 1 / 1.7e7 s is about 19,000 samples; 500,000 samples are run),
// every output sample must be tanh(alpha beta y)/alpha of the steady-state
// CTLE output y = A |H| cos(w n + arg H).
TEST(RxEqualiser, MatchesTheAnalogResponseThroughTheTanhLaw)
{
    const double bitTime = 1e-10, T = bitTime / 32;
    const double freqs[] = {2e8, 3.1e9, 9e9};
    for (const Corner& c : kCorners) {
        for (double f : freqs) {
            for (double drive : {0.05, 1.5}) { // nearly linear, and well into saturation
                SCOPED_TRACE(std::string(c.params) + " f=" + std::to_string(f) +
                             " drive=" + std::to_string(drive));
                const double w = 2 * M_PI * f * T;
                const std::complex<double> h = DiscreteResponse(c, w, T);
                // Amplitude chosen so that alpha*beta*|y| peaks at `drive`.
                const double amp = drive / (c.alpha * c.beta * std::abs(h));
                Session s(c.params, bitTime, T);
                ASSERT_EQ(s.initResult, 1);
                const size_t n = 500000, check = 4000;
                std::vector<double> wave(n);
                for (size_t i = 0; i < n; ++i)
                    wave[i] = amp * std::cos(w * static_cast<double>(i));
                for (size_t off = 0; off < n; off += 65536)
                    s.Run(wave, off, std::min<size_t>(65536, n - off));
                double worst = 0;
                for (size_t i = n - check; i < n; ++i) {
                    const double y = amp * std::abs(h) * std::cos(w * static_cast<double>(i) + std::arg(h));
                    const double expected = std::tanh(c.alpha * c.beta * y) / c.alpha;
                    worst = std::max(worst, std::fabs(wave[i] - expected));
                }
                // Relative to the stage's full scale 1/alpha.
                EXPECT_LT(worst * c.alpha, 1e-6);
            }
        }
    }
}

TEST(RxEqualiser, SaturatesAtOneOverAlphaAndIsOdd)
{
    // A large step: the CTLE output rises sharply, then decays (two zeros at
    // s = 0 block DC); the tanh stage holds the peak at 1/alpha.
    const Corner& c = kCorners[0];
    Session pos(c.params), neg(c.params);
    std::vector<double> a(2000, 50.0), b(2000, -50.0);
    pos.Run(a, 0, a.size());
    neg.Run(b, 0, b.size());
    double peak = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i], -b[i]) << i;
        peak = std::max(peak, a[i]);
    }
    EXPECT_NEAR(peak, 1.0 / c.alpha, 1e-9);
}

namespace {

struct LockResult {
    size_t edges = 0;
    double meanPeriod = 0;       // over the settled edges
    double worstSpacingDev = 0;  // max |spacing - data UI|
    double phaseMean[2] = {};    // circular mean phase (UI) of each half of the settled edges
    double phaseSpread = 0;      // circular spread (UI) over all settled edges
};

// Runs a PRBS-7 at a data UI of bitTime / (1 + ppm) through the model (given
// bitTime) and measures the clock times after `settleBits`.
LockResult RecoverClock(double ppm, size_t bits, size_t settleBits)
{
    const double bitTime = 1e-10, ts = bitTime / 32;
    const double ui = bitTime / (1.0 + ppm * 1e-6);
    std::vector<double> wave = rxtest::Nrz(rxtest::Prbs7(bits), ui, ts, 0.4, 0.3 * bitTime);
    Session s("(usb3_rx (xrx_process 0) (xboost 5))", bitTime, ts);
    std::vector<double> clock;
    for (size_t off = 0; off + 1024 <= wave.size(); off += 1024) {
        std::vector<double> t = s.Run(wave, off, 1024);
        clock.insert(clock.end(), t.begin(), t.end() - 1);
    }
    LockResult r;
    std::vector<double> settled;
    for (double t : clock)
        if (t >= settleBits * ui)
            settled.push_back(t);
    r.edges = settled.size();
    if (settled.size() < 4)
        return r;
    r.meanPeriod = (settled.back() - settled.front()) / static_cast<double>(settled.size() - 1);
    for (size_t k = 1; k < settled.size(); ++k)
        r.worstSpacingDev = std::max(r.worstSpacingDev, std::fabs(settled[k] - settled[k - 1] - ui));
    auto circular = [&](size_t from, size_t to, double* spread) {
        double sx = 0, sy = 0;
        for (size_t k = from; k < to; ++k) {
            const double ph = 2 * M_PI * settled[k] / ui;
            sx += std::cos(ph);
            sy += std::sin(ph);
        }
        const double len = std::hypot(sx, sy) / static_cast<double>(to - from);
        if (spread)
            *spread = std::sqrt(-2.0 * std::log(len)) / (2 * M_PI);
        double m = std::atan2(sy, sx) / (2 * M_PI);
        return m < 0 ? m + 1 : m;
    };
    const size_t half = settled.size() / 2;
    r.phaseMean[0] = circular(0, half, nullptr);
    r.phaseMean[1] = circular(half, settled.size(), nullptr);
    circular(0, settled.size(), &r.phaseSpread);
    return r;
}

} // namespace

// Clock recovery at 32 samples per bit. With the data exactly at the bit
// rate, and with the data 300 ppm fast or slow (where a free-running clock
// would slip 0.3 UI per 1,000 bits), the recovered period settles on the data
// UI and the edges hold one phase against the transmitted bit grid.
TEST(RxClockRecovery, LocksOntoALongPrbs7)
{
    const double bitTime = 1e-10, ts = bitTime / 32;
    for (double ppm : {0.0, 300.0, -300.0}) {
        SCOPED_TRACE(ppm);
        const double ui = bitTime / (1.0 + ppm * 1e-6);
        const LockResult r = RecoverClock(ppm, 40000, 5000);
        std::printf("[ data %+5.0f ppm ] %zu settled edges, mean period %.6f UI (%+.2f ppm), worst "
                    "spacing error %.3f samples, phase %.4f / %.4f UI, spread %.4f UI\n",
                    ppm, r.edges, r.meanPeriod / ui, (r.meanPeriod / ui - 1) * 1e6,
                    r.worstSpacingDev / ts, r.phaseMean[0], r.phaseMean[1], r.phaseSpread);
        EXPECT_GE(r.edges, 34900u);
        EXPECT_LE(r.edges, 35100u);
        EXPECT_NEAR(r.meanPeriod / ui, 1.0, 5e-6);
        EXPECT_LE(r.worstSpacingDev, 2.0 * ts);
        double drift = std::fabs(r.phaseMean[0] - r.phaseMean[1]);
        drift = std::min(drift, 1.0 - drift);
        EXPECT_LT(drift, 0.01);
        EXPECT_LT(r.phaseSpread, 0.03);
    }
}
