// Number, column, R/L/C token, file and line services of cmn, against tables
// of inputs whose results follow from the number syntax and the line rules.
#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "cmn.h"
#include "errlog.h"
#include "log_capture.h"
#include "parse.h"

namespace {

struct ValueCase {
    const char* text;
    int result;
    double value;  // expected value; the sentinel when it must stay unchanged
};

const double kUnchanged = -12345.0;

TEST(CmnGetValue, ScaleLettersUnitsAndRejects)
{
    const ValueCase cases[] = {
        {"1.5m", 1, 1.5e-3},   {"2.2nH", 1, 2.2e-9},  {"3.3V", 1, 3.3},
        {"10M", 1, 10e6},      {"5m2", 2, 5e-3},       {"x", 0, kUnchanged},
        {"2.5 ", 0, kUnchanged}, {"2.5", 1, 2.5},      {"1k", 1, 1e3},
        {"4.7u", 1, 4.7e-6},   {"7p", 1, 7e-12},       {"1f", 1, 1e-15},
        {"2T", 1, 2e12},       {"3G", 1, 3e9},         {"-1.5e-3", 1, -1.5e-3},
        {"1.0Ohm", 1, 1.0},    {"1.0 Ohm", 0, kUnchanged}, {"NA", 0, kUnchanged},
        {"", 0, kUnchanged},   {"1.5mA2", 2, 1.5e-3},  {"8-", 0, kUnchanged},
    };
    for (const ValueCase& c : cases) {
        double v = kUnchanged;
        EXPECT_EQ(CMN_Get_Value(c.text, &v), c.result) << c.text;
        EXPECT_NEAR(v, c.value, fabs(c.value) * 1e-12) << c.text;
    }
}

TEST(CmnGetValue, ValueOrNA)
{
    double v = 3;
    int na = -1;
    EXPECT_EQ(CMN_Get_ValueOrNA("na", &v, &na), 1);
    EXPECT_EQ(na, 1);
    EXPECT_EQ(v, 0.0);
    EXPECT_EQ(CMN_Get_ValueOrNA("2k", &v, &na), 1);
    EXPECT_EQ(na, 0);
    EXPECT_EQ(v, 2000.0);
}

TEST(CmnGetColValue, StatesAndMessages)
{
    LogCapture log;
    PARSE_SetPosition(nullptr, 7);
    double v = 5;
    int state = -1;
    EXPECT_EQ(CMN_GetColValue("na", "Pullup", "I(typ)", &v, &state), 1);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(v, 0.0);
    EXPECT_EQ(CMN_GetColValue(nullptr, "Pullup", "I(typ)", &v, &state), 1);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(CMN_GetColValue("1.5m", "Pullup", "I(typ)", &v, &state), 1);
    EXPECT_EQ(state, 1);
    EXPECT_DOUBLE_EQ(v, 1.5e-3);
    EXPECT_EQ(log.Take(), "");
    EXPECT_EQ(CMN_GetColValue("bad", "Pullup", "I(typ)", &v, &state), 0);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(log.Take(), "E1909 (line    7) - Invalid I(typ) Value (\"bad\")\n");
    EXPECT_EQ(CMN_GetColValue("5m2", "Pullup", "I(typ)", &v, &state), 1);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(log.Take(),
              "W1910 (line    7) - Suspicious I(typ) Pullup Value (\"5m2\"); Numeric in Scale\n");
}

TEST(CmnStrTo, WholeTrailingAndNothing)
{
    double d = 0;
    EXPECT_EQ(CMN_StrToDbl("1.25", &d), 1);
    EXPECT_EQ(d, 1.25);
    EXPECT_EQ(CMN_StrToDbl("1.25x", &d), 2);
    EXPECT_EQ(CMN_StrToDbl("x", &d), 0);
    unsigned u = 77;
    EXPECT_EQ(CMN_StrToUI("-3", &u), 0);
    EXPECT_EQ(u, 77u);
    EXPECT_EQ(CMN_StrToUI("42", &u), 1);
    EXPECT_EQ(u, 42u);
    EXPECT_EQ(CMN_StrToUI("42pins", &u), 2);
    // Only a leading '-' leaves the output alone; a text without digits
    // still stores what strtoul read from it, 0.
    u = 77;
    EXPECT_EQ(CMN_StrToUI("pins", &u), 0);
    EXPECT_EQ(u, 0u);
    d = 5;
    EXPECT_EQ(CMN_StrToDbl("x", &d), 0);
    EXPECT_EQ(d, 0.0);
}

// The number reader gives strtod's double and end, bit for bit, on the
// forms its short way takes and on those it hands to strtod.
TEST(CmnStrTo, SameNumbersAsStrtod)
{
    std::vector<std::string> texts = {
        "0", "-0", "+0", "-0.0", "0.", ".5", "-.5", "+.5e1", ".", "-", "+", "e5", "1e", "1e+",
        "1e-", "1.5e3x", "3.3V", "1.0/1n", "2.0nH", "0.000123", "000123.4500", "123456789012345",
        "1234567890123456", "12345678901234567890", "0.1", "0.2", "0.3", "9007199254740993",
        "1e22", "1e23", "1e-22", "1e-23", "4.9e-324", "1.7976931348623157e308", "1e309",
        "2.2250738585072011e-308", "0x1p3", "0X1A", "-0x10", "inf", "-Infinity", "nan",
        " 5", "\t5", "1e0400", "1e-0400", "7e0000000000000000000001", "1.23456789012345e-5",
        "123456789012345e-22", "123456789012345e22", "0.000000000000000000000001",
        "5.", "5.e2", "-3.3000", "1,5"};
    // Table numbers as the usual formats print them.
    unsigned seed = 12345;
    auto next = [&seed]() { return seed = seed * 1103515245u + 12345u; };
    char buf[64];
    for (int i = 0; i < 20000; i++) {
        double m = (double)(next() % 1000000007u) / (1 + next() % 100000u);
        int e = (int)(next() % 60) - 30;
        double v = ((next() & 1) ? -m : m) * pow(10.0, e);
        static const char* const formats[] = {"%.3f", "%.6e", "%.15g", "%.17g", "%.4g", "%13.6e", "%.10f"};
        snprintf(buf, sizeof buf, formats[i % 7], v);
        const char* t = buf;
        while (*t == ' ') t++;
        texts.push_back(t);
    }
    for (const std::string& text : texts) {
        char* wantEnd = nullptr;
        char* gotEnd = nullptr;
        double want = strtod(text.c_str(), &wantEnd);
        double got = CMN_StrToD(text.c_str(), &gotEnd);
        EXPECT_EQ(memcmp(&want, &got, sizeof want), 0) << text << ": " << want << " " << got;
        EXPECT_EQ(gotEnd - text.c_str(), wantEnd - text.c_str()) << text;
    }
}

TEST(CmnGettok, SectionLine)
{
    LogCapture log;
    const char* text = "Len=0.5 L=8.35n C=3.34p R=0.1 /";
    const int kinds[] = {1, 4, 3, 2, 5, 6};
    const double values[] = {0.5, 8.35e-9, 3.34e-12, 0.1};
    char* next = nullptr;
    const char* p = text;
    for (int i = 0; i < 6; i++) {
        double v = -1;
        int k = CMN_gettok(p, &v, &next);
        ASSERT_EQ(k, kinds[i]) << "token " << i;
        if (i < 4) {
            EXPECT_NEAR(v, values[i], values[i] * 1e-12);
        }
        p = next;
    }
    EXPECT_EQ(*p, '\0');
    EXPECT_EQ(log.Take(), "");
}

struct TokCase {
    const char* text;
    int kind;
    const char* message;  // numbered, without the line part
    const char* rest;     // text left at next
};

TEST(CmnGettok, Errors)
{
    const TokCase cases[] = {
        {"X=1", 0, "E1919 (line    3) - Unexpected token 'X' found in R/L/C section\n", "=1"},
        {"R 1 / C=1", 0, "E1921 (line    3) - Error parsing R/L/C section. Missing '='\n", " C=1"},
        {"R=", 6, "E1920 (line    3) - Premature end of R/L/C section\n", ""},
        {"R  ", 6, "E1920 (line    3) - Premature end of R/L/C section\n", ""},
        {"= 3", 0, "E1918 (line    3) - Unexpected '=' found\n", "3"},
        {"R=/", 2, "E1923 (line    3) - Numerical value expected\n", "/"},
        {"R=abc L=1", 2, "E1922 (line    3) - Illegal number found 'abc'\n", "L=1"},
        {"len=1", 0, "E1919 (line    3) - Unexpected token 'len' found in R/L/C section\n", "=1"},
        {"  \t", 6, "", ""},
    };
    LogCapture log;
    PARSE_SetPosition(nullptr, 3);
    for (const TokCase& c : cases) {
        double v = 9;
        char* next = nullptr;
        EXPECT_EQ(CMN_gettok(c.text, &v, &next), c.kind) << c.text;
        EXPECT_EQ(log.Take(), c.message) << c.text;
        ASSERT_NE(next, nullptr);
        EXPECT_STREQ(next, c.rest) << c.text;
    }
}

// Files are made in a fresh directory that the test works in, so that the
// case conversions of the open only ever touch names that the test chose.
class CmnFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/cmnfiles_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        ASSERT_EQ(getcwd(old_, sizeof old_), old_);
        ASSERT_EQ(chdir(dir_.c_str()), 0);
        mkdir("d", 0755);
    }
    void TearDown() override
    {
        (void)!chdir(old_);
        (void)system(("rm -rf '" + dir_ + "'").c_str());
    }
    static void Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    std::string dir_;
    char old_[4096];
};

