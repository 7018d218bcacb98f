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

    ssp_afe_nonlinearity_tanh();
    ssp_afe_nonlinearity_tanh(const ssp_afe_nonlinearity_tanh&) = delete;
    ssp_afe_nonlinearity_tanh& operator=(const ssp_afe_nonlinearity_tanh&) = delete;
    ~ssp_afe_nonlinearity_tanh() override;

    bool Setup() override;
    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;
    void DeleteBuffers();
};
