#include "usb3_rx_afe_sd.h"

#include "DFErrorHandler.h"

#include <cstdlib>

namespace {

// Each table is four rows of eight columns, entry = row * 8 + boost step:
// row 0 the gain, row 1 the numerator roots, row 2 the denominator roots
// (rad/s), row 3 the tanh alpha and beta.
static const char* const Dravelle_Rx_AFE_tt[32] = {
    // gain
    "2.29853e+42",
    "2.20578e+42",
    "2.10894e+42",
    "1.99766e+42",
    "2.09772e+42",
    "2.05033e+42",
    "1.90451e+42",
    "1.8941e+42",
    // num
    "0. 0. -6.782526e+09",
    "0. 0. -5.345391e+09",
    "0. 0. -4.175136e+09",
    "0. 0. -3.331115e+09",
    "0. 0. -2.306867e+09",
    "0. 0. -1.866687e+09",
    "0. 0. -1.272057e+09",
    "0. 0. -9.403015e+08",
    // den
    "-2.311391e+07 -2.381471e+07 -1.443189e+10 -4.270888e+10 -8.407530e+10 -1.0e+20",
    "-2.311391e+07 -2.381471e+07 -1.394943e+10 -4.098551e+10 -8.407530e+10 -1.0e+20",
    "-2.311391e+07 -2.381471e+07 -1.354790e+10 -3.918613e+10 -8.407530e+10 -1.0e+20",
    "-2.311391e+07 -2.381471e+07 -1.315122e+10 -3.711841e+10 -8.407530e+10 -1.0e+20",
    "-2.311391e+07 -2.381471e+07 -1.179152e+10 -3.897775e+10 -8.407530e+10 -1.0e+20",
    "-2.311391e+07 -2.381471e+07 -1.162016e+10 -3.809723e+10 -8.407530e+10 -1.0e+20",
    "-2.311391e+07 -2.381471e+07 -1.176847e+10 -3.538766e+10 -8.407530e+10 -1.0e+20",
    "-2.311391e+07 -2.381471e+07 -1.130343e+10 -3.519421e+10 -8.407530e+10 -1.0e+20",
    // NL
    "3.780 3.411",
    "3.786 3.455",
    "3.790 3.510",
    "3.791 3.571",
    "3.790 3.620",
    "3.789 3.662",
    "3.788 3.739",
    "3.787 3.748",
};

static const char* const Dravelle_Rx_AFE_ff[32] = {
    // gain
    "5.22037e+33",
    "4.80722e+33",
    "4.47839e+33",
    "4.24388e+33",
    "4.07177e+33",
    "3.91918e+33",
    "3.70848e+33",
    "3.58492e+33",
    // num
    "0. 0. -7.211847e+09",
    "0. 0. -5.828763e+09",
    "0. 0. -4.774848e+09",
    "0. 0. -3.695397e+09",
    "0. 0. -2.719019e+09",
    "0. 0. -2.071207e+09",
    "0. 0. -1.431812e+09",
    "0. 0. -1.050022e+09",
    // den
    "-1.734906e+07 -3.048082e+07 -1.534824e+10 -6.075980e+10 -6.850535e+10 -2.154430e+11",
    "-1.734906e+07 -3.048082e+07 -1.539554e+10 -5.595114e+10 -6.850535e+10 -2.154430e+11",
    "-1.734906e+07 -3.048082e+07 -1.544227e+10 -5.212392e+10 -6.850535e+10 -2.154430e+11",
    "-1.734906e+07 -3.048082e+07 -1.494265e+10 -4.939448e+10 -6.850535e+10 -2.154430e+11",
    "-1.734906e+07 -3.048082e+07 -1.453012e+10 -4.739122e+10 -6.850535e+10 -2.154430e+11",
    "-1.734906e+07 -3.048082e+07 -1.423013e+10 -4.561527e+10 -6.850535e+10 -2.154430e+11",
    "-1.734906e+07 -3.048082e+07 -1.381173e+10 -4.316288e+10 -6.850535e+10 -2.154430e+11",
    "-1.734906e+07 -3.048082e+07 -1.356563e+10 -4.172482e+10 -6.850535e+10 -2.154430e+11",
    // NL
    "3.662 4.415",
    "3.678 4.490",
    "3.680 4.609",
    "3.680 4.708",
    "3.681 4.800",
    "3.680 4.887",
    "3.678 4.946",
    "3.679 4.992",
};

static const char* const Dravelle_Rx_AFE_ss[32] = {
    // gain
    "1.953e+33",
    "1.97234e+33",
    "1.95276e+33",
    "1.93047e+33",
    "1.89871e+33",
    "1.8527e+33",
    "1.87131e+33",
    "1.88992e+33",
    // num
    "0. 0. -6.971777e+09",
    "0. 0. -5.337224e+09",
    "0. 0. -4.099893e+09",
    "0. 0. -3.216973e+09",
    "0. 0. -2.364608e+09",
    "0. 0. -1.826207e+09",
    "0. 0. -1.283528e+09",
    "0. 0. -1.000146e+09",
    // den
    "-1.954041e+07 -2.833065e+07 -1.389339e+10 -4.627509e+10 -5.000719e+10 -1.590963e+11",
    "-1.954041e+07 -2.833065e+07 -1.254829e+10 -4.627509e+10 -5.050238e+10 -1.590963e+11",
    "-1.954041e+07 -2.833065e+07 -1.161274e+10 -4.627509e+10 -5.000128e+10 -1.590963e+11",
    "-1.954041e+07 -2.833065e+07 -1.104757e+10 -4.627509e+10 -4.943053e+10 -1.590963e+11",
    "-1.954041e+07 -2.833065e+07 -1.004765e+10 -4.627509e+10 -4.861726e+10 -1.590963e+11",
    "-1.954041e+07 -2.833065e+07 -9.622894e+09 -4.627509e+10 -4.743902e+10 -1.590963e+11",
    "-1.954041e+07 -2.833065e+07 -8.925776e+09 -4.627509e+10 -4.791559e+10 -1.590963e+11",
    "-1.954041e+07 -2.833065e+07 -8.681004e+09 -4.627509e+10 -4.751890e+10 -1.590963e+11",
    // NL
    "3.979 2.271",
    "3.989 2.317",
    "3.993 2.359",
    "3.993 2.391",
    "3.992 2.420",
    "3.990 2.437",
    "3.989 2.451",
    "3.986 2.462",
};

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

} // namespace

