#include "output_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>

#include <vector>
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
#endif

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
    for (int links = 0;; ++links) {
        struct stat st;
        if (stat(p.c_str(), &st) == 0) {
            if (S_ISDIR(st.st_mode))
                return Reason(EISDIR);
            if (!Writable(p))
                return Reason(errno);
            // A device (such as the null device) may take any number of outputs.
            if (S_ISREG(st.st_mode))
                key = Identity(p, std::string());
            return std::string();
        }
        if (errno != ENOENT)
            return Reason(errno);
#ifndef _WIN32
        // A link to a file not made yet: the output is made where it points.
        struct stat link;
        if (lstat(p.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            if (links >= 40)
                return Reason(ELOOP);
            std::vector<char> target(static_cast<size_t>(link.st_size > 0 ? link.st_size : 255) + 1);
            const ssize_t n = readlink(p.c_str(), target.data(), target.size());
            if (n < 0 || static_cast<size_t>(n) >= target.size())
                return Reason(n < 0 ? errno : ENAMETOOLONG);
            const std::string to(target.data(), static_cast<size_t>(n));
            const size_t slash = p.find_last_of('/');
            p = to[0] == '/' || slash == std::string::npos ? to : p.substr(0, slash + 1) + to;
            continue;
        }
#endif
        break;
    }
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
    struct stat st;
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

} // namespace amihost
