// Copies one signal to every port of its output bus.
#pragma once

#include "CircularBuffer.h"
#include "DFModel.h"

namespace Quenrix {

template <class T>
class Fork : public DFModel {
public:
    T input;
    CircularBufferBusT<T> output;

    bool Run() override
    {
        const size_t n = output.GetSize();
        for (size_t i = 0; i < n; ++i)
            output[i][0] = input[0];
        return true;
    }
};

} // namespace Quenrix
