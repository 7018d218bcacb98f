// IBIS-AMI entry points of the transmitter. All the work happens in AMI_Init:
// every column of the impulse-response matrix (main, then one per aggressor)
// is filtered in place by usb3_tx. There is no AMI_GetWave.
#include "AMIContainer.h"
#include "AmiParamParser.h"
#include "DFErrorHandler.h"

#include <climits>
#include <cmath>
#include <exception>

#if defined(_WIN32)
#define TOLVANE_EXPORT __declspec(dllexport)
#else
#define TOLVANE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
TOLVANE_EXPORT long AMI_Init(double* impulse_matrix, long row_size, long aggressors,
                             double sample_interval, double bit_time, char* AMI_parameters_in,
                             char** AMI_parameters_out, void** AMI_memory_handle, char** msg);
TOLVANE_EXPORT long AMI_Close(void* AMI_memory);
}

namespace {

const char* const kParamWarning[6] = {
    "The IBIS-AMI model, usb3_tx, is unable to initialize the parameter xtx_process from the "
    "AMI_Init arguments.  The model will use the default setting. ",
    "The IBIS-AMI model, usb3_tx, is unable to initialize the parameter xvptx from the "
    "AMI_Init arguments.  The model will use the default setting. ",
    "The IBIS-AMI model, usb3_tx, is unable to initialize the parameter xtx_boost_en from the "
    "AMI_Init arguments.  The model will use the default setting. ",
    "The IBIS-AMI model, usb3_tx, is unable to initialize the parameter xtx_boost_lvl from the "
    "AMI_Init arguments.  The model will use the default setting. ",
    "The IBIS-AMI model, usb3_tx, is unable to initialize the parameter xtxlvl from the "
    "AMI_Init arguments.  The model will use the default setting. ",
    "The IBIS-AMI model, usb3_tx, is unable to initialize the parameter xtxeq from the "
    "AMI_Init arguments.  The model will use the default setting. ",
};

// Without a handle to hand out there is no container to hold the text.
char kNoHandleText[] = "The IBIS-AMI model, usb3_tx, cannot start: AMI_memory_handle is null. ";

// Argument faults that would make the model divide by zero, loop over
// memory that is not there, or convert an out-of-range number. Returns the
// reason, or null when the arguments are usable.
const char* BadArguments(const double* impulse_matrix, long row_size, double sample_interval,
                         double bit_time, char** msg, int* samples_per_bit)
{
    if (msg == nullptr)
        return "The IBIS-AMI model, usb3_tx, cannot start: msg is null. ";
    if (row_size < 0)
        return "The IBIS-AMI model, usb3_tx, cannot start: row_size is negative. ";
    if (impulse_matrix == nullptr && row_size > 0)
        return "The IBIS-AMI model, usb3_tx, cannot start: impulse_matrix is null. ";
    if (!(sample_interval > 0) || !std::isfinite(sample_interval))
        return "The IBIS-AMI model, usb3_tx, cannot start: sample_interval must be a positive "
               "number. ";
    if (!(bit_time > 0) || !std::isfinite(bit_time))
        return "The IBIS-AMI model, usb3_tx, cannot start: bit_time must be a positive number. ";
    const double spb = bit_time / sample_interval + 0.5;
    if (!(spb >= 1.0))
        return "The IBIS-AMI model, usb3_tx, cannot start: bit_time gives 0 samples per bit. ";
    if (!(spb < static_cast<double>(INT_MAX)))
        return "The IBIS-AMI model, usb3_tx, cannot start: bit_time / sample_interval gives too "
               "many samples per bit. ";
    *samples_per_bit = static_cast<int>(spb);
    return nullptr;
}

// Filters every column in place; stops after the first column that fails.
long FilterColumns(AMIContainer& c, double* impulse_matrix, long row_size, long aggressors)
{
    usb3_tx& m = c.cMarlowindModel;
    long result = 1;
    for (long j = 0; j <= aggressors; ++j) {
        bool ok = true;
        if (!m.Setup()) {
            c.sMessage += "Error occurred in usb3_tx::Setup(). ";
            ok = false;
        } else if (!m.Initialize()) {
            c.sMessage += "Error occurred in usb3_tx::Initialize(). ";
            ok = false;
        } else {
            double* column = impulse_matrix + j * row_size;
            for (long i = 0; i < row_size; ++i) {
                m.input[0] = column[i];
                if (!m.Run()) {
                    c.sMessage += "Error occurred in usb3_tx::Run(). ";
                    ok = false;
                    break;
                }
                column[i] = m.output[0];
            }
        }
        c.sMessage += m.MsgStream.str();
        if (!m.Finalize()) {
            c.sMessage += "Error occurred in usb3_tx::Finalize(). ";
            ok = false;
        }
        if (!ok) {
            result = 0;
            break;
        }
    }
    return result;
}

} // namespace

