#include "output_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>
#else
#include <fcntl.h>
#include <link.h>
#include <unistd.h>
#endif

namespace amihost {

namespace {

#ifdef _WIN32
const char* const kSeparators = "\\/:";

// The volume and the file index: what a hard link or another spelling
// shares. Folders are opened too (backup semantics).
FileKey Identity(const std::string& path, const std::string& name)
{
    FileKey key;
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return key;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(h, &info)) {
        key.known = true;
        key.volume = info.dwVolumeSerialNumber;
        key.index = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        // Names differing only in case name one file.
        key.name = name;
        for (char& c : key.name)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
    }
    CloseHandle(h);
    return key;
}

bool Writable(const std::string& path) { return _access(path.c_str(), 2) == 0; }

// The descriptor of an output: one that is there, opened as it is (not cut
// short), or a new one made, never one made over a file that appeared since.
int OpenOutput(const std::string& path, bool create)
{
    return create ? _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT,
                          _S_IREAD | _S_IWRITE)
                  : _open(path.c_str(), _O_WRONLY | _O_TEXT);
}

// Only a file is cut short; a device takes what is written.
int CutShort(int fd)
{
    struct _stat st;
    if (_fstat(fd, &st) != 0)
        return errno;
    return (st.st_mode & _S_IFREG) && _chsize(fd, 0) != 0 ? errno : 0;
}

FILE* StreamOf(int fd) { return _fdopen(fd, "w"); }
void CloseOutput(int fd) { _close(fd); }

int FollowToMissing(std::string&) { return 0; }
#else
const char* const kSeparators = "/";

FileKey Identity(const std::string& path, const std::string& name)
{
    FileKey key;
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return key;
    key.known = true;
    key.volume = static_cast<unsigned long long>(st.st_dev);
    key.index = static_cast<unsigned long long>(st.st_ino);
    key.name = name;
    return key;
}

bool Writable(const std::string& path) { return access(path.c_str(), W_OK) == 0; }

int OpenOutput(const std::string& path, bool create)
{
    return create ? open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666)
                  : open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
}

int CutShort(int fd)
{
    struct stat st;
    if (fstat(fd, &st) != 0)
        return errno;
    return S_ISREG(st.st_mode) && ftruncate(fd, 0) != 0 ? errno : 0;
}

FILE* StreamOf(int fd) { return fdopen(fd, "w"); }
void CloseOutput(int fd) { close(fd); }

