// Loads an IBIS-AMI model library and finds its entry points by name, the way
// a channel simulator does. The only platform-specific part of the host.
#pragma once

#include <string>

namespace amihost {

using AmiInitFn = long (*)(double*, long, long, double, double, char*, char**, void**, char**);
using AmiGetWaveFn = long (*)(double*, long, double*, char**, void*);
using AmiCloseFn = long (*)(void*);

class ModelLibrary {
public:
    ModelLibrary() = default;
    ModelLibrary(const ModelLibrary&) = delete;
    ModelLibrary& operator=(const ModelLibrary&) = delete;
    ~ModelLibrary();

    // Loads the library file at path (a bare name is the file in the current
    // folder, never one found on the loader's search path) and looks up the
    // three functions. AMI_Init and AMI_Close must exist; AMI_GetWave is
    // optional (an impulse-only model, such as a transmitter, has none). On
    // failure error() says why, as "path: reason".
    bool Open(const std::string& path);
    void Close();

    AmiInitFn init = nullptr;
    AmiGetWaveFn getWave = nullptr;
    AmiCloseFn close = nullptr;

    const std::string& error() const { return m_error; }

private:
    std::string Load(const std::string& path); // why it failed; empty when loaded
    void* Symbol(const char* name);
    void* m_handle = nullptr;
    std::string m_error;
};

} // namespace amihost
