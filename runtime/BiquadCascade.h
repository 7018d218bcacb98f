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
    static double Section(const double* c, double& s1, double& s2, double x);
    template <size_t S>
    void RunSections();

    // Sections that Run may process: the count for which coefficients and
    // state were last set up together, 0 while they are not usable.
    size_t m_iRunBiquads;
};

// One direct-form-II section (a0 taken as 1) on the sample x: returns its
// output and moves the section's two delays on.
inline double BiquadCascade::Section(const double* c, double& s1, double& s2, double x)
{
    const double w = (x - c[4] * s1) - c[5] * s2;
    const double y = (c[0] * w + c[1] * s1) + c[2] * s2;
    s2 = s1;
    s1 = w;
    return y;
}

// The sections of a cascade of S sections whose only output is port 0 (or
// none): with the count known at compile time the loop unrolls and every
// state and coefficient offset is a constant.
template <size_t S>
inline void BiquadCascade::RunSections()
{
    const double* const c = m_Coefficients;
    double* const state1 = m_State1;
    double* const state2 = m_State2;
    double x = m_dInput[0];
    for (size_t j = 0; j < S; ++j)
        x = Section(c + 6 * j, state1[j], state2[j], x);
    if (m_dOutput.GetSize() > 0)
        m_dOutput[0][0] = x;
}

// Run is defined here, so that a model calling it once per sample can inline it.
inline bool BiquadCascade::Run()
{
    const size_t S = m_iRunBiquads;
    if (S == 0)
        return true;
    const size_t nOutputs = m_dOutput.GetSize();
    if (nOutputs <= 1) {
        switch (S) {
        case 1:
            RunSections<1>();
            return true;
        case 2:
            RunSections<2>();
            return true;
        case 3:
            RunSections<3>();
            return true;
        default:
            break;
        }
    }
    // The sections from firstOut on feed the output ports, the last one port 0.
    const size_t firstOut = nOutputs < S ? S - nOutputs : 0;
    const double* const coefficients = m_Coefficients;
    double* const state1 = m_State1;
    double* const state2 = m_State2;
    double x = m_dInput[0];
    for (size_t j = 0; j < S; ++j) {
        const double y = Section(coefficients + 6 * j, state1[j], state2[j], x);
        if (j >= firstOut && j + 1 < S)
            m_dOutput[S - 1 - j][0] = y;
        x = y;
    }
    // Port 0 last, so that an owner reading it back right after Run gets the
    // value from the register the compiler still holds.
    if (nOutputs > 0)
        m_dOutput[0][0] = x;
    return true;
}

} // namespace Quenrix
