// Clock and data recovery loop: phase detector, proportional and integral
// paths, VCO and a clock-edge timer that turns the VCO's rising zero
// crossings into times in seconds.
#pragma once

#include "Add.h"
#include "CircularBuffer.h"
#include "ClockTimes.h"
#include "DFModel.h"
#include "Fork.h"
#include "Gain.h"
#include "PhaseDetector.h"
#include "VCO.h"

class usb3_rx_cdr : public Quenrix::DFModel {
public:
    Quenrix::CircularBuffer<double> afe_in;
    Quenrix::CircularBuffer<double> clock;
    Quenrix::CircularBuffer<double> clock_times;
    Quenrix::CircularBuffer<double> pd;
    Quenrix::CircularBuffer<double> integ;
    Quenrix::CircularBuffer<double> vco;

    double SamplesPerBit;
    double BitTime;

    Quenrix::PhaseDetector PD;
    Quenrix::ClockTimes CT;
    Quenrix::VCO VCO;

    Quenrix::Add<double> A1;
    Quenrix::Fork<Quenrix::CircularBuffer<double>> A1_output;
    Quenrix::Gain<double> G1;
    Quenrix::Add<double> A2;
    Quenrix::Fork<Quenrix::CircularBuffer<double>> A2_output;
    Quenrix::Gain<double> G2;
    Quenrix::Fork<Quenrix::CircularBuffer<double>> G2_output;
    Quenrix::Fork<Quenrix::CircularBuffer<double>> PD_phaseError;
    Quenrix::Fork<Quenrix::CircularBuffer<double>> VCO_vout;

    double* m_pBuffer_afe_in_To_PD_signal;
    Quenrix::CircularBuffer<double> afe_in_CirBuf;
    double* m_pBuffer_VCO_vout_output_1__To_clock;
    Quenrix::CircularBuffer<double> clock_CirBuf;
    double* m_pBuffer_CT_time_To_clock_times;
    Quenrix::CircularBuffer<double> clock_times_CirBuf;
    double* m_pBuffer_PD_phaseError_output_2__To_pd;
    Quenrix::CircularBuffer<double> pd_CirBuf;
    double* m_pBuffer_G2_output_output_1__To_integ;
    Quenrix::CircularBuffer<double> integ_CirBuf;
    double* m_pBuffer_A1_output_output_0__To_vco;
    Quenrix::CircularBuffer<double> vco_CirBuf;
    double* m_pBuffer_PD_phaseError_To_PD_phaseError_input;
    double* m_pBuffer_VCO_vout_To_VCO_vout_input;
    int* m_pBuffer_VCO_clock_To_PD_clock;
    double* m_pBuffer_VCO_voutq;
    int* m_pBuffer_VCO_clockq;
    double* m_pBuffer_A1_output_To_A1_output_input;
    double* m_pBuffer_A1_output_output_1__To_VCO_vin;
    double* m_pBuffer_G1_output_To_A1_input_0_;
    double* m_pBuffer_A2_output_To_A2_output_input;
    double* m_pBuffer_A2_output_output_0__To_A2_input_1_;
    double* m_pBuffer_A2_output_output_1__To_G2_input;
    double* m_pBuffer_G2_output_To_G2_output_input;
    double* m_pBuffer_G2_output_output_0__To_A1_input_1_;
    double* m_pBuffer_PD_phaseError_output_0__To_G1_input;
    double* m_pBuffer_PD_phaseError_output_1__To_A2_input_0_;
    double* m_pBuffer_VCO_vout_output_0__To_CT_clock;

    double SampleInterval;
    double BitRate;
    double SampleRate;

    usb3_rx_cdr();
    usb3_rx_cdr(const usb3_rx_cdr&) = delete;
    usb3_rx_cdr& operator=(const usb3_rx_cdr&) = delete;
    ~usb3_rx_cdr() override;

    bool RunEquations();
    bool Setup() override;
    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;
    void DeleteBuffers();
};

// Run is defined here, so that the caller's per-sample loop can inline it.
inline bool usb3_rx_cdr::Run()
{
    afe_in_CirBuf[0] = afe_in[0];

    const bool pdOk = PD.Run();
    {
        const double e = PD_phaseError.input[0];
        PD_phaseError.output[0][0] = e;
        PD_phaseError.output[1][0] = e;
        PD_phaseError.output[2][0] = e;
    }
    A2.Run();
    {
        const double s = A2_output.input[0];
        A2_output.output[0][0] = s;
        A2_output.output[1][0] = s;
    }
    G2.Run();
    {
        const double i = G2_output.input[0];
        G2_output.output[0][0] = i;
        G2_output.output[1][0] = i;
    }
    G1.Run();
    A1.Run();
    {
        const double v = A1_output.input[0];
        A1_output.output[0][0] = v;
        A1_output.output[1][0] = v;
    }
    const bool vcoOk = VCO.Run();
    {
        const double c = VCO_vout.input[0];
        VCO_vout.output[0][0] = c;
        VCO_vout.output[1][0] = c;
    }
    const bool ctOk = CT.Run();

    clock[0] = clock_CirBuf[0];
    clock_times[0] = clock_times_CirBuf[0];
    pd[0] = pd_CirBuf[0];
    integ[0] = integ_CirBuf[0];
    vco[0] = vco_CirBuf[0];
    return ctOk & pdOk & vcoOk;
}
