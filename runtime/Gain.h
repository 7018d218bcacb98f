// Scales a signal by m_Gain, which the owner writes before Run.
#pragma once

#include "CircularBuffer.h"
#include "DFModel.h"

namespace Quenrix {

template <class T>
class Gain : public DFModel {
public:
    T m_Gain;
    CircularBuffer<T> input;
    CircularBuffer<T> output;

    bool Run() override
    {
        output[0] = Apply(input[0]);
        return true;
    }

    // The arithmetic of Run on a value, for an owner that holds the input in
    // a register and stores the output to the connection itself.
    T Apply(T x) const { return m_Gain * x; }
};

} // namespace Quenrix
