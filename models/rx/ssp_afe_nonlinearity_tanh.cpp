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
    input.SetRate(1);
    if (input.GetHistoryDepth() < 1)
        input.SetHistoryDepth(1);
    output.SetRate(1);
    if (output.GetHistoryDepth() < 1)
        output.SetHistoryDepth(1);
    return true;
}

bool ssp_afe_nonlinearity_tanh::Initialize()
{
    DeleteBuffers();
    m_pBuffer_input_To_G1_input = new double[1]();
    input_CirBuf.SetBuffer(m_pBuffer_input_To_G1_input, 1, 1, 0);
    G1.input.SetBuffer(m_pBuffer_input_To_G1_input, 1, 1, 0);

    m_pBuffer_G3_output_To_output = new double[1]();
    G3.output.SetBuffer(m_pBuffer_G3_output_To_output, 1, 1, 0);
    output_CirBuf.SetBuffer(m_pBuffer_G3_output_To_output, 1, 1, 0);

    m_pBuffer_T1_m_dOutput_To_G3_input = new double[1]();
    T1.m_dOutput.SetBuffer(m_pBuffer_T1_m_dOutput_To_G3_input, 1, 1, 0);
    G3.input.SetBuffer(m_pBuffer_T1_m_dOutput_To_G3_input, 1, 1, 0);

    m_pBuffer_G1_output_To_G2_input = new double[1]();
    G1.output.SetBuffer(m_pBuffer_G1_output_To_G2_input, 1, 1, 0);
    G2.input.SetBuffer(m_pBuffer_G1_output_To_G2_input, 1, 1, 0);

    m_pBuffer_G2_output_To_T1_m_dInput = new double[1]();
    G2.output.SetBuffer(m_pBuffer_G2_output_To_T1_m_dInput, 1, 1, 0);
    T1.m_dInput.SetBuffer(m_pBuffer_G2_output_To_T1_m_dInput, 1, 1, 0);

    return T1.Initialize();
}

bool ssp_afe_nonlinearity_tanh::Run()
{
    input_CirBuf[0] = input[0];
    G1.Run();
    G2.Run();
    const bool ok = T1.Run();
    G3.Run();
    output[0] = output_CirBuf[0];
    return ok;
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
    for (double** slot : slots) {
        delete[] *slot;
        *slot = nullptr;
    }
}
