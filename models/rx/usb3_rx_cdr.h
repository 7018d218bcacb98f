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

    // The sample memory of the connections, one element each, named after
    // their slot pointers, which Initialize points here.
    struct SlotMemory {
        double afe_in_To_PD_signal;
        double VCO_vout_output_1__To_clock;
        double CT_time_To_clock_times;
        double PD_phaseError_output_2__To_pd;
        double G2_output_output_1__To_integ;
        double A1_output_output_0__To_vco;
        double PD_phaseError_To_PD_phaseError_input;
        double VCO_vout_To_VCO_vout_input;
        int VCO_clock_To_PD_clock;
        double VCO_voutq;
        int VCO_clockq;
        double A1_output_To_A1_output_input;
        double A1_output_output_1__To_VCO_vin;
        double G1_output_To_A1_input_0_;
        double A2_output_To_A2_output_input;
        double A2_output_output_0__To_A2_input_1_;
        double A2_output_output_1__To_G2_input;
        double G2_output_To_G2_output_input;
        double G2_output_output_0__To_A1_input_1_;
        double PD_phaseError_output_0__To_G1_input;
        double PD_phaseError_output_1__To_A2_input_0_;
        double VCO_vout_output_0__To_CT_clock;
    } m_Slot{};

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
// connection memory of the block's output and of every fork output, which is
// where the ports that Initialize wired read and write; the blocks' own reads
// of those connections would return the same values, so they are left out.
// The feedback chain from the phase detector to the VCO thus runs through
// registers instead of stores and reloads, and every slot still holds what
// the blocks' Run would leave in it.
inline bool usb3_rx_cdr::Run()
{
    SlotMemory& m = m_Slot;
    const double x = afe_in[0];
    m.afe_in_To_PD_signal = x;

    const double e = PD.Step(m.VCO_clock_To_PD_clock, x);
    m.PD_phaseError_To_PD_phaseError_input = e;
    m.PD_phaseError_output_0__To_G1_input = e;
    m.PD_phaseError_output_1__To_A2_input_0_ = e;
    m.PD_phaseError_output_2__To_pd = e;

    const double s = A2.Sum(e, m.A2_output_output_0__To_A2_input_1_);
    m.A2_output_To_A2_output_input = s;
    m.A2_output_output_0__To_A2_input_1_ = s;
    m.A2_output_output_1__To_G2_input = s;

    const double i = G2.Apply(s);
    m.G2_output_To_G2_output_input = i;
    m.G2_output_output_0__To_A1_input_1_ = i;
    m.G2_output_output_1__To_integ = i;

    const double p = G1.Apply(e);
    m.G1_output_To_A1_input_0_ = p;

    const double v = A1.Sum(p, i);
    m.A1_output_To_A1_output_input = v;
    m.A1_output_output_0__To_vco = v;
    m.A1_output_output_1__To_VCO_vin = v;

    const Quenrix::VCO::Outputs o = VCO.Step(v);
    m.VCO_vout_To_VCO_vout_input = o.vout;
    m.VCO_clock_To_PD_clock = o.clock;
    m.VCO_voutq = o.voutq;
    m.VCO_clockq = o.clockq;
    m.VCO_vout_output_0__To_CT_clock = o.vout;
    m.VCO_vout_output_1__To_clock = o.vout;

    const double t = CT.Step(o.vout);
    m.CT_time_To_clock_times = t;

    clock[0] = o.vout;
    clock_times[0] = t;
    pd[0] = e;
    integ[0] = i;
    vco[0] = v;
    // The detector, the VCO and the timer never fail in Run.
    return true;
}
