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
// Each block's arithmetic (its Step or Apply, the body of its Run) takes the
// sample just computed, held in a register, and the result is stored to the
// block's output port and copied by the fork to every output as Run would
// do; the blocks' own reads of those connections would return the same
// values, so they are left out, and the feedback chain from the phase
// detector to the VCO runs through registers instead of stores and reloads.
// Every slot still holds what the blocks' Run would leave in it.
inline bool usb3_rx_cdr::Run()
{
    const double x = afe_in[0];
    afe_in_CirBuf[0] = x;

    const double e = PD.Step(PD.clock[0], x);
    PD.phaseError[0] = e;
    PD_phaseError.output[0][0] = e;
    PD_phaseError.output[1][0] = e;
    PD_phaseError.output[2][0] = e;

    const double s = A2.Sum(e, A2.input[1][0]);
    A2.output[0] = s;
    A2_output.output[0][0] = s;
    A2_output.output[1][0] = s;

    const double i = G2.Apply(s);
    G2.output[0] = i;
    G2_output.output[0][0] = i;
    G2_output.output[1][0] = i;

    const double p = G1.Apply(e);
    G1.output[0] = p;

    const double v = A1.Sum(p, i);
    A1.output[0] = v;
    A1_output.output[0][0] = v;
    A1_output.output[1][0] = v;

    const Quenrix::VCO::Outputs o = VCO.Step(v);
    VCO.Store(o);
    VCO_vout.output[0][0] = o.vout;
    VCO_vout.output[1][0] = o.vout;

    const double t = CT.Step(o.vout);
    CT.time[0] = t;

    clock[0] = o.vout;
    clock_times[0] = t;
    pd[0] = e;
    integ[0] = i;
    vco[0] = v;
    // The detector, the VCO and the timer never fail in Run.
    return true;
}
