// amihost: drives an IBIS-AMI model library as a channel simulator would.
//
// It loads the library, passes an impulse response, the sample interval, the
// bit time and a parameter string to AMI_Init, then streams a PRBS waveform
// sent through a simple lossy channel through AMI_GetWave in blocks, and
// reports the message text and the recovered clock. A model without
// AMI_GetWave (an impulse-only model, such as the transmitter) filters the
// impulse-response matrix (main column and aggressor columns) in AMI_Init;
// the host shows what it did to each column.
//
// With --tx the host chains a transmitter into the receiver: the transmitter
// shapes the channel's impulse responses in its AMI_Init, the host builds the
// received waveform from the shaped responses (the data through the main
// column, crosstalk data through the aggressor columns), and the receiver
// equalises it and recovers the clock.
//
// The waveform is made, handed to the model and written out one block at a
// time, so the host's memory does not grow with the number of bits.
#include "model_library.h"
#include "number_arg.h"
#include "output_files.h"
#include "report_output.h"
#include "waveform.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

const double kTwoPi = 6.283185307179586;

struct Options {
    std::string model;
    std::string params = "(usb3_rx (xrx_process 0) (xboost 5))";
    double bitTime = 1e-10;
    double sampleInterval = 0.0; // 0: bit time / samples per bit
    long samplesPerBit = 32;
    long bits = 20000;
    long block = 1024;
    long prbs = 7;
    double amplitude = 0.5;
    double tauUi = 0.3; // channel time constant in unit intervals; 0: no channel
    double dataPpm = 0.0;
    long settleBits = -1; // -1: a quarter of the bits
    long impulseBits = 16;
    long aggressors = 0;
    double xtalk = 0.05; // aggressor coupling relative to the main path
    std::string tx;
    std::string txParams = "(usb3_tx (xtx_process 0) (xvptx 1.2) (xtx_boost_en 1) "
                           "(xtx_boost_lvl 1.156) (xtxlvl 105) (xtxeq 21))";
    std::string waveCsv, clockCsv, impulseCsv;
};

// What an option needs for the run to read it; given without that, it is
// refused rather than silently left unused.
enum class Needs {
    Nothing,
    GetWave,       // a model with AMI_GetWave: it sets the waveform or what is made of it
    Transmitter,   // --tx
    Aggressors,    // --aggressors 1 or more
    NoInterval,    // no --sample-interval, which sets the samples per bit itself
};

// One command-line option: where its value goes (exactly one of text, real
// and whole is set), which values it takes, and the words for both in the
// usage and in the messages.
struct Option {
    const char* name;
    const char* arg;
    std::string Options::*text;
    double Options::*real;
    long Options::*whole;
    bool (*inRange)(double); // whole numbers are compared as doubles: every bound is small
    const char* allowed;
    const char* help;
    bool mayBeEmpty = false; // a text that means something when empty
    Needs needs = Needs::Nothing;
};

Option Text(const char* name, const char* arg, std::string Options::*to, const char* allowed,
            const char* help)
{
    return {name, arg, to, nullptr, nullptr, nullptr, allowed, help};
}

// An empty parameter string is one the model may be given: it then keeps
// its defaults.
Option Params(const char* name, std::string Options::*to, const char* help)
{
    return {name, "TEXT", to, nullptr, nullptr, nullptr, "an AMI parameter string", help, true};
}

Option Real(const char* name, const char* arg, double Options::*to, bool (*inRange)(double),
            const char* allowed, const char* help)
{
    return {name, arg, nullptr, to, nullptr, inRange, allowed, help};
}

Option Whole(const char* name, const char* arg, long Options::*to, bool (*inRange)(double),
             const char* allowed, const char* help)
{
    return {name, arg, nullptr, nullptr, to, inRange, allowed, help};
}

Option Needing(Needs needs, Option opt)
{
    opt.needs = needs;
    return opt;
}

bool NotNegative(double v) { return v >= 0; }
bool AtLeastOne(double v) { return v >= 1; }

// Bit times of every serial link there is, and far inside the range where
// the models' filters, the waveform and the clock statistics (sums of
// squared spacings) stay finite and keep their precision: below some 1e-155 s
// the receiver's filter gives NaN, and squares of spacings near 1e-160 s or
// 1e+160 s underflow or overflow.
const double kShortestBit = 1e-15, kLongestBit = 1.0;
const double kMostSamplesPerBit = 1e6;
const double kShortestInterval = 1e-21; // the shortest bit / the most samples per bit
bool BitTimeInRange(double v) { return v >= kShortestBit && v <= kLongestBit; }
bool SampleIntervalInRange(double v) { return v >= kShortestInterval && v <= kLongestBit; }

