// Cascade of direct-form-II second-order sections. Each section holds six
// coefficients b0 b1 b2 a0 a1 a2; Initialize normalises them to a0 = 1 so that
// Run needs only multiplications and additions.
#pragma once

#include "CircularBuffer.h"
#include "DFModel.h"

#include <cstddef>

namespace Quenrix {

class BiquadCascade : public DFModel {
public:
    BiquadCascade();
    BiquadCascade(const BiquadCascade&) = delete;
    BiquadCascade& operator=(const BiquadCascade&) = delete;
    ~BiquadCascade() override;

    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;

    // Not owned by the cascade itself; SDomainIIR owns the array it builds.
    double* m_Coefficients;
    int m_iNumCoefficients;
    CircularBuffer<double> m_dInput;
    // Port 0 carries the output of the whole cascade, port 1 the output
    // before the last section, and so on.
    CircularBufferBusT<CircularBuffer<double>> m_dOutput;
    double* m_State1; // w[n-1] per section
    double* m_State2; // w[n-2] per section
    size_t m_iNumBiquads;

protected:
    // Sections that Run may process: the count for which coefficients and
    // state were last set up together, 0 while they are not usable.
    size_t m_iRunBiquads;
};

} // namespace Quenrix
