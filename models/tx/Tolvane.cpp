// IBIS-AMI entry points of the transmitter. All the work happens in AMI_Init:
// every column of the impulse-response matrix (main, then one per aggressor)
// is filtered in place by usb3_tx. There is no AMI_GetWave.
#include "AMIContainer.h"
#include "AmiParamParser.h"
#include "DFErrorHandler.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

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
const char* BadArguments(const double* impulse_matrix, long row_size, long aggressors,
                         double sample_interval, double bit_time, char** msg,
                         int* samples_per_bit)
{
    if (msg == nullptr)
        return "The IBIS-AMI model, usb3_tx, cannot start: msg is null. ";
    if (row_size < 0)
        return "The IBIS-AMI model, usb3_tx, cannot start: row_size is negative. ";
    if (impulse_matrix == nullptr && row_size > 0)
        return "The IBIS-AMI model, usb3_tx, cannot start: impulse_matrix is null. ";
    // The matrix is copied and its columns addressed as j * row_size; a size
    // no memory can hold would wrap those sums.
    if (aggressors >= 0 && row_size > 0 &&
        static_cast<std::uintmax_t>(aggressors) >=
            static_cast<std::uintmax_t>(PTRDIFF_MAX) / sizeof(double) /
                static_cast<std::uintmax_t>(row_size))
        return "The IBIS-AMI model, usb3_tx, cannot start: row_size and aggressors give a matrix "
               "larger than memory can hold. ";
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

// Names a value that is not finite the same way on every platform (the
// stream's text for NaN differs between C libraries).
const char* NonFiniteName(double v)
{
    if (std::isnan(v))
        return "NaN";
    return v > 0 ? "+infinity" : "-infinity";
}

// Index of the first value that is not finite, or n when all are. The
// exponent field is all ones exactly for infinities and NaN; testing it on
// the bits, in blocks, lets the compiler run the scan as wide integer
// operations, so a pass costs little beside the filter itself.
size_t FirstNonFinite(const double* v, size_t n)
{
    const std::uint64_t exponent = 0x7ff0000000000000ULL;
    const size_t block = 256;
    for (size_t start = 0; start < n; start += block) {
        const size_t end = n - start < block ? n : start + block;
        std::uint64_t any = 0;
        for (size_t i = start; i < end; ++i) {
            std::uint64_t bits;
            std::memcpy(&bits, v + i, sizeof bits);
            any |= static_cast<std::uint64_t>((bits & exponent) == exponent);
        }
        if (any != 0)
            return static_cast<size_t>(
                std::find_if(v + start, v + end, [](double x) { return !std::isfinite(x); }) - v);
    }
    return n;
}

// Filters every column in place; stops after the first column that fails.
// A column that comes out with a value that is not finite fails too: taps
// and input are finite, so a product or the pole's sum overflowed. One look
// over the finished column finds it, at no cost to the per-sample loop; the
// whole matrix is then put back from the host's values.
long FilterColumns(AMIContainer& c, double* impulse_matrix, long row_size, long aggressors,
                   const std::vector<double>& original)
{
    usb3_tx& m = c.cMarlowindModel;
    const size_t rows = static_cast<size_t>(row_size);
    long result = 1;
    for (long j = 0; j <= aggressors; ++j) {
        double* column = impulse_matrix + static_cast<std::ptrdiff_t>(j) * row_size;
        bool ok = true;
        size_t bad_row = rows;
        if (!m.Setup()) {
            c.sMessage += "Error occurred in usb3_tx::Setup(). ";
            ok = false;
        } else if (!m.Initialize()) {
            c.sMessage += "Error occurred in usb3_tx::Initialize(). ";
            ok = false;
        } else {
            for (long i = 0; i < row_size; ++i) {
                m.input[0] = column[i];
                if (!m.Run()) {
                    c.sMessage += "Error occurred in usb3_tx::Run(). ";
                    ok = false;
                    break;
                }
                column[i] = m.output[0];
            }
            if (ok)
                bad_row = FirstNonFinite(column, rows);
        }
        c.sMessage += m.MsgStream.str();
        if (!m.Finalize()) {
            c.sMessage += "Error occurred in usb3_tx::Finalize(). ";
            ok = false;
        }
        if (bad_row < rows) {
            std::ostringstream why;
            why << "The IBIS-AMI model, usb3_tx, cannot shape the impulse matrix: the filtered "
                   "value in column "
                << j << ", row " << bad_row << " is not finite (" << NonFiniteName(column[bad_row])
                << "), as the Tx swing is too large for the matrix's values. The matrix is left "
                   "as the host gave it. ";
            c.sMessage += why.str();
            Quenrix::DFErrorHandler::PostError(&m, why.str().c_str());
            std::copy(original.begin(), original.end(), impulse_matrix);
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
        const char* bad = BadArguments(impulse_matrix, row_size, aggressors, sample_interval,
                                       bit_time, msg, &spb);
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

        // A value the host gave that is not finite can only come out so:
        // refused before any column is touched.
        size_t cells = 0; // the values the filter reads; BadArguments bounds the size
        std::string bad_input;
        if (bad == nullptr && aggressors >= 0) {
            const size_t rows = static_cast<size_t>(row_size);
            cells = (static_cast<size_t>(aggressors) + 1) * rows;
            const size_t k = FirstNonFinite(impulse_matrix, cells);
            if (k < cells) {
                std::ostringstream why;
                why << "The IBIS-AMI model, usb3_tx, cannot start: impulse_matrix holds a value "
                       "that is not finite ("
                    << NonFiniteName(impulse_matrix[k]) << ") in column " << k / rows << ", row "
                    << k % rows << ". ";
                bad_input = why.str();
                bad = bad_input.c_str();
            }
        }

        if (bad != nullptr) {
            c->sMessage += bad;
            Quenrix::DFErrorHandler::PostError(&m, bad);
        } else if (aggressors < 0) {
            result = 1;
        } else {
            // Put back whole when a column comes out not finite; made before
            // any column is touched, so running out of memory here leaves
            // the matrix as it was.
            const std::vector<double> original(impulse_matrix, impulse_matrix + cells);
            m.input.SetBuffer(&in, 1, 1, 0);
            m.FFE_out.SetBuffer(&ffe, 1, 1, 0);
            m.output.SetBuffer(&out, 1, 1, 0);
            result = FilterColumns(*c, impulse_matrix, row_size, aggressors, original);
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
