// A model library opened the way a channel simulator opens it (dlopen by
// path, functions looked up by name), and one run of each model, kept whole
// so that runs can be compared number for number.
#pragma once

#include "rx_library.h"

#include <dlfcn.h>

#include <algorithm>
#include <string>
#include <vector>

namespace isolation {

using rxtest::CloseFn;
using rxtest::GetWaveFn;
using rxtest::InitFn;

class ModelLibrary {
public:
    ModelLibrary(const char* path, int mode) : handle_(dlopen(path, RTLD_NOW | mode))
    {
        if (!handle_) {
            const char* why = dlerror();
            error_ = why ? why : "dlopen failed";
            return;
        }
        init = reinterpret_cast<InitFn>(dlsym(handle_, "AMI_Init"));
        getWave = reinterpret_cast<GetWaveFn>(dlsym(handle_, "AMI_GetWave"));
        close = reinterpret_cast<CloseFn>(dlsym(handle_, "AMI_Close"));
    }
    ~ModelLibrary()
    {
        if (handle_)
            dlclose(handle_);
    }
    ModelLibrary(const ModelLibrary&) = delete;
    ModelLibrary& operator=(const ModelLibrary&) = delete;

    bool Loaded() const { return handle_ && init && close; }
    void* Find(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }
    const std::string& Error() const { return error_; }

    InitFn init = nullptr;
    GetWaveFn getWave = nullptr;
    CloseFn close = nullptr;

private:
    void* handle_;
    std::string error_;
};

// QuenrixCodeGen::version(), which each Linux library exports, and the lines
// it prints: the code generator's record, the last two with empty values.
constexpr char kVersionName[] = "_ZN14QuenrixCodeGen7versionEv";
constexpr char kVersionRecord[] = "$Id: File Description  Marlowind 2013.08 IBIS-AMI Model $\n"
                                  "$Id: File Version      2013.08 $\n"
                                  "$Id: Product Name      Marlowind $\n"
                                  "$Id: Product Version   2013.08 $\n"
                                  "$Id: Company Name       $\n"
                                  "$Id: Legal Copyright    $\n";
using VersionFn = void (*)();

struct Run {
    long initResult = -1;
    std::string message;
    std::vector<double> impulse; // the matrix as AMI_Init left it
    std::vector<double> wave;    // AMI_GetWave's output, block after block
    std::vector<double> clocks;  // the clock times of every block, each list without its -1
    long getWaveResult = -1;
};

constexpr double kTxBitTime = 2e-10;
constexpr double kTxSampleInterval = kTxBitTime / 32;
constexpr double kRxBitTime = 1e-10;
constexpr double kRxSampleInterval = kRxBitTime / 32;

// AMI_Init and AMI_Close of the transmitter over a unit impulse and, as the
// aggressors' columns, a constant 0.25 each; the matrix kept.
inline Run RunTransmitter(const ModelLibrary& lib, const std::string& params, long rows = 512,
                          long aggressors = 1)
{
    Run r;
    r.impulse.assign((aggressors + 1) * rows, 0.25);
    std::fill(r.impulse.begin(), r.impulse.begin() + rows, 0.0);
    r.impulse[0] = 1.0;
    std::vector<char> p = rxtest::Text(params);
    void* handle = nullptr;
    char* msg = nullptr;
    r.initResult = lib.init(r.impulse.data(), rows, aggressors, kTxSampleInterval, kTxBitTime,
                            p.data(), nullptr, &handle, &msg);
    if (msg)
        r.message = msg;
    lib.close(handle);
    return r;
}

// AMI_Init, four AMI_GetWave blocks of a PRBS-7 waveform and AMI_Close of
// the receiver.
inline Run RunReceiver(const ModelLibrary& lib, const std::string& params)
{
    Run r;
    r.impulse.assign(64, 0.0);
    r.impulse[0] = 1.0;
    std::vector<char> p = rxtest::Text(params);
    void* handle = nullptr;
    char* msg = nullptr;
    r.initResult = lib.init(r.impulse.data(), static_cast<long>(r.impulse.size()), 0,
                            kRxSampleInterval, kRxBitTime, p.data(), nullptr, &handle, &msg);
    if (msg)
        r.message = msg;
    const size_t block = 4096;
    r.wave = rxtest::Nrz(rxtest::Prbs7(4 * block / 32), kRxBitTime, kRxSampleInterval, 0.4, 0.3e-10);
    std::vector<double> times(block + 2);
    r.getWaveResult = 1;
    for (size_t off = 0; lib.getWave && off + block <= r.wave.size(); off += block) {
        if (lib.getWave(r.wave.data() + off, static_cast<long>(block), times.data(), nullptr,
                        handle) != 1)
            r.getWaveResult = 0;
        for (size_t k = 0; k < times.size() && times[k] >= 0; ++k)
            r.clocks.push_back(times[k]);
    }
    lib.close(handle);
    return r;
}

} // namespace isolation
