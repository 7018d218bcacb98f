// Component and model-selector look-ups that answer through indexes: the
// answers stay those of a walk (first match, misses, case, selectors against
// models, differential pins over several components, the marks the walk
// leaves), and a selector that lists a model again is reported once per
// repeated line.  Whole outputs are written from the message formats.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <string>

#include "checker_run.h"
#include "cmn.h"
#include "cmpnt.h"
#include "component_read.h"
#include "ibis.h"
#include "mdl.h"
#include "msel.h"
#include "parse.h"

namespace {

const char* const kHead = "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1.0\n";

// An Input model that the model checks pass without a message.
std::string InputModel(const char* name)
{
    return std::string("[Model] ") + name +
           "\nModel_type Input\nC_comp 1p NA NA\nVinl = 0.8\nVinh = 2.0\n"
           "[Voltage Range] 3.3 NA NA\n";
}

// The lines between the three header lines and [End], and the whole output
// of -n -c.
struct FileCase {
    const char* name;
    std::string body;
    const char* expected;
};

class WholeOutput : public CheckerTempDir {
protected:
    void Check(const FileCase& c, const char* head = kHead)
    {
        SCOPED_TRACE(c.name);
        Write("t.ibs", head + c.body + "[End]\n");
        CheckerRun r = RunChecker(dir_, "-n -c t.ibs");
        EXPECT_EQ(r.out, c.expected);
        EXPECT_EQ(r.status, 1);
    }
};

// ---------------------------------------------------------------------------
// 4025: a model listed again in a selector is reported at each repeated line,
// once, whatever the number of earlier lines that list it.

TEST_F(WholeOutput, SelectorListingAModelAgainIsReportedOncePerRepeatedLine)
{
    const FileCase cases[] = {
        {"TwoEqualEntries", "[Model Selector] s\nm first\nm second\n" + InputModel("m"), R"(
Checking t.ibs for IBIS 4.2 Compatibility...

E4025 (line    6) - Model 'm'. already used in this Model Selector
E3951 - Required keyword 'Component' not found.

Errors  : 2

File Failed
)"},
        {"ThreeEqualEntries", "[Model Selector] s\nm first\nm second\nm third\n" + InputModel("m"),
         R"(
Checking t.ibs for IBIS 4.2 Compatibility...

E4025 (line    6) - Model 'm'. already used in this Model Selector
E4025 (line    7) - Model 'm'. already used in this Model Selector
E3951 - Required keyword 'Component' not found.

Errors  : 3

File Failed
)"},
        {"FiveEqualEntries",
         "[Model Selector] s\nm 1\nm 2\nm 3\nm 4\nm 5\n" + InputModel("m"), R"(
Checking t.ibs for IBIS 4.2 Compatibility...

E4025 (line    6) - Model 'm'. already used in this Model Selector
E4025 (line    7) - Model 'm'. already used in this Model Selector
E4025 (line    8) - Model 'm'. already used in this Model Selector
E4025 (line    9) - Model 'm'. already used in this Model Selector
E3951 - Required keyword 'Component' not found.

Errors  : 5

File Failed
)"},
        // Two names in turn: each line names only its own model.
        {"InterleavedNames",
         "[Model Selector] s\nm 1\nn 2\nm 3\nn 4\nm 5\n" + InputModel("m") + InputModel("n"), R"(
Checking t.ibs for IBIS 4.2 Compatibility...

E4025 (line    7) - Model 'm'. already used in this Model Selector
E4025 (line    8) - Model 'n'. already used in this Model Selector
E4025 (line    9) - Model 'm'. already used in this Model Selector
E3951 - Required keyword 'Component' not found.

Errors  : 4

File Failed
)"},
        // Names compare with case; M is no model of the file.
        {"CaseMatters", "[Model Selector] s\nm 1\nM 2\nm 3\nM 4\nM 5\n" + InputModel("m"), R"(
Checking t.ibs for IBIS 4.2 Compatibility...

E4025 (line    7) - Model 'm'. already used in this Model Selector
E4025 (line    8) - Model 'M'. already used in this Model Selector
E4025 (line    9) - Model 'M'. already used in this Model Selector
E4024 - Model 'M' in Model Selector 's' is not defined in the file
E4024 - Model 'M' in Model Selector 's' is not defined in the file
E4024 - Model 'M' in Model Selector 's' is not defined in the file
E3951 - Required keyword 'Component' not found.

Errors  : 7

File Failed
)"},
        // Each selector counts its own lines.
        {"CountedPerSelector",
         "[Model Selector] s1\nm 1\nm 2\nm 3\n[Model Selector] s2\nm 1\nm 2\n" + InputModel("m"),
         R"(
Checking t.ibs for IBIS 4.2 Compatibility...

E4025 (line    6) - Model 'm'. already used in this Model Selector
E4025 (line    7) - Model 'm'. already used in this Model Selector
E4025 (line   10) - Model 'm'. already used in this Model Selector
E3951 - Required keyword 'Component' not found.

Errors  : 4

File Failed
)"},
        // Names cut to 40 characters are compared as cut.
        {"NamesComparedAsCut",
         "[Model Selector] s\nabcdefghijabcdefghijabcdefghijabcdefghijX 1\n"
         "abcdefghijabcdefghijabcdefghijabcdefghijY 2\n"
         "abcdefghijabcdefghijabcdefghijabcdefghijZ 3\n" +
             InputModel("abcdefghijabcdefghijabcdefghijabcdefghij"),
         R"(
Checking t.ibs for IBIS 4.2 Compatibility...

E4017 (line    5) - Model Name Over 40 Characters Long
E4017 (line    6) - Model Name Over 40 Characters Long
E4025 (line    6) - Model 'abcdefghijabcdefghijabcdefghijabcdefghij'. already used in this Model Selector
E4017 (line    7) - Model Name Over 40 Characters Long
E4025 (line    7) - Model 'abcdefghijabcdefghijabcdefghijabcdefghij'. already used in this Model Selector
E3951 - Required keyword 'Component' not found.

Errors  : 6

File Failed
)"},
    };
    for (const FileCase& c : cases) Check(c);
}

// ---------------------------------------------------------------------------
// The marks that the differential-pin look-up leaves on selectors.  The
// selector check visits sA (the newest) first: its first model is undefined,
// so sA ends single-ended, though its second model is reached through sA on
// the [Diff Pin] row (4022); that look-up walked past sA's only pin on a
// row.  Whether sA is marked differential again depends on how far the
// look-ups of sB's models walk the rows: past sA's pin, and pin 3, which
// names sA from no [Diff Pin] row, is cautioned (609); stopped before it by
// a pin that names sB's model itself, and nothing more is said.

std::string SelectorComponent(const char* diffRows, const char* extraPins)
{
    return std::string("[Component] c\n[Manufacturer] M\n[Package]\nR_pkg 0.1 NA NA\n"
                       "L_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n"
                       "1 a sA\n2 b GND\n3 c sA\n") +
           extraPins + "[Diff Pin] inv_pin vdiff tdelay_typ\n" + diffRows;
}

TEST_F(WholeOutput, SelectorMarksFollowTheRowsTheLookUpWalks)
{
    const FileCase cases[] = {
        {"WalkPassesTheSelectorAgain",
         SelectorComponent("1 2 0.1 1n\n", "") +
             "[Model Selector] sB\nm2 second\nm3 third\n"
             "[Model Selector] sA\nnomodel undefined\nm1 first\n" +
             InputModel("m1") + InputModel("m2") + InputModel("m3"),
         R"(
Checking t.ibs for IBIS 4.2 Compatibility...

E4024 - Model 'nomodel' in Model Selector 'sA' is not defined in the file
)"
         // The message text ends in a blank.
         "W4022 - Model m1 in Model Selector sA is Differential, but this Model Selector contains "
         "Single Ended models too \n"
         R"(C0609 - Pin 3 is not defined as a Diff Pin though the associated Model Selector sA was determined to be Differential

Errors  : 1
Warnings: 1
Cautions: 1

File Failed
)"},
        {"WalkStopsBeforeTheSelector",
         SelectorComponent("4 5 0.1 1n\n1 2 0.1 1n\n", "4 d m2\n5 e GND\n") +
             "[Model Selector] sB\nm2 second\n"
             "[Model Selector] sA\nnomodel undefined\nm1 first\n" +
             InputModel("m1") + InputModel("m2"),
         R"(
Checking t.ibs for IBIS 4.2 Compatibility...

W4006 - Model Selector: 'sB' has only one model defined
E4024 - Model 'nomodel' in Model Selector 'sA' is not defined in the file
)"
         // The message text ends in a blank.
         "W4022 - Model m1 in Model Selector sA is Differential, but this Model Selector contains "
         "Single Ended models too \n"
         R"(
Errors  : 1
Warnings: 2

File Failed
)"},
    };
    for (const FileCase& c : cases) Check(c);
}

