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

bool ClockTimes::Finalize() { return true; }

} // namespace Quenrix
