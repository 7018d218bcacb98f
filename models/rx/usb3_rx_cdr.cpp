#include "usb3_rx_cdr.h"

usb3_rx_cdr::usb3_rx_cdr()
    : m_pBuffer_afe_in_To_PD_signal(nullptr), m_pBuffer_VCO_vout_output_1__To_clock(nullptr),
      m_pBuffer_CT_time_To_clock_times(nullptr), m_pBuffer_PD_phaseError_output_2__To_pd(nullptr),
      m_pBuffer_G2_output_output_1__To_integ(nullptr), m_pBuffer_A1_output_output_0__To_vco(nullptr),
      m_pBuffer_PD_phaseError_To_PD_phaseError_input(nullptr),
      m_pBuffer_VCO_vout_To_VCO_vout_input(nullptr), m_pBuffer_VCO_clock_To_PD_clock(nullptr),
      m_pBuffer_VCO_voutq(nullptr), m_pBuffer_VCO_clockq(nullptr),
      m_pBuffer_A1_output_To_A1_output_input(nullptr),
      m_pBuffer_A1_output_output_1__To_VCO_vin(nullptr), m_pBuffer_G1_output_To_A1_input_0_(nullptr),
      m_pBuffer_A2_output_To_A2_output_input(nullptr),
      m_pBuffer_A2_output_output_0__To_A2_input_1_(nullptr),
      m_pBuffer_A2_output_output_1__To_G2_input(nullptr),
      m_pBuffer_G2_output_To_G2_output_input(nullptr),
      m_pBuffer_G2_output_output_0__To_A1_input_1_(nullptr),
      m_pBuffer_PD_phaseError_output_0__To_G1_input(nullptr),
      m_pBuffer_PD_phaseError_output_1__To_A2_input_0_(nullptr),
      m_pBuffer_VCO_vout_output_0__To_CT_clock(nullptr), SampleInterval(0.0), BitRate(0.0),
      SampleRate(0.0)
{
    SamplesPerBit = 32.0;
    BitTime = 2e-10;
}

usb3_rx_cdr::~usb3_rx_cdr() { DeleteBuffers(); }

bool usb3_rx_cdr::RunEquations()
{
    SampleInterval = BitTime / SamplesPerBit;
    BitRate = 1.0 / BitTime;
    SampleRate = BitRate * SamplesPerBit;
    return true;
}

bool usb3_rx_cdr::Setup()
{
    RunEquations();

    PD.m_ClockEdge = Quenrix::eNegativeEdge;

    CT.SampleInterval = SampleInterval;
    CT.m_TimeOffset = 0.0;
    CT.m_ClockEdge = Quenrix::ePositiveEdge;
    CT.m_TimingMethod = Quenrix::eNearestNeighborInterp;

    VCO.SampleInterval = SampleInterval;
    VCO.m_Amplitude = 1.0;
    VCO.m_FreeRunFrequency = BitRate;
    VCO.m_Sensitivity = 1.0;
    VCO.m_InitialPhase = 0.0;
    VCO.m_QuadratureMode = 0;

    A1.input.Initialize(2);
    A1_output.output.Initialize(2);
    A2.input.Initialize(2);
    A2_output.output.Initialize(2);
    G2_output.output.Initialize(2);
    PD_phaseError.output.Initialize(3);
    VCO_vout.output.Initialize(2);

    G1.m_Gain = 500000000.0;
    G2.m_Gain = 15000.0;

    Quenrix::SetPortRate(afe_in);
    Quenrix::SetPortRate(clock);
    Quenrix::SetPortRate(clock_times);
    Quenrix::SetPortRate(pd);
    Quenrix::SetPortRate(integ);
    Quenrix::SetPortRate(vco);
    return true;
}

