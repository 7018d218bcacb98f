// Per-sample cost of the blocks on the receiver's road: a three-section
// s-domain filter, the VCO and the tanh block, each once at its default
// settings (no samples per bit to vary); and of the transmitter's two-tap
// FFE at 16, 4,096 and 65,536 samples per bit, the only block run at more
// than one length. Each iteration is one Run.
#include "BlindFFE.h"
#include "SDomainIIR.h"
#include "Trig.h"
#include "VCO.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace Quenrix;

namespace {

// A small table of input samples, so the compiler cannot fold the input.
std::vector<double> Inputs()
{
    std::vector<double> v(1024);
    for (size_t n = 0; n < v.size(); ++n)
        v[n] = 0.8 * std::sin(0.013 * n) + 0.1 * std::cos(0.37 * n);
    return v;
}

// Runs the block once per iteration on the table's inputs, scaled.
template <class Block>
void TimeRuns(benchmark::State& state, Block& block, double& in, const double& out, double scale)
{
    const std::vector<double> x = Inputs();
    size_t n = 0;
    for (auto _ : state) {
        in = scale * x[n++ & 1023];
        block.Run();
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_SDomainIIR_ThreeSections(benchmark::State& state)
{
    SDomainIIR f; // the default fifth-order filter: three sections
    double in = 0.0, out = 0.0;
    f.m_dInput.SetBuffer(&in, 1, 1, 0);
    f.m_dOutput[0].SetBuffer(&out, 1, 1, 0);
    if (!f.Initialize() || f.m_iNumBiquads != 3) {
        state.SkipWithError("filter did not initialise with three sections");
        return;
    }
    TimeRuns(state, f, in, out, 1.0);
}
BENCHMARK(BM_SDomainIIR_ThreeSections);

void BM_VCO(benchmark::State& state)
{
    VCO vco;
    double vin = 0.0, vout = 0.0, voutq = 0.0;
    int clock = 0, clockq = 0;
    vco.vin.SetBuffer(&vin, 1, 1, 0);
    vco.vout.SetBuffer(&vout, 1, 1, 0);
    vco.clock.SetBuffer(&clock, 1, 1, 0);
    vco.voutq.SetBuffer(&voutq, 1, 1, 0);
    vco.clockq.SetBuffer(&clockq, 1, 1, 0);
    vco.Initialize();
    const std::vector<double> x = Inputs();
    size_t n = 0;
    for (auto _ : state) {
        vin = 1e6 * x[n++ & 1023];
        vco.Run();
        benchmark::DoNotOptimize(vout);
        benchmark::DoNotOptimize(clock);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VCO);

void BM_TrigTanh(benchmark::State& state)
{
    TrigTanh t;
    double in = 0.0, out = 0.0;
    t.m_dInput.SetBuffer(&in, 1, 1, 0);
    t.m_dOutput.SetBuffer(&out, 1, 1, 0);
    TimeRuns(state, t, in, out, 3.0);
}
BENCHMARK(BM_TrigTanh);

// Two taps, a bit apart: the argument is the samples per bit, so the delay
// line is twice as long. The time per sample should not grow with it.
void BM_BlindFFE_TwoTaps(benchmark::State& state)
{
    BlindFFE f;
    double in = 0.0, out = 0.0;
    f.input.SetBuffer(&in, 1, 1, 0);
    f.output.SetBuffer(&out, 1, 1, 0);
    const double taps[] = {0.828984375, -0.165796875};
    f.Coefficients.Resize(1, 2);
    f.Coefficients.CopyFrom(taps, 2);
    f.SamplesPerBit = static_cast<int>(state.range(0));
    if (!f.Initialize()) {
        state.SkipWithError("FFE did not initialise");
        return;
    }
    TimeRuns(state, f, in, out, 1.0);
}
BENCHMARK(BM_BlindFFE_TwoTaps)->Arg(16)->Arg(4096)->Arg(65536);

} // namespace

BENCHMARK_MAIN();
