// Clock-edge timer: outputs the time in seconds of each zero crossing of the
// clock waveform in the chosen direction, and -1.0 on every other sample.
#pragma once

#include "CircularBuffer.h"
#include "ClockEdge.h"
#include "DFModel.h"

#include <cstddef>

namespace Quenrix {

// Where within the sample interval an edge is placed.
enum TimingMethodE : int { eNearestNeighborInterp = 0, eLinearInterp = 1 };

class ClockTimes : public DFModel {
public:
    ClockTimes();

    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;

    // Fraction of the interval at which a sinusoid of amplitude
    // m_ClockAmplitude crosses zero between the two samples.
    double CalculateTimeRatio(double dPrevious, double dCurrent);

    CircularBuffer<double> clock;
    CircularBuffer<double> time;
    double SampleInterval;
    double m_TimeOffset;
    ClockEdgeE m_ClockEdge;
    TimingMethodE m_TimingMethod;
    double m_PrevClock;
    size_t m_SampleCount;
    double m_ClockAmplitude;
};

} // namespace Quenrix
