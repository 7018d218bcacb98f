// amihost run as a user runs it: the built program in a child process,
// started in a chosen folder, its standard output, standard error and exit
// status read back.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define AMIHOST_TESTS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define AMIHOST_TESTS_SANITIZED 1
#endif
#endif

namespace {

namespace fs = std::filesystem;

struct Result {
    int status = -1; // the exit status, or 128 + the signal that ended it
    std::string out, err;
};

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A folder of its own for each test program: the files a user would point
// the host at, and the children's output.
class Scratch {
public:
    Scratch()
    {
        std::string pattern = (fs::temp_directory_path() / "amihost_tests_XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_dir = pattern;
        std::ofstream(m_dir / "notes.txt")
            << "# Notes\n\nA text file, long enough to be taken for a library's header by a "
               "loader that reads one before it looks at what it read.\n";
        fs::create_directory(m_dir / "folder.so");
    }
    ~Scratch()
    {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    const fs::path& dir() const { return m_dir; }

private:
    fs::path m_dir;
};

const Scratch& TheScratch()
{
    static const Scratch scratch;
    return scratch;
}

// Runs amihost with args in dir; with a limit, the child's address space is
// capped at that many MiB.
Result RunHost(const fs::path& dir, const std::vector<std::string>& args, long limitMib = 0)
{
    const fs::path out = TheScratch().dir() / "stdout.txt";
    const fs::path err = TheScratch().dir() / "stderr.txt";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(AMIHOST));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0 || chdir(dir.c_str()) != 0)
            _exit(126);
        if (limitMib > 0) {
            const rlimit limit = {static_cast<rlim_t>(limitMib) << 20,
                                  static_cast<rlim_t>(limitMib) << 20};
            if (setrlimit(RLIMIT_AS, &limit) != 0)
                _exit(126);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    Result r;
    int wstatus = 0;
    if (pid < 0 || waitpid(pid, &wstatus, 0) != pid)
        return r;
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    r.out = ReadFile(out);
    r.err = ReadFile(err);
    return r;
}

// The library paths a case names, and the folders it may run in.
std::string Expand(const std::string& arg)
{
    if (arg == "{rx}")
        return VESKARO_LIBRARY;
    if (arg == "{tx}")
        return TOLVANE_LIBRARY;
    if (arg == "{noinit}")
        return NO_INIT_LIBRARY;
    return arg;
}

enum class Where { Scratch, ReceiverFolder, TransmitterFolder };

fs::path Folder(Where where)
{
    switch (where) {
    case Where::ReceiverFolder: return fs::path(VESKARO_LIBRARY).parent_path();
    case Where::TransmitterFolder: return fs::path(TOLVANE_LIBRARY).parent_path();
    case Where::Scratch: break;
    }
    return TheScratch().dir();
}

enum class Outcome {
    Ran,     // the models ran (to whatever end)
    Refused, // nothing was loaded or run: stdout empty, one line on stderr
    Usage,   // the usage on stdout, nothing on stderr
};

struct Case {
    const char* name;
    Where where;
    std::vector<std::string> args;
    int status;
    Outcome outcome;
    std::vector<std::string> err; // what stderr holds
    std::vector<std::string> out; // what stdout holds
    long limitMib = 0;            // the child's address space, when capped
};

// The summary the host printed before it streamed its run, for the default
// run (amihost --model Veskaro_x64.so, nothing else given).
const char* const kDefaultSummary =
    "AMI_GetWave: 625 calls of up to 1024 samples, 0 failed\n"
    "clock times: 20000 found (15000 after the first 5000 bits)\n"
    "clock spacing: mean 1e-10 s = 1.000000 bit times (data unit interval 1.000000 bit times), "
    "-0.0 ppm from the data rate\n"
    "               min 9.687e-11 s, max 1.031e-10 s, rms deviation 8.91e-13 s (0.009 UI)\n"
    "clock phase against the transmitted bit grid: mean 0.350 UI, spread 0.012 UI\n";

const Case kCases[] = {
    // Loading: a bare name is the file in the current folder.
    {"BareNameInTheLibraryFolder", Where::ReceiverFolder,
     {"--model", "Veskaro_x64.so", "--bits", "200"}, 0, Outcome::Ran, {},
     {"model: Veskaro_x64.so (AMI_GetWave present)\n", "AMI_Close returned 1\n"}},
    {"TextFileIsNoLibrary", Where::Scratch, {"--model", "notes.txt"},
     2, Outcome::Refused, {"amihost: cannot load notes.txt: invalid ELF header\n"}, {}},
    {"MissingFile", Where::Scratch, {"--model", "absent.so"},
     2, Outcome::Refused, {"amihost: cannot load absent.so: No such file or directory\n"}, {}},
    {"Folder", Where::Scratch, {"--model", "folder.so"},
     2, Outcome::Refused, {"amihost: cannot load folder.so: Is a directory\n"}, {}},
    {"LibraryWithoutAmiInit", Where::Scratch, {"--model", "{noinit}"},
     2, Outcome::Refused, {"amihost_no_init_model.so: ", "no AMI_Init\n"}, {}},
    {"MissingTransmitter", Where::Scratch, {"--model", "{rx}", "--tx", "absent.so"},
     2, Outcome::Refused, {"amihost: cannot load absent.so: No such file or directory\n"}, {}},

    // Values refused before anything is loaded.
    {"BitTimeZero", Where::Scratch, {"--model", "{rx}", "--bit-time", "0"},
     2, Outcome::Refused,
     {"amihost: bad value for --bit-time: '0' (a positive finite number of seconds)\n"}, {}},
    {"BitTimeInfinite", Where::Scratch, {"--model", "{rx}", "--bit-time", "inf"},
     2, Outcome::Refused, {"--bit-time: 'inf' (a positive"}, {}},
    {"BitTimeNan", Where::Scratch, {"--model", "{rx}", "--bit-time", "nan"},
     2, Outcome::Refused, {"--bit-time: 'nan' (a positive"}, {}},
    {"BitTimeNegative", Where::Scratch, {"--model", "{rx}", "--bit-time", "-1e-10"},
     2, Outcome::Refused, {"--bit-time: '-1e-10' (a positive"}, {}},
    {"BitTimeNotANumber", Where::Scratch, {"--model", "{rx}", "--bit-time", "12abc"},
     2, Outcome::Refused, {"--bit-time: '12abc' (a positive"}, {}},
    {"SampleIntervalZero", Where::Scratch, {"--model", "{rx}", "--sample-interval", "0"},
     2, Outcome::Refused, {"--sample-interval: '0' (a positive"}, {}},
    {"SampleIntervalNegative", Where::Scratch, {"--model", "{rx}", "--sample-interval", "-1e-12"},
     2, Outcome::Refused, {"--sample-interval: '-1e-12' (a positive"}, {}},
    {"SampleIntervalAboveTheBitTime", Where::Scratch,
     {"--model", "{rx}", "--sample-interval", "2e-10"},
     2, Outcome::Refused, {"--sample-interval: '2e-10'", "to the bit time 1e-10 s)"}, {}},
    {"SamplesPerBitZero", Where::Scratch, {"--model", "{rx}", "--samples-per-bit", "0"},
     2, Outcome::Refused, {"--samples-per-bit: '0' (a whole number from 1 to 1000000)"}, {}},
    {"BitsZero", Where::Scratch, {"--model", "{rx}", "--bits", "0"},
     2, Outcome::Refused, {"--bits: '0' (a whole number of bits, at least 1)"}, {}},
    {"BlockZero", Where::Scratch, {"--model", "{rx}", "--block", "0"},
     2, Outcome::Refused, {"--block: '0' (a whole number of samples, at least 1)"}, {}},
    {"ImpulseBitsZero", Where::Scratch, {"--model", "{rx}", "--impulse-bits", "0"},
     2, Outcome::Refused, {"--impulse-bits: '0' (a whole number of bits, at least 1)"}, {}},
    // 2^63 samples do not fit a 64-bit long: at 32 samples per bit that is
    // 2^63 / 32 = 288230376151711744 bits, give or take the rounding of the
    // sample count.
    {"BitsBeyondTheSampleCount", Where::Scratch,
     {"--model", "{rx}", "--bits", "9000000000000000000"},
     2, Outcome::Refused, {"--bits: '9000000000000000000' (at most 2882303761517117"}, {}},
    {"SeventeenAggressors", Where::Scratch, {"--model", "{rx}", "--aggressors", "17"},
     2, Outcome::Refused, {"--aggressors: '17' (a whole number from 0 to 16)"}, {}},
    {"NegativeAggressors", Where::Scratch, {"--model", "{rx}", "--aggressors", "-1"},
     2, Outcome::Refused, {"--aggressors: '-1' (a whole number from 0 to 16)"}, {}},
    {"PrbsEight", Where::Scratch, {"--model", "{rx}", "--prbs", "8"},
     2, Outcome::Refused, {"--prbs: '8' (7, 9, 15, 23 or 31)"}, {}},

    // The command line's words.
    {"UnknownOptionLast", Where::Scratch, {"--model", "{rx}", "--frobnicate"},
     2, Outcome::Refused,
     {"amihost: unknown option '--frobnicate' (amihost --help lists the options)\n"}, {}},
    {"UnknownOptionInTheMiddle", Where::Scratch,
     {"--model", "{rx}", "--frobnicate", "--bits", "10"},
     2, Outcome::Refused, {"amihost: unknown option '--frobnicate'"}, {}},
    {"StrayWord", Where::Scratch, {"--model", "{rx}", "stray"},
     2, Outcome::Refused, {"'stray'", "amihost --help lists the options"}, {}},
    {"MissingValue", Where::Scratch, {"--model", "{rx}", "--bits"},
     2, Outcome::Refused,
     {"amihost: --bits needs a value (a whole number of bits, at least 1)\n"}, {}},
    {"NoModel", Where::Scratch, {"--bits", "100"},
     2, Outcome::Refused, {"no --model given"}, {}},
    {"HelpWinsOverAFault", Where::Scratch, {"--bits", "0", "--help"},
     0, Outcome::Usage, {}, {"usage: amihost --model LIBRARY", "--bit-time S", "exit status:\n",
                             "  2  a bad command line, or a library that cannot be loaded\n"}},

    // Runs.
    {"DefaultRunSummary", Where::Scratch, {"--model", "{rx}"},
     0, Outcome::Ran, {}, {kDefaultSummary}},
    {"TransmitterByBareNameWithOneAggressor", Where::TransmitterFolder,
     {"--tx", "Tolvane_x64.so", "--model", "{rx}", "--aggressors", "1", "--bits", "200"},
     0, Outcome::Ran, {},
     {"transmitter: Tolvane_x64.so (AMI_GetWave absent", "(512 rows, 1 aggressor)\n",
      "waveform built from the transmitter-shaped impulse matrix (2 columns)\n"}},
    {"EmptyParameterString", Where::Scratch, {"--model", "{rx}", "--bits", "200", "--params", ""},
     0, Outcome::Ran, {},
     {"unable to initialize the parameter xboost", "AMI_Close returned 1\n"}},
    {"CsvThatCannotBeWritten", Where::Scratch,
     {"--model", "{rx}", "--bits", "200", "--wave-csv", "absent/wave.csv"},
     1, Outcome::Ran, {"amihost: cannot write absent/wave.csv: No such file or directory\n"},
     {"clock phase against", "AMI_Close returned 1\n"}},
    // 10^8 bits of impulse response at 32 samples a bit: 25.6 GB of matrix.
    {"ImpulseMatrixBeyondMemory", Where::Scratch,
     {"--model", "{rx}", "--impulse-bits", "100000000"},
     1, Outcome::Ran, {"amihost: out of memory"}, {"model: "}, 256},
};

// Names the case in the test's report instead of dumping its bytes.
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class AmihostCommandLine : public testing::TestWithParam<Case> {};

TEST_P(AmihostCommandLine, EndsAsExpected)
{
    const Case& c = GetParam();
#ifdef AMIHOST_TESTS_SANITIZED
    if (c.limitMib > 0)
        GTEST_SKIP() << "the sanitizer reserves far more address space than the cap";
#endif
    std::vector<std::string> args;
    for (const std::string& a : c.args)
        args.push_back(Expand(a));
    const Result r = RunHost(Folder(c.where), args, c.limitMib);
    SCOPED_TRACE("stdout:\n" + r.out + "stderr:\n" + r.err);
    EXPECT_EQ(r.status, c.status);
    for (const std::string& text : c.err)
        EXPECT_NE(r.err.find(text), std::string::npos) << "stderr lacks: " << text;
    for (const std::string& text : c.out)
        EXPECT_NE(r.out.find(text), std::string::npos) << "stdout lacks: " << text;
    switch (c.outcome) {
    case Outcome::Refused:
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "not exactly one line";
        break;
    case Outcome::Usage:
        EXPECT_EQ(r.err, "");
        break;
    case Outcome::Ran:
        EXPECT_TRUE(r.out.rfind("model: ", 0) == 0 || r.out.rfind("transmitter: ", 0) == 0);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, AmihostCommandLine, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

size_t LineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

// The run is made and written block by block: what reaches the model and the
// files must not depend on where the blocks end, whether the waveform comes
// from the single-pole channel or from the impulse matrix (whose convolution
// reaches back across blocks: the responses last some 260 samples here).
TEST(AmihostBlocks, WaveformAndClockDoNotDependOnTheBlock)
{
    for (const char* aggressors : {"0", "2"}) {
        SCOPED_TRACE(std::string("aggressors ") + aggressors);
        std::string wave[2], clock[2];
        const char* blocks[2] = {"97", "100000"};
        for (int k = 0; k < 2; ++k) {
            const Result r = RunHost(TheScratch().dir(),
                                     {"--model", VESKARO_LIBRARY, "--bits", "256", "--aggressors",
                                      aggressors, "--block", blocks[k], "--wave-csv", "wave.csv",
                                      "--clock-csv", "clock.csv"});
            ASSERT_EQ(r.status, 0) << r.err;
            wave[k] = ReadFile(TheScratch().dir() / "wave.csv");
            clock[k] = ReadFile(TheScratch().dir() / "clock.csv");
        }
        // 256 bits at 32 samples a bit (powers of two: the sample count
        // takes no rounding), under a heading.
        ASSERT_EQ(LineCount(wave[0]), 1u + 256 * 32);
        EXPECT_EQ(wave[0].rfind("sample,time,input,output\n", 0), 0u);
        const size_t lastRow = wave[0].rfind('\n', wave[0].size() - 2) + 1;
        EXPECT_EQ(wave[0].compare(lastRow, 5, "8191,"), 0);
        EXPECT_TRUE(wave[0] == wave[1]) << "the waveform file differs with the block";
        EXPECT_GT(LineCount(clock[0]), 200u);
        EXPECT_TRUE(clock[0] == clock[1]) << "the clock file differs with the block";
    }
}

} // namespace
