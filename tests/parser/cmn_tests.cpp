// Common services: strings, scanners, token splitting, record-field setters,
// memory, and the assertion stop (seen from a child process).
#include "cmn.h"
#include "log_capture.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

// Huge requests must come back as null under the sanitizer's allocator too.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

namespace {

using Cmn = LogCapture;

} // namespace

TEST(CmnStrings, SameIgnoringCase)
{
    struct Case {
        const char *a, *b;
        int same;
    };
    const Case cases[] = {
        {"gnd", "GND", 1}, {"", "", 1}, {"", "x", 0}, {"x", "", 0}, {"Ab", "aB", 1}, {"ab", "abc", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CMN_StrSameIC(c.a, c.b), c.same) << c.a << " / " << c.b;
}

TEST(CmnStrings, SameIgnoringCaseFirstN)
{
    struct Case {
        const char *a, *b;
        size_t n;
        int same;
    };
    const Case cases[] = {
        {"[IBIS Ver]", "[ibis ver]   5.0", 10, 1},
        {"ab", "ab", 5, 1},
        {"ab", "abc", 5, 0},
        {"abX", "ABy", 2, 1},
        {"abX", "ABy", 3, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CMN_StrSameICn(c.a, c.b, c.n), c.same) << c.a << " / " << c.b << " n=" << c.n;
}

TEST(CmnStrings, MatchKeywordUnderscoresTheCallersText)
{
    char text[] = "package model";
    EXPECT_EQ(CMN_MatchKeyword("PACKAGE_MODEL", text), 1);
    EXPECT_STREQ(text, "package_model");
    char other[] = "Package Mode";
    EXPECT_EQ(CMN_MatchKeyword("PACKAGE_MODEL", other), 0);
}

TEST(CmnStrings, ReservedWordsAnyCase)
{
    for (const char* w : {"power", "POWER", "Gnd", "nc", "CircuitCall", "na"})
        EXPECT_EQ(CMN_ReservedWord(w), 0) << w;
    for (const char* w : {"VCC", "POWER1", "", "N A"})
        EXPECT_EQ(CMN_ReservedWord(w), 1) << w;
}

TEST(CmnStrings, CaseConversionAndUpperTest)
{
    char s[] = "Ab1_z";
    CMN_ConvertToUpper(s);
    EXPECT_STREQ(s, "AB1_Z");
    CMN_ConvertToLower(s);
    EXPECT_STREQ(s, "ab1_z");
    EXPECT_EQ(CMN_AnyUpper(s), 0);
    EXPECT_EQ(CMN_AnyUpper("abC"), 1);
}

TEST(CmnStrings, StrncpyAlwaysTerminatesAtN)
{
    char dst[6];
    std::memset(dst, '#', sizeof dst);
    CMN_strncpy(dst, "abcdefgh", 5);
    EXPECT_STREQ(dst, "abcde");
    std::memset(dst, '#', sizeof dst);
    CMN_strncpy(dst, "ab", 5);
    EXPECT_STREQ(dst, "ab");
    EXPECT_EQ(dst[4], '\0');
}

TEST(CmnStrings, UltoaSharesOneBuffer)
{
    char* first = CMN_ultoa(0);
    EXPECT_STREQ(first, "0");
    char* second = CMN_ultoa(4294967295ul);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(second, "4294967295");
}

TEST(CmnStrings, CopiesNeverReadPastTheSource)
{
    char* a = CMN_StrMake("abc");
    EXPECT_STREQ(a, "abc");
    free(a);
    EXPECT_EQ(CMN_StrMake(nullptr), nullptr);
    // A source shorter than n: the copy stops at its end.
    std::vector<char> shortSrc = {'x', 'y', '\0'};
    char* b = CMN_StrMakeN(shortSrc.data(), 100);
    ASSERT_NE(b, nullptr);
    EXPECT_STREQ(b, "xy");
    free(b);
    char* c = CMN_StrMakeN("abcdef", 3);
    EXPECT_STREQ(c, "abc");
    free(c);
}

TEST(CmnScan, TerminateEnd)
{
    struct Case {
        const char *in, *out;
    };
    const Case cases[] = {{"abc  ", "abc"}, {"   ", " "}, {"", ""}, {"a\t\r\n", "a"}, {" a b ", " a b"}};
    for (const Case& c : cases) {
        std::string s = c.in;
        std::vector<char> buf(s.begin(), s.end());
        buf.push_back('\0');
        CMN_TerminateEnd(buf.data());
        EXPECT_STREQ(buf.data(), c.out) << '"' << c.in << '"';
    }
}

// Runs of blanks of any length are followed to their end with the reader's
// line-length switch off or on; the process never stops on them.
TEST(CmnScan, LongRunsNeverStopTheProcess)
{
    for (int allow = 0; allow < 2; ++allow) {
        gbAllowAnyLineLength = allow;
        for (size_t run : {size_t(120), size_t(121), size_t(5000), size_t(1) << 20}) {
            SCOPED_TRACE("run " + std::to_string(run) + " allow " + std::to_string(allow));
            std::string blanks;
            for (size_t i = 0; i < run; ++i)
                blanks += " \t\n\r\f\v"[i % 6];
            std::string text = blanks + "x rest";
            std::vector<char> buf(text.begin(), text.end());
            buf.push_back('\0');
            char* cur = buf.data();
            CMN_EatWhitespace(&cur);
            EXPECT_EQ(cur - buf.data(), (ptrdiff_t)run);

            std::string word(run, 'w');
            std::string t2 = word + " tail";
            std::vector<char> b2(t2.begin(), t2.end());
            b2.push_back('\0');
            cur = b2.data();
            CMN_EatNonWhitespace(&cur);
            EXPECT_EQ(cur - b2.data(), (ptrdiff_t)run);

            std::string t3 = word + "]" + blanks + "next";
            std::vector<char> b3(t3.begin(), t3.end());
            b3.push_back('\0');
            cur = b3.data();
            EXPECT_EQ(CMN_EatKeyword(&cur), 1);
            EXPECT_STREQ(cur, "next");
        }
    }
    gbAllowAnyLineLength = 0;
}

TEST(CmnScan, EatKeywordWithoutBracketStopsAtTheEnd)
{
    char text[] = "[Model no bracket";
    char* cur = text;
    EXPECT_EQ(CMN_EatKeyword(&cur), 0);
    EXPECT_EQ(cur, text + std::strlen(text));
    char text2[] = "  ab";
    cur = text2;
    CMN_EatWhitespace(&cur);
    EXPECT_STREQ(cur, "ab");
    EXPECT_NE(CMN_IsWhitespace('\t'), 0);
    EXPECT_EQ(CMN_IsWhitespace('a'), 0);
    EXPECT_EQ(CMN_IsWhitespace(-1), 0);
    EXPECT_EQ(CMN_IsWhitespace(0xA0), 0);
}

TEST(CmnArgs, SplitsAtBlanksAndTabsAndCountsBeyondMax)
{
    ARG_LIST list;
    ASSERT_EQ(CMN_ArgParse("  one \t two\t\tthree  ", 2, &list), 1);
    EXPECT_EQ(list.iMaxArgs, 2);
    EXPECT_EQ(list.iCount, 2);
    EXPECT_EQ(list.iTotal, 3);
    EXPECT_STREQ(list.psArgs[0], "one");
    EXPECT_STREQ(list.psArgs[1], "two");
    CMN_ArgFree(&list);
    EXPECT_EQ(list.psArgs, nullptr);
    EXPECT_EQ(list.iCount, 2);
}

TEST(CmnArgs, ExtraCharacterIsATokenOfItsOwn)
{
    ARG_LIST list;
    ASSERT_EQ(CMN_ArgParsePlus("R=5", 3, '=', &list), 1);
    ASSERT_EQ(list.iCount, 3);
    EXPECT_STREQ(list.psArgs[0], "R");
    EXPECT_STREQ(list.psArgs[1], "=");
    EXPECT_STREQ(list.psArgs[2], "5");
    CMN_ArgFree(&list);
    ASSERT_EQ(CMN_ArgParsePlus(" a == b ", 5, '=', &list), 1);
    EXPECT_EQ(list.iTotal, 4);
    EXPECT_STREQ(list.psArgs[1], "=");
    EXPECT_STREQ(list.psArgs[2], "=");
    EXPECT_EQ(list.psArgs[4], nullptr);  // unused slots stay null
    CMN_ArgFree(&list);
}

TEST(CmnArgs, MaxZeroOnlyCounts)
{
    ARG_LIST list;
    char* marker = reinterpret_cast<char*>(&list);
    list.psArgs = &marker;
    ASSERT_EQ(CMN_ArgParse("a b c d", 0, &list), 1);
    EXPECT_EQ(list.iTotal, 4);
    EXPECT_EQ(list.iCount, 0);
    EXPECT_EQ(list.psArgs, &marker);
    ASSERT_EQ(CMN_ArgParse("", 0, &list), 1);
    EXPECT_EQ(list.iTotal, 0);
}

TEST_F(Cmn, SetStrCutsAndReports)
{
    PARSE_SetPosition(nullptr, 3);
    char dst[5] = "";
    CMN_SetStr(dst, "abcdef", 4, "Model");
    EXPECT_STREQ(dst, "abcd");
    // 62 characters: inside the line-error wrap window.
    EXPECT_EQ(Take(), "ERROR (line    3) -\n    Model string 'abcdef' is too long, truncating to 4 characters.\n");
    CMN_SetStr(dst, "abcd", 4, "Model");
    EXPECT_EQ(Take(), "");
    CMN_SetStr(dst, "", 4, "Model");
    EXPECT_STREQ(dst, "");
    EXPECT_EQ(Take(), "ERROR (line    3) - Zero length value for keyword 'Model'.\n");
}

TEST_F(Cmn, SetStrCapsTheLengthAt2176)
{
    std::vector<char> dst(3001, '\0');
    std::string src(2500, 's');
    CMN_SetStr(dst.data(), src.c_str(), 3000, "Notes");
    EXPECT_EQ(std::strlen(dst.data()), 2176u);
    EXPECT_NE(Take().find("truncating to 2176 characters."), std::string::npos);
}

TEST_F(Cmn, SetKeywordStrKeepsTheFirstValue)
{
    char dst[41] = "";
    EXPECT_EQ(CMN_SetKeywordStr(dst, "first", 40, "Manufacturer"), 1);
    EXPECT_EQ(Take(), "");
    EXPECT_EQ(CMN_SetKeywordStr(dst, "second", 40, "Manufacturer"), 0);
    EXPECT_STREQ(dst, "first");
    EXPECT_EQ(Take(), "ERROR (line    0) - Duplicate 'Manufacturer' keyword.\n");
}

TEST_F(Cmn, SetFilenameStrReportsButKeepsUpTo1024)
{
    char dst[1025] = "";
    EXPECT_EQ(CMN_SetFilenameStr(dst, "long_name.ibs", 8, "File_name"), 1);
    EXPECT_STREQ(dst, "long_name.ibs");
    // 71 characters: wrapped.
    EXPECT_EQ(Take(),
              "ERROR (line    0) -\n    File_name string 'long_name.ibs' is too long, maximum length 8 allowed.\n");
    EXPECT_EQ(CMN_SetFilenameStr(dst, "x.ibs", 8, "File_name"), 0);
    EXPECT_EQ(Take(), "ERROR (line    0) - Duplicate 'File_name' keyword.\n");
    char dst2[1025] = "";
    std::string huge(3000, 'f');
    EXPECT_EQ(CMN_SetFilenameStr(dst2, huge.c_str(), 2000, "File_name"), 1);
    EXPECT_EQ(std::strlen(dst2), 1024u);
}

TEST_F(Cmn, RequiredKeywordNamesTheFileBeingRead)
{
    PARSE_SetPosition("board.ibs", 10);
    CMN_TestRequiredKeyword("IBIS Ver", 1);
    EXPECT_EQ(Take(), "");
    CMN_TestRequiredKeyword("IBIS Ver", 0);
    EXPECT_EQ(Take(), "ERROR - Required keyword 'IBIS Ver' not found in file 'board.ibs'.\n");
    EXPECT_EQ(gulError_cnt, 1u);
}

TEST_F(Cmn, ReservedWordErrIsALineError)
{
    PARSE_SetPosition(nullptr, 8);
    CMN_ReservedWordErr("vdd");
    EXPECT_EQ(Take(), "");
    CMN_ReservedWordErr("gnd");
    EXPECT_EQ(Take(), "ERROR (line    8) - Illegal use of Reserved Word 'gnd'.\n");
}

TEST(CmnParse, FileNameIsCutTo1024)
{
    std::string longName(2000, 'n');
    PARSE_SetPosition(longName.c_str(), 1);
    char buf[1025];
    EXPECT_EQ(PARSE_GetFileName(buf), buf);
    EXPECT_EQ(std::strlen(buf), 1024u);
    PARSE_SetPosition("a.ibs", 77);
    EXPECT_STREQ(PARSE_GetFileName(buf), "a.ibs");
    EXPECT_EQ(PARSE_GetLineNum(), 77u);
    PARSE_SetPosition("", 0);
}

TEST_F(Cmn, AllocationIsZeroFilled)
{
    void* p = nullptr;
    ASSERT_EQ(CMN_malloc(&p, 64), 1);
    const unsigned char* bytes = static_cast<unsigned char*>(p);
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(bytes[i], 0) << i;
    ASSERT_EQ(CMN_realloc(&p, 4096), 1);
    EXPECT_EQ(static_cast<unsigned char*>(p)[0], 0);
    CMN_freeSetNull(&p);
    EXPECT_EQ(p, nullptr);
}

TEST_F(Cmn, FailedAllocationsReportAndClearTheSlot)
{
    const size_t huge = SIZE_MAX / 4;
    void* p = reinterpret_cast<void*>(&p);
    EXPECT_EQ(CMN_malloc(&p, huge), 0);
    EXPECT_EQ(p, nullptr);
    // A request beyond the message's field shows as its largest value.
    EXPECT_EQ(Take(), "ERROR - Memory allocation failed.  This request 4294967295.\n\n");
    ASSERT_EQ(CMN_malloc(&p, 16), 1);
    // The old block is released with the failure (the leak checker sees it).
    EXPECT_EQ(CMN_realloc(&p, huge), 0);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(Take(), "ERROR - Memory reallocation failed.  This request 4294967295.\n\n");
    EXPECT_EQ(gulError_cnt, 2u);
}

// ---- Assertion stops, each in a child process ----

namespace {

struct ChildResult {
    bool aborted = false;
    std::string out;
};

// Runs body in a child whose standard output goes to a pipe.
ChildResult RunInChild(void (*body)())
{
    ChildResult result;
    std::fflush(stdout);
    int fds[2];
    if (pipe(fds) != 0)
        return result;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], 1);
        close(fds[1]);
        body();
        std::fflush(stdout);
        _exit(0);
    }
    close(fds[1]);
    char chunk[256];
    ssize_t n;
    while ((n = read(fds[0], chunk, sizeof chunk)) > 0)
        result.out.append(chunk, (size_t)n);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.aborted = WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT;
    return result;
}

