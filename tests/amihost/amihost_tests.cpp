// amihost run as a user runs it: the built program in a child process,
// started in a chosen folder, its standard output, standard error and exit
// status read back.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
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

// Copies of the two libraries, and other names for the receiver's: a
// symbolic link, a hard link and a folder to spell it through; a file that
// is there already, a link to a file not made yet, a folder that takes no
// files; a model that needs a library of its own beside it (and a hard link
// to that library). Made the first time a case asks for it.
const fs::path& Copies()
{
    static const fs::path dir = [] {
        const fs::path d = TheScratch().dir() / "copies";
        fs::create_directory(d);
        fs::copy_file(VESKARO_LIBRARY, d / "rx.so");
        fs::copy_file(TOLVANE_LIBRARY, d / "tx.so");
        fs::create_symlink("rx.so", d / "link.so");
        fs::create_hard_link(d / "rx.so", d / "hard.so");
        fs::create_directory(d / "sub");
        std::ofstream(d / "w.csv") << "kept\n";
        fs::create_symlink("missing/y.csv", d / "dangling.csv");
        fs::create_directory(d / "locked");
        fs::permissions(d / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        fs::copy_file(NEEDING_LIBRARY, d / "needing.so");
        fs::copy_file(NEEDED_LIBRARY, d / fs::path(NEEDED_LIBRARY).filename());
        fs::create_hard_link(d / fs::path(NEEDED_LIBRARY).filename(), d / "needed_hard.so");
        return d;
    }();
    return dir;
}

// What a folder holds, to the byte count and the time of the last change:
// a run that is refused must leave it as it was.
std::map<std::string, std::string> Snapshot(const fs::path& dir)
{
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir)) {
        const std::string name = fs::relative(e.path(), dir).string();
        if (name == "stdout.txt" || name == "stderr.txt")
            continue; // the host's own output, made by the test
        std::ostringstream what;
        if (e.is_symlink())
            what << "-> " << fs::read_symlink(e.path()).string();
        else if (e.is_regular_file())
            what << e.file_size() << " bytes, changed "
                 << e.last_write_time().time_since_epoch().count();
        else
            what << "folder";
        files[name] = what.str();
    }
    return files;
}

// The size and last change of every file a command line names that is there
// already, wherever it is (the running host program, say).
std::map<std::string, std::string> NamedFiles(const fs::path& dir,
                                              const std::vector<std::string>& args)
{
    std::map<std::string, std::string> files;
    for (const std::string& a : args) {
        std::error_code ec;
        const fs::path p = fs::path(a).is_absolute() ? fs::path(a) : dir / a;
        if (fs::is_regular_file(p, ec))
            files[a] = std::to_string(fs::file_size(p, ec)) + " bytes, changed " +
                       std::to_string(fs::last_write_time(p, ec).time_since_epoch().count());
    }
    return files;
}

// A number that is not finite, as printf writes it.
bool HasNotFinite(const std::string& text)
{
    static const std::regex word("\\b(nan|inf)\\b", std::regex::icase);
    return std::regex_search(text, word);
}

// Where the child's standard output goes: a file the test reads back, the
// full device (every write fails: no space), or nowhere (closed).
enum class Stdout { File, Full, Closed };

// Runs amihost with args in dir; with a limit, the child's address space is
// capped at that many MiB.
Result RunHost(const fs::path& dir, const std::vector<std::string>& args, long limitMib = 0,
               Stdout stdoutTo = Stdout::File)
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
        // The file is made empty whatever the child writes to.
        const int file = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int o = stdoutTo == Stdout::Full ? open("/dev/full", O_WRONLY) : file;
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0 || chdir(dir.c_str()) != 0)
            _exit(126);
        // No descriptor beyond the three: a closed standard output is then
        // the lowest free one, the one the host's first file would take.
        close(file);
        if (o != file)
            close(o);
        close(e);
        if (stdoutTo == Stdout::Closed)
            close(1);
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
    if (arg == "{nonfinite}")
        return NONFINITE_LIBRARY;
    if (arg == "{amihost}")
        return AMIHOST;
    return arg;
}

