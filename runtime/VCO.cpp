#include "VCO.h"

#include "DFErrorHandler.h"

#include <cmath>

namespace Quenrix {

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

bool VCO::Finalize() { return true; }

} // namespace Quenrix
