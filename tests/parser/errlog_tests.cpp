// The numbered message log: exact output in both styles, wrapping windows,
// unknown codes, suppression, counters and the totals report.
#include "log_capture.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <set>

namespace {

using Log = LogCapture;


struct EntryCase {
    const char* label;
    void (*raise)(int, ...);
    const char* unnumbered;   // expected output, line 12
    const char* numbered;
    unsigned long* counter;   // null: not counted
};

const EntryCase kEntries[] = {
    {"Bug", ERRLOG_BugNew, "PROGRAM BUG - Unexpected '=' found\n", "B1918 - Unexpected '=' found\n", &gulBug_cnt},
    {"LineBug", ERRLOG_LineBugNew, "PROGRAM BUG (line   12) - Unexpected '=' found\n",
     "B1918 (line   12) - Unexpected '=' found\n", &gulBug_cnt},
    {"Error", ERRLOG_ErrorNew, "ERROR - Unexpected '=' found\n", "E1918 - Unexpected '=' found\n", &gulError_cnt},
    {"LineError", ERRLOG_LineErrorNew, "ERROR (line   12) - Unexpected '=' found\n",
     "E1918 (line   12) - Unexpected '=' found\n", &gulError_cnt},
    {"Warn", ERRLOG_WarnNew, "WARNING - Unexpected '=' found\n", "W1918 - Unexpected '=' found\n", &gulWarn_cnt},
    {"LineWarn", ERRLOG_LineWarnNew, "WARNING (line   12) - Unexpected '=' found\n",
     "W1918 (line   12) - Unexpected '=' found\n", &gulWarn_cnt},
    {"Caution", ERRLOG_CautionNew, "CAUTION - Unexpected '=' found\n", "C1918 - Unexpected '=' found\n",
     &gulCaution_cnt},
    {"Note", ERRLOG_NoteNew, "NOTE - Unexpected '=' found\n", "N1918 - Unexpected '=' found\n", nullptr},
    {"LineNote", ERRLOG_LineNoteNew, "NOTE (line   12) - Unexpected '=' found\n",
     "N1918 (line   12) - Unexpected '=' found\n", nullptr},
};

unsigned long Total() { return gulBug_cnt + gulError_cnt + gulWarn_cnt + gulCaution_cnt; }

} // namespace

TEST_F(Log, LineErrorDefaultStyleHasNoCodeAndFourColumnLine)
{
    PARSE_SetPosition("a.ibs", 7);
    ERRLOG_LineErrorNew(1909, "Vinl", "x");
    EXPECT_EQ(Take(), "ERROR (line    7) - Invalid Vinl Value (\"x\")\n");
    gbOldStyleErrors = 0;
    ERRLOG_LineErrorNew(1909, "Vinl", "x");
    EXPECT_EQ(Take(), "E1909 (line    7) - Invalid Vinl Value (\"x\")\n");
    EXPECT_EQ(gulError_cnt, 2u);
}

TEST_F(Log, LineNumberWiderThanFourColumnsIsNotCut)
{
    PARSE_SetPosition(nullptr, 123456);
    ERRLOG_LineWarnNew(1918);
    EXPECT_EQ(Take(), "WARNING (line 123456) - Unexpected '=' found\n");
    PARSE_SetPosition(nullptr, 0);
    ERRLOG_LineNoteNew(1918);
    EXPECT_EQ(Take(), "NOTE (line    0) - Unexpected '=' found\n");
}

TEST_F(Log, EveryNumberedEntryInBothStylesAndItsCounter)
{
    gbSuppressCautions = 0;
    PARSE_SetPosition(nullptr, 12);
    for (const EntryCase& c : kEntries) {
        SCOPED_TRACE(c.label);
        for (int numbered = 0; numbered < 2; ++numbered) {
            gbOldStyleErrors = !numbered;
            unsigned long before = c.counter ? *c.counter : 0;
            unsigned long total = Total();
            c.raise(1918);
            EXPECT_EQ(Take(), numbered ? c.numbered : c.unnumbered);
            if (c.counter) {
                EXPECT_EQ(*c.counter, before + 1);
                EXPECT_EQ(Total(), total + 1);
            } else {
                EXPECT_EQ(Total(), total);
            }
        }
    }
}

