// Counting phase detector: slices the data at 0, samples a bit when the
// clock's active half begins and, when it ends, reports how far the data
// transitions sat from the middle of the period, as a phase error in radians.
#pragma once

#include "CircularBuffer.h"
#include "ClockEdge.h"
#include "DFModel.h"

#include <climits>

namespace Quenrix {

class PhaseDetector : public DFModel {
public:
    PhaseDetector();

    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;

    // One sample of Run on values: the clock and data samples in, the phase
    // error out, the state updated as Run updates it.
    double Step(int clk, double x);

    CircularBuffer<double> signal;
    CircularBuffer<int> clock;
    CircularBuffer<double> phaseError;
    ClockEdgeE m_ClockEdge;
    int m_PrevLevel;
    int m_SampledBit;
    int m_PrevSampledBit;
    int m_MismatchCount;
    int m_SavedMismatchCount;
    int m_ReferenceCount;
    bool m_bStarted;
};

// Run is defined here, so that a model calling it once per sample can inline it.
inline bool PhaseDetector::Run()
{
    phaseError[0] = Step(clock[0], signal[0]);
    return true;
}

inline double PhaseDetector::Step(int clk, double x)
{
    // Counters stop at the largest int instead of overflowing on a clock that
    // stays in one half for billions of samples. Without a branch: whether the
    // data matches the sampled bit changes at random, and a mispredicted jump
    // here would cost more than the addition.
    const auto countIf = [](int& iCounter, bool bCondition) {
        iCounter += static_cast<int>(bCondition & (iCounter < INT_MAX));
    };
    const double kPi = 3.141592653589793;
    int L;
    if (m_ClockEdge != eNegativeEdge)
        L = clk > 0 ? 1 : 0;
    else
        L = clk <= 0 ? 1 : 0;
    double error = 0.0;

    if (!m_bStarted) {
        m_bStarted = true;
        m_PrevLevel = L;
        return error;
    }

    const int s = x > 0.0 ? 1 : 0;

    if (m_PrevLevel == 1 && L == 0) {
        m_PrevSampledBit = m_SampledBit;
        if (m_SavedMismatchCount != -1 && m_ReferenceCount > 0)
            error = static_cast<double>(m_SavedMismatchCount - m_ReferenceCount) /
                    static_cast<double>(m_ReferenceCount) * kPi;
    } else if (m_PrevLevel != 1 && L == 1) {
        m_SavedMismatchCount = m_MismatchCount;
        m_SampledBit = s;
        m_MismatchCount = 0;
        m_ReferenceCount = 0;
    }

    if (m_SampledBit != -1) {
        countIf(m_MismatchCount, s != m_SampledBit);
        if (m_PrevSampledBit != -1)
            countIf(m_ReferenceCount, m_SampledBit != m_PrevSampledBit);
    }

    m_PrevLevel = L;
    return error;
}

} // namespace Quenrix
