// Why a file named on a command line cannot be read, in the system's words.
// The readers behind the programs (the IBIS reader, the library loader) say
// only that a file would not open, or nothing useful for a folder.
#pragma once

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace cli {

// The reason path cannot be opened for reading ("No such file or
// directory", "Is a directory", "Permission denied"), or nullptr when it can.
inline const char* WhyUnreadable(const char* path)
{
    struct stat st;
    if (stat(path, &st) != 0)
        return std::strerror(errno);
    if (S_ISDIR(st.st_mode))
        return std::strerror(EISDIR);
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr)
        return std::strerror(errno);
    std::fclose(f);
    return nullptr;
}

} // namespace cli
