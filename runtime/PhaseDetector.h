// Counting phase detector: slices the data at 0, samples a bit when the
// clock's active half begins and, when it ends, reports how far the data
// transitions sat from the middle of the period, as a phase error in radians.
#pragma once

#include "CircularBuffer.h"
#include "ClockEdge.h"
#include "DFModel.h"

namespace Quenrix {

class PhaseDetector : public DFModel {
public:
    PhaseDetector();

    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;

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

} // namespace Quenrix
