// Submodels, test loads and test data found by name through their
// container's index: the newest record of a name, exact names, misses, and
// records pushed after a look-up.  Whole checker runs show the repeated
// names reported once per repeat and the checks using the newest record.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "checker_run.h"
#include "errlog.h"
#include "ibis.h"
#include "log_capture.h"
#include "parse.h"
#include "submdl.h"
#include "testdata.h"
#include "testload.h"

namespace {

// Each record carries its name and a tag (the submodel's type, the test
// load's type) that tells equal names apart.
template <class R>
R* Make(const char* name)
{
    R* r = (R*)calloc(1, sizeof(R));
    strcpy(r->name, name);
    return r;
}

class ContainerLookUp : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(IBIS_New()); ibis_ = gpIbis; }
    void TearDown() override
    {
        if (gpIbis == ibis_) IBIS_Free(ibis_);
    }
    void AddLoad(const char* name, int tag)
    {
        TestLoadRecord* t = Make<TestLoadRecord>(name);
        t->Test_load_type = tag;
        IBIS_AddTestLoad(ibis_, t);
    }
    void AddSub(const char* name, int tag)
    {
        SubmodelRecord* s = Make<SubmodelRecord>(name);
        s->Submodel_type = tag;
        IBIS_AddSubMdl(ibis_, s);
    }
    void AddData(const char* name, int tag)
    {
        TestDataRecord* t = Make<TestDataRecord>(name);
        t->Test_data_type = tag;
        IBIS_AddTestData(ibis_, t);
    }
    // The tag of the record each look-up finds, 0 for none; the test data
    // answer only whether the name is there.
    void Expect(const char* name, int tag)
    {
        SCOPED_TRACE(std::string("name '") + name + "'");
        const TestLoadRecord* l = TESTLOAD_Find(name, ibis_->testLoads);
        const SubmodelRecord* s = SUBMDL_NameExists(ibis_->submodels, name);
        EXPECT_EQ(l ? l->Test_load_type : 0, tag);
        EXPECT_EQ(s ? s->Submodel_type : 0, tag);
        EXPECT_EQ(TESTLOAD_NameExists(name, ibis_->testLoads), tag != 0);
        EXPECT_EQ(TESTDATA_NameExists(name, ibis_->testData), tag != 0);
        if (l != nullptr) {
            EXPECT_STREQ(l->name, name);
        }
        if (s != nullptr) {
            EXPECT_STREQ(s->name, name);
        }
    }
    void AddAll(const char* name, int tag)
    {
        AddLoad(name, tag);
        AddSub(name, tag);
        AddData(name, tag);
    }
    IBIS* ibis_ = nullptr;
};

// Records are pushed in steps with look-ups between them: each look-up
// gives the newest record of the name among those pushed so far, as a walk
// from the head of the list would.
TEST_F(ContainerLookUp, NewestRecordOfANameAmongThosePushedSoFar)
{
    struct Step {
        const char* push;   // null: nothing pushed before the look-ups
        int tag;
        std::vector<std::pair<const char*, int>> finds;
    };
    const Step steps[] = {
        {nullptr, 0, {{"a", 0}, {"", 0}}},
        {"a", 1, {{"a", 1}, {"A", 0}, {"b", 0}}},
        {"b", 2, {{"a", 1}, {"b", 2}, {"ab", 0}}},
        {"a", 3, {{"a", 3}, {"b", 2}, {"a ", 0}}},
        {"A", 4, {{"a", 3}, {"A", 4}}},
        {"a", 5, {{"a", 5}, {"A", 4}, {"b", 2}}},
        {"", 6, {{"", 6}, {"a", 5}}},
        {"b", 7, {{"b", 7}, {"a", 5}, {"c", 0}}},
    };
    for (const Step& st : steps) {
        if (st.push != nullptr) AddAll(st.push, st.tag);
        for (const auto& f : st.finds) Expect(f.first, f.second);
    }
}

// A look-up of a list that is no container's list (one built by hand, or
// the tail of a container's list) walks it: the newest record of that list.
TEST_F(ContainerLookUp, ListsOutsideTheContainerAreWalked)
{
    AddAll("x", 1);
    AddAll("y", 2);
    AddAll("x", 3);
    Expect("x", 3);   // the container's index is made now
    // The tail behind the newest "x" holds the older "x".
    const TestLoadRecord* older = TESTLOAD_Find("x", ibis_->testLoads->next);
    ASSERT_NE(older, nullptr);
    EXPECT_EQ(older->Test_load_type, 1);
    const SubmodelRecord* olderSub = SUBMDL_NameExists(ibis_->submodels->next, "x");
    ASSERT_NE(olderSub, nullptr);
    EXPECT_EQ(olderSub->Submodel_type, 1);
    EXPECT_EQ(TESTDATA_NameExists("x", ibis_->testData->next->next), 1);
    EXPECT_EQ(TESTDATA_NameExists("x", ibis_->testData->next->next->next), 0);
    EXPECT_EQ(TESTLOAD_Find("y", ibis_->testLoads->next->next), nullptr);

    // A list of its own, newest first.
    TestLoadRecord* own = nullptr;
    for (int k = 1; k <= 3; k++) {
        TestLoadRecord* t = Make<TestLoadRecord>(k == 2 ? "q" : "p");
        t->Test_load_type = k;
        TESTLOAD_AddLink(t, own);
        own = t;
    }
    const TestLoadRecord* p = TESTLOAD_Find("p", own);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Test_load_type, 3);
    EXPECT_EQ(TESTLOAD_Find("x", own), nullptr);
    TESTLOAD_FreeList(own);
    // The container's own answer is unchanged.
    Expect("x", 3);
    Expect("p", 0);
}