enum class Where { Scratch, ReceiverFolder, TransmitterFolder, Copies };

fs::path Folder(Where where)
{
    switch (where) {
    case Where::Copies: return Copies();
    case Where::ReceiverFolder: return fs::path(VESKARO_LIBRARY).parent_path();
    case Where::TransmitterFolder: return fs::path(TOLVANE_LIBRARY).parent_path();
    case Where::Scratch: break;
    }
    return TheScratch().dir();
}

enum class Outcome {
    Ran,     // the models ran (to whatever end)
    Refused, // no model was run: stdout empty, one line on stderr, no file changed
    Usage,   // the usage on stdout, nothing on stderr
    Ended,   // a model returned a value that is not finite: the host's one line on
             // stderr, and no such value in its report or its files
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
    bool unlessRoot = false;      // a permission the superuser is never refused
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
     {"amihost: bad value for --bit-time: '0' (a number of seconds from 1e-15 to 1)\n"}, {}},
    {"BitTimeInfinite", Where::Scratch, {"--model", "{rx}", "--bit-time", "inf"},
     2, Outcome::Refused, {"--bit-time: 'inf' (a number of seconds from 1e-15 to 1)"}, {}},
    {"BitTimeNan", Where::Scratch, {"--model", "{rx}", "--bit-time", "nan"},
     2, Outcome::Refused, {"--bit-time: 'nan' (a number of seconds from 1e-15 to 1)"}, {}},
    {"BitTimeNegative", Where::Scratch, {"--model", "{rx}", "--bit-time", "-1e-10"},
     2, Outcome::Refused, {"--bit-time: '-1e-10' (a number of seconds from 1e-15 to 1)"}, {}},
    {"BitTimeNotANumber", Where::Scratch, {"--model", "{rx}", "--bit-time", "12abc"},
     2, Outcome::Refused, {"--bit-time: '12abc' (a number of seconds from 1e-15 to 1)"}, {}},
    {"SampleIntervalZero", Where::Scratch, {"--model", "{rx}", "--sample-interval", "0"},
     2, Outcome::Refused, {"--sample-interval: '0' (a number of seconds from 1e-21 to 1 and"}, {}},
    {"SampleIntervalNegative", Where::Scratch, {"--model", "{rx}", "--sample-interval", "-1e-12"},
     2, Outcome::Refused, {"--sample-interval: '-1e-12' (a number of seconds from 1e-21 to 1 and"}, {}},
    {"SampleIntervalAboveTheBitTime", Where::Scratch,
     {"--model", "{rx}", "--sample-interval", "2e-10"},
     2, Outcome::Refused, {"--sample-interval: '2e-10'", "to the bit time 1e-10 s)"}, {}},
    // Bit times beyond every serial link, where the arithmetic would lose
    // its precision or give NaN: the receiver's filter does below 1e-155 s.
    {"BitTimeWhereTheFilterGivesNan", Where::Scratch, {"--model", "{rx}", "--bit-time", "1e-160"},
     2, Outcome::Refused,
     {"amihost: bad value for --bit-time: '1e-160' (a number of seconds from 1e-15 to 1)\n"}, {}},
    {"BitTimeJustBelowTheRange", Where::Scratch, {"--model", "{rx}", "--bit-time", "9.9e-16"},
     2, Outcome::Refused, {"--bit-time: '9.9e-16' (a number of seconds from 1e-15 to 1)"}, {}},
    {"BitTimeAboveTheRange", Where::Scratch, {"--model", "{rx}", "--bit-time", "1.01"},
     2, Outcome::Refused, {"--bit-time: '1.01' (a number of seconds from 1e-15 to 1)"}, {}},
    {"SampleIntervalBelowTheRange", Where::Scratch,
     {"--model", "{rx}", "--bit-time", "1e-15", "--sample-interval", "9.9e-22"},
     2, Outcome::Refused,
     {"amihost: bad value for --sample-interval: '9.9e-22' (a number of seconds from 1e-21 to 1 "
      "and from the bit time / 1e6 to the bit time)\n"}, {}},
    {"SampleIntervalAboveTheRange", Where::Scratch,
     {"--model", "{rx}", "--sample-interval", "1.5"},
     2, Outcome::Refused, {"--sample-interval: '1.5' (a number of seconds from 1e-21 to 1"}, {}},
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

    // Outputs, checked before anything is loaded: the library a run loads,
    // whichever way its name is spelled, another output, a file that cannot
    // be made.
    {"WaveCsvIsTheModel", Where::Copies, {"--model", "rx.so", "--wave-csv", "rx.so"},
     2, Outcome::Refused,
     {"amihost: --wave-csv rx.so names the library file of --model rx.so: an output must not "
      "overwrite a library\n"}, {}},
    {"ClockCsvIsTheModelThroughASymbolicLink", Where::Copies,
     {"--model", "rx.so", "--clock-csv", "link.so"},
     2, Outcome::Refused, {"--clock-csv link.so names the library file of --model rx.so"}, {}},
    {"ImpulseCsvIsTheModelThroughAHardLink", Where::Copies,
     {"--model", "rx.so", "--impulse-csv", "hard.so"},
     2, Outcome::Refused, {"--impulse-csv hard.so names the library file of --model rx.so"}, {}},
    {"ModelNamedThroughAFolder", Where::Copies,
     {"--model", "link.so", "--wave-csv", "sub/../rx.so"},
     2, Outcome::Refused, {"--wave-csv sub/../rx.so names the library file of --model link.so"},
     {}},
    {"ImpulseCsvIsTheTransmitter", Where::Copies,
     {"--model", "rx.so", "--tx", "tx.so", "--impulse-csv", "./tx.so"},
     2, Outcome::Refused, {"--impulse-csv ./tx.so names the library file of --tx tx.so"}, {}},
    {"TwoOutputsOneNewFile", Where::Copies,
     {"--model", "rx.so", "--wave-csv", "a.csv", "--clock-csv", "./a.csv"},
     2, Outcome::Refused,
     {"amihost: --wave-csv a.csv and --clock-csv ./a.csv name one file: each output needs a file "
      "of its own\n"}, {}},
    {"TwoOutputsOneFileThere", Where::Copies,
     {"--model", "rx.so", "--impulse-csv", "sub/../w.csv", "--wave-csv", "w.csv"},
     2, Outcome::Refused, {"--wave-csv w.csv and --impulse-csv sub/../w.csv name one file"}, {}},
    {"OutputInAMissingFolder", Where::Copies,
     {"--model", "rx.so", "--wave-csv", "absent/wave.csv"},
     2, Outcome::Refused,
     {"amihost: cannot write absent/wave.csv (--wave-csv): No such file or directory\n"}, {}},
    {"OutputIsAFolder", Where::Copies, {"--model", "rx.so", "--clock-csv", "sub"},
     2, Outcome::Refused, {"amihost: cannot write sub (--clock-csv): Is a directory\n"}, {}},
    {"OutputThroughALinkToAMissingFolder", Where::Copies,
     {"--model", "rx.so", "--clock-csv", "dangling.csv"},
     2, Outcome::Refused,
     {"amihost: cannot write dangling.csv (--clock-csv): No such file or directory\n"}, {}},
    {"OutputInAFolderThatTakesNoFiles", Where::Copies,
     {"--model", "rx.so", "--impulse-csv", "locked/impulse.csv"},
     2, Outcome::Refused,
     {"amihost: cannot write locked/impulse.csv (--impulse-csv): Permission denied\n"}, {}, 0,
     true},
    // A running program cannot be opened for writing: found before anything
    // runs, as the opening would find it, and the program is left as it is.
    {"OutputIsTheRunningHost", Where::Scratch, {"--model", "{rx}", "--clock-csv", "{amihost}"},
     2, Outcome::Refused, {"amihost: cannot write ", "amihost (--clock-csv): Text file busy\n"},
     {}},
    // After loading: a file the loader mapped with the model (a library it
    // needs, found through its run path), however it is named.
    {"OutputIsALibraryTheModelNeeds", Where::Copies,
     {"--model", "needing.so", "--wave-csv", "libquenrix_needed.so"},
     2, Outcome::Refused,
     {"amihost: --wave-csv libquenrix_needed.so is ",
      "/copies/libquenrix_needed.so, a file the process has loaded: an output must not "
      "overwrite it\n"}, {}},
    {"OutputIsALibraryTheModelNeedsThroughAHardLink", Where::Copies,
     {"--model", "needing.so", "--impulse-csv", "needed_hard.so"},
     2, Outcome::Refused,
     {"amihost: --impulse-csv needed_hard.so is ", "libquenrix_needed.so, a file the process"},
     {}},
    {"ModelThatNeedsALibraryRuns", Where::Copies, {"--model", "needing.so", "--bits", "100"},
     0, Outcome::Ran, {}, {"stand-in that needs a library", "AMI_Close returned 1\n"}},
    {"OutputThereWhenAnotherOptionIsRefused", Where::Copies,
     {"--model", "rx.so", "--wave-csv", "w.csv", "--xtalk", "2"},
     2, Outcome::Refused, {"--xtalk: '2' (a number from -1 to 1)"}, {}},

    // Settings the run could not act on.
    {"TransmitterParametersWithoutATransmitter", Where::Scratch,
     {"--model", "{rx}", "--tx-params", "(usb3_tx (xtxeq 20))"},
     2, Outcome::Refused,
     {"amihost: --tx-params given without --tx: there is no transmitter to take it\n"}, {}},
    {"WaveCsvFromAModelWithoutGetWave", Where::Copies,
     {"--model", "tx.so", "--wave-csv", "w.csv"},
     2, Outcome::Refused,
     {"amihost: --wave-csv needs a model with AMI_GetWave: tx.so has none, so nothing would be "
      "written to w.csv\n"}, {}},
    {"ClockCsvFromAModelWithoutGetWave", Where::Copies,
     {"--model", "tx.so", "--impulse-csv", "impulse.csv", "--clock-csv", "clock.csv"},
     2, Outcome::Refused, {"amihost: --clock-csv needs a model with AMI_GetWave: tx.so has none"},
     {}},
    // Options the run would not read: refused, naming the option, whatever
    // else is given.
    {"XtalkWithoutAggressors", Where::Scratch, {"--model", "{rx}", "--xtalk", "0.1"},
     2, Outcome::Refused,
     {"amihost: --xtalk given without aggressors (--aggressors is 0): there is no aggressor "
      "column for it to couple\n"}, {}},
    {"XtalkWithNoAggressors", Where::Scratch,
     {"--model", "{rx}", "--aggressors", "0", "--xtalk", "0.1"},
     2, Outcome::Refused, {"amihost: --xtalk given without aggressors"}, {}},
    {"SamplesPerBitWithASampleInterval", Where::Scratch,
     {"--model", "{rx}", "--sample-interval", "1e-11", "--samples-per-bit", "10"},
     2, Outcome::Refused,
     {"amihost: --samples-per-bit given with --sample-interval, which sets the samples per bit "
      "itself: give one of the two\n"}, {}},
    {"BitsForAModelWithoutGetWave", Where::Copies, {"--model", "tx.so", "--bits", "100"},
     2, Outcome::Refused,
     {"amihost: --bits needs a model with AMI_GetWave: tx.so has none, so no waveform is sent "
      "and --bits would not be read\n"}, {}},
    {"BlockForAModelWithoutGetWave", Where::Copies, {"--model", "tx.so", "--block", "64"},
     2, Outcome::Refused, {"amihost: --block needs a model with AMI_GetWave: tx.so has none"}, {}},
    {"PrbsForAModelWithoutGetWave", Where::Copies, {"--model", "tx.so", "--prbs", "9"},
     2, Outcome::Refused, {"amihost: --prbs needs a model with AMI_GetWave"}, {}},
    {"AmplitudeForAModelWithoutGetWave", Where::Copies, {"--model", "tx.so", "--amplitude", "1"},
     2, Outcome::Refused, {"amihost: --amplitude needs a model with AMI_GetWave"}, {}},
    {"DataPpmForAModelWithoutGetWave", Where::Copies, {"--model", "tx.so", "--data-ppm", "10"},
     2, Outcome::Refused, {"amihost: --data-ppm needs a model with AMI_GetWave"}, {}},
    {"SettleBitsForAModelWithoutGetWave", Where::Copies,
     {"--model", "tx.so", "--aggressors", "1", "--settle-bits", "10", "--impulse-csv", "w.csv"},
     2, Outcome::Refused, {"amihost: --settle-bits needs a model with AMI_GetWave"}, {}},
    {"AmplitudeAboveTenVolts", Where::Scratch, {"--model", "{rx}", "--amplitude", "10.001"},
     2, Outcome::Refused,
     {"amihost: bad value for --amplitude: '10.001' (a number of volts from -10 to 10)\n"}, {}},
    {"AmplitudeNearTheLargestDouble", Where::Scratch,
     {"--model", "{rx}", "--amplitude", "-1.7e308"},
     2, Outcome::Refused, {"--amplitude: '-1.7e308' (a number of volts from -10 to 10)"}, {}},

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
     0, Outcome::Usage, {},
     {"usage: amihost --model LIBRARY", "--bit-time S", "exit status:\n",
      "  --bits, --block, --prbs, --amplitude, --data-ppm, --settle-bits, --wave-csv, "
      "--clock-csv\n     only with a --model that has AMI_GetWave;\n",
      "  1  a model call returned other than 1", "a model returned a value that is not finite",
      "  2  a bad command line (an option the run would not read among them)"}},

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
    // A device that takes no byte: the run is made, the file is not.
    {"WriteThatFailsPartWay", Where::Scratch,
     {"--model", "{rx}", "--bits", "200", "--wave-csv", "/dev/full"},
     1, Outcome::Ran, {"amihost: cannot write /dev/full: a write failed\n"},
     {"clock phase against", "AMI_Close returned 1\n"}},
    // A device is no file another output or a library could be.
    {"TwoOutputsToTheNullDevice", Where::Scratch,
     {"--model", "{rx}", "--bits", "200", "--wave-csv", "/dev/null", "--clock-csv", "/dev/null"},
     0, Outcome::Ran, {}, {"waveform written to /dev/null\n", "clock times written to /dev/null\n"}},
    // The edges of the ranges of the bit time and the sample interval run,
    // the interval exactly a millionth of the bit time among them.
    {"ShortestBitTimeAtAMillionSamplesPerBit", Where::Scratch,
     {"--model", "{rx}", "--bit-time", "1e-15", "--sample-interval", "1e-21", "--bits", "2",
      "--impulse-bits", "1"},
     0, Outcome::Ran, {}, {"AMI_Close returned 1\n"}},
    {"LongestBitTimeAtOneSamplePerBit", Where::Scratch,
     {"--model", "{rx}", "--bit-time", "1", "--samples-per-bit", "1", "--bits", "500"},
     0, Outcome::Ran, {}, {"AMI_Close returned 1\n"}},

    // A value that is not finite, returned by a model, ends the run: named
    // by the call and its first such value (512 rows: 16 bits at 32
    // samples; 1024 samples a call, 32 bits and as many clock times).
    {"MatrixNotFiniteAfterInit", Where::Scratch,
     {"--model", "{nonfinite}", "--params", "(nonfinite (init 5))", "--wave-csv", "w.csv"},
     1, Outcome::Ended,
     {"amihost: AMI_Init returned an impulse matrix that is not finite: column 0 (main), row 5, "
      "is nan\n"}, {"AMI_Close returned 1\n"}},
    {"TransmitterMatrixNotFinite", Where::Scratch,
     {"--tx", "{nonfinite}", "--tx-params", "(nonfinite (init 600))", "--aggressors", "1",
      "--model", "{rx}", "--impulse-csv", "i.csv"},
     1, Outcome::Ended,
     {"amihost: the transmitter's AMI_Init returned an impulse matrix that is not finite: "
      "column 1 (aggressor 1), row 88, is nan\n"}, {"transmitter AMI_Close returned 1\n"}},
    {"WaveformNotFinite", Where::Scratch,
     {"--model", "{nonfinite}", "--params", "(nonfinite (wave 3000))", "--wave-csv", "w.csv",
      "--clock-csv", "c.csv"},
     1, Outcome::Ended,
     {"amihost: AMI_GetWave call 3 returned a waveform that is not finite: sample 3000 of the "
      "run (952 of the call) is inf\n"}, {"AMI_Close returned 1\n"}},
    {"ClockTimeNan", Where::Scratch,
     {"--model", "{nonfinite}", "--params", "(nonfinite (clock 40))", "--clock-csv", "c.csv"},
     1, Outcome::Ended,
     {"amihost: AMI_GetWave call 2 returned a clock time that is not finite: clock time 8 of "
      "the call is nan\n"}, {}},
    // Not the end of the list, though it is negative.
    {"ClockTimeMinusInfinity", Where::Scratch,
     {"--model", "{nonfinite}", "--params", "(nonfinite (clock 0) (minus 1))"},
     1, Outcome::Ended,
     {"amihost: AMI_GetWave call 1 returned a clock time that is not finite: clock time 0 of "
      "the call is -inf\n"}, {}},

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
    if (c.unlessRoot && geteuid() == 0)
        GTEST_SKIP() << "the superuser may write in any folder";