usb3_rx_afe_sd::usb3_rx_afe_sd()
    : m_pBuffer_input_To_CTLE_m_dInput(nullptr),
      m_pBuffer_CTLE_output_output_0__To_AFE_ctle_lin(nullptr),
      m_pBuffer_NL_output_To_AFE_ctle_nl(nullptr),
      m_pBuffer_CTLE_m_dOutput_0__To_CTLE_output_input(nullptr),
      m_pBuffer_CTLE_output_output_1__To_NL_input(nullptr), SampleInterval(0.0), BitRate(0.0),
      SampleRate(0.0), RxFilterCTLE_gain(nullptr), RxFilterCTLE_num(nullptr),
      RxFilterCTLE_den(nullptr), size_RxFilterCTLE_gain(0), size_RxFilterCTLE_num(0),
      size_RxFilterCTLE_den(0), RxNL_CTLE(nullptr), size_RxNL_CTLE(0), m_pc_all_coefs(nullptr)
{
    BitTime = 2e-10;
    SamplesPerBit = 32;
    xrx_process = 0;
    xboost = 0;
}

usb3_rx_afe_sd::~usb3_rx_afe_sd()
{
    DeleteBuffers();
    DeleteArrayParameters();
}

bool usb3_rx_afe_sd::RunEquations()
{
    SampleInterval = BitTime / static_cast<double>(SamplesPerBit);
    BitRate = 1.0 / BitTime;
    SampleRate = BitRate * static_cast<double>(SamplesPerBit);
    return true;
}