const Option kOptions[] = {
    Text("--model", "LIBRARY", &Options::model, "a model library file",
         "the model library: the receiver, or any model run alone (required)"),
    Params("--params", &Options::params,
         "AMI parameter string (default \"(usb3_rx (xrx_process 0) (xboost 5))\")"),
    Real("--bit-time", "S", &Options::bitTime, BitTimeInRange,
         "a number of seconds from 1e-15 to 1", "bit time in seconds, 1e-15 to 1 (default 1e-10)"),
    Needing(Needs::NoInterval,
            Whole("--samples-per-bit", "N", &Options::samplesPerBit,
                  [](double v) { return v >= 1 && v <= kMostSamplesPerBit; },
                  "a whole number from 1 to 1000000",
                  "samples per bit; sample interval = bit time / N (default 32)")),
    Real("--sample-interval", "S", &Options::sampleInterval, SampleIntervalInRange,
         "a number of seconds from 1e-21 to 1 and from the bit time / 1e6 to the bit time",
         "sample interval in seconds, instead of --samples-per-bit"),
    Needing(Needs::GetWave, Whole("--bits", "N", &Options::bits, AtLeastOne,
                                  "a whole number of bits, at least 1",
                                  "number of bits to send (default 20000)")),
    Needing(Needs::GetWave, Whole("--block", "N", &Options::block, AtLeastOne,
                                  "a whole number of samples, at least 1",
                                  "samples per AMI_GetWave call (default 1024)")),
    Needing(Needs::GetWave,
            Whole("--prbs", "7|9|15|23|31", &Options::prbs,
                  [](double v) { return v == 7 || v == 9 || v == 15 || v == 23 || v == 31; },
                  "7, 9, 15, 23 or 31", "PRBS polynomial (default 7)")),
    // A bound no signal of a serial link comes near, and far below where the
    // sum of the main path and sixteen aggressors could overflow.
    Needing(Needs::GetWave,
            Real("--amplitude", "V", &Options::amplitude,
                 [](double v) { return std::fabs(v) <= 10; }, "a number of volts from -10 to 10",
                 "NRZ swing is +-V, -10 to 10 (default 0.5)")),
    Real("--channel-tau", "UI", &Options::tauUi, NotNegative,
         "a finite number of unit intervals, 0 or more",
         "single-pole channel time constant in UI, 0 for none (default 0.3)"),
    Needing(Needs::GetWave,
            Real("--data-ppm", "PPM", &Options::dataPpm,
                 [](double v) { return std::fabs(v) < 1e5; },
                 "a number of ppm above -100000 and below 100000",
                 "data rate offset from 1/bit time in ppm (default 0)")),
    Needing(Needs::GetWave, Whole("--settle-bits", "N", &Options::settleBits, NotNegative,
                                  "a whole number of bits, 0 or more",
                                  "bits left out of the clock statistics (default: a quarter)")),
    Whole("--impulse-bits", "N", &Options::impulseBits, AtLeastOne,
          "a whole number of bits, at least 1",
          "length of the impulse response passed to AMI_Init, in bits (default 16)"),
    Whole("--aggressors", "N", &Options::aggressors, [](double v) { return v >= 0 && v <= 16; },
          "a whole number from 0 to 16",
          "aggressor columns in the impulse matrix, 0 to 16 (default 0)"),
    Needing(Needs::Aggressors,
            Real("--xtalk", "K", &Options::xtalk, [](double v) { return std::fabs(v) <= 1; },
                 "a number from -1 to 1",
                 "coupling of aggressor k: K / k times the channel, k bits late (default "
                 "0.05)")),
    Text("--tx", "LIBRARY", &Options::tx, "a model library file",
         "transmitter model run first on the impulse matrix; --model is the receiver"),
    Needing(Needs::Transmitter,
            Params("--tx-params", &Options::txParams,
                   "the transmitter's parameter string (default: its six settings at their "
                   "defaults)")),
    Needing(Needs::GetWave, Text("--wave-csv", "FILE", &Options::waveCsv, "a file name",
                                 "write sample,time,input,output")),
    Needing(Needs::GetWave, Text("--clock-csv", "FILE", &Options::clockCsv, "a file name",
                                 "write index,time of every clock time returned")),
    Text("--impulse-csv", "FILE", &Options::impulseCsv, "a file name",
         "write sample,time,before,after (then before_k,after_k per aggressor)"),
};

// The options that need the same thing, as one line of the usage.
std::string NamesNeeding(Needs needs)
{
    std::string names;
    for (const Option& opt : kOptions)
        if (opt.needs == needs)
            names += (names.empty() ? "" : ", ") + std::string(opt.name);
    return names;
}