TEST_F(Log, UnnumberedEntriesPrintWithoutCodeInEitherStyle)
{
    struct Case {
        void (*raise)(const char*, ...);
        const char* expected;
    };
    const Case cases[] = {
        {ERRLOG_Bugx, "PROGRAM BUG - v=3\n"},
        {ERRLOG_LineBugx, "PROGRAM BUG (line   42) - v=3\n"},
        {ERRLOG_Errorx, "ERROR - v=3\n"},
        {ERRLOG_LineErrorx, "ERROR (line   42) - v=3\n"},
        {ERRLOG_Warnx, "WARNING - v=3\n"},
        {ERRLOG_LineWarnx, "WARNING (line   42) - v=3\n"},
        {ERRLOG_Cautionx, "CAUTION - v=3\n"},
        {ERRLOG_LineCautionx, "CAUTION (line   42) - v=3\n"},
        {ERRLOG_Notex, "NOTE - v=3\n"},
        {ERRLOG_LineNotex, "NOTE (line   42) - v=3\n"},
    };
    gbSuppressCautions = 0;
    gbOldStyleErrors = 0;
    PARSE_SetPosition(nullptr, 42);
    for (const Case& c : cases) {
        c.raise("v=%d", 3);
        EXPECT_EQ(Take(), c.expected);
    }
    // Two of each counted group; notes are never counted.
    EXPECT_EQ(gulBug_cnt, 2u);
    EXPECT_EQ(gulError_cnt, 2u);
    EXPECT_EQ(gulWarn_cnt, 2u);
    EXPECT_EQ(gulCaution_cnt, 2u);
}

// Each window, probed just outside and on both of its edges; the expected
// line is built from the prefix by hand.
TEST_F(Log, WrapWindowsPerSeverity)
{
    struct Case {
        const char* label;
        void (*raise)(const char*, ...);
        const char* prefix;  // text before " - "
        int lo, hi;          // window; lo 0 means never wrapped
    };
    const Case cases[] = {
        {"Error", ERRLOG_Errorx, "ERROR", 72, 75},
        {"LineError", ERRLOG_LineErrorx, "ERROR (line    5)", 60, 75},
        {"Warn", ERRLOG_Warnx, "WARNING", 70, 75},
        {"LineWarn", ERRLOG_LineWarnx, "WARNING (line    5)", 58, 75},
        {"Caution", ERRLOG_Cautionx, "CAUTION", 70, 75},
        {"LineCaution", ERRLOG_LineCautionx, "CAUTION (line    5)", 58, 75},
        {"Note", ERRLOG_Notex, "NOTE", 73, 75},
        {"LineNote", ERRLOG_LineNotex, "NOTE (line    5)", 61, 75},
        {"Bug", ERRLOG_Bugx, "PROGRAM BUG", 0, 0},
        {"LineBug", ERRLOG_LineBugx, "PROGRAM BUG (line    5)", 0, 0},
    };
    gbSuppressCautions = 0;
    PARSE_SetPosition(nullptr, 5);
    for (const Case& c : cases) {
        std::set<int> lengths = {40, 57, 58, 59, 60, 61, 69, 70, 71, 72, 73, 74, 75, 76, 77, 120};
        for (int len : lengths) {
            SCOPED_TRACE(std::string(c.label) + " length " + std::to_string(len));
            std::string text(len, 'x');
            bool wraps = c.lo != 0 && len >= c.lo && len <= c.hi;
            std::string expected = std::string(c.prefix) + (wraps ? " -\n    " : " - ") + text + "\n";
            c.raise("%s", text.c_str());
            EXPECT_EQ(Take(), expected);
        }
    }
}

TEST_F(Log, NumberedStyleWrapsAtTheSameWindow)
{
    gbOldStyleErrors = 0;
    // "Illegal number found '" + arg + "'" is 23 characters plus the argument.
    std::string arg49(49, 'd');  // 72 characters
    std::string arg48(48, 'd');  // 71 characters
    ERRLOG_ErrorNew(1922, arg49.c_str());
    EXPECT_EQ(Take(), "E1922 -\n    Illegal number found '" + arg49 + "'\n");
    ERRLOG_ErrorNew(1922, arg48.c_str());
    EXPECT_EQ(Take(), "E1922 - Illegal number found '" + arg48 + "'\n");
    PARSE_SetPosition(nullptr, 9);
    std::string arg37(37, 'd');  // 60 characters
    ERRLOG_LineErrorNew(1922, arg37.c_str());
    EXPECT_EQ(Take(), "E1922 (line    9) -\n    Illegal number found '" + arg37 + "'\n");
}

TEST_F(Log, UnknownCodeIsInfoWithCodeZeroAndCountsNothing)
{
    ERRLOG_ErrorNew(4242, "ignored");
    ERRLOG_LineWarnNew(-1);
    EXPECT_EQ(Take(), "");
    gbOldStyleErrors = 0;
    // Printed whatever the suppression switches say.
    gbSuppressErrors = 1;
    ERRLOG_ErrorNew(4242, "ignored");
    EXPECT_EQ(Take(), "I0000 - Error code doesn't exist.\n");
    // A line entry's unknown code carries no line part.
    PARSE_SetPosition(nullptr, 31);
    ERRLOG_LineWarnNew(-1);
    EXPECT_EQ(Take(), "I0000 - Error code doesn't exist.\n");
    EXPECT_EQ(Total(), 0u);
}

