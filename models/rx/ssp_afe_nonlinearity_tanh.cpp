#include "ssp_afe_nonlinearity_tanh.h"

#include "DFErrorHandler.h"

#include <cmath>

ssp_afe_nonlinearity_tanh::ssp_afe_nonlinearity_tanh()
    : m_pBuffer_input_To_G1_input(nullptr), m_pBuffer_G3_output_To_output(nullptr),
      m_pBuffer_T1_m_dOutput_To_G3_input(nullptr), m_pBuffer_G1_output_To_G2_input(nullptr),
      m_pBuffer_G2_output_To_T1_m_dInput(nullptr)
{
    coeff_tanh_alpha = 1.0;
    coeff_tanh_beta = 1.0;
}

ssp_afe_nonlinearity_tanh::~ssp_afe_nonlinearity_tanh() { DeleteBuffers(); }

bool ssp_afe_nonlinearity_tanh::Setup()
{
    // The third gain is 1/alpha: a zero or non-finite alpha would put an
    // infinity or NaN on every sample, so refuse it here.
    if (!(std::isfinite(coeff_tanh_alpha) && coeff_tanh_alpha != 0.0)) {
        Quenrix::DFErrorHandler::PostError(this, "coeff_tanh_alpha must be a finite non-zero number.");
        return false;
    }
    G1.m_Gain = coeff_tanh_alpha;
    G2.m_Gain = coeff_tanh_beta;
    G3.m_Gain = 1.0 / coeff_tanh_alpha;
    Quenrix::SetPortRate(input);
    Quenrix::SetPortRate(output);
    return true;
}

bool ssp_afe_nonlinearity_tanh::Initialize()
{
    DeleteBuffers();
    Quenrix::UseSlot(m_pBuffer_input_To_G1_input, m_Slot.input_To_G1_input);
    input_CirBuf.SetBuffer(m_pBuffer_input_To_G1_input, 1, 1, 0);
    G1.input.SetBuffer(m_pBuffer_input_To_G1_input, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_G3_output_To_output, m_Slot.G3_output_To_output);
    G3.output.SetBuffer(m_pBuffer_G3_output_To_output, 1, 1, 0);
    output_CirBuf.SetBuffer(m_pBuffer_G3_output_To_output, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_T1_m_dOutput_To_G3_input, m_Slot.T1_m_dOutput_To_G3_input);
    T1.m_dOutput.SetBuffer(m_pBuffer_T1_m_dOutput_To_G3_input, 1, 1, 0);
    G3.input.SetBuffer(m_pBuffer_T1_m_dOutput_To_G3_input, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_G1_output_To_G2_input, m_Slot.G1_output_To_G2_input);
    G1.output.SetBuffer(m_pBuffer_G1_output_To_G2_input, 1, 1, 0);
    G2.input.SetBuffer(m_pBuffer_G1_output_To_G2_input, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_G2_output_To_T1_m_dInput, m_Slot.G2_output_To_T1_m_dInput);
    G2.output.SetBuffer(m_pBuffer_G2_output_To_T1_m_dInput, 1, 1, 0);
    T1.m_dInput.SetBuffer(m_pBuffer_G2_output_To_T1_m_dInput, 1, 1, 0);

    return T1.Initialize();
}

bool ssp_afe_nonlinearity_tanh::Finalize()
{
    const bool ok = T1.Finalize();
    DeleteBuffers();
    return ok;
}

void ssp_afe_nonlinearity_tanh::DeleteBuffers()
{
    double** slots[] = {&m_pBuffer_input_To_G1_input, &m_pBuffer_G3_output_To_output,
                        &m_pBuffer_T1_m_dOutput_To_G3_input, &m_pBuffer_G1_output_To_G2_input,
                        &m_pBuffer_G2_output_To_T1_m_dInput};
    // The sample memory is the model's own (m_Slot); only the pointers go.
    for (double** slot : slots)
        *slot = nullptr;
}
