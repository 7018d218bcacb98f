#include "BlindFFE.h"

#include "DFErrorHandler.h"

#include <algorithm>
#include <limits>

namespace Quenrix {

BlindFFE::BlindFFE()
    : Coefficients(1, 1), SamplesPerBit(16), m_iDelayLength(0), m_iTaps(0), m_iSpacing(0)
{
    Coefficients(0) = 1.0;
}

bool BlindFFE::Initialize()
{
    m_iTaps = 0;
    m_iSpacing = 0;
    if (SamplesPerBit <= 0) {
        DFErrorHandler::PostError(this, "SamplesPerBit must be a positive number.");
        return false;
    }
    const size_t nTaps = Coefficients.NumElements();
    if (nTaps == 0) {
        DFErrorHandler::PostError(this, "Coefficients must hold at least one tap.");
        return false;
    }
    const size_t spacing = static_cast<size_t>(SamplesPerBit);
    if (nTaps > std::numeric_limits<size_t>::max() / spacing) {
        DFErrorHandler::PostError(this, "Coefficients and SamplesPerBit give too long a delay line.");
        return false;
    }
    m_iDelayLength = static_cast<uint64_t>(spacing * nTaps);
    try {
        m_vDelayLine.assign(static_cast<size_t>(m_iDelayLength), 0.0);
    } catch (...) {
        m_iDelayLength = 0;
        m_vDelayLine.clear();
        DFErrorHandler::PostError(this, "Not enough memory for the delay line.");
        return false;
    }
    m_iTaps = nTaps;
    m_iSpacing = spacing;
    return true;
}

bool BlindFFE::Run()
{
    // Not initialised, or the last Initialize failed: nothing to filter with.
    if (m_iTaps == 0) {
        output[0] = 0.0;
        return false;
    }
    double* d = m_vDelayLine.data();
    const size_t n = m_vDelayLine.size();
    std::copy_backward(d, d + n - 1, d + n);
    d[0] = input[0];
    double y = 0.0;
    for (size_t i = 0; i < m_iTaps; ++i)
        y += d[i * m_iSpacing] * Coefficients(i);
    output[0] = y;
    return true;
}

bool BlindFFE::Finalize() { return true; }

} // namespace Quenrix
