// Loads the built receiver library the way a channel simulator does (dlopen,
// functions looked up by name) and wraps one model instance for the tests.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace rxtest {

using InitFn = long (*)(double*, long, long, double, double, char*, char**, void**, char**);
using GetWaveFn = long (*)(double*, long, double*, char**, void*);
using CloseFn = long (*)(void*);

struct Library {
    void* handle = nullptr;
    InitFn init = nullptr;
    GetWaveFn getWave = nullptr;
    CloseFn close = nullptr;

    static Library& Get()
    {
        static Library lib;
        if (!lib.handle) {
            lib.handle = dlopen(VESKARO_LIBRARY, RTLD_NOW | RTLD_LOCAL);
            if (lib.handle) {
                lib.init = reinterpret_cast<InitFn>(dlsym(lib.handle, "AMI_Init"));
                lib.getWave = reinterpret_cast<GetWaveFn>(dlsym(lib.handle, "AMI_GetWave"));
                lib.close = reinterpret_cast<CloseFn>(dlsym(lib.handle, "AMI_Close"));
            }
        }
        return lib;
    }
    bool Ok() const { return handle && init && getWave && close; }
};

// The parameter string as a writable copy, as hosts pass it.
inline std::vector<char> Text(const std::string& s)
{
    std::vector<char> v(s.begin(), s.end());
    v.push_back('\0');
    return v;
}

// One model instance: AMI_Init in the constructor, AMI_Close in the destructor.
struct Session {
    Library& lib = Library::Get();
    void* handle = nullptr;
    char* msg = nullptr;
    long initResult = -1;
    std::vector<double> impulse = std::vector<double>(64, 0.0);

    explicit Session(const std::string& params, double bitTime = 1e-10,
                     double sampleInterval = 1e-10 / 32)
    {
        std::vector<char> p = Text(params);
        impulse[0] = 1.0;
        initResult = lib.init(impulse.data(), static_cast<long>(impulse.size()), 0, sampleInterval,
                              bitTime, p.data(), nullptr, &handle, &msg);
    }
    ~Session()
    {
        if (handle)
            lib.close(handle);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    std::string Message() const { return msg ? std::string(msg) : std::string("(null)"); }

    // Runs one block; returns the clock list up to and including -1.0.
    std::vector<double> Run(std::vector<double>& wave, size_t offset, size_t count,
                            long* result = nullptr)
    {
        std::vector<double> times(count + 2, -7.0);
        const long r = lib.getWave(wave.data() + offset, static_cast<long>(count), times.data(),
                                   nullptr, handle);
        if (result)
            *result = r;
        std::vector<double> out;
        for (double t : times) {
            out.push_back(t);
            if (t < 0)
                break;
        }
        return out;
    }
};

// Maximal-length PRBS-7 (x^7 + x^6 + 1).
inline std::vector<int> Prbs7(size_t bits)
{
    std::vector<int> out(bits);
    unsigned state = 0x7f;
    for (size_t k = 0; k < bits; ++k) {
        const unsigned b = ((state >> 6) ^ (state >> 5)) & 1u;
        state = ((state << 1) | b) & 0x7fu;
        out[k] = static_cast<int>(b);
    }
    return out;
}

// NRZ of +-amp at a unit interval of ui seconds, sampled every ts seconds,
// through a single-pole low-pass of time constant tau (none when tau is 0).
inline std::vector<double> Nrz(const std::vector<int>& bits, double ui, double ts, double amp,
                               double tau)
{
    const size_t n = static_cast<size_t>(std::floor(bits.size() * ui / ts));
    std::vector<double> w(n);
    const double a = tau > 0 ? 1.0 - std::exp(-ts / tau) : 1.0;
    double y = 0;
    for (size_t i = 0; i < n; ++i) {
        size_t b = static_cast<size_t>(std::floor(i * ts / ui));
        if (b >= bits.size())
            b = bits.size() - 1;
        y += a * ((bits[b] ? amp : -amp) - y);
        w[i] = y;
    }
    return w;
}

} // namespace rxtest
