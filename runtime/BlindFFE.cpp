#include "BlindFFE.h"

#include "DFErrorHandler.h"

#include <limits>

namespace Quenrix {

BlindFFE::BlindFFE()
    : Coefficients(1, 1), SamplesPerBit(16), m_iDelayLength(0), m_iTaps(0), m_iSpacing(0),
      m_iHead(0)
{
    Coefficients(0) = 1.0;
}

bool BlindFFE::Initialize()
{
    m_iTaps = 0;
    m_iSpacing = 0;
    m_iHead = 0;
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
    // Step the head back one place: the slot it lands on held the oldest
    // sample, which no tap reads any more.
    m_iHead = m_iHead == 0 ? n - 1 : m_iHead - 1;
    d[m_iHead] = input[0];
    // Same products in the same tap order as a line moved in place, so the
    // sum is bit for bit what it was.
    double y = 0.0;
    size_t k = m_iHead;
    for (size_t i = 0; i < m_iTaps; ++i) {
        y += d[k] * Coefficients(i);
        k += m_iSpacing;
        if (k >= n)
            k -= n;
    }
    output[0] = y;
    return true;
}

double BlindFFE::DelayedSample(size_t k) const
{
    const size_t n = m_vDelayLine.size();
    if (k >= n)
        return 0.0;
    const size_t j = m_iHead + k;
    return m_vDelayLine[j >= n ? j - n : j];
}

bool BlindFFE::Finalize() { return true; }

} // namespace Quenrix
