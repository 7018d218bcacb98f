#include "Veskaro.h"

#include "AmiParamParser.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <sstream>
#include <string>

// The check for samples that are not finite relies on std::isfinite, which
// these options let the compiler fold to true.
#if defined(__FAST_MATH__) || (defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__)
#error "Veskaro.cpp must be compiled without -ffast-math / -ffinite-math-only"
#endif

namespace {

// Room kept behind the message text handed out by AMI_Init, so that the
// failure lines of later calls can be added without moving that text: the
// pointer the host holds then stays valid until AMI_Close.
const size_t kMessageReserve = 512;

// Parameter strings nested deeper than this are not handed to the parser
// (whose lookup descends one level per branch); they are treated as carrying
// no parameters, so the defaults and their warnings apply.
const int kMaxParameterDepth = 256;

char kNoHandleText[] = "The IBIS-AMI model, usb3_rx, cannot initialize: AMI_Init was given no "
                       "memory handle pointer. ";
char kNoMemoryText[] = "The IBIS-AMI model, usb3_rx, cannot initialize: out of memory. ";

int NestingDepth(const char* text)
{
    int depth = 0, deepest = 0;
    bool quoted = false;
    for (const char* p = text; *p; ++p) {
        if (*p == '"')
            quoted = !quoted;
        else if (!quoted && *p == '(' && ++depth > deepest)
            deepest = depth;
        else if (!quoted && *p == ')' && depth > 0)
            --depth;
    }
    return deepest;
}

// Adds a line after AMI_Init has handed out the text, but only within the
// reserved room, and not twice in a row.
void AppendLater(AMIContainer* c, const std::string& line)
{
    const std::string& s = c->sMessage;
    if (s.size() >= line.size() && s.compare(s.size() - line.size(), line.size(), line) == 0)
        return;
    if (s.size() + line.size() > s.capacity())
        return;
    c->sMessage += line;
}

void Terminate(double* clock_times)
{
    if (clock_times)
        clock_times[0] = -1.0;
}

// The index of the block's first sample that is not finite, or -1. One such
// sample would stay in the filters' state and turn every later block to NaN.
long FirstNotFinite(const double* wave, long wave_size)
{
    for (long i = 0; i < wave_size; ++i)
        if (!std::isfinite(wave[i]))
            return i;
    return -1;
}

// Spelled here rather than by the C library, whose printf names NaN
// differently on each platform ("nan", "-nan", "nan(ind)").
const char* NotFiniteText(double v)
{
    return std::isnan(v) ? "nan" : v > 0 ? "inf" : "-inf";
}

// The part of AMI_Init that needs a container; returns the result.
long InitContainer(AMIContainer* c, double sample_interval, double bit_time,
                   const char* AMI_parameters_in)
{
    usb3_rx& model = c->cMarlowindModel;

    if (!(sample_interval > 0.0) || !std::isfinite(sample_interval)) {
        std::ostringstream s;
        s << "The IBIS-AMI model, usb3_rx, needs a positive sample interval; AMI_Init was given "
          << sample_interval << ". ";
        c->sMessage += s.str();
        return 0;
    }
    const double ratio = bit_time / sample_interval + 0.5;
    if (!(ratio >= 1.0) || !(ratio < 2147483648.0)) {
        std::ostringstream s;
        s << "The IBIS-AMI model, usb3_rx, cannot use a bit time of " << bit_time
          << " with a sample interval of " << sample_interval
          << (ratio >= 1.0 ? ": that gives too many samples per bit. "
                           : ": it needs at least one sample per bit. ");
        c->sMessage += s.str();
        return 0;
    }
    if (!AMI_parameters_in) {
        c->sMessage += "The IBIS-AMI model, usb3_rx, cannot initialize: AMI_Init was given no "
                       "parameter string. ";
        return 0;
    }

    const bool tooDeep = NestingDepth(AMI_parameters_in) > kMaxParameterDepth;
    Quenrix::AMI::ParamParser parser(tooDeep ? "" : AMI_parameters_in);

    c->iSamplesPerBit = static_cast<int>(ratio);
    model.BitTime = bit_time;
    model.SamplesPerBit = static_cast<double>(c->iSamplesPerBit);

    if (!parser.GetValue(model.xrx_process, "usb3_rx.xrx_process"))
        c->sMessage += "The IBIS-AMI model, usb3_rx, is unable to initialize the parameter "
                       "xrx_process from the AMI_Init arguments.  The model will use the "
                       "default setting. ";
    if (!parser.GetValue(model.xboost, "usb3_rx.xboost"))
        c->sMessage += "The IBIS-AMI model, usb3_rx, is unable to initialize the parameter "
                       "xboost from the AMI_Init arguments.  The model will use the default "
                       "setting. ";

    Quenrix::CircularBufferBase* ports[8] = {&model.input, &model.clock,      &model.clock_times,
                                             &model.pd,    &model.integ,      &model.vco,
                                             &model.afe_out_nl, &model.afe_out_lin};
    for (int k = 0; k < 8; ++k) {
        c->m_pPortMemory[k] = new double[1]();
        ports[k]->SetBuffer(c->m_pPortMemory[k], 1, 1, 0);
    }

    long result = 0;
    if (!model.Setup()) {
        c->sMessage += "Error occurred in usb3_rx::Setup(). ";
    } else if (!model.Initialize()) {
        c->sMessage += "Error occurred in usb3_rx::Initialize(). ";
    } else {
        result = 1;
    }
    c->m_bReady = result == 1;
    c->sMessage += model.AFE.MsgStream.str();
    return result;
}

} // namespace

