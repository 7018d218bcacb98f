// Standard output carries the programs' report: a report that could not be
// written (a full disk, a closed descriptor) must never end as a success.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#if defined(__GLIBC__) && defined(__GLIBCXX__)
#include <ext/stdio_sync_filebuf.h>
#include <iostream>
#define CLI_REPORT_RECORDS_WRITES 1
#endif

namespace cli {

struct ReportState {
    bool closedAtStart = false; // standard output was closed when the program started
    int reason = 0;             // why the first write to it failed, 0 while none has
};

inline ReportState& Report()
{
    static ReportState state;
    return state;
}

#ifdef CLI_REPORT_RECORDS_WRITES
// Every write of standard output's buffer, wherever it is flushed from (a
// full buffer in the middle of a run, a message on std::cerr, which flushes
// std::cout first): the first failure keeps its errno, which later calls
// would overwrite before the end.
inline ssize_t RecordedWrite(void*, const char* bytes, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = write(STDOUT_FILENO, bytes + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (Report().reason == 0)
                Report().reason = n < 0 ? errno : EIO;
            return -1;
        }
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(done);
}
#endif

// First thing in main: descriptors 0, 1 and 2 that are closed are opened on
// the null device, so that no file the program opens later takes the place
// of standard output and receives the report; a closed standard output is
// remembered and reported at the end. (Windows keeps the three apart from
// the files a program opens; a write to a missing one fails and is found.)
// Then standard output writes through a stream that records why a write
// failed, where the C library allows one.
inline void StartReport()
{
#ifndef _WIN32
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        if (fd == STDOUT_FILENO)
            Report().closedAtStart = true;
        // The lowest free descriptor: this one, as those below it are open.
        const int null = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {
            dup2(null, fd);
            close(null);
        }
    }
#endif
#ifdef CLI_REPORT_RECORDS_WRITES
    const cookie_io_functions_t io = {nullptr, RecordedWrite, nullptr, nullptr};
    FILE* recorded = fopencookie(nullptr, "w", io);
    if (recorded == nullptr)
        return;
    // Buffered as standard output is: by line on a terminal, else in blocks.
    std::setvbuf(recorded, nullptr, isatty(STDOUT_FILENO) ? _IOLBF : _IOFBF, BUFSIZ);
    std::fflush(stdout);
    stdout = recorded;
    // std::cout, and std::cerr's flush of it before each message, go the
    // same way, so the two streams keep their order in one file. Never
    // freed: std::cout flushes through it up to the very end.
    std::cout.rdbuf(new __gnu_cxx::stdio_sync_filebuf<char>(recorded));
#endif
}

// Flushes standard output, keeping the reason of its first failure. False
// once a write has failed.
inline bool FlushReport()
{
    ReportState& s = Report();
    errno = 0;
    if (std::fflush(stdout) != 0 && s.reason == 0)
        s.reason = errno != 0 ? errno : EIO;
    // Where writes are not recorded, a buffer that failed as it filled was
    // dropped with its errno.
    if (std::ferror(stdout) && s.reason == 0)
        s.reason = EIO;
    return s.reason == 0 && !s.closedAtStart;
}

// After the last write: true when the whole report reached standard output;
// otherwise one line on standard error names standard output and the reason.
inline bool ReportWritten(const char* program)
{
    if (FlushReport())
        return true;
    const ReportState& s = Report();
    std::fprintf(stderr, "%s: standard output: %s\n", program,
                 std::strerror(s.closedAtStart ? EBADF : s.reason));
    return false;
}

} // namespace cli