#ifdef AMIHOST_TESTS_SANITIZED
    if (c.limitMib > 0)
        GTEST_SKIP() << "the sanitizer reserves far more address space than the cap";
#endif
    std::vector<std::string> args;
    for (const std::string& a : c.args)
        args.push_back(Expand(a));
    const fs::path dir = Folder(c.where);
    // The build's folders are not the test's to list.
    const bool own = c.where == Where::Scratch || c.where == Where::Copies;
    const auto before = own ? Snapshot(dir) : std::map<std::string, std::string>();
    const auto named = NamedFiles(dir, args);
    const Result r = RunHost(dir, args, c.limitMib);
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
        if (own) {
            EXPECT_EQ(Snapshot(dir), before) << "a refused run changed a file";
        }
        EXPECT_EQ(NamedFiles(dir, args), named) << "a refused run changed a file it names";
        break;
    case Outcome::Ended:
        EXPECT_TRUE(r.out.rfind("model: ", 0) == 0 || r.out.rfind("transmitter: ", 0) == 0);
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "not exactly one line";
        EXPECT_FALSE(HasNotFinite(r.out)) << "the report holds a value that is not finite";
        for (size_t k = 0; k + 1 < args.size(); ++k) {
            if (args[k].size() > 4 && args[k].compare(args[k].size() - 4, 4, "-csv") == 0) {
                EXPECT_FALSE(HasNotFinite(ReadFile(dir / args[k + 1]))) << args[k + 1];
            }
        }
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

