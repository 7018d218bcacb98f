#include "model_library.h"

#include "file_reason.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace amihost {

namespace {

#ifdef _WIN32
// LoadLibraryA looks a name without a folder up in the system folders too,
// and adds ".dll" to a file name without a dot: the trailing dot keeps it to
// the very file named.
std::string LoaderPath(const std::string& path)
{
    std::string p = path.find_first_of("\\/:") == std::string::npos ? ".\\" + path : path;
    const size_t name = p.find_last_of("\\/:") + 1;
    if (p.find('.', name) == std::string::npos)
        p += '.';
    return p;
}

std::string SystemMessage(DWORD code)
{
    char text[512];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, text, sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' '))
        --n;
    if (n == 0)
        return "error " + std::to_string(code);
    std::string why(text, n);
    // Some messages name the file as an insert, which was not filled in.
    const size_t insert = why.find("%1");
    if (insert != std::string::npos)
        why.replace(insert, 2, "the file");
    return why;
}
#else
// dlopen looks a name without a '/' up on the library path.
std::string LoaderPath(const std::string& path)
{
    return path.find('/') == std::string::npos ? "./" + path : path;
}
#endif

} // namespace

ModelLibrary::~ModelLibrary() { Close(); }

void* ModelLibrary::Symbol(const char* name)
{
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), name));
#else
    return dlsym(m_handle, name);
#endif
}

std::string ModelLibrary::Load(const std::string& path)
{
    // The loaders' words for a missing file or a folder are vague or absent.
    if (const char* why = cli::WhyUnreadable(path.c_str()))
        return why;
    const std::string file = LoaderPath(path);
#ifdef _WIN32
    // No dialog box for a file that is not a library: the host runs unattended.
    const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    m_handle = LoadLibraryA(file.c_str());
    const DWORD code = GetLastError();
    SetErrorMode(mode);
    return m_handle ? std::string() : SystemMessage(code);
#else
    m_handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle)
        return std::string();
    const char* text = dlerror();
    std::string why = text ? text : "not a loadable library";
    // dlerror names the file itself; the caller names it as the user gave it.
    if (why.compare(0, file.size() + 2, file + ": ") == 0)
        why.erase(0, file.size() + 2);
    return why;
#endif
}

bool ModelLibrary::Open(const std::string& path)
{
    Close();
    const std::string why = Load(path);
    if (!m_handle) {
        m_error = path + ": " + why;
        return false;
    }
    // Function pointers come back as data pointers from both loaders.
    init = reinterpret_cast<AmiInitFn>(Symbol("AMI_Init"));
    getWave = reinterpret_cast<AmiGetWaveFn>(Symbol("AMI_GetWave"));
    close = reinterpret_cast<AmiCloseFn>(Symbol("AMI_Close"));
    if (!init || !close) {
        m_error = path + ": the library exports no " + (!init ? "AMI_Init" : "AMI_Close");
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