// A whole file read in process: the look-ups after the read find the newest
// record of each name, including one read after the records that use it.
class ReadLookUp : public ::testing::Test {
protected:
    void SetUp() override
    {
        PARSE_SuppressBanners(1);
        ASSERT_TRUE(INIT());
    }
    void TearDown() override
    {
        if (gpIbis != nullptr) IBIS_Free(gpIbis);
        PARSE_SuppressBanners(0);
    }
    void Read(const char* name)
    {
        std::string path = std::string(IBIS_FIXTURES) + "/" + name;
        ASSERT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
        log_.Take();
    }
    static int Rows(const CurveRecord* c)
    {
        int n = 0;
        for (const RangePoint* p = c != nullptr ? c->table : nullptr; p != nullptr; p = p->next) n++;
        return n;
    }
    LogCapture log_;
};

TEST_F(ReadLookUp, NewestSubmodelOfEachName)
{
    Read("acdc_subrepeat.ibs");
    struct Row {
        const char* name;
        int clampRows;   // rows of the GND Clamp of the record found, 0 for none
    };
    const Row rows[] = {{"dip", 2}, {"rise", 3}, {"DIP", 0}, {"zz", 0}, {"di", 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const SubmodelRecord* s = SUBMDL_NameExists(gpIbis->submodels, r.name);
        EXPECT_EQ(s == nullptr ? 0 : Rows(s->GND_Clamp), r.clampRows);
    }
}

TEST_F(ReadLookUp, NewestTestLoadOfEachName)
{
    Read("tload_repeat.ibs");
    struct Row {
        const char* name;
        int type;   // Test_load_type of the load found, 0 for none
    };
    const Row rows[] = {{"L", 3}, {"M", 3}, {"m", 2}, {"l", 0}, {"D", 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const TestLoadRecord* l = TESTLOAD_Find(r.name, gpIbis->testLoads);
        EXPECT_EQ(l == nullptr ? 0 : l->Test_load_type, r.type);
    }
    EXPECT_EQ(TESTDATA_NameExists("d", gpIbis->testData), 1);
    EXPECT_EQ(TESTDATA_NameExists("D", gpIbis->testData), 1);
    EXPECT_EQ(TESTDATA_NameExists("E", gpIbis->testData), 0);
}

// Whole checker runs.  Three and four equal names: one message at the line
// of each repeat, however many records of the name came before.
const CheckerCase kCases[] = {
    // The newest "dip" is flat and the newest "rise" falls and rises: only
    // a2's combined clamps are non-monotonic.  zz and DIP are found nowhere.
    {"NewestSubmodelOfTheNameIsCombined", "-n -c acdc_subrepeat.ibs", 1,
     R"(
Checking acdc_subrepeat.ibs for IBIS 5.0 Compatibility...

C0183 - Vmeas is >= Vinh for model a1
C0183 - Vmeas is >= Vinh for model a2
N1110 (line   65) - GND Clamp Typical data is non-monotonic
E2414 (line   71) - SubModel Name Previously Defined ("dip")
N1110 (line   76) - GND Clamp Typical data is non-monotonic
E2414 (line   77) - SubModel Name Previously Defined ("rise")
E2414 (line   82) - SubModel Name Previously Defined ("rise")
N1110 (line   87) - GND Clamp Typical data is non-monotonic
E2414 (line   88) - SubModel Name Previously Defined ("dip")
W1509 - Combined Clamp in Non Driving Mode for Model a2 Typical data is non-monotonic
W1509 -
    Combined Clamp in Driving Mode for Model a2 Typical data is non-monotonic
E0218 - Could not find definition for Submodel DIP of Model a2
E0218 - Could not find definition for Submodel zz of Model a1

Errors  : 6
Warnings: 2
Cautions: 2

File Failed
)"},
    // L four times, M twice, d three times; D, m and l are other names.
    // The test data are checked newest first, each against the newest load
    // of its name: L and M end Differential.
    {"NewestTestLoadOfTheNameIsUsed", "-n -c tload_repeat.ibs", 1,
     R"(
Checking tload_repeat.ibs for IBIS 4.2 Compatibility...

E2212 (line   28) - TestLoad Name Previously Defined ("L")
E2212 (line   30) - TestLoad Name Previously Defined ("L")
E2320 (line   39) - TestData Name Previously Defined ("d")
E2320 (line   46) - TestData Name Previously Defined ("d")
E2212 (line   67) - TestLoad Name Previously Defined ("M")
E2212 (line   69) - TestLoad Name Previously Defined ("L")
W1704 - [Model] drv has no description of the buffer's high state
         DC drive characteristics (no [Pullup] table).  This warning
         can be silenced by using an open drain Model_type or by
         adding a [Pullup] table.
W1705 - [Model] drv has no description of the buffer's low state DC
         drive characteristics (no [Pulldown] table).  This warning
         can be silenced by using an open source Model_type or by
         adding a [Pulldown] table.
E3951 - Required keyword 'Component' not found.
E2344 - Test_data_type in Test Data 'D' is not the same as Test_load_type in referenced Test Load 'M'
E2343 - Test Load 'l' referenced in Test Data 'e' is not defined in the file
E2344 - Test_data_type in Test Data 'd' is not the same as Test_load_type in referenced Test Load 'L'
E2344 - Test_data_type in Test Data 'd' is not the same as Test_load_type in referenced Test Load 'M'

Errors  : 11
Warnings: 2

File Failed
)"},
};

class SubmodelLookUpOutput : public ::testing::TestWithParam<CheckerCase> {};

TEST_P(SubmodelLookUpOutput, WholeOutputAndStatus) { CheckCase(IBIS_FIXTURES, GetParam()); }

INSTANTIATE_TEST_SUITE_P(Fixtures, SubmodelLookUpOutput, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
