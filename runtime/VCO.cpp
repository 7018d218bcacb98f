#include "VCO.h"

#include "DFErrorHandler.h"

#include <cmath>

namespace Quenrix {

namespace {
const double kTwoPi = 6.283185307179586;
}

VCO::VCO()
    : SampleInterval(1e-10), m_Amplitude(1.0), m_FreeRunFrequency(1e9), m_Sensitivity(1.0),
      m_InitialPhase(0.0), m_QuadratureMode(0), m_AccumulatedPhase(0.0), m_SampleCount(0),
      m_Phase(0.0)
{
}

bool VCO::Initialize()
{
    m_SampleCount = 0;
    m_AccumulatedPhase = m_InitialPhase;
    if (SampleInterval <= 0.0) {
        DFErrorHandler::PostError(this, "SampleInterval must be a positive number.");
        return false;
    }
    return true;
}

bool VCO::Run()
{
    const double Ts = SampleInterval;
    m_AccumulatedPhase += m_Sensitivity * kTwoPi * Ts * vin[0];
    // The free-running part comes from the sample count each time, so it
    // gathers no summation error; only the control term is integrated.
    const double phase = (kTwoPi * m_FreeRunFrequency * Ts) * static_cast<double>(m_SampleCount) +
                         m_AccumulatedPhase;
    m_Phase = phase;
    // Both functions of the local phase before any port store, so the
    // compiler can compute them in one sincos call (a store through a port
    // could alias m_Phase and force two separate calls).
    const double c = std::cos(phase);
    const double s = std::sin(phase);
    const double out = m_Amplitude * c;
    const double outq = m_QuadratureMode == 1 ? -m_Amplitude * s : m_Amplitude * s;
    vout[0] = out;
    clock[0] = out > 0.0 ? 1 : 0;
    voutq[0] = outq;
    clockq[0] = outq > 0.0 ? 1 : 0;
    m_SampleCount += 1;
    return true;
}

bool VCO::Finalize() { return true; }

} // namespace Quenrix