// A folder on a file system mounted read-only, from the mount table, with a
// file in it if it holds one; empty where there is none.
std::pair<fs::path, fs::path> ReadOnlyFolder()
{
    std::ifstream table("/proc/self/mountinfo");
    std::string line;
    while (std::getline(table, line)) {
        // id, parent, device, root, mount point, options, ...
        std::istringstream fields(line);
        std::string skip, point, options;
        fields >> skip >> skip >> skip >> skip >> point >> options;
        std::error_code ec;
        if ((options.rfind("ro,", 0) != 0 && options != "ro") || !fs::is_directory(point, ec))
            continue;
        fs::path file;
        for (const fs::directory_entry& e : fs::directory_iterator(point, ec))
            if (e.is_regular_file(ec)) {
                file = e.path();
                break;
            }
        return {point, file};
    }
    return {};
}

// An output on a read-only file system is found before anything runs, as
// the opening would find it: a new file in a folder there, and a file that
// is there already, which is left as it was.
TEST(AmihostOutputs, ReadOnlyFileSystemIsFoundBeforeTheRun)
{
    const auto [folder, file] = ReadOnlyFolder();
    if (folder.empty())
        GTEST_SKIP() << "no file system is mounted read-only here";
    std::vector<fs::path> outputs = {folder / "amihost_wave.csv"};
    if (!file.empty())
        outputs.push_back(file);
    for (const fs::path& out : outputs) {
        SCOPED_TRACE(out.string());
        const auto before = NamedFiles(TheScratch().dir(), {out.string()});
        const Result r = RunHost(TheScratch().dir(), {"--model", VESKARO_LIBRARY, "--wave-csv",
                                                      out.string()});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "amihost: cannot write " + out.string() +
                             " (--wave-csv): Read-only file system\n");
        EXPECT_EQ(NamedFiles(TheScratch().dir(), {out.string()}), before);
    }
}

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

