// Saturation of the receiver front end after the CTLE:
// y = tanh(alpha * beta * x) / alpha, a chain of three gains around tanh.
#pragma once

#include "CircularBuffer.h"
#include "DFModel.h"
#include "Gain.h"
#include "Trig.h"

class ssp_afe_nonlinearity_tanh : public Quenrix::DFModel {
public:
    Quenrix::CircularBuffer<double> input;
    Quenrix::CircularBuffer<double> output;

    double coeff_tanh_alpha;
    double coeff_tanh_beta;

    Quenrix::TrigTanh T1;
    Quenrix::Gain<double> G1;
    Quenrix::Gain<double> G2;
    Quenrix::Gain<double> G3;

    double* m_pBuffer_input_To_G1_input;
    Quenrix::CircularBuffer<double> input_CirBuf;
    double* m_pBuffer_G3_output_To_output;
    Quenrix::CircularBuffer<double> output_CirBuf;
    double* m_pBuffer_T1_m_dOutput_To_G3_input;
    double* m_pBuffer_G1_output_To_G2_input;
    double* m_pBuffer_G2_output_To_T1_m_dInput;

    // The sample memory of the connections, one element each, named after
    // their slot pointers, which Initialize points here.
    struct SlotMemory {
        double input_To_G1_input;
        double G3_output_To_output;
        double T1_m_dOutput_To_G3_input;
        double G1_output_To_G2_input;
        double G2_output_To_T1_m_dInput;
    } m_Slot{};

    ssp_afe_nonlinearity_tanh();
    ssp_afe_nonlinearity_tanh(const ssp_afe_nonlinearity_tanh&) = delete;
    ssp_afe_nonlinearity_tanh& operator=(const ssp_afe_nonlinearity_tanh&) = delete;
    ~ssp_afe_nonlinearity_tanh() override;

    bool Setup() override;
    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;
    void DeleteBuffers();

    // Run in two parts, so that a caller running many samples can make the
    // copies once, after the last (no block reads them in between):
    // Step is the blocks' arithmetic on the input value, each result stored
    // to its producer's connection, and returns the output;
    double Step(double x);
    // CopyConnections copies the external input port to its connection and
    // the last result to the external output port, as Run does.
    void CopyConnections();
};

// Run is defined here, so that the caller's per-sample loop can inline it:
// the blocks' arithmetic (Step), then the copies between connections.
inline bool ssp_afe_nonlinearity_tanh::Run()
{
    Step(input[0]);
    CopyConnections();
    // The tanh block has no domain check and never fails.
    return true;
}

// Each block's arithmetic runs on the sample held in a register and its
// result is stored once, to the connection its producer writes (m_Slot).
inline double ssp_afe_nonlinearity_tanh::Step(double x)
{
    SlotMemory& m = m_Slot;
    const double u = G1.Apply(x);
    m.G1_output_To_G2_input = u;
    const double w = G2.Apply(u);
    m.G2_output_To_T1_m_dInput = w;
    const double t = Quenrix::TrigTanh::Apply(w);
    m.T1_m_dOutput_To_G3_input = t;
    const double y = G3.Apply(t);
    m.G3_output_To_output = y;
    return y;
}

inline void ssp_afe_nonlinearity_tanh::CopyConnections()
{
    m_Slot.input_To_G1_input = input[0];
    output[0] = m_Slot.G3_output_To_output;
}
