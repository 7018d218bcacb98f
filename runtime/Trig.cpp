#include "Trig.h"

#include "DFErrorHandler.h"

#include <cmath>
#include <sstream>

namespace Quenrix {

namespace {

const double kPi = 3.141592653589793;
const double kHalfPi = 1.5707963267948966;
const double kLn2 = 0.6931471805599453;
const double kMaxDouble = 1.7976931348623157e308;
const double kMinNormal = 2.2250738585072014e-308;
const double kLogMinNormal = -708.3964185322641;
const double kCothFallback = 4.49423283715579e307; // 2^1022
const double kCircularLimit = 375299968947541.1;   // beyond this a radian has no digits left
const double kHyperbolicLimit = 710.4758600739439; // largest finite sinh/cosh argument
const double kPoleMargin = 6.975736996017264e-16;  // pi * 2^-52
const double kCotFlat = 2.1073424255447017e-08;    // below this, cot(r) = pi/2 - r exactly enough
const double kTwoPow26 = 67108864.0;
const double kBelowOne = 0.9999999999999998; // 1 - 2^-52
const double kAboveOne = 1.0000000000000002; // 1 + 2^-52

// Only the error paths build text; the numbers use the stream's default
// format, as "%g" would.
template <class... Pieces>
void Post(DFModel* pBlock, const Pieces&... pieces)
{
    std::ostringstream os;
    (os << ... << pieces);
    DFErrorHandler::PostError(pBlock, os.str().c_str());
}

// Reduces x into [0, pi).
double ReduceToPi(double x)
{
    double r = std::fmod(x, kPi);
    if (r < 0.0)
        r += kPi;
    return r;
}

} // namespace

bool CTrig::Initialize() { return true; }
bool CTrig::Finalize() { return true; }
CTrig::~CTrig() {}

bool TrigSin::Run()
{
    const double x = m_dInput[0];
    if (std::fabs(x) > kCircularLimit) {
        Post(this, "Sin magnitude |", x, "| exceed ", kCircularLimit, " radians.");
        m_dOutput[0] = 0.0;
        return false;
    }
    m_dOutput[0] = std::sin(x);
    return true;
}

bool TrigCos::Run()
{
    const double x = m_dInput[0];
    if (std::fabs(x) > kCircularLimit) {
        Post(this, "Cos magnitude |", x, "| exceed ", kCircularLimit, " radians.");
        m_dOutput[0] = 1.0;
        return false;
    }
    m_dOutput[0] = std::cos(x);
    return true;
}

bool TrigTan::Run()
{
    const double x = m_dInput[0];
    if (std::fabs(x) > kCircularLimit) {
        Post(this, "Tan magnitude |", x, "| exceed ", kCircularLimit, " radians.");
        m_dOutput[0] = 0.0;
        return false;
    }
    const double r = ReduceToPi(x);
    if (std::fabs(r - kHalfPi) < kPoleMargin) {
        Post(this, "Tan argument |", x, "| radians maps to MathConstants::PI/2.");
        m_dOutput[0] = r < kHalfPi ? kMaxDouble : -kMaxDouble;
        return false;
    }
    m_dOutput[0] = std::tan(r);
    return true;
}

bool TrigCot::Run()
{
    const double x = m_dInput[0];
    if (std::fabs(x) > kCircularLimit) {
        Post(this, "Cot magnitude |", x, "| exceed ", kCircularLimit, " radians.");
        m_dOutput[0] = kMaxDouble;
        return false;
    }
    const double r = ReduceToPi(x);
    if (std::fabs(r) < kPoleMargin) {
        Post(this, "Cot argument ", x, " radians maps to 0.");
        m_dOutput[0] = kMaxDouble;
        return false;
    }
    if (std::fabs(r - kPi) < kPoleMargin) {
        Post(this, "Cot argument ", x, " radians maps to MathConstants::PI.");
        m_dOutput[0] = -kMaxDouble;
        return false;
    }
    if (std::fabs(r - kHalfPi) < kCotFlat)
        m_dOutput[0] = kHalfPi - r;
    else
        m_dOutput[0] = 1.0 / std::tan(r);
    return true;
}

bool TrigAsin::Run()
{
    const double x = m_dInput[0];
    if (std::fabs(x) > 1.0) {
        Post(this, "Asin magnitude |", x, "| exceed 1.0 .");
        m_dOutput[0] = x < 0.0 ? -kHalfPi : kHalfPi;
        return false;
    }
    m_dOutput[0] = std::asin(x);
    return true;
}

bool TrigAcos::Run()
{
    const double x = m_dInput[0];
    if (std::fabs(x) > 1.0) {
        Post(this, "Acos magnitude |", x, "| exceed 1.0 .");
        m_dOutput[0] = x < 0.0 ? kPi : 0.0;
        return false;
    }
    m_dOutput[0] = std::acos(x);
    return true;
}

bool TrigAtan::Run()
{
    m_dOutput[0] = std::atan(m_dInput[0]);
    return true;
}

bool TrigAcot::Run()
{
    m_dOutput[0] = kHalfPi - std::atan(m_dInput[0]);
    return true;
}

bool TrigSinh::Run()
{
    const double x = m_dInput[0];
    if (std::fabs(x) > kHyperbolicLimit) {
        Post(this, "Sinh input magnitude |", x, "| exceed ", kHyperbolicLimit, " .");
        m_dOutput[0] = x < 0.0 ? -kMaxDouble : kMaxDouble;
        return false;
    }
    m_dOutput[0] = std::sinh(x);
    return true;
}

bool TrigCosh::Run()
{
    const double x = m_dInput[0];
    if (std::fabs(x) > kHyperbolicLimit) {
        Post(this, "Cosh input magnitude |", x, "| exceed ", kHyperbolicLimit, " .");
        m_dOutput[0] = kMaxDouble;
        return false;
    }
    m_dOutput[0] = std::cosh(x);
    return true;
}

bool TrigTanh::Run()
{
    m_dOutput[0] = std::tanh(m_dInput[0]);
    return true;
}

bool TrigCoth::Run()
{
    const double x = m_dInput[0];
    const double t = std::tanh(x);
    if (std::fabs(t) < kMinNormal) {
        Post(this, "1/ |tanh(", x, ")| is below ", kMinNormal, " .");
        m_dOutput[0] = t < 0.0 ? -kCothFallback : kCothFallback;
        return false;
    }
    m_dOutput[0] = 1.0 / t;
    return true;
}

namespace {
// log(x + sqrt(x*x + 1)) for x >= 0, switching to log(x) + ln 2 where x*x
// would lose the 1.
double AsinhOfNonNegative(double x)
{
    if (x > kTwoPow26)
        return std::log(x) + kLn2;
    return std::log(x + std::sqrt(x * x + 1.0));
}
} // namespace

bool TrigAsinh::Run()
{
    const double x = m_dInput[0];
    if (x < -kTwoPow26) {
        Post(this, "Asinh input ", x, " is less than ", -kTwoPow26, ". ");
        m_dOutput[0] = kLogMinNormal;
        return false;
    }
    // For negative x the formula cancels to log(0) near -2^26; asinh is odd,
    // so take it from |x|.
    m_dOutput[0] = x < 0.0 ? -AsinhOfNonNegative(-x) : AsinhOfNonNegative(x);
    return true;
}

bool TrigAcosh::Run()
{
    const double x = m_dInput[0];
    if (x < 1.0) {
        Post(this, "Acosh input ", x, " is less than 1. ");
        m_dOutput[0] = 0.0;
        return false;
    }
    if (x > kTwoPow26)
        m_dOutput[0] = std::log(x) + kLn2;
    else
        m_dOutput[0] = std::log(x + std::sqrt(std::fabs(x * x - 1.0)));
    return true;
}

bool TrigAtanh::Run()
{
    const double x = m_dInput[0];
    if (std::fabs(x) > kBelowOne) {
        Post(this, "Atanh input magnitude |", x, "| is greater than or equal to 1. ");
        m_dOutput[0] = x < 0.0 ? kLogMinNormal : kMaxDouble;
        return false;
    }
    m_dOutput[0] = 0.5 * std::log((1.0 + x) / (1.0 - x));
    return true;
}

bool TrigAcoth::Run()
{
    const double x = m_dInput[0];
    if (std::fabs(x) < kAboveOne) {
        Post(this, "Acoth input magnitude |", x, "| is less than or equal to 1. ");
        m_dOutput[0] = x < 0.0 ? kLogMinNormal : kMaxDouble;
        return false;
    }
    m_dOutput[0] = 0.5 * std::log((x + 1.0) / (x - 1.0));
    return true;
}

} // namespace Quenrix
