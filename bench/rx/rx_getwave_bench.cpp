// Samples per second through AMI_GetWave of the built receiver library
// (loaded with dlopen, as a host does), for blocks of 1,024 and 65,536
// samples, beside the same arithmetic as one flat loop: the CTLE's three
// biquads, the tanh stage, the phase detector, the loop filter, the VCO and
// the clock-edge timer. Prints the ratio model / flat loop per block size.
#include "SDomainIIR.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using InitFn = long (*)(double*, long, long, double, double, char*, char**, void**, char**);
using GetWaveFn = long (*)(double*, long, double*, char**, void*);
using CloseFn = long (*)(void*);

const double kBitTime = 1e-10;
const int kSamplesPerBit = 32;
const double kTs = kBitTime / kSamplesPerBit;
const double kAlpha = 3.789, kBeta = 3.662; // typical corner, boost 5

std::vector<double> Stimulus(size_t n)
{
    std::vector<double> w(n);
    unsigned state = 0x7f;
    int bit = 0;
    double y = 0;
    for (size_t i = 0; i < n; ++i) {
        if (i % kSamplesPerBit == 0) {
            const unsigned b = ((state >> 6) ^ (state >> 5)) & 1u;
            state = ((state << 1) | b) & 0x7fu;
            bit = static_cast<int>(b);
        }
        y += 0.1 * ((bit ? 0.4 : -0.4) - y);
        w[i] = y;
    }
    return w;
}

struct Library {
    void* handle = nullptr;
    InitFn init = nullptr;
    GetWaveFn getWave = nullptr;
    CloseFn close = nullptr;
    Library()
    {
        handle = dlopen(VESKARO_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            std::fprintf(stderr, "%s\n", dlerror());
            std::exit(1);
        }
        init = reinterpret_cast<InitFn>(dlsym(handle, "AMI_Init"));
        getWave = reinterpret_cast<GetWaveFn>(dlsym(handle, "AMI_GetWave"));
        close = reinterpret_cast<CloseFn>(dlsym(handle, "AMI_Close"));
    }
};

Library& Lib()
{
    static Library lib;
    return lib;
}

void* OpenModel()
{
    char params[] = "(usb3_rx (xrx_process 0) (xboost 5))";
    void* h = nullptr;
    char* msg = nullptr;
    if (Lib().init(nullptr, 0, 0, kTs, kBitTime, params, nullptr, &h, &msg) != 1) {
        std::fprintf(stderr, "AMI_Init failed\n");
        std::exit(1);
    }
    return h;
}

// The same work as the model, written as one loop over the samples.
class FlatReceiver {
public:
    FlatReceiver()
    {
        // The CTLE's sections come from the runtime's s-domain filter set up
        // with the model's typical-corner roots, so both run one arithmetic.
        Quenrix::SDomainIIR f;
        const double poles[6] = {-1.0e+20, -8.407530e+10, -3.809723e+10,
                                 -1.162016e+10, -2.381471e+07, -2.311391e+07};
        const double zeros[3] = {-1.866687e+09, 0.0, 0.0};
        f.m_SystemGain = 0.5 * 2.05033e+42;
        f.m_RealPoles.Resize(1, 6);
        f.m_RealPoles.CopyFrom(poles, 6);
        f.m_RealZeros.Resize(1, 3);
        f.m_RealZeros.CopyFrom(zeros, 3);
        f.m_ComplexConjugatePoles.Resize(0, 0);
        f.m_ComplexConjugateZeros.Resize(0, 0);
        f.SampleRate = 1.0 / kTs;
        f.m_FreqUnit = Quenrix::eRad;
        double in = 0, out = 0;
        f.m_dInput.SetBuffer(&in, 1, 1, 0);
        f.m_dOutput[0].SetBuffer(&out, 1, 1, 0);
        if (!f.Initialize() || f.m_iNumCoefficients != 18)
            std::exit(1);
        std::memcpy(m_c, f.m_Coefficients, sizeof m_c);
    }

    // Returns the number of clock times written.
    size_t Run(double* wave, size_t n, double* times)
    {
        const double twoPi = 6.283185307179586, pi = 3.141592653589793;
        const double g1 = kAlpha, g2 = kBeta, g3 = 1.0 / kAlpha;
        const double step = twoPi * (1.0 / kBitTime) * kTs;
        size_t k = 0;
        for (size_t i = 0; i < n; ++i) {
            // CTLE
            double x = wave[i];
            for (int j = 0; j < 3; ++j) {
                const double* c = m_c + 6 * j;
                const double w = (x - c[4] * m_s1[j]) - c[5] * m_s2[j];
                const double y = (c[0] * w + c[1] * m_s1[j]) + c[2] * m_s2[j];
                m_s2[j] = m_s1[j];
                m_s1[j] = w;
                x = y;
            }
            // tanh stage
            const double nl = g3 * std::tanh(g2 * (g1 * x));
            wave[i] = nl;
            // phase detector, active while the previous clock level is 0
            const int level = m_clock <= 0 ? 1 : 0;
            double e = 0.0;
            if (!m_started) {
                m_started = true;
                m_prevLevel = level;
            } else {
                const int s = nl > 0.0 ? 1 : 0;
                if (m_prevLevel == 1 && level == 0) {
                    m_prevSampled = m_sampled;
                    if (m_savedMismatch != -1 && m_reference > 0)
                        e = static_cast<double>(m_savedMismatch - m_reference) / m_reference * pi;
                }
                if (m_prevLevel != 1 && level == 1) {
                    m_savedMismatch = m_mismatch;
                    m_sampled = s;
                    m_mismatch = 0;
                    m_reference = 0;
                }
                if (m_sampled != -1) {
                    m_mismatch += s != m_sampled ? 1 : 0;
                    if (m_prevSampled != -1)
                        m_reference += m_sampled != m_prevSampled ? 1 : 0;
                }
                m_prevLevel = level;
            }
            // loop filter
            m_sum = e + m_sum;
            const double v = 5e8 * e + 15000.0 * m_sum;
            // VCO
            m_acc += 1.0 * twoPi * kTs * v;
            const double phase = step * static_cast<double>(m_count) + m_acc;
            const double vout = std::cos(phase);
            m_clock = vout > 0 ? 1 : 0;
            const double voutq = std::sin(phase);
            m_clockq = voutq > 0 ? 1 : 0;
            // clock-edge timer, rising crossings
            if (m_count > 0 && m_prev <= 0 && vout > 0)
                times[k++] = (static_cast<double>(m_count) - 1) * kTs + kTs;
            m_prev = vout;
            ++m_count;
        }
        times[k] = -1.0;
        return k;
    }