struct OpenCase {
    const char* path;
    int type;
    int result;
    const char* fileName;  // expected name when opened
    const char* message;
};

TEST_F(CmnFiles, OpenFileExtensionsDirectoriesAndCase)
{
    Write("d/part.ibs", "x\n");
    Write("d/a.ibs", "x\n");
    Write("d/beside.pkg", "x\n");
    Write("UPPER.IBS", "x\n");
    Write("d/board.ebd", "x\n");
    Write("d/m.ami", "x\n");
    const OpenCase cases[] = {
        {"d/part", FILE_IBS, 1, "part.ibs", ""},
        {"d/part.IBS", FILE_IBS, 1, "part.IBS", ""},
        {"d/part.txt", FILE_IBS, 0, nullptr, "E1900 - File Name Requires '.ibs' Extension.\n"},
        {"d/part.ibs", FILE_PKG, 0, nullptr, "E1903 - File Name Requires '.pkg' Extension.\n"},
        {"d/part.ibs", FILE_EBD, 0, nullptr, "E1902 - File Name Requires '.ebd' Extension.\n"},
        {"d/part.ibs", FILE_AMI, 0, nullptr, "E1924 - File Name Requires '.ami' Extension.\n"},
        {"d/board", FILE_EBD, 1, "board.ebd", ""},
        {"d/m", FILE_AMI, 1, "m.ami", ""},
        // A bare name is looked for beside the file opened before it.
        {"d/a.ibs", FILE_IBS, 1, "a.ibs", ""},
        {"beside.pkg", FILE_PKG, 1, "beside.pkg", ""},
        {"d/nothere.ibs", FILE_IBS, 0, nullptr, "E1905 - Unable To Open File 'd/nothere.ibs'\n"},
        // Exact, then lower case, then upper case.
        {"./upper.ibs", FILE_IBS, 1, "upper.ibs", ""},
    };
    LogCapture log;
    for (const OpenCase& c : cases) {
        FILE* fp = nullptr;
        char name[1025] = "";
        EXPECT_EQ(CMN_OpenFile(c.path, c.type, &fp, name), c.result) << c.path;
        EXPECT_EQ(log.Take(), c.message) << c.path;
        if (c.result) {
            ASSERT_NE(fp, nullptr) << c.path;
            EXPECT_STREQ(name, c.fileName) << c.path;
            fclose(fp);
        } else {
            EXPECT_EQ(fp, nullptr) << c.path;
        }
    }
    char dir[1025];
    EXPECT_STREQ(CMN_GetIbsPath(dir), "./");
    char base[] = "a/b/c.ibs";
    EXPECT_STREQ(CMN_getBasename(base), "c.ibs");
}

