// Tests of the Windows DLLs. The file checks read the built files; the
// comparisons read what run_hosts.sh left: the same drivers run against the
// Linux libraries and, under Wine, against the DLLs.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kOut = QUENRIX_WIN_OUT;
const std::string kDllDir = QUENRIX_WIN_DLL_DIR;
const std::string kVeskaro = kDllDir + "/Veskaro.dll";
const std::string kTolvane = kDllDir + "/Tolvane.dll";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Windows programs write their standard streams in text mode.
std::string Unix(std::string text)
{
    std::string out;
    for (size_t k = 0; k < text.size(); ++k)
        if (!(text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n'))
            out += text[k];
    return out;
}

std::string Shell(const std::string& command)
{
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// ---- the built files ----------------------------------------------------

std::set<std::string> Exports(const std::string& file)
{
    std::set<std::string> names;
    bool inTable = false;
    for (const std::string& line : Lines(Shell(std::string(QUENRIX_OBJDUMP) + " -p '" + file + "'"))) {
        if (line.find("[Ordinal/Name Pointer] Table") != std::string::npos) {
            inTable = true;
            continue;
        }
        if (!inTable)
            continue;
        const size_t close = line.find(']');
        if (line.empty() || close == std::string::npos)
            break;
        names.insert(line.substr(line.find_first_not_of(' ', close + 1)));
    }
    return names;
}

std::set<std::string> Imports(const std::string& file)
{
    std::set<std::string> dlls;
    for (const std::string& line : Lines(Shell(std::string(QUENRIX_OBJDUMP) + " -p '" + file + "'"))) {
        const size_t at = line.find("DLL Name: ");
        if (at != std::string::npos)
            dlls.insert(line.substr(at + 10));
    }
    return dlls;
}

TEST(WindowsFiles, ExportTablesHoldExactlyTheAmiFunctions)
{
    const struct {
        std::string file;
        std::set<std::string> names;
    } cases[] = {
        {kVeskaro, {"AMI_Init", "AMI_GetWave", "AMI_Close"}},
        {kTolvane, {"AMI_Init", "AMI_Close"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(Exports(c.file), c.names);
    }
}

TEST(WindowsFiles, ThirtyTwoBitAndSelfContained)
{
    // Only system DLLs: the C and C++ runtimes of the compiler are linked in.
    const std::set<std::string> system = {"KERNEL32.dll", "msvcrt.dll"};
    for (const std::string& file : {kVeskaro, kTolvane, std::string(QUENRIX_WIN_AMIHOST)}) {
        SCOPED_TRACE(file);
        EXPECT_NE(Shell(std::string(QUENRIX_OBJDUMP) + " -f '" + file + "'").find("file format pei-i386"),
                  std::string::npos);
        const std::set<std::string> imports = Imports(file);
        EXPECT_FALSE(imports.empty());
        for (const std::string& dll : imports)
            EXPECT_TRUE(system.count(dll)) << file << " needs " << dll;
    }
}

// Reads the value of a String entry of the version resource: the entry is
// wLength, wValueLength, wType, the key in UTF-16, padding to 32 bits, then
// the value in UTF-16 (wValueLength characters with the closing NUL).
bool VersionString(const std::string& image, const std::string& key, std::string& value)
{
    std::string wide;
    for (char ch : key)
        wide += std::string(1, ch) + '\0';
    wide += std::string(2, '\0');
    const size_t at = image.find(wide);
    if (at == std::string::npos || at < 6)
        return false;
    const unsigned char* header = reinterpret_cast<const unsigned char*>(image.data()) + at - 6;
    const size_t valueChars = header[2] | (header[3] << 8);
    size_t v = at + wide.size();
    v = (v + 3) & ~static_cast<size_t>(3);
    value.clear();
    for (size_t k = 0; k < valueChars && v + 2 * k + 1 < image.size(); ++k) {
        const char ch = image[v + 2 * k];
        if (ch == '\0' && image[v + 2 * k + 1] == '\0')
            break;
        value += ch;
    }
    return true;
}

TEST(WindowsFiles, VersionResourceStatesTheRelease)
{
    for (const char* name : {"Veskaro", "Tolvane"}) {
        SCOPED_TRACE(name);
        const std::string image = ReadFile(kDllDir + "/" + name + ".dll");
        ASSERT_FALSE(image.empty());
        const std::map<std::string, std::string> expected = {
            {"FileDescription", "Marlowind 2013.08SP1 IBIS-AMI Model"},
            {"FileVersion", "2013.08SP1"},
            {"ProductVersion", "2013.08SP1"},
            {"ProductName", "Marlowind"},
            {"OriginalFilename", std::string(name) + ".dll"},
        };
        for (const auto& e : expected) {
            std::string value;
            EXPECT_TRUE(VersionString(image, e.first, value)) << e.first;
            EXPECT_EQ(value, e.second) << e.first;
        }
        // The fixed part: signature, then file version 2013.8.1.0.
        const char fixed[] = {'\xbd', '\x04', '\xef', '\xfe'};
        const size_t at = image.find(std::string(fixed, 4));
        ASSERT_NE(at, std::string::npos);
        const unsigned char* f = reinterpret_cast<const unsigned char*>(image.data()) + at;
        const unsigned ms = f[8] | f[9] << 8 | f[10] << 16 | static_cast<unsigned>(f[11]) << 24;
        const unsigned ls = f[12] | f[13] << 8 | f[14] << 16 | static_cast<unsigned>(f[15]) << 24;
        EXPECT_EQ(ms, (2013u << 16) | 8u);
        EXPECT_EQ(ls, 1u << 16);
    }
}

TEST(WindowsFiles, LfsrOnlyInTheReceiverAndNoVersionFunction)
{
    const auto symbols = [](const std::string& file) {
        return Shell(std::string(QUENRIX_NM) + " -C '" + file + "'");
    };
    const std::string rx = symbols(kVeskaro), tx = symbols(kTolvane);
    ASSERT_NE(rx.find("AMI_GetWave"), std::string::npos) << "the DLLs carry no symbol table";
    EXPECT_NE(rx.find("Quenrix::LFSR::Initialize"), std::string::npos);
    EXPECT_EQ(tx.find("Quenrix::LFSR"), std::string::npos);
    for (const std::string* s : {&rx, &tx})
        EXPECT_EQ(s->find("QuenrixCodeGen::version"), std::string::npos);
}

// ---- the runs -----------------------------------------------------------

using Scenarios = std::map<std::string, std::vector<std::string>>;

Scenarios ParseDump(const std::string& text)
{
    Scenarios s;
    std::string current;
    for (const std::string& line : Lines(Unix(text))) {
        if (line.rfind("== ", 0) == 0)
            current = line.substr(3);
        else
            s[current].push_back(line);
    }
    return s;
}

double FromBits(const std::string& hex)
{
    const uint64_t bits = std::strtoull(hex.c_str(), nullptr, 16);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> w;
    std::istringstream in(line);
    for (std::string t; in >> t;)
        w.push_back(t);
    return w;
}

// Distance of two doubles in units in the last place (same sign assumed; a
// sign change counts as far apart).
uint64_t UlpDistance(const std::string& a, const std::string& b)
{
    const uint64_t x = std::strtoull(a.c_str(), nullptr, 16), y = std::strtoull(b.c_str(), nullptr, 16);
    if ((x >> 63) != (y >> 63))
        return x == y ? 0 : UINT64_MAX;
    return x > y ? x - y : y - x;
}

// The receiver's output samples pass last through the tanh of the C library,
// which glibc and the MinGW runtime compute a few units in the last place
// apart; nothing feeds those samples back into the model, so the difference
// stays at that size. Everything else (texts, clock times, the
// transmitter's filtered columns) is plain IEEE arithmetic with SSE2 on both
// platforms and must match to the last bit.
const uint64_t kWaveUlps = 4;

// Compares one scenario of the two dumps: every text line exactly, every
// number to the last bit, the receiver's samples within kWaveUlps.
void ExpectSameScenario(const std::vector<std::string>& linux, const std::vector<std::string>& win)
{
    ASSERT_EQ(linux.size(), win.size());
    for (size_t k = 0; k < linux.size(); ++k) {
        const std::vector<std::string> a = Words(linux[k]), b = Words(win[k]);
        const bool numbers = !a.empty() && (a[0] == "wave" || a[0] == "clock" || a[0] == "impulse");
        if (!numbers) {
            EXPECT_EQ(linux[k], win[k]);
            continue;
        }
        ASSERT_EQ(a.size(), b.size()) << a[0];
        const uint64_t allowed = a[0] == "wave" ? kWaveUlps : 0;
        size_t beyond = 0, first = 0;
        uint64_t worst = 0;
        for (size_t j = 2; j < a.size(); ++j) {
            const uint64_t d = UlpDistance(a[j], b[j]);
            worst = d > worst ? d : worst;
            if (d > allowed && beyond++ == 0)
                first = j;
        }
        EXPECT_EQ(beyond, 0u) << a[0] << ": " << beyond << " of " << a.size() - 2
                              << " values differ by more than " << allowed << " ulp (worst "
                              << worst << "); first at " << first - 2 << ": "
                              << FromBits(a[first]) << " against " << FromBits(b[first]);
    }
}

struct Runs {
    Scenarios linux, win;
};

Runs LoadDump(const char* model)
{
    const std::string base = kOut + "/dump_" + model;
    return {ParseDump(ReadFile(base + ".linux.out")), ParseDump(ReadFile(base + ".win.out"))};
}

// Windows takes a process value outside -2 to 2 as the leg count itself.
const std::set<std::string> kLegRuleScenarios = {"legs_from_process", "legs_few", "legs_negative"};

TEST(WindowsRuns, ReceiverMatchesLinuxInEveryScenario)
{
    const Runs r = LoadDump("rx");
    ASSERT_GE(r.linux.size(), 10u) << "no Linux run in " << kOut;
    for (const auto& s : r.linux) {
        SCOPED_TRACE(s.first);
        ASSERT_TRUE(r.win.count(s.first)) << "missing from the Windows run";
        ExpectSameScenario(s.second, r.win.at(s.first));
    }
    EXPECT_EQ(r.win.size(), r.linux.size());
}

TEST(WindowsRuns, TransmitterMatchesLinuxOutsideTheLegCountRule)
{
    const Runs r = LoadDump("tx");
    ASSERT_GE(r.linux.size(), 10u) << "no Linux run in " << kOut;
    for (const auto& s : r.linux) {
        if (kLegRuleScenarios.count(s.first))
            continue;
        SCOPED_TRACE(s.first);
        ASSERT_TRUE(r.win.count(s.first)) << "missing from the Windows run";
        ExpectSameScenario(s.second, r.win.at(s.first));
    }
    EXPECT_EQ(r.win.size(), r.linux.size());
}

std::string Line(const Scenarios& s, const std::string& scenario, const std::string& word)
{
    if (!s.count(scenario))
        return "";
    for (const std::string& line : s.at(scenario))
        if (line.rfind(word + " ", 0) == 0)
            return line;
    return "";
}

TEST(WindowsRuns, ReceiverScenariosBehaveOnWindows)
{
    const Scenarios w = LoadDump("rx").win;
    EXPECT_EQ(Line(w, "defaults", "init"), "init 1 handle set impulse unchanged");
    EXPECT_NE(Line(w, "defaults", "msg").find(
                  "The IBIS-AMI model, usb3_rx, is unable to initialize the parameter xboost from the "
                  "AMI_Init arguments.  The model will use the default setting. \\nUSB3 Rx, Version: "
                  "20170113\\nRx settings:  xrx_process = 0, xboost = 5 :\\n\""),
              std::string::npos);
    EXPECT_EQ(Line(w, "bad_process", "init").substr(0, 6), "init 0");
    EXPECT_NE(Line(w, "bad_process", "msg").find("Error occurred in usb3_rx::Setup(). "), std::string::npos);
    // A call of no samples still closes the clock list.
    const std::vector<std::string>& calls = w.at("several_calls");
    bool sawEmpty = false;
    for (size_t k = 0; k + 2 < calls.size(); ++k)
        if (calls[k] == "getwave 0 result 1") {
            sawEmpty = true;
            EXPECT_EQ(calls[k + 1], "wave 0");
            EXPECT_EQ(calls[k + 2], "clock 1 bff0000000000000"); // -1.0
        }
    EXPECT_TRUE(sawEmpty);
    // The model's state carries over between calls: five calls give the same
    // samples as one call over the same input.
    std::vector<std::string> pieces;
    for (const std::string& line : calls)
        if (line.rfind("wave ", 0) == 0) {
            const std::vector<std::string> words = Words(line);
            pieces.insert(pieces.end(), words.begin() + 2, words.end());
        }
    std::vector<std::string> whole = Words(Line(w, "one_call_same_input", "wave"));
    ASSERT_GE(whole.size(), 2u);
    whole.erase(whole.begin(), whole.begin() + 2);
    EXPECT_EQ(pieces, whole);
}

TEST(WindowsRuns, TransmitterTakesOtherProcessValuesAsTheLegCount)
{
    const Runs r = LoadDump("tx");
    // 100 legs at xtxlvl 105 and xtxeq 21: 16 legs off, 84 switch, swing
    // 1.2 * 0.9825 * 84 / 100 = 0.99036 V, 14 de-emphasis legs, so
    // 20 log10(56 / 84) = -3.52183 dB.
    EXPECT_NE(Line(r.win, "legs_from_process", "msg").find("xtx_vswing = 0.99036, xtx_deemph_dB = -3.52183"),
              std::string::npos);
    // On Linux the same value means 79 legs: 12 off, 67 switch, swing
    // 1.179 * 67 / 79 = 0.999911 V, 11 de-emphasis legs: 20 log10(45 / 67).
    EXPECT_NE(Line(r.linux, "legs_from_process", "msg").find("xtx_vswing = 0.999911, xtx_deemph_dB = -3.45725"),
              std::string::npos);
    // Three legs at full level: swing 1.179 V and no de-emphasis leg
    // (2 * 3 * 10 / 128 + 0.5 truncates to 0); on Linux 79 legs give 6.
    EXPECT_NE(Line(r.win, "legs_few", "msg").find("xtx_vswing = 1.179, xtx_deemph_dB = 0\\n"),
              std::string::npos);
    EXPECT_NE(Line(r.linux, "legs_few", "msg").find("xtx_vswing = 1.179, xtx_deemph_dB = -1.43105"),
              std::string::npos);
    // A negative count gives no legs: rejected on Windows, 79 legs on Linux.
    EXPECT_EQ(Line(r.win, "legs_negative", "init"), "init 0 handle set");
    EXPECT_EQ(Line(r.linux, "legs_negative", "init"), "init 1 handle set");
    // -2 keeps the 79 legs on both.
    ExpectSameScenario(r.linux.at("process_minus2"), r.win.at("process_minus2"));
}

TEST(WindowsRuns, BlockMessagesMatchLinux)
{
    for (const char* model : {"rx", "tx"}) {
        SCOPED_TRACE(model);
        const std::string base = kOut + "/dump_" + model;
        const std::string linux = ReadFile(base + ".linux.err");
        const std::string win = Unix(ReadFile(base + ".win.err"));
        if (std::string(model) == "rx") {
            EXPECT_EQ(win, linux);
            continue;
        }
        // The transmitter's banners differ where the leg-count rule does;
        // everything up to the first of those scenarios must match.
        const size_t w = win.find("xtx_process = 100"), l = linux.find("xtx_process = 100");
        ASSERT_NE(l, std::string::npos);
        EXPECT_EQ(win.substr(0, w), linux.substr(0, l));
    }
}

// Splits a line into its text with every number replaced by '#', and the
// numbers.
std::string Skeleton(const std::string& line, std::vector<double>& numbers)
{
    std::string text;
    for (size_t k = 0; k < line.size();) {
        const char c = line[k];
        const bool starts = (c >= '0' && c <= '9') ||
                            ((c == '-' || c == '+' || c == '.') && k + 1 < line.size() &&
                             line[k + 1] >= '0' && line[k + 1] <= '9');
        if (starts) {
            char* end = nullptr;
            numbers.push_back(std::strtod(line.c_str() + k, &end));
            k = static_cast<size_t>(end - line.c_str());
            text += '#';
        } else {
            text += c;
            ++k;
        }
    }
    return text;
}

// amihost builds its channel input with exp and pow of the platform's C
// library, so the two platforms feed the models inputs a few units in the
// last place apart; its report prints six significant digits, where such a
// difference can move the last digit. Its texts must match exactly, its
// figures to 1e-5 relative.
TEST(WindowsRuns, AmihostReportsTheSameOnBothPlatforms)
{
    for (const char* model : {"rx", "tx"}) {
        SCOPED_TRACE(model);
        const std::vector<std::string> linux = Lines(ReadFile(kOut + "/host_" + model + ".linux.out"));
        const std::vector<std::string> win = Lines(Unix(ReadFile(kOut + "/host_" + model + ".win.out")));
        ASSERT_GT(linux.size(), 4u);
        ASSERT_EQ(linux.size(), win.size());
        for (size_t k = 0; k < linux.size(); ++k) {
            if (linux[k].rfind("model: ", 0) == 0) // names the library file
                continue;
            std::vector<double> a, b;
            EXPECT_EQ(Skeleton(linux[k], a), Skeleton(win[k], b)) << linux[k];
            ASSERT_EQ(a.size(), b.size());
            for (size_t j = 0; j < a.size(); ++j)
                EXPECT_LE(std::fabs(a[j] - b[j]), 1e-5 * std::fmax(std::fabs(a[j]), std::fabs(b[j])))
                    << linux[k] << " against " << win[k];
        }
    }
}

// The outputs' checks under the Windows rules for names (see run_hosts.sh).
TEST(WindowsRuns, AmihostRefusesAnOutputThatIsAnotherFile)
{
    EXPECT_EQ(Unix(ReadFile(kOut + "/host_refusals.win.out")),
              "amihost: --wave-csv veskaro.DLL names the library file of --model Veskaro.dll: an "
              "output must not overwrite a library\n"
              "exit 2\n"
              "amihost: --clock-csv .\\Veskaro.dll names the library file of --model "
              "Veskaro.dll: an output must not overwrite a library\n"
              "exit 2\n"
              "amihost: --wave-csv a.csv and --clock-csv .\\A.CSV name one file: each output "
              "needs a file of its own\n"
              "exit 2\n"
              "amihost: cannot write absent\\i.csv (--impulse-csv): No such file or directory\n"
              "exit 2\n"
              // A running program opens for writing nowhere on Windows.
              "amihost: cannot write ..\\..\\tools\\amihost\\amihost.exe (--clock-csv): "
              "Permission denied\n"
              "exit 2\n");
}

// A module the process has loaded, found among the process's modules once the
// libraries are loaded, under whatever name Windows gives it.
TEST(WindowsRuns, AmihostRefusesAnOutputThatIsALoadedModule)
{
    const std::vector<std::string> lines = Lines(Unix(ReadFile(kOut + "/host_loaded.win.out")));
    ASSERT_EQ(lines.size(), 3u);
    const std::string start = "amihost: --wave-csv C:\\windows\\system32\\kernel32.dll is ";
    EXPECT_EQ(lines[0].compare(0, start.size(), start), 0) << lines[0];
    std::string lower = lines[0];
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(lower.find("kernel32.dll, a file the process has loaded: an output must not "
                         "overwrite it"),
              std::string::npos)
        << lines[0];
    EXPECT_EQ(lines[1], "exit 2");
    EXPECT_EQ(lines[2], "kernel32.dll unchanged");
}

std::map<std::string, std::string> Fields(const std::string& text)
{
    std::map<std::string, std::string> f;
    for (const std::string& line : Lines(Unix(text))) {
        const size_t colon = line.find(": [");
        if (colon != std::string::npos && line.back() == ']')
            f[line.substr(0, colon)] = line.substr(colon + 3, line.size() - colon - 4);
    }
    return f;
}

TEST(WindowsRuns, FileServicesUseTheWindowsRules)
{
    const std::map<std::string, std::string> win = Fields(ReadFile(kOut + "/files.win.out"));
    const std::map<std::string, std::string> linux = Fields(ReadFile(kOut + "/files.linux.out"));
    const struct {
        const char* field;
        const char* windows;
        const char* linux;
    } cases[] = {
        // '\' separates directories (and so does '/', which Windows paths
        // also use), and the base name ends at its last '.'.
        {"basename_backslash", "Veskaro", "models\\rx\\Veskaro.ibs"},
        {"basename_slash", "Veskaro", "Veskaro.ibs"},
        {"basename_plain", "no_directory.v2", "no_directory.v2.pkg"},
        // Binary mode: the bytes as written, CR and ^Z included.
        {"fopen_bytes", "[IBIS Ver] 4.2<CR><LF>ab<SUB>cd<CR><LF>last<CR><LF>",
         "[IBIS Ver] 4.2<CR><LF>ab<SUB>cd<CR><LF>last<CR><LF>"},
        {"open_result", "1", "1"},
        {"open_name", "part.ibs", "part.ibs"},
        {"open_dir_matches", "yes", "yes"},
        // The line reader's own rules: CR LF ends a line, an inner ^Z is a
        // control character turned into a blank.
        {"line1", "[IBIS Ver] 4.2<LF>", "[IBIS Ver] 4.2<LF>"},
        {"line2", "ab cd<LF>", "ab cd<LF>"},
        {"line3", "last<LF>", "last<LF>"},
        {"reopen_bare_name", "1", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(win.count(c.field) ? win.at(c.field) : "(missing)", c.windows);
        EXPECT_EQ(linux.count(c.field) ? linux.at(c.field) : "(missing)", c.linux);
    }
    EXPECT_EQ(win.count("line4"), 0u);
}

} // namespace
