// ami_dump: drives a model library through a fixed set of scenarios and
// prints every result so that two builds can be compared exactly: return
// codes, message texts (escaped) and every number as the hex digits of its
// bit pattern. Built from the same source for Linux (dlopen) and Windows
// (LoadLibrary), through the host's loader.
//
//   ami_dump rx|tx LIBRARY
#include "model_library.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void PrintBits(double v)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    char text[17];
    for (int k = 15; k >= 0; --k) {
        text[k] = "0123456789abcdef"[bits & 0xf];
        bits >>= 4;
    }
    text[16] = '\0';
    std::fputs(text, stdout);
}

void PrintNumbers(const char* label, const double* v, size_t n)
{
    std::printf("%s %zu", label, n);
    for (size_t k = 0; k < n; ++k) {
        std::fputc(' ', stdout);
        PrintBits(v[k]);
    }
    std::fputc('\n', stdout);
}

// Message texts go out on one line, with line breaks, backslashes and other
// control characters escaped.
void PrintText(const char* label, const char* text)
{
    std::printf("%s ", label);
    if (!text) {
        std::printf("(null)\n");
        return;
    }
    std::fputc('"', stdout);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p == '\\')
            std::fputs("\\\\", stdout);
        else if (*p == '\n')
            std::fputs("\\n", stdout);
        else if (*p < 32 || *p > 126)
            std::printf("\\x%02x", *p);
        else
            std::fputc(*p, stdout);
    }
    std::fputs("\"\n", stdout);
}

// A deterministic test waveform made with exact integer steps and a fixed
// first-order smoothing, so both builds feed the model the same samples:
// PRBS7 bits at 32 samples per bit, +-0.4 V, through y += (x - y) / 8.
std::vector<double> Waveform(size_t n, int samplesPerBit)
{
    std::vector<double> w(n);
    uint32_t state = 0x5a;
    double level = 0.4, y = 0.0;
    for (size_t i = 0; i < n; ++i) {
        if (i % static_cast<size_t>(samplesPerBit) == 0) {
            const uint32_t bit = ((state >> 6) ^ (state >> 5)) & 1u;
            state = ((state << 1) | bit) & 0x7fu;
            level = bit ? 0.4 : -0.4;
        }
        y += (level - y) * 0.125;
        w[i] = y;
    }
    return w;
}

struct RxScenario {
    const char* name;
    const char* params; // null: pass no parameter string
    double sampleInterval;
    double bitTime;
    std::vector<long> calls; // wave sizes of the AMI_GetWave calls, in order
};

void RunRx(amihost::ModelLibrary& lib)
{
    const double ts = 3.125e-12, ui = 1e-10;
    const RxScenario scenarios[] = {
        {"defaults", "(usb3_rx)", ts, ui, {4096}},
        {"params_fast", "(usb3_rx (xrx_process 1) (xboost 3))", ts, ui, {4096}},
        {"params_slow", "(usb3_rx (xrx_process -1) (xboost 7))", ts, ui, {4096}},
        {"several_calls", "(usb3_rx (xrx_process 0) (xboost 5))", ts, ui, {1000, 24, 0, 2048, 1024}},
        {"one_call_same_input", "(usb3_rx (xrx_process 0) (xboost 5))", ts, ui, {4096}},
        {"rounded_spb", "(usb3_rx (xboost 2))", ts, ui * 31.6 / 32.0, {2048}},
        {"bad_process", "(usb3_rx (xrx_process 5) (xboost 2))", ts, ui, {1024}},
        {"malformed_params", "(usb3_rx (xboost", ts, ui, {512}},
        {"wrong_type", "(usb3_rx (xrx_process fast) (xboost \"5\"))", ts, ui, {512}},
        {"null_params", nullptr, ts, ui, {512}},
        {"zero_interval", "(usb3_rx)", 0.0, ui, {512}},
        {"tiny_bit_time", "(usb3_rx)", ts, 1e-13, {512}},
        {"negative_size", "(usb3_rx)", ts, ui, {-5, 256}},
    };
    for (const RxScenario& s : scenarios) {
        std::printf("== %s\n", s.name);
        std::vector<char> params;
        if (s.params)
            params.assign(s.params, s.params + std::strlen(s.params) + 1);
        std::vector<double> impulse(256, 0.0);
        impulse[0] = 1.0 / ts;
        impulse[1] = 0.25 / ts;
        const std::vector<double> impulseBefore = impulse;
        void* handle = nullptr;
        char* msg = nullptr;
        char* out = nullptr;
        const long r = lib.init(impulse.data(), static_cast<long>(impulse.size()), 0, s.sampleInterval,
                                s.bitTime, s.params ? params.data() : nullptr, &out, &handle, &msg);
        std::printf("init %ld handle %s impulse %s\n", r, handle ? "set" : "null",
                    impulse == impulseBefore ? "unchanged" : "changed");
        PrintText("msg", msg);

        size_t total = 0;
        for (long n : s.calls)
            total += n > 0 ? static_cast<size_t>(n) : 0;
        std::vector<double> wave = Waveform(total, 32);
        size_t at = 0;
        for (long n : s.calls) {
            std::vector<double> clock(static_cast<size_t>(n > 0 ? n : 0) / 16 + 8, -2.0);
            const long g = lib.getWave(wave.data() + at, n, clock.data(), &out, handle);
            size_t used = 0;
            while (used < clock.size() && clock[used] != -2.0)
                ++used;
            std::printf("getwave %ld result %ld\n", n, g);
            const size_t len = n > 0 ? static_cast<size_t>(n) : 0;
            PrintNumbers("wave", wave.data() + at, len);
            PrintNumbers("clock", clock.data(), used);
            at += len;
        }
        PrintText("msg_after", msg);
        std::printf("close %ld\n", handle ? lib.close(handle) : -1L);
    }
    std::printf("== close_null\nclose %ld\n", lib.close(nullptr));
}

