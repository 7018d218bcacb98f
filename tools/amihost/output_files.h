// The files the host writes, checked before anything is loaded or run: that
// each can be made, and which file it will be, so that no output overwrites
// a library the host loads or another output.
#pragma once

#include <string>

namespace amihost {

// Which file a path names, whatever way it is spelled (through a symbolic
// link, a hard link, "sub/../x"): the file itself where it exists, the
// folder it will be made in and its name where it does not yet.
struct FileKey {
    bool known = false; // false: a file nothing else can name (none, or a device)
    unsigned long long volume = 0, index = 0;
    std::string name; // empty for a file that exists

    bool operator==(const FileKey& other) const
    {
        return known && other.known && volume == other.volume && index == other.index &&
               name == other.name;
    }
};

// The key of a file that exists; not known when it does not.
FileKey ExistingFile(const std::string& path);

// Why path cannot be written as an output, in the system's words ("No such
// file or directory", "Is a directory", "Permission denied"), or empty when
// it can; key says which file it will be. Nothing is made or changed.
std::string CheckOutput(const std::string& path, FileKey& key);

} // namespace amihost