// ---------------------------------------------------------------------------
// [Series Pin Mapping] rows of two components naming one selector with the
// same group, defined only in the newer component: what a selector lists is
// worked out once, the group's verdict per component (components are
// checked newest first).

TEST_F(WholeOutput, SeriesRowsThroughOneSelectorInTwoComponents)
{
    const std::string component =
        "[Manufacturer] M\n[Package]\nR_pkg 0.1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
        "[Pin] signal_name model_name\n1 a GND\n2 b GND\n";
    const std::string rows =
        "[Series Pin Mapping] pin_2 model_name function_table_group\n1 2 ssel G1\n";
    const FileCase c = {
        "GroupDefinedInOneComponent",
        "[Component] old\n" + component + rows + "[Component] new\n" + component +
            "[Series Switch Groups]\nOn G1 /\n" + rows +
            "[Model Selector] ssel\nser series\nsw switch\n"
            "[Model] ser\nModel_type Series\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n"
            "[R Series] 1 1 1\n"
            "[Model] sw\nModel_type Series_switch\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n"
            "[On]\n[R Series] 1 1 1\n[Off]\n[R Series] 1 1 1\n",
        R"(
Checking t.ibs for IBIS 4.2 Compatibility...

W2624 - Component 'new': [Series Pin Mapping] Model Selector 'ssel' Model 'ser' is of type Series so function_table_group 'G1' is ignored.
W2624 - Component 'old': [Series Pin Mapping] Model Selector 'ssel' Model 'ser' is of type Series so function_table_group 'G1' is ignored.
E2628 - Component 'old': [Series Pin Mapping] Model Selector 'ssel' Model 'sw' uses function G1 which is not defined.

Errors  : 1
Warnings: 2

File Failed
)"};
    Check(c);
}

