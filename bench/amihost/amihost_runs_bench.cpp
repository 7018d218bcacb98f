// Wall time per sample of the built host program, run as a user runs it, in
// a child process whose output is read for the sizes it reports:
//   chained:          amihost --tx TX --model RX --samples-per-bit N --bits B
//                             --impulse-bits I
//                     (the transmitter shapes the impulse matrix, the host
//                     makes the waveform from it, the receiver filters it);
//                     per sample of the waveform
//   transmitter alone: amihost --model TX --samples-per-bit N --impulse-bits I
//                     (impulse-only: all its work is on the impulse matrix in
//                     AMI_Init); per row of the matrix
// The two runs of a pair make the same number of samples (B x N chained,
// with the same impulse rows I x N; I x N alone), so that a fixed cost of a
// run weighs alike in both and the two figures compare. Only options a run
// reads are passed: the host refuses the others. The rows are the ones the
// host prints ("impulse response: R rows"); the waveform's samples are
// counted as the host counts them, ceil(B x bit time / sample interval), and
// checked against the AMI_GetWave calls it prints.
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
#include <cmath>
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
    long bits;        // sent, for the chained run
    long impulseBits; // the impulse matrix is impulseBits x samplesPerBit rows
};

// 4,194,304 samples chained with 131,072 impulse rows; 524,288 rows alone.
// No matrix is longer than 128 bits: past some 210 bits the host's channel
// (0.3 UI) falls below the smallest normal double, where its pow per row
// slows, a cost of the length in bits and not of the samples per bit.
const Case kCases[] = {
    {"chained", true, 1024, 4096, 128},
    {"chained", true, 16384, 256, 8},
    {"transmitter alone", false, 4096, 0, 128},
    {"transmitter alone", false, 65536, 0, 8},
};

// The host's bit time when none is given.
const double kBitTime = 1e-10;

// The samples the host sends for this case: its own arithmetic, at the
// default bit time and no data rate offset.
long WaveformSamples(const Case& c)
{
    const double ts = kBitTime / static_cast<double>(c.samplesPerBit);
    const double dataUi = kBitTime / (1.0 + 0.0 * 1e-6);
    return static_cast<long>(std::ceil(static_cast<double>(c.bits) * dataUi / ts));
}

struct Outcome {
    double seconds = -1; // negative: it could not be started or did not end with 0
    std::string output;  // standard output and standard error together
};

// One run of the program, timed by the wall clock from the fork to the end
// of the child.
Outcome Run(const std::vector<std::string>& args)
{
    Outcome out;
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0) {
        std::perror("pipe");
        return out;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        close(fds[0]);
        close(fds[1]);
        return out;
    }
    if (pid == 0) {
        dup2(fds[1], 1);
        dup2(fds[1], 2);
        close(fds[0]);
        close(fds[1]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    char buf[4096];
    for (;;) {
        const ssize_t got = read(fds[0], buf, sizeof buf);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        out.output.append(buf, static_cast<size_t>(got));
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) {
            std::perror("waitpid");
            return out;
        }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        out.seconds = seconds;
    return out;
}

// The numbers of the first line of the output that matches format (two
// %ld at most); false if there is none.
bool Find(const std::string& output, const char* format, long* a, long* b = nullptr)
{
    size_t at = 0;
    while (at < output.size()) {
        size_t end = output.find('\n', at);
        if (end == std::string::npos)
            end = output.size();
        const std::string line = output.substr(at, end - at);
        long x = 0, y = 0;
        const int want = b ? 2 : 1;
        if (std::sscanf(line.c_str(), format, &x, &y) == want) {
            *a = x;
            if (b)
                *b = y;
            return true;
        }
        at = end + 1;
    }
    return false;
}

// What the host says went wrong: its lines that start with "amihost:".
std::string Complaint(const std::string& output)
{
    std::string text;
    size_t at = 0;
    while (at < output.size()) {
        size_t end = output.find('\n', at);
        if (end == std::string::npos)
            end = output.size();
        if (output.compare(at, 8, "amihost:") == 0)
            text += "  " + output.substr(at, end - at) + "\n";
        at = end + 1;
    }
    return text;
}

// The samples one run made, from its output: the impulse rows alone, the
// waveform's samples chained. 0 and a reason if the output does not say.
long SamplesMade(const Case& c, const std::string& output, long* rows, std::string* why)
{
    if (!Find(output, "impulse response: %ld rows", rows)) {
        *why = "no \"impulse response: N rows\" line in the host's output";
        return 0;
    }
    if (!c.chained)
        return *rows;
    long calls = 0, block = 0;
    if (!Find(output, "AMI_GetWave: %ld calls of up to %ld samples", &calls, &block)) {
        *why = "no \"AMI_GetWave: N calls\" line in the host's output";
        return 0;
    }
    const long samples = WaveformSamples(c);
    if (!(samples > (calls - 1) * block && samples <= calls * block)) {
        char text[160];
        std::snprintf(text, sizeof text, "%ld samples do not fill %ld calls of up to %ld", samples,
                      calls, block);
        *why = text;
        return 0;
    }
    return samples;
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
    std::printf("samples: of the waveform chained, rows of the impulse matrix alone\n");
    std::printf("%-18s %6s %5s %8s %9s %9s %8s %9s %8s\n", "case", "spb", "bits", "imp bits",
                "imp rows", "samples", "best s", "slowest s", "ns/sample");
    int status = 0;
    for (const Case& c : kCases) {
        std::vector<std::string> args = {amihost};
        if (c.chained)
            args.insert(args.end(), {"--tx", tx, "--model", rx, "--bits", std::to_string(c.bits)});
        else
            args.insert(args.end(), {"--model", tx});
        args.insert(args.end(), {"--samples-per-bit", std::to_string(c.samplesPerBit),
                                 "--impulse-bits", std::to_string(c.impulseBits)});
        double best = 0, slowest = 0;
        long rows = 0, samples = 0;
        std::string why;
        for (long r = 0; r < runs; ++r) {
            const Outcome run = Run(args);
            if (run.seconds < 0) {
                why = "the run failed\n" + Complaint(run.output);
                break;
            }
            if (r == 0) {
                samples = SamplesMade(c, run.output, &rows, &why);
                if (samples <= 0)
                    break;
            }
            best = r == 0 ? run.seconds : std::min(best, run.seconds);
            slowest = std::max(slowest, run.seconds);
        }
        if (!why.empty()) {
            std::printf("%-18s %6ld: %s%s", c.name, c.samplesPerBit, why.c_str(),
                        why.back() == '\n' ? "" : "\n");
            status = 1;
            continue;
        }
        std::printf("%-18s %6ld %5s %8ld %9ld %9ld %8.3f %9.3f %9.2f\n", c.name, c.samplesPerBit,
                    c.chained ? std::to_string(c.bits).c_str() : "-", c.impulseBits, rows, samples,
                    best, slowest, best / static_cast<double>(samples) * 1e9);
        std::fflush(stdout);
    }
    return status;
}
