#include "SDomainIIR.h"

#include "DFErrorHandler.h"

#include <cfloat>
#include <cmath>
#include <new>
#include <sstream>

namespace Quenrix {

namespace {

const double kTwoPi = 6.283185307179586;

// Writes one polynomial side (numerator at offset 0, denominator at offset 3)
// of every section: complex pairs first, then real roots in pairs, then an
// odd real root, then the (1 + z^-1) fill that keeps both sides of order N.
void FillSide(double* pCoef, size_t iOffset, const Matrix<std::complex<double>>& complexRoots,
              const Matrix<double>& realRoots, size_t N, size_t S, double c)
{
    size_t s = 0;
    auto put = [&](double x0, double x1, double x2) {
        double* p = pCoef + 6 * s + iOffset;
        p[0] = x0;
        p[1] = x1;
        p[2] = x2;
        ++s;
    };
    const double c2 = c * c;
    for (size_t i = 0; i < complexRoots.NumElements(); ++i) {
        const std::complex<double> q = complexRoots(i);
        const double re = q.real();
        const double mag2 = std::norm(q);
        put(c2 - 2.0 * c * re + mag2, 2.0 * (mag2 - c2), c2 + 2.0 * c * re + mag2);
    }
    const size_t nReal = realRoots.NumElements();
    for (size_t m = 0; 2 * m + 1 < nReal; ++m) {
        const double p1 = realRoots(2 * m);
        const double p2 = realRoots(2 * m + 1);
        put((c - p1) * (c - p2), -(c - p2) * (c + p1) - (c - p1) * (c + p2), (c + p1) * (c + p2));
    }
    if (nReal % 2 == 1) {
        const double p = realRoots(nReal - 1);
        if (s == S - 1 && N % 2 == 1)
            put(c - p, -(c + p), 0.0);
        else
            put(c - p, -2.0 * p, -(c + p));
    }
    while (s < S) {
        if (s == S - 1 && N % 2 == 1)
            put(1.0, 1.0, 0.0);
        else
            put(1.0, 2.0, 1.0);
    }
}

template <class T>
void ScaleRoots(Matrix<T>& m, double f)
{
    for (size_t i = 0; i < m.NumElements(); ++i)
        m(i) *= f;
}

} // namespace

SDomainIIR::SDomainIIR()
    : SampleRate(1e6), m_SystemGain(1.1616128054708951e29), m_RealPoles(1, 1),
      m_ComplexConjugatePoles(1, 2), m_FreqUnit(eRad)
{
    // Fifth-order Butterworth low-pass at 650148.07 rad/s, unity gain at DC.
    m_RealPoles(0) = -650148.0708064173;
    m_ComplexConjugatePoles(0) = std::complex<double>(-200906.8027392695, 618327.5592971661);
    m_ComplexConjugatePoles(1) = std::complex<double>(-525980.8381424781, 382147.44782641466);
    m_Coefficients = nullptr;
    m_dOutput.Initialize(1);
}

SDomainIIR::~SDomainIIR()
{
    delete[] m_Coefficients;
    m_Coefficients = nullptr;
}

bool SDomainIIR::Initialize()
{
    if (!(SampleRate > 0.0)) {
        DFErrorHandler::PostError(this, "SampleRate must be positive.");
        return false;
    }
    if (m_FreqUnit == eHz) {
        ScaleRoots(m_RealPoles, kTwoPi);
        ScaleRoots(m_ComplexConjugatePoles, kTwoPi);
        ScaleRoots(m_RealZeros, kTwoPi);
        ScaleRoots(m_ComplexConjugateZeros, kTwoPi);
    }

    const size_t P = m_RealPoles.NumElements() + 2 * m_ComplexConjugatePoles.NumElements();
    const size_t Z = m_RealZeros.NumElements() + 2 * m_ComplexConjugateZeros.NumElements();
    const size_t N = P > Z ? P : Z;
    const size_t S = N == 0 ? 1 : (N + 1) / 2;

    // The old array goes before Run can see a half-built one.
    m_iRunBiquads = 0;
    delete[] m_Coefficients;
    m_Coefficients = new (std::nothrow) double[6 * S];
    if (!m_Coefficients) {
        m_iNumCoefficients = 0;
        DFErrorHandler::PostError(this, "Not enough memory for the filter coefficients.");
        return false;
    }
    m_iNumCoefficients = static_cast<int>(6 * S);

    if (N == 0) {
        // A pure gain.
        double* p = m_Coefficients;
        p[0] = m_SystemGain;
        p[1] = p[2] = 0.0;
        p[3] = 1.0;
        p[4] = p[5] = 0.0;
        return BiquadCascade::Initialize();
    }

    const double T = 1.0 / SampleRate;
    const double c = 2.0 / T;
    FillSide(m_Coefficients, 3, m_ComplexConjugatePoles, m_RealPoles, N, S, c);
    FillSide(m_Coefficients, 0, m_ComplexConjugateZeros, m_RealZeros, N, S, c);

    for (size_t i = 0; i < S; ++i) {
        double* p = m_Coefficients + 6 * i;
        const double a0 = p[3];
        // A pole at s = 2/T has no causal realisation.
        if (!(std::fabs(a0) >= DBL_MIN)) {
            std::ostringstream os;
            os << "The D0 coefficient for biquad number " << (i + 1) << " cannot be zero. ";
            DFErrorHandler::PostError(this, os.str().c_str());
            return false;
        }
        p[0] /= a0;
        p[1] /= a0;
        p[2] /= a0;
        p[4] /= a0;
        p[5] /= a0;
        p[3] = 1.0;
    }

    double G = m_SystemGain;
    for (size_t i = 0; i < S; ++i) {
        double* p = m_Coefficients + 6 * i;
        const double b0 = p[0];
        // A zero at s = 2/T leaves b0 = 0; that section keeps its own scale.
        if (!(std::fabs(b0) >= DBL_MIN))
            continue;
        G *= b0;
        p[1] /= b0;
        p[2] /= b0;
        p[0] = 1.0;
    }
    if (G < 0.0 && S >= 2) {
        std::ostringstream os;
        os << "The overall gain of the filter (" << G << ") is negative and cannot be spread over "
           << S << " biquads.";
        DFErrorHandler::PostError(this, os.str().c_str());
        return false;
    }
    const double g = S == 1 ? G : std::pow(G, 1.0 / static_cast<double>(S));
    for (size_t i = 0; i < S; ++i) {
        double* p = m_Coefficients + 6 * i;
        p[0] *= g;
        p[1] *= g;
        p[2] *= g;
    }
    return BiquadCascade::Initialize();
}

bool SDomainIIR::Finalize()
{
    m_iRunBiquads = 0;
    delete[] m_Coefficients;
    m_Coefficients = nullptr;
    return BiquadCascade::Finalize();
}

} // namespace Quenrix
