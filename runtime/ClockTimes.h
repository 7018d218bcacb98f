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

    // One sample of Run on values: the clock sample in, the time (or -1.0)
    // out, the sample count and previous clock updated as Run updates them.
    double Step(double cur);

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

// Run is defined here, so that a model calling it once per sample can inline it.
inline bool ClockTimes::Run()
{
    time[0] = Step(clock[0]);
    return true;
}

inline double ClockTimes::Step(double cur)
{
    const size_t n = m_SampleCount;
    bool bEdge = false;
    if (n != 0) {
        if (m_ClockEdge == ePositiveEdge)
            bEdge = m_PrevClock <= 0.0 && cur > 0.0;
        else if (m_ClockEdge == eNegativeEdge)
            bEdge = m_PrevClock > 0.0 && cur <= 0.0;
    }
    double t = -1.0;
    if (bEdge) {
        const double Ts = SampleInterval;
        double ratio = 1.0;
        if (m_TimingMethod == eLinearInterp)
            ratio = CalculateTimeRatio(m_PrevClock, cur);
        t = (static_cast<double>(n) - 1.0) * Ts + Ts * ratio + m_TimeOffset;
    }
    m_SampleCount = n + 1;
    m_PrevClock = cur;
    return t;
}

} // namespace Quenrix
