// Trigonometric and hyperbolic blocks: one input, one output, no state. An
// argument outside a function's domain is reported, a fixed finite fallback
// is written to the output, and Run returns false.
#pragma once

#include "CircularBuffer.h"
#include "DFModel.h"

#include <cmath>

namespace Quenrix {

class CTrig : public DFModel {
public:
    bool Initialize() override;
    bool Finalize() override;
    ~CTrig() override;

    CircularBuffer<double> m_dInput;
    CircularBuffer<double> m_dOutput;
};

#define QUENRIX_TRIG_BLOCK(Name)                                                               \
    class Name : public CTrig {                                                                \
    public:                                                                                    \
        bool Run() override;                                                                   \
    }

QUENRIX_TRIG_BLOCK(TrigSin);
QUENRIX_TRIG_BLOCK(TrigCos);
QUENRIX_TRIG_BLOCK(TrigTan);
QUENRIX_TRIG_BLOCK(TrigCot);
QUENRIX_TRIG_BLOCK(TrigAsin);
QUENRIX_TRIG_BLOCK(TrigAcos);
QUENRIX_TRIG_BLOCK(TrigAtan);
QUENRIX_TRIG_BLOCK(TrigAcot);
QUENRIX_TRIG_BLOCK(TrigSinh);
QUENRIX_TRIG_BLOCK(TrigCosh);
// Defined here, as the receiver's front end runs it once per sample.
class TrigTanh : public CTrig {
public:
    bool Run() override
    {
        m_dOutput[0] = Apply(m_dInput[0]);
        return true;
    }
    // The arithmetic of Run on a value.
    static double Apply(double x) { return std::tanh(x); }
};
QUENRIX_TRIG_BLOCK(TrigCoth);
QUENRIX_TRIG_BLOCK(TrigAsinh);
QUENRIX_TRIG_BLOCK(TrigAcosh);
QUENRIX_TRIG_BLOCK(TrigAtanh);
QUENRIX_TRIG_BLOCK(TrigAcoth);

#undef QUENRIX_TRIG_BLOCK

} // namespace Quenrix