TEST_F(Log, SuppressionSilencesAndStopsCounting)
{
    struct Case {
        const char* label;
        void (*suppress)(int);
        int* flag;
        void (*raise)(int, ...);
        unsigned long* counter;
    };
    const Case cases[] = {
        {"bugs", ERRLOG_SuppressBugs, &gbSuppressBugs, ERRLOG_LineBugNew, &gulBug_cnt},
        {"errors", ERRLOG_SuppressErrors, &gbSuppressErrors, ERRLOG_LineErrorNew, &gulError_cnt},
        {"warns", ERRLOG_SuppressWarns, &gbSuppressWarns, ERRLOG_WarnNew, &gulWarn_cnt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        c.suppress(1);
        EXPECT_EQ(*c.flag, 1);
        c.raise(1918);
        EXPECT_EQ(Take(), "");
        EXPECT_EQ(*c.counter, 0u);
        c.suppress(0);
        c.raise(1918);
        EXPECT_NE(Take(), "");
        EXPECT_EQ(*c.counter, 1u);
    }
}

TEST_F(Log, CautionsSilentByDefaultNotesNeverCounted)
{
    ERRLOG_CautionNew(1918);
    ERRLOG_Cautionx("x");
    ERRLOG_LineCautionx("x");
    EXPECT_EQ(Take(), "");
    EXPECT_EQ(gulCaution_cnt, 0u);
    ERRLOG_NoteNew(1918);
    ERRLOG_Notex("x");
    EXPECT_EQ(Take(), "NOTE - Unexpected '=' found\nNOTE - x\n");
    EXPECT_EQ(Total(), 0u);
}

TEST_F(Log, OverlongMessageIsCutToTheBuffer)
{
    std::string huge(3 * ERRLOG_MESSAGE_SIZE, 'y');
    ERRLOG_Errorx("%s%s", huge.c_str(), "TAIL");
    std::string expected = "ERROR - " + std::string(ERRLOG_MESSAGE_SIZE - 1, 'y') + "\n";
    EXPECT_EQ(Take(), expected);
    // The cut applies to table formats too: 1912 quotes its source text.
    ERRLOG_LineErrorNew(1912, "Model", huge.c_str(), 20u);
    std::string line = Take();
    EXPECT_EQ(line.size(), std::strlen("ERROR (line    0) - ") + ERRLOG_MESSAGE_SIZE - 1 + 1);
    EXPECT_EQ(line.rfind("ERROR (line    0) - Model string 'yyy", 0), 0u);
}

// A NaN prints without its sign (one C library shows the sign bit, another
// does not), whatever the conversion and width, and the other conversions
// of the text stay as they were.
TEST_F(Log, NaNPrintsWithoutItsSign)
{
    const double negativeNaN = std::copysign(std::nan(""), -1.0);
    ERRLOG_Errorx("%5.2f|%g|%e|%s|%lu|%*lu|%d%%|%c|%.1f", negativeNaN, negativeNaN, std::nan(""),
                  "banana", 7ul, 4, 12ul, -3, 'x', -0.25);
    EXPECT_EQ(Take(), "ERROR -   nan|nan|nan|banana|7|  12|-3%|x|-0.2\n");
    ERRLOG_Errorx("%s", "a nan in a name");
    EXPECT_EQ(Take(), "ERROR - a nan in a name\n");
}

TEST_F(Log, TotalsWithNoMessage)
{
    ERRLOG_Totals();
    EXPECT_EQ(Take(), "Errors  : 0\n\nFile Passed\n");
}

TEST_F(Log, TotalsAfterOneWarning)
{
    ERRLOG_WarnNew(1918);
    Take();
    ERRLOG_Totals();
    EXPECT_EQ(Take(), "\nErrors  : 0\nWarnings: 1\n\nFile Passed\n");
}

TEST_F(Log, TotalsWithBugsErrorsAndCautionsFailAndDoNotReset)
{
    gbSuppressCautions = 0;
    ERRLOG_BugNew(1918);
    ERRLOG_ErrorNew(1918);
    ERRLOG_LineErrorNew(1918);
    ERRLOG_CautionNew(1918);
    Take();
    const char* expected = "\nBugs    : 1\nErrors  : 2\nCautions: 1\n\nFile Failed\n";
    ERRLOG_Totals();
    EXPECT_EQ(Take(), expected);
    ERRLOG_Totals();
    EXPECT_EQ(Take(), expected);
}

TEST_F(Log, TotalsWithCautionsOnlyPass)
{
    gulCaution_cnt = 3;
    ERRLOG_Totals();
    EXPECT_EQ(Take(), "Errors  : 0\nCautions: 3\n\nFile Passed\n");
}

TEST_F(Log, GetCountsFillsOnlyGivenPointers)
{
    gulBug_cnt = 1;
    gulError_cnt = 2;
    gulWarn_cnt = 3;
    unsigned long b = 9, e = 9, w = 9;
    ERRLOG_GetCounts(&b, &e, &w);
    EXPECT_EQ(b, 1u);
    EXPECT_EQ(e, 2u);
    EXPECT_EQ(w, 3u);
    ERRLOG_GetCounts(nullptr, &e, nullptr);
    EXPECT_EQ(e, 2u);
}

TEST(LogStream, NullStreamMeansStandardOutput)
{
    ResetLogState();
    ERRLOG_SetOutputFile(nullptr);
    ::testing::internal::CaptureStdout();
    ERRLOG_Errorx("to stdout");
    std::fflush(stdout);
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "ERROR - to stdout\n");
    EXPECT_EQ(gpLogFile, stdout);
    ERRLOG_SetOutputFile(nullptr);
    ResetLogState();
}