// Follows the links of a name whose file is not there (stat says ENOENT) to
// the name it will be made under. 0, or why it cannot be followed.
int FollowToMissing(std::string& p)
{
    for (int links = 0;; ++links) {
        struct stat link;
        if (lstat(p.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
            return 0;
        if (links >= 40)
            return ELOOP;
        std::vector<char> target(static_cast<size_t>(link.st_size > 0 ? link.st_size : 255) + 1);
        const ssize_t n = readlink(p.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<size_t>(n) >= target.size())
            return n < 0 ? errno : ENAMETOOLONG;
        const std::string to(target.data(), static_cast<size_t>(n));
        const size_t slash = p.find_last_of('/');
        p = to[0] == '/' || slash == std::string::npos ? to : p.substr(0, slash + 1) + to;
    }
}
#endif

// 0 when the file opens for writing, else why not (a running program, a
// read-only file system). Not cut short: the file stays as it is.
int OpensForWriting(const std::string& path)
{
    const int fd = OpenOutput(path, false);
    if (fd < 0)
        return errno;
    CloseOutput(fd);
    return 0;
}

std::string Reason(int code) { return std::strerror(code); }

} // namespace

FileKey ExistingFile(const std::string& path)
{
    struct stat st;
    if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return FileKey();
    return Identity(path, std::string());
}

std::string CheckOutput(const std::string& path, FileKey& key)
{
    key = FileKey();
    std::string p = path;
    struct stat st;
    if (stat(p.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return Reason(EISDIR);
        if (S_ISREG(st.st_mode)) {
            if (const int code = OpensForWriting(p))
                return Reason(code);
            key = Identity(p, std::string());
            return std::string();
        }
        // A device (such as the null device) may take any number of
        // outputs; opening a pipe with no reader yet would wait for one.
        if (!Writable(p))
            return Reason(errno);
        return std::string();
    }
    if (errno != ENOENT)
        return Reason(errno);
    if (const int code = FollowToMissing(p))
        return Reason(code);
    // Not there yet: it is made in its folder, which must be there and take it.
    const size_t cut = p.find_last_of(kSeparators);
    const std::string name = cut == std::string::npos ? p : p.substr(cut + 1);
    if (name.empty())
        return Reason(EISDIR); // "folder/": only a folder is named so
    // The folder without its last separator, which some systems' stat refuses,
    // unless it is a root ("/", "C:\\") or a drive ("C:").
    std::string folder = cut == std::string::npos ? "." : p.substr(0, cut);
    if (cut != std::string::npos && (folder.empty() || p[cut] == ':' || folder.back() == ':'))
        folder = p.substr(0, cut + 1);
    if (stat(folder.c_str(), &st) != 0)
        return Reason(errno);
    if (!S_ISDIR(st.st_mode))
        return Reason(ENOTDIR);
#ifndef _WIN32
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        return Reason(errno);
#endif
    key = Identity(folder, name);
    return std::string();
}

OutputFile::~OutputFile()
{
    if (m_fd < 0)
        return;
    CloseOutput(m_fd);
    // Made by this run and never written: the run leaves no file behind.
    if (m_made)
        std::remove(m_madeAs.c_str());
}

std::string OutputFile::Open(const std::string& path)
{
    m_fd = OpenOutput(path, false);
    if (m_fd >= 0)
        return std::string();
    if (errno != ENOENT)
        return Reason(errno);
    std::string p = path;
    if (const int code = FollowToMissing(p))
        return Reason(code);
    m_fd = OpenOutput(p, true);
    if (m_fd < 0)
        return Reason(errno);
    m_made = true;
    m_madeAs = p;
    return std::string();
}

FILE* OutputFile::Begin()
{
    if (m_fd < 0) {
        errno = EBADF;
        return nullptr;
    }
    if (const int code = CutShort(m_fd)) {
        errno = code;
        return nullptr;
    }
    FILE* stream = StreamOf(m_fd);
    if (stream)
        m_fd = -1; // the stream's now, and the file the run's output
    return stream;
}

#ifdef _WIN32
std::vector<LoadedFile> LoadedFiles()
{
    std::vector<LoadedFile> files;
    // The program comes first among the process's modules.
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return files;
    MODULEENTRY32 module;
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(snapshot, &module); more;
         more = Module32Next(snapshot, &module)) {
        const FileKey key = ExistingFile(module.szExePath);
        if (key.known)
            files.push_back({module.szExePath, key});
    }
    CloseHandle(snapshot);
    return files;
}
#else
namespace {

int AddLoaded(struct dl_phdr_info* info, size_t, void* data)
{
    // The program itself has no name in the loader's list; the vDSO has no file.
    if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0')
        static_cast<std::vector<std::string>*>(data)->push_back(info->dlpi_name);
    return 0;
}

} // namespace

std::vector<LoadedFile> LoadedFiles()
{
    std::vector<LoadedFile> files;
    const char* const self = "/proc/self/exe";
    const FileKey program = ExistingFile(self);
    if (program.known) {
        std::vector<char> target(4096);
        const ssize_t n = readlink(self, target.data(), target.size() - 1);
        files.push_back({n > 0 ? std::string(target.data(), static_cast<size_t>(n)) : self, program});
    }
    std::vector<std::string> names;
    dl_iterate_phdr(AddLoaded, &names);
    for (const std::string& name : names) {
        const FileKey key = ExistingFile(name);
        if (!key.known)
            continue;
        // The loader's name may hold "/./" where a run path began with $ORIGIN.
        char* real = realpath(name.c_str(), nullptr);
        files.push_back({real ? real : name, key});
        std::free(real);
    }
    return files;
}
#endif

} // namespace amihost
