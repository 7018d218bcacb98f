// Wall time per sample of the built host program, run as a user runs it, in
// a child process with its output thrown away:
//   chained:          amihost --tx TX --model RX --samples-per-bit N --bits B
//                     (the transmitter shapes the impulse matrix, the host
//                     makes the waveform from it, the receiver filters it);
//                     per sample of the waveform, B x N of them
//   transmitter alone: amihost --model TX --samples-per-bit N
//                     (impulse-only: all its work is on the impulse matrix in
//                     AMI_Init); per row of the matrix, 16 bits x N of them
// Each case is run --runs times (default 3); the best and the slowest run
// are printed. The figures are for reading: the exit status is 0 unless a
// run fails.
//
//   amihost_runs_bench [--runs N] [--amihost PATH] [--rx LIBRARY] [--tx LIBRARY]
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Case {
    const char* name;
    bool chained;
    long samplesPerBit;
    long bits;      // sent, for the chained run
    long samples;   // samples made: bits x N (chained) or impulse rows (alone)
};

// The host's impulse matrix is 16 bits long unless told otherwise.
const long kImpulseBits = 16;

const Case kCases[] = {
    {"chained", true, 1024, 4096, 4096L * 1024},
    {"chained", true, 16384, 64, 64L * 16384},
    {"transmitter alone", false, 4096, 0, kImpulseBits * 4096},
    {"transmitter alone", false, 65536, 0, kImpulseBits * 65536},
};

// Seconds of wall time for one run of the program, or a negative number if
// it could not be started or did not end with status 0.
double Run(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        return -1;
    }
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, 1);
            dup2(null, 2);
            close(null);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) {
            std::perror("waitpid");
            return -1;
        }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

} // namespace

int main(int argc, char** argv)
{
    long runs = 3;
    std::string amihost = AMIHOST, rx = VESKARO_LIBRARY, tx = TOLVANE_LIBRARY;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (i + 1 >= argc) {
            std::fprintf(stderr, "usage: %s [--runs N] [--amihost PATH] [--rx LIBRARY] [--tx LIBRARY]\n",
                         argv[0]);
            return 2;
        }
        const char* value = argv[++i];
        if (word == "--runs")
            runs = std::max(1L, std::strtol(value, nullptr, 10));
        else if (word == "--amihost")
            amihost = value;
        else if (word == "--rx")
            rx = value;
        else if (word == "--tx")
            tx = value;
        else {
            std::fprintf(stderr, "unknown option '%s'\n", word.c_str());
            return 2;
        }
    }

    std::printf("%s, best and slowest of %ld run%s\n", amihost.c_str(), runs, runs == 1 ? "" : "s");
    std::printf("%-18s %9s %6s %10s %10s %10s %14s\n", "case", "spb", "bits", "samples", "best s",
                "slowest s", "ns per sample");
    int status = 0;
    for (const Case& c : kCases) {
        std::vector<std::string> args = {amihost};
        if (c.chained)
            args.insert(args.end(), {"--tx", tx, "--model", rx, "--bits", std::to_string(c.bits)});
        else
            args.insert(args.end(), {"--model", tx});
        args.insert(args.end(), {"--samples-per-bit", std::to_string(c.samplesPerBit)});
        double best = 0, slowest = 0;
        for (long r = 0; r < runs; ++r) {
            const double t = Run(args);
            if (t < 0) {
                best = -1;
                break;
            }
            best = r == 0 ? t : std::min(best, t);
            slowest = std::max(slowest, t);
        }
        if (best < 0) {
            std::printf("%-18s %9ld: the run failed\n", c.name, c.samplesPerBit);
            status = 1;
            continue;
        }
        std::printf("%-18s %9ld %6s %10ld %10.3f %10.3f %14.2f\n", c.name, c.samplesPerBit,
                    c.chained ? std::to_string(c.bits).c_str() : "-", c.samples, best, slowest,
                    best / static_cast<double>(c.samples) * 1e9);
        std::fflush(stdout);
    }
    return status;
}
