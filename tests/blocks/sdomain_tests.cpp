// The s-domain filter and the biquad cascade, checked against the analog
// transfer function through the bilinear-transform identity
//   H_digital(e^{jwT}) = H_analog(j (2/T) tan(wT/2)).
#include "BiquadCascade.h"
#include "SDomainIIR.h"

#include "BlockTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <string>
#include <vector>

using namespace Quenrix;
using blocktest::StderrCapture;
using blocktest::Wire;
using cd = std::complex<double>;

namespace {

const double kPi = 3.14159265358979323846;

struct Roots {
    std::vector<double> realPoles, realZeros;
    std::vector<cd> complexPoles, complexZeros;
    double k = 1.0;
    double fs = 1e6;
    FreqUnitE unit = eRad;
};

template <class T>
void Load(Matrix<T>& m, const std::vector<T>& v)
{
    if (v.empty()) {
        m.Resize(0, 0);
        return;
    }
    m.Resize(1, v.size());
    m.CopyFrom(v.data(), v.size());
}

void Configure(SDomainIIR& f, const Roots& r)
{
    f.SampleRate = r.fs;
    f.m_SystemGain = r.k;
    Load(f.m_RealPoles, r.realPoles);
    Load(f.m_RealZeros, r.realZeros);
    Load(f.m_ComplexConjugatePoles, r.complexPoles);
    Load(f.m_ComplexConjugateZeros, r.complexZeros);
    f.m_FreqUnit = r.unit;
}

// H(s) evaluated straight from the roots (in rad/s) and k.
cd AnalogH(const Roots& r, cd s)
{
    const double u = r.unit == eHz ? 2.0 * kPi : 1.0;
    cd h = r.k;
    for (double z : r.realZeros)
        h *= s - u * z;
    for (cd q : r.complexZeros)
        h *= (s - u * q) * (s - u * std::conj(q));
    for (double p : r.realPoles)
        h /= s - u * p;
    for (cd q : r.complexPoles)
        h /= (s - u * q) * (s - u * std::conj(q));
    return h;
}

// Response of the built sections at angular frequency w (rad/s).
cd DigitalH(const SDomainIIR& f, double w)
{
    const cd zi = std::polar(1.0, -w / f.SampleRate); // z^-1
    cd h = 1.0;
    for (size_t i = 0; i < f.m_iNumBiquads; ++i) {
        const double* c = f.m_Coefficients + 6 * i;
        h *= (c[0] + zi * (c[1] + zi * c[2])) / (c[3] + zi * (c[4] + zi * c[5]));
    }
    return h;
}

Roots DefaultRoots()
{
    Roots r;
    r.k = 1.1616128054708951e29;
    r.fs = 1e6;
    r.realPoles = {-650148.0708064173};
    r.complexPoles = {cd(-200906.8027392695, 618327.5592971661),
                      cd(-525980.8381424781, 382147.44782641466)};
    return r;
}

// Six real poles and three real zeros, of the size a receiver CTLE uses.
Roots CtleRoots()
{
    Roots r;
    r.k = 1.025165e42;
    r.fs = 1.6e11;
    r.realPoles = {-1.0e+20, -8.407530e+10, -3.809723e+10, -1.162016e+10, -2.381471e+07,
                   -2.311391e+07};
    r.realZeros = {-1.866687e+09, 0.0, 0.0};
    return r;
}

// One real pole given in Hz, unity gain at DC.
Roots FirstOrderRoots()
{
    Roots r;
    r.k = 2.0 * kPi * 1.1122e10;
    r.fs = 1.6e11;
    r.unit = eHz;
    r.realPoles = {-1.1122e10};
    return r;
}

// Complex zeros, an odd real zero left over and more zeros than poles.
Roots MixedRoots()
{
    Roots r;
    r.k = 3.5e-4;
    r.fs = 2e9;
    r.realPoles = {-3e8, -9e8, -2e9};
    r.complexPoles = {cd(-5e8, 7e8)};
    r.realZeros = {-4e8, 1e8, -6e9};
    r.complexZeros = {cd(-1e8, 2e9), cd(3e8, -5e8)};
    return r;
}

// A zero exactly at s = 2/T, where the section's b0 vanishes.
Roots ZeroAtTwoOverT()
{
    Roots r;
    r.k = 3.0;
    r.fs = 1.0;
    r.realPoles = {-1.0};
    r.realZeros = {2.0};
    return r;
}

struct IdentityCase {
    const char* name;
    Roots (*make)();
    size_t sections;
    // Lowest test frequency, as a fraction of Nyquist. Below it a pole pair
    // sits so close to z = 1 that the rounding of the direct-form
    // coefficients themselves, not the mapping, sets the error.
    double lowest;
};

class BilinearIdentity : public testing::TestWithParam<IdentityCase> {};

TEST_P(BilinearIdentity, DigitalResponseEqualsAnalogAtPrewarpedFrequency)
{
    const Roots r = GetParam().make();
    SDomainIIR f;
    Configure(f, r);
    ASSERT_TRUE(f.Initialize());
    ASSERT_EQ(f.m_iNumBiquads, GetParam().sections);
    const double T = 1.0 / r.fs;
    for (double frac : {1e-6, 1e-5, 1e-4, 1e-3, 0.01, 0.05, 0.1, 0.25, 0.5, 0.7, 0.9, 0.97}) {
        if (frac < GetParam().lowest)
            continue;
        const double w = frac * kPi / T;
        const cd s(0.0, (2.0 / T) * std::tan(w * T / 2.0));
        const cd ha = AnalogH(r, s);
        const cd hd = DigitalH(f, w);
        EXPECT_LE(std::abs(hd - ha), 1e-9 * std::abs(ha))
            << GetParam().name << " at " << frac << " of Nyquist: digital " << hd << " analog "
            << ha;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Filters, BilinearIdentity,
    testing::Values(IdentityCase{"default fifth order", DefaultRoots, 3, 0.0},
                    IdentityCase{"ctle six poles three zeros", CtleRoots, 3, 1e-4},
                    IdentityCase{"first order in Hz", FirstOrderRoots, 1, 0.0},
                    IdentityCase{"mixed complex and real", MixedRoots, 4, 0.0},
                    IdentityCase{"zero at 2/T", ZeroAtTwoOverT, 1, 0.0}),
    [](const testing::TestParamInfo<IdentityCase>& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

// A steady sinusoid driven through Run comes out scaled and shifted by H.
TEST(SDomainIIRRun, SteadySinusoidMatchesAnalogResponse)
{
    struct Case {
        Roots (*make)();
        double frac; // of Nyquist
        int samples;
    };
    for (const Case& c : {Case{DefaultRoots, 0.2, 400}, Case{DefaultRoots, 0.03, 3000},
                          Case{FirstOrderRoots, 0.15, 400}, Case{CtleRoots, 0.1, 300000}}) {
        const Roots r = c.make();
        SDomainIIR f;
        Configure(f, r);
        double in = 0.0, out = 0.0;
        Wire(f.m_dInput, in);
        Wire(f.m_dOutput[0], out);
        ASSERT_TRUE(f.Initialize());
        const double T = 1.0 / r.fs;
        const double wT = c.frac * kPi;
        const cd h = AnalogH(r, cd(0.0, (2.0 / T) * std::tan(wT / 2.0)));
        for (int n = 0; n < c.samples; ++n) {
            in = std::cos(wT * n);
            ASSERT_TRUE(f.Run());
        }
        const int n = c.samples - 1;
        const double expected = std::abs(h) * std::cos(wT * n + std::arg(h));
        EXPECT_NEAR(out, expected, 1e-9 * std::abs(h)) << "fraction " << c.frac;
    }
}

TEST(SDomainIIRRun, DefaultFilterHasUnityGainAtDc)
{
    SDomainIIR f;
    double in = 1.0, out = 0.0;
    Wire(f.m_dInput, in);
    Wire(f.m_dOutput[0], out);
    ASSERT_TRUE(f.Initialize());
    EXPECT_NEAR(std::abs(DigitalH(f, 0.0)), 1.0, 1e-12);
    for (int n = 0; n < 300; ++n)
        f.Run();
    EXPECT_NEAR(out, 1.0, 1e-12);
}

TEST(SDomainIIRLayout, DefaultFilterIsTwoPairsThenAFirstOrderSection)
{
    SDomainIIR f;
    ASSERT_TRUE(f.Initialize());
    ASSERT_EQ(f.m_iNumCoefficients, 18);
    ASSERT_EQ(f.m_iNumBiquads, 3u);
    const double* c = f.m_Coefficients;
    const double c2 = 2e6; // 2 / T
    // Section 2: the real pole, first order; numerator (1, 1, 0) times g.
    const double p = -650148.0708064173;
    EXPECT_DOUBLE_EQ(c[12 + 1], c[12 + 0]);
    EXPECT_EQ(c[12 + 2], 0.0);
    EXPECT_DOUBLE_EQ(c[12 + 4], -(c2 + p) / (c2 - p));
    EXPECT_EQ(c[12 + 5], 0.0);
    // Sections 0 and 1: the pole pairs over a (1, 2, 1) numerator.
    const cd q[2] = {cd(-200906.8027392695, 618327.5592971661),
                     cd(-525980.8381424781, 382147.44782641466)};
    for (int i = 0; i < 2; ++i) {
        const double* s = c + 6 * i;
        const double m2 = std::norm(q[i]);
        const double a0 = c2 * c2 - 2 * c2 * q[i].real() + m2;
        EXPECT_EQ(s[3], 1.0);
        EXPECT_DOUBLE_EQ(s[4], 2 * (m2 - c2 * c2) / a0);
        EXPECT_DOUBLE_EQ(s[5], (c2 * c2 + 2 * c2 * q[i].real() + m2) / a0);
        EXPECT_DOUBLE_EQ(s[1], 2 * s[0]);
        EXPECT_DOUBLE_EQ(s[2], s[0]);
    }
    // The gain is spread evenly: every section has the same b0.
    EXPECT_DOUBLE_EQ(c[0], c[6]);
    EXPECT_DOUBLE_EQ(c[0], c[12]);
}

TEST(SDomainIIRLayout, FirstOrderSectionMatchesHandDerivation)
{
    SDomainIIR f;
    Configure(f, FirstOrderRoots());
    ASSERT_TRUE(f.Initialize());
    ASSERT_EQ(f.m_iNumBiquads, 1u);
    const double c = 2.0 * 1.6e11;
    const double p = -2.0 * kPi * 1.1122e10;
    const double k = 2.0 * kPi * 1.1122e10;
    const double G = k / (c - p);
    const double* s = f.m_Coefficients;
    EXPECT_NEAR(s[0], G, 1e-15 * G);
    EXPECT_NEAR(s[1], G, 1e-15 * G);
    EXPECT_EQ(s[2], 0.0);
    EXPECT_EQ(s[3], 1.0);
    EXPECT_NEAR(s[4], -(c + p) / (c - p), 1e-15);
    EXPECT_EQ(s[5], 0.0);

    double in = 1.0, out = 0.0;
    Wire(f.m_dInput, in);
    Wire(f.m_dOutput[0], out);
    for (int n = 0; n < 200; ++n)
        f.Run();
    EXPECT_NEAR(out, 1.0, 1e-12);
}

TEST(SDomainIIRLayout, ZerosFillSectionsIndependentlyOfThePoles)
{
    SDomainIIR f;
    Configure(f, CtleRoots());
    ASSERT_TRUE(f.Initialize());
    ASSERT_EQ(f.m_iNumBiquads, 3u);
    const double c = 2.0 * 1.6e11;
    const double* s = f.m_Coefficients;
    // Section 0: the zero pair (-1.866687e9, 0).
    const double z1 = -1.866687e+09, z2 = 0.0;
    const double b0 = (c - z1) * (c - z2);
    EXPECT_NEAR(s[1] / s[0], (-(c - z2) * (c + z1) - (c - z1) * (c + z2)) / b0, 1e-14);
    EXPECT_NEAR(s[2] / s[0], (c + z1) * (c + z2) / b0, 1e-14);
    // Section 1: the odd zero 0 times (1 + z^-1), that is (c, 0, -c).
    EXPECT_EQ(s[6 + 1], 0.0);
    EXPECT_DOUBLE_EQ(s[6 + 2], -s[6 + 0]);
    // Section 2: no zeros left, numerator (1, 2, 1).
    EXPECT_DOUBLE_EQ(s[12 + 1], 2 * s[12 + 0]);
    EXPECT_DOUBLE_EQ(s[12 + 2], s[12 + 0]);
}

// The gain is spread evenly: every section's b0 is the cube root of
// k * prod(b0 / a0) taken over the unnormalised sections, worked out here
// from the roots.
TEST(SDomainIIRLayout, CtleGainIsSpreadEvenlyOverTheSections)
{
    const Roots r = CtleRoots();
    SDomainIIR f;
    Configure(f, r);
    ASSERT_TRUE(f.Initialize());
    ASSERT_EQ(f.m_iNumBiquads, 3u);
    const double c = 2.0 * r.fs;
    const std::vector<double>& p = r.realPoles;
    const std::vector<double>& z = r.realZeros;
    // Numerators: the zero pair, the odd zero as (c - z, -2z, -(c + z)), then (1, 2, 1).
    const double b0[3] = {(c - z[0]) * (c - z[1]), c - z[2], 1.0};
    // Denominators: the three pole pairs.
    const double a0[3] = {(c - p[0]) * (c - p[1]), (c - p[2]) * (c - p[3]),
                          (c - p[4]) * (c - p[5])};
    double G = r.k;
    for (int i = 0; i < 3; ++i)
        G *= b0[i] / a0[i];
    const double g = std::cbrt(G);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(f.m_Coefficients[6 * i], g, 1e-13 * g) << "section " << i;
        EXPECT_EQ(f.m_Coefficients[6 * i + 3], 1.0) << "section " << i;
    }
}

// An odd real pole that does not land in the last section is written as its
// first-order factor times (1 + z^-1); the last section then holds the
// (1, 1, 0) fill of an odd order, while the odd zero, which does land there,
// stays first order.
TEST(SDomainIIRLayout, OddRealPoleBeforeTheLastSectionIsSecondOrder)
{
    Roots r;
    r.fs = 1e6;
    r.k = 1.0;
    r.realPoles = {-1e5, -2e5, -3e5};
    r.realZeros = {-4e5, -5e5, -6e5, -7e5, -8e5};
    SDomainIIR f;
    Configure(f, r);
    ASSERT_TRUE(f.Initialize());
    ASSERT_EQ(f.m_iNumBiquads, 3u); // N = 5
    const double c = 2e6;
    const double* s = f.m_Coefficients;
    // Section 0: pole pair (-1e5, -2e5); zero pair (-4e5, -5e5).
    {
        const double p1 = -1e5, p2 = -2e5, z1 = -4e5, z2 = -5e5;
        const double a0 = (c - p1) * (c - p2), b0 = (c - z1) * (c - z2);
        EXPECT_DOUBLE_EQ(s[4], (-(c - p2) * (c + p1) - (c - p1) * (c + p2)) / a0);
        EXPECT_DOUBLE_EQ(s[5], (c + p1) * (c + p2) / a0);
        EXPECT_DOUBLE_EQ(s[1] / s[0], (-(c - z2) * (c + z1) - (c - z1) * (c + z2)) / b0);
        EXPECT_DOUBLE_EQ(s[2] / s[0], (c + z1) * (c + z2) / b0);
    }
    // Section 1: (c - p - (c + p) z^-1)(1 + z^-1) for p = -3e5, that is
    // (2.3e6, 6e5, -1.7e6); zero pair (-6e5, -7e5).
    EXPECT_DOUBLE_EQ(s[6 + 4], 6e5 / 2.3e6);
    EXPECT_DOUBLE_EQ(s[6 + 5], -1.7e6 / 2.3e6);
    EXPECT_DOUBLE_EQ(s[6 + 1] / s[6 + 0], (-(c + 6e5) * (c - 7e5) - (c + 7e5) * (c - 6e5)) /
                                              ((c + 6e5) * (c + 7e5)));
    // Section 2: denominator (1, 1, 0); the odd zero -8e5 first order,
    // (2.8e6, -1.2e6, 0).
    EXPECT_EQ(s[12 + 3], 1.0);
    EXPECT_EQ(s[12 + 4], 1.0);
    EXPECT_EQ(s[12 + 5], 0.0);
    EXPECT_DOUBLE_EQ(s[12 + 1] / s[12 + 0], -1.2e6 / 2.8e6);
    EXPECT_EQ(s[12 + 2], 0.0);
    // And the whole still realises H(s).
    const double w = 0.2 * kPi * r.fs;
    const cd ha = AnalogH(r, cd(0.0, 2.0 * r.fs * std::tan(w / r.fs / 2.0)));
    EXPECT_LE(std::abs(DigitalH(f, w) - ha), 1e-9 * std::abs(ha));
}

TEST(SDomainIIRLayout, NoRootsIsAPureGain)
{
    SDomainIIR f;
    f.m_SystemGain = 2.0;
    f.m_RealPoles.Resize(0, 0);
    f.m_ComplexConjugatePoles.Resize(0, 0);
    double in = 0.0, out = 0.0;
    Wire(f.m_dInput, in);
    Wire(f.m_dOutput[0], out);
    ASSERT_TRUE(f.Initialize());
    EXPECT_EQ(f.m_iNumCoefficients, 6);
    for (double x : {1.0, -0.25, 3.5}) {
        in = x;
        f.Run();
        EXPECT_EQ(out, 2.0 * x);
    }
}

TEST(SDomainIIRLayout, HzRootsAreConvertedInPlaceOnEveryInitialize)
{
    SDomainIIR f;
    Configure(f, FirstOrderRoots());
    f.m_ComplexConjugateZeros.Resize(1, 1);
    f.m_ComplexConjugateZeros(0) = cd(-1.0, 2.0);
    ASSERT_TRUE(f.Initialize());
    EXPECT_DOUBLE_EQ(f.m_RealPoles(0), -1.1122e10 * 6.283185307179586);
    EXPECT_DOUBLE_EQ(f.m_ComplexConjugateZeros(0).imag(), 2.0 * 6.283185307179586);
    EXPECT_EQ(f.m_FreqUnit, eHz);
    ASSERT_TRUE(f.Initialize());
    EXPECT_DOUBLE_EQ(f.m_RealPoles(0), -1.1122e10 * 6.283185307179586 * 6.283185307179586);
}

TEST(SDomainIIRLayout, ReinitializeZeroesTheState)
{
    SDomainIIR f;
    double in = 1.0, out = 0.0;
    Wire(f.m_dInput, in);
    Wire(f.m_dOutput[0], out);
    ASSERT_TRUE(f.Initialize());
    for (int n = 0; n < 20; ++n)
        f.Run();
    ASSERT_TRUE(f.Finalize());
    EXPECT_EQ(f.m_Coefficients, nullptr);
    // With the coefficients released, Run leaves the output alone.
    out = -7.0;
    EXPECT_TRUE(f.Run());
    EXPECT_EQ(out, -7.0);
    ASSERT_TRUE(f.Initialize());
    in = 0.0;
    f.Run();
    EXPECT_EQ(out, 0.0);
}

struct FailureCase {
    const char* label;
    void (*setup)(SDomainIIR&);
    const char* message;
};

TEST(SDomainIIRFailures, EachFaultPostsOneMessageAndFails)
{
    const FailureCase cases[] = {
        {"zero rate", [](SDomainIIR& f) { f.SampleRate = 0.0; }, "SampleRate must be positive.\n"},
        {"negative rate", [](SDomainIIR& f) { f.SampleRate = -1e9; },
         "SampleRate must be positive.\n"},
        {"NaN rate", [](SDomainIIR& f) { f.SampleRate = std::nan(""); },
         "SampleRate must be positive.\n"},
        {"pole at 2/T",
         [](SDomainIIR& f) {
             f.SampleRate = 1.0;
             f.m_ComplexConjugatePoles.Resize(0, 0);
             f.m_RealPoles(0) = 2.0;
         },
         "The D0 coefficient for biquad number 1 cannot be zero. \n"},
        {"negative gain over three sections", [](SDomainIIR& f) { f.m_SystemGain = -1.0; },
         "The overall gain of the filter (-*) is negative and cannot be spread over 3 biquads.\n"},
    };
    for (const FailureCase& c : cases) {
        SDomainIIR f;
        c.setup(f);
        StderrCapture cap;
        EXPECT_FALSE(f.Initialize()) << c.label;
        // A '*' stands for a number that the text carries.
        const std::string got = cap.Take();
        const std::string want = c.message;
        const size_t star = want.find('*');
        if (star == std::string::npos) {
            EXPECT_EQ(got, want) << c.label;
        } else {
            EXPECT_EQ(got.substr(0, star), want.substr(0, star)) << c.label;
            const std::string tail = want.substr(star + 1);
            ASSERT_GE(got.size(), tail.size()) << got;
            EXPECT_EQ(got.substr(got.size() - tail.size()), tail) << c.label;
        }
        // Run after a failed Initialize touches nothing it should not.
        double in = 1.0, out = -7.0;
        Wire(f.m_dInput, in);
        Wire(f.m_dOutput[0], out);
        EXPECT_TRUE(f.Run());
        EXPECT_EQ(out, -7.0) << c.label;
    }
}

TEST(SDomainIIRFailures, RateFailureKeepsTheEarlierFilter)
{
    SDomainIIR f;
    ASSERT_TRUE(f.Initialize());
    const double* before = f.m_Coefficients;
    f.SampleRate = 0.0;
    StderrCapture cap;
    EXPECT_FALSE(f.Initialize());
    EXPECT_EQ(f.m_Coefficients, before);
    EXPECT_DOUBLE_EQ(f.m_RealPoles(0), -650148.0708064173);
}

TEST(SDomainIIRFailures, NegativeGainOnOneSectionIsAllowed)
{
    SDomainIIR f;
    Roots r = FirstOrderRoots();
    r.k = -r.k;
    Configure(f, r);
    ASSERT_TRUE(f.Initialize());
    const double w = 0.3 * kPi * r.fs;
    const cd s(0.0, 2.0 * r.fs * std::tan(w / r.fs / 2.0));
    EXPECT_LE(std::abs(DigitalH(f, w) - AnalogH(r, s)), 1e-12 * std::abs(AnalogH(r, s)));
}

// The cascade used on its own with coefficients that its owner supplies.
class CascadeFixture : public testing::Test {
protected:
    BiquadCascade b;
    std::vector<double> coef;
    double in = 0.0, out0 = 0.0, out1 = 0.0;

    void Use(std::vector<double> c)
    {
        coef = std::move(c);
        b.m_Coefficients = coef.data();
        b.m_iNumCoefficients = static_cast<int>(coef.size());
        Wire(b.m_dInput, in);
    }
};

TEST_F(CascadeFixture, TapCountMustBeAPositiveMultipleOfSix)
{
    for (int n : {0, 7, -6}) {
        Use(std::vector<double>(12, 1.0));
        b.m_iNumCoefficients = n;
        StderrCapture cap;
        EXPECT_FALSE(b.Initialize());
        EXPECT_EQ(cap.Take(), "The number of parameter taps must not be zero and must be a multiple "
                              "of 6 taps. There are currently " +
                                  std::to_string(n) + " taps.\n");
    }
}

TEST_F(CascadeFixture, MissingCoefficientArrayIsRejected)
{
    b.m_iNumCoefficients = 6;
    StderrCapture cap;
    EXPECT_FALSE(b.Initialize());
    EXPECT_EQ(cap.Take(), "The biquad coefficients have not been set.\n");
}

TEST_F(CascadeFixture, ZeroD0IsRejectedWithItsNumberAndHalfIsNormalised)
{
    Use({1, 0, 0, 0.5, 0.25, 0, 1, 0, 0, 0, 0, 0});
    StderrCapture cap;
    EXPECT_FALSE(b.Initialize());
    EXPECT_EQ(cap.Take(), "The D0 coefficient for biquad number 2 cannot be zero. \n");
    // The section before the bad one is already normalised.
    EXPECT_EQ(coef[0], 2.0);
    EXPECT_EQ(coef[3], 1.0);
    EXPECT_EQ(coef[4], 0.5);
    b.m_dOutput.Initialize(1);
    Wire(b.m_dOutput[0], out0);
    out0 = -7.0;
    in = 1.0;
    EXPECT_TRUE(b.Run());
    EXPECT_EQ(out0, -7.0);
}

TEST_F(CascadeFixture, MoreOutputsThanSectionsFails)
{
    Use({1, 0, 0, 1, 0, 0});
    b.m_dOutput.Initialize(2);
    Wire(b.m_dOutput[0], out0);
    Wire(b.m_dOutput[1], out1);
    StderrCapture cap;
    EXPECT_FALSE(b.Initialize());
    EXPECT_EQ(cap.Take(), "The number of outputs must be less than or equal to the number of "
                          "biquads in the cascade.  Currently, there are 2 outputs and 1 biquads.\n");
    in = 3.0;
    EXPECT_TRUE(b.Run()); // state exists; the extra port is simply not written
    EXPECT_EQ(out0, 3.0);
}

TEST_F(CascadeFixture, PortOneCarriesTheOutputBeforeTheLastSection)
{
    // Section 0: gain 2; section 1: y = w + w[n-1] (b = 1, 1, 0).
    Use({2, 0, 0, 1, 0, 0, 1, 1, 0, 1, 0, 0});
    b.m_dOutput.Initialize(2);
    Wire(b.m_dOutput[0], out0);
    Wire(b.m_dOutput[1], out1);
    ASSERT_TRUE(b.Initialize());
    const double x[] = {1.0, 0.0, -3.0, 0.5};
    double prev = 0.0;
    for (double v : x) {
        in = v;
        b.Run();
        EXPECT_EQ(out1, 2.0 * v);
        EXPECT_EQ(out0, 2.0 * v + 2.0 * prev);
        prev = v;
    }
}

TEST_F(CascadeFixture, DirectFormTwoRecursionOfOneSection)
{
    // y[n] = 0.5 x[n] + 0.25 x[n-1] + 0.9 y[n-1] - 0.2 y[n-2], a0 given as 2.
    Use({1.0, 0.5, 0.0, 2.0, -1.8, 0.4});
    b.m_dOutput.Initialize(1);
    Wire(b.m_dOutput[0], out0);
    ASSERT_TRUE(b.Initialize());
    double x1 = 0, y1 = 0, y2 = 0;
    for (int n = 0; n < 50; ++n) {
        const double x = std::sin(0.3 * n) + (n == 0 ? 1.0 : 0.0);
        in = x;
        b.Run();
        const double y = 0.5 * x + 0.25 * x1 + 0.9 * y1 - 0.2 * y2;
        EXPECT_NEAR(out0, y, 1e-12);
        x1 = x;
        y2 = y1;
        y1 = y;
    }
}

// Every section count, with port 0 only, with no port at all, and with a port
// per section, against the recursion written out here: the same operations
// in the same order, so the outputs agree exactly.
TEST(BiquadCascadeCounts, EverySectionCountAndPortWidthRunsTheSameRecursion)
{
    for (size_t sections = 1; sections <= 5; ++sections) {
        for (size_t ports : {size_t{0}, size_t{1}, sections}) {
            std::vector<double> coef;
            for (size_t j = 0; j < sections; ++j) {
                const double k = static_cast<double>(j + 1);
                const double c[6] = {0.5 / k, 0.25 * k, -0.125, 1.0, -0.9 / k, 0.2 + 0.01 * k};
                coef.insert(coef.end(), c, c + 6);
            }
            BiquadCascade b;
            b.m_Coefficients = coef.data();
            b.m_iNumCoefficients = static_cast<int>(coef.size());
            double in = 0.0;
            std::vector<double> out(ports, -7.0);
            Wire(b.m_dInput, in);
            b.m_dOutput.Initialize(ports);
            for (size_t p = 0; p < ports; ++p)
                Wire(b.m_dOutput[p], out[p]);
            ASSERT_TRUE(b.Initialize());
            std::vector<double> s1(sections, 0.0), s2(sections, 0.0), y(sections);
            for (int n = 0; n < 40; ++n) {
                in = std::sin(0.7 * n) + (n == 0 ? 1.0 : 0.0);
                double x = in;
                for (size_t j = 0; j < sections; ++j) {
                    const double* c = &coef[6 * j];
                    const double w = (x - c[4] * s1[j]) - c[5] * s2[j];
                    y[j] = (c[0] * w + c[1] * s1[j]) + c[2] * s2[j];
                    s2[j] = s1[j];
                    s1[j] = w;
                    x = y[j];
                }
                ASSERT_TRUE(b.Run());
                for (size_t p = 0; p < ports; ++p)
                    ASSERT_EQ(out[p], y[sections - 1 - p]) << sections << " " << ports << " " << n;
                for (size_t j = 0; j < sections; ++j) {
                    ASSERT_EQ(b.m_State1[j], s1[j]);
                    ASSERT_EQ(b.m_State2[j], s2[j]);
                }
            }
        }
    }
}

} // namespace
