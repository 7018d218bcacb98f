// Sums the ports of its input bus, in bus order.
#pragma once

#include "CircularBuffer.h"
#include "DFModel.h"

namespace Quenrix {

template <class T>
class Add : public DFModel {
public:
    CircularBufferBusT<CircularBuffer<T>> input;
    CircularBuffer<T> output;

    // The output is stored once, after the sum: every partial sum stored on
    // the way would be overwritten, and each store would force the next
    // input to be reloaded in case it shared the output's memory.
    bool Run() override
    {
        T sum = T(0);
        const size_t n = input.GetSize();
        for (size_t i = 0; i < n; ++i)
            sum += input[i][0];
        output[0] = sum;
        return true;
    }

    // The arithmetic of Run on values given in bus order.
    static T Sum(T first, T second)
    {
        T sum = T(0);
        sum += first;
        sum += second;
        return sum;
    }
};

} // namespace Quenrix
