// Model selectors, submodels, test data and test loads in process: the
// word-table and name look-ups, the forgetting of every current record at
// the next read, and a real file's submodel through the checker.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "checker_run.h"
#include "cmn.h"
#include "errlog.h"
#include "ibis.h"
#include "log_capture.h"
#include "msel.h"
#include "parse.h"
#include "submdl.h"
#include "subparm.h"
#include "testdata.h"
#include "testload.h"

namespace {

const SUBPARM_ENTRY kTypes[] = {{"Single_ended", 2}, {"Differential", 3}, {"No Type", 1}};
const SUBPARM_ENTRY kSubs[] = {{"V_trigger_r", 1}, {"V_trigger_f", 2}, {"NOT_SUB", 0}};

TEST(KeywordGroupTables, ExactAndCaseOnlyMatches)
{
    struct Row {
        const SUBPARM_ENTRY* table;
        int endId;
        const char* word;
        int id;             // exact match, else the end row's id
        const char* hint;   // spelling when only case differs
    };
    const Row rows[] = {
        {kTypes, 1, "Single_ended", 2, "Single_ended"},
        {kTypes, 1, "Differential", 3, "Differential"},
        {kTypes, 1, "differential", 1, "Differential"},
        {kTypes, 1, "SINGLE_ENDED", 1, "Single_ended"},
        {kTypes, 1, "Single", 1, nullptr},
        // The end row is no word of the table.
        {kTypes, 1, "No Type", 1, nullptr},
        {kSubs, 0, "V_trigger_f", 2, "V_trigger_f"},
        {kSubs, 0, "v_trigger_r", 0, "V_trigger_r"},
        {kSubs, 0, "NOT_SUB", 0, nullptr},
        {kSubs, 0, "", 0, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.word);
        EXPECT_EQ(SUBPARM_Find(r.table, r.endId, r.word), r.id);
        const char* hint = SUBPARM_FindIC(r.table, r.endId, r.word);
        if (r.hint == nullptr)
            EXPECT_EQ(hint, nullptr);
        else
            EXPECT_STREQ(hint, r.hint);
    }
}

// A new record of the given name at the head of the list, linked as the
// container links it.
template <class R>
R* Push(R* head, const char* name, void (*link)(R*, R*))
{
    R* r = (R*)calloc(1, sizeof(R));
    strcpy(r->name, name);
    link(r, head);
    return r;
}

// Lists built as the container builds them: newest first.
TEST(KeywordGroupLookUps, NamesAreExactAndEmptyListsHoldNone)
{
    ModelSelectorRecord* sels = nullptr;
    TestLoadRecord* loads = nullptr;
    TestDataRecord* data = nullptr;
    SubmodelRecord* subs = nullptr;
    for (const char* n : {"alpha", "Beta", "gamma"}) {
        sels = Push(sels, n, MSEL_AddLink);
        loads = Push(loads, n, TESTLOAD_AddLink);
        data = Push(data, n, TESTDATA_AddLink);
        subs = Push(subs, n, SUBMDL_AddLink);
    }
    struct Row {
        const char* name;
        int found;
    };
    const Row rows[] = {{"alpha", 1}, {"Beta", 1}, {"gamma", 1}, {"beta", 0},
                        {"ALPHA", 0}, {"alph", 0},  {"", 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(MSEL_NameExists(r.name, sels), r.found);
        EXPECT_EQ(TESTLOAD_NameExists(r.name, loads), r.found);
        EXPECT_EQ(TESTDATA_NameExists(r.name, data), r.found);
        ModelSelectorRecord* sel = MSEL_FindMsel(r.name, sels);
        const TestLoadRecord* load = TESTLOAD_Find(r.name, loads);
        SubmodelRecord* sub = SUBMDL_NameExists(subs, r.name);
        if (r.found) {
            ASSERT_NE(sel, nullptr);
            EXPECT_STREQ(sel->name, r.name);
            ASSERT_NE(load, nullptr);
            EXPECT_STREQ(load->name, r.name);
            ASSERT_NE(sub, nullptr);
            EXPECT_STREQ(sub->name, r.name);
        } else {
            EXPECT_EQ(sel, nullptr);
            EXPECT_EQ(load, nullptr);
            EXPECT_EQ(sub, nullptr);
        }
        EXPECT_EQ(MSEL_NameExists(r.name, nullptr), 0);
        EXPECT_EQ(TESTLOAD_NameExists(r.name, nullptr), 0);
        EXPECT_EQ(TESTDATA_NameExists(r.name, nullptr), 0);
        EXPECT_EQ(SUBMDL_NameExists(nullptr, r.name), nullptr);
    }
    // The last link is the oldest record.
    ModelSelectorRecord* p = sels;
    EXPECT_EQ(MSEL_GetLastLink(&p), 1);
    EXPECT_STREQ(p->name, "alpha");
    ModelSelectorRecord* none = nullptr;
    EXPECT_EQ(MSEL_GetLastLink(&none), 0);
    EXPECT_EQ(none, nullptr);

    EXPECT_EQ(MSEL_FreeList(sels), 1);
    TESTLOAD_FreeList(loads);
    TESTDATA_FreeList(data);
    SUBMDL_FreeList(subs);
}

// A record left current when its container is freed (an embedding program
// may free it in the middle of a group) is forgotten by the next read: a
// line that then reaches the module outside a group is an orphan and never
// touches the freed record.
TEST(KeywordGroupReset, NextReadForgetsTheRecordOfTheLast)
{
    char tmpl[] = "/tmp/ibisgroups_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string dir = tmpl;
    std::ofstream(dir + "/clean.ibs")
        << "[IBIS Ver] 4.2\n[File Name] clean.ibs\n[File Rev] 1.0\n[End]\n";
    struct Row {
        int openCode;          // the group's opening keyword
        const char* keyword;   // keyword line of the group left open
        int lineCode;          // code of the keyword of that line
        const char* orphan;    // the orphan data line message expected
    };
    const Row rows[] = {
        {KW_MODEL_SELECTOR, "[Model Selector] sel", KW_MODEL_SELECTOR, "E4002"},
        {KW_SUBMODEL, "[Ramp]", KW_SUB_RAMP, "E2403"},
        {KW_TEST_DATA, "[Rising Waveform Near]", KW_RISING_WAVEFORM_NEAR, "E2303"},
        {KW_TEST_LOAD, "[Test Load] tl", KW_TEST_LOAD, "E2203"},
    };
    PARSE_SuppressBanners(1);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.keyword);
        const PARSE_GROUP* g = PARSE_GroupOf(r.openCode);
        ASSERT_NE(g, nullptr);
        LogCapture log;
        ASSERT_TRUE(INIT());
        g->Init();
        char keyword[64];
        snprintf(keyword, sizeof keyword, "%s", r.keyword);
        g->ReceiveLine(PARSE_LINE_KEYWORD, r.lineCode, keyword);
        FINI();
        ASSERT_TRUE(INIT());
        PARSE((dir + "/clean.ibs").c_str(), FILE_IBS);
        log.Take();
        char line[] = "0 0 0 0";
        g->ReceiveLine(PARSE_LINE_DATA, r.lineCode, line);
        EXPECT_EQ(log.Take().substr(0, 5), r.orphan);
        FINI();
    }
    PARSE_SuppressBanners(0);
    (void)system(("rm -rf '" + dir + "'").c_str());
}

#ifdef IBIS_CORPUS
// A file written by others: its [Submodel Spec] follows the submodel's
// tables, and its Dynamic_clamp submodel gives an Off_delay.
TEST(KeywordGroupCorpus, SubmodelOfARealFile)
{
    CheckerRun r = RunChecker(IBIS_CORPUS "/kicad_qa", "-n ibis_v3_2.ibs");
    EXPECT_NE(r.out.find("E2406 (line  324) -\n"
                         "    [Submodel Spec] should be specified before other keywords for a "
                         "model\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("E2433 - Submodel DMySubmodel: [Submodel Spec] Off_delay  cannot be "
                         "specified with Dynamic_clamp submodels\n"),
              std::string::npos);
}
#endif

} // namespace
