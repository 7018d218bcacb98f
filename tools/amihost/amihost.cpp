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
#include "model_library.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    int prbs = 7;
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

void Usage(FILE* to)
{
    std::fprintf(to,
        "usage: amihost --model LIBRARY [options]\n"
        "  --params TEXT          AMI parameter string (default \"(usb3_rx (xrx_process 0) (xboost 5))\")\n"
        "  --bit-time S           bit time in seconds (default 1e-10)\n"
        "  --samples-per-bit N    samples per bit; sample interval = bit time / N (default 32)\n"
        "  --sample-interval S    sample interval in seconds (overrides --samples-per-bit)\n"
        "  --bits N               number of bits to send (default 20000)\n"
        "  --block N              samples per AMI_GetWave call (default 1024)\n"
        "  --prbs 7|9|15|23|31    PRBS polynomial (default 7)\n"
        "  --amplitude V          NRZ swing is +-V (default 0.5)\n"
        "  --channel-tau UI       single-pole channel time constant in UI, 0 for none (default 0.3)\n"
        "  --data-ppm PPM         data rate offset from 1/bit time in ppm (default 0)\n"
        "  --settle-bits N        bits left out of the clock statistics (default: a quarter)\n"
        "  --impulse-bits N       length of the impulse response passed to AMI_Init, in bits (default 16)\n"
        "  --aggressors N         aggressor columns in the impulse matrix, 0 to 16 (default 0)\n"
        "  --xtalk K              coupling of aggressor k: K / k times the channel, k bits late (default 0.05)\n"
        "  --tx LIBRARY           transmitter model run first on the impulse matrix; --model is the receiver\n"
        "  --tx-params TEXT       the transmitter's parameter string (default: its six settings at their defaults)\n"
        "  --wave-csv FILE        write sample,time,input,output\n"
        "  --clock-csv FILE       write index,time of every clock time returned\n"
        "  --impulse-csv FILE     write sample,time,before,after (then before_k,after_k per aggressor)\n");
}

bool ParseDouble(const char* text, double& out)
{
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text, &end);
    if (end == text || *end || errno == ERANGE)
        return false;
    out = v;
    return true;
}

bool ParseLong(const char* text, long& out)
{
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end || errno == ERANGE)
        return false;
    out = v;
    return true;
}

bool ParseArgs(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            Usage(stdout);
            std::exit(0);
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "amihost: %s needs a value\n", a.c_str());
            return false;
        }
        const char* v = argv[++i];
        long n = 0;
        bool ok = true;
        if (a == "--model")
            o.model = v;
        else if (a == "--params")
            o.params = v;
        else if (a == "--bit-time")
            ok = ParseDouble(v, o.bitTime);
        else if (a == "--sample-interval")
            ok = ParseDouble(v, o.sampleInterval);
        else if (a == "--samples-per-bit")
            ok = ParseLong(v, o.samplesPerBit) && o.samplesPerBit > 0;
        else if (a == "--bits")
            ok = ParseLong(v, o.bits) && o.bits > 0;
        else if (a == "--block")
            ok = ParseLong(v, o.block) && o.block > 0;
        else if (a == "--prbs")
            ok = ParseLong(v, n) && (n == 7 || n == 9 || n == 15 || n == 23 || n == 31) &&
                 (o.prbs = static_cast<int>(n), true);
        else if (a == "--amplitude")
            ok = ParseDouble(v, o.amplitude);
        else if (a == "--channel-tau")
            ok = ParseDouble(v, o.tauUi) && o.tauUi >= 0.0;
        else if (a == "--data-ppm")
            ok = ParseDouble(v, o.dataPpm) && std::fabs(o.dataPpm) < 1e5;
        else if (a == "--settle-bits")
            ok = ParseLong(v, o.settleBits) && o.settleBits >= 0;
        else if (a == "--impulse-bits")
            ok = ParseLong(v, o.impulseBits) && o.impulseBits > 0;
        else if (a == "--aggressors")
            ok = ParseLong(v, o.aggressors) && o.aggressors >= 0 && o.aggressors <= 16;
        else if (a == "--xtalk")
            ok = ParseDouble(v, o.xtalk) && std::fabs(o.xtalk) <= 1.0;
        else if (a == "--tx")
            o.tx = v;
        else if (a == "--tx-params")
            o.txParams = v;
        else if (a == "--wave-csv")
            o.waveCsv = v;
        else if (a == "--clock-csv")
            o.clockCsv = v;
        else if (a == "--impulse-csv")
            o.impulseCsv = v;
        else {
            std::fprintf(stderr, "amihost: unknown option %s\n", a.c_str());
            return false;
        }
        if (!ok) {
            std::fprintf(stderr, "amihost: bad value for %s: %s\n", a.c_str(), v);
            return false;
        }
    }
    if (o.model.empty()) {
        std::fprintf(stderr, "amihost: --model is required\n");
        return false;
    }
    return true;
}