long AMI_Init(double* impulse_matrix, long row_size, long aggressors, double sample_interval,
              double bit_time, char* AMI_parameters_in, char** /*AMI_parameters_out*/,
              void** AMI_memory_handle, char** msg)
{
    if (AMI_memory_handle == nullptr) {
        Quenrix::DFErrorHandler::PostError(nullptr, kNoHandleText);
        if (msg != nullptr)
            *msg = kNoHandleText;
        return 0;
    }

    // The model's members allocate too; nothing may throw into the host.
    AMIContainer* c = nullptr;
    try {
        c = new AMIContainer;
    } catch (...) {
        *AMI_memory_handle = nullptr;
        Quenrix::DFErrorHandler::PostError(nullptr, "The IBIS-AMI model, usb3_tx, cannot start: "
                                                    "out of memory.");
        return 0;
    }
    *AMI_memory_handle = c;
    usb3_tx& m = c->cMarlowindModel;
    long result = 0;
    // The three external ports: one sample each, live for this call only.
    double in = 0.0, ffe = 0.0, out = 0.0;

    // No exception may cross into the host.
    try {
        // A missing parameter string reads as one without parameters.
        Quenrix::AMI::ParamParser parser(AMI_parameters_in ? AMI_parameters_in : "");

        int spb = 0;
        const char* bad =
            BadArguments(impulse_matrix, row_size, sample_interval, bit_time, msg, &spb);
        m.BitTime = bit_time;
        if (bad == nullptr)
            m.SamplesPerBit = spb;

        if (!parser.GetValue(m.xtx_process, "usb3_tx.xtx_process"))
            c->sMessage += kParamWarning[0];
        if (!parser.GetValue(m.xvptx, "usb3_tx.xvptx"))
            c->sMessage += kParamWarning[1];
        if (!parser.GetValue(m.xtx_boost_en, "usb3_tx.xtx_boost_en"))
            c->sMessage += kParamWarning[2];
        if (!parser.GetValue(m.xtx_boost_lvl, "usb3_tx.xtx_boost_lvl"))
            c->sMessage += kParamWarning[3];
        if (!parser.GetValue(m.xtxlvl, "usb3_tx.xtxlvl"))
            c->sMessage += kParamWarning[4];
        if (!parser.GetValue(m.xtxeq, "usb3_tx.xtxeq"))
            c->sMessage += kParamWarning[5];

        if (bad != nullptr) {
            c->sMessage += bad;
            Quenrix::DFErrorHandler::PostError(&m, bad);
        } else {
            m.input.SetBuffer(&in, 1, 1, 0);
            m.FFE_out.SetBuffer(&ffe, 1, 1, 0);
            m.output.SetBuffer(&out, 1, 1, 0);
            result = aggressors < 0 ? 1 : FilterColumns(*c, impulse_matrix, row_size, aggressors);
        }
    } catch (const std::exception& e) {
        c->sMessage += "The IBIS-AMI model, usb3_tx, stopped: ";
        c->sMessage += e.what();
        c->sMessage += ". ";
        result = 0;
    } catch (...) {
        c->sMessage += "The IBIS-AMI model, usb3_tx, stopped on an unexpected error. ";
        result = 0;
    }

    m.input.SetBuffer(nullptr, 0, 1, 0);
    m.FFE_out.SetBuffer(nullptr, 0, 1, 0);
    m.output.SetBuffer(nullptr, 0, 1, 0);

    if (msg != nullptr && !c->sMessage.empty())
        *msg = &c->sMessage[0];
    return result;
}

long AMI_Close(void* AMI_memory)
{
    delete static_cast<AMIContainer*>(AMI_memory);
    return 1;
}
