// Top-level receiver model: the analog front end feeds, through a fork, both
// the equalised output and the clock and data recovery loop.
#pragma once

#include "CircularBuffer.h"
#include "DFModel.h"
#include "Fork.h"
#include "usb3_rx_afe_sd.h"
#include "usb3_rx_cdr.h"

#include <sstream>

class usb3_rx : public Quenrix::DFModel {
public:
    Quenrix::CircularBuffer<double> input;
    Quenrix::CircularBuffer<double> clock;
    Quenrix::CircularBuffer<double> clock_times;
    Quenrix::CircularBuffer<double> pd;
    Quenrix::CircularBuffer<double> integ;
    Quenrix::CircularBuffer<double> vco;
    Quenrix::CircularBuffer<double> afe_out_nl;
    Quenrix::CircularBuffer<double> afe_out_lin;

    double BitTime;
    double SamplesPerBit;
    double xrx_process;
    double xboost;

    usb3_rx_afe_sd AFE;
    std::ostringstream MsgStream;
    usb3_rx_cdr CDR;

    Quenrix::Fork<Quenrix::CircularBuffer<double>> AFE_AFE_ctle_nl;

    double* m_pBuffer_input_To_AFE_input;
    Quenrix::CircularBuffer<double> input_CirBuf;
    double* m_pBuffer_CDR_clock_To_clock;
    Quenrix::CircularBuffer<double> clock_CirBuf;
    double* m_pBuffer_CDR_clock_times_To_clock_times;
    Quenrix::CircularBuffer<double> clock_times_CirBuf;
    double* m_pBuffer_CDR_pd_To_pd;
    Quenrix::CircularBuffer<double> pd_CirBuf;
    double* m_pBuffer_CDR_integ_To_integ;
    Quenrix::CircularBuffer<double> integ_CirBuf;
    double* m_pBuffer_CDR_vco_To_vco;
    Quenrix::CircularBuffer<double> vco_CirBuf;
    double* m_pBuffer_AFE_AFE_ctle_nl_output_0__To_afe_out_nl;
    Quenrix::CircularBuffer<double> afe_out_nl_CirBuf;
    double* m_pBuffer_AFE_AFE_ctle_lin_To_afe_out_lin;
    Quenrix::CircularBuffer<double> afe_out_lin_CirBuf;
    double* m_pBuffer_AFE_AFE_ctle_nl_To_AFE_AFE_ctle_nl_input;
    double* m_pBuffer_AFE_AFE_ctle_nl_output_1__To_CDR_afe_in;

    double SampleInterval;
    double BitRate;
    double SampleRate;

    // The sample memory of the connections, one element each, named after
    // their slot pointers, which Initialize points here.
    struct SlotMemory {
        double input_To_AFE_input;
        double CDR_clock_To_clock;
        double CDR_clock_times_To_clock_times;
        double CDR_pd_To_pd;
        double CDR_integ_To_integ;
        double CDR_vco_To_vco;
        double AFE_AFE_ctle_nl_output_0__To_afe_out_nl;
        double AFE_AFE_ctle_lin_To_afe_out_lin;
        double AFE_AFE_ctle_nl_To_AFE_AFE_ctle_nl_input;
        double AFE_AFE_ctle_nl_output_1__To_CDR_afe_in;
    } m_Slot{};

    usb3_rx();
    usb3_rx(const usb3_rx&) = delete;
    usb3_rx& operator=(const usb3_rx&) = delete;
    ~usb3_rx() override;

    bool RunEquations();
    bool Setup() override;
    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;
    void DeleteBuffers();

    // Run in two parts. Step runs every block of one sample on the input
    // value and gives the two values a host reads, the equalised sample nl
    // and the clock time t; it stores only what cannot be computed again
    // cheaply (the outputs of blocks with state, the feedback and the tanh
    // output); the rest comes from those in StoreConnections, which
    // leaves every connection and port as Run does, for the input in
    // the external input port. Nothing reads them between two samples, so a
    // caller running a block of samples stores them once, after the last.
    bool Step(double x, double& nl, double& t);
    void StoreConnections();
};

// One sample's Step followed by the connection stores; a caller that runs
// many samples may call Step per sample and StoreConnections once at the end.
inline bool usb3_rx::Run()
{
    double nl, t;
    const bool ok = Step(input[0], nl, t);
    StoreConnections();
    return ok;
}

inline bool usb3_rx::Step(double x, double& nl, double& t)
{
    const bool afe = AFE.Step(x, nl);
    const bool cdr = CDR.Step(nl, t);
    return cdr & afe;
}

// The connections of Run, in its order: the input port, the front end's,
// the fork's, the clock recovery's, then the external output ports.
inline void usb3_rx::StoreConnections()
{
    SlotMemory& m = m_Slot;
    m.input_To_AFE_input = input[0];
    AFE.StoreConnections();
    const double nl = m.AFE_AFE_ctle_nl_To_AFE_AFE_ctle_nl_input;
    m.AFE_AFE_ctle_nl_output_0__To_afe_out_nl = nl;
    m.AFE_AFE_ctle_nl_output_1__To_CDR_afe_in = nl;
    CDR.StoreConnections();
    clock[0] = m.CDR_clock_To_clock;
    clock_times[0] = m.CDR_clock_times_To_clock_times;
    pd[0] = m.CDR_pd_To_pd;
    integ[0] = m.CDR_integ_To_integ;
    vco[0] = m.CDR_vco_To_vco;
    afe_out_nl[0] = nl;
    afe_out_lin[0] = m.AFE_AFE_ctle_lin_To_afe_out_lin;
}
