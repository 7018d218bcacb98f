// Analog transfer function H(s) = k * prod(s - z) / prod(s - p), given by its
// real roots and one entry per complex-conjugate root pair, realised through
// the bilinear transform (no prewarping) as a cascade of biquads.
#pragma once

#include "BiquadCascade.h"
#include "Matrix.h"

#include <complex>

namespace Quenrix {

// Unit of every root: rad/s or Hz.
enum FreqUnitE : int { eRad = 0, eHz = 1 };

class SDomainIIR : public BiquadCascade {
public:
    SDomainIIR();
    ~SDomainIIR() override;

    bool Initialize() override;
    bool Finalize() override;

    double SampleRate;
    double m_SystemGain;
    Matrix<double> m_RealPoles;
    Matrix<std::complex<double>> m_ComplexConjugatePoles;
    Matrix<double> m_RealZeros;
    Matrix<std::complex<double>> m_ComplexConjugateZeros;
    FreqUnitE m_FreqUnit;
};

} // namespace Quenrix
