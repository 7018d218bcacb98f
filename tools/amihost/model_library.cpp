#include "model_library.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace amihost {

ModelLibrary::~ModelLibrary() { Close(); }

void* ModelLibrary::Symbol(const char* name)
{
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), name));
#else
    return dlsym(m_handle, name);
#endif
}

bool ModelLibrary::Open(const std::string& path)
{
    Close();
#ifdef _WIN32
    m_handle = LoadLibraryA(path.c_str());
    if (!m_handle) {
        m_error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
#else
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* why = dlerror();
        m_error = why ? why : ("cannot load " + path);
        return false;
    }
#endif
    // Function pointers come back as data pointers from both loaders.
    init = reinterpret_cast<AmiInitFn>(Symbol("AMI_Init"));
    getWave = reinterpret_cast<AmiGetWaveFn>(Symbol("AMI_GetWave"));
    close = reinterpret_cast<AmiCloseFn>(Symbol("AMI_Close"));
    if (!init || !close) {
        m_error = path + " does not export " + (!init ? "AMI_Init" : "AMI_Close");
        Close();
        return false;
    }
    return true;
}

void ModelLibrary::Close()
{
    if (m_handle) {
#ifdef _WIN32
        FreeLibrary(static_cast<HMODULE>(m_handle));
#else
        dlclose(m_handle);
#endif
    }
    m_handle = nullptr;
    init = nullptr;
    getWave = nullptr;
    close = nullptr;
}

} // namespace amihost
