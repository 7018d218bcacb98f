#include "PhaseDetector.h"

#include <climits>

namespace Quenrix {

namespace {
// Counters stop at the largest int instead of overflowing on a clock that
// stays in one half for billions of samples.
inline void CountIf(int& iCounter, bool bCondition)
{
    if (bCondition && iCounter < INT_MAX)
        ++iCounter;
}
} // namespace

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

bool PhaseDetector::Run()
{
    const double kPi = 3.141592653589793;
    const int clk = clock[0];
    int L;
    if (m_ClockEdge != eNegativeEdge)
        L = clk > 0 ? 1 : 0;
    else
        L = clk <= 0 ? 1 : 0;
    phaseError[0] = 0.0;

    if (!m_bStarted) {
        m_bStarted = true;
        m_PrevLevel = L;
        return true;
    }

    const int s = signal[0] > 0.0 ? 1 : 0;

    if (m_PrevLevel == 1 && L == 0) {
        m_PrevSampledBit = m_SampledBit;
        if (m_SavedMismatchCount != -1 && m_ReferenceCount > 0)
            phaseError[0] = static_cast<double>(m_SavedMismatchCount - m_ReferenceCount) /
                            static_cast<double>(m_ReferenceCount) * kPi;
    } else if (m_PrevLevel != 1 && L == 1) {
        m_SavedMismatchCount = m_MismatchCount;
        m_SampledBit = s;
        m_MismatchCount = 0;
        m_ReferenceCount = 0;
    }

    if (m_SampledBit != -1) {
        CountIf(m_MismatchCount, s != m_SampledBit);
        if (m_PrevSampledBit != -1)
            CountIf(m_ReferenceCount, m_SampledBit != m_PrevSampledBit);
    }

    m_PrevLevel = L;
    return true;
}

bool PhaseDetector::Finalize() { return true; }

} // namespace Quenrix
