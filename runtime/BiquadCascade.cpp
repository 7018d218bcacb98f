#include "BiquadCascade.h"

#include "DFErrorHandler.h"

#include <cfloat>
#include <cmath>
#include <new>
#include <sstream>

namespace Quenrix {

BiquadCascade::BiquadCascade()
    : m_Coefficients(nullptr), m_iNumCoefficients(0), m_State1(nullptr), m_State2(nullptr),
      m_iNumBiquads(0), m_iRunBiquads(0)
{
}

BiquadCascade::~BiquadCascade()
{
    delete[] m_State1;
    delete[] m_State2;
}

bool BiquadCascade::Initialize()
{
    m_iRunBiquads = 0;
    if (m_iNumCoefficients < 1 || m_iNumCoefficients % 6 != 0) {
        std::ostringstream os;
        os << "The number of parameter taps must not be zero "
           << "and must be a multiple of " << 6 << " taps. "
           << "There are currently " << m_iNumCoefficients << " taps.";
        DFErrorHandler::PostError(this, os.str().c_str());
        return false;
    }
    m_iNumBiquads = static_cast<size_t>(m_iNumCoefficients) / 6;
    if (!m_Coefficients) {
        DFErrorHandler::PostError(this, "The biquad coefficients have not been set.");
        return false;
    }

    for (size_t i = 0; i < m_iNumBiquads; ++i) {
        double* c = m_Coefficients + 6 * i;
        const double a0 = c[3];
        if (!(std::fabs(a0) >= DBL_MIN)) {
            std::ostringstream os;
            os << "The D0 coefficient for biquad number " << (i + 1) << " cannot be zero. ";
            DFErrorHandler::PostError(this, os.str().c_str());
            return false;
        }
        c[0] /= a0;
        c[1] /= a0;
        c[2] /= a0;
        c[4] /= a0;
        c[5] /= a0;
        c[3] = 1.0;
    }

    delete[] m_State1;
    delete[] m_State2;
    m_State1 = new (std::nothrow) double[m_iNumBiquads]();
    m_State2 = new (std::nothrow) double[m_iNumBiquads]();
    if (!m_State1 || !m_State2) {
        delete[] m_State1;
        delete[] m_State2;
        m_State1 = m_State2 = nullptr;
        DFErrorHandler::PostError(this, "Not enough memory for the biquad state.");
        return false;
    }
    m_iRunBiquads = m_iNumBiquads;

    const size_t nOutputs = m_dOutput.GetSize();
    if (nOutputs > m_iNumBiquads) {
        std::ostringstream os;
        os << "The number of outputs must be less than or equal to the "
           << "number of biquads in the cascade.  Currently, there are " << nOutputs
           << " outputs and " << m_iNumBiquads << " biquads.";
        DFErrorHandler::PostError(this, os.str().c_str());
        return false;
    }
    return true;
}

bool BiquadCascade::Run()
{
    const size_t S = m_iRunBiquads;
    if (S == 0)
        return true;
    const size_t nOutputs = m_dOutput.GetSize();
    double x = m_dInput[0];
    for (size_t j = 0; j < S; ++j) {
        const double* c = m_Coefficients + 6 * j;
        const double s1 = m_State1[j];
        const double s2 = m_State2[j];
        const double w = (x - c[4] * s1) - c[5] * s2;
        const double y = (c[0] * w + c[1] * s1) + c[2] * s2;
        if (j + nOutputs >= S) {
            const size_t port = S - 1 - j;
            if (port < nOutputs)
                m_dOutput[port][0] = y;
        }
        m_State2[j] = s1;
        m_State1[j] = w;
        x = y;
    }
    return true;
}

bool BiquadCascade::Finalize() { return true; }

} // namespace Quenrix