// ---------------------------------------------------------------------------
// [Series Switch Groups]: a group read over several lines is one group,
// linked once (so each unused name is warned once), and its names are
// compared within the group only.

TEST_F(WholeOutput, SwitchGroupOverSeveralLinesIsOneGroup)
{
    const FileCase c = {
        "GroupOverThreeLines",
        "[Component] c\n[Manufacturer] M\n[Package]\nR_pkg 0.1 NA NA\nL_pkg 1n NA NA\n"
        "C_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a GND\n2 b GND\n"
        "[Series Switch Groups]\nOn A\nB A\nA /\nOff A /\n",
        R"(
Checking t.ibs for IBIS 4.2 Compatibility...

E2506 (line   15) - Duplicate Series switch Group name 'A'
E2506 (line   16) - Duplicate Series switch Group name 'A'
W2507 - Component 'c': Series switch Group name 'A' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 'c': Series switch Group name 'B' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 'c': Series switch Group name 'A' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 'c': Series switch Group name 'A' is not used by any [Series Pin Mapping] function_table_group
W2507 - Component 'c': Series switch Group name 'A' is not used by any [Series Pin Mapping] function_table_group

Errors  : 2
Warnings: 5

File Failed
)"};
    Check(c);
}

// ---------------------------------------------------------------------------
// [Pin Domain EMI]: a name is redefined only by a line after one that was
// kept; names are compared as cut to 20 characters; a second keyword starts
// a new list.

TEST_F(WholeOutput, PinDomainNamesRedefined)
{
    const FileCase c = {
        "KeptCutAndRestarted",
        "[Component] c\n[Manufacturer] M\n[Package]\nR_pkg 0.1 NA NA\nL_pkg 1n NA NA\n"
        "C_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a m\n"
        "[Begin EMI Component]\n[Pin EMI] domain_name clock_div\n1 D1 1\n"
        "[Pin Domain EMI] percentage\nD1 50\nD1 10\nD2 abc\nD2 20\n"
        "abcdefghijabcdefghijX 5\nabcdefghijabcdefghijY 5\nD2 20\n"
        "[Pin Domain EMI] percentage\nD1 50\nD1 10\n[End EMI Component]\n" +
            InputModel("m"),
        R"(
Checking t.ibs for IBIS 5.0 Compatibility...

E4727 (line   17) - domain_name 'D1' is redefined
E4728 (line   18) - Invalid percentage 'abc'. Invalid Number
E1912 (line   20) - domain_name string 'abcdefghijabcdefghijX' is too long, truncating to 20 characters.
E4727 (line   21) - domain_name 'abcdefghijabcdefghijY' is redefined
E4727 (line   22) - domain_name 'D2' is redefined
E4724 (line   23) - [Pin Domain EMI]: Already Defined for this EMI Component
E4727 (line   25) - domain_name 'D1' is redefined

Errors  : 7

File Failed
)"};
    Check(c, "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1.0\n");
}

