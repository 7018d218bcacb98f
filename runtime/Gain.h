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
        output[0] = m_Gain * input[0];
        return true;
    }
};

} // namespace Quenrix