// Fibonacci LFSR with the usual PRBS taps (x^n + x^m + 1).
class Prbs {
public:
    explicit Prbs(int order, uint32_t seed = 1) : m_order(order), m_state(seed)
    {
        switch (order) {
        case 7: m_tap = 6; break;
        case 9: m_tap = 5; break;
        case 15: m_tap = 14; break;
        case 23: m_tap = 18; break;
        default: m_tap = 28; break; // 31
        }
    }
    int Next()
    {
        const uint32_t bit = ((m_state >> (m_order - 1)) ^ (m_state >> (m_tap - 1))) & 1u;
        m_state = ((m_state << 1) | bit) & ((1u << m_order) - 1u);
        return static_cast<int>(bit);
    }

private:
    int m_order;
    int m_tap;
    uint32_t m_state;
};

// Circular mean and spread of phases given in unit intervals.
void PhaseStats(const std::vector<double>& phases, double& mean, double& spread)
{
    double s = 0, c = 0;
    for (double p : phases) {
        s += std::sin(kTwoPi * p);
        c += std::cos(kTwoPi * p);
    }
    const double n = static_cast<double>(phases.size());
    const double r = std::sqrt(s * s + c * c) / n;
    mean = std::atan2(s, c) / (kTwoPi);
    if (mean < 0)
        mean += 1.0;
    spread = r > 0 && r < 1 ? std::sqrt(-2.0 * std::log(r)) / (kTwoPi) : 0.0;
}

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