extern "C" {

VESKARO_EXPORT long AMI_Init(double* impulse_matrix, long row_size, long aggressors,
                             double sample_interval, double bit_time, char* AMI_parameters_in,
                             char** AMI_parameters_out, void** AMI_memory_handle, char** msg)
{
    // The impulse response passes through unchanged; nothing is handed back
    // in AMI_parameters_out.
    (void)impulse_matrix;
    (void)row_size;
    (void)aggressors;
    (void)AMI_parameters_out;

    if (!AMI_memory_handle) {
        if (msg)
            *msg = kNoHandleText;
        return 0;
    }
    *AMI_memory_handle = nullptr;

    AMIContainer* c = nullptr;
    long result = 0;
    try {
        c = new AMIContainer;
        if (!msg)
            c->sMessage += "The IBIS-AMI model, usb3_rx, cannot initialize: AMI_Init was given "
                           "no msg pointer. ";
        else
            result = InitContainer(c, sample_interval, bit_time, AMI_parameters_in);
        c->sMessage.reserve(c->sMessage.size() + kMessageReserve);
    } catch (...) {
        delete c;
        if (msg)
            *msg = kNoMemoryText;
        return 0;
    }

    // The handle is handed out whatever the result, for AMI_Close.
    *AMI_memory_handle = c;
    if (msg && !c->sMessage.empty())
        *msg = &c->sMessage[0];
    return result;
}

VESKARO_EXPORT long AMI_GetWave(double* wave, long wave_size, double* clock_times,
                                char** AMI_parameters_out, void* AMI_memory)
{
    (void)AMI_parameters_out;
    AMIContainer* c = static_cast<AMIContainer*>(AMI_memory);
    if (!c) {
        Terminate(clock_times);
        return 0;
    }
    if (!c->m_bReady) {
        AppendLater(c, "The IBIS-AMI model, usb3_rx, was not initialized; AMI_GetWave has "
                       "nothing to run. ");
        Terminate(clock_times);
        return 0;
    }
    if (wave_size < 0) {
        AppendLater(c, "The IBIS-AMI model, usb3_rx, was given a negative wave_size in "
                       "AMI_GetWave. ");
        Terminate(clock_times);
        return 0;
    }
    if (!wave && wave_size > 0) {
        AppendLater(c, "The IBIS-AMI model, usb3_rx, was given no wave in AMI_GetWave. ");
        Terminate(clock_times);
        return 0;
    }
    // Refused before anything runs or is resized: the block and the model's
    // state stay as they were, so the next finite block continues the run.
    const long bad = FirstNotFinite(wave, wave_size);
    if (bad >= 0) {
        try {
            AppendLater(c, "The IBIS-AMI model, usb3_rx, was given a value that is not finite "
                           "in AMI_GetWave: sample " +
                               std::to_string(bad) + " of the block is " +
                               NotFiniteText(wave[bad]) + ". ");
        } catch (...) {
            // No memory for the line: the block is refused all the same.
        }
        Terminate(clock_times);
        return 0;
    }

    try {
        c->vClockTimes.resize(static_cast<size_t>(wave_size) + 1);
    } catch (...) {
        AppendLater(c, "The IBIS-AMI model, usb3_rx, has no memory for the clock times of "
                       "AMI_GetWave. ");
        Terminate(clock_times);
        return 0;
    }

    usb3_rx& model = c->cMarlowindModel;
    double* times = c->vClockTimes.data();
    long result = 1;
    size_t k = 0;
    // Run once per sample, in its two parts: the input port and the copies
    // between connections are read by nothing until the next sample's Step,
    // so they are written once, after the last sample that ran, and leave the
    // model as Run would.
    double x = 0.0;
    for (long i = 0; i < wave_size; ++i) {
        x = wave[i];
        double nl, t;
        const bool ok = model.Step(x, nl, t);
        if (!ok) {
            AppendLater(c, "Error occurred in usb3_rx::Run(). ");
            result = 0;
            break;
        }
        wave[i] = nl;
        if (t >= 0.0)
            times[k++] = t;
    }
    if (wave_size > 0) {
        model.input[0] = x;
        model.StoreConnections();
    }
    times[k] = -1.0;
    const size_t n = k + 1;

    const int64_t limit =
        static_cast<int64_t>(std::floor(static_cast<double>(wave_size) / c->iSamplesPerBit)) + 3;
    if (clock_times) {
        const size_t first = static_cast<uint64_t>(limit) >= n ? 0 : n - static_cast<size_t>(limit);
        for (size_t j = first; j < n; ++j)
            clock_times[j - first] = times[j];
    }
    return result;
}

VESKARO_EXPORT long AMI_Close(void* AMI_memory)
{
    AMIContainer* c = static_cast<AMIContainer*>(AMI_memory);
    if (!c)
        return 0;
    long result = 1;
    if (!c->cMarlowindModel.Finalize()) {
        AppendLater(c, "Error occurred in usb3_rx::Finalize(). ");
        result = 0;
    }
    delete c;
    return result;
}

} // extern "C"
