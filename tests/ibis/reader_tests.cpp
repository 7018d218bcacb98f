// Keyword tables and recognition, the .ami join, the container stack and its
// per-pass totals, the header record and the string lists, in process.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <string>

#include "cmn.h"
#include "errlog.h"
#include "hdr.h"
#include "ibis.h"
#include "log_capture.h"
#include "parse.h"
#include "reader_files.h"
#include "strlist.h"

namespace {

int RowCount(const KEYWORD_ENTRY* t)
{
    int n = 1;
    while (t[n - 1].code != KW_NOT_KEY) n++;
    return n;
}

bool Holds(const KEYWORD_ENTRY* t, const char* name)
{
    for (; t->code != KW_NOT_KEY; t++)
        if (strcmp(t->name, name) == 0) return true;
    return false;
}

TEST(KeywordTables, RowsAndOrder)
{
    const KEYWORD_ENTRY* tables[] = {keywords, keywords_Ver3, keywords_Ver4, keywords_Ver5};
    const int rows[] = {50, 88, 109, 120};
    for (int i = 0; i < 4; i++) {
        const KEYWORD_ENTRY* t = tables[i];
        int n = RowCount(t);
        EXPECT_EQ(n, rows[i]) << "table " << i;
        EXPECT_EQ(t[n - 2].code, KW_END);
        EXPECT_EQ(t[n - 3].code, KW_COMMENT_CHAR);
        EXPECT_STREQ(t[n - 3].name, "COMMENT_CHAR");
        int moved = 0;
        if (i >= 2) {
            EXPECT_EQ(t[n - 5].code, KW_EXTERNAL_CIRCUIT);
            EXPECT_EQ(t[n - 4].code, KW_END_EXTERNAL_CIRCUIT);
            moved = 2;
        }
        for (int r = 1; r < n - 3 - moved; r++) EXPECT_LT(t[r - 1].code, t[r].code) << i << ":" << r;
        std::set<int> codes;
        for (int r = 0; r < n; r++) EXPECT_TRUE(codes.insert(t[r].code).second);
    }
    // The 5.x table names every code once.
    std::set<int> all;
    for (int r = 0; r < 120; r++) all.insert(keywords_Ver5[r].code);
    EXPECT_EQ(all.size(), 120u);
    EXPECT_EQ(*all.rbegin(), 119);
    EXPECT_FALSE(Holds(keywords, "SERIES_SWITCH_GROUPS"));
    EXPECT_TRUE(Holds(keywords_Ver3, "SERIES_SWITCH_GROUPS"));
    EXPECT_FALSE(Holds(keywords_Ver3, "RECEIVER_THRESHOLDS"));
    EXPECT_FALSE(Holds(keywords_Ver3, "EXTERNAL_MODEL"));
    EXPECT_FALSE(Holds(keywords_Ver4, "ALGORITHMIC_MODEL"));
    EXPECT_FALSE(Holds(keywords_Ver4, "PIN_EMI"));
    EXPECT_TRUE(Holds(keywords_Ver5, "BEGIN_EMI_MODEL"));
    EXPECT_FALSE(Holds(keywords, "NOT_KEY"));  // the end row is never matched
}

struct KeyCase {
    const char* line;
    int previous;
    const KEYWORD_ENTRY* table;
    int fileType;
    int inSubModel;
    int code;             // expected code, or -1 for a failure
    const char* message;  // numbered form
};

TEST(KeywordRecognition, NamesContextsAndFailures)
{
    const std::string name118(118, 'k'), name117(117, 'k');
    const std::string long118 = "[" + name118 + "]", long117 = "[" + name117 + "]";
    const KeyCase cases[] = {
        {"[Model Spec]", KW_MODEL, keywords_Ver3, FILE_IBS, 0, KW_MODEL_SPEC, ""},
        {"[Receiver Thresholds]", KW_MODEL, keywords_Ver3, FILE_IBS, 0, -1,
         "E0916 (line   12) - Invalid Keyword: Receiver_Thresholds\n"},
        {"[Receiver Thresholds]", KW_MODEL, keywords_Ver4, FILE_IBS, 0, KW_RECEIVER_THRESHOLDS, ""},
        {"[Manufacturer] x", KW_COMPONENT, keywords_Ver5, FILE_IBS, 0, KW_MANUFACTURER, ""},
        {"[Manufacturer] x", KW_DEFINE_PACKAGE_MODEL, keywords_Ver5, FILE_IBS, 0, KW_PKG_MANUFACTURER, ""},
        {"[Manufacturer] x", KW_OEM, keywords_Ver5, FILE_PKG, 0, KW_PKG_MANUFACTURER, ""},
        {"[Manufacturer] x", KW_BEGIN_BOARD_DESCRIPTION, keywords_Ver5, FILE_EBD, 0, KW_EBD_MANUFACTURER, ""},
        {"[Manufacturer] x", KW_PIN, keywords_Ver5, FILE_IBS, 0, KW_MANUFACTURER, ""},
        {"[Number Of Pins] 4", KW_DEFINE_PACKAGE_MODEL, keywords_Ver5, FILE_PKG, 0, KW_NUMBER_OF_PINS, ""},
        {"[Number Of Pins] 4", KW_EBD_MANUFACTURER, keywords_Ver5, FILE_EBD, 0, KW_EBD_NUMBER_OF_PINS, ""},
        {"[Pullup]", KW_SUBMODEL, keywords_Ver5, FILE_IBS, 1, KW_SUB_PULLUP, ""},
        {"[Pullup]", KW_MODEL, keywords_Ver5, FILE_IBS, 0, KW_PULLUP, ""},
        {"[Ramp]", KW_SUBMODEL, keywords_Ver3, FILE_IBS, 1, KW_SUB_RAMP, ""},
        {"[Falling Waveform]", KW_SUBMODEL, keywords_Ver4, FILE_IBS, 1, KW_SUB_FALLING_WAVEFORM, ""},
        {"[Algorithmic Model]", KW_MODEL, keywords_Ver4, FILE_IBS, 0, -1,
         "E0916 (line   12) - Invalid Keyword: Algorithmic_Model\n"},
        {"[Algorithmic Model]", KW_MODEL, keywords_Ver5, FILE_IBS, 0, KW_ALGORITHMIC_MODEL, ""},
        {"[package model] p", KW_COMPONENT, keywords, FILE_IBS, 0, KW_PACKAGE_MODEL, ""},
        {"[PACKAGE_MODEL]", KW_COMPONENT, keywords, FILE_IBS, 0, KW_PACKAGE_MODEL, ""},
        {"[ Model]", KW_PIN, keywords_Ver5, FILE_IBS, 0, -1, "E0916 (line   12) - Invalid Keyword: _Model\n"},
        {"[Model", KW_PIN, keywords_Ver5, FILE_IBS, 0, -1,
         "E0914 (line   12) - Keyword Missing Ending Bracket (']').\n"},
        {"[]", KW_PIN, keywords_Ver5, FILE_IBS, 0, -1, "E0915 (line   12) - Invalid Keyword.\n"},
        {long118.c_str(), KW_PIN, keywords_Ver5, FILE_IBS, 0, -1, "E0915 (line   12) - Invalid Keyword.\n"},
        {long117.c_str(), KW_PIN, keywords_Ver5, FILE_IBS, 0, -1, nullptr},
        {"[End]", KW_PIN, keywords, FILE_IBS, 0, KW_END, ""},
        {"[Not_Key]", KW_PIN, keywords_Ver5, FILE_IBS, 0, -1, "E0916 (line   12) - Invalid Keyword: Not_Key\n"},
    };
    LogCapture log;
    PARSE_SetPosition(nullptr, 12);
    for (const KeyCase& c : cases) {
        geCurrFileType = c.fileType;
        gbInSubModel = c.inSubModel;
        geCurrentKeyword = 55;
        int ok = s_getKeyword(c.line, c.previous, c.table);
        std::string msg = log.Take();
        if (c.code >= 0) {
            EXPECT_EQ(ok, 1) << c.line;
            EXPECT_EQ(geCurrentKeyword, c.code) << c.line;
        } else {
            EXPECT_EQ(ok, 0) << c.line;
        }
        if (c.message) {
            EXPECT_EQ(msg, c.message) << c.line;
        } else {
            EXPECT_EQ(msg, "E0916 (line   12) - Invalid Keyword: " + name117 + "\n");
        }
    }
    gbInSubModel = 0;
}

TEST(KeywordRecognition, KeywordNames)
{
    LogCapture log;
    char buf[118];
    EXPECT_STREQ(PARSE_GetKeywordStr(KW_PIN, buf), "PIN");
    EXPECT_STREQ(PARSE_GetKeywordStr(KW_END, buf), "END");
    EXPECT_EQ(log.Take(), "");
    PARSE_SetPosition(nullptr, 1);
    EXPECT_STREQ(PARSE_GetKeywordStr(KW_SERIES_SWITCH_GROUPS, buf), "Unknown enumerated keyword code");
    EXPECT_EQ(log.Take(), "B0904 (line    1) - Unknown enumerated keyword code.\n");
}

struct JoinCase {
    const char* text;
    const char* joined;
};

TEST_F(ReaderFiles, AmiLinesAreJoinedWithOneBlank)
{
    const JoinCase cases[] = {
        {"(x (a 1)\n(b 2))\n", "(x (a 1) (b 2))"},
        {"(a 1\n2)\n", "(a 1 2)"},
        {"| comment\n\n  (m   | note\n\t(Description \"two\n   words\"))", "(m (Description \"two words\"))"},
        {"", ""},
        {"| only a comment\n", ""},
    };
    LogCapture log;
    for (const JoinCase& c : cases) {
        std::string path = Write("j.ami", c.text);
        ASSERT_EQ(PARSE(path.c_str(), FILE_AMI), 1);
        if (c.joined) {
            ASSERT_NE(gsBuffer, nullptr) << c.text;
            EXPECT_STREQ(gsBuffer, c.joined);
        } else {
            EXPECT_EQ(gsBuffer, nullptr);
        }
        EXPECT_EQ(gbAllowAnyLineLength, 0);
    }
    // A tab is reported once per file.
    EXPECT_EQ(log.Take(), "W0921 (line    4) - IBIS files should not contain tab characters.\n");

    std::string fixture = std::string(IBIS_FIXTURES) + "/join.ami";
    ASSERT_EQ(PARSE(fixture.c_str(), FILE_AMI), 1);
    std::string desc = "(Description \"" + std::string(110, 'd') + "\")";
    EXPECT_EQ(std::string(gsBuffer),
              "(join " + desc +
                  " (Reserved_Parameters (AMI_Version (Usage Info) (Type String) (Value \"5.0\")))"
                  " (Model_Specific (gain (Usage In) (Type Float) (Value 1))) )");
    free(gsBuffer);
    gsBuffer = nullptr;
}

TEST_F(ReaderFiles, AmiLineOfAnyLength)
{
    std::string big(300000, 'v');
    std::string path = Write("big.ami", "(big (Value " + big + "))\n");
    LogCapture log;
    ASSERT_EQ(PARSE(path.c_str(), FILE_AMI), 1);
    EXPECT_EQ(std::string(gsBuffer), "(big (Value " + big + "))");
    EXPECT_EQ(log.Take(), "");
    free(gsBuffer);
    gsBuffer = nullptr;
}

TEST_F(ReaderFiles, SubmodelContextFollowsTheKeywords)
{
    std::string path = Write("s.ibs",
                             "[IBIS Ver] 3.2\n[File Name] s.ibs\n[File Rev] 1\n"
                             "[Submodel] s\n[Pullup]\n");
    LogCapture log;
    ASSERT_TRUE(INIT());
    ASSERT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
    EXPECT_EQ(gbInSubModel, 1);
    EXPECT_EQ(geFileVersion, 3);
    FINI();
    path = Write("m.ibs", "[IBIS Ver] 3.2\n[File Name] m.ibs\n[File Rev] 1\n"
                          "[Submodel] s\n[Model] m\n[End]\n");
    ASSERT_TRUE(INIT());
    ASSERT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
    EXPECT_EQ(gbInSubModel, 0);
    FINI();
}

TEST_F(ReaderFiles, CurrentRecordIsForgottenAtEachRead)
{
    // A header left current by an earlier read must not receive this file's
    // lines: without a container the header cannot be made, and the file's
    // header keywords are orphans.
    HeaderRecord stale;
    memset(&stale, 0, sizeof stale);
    gpHdr = &stale;
    std::string path = Write("o.ibs", "[IBIS Ver] 5.0\n[File Name] o.ibs\n[End]\n");
    LogCapture log;
    ASSERT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
    EXPECT_EQ(log.Take(), "B1000 - Unable to get ptr to IBIS struct?\n"
                          "E1001 (line    1) - Orphan File Header keyword.\n"
                          "E1001 (line    2) - Orphan File Header keyword.\n");
    EXPECT_STREQ(stale.IBIS_Version, "");
    EXPECT_STREQ(stale.File_name, "");
    EXPECT_EQ(gpHdr, nullptr);
}

TEST_F(ReaderFiles, HeaderRecordFields)
{
    std::string path = std::string(IBIS_FIXTURES) + "/lines32.ibs";
    LogCapture log;
    ASSERT_TRUE(INIT());
    ASSERT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
    IBIS* ibis = nullptr;
    ASSERT_TRUE(IBIS_GetIBIS(&ibis));
    HeaderRecord* h = nullptr;
    ASSERT_TRUE(IBIS_GetHdrs(ibis, &h));
    EXPECT_EQ(h->next, nullptr);
    char* s = nullptr;
    ASSERT_TRUE(HDR_GetIBIS_Ver(h, &s));
    EXPECT_STREQ(s, "3.2");
    ASSERT_TRUE(HDR_GetFile_name(h, &s));
    EXPECT_STREQ(s, "lines32.ibs");
    ASSERT_TRUE(HDR_GetFile_Rev(h, &s));
    EXPECT_STREQ(s, "1.0");
    EXPECT_FALSE(HDR_GetDate(h, &s));
    EXPECT_EQ(s, nullptr);
    EXPECT_FALSE(HDR_GetSource(h, &s));
    ASSERT_TRUE(HDR_GetNotes(h, &s));
    EXPECT_STREQ(s, "first line\n[not a keyword] in notes\n[Date] indented");
    ASSERT_TRUE(HDR_GetDisclaimer(h, &s));
    EXPECT_STREQ(s, "none");
    ASSERT_TRUE(HDR_GetCopyright(h, &s));
    EXPECT_STREQ(s, "me\n[Source] indented");
    FINI();

    path = std::string(IBIS_FIXTURES) + "/hdrdup.ibs";
    ASSERT_TRUE(INIT());
    ASSERT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
    ASSERT_TRUE(IBIS_GetIBIS(&ibis));
    ASSERT_TRUE(IBIS_GetHdrs(ibis, &h));
    ASSERT_TRUE(HDR_GetDisclaimer(h, &s));
    EXPECT_STREQ(s, "one\ntwo");
    ASSERT_TRUE(HDR_GetNotes(h, &s));
    EXPECT_STREQ(s, "n");
    ASSERT_TRUE(HDR_GetFile_Rev(h, &s));
    EXPECT_STREQ(s, "1.0");
    ASSERT_TRUE(HDR_GetDate(h, &s));
    EXPECT_STREQ(s, "a");
    FINI();
}

TEST_F(ReaderFiles, HeaderTextsJoinEveryLine)
{
    // An empty keyword line still gives the text its (empty) first line.
    std::string text = "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Notes]\n";
    std::string want;
    for (int i = 0; i < 20000; i++) {
        std::string row = "note row " + std::to_string(i);
        text += row + "\n";
        want += "\n" + row;
    }
    text += "[Source] s1\n s2\n[End]\n";
    std::string path = Write("t.ibs", text);
    LogCapture log;
    ASSERT_TRUE(INIT());
    ASSERT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
    HeaderRecord* h = nullptr;
    ASSERT_TRUE(IBIS_GetHdrs(gpIbis, &h));
    EXPECT_EQ(std::string(h->Notes), want);
    EXPECT_STREQ(h->Source, "s1\ns2");
    FINI();
    EXPECT_EQ(log.Take(), "Errors  : 0\n\nFile Passed\n");
}

struct GateCase {
    const char* value;
    int any, old1x;
    int version;  // expected; -1: unchanged
    const char* message;
};

TEST(HeaderVersionGate, AcceptedAndRefusedValues)
{
    const GateCase cases[] = {
        {"3.2", 0, 0, 3, ""},
        {"2.0", 0, 0, 2, ""},
        {"5.0", 0, 0, 5, ""},
        {"3.3", 0, 0, -1, "E1008 (line    9) - Illegal IBIS_Version '3.3'.\n"},
        {"5.1", 0, 0, -1, "E1008 (line    9) - Illegal IBIS_Version '5.1'.\n"},
        {"2.0a", 0, 0, -1, "E1008 (line    9) - Illegal IBIS_Version '2.0a'.\n"},
        {"4", 0, 0, -1, "E1008 (line    9) - Illegal IBIS_Version '4'.\n"},
        {"1.1", 0, 0, -1, "E1008 (line    9) - Illegal IBIS_Version '1.1'.\n"},
        {"1.1", 0, 1, 1, ""},
        {"9.9", 1, 0, 5, ""},
        {"", 1, 0, 5, "E1913 (line    9) - Zero length value for keyword 'IBIS_Version'.\n"},
        {"", 0, 0, -1, "E1913 (line    9) - Zero length value for keyword 'IBIS_Version'.\n"},
    };
    LogCapture log;
    PARSE_SetPosition(nullptr, 9);
    for (const GateCase& c : cases) {
        ASSERT_TRUE(INIT());
        HDR_AllowAnyVersion(c.any);
        HDR_Allow1xVersions(c.old1x);
        geFileVersion = 7;
        HDR_Init();
        std::string line = std::string("[IBIS Ver] ") + c.value;
        HDR_ReceiveLine(PARSE_LINE_KEYWORD, KW_IBIS_VER, &line[0]);
        EXPECT_EQ(geFileVersion, c.version < 0 ? 7 : c.version) << c.value;
        EXPECT_EQ(log.Take(), c.message) << c.value;
        HDR_Reset();
        IBIS* ibis = nullptr;
        ASSERT_TRUE(IBIS_GetIBIS(&ibis));
        IBIS_Free(ibis);
    }
    HDR_AllowAnyVersion(0);
    HDR_Allow1xVersions(0);
}

TEST(Container, StackAndGetters)
{
    ASSERT_EQ(gpIbis, nullptr);
    IBIS* out = reinterpret_cast<IBIS*>(0x1);
    EXPECT_FALSE(IBIS_GetIBIS(&out));
    ASSERT_TRUE(INIT());
    IBIS* first = gpIbis;
    ASSERT_TRUE(INIT());
    IBIS* second = gpIbis;
    EXPECT_EQ(second->next, first);
    HeaderRecord* h = reinterpret_cast<HeaderRecord*>(0x1);
    EXPECT_FALSE(IBIS_GetHdrs(second, &h));
    EXPECT_EQ(h, reinterpret_cast<HeaderRecord*>(0x1));
    ComponentRecord* c = nullptr;
    EXPECT_FALSE(IBIS_GetCmpnts(second, &c));
    ModelRecord* m = nullptr;
    EXPECT_FALSE(IBIS_GetMdls(second, &m));

    // Adding pushes at the head: the list is newest first.
    HeaderRecord* a = (HeaderRecord*)calloc(1, sizeof(HeaderRecord));
    HeaderRecord* b = (HeaderRecord*)calloc(1, sizeof(HeaderRecord));
    IBIS_AddHdr(second, a);
    IBIS_AddHdr(second, b);
    ASSERT_TRUE(IBIS_GetHdrs(second, &h));
    EXPECT_EQ(h, b);
    EXPECT_EQ(b->next, a);

    LogCapture log;
    FINI();
    EXPECT_EQ(gpIbis, first);
    // A container deeper in the stack is unlinked where it stands.
    ASSERT_TRUE(INIT());
    IBIS* third = gpIbis;
    IBIS_Free(first);
    EXPECT_EQ(gpIbis, third);
    EXPECT_EQ(third->next, nullptr);
    FINI();
    EXPECT_EQ(gpIbis, nullptr);
    // Without a container the totals are still written.
    FINI();
    EXPECT_EQ(log.Take(), "Errors  : 0\n\nFile Passed\n"
                          "Errors  : 0\n\nFile Passed\n"
                          "Errors  : 0\n\nFile Passed\n");
    (TEST)(FILE_PKG, 0);
    (TEST)(FILE_IBS, 0);
    EXPECT_EQ(log.Take(), "");
}

TEST(Container, TotalsCountTheirOwnPass)
{
    LogCapture log;
    unsigned long b0, e0, w0;
    ERRLOG_GetCounts(&b0, &e0, &w0);
    ASSERT_TRUE(INIT());
    ERRLOG_ErrorNew(903);
    ASSERT_TRUE(INIT());  // a nested pass
    ERRLOG_WarnNew(901, "X.ibs");
    FINI();
    FINI();
    ASSERT_TRUE(INIT());
    FINI();
    EXPECT_EQ(log.Take(),
              "E0903 - Required keyword 'End' not found.\n"
              "W0901 - Filename 'X.ibs' should be lowercase\n"
              "\nErrors  : 0\nWarnings: 1\n\nFile Passed\n"
              "\nErrors  : 1\nWarnings: 1\n\nFile Failed\n"
              "Errors  : 0\n\nFile Passed\n");
    // The process-wide counters keep counting every message.
    unsigned long b1, e1, w1;
    ERRLOG_GetCounts(&b1, &e1, &w1);
    EXPECT_EQ(b1 - b0, 0u);
    EXPECT_EQ(e1 - e0, 1u);
    EXPECT_EQ(w1 - w0, 1u);
}

TEST(StringLists, OrderUniqueAndFind)
{
    const char* a = "a";
    const char* b = "b";
    const char* c = "c";
    STR_LIST* list = nullptr;
    list = STR_LIST_add(list, a);
    list = STR_LIST_add(list, b);
    list = STR_LIST_add(list, c);
    EXPECT_STREQ(STR_LIST_string(list), "c");
    EXPECT_STREQ(STR_LIST_string(STR_LIST_next(list)), "b");
    EXPECT_STREQ(STR_LIST_string(STR_LIST_next(STR_LIST_next(list))), "a");
    EXPECT_EQ(STR_LIST_next(STR_LIST_next(STR_LIST_next(list))), nullptr);
    std::string again = "b";  // same text, other storage
    EXPECT_EQ(STR_LIST_add_unique(list, again.c_str()), list);
    STR_LIST* grown = STR_LIST_add_unique(list, "A");
    EXPECT_NE(grown, list);
    EXPECT_TRUE(STR_LIST_find(grown, "A"));
    EXPECT_FALSE(STR_LIST_find(grown, "B"));
    EXPECT_FALSE(STR_LIST_find(nullptr, "a"));
    EXPECT_EQ(STR_LIST_next(nullptr), nullptr);
    EXPECT_EQ(STR_LIST_string(nullptr), nullptr);
    STR_LIST_free(grown);
    STR_LIST_free(nullptr);

    STR_LIST* more = STR_LIST_add_list(nullptr, "x", "y", "z", (const char*)nullptr);
    EXPECT_STREQ(STR_LIST_string(more), "z");
    EXPECT_STREQ(STR_LIST_string(STR_LIST_next(STR_LIST_next(more))), "x");
    STR_LIST_free(more);
}

TEST(StringLists, CountingTable)
{
    LogCapture log;
    STR_INT_init();
    STR_INT_incr("x");
    STR_INT_incr("x");
    STR_INT_incr("y");
    EXPECT_EQ(STR_INT_value("x"), 2);
    EXPECT_EQ(STR_INT_value("y"), 1);
    EXPECT_EQ(log.Take(), "");
    EXPECT_EQ(STR_INT_value("z"), 0);
    EXPECT_NE(log.Take().find("B2101 - Should not be here IbisParser/string "), std::string::npos);
    // A table full of distinct names refuses a further one, with a message.
    static char names[31][4];
    STR_INT_init();
    for (int i = 0; i < 31; i++) {
        snprintf(names[i], sizeof names[i], "n%d", i);
        STR_INT_incr(names[i]);
    }
    EXPECT_EQ(STR_INT_cnt, 30);
    EXPECT_NE(log.Take().find("B2101 - "), std::string::npos);
    EXPECT_EQ(STR_INT_value("n29"), 1);
    STR_INT_incr("n0");
    EXPECT_EQ(STR_INT_value("n0"), 2);
    STR_INT_init();
    EXPECT_EQ(STR_INT_cnt, 0);
}

}  // namespace
