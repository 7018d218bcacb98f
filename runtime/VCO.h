// Sampled voltage-controlled oscillator: frequency = free-running frequency
// plus sensitivity times the control input. Gives a cosine, its quadrature
// and, for each, a clock that is 1 while the waveform is positive.
#pragma once

#include "CircularBuffer.h"
#include "DFModel.h"

#include <cmath>
#include <cstddef>

namespace Quenrix {

class VCO : public DFModel {
public:
    VCO();

    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;

    // The four outputs of one sample.
    struct Outputs {
        double vout;
        int clock;
        double voutq;
        int clockq;
    };
    // One sample of Run on values: the control value in, the outputs out,
    // the phase state updated as Run updates it.
    Outputs Step(double v);

    CircularBuffer<double> vin;
    CircularBuffer<double> vout;
    CircularBuffer<int> clock;
    CircularBuffer<double> voutq;
    CircularBuffer<int> clockq;
    double SampleInterval;
    double m_Amplitude;
    double m_FreeRunFrequency;
    double m_Sensitivity;
    double m_InitialPhase;
    int m_QuadratureMode; // 1: quadrature output is -sin, otherwise +sin
    double m_AccumulatedPhase;
    size_t m_SampleCount;
    double m_Phase;
};

// Run is defined here, so that a model calling it once per sample can inline it.
inline bool VCO::Run()
{
    const Outputs o = Step(vin[0]);
    vout[0] = o.vout;
    clock[0] = o.clock;
    voutq[0] = o.voutq;
    clockq[0] = o.clockq;
    return true;
}

inline VCO::Outputs VCO::Step(double v)
{
    const double kTwoPi = 6.283185307179586;
    const double Ts = SampleInterval;
    m_AccumulatedPhase += m_Sensitivity * kTwoPi * Ts * v;
    // The free-running part comes from the sample count each time, so it
    // gathers no summation error; only the control term is integrated.
    const double phase = (kTwoPi * m_FreeRunFrequency * Ts) * static_cast<double>(m_SampleCount) +
                         m_AccumulatedPhase;
    m_Phase = phase;
    // Both functions of the local phase, so the compiler can compute them in
    // one sincos call.
    const double c = std::cos(phase);
    const double s = std::sin(phase);
    Outputs o;
    o.vout = m_Amplitude * c;
    o.clock = o.vout > 0.0 ? 1 : 0;
    o.voutq = m_QuadratureMode == 1 ? -m_Amplitude * s : m_Amplitude * s;
    o.clockq = o.voutq > 0.0 ? 1 : 0;
    m_SampleCount += 1;
    return o;
}

} // namespace Quenrix
