#include "LFSR.h"

#include "DFErrorHandler.h"

#include <climits>
#include <sstream>
#include <string>

namespace Quenrix {

namespace {

uint64_t LowBits(int iLength)
{
    return iLength >= 64 ? ~uint64_t(0) : ((uint64_t(1) << iLength) - 1);
}

bool IsVector(const Matrix<int>& m)
{
    return m.NumDimensions() <= 2 && (m.Size(0) == 1 || m.Size(1) == 1);
}

// Reads a polynomial or a state vector. Position form (some element above
// 1): the elements are tap positions and the largest is the length. Bit form
// (all 0 or 1): the elements are the bits, first most significant, trailing
// zeros dropped. Returns 0, or the 1-based number of the offending element.
size_t ReadBits(const Matrix<int>& m, uint64_t& uMask, int& iLength)
{
    const size_t n = m.NumElements();
    uMask = 0;
    iLength = 0;
    int largest = 0;
    for (size_t i = 0; i < n; ++i) {
        const int e = m(i);
        if (e < 0 || e > 64)
            return i + 1;
        if (e > largest)
            largest = e;
    }
    if (largest > 1) {
        for (size_t i = 0; i < n; ++i) {
            const int e = m(i);
            if (e == 0 && i + 1 < n)
                return i + 1;
            for (size_t j = 0; j < i; ++j)
                if (m(j) == e)
                    return i + 1;
        }
        iLength = largest;
        for (size_t i = 0; i < n; ++i) {
            const int bit = largest - m(i);
            if (bit < 64) // a trailing 0 names bit "length", outside the register
                uMask |= uint64_t(1) << bit;
        }
        return 0;
    }
    size_t used = n;
    while (used > 0 && m(used - 1) == 0)
        --used;
    iLength = used > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(used);
    for (size_t i = 0; i < used; ++i)
        uMask = (uMask << 1) | static_cast<uint64_t>(m(i));
    return 0;
}

} // namespace

bool LfsrRegister::Init(int iLength, uint64_t uTaps, uint64_t uInitial)
{
    if (iLength < 1 || iLength > 64)
        return false;
    length = iLength;
    taps = uTaps & LowBits(iLength);
    initial = uInitial & LowBits(iLength);
    state = initial;
    return true;
}

bool LfsrRegister::TestTap(int p) const
{
    const int bit = length - p;
    if (length < 1 || bit < 0 || bit >= 64)
        return false;
    return ((state >> bit) & 1u) != 0;
}

void LfsrRegister::Step()
{
    if (length < 1)
        return;
    uint64_t v = taps & state & LowBits(length);
    unsigned parity = 0;
    while (v) {
        parity ^= 1u;
        v &= v - 1;
    }
    state = (state >> 1) | (uint64_t(parity) << (length - 1));
}

LFSR::LFSR()
    : FeedbackTaps(1, 2), InitialState(1, 2), ResetMode(0), InternalResetPeriod(127)
{
    FeedbackTaps(0) = 10;
    FeedbackTaps(1) = 3;
    InitialState(0) = 9;
    InitialState(1) = 5;
}

bool LFSR::ValidateResetPeriod(bool bRepair)
{
    if (ResetMode == 1 && InternalResetPeriod < 1) {
        if (!bRepair) {
            DFErrorHandler::PostError(this, "InternalResetPeriod must be [1,inf)");
            return false;
        }
        DFErrorHandler::PostWarning(this, "InternalResetPeriod has been set to 1.");
        InternalResetPeriod = 1;
    }
    m_Register.counter = InternalResetPeriod;
    return true;
}

bool LFSR::ValidateResetParameters(bool bRepair)
{
    if (ResetMode < 0) {
        ResetMode = 0;
        DFErrorHandler::PostWarning(this, " reset to NO");
    } else if (ResetMode > 1) {
        ResetMode = 1;
        DFErrorHandler::PostWarning(this, " reset to YES");
    }
    return ValidateResetPeriod(bRepair);
}

bool LFSR::Initialize()
{
    m_Register.Clear();
    bool ok = true;
    if (FeedbackTaps.NumElements() == 0) {
        DFErrorHandler::PostError(this, "FeedbackTaps array is empty.");
        ok = false;
    }
    if (InitialState.NumElements() == 0) {
        DFErrorHandler::PostError(this, "InitialState array is empty.");
        return false;
    }
    if (!IsVector(FeedbackTaps)) {
        DFErrorHandler::PostError(this, "FeedbackTaps must be a vector or a 2 dimensional matrix "
                                        "with size of one dimension equal to '1'.");
        ok = false;
    }
    if (!IsVector(InitialState)) {
        DFErrorHandler::PostError(this, "InitialState must be a vector or a 2 dimensional matrix "
                                        "with size of one dimension equal to '1'.");
        return false;
    }
    if (!ok)
        return false;

    uint64_t tapMask = 0;
    int tapLength = 0;
    bool tapsRead = false;
    if (size_t bad = ReadBits(FeedbackTaps, tapMask, tapLength)) {
        std::ostringstream os;
        os << "FeedbackTaps specification error detected at element number " << bad << ".";
        DFErrorHandler::PostError(this, os.str().c_str());
        ok = false;
    } else if (tapMask == 0) {
        DFErrorHandler::PostError(this, "FeedbackTaps must have at least one non-zero element.");
        ok = false;
    } else {
        tapsRead = true;
    }

    uint64_t stateMask = 0;
    int stateLength = 0;
    if (size_t bad = ReadBits(InitialState, stateMask, stateLength)) {
        std::ostringstream os;
        os << "InitialState specification error detected at element number " << bad << ".";
        DFErrorHandler::PostError(this, os.str().c_str());
        ok = false;
    } else if (stateMask == 0) {
        DFErrorHandler::PostError(this, "InitialState must have at least one non-zero element.");
        ok = false;
    } else if (tapsRead && stateLength > tapLength) {
        std::ostringstream os;
        os << "InitialState length (" << stateLength << ") must be "
           << "less than or equal to the LFSR length (" << tapLength << ").";
        DFErrorHandler::PostError(this, os.str().c_str());
        ok = false;
    }
    if (!ok)
        return false;

    // Align the state vector with the register's most significant end.
    const int shift = tapLength - stateLength;
    if (tapLength < 1 || tapLength > 64 ||
        !m_Register.Init(tapLength, tapMask, stateMask << shift)) {
        DFErrorHandler::PostError(this, "LFSR could not be initialized.");
        return false;
    }

    if (ResetMode == 1 && InternalResetPeriod < 1) {
        DFErrorHandler::PostError(this, "InternalResetPeriod must be [1,inf)");
        m_Register.Clear();
        return false;
    }
    m_Register.counter = InternalResetPeriod;

    const size_t nOutputs = output.GetSize();
    if (nOutputs > static_cast<size_t>(m_Register.length)) {
        std::ostringstream os;
        os << "The number of outputs must be less than or equal to the number of bits in the "
              "LFSR.  Currently, there are "
           << nOutputs << " outputs and " << m_Register.length << " bits.";
        DFErrorHandler::PostError(this, os.str().c_str());
        m_Register.Clear();
        return false;
    }
    return true;
}

bool LFSR::Run()
{
    const size_t nOutputs = output.GetSize();
    // Not initialised, or the last Initialize failed.
    if (m_Register.length < 1) {
        for (size_t k = nOutputs; k-- > 0;)
            output[k][0] = 0;
        return false;
    }

    bool bReset = false;
    if (ResetMode == 1) {
        if (--m_Register.counter == 0) {
            m_Register.counter = InternalResetPeriod;
            m_Register.Reset();
            bReset = true;
        }
    } else if (ResetMode == 0) {
        if (reset.IsConnected() && reset.GetBufferMemory() && reset[0] != 0) {
            m_Register.Reset();
            bReset = true;
        }
    }

    for (size_t k = nOutputs; k-- > 0;)
        output[k][0] = k < 64 ? static_cast<int>((m_Register.state >> k) & 1u) : 0;

    if (!bReset) {
        const bool bEnabled =
            !enable.IsConnected() || !enable.GetBufferMemory() || enable[0] != 0;
        if (bEnabled)
            m_Register.Step();
    }
    return true;
}

bool LFSR::Finalize() { return true; }

} // namespace Quenrix