// The source line the message names must hold an assertion.
std::string SourceLine(const std::string& module, int line)
{
    std::ifstream in(std::string(QUENRIX_SOURCE_DIR) + "/" + module + ".cpp");
    std::string text;
    for (int i = 0; i < line && std::getline(in, text); ++i) {
    }
    return text;
}

} // namespace

TEST(CmnAssert, PrintsModuleAndLineThenAborts)
{
    struct Case {
        const char* label;
        void (*body)();
        const char* module;
    };
    const Case cases[] = {
        {"free null", [] { CMN_free(nullptr); }, "IbisParser/cmn"},
        {"malloc zero", [] { void* p; CMN_malloc(&p, 0); }, "IbisParser/cmn"},
        {"freeSetNull of null", [] { void* p = nullptr; CMN_freeSetNull(&p); }, "IbisParser/cmn"},
        {"StrSameIC null", [] { CMN_StrSameIC(nullptr, "a"); }, "IbisParser/cmn"},
        {"EatWhitespace null", [] { CMN_EatWhitespace(nullptr); }, "IbisParser/cmn"},
        {"ArgFree without slots", [] { ARG_LIST l = {0, 0, 0, nullptr}; CMN_ArgFree(&l); }, "IbisParser/cmn"},
        {"SetStr maxLen 0", [] { char d[2] = ""; CMN_SetStr(d, "a", 0, "k"); }, "IbisParser/cmn"},
        {"GetFileName null", [] { PARSE_GetFileName(nullptr); }, "IbisParser/parse"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ChildResult r = RunInChild(c.body);
        EXPECT_TRUE(r.aborted);
        std::string head = std::string(c.module) + ":";
        const std::string tail = ":assertion failed.\n";
        ASSERT_EQ(r.out.rfind(head, 0), 0u) << r.out;
        ASSERT_GT(r.out.size(), head.size() + tail.size());
        ASSERT_EQ(r.out.compare(r.out.size() - tail.size(), tail.size(), tail), 0) << r.out;
        std::string number = r.out.substr(head.size(), r.out.size() - head.size() - tail.size());
        ASSERT_FALSE(number.empty());
        ASSERT_EQ(number.find_first_not_of("0123456789"), std::string::npos) << r.out;
        EXPECT_NE(SourceLine(c.module, std::stoi(number)).find("CMN_ASSERT"), std::string::npos)
            << c.module << ":" << number;
    }
}