void Usage(FILE* to)
{
    std::fprintf(to, "usage: amihost --model LIBRARY [options]\n");
    for (const Option& opt : kOptions) {
        const std::string word = std::string(opt.name) + " " + opt.arg;
        std::fprintf(to, "  %-22s %s\n", word.c_str(), opt.help);
    }
    std::fprintf(to, "  --help, -h             this text\n");
    std::fprintf(to,
        "an option the run would not read is refused:\n"
        "  %s\n"
        "     only with a --model that has AMI_GetWave;\n"
        "  %s only with --tx; %s only with --aggressors 1 or more;\n"
        "  %s not with --sample-interval\n",
        NamesNeeding(Needs::GetWave).c_str(), NamesNeeding(Needs::Transmitter).c_str(),
        NamesNeeding(Needs::Aggressors).c_str(), NamesNeeding(Needs::NoInterval).c_str());
    std::fprintf(to,
        "exit status:\n"
        "  0  every model call returned 1, every value the models returned is finite, and\n"
        "     every file and the report on standard output were written\n"
        "  1  a model call returned other than 1 (AMI_Init, AMI_GetWave or AMI_Close, of the\n"
        "     receiver or the transmitter; also an AMI_Init that left no handle to close),\n"
        "     a model returned a value that is not finite (the matrix after AMI_Init, the\n"
        "     waveform or a clock time after AMI_GetWave: the call and the first such value\n"
        "     are named on stderr, and the run ends there), a CSV file failed part way\n"
        "     through, standard output could not be written (a full disk, a closed\n"
        "     standard output: named on stderr), or memory ran out (or another failure\n"
        "     stopped the host, named on stderr)\n"
        "  2  a bad command line (an option the run would not read among them), a library\n"
        "     that cannot be loaded, or an output that cannot be made or opened, names a\n"
        "     library or a file the process has loaded or another output, or that the\n"
        "     model cannot fill (--wave-csv or --clock-csv with no AMI_GetWave): no model\n"
        "     is run and no file is changed\n");
}