TEST_F(CmnFiles, OverlongPathsAreReported)
{
    LogCapture log;
    std::string deep(1030, 'q');
    for (int type : {FILE_IBS, FILE_PKG, FILE_EBD, FILE_AMI}) {
        std::string path = deep + "/x";
        FILE* fp = nullptr;
        char name[1025];
        EXPECT_EQ(CMN_OpenFile(path.c_str(), type, &fp, name), 0);
        EXPECT_EQ(fp, nullptr);
        EXPECT_EQ(log.Take(), "E1904 - Unable to assemble filename.\n") << type;
    }
    // A name that leaves no room for its extension.
    std::string longName(1022, 'n');
    FILE* fp = nullptr;
    char name[1025];
    EXPECT_EQ(CMN_OpenFile(longName.c_str(), FILE_IBS, &fp, name), 0);
    EXPECT_EQ(log.Take(), "E1901 - Unable to append filename extension.\n");
}

struct LineCase {
    const char* what;
    std::string bytes;
    unsigned size;
    std::vector<std::string> lines;  // successive results until end of file
    std::string messages;
};

TEST_F(CmnFiles, GetLineCharacterRules)
{
    const LineCase cases[] = {
        {"overlong line", "abcdefghijklmnopqrst\nnext\n", 10, {"abcdefghi", "next\n"}, ""},
        {"tab kept", "a\tb\n", 100, {"a\tb\n"}, ""},
        {"control character", "a\x01" "b\n", 100, {"a b\n"},
         "E1917 (line    2) -\n    Found illegal control character (code 1).  Converting to space.\n"},
        {"NUL", std::string("a\0b\n", 4), 100, {"a b\n"},
         "E1917 (line    2) - Found illegal NUL character (code 0).  Converting to space.\n"},
        {"byte above 127", "\xff\n", 100, {" \n"},
         "E1917 (line    2) -\n    Found illegal non-7-bit ASCII character (code ff).  Converting to space.\n"},
        {"CR LF", "ab\r\ncd\r\n", 100, {"ab\n", "cd\n"}, ""},
        {"lone CR", "a\rb\n", 100, {"a b\n"},
         "E1917 (line    2) -\n    Found illegal control character (code d).  Converting to space.\n"},
        {"no final line end", "ab\ncd", 100, {"ab\n", "cd"}, ""},
        {"end-of-file mark", "ab\n\x1a", 100, {"ab\n", ""}, ""},
        {"end-of-file mark after text", "ab\x1a", 100, {"ab"}, ""},
        {"mark inside a line", "a\x1a" "b", 100, {"a b"},
         "E1917 (line    2) -\n    Found illegal control character (code 1a).  Converting to space.\n"},
        {"empty file", "", 100, {}, ""},
        {"no room for the blank", "abc\x01\n", 3, {"ab"},
         "E1917 (line    2) - Found illegal control character (code 1).\n"},
        {"LF without room", "ab\n", 3, {"ab"}, ""},
    };
    LogCapture log;
    PARSE_SetPosition(nullptr, 2);
    for (const LineCase& c : cases) {
        Write("lines.txt", c.bytes);
        FILE* fp = fopen("lines.txt", "rb");
        ASSERT_NE(fp, nullptr);
        std::vector<char> buf(c.size);
        for (const std::string& want : c.lines) {
            ASSERT_EQ(CMN_GetLine(buf.data(), c.size, fp), buf.data()) << c.what;
            EXPECT_EQ(std::string(buf.data()), want) << c.what;
        }
        EXPECT_EQ(CMN_GetLine(buf.data(), c.size, fp), nullptr) << c.what;
        EXPECT_EQ(log.Take(), c.messages) << c.what;
        fclose(fp);
    }
}