// Every field after a file's heading, read as a number: how many there are
// and how many of them are not finite (or not numbers at all).
std::pair<size_t, size_t> CountValues(const std::string& csv)
{
    size_t values = 0, bad = 0;
    std::istringstream lines(csv);
    std::string line, field;
    std::getline(lines, line); // the heading
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        while (std::getline(fields, field, ',')) {
            char* end = nullptr;
            const double v = std::strtod(field.c_str(), &end);
            ++values;
            bad += field.empty() || *end != '\0' || !std::isfinite(v);
        }
    }
    return {values, bad};
}

// The largest swing the host takes, through the transmitter, the main path
// and sixteen aggressors all coupled at full strength: the sum of the paths
// is some 4.4 times the swing (1 + 1/2 + ... + 1/16 for the aggressors), far
// from overflowing, and every value written is a finite number.
TEST(AmihostLimits, LargestSwingWithEveryAggressorGivesFiniteFiles)
{
    for (const char* amplitude : {"10", "-10"}) {
        SCOPED_TRACE(std::string("amplitude ") + amplitude);
        const fs::path dir = TheScratch().dir();
        const Result r = RunHost(dir, {"--tx", TOLVANE_LIBRARY, "--model", VESKARO_LIBRARY,
                                       "--amplitude", amplitude, "--aggressors", "16", "--xtalk",
                                       "1", "--bits", "400", "--wave-csv", "wave.csv",
                                       "--clock-csv", "clock.csv", "--impulse-csv", "impulse.csv"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out.find("nan"), std::string::npos) << "in the clock statistics";
        for (const char* name : {"wave.csv", "clock.csv", "impulse.csv"}) {
            const auto [values, bad] = CountValues(ReadFile(dir / name));
            EXPECT_GT(values, 100u) << name;
            EXPECT_EQ(bad, 0u) << name;
        }
    }
}

// How many times text holds word.
size_t Occurrences(const std::string& text, const std::string& word)
{
    size_t n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

// A report that cannot be written is no success: on every way a run ends
// with a report, standard output on the full device or closed makes the
// exit status 1, with one line naming standard output and the system's
// reason. The CSVs are made as in a run whose report is written: a closed
// standard output is not taken over by a CSV, nor a CSV by the report.
TEST(AmihostReport, StandardOutputThatCannotBeWrittenIsNoSuccess)
{
    struct Run {
        const char* name;
        std::vector<std::string> args;
        int status; // with standard output written
    };
    const std::vector<std::string> csvs = {"wave.csv", "clock.csv", "impulse.csv"};
    const Run runs[] = {
        {"receiver", {"--model", VESKARO_LIBRARY, "--bits", "200"}, 0},
        {"transmitter alone", {"--model", TOLVANE_LIBRARY}, 0},
        {"chained with three CSVs",
         {"--tx", TOLVANE_LIBRARY, "--model", VESKARO_LIBRARY, "--aggressors", "1", "--bits",
          "200", "--wave-csv", "wave.csv", "--clock-csv", "clock.csv", "--impulse-csv",
          "impulse.csv"},
         0},
        // A run that fails already stays failed, and says why twice.
        {"a model that returns NaN",
         {"--model", NONFINITE_LIBRARY, "--params", "(nonfinite (wave 3000))"}, 1},
        {"help", {"--help"}, 0},
    };
    const struct {
        Stdout to;
        const char* line;
    } ways[] = {{Stdout::Full, "amihost: standard output: No space left on device\n"},
                {Stdout::Closed, "amihost: standard output: Bad file descriptor\n"}};
    const fs::path dir = TheScratch().dir() / "report";
    fs::create_directories(dir);
    for (const Run& run : runs) {
        SCOPED_TRACE(run.name);
        for (const std::string& csv : csvs)
            fs::remove(dir / csv);
        const Result written = RunHost(dir, run.args);
        ASSERT_EQ(written.status, run.status) << written.err;
        EXPECT_EQ(Occurrences(written.err, "standard output"), 0u) << written.err;
        std::map<std::string, std::string> made;
        for (const std::string& csv : csvs)
            if (fs::exists(dir / csv))
                made[csv] = ReadFile(dir / csv);
        for (const auto& way : ways) {
            SCOPED_TRACE(way.line);
            if (way.to == Stdout::Full && !fs::exists("/dev/full"))
                continue;
            for (const std::string& csv : csvs)
                fs::remove(dir / csv);
            const Result r = RunHost(dir, run.args, 0, way.to);
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.out, "");
            ASSERT_GE(r.err.size(), std::string(way.line).size());
            EXPECT_EQ(r.err.substr(r.err.size() - std::string(way.line).size()), way.line)
                << r.err;
            EXPECT_EQ(Occurrences(r.err, "standard output"), 1u) << r.err;
            for (const std::string& csv : csvs) {
                if (made.count(csv) == 0) {
                    EXPECT_FALSE(fs::exists(dir / csv)) << csv;
                    continue;
                }
                // Byte for byte: a CSV that took stdout's place would hold
                // the report's lines too.
                EXPECT_TRUE(ReadFile(dir / csv) == made[csv]) << csv << " differs";
            }
        }
    }
}

// An output the system refuses to make, though the permission bits let the
// superuser write in its folder (a pseudo file system), ends the run before
// any model runs: exit 2, one line with the system's reason, an empty
// standard output; a new output beside it is not left behind and one that
// was there is left as it was, to its bytes and its change times.
TEST(AmihostOutputs, OutputTheSystemRefusesEndsTheRunBeforeAnyModel)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "not run as root: an ordinary user is refused these folders by their "
                        "permission bits, before anything is opened";
    const fs::path dir = TheScratch().dir() / "refused";
    fs::create_directories(dir);
    const std::string options[] = {"--wave-csv", "--clock-csv", "--impulse-csv"};
    for (const char* bad : {"/sys/x.csv", "/proc/x.csv"}) {
        // The system's own answer to making the file.
        errno = 0;
        const int fd = open(bad, O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) {
            close(fd);
            unlink(bad);
            ADD_FAILURE() << bad << " could be made here";
            continue;
        }
        const std::string reason = std::strerror(errno);
        for (size_t k = 0; k < 3; ++k) {
            // The other two outputs: a new one, then one that is there.
            const std::string& fresh = options[(k + 1) % 3];
            const std::string& kept = options[(k + 2) % 3];
            SCOPED_TRACE(std::string(bad) + " as " + options[k] + ", " + fresh + " new, " + kept +
                         " there");
            fs::remove(dir / "fresh.csv");
            std::ofstream(dir / "kept.csv") << "kept\n";
            struct stat before {};
            ASSERT_EQ(stat((dir / "kept.csv").c_str(), &before), 0);
            // Change times tell a touch apart.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            const Result r = RunHost(dir, {"--model", VESKARO_LIBRARY, "--bits", "100",
                                           options[k], bad, fresh, "fresh.csv", kept, "kept.csv"});
            EXPECT_EQ(r.status, 2);
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err, "amihost: cannot write " + std::string(bad) + " (" + options[k] +
                                 "): " + reason + "\n");
            EXPECT_FALSE(fs::exists(dir / "fresh.csv")) << "a file the run made was left behind";
            EXPECT_TRUE(ReadFile(dir / "kept.csv") == "kept\n") << "kept.csv was written";
            struct stat after {};
            ASSERT_EQ(stat((dir / "kept.csv").c_str(), &after), 0);
            EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
            EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
            EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
            EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
        }
    }
}

} // namespace
