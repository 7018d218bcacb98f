// In-process tests of the row modules: typ/min/max ranges, range points,
// curve tables, waveforms, [Ramp] and [Receiver Thresholds].  No keyword
// owner hands them lines yet, so a small feeder plays the owner: the first
// line of a table text is the keyword line, every later line a data line on
// the next line number, and the end step runs on the line after the last.
//
// Expected messages are written from the message formats; the log prints
// line messages as "E1234 (line   12) - text".
//
// Codes that only an allocation failure reaches are not raised here: 1101,
// 1103, 1105, 1301, 1303, 1400, 1404, 2002, 2012, 3201, 3203, 3900, 3904.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "crv.h"
#include "errlog.h"
#include "log_capture.h"
#include "parse.h"
#include "ramp.h"
#include "rcvth.h"
#include "rng.h"
#include "rngp.h"
#include "wvfrm.h"

namespace {

constexpr unsigned long kFirstLine = 10;

// The log with every message on one line: a text in the log's wrap window
// goes on a second line after " -", which is joined back here.
// The source line that a program-bug message names is replaced by "<n>".
std::string Joined(std::string text)
{
    std::string::size_type at;
    while ((at = text.find(" -\n    ")) != std::string::npos) text.replace(at, 7, " - ");
    return std::regex_replace(text, std::regex("(IbisParser/[a-z]+,? )[0-9]+"), "$1<n>");
}

// Lines of text, one string each.
std::vector<std::string> Split(const char* text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

// Feeds a table text through an owner's three steps and returns the log.
std::string Feed(LogCapture& log, const char* text, const std::function<void(const char*)>& start,
                 const std::function<void(const char*)>& row, const std::function<void()>& end)
{
    std::vector<std::string> lines = Split(text);
    unsigned long n = kFirstLine;
    for (size_t i = 0; i < lines.size(); i++, n++) {
        PARSE_SetPosition(nullptr, n);
        if (i == 0)
            start(lines[i].c_str());
        else
            row(lines[i].c_str());
    }
    PARSE_SetPosition(nullptr, n);
    end();
    return Joined(log.Take());
}

// A curve table read as a [Model] of the given type would read it.
std::string ReadCurve(LogCapture& log, const char* text, const char* name, int modelType,
                      int code, CurveRecord** slot)
{
    return Feed(
        log, text, [&](const char* l) { CRV_New(l, name, slot); },
        [&](const char* l) { CRV_ReceiveLine(l, *slot, name); },
        [&] { CRV_Fini("m", modelType, code, *slot, name, "Model"); });
}

std::string ReadWave(LogCapture& log, const char* text, WaveformRecord** list, const char* newName,
                     const char* rowName, const char* finiName, int kind)
{
    return Feed(
        log, text, [&](const char* l) { WVFRM_New(l, list, newName); },
        [&](const char* l) { WVFRM_ReceiveLine(l, rowName); },
        [&] { WVFRM_Fini(finiName, kind); });
}

std::string ReadRamp(LogCapture& log, const char* text, RampRecord** slot)
{
    return Feed(
        log, text, [&](const char* l) { RAMP_New(l, slot); },
        [&](const char* l) { RAMP_ReceiveLine(l, *slot, "m"); }, [&] { RAMP_Fini(*slot); });
}

std::string ReadThresholds(LogCapture& log, const char* text, ReceiverThresholdsRecord** slot)
{
    return Feed(
        log, text, [&](const char* l) { RCVTH_New(l, slot); },
        [&](const char* l) { RCVTH_ReceiveLine(l, *slot, "m"); },
        [&] { RCVTH_FiniCore(*slot, "m"); });
}

std::vector<double> Column(const RangePoint* p, int which)
{
    std::vector<double> v;
    for (; p != nullptr; p = p->next)
        v.push_back(which == 0 ? p->x_value : which == 1 ? p->typ_value
                                            : which == 2 ? p->min_value
                                                         : p->max_value);
    return v;
}

// Sets the file's IBIS version for the duration of a test.
struct Version {
    explicit Version(int v) : old(geFileVersion) { geFileVersion = v; }
    ~Version() { geFileVersion = old; }
    int old;
};

// ---- Ranges ----------------------------------------------------------------

TEST(Ranges, CornersAndMessages)
{
    struct Case {
        const char* text;
        int result;
        uint32_t states[3];
        double values[3];
        const char* log;
    };
    const Case cases[] = {
        {"1.0 0.9 1.1", 1, {1, 1, 1}, {1.0, 0.9, 1.1}, ""},
        {"1.0 1.2 1.1", 1, {1, 1, 1}, {1.0, 1.2, 1.1},
         "W3903 (line   10) - Typ value is not in between Min and Max \n"},
        {"1.2 1.0 1.1", 1, {1, 1, 1}, {1.2, 1.0, 1.1},
         "W3903 (line   10) - Typ value is not in between Min and Max \n"},
        {"1.0 1.0 1.1", 1, {1, 1, 1}, {1.0, 1.0, 1.1}, ""},
        {"1.0 1.1 0.9", 1, {1, 1, 1}, {1.0, 1.1, 0.9}, ""},
        {"1.0 NA NA", 1, {1, 2, 2}, {1.0, 0, 0}, ""},
        {"1.0\tna\t3", 1, {1, 2, 1}, {1.0, 0, 3}, ""},
        {"1.0", 1, {1, 0, 0}, {1.0, 0, 0},
         "E3901 (line   10) - No minimum Value Was Provided for C_comp\n"
         "E3901 (line   10) - No maximum Value Was Provided for C_comp\n"},
        {"1.0 2.0", 1, {1, 1, 0}, {1.0, 2.0, 0},
         "E3901 (line   10) - No maximum Value Was Provided for C_comp\n"},
        {"1 2 3 4", 1, {1, 1, 1}, {1, 2, 3},
         "E3902 (line   10) - Incorrect Number of Line Items (4) For C_comp: Expecting 3\n"
         "W3903 (line   10) - Typ value is not in between Min and Max \n"},
        {"", 1, {0, 0, 0}, {0, 0, 0},
         "E3902 (line   10) - Incorrect Number of Line Items (0) For C_comp: Expecting 3\n"},
        {"1.0 abc 1.1", 0, {1, 0, 1}, {1.0, 0, 1.1},
         "E1909 (line   10) - Invalid Minimum Value (\"abc\")\n"},
        {"2m 1m 3m", 1, {1, 1, 1}, {0.002, 0.001, 0.003}, ""},
        {"2m1 1m 3m", 1, {1, 1, 1}, {0.002, 0.001, 0.003},
         "W1910 (line   10) - Suspicious Typical C_comp Value (\"2m1\"); Numeric in Scale\n"},
    };
    LogCapture log;
    PARSE_SetPosition(nullptr, kFirstLine);
    for (const Case& c : cases) {
        TypMinMax* r = nullptr;
        EXPECT_EQ(RNG_ParseRange(c.text, "C_comp", &r), c.result) << c.text;
        ASSERT_NE(r, nullptr) << c.text;
        EXPECT_EQ(r->typ_state, c.states[0]) << c.text;
        EXPECT_EQ(r->min_state, c.states[1]) << c.text;
        EXPECT_EQ(r->max_state, c.states[2]) << c.text;
        EXPECT_DOUBLE_EQ(r->typ_value, c.values[0]) << c.text;
        EXPECT_DOUBLE_EQ(r->min_value, c.values[1]) << c.text;
        EXPECT_DOUBLE_EQ(r->max_value, c.values[2]) << c.text;
        EXPECT_EQ(Joined(log.Take()), c.log) << c.text;
        RNG_Free(r);
    }
    RNG_Free(nullptr);
}

// ---- Range points ----------------------------------------------------------

TEST(RangePoints, RowsAndMissingColumns)
{
    struct Case {
        const char* text;
        uint32_t states[4];
        const char* log;
    };
    const Case cases[] = {
        {"1 2 3 4", {1, 1, 1, 1}, ""},
        {"1 2 NA", {1, 1, 2, 0},
         "E1401 (line   10) - No maximum Value Was Provided for Pulldown\n"},
        {"1 2", {1, 1, 0, 0},
         "E1401 (line   10) - No minimum Value Was Provided for Pulldown\n"
         "E1401 (line   10) - No maximum Value Was Provided for Pulldown\n"},
        {"1", {1, 0, 0, 0},
         "E1401 (line   10) - No typical Value Was Provided for Pulldown\n"
         "E1401 (line   10) - No minimum Value Was Provided for Pulldown\n"
         "E1401 (line   10) - No maximum Value Was Provided for Pulldown\n"},
        {"1 2 3 4 5", {1, 1, 1, 1},
         "E1402 (line   10) - Incorrect Number of Line Items (5) For Pulldown: Expecting 4\n"},
        {"1 1m2 3 4", {1, 1, 1, 1},
         "W1910 (line   10) - Suspicious Typical Pulldown Value (\"1m2\"); Numeric in Scale\n"},
        {"x 2 3 4", {0, 1, 1, 1}, "E1909 (line   10) - Invalid Voltage Value (\"x\")\n"},
    };
    LogCapture log;
    PARSE_SetPosition(nullptr, kFirstLine);
    for (const Case& c : cases) {
        RangePoint* p = nullptr;
        ASSERT_EQ(RNGP_ParseLine(c.text, "Pulldown", "Voltage", &p), 1) << c.text;
        EXPECT_EQ(p->x_state, c.states[0]) << c.text;
        EXPECT_EQ(p->typ_state, c.states[1]) << c.text;
        EXPECT_EQ(p->min_state, c.states[2]) << c.text;
        EXPECT_EQ(p->max_state, c.states[3]) << c.text;
        EXPECT_EQ(p->next, nullptr);
        EXPECT_EQ(p->prev, nullptr);
        EXPECT_EQ(Joined(log.Take()), c.log) << c.text;
        RNGP_FreeList(p);
    }
}

// Builds a list of x values through RNGP_LinkLine or an appender; "NA" and
// "?" make an NA and an unreadable first column.
struct LinkCase {
    std::vector<const char*> xs;
    int checkRepeats;
    const char* log;
};

// A row that repeats an earlier x is reported once at its line, however
// many earlier rows hold that x.
const LinkCase kLinkCases[] = {
    {{"1", "2", "1", "1"}, 1,
     "W1403 (line   12) - Value 1.000000e+00 repeated in the First Column\n"
     "W1403 (line   13) - Value 1.000000e+00 repeated in the First Column\n"},
    {{"1", "2", "1", "1"}, 0, ""},
    // NA and an unreadable value are stored as 0.0 but are no number: no
    // repeat of 0, and 0 after them is none either.
    {{"NA", "0", "NA"}, 1, ""},
    {{"0", "-0", "1e-9", "1e-9"}, 1,
     "W1403 (line   11) - Value -0.000000e+00 repeated in the First Column\n"
     "W1403 (line   13) - Value 1.000000e-09 repeated in the First Column\n"},
    // A table that rises or falls strictly and then meets an earlier value:
    // every earlier row with it still counts, NA rows never.
    {{"3", "2", "1", "3"}, 1, "W1403 (line   13) - Value 3.000000e+00 repeated in the First Column\n"},
    {{"1", "2", "3", "4", "2", "2"}, 1,
     "W1403 (line   14) - Value 2.000000e+00 repeated in the First Column\n"
     "W1403 (line   15) - Value 2.000000e+00 repeated in the First Column\n"},
    {{"1", "NA", "2", "1"}, 1, "W1403 (line   13) - Value 1.000000e+00 repeated in the First Column\n"},
    {{"5", "5"}, 1, "W1403 (line   11) - Value 5.000000e+00 repeated in the First Column\n"},
};

std::string BuildList(LogCapture& log, const LinkCase& c, bool appender, RangePoint** head)
{
    *head = nullptr;
    RNGP_Appender a;
    if (appender) RNGP_AppenderStart(&a, head);
    unsigned long line = kFirstLine;
    for (const char* x : c.xs) {
        PARSE_SetPosition(nullptr, line++);
        RangePoint* p = nullptr;
        RNGP_New(&p);
        if (strcmp(x, "NA") == 0) {
            p->x_state = RNG_NA;
        } else {
            p->x_value = strtod(x, nullptr);
            p->x_state = RNG_NUMBER;
        }
        int count = 0;
        int n = appender ? RNGP_Append(&a, p, c.checkRepeats)
                         : RNGP_LinkLine(head, p, &count, c.checkRepeats);
        EXPECT_EQ(n, (int)(line - kFirstLine));
        if (!appender) {
            EXPECT_EQ(count, n);
        }
    }
    if (appender) RNGP_AppenderEnd(&a);
    return Joined(log.Take());
}

TEST(RangePoints, LinkingKeepsOrderAndReportsRepeats)
{
    LogCapture log;
    for (bool appender : {false, true}) {
        for (const LinkCase& c : kLinkCases) {
            RangePoint* head = nullptr;
            EXPECT_EQ(BuildList(log, c, appender, &head), c.log) << appender << " " << c.xs[0];
            // Both directions of the chain hold the rows in file order.
            size_t n = 0;
            RangePoint* last = nullptr;
            for (RangePoint* p = head; p != nullptr; p = p->next, n++) {
                EXPECT_EQ(p->prev, last);
                last = p;
            }
            EXPECT_EQ(n, c.xs.size());
            RangePoint* prev = nullptr;
            EXPECT_EQ(RNGP_Prev(head, &prev), 0);
            EXPECT_EQ(RNGP_Prev(last, &prev), 1);
            EXPECT_EQ(prev, last->prev);
            RNGP_FreeList(head);
        }
    }
    RNGP_FreeList(nullptr);
}

// The repeat warning through whole tables (I-V and V-t): a row whose x an
// earlier row already holds is reported once at its own line, whether one
// or many earlier rows hold it; the first row of an x never is.
TEST(RangePoints, RepeatedXIsReportedOncePerRepeatingRow)
{
    struct Case {
        const char* what;
        std::vector<const char*> xs;   // the first column, rows on lines 11 on
        std::vector<int> lines;        // the lines that repeat an earlier x
        std::vector<const char*> values;
    };
    const Case cases[] = {
        {"three equal", {"1", "1", "1"}, {12, 13}, {"1.000000e+00", "1.000000e+00"}},
        {"five equal", {"2", "2", "2", "2", "2"}, {12, 13, 14, 15},
         {"2.000000e+00", "2.000000e+00", "2.000000e+00", "2.000000e+00"}},
        {"two values interleaved", {"1", "2", "1", "2", "1", "3"}, {13, 14, 15},
         {"1.000000e+00", "2.000000e+00", "1.000000e+00"}},
        {"equal after a rising run", {"0", "1", "2", "3", "0", "0", "0"}, {15, 16, 17},
         {"0.000000e+00", "0.000000e+00", "0.000000e+00"}},
        // 1m and 0.001 are one number.
        {"units", {"1m", "0.001", "1e-3"}, {12, 13}, {"1.000000e-03", "1.000000e-03"}},
    };
    LogCapture log;
    for (const Case& c : cases) {
        std::string expected;
        for (size_t i = 0; i < c.lines.size(); i++) {
            char line[16];
            snprintf(line, sizeof line, "%4d", c.lines[i]);
            expected += std::string("W1403 (line ") + line + ") - Value " + c.values[i] +
                        " repeated in the First Column\n";
        }
        std::string iv = "[Pullup]\n", vt = "[Rising Waveform]\n";
        for (const char* x : c.xs) {
            iv += std::string(x) + " 1m 1m 1m\n";
            vt += std::string(x) + " 1 1 1\n";
        }
        CurveRecord* curve = nullptr;
        std::string out = ReadCurve(log, iv.c_str(), "Pullup", 3, KW_PULLUP, &curve);
        // Only the repeat warnings: the curve's other checks are not this test's.
        std::string repeats;
        for (const std::string& l : Split(out.c_str()))
            if (l.compare(0, 5, "W1403") == 0) repeats += l + "\n";
        EXPECT_EQ(repeats, expected) << c.what << " (I-V)";
        EXPECT_EQ(Column(curve->table, 0).size(), c.xs.size()) << c.what;
        CRV_Free(curve);

        WaveformRecord* list = nullptr;
        out = ReadWave(log, vt.c_str(), &list, "Rising Waveform", "Rising Waveform", "Rising", 0);
        repeats.clear();
        for (const std::string& l : Split(out.c_str()))
            if (l.compare(0, 5, "W1403") == 0) repeats += l + "\n";
        EXPECT_EQ(repeats, expected) << c.what << " (V-t)";
        WVFRM_Free(list);
    }
}

// An appender started on a table that already holds rows counts them and
// checks new rows against them.
TEST(RangePoints, AppenderContinuesATable)
{
    LogCapture log;
    PARSE_SetPosition(nullptr, 20);
    RangePoint* head = nullptr;
    int count = 0;
    for (double x : {1.0, 2.0}) {
        RangePoint* p = nullptr;
        RNGP_New(&p);
        p->x_value = x;
        p->x_state = RNG_NUMBER;
        RNGP_LinkLine(&head, p, &count, 0);
    }
    RNGP_Appender a;
    RNGP_AppenderStart(&a, &head);
    RangePoint* p = nullptr;
    RNGP_New(&p);
    p->x_value = 2.0;
    p->x_state = RNG_NUMBER;
    EXPECT_EQ(RNGP_Append(&a, p, 1), 3);
    RNGP_AppenderEnd(&a);
    EXPECT_EQ(Joined(log.Take()), "W1403 (line   20) - Value 2.000000e+00 repeated in the First Column\n");
    EXPECT_EQ(Column(head, 0), (std::vector<double>{1, 2, 2}));
    RNGP_FreeList(head);
}

// ---- Curves ----------------------------------------------------------------

struct CurveCase {
    const char* what;
    const char* text;
    const char* name;
    int modelType;
    int code;
    const char* log;
};

const CurveCase kCurveCases[] = {
    {"one row", "[Pulldown]\n0 0 0 0\n", "Pulldown", 3, KW_PULLDOWN,
     "E1108 - Require at least 2 Voltage Points for Pulldown Beginning at Line 10\n"},
    {"no row, NA end not checked", "[Pulldown]\n", "Pulldown", 3, KW_PULLDOWN,
     "E1108 - Require at least 2 Voltage Points for Pulldown Beginning at Line 10\n"},
    {"tokens after the keyword", "[Pullup] x y\n0 0 0 0\n1 -1 -1 -1\n", "Pullup", 3, KW_PULLUP,
     "E1104 (line   10) - Incorrect Number of Line Items (3) For Pullup: Expecting 1\n"},
    {"no closing bracket", "[Pullup\n0 0 0 0\n1 -1 -1 -1\n", "Pullup", 3, KW_PULLUP,
     "B1102 (line   10) - Should Not Be Here: IbisParser/rng, <n>\n"},
    {"repeated voltage", "[Pulldown]\n-1 -1 -1 -1\n0 0 0 0\n0 0 0 0\n", "Pulldown", 3,
     KW_PULLDOWN, "W1403 (line   13) - Value 0.000000e+00 repeated in the First Column\n"},
    {"non-monotonic once per column", "[Pulldown]\n0 0 0 0\n1 1 1 1\n0.5 2 2 2\n2 3 3 3\n0.1 4 4 4\n",
     "Pulldown", 3, KW_PULLDOWN, "N1110 (line   13) - Pulldown Voltage data is non-monotonic\n"},
    {"non-monotonic currents", "[Pulldown]\n0 0 0 0\n1 1 1 NA\n2 1 0.5 3\n3 -1 0 NA\n",
     "Pulldown", 3, KW_PULLDOWN,
     "N1110 (line   13) - Pulldown Minimum data is non-monotonic\n"
     "N1110 (line   14) - Pulldown Typical data is non-monotonic\n"
     "E1109 - Last Maximum Value Cannot Be 'NA' for Pulldown Beginning at Line 10\n"
     "W1111 - Model m: Pulldown has Decreasing Current\n"},
    {"NA voltage", "[Pulldown]\n0 0 0 0\nNA 1 1 1\n1 2 2 2\n", "Pulldown", 3, KW_PULLDOWN,
     "E1106 (line   12) - Voltage Value Cannot Be 'NA'\n"},
    {"NA ends", "[Pullup]\n0 NA NA NA\n1 1 NA NA\n2 2 1 NA\n3 NA NA NA\n", "Pullup", 1,
     KW_PULLUP,
     "E1109 - First Typical Value Cannot Be 'NA' for Pullup Beginning at Line 10\n"
     "E1109 - First Minimum Value Cannot Be 'NA' for Pullup Beginning at Line 10\n"
     "E1109 - Last Typical Value Cannot Be 'NA' for Pullup Beginning at Line 10\n"
     "E1109 - Last Minimum Value Cannot Be 'NA' for Pullup Beginning at Line 10\n"},
    {"decreasing pulldown of an Output", "[Pulldown]\n-1 1 1 1\n1 -1 -1 -1\n", "Pulldown", 3,
     KW_PULLDOWN, "W1111 - Model m: Pulldown has Decreasing Current\n"},
    {"decreasing pulldown of an Output_ECL", "[Pulldown]\n-1 1 1 1\n1 -1 -1 -1\n", "Pulldown",
     13, KW_PULLDOWN, ""},
    {"increasing pulldown of an Output_ECL", "[Pulldown]\n-1 -1 -1 -1\n1 1 1 1\n", "Pulldown",
     13, KW_PULLDOWN, "W1112 - Model m: Pulldown has Increasing Current\n"},
    {"decreasing GND clamp of an I/O_ECL", "[GND Clamp]\n-1 1 1 1\n0 0 0 0\n1 -1 -1 -1\n",
     "GND Clamp", 14, KW_GND_CLAMP, "W1111 - Model m: GND Clamp has Decreasing Current\n"},
    {"increasing pullup", "[Pullup]\n-1 -1 -1 -1\n1 1 1 1\n", "Pullup", 4, KW_PULLUP,
     "W1112 - Model m: Pullup has Increasing Current\n"},
    // The ends are the lowest and highest voltages, not the first and last
    // rows.
    {"ends by voltage", "[Pullup]\n1 1 1 1\n-1 -1 -1 -1\n", "Pullup", 4, KW_PULLUP,
     "W1112 - Model m: Pullup has Increasing Current\n"},
    // An NA typ at the lowest voltage is replaced by a later row of the
    // same voltage that holds a number.
    {"equal voltage replaces an NA typ", "[Pullup]\n-1 NA -2 -2\n-1 -1 -1 -1\n1 1 1 1\n", "Pullup",
     4, KW_PULLUP,
     "W1403 (line   12) - Value -1.000000e+00 repeated in the First Column\n"
     "E1109 - First Typical Value Cannot Be 'NA' for Pullup Beginning at Line 10\n"
     "W1112 - Model m: Pullup has Increasing Current\n"},
    {"typ NA at the highest voltage skips the direction", "[Pullup]\n-1 -1 -1 -1\n1 NA 1 1\n",
     "Pullup", 4, KW_PULLUP,
     "E1109 - Last Typical Value Cannot Be 'NA' for Pullup Beginning at Line 10\n"},
    {"series current of a Series model", "[Series Current]\n-1 1 1 1\n1 -1 -1 -1\n",
     "Series_Current", 16, KW_SERIES_CURRENT, ""},
    {"series MOSFET of a Series_switch", "[Series MOSFET]\n-1 1 1 1\n1 -1 -1 -1\n",
     "Series_MOSFET", 17, KW_SERIES_MOSFET,
     "W1111 - Model m: Series_MOSFET has Decreasing Current\n"},
    {"ISSO PD: rows and ends only", "[ISSO PD]\n-1 NA 1 1\n1 -1 -1 -1\n", "ISSO_PD", 3,
     KW_ISSO_PD, "E1109 - First Typical Value Cannot Be 'NA' for ISSO_PD Beginning at Line 10\n"},
    // A [Model] without Model_type: no stop, no direction.
    {"model type 0", "[Pullup]\n-1 -1 -1 -1\n1 1 1 1\n", "Pullup", 0, KW_PULLUP, ""},
    {"GND clamp never zero", "[GND Clamp]\n-1 -1 -2 -3\n-0.5 -0.1 -0.2 0\n0 -1m -1m 1\n",
     "GND Clamp", 3, KW_GND_CLAMP,
     "W1113 - Model m: GND Clamp : Typical value never becomes zero\n"
     "W1114 - Model m: GND Clamp : Minimum value never becomes zero\n"},
    {"GND clamp near zero", "[GND Clamp]\n-1 -1 -1 -1\n0 -0.5u -1 -1\n",
     "GND Clamp", 3, KW_GND_CLAMP,
     "W1114 - Model m: GND Clamp : Minimum value never becomes zero\n"
     "W1115 - Model m: GND Clamp : Maximum value never becomes zero\n"},
    {"POWER clamp, positive, skipping NA rows", "[POWER Clamp]\n-1 1 NA -1\n0 NA 1 0.5\n1 0.5 1 2\n",
     "POWER Clamp", 3, KW_POWER_CLAMP,
     "E1109 - First Minimum Value Cannot Be 'NA' for POWER Clamp Beginning at Line 10\n"
     "W1113 - Model m: POWER Clamp : Typical value never becomes zero\n"},
};

TEST(Curves, RowAndEndChecks)
{
    LogCapture log;
    for (const CurveCase& c : kCurveCases) {
        CurveRecord* curve = nullptr;
        EXPECT_EQ(ReadCurve(log, c.text, c.name, c.modelType, c.code, &curve), c.log) << c.what;
        ASSERT_NE(curve, nullptr) << c.what;
        CRV_Free(curve);
    }
}

TEST(Curves, RowLimit)
{
    std::string text = "[Pullup]\n";
    for (int i = 0; i < 105; i++) text += std::to_string(i) + " " + std::to_string(-i) + "m NA NA\n";
    LogCapture log;
    CurveRecord* curve = nullptr;
    EXPECT_EQ(ReadCurve(log, text.c_str(), "Pullup", 3, KW_PULLUP, &curve),
              "E1107 (line  111) - More Than 100 Voltage Points Provided For Pullup\n");
    EXPECT_EQ(Column(curve->table, 0).size(), 105u);
    CRV_Free(curve);
    curve = nullptr;
    EXPECT_EQ(CRV_AllowLargeTables(7), 1);
    EXPECT_EQ(ReadCurve(log, text.c_str(), "Pullup", 3, KW_PULLUP, &curve), "");
    EXPECT_EQ(CRV_AllowLargeTables(0), 0);
    CRV_Free(curve);
}

// A second table in the same slot replaces the first (ASan sees any use of
// the old rows); a failed owner holds no record and its lines go nowhere.
TEST(Curves, ReplacementAndMissingRecord)
{
    LogCapture log;
    CurveRecord* curve = nullptr;
    ReadCurve(log, "[Pulldown]\n0 0 0 0\n1 1 1 1\n", "Pulldown", 3, KW_PULLDOWN, &curve);
    EXPECT_EQ(ReadCurve(log, "[Pulldown]\n5 5 5 5\n6 6 6 6\n7 7 7 7\n", "Pulldown", 3, KW_PULLDOWN,
                        &curve),
              "E1100 (line   10) - Pulldown Already Defined\n");
    EXPECT_EQ(Column(curve->table, 0), (std::vector<double>{5, 6, 7}));
    CRV_Free(curve);

    PARSE_SetPosition(nullptr, 5);
    EXPECT_EQ(CRV_ReceiveLine("0 0 0 0", nullptr, "Pulldown"), 0);
    EXPECT_EQ(CRV_Fini("m", 3, KW_PULLDOWN, nullptr, "Pulldown", "Model"), 0);
    EXPECT_EQ(log.Take(), "");
    CRV_Free(nullptr);
}

// Rows handed to a curve that CRV_New did not start, after another table,
// still go to the end of that curve.
TEST(Curves, RowsOfAnotherCurve)
{
    LogCapture log;
    CurveRecord* a = nullptr;
    CurveRecord* b = nullptr;
    ReadCurve(log, "[Pullup]\n0 0 0 0\n1 -1 -1 -1\n", "Pullup", 3, KW_PULLUP, &a);
    CRV_New("[Pulldown]", "Pulldown", &b);
    CRV_ReceiveLine("0 0 0 0", b, "Pulldown");
    CRV_ReceiveLine("2 -2 -2 -2", a, "Pullup");
    CRV_ReceiveLine("1 1 1 1", b, "Pulldown");
    CRV_Reset();
    CRV_ReceiveLine("3 -3 -3 -3", a, "Pullup");
    EXPECT_EQ(Column(a->table, 0), (std::vector<double>{0, 1, 2, 3}));
    EXPECT_EQ(Column(b->table, 0), (std::vector<double>{0, 1}));
    log.Take();
    CRV_Free(a);
    CRV_Free(b);
}

TEST(Curves, CopyDropsRowsWithoutANumericVoltage)
{
    LogCapture log;
    CurveRecord* curve = nullptr;
    ReadCurve(log, "[Pulldown]\n0 0 0 0\nNA 1 1 1\n1 2 NA 2\nx 3 3 3\n2 4 4 4\n", "Pulldown", 3,
              KW_PULLDOWN, &curve);
    CurveRecord* copy = nullptr;
    ASSERT_EQ(CRV_CopyCrv(curve, &copy), 1);
    EXPECT_EQ(Column(copy->table, 0), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(Column(copy->table, 1), (std::vector<double>{0, 2, 4}));
    EXPECT_EQ(copy->table->next->min_state, (uint32_t)RNG_NA);
    EXPECT_EQ(copy->table->next->next->prev, copy->table->next);
    EXPECT_EQ(log.Take(), "");
    CRV_Free(copy);
    ASSERT_EQ(CRV_CopyCrv(nullptr, &copy), 1);
    EXPECT_EQ(copy->table, nullptr);
    CRV_Free(copy);
    CRV_Free(curve);
}

TEST(Curves, InterpolatedCurrents)
{
    LogCapture log;
    CurveRecord* curve = nullptr;
    // Rows: an NA voltage (passed over), 0 V with NA min and absent max,
    // 1 V, a row within 1e-6 of 1 V (passed over), a row with NA typ, 3 V.
    ReadCurve(log, "[Pulldown]\nNA 9 9 9\n0 0 NA\n1 10m 8m NA\n1.0000001 77 77 77\n2 NA 1 1\n3 30m 20m 40m\n4 -1 -1 -1\n",
              "Pulldown", 3, KW_PULLDOWN, &curve);
    log.Take();
    struct Case {
        double v;
        bool typ, min, max;
        double t, mn, mx;
    };
    // Between 0 and 1 V: typ 0 -> 10m, min NA->typ 0 -> 8m, max unknown at 0 V.
    // At 1 V exactly: the same segment, its end.  Between 2 and 3 V: the row
    // at 2 V has no typ, so no value is known on that side.  Between 3 and 4 V:
    // typ 30m -> -1, halfway -0.485.
    const Case cases[] = {
        {0.5, true, true, false, 0.005, 0.004, 0},
        {0.0, true, true, false, 0.0, 0.0, 0},
        {1.0, true, true, false, 0.01, 0.008, 0},
        {2.5, false, false, false, 0, 0, 0},
        {3.5, true, true, true, -0.485, -0.49, -0.48},
        {5.0, false, false, false, 0, 0, 0},
        {-1.0, false, false, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        double *t = nullptr, *mn = nullptr, *mx = nullptr;
        double* r = CRV_GetRefValCurrent(curve, &t, &mn, &mx, c.v);
        EXPECT_EQ(r, t);
        ASSERT_EQ(t != nullptr, c.typ) << c.v;
        ASSERT_EQ(mn != nullptr, c.min) << c.v;
        ASSERT_EQ(mx != nullptr, c.max) << c.v;
        if (t) {
            EXPECT_NEAR(*t, c.t, 1e-12) << c.v;
        }
        if (mn) {
            EXPECT_NEAR(*mn, c.mn, 1e-12) << c.v;
        }
        if (mx) {
            EXPECT_NEAR(*mx, c.mx, 1e-12) << c.v;
        }
        free(t);
        free(mn);
        free(mx);
    }
    double *t = nullptr, *mn = nullptr, *mx = nullptr;
    EXPECT_EQ(CRV_GetRefValCurrent(nullptr, &t, &mn, &mx, 0.0), nullptr);
    EXPECT_EQ(log.Take(), "");
    CRV_Free(curve);
}

// ---- Waveforms -------------------------------------------------------------

struct WaveCase {
    const char* what;
    int version;
    const char* text;
    const char* newName;
    const char* rowName;
    const char* finiName;
    int kind;
    const char* log;
};

const WaveCase kWaveCases[] = {
    {"fixture without '='", 4,
     "[Rising Waveform]\nR_fixture 50\nV_fixture = 0\n0 0 0 0\n1n 1 1 1\n", "Rising Waveform",
     "Rising Waveform", "Rising", 0, "E2015 (line   11) - Invalid Rising Waveform line\n"},
    {"sub-parameter in lower case", 4,
     "[Rising Waveform]\nR_fixture = 50\nv_fixture = 0\n0 0 0 0\n1n 1 1 1\n", "Rising Waveform",
     "Rising Waveform", "Rising", 0,
     "E2011 (line   12) - Unknown Line Among Rising Waveform Data\n"
     "E2004 - V_fixture Not Defined For Rising Waveform Beginning on Line 10\n"},
    {"fixture after the data", 4,
     "[Falling Waveform]\nR_fixture = 50\n0 0 0 0\nV_fixture = 1\n1n 1 1 1\n",
     "Falling Waveform", "Falling Waveform", "Falling", 0,
     "E2013 (line   13) - V_fixture specified after beginning of timing data\n"},
    {"one row, no V_fixture", 4, "[Rising Waveform]\nR_fixture = 50\n0 0 0 0\n",
     "Rising Waveform", "Rising Waveform", "Rising", 0,
     "E2004 - V_fixture Not Defined For Rising Waveform Beginning on Line 10\n"
     "E2005 - Require at least 2 Data Points for Rising Waveform Beginning at Line 10\n"},
    {"repeated time", 4,
     "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 0 0\n1n 1 1 1\n1n 2 2 2\n",
     "Rising Waveform", "Rising Waveform", "Rising", 0,
     "W1403 (line   15) - Value 1.000000e-09 repeated in the First Column\n"
     "E2020 (line   15) - Time value did not increase\n"},
    {"time going back, NA time", 4,
     "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n1n 0 0 0\n0 0 0 0\nNA 1 1 1\n2n 1 1 1\n",
     "Rising Waveform", "Rising Waveform", "Rising", 0,
     "E2020 (line   14) - Time value did not increase\n"
     "E2019 (line   15) - 'NA' not allowed for Time value\n"},
    {"duplicate, suspicious and invalid fixtures", 4,
     "[Rising Waveform]\nR_fixture = 50\nR_fixture = 60\nV_fixture = 1V2\nC_fixture = pF\n"
     "L_fixture = NA\nR_dut=1 2\n0 0 0 0\n1n 1 1 1\n",
     "Rising Waveform", "Rising Waveform", "Rising", 0,
     "E2014 (line   12) - Duplicate definition for Rising Waveform R_fixture\n"
     "W2016 (line   13) - Suspicious Rising Waveform V_fixture Value (\"1V2\"); Numeric in Scale\n"
     "E2017 (line   14) - Invalid Rising Waveform Value (\"pF\")\n"
     "E2017 (line   15) - Invalid Rising Waveform Value (\"NA\")\n"
     "E2003 (line   16) - Incorrect Number of Line Items (4) For Rising Waveform: Expecting 3\n"},
    {"tokens after the keyword, no bracket", 4,
     "[Rising Waveform] a\nR_fixture = 50\nV_fixture = 0\n0 0 0 0\n1n 1 1 1\n",
     "Rising Waveform", "Rising Waveform", "Rising", 0,
     "E2003 (line   10) - Incorrect Number of Line Items (2) For Rising Waveform: Expecting 1\n"},
    {"no closing bracket", 4, "[Rising Waveform\nR_fixture = 50\nV_fixture = 0\n0 0 0 0\n1n 1 1 1\n",
     "Rising Waveform", "Rising Waveform", "Rising", 0,
     "B2001 (line   10) - Should Not Be Here: IbisParser/rng, <n>\n"},
    {"NA ends", 4,
     "[Falling Waveform]\nR_fixture = 50\nV_fixture = 0\nNA NA 0 NA\n1n 1 NA NA\n2n NA 1 NA\n",
     "Falling Waveform", "Falling Waveform", "Falling", 0,
     "E2019 (line   13) - 'NA' not allowed for Time value\n"
     "E2006 - First Typical Value Cannot Be 'NA' for Falling Waveform Beginning at Line 10\n"
     "E2006 - Last Typical Value Cannot Be 'NA' for Falling Waveform Beginning at Line 10\n"},
    {"POWER pulse table going positive", 4,
     "[POWER Pulse Table]\n0 0 0 0\n1n 0.1 -0.1 -0.1\n2n 0 0 0\n", "POWER Pulse",
     "POWER Pulse Table", "POWER Pulse Table", 1,
     "W2009 - Found some POWER Pulse Table (Typical) offsets greater than 0 for Table Beginning at Line 10\n"},
    {"GND pulse table ending elsewhere", 4, "[GND Pulse Table]\n0 0 0 NA\n1n 0.1 -1m 0\n",
     "GND Pulse", "GND Pulse Table", "GND Pulse Table", 1,
     "E2006 - First Maximum Value Cannot Be 'NA' for GND Pulse Table Waveform Beginning at Line 10\n"
     "E2007 - First Typical Value should be the same as the Last for GND Pulse Table Waveform Beginning at Line 10\n"
     "E2007 - First Minimum Value should be the same as the Last for GND Pulse Table Waveform Beginning at Line 10\n"
     "W2008 - Found some GND Pulse Table (Minimum) offsets less than 0 for Table Beginning at Line 10\n"},
    {"pulse table of one row: signs only", 4, "[GND Pulse Table]\n0 -1 0 0\n", "GND Pulse",
     "GND Pulse Table", "GND Pulse Table", 1,
     "E2005 - Require at least 2 Data Points for GND Pulse Table Waveform Beginning at Line 10\n"
     "W2008 - Found some GND Pulse Table (Typical) offsets less than 0 for Table Beginning at Line 10\n"},
    {"sub-parameter in a golden waveform", 4,
     "[Rising Waveform Near]\nR_fixture = 50\n0 0 0 0\n1n 1 1 1\n", "Rising Waveform Near",
     "Rising Waveform Near", "Rising Waveform Near", 2,
     "E2010 (line   11) - SubParameters are not allowed in Golden Waveforms\n"},
    {"composite current", 4, "[Composite Current]\n0 0 0 0\n1n 1m 1m 1m\n", "Composite Current",
     "Composite Current", "Composite Current", 3, ""},
};

TEST(Waveforms, RowAndEndChecks)
{
    LogCapture log;
    for (const WaveCase& c : kWaveCases) {
        Version v(c.version);
        WaveformRecord* list = nullptr;
        EXPECT_EQ(ReadWave(log, c.text, &list, c.newName, c.rowName, c.finiName, c.kind), c.log)
            << c.what;
        ASSERT_NE(list, nullptr) << c.what;
        WVFRM_Free(list);
    }
}

TEST(Waveforms, FixtureValues)
{
    LogCapture log;
    WaveformRecord* list = nullptr;
    ReadWave(log,
             "[Rising Waveform]\nR_fixture = 50\nV_fixture=3.3\nV_fixture_min =3\nV_fixture_max= 3.6\n"
             "C_fixture\t=\t5pF\nL_fixture = 2n\nR_dut = 1\nL_dut = 3n\nC_dut 4p\n0 0 0 0\n1n 1 1 1\n",
             &list, "Rising Waveform", "Rising Waveform", "Rising", 0);
    ASSERT_NE(list, nullptr);
    const WaveformRecord* w = list;
    const double* fields[9] = {w->R_fixture, w->V_fixture, w->V_fixture_min,
                               w->V_fixture_max, w->C_fixture, w->L_fixture,
                               w->R_dut, w->L_dut, w->C_dut};
    // C_dut without "=" is rejected but counts as given, holding 0.
    const double expected[9] = {50, 3.3, 3, 3.6, 5e-12, 2e-9, 1, 3e-9, 0};
    for (int i = 0; i < 9; i++) {
        ASSERT_NE(fields[i], nullptr) << i;
        EXPECT_DOUBLE_EQ(*fields[i], expected[i]) << i;
    }
    EXPECT_EQ(Column(w->table, 0), (std::vector<double>{0, 1e-9}));
    WVFRM_Free(list);
}

TEST(Waveforms, RowLimits)
{
    struct Case {
        int version;
        const char* newName;
        const char* rowName;
        int rows;
        const char* log;
    };
    const Case cases[] = {
        {4, "Rising Waveform", "Rising Waveform", 1001,
         "E2018 (line 1011) - More than 1000 data points provided for Rising Waveform table\n"},
        {5, "Rising Waveform", "Rising Waveform", 1000, ""},
        {4, "GND Pulse", "GND Pulse Table", 101,
         "E2018 (line  111) - More than 100 data points provided for GND Pulse Table table\n"},
        {3, "Falling Waveform", "Falling Waveform", 102,
         "E2018 (line  111) - More than 100 data points provided for Falling Waveform table\n"
         "E2018 (line  112) - More than 100 data points provided for Falling Waveform table\n"},
        {3, "Rising Waveform Far", "Rising Waveform Far", 100, ""},
    };
    LogCapture log;
    for (const Case& c : cases) {
        Version v(c.version);
        std::string text = "[x]\n";
        for (int i = 0; i < c.rows; i++) text += std::to_string(i) + "p 0 0 0\n";
        WaveformRecord* list = nullptr;
        EXPECT_EQ(ReadWave(log, text.c_str(), &list, c.newName, c.rowName, c.rowName, 2), c.log)
            << c.rowName << " " << c.rows;
        EXPECT_EQ(Column(list->table, 0).size(), (size_t)c.rows);
        WVFRM_Free(list);
    }
}

// The 101st record of one list is reported and still added, in file order;
// composite currents hang from their waveform and are freed with it.
TEST(Waveforms, ListsAndCompositeCurrents)
{
    LogCapture log;
    WaveformRecord* list = nullptr;
    PARSE_SetPosition(nullptr, 7);
    for (int i = 0; i < 101; i++) {
        ASSERT_EQ(WVFRM_New("[Rising Waveform]", &list, "Rising Waveform"), 1);
        WVFRM_ReceiveLine((std::to_string(i) + " 0 0 0").c_str(), "Rising Waveform");
        WVFRM_Fini("Rising", 0);
        ASSERT_EQ(WVFRM_New("[Composite Current]", &list->composite_current, "Composite Current"), 1);
        WVFRM_Fini("Composite Current", 3);
    }
    std::string text = Joined(log.Take());
    // Both lists reach 101 records on the last round, and nothing before.
    size_t first = text.find("E2000");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(text.substr(first),
              "E2000 (line    7) - More than 100 Rising Waveforms are defined\n"
              "E2004 - R_fixture Not Defined For Rising Waveform Beginning on Line 7\n"
              "E2004 - V_fixture Not Defined For Rising Waveform Beginning on Line 7\n"
              "E2005 - Require at least 2 Data Points for Rising Waveform Beginning at Line 7\n"
              "E2000 (line    7) - More than 100 Composite Currents are defined\n"
              "E2005 - Require at least 2 Data Points for Composite Current Waveform Beginning at Line 7\n");
    int n = 0;
    for (WaveformRecord* w = list; w != nullptr; w = w->next, n++) {
        ASSERT_NE(w->table, nullptr);
        EXPECT_EQ(w->table->x_value, n);
    }
    EXPECT_EQ(n, 101);
    int composites = 0;
    for (WaveformRecord* w = list->composite_current; w != nullptr; w = w->next) composites++;
    EXPECT_EQ(composites, 101);
    WVFRM_Free(list);
    WVFRM_Free(nullptr);
}

// Lists freed between waveforms begin again empty at the same place; the
// lists left standing keep their order and their count.
TEST(Waveforms, ListsFreedAndBegunAgain)
{
    LogCapture log;
    auto add = [](WaveformRecord** list, int x) {
        ASSERT_EQ(WVFRM_New("[Rising Waveform]", list, "Rising Waveform"), 1);
        WVFRM_ReceiveLine((std::to_string(x) + " 0 0 0").c_str(), "Rising Waveform");
        WVFRM_Fini("Composite Current", WVFRM_KIND_COMPOSITE);
    };
    auto xs = [](const WaveformRecord* w) {
        std::vector<double> v;
        for (; w != nullptr; w = w->next) v.push_back(w->table != nullptr ? w->table->x_value : -1);
        return v;
    };
    WaveformRecord* rising = nullptr;
    WaveformRecord* falling = nullptr;
    for (int i = 0; i < 3; i++) {
        add(&rising, i);
        add(&falling, 10 + i);
        add(&rising->composite_current, 20 + i);
    }
    // The rising list goes, with its composite currents; falling stays.
    WVFRM_Free(rising);
    rising = nullptr;
    add(&rising, 5);
    add(&falling, 13);
    add(&rising, 6);
    add(&rising->composite_current, 30);
    EXPECT_EQ(xs(rising), (std::vector<double>{5, 6}));
    EXPECT_EQ(xs(falling), (std::vector<double>{10, 11, 12, 13}));
    EXPECT_EQ(xs(rising->composite_current), (std::vector<double>{30}));
    // A list whose last record is freed on its own (a replaced composite
    // list) begins again too.
    WaveformRecord* old = rising->composite_current;
    rising->composite_current = nullptr;
    WVFRM_Free(old);
    add(&rising->composite_current, 31);
    add(&rising->composite_current, 32);
    EXPECT_EQ(xs(rising->composite_current), (std::vector<double>{31, 32}));
    // A reset drops only the current record: the lists go on in order.
    WVFRM_Reset();
    add(&falling, 14);
    EXPECT_EQ(xs(falling), (std::vector<double>{10, 11, 12, 13, 14}));
    EXPECT_EQ(Joined(log.Take()).find("E2000"), std::string::npos);
    // The last record of each list, whether appended to here or not.
    ASSERT_NE(WVFRM_Last(&falling), nullptr);
    EXPECT_EQ(WVFRM_Last(&falling)->table->x_value, 14);
    EXPECT_EQ(WVFRM_Last(&rising)->table->x_value, 6);
    EXPECT_EQ(WVFRM_Last(&rising->composite_current)->table->x_value, 32);
    WaveformRecord* empty = nullptr;
    EXPECT_EQ(WVFRM_Last(&empty), nullptr);
    WaveformRecord* copy = falling;   // the same list reached from another place
    EXPECT_EQ(WVFRM_Last(&copy), WVFRM_Last(&falling));
    WVFRM_Free(rising);
    WVFRM_Free(falling);
}

// Without a current record (no New, or after Fini or Reset) a line or an
// end step does nothing; rows never reach the previous table.
TEST(Waveforms, NoCurrentRecord)
{
    LogCapture log;
    WaveformRecord* list = nullptr;
    ReadWave(log, "[Composite Current]\n0 0 0 0\n1n 1 1 1\n", &list, "Composite Current",
             "Composite Current", "Composite Current", 3);
    WVFRM_ReceiveLine("2n 2 2 2", "Composite Current");
    WVFRM_Fini("Composite Current", 3);
    ASSERT_EQ(WVFRM_New("[Composite Current]", &list, "Composite Current"), 1);
    WVFRM_Reset();
    WVFRM_ReceiveLine("3n 3 3 3", "Composite Current");
    WVFRM_Fini("Composite Current", 3);
    EXPECT_EQ(log.Take(), "");
    EXPECT_EQ(Column(list->table, 0).size(), 2u);
    ASSERT_NE(list->next, nullptr);
    EXPECT_EQ(list->next->table, nullptr);
    // Freeing the list while a record of it is current leaves nothing behind.
    ASSERT_EQ(WVFRM_New("[Composite Current]", &list, "Composite Current"), 1);
    WVFRM_Free(list);
    list = nullptr;
    WVFRM_ReceiveLine("4n 4 4 4", "Composite Current");
    WVFRM_Fini("Composite Current", 3);
    EXPECT_EQ(log.Take(), "");
}

TEST(Waveforms, CompareTimePoints)
{
    struct Case {
        const char* wave;
        const char* composite;
        int same;
    };
    const Case cases[] = {
        {"0 0 0 0\n1n 1 1 1\n", "0 5 5 5\n1n 6 6 6\n", 1},
        {"0 0 0 0\n1n 1 1 1\n", "0 5 5 5\n1.0000000005n 6 6 6\n", 1},
        {"0 0 0 0\n1n 1 1 1\n", "0 5 5 5\n1.00001n 6 6 6\n", 0},
        {"0 0 0 0\n1n 1 1 1\n", "0 5 5 5\n", 0},
        {"0 0 0 0\n", "0 5 5 5\n1n 6 6 6\n", 0},
        {"NA 0 0 0\n", "NA 0 0 0\n", 1},
        {"NA 0 0 0\n", "0 0 0 0\n", 0},
        {"", "", 1},
        {"", "0 0 0 0\n", 0},
    };
    LogCapture log;
    for (const Case& c : cases) {
        WaveformRecord* a = nullptr;
        WaveformRecord* b = nullptr;
        ReadWave(log, (std::string("[w]\n") + c.wave).c_str(), &a, "w", "w", "w", 2);
        ReadWave(log, (std::string("[c]\n") + c.composite).c_str(), &b, "c", "c", "c", 3);
        log.Take();
        EXPECT_EQ(WVFRM_Compare(a, b, 2, "m", "Rising"), c.same) << c.wave << "|" << c.composite;
        EXPECT_EQ(Joined(log.Take()),
                  c.same ? ""
                         : "E2021 - Model m: Rising Waveform [2] and its Composite Current don't "
                           "have identical time points\n")
            << c.wave << "|" << c.composite;
        WVFRM_Free(a);
        WVFRM_Free(b);
    }
}

// ---- Ramp ------------------------------------------------------------------

struct RampCase {
    const char* what;
    const char* text;
    const char* log;
};

const RampCase kRampCases[] = {
    {"three ratios", "[Ramp]\ndV/dt_r 0.57/1.2n 0.41/1.6n 0.70/0.9n\ndV/dt_f 0.5/1n NA NA\n", ""},
    {"typ NA", "[Ramp]\ndV/dt_r NA 0.41/1.6n 0.70/0.9n\ndV/dt_f 0.5/1n 0.4/1n 0.6/1n\n",
     "E1309 (line   11) - 'NA' not allowed for dV/dt_r Typical value\n"},
    {"blanks round the '/'", "[Ramp]\ndV/dt_r 0.57 / 1.2n 0.41/1.6n 0.70/0.9n\ndV/dt_f 0.5/1n NA NA\n",
     "E1304 (line   11) - Incorrect Number of Line Items (5) For dV/dt_r: Expecting 3\n"
     "E1312 (line   11) - Invalid dV/dt_r Typical Value (\"0.57\")\n"
     "E1312 (line   11) - Invalid dV/dt_r Minimum Value (\"/\")\n"
     "E1312 (line   11) - Invalid dV/dt_r Maximum Value (\"1.2n\")\n"
     "E1310 (line   11) - dV must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dT must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dV must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dT must be greater than 0 in a Ramp specification\n"},
    {"typ only", "[Ramp]\ndV/dt_r 0.57/1.2n\ndV/dt_f 0.5/1n NA NA\n",
     "E1308 (line   11) - No minimum Value Was Provided for dV/dt_r\n"
     "E1308 (line   11) - No maximum Value Was Provided for dV/dt_r\n"
     "E1310 (line   11) - dV must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dT must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dV must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dT must be greater than 0 in a Ramp specification\n"},
    {"no ratio", "[Ramp]\ndV/dt_r\ndV/dt_f 0.5/1n NA NA\n",
     "E1304 (line   11) - Incorrect Number of Line Items (0) For dV/dt_r: Expecting 3\n"
     "E1310 (line   11) - dV must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dT must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dV must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dT must be greater than 0 in a Ramp specification\n"},
    {"zero and negative parts, suspicious suffix",
     "[Ramp]\ndV/dt_r 0/1n -1/1n 1/0\ndV/dt_f 0.5/1n2 NA NA\n",
     "E1310 (line   11) - dV must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dV must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dT must be greater than 0 in a Ramp specification\n"
     "W1311 (line   12) - Suspicious Typical dV/dt_f Value (\"1n2\"); Numeric in Scale\n"},
    {"bad ratios", "[Ramp]\ndV/dt_r 1/ 1/1n/2 a/1n\ndV/dt_f 1 1/1n 1/1n\n",
     "E1312 (line   11) - Invalid dV/dt_r Typical Value (\"1/\")\n"
     "E1312 (line   11) - Invalid dV/dt_r Minimum Value (\"1/1n/2\")\n"
     "E1312 (line   11) - Invalid dV/dt_r Maximum Value (\"a/1n\")\n"
     "E1310 (line   11) - dV must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dT must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dV must be greater than 0 in a Ramp specification\n"
     "E1310 (line   11) - dT must be greater than 0 in a Ramp specification\n"
     "E1312 (line   12) - Invalid dV/dt_f Typical Value (\"1\")\n"},
    {"second rising line", "[Ramp]\ndV/dt_r 1/1n 1/1n 1/1n\ndV/dt_r NA\ndV/dt_f 1/1n 1/1n 1/1n\n",
     "E1307 (line   12) - dV/dt_r Already Defined For Model 'm'\n"},
    {"falling only", "[Ramp]\ndV/dt_f 1/1n 1/1n 1/1n\n",
     "E1306 - dV/dt_r Not Defined For Ramp Beginning on Line 10\n"},
    {"empty", "[Ramp] x\n",
     "E1304 (line   10) - Incorrect Number of Line Items (2) For Ramp: Expecting 1\n"
     "E1306 - dV/dt_r Not Defined For Ramp Beginning on Line 10\n"
     "E1306 - dV/dt_f Not Defined For Ramp Beginning on Line 10\n"},
    {"no closing bracket", "[Ramp\ndV/dt_r 1/1n 1/1n 1/1n\ndV/dt_f 1/1n 1/1n 1/1n\n",
     "B1302 (line   10) - Should Not Be Here: IbisParser/rng, <n>\n"},
    {"unknown lines", "[Ramp]\ndv/dt_r 1/1n 1/1n 1/1n\nR_load2 = 5\ndV/dt_r 1/1n 1/1n 1/1n\ndV/dt_f 1/1n 1/1n 1/1n\n",
     "E1305 (line   11) - Unknown Line Among Ramp Data\n"
     "E1305 (line   12) - Unknown Line Among Ramp Data\n"},
    {"R_load lines",
     "[Ramp]\ndV/dt_r 1/1n 1/1n 1/1n\ndV/dt_f 1/1n 1/1n 1/1n\nR_load 50\nR_load = 50 60\n"
     "R_load = 50\nR_load = 60\n",
     "E1313 (line   13) - Invalid Ramp R_load Line\n"
     "E1304 (line   14) - Incorrect Number of Line Items (4) For R_load: Expecting 3\n"
     "E1307 (line   15) - R_load Already Defined For Model 'm'\n"
     "E1307 (line   16) - R_load Already Defined For Model 'm'\n"},
    {"R_load values",
     "[Ramp]\ndV/dt_r 1/1n 1/1n 1/1n\ndV/dt_f 1/1n 1/1n 1/1n\nR_load = NA\nR_load 5 0\nR_load=1k5\n",
     "E1314 (line   13) - Invalid R_load Value (\"NA\")\n"
     "E1313 (line   14) - Invalid Ramp R_load Line\n"
     "W1311 (line   15) - Suspicious Ramp R_load Value (\"1k5\"); Numeric in Scale\n"},
};

TEST(Ramp, Lines)
{
    LogCapture log;
    for (const RampCase& c : kRampCases) {
        RampRecord* ramp = nullptr;
        EXPECT_EQ(ReadRamp(log, c.text, &ramp), c.log) << c.what;
        ASSERT_NE(ramp, nullptr) << c.what;
        RAMP_Free(ramp);
    }
}

TEST(Ramp, Values)
{
    LogCapture log;
    RampRecord* ramp = nullptr;
    ReadRamp(log, "[Ramp]\ndV/dt_r 0.57/1.2n 0.41/1.6n 0.70/0.9n\ndV/dt_f NA 1/x NA\nR_load = 50\n",
             &ramp);
    ASSERT_NE(ramp->dVdt_r, nullptr);
    const RampRatio* r[3] = {&ramp->dVdt_r->typ_ratio, &ramp->dVdt_r->min_ratio,
                             &ramp->dVdt_r->max_ratio};
    const double dV[3] = {0.57, 0.41, 0.70}, dt[3] = {1.2e-9, 1.6e-9, 0.9e-9};
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(r[i]->state, 1u);
        EXPECT_DOUBLE_EQ(r[i]->dV, dV[i]);
        EXPECT_DOUBLE_EQ(r[i]->dt, dt[i]);
    }
    ASSERT_NE(ramp->dVdt_f, nullptr);
    EXPECT_EQ(ramp->dVdt_f->typ_ratio.state, 2u);
    EXPECT_EQ(ramp->dVdt_f->min_ratio.state, 0u);
    EXPECT_EQ(ramp->dVdt_f->max_ratio.state, 2u);
    EXPECT_EQ(ramp->R_load_state, 1u);
    EXPECT_DOUBLE_EQ(ramp->R_load_value, 50);
    log.Take();

    // Replacement, and an owner without a record.
    EXPECT_EQ(ReadRamp(log, "[Ramp]\ndV/dt_r 1/2n 1/2n 1/2n\ndV/dt_f 1/2n 1/2n 1/2n\n", &ramp),
              "E1300 (line   10) - Ramp Already Defined\n");
    EXPECT_DOUBLE_EQ(ramp->dVdt_r->typ_ratio.dt, 2e-9);
    EXPECT_EQ(ramp->R_load_state, 0u);
    RAMP_Free(ramp);
    RAMP_ReceiveLine("dV/dt_r 1/1n 1/1n 1/1n", nullptr, "m");
    RAMP_Fini(nullptr);
    RAMP_Free(nullptr);
    EXPECT_EQ(log.Take(), "");
}

// ---- Receiver thresholds ---------------------------------------------------

struct ThresholdCase {
    const char* what;
    const char* text;
    const char* log;
};

const ThresholdCase kThresholdCases[] = {
    {"values", "[Receiver Thresholds]\nVth = 1.5\nVinh_ac=1.8\nReference_supply Pullup_ref\n", ""},
    {"value without '='", "[Receiver Thresholds]\nVth 1.5\n",
     "E3232 (line   11) - Invalid Vth Line\n"},
    {"reference supply with '='", "[Receiver Thresholds]\nReference_supply = Pullup_ref\n",
     "E3232 (line   11) - Invalid Reference_supply Line\n"},
    {"reference supply alone", "[Receiver Thresholds]\nReference_supply\n",
     "E3232 (line   11) - Invalid Reference_supply Line\n"},
    {"reference supply unknown", "[Receiver Thresholds]\nReference_supply Vcc_ref\n",
     "E3234 (line   11) - Unknown Reference_supply Vcc_ref specified\n"},
    {"reference supply lines",
     "[Receiver Thresholds]\nReference_supply Ext_ref x\nReference_supply Ext_ref x y\n"
     "Reference_supply Gnd_clamp_ref\n",
     "E3204 (line   11) - Incorrect Number of Line Items (3) For Reference_supply: Expecting 2\n"
     "E3204 (line   12) - Incorrect Number of Line Items (4) For Reference_supply: Expecting 2\n"
     "E3231 (line   13) - Reference_supply Already Defined For Receiver Threshold\n"},
    {"sensitivity without supply", "[Receiver Thresholds]\nThreshold_sensitivity = 0.5\n",
     "E3205 - Model m Receiver Thresholds: Reference Supply must be specified when Threshold "
     "Sensitivity is specified\n"},
    {"sensitivity with a rejected supply",
     "[Receiver Thresholds]\nThreshold_sensitivity = 0.5\nReference_supply pullup_ref\n",
     "E3234 (line   12) - Unknown Reference_supply pullup_ref specified\n"
     "E3205 - Model m Receiver Thresholds: Reference Supply must be specified when Threshold "
     "Sensitivity is specified\n"},
    {"sensitivity with supply",
     "[Receiver Thresholds]\nThreshold_sensitivity = 0.5\nReference_supply Power_clamp_ref\n", ""},
    {"line faults",
     "[Receiver Thresholds]\nvth = 1\nVth = 1\nVth = 2\nVth_min = NA\nVth_max = 1 2\nVinl_dc = 1V5\n",
     "E3230 (line   11) - Unknown Line Among Receiver Threshold Data\n"
     "E3231 (line   13) - Vth Already Defined For Receiver Threshold\n"
     "E3233 (line   14) - Invalid Vth_min Value (\"NA\")\n"
     "E3204 (line   15) - Incorrect Number of Line Items (4) For Vth_max: Expecting 3\n"},
    {"keyword line", "[Receiver Thresholds] x y\n",
     "E3204 (line   10) - Incorrect Number of Line Items (3) For Receiver Threshold: Expecting 1\n"},
    {"no closing bracket", "[Receiver Thresholds\n",
     "B3202 (line   10) - Should Not Be Here: IbisParser/rng, <n>\n"},
};

TEST(Thresholds, Lines)
{
    LogCapture log;
    for (const ThresholdCase& c : kThresholdCases) {
        ReceiverThresholdsRecord* r = nullptr;
        EXPECT_EQ(ReadThresholds(log, c.text, &r), c.log) << c.what;
        ASSERT_NE(r, nullptr) << c.what;
        RCVTH_Free(r);
    }
}

TEST(Thresholds, ValuesAndReplacement)
{
    LogCapture log;
    ReceiverThresholdsRecord* r = nullptr;
    ReadThresholds(log,
                   "[Receiver Thresholds]\nVth = 1.5\nVth_min=1.4\nVth_max =1.6\nVinh_ac= 2\n"
                   "Vinh_dc = 1.9\nVinl_ac = 0.8\nVinl_dc = 0.9\nThreshold_sensitivity = 0.5\n"
                   "Reference_supply Pulldown_ref\nVcross_low = 1m\nVcross_high = 2m\n"
                   "Vdiff_ac = 0.2\nVdiff_dc = 0.1\nTslew_ac = 1n\nTdiffslew_ac = 2n\n",
                   &r);
    EXPECT_EQ(log.Take(), "");
    const double* values[14] = {r->Vth,        r->Vth_min,   r->Vth_max,  r->Vinh_ac,
                                r->Vinh_dc,    r->Vinl_ac,   r->Vinl_dc,  r->Threshold_sensitivity,
                                r->Vcross_low, r->Vcross_high, r->Vdiff_ac, r->Vdiff_dc,
                                r->Tslew_ac,   r->Tdiffslew_ac};
    const double expected[14] = {1.5, 1.4, 1.6, 2, 1.9, 0.8, 0.9, 0.5, 1e-3, 2e-3, 0.2, 0.1, 1e-9, 2e-9};
    for (int i = 0; i < 14; i++) {
        ASSERT_NE(values[i], nullptr) << i;
        EXPECT_DOUBLE_EQ(*values[i], expected[i]) << i;
    }
    ASSERT_NE(r->Reference_supply, nullptr);
    EXPECT_STREQ(r->Reference_supply, "Pulldown_ref");

    // A rejected line counts as given, holding 0.
    EXPECT_EQ(ReadThresholds(log, "[Receiver Thresholds]\nVth 1.5\nVinh_ac = x\n", &r),
              "E3200 (line   10) - Receiver Threshold: Already Defined for this model\n"
              "E3232 (line   11) - Invalid Vth Line\n"
              "E3233 (line   12) - Invalid Vinh_ac Value (\"x\")\n");
    ASSERT_NE(r->Vth, nullptr);
    EXPECT_EQ(*r->Vth, 0.0);
    ASSERT_NE(r->Vinh_ac, nullptr);
    EXPECT_EQ(*r->Vinh_ac, 0.0);
    EXPECT_EQ(r->Vinl_ac, nullptr);
    EXPECT_EQ(r->Reference_supply, nullptr);
    RCVTH_Free(r);

    RCVTH_ReceiveLine("Vth = 1", nullptr, "m");
    RCVTH_FiniCore(nullptr, "m");
    RCVTH_CheckOne(nullptr, "m", nullptr);
    RCVTH_Free(nullptr);
    EXPECT_EQ(log.Take(), "");
}

TEST(Thresholds, NeededByTheReceiver)
{
    struct Case {
        const char* text;
        const char* pin;
        const char* log;
    };
    const Case cases[] = {
        {"[Receiver Thresholds]\nVth = 1\n", "7",
         "W3206 - Model m Receiver Thresholds: Vcross_low must be specified for differential receivers (Pin 7)\n"
         "W3207 - Model m Receiver Thresholds: Vcross_high must be specified for differential receivers (Pin 7)\n"
         "W3208 - Model m Receiver Thresholds: Vdiff_ac must be specified for differential receivers (Pin 7)\n"
         "W3209 - Model m Receiver Thresholds: Vdiff_dc must be specified for differential receivers (Pin 7)\n"
         "W3210 - Model m Receiver Thresholds: Tdiffslew_ac must be specified for differential receivers (Pin 7)\n"},
        {"[Receiver Thresholds]\nVth = 1\n", nullptr,
         "W3220 - Model m Receiver Thresholds: Vinh_ac must be specified for single ended receivers\n"
         "W3221 - Model m Receiver Thresholds: Vinl_ac must be specified for single ended receivers\n"
         "W3222 - Model m Receiver Thresholds: Vinh_dc must be specified for single ended receivers\n"
         "W3223 - Model m Receiver Thresholds: Vinl_dc must be specified for single ended receivers\n"
         "W3224 - Model m Receiver Thresholds: Tslew_ac must be specified for single ended receivers\n"},
        {"[Receiver Thresholds]\nVcross_low = 1\nVcross_high = 1\nVdiff_ac = 1\nVdiff_dc = 1\n"
         "Tdiffslew_ac = 1\nVinh_ac = 1\nVinl_ac = 1\nVinh_dc = 1\nVinl_dc = 1\nTslew_ac = 1\n",
         nullptr,
         "W3219 - Model m Receiver Thresholds: Vth must be specified for single ended receivers\n"},
        {"[Receiver Thresholds]\nVcross_low = 1\nVcross_high = 1\nVdiff_ac = 1\nVdiff_dc = 1\n"
         "Tdiffslew_ac = 1\n",
         "A1", ""},
    };
    LogCapture log;
    for (const Case& c : cases) {
        ReceiverThresholdsRecord* r = nullptr;
        ReadThresholds(log, c.text, &r);
        log.Take();
        RCVTH_CheckOne(r, "m", c.pin);
        EXPECT_EQ(Joined(log.Take()), c.log) << c.text;
        RCVTH_Free(r);
    }
}

// ---- Every code -------------------------------------------------------------

// Every code of these modules is raised by some case above, except those
// that only an allocation failure reaches (see the top of the file).
TEST(RowMessages, EveryCodeIsRaised)
{
    std::string all;
    for (const CurveCase& c : kCurveCases) all += c.log;
    for (const WaveCase& c : kWaveCases) all += c.log;
    for (const RampCase& c : kRampCases) all += c.log;
    for (const ThresholdCase& c : kThresholdCases) all += c.log;
    for (const LinkCase& c : kLinkCases) all += c.log;
    // Raised by the other tests, whose expectations are written inline.
    all += "E1100 E1107 E1401 E1402 W1910 W3901 E3902 W3903 E2000 E2018 E2021 E1300 E3200 E3233 "
           "W3206 W3207 W3208 W3209 W3210 W3219 W3220 W3221 W3222 W3223 W3224 ";
    const std::set<int> allocOnly = {1101, 1103, 1105, 1301, 1303, 1400, 1404,
                                     2002, 2012, 3201, 3203, 3900, 3904};
    for (int i = 0; i < errorLogTableCount; i++) {
        int code = errorLogTable[i].iCode;
        bool mine = (code >= 1100 && code <= 1115) || (code >= 1300 && code <= 1314) ||
                    (code >= 1400 && code <= 1404) || (code >= 2000 && code <= 2021) ||
                    (code >= 3200 && code <= 3234) || (code >= 3900 && code <= 3904);
        if (!mine || allocOnly.count(code)) continue;
        char tag[8];
        snprintf(tag, sizeof tag, "%04d", code);
        EXPECT_NE(all.find(tag), std::string::npos) << code;
    }
}

// ---- Large tables ----------------------------------------------------------

// A table of 100,000 rows reads completely, in file order, with exactly the
// repeats it holds reported: every 1000th row repeats the row before it.
TEST(LargeTables, HundredThousandRows)
{
    std::string text = "[Pullup]\n";
    for (int i = 0; i < 100000; i++) {
        int x = (i % 1000 == 999) ? i - 1 : i;
        text += std::to_string(x) + "m " + std::to_string(-i) + "u NA NA\n";
    }
    LogCapture log;
    CurveRecord* curve = nullptr;
    CRV_AllowLargeTables(1);
    std::string out = ReadCurve(log, text.c_str(), "Pullup", 3, KW_PULLUP, &curve);
    CRV_AllowLargeTables(0);
    size_t repeats = 0, notes = 0;
    for (size_t at = 0; (at = out.find("W1403", at)) != std::string::npos; at++) repeats++;
    for (size_t at = 0; (at = out.find("N1110", at)) != std::string::npos; at++) notes++;
    EXPECT_EQ(repeats, 100u);
    EXPECT_EQ(notes, 0u);
    std::vector<double> x = Column(curve->table, 0);
    ASSERT_EQ(x.size(), 100000u);
    EXPECT_DOUBLE_EQ(x[999], 0.998);
    EXPECT_DOUBLE_EQ(x.back(), 99.998);
    CRV_Free(curve);
}

// ---- Arbitrary lines --------------------------------------------------------

// Lines made of the words these readers know, and of broken ones, go
// through every reader in turn; each table stays a sound chain.  A fixed
// seed keeps the run repeatable.
TEST(ArbitraryLines, EveryReaderSurvives)
{
    const char* const words[] = {
        "0", "1n", "-1m", "NA", "na", "=", "/", "1/1n", "0/0", "1//", "x", "1e308", "-1e308",
        "nan", "inf", "1m2", "R_fixture", "V_fixture", "C_dut", "dV/dt_r", "dV/dt_f", "R_load",
        "Vth", "Reference_supply", "Pullup_ref", "Threshold_sensitivity", "[", "]", "\t", "1=2",
        "=/=", "",
    };
    const int nWords = (int)(sizeof words / sizeof words[0]);
    unsigned seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    };
    auto line = [&]() {
        std::string l;
        int n = (int)(next() % 7);
        for (int i = 0; i < n; i++) {
            if (i) l += (next() % 3 == 0) ? "\t" : " ";
            l += words[next() % nWords];
        }
        return l;
    };
    LogCapture log;
    Version v(4);
    for (int round = 0; round < 200; round++) {
        CurveRecord* curve = nullptr;
        WaveformRecord* waves = nullptr;
        RampRecord* ramp = nullptr;
        ReceiverThresholdsRecord* th = nullptr;
        std::string keyword = "[Any]" + line();
        CRV_New(keyword.c_str(), "Pullup", &curve);
        WVFRM_New(keyword.c_str(), &waves, "Rising Waveform");
        RAMP_New(keyword.c_str(), &ramp);
        RCVTH_New(keyword.c_str(), &th);
        for (int i = 0; i < 30; i++) {
            std::string l = line();
            CRV_ReceiveLine(l.c_str(), curve, "Pullup");
            WVFRM_ReceiveLine(l.c_str(), "Rising Waveform");
            RAMP_ReceiveLine(l.c_str(), ramp, "m");
            RCVTH_ReceiveLine(l.c_str(), th, "m");
            TypMinMax* r = nullptr;
            RNG_ParseRange(l.c_str(), "item", &r);
            RNG_Free(r);
        }
        CRV_Fini("m", (int)(next() % 23), KW_PULLUP + (int)(next() % 4), curve, "Pullup", "Model");
        WVFRM_Fini("Rising", (int)(next() % 4));
        RAMP_Fini(ramp);
        RCVTH_FiniCore(th, "m");
        RCVTH_CheckOne(th, "m", (next() % 2) ? "1" : nullptr);
        for (const RangePoint* t : {curve->table, waves->table}) {
            const RangePoint* prev = nullptr;
            for (const RangePoint* p = t; p != nullptr; p = p->next) {
                EXPECT_EQ(p->prev, prev);
                EXPECT_LE(p->x_state, 2u);
                EXPECT_LE(p->typ_state, 2u);
                prev = p;
            }
        }
        double *a = nullptr, *b = nullptr, *c = nullptr;
        CRV_GetRefValCurrent(curve, &a, &b, &c, (double)(next() % 5) - 2.0);
        free(a);
        free(b);
        free(c);
        CurveRecord* copy = nullptr;
        CRV_CopyCrv(curve, &copy);
        CRV_Free(copy);
        WVFRM_Compare(waves, waves, 1, "m", "Rising");
        CRV_Free(curve);
        WVFRM_Free(waves);
        RAMP_Free(ramp);
        RCVTH_Free(th);
        log.Take();
    }
}

}  // namespace