TEST_F(CmnFiles, GetLineArgumentsAndAnyCharacter)
{
    Write("x.txt", std::string("a\0\x01\n", 4));
    FILE* fp = fopen("x.txt", "rb");
    char buf[8];
    EXPECT_EQ(CMN_GetLine(buf, 0, fp), nullptr);
    EXPECT_EQ(CMN_GetLine(nullptr, 8, fp), nullptr);
    EXPECT_EQ(CMN_GetLine(buf, 8, nullptr), nullptr);
    EXPECT_EQ(CMN_GetLine(buf, 1, fp), buf);
    EXPECT_STREQ(buf, "");
    LogCapture log;
    EXPECT_EQ(CMN_AllowAnyCharacter(5), 1);
    ASSERT_EQ(CMN_GetLine(buf, 8, fp), buf);
    EXPECT_EQ(std::string(buf, 4), std::string("a\0\x01\n", 4));
    EXPECT_EQ(CMN_AllowAnyCharacter(0), 0);
    EXPECT_EQ(log.Take(), "");
    fclose(fp);
}

TEST_F(CmnFiles, GetInfiniteLineKeepsWholeLines)
{
    std::string big(200000, 'w');
    Write("inf.txt", big + "\r\n" + "x\x02y" + "\nlast");
    FILE* fp = fopen("inf.txt", "rb");
    LogCapture log;
    PARSE_SetPosition(nullptr, 1);
    unsigned len = 0;
    char* line = CMN_GetInfiniteLine(&len, fp);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(std::string(line), big + "\n");
    EXPECT_EQ(len, big.size() + 2);
    free(line);
    line = CMN_GetInfiniteLine(&len, fp);
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line, "x y\n");
    free(line);
    line = CMN_GetInfiniteLine(&len, fp);
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line, "last");
    EXPECT_EQ(len, 5u);
    free(line);
    EXPECT_EQ(CMN_GetInfiniteLine(&len, fp), nullptr);
    EXPECT_EQ(CMN_GetInfiniteLine(&len, nullptr), nullptr);
    EXPECT_EQ(log.Take(),
              "E1917 (line    1) -\n    Found illegal control character (code 2).  Converting to space.\n");
    fclose(fp);
}

