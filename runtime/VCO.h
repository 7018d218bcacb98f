// Sampled voltage-controlled oscillator: frequency = free-running frequency
// plus sensitivity times the control input. Gives a cosine, its quadrature
// and, for each, a clock that is 1 while the waveform is positive.
#pragma once

#include "CircularBuffer.h"
#include "DFModel.h"

#include <cstddef>

namespace Quenrix {

class VCO : public DFModel {
public:
    VCO();

    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;

    CircularBuffer<double> vin;
    CircularBuffer<double> vout;
    CircularBuffer<int> clock;
    CircularBuffer<double> voutq;
    CircularBuffer<int> clockq;
    double SampleInterval;
    double m_Amplitude;
    double m_FreeRunFrequency;
    double m_Sensitivity;
    double m_InitialPhase;
    int m_QuadratureMode; // 1: quadrature output is -sin, otherwise +sin
    double m_AccumulatedPhase;
    size_t m_SampleCount;
    double m_Phase;
};

} // namespace Quenrix
