#include "usb3_tx.h"

#include "DFErrorHandler.h"
#include "dravelle_tx_setup.h"

#include <cmath>
#include <complex>

usb3_tx::usb3_tx()
    : m_pBuffer_input_To_F1_input(nullptr), m_pBuffer_F1_output_output_0__To_FFE_out(nullptr),
      m_pBuffer_S2_m_dOutput_0__To_output(nullptr),
      m_pBuffer_F1_output_To_F1_output_input(nullptr),
      m_pBuffer_F1_output_output_1__To_S2_m_dInput(nullptr)
{
    BitTime = 2e-10;
    SamplesPerBit = 32;
    xtx_process = 0;
    xvptx = 1.2;
    xtx_boost_en = 1;
    xtx_boost_lvl = 1.156;
    xtxlvl = 105;
    xtxeq = 21;
    xn_atten = 0;
    xn_switch = 0;
    xtx_vswing = 0.0;
    xn_deemph = 0.0;
    xtx_deemph_dB = 0.0;
    tap_main = 0.0;
    tap_post = 0.0;
    SampleInterval = 0.0;
    BitRate = 0.0;
    SampleRate = 0.0;
    pole = 0.0;
    gain = 0.0;
}

usb3_tx::~usb3_tx() { DeleteBuffers(); }

bool usb3_tx::RunEquations()
{
    pole = 1.1122e10;
    gain = 69881586986.45135; // 2 * pi * pole: unity gain at DC
    SampleInterval = BitTime / SamplesPerBit;
    BitRate = 1 / BitTime;
    SampleRate = BitRate * SamplesPerBit;
    return true;
}

// Settings whose driver arithmetic has no finite result would fill every
// column with NaN or infinity; refuse them here with the reason.
bool usb3_tx::CheckDriverValues()
{
    const long long legs = static_cast<long long>(xn_atten) + xn_switch;
    std::ostringstream why;
    if (legs <= 0)
        why << "\nxtx_process = " << xtx_process << " gives " << legs
            << " driver legs; the leg count must be positive.";
    else if (xn_switch <= 0)
        why << "\nxtxlvl = " << xtxlvl << " leaves no switching driver legs (" << xn_atten
            << " of " << legs << " legs attenuated).";
    else if (xn_switch - 2 * xn_deemph <= 0)
        why << "\nxtxeq = " << xtxeq << " de-emphasises all " << xn_switch
            << " switching driver legs; the de-emphasis has no finite value.";
    else if (!std::isfinite(xtx_vswing) || !std::isfinite(xtx_deemph_dB) ||
             !std::isfinite(tap_main) || !std::isfinite(tap_post))
        why << "\nThe Tx settings give no finite driver taps (vptx = " << xvptx
            << ", xtx_boost_lvl = " << xtx_boost_lvl << ").";
    else
        return true;
    MsgStream << why.str();
    Quenrix::DFErrorHandler::PostError(this, why.str().c_str());
    return false;
}

bool usb3_tx::Setup()
{
    RunEquations();
    dravelle_tx_setup(xtx_process, xvptx, xtx_boost_en, xtx_boost_lvl, xtxlvl, xtxeq, &tap_main,
                      &tap_post, &xn_atten, &xn_switch, &xtx_vswing, &xn_deemph,
                      &xtx_deemph_dB);
    if (!CheckDriverValues())
        return false;

    const double taps[2] = {tap_main, tap_post};
    F1.Coefficients.Resize(1, 2);
    F1.Coefficients.CopyFrom(taps, 2);
    F1.SamplesPerBit = SamplesPerBit;
    const bool bF1 = F1.Setup();

    // The filter turns Hz into rad/s in place on every Initialize, so the pole
    // is written afresh for every column.
    S2.SampleRate = SampleRate;
    S2.m_SystemGain = gain;
    const double poles[1] = {-pole};
    S2.m_RealPoles.Resize(1, 1);
    S2.m_RealPoles.CopyFrom(poles, 1);
    S2.m_ComplexConjugatePoles.Resize(0, 0);
    S2.m_RealZeros.Resize(0, 0);
    S2.m_ComplexConjugateZeros.Resize(0, 0);
    S2.m_FreqUnit = Quenrix::eHz;
    const bool bS2 = S2.Setup();

    F1_output.output.Initialize(2);
    const bool bFork = F1_output.Setup();

    Quenrix::CircularBuffer<double>* ports[3] = {&input, &FFE_out, &output};
    for (Quenrix::CircularBuffer<double>* p : ports)
        Quenrix::SetPortRate(*p);
    return bF1 & bS2 & bFork;
}

std::string usb3_tx::SettingsText() const
{
    std::ostringstream s;
    s << "\nUSB3 Tx, Version: 20170823\n"
      << "\nTx settings:  xtx_process = " << xtx_process
      << ", BitRate (Gbps) = " << (1 / BitTime) / 1e9 << ", vptx = " << xvptx
      << ", xtx_boost_en = " << xtx_boost_en << ", xtx_boost_lvl = " << xtx_boost_lvl
      << ", xtxlvl = " << xtxlvl << ", xtxeq = " << xtxeq << " :\n"
      << "xtx_vswing = " << xtx_vswing << ", xtx_deemph_dB = " << xtx_deemph_dB << "\n";
    return s.str();
}

namespace {
// One one-element slot, installed in both ends of a connection.
double* Connect(Quenrix::CircularBufferBase& from, Quenrix::CircularBufferBase& to)
{
    double* slot = new double[1]();
    from.SetBuffer(slot, 1, 1, 0);
    to.SetBuffer(slot, 1, 1, 0);
    return slot;
}
} // namespace

bool usb3_tx::Initialize()
{
    DeleteBuffers();

    const std::string settings = SettingsText();
    MsgStream << settings;
    Quenrix::DFErrorHandler::PostInfo(this, settings.c_str());

    m_pBuffer_input_To_F1_input = Connect(input_CirBuf, F1.input);
    m_pBuffer_F1_output_output_0__To_FFE_out = Connect(F1_output.output[0], FFE_out_CirBuf);
    m_pBuffer_S2_m_dOutput_0__To_output = Connect(S2.m_dOutput[0], output_CirBuf);
    m_pBuffer_F1_output_To_F1_output_input = Connect(F1.output, F1_output.input);
    m_pBuffer_F1_output_output_1__To_S2_m_dInput = Connect(F1_output.output[1], S2.m_dInput);

    const bool bF1 = F1.Initialize();
    const bool bS2 = S2.Initialize();
    const bool bFork = F1_output.Initialize();
    return bF1 & bS2 & bFork;
}

bool usb3_tx::Run()
{
    input_CirBuf[0] = input[0];
    const bool bF1 = F1.Run();
    F1_output.Run();
    const bool bS2 = S2.Run();
    FFE_out[0] = FFE_out_CirBuf[0];
    output[0] = output_CirBuf[0];
    return bF1 & bS2;
}

bool usb3_tx::Finalize()
{
    const bool bF1 = F1.Finalize();
    const bool bS2 = S2.Finalize();
    const bool bFork = F1_output.Finalize();
    DeleteBuffers();
    return bF1 & bS2 & bFork;
}

void usb3_tx::DeleteBuffers()
{
    double** slots[5] = {&m_pBuffer_input_To_F1_input, &m_pBuffer_F1_output_output_0__To_FFE_out,
                         &m_pBuffer_S2_m_dOutput_0__To_output,
                         &m_pBuffer_F1_output_To_F1_output_input,
                         &m_pBuffer_F1_output_output_1__To_S2_m_dInput};
    for (double** s : slots) {
        delete[] *s;
        *s = nullptr;
    }
}
