// Transmitter top-level model: a symbol-spaced two-tap FIR (main and post
// cursor from the driver settings) followed by the single output pole.
//
//   input -> F1 (BlindFFE) -> F1_output (fork) -+-> FFE_out
//                                               +-> S2 (SDomainIIR) -> output
#pragma once

#include "BlindFFE.h"
#include "CircularBuffer.h"
#include "DFModel.h"
#include "Fork.h"
#include "SDomainIIR.h"

#include <sstream>
#include <string>

class usb3_tx : public Quenrix::DFModel {
public:
    usb3_tx();
    ~usb3_tx() override;
    usb3_tx(const usb3_tx&) = delete;
    usb3_tx& operator=(const usb3_tx&) = delete;

    bool RunEquations();
    bool Setup() override;
    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;
    void DeleteBuffers();

    // external ports
    Quenrix::CircularBuffer<double> input;
    Quenrix::CircularBuffer<double> FFE_out;
    Quenrix::CircularBuffer<double> output;

    // parameters
    double BitTime;
    int SamplesPerBit;
    int xtx_process;
    double xvptx;
    int xtx_boost_en;
    double xtx_boost_lvl;
    int xtxlvl;
    int xtxeq;

    // driver values derived from the settings
    int xn_atten;
    int xn_switch;
    double xtx_vswing;
    double xn_deemph;
    double xtx_deemph_dB;

    std::stringstream MsgStream;

    double tap_main;
    double tap_post;

    Quenrix::BlindFFE F1;
    Quenrix::SDomainIIR S2;
    Quenrix::Fork<Quenrix::CircularBuffer<double>> F1_output;

    double* m_pBuffer_input_To_F1_input;
    Quenrix::CircularBuffer<double> input_CirBuf;
    double* m_pBuffer_F1_output_output_0__To_FFE_out;
    Quenrix::CircularBuffer<double> FFE_out_CirBuf;
    double* m_pBuffer_S2_m_dOutput_0__To_output;
    Quenrix::CircularBuffer<double> output_CirBuf;
    double* m_pBuffer_F1_output_To_F1_output_input;
    double* m_pBuffer_F1_output_output_1__To_S2_m_dInput;

    double SampleInterval;
    double BitRate;
    double SampleRate;
    double pole;
    double gain;

private:
    std::string SettingsText() const;
    bool CheckDriverValues();
};