// Last sample of a column worth convolving with.
long Support(const double* h, long rows)
{
    double peak = 0;
    for (long n = 0; n < rows; ++n)
        peak = std::fmax(peak, std::fabs(h[n]));
    long last = rows;
    while (last > 1 && std::fabs(h[last - 1]) <= peak * 1e-12)
        --last;
    return last;
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

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!ParseArgs(argc, argv, o)) {
        Usage(stderr);
        return 2;
    }
    const double ts = o.sampleInterval > 0 ? o.sampleInterval : o.bitTime / o.samplesPerBit;
    const double spbExact = o.bitTime / ts;
    if (!(spbExact >= 1.0) || spbExact > 1e6) {
        std::fprintf(stderr, "amihost: bit time / sample interval = %g is out of range\n", spbExact);
        return 2;
    }

    amihost::ModelLibrary lib, txLib;
    if (!lib.Open(o.model)) {
        std::fprintf(stderr, "amihost: %s\n", lib.error().c_str());
        return 2;
    }
    if (!o.tx.empty() && !txLib.Open(o.tx)) {
        std::fprintf(stderr, "amihost: %s\n", txLib.error().c_str());
        return 2;
    }
    if (!o.tx.empty())
        std::printf("transmitter: %s (AMI_GetWave %s)\n", o.tx.c_str(),
                    txLib.getWave ? "present, not used" : "absent: impulse-only model");
    std::printf("model: %s (AMI_GetWave %s)\n", o.model.c_str(),
                lib.getWave ? "present" : "absent: impulse-only model");
    std::printf("bit time %g s, sample interval %g s (%.4g samples per bit), data rate offset %g ppm\n",
                o.bitTime, ts, spbExact, o.dataPpm);

    // The channel: a single-pole low-pass, y += a (x - y) per sample.
    const double a = o.tauUi > 0 ? 1.0 - std::exp(-ts / (o.tauUi * o.bitTime)) : 1.0;
    const long rows = static_cast<long>(std::ceil(o.impulseBits * spbExact));
    const long spb = static_cast<long>(spbExact + 0.5);
    const long columns = o.aggressors + 1;
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
        std::printf("transmitter AMI_Init returned %ld (%ld rows, %ld aggressors)\n", r, rows,
                    o.aggressors);
        PrintMessage("transmitter message", txMsg);
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
    size_t changed = 0;
    for (size_t k = 0; k < impulse.size(); ++k)
        changed += impulse[k] != impulseBefore[k];
    std::printf("impulse response: %ld rows, %zu values changed by AMI_Init\n", rows, changed);
    if (changed > 0)
        ShowColumns(impulseBefore, impulse, rows, o.aggressors, spb, ts);

    if (initResult != 1)
        status = 1;
    if (!o.impulseCsv.empty()) {
        if (FILE* f = std::fopen(o.impulseCsv.c_str(), "w")) {
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
            std::fclose(f);
            std::printf("impulse response written to %s\n", o.impulseCsv.c_str());
        } else {
            std::fprintf(stderr, "amihost: cannot write %s\n", o.impulseCsv.c_str());
            status = 1;
        }
    }

    if (lib.getWave && initResult == 1) {
        // The waveform: PRBS bits at the (possibly offset) data rate, NRZ,
        // through the channel.
        const double dataUi = o.bitTime / (1.0 + o.dataPpm * 1e-6);
        const long total = static_cast<long>(std::ceil(o.bits * dataUi / ts));
        std::vector<double> input(static_cast<size_t>(total));
        // NRZ data held per sample; seed 1 is the data, other seeds the
        // aggressors' unrelated data.
        auto nrz = [&](int order, uint32_t seed) {
            std::vector<double> x(static_cast<size_t>(total));
            Prbs prbs(order, seed);
            long bitIndex = -1;
            double level = 0;
            for (long n = 0; n < total; ++n) {
                const long b = static_cast<long>(std::floor(n * ts / dataUi));
                while (bitIndex < b) {
                    level = prbs.Next() ? o.amplitude : -o.amplitude;
                    ++bitIndex;
                }
                x[n] = level;
            }
            return x;
        };
        if (o.tx.empty() && o.aggressors == 0) {
            const std::vector<double> x = nrz(o.prbs, 1);
            double y = 0;
            for (long n = 0; n < total; ++n) {
                y += a * (x[n] - y);
                input[n] = y;
            }
        } else {
            // The waveform from the (shaped) impulse responses: each column
            // convolved with its data, the crosstalk added to the main path.
            for (long k = 0; k < columns; ++k) {
                const std::vector<double> x = k == 0 ? nrz(o.prbs, 1) : nrz(15, 0x1234u + 977u * k);
                const double* h = impulseBefore.data() + k * rows;
                const long len = Support(h, rows);
                for (long n = 0; n < total; ++n) {
                    double acc = 0;
                    const long top = n + 1 < len ? n + 1 : len;
                    for (long m = 0; m < top; ++m)
                        acc += h[m] * x[n - m];
                    input[n] += acc * ts;
                }
            }
            std::printf("waveform built from the %simpulse matrix (%ld column%s)\n",
                        o.tx.empty() ? "" : "transmitter-shaped ", columns, columns > 1 ? "s" : "");
        }

        std::vector<double> output = input;
        const long perCallMax = static_cast<long>(o.block / std::floor(spbExact + 0.5)) + 3;
        std::vector<double> times(static_cast<size_t>(perCallMax) + 1);
        std::vector<double> clock;
        long calls = 0, failed = 0;
        for (long start = 0; start < total; start += o.block) {
            const long len = start + o.block <= total ? o.block : total - start;
            times[0] = -1.0;
            const long r = lib.getWave(output.data() + start, len, times.data(), &paramsOut, handle);
            ++calls;
            failed += r != 1;
            for (double t : times) {
                if (t < 0)
                    break;
                clock.push_back(t);
            }
        }
        std::printf("AMI_GetWave: %ld calls of up to %ld samples, %ld failed\n", calls, o.block, failed);
        if (failed)
            status = 1;

        // Clock statistics after settling.
        const long settle = o.settleBits >= 0 ? o.settleBits : o.bits / 4;
        const double settleTime = settle * dataUi;
        std::vector<double> spacing, phases;
        for (size_t k = 0; k < clock.size(); ++k) {
            if (clock[k] < settleTime)
                continue;
            if (k > 0 && clock[k - 1] >= settleTime)
                spacing.push_back(clock[k] - clock[k - 1]);
            double p = std::fmod(clock[k] / dataUi, 1.0);
            phases.push_back(p < 0 ? p + 1 : p);
        }
        std::printf("clock times: %zu found (%zu after the first %ld bits)\n", clock.size(),
                    phases.size(), settle);
        if (spacing.size() >= 2) {
            double sum = 0, sq = 0, lo = spacing[0], hi = spacing[0];
            for (double d : spacing) {
                sum += d;
                sq += d * d;
                lo = d < lo ? d : lo;
                hi = d > hi ? d : hi;
            }
            const double n = static_cast<double>(spacing.size());
            const double mean = sum / n;
            const double sd = std::sqrt(std::fmax(sq / n - mean * mean, 0.0));
            // The mean over the whole settled span is (last - first) / count.
            std::printf("clock spacing: mean %.6g s = %.6f bit times (data unit interval %.6f bit "
                        "times), %+.1f ppm from the data rate\n",
                        mean, mean / o.bitTime, dataUi / o.bitTime, (mean / dataUi - 1.0) * 1e6);
            std::printf("               min %.4g s, max %.4g s, rms deviation %.3g s (%.3f UI)\n", lo,
                        hi, sd, sd / dataUi);
            double pm = 0, ps = 0;
            PhaseStats(phases, pm, ps);
            std::printf("clock phase against the transmitted bit grid: mean %.3f UI, spread %.3f UI\n",
                        pm, ps);
        } else {
            std::printf("clock spacing: too few clock times after settling\n");
        }

        if (!o.waveCsv.empty()) {
            if (FILE* f = std::fopen(o.waveCsv.c_str(), "w")) {
                std::fprintf(f, "sample,time,input,output\n");
                for (long n = 0; n < total; ++n)
                    std::fprintf(f, "%ld,%.12e,%.9e,%.9e\n", n, n * ts, input[n], output[n]);
                std::fclose(f);
                std::printf("waveform written to %s\n", o.waveCsv.c_str());
            } else {
                std::fprintf(stderr, "amihost: cannot write %s\n", o.waveCsv.c_str());
                status = 1;
            }
        }
        if (!o.clockCsv.empty()) {
            if (FILE* f = std::fopen(o.clockCsv.c_str(), "w")) {
                std::fprintf(f, "index,time\n");
                for (size_t k = 0; k < clock.size(); ++k)
                    std::fprintf(f, "%zu,%.12e\n", k, clock[k]);
                std::fclose(f);
                std::printf("clock times written to %s\n", o.clockCsv.c_str());
            } else {
                std::fprintf(stderr, "amihost: cannot write %s\n", o.clockCsv.c_str());
                status = 1;
            }
        }
    } else if (!lib.getWave) {
        std::printf("no AMI_GetWave: the model works on the impulse response in AMI_Init only\n");
    }

    const long closeResult = handle ? lib.close(handle) : 0;
    std::printf("AMI_Close returned %ld\n", closeResult);
    if (closeResult != 1)
        status = 1;
    return status;
}