// ---------------------------------------------------------------------------
// In process: the answers of the look-ups themselves.

class Lookups : public ComponentRead {
protected:
    void SetUp() override
    {
        ComponentRead::SetUp();
        char tmpl[] = "/tmp/cmpnt_idx_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override
    {
        ComponentRead::TearDown();
        (void)system(("rm -rf '" + dir_ + "'").c_str());
    }
    void ReadText(const std::string& body)
    {
        std::string path = dir_ + "/t.ibs";
        std::ofstream(path) << kHead << body << "[End]\n";
        EXPECT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
    }
    std::string dir_;
};

// Selectors by name: the newest of a name, exact names only; a list that is
// not the container's (the older selectors) is searched as given.
TEST_F(Lookups, SelectorsByName)
{
    ReadText("[Model Selector] a\nx 1\ny 1\n[Model Selector] b\ny 1\nx 1\n"
             "[Model Selector] a\nz 1\ny 1\n");
    EXPECT_EQ(log.Take(), "E4014 (line   10) - Model Selector Name Previously Defined (\"a\")\n");
    ModelSelectorRecord* head = gpIbis->modelSelectors;
    ASSERT_NE(head, nullptr);
    struct Row {
        const char* name;
        ModelSelectorRecord* list;
        const char* firstModel;   // of the selector found, or null for none
    };
    const Row rows[] = {
        {"a", head, "z"},      {"b", head, "y"},         {"a", head->next, "x"},
        {"A", head, nullptr},  {"c", head, nullptr},     {"", head, nullptr},
        {"b", head->next->next, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ModelSelectorRecord* s = MSEL_FindMsel(r.name, r.list);
        EXPECT_EQ(MSEL_NameExists(r.name, r.list), r.firstModel != nullptr);
        if (r.firstModel == nullptr) {
            EXPECT_EQ(s, nullptr);
            continue;
        }
        ASSERT_NE(s, nullptr);
        EXPECT_STREQ(s->name, r.name);
        ASSERT_NE(s->models, nullptr);
        EXPECT_STREQ(s->models->name, r.firstModel);
        if (r.list == head) {
            EXPECT_EQ(CMPNT_FindMsel(r.name), s);
        }
    }
    // The models of a selector one by one, in file order.
    ModelSelectorEntry* e = nullptr;
    EXPECT_STREQ(CMPNT_MselNextModel(head, &e), "z");
    EXPECT_STREQ(CMPNT_MselNextModel(head, &e), "y");
    EXPECT_EQ(CMPNT_MselNextModel(head, &e), nullptr);
}

// [Diff Pin] rows over two components: the newer component is visited
// first, rows in file order, the pin column before the inv_pin column, and a
// row names the first pin of its name.  Pin 7 is given twice: the row finds
// the first, model m.
const char* const kTwoComponents =
    "[Component] c1\n[Manufacturer] M\n[Pin] signal_name model_name\n3 a n\n4 b GND\n"
    "[Diff Pin] inv_pin vdiff tdelay_typ\n3 4 0.1 1n\n"
    "[Component] c2\n[Manufacturer] M\n[Pin] signal_name model_name\n5 a GND\n6 b sel\n"
    "7 c m\n7 d x\n[Diff Pin] inv_pin vdiff tdelay_typ\n7 5 0.1 1n\n5 6 0.1 1n\n"
    "[Model Selector] sel\nx first\nm second\n";

TEST_F(Lookups, DifferentialPinsOverComponents)
{
    ReadText(std::string(kTwoComponents) + InputModel("m") + InputModel("n") + InputModel("x") +
             InputModel("z"));
    log.Take();
    ModelSelectorRecord* sel = gpIbis->modelSelectors;
    ASSERT_NE(sel, nullptr);
    struct Row {
        const char* model;
        int differential;
        const char* pin;         // its name, and its component
        const char* component;
        int selectorAfter;       // the selector's state after the answer
    };
    // The walk's marks: m stops before sel's pin; x stops at it; n passes
    // it; z passes everything.  Between rows the selector is set back to
    // single-ended, as the selector check does.
    const Row rows[] = {
        {"m", 1, "7", "c2", 1}, {"x", 1, "6", "c2", 0}, {"m", 1, "7", "c2", 1},
        {"n", 1, "3", "c1", 0}, {"z", 0, nullptr, nullptr, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.model);
        CMPNT_SetMselSingleEnded(sel, 1);
        ModelRecord* m = MDL_FindModel(r.model, gpIbis->models);
        ASSERT_NE(m, nullptr);
        PinRecord* pin = nullptr;
        EXPECT_EQ(CMPNT_IsDifferentialPinModel(m, &pin), r.differential);
        EXPECT_EQ(sel->singleEnded, r.selectorAfter);
        if (r.pin == nullptr) {
            EXPECT_EQ(pin, nullptr);
            EXPECT_EQ(m->singleEnded, 2);
            continue;
        }
        EXPECT_EQ(m->singleEnded, 0);
        ComponentRecord* c = Find(r.component);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(pin, PIN_FindPin(c->pins, r.pin));
    }
}

// A pin whose model name is both a model and a selector: the model itself
// is matched before the selector is met, so the selector stays unmarked;
// a model that the selector lists is matched through it, which marks it.
TEST_F(Lookups, PinNamingAModelThatIsAlsoASelector)
{
    ReadText("[Component] c\n[Manufacturer] M\n[Pin] signal_name model_name\n1 a dual\n"
             "2 b GND\n[Diff Pin] inv_pin vdiff tdelay_typ\n1 2 0.1 1n\n"
             "[Model Selector] dual\ny first\nz second\n" +
             InputModel("dual") + InputModel("y") + InputModel("z"));
    log.Take();
    ModelSelectorRecord* sel = gpIbis->modelSelectors;
    ASSERT_NE(sel, nullptr);
    ComponentRecord* c = Find("c");
    ASSERT_NE(c, nullptr);
    PinRecord* pin = nullptr;
    EXPECT_EQ(CMPNT_IsDifferentialPinModel(MDL_FindModel("dual", gpIbis->models), &pin), 1);
    EXPECT_EQ(pin, c->pins);
    EXPECT_EQ(sel->singleEnded, 2);
    pin = nullptr;
    EXPECT_EQ(CMPNT_IsDifferentialPinModel(MDL_FindModel("z", gpIbis->models), &pin), 1);
    EXPECT_EQ(pin, c->pins);
    EXPECT_EQ(sel->singleEnded, 0);
}

// A component added after the first answer comes first in the walk.
TEST_F(Lookups, ComponentAddedAfterAnAnswer)
{
    ReadText(std::string(kTwoComponents) + InputModel("m") + InputModel("n") + InputModel("x"));
    log.Take();
    ModelRecord* n = MDL_FindModel("n", gpIbis->models);
    ASSERT_NE(n, nullptr);
    PinRecord* pin = nullptr;
    EXPECT_EQ(CMPNT_IsDifferentialPinModel(n, &pin), 1);
    ASSERT_NE(pin, nullptr);
    EXPECT_STREQ(pin->pinName, "3");

    ComponentRecord* c = (ComponentRecord*)calloc(1, sizeof(ComponentRecord));
    PinRecord* p9 = (PinRecord*)calloc(1, sizeof(PinRecord));
    PinRecord* p10 = (PinRecord*)calloc(1, sizeof(PinRecord));
    DiffPinRecord* row = (DiffPinRecord*)calloc(1, sizeof(DiffPinRecord));
    ASSERT_TRUE(c && p9 && p10 && row);
    strcpy(c->name, "c3");
    strcpy(p9->pinName, "9");
    strcpy(p9->modelName, "GND");
    strcpy(p10->pinName, "10");
    strcpy(p10->modelName, "n");
    p9->next = p10;
    c->pins = p9;
    strcpy(row->pinName, "9");
    strcpy(row->invPinName, "10");
    c->diffPins = row;
    IBIS_AddCmpnt(gpIbis, c);

    pin = nullptr;
    EXPECT_EQ(CMPNT_IsDifferentialPinModel(n, &pin), 1);
    EXPECT_EQ(pin, p10);
}

} // namespace