bool usb3_rx_afe_sd::Setup()
{
    DeleteArrayParameters();
    RunEquations();

    switch (xrx_process) {
    case 0:
        m_pc_all_coefs = Dravelle_Rx_AFE_tt;
        break;
    case 1:
        m_pc_all_coefs = Dravelle_Rx_AFE_ff;
        break;
    case -1:
        m_pc_all_coefs = Dravelle_Rx_AFE_ss;
        break;
    default:
        MsgStream << "\nxrx_processs must be an integer in the set { 0(typ), 1(fast), -1(slow) }.";
        Quenrix::DFErrorHandler::PostError(
            this, "xrx_process must be an integer in the set { 0(typ), 1(fast), -1(slow) }.");
        return false;
    }
    // The boost step selects a table column; there are eight of them.
    if (xboost < 0 || xboost > 7) {
        MsgStream << "\nxboost must be an integer in the range 0 to 7.";
        Quenrix::DFErrorHandler::PostError(this, "xboost must be an integer in the range 0 to 7.");
        return false;
    }

    // The counts are checked so that a short table text cannot be read past.
    if (!Set_Lin_NL_values() || size_RxFilterCTLE_gain < 1 || size_RxFilterCTLE_num < 3 ||
        size_RxFilterCTLE_den < 6 || size_RxNL_CTLE < 2) {
        MsgStream << "\n" << "Failed to set internal linear or nonlinear arrays.";
        Quenrix::DFErrorHandler::PostError(this, "Failed to set internal linear or nonlinear arrays.");
        return false;
    }

    CTLE.m_SystemGain = 0.5 * RxFilterCTLE_gain[0];
    const double poles[6] = {RxFilterCTLE_den[5], RxFilterCTLE_den[4], RxFilterCTLE_den[3],
                             RxFilterCTLE_den[2], RxFilterCTLE_den[1], RxFilterCTLE_den[0]};
    CTLE.m_RealPoles.Resize(1, 6);
    CTLE.m_RealPoles.CopyFrom(poles, 6);
    const double zeros[3] = {RxFilterCTLE_num[2], RxFilterCTLE_num[1], RxFilterCTLE_num[0]};
    CTLE.m_RealZeros.Resize(1, 3);
    CTLE.m_RealZeros.CopyFrom(zeros, 3);
    CTLE.m_ComplexConjugatePoles.Resize(0, 0);
    CTLE.m_ComplexConjugateZeros.Resize(0, 0);
    CTLE.SampleRate = SampleRate;
    CTLE.m_FreqUnit = Quenrix::eRad;

    NL.coeff_tanh_alpha = RxNL_CTLE[0];
    NL.coeff_tanh_beta = RxNL_CTLE[1];

    MsgStream << "\nUSB3 Rx, Version: 20170113\n"
              << "Rx settings:  xrx_process = " << xrx_process << ", xboost = " << xboost
              << " :\n";
    std::ostringstream info;
    info << "USB3 Rx, Version: 20170113\n"
         << "Rx settings:  xrx_process = " << xrx_process << ", xboost = " << xboost << " :\n";
    Quenrix::DFErrorHandler::PostInfo(this, info.str().c_str());

    const bool ok = NL.Setup();
    CTLE_output.output.Initialize(2);
    Quenrix::SetPortRate(input);
    Quenrix::SetPortRate(AFE_ctle_lin);
    Quenrix::SetPortRate(AFE_ctle_nl);
    return ok;
}

bool usb3_rx_afe_sd::Initialize()
{
    DeleteBuffers();
    Quenrix::UseSlot(m_pBuffer_input_To_CTLE_m_dInput, m_Slot.input_To_CTLE_m_dInput);
    input_CirBuf.SetBuffer(m_pBuffer_input_To_CTLE_m_dInput, 1, 1, 0);
    CTLE.m_dInput.SetBuffer(m_pBuffer_input_To_CTLE_m_dInput, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_CTLE_output_output_0__To_AFE_ctle_lin,
                     m_Slot.CTLE_output_output_0__To_AFE_ctle_lin);
    CTLE_output.output[0].SetBuffer(m_pBuffer_CTLE_output_output_0__To_AFE_ctle_lin, 1, 1, 0);
    AFE_ctle_lin_CirBuf.SetBuffer(m_pBuffer_CTLE_output_output_0__To_AFE_ctle_lin, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_NL_output_To_AFE_ctle_nl, m_Slot.NL_output_To_AFE_ctle_nl);
    NL.output.SetBuffer(m_pBuffer_NL_output_To_AFE_ctle_nl, 1, 1, 0);
    AFE_ctle_nl_CirBuf.SetBuffer(m_pBuffer_NL_output_To_AFE_ctle_nl, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_CTLE_m_dOutput_0__To_CTLE_output_input,
                     m_Slot.CTLE_m_dOutput_0__To_CTLE_output_input);
    CTLE.m_dOutput[0].SetBuffer(m_pBuffer_CTLE_m_dOutput_0__To_CTLE_output_input, 1, 1, 0);
    CTLE_output.input.SetBuffer(m_pBuffer_CTLE_m_dOutput_0__To_CTLE_output_input, 1, 1, 0);

    Quenrix::UseSlot(m_pBuffer_CTLE_output_output_1__To_NL_input,
                     m_Slot.CTLE_output_output_1__To_NL_input);
    CTLE_output.output[1].SetBuffer(m_pBuffer_CTLE_output_output_1__To_NL_input, 1, 1, 0);
    NL.input.SetBuffer(m_pBuffer_CTLE_output_output_1__To_NL_input, 1, 1, 0);

    return CTLE.Initialize() & NL.Initialize();
}

