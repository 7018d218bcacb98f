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

    // Run in two parts, so that a caller running many samples can store the
    // connections once, after the last (no block reads them in between):
    // Step is the blocks' arithmetic on the input value and returns the
    // output; StoreConnections leaves every connection and the external
    // output port as Run does, for the input in the external input port.
    double Step(double x);
    void StoreConnections();
};

// One sample's Step followed by the connection stores; a caller that runs
// many samples may call Step per sample and StoreConnections once at the end.
inline bool ssp_afe_nonlinearity_tanh::Run()
{
    Step(input[0]);
    StoreConnections();
    // The tanh block has no domain check and never fails.
    return true;
}

// The blocks' arithmetic on the sample held in a register. The tanh output
// is kept (stored) on every sample: computing it again would cost a call.
inline double ssp_afe_nonlinearity_tanh::Step(double x)
{
    const double t = Quenrix::TrigTanh::Apply(G2.Apply(G1.Apply(x)));
    m_Slot.T1_m_dOutput_To_G3_input = t;
    return G3.Apply(t);
}

// The gains have no state, so their outputs of the last sample are their
// products on the kept input and tanh output once more, exactly as computed
// then.
inline void ssp_afe_nonlinearity_tanh::StoreConnections()
{
    SlotMemory& m = m_Slot;
    const double x = input[0];
    m.input_To_G1_input = x;
    const double u = G1.Apply(x);
    m.G1_output_To_G2_input = u;
    m.G2_output_To_T1_m_dInput = G2.Apply(u);
    const double y = G3.Apply(m.T1_m_dOutput_To_G3_input);
    m.G3_output_To_output = y;
    output[0] = y;
}
