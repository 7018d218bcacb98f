// Receiver analog front end: the CTLE as an s-domain IIR filter whose gain,
// zeros and poles come from built-in tables chosen by process corner and boost
// step, followed by the tanh saturation stage.
#pragma once

#include "CircularBuffer.h"
#include "DFModel.h"
#include "Fork.h"
#include "SDomainIIR.h"
#include "ssp_afe_nonlinearity_tanh.h"

#include <sstream>

class usb3_rx_afe_sd : public Quenrix::DFModel {
public:
    Quenrix::CircularBuffer<double> input;
    Quenrix::CircularBuffer<double> AFE_ctle_lin;
    Quenrix::CircularBuffer<double> AFE_ctle_nl;

    double BitTime;
    int SamplesPerBit;
    int xrx_process;
    int xboost;

    std::ostringstream MsgStream;

    Quenrix::SDomainIIR CTLE;
    ssp_afe_nonlinearity_tanh NL;

    Quenrix::Fork<Quenrix::CircularBuffer<double>> CTLE_output;

    double* m_pBuffer_input_To_CTLE_m_dInput;
    Quenrix::CircularBuffer<double> input_CirBuf;
    double* m_pBuffer_CTLE_output_output_0__To_AFE_ctle_lin;
    Quenrix::CircularBuffer<double> AFE_ctle_lin_CirBuf;
    double* m_pBuffer_NL_output_To_AFE_ctle_nl;
    Quenrix::CircularBuffer<double> AFE_ctle_nl_CirBuf;
    double* m_pBuffer_CTLE_m_dOutput_0__To_CTLE_output_input;
    double* m_pBuffer_CTLE_output_output_1__To_NL_input;

    double SampleInterval;
    double BitRate;
    double SampleRate;

    double* RxFilterCTLE_gain;
    double* RxFilterCTLE_num;
    double* RxFilterCTLE_den;
    int size_RxFilterCTLE_gain;
    int size_RxFilterCTLE_num;
    int size_RxFilterCTLE_den;
    double* RxNL_CTLE;
    int size_RxNL_CTLE;
    const char* const* m_pc_all_coefs;

    // The sample memory of the connections, one element each, named after
    // their slot pointers, which Initialize points here.
    struct SlotMemory {
        double input_To_CTLE_m_dInput;
        double CTLE_output_output_0__To_AFE_ctle_lin;
        double NL_output_To_AFE_ctle_nl;
        double CTLE_m_dOutput_0__To_CTLE_output_input;
        double CTLE_output_output_1__To_NL_input;
    } m_Slot{};

    usb3_rx_afe_sd();
    usb3_rx_afe_sd(const usb3_rx_afe_sd&) = delete;
    usb3_rx_afe_sd& operator=(const usb3_rx_afe_sd&) = delete;
    ~usb3_rx_afe_sd() override;

    bool RunEquations();
    bool Setup() override;
    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;
    void DeleteBuffers();

    // Run in two parts, as in usb3_rx: Step gives the tanh stage's output in
    // nl; StoreConnections stores the fork's outputs, the tanh stage's
    // connections and the external ports.
    bool Step(double x, double& nl);
    void StoreConnections();

    bool Set_Lin_NL_values();
    bool ConvertStrToArray(const char* text, double** out, int* count, int denflag);
    void DeleteArrayParameters();
};

// One sample's Step followed by the connection stores; a caller that runs
// many samples may call Step per sample and StoreConnections once at the end.
inline bool usb3_rx_afe_sd::Run()
{
    double nl;
    const bool ok = Step(input[0], nl);
    StoreConnections();
    return ok;
}

// The filter reads its input through its port, so that connection is
// stored on every sample; the filter's output is read back through the
// port that has just written it, so the compiler can use the value it still
// holds.
inline bool usb3_rx_afe_sd::Step(double x, double& nl)
{
    m_Slot.input_To_CTLE_m_dInput = x;
    const bool ctle = CTLE.Run();
    nl = NL.Step(CTLE.m_dOutput[0][0]);
    return ctle;
}

// The connections of Run, in its order: the input port, the fork, the tanh
// stage, then the external ports.
inline void usb3_rx_afe_sd::StoreConnections()
{
    SlotMemory& m = m_Slot;
    m.input_To_CTLE_m_dInput = input[0];
    const double y = m.CTLE_m_dOutput_0__To_CTLE_output_input;
    m.CTLE_output_output_0__To_AFE_ctle_lin = y;
    m.CTLE_output_output_1__To_NL_input = y;
    NL.StoreConnections();
    AFE_ctle_lin[0] = y;
    AFE_ctle_nl[0] = m.NL_output_To_AFE_ctle_nl;
}