TEST(LogTable, OrderedUniqueCodesEachFoundByCode)
{
    ASSERT_GT(errorLogTableCount, 0);
    EXPECT_EQ(errorLogTable[0].iCode, 0);
    EXPECT_STREQ(errorLogTable[0].sFormat, "Error code doesn't exist.");
    for (int i = 0; i < errorLogTableCount; ++i) {
        if (i > 0) {
            EXPECT_LT(errorLogTable[i - 1].iCode, errorLogTable[i].iCode) << "row " << i;
        }
        ASSERT_NE(errorLogTable[i].sFormat, nullptr);
        EXPECT_EQ(BSearchErrorLogTable(errorLogTable[i].iCode), i);
    }
    for (int code : {-1, 1, 99, 1899, 1925, 99999})
        EXPECT_EQ(BSearchErrorLogTable(code), -1) << code;
}

TEST(LogTable, CommonServicesBlockIsComplete)
{
    // Every code of the common services' block has a row.
    for (int code = 1900; code <= 1924; ++code)
        EXPECT_GE(BSearchErrorLogTable(code), 0) << code;
    EXPECT_STREQ(errorLogTable[BSearchErrorLogTable(1906)].sFormat,
                 "Memory allocation failed.  This request %u.\n");
    EXPECT_STREQ(errorLogTable[BSearchErrorLogTable(1910)].sFormat,
                 "Suspicious %s %s Value (\"%s\"); Numeric in Scale");
    EXPECT_STREQ(errorLogTable[BSearchErrorLogTable(1924)].sFormat, "File Name Requires '.ami' Extension.");
}

// The common services' texts, byte for byte (hosts and scripts match them).
TEST(LogTable, CommonServicesTextsExact)
{
    struct Row {
        int code;
        const char* text;
    };
    const Row rows[] = {
        {1900, "File Name Requires '.ibs' Extension."},
        {1901, "Unable to append filename extension."},
        {1902, "File Name Requires '.ebd' Extension."},
        {1903, "File Name Requires '.pkg' Extension."},
        {1904, "Unable to assemble filename."},
        {1905, "Unable To Open File '%s%s'"},
        {1906, "Memory allocation failed.  This request %u.\n"},
        {1907, "Memory reallocation failed.  This request %u.\n"},
        {1908, "Unable to Allocate Memory: %s %d"},
        {1909, "Invalid %s Value (\"%s\")"},
        {1910, "Suspicious %s %s Value (\"%s\"); Numeric in Scale"},
        {1911, "Duplicate '%s' keyword."},
        {1912, "%s string '%s' is too long, truncating to %u characters."},
        {1913, "Zero length value for keyword '%s'."},
        {1914, "%s string '%s' is too long, maximum length %u allowed."},
        {1915, "Required keyword '%s' not found in file '%s'."},
        {1916, "Illegal use of Reserved Word '%s'."},
        {1917, "Found illegal %s character (code %x).%s"},
        {1918, "Unexpected '=' found"},
        {1919, "Unexpected token '%s' found in R/L/C section"},
        {1920, "Premature end of R/L/C section"},
        {1921, "Error parsing R/L/C section. Missing '='"},
        {1922, "Illegal number found '%s'"},
        {1923, "Numerical value expected"},
        {1924, "File Name Requires '.ami' Extension."},
    };
    for (const Row& r : rows) {
        int i = BSearchErrorLogTable(r.code);
        ASSERT_GE(i, 0) << r.code;
        EXPECT_STREQ(errorLogTable[i].sFormat, r.text) << r.code;
    }
}
