// The files the host writes, checked before anything is loaded or run: that
// each can be made, and which file it will be, so that no output overwrites
// a library the host loads, a file the process has mapped, or another
// output.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

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
// file or directory", "Is a directory", "Permission denied", "Text file
// busy", "Read-only file system"), or empty when it can; key says which file
// it will be. A file that is there is opened for writing, as the output
// will be, but not cut short: nothing is made or changed.
std::string CheckOutput(const std::string& path, FileKey& key);

// An output, opened for writing once every check has passed and before any
// model runs, so that one the system refuses (whatever the permission bits
// said) ends the run before anything is done. A file that is there is not
// cut short until the run writes it; one that is made here is removed again
// when the run ends without writing it. Either way a run that stops first
// leaves every file as it was.
class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // Empty, or why path cannot be opened for writing, in the system's words.
    std::string Open(const std::string& path);

    // Cuts the file short and hands it over as a stream, which the caller
    // closes; null, with errno set, when that fails.
    FILE* Begin();

private:
    int m_fd = -1;         // open, not yet handed over
    bool m_made = false;   // made by this run
    std::string m_madeAs;  // the name it was made under (after its links)
};

// A file the process has mapped: the program itself and every library the
// loader has loaded (those the models need included), as the loader names
// it.
struct LoadedFile {
    std::string path;
    FileKey key;
};

// The files mapped into this process now; ones whose key cannot be found
// (no file behind them) are left out.
std::vector<LoadedFile> LoadedFiles();

} // namespace amihost
