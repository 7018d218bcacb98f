// Model look-ups by name, the external circuit lists, the [Add Submodel]
// checks and the repeated Series MOSFET Vds, each where an index or a kept
// tail now answers: in process over files read by the reader, and whole
// checker runs over small fixtures whose expected outputs are worked out by
// hand from the message formats.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "checker_run.h"
#include "errlog.h"
#include "extern.h"
#include "ibis.h"
#include "log_capture.h"
#include "mdl.h"
#include "parse.h"
#include "wvfrm.h"

namespace {

// The file order (1 for the first [Model] of the file) of a model of the
// container's list, which holds them newest first; 0 for null.
int FileOrder(const ModelRecord* list, const ModelRecord* m)
{
    if (m == nullptr) return 0;
    int count = 0, position = 0;
    for (const ModelRecord* p = list; p != nullptr; p = p->next) {
        count++;
        if (p == m) position = count;
    }
    return position == 0 ? -1 : count - position + 1;
}

// Reads one fixture in a pass of its own; FINI frees it.
class ReadFixture : public ::testing::Test {
protected:
    void Read(const char* name)
    {
        PARSE_SuppressBanners(1);
        ASSERT_TRUE(INIT());
        std::string path = std::string(IBIS_FIXTURES) + "/" + name;
        ASSERT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
        read_ = true;
    }
    void TearDown() override
    {
        if (read_) FINI();
        PARSE_SuppressBanners(0);
    }
    LogCapture log_;
    bool read_ = false;
};

// mdl_lookup.ibs defines, in this order: 1 a, 2 b, 3 a, 4 (no name), 5 A,
// 6 (no name), 7 b, 8 b.  A name finds the last model that carries it, as
// exactly as strcmp compares; a miss finds nothing.
TEST_F(ReadFixture, ModelLookUpsFindTheLastModelOfAName)
{
    Read("mdl_lookup.ibs");
    ModelRecord* models = gpIbis->models;
    ASSERT_EQ(FileOrder(models, models), 8);
    const struct {
        const char* name;
        int found;   // file order, 0 for none
    } cases[] = {
        {"a", 3}, {"b", 8}, {"A", 5}, {"", 6}, {"B", 0}, {"c", 0}, {"a ", 0}, {"ab", 0},
        {"GND", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileOrder(models, MDL_FindModel(c.name, models)), c.found) << '"' << c.name << '"';
        int type = -1;
        EXPECT_EQ(MDL_GetType(models, c.name, &type), c.found != 0) << c.name;
    }
    // Marking: only the model found is marked, and a miss marks nothing.
    for (ModelRecord* m = models; m != nullptr; m = m->next) EXPECT_EQ(m->referenced, 0);
    EXPECT_EQ(MDL_NameExists("b", models), 1);
    EXPECT_EQ(MDL_NameExists("B", models), 0);
    EXPECT_EQ(MDL_NameExists("a", models), 1);
    std::vector<int> marked;
    for (ModelRecord* m = models; m != nullptr; m = m->next)
        if (m->referenced) marked.push_back(FileOrder(models, m));
    EXPECT_EQ(marked, (std::vector<int>{8, 3}));
}

// A model is findable by the empty name before its [Model] line is read and
// after a [Model] line without a name; naming it makes it findable by its
// name only.  The [Model] lines are given as the reader frame gives them.
TEST(ModelLookUps, TheModelBeingOpenedAndModelsWithoutNames)
{
    LogCapture log;
    ASSERT_TRUE(INIT());
    int version = geFileVersion;
    geFileVersion = 5;
    char named[] = "[Model] x";
    char unnamed[] = "[Model]";
    char again[] = "[Model] x";

    MDL_Init();
    ModelRecord* first = gpIbis->models;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(MDL_FindModel("", gpIbis->models), first) << "no [Model] line yet";
    MDL_ReceiveLine(PARSE_LINE_KEYWORD, KW_MODEL, named);
    EXPECT_EQ(MDL_FindModel("x", gpIbis->models), first);
    EXPECT_EQ(MDL_FindModel("", gpIbis->models), nullptr);
    MDL_Fini(KW_MODEL);

    MDL_Init();
    ModelRecord* second = gpIbis->models;
    EXPECT_EQ(MDL_FindModel("", gpIbis->models), second);
    EXPECT_EQ(MDL_FindModel("x", gpIbis->models), first);
    MDL_ReceiveLine(PARSE_LINE_KEYWORD, KW_MODEL, unnamed);
    EXPECT_EQ(MDL_FindModel("", gpIbis->models), second) << "a [Model] line without a name";
    MDL_Fini(KW_MODEL);

    MDL_Init();
    ModelRecord* third = gpIbis->models;
    EXPECT_EQ(MDL_FindModel("", gpIbis->models), third);
    log.Take();
    MDL_ReceiveLine(PARSE_LINE_KEYWORD, KW_MODEL, again);
    EXPECT_NE(log.Take().find("E0131"), std::string::npos);
    EXPECT_EQ(MDL_FindModel("", gpIbis->models), second);
    EXPECT_EQ(MDL_FindModel("x", gpIbis->models), third);
    EXPECT_EQ(MDL_FindModel("x", first), first) << "a list no container holds is walked";
    MDL_Fini(KW_END);

    geFileVersion = version;
    FINI();
}

std::vector<std::string> Names(const PortName* p)
{
    std::vector<std::string> names;
    for (; p != nullptr; p = p->next) names.push_back(p->name);
    return names;
}

// Converter lines of one corner, newest first, as "d_port port1 port2".
std::vector<std::string> A2D(const ExternalCorner* c)
{
    std::vector<std::string> lines;
    for (const A2DEntry* e = c ? c->A_to_D : nullptr; e != nullptr; e = e->next)
        lines.push_back(std::string(e->d_port) + " " + e->port1 + " " + e->port2);
    return lines;
}

// The lists of the first circuit of mdl_extlists.ibs: Ports newest first,
// Parameters in file order, the digital ports with the reserved names in
// front (newest first) of the own names (file order); converter lines whose
// ports are listed later are taken, one whose port is never listed (or is
// only a digital port) is not.
TEST_F(ReadFixture, ExternalCircuitListsKeepTheirOrder)
{
    Read("mdl_extlists.ibs");
    const ExternalCircuitRecord* c1 = gpIbis->externalCircuits;
    while (c1 != nullptr && c1->next != nullptr) c1 = c1->next;
    ASSERT_NE(c1, nullptr);
    ASSERT_STREQ(c1->name, "c1");
    const ExternalModelData* d = c1->data;
    EXPECT_EQ(Names(d->Ports), (std::vector<std::string>{"d", "c", "b", "a"}));
    EXPECT_EQ(Names(d->Parameters), (std::vector<std::string>{"p1", "p2", "p3", "p4", "p5"}));
    EXPECT_EQ(Names(d->DigitalPorts),
              (std::vector<std::string>{"D_drive", "D_receive", "u1", "u2", "u1", "u1", "u1", "u1",
                                        "u3", "u5"}));
    EXPECT_EQ(A2D(d->Typ), (std::vector<std::string>{"u3 d a", "u1 b c", "u1 b c", "u2 a c",
                                                     "D_receive a b", "u1 a b"}));
    EXPECT_EQ(A2D(d->Min), (std::vector<std::string>{"u1 a c", "u1 a b"}));
    ASSERT_NE(d->Typ->D_to_A, nullptr);
    EXPECT_STREQ(d->Typ->D_to_A->d_port, "u5");
    // A digital list that begins with a reserved name.
    const ExternalCircuitRecord* c4 = gpIbis->externalCircuits->next;
    ASSERT_STREQ(c4->name, "c2");
    EXPECT_EQ(Names(c4->data->DigitalPorts),
              (std::vector<std::string>{"D_receive", "D_drive", "v1", "v2"}));
    EXPECT_EQ(Names(c4->data->Ports), (std::vector<std::string>{"q", "p"}));
}

// [Composite Current] belongs to the last waveform of the list named by the
// keyword before it: with several waveforms in each list, each one gets its
// own, a second one after the same waveform replaces it (263), and one
// after another keyword goes to the last waveform read (257), replacing the
// one it already has.
TEST_F(ReadFixture, CompositeCurrentGoesToTheLastWaveform)
{
    Read("mdl_composite.ibs");
    const ModelRecord* m = gpIbis->models;
    ASSERT_NE(m, nullptr);
    std::vector<int> rising, falling;
    for (const WaveformRecord* w = m->RisingWaveform; w != nullptr; w = w->next)
        rising.push_back(w->composite_current != nullptr);
    for (const WaveformRecord* w = m->FallingWaveform; w != nullptr; w = w->next)
        falling.push_back(w->composite_current != nullptr);
    EXPECT_EQ(rising, (std::vector<int>{1, 0, 1, 1}));
    EXPECT_EQ(falling, (std::vector<int>{0, 1}));
    std::string text = log_.Take();
    EXPECT_NE(text.find("E0263 (line   32)"), std::string::npos) << text;
    EXPECT_NE(text.find("E0257 (line   47)"), std::string::npos) << text;
    EXPECT_NE(text.find("E0257 (line   53)"), std::string::npos) << text;
    EXPECT_NE(text.find("E0263 (line   53)"), std::string::npos) << text;
    EXPECT_EQ(text.find("E0263 (line   47)"), std::string::npos) << text;
}

const CheckerCase kLookupCases[] = {
    // Ports listed before and after converter lines, reserved and own
    // digital ports, one d_port three times in the Typ corner and twice in
    // the Min corner, a Min converter that Typ lacks, D_switch rules per
    // circuit, circuit names used two and three times.
    {"ExternalCircuitLists", "mdl_extlists.ibs", 1,
     R"(
Checking mdl_extlists.ibs for IBIS 4.2 Compatibility...

E0133 (line   17) -
    Digital Port <u1> already used in previous A2D for this corner
E0133 (line   19) -
    Digital Port <u1> already used in previous A2D for this corner
E0133 (line   20) -
    Digital Port <u1> already used in previous A2D for this corner
E0153 (line   25) - Illegal Analog Port e, not in port list
E0153 (line   27) - Illegal Analog Port D_receive, not in port list
E0226 -
    MODEL <c1> Corner <Min> line: 19 has A2D not matching TYP A2D: <u1> <a> <c>
E0254 (line   34) - External Circuit Name Previously Defined ("c1")
E0104 (line   38) - D_switch not allowed with (D_drive, D_receive, or D_enable) in Ports/A2D/D2A Section
E0105 (line   39) -
    D_receive not allowed with D_switch in Ports/A2D/D2A Section
E0105 (line   39) - D_enable not allowed with D_switch in Ports/A2D/D2A Section
E0254 (line   41) - External Circuit Name Previously Defined ("c2")
E0254 (line   50) - External Circuit Name Previously Defined ("c1")
E3951 - Required keyword 'Component' not found.

Errors  : 13

File Failed
)"},
    // Submodels that no model adds (newest first), then each added name
    // that no submodel carries exactly (models newest first, lines in file
    // order).
    {"AddSubmodelNames", "mdl_addsub.ibs", 1,
     R"(
Checking mdl_addsub.ibs for IBIS 4.2 Compatibility...

E3951 - Required keyword 'Component' not found.
W0220 - Submodel s4 is not referenced by any model [Add Submodel] keyword
W0220 - Submodel s2 is not referenced by any model [Add Submodel] keyword
E0218 - Could not find definition for Submodel gone of Model m2
E0218 - Could not find definition for Submodel S3 of Model m2
E0218 - Could not find definition for Submodel nope of Model m2
E0218 - Could not find definition for Submodel gone of Model m1
W0219 - Model m3 not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 5
Warnings: 3

File Failed
)"},
    // Vds 1, 2, 1, 1.0000000005, 3, 2, 0.9999999996 (values less than 1e-9
    // apart are the same): each table with the same Vds as a later one once
    // (the first 1 has three such, and is named once; 1.0000000005 only has
    // a smaller one after it); the chain 1.0, 1.0000000006, 1.0000000012
    // has its first two named though its ends are 1.2e-9 apart.
    {"SeriesMosfetSameVds", "mdl_smosrep.ibs", 1,
     R"(
Checking mdl_smosrep.ibs for IBIS 4.2 Compatibility...

E2806 -
    Model s1 : Found two Series_MOSFETs with identical Vds value 1.000000e+00
E2806 -
    Model s1 : Found two Series_MOSFETs with identical Vds value 2.000000e+00
E2806 -
    Model s1 : Found two Series_MOSFETs with identical Vds value 1.000000e+00
E2806 -
    Model s1 : Found two Series_MOSFETs with identical Vds value 1.000000e+00
E2806 - Model s2 [On]: Found two Series_MOSFETs with identical Vds value 1.000000e+00
E2806 - Model s2 [On]: Found two Series_MOSFETs with identical Vds value 1.000000e+00
E3951 - Required keyword 'Component' not found.
W0219 - Model s2 not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 7
Warnings: 1

File Failed
)"},
    // st and ser are defined twice, an Output model first: the schedule and
    // the pins find the later Input and Series models, and the first ser is
    // the unreferenced one.
    {"LaterModelOfANameIsFound", "mdl_drvdup.ibs", 1,
     R"(
Checking mdl_drvdup.ibs for IBIS 4.2 Compatibility...

E0131 (line   69) - Model Name Previously Defined ("st")
E0131 (line   75) - Model Name Previously Defined ("ser")
E4207 - Model St used in the Driver Schedule of Model drv is not defined
E4209 - Model ser used in the Driver Schedule of Model drv should be an output model
E4207 - Model nost used in the Driver Schedule of Model drv is not defined
E4209 -
    Model st used in the Driver Schedule of Model drv should be an output model
E0608 - Component 'chip': Model 'ST' for Pin '3' not defined.
E0610 - Component 'chip':  Pin '4': Model 'ser': model type for a Pin cannot be Series or Series_switch.
W0219 - Model ser not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] sections.
 No more warnings will be generated for un-referenced models

Errors  : 8
Warnings: 1

File Failed
)"},
};

class LookupOutput : public ::testing::TestWithParam<CheckerCase> {};

TEST_P(LookupOutput, WholeOutputAndStatus) { CheckCase(IBIS_FIXTURES, GetParam(), "-n -c "); }

INSTANTIATE_TEST_SUITE_P(Fixtures, LookupOutput, ::testing::ValuesIn(kLookupCases), CaseName);

}  // namespace
