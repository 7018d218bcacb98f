// The sixteen trigonometric blocks: results, domain tests, message texts and
// fallback outputs.
#include "Trig.h"

#include "BlockTestUtil.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>
#include <string>

using namespace Quenrix;
using blocktest::CloseRel;
using blocktest::StderrCapture;
using blocktest::Wire;

namespace {

const double kPi = 3.14159265358979323846;
const double kMax = DBL_MAX;
const double kLogMinNormal = -708.3964185322641;

struct TrigCase {
    const char* block;
    std::function<std::unique_ptr<CTrig>()> make;
    double input;
    double expected; // NaN: the output must be NaN
    bool ok;
    std::string message; // without the newline that the sink adds
    double tol = 4e-15;
};

template <class T>
std::function<std::unique_ptr<CTrig>()> Make()
{
    return [] { return std::unique_ptr<CTrig>(new T); };
}

std::string Name(const TrigCase& c)
{
    return std::string(c.block) + "(" + std::to_string(c.input) + ")";
}

TEST(Trig, ResultsMessagesAndFallbacks)
{
    const double halfPi = kPi / 2;
    const TrigCase cases[] = {
        {"Sin", Make<TrigSin>(), 0.5, std::sin(0.5), true, ""},
        {"Sin", Make<TrigSin>(), 4e14, 0.0, false,
         "Sin magnitude |4e+14| exceed 3.753e+14 radians."},
        {"Sin", Make<TrigSin>(), -4e14, 0.0, false,
         "Sin magnitude |-4e+14| exceed 3.753e+14 radians."},
        {"Sin", Make<TrigSin>(), 375299968947541.1, std::sin(375299968947541.1), true, ""},
        {"Cos", Make<TrigCos>(), 1.0, std::cos(1.0), true, ""},
        {"Cos", Make<TrigCos>(), 4e14, 1.0, false,
         "Cos magnitude |4e+14| exceed 3.753e+14 radians."},
        {"Tan", Make<TrigTan>(), -kPi / 4, -1.0, true, ""},
        {"Tan", Make<TrigTan>(), 1.0, std::tan(1.0), true, ""},
        {"Tan", Make<TrigTan>(), 1.0 + 3 * kPi, std::tan(1.0), true, ""},
        {"Tan", Make<TrigTan>(), halfPi, -kMax, false,
         "Tan argument |1.5708| radians maps to MathConstants::PI/2."},
        {"Tan", Make<TrigTan>(), std::nextafter(halfPi, 0.0), kMax, false,
         "Tan argument |1.5708| radians maps to MathConstants::PI/2."},
        {"Tan", Make<TrigTan>(), 4e14, 0.0, false,
         "Tan magnitude |4e+14| exceed 3.753e+14 radians."},
        {"Cot", Make<TrigCot>(), 0.0, kMax, false, "Cot argument 0 radians maps to 0."},
        {"Cot", Make<TrigCot>(), kPi, kMax, false, "Cot argument 3.14159 radians maps to 0."},
        {"Cot", Make<TrigCot>(), -1e-17, -kMax, false,
         "Cot argument -1e-17 radians maps to MathConstants::PI."},
        // Close to pi/2 the result is pi/2 - r; the double pi/2 lies 6e-17
        // below the true one, hence the looser comparison.
        {"Cot", Make<TrigCot>(), halfPi + 1e-9, 1.0 / std::tan(halfPi + 1e-9), true, "", 1e-7},
        // Within 2.1e-8 of pi/2 the result is exactly pi/2 - r in doubles, not
        // 1 / tan(r): the two differ in the eighth digit here. Just outside,
        // it is 1 / tan(r) again.
        {"Cot", Make<TrigCot>(), halfPi + 1e-9, halfPi - (halfPi + 1e-9), true, "", 0.0},
        {"Cot", Make<TrigCot>(), halfPi - 2e-8, halfPi - (halfPi - 2e-8), true, "", 0.0},
        {"Cot", Make<TrigCot>(), halfPi + 3e-8, 1.0 / std::tan(halfPi + 3e-8), true, "", 1e-12},
        {"Cot", Make<TrigCot>(), 1.0, 1.0 / std::tan(1.0), true, ""},
        {"Cot", Make<TrigCot>(), -0.4, 1.0 / std::tan(-0.4), true, ""},
        {"Cot", Make<TrigCot>(), 4e14, kMax, false,
         "Cot magnitude |4e+14| exceed 3.753e+14 radians."},
        {"Asin", Make<TrigAsin>(), -1.5, -halfPi, false, "Asin magnitude |-1.5| exceed 1.0 ."},
        {"Asin", Make<TrigAsin>(), 2.0, halfPi, false, "Asin magnitude |2| exceed 1.0 ."},
        {"Asin", Make<TrigAsin>(), 1.0, halfPi, true, ""},
        {"Asin", Make<TrigAsin>(), 0.3, std::asin(0.3), true, ""},
        {"Acos", Make<TrigAcos>(), -1.5, kPi, false, "Acos magnitude |-1.5| exceed 1.0 ."},
        {"Acos", Make<TrigAcos>(), 2.0, 0.0, false, "Acos magnitude |2| exceed 1.0 ."},
        {"Acos", Make<TrigAcos>(), -1.0, kPi, true, ""},
        {"Atan", Make<TrigAtan>(), 0.7, std::atan(0.7), true, ""},
        {"Atan", Make<TrigAtan>(), 1e300, halfPi, true, ""},
        {"Acot", Make<TrigAcot>(), 1.0, kPi / 4, true, ""},
        {"Acot", Make<TrigAcot>(), -1.0, 3 * kPi / 4, true, ""},
        {"Sinh", Make<TrigSinh>(), 2.0, std::sinh(2.0), true, ""},
        {"Sinh", Make<TrigSinh>(), 710.0, std::sinh(710.0), true, ""},
        {"Sinh", Make<TrigSinh>(), 711.0, kMax, false, "Sinh input magnitude |711| exceed 710.476 ."},
        {"Sinh", Make<TrigSinh>(), -711.0, -kMax, false,
         "Sinh input magnitude |-711| exceed 710.476 ."},
        {"Cosh", Make<TrigCosh>(), -3.0, std::cosh(3.0), true, ""},
        {"Cosh", Make<TrigCosh>(), -711.0, kMax, false,
         "Cosh input magnitude |-711| exceed 710.476 ."},
        {"Tanh", Make<TrigTanh>(), 0.5, std::tanh(0.5), true, ""},
        {"Tanh", Make<TrigTanh>(), 1e300, 1.0, true, ""},
        {"Tanh", Make<TrigTanh>(), -1e300, -1.0, true, ""},
        {"Coth", Make<TrigCoth>(), 0.5, 1.0 / std::tanh(0.5), true, ""},
        {"Coth", Make<TrigCoth>(), 0.0, 4.49423283715579e307, false,
         "1/ |tanh(0)| is below 2.22507e-308 ."},
        {"Coth", Make<TrigCoth>(), -1e-310, -4.49423283715579e307, false,
         "1/ |tanh(-1e-310)| is below 2.22507e-308 ."},
        {"Asinh", Make<TrigAsinh>(), 0.5, std::asinh(0.5), true, ""},
        {"Asinh", Make<TrigAsinh>(), 1e9, std::asinh(1e9), true, ""},
        {"Asinh", Make<TrigAsinh>(), -3.0, std::asinh(-3.0), true, ""},
        {"Asinh", Make<TrigAsinh>(), -1e7, std::asinh(-1e7), true, ""},
        {"Asinh", Make<TrigAsinh>(), -67108864.0, std::asinh(-67108864.0), true, ""},
        {"Asinh", Make<TrigAsinh>(), -1e8, kLogMinNormal, false,
         "Asinh input -1e+08 is less than -6.71089e+07. "},
        {"Acosh", Make<TrigAcosh>(), 1.0, 0.0, true, ""},
        {"Acosh", Make<TrigAcosh>(), 3.0, std::acosh(3.0), true, ""},
        {"Acosh", Make<TrigAcosh>(), 1e9, std::acosh(1e9), true, ""},
        {"Acosh", Make<TrigAcosh>(), 0.5, 0.0, false, "Acosh input 0.5 is less than 1. "},
        {"Acosh", Make<TrigAcosh>(), -2.0, 0.0, false, "Acosh input -2 is less than 1. "},
        {"Atanh", Make<TrigAtanh>(), 0.5, std::atanh(0.5), true, ""},
        {"Atanh", Make<TrigAtanh>(), -0.9, std::atanh(-0.9), true, ""},
        {"Atanh", Make<TrigAtanh>(), 1.0, kMax, false,
         "Atanh input magnitude |1| is greater than or equal to 1. "},
        {"Atanh", Make<TrigAtanh>(), -1.0, kLogMinNormal, false,
         "Atanh input magnitude |-1| is greater than or equal to 1. "},
        {"Acoth", Make<TrigAcoth>(), 3.0, std::atanh(1.0 / 3.0), true, ""},
        {"Acoth", Make<TrigAcoth>(), -2.0, std::atanh(-0.5), true, ""},
        {"Acoth", Make<TrigAcoth>(), 1.0000000000000002, 0.5 * std::log(2.0 / DBL_EPSILON), true,
         ""},
        {"Acoth", Make<TrigAcoth>(), 1.0, kMax, false,
         "Acoth input magnitude |1| is less than or equal to 1. "},
        {"Acoth", Make<TrigAcoth>(), -0.5, kLogMinNormal, false,
         "Acoth input magnitude |-0.5| is less than or equal to 1. "},
        // A NaN fails no test and passes through.
        {"Sin", Make<TrigSin>(), NAN, NAN, true, ""},
        {"Asin", Make<TrigAsin>(), NAN, NAN, true, ""},
        {"Atanh", Make<TrigAtanh>(), NAN, NAN, true, ""},
        {"Acoth", Make<TrigAcoth>(), NAN, NAN, true, ""},
        {"Coth", Make<TrigCoth>(), NAN, NAN, true, ""},
    };
    for (const TrigCase& c : cases) {
        std::unique_ptr<CTrig> block = c.make();
        double in = c.input, out = 12345.0;
        Wire(block->m_dInput, in);
        Wire(block->m_dOutput, out);
        ASSERT_TRUE(block->Initialize());
        StderrCapture cap;
        const bool ok = block->Run();
        const std::string posted = cap.Take();
        EXPECT_EQ(ok, c.ok) << Name(c);
        EXPECT_EQ(posted, c.message.empty() ? "" : c.message + "\n") << Name(c);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(out)) << Name(c);
        else if (!c.ok || c.expected == 0.0 || std::fabs(c.expected) == kMax)
            EXPECT_EQ(out, c.expected) << Name(c);
        else
            EXPECT_TRUE(CloseRel(out, c.expected, c.tol)) << Name(c) << " gave " << out;
        EXPECT_TRUE(block->Finalize());
    }
}