bool usb3_rx_cdr::Initialize()
{
    DeleteBuffers();

    Quenrix::UseSlot(m_pBuffer_afe_in_To_PD_signal, m_Slot.afe_in_To_PD_signal);
    afe_in_CirBuf.SetBuffer(m_pBuffer_afe_in_To_PD_signal, 1, 1, 0);
    PD.signal.SetBuffer(m_pBuffer_afe_in_To_PD_signal, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_VCO_vout_output_1__To_clock, m_Slot.VCO_vout_output_1__To_clock);
    VCO_vout.output[1].SetBuffer(m_pBuffer_VCO_vout_output_1__To_clock, 1, 1, 0);
    clock_CirBuf.SetBuffer(m_pBuffer_VCO_vout_output_1__To_clock, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_CT_time_To_clock_times, m_Slot.CT_time_To_clock_times);
    CT.time.SetBuffer(m_pBuffer_CT_time_To_clock_times, 1, 1, 0);
    clock_times_CirBuf.SetBuffer(m_pBuffer_CT_time_To_clock_times, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_PD_phaseError_output_2__To_pd, m_Slot.PD_phaseError_output_2__To_pd);
    PD_phaseError.output[2].SetBuffer(m_pBuffer_PD_phaseError_output_2__To_pd, 1, 1, 0);
    pd_CirBuf.SetBuffer(m_pBuffer_PD_phaseError_output_2__To_pd, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_G2_output_output_1__To_integ, m_Slot.G2_output_output_1__To_integ);
    G2_output.output[1].SetBuffer(m_pBuffer_G2_output_output_1__To_integ, 1, 1, 0);
    integ_CirBuf.SetBuffer(m_pBuffer_G2_output_output_1__To_integ, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_A1_output_output_0__To_vco, m_Slot.A1_output_output_0__To_vco);
    A1_output.output[0].SetBuffer(m_pBuffer_A1_output_output_0__To_vco, 1, 1, 0);
    vco_CirBuf.SetBuffer(m_pBuffer_A1_output_output_0__To_vco, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_PD_phaseError_To_PD_phaseError_input,
                     m_Slot.PD_phaseError_To_PD_phaseError_input);
    PD.phaseError.SetBuffer(m_pBuffer_PD_phaseError_To_PD_phaseError_input, 1, 1, 0);
    PD_phaseError.input.SetBuffer(m_pBuffer_PD_phaseError_To_PD_phaseError_input, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_VCO_vout_To_VCO_vout_input, m_Slot.VCO_vout_To_VCO_vout_input);
    VCO.vout.SetBuffer(m_pBuffer_VCO_vout_To_VCO_vout_input, 1, 1, 0);
    VCO_vout.input.SetBuffer(m_pBuffer_VCO_vout_To_VCO_vout_input, 1, 1, 0);

    // The detector reads the clock of the previous sample: 0 before the first.
    Quenrix::UseSlot(m_pBuffer_VCO_clock_To_PD_clock, m_Slot.VCO_clock_To_PD_clock);
    VCO.clock.SetBuffer(m_pBuffer_VCO_clock_To_PD_clock, 1, 1, 0);
    PD.clock.SetBuffer(m_pBuffer_VCO_clock_To_PD_clock, 1, 1, 0);
    *m_pBuffer_VCO_clock_To_PD_clock = 0;

    Quenrix::UseSlot(m_pBuffer_VCO_voutq, m_Slot.VCO_voutq);
    VCO.voutq.SetBuffer(m_pBuffer_VCO_voutq, 1, 1, 0);
    Quenrix::UseSlot(m_pBuffer_VCO_clockq, m_Slot.VCO_clockq);
    VCO.clockq.SetBuffer(m_pBuffer_VCO_clockq, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_A1_output_To_A1_output_input, m_Slot.A1_output_To_A1_output_input);
    A1.output.SetBuffer(m_pBuffer_A1_output_To_A1_output_input, 1, 1, 0);
    A1_output.input.SetBuffer(m_pBuffer_A1_output_To_A1_output_input, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_A1_output_output_1__To_VCO_vin,
                     m_Slot.A1_output_output_1__To_VCO_vin);
    A1_output.output[1].SetBuffer(m_pBuffer_A1_output_output_1__To_VCO_vin, 1, 1, 0);
    VCO.vin.SetBuffer(m_pBuffer_A1_output_output_1__To_VCO_vin, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_G1_output_To_A1_input_0_, m_Slot.G1_output_To_A1_input_0_);
    G1.output.SetBuffer(m_pBuffer_G1_output_To_A1_input_0_, 1, 1, 0);
    A1.input[0].SetBuffer(m_pBuffer_G1_output_To_A1_input_0_, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_A2_output_To_A2_output_input, m_Slot.A2_output_To_A2_output_input);
    A2.output.SetBuffer(m_pBuffer_A2_output_To_A2_output_input, 1, 1, 0);
    A2_output.input.SetBuffer(m_pBuffer_A2_output_To_A2_output_input, 1, 1, 0);

    // The accumulator's feedback: the running sum starts at 0.
    Quenrix::UseSlot(m_pBuffer_A2_output_output_0__To_A2_input_1_,
                     m_Slot.A2_output_output_0__To_A2_input_1_);
    A2_output.output[0].SetBuffer(m_pBuffer_A2_output_output_0__To_A2_input_1_, 1, 1, 0);
    A2.input[1].SetBuffer(m_pBuffer_A2_output_output_0__To_A2_input_1_, 1, 1, 0);
    A2.input[1].Zero(0, 1, nullptr);

    Quenrix::UseSlot(m_pBuffer_A2_output_output_1__To_G2_input,
                     m_Slot.A2_output_output_1__To_G2_input);
    A2_output.output[1].SetBuffer(m_pBuffer_A2_output_output_1__To_G2_input, 1, 1, 0);
    G2.input.SetBuffer(m_pBuffer_A2_output_output_1__To_G2_input, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_G2_output_To_G2_output_input, m_Slot.G2_output_To_G2_output_input);
    G2.output.SetBuffer(m_pBuffer_G2_output_To_G2_output_input, 1, 1, 0);
    G2_output.input.SetBuffer(m_pBuffer_G2_output_To_G2_output_input, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_G2_output_output_0__To_A1_input_1_,
                     m_Slot.G2_output_output_0__To_A1_input_1_);
    G2_output.output[0].SetBuffer(m_pBuffer_G2_output_output_0__To_A1_input_1_, 1, 1, 0);
    A1.input[1].SetBuffer(m_pBuffer_G2_output_output_0__To_A1_input_1_, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_PD_phaseError_output_0__To_G1_input,
                     m_Slot.PD_phaseError_output_0__To_G1_input);
    PD_phaseError.output[0].SetBuffer(m_pBuffer_PD_phaseError_output_0__To_G1_input, 1, 1, 0);
    G1.input.SetBuffer(m_pBuffer_PD_phaseError_output_0__To_G1_input, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_PD_phaseError_output_1__To_A2_input_0_,
                     m_Slot.PD_phaseError_output_1__To_A2_input_0_);
    PD_phaseError.output[1].SetBuffer(m_pBuffer_PD_phaseError_output_1__To_A2_input_0_, 1, 1, 0);
    A2.input[0].SetBuffer(m_pBuffer_PD_phaseError_output_1__To_A2_input_0_, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_VCO_vout_output_0__To_CT_clock,
                     m_Slot.VCO_vout_output_0__To_CT_clock);
    VCO_vout.output[0].SetBuffer(m_pBuffer_VCO_vout_output_0__To_CT_clock, 1, 1, 0);
    CT.clock.SetBuffer(m_pBuffer_VCO_vout_output_0__To_CT_clock, 1, 1, 0);

    return PD.Initialize() & CT.Initialize() & VCO.Initialize();
}

