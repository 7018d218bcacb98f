// Small helpers shared by the block tests.
#pragma once

#include "CircularBuffer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace blocktest {

// Points a port at a one-element slot, as a model wires a connection.
template <class T>
void Wire(Quenrix::CircularBuffer<T>& port, T& slot)
{
    port.SetBuffer(&slot, 1, 1, 0);
}

// Captures what the blocks post to standard error.
class StderrCapture {
public:
    StderrCapture() { testing::internal::CaptureStderr(); }
    ~StderrCapture()
    {
        if (!m_bTaken)
            testing::internal::GetCapturedStderr();
    }
    std::string Take()
    {
        m_bTaken = true;
        return testing::internal::GetCapturedStderr();
    }

private:
    bool m_bTaken = false;
};

// |a - b| <= tol * |b|, with an absolute floor for b near 0.
inline bool CloseRel(double a, double b, double tol)
{
    const double scale = std::fabs(b) > 1e-300 ? std::fabs(b) : 1.0;
    return std::fabs(a - b) <= tol * scale;
}

} // namespace blocktest
