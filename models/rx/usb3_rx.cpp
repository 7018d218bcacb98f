#include "usb3_rx.h"

#include <climits>
#include <cmath>

namespace {

// Truncation toward zero of a parameter that reaches the front end as an int.
// A NaN or a value beyond the range of int has no integer to truncate to; it
// becomes INT_MIN, which no table accepts, so Setup fails instead of the
// conversion being undefined.
int TruncateToInt(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

usb3_rx::usb3_rx()
    : m_pBuffer_input_To_AFE_input(nullptr), m_pBuffer_CDR_clock_To_clock(nullptr),
      m_pBuffer_CDR_clock_times_To_clock_times(nullptr), m_pBuffer_CDR_pd_To_pd(nullptr),
      m_pBuffer_CDR_integ_To_integ(nullptr), m_pBuffer_CDR_vco_To_vco(nullptr),
      m_pBuffer_AFE_AFE_ctle_nl_output_0__To_afe_out_nl(nullptr),
      m_pBuffer_AFE_AFE_ctle_lin_To_afe_out_lin(nullptr),
      m_pBuffer_AFE_AFE_ctle_nl_To_AFE_AFE_ctle_nl_input(nullptr),
      m_pBuffer_AFE_AFE_ctle_nl_output_1__To_CDR_afe_in(nullptr), SampleInterval(0.0),
      BitRate(0.0), SampleRate(0.0)
{
    BitTime = 2e-10;
    SamplesPerBit = 32.0;
    xrx_process = 0.0;
    xboost = 5.0;
}

usb3_rx::~usb3_rx() { DeleteBuffers(); }

bool usb3_rx::RunEquations()
{
    SampleInterval = BitTime / SamplesPerBit;
    BitRate = 1.0 / BitTime;
    SampleRate = BitRate * SamplesPerBit;
    return true;
}

bool usb3_rx::Setup()
{
    RunEquations();

    AFE.BitTime = BitTime;
    AFE.SamplesPerBit = TruncateToInt(SamplesPerBit);
    AFE.xrx_process = TruncateToInt(xrx_process);
    AFE.xboost = TruncateToInt(xboost);
    const bool afe = AFE.Setup();

    CDR.SamplesPerBit = SamplesPerBit;
    CDR.BitTime = BitTime;
    const bool cdr = CDR.Setup();

    AFE_AFE_ctle_nl.output.Initialize(2);
    Quenrix::CircularBufferBase* ports[] = {&input, &clock, &clock_times, &pd,
                                            &integ, &vco,   &afe_out_nl,  &afe_out_lin};
    for (Quenrix::CircularBufferBase* port : ports)
        Quenrix::SetPortRate(*port);
    return afe & cdr;
}

bool usb3_rx::Initialize()
{
    DeleteBuffers();

    Quenrix::UseSlot(m_pBuffer_input_To_AFE_input, m_Slot.input_To_AFE_input);
    input_CirBuf.SetBuffer(m_pBuffer_input_To_AFE_input, 1, 1, 0);
    AFE.input.SetBuffer(m_pBuffer_input_To_AFE_input, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_CDR_clock_To_clock, m_Slot.CDR_clock_To_clock);
    CDR.clock.SetBuffer(m_pBuffer_CDR_clock_To_clock, 1, 1, 0);
    clock_CirBuf.SetBuffer(m_pBuffer_CDR_clock_To_clock, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_CDR_clock_times_To_clock_times,
                     m_Slot.CDR_clock_times_To_clock_times);
    CDR.clock_times.SetBuffer(m_pBuffer_CDR_clock_times_To_clock_times, 1, 1, 0);
    clock_times_CirBuf.SetBuffer(m_pBuffer_CDR_clock_times_To_clock_times, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_CDR_pd_To_pd, m_Slot.CDR_pd_To_pd);
    CDR.pd.SetBuffer(m_pBuffer_CDR_pd_To_pd, 1, 1, 0);
    pd_CirBuf.SetBuffer(m_pBuffer_CDR_pd_To_pd, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_CDR_integ_To_integ, m_Slot.CDR_integ_To_integ);
    CDR.integ.SetBuffer(m_pBuffer_CDR_integ_To_integ, 1, 1, 0);
    integ_CirBuf.SetBuffer(m_pBuffer_CDR_integ_To_integ, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_CDR_vco_To_vco, m_Slot.CDR_vco_To_vco);
    CDR.vco.SetBuffer(m_pBuffer_CDR_vco_To_vco, 1, 1, 0);
    vco_CirBuf.SetBuffer(m_pBuffer_CDR_vco_To_vco, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_AFE_AFE_ctle_nl_output_0__To_afe_out_nl,
                     m_Slot.AFE_AFE_ctle_nl_output_0__To_afe_out_nl);
    AFE_AFE_ctle_nl.output[0].SetBuffer(m_pBuffer_AFE_AFE_ctle_nl_output_0__To_afe_out_nl, 1, 1, 0);
    afe_out_nl_CirBuf.SetBuffer(m_pBuffer_AFE_AFE_ctle_nl_output_0__To_afe_out_nl, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_AFE_AFE_ctle_lin_To_afe_out_lin,
                     m_Slot.AFE_AFE_ctle_lin_To_afe_out_lin);
    AFE.AFE_ctle_lin.SetBuffer(m_pBuffer_AFE_AFE_ctle_lin_To_afe_out_lin, 1, 1, 0);
    afe_out_lin_CirBuf.SetBuffer(m_pBuffer_AFE_AFE_ctle_lin_To_afe_out_lin, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_AFE_AFE_ctle_nl_To_AFE_AFE_ctle_nl_input,
                     m_Slot.AFE_AFE_ctle_nl_To_AFE_AFE_ctle_nl_input);
    AFE.AFE_ctle_nl.SetBuffer(m_pBuffer_AFE_AFE_ctle_nl_To_AFE_AFE_ctle_nl_input, 1, 1, 0);
    AFE_AFE_ctle_nl.input.SetBuffer(m_pBuffer_AFE_AFE_ctle_nl_To_AFE_AFE_ctle_nl_input, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_AFE_AFE_ctle_nl_output_1__To_CDR_afe_in,
                     m_Slot.AFE_AFE_ctle_nl_output_1__To_CDR_afe_in);
    AFE_AFE_ctle_nl.output[1].SetBuffer(m_pBuffer_AFE_AFE_ctle_nl_output_1__To_CDR_afe_in, 1, 1, 0);
    CDR.afe_in.SetBuffer(m_pBuffer_AFE_AFE_ctle_nl_output_1__To_CDR_afe_in, 1, 1, 0);

    return AFE.Initialize() & CDR.Initialize();
}

bool usb3_rx::Finalize()
{
    const bool ok = AFE.Finalize() & CDR.Finalize();
    DeleteBuffers();
    return ok;
}

void usb3_rx::DeleteBuffers()
{
    double** slots[] = {&m_pBuffer_input_To_AFE_input,
                        &m_pBuffer_CDR_clock_To_clock,
                        &m_pBuffer_CDR_clock_times_To_clock_times,
                        &m_pBuffer_CDR_pd_To_pd,
                        &m_pBuffer_CDR_integ_To_integ,
                        &m_pBuffer_CDR_vco_To_vco,
                        &m_pBuffer_AFE_AFE_ctle_nl_output_0__To_afe_out_nl,
                        &m_pBuffer_AFE_AFE_ctle_lin_To_afe_out_lin,
                        &m_pBuffer_AFE_AFE_ctle_nl_To_AFE_AFE_ctle_nl_input,
                        &m_pBuffer_AFE_AFE_ctle_nl_output_1__To_CDR_afe_in};
    // The sample memory is the model's own (m_Slot); only the pointers go.
    for (double** slot : slots)
        *slot = nullptr;
}