// Across each function's domain the blocks agree with the library functions.
TEST(Trig, SweepAgreesWithTheLibrary)
{
    struct Sweep {
        const char* block;
        std::function<std::unique_ptr<CTrig>()> make;
        double (*ref)(double);
        double lo, hi;
        double tol;
    };
    const Sweep sweeps[] = {
        {"Sin", Make<TrigSin>(), [](double x) { return std::sin(x); }, -50, 50, 0},
        {"Tanh", Make<TrigTanh>(), [](double x) { return std::tanh(x); }, -20, 20, 0},
        {"Tan", Make<TrigTan>(), [](double x) { return std::tan(x); }, -1.5, 1.5, 1e-13},
        {"Asinh", Make<TrigAsinh>(), [](double x) { return std::asinh(x); }, -1e6, 1e6, 1e-14},
        {"Acosh", Make<TrigAcosh>(), [](double x) { return std::acosh(x); }, 1.5, 1e6, 1e-14},
        {"Atanh", Make<TrigAtanh>(), [](double x) { return std::atanh(x); }, -0.99, 0.99, 1e-13},
    };
    for (const Sweep& s : sweeps) {
        std::unique_ptr<CTrig> block = s.make();
        double in = 0.0, out = 0.0;
        Wire(block->m_dInput, in);
        Wire(block->m_dOutput, out);
        for (int i = 0; i <= 400; ++i) {
            in = s.lo + (s.hi - s.lo) * i / 400.0;
            if (in == 0.0)
                continue;
            ASSERT_TRUE(block->Run()) << s.block << " " << in;
            if (s.tol == 0)
                EXPECT_EQ(out, s.ref(in)) << s.block << " " << in;
            else
                EXPECT_TRUE(CloseRel(out, s.ref(in), s.tol)) << s.block << " " << in << " " << out;
        }
    }
}

TEST(Trig, BaseBlockRunWritesNothing)
{
    CTrig base;
    double in = 1.0, out = 7.0;
    Wire(base.m_dInput, in);
    Wire(base.m_dOutput, out);
    EXPECT_TRUE(base.Initialize());
    EXPECT_TRUE(base.Run());
    EXPECT_EQ(out, 7.0);
}

} // namespace