bool usb3_rx_cdr::Finalize()
{
    const bool ok = PD.Finalize() & CT.Finalize() & VCO.Finalize();
    DeleteBuffers();
    return ok;
}

void usb3_rx_cdr::DeleteBuffers()
{
    double** slots[] = {&m_pBuffer_afe_in_To_PD_signal,
                        &m_pBuffer_VCO_vout_output_1__To_clock,
                        &m_pBuffer_CT_time_To_clock_times,
                        &m_pBuffer_PD_phaseError_output_2__To_pd,
                        &m_pBuffer_G2_output_output_1__To_integ,
                        &m_pBuffer_A1_output_output_0__To_vco,
                        &m_pBuffer_PD_phaseError_To_PD_phaseError_input,
                        &m_pBuffer_VCO_vout_To_VCO_vout_input,
                        &m_pBuffer_VCO_voutq,
                        &m_pBuffer_A1_output_To_A1_output_input,
                        &m_pBuffer_A1_output_output_1__To_VCO_vin,
                        &m_pBuffer_G1_output_To_A1_input_0_,
                        &m_pBuffer_A2_output_To_A2_output_input,
                        &m_pBuffer_A2_output_output_0__To_A2_input_1_,
                        &m_pBuffer_A2_output_output_1__To_G2_input,
                        &m_pBuffer_G2_output_To_G2_output_input,
                        &m_pBuffer_G2_output_output_0__To_A1_input_1_,
                        &m_pBuffer_PD_phaseError_output_0__To_G1_input,
                        &m_pBuffer_PD_phaseError_output_1__To_A2_input_0_,
                        &m_pBuffer_VCO_vout_output_0__To_CT_clock};
    // The sample memory is the model's own (m_Slot); only the pointers go.
    for (double** slot : slots)
        *slot = nullptr;
    m_pBuffer_VCO_clock_To_PD_clock = nullptr;
    m_pBuffer_VCO_clockq = nullptr;
}