struct VerCase {
    std::string bytes;
    int version;
    unsigned long lines;
};

TEST_F(CmnFiles, IbisVersionProbe)
{
    const VerCase cases[] = {
        {"| c\n[IBIS Ver] 4.2\n[File Name] v.ibs\n", 4, 2},
        {"[Component] x\n[IBIS Ver] 4.2\n", 0, 1},
        {"   [ibis_ver]   5.0\n", 5, 1},
        {"[IBIS Ver] 7.1\n", 0, 1},
        {"[IBIS Ver]1.1\n", 1, 1},
        {"[IBIS Ver]\n", 0, 1},
        {"no bracket line\nat all\n", 0, 2},
        {"|\x01 before\n[IBIS Ver] 3.2\n", 3, 2},
    };
    LogCapture log;
    for (const VerCase& c : cases) {
        Write("v.ibs", c.bytes);
        unsigned long n = 10;
        EXPECT_EQ(CMN_getIbisVer("v.ibs", &n, FILE_IBS), c.version) << c.bytes;
        EXPECT_EQ(n, 10 + c.lines) << c.bytes;
    }
    // The probe leaves character messages to the read that follows.
    EXPECT_EQ(log.Take(), "");
    unsigned long n = 0;
    EXPECT_EQ(CMN_getIbisVer("absent.ibs", &n, FILE_IBS), 0);
    EXPECT_EQ(log.Take(), "E1905 - Unable To Open File 'absent.ibs'\n");
}

}  // namespace