bool usb3_rx_afe_sd::Finalize()
{
    const bool ok = CTLE.Finalize() & NL.Finalize();
    DeleteBuffers();
    DeleteArrayParameters();
    return ok;
}

void usb3_rx_afe_sd::DeleteBuffers()
{
    double** slots[] = {&m_pBuffer_input_To_CTLE_m_dInput,
                        &m_pBuffer_CTLE_output_output_0__To_AFE_ctle_lin,
                        &m_pBuffer_NL_output_To_AFE_ctle_nl,
                        &m_pBuffer_CTLE_m_dOutput_0__To_CTLE_output_input,
                        &m_pBuffer_CTLE_output_output_1__To_NL_input};
    // The sample memory is the model's own (m_Slot); only the pointers go.
    for (double** slot : slots)
        *slot = nullptr;
}

bool usb3_rx_afe_sd::Set_Lin_NL_values()
{
    const int b = xboost;
    return ConvertStrToArray(m_pc_all_coefs[b], &RxFilterCTLE_gain, &size_RxFilterCTLE_gain, 0) &&
           ConvertStrToArray(m_pc_all_coefs[b + 8], &RxFilterCTLE_num, &size_RxFilterCTLE_num, 0) &&
           ConvertStrToArray(m_pc_all_coefs[b + 16], &RxFilterCTLE_den, &size_RxFilterCTLE_den, 0) &&
           ConvertStrToArray(m_pc_all_coefs[b + 24], &RxNL_CTLE, &size_RxNL_CTLE, 0);
}

bool usb3_rx_afe_sd::ConvertStrToArray(const char* text, double** out, int* count, int denflag)
{
    int tokens = 0;
    for (const char* p = text; p && *p;) {
        while (*p && IsSeparator(*p))
            ++p;
        if (!*p)
            break;
        ++tokens;
        while (*p && !IsSeparator(*p))
            ++p;
    }
    if (tokens == 0) {
        MsgStream << "\nFailed to decode internal coefficients array to valid numbers.";
        Quenrix::DFErrorHandler::PostError(
            this, "Failed to decode internal coefficients array to valid numbers.");
        return false;
    }

    *count = tokens + denflag;
    double* values = new double[*count]();
    int k = 0;
    for (const char* p = text; *p;) {
        while (*p && IsSeparator(*p))
            ++p;
        if (!*p)
            break;
        // strtod reads the token's numeric prefix (0.0 when there is none);
        // the scan then moves on to the next separator either way.
        values[k++] = std::strtod(p, nullptr);
        while (*p && !IsSeparator(*p))
            ++p;
    }
    if (denflag == 1) {
        for (int i = *count - 1; i > 0; --i)
            values[i] = values[i - 1];
        values[0] = 1.0;
    }
    delete[] *out;
    *out = values;
    return true;
}

void usb3_rx_afe_sd::DeleteArrayParameters()
{
    delete[] RxFilterCTLE_gain;
    delete[] RxFilterCTLE_num;
    delete[] RxFilterCTLE_den;
    delete[] RxNL_CTLE;
    RxFilterCTLE_gain = RxFilterCTLE_num = RxFilterCTLE_den = RxNL_CTLE = nullptr;
    size_RxFilterCTLE_gain = size_RxFilterCTLE_num = size_RxFilterCTLE_den = size_RxNL_CTLE = 0;
}