std::string Format(const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// Takes the value of one option; false when it is not one the option allows.
bool Take(const Option& opt, const char* value, Options& o)
{
    if (opt.text) {
        if (*value == '\0' && !opt.mayBeEmpty)
            return false;
        o.*opt.text = value;
        return true;
    }
    if (opt.real) {
        double v = 0;
        if (!cli::ParseFinite(value, v) || !opt.inRange(v))
            return false;
        o.*opt.real = v;
        return true;
    }
    long n = 0;
    if (!cli::ParseWhole(value, n) || !opt.inRange(static_cast<double>(n)))
        return false;
    o.*opt.whole = n;
    return true;
}

std::string BadValue(const char* name, const std::string& value, const std::string& allowed)
{
    return std::string("bad value for ") + name + ": '" + value + "' (" + allowed + ")";
}

// What the options make of the run.
struct Settings {
    double ts = 0;       // sample interval
    double spbExact = 0; // bit time / sample interval
    double dataUi = 0;   // the data's unit interval, offset by --data-ppm
    long spb = 0;        // samples per bit, rounded
    long rows = 0;       // impulse response length in samples
    long columns = 0;    // main column and aggressors
    long total = 0;      // samples sent
};

// The largest n >= 0 for which fits(n) holds; fits(0) holds and fits is
// monotone.
template <class Fits>
long Largest(Fits fits)
{
    long lo = 0, hi = LONG_MAX;
    while (lo < hi) {
        const long mid = lo + (hi - lo) / 2 + 1;
        if (fits(mid))
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

// The checks that take more than one option, and the sizes of the run;
// returns what is wrong, or nothing.
std::string Derive(const Options& o, Settings& s)
{
    s.ts = o.sampleInterval > 0 ? o.sampleInterval : o.bitTime / o.samplesPerBit;
    s.spbExact = o.bitTime / s.ts;
    // --samples-per-bit is bounded by itself; a given interval is bounded
    // here, with room for the rounding of an interval given as exactly the
    // bit time / 1e6.
    if (o.sampleInterval > 0 &&
        !(s.spbExact >= 1.0 && s.spbExact <= kMostSamplesPerBit * (1 + 1e-12)))
        return BadValue("--sample-interval", Format("%g", o.sampleInterval),
                        Format("a number of seconds from the bit time / 1e6 = %g s to the bit "
                               "time %g s",
                               o.bitTime / 1e6, o.bitTime));
    s.dataUi = o.bitTime / (1.0 + o.dataPpm * 1e-6);
    s.columns = o.aggressors + 1;

    // Counts are compared as doubles, strictly below their limit rounded to a
    // double, so that a count that passes converts to a long without
    // overflow. The sample count must fit a long (the index, and what
    // AMI_GetWave takes); the impulse matrix must fit one vector too (32-bit
    // long and size_t on Windows).
    const double sampleLimit = static_cast<double>(LONG_MAX);
    const double matrixLimit = static_cast<double>(
        std::min<unsigned long long>(LONG_MAX, std::vector<double>().max_size()));
    const auto samples = [&](long bits) { return std::ceil(bits * s.dataUi / s.ts); };
    const auto rows = [&](long bits) { return std::ceil(bits * s.spbExact); };
    const auto samplesFit = [&](long bits) { return samples(bits) < sampleLimit; };
    const auto matrixFits = [&](long bits) {
        return rows(bits) * static_cast<double>(s.columns) < matrixLimit;
    };
    if (!samplesFit(o.bits))
        return BadValue("--bits", Format("%ld", o.bits),
                        Format("at most %ld bits at this data rate and sample interval, so that "
                               "the count of samples fits a long",
                               Largest(samplesFit)));
    if (!matrixFits(o.impulseBits))
        return BadValue("--impulse-bits", Format("%ld", o.impulseBits),
                        Format("at most %ld bits at this sample interval and number of "
                               "aggressors, so that the count of values in the impulse "
                               "matrix fits a long and an array",
                               Largest(matrixFits)));
    s.total = static_cast<long>(samples(o.bits));
    s.rows = static_cast<long>(rows(o.impulseBits));
    s.spb = static_cast<long>(s.spbExact + 0.5);
    return std::string();
}

// A file the run names on its command line, and which file it is.
struct Named {
    const char* option;
    const std::string& path;
    amihost::FileKey key;
};

// The outputs a run writes, in the order of the usage, and each one's file
// once it is open.
struct Outputs {
    explicit Outputs(const Options& o)
        : named{{"--wave-csv", o.waveCsv, {}},
                {"--clock-csv", o.clockCsv, {}},
                {"--impulse-csv", o.impulseCsv, {}}}
    {
    }
    Named named[3];
    amihost::OutputFile opened[3];

    amihost::OutputFile& wave() { return opened[0]; }
    amihost::OutputFile& clock() { return opened[1]; }
    amihost::OutputFile& impulse() { return opened[2]; }
};

// The files a run names: every output must be one the host can make, and
// none may be a library it loads or another output (a library mapped into
// the process dies when its file is cut short). Returns what is wrong, or
// nothing; nothing is made or changed. Fills in which file each output is.
std::string CheckFiles(const Options& o, Outputs& files)
{
    const Named libraries[] = {{"--model", o.model, amihost::ExistingFile(o.model)},
                               {"--tx", o.tx, amihost::ExistingFile(o.tx)}};
    for (Named& out : files.named) {
        if (out.path.empty())
            continue;
        const std::string why = amihost::CheckOutput(out.path, out.key);
        if (!why.empty())
            return "cannot write " + out.path + " (" + out.option + "): " + why;
        for (const Named& lib : libraries)
            if (out.key == lib.key)
                return std::string(out.option) + " " + out.path + " names the library file of " +
                       lib.option + " " + lib.path + ": an output must not overwrite a library";
        for (const Named& other : files.named) {
            if (&other == &out)
                break;
            if (out.key == other.key)
                return std::string(other.option) + " " + other.path + " and " + out.option +
                       " " + out.path + " name one file: each output needs a file of its own";
        }
    }
    return std::string();
}

// After the libraries are loaded: no output may be a file mapped into the
// process, such as a library a model needs (found through its run path) or
// the host program itself. Returns what is wrong, or nothing.
std::string CheckLoaded(const Outputs& files)
{
    const std::vector<amihost::LoadedFile> loaded = amihost::LoadedFiles();
    for (const Named& out : files.named) {
        if (out.path.empty())
            continue;
        for (const amihost::LoadedFile& file : loaded)
            if (out.key == file.key)
                return std::string(out.option) + " " + out.path + " is " + file.path +
                       ", a file the process has loaded: an output must not overwrite it";
    }
    return std::string();
}

// Once every check has passed and before any model runs: every output opened
// for writing, made where it is absent, not yet cut short. The system has the
// last word, whatever the checks before could tell (a pseudo file system, a
// mount that maps the superuser to another user). Returns what is wrong, or
// nothing; on a refusal the files opened so far are left as they were, and
// those made are removed when files goes.
std::string OpenOutputs(Outputs& files)
{
    for (size_t k = 0; k < 3; ++k) {
        const Named& out = files.named[k];
        if (out.path.empty())
            continue;
        const std::string why = files.opened[k].Open(out.path);
        if (!why.empty())
            return "cannot write " + out.path + " (" + out.option + "): " + why;
    }
    return std::string();
}

// An option given on the command line, with its value as given.
struct Given {
    const Option* option;
    std::string value;
};

// Why the run would not read an option given, or nothing. hasGetWave is
// known only once the model is loaded: before, the options that need it are
// left for later.
std::string Unread(const std::vector<Given>& given, const Options& o, const bool* hasGetWave)
{
    bool interval = false;
    for (const Given& g : given)
        interval |= g.option->real == &Options::sampleInterval;
    for (const Given& g : given) {
        const std::string name = g.option->name;
        switch (g.option->needs) {
        case Needs::Nothing: break;
        case Needs::Transmitter:
            if (o.tx.empty())
                return name + " given without --tx: there is no transmitter to take it";
            break;
        case Needs::Aggressors:
            if (o.aggressors == 0)
                return name + " given without aggressors (--aggressors is 0): there is no "
                              "aggressor column for it to couple";
            break;
        case Needs::NoInterval:
            if (interval)
                return name + " given with --sample-interval, which sets the samples per bit "
                              "itself: give one of the two";
            break;
        case Needs::GetWave:
            if (hasGetWave == nullptr || *hasGetWave)
                break;
            if (g.option->text != nullptr) // a file the waveform would fill
                return name + " needs a model with AMI_GetWave: " + o.model +
                       " has none, so nothing would be written to " + g.value;
            return name + " needs a model with AMI_GetWave: " + o.model +
                   " has none, so no waveform is sent and " + name + " would not be read";
        }
    }
    return std::string();
}

enum class Parsed { Run, Help, Refused };

// Every word is read before any is acted on: --help anywhere wins, and
// otherwise the first fault found is the one reported, on one line.
Parsed ParseArgs(int argc, char** argv, Options& o, Settings& s, Outputs& files,
                 std::vector<Given>& given)
{
    std::string fault;
    bool help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            help = true;
            continue;
        }
        const Option* opt = nullptr;
        for (const Option& candidate : kOptions)
            if (word == candidate.name)
                opt = &candidate;
        std::string problem;
        if (!opt)
            problem = (word.rfind('-', 0) == 0 ? "unknown option '" : "stray word '") + word +
                      "' (amihost --help lists the options)";
        else if (i + 1 >= argc)
            problem = word + " needs a value (" + opt->allowed + ")";
        else if (!Take(*opt, argv[i + 1], o))
            problem = BadValue(opt->name, argv[i + 1], opt->allowed);
        else
            given.push_back({opt, argv[i + 1]});
        if (opt)
            ++i;
        if (fault.empty())
            fault = problem;
    }
    if (help) {
        Usage(stdout);
        return Parsed::Help;
    }
    if (fault.empty() && o.model.empty())
        fault = "no --model given: name the model library to run (amihost --help lists the "
                "options)";
    if (fault.empty())
        fault = Unread(given, o, nullptr);
    if (fault.empty())
        fault = Derive(o, s);
    if (fault.empty())
        fault = CheckFiles(o, files);
    if (!fault.empty()) {
        std::fprintf(stderr, "amihost: %s\n", fault.c_str());
        return Parsed::Refused;
    }
    return Parsed::Run;
}

// Clock statistics after settling, as running sums over the clock times in
// the order they come.
class ClockStats {
public:
    ClockStats(double settleTime, double dataUi) : m_settleTime(settleTime), m_dataUi(dataUi) {}

    void Add(double t)
    {
        if (!(t < m_settleTime)) {
            if (m_count > 0 && m_previous >= m_settleTime) {
                const double d = t - m_previous;
                if (m_spacings == 0)
                    m_lo = m_hi = d;
                m_sum += d;
                m_squares += d * d;
                m_lo = d < m_lo ? d : m_lo;
                m_hi = d > m_hi ? d : m_hi;
                ++m_spacings;
            }
            double p = std::fmod(t / m_dataUi, 1.0);
            p = p < 0 ? p + 1 : p;
            m_sin += std::sin(kTwoPi * p);
            m_cos += std::cos(kTwoPi * p);
            ++m_settled;
        }
        m_previous = t;
        ++m_count;
    }

    size_t count() const { return m_count; }

    void Print(long settle, double bitTime) const
    {
        std::printf("clock times: %zu found (%zu after the first %ld bits)\n", m_count, m_settled,
                    settle);
        if (m_spacings < 2) {
            std::printf("clock spacing: too few clock times after settling\n");
            return;
        }
        const double n = static_cast<double>(m_spacings);
        const double mean = m_sum / n;
        const double sd = std::sqrt(std::fmax(m_squares / n - mean * mean, 0.0));
        // The mean over the whole settled span is (last - first) / count.
        std::printf("clock spacing: mean %.6g s = %.6f bit times (data unit interval %.6f bit "
                    "times), %+.1f ppm from the data rate\n",
                    mean, mean / bitTime, m_dataUi / bitTime, (mean / m_dataUi - 1.0) * 1e6);
        std::printf("               min %.4g s, max %.4g s, rms deviation %.3g s (%.3f UI)\n", m_lo,
                    m_hi, sd, sd / m_dataUi);
        // Circular mean and spread of the phases, in unit intervals.
        const double r = std::sqrt(m_sin * m_sin + m_cos * m_cos) / static_cast<double>(m_settled);
        double phase = std::atan2(m_sin, m_cos) / (kTwoPi);
        if (phase < 0)
            phase += 1.0;
        const double spread = r > 0 && r < 1 ? std::sqrt(-2.0 * std::log(r)) / (kTwoPi) : 0.0;
        std::printf("clock phase against the transmitted bit grid: mean %.3f UI, spread %.3f UI\n",
                    phase, spread);
    }

private:
    double m_settleTime, m_dataUi;
    size_t m_count = 0, m_settled = 0, m_spacings = 0;
    double m_previous = 0;
    double m_sum = 0, m_squares = 0, m_lo = 0, m_hi = 0, m_sin = 0, m_cos = 0;
};

// A CSV file the run writes as it goes, into the output opened for it before
// the run. One that cannot be written is named on stderr and makes the exit
// status 1; the run goes on without it.
class CsvFile {
public:
    CsvFile(const std::string& path, amihost::OutputFile& output) : m_path(path)
    {
        if (!path.empty() && !(m_file = output.Begin()))
            Fail(std::strerror(errno));
    }
    CsvFile(const CsvFile&) = delete;
    CsvFile& operator=(const CsvFile&) = delete;
    ~CsvFile()
    {
        if (m_file)
            std::fclose(m_file);
    }

    FILE* get() const { return m_file; }

    // Closes the file and says what it holds; false if it was asked for and
    // not written whole.
    bool Close(const char* what)
    {
        if (!m_file)
            return m_path.empty(); // one that could not be opened was named then
        const bool written = !std::ferror(m_file);
        const bool closed = std::fclose(m_file) == 0;
        m_file = nullptr;
        if (!written || !closed) {
            Fail("a write failed");
            return false;
        }
        std::printf("%s written to %s\n", what, m_path.c_str());
        return true;
    }

private:
    void Fail(const char* why)
    {
        std::fprintf(stderr, "amihost: cannot write %s: %s\n", m_path.c_str(), why);
    }
    std::string m_path;
    FILE* m_file = nullptr;
};

// Response to one bit of height 1: the impulse response summed over a unit
// interval, then sampled at its largest value and whole unit intervals around it.
std::string Cursors(const double* h, long rows, long spb, double ts)
{
    std::vector<double> pulse(static_cast<size_t>(rows), 0.0);
    double run = 0;
    for (long n = 0; n < rows; ++n) {
        run += h[n] * ts;
        if (n >= spb)
            run -= h[n - spb] * ts;
        pulse[n] = run;
    }
    long peak = 0;
    for (long n = 1; n < rows; ++n)
        if (std::fabs(pulse[n]) > std::fabs(pulse[peak]))
            peak = n;
    std::string text;
    char item[64];
    for (long m = -1; m <= 3; ++m) {
        const long n = peak + m * spb;
        if (n < 0 || n >= rows)
            continue;
        std::snprintf(item, sizeof item, "%s%+ld:%.4f", text.empty() ? "" : " ", m, pulse[n]);
        text += item;
    }
    return text;
}

// What an AMI_Init did to each column: DC gain (area) and the bit response.
void ShowColumns(const std::vector<double>& before, const std::vector<double>& after, long rows,
                 long aggressors, long spb, double ts)
{
    for (long j = 0; j <= aggressors; ++j) {
        const double* b = before.data() + j * rows;
        const double* f = after.data() + j * rows;
        double areaB = 0, areaA = 0;
        for (long n = 0; n < rows; ++n) {
            areaB += b[n] * ts;
            areaA += f[n] * ts;
        }
        char name[32];
        if (j == 0)
            std::snprintf(name, sizeof name, "main");
        else
            std::snprintf(name, sizeof name, "aggressor %ld", j);
        std::printf("  column %ld (%s): DC gain %.6f -> %.6f\n", j, name, areaB, areaA);
        std::printf("    bit response at cursors (UI:value) before: %s\n",
                    Cursors(b, rows, spb, ts).c_str());
        std::printf("                                       after:  %s\n",
                    Cursors(f, rows, spb, ts).c_str());
    }
}

// A value that is not finite, in the same words on every platform (the C
// libraries print NaN each their own way).
const char* NotFiniteText(double v)
{
    return std::isnan(v) ? "nan" : v > 0 ? "inf" : "-inf";
}

// The first value of an impulse matrix that is not finite, named by its
// column and row; empty when every value is finite.
std::string NotFiniteInMatrix(const std::vector<double>& matrix, long rows)
{
    for (size_t k = 0; k < matrix.size(); ++k)
        if (!std::isfinite(matrix[k])) {
            const long column = static_cast<long>(k) / rows, row = static_cast<long>(k) % rows;
            return Format("column %ld (%s), row %ld, is %s", column,
                          column == 0 ? "main" : Format("aggressor %ld", column).c_str(), row,
                          NotFiniteText(matrix[k]));
        }
    return std::string();
}

// What a model returned that is not finite ends the run: the numbers made
// of it would be NaN throughout, yet look like a result.
bool EndsOnNotFinite(const char* call, const char* what, const std::string& first)
{
    if (first.empty())
        return false;
    cli::FlushReport();
    std::fprintf(stderr, "amihost: %s returned %s that is not finite: %s\n", call, what,
                 first.c_str());
    return true;
}

void PrintMessage(const char* label, const char* msg)
{
    std::printf("%s:", label);
    if (!msg) {
        std::printf(" (none)\n");
        return;
    }
    std::printf("\n---\n%s\n---\n", msg);
}

int Run(int argc, char** argv)
{
    Options o;
    Settings s;
    Outputs files(o);
    std::vector<Given> given;
    switch (ParseArgs(argc, argv, o, s, files, given)) {
    case Parsed::Help: return 0;
    case Parsed::Refused: return 2;
    case Parsed::Run: break;
    }
    const double ts = s.ts;
    const long rows = s.rows, spb = s.spb, columns = s.columns;

    amihost::ModelLibrary lib, txLib;
    if (!lib.Open(o.model)) {
        std::fprintf(stderr, "amihost: cannot load %s\n", lib.error().c_str());
        return 2;
    }
    if (!o.tx.empty() && !txLib.Open(o.tx)) {
        std::fprintf(stderr, "amihost: cannot load %s\n", txLib.error().c_str());
        return 2;
    }
    // What the loader brought in with the libraries, and what only a model
    // with AMI_GetWave reads, are known now; nothing has run yet.
    const bool hasGetWave = lib.getWave != nullptr;
    std::string fault = CheckLoaded(files);
    if (fault.empty())
        fault = Unread(given, o, &hasGetWave);
    if (fault.empty())
        fault = OpenOutputs(files);
    if (!fault.empty()) {
        std::fprintf(stderr, "amihost: %s\n", fault.c_str());
        return 2;
    }
    if (!o.tx.empty())
        std::printf("transmitter: %s (AMI_GetWave %s)\n", o.tx.c_str(),
                    txLib.getWave ? "present, not used" : "absent: impulse-only model");
    std::printf("model: %s (AMI_GetWave %s)\n", o.model.c_str(),
                lib.getWave ? "present" : "absent: impulse-only model");
    std::printf("bit time %g s, sample interval %g s (%.4g samples per bit), data rate offset %g ppm\n",
                o.bitTime, ts, s.spbExact, o.dataPpm);

    // The channel: a single-pole low-pass, y += a (x - y) per sample.
    const double a = o.tauUi > 0 ? 1.0 - std::exp(-ts / (o.tauUi * o.bitTime)) : 1.0;
    std::vector<double> impulse(static_cast<size_t>(rows * columns), 0.0);
    for (long n = 0; n < rows; ++n)
        impulse[n] = (o.tauUi > 0 ? a * std::pow(1.0 - a, static_cast<double>(n)) : (n == 0)) / ts;
    // Aggressor k: a weaker copy of the channel, k bits late.
    for (long k = 1; k < columns; ++k)
        for (long n = k * spb; n < rows; ++n)
            impulse[k * rows + n] = o.xtalk / k * impulse[n - k * spb];
    const std::vector<double> channel = impulse;

    int status = 0;
    if (!o.tx.empty()) {
        std::vector<char> txParams(o.txParams.begin(), o.txParams.end());
        txParams.push_back('\0');
        void* txHandle = nullptr;
        char* txMsg = nullptr;
        char* txOut = nullptr;
        const long r = txLib.init(impulse.data(), rows, o.aggressors, ts, o.bitTime, txParams.data(),
                                  &txOut, &txHandle, &txMsg);
        std::printf("transmitter AMI_Init returned %ld (%ld rows, %ld aggressor%s)\n", r, rows,
                    o.aggressors, o.aggressors == 1 ? "" : "s");
        PrintMessage("transmitter message", txMsg);
        if (EndsOnNotFinite("the transmitter's AMI_Init", "an impulse matrix",
                            NotFiniteInMatrix(impulse, rows))) {
            std::printf("transmitter AMI_Close returned %ld\n", txHandle ? txLib.close(txHandle) : 0);
            return 1;
        }
        std::printf("impulse matrix shaped by the transmitter:\n");
        ShowColumns(channel, impulse, rows, o.aggressors, spb, ts);
        const long c = txHandle ? txLib.close(txHandle) : 0;
        std::printf("transmitter AMI_Close returned %ld\n", c);
        if (r != 1 || c != 1) {
            // An unshaped or half-shaped matrix would pass for the transmitter's output.
            std::printf("the transmitter failed: the receiver is not run\n");
            return 1;
        }
    }
    const std::vector<double> impulseBefore = impulse;

    // The waveform's buffers are taken before the model holds anything, so
    // that memory running out leaves no model open.
    const bool fromMatrix = !o.tx.empty() || o.aggressors > 0;
    const long blockLen = std::min(o.block, s.total);
    std::optional<amihost::Waveform> waveform;
    std::vector<double> input, output, times;
    if (lib.getWave) {
        const amihost::Signal signal = {static_cast<int>(o.prbs), o.amplitude, s.ts, s.dataUi};
        if (fromMatrix)
            waveform.emplace(signal, impulseBefore.data(), rows, columns);
        else
            waveform.emplace(signal, a);
        input = amihost::Buffer(blockLen);
        output = amihost::Buffer(blockLen);
        // At most one clock time a bit and a few more, then the end mark.
        times = amihost::Buffer(static_cast<long>(blockLen / std::floor(s.spbExact + 0.5)) + 4);
    }

    std::vector<char> params(o.params.begin(), o.params.end());
    params.push_back('\0');
    void* handle = nullptr;
    char* msg = nullptr;
    char* paramsOut = nullptr;
    const long initResult = lib.init(impulse.data(), rows, o.aggressors, ts, o.bitTime,
                                     params.data(), &paramsOut, &handle, &msg);
    std::printf("AMI_Init returned %ld\n", initResult);
    PrintMessage("message", msg);
    if (paramsOut)
        std::printf("parameters out: %s\n", paramsOut);
    if (EndsOnNotFinite("AMI_Init", "an impulse matrix", NotFiniteInMatrix(impulse, rows))) {
        std::printf("AMI_Close returned %ld\n", handle ? lib.close(handle) : 0);
        return 1;
    }
    size_t changed = 0;
    for (size_t k = 0; k < impulse.size(); ++k)
        changed += impulse[k] != impulseBefore[k];
    std::printf("impulse response: %ld rows, %zu values changed by AMI_Init\n", rows, changed);
    if (changed > 0)
        ShowColumns(impulseBefore, impulse, rows, o.aggressors, spb, ts);

    if (initResult != 1)
        status = 1;
    if (!o.impulseCsv.empty()) {
        CsvFile csv(o.impulseCsv, files.impulse());
        if (FILE* f = csv.get()) {
            std::fprintf(f, "sample,time,before,after");
            for (long k = 1; k < columns; ++k)
                std::fprintf(f, ",before_%ld,after_%ld", k, k);
            std::fprintf(f, "\n");
            for (long n = 0; n < rows; ++n) {
                std::fprintf(f, "%ld,%.12e", n, n * ts);
                for (long k = 0; k < columns; ++k)
                    std::fprintf(f, ",%.12e,%.12e", channel[k * rows + n], impulse[k * rows + n]);
                std::fprintf(f, "\n");
            }
        }
        if (!csv.Close("impulse response"))
            status = 1;
    }

    if (lib.getWave && initResult == 1) {
        if (fromMatrix)
            std::printf("waveform built from the %simpulse matrix (%ld column%s)\n",
                        o.tx.empty() ? "" : "transmitter-shaped ", columns, columns > 1 ? "s" : "");
        const long settle = o.settleBits >= 0 ? o.settleBits : o.bits / 4;
        ClockStats clock(settle * s.dataUi, s.dataUi);
        CsvFile waveCsv(o.waveCsv, files.wave()), clockCsv(o.clockCsv, files.clock());
        if (FILE* f = waveCsv.get())
            std::fprintf(f, "sample,time,input,output\n");
        if (FILE* f = clockCsv.get())
            std::fprintf(f, "index,time\n");

        long calls = 0, failed = 0;
        for (long start = 0, len = 0; start < s.total; start += len) {
            len = std::min(blockLen, s.total - start);
            waveform->Fill(input.data(), len);
            std::copy(input.begin(), input.begin() + len, output.begin());
            times[0] = -1.0;
            const long r = lib.getWave(output.data(), len, times.data(), &paramsOut, handle);
            ++calls;
            failed += r != 1;
            // The clock list ends at its first negative entry, the -1 mark.
            size_t clocks = 0;
            std::string badClock;
            for (; clocks < times.size(); ++clocks) {
                if (!std::isfinite(times[clocks])) {
                    badClock = Format("clock time %zu of the call is %s", clocks,
                                      NotFiniteText(times[clocks]));
                    break;
                }
                if (times[clocks] < 0)
                    break;
            }
            std::string badWave;
            for (long i = 0; i < len && badWave.empty(); ++i)
                if (!std::isfinite(output[i]))
                    badWave = Format("sample %ld of the run (%ld of the call) is %s", start + i, i,
                                     NotFiniteText(output[i]));
            const std::string call = Format("AMI_GetWave call %ld", calls);
            if (EndsOnNotFinite(call.c_str(), "a waveform", badWave) ||
                EndsOnNotFinite(call.c_str(), "a clock time", badClock)) {
                // Neither the statistics nor the files take the block.
                std::printf("AMI_Close returned %ld\n", handle ? lib.close(handle) : 0);
                return 1;
            }
            for (size_t k = 0; k < clocks; ++k) {
                if (FILE* f = clockCsv.get())
                    std::fprintf(f, "%zu,%.12e\n", clock.count(), times[k]);
                clock.Add(times[k]);
            }
            if (FILE* f = waveCsv.get())
                for (long i = 0; i < len; ++i)
                    std::fprintf(f, "%ld,%.12e,%.9e,%.9e\n", start + i, (start + i) * ts, input[i],
                                 output[i]);
        }
        std::printf("AMI_GetWave: %ld calls of up to %ld samples, %ld failed\n", calls, o.block, failed);
        if (failed)
            status = 1;
        clock.Print(settle, o.bitTime);
        if (!waveCsv.Close("waveform"))
            status = 1;
        if (!clockCsv.Close("clock times"))
            status = 1;
    } else if (!lib.getWave) {
        std::printf("no AMI_GetWave: the model works on the impulse response in AMI_Init only\n");
    }

    const long closeResult = handle ? lib.close(handle) : 0;
    std::printf("AMI_Close returned %ld\n", closeResult);
    if (closeResult != 1)
        status = 1;
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    cli::StartReport();
    int status = 1;
    try {
        status = Run(argc, argv);
    } catch (const std::bad_alloc&) {
        cli::FlushReport();
        std::fprintf(stderr, "amihost: out of memory: the run needs more than it can get (a "
                             "smaller --impulse-bits, --aggressors or --block needs less)\n");
    } catch (const std::exception& e) {
        cli::FlushReport();
        std::fprintf(stderr, "amihost: %s\n", e.what());
    }
    // A refused run (2) wrote nothing to standard output; any other run
    // reported, and a report that was lost is no success.
    if (status != 2 && !cli::ReportWritten("amihost"))
        status = 1;
    return status;
}
