// Fibonacci linear-feedback shift register of 1 to 64 bits: each sample the
// low bits of the register go to the outputs and, when enabled, the register
// shifts once. It reloads its initial state from the reset input, or by
// itself every InternalResetPeriod samples.
#pragma once

#include "CircularBuffer.h"
#include "DFModel.h"
#include "Matrix.h"

#include <cstdint>

namespace Quenrix {

class LfsrRegister {
public:
    int length = -1;       // 1..64 once initialised
    uint64_t taps = 0;     // feedback mask over the low length bits
    uint64_t initial = 0;  // state loaded by Reset
    uint64_t state = 0;
    int64_t counter = 0;   // samples left until the next internal reset

    void Clear()
    {
        length = -1;
        state = 0;
    }
    // Keeps the low iLength bits of both masks; false for a length outside 1..64.
    bool Init(int iLength, uint64_t uTaps, uint64_t uInitial);
    void Reset() { state = initial; }
    // Whether tap position p (1..length) is set in the state: bit length - p.
    bool TestTap(int p) const;
    // Feedback is the parity of taps AND state; it enters at the top bit.
    void Step();
};

class LFSR : public DFModel {
public:
    LFSR();

    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;
    // Clamps ResetMode to 0..1 and checks (or, with bRepair, repairs) the
    // internal reset period; loads the counter.
    virtual bool ValidateResetParameters(bool bRepair);
    // The same without the ResetMode clamp.
    bool ValidateResetPeriod(bool bRepair);

    Matrix<int> FeedbackTaps;
    Matrix<int> InitialState;
    int ResetMode; // 0: reset from the reset input; 1: internal reset
    int InternalResetPeriod;
    // A non-zero sample lets the register shift. An enable port without
    // sample memory, or marked unconnected, counts as always enabled.
    CircularBuffer<int> enable;
    // Read only when connected and given sample memory.
    CircularBuffer<int> reset;
    CircularBufferBusT<CircularBuffer<int>> output; // output k carries bit k
    LfsrRegister m_Register;
};

} // namespace Quenrix