struct TxScenario {
    const char* name;
    const char* params;
    double sampleInterval;
    double bitTime;
    long rows;
    long aggressors;
};

void RunTx(amihost::ModelLibrary& lib)
{
    const double ts = 2e-10 / 32;
    const TxScenario scenarios[] = {
        {"defaults", "(usb3_tx)", ts, 2e-10, 256, 0},
        {"params", "(usb3_tx (xtx_process 1) (xvptx 1.0) (xtx_boost_en 1) (xtx_boost_lvl 1.1) "
                   "(xtxlvl 110) (xtxeq 12))", ts, 2e-10, 256, 0},
        {"no_boost", "(usb3_tx (xtx_process -1) (xtx_boost_en 0) (xtxlvl 127) (xtxeq 0))", ts, 2e-10,
         192, 0},
        {"aggressors", "(usb3_tx (xtx_process 2))", ts, 2e-10, 128, 2},
        {"no_columns", "(usb3_tx)", ts, 2e-10, 64, -1},
        {"legs_from_process", "(usb3_tx (xtx_process 100) (xtxlvl 105) (xtxeq 21))", ts, 2e-10, 128, 0},
        {"legs_few", "(usb3_tx (xtx_process 3) (xtxlvl 127) (xtxeq 10))", ts, 2e-10, 128, 0},
        {"legs_negative", "(usb3_tx (xtx_process -5))", ts, 2e-10, 64, 0},
        {"process_minus2", "(usb3_tx (xtx_process -2))", ts, 2e-10, 128, 0},
        {"no_switching_legs", "(usb3_tx (xtxlvl -1))", ts, 2e-10, 64, 0},
        {"deemphasis_too_deep", "(usb3_tx (xtxeq 64))", ts, 2e-10, 64, 0},
        {"malformed_params", "(usb3_tx (xtxeq 3", ts, 2e-10, 64, 0},
        {"zero_interval", "(usb3_tx)", 0.0, 2e-10, 64, 0},
        {"negative_rows", "(usb3_tx)", ts, 2e-10, -4, 0},
    };
    for (const TxScenario& s : scenarios) {
        std::printf("== %s\n", s.name);
        std::vector<char> params(s.params, s.params + std::strlen(s.params) + 1);
        const size_t cols = static_cast<size_t>(s.aggressors >= 0 ? s.aggressors + 1 : 1);
        const size_t rows = static_cast<size_t>(s.rows > 0 ? s.rows : 0);
        std::vector<double> impulse(rows * cols, 0.0);
        for (size_t c = 0; c < cols; ++c)
            for (size_t i = 0; i < rows; ++i)
                impulse[c * rows + i] = i == c ? 1.0 / ts : (i == c + 40 ? -0.5 / ts : 0.0);
        void* handle = nullptr;
        char* msg = nullptr;
        char* out = nullptr;
        const long r = lib.init(impulse.data(), s.rows, s.aggressors, s.sampleInterval, s.bitTime,
                                params.data(), &out, &handle, &msg);
        std::printf("init %ld handle %s\n", r, handle ? "set" : "null");
        PrintText("msg", msg);
        PrintNumbers("impulse", impulse.data(), impulse.size());
        std::printf("close %ld\n", handle ? lib.close(handle) : -1L);
    }
    std::printf("== close_null\nclose %ld\n", lib.close(nullptr));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "rx") != 0 && std::strcmp(argv[1], "tx") != 0)) {
        std::fprintf(stderr, "usage: ami_dump rx|tx LIBRARY\n");
        return 2;
    }
    amihost::ModelLibrary lib;
    if (!lib.Open(argv[2])) {
        std::fprintf(stderr, "ami_dump: %s\n", lib.error().c_str());
        return 2;
    }
    const bool rx = std::strcmp(argv[1], "rx") == 0;
    if (rx != (lib.getWave != nullptr)) {
        std::fprintf(stderr, "ami_dump: %s %s AMI_GetWave\n", argv[2], rx ? "lacks" : "exports");
        return 2;
    }
    if (rx)
        RunRx(lib);
    else
        RunTx(lib);
    std::fflush(stdout);
    return 0;
}
