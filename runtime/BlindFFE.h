// Symbol-spaced feed-forward equaliser with fixed taps: tap i weights the
// input delayed by i * SamplesPerBit samples.
#pragma once

#include "CircularBuffer.h"
#include "DFModel.h"
#include "Matrix.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Quenrix {

class BlindFFE : public DFModel {
public:
    BlindFFE();

    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;

    CircularBuffer<double> input;
    CircularBuffer<double> output;
    Matrix<double> Coefficients; // tap weights, read in element order
    int SamplesPerBit;           // tap spacing in samples
    // A ring: the newest sample sits at m_iHead and older ones follow it,
    // wrapping at the end, so a sample costs one write rather than a move
    // of the whole line.
    std::vector<double> m_vDelayLine;
    uint64_t m_iDelayLength;

    // The input from k samples ago (zero before the first), k < m_iDelayLength.
    double DelayedSample(size_t k) const;

private:
    // Tap count and spacing that the delay line was sized for, so that
    // parameters changed after Initialize cannot index past it.
    size_t m_iTaps;
    size_t m_iSpacing;
    size_t m_iHead; // index of the newest sample in m_vDelayLine
};

} // namespace Quenrix