    int m_clockq = 0;

private:
    double m_c[18];
    double m_s1[3] = {}, m_s2[3] = {};
    int m_clock = 0;
    bool m_started = false;
    int m_prevLevel = -1, m_sampled = -1, m_prevSampled = -1, m_mismatch = -1,
        m_savedMismatch = -1, m_reference = -1;
    double m_sum = 0, m_acc = 0, m_prev = -1.0;
    size_t m_count = 0;
};

void BM_ModelGetWave(benchmark::State& state)
{
    const size_t n = static_cast<size_t>(state.range(0));
    const std::vector<double> input = Stimulus(n);
    std::vector<double> wave(n), times(n / kSamplesPerBit + 3);
    void* h = OpenModel();
    for (auto _ : state) {
        std::memcpy(wave.data(), input.data(), n * sizeof(double));
        Lib().getWave(wave.data(), static_cast<long>(n), times.data(), nullptr, h);
        benchmark::DoNotOptimize(wave.data());
        benchmark::DoNotOptimize(times.data());
    }
    Lib().close(h);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * n));
}

void BM_FlatLoop(benchmark::State& state)
{
    const size_t n = static_cast<size_t>(state.range(0));
    const std::vector<double> input = Stimulus(n);
    std::vector<double> wave(n), times(n + 1);
    FlatReceiver rx;
    for (auto _ : state) {
        std::memcpy(wave.data(), input.data(), n * sizeof(double));
        rx.Run(wave.data(), n, times.data());
        benchmark::DoNotOptimize(wave.data());
        benchmark::DoNotOptimize(times.data());
        benchmark::DoNotOptimize(rx.m_clockq);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * n));
}

BENCHMARK(BM_ModelGetWave)->Arg(1024)->Arg(65536);
BENCHMARK(BM_FlatLoop)->Arg(1024)->Arg(65536);

// Keeps the CPU time per iteration of every run (CPU rather than wall time,
// so that other load on the machine does not tilt the ratio), to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                m_seconds[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatios() const
    {
        std::printf("\n%-8s %16s %16s %8s\n", "block", "model samples/s", "flat samples/s", "ratio");
        for (const char* block : {"1024", "65536"}) {
            auto m = m_seconds.find(std::string("BM_ModelGetWave/") + block);
            auto f = m_seconds.find(std::string("BM_FlatLoop/") + block);
            if (m == m_seconds.end() || f == m_seconds.end())
                continue;
            // Adjusted times are per iteration, in the runs' time unit (ns).
            const double n = std::atof(block);
            std::printf("%-8s %16.4g %16.4g %8.3f\n", block, n / (m->second * 1e-9),
                        n / (f->second * 1e-9), m->second / f->second);
        }
        std::printf("(CPU time; ratio = model time / flat-loop time; "
                    "target <= 1.25, 1.5 at the most)\n");
    }

private:
    std::map<std::string, double> m_seconds;
};

// The flat loop must compute what the model computes, or the ratio means
// nothing: both run the same stimulus and their outputs are compared.
void CheckSameArithmetic()
{
    const size_t n = 65536;
    std::vector<double> a = Stimulus(n), b = a;
    std::vector<double> ta(n + 1), tb(n / kSamplesPerBit + 3);
    FlatReceiver rx;
    const size_t ka = rx.Run(a.data(), n, ta.data());
    void* h = OpenModel();
    Lib().getWave(b.data(), static_cast<long>(n), tb.data(), nullptr, h);
    Lib().close(h);
    double worst = 0;
    for (size_t i = 0; i < n; ++i)
        worst = std::fmax(worst, std::fabs(a[i] - b[i]));
    size_t kb = 0;
    while (tb[kb] >= 0)
        ++kb;
    std::printf("flat loop against the model over %zu samples: max |output difference| %.3g, "
                "clock times %zu and %zu, last %.6e and %.6e\n",
                n, worst, ka, kb, ka ? ta[ka - 1] : -1.0, kb ? tb[kb - 1] : -1.0);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CheckSameArithmetic();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
