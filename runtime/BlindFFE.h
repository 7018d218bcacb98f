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
    std::vector<double> m_vDelayLine; // newest sample first
    uint64_t m_iDelayLength;

private:
    // Tap count and spacing that the delay line was sized for, so that
    // parameters changed after Initialize cannot index past it.
    size_t m_iTaps;
    size_t m_iSpacing;
};

} // namespace Quenrix
