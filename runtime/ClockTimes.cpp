#include "ClockTimes.h"

#include "DFErrorHandler.h"

#include <cmath>

namespace Quenrix {

ClockTimes::ClockTimes()
    : SampleInterval(1e-10), m_TimeOffset(0.0), m_ClockEdge(eNegativeEdge),
      m_TimingMethod(eNearestNeighborInterp), m_PrevClock(-1.0), m_SampleCount(0),
      m_ClockAmplitude(1.0)
{
}

bool ClockTimes::Initialize()
{
    if (SampleInterval <= 0.0) {
        DFErrorHandler::PostError(this, "SampleInterval must be larger than 0.");
        return false;
    }
    m_SampleCount = 0;
    m_PrevClock = -1.0;
    return true;
}

double ClockTimes::CalculateTimeRatio(double dPrevious, double dCurrent)
{
    const double kHalfPi = 1.5707963267948966;
    double x = dPrevious / m_ClockAmplitude;
    if (std::fabs(x) > 1.0)
        x = dPrevious > 0.0 ? 1.0 : 0.0;
    double y = dCurrent / m_ClockAmplitude;
    if (std::fabs(y) > 1.0)
        y = dCurrent > 0.0 ? 1.0 : 0.0;
    const double ax = std::acos(x);
    const double den = std::acos(y) - ax;
    // Both samples mapped to the same point (a zero or NaN amplitude, or
    // samples below its resolution): place the edge on the current sample.
    if (!(den != 0.0))
        return 1.0;
    const double ratio = (kHalfPi - ax) / den;
    return std::isfinite(ratio) ? ratio : 1.0;
}

bool ClockTimes::Run()
{
    const double cur = clock[0];
    const size_t n = m_SampleCount;
    bool bEdge = false;
    if (n != 0) {
        if (m_ClockEdge == ePositiveEdge)
            bEdge = m_PrevClock <= 0.0 && cur > 0.0;
        else if (m_ClockEdge == eNegativeEdge)
            bEdge = m_PrevClock > 0.0 && cur <= 0.0;
    }
    if (bEdge) {
        const double Ts = SampleInterval;
        double ratio = 1.0;
        if (m_TimingMethod == eLinearInterp)
            ratio = CalculateTimeRatio(m_PrevClock, cur);
        time[0] = (static_cast<double>(n) - 1.0) * Ts + Ts * ratio + m_TimeOffset;
    } else {
        time[0] = -1.0;
    }
    m_SampleCount = n + 1;
    m_PrevClock = cur;
    return true;
}

bool ClockTimes::Finalize() { return true; }

} // namespace Quenrix
