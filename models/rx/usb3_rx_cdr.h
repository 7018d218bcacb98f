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

    // Run in two parts, as in usb3_rx: Step gives the timer's output in t;
    // StoreConnections stores the forks' outputs, the loop filter's
    // connections and the external ports.
    bool Step(double x, double& t);
    void StoreConnections();

private:
    // The proportional and integral paths on the phase error e and the
    // running sum s: G2's, G1's and A1's outputs.
    struct Filtered {
        double i, p, v;
    };
    Filtered LoopFilter(double e, double s) const
    {
        const double i = G2.Apply(s);
        const double p = G1.Apply(e);
        return {i, p, A1.Sum(p, i)};
    }
};

// One sample's Step followed by the connection stores; a caller that runs
// many samples may call Step per sample and StoreConnections once at the end.
inline bool usb3_rx_cdr::Run()
{
    double t;
    const bool ok = Step(afe_in[0], t);
    StoreConnections();
    return ok;
}

// Each block's arithmetic (its Step, Apply or Sum, the body of its Run) takes
// the sample just computed, held in a register, so the feedback chain from
// the phase detector to the VCO runs through registers. Stored on every
// sample: what no block can compute again, the outputs of the blocks with
// state, and the running sum in the connection that the adder reads on the
// next sample.
inline bool usb3_rx_cdr::Step(double x, double& t)
{
    SlotMemory& m = m_Slot;
    const double e = PD.Step(m.VCO_clock_To_PD_clock, x);
    m.PD_phaseError_To_PD_phaseError_input = e;

    const double s = A2.Sum(e, m.A2_output_output_0__To_A2_input_1_);
    m.A2_output_output_0__To_A2_input_1_ = s;

    const Quenrix::VCO::Outputs o = VCO.Step(LoopFilter(e, s).v);
    m.VCO_vout_To_VCO_vout_input = o.vout;
    m.VCO_clock_To_PD_clock = o.clock;
    m.VCO_voutq = o.voutq;
    m.VCO_clockq = o.clockq;

    t = CT.Step(o.vout);
    m.CT_time_To_clock_times = t;
    // The detector, the VCO and the timer never fail in Run.
    return true;
}

// The connections of Run, in its order: the input port, each block's output
// and fork's outputs, then the external ports. The loop filter has no state
// of its own: its results are computed again from the phase error and the
// running sum that Step kept, exactly as Step computed them.
inline void usb3_rx_cdr::StoreConnections()
{
    SlotMemory& m = m_Slot;
    m.afe_in_To_PD_signal = afe_in[0];
    const double e = m.PD_phaseError_To_PD_phaseError_input;
    m.PD_phaseError_output_0__To_G1_input = e;
    m.PD_phaseError_output_1__To_A2_input_0_ = e;
    m.PD_phaseError_output_2__To_pd = e;
    const double s = m.A2_output_output_0__To_A2_input_1_;
    m.A2_output_To_A2_output_input = s;
    m.A2_output_output_1__To_G2_input = s;
    const Filtered f = LoopFilter(e, s);
    m.G2_output_To_G2_output_input = f.i;
    m.G2_output_output_0__To_A1_input_1_ = f.i;
    m.G2_output_output_1__To_integ = f.i;
    m.G1_output_To_A1_input_0_ = f.p;
    m.A1_output_To_A1_output_input = f.v;
    m.A1_output_output_0__To_vco = f.v;
    m.A1_output_output_1__To_VCO_vin = f.v;
    const double vout = m.VCO_vout_To_VCO_vout_input;
    m.VCO_vout_output_0__To_CT_clock = vout;
    m.VCO_vout_output_1__To_clock = vout;

    clock[0] = vout;
    clock_times[0] = m.CT_time_To_clock_times;
    pd[0] = e;
    integ[0] = f.i;
    vco[0] = f.v;
}
