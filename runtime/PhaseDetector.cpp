#include "PhaseDetector.h"

namespace Quenrix {

PhaseDetector::PhaseDetector()
    : m_ClockEdge(ePositiveEdge), m_PrevLevel(-1), m_SampledBit(-1), m_PrevSampledBit(-1),
      m_MismatchCount(-1), m_SavedMismatchCount(-1), m_ReferenceCount(-1), m_bStarted(false)
{
}

bool PhaseDetector::Initialize()
{
    m_PrevLevel = -1;
    m_SampledBit = -1;
    m_PrevSampledBit = -1;
    m_MismatchCount = -1;
    m_SavedMismatchCount = -1;
    m_ReferenceCount = -1;
    m_bStarted = false;
    return true;
}

bool PhaseDetector::Finalize() { return true; }

} // namespace Quenrix
