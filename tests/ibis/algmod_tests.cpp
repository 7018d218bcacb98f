// [Algorithmic Model] sections fed line by line as the model module hands
// them on, the checks of the files they name, and the AMI parameter-file
// checker: in process for the section and its files, through ibislint for
// whole .ami files.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "algmod.h"
#include "checker_run.h"
#include "cmn.h"
#include "log_capture.h"
#include "parse.h"

namespace {

// ---------------------------------------------------------------------------
// A stand-in for the model records: what ALGMOD_Test reads of a model.

struct FakeModel {
    FakeModel* next;
    std::string name;
    AlgorithmicModelEntry** list;
};

ModelRecord* FakeNext(ModelRecord* m) { return (ModelRecord*)((FakeModel*)m)->next; }
const char* FakeName(ModelRecord* m) { return ((FakeModel*)m)->name.c_str(); }
AlgorithmicModelEntry** FakeList(ModelRecord* m) { return ((FakeModel*)m)->list; }

// Feeds one section as the model module does: the keyword line on line
// first, the data lines on the lines after it, and the end checks at the
// keyword line that follows.
void ReadSection(AlgorithmicModelEntry*** head, const std::vector<std::string>& lines,
                 unsigned long first = 10)
{
    PARSE_SetPosition("algmod.ibs", first);
    std::string keyword = lines.at(0);
    ALGMOD_New(&keyword[0], head);
    for (size_t i = 1; i < lines.size(); i++) {
        PARSE_SetPosition(nullptr, first + i);
        std::string text = lines[i];
        ALGMOD_ReceiveLine(&text[0], *head);
    }
    PARSE_SetPosition(nullptr, first + lines.size());
    ALGMOD_Fini(*head);
}

struct SectionCase {
    const char* name;
    std::vector<std::string> lines;   // from line 10 on
    const char* log;
};

// Line messages name the line of the keyword (10) or of the data line; the
// end checks are plain errors.  A line error of 60 to 75 characters, or a
// plain one of 72 to 75, goes on a line of its own.
const char kPlatformShape[] =
    "E4610 (line   11) - Could not parse Platform, Compiler, Bits  for [Algorithmic Model] "
    "Executable Sub-parameter\n";

const SectionCase kSections[] = {
    {"Clean",
     {"[Algorithmic Model]", "Executable Linux_gcc_32 a.so a.ami",
      "Executable\tWindows_VisualStudio_64   b.dll\tb.ami"},
     ""},
    {"ItemsAfterTheKeyword", {"[Algorithmic Model] extra words"},
     "E4605 (line   10) -\n    Incorrect Number of Line Items (3) For Algorithmic Model: Expecting 1\n"},
    {"ThreeItems", {"[Algorithmic Model]", "Executable Linux_gcc_32 a.so"},
     "E4605 (line   11) -\n    Incorrect Number of Line Items (3) For Algorithmic Model: Expecting 4\n"},
    {"FiveItems", {"[Algorithmic Model]", "Executable Linux_gcc_32 a.so a.ami more"},
     "E4605 (line   11) -\n    Incorrect Number of Line Items (5) For Algorithmic Model: Expecting 4\n"},
    {"SubParameterIsMatchedWithCase", {"[Algorithmic Model]", "executable Linux_gcc_32 a.so a.ami"},
     "E4609 (line   11) - Unknown Line in Algorithmic Model\n"},
    {"FourPlatformParts", {"[Algorithmic Model]", "Executable Linux_gcc_32_x a.so a.ami"},
     kPlatformShape},
    {"TwoPlatformParts", {"[Algorithmic Model]", "Executable Linux_gcc a.so a.ami"},
     kPlatformShape},
    {"UnderscoresOutOfPlace", {"[Algorithmic Model]", "Executable _gcc_32_ a.so a.ami"},
     kPlatformShape},
    {"Bits16", {"[Algorithmic Model]", "Executable Linux_gcc_16 a.so a.ami"},
     "E4606 - The Number of Bits should be 32 or 64 for Platform Linux and Compiler gcc for "
     "Algorithmic Model defined on line 10\n"},
    {"BitsNotANumber",
     {"[Algorithmic Model]", "Executable Linux_gcc_3x2 a.so a.ami", "Executable Linux_gcc_-32 a.so a.ami"},
     "E4613 (line   11) - Could not parse the Bits in Linux_gcc_3x2 for [Algorithmic Model] "
     "Executable Sub-parameter\n"
     "E4613 (line   12) - Could not parse the Bits in Linux_gcc_-32 for [Algorithmic Model] "
     "Executable Sub-parameter\n"
     "E4606 - The Number of Bits should be 32 or 64 for Platform Linux and Compiler gcc for "
     "Algorithmic Model defined on line 10\n"
     "E4606 - The Number of Bits should be 32 or 64 for Platform Linux and Compiler gcc for "
     "Algorithmic Model defined on line 10\n"
     // Both unparsed: equal bits too.
     "E4607 - Duplicate Sub-Parameter: Platform Linux Compiler gcc Bits -1 for Algorithmic Model "
     "defined on line 10\n"},
    {"DuplicateInCaseOnly",
     {"[Algorithmic Model]", "Executable Linux_GCC_64 a.so a.ami", "Executable linux_gcc_64 b.so b.ami",
      "Executable linux_gcc_32 c.so c.ami"},
     "E4607 - Duplicate Sub-Parameter: Platform linux Compiler gcc Bits 64 for Algorithmic Model "
     "defined on line 10\n"},
    // A line that repeats older ones is reported once, naming it as written,
    // newest line first; the oldest line of a kind is never reported.
    {"ThreeEqual",
     {"[Algorithmic Model]", "Executable Linux_gcc_64 a.so a.ami", "Executable LINUX_gcc_64 b.so b.ami",
      "Executable linux_GCC_64 c.so c.ami"},
     "E4607 - Duplicate Sub-Parameter: Platform linux Compiler GCC Bits 64 for Algorithmic Model "
     "defined on line 10\n"
     "E4607 - Duplicate Sub-Parameter: Platform LINUX Compiler gcc Bits 64 for Algorithmic Model "
     "defined on line 10\n"},
    {"RepeatsOfTwoKindsInterleaved",
     {"[Algorithmic Model]", "Executable A_gcc_64 a.so a.ami", "Executable B_gcc_64 b.so b.ami",
      "Executable a_gcc_64 c.so c.ami", "Executable A_gcc_32 d.so d.ami", "Executable b_GCC_64 e.so e.ami",
      "Executable A_gcc_64 f.so f.ami"},
     "E4607 - Duplicate Sub-Parameter: Platform A Compiler gcc Bits 64 for Algorithmic Model "
     "defined on line 10\n"
     "E4607 - Duplicate Sub-Parameter: Platform b Compiler GCC Bits 64 for Algorithmic Model "
     "defined on line 10\n"
     "E4607 - Duplicate Sub-Parameter: Platform a Compiler gcc Bits 64 for Algorithmic Model "
     "defined on line 10\n"},
    // Platform and compiler are two names: moving letters from one to the
    // other makes another line.
    {"PartsAreNotJoined",
     {"[Algorithmic Model]", "Executable ab_c_64 a.so a.ami", "Executable a_bc_64 b.so b.ami",
      "Executable AB_C_64 c.so c.ami"},
     "E4607 - Duplicate Sub-Parameter: Platform AB Compiler C Bits 64 for Algorithmic Model "
     "defined on line 10\n"},
    {"NamesLongerThanTheirFields",
     {"[Algorithmic Model]", "Executable " + std::string(45, 'p') + "_" + std::string(45, 'c') + "_64 " +
                                 std::string(42, 'f') + ".so " + std::string(41, 'f') + ".ami"},
     nullptr},
};

void PrintTo(const SectionCase& c, std::ostream* os) { *os << c.name; }

class AlgmodSection : public ::testing::TestWithParam<SectionCase> {};

TEST_P(AlgmodSection, Messages)
{
    const SectionCase& c = GetParam();
    LogCapture log;
    AlgorithmicModelEntry** head = nullptr;
    ReadSection(&head, c.lines);
    std::string expected;
    if (c.log != nullptr) {
        expected = c.log;
    } else {
        // Each name as written, then cut to 44 characters.
        const std::string at = "(line   11) -\n    ";
        expected = "E4611 " + at + "Platform name too long " + std::string(45, 'p') + "\n" +
                   "E4612 " + at + "Compiler name too long " + std::string(45, 'c') + "\n" +
                   "E4614 " + at + "Filename too long " + std::string(42, 'f') + ".so\n" +
                   "E4614 " + at + "Filename too long " + std::string(41, 'f') + ".ami\n";
        ASSERT_NE(*head, nullptr);
        EXPECT_EQ(std::string((*head)->platform), std::string(44, 'p'));
        EXPECT_EQ(std::string((*head)->compiler), std::string(44, 'c'));
        EXPECT_EQ(std::string((*head)->codeFile), std::string(42, 'f') + ".s");
        EXPECT_EQ(std::string((*head)->amiFile), std::string(41, 'f') + ".am");
        EXPECT_EQ((*head)->bits, 64);
    }
    EXPECT_EQ(log.Take(), expected);
    ALGMOD_Free(head);
}

INSTANTIATE_TEST_SUITE_P(Lines, AlgmodSection, ::testing::ValuesIn(kSections),
                         [](const ::testing::TestParamInfo<SectionCase>& i) { return i.param.name; });

TEST(AlgmodEntries, KeepThePartsOfEachLineNewestFirst)
{
    LogCapture log;
    AlgorithmicModelEntry** head = nullptr;
    ReadSection(&head, {"[Algorithmic Model]", "Executable Linux_gcc_32 a.so a.ami",
                        "Executable linux_gcc4.1.2_64 b_x86.so b.ami"});
    EXPECT_EQ(log.Take(), "");
    ASSERT_NE(head, nullptr);
    const AlgorithmicModelEntry* e = *head;
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->platform, "linux");
    EXPECT_STREQ(e->compiler, "gcc4.1.2");
    EXPECT_EQ(e->bits, 64);
    EXPECT_STREQ(e->codeFile, "b_x86.so");
    EXPECT_STREQ(e->amiFile, "b.ami");
    EXPECT_EQ(e->tree, nullptr);
    e = e->next;
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->platform, "Linux");
    EXPECT_STREQ(e->compiler, "gcc");
    EXPECT_EQ(e->bits, 32);
    EXPECT_EQ(e->next, nullptr);
    ALGMOD_Free(head);
}

TEST(AlgmodEntries, SecondKeywordReplacesTheFirstList)
{
    LogCapture log;
    AlgorithmicModelEntry** head = nullptr;
    ReadSection(&head, {"[Algorithmic Model]", "Executable Linux_gcc_32 a.so a.ami"});
    AlgorithmicModelEntry** first = head;
    ReadSection(&head, {"[Algorithmic Model]", "Executable Linux_gcc_64 b.so b.ami"}, 20);
    EXPECT_EQ(log.Take(), "E4601 (line   20) - Algorithmic Model: Already Defined for this model\n");
    ASSERT_NE(head, nullptr);
    ASSERT_NE(*head, nullptr);
    EXPECT_EQ((*head)->bits, 64);
    EXPECT_EQ((*head)->next, nullptr);
    (void)first;   // freed by the second keyword; the sanitizer build sees any use
    ALGMOD_Free(head);
    // An empty or absent list has nothing to check or free.
    AlgorithmicModelEntry** empty = nullptr;
    ReadSection(&empty, {"[Algorithmic Model]"});
    ALGMOD_Fini(nullptr);
    ALGMOD_Free(nullptr);
    EXPECT_EQ(log.Take(), "");
    ALGMOD_Free(empty);
}

// The reader hands on only keyword lines that hold their ']'.
TEST(AlgmodEntries, KeywordLineWithoutBracket)
{
    LogCapture log;
    AlgorithmicModelEntry** head = nullptr;
    char text[] = "[Algorithmic Model";
    EXPECT_EQ(ALGMOD_New(text, &head), 1);
    EXPECT_EQ(log.Take(), "B4603 - Should Not Be Here: IbisParser/algmod, 134\n");
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(*head, nullptr);
    ALGMOD_Free(head);
}

TEST(AlgmodEntries, HostileTokens)
{
    LogCapture log;
    AlgorithmicModelEntry** head = nullptr;
    std::string huge(20000, 'z');
    ReadSection(&head, {"[Algorithmic Model]", "Executable " + huge + "_" + huge + "_" + huge + " " + huge + " " + huge,
                        "Executable a_b_" + huge + " c d.ami", "Executable " + std::string(20000, '_') + " c d",
                        "Executable a_b_99999999999 c d.ami", "Executable a_b_4294967328 c d.ami"});
    std::string out = log.Take();
    // Each name is reported once, as written (the log cuts a long text).
    EXPECT_NE(out.find("E4611 (line   11) - Platform name too long zzzz"), std::string::npos);
    EXPECT_NE(out.find("E4612 (line   11) - Compiler name too long zzzz"), std::string::npos);
    EXPECT_NE(out.find("E4613 (line   11)"), std::string::npos);
    EXPECT_NE(out.find("E4613 (line   12)"), std::string::npos);
    EXPECT_NE(out.find("E4610 (line   13)"), std::string::npos);
    // Numbers beyond an int are no bit count, however the conversion wraps.
    EXPECT_NE(out.find("E4613 (line   14) - Could not parse the Bits in a_b_99999999999"), std::string::npos);
    EXPECT_NE(out.find("E4613 (line   15) - Could not parse the Bits in a_b_4294967328"), std::string::npos);
    int count = 0;
    for (AlgorithmicModelEntry* e = *head; e != nullptr; e = e->next, count++) {
        EXPECT_LE(strlen(e->platform), 44u);
        EXPECT_LE(strlen(e->codeFile), 44u);
        EXPECT_EQ(e->bits, -1);
    }
    EXPECT_EQ(count, 4);
    ALGMOD_Free(head);
}

// ---------------------------------------------------------------------------
// The file checks.

class AlgmodFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/algmod_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        ALGMOD_MODEL_VIEW view = {FakeNext, FakeName, FakeList};
        ALGMOD_SetModelView(&view);
        banners_ = gbSuppressBanners;
        PARSE_SuppressBanners(1);
        CMN_strncpy(savedPath_, gsFilePath_ibs, 1024);
        ASSERT_NE(getcwd(savedCwd_, sizeof savedCwd_), nullptr);
    }
    void TearDown() override
    {
        FreeModels();
        ALGMOD_SetModelView(nullptr);
        gbSuppressBanners = banners_;
        CMN_strncpy(gsFilePath_ibs, savedPath_, 1024);
        ASSERT_EQ(chdir(savedCwd_), 0);
        (void)system(("rm -rf '" + dir_ + "'").c_str());
    }
    void Write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir_ + "/" + name, std::ios::binary) << text;
    }
    void Mkdir(const std::string& name) { ASSERT_EQ(mkdir((dir_ + "/" + name).c_str(), 0755), 0); }
    // Models in list order; lines empty: a model without the keyword.
    FakeModel* Model(const std::string& name, const std::vector<std::string>& lines)
    {
        FakeModel* m = new FakeModel{nullptr, name, nullptr};
        if (!lines.empty()) ReadSection(&m->list, lines);
        if (!models_.empty()) models_.back()->next = m;
        models_.push_back(m);
        return m;
    }
    ModelRecord* List() { return models_.empty() ? nullptr : (ModelRecord*)models_.front(); }
    void FreeModels()
    {
        for (FakeModel* m : models_) {
            ALGMOD_Free(m->list);
            delete m;
        }
        models_.clear();
    }
    // Reads the [Model] names and [Algorithmic Model] sections of an .ibs
    // file as the reader and the model module hand them on: each line with
    // its number, comments and blanks cut, the end checks at the next
    // keyword, and the models newest first as the container keeps them.
    void ReadIbs(const std::string& path)
    {
        FreeModels();
        std::ifstream in(path);
        ASSERT_TRUE(in.good()) << path;
        std::string line;
        unsigned long number = 0;
        FakeModel* model = nullptr;
        bool inSection = false;
        PARSE_SetPosition("ibs", 0);
        while (std::getline(in, line)) {
            number++;
            line = line.substr(0, line.find('|'));
            size_t first = line.find_first_not_of(" \t\r");
            if (first == std::string::npos) continue;
            line = line.substr(first, line.find_last_not_of(" \t\r") + 1 - first);
            PARSE_SetPosition(nullptr, number);
            if (line[0] != '[') {
                if (inSection) ALGMOD_ReceiveLine(&line[0], model->list);
                continue;
            }
            if (inSection) ALGMOD_Fini(model->list);
            inSection = false;
            if (line.compare(0, 7, "[Model]") == 0) {
                size_t name = line.find_first_not_of(" \t", 7);
                model = new FakeModel{models_.empty() ? nullptr : models_.front(),
                                      name == std::string::npos ? "" : line.substr(name), nullptr};
                models_.insert(models_.begin(), model);
            } else if (line.compare(0, 19, "[Algorithmic Model]") == 0 && model != nullptr) {
                ALGMOD_New(&line[0], &model->list);
                inSection = true;
            }
        }
    }

    std::string dir_;
    std::vector<FakeModel*> models_;
    int banners_ = 0;
    char savedPath_[1025];
    char savedCwd_[4096];
};

const char kCleanAmi[] =
    "(clean (Reserved_Parameters\n"
    "  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description \"d\"))\n"
    "  (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"d\"))))\n";

TEST_F(AlgmodFiles, EachEntryNamesFilesBesideTheIbsFile)
{
    Write("code.so", "\x7f" "ELF");
    Write("good.ami", kCleanAmi);
    Write("bad.ami", "no parenthesis\n");
    Write("empty.ami", "");
    Mkdir("codedir");
    Mkdir("dir.ami");
    const std::string kw = "[Algorithmic Model]";
    FakeModel* m1 = Model("m1", {kw, "Executable Linux_gcc_64 code.so good.ami",
                                 "Executable Windows_VisualStudio_64 code.so good.ami"});
    Model("m2", {kw});
    Model("m3", {kw, "Executable Linux_gcc_64 missing.so missing.ami"});
    Model("m4", {kw, "Executable Linux_gcc_64 codedir noext"});
    Model("m5", {kw, "Executable Linux_gcc_64 code.so dir.ami"});
    Model("none", {});
    FakeModel* m6 = Model("m6", {kw, "Executable Linux_gcc_64 code.so bad.ami",
                                 "Executable Linux_gcc_32 code.so empty.ami"});
    std::string dir = dir_ + "/";
    CMN_strncpy(gsFilePath_ibs, dir.c_str(), 1024);
    LogCapture log;
    ALGMOD_Test(List());
    // Newest entry first within a model.
    EXPECT_EQ(log.Take(),
              "E4615 - Empty [Algorithmic Model] defined for Model m2\n"
              "E4616 - Code file missing.so not found. It was defined in [Algorithmic Model] for Model m3\n"
              "E4618 - AMI parameter file missing.ami not found. It was defined in [Algorithmic Model] "
              "for Model m3\n"
              "E4616 - Code file codedir not found. It was defined in [Algorithmic Model] for Model m4\n"
              "E4617 - AMI Parameter file noext should have '.ami' extension. It was defined in "
              "[Algorithmic Model] for Model m4\n"
              "E4618 - AMI parameter file dir.ami not found. It was defined in [Algorithmic Model] "
              "for Model m5\n"
              "E4620 - The AMI parameter file should start with a parenthesis\n"
              "E4620 - The AMI parameter file should start with a parenthesis\n");
    // One file named by two entries: both hold the one tree of its check.
    ASSERT_NE(*m1->list, nullptr);
    EXPECT_NE((*m1->list)->tree, nullptr);
    EXPECT_EQ((*m1->list)->next->tree, (*m1->list)->tree);
    EXPECT_EQ((*m6->list)->tree, nullptr);
    EXPECT_EQ(gsBuffer, nullptr);
    EXPECT_STREQ(gsFilePath_ibs, dir.c_str());
    // A second run replaces the trees rather than losing them.
    ALGMOD_Test(List());
    EXPECT_NE((*m1->list)->tree, nullptr);
}

// A parameter file with messages of the read (the upper-case name, a tab, a
// long Description line) and of the check, five lines long.
const char kFaultyAmi[] =
    "(faulty (Reserved_Parameters\n"
    "\t(Init_Returns_Impulse (Usage Out) (Type Boolean) (Default True) (Description \"d\"))\n"
    "  (GetWave_Exists (Usage Info) (Type Boolean) (Default True)\n"
    "   (Description \"%s\")))\n"
    " (Model_Specific (p (Format List))))\n";

std::string FaultyAmi()
{
    char text[512];
    snprintf(text, sizeof text, kFaultyAmi, std::string(130, 'x').c_str());
    return text;
}

// What one entry naming Faulty.ami prints: the read's messages, then the
// check's; three errors and two warnings.
const char kFaultyMessages[] =
    "W0901 - Filename 'Faulty.ami' should be lowercase\n"
    "W0921 (line    2) - IBIS files should not contain tab characters.\n"
    "E0923 (line    4) -\n"
    "    Description line in AMI file (at line no 4) is greater than 120 characters\n"
    "E4627 - Illegal Usage value Out specified for Init_Returns_Impulse\n"
    "E4632 - List: Illegal Format for p. Expected 1 number(s)\n";

// However many entries name one parameter file, each prints what a read of
// the file prints and counts it, and all hold one tree; the reader is left
// where a read of the file leaves it.  Another file read in between does
// not change that.
TEST_F(AlgmodFiles, EntriesNamingOneFileShareItsTree)
{
    Write("code.so", "x");
    Write("Faulty.ami", FaultyAmi());
    Write("clean.ami", kCleanAmi);
    const std::string kw = "[Algorithmic Model]";
    std::string dir = dir_ + "/";
    for (int lines : {1, 2, 5}) {
        FreeModels();
        // The first model names Faulty.ami on every line, and clean.ami on
        // a line after the first; the second model names Faulty.ami once.
        std::vector<std::string> section = {kw};
        for (int i = 0; i < lines; i++) {
            section.push_back("Executable P" + std::to_string(i) + "_gcc_64 code.so Faulty.ami");
            if (i == 0) section.push_back("Executable Q_gcc_64 code.so clean.ami");
        }
        FakeModel* first = Model("first", section);
        FakeModel* second = Model("second", {kw, "Executable Linux_gcc_64 code.so Faulty.ami"});
        CMN_strncpy(gsFilePath_ibs, dir.c_str(), 1024);
        unsigned long errors = gulError_cnt, warns = gulWarn_cnt;
        LogCapture log;
        ALGMOD_Test(List());
        std::string expected;
        for (int i = 0; i < lines + 1; i++) expected += kFaultyMessages;
        EXPECT_EQ(log.Take(), expected) << lines;
        EXPECT_EQ(gulError_cnt - errors, 3u * (lines + 1)) << lines;
        EXPECT_EQ(gulWarn_cnt - warns, 2u * (lines + 1)) << lines;
        EXPECT_EQ(PARSE_GetLineNum(), 5u) << lines;
        char name[1025];
        EXPECT_STREQ(PARSE_GetFileName(name), "Faulty.ami") << lines;
        EXPECT_STREQ(gsFilePath_ibs, dir.c_str());

        const PTREE faulty = (*second->list)->tree;
        ASSERT_NE(faulty, nullptr);
        int named = 0;
        for (AlgorithmicModelEntry* e = *first->list; e != nullptr; e = e->next) {
            ASSERT_NE(e->tree, nullptr);
            if (strcmp(e->amiFile, "Faulty.ami") == 0) {
                EXPECT_EQ(e->tree, faulty);
                named++;
            } else {
                EXPECT_NE(e->tree, faulty);
            }
        }
        EXPECT_EQ(named, lines);
    }
    // Freeing the models one by one frees the shared tree with the last
    // entry that holds it (the sanitizer build sees a leak or a second free).
    AlgorithmicModelEntry** kept = models_.back()->list;
    const PTREE tree = (*kept)->tree;
    ALGMOD_Free(models_.front()->list);
    models_.front()->list = nullptr;
    EXPECT_EQ((*kept)->tree, tree);
    EXPECT_EQ(tree->iNodeCount, 15);   // the groups of Faulty.ami
}

// The same through the checker, banners on: every entry's read of the file
// gets its banner and messages, and the totals count them all.
class AlgmodSharedRun : public CheckerTempDir {};

TEST_F(AlgmodSharedRun, EveryEntryPrintsTheFilesMessages)
{
    Write("code.so", "x");
    Write("Faulty.ami", FaultyAmi());
    Write("amshare.ibs",
          "[IBIS Ver] 5.0\n[File Name] amshare.ibs\n[File Rev] 1.0\n[Component] chip\n"
          "[Manufacturer] Quenrix\n[Package]\nR_pkg 0.1 0.05 0.2\nL_pkg 1nH 0.5nH 2nH\n"
          "C_pkg 1pF 0.5pF 2pF\n[Pin] signal_name model_name R_pin L_pin C_pin\n1 rx clean\n"
          "2 gnd GND\n[Model] clean\nModel_type Input\nC_comp 1pF 0.8pF 1.2pF\nVinl = 0.8\n"
          "Vinh = 2.0\n[Voltage Range] 3.3 3.0 3.6\n[GND Clamp]\n-3.3 -100mA -90mA -110mA\n"
          "0.0 0.0 0.0 0.0\n3.3 0.0 0.0 0.0\n[Algorithmic Model]\n"
          "Executable Linux_gcc_64 code.so Faulty.ami\n"
          "Executable Linux_gcc_32 code.so Faulty.ami\n"
          "Executable Windows_VisualStudio_32 code.so Faulty.ami\n"
          "[End Algorithmic Model]\n[End]\n");
    std::string expected = "\nChecking amshare.ibs for IBIS 5.0 Compatibility...\n\n";
    for (int i = 0; i < 3; i++)
        expected += std::string("\nChecking Faulty.ami for IBIS 5.0 Compatibility...\n\n") + kFaultyMessages;
    expected += "\nErrors  : 9\nWarnings: 6\n\nFile Failed\n";
    CheckerRun r = RunChecker(dir_, "-n -c amshare.ibs");
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.status, 1);
}

TEST_F(AlgmodFiles, FilesInASubdirectory)
{
    Mkdir("sub");
    Write("sub/sub.so", "x");
    Write("sub/s.ami", kCleanAmi);
    Write("code.so", "x");
    Write("good.ami", kCleanAmi);
    const std::string kw = "[Algorithmic Model]";
    FakeModel* first = Model("first", {kw, "Executable Linux_gcc_64 sub/sub.so sub/s.ami"});
    FakeModel* second = Model("second", {kw, "Executable Linux_gcc_64 code.so good.ami"});
    LogCapture log;
    // The .ibs file was named with its directory, and without one.
    for (const std::string& ibsDir : {dir_ + "/", std::string()}) {
        ASSERT_EQ(chdir(ibsDir.empty() ? dir_.c_str() : savedCwd_), 0);
        CMN_strncpy(gsFilePath_ibs, ibsDir.c_str(), 1024);
        ALGMOD_Test(List());
        EXPECT_EQ(log.Take(), "") << ibsDir;
        EXPECT_NE((*first->list)->tree, nullptr);
        EXPECT_NE((*second->list)->tree, nullptr);
        EXPECT_STREQ(gsFilePath_ibs, ibsDir.c_str());
    }
}

TEST_F(AlgmodFiles, PathLongerThanAFilePathIsNotFound)
{
    std::string deep(1010, 'd');
    CMN_strncpy(gsFilePath_ibs, (deep + "/").c_str(), 1024);
    Model("m", {"[Algorithmic Model]", "Executable Linux_gcc_64 " + std::string(30, 'c') + ".so " +
                                           std::string(30, 'a') + ".ami"});
    LogCapture log;
    ALGMOD_Test(List());
    EXPECT_EQ(log.Take(), "E4616 - Code file " + std::string(30, 'c') +
                              ".so not found. It was defined in [Algorithmic Model] for Model m\n"
                              "E4618 - AMI parameter file " + std::string(30, 'a') +
                              ".ami not found. It was defined in [Algorithmic Model] for Model m\n");
}

TEST_F(AlgmodFiles, WithoutAModelViewNothingIsChecked)
{
    Model("m", {"[Algorithmic Model]"});
    ALGMOD_SetModelView(nullptr);
    LogCapture log;
    ALGMOD_Test(List());
    EXPECT_EQ(log.Take(), "");
}

// ---------------------------------------------------------------------------
// The checker in process, on texts too large for fixtures.

std::string CheckText(const std::string& text)
{
    LogCapture log;
    gsBuffer = CMN_StrMake(text.c_str());
    AMI_Test();
    EXPECT_EQ(gsBuffer, nullptr);
    return log.Take();
}

TEST(AmiChecker, DeepNesting)
{
    const int depth = 300000;
    std::string open, close;
    for (int i = 0; i < depth; i++) {
        open += "(b ";
        close += ")";
    }
    EXPECT_EQ(CheckText("(deep (Model_Specific " + open + "(Usage Bad)" + close + "))"),
              "E4627 - Illegal Usage value Bad specified for b\n"
              "E4622 - No Reserved_Parameters found\n");
    // An unknown reserved parameter gets the same walk.
    EXPECT_EQ(CheckText("(deep (Reserved_Parameters (x " + open + "(Usage Bad)" + close + ")))"),
              "E4624 - Unknown parameter x found as a child of Reserved_Parameters\n"
              "E4627 - Illegal Usage value Bad specified for b\n"
              "E4625 - Init_Returns_Impulse parameter is mandatory\n"
              "E4625 - GetWave_Exists parameter is mandatory\n");
}

TEST(AmiChecker, ManyLeavesAndLongTokens)
{
    std::string leaves;
    for (int i = 0; i < 50000; i++) leaves += "(p" + std::to_string(i) + " (Usage In) (Format Value 1))";
    EXPECT_EQ(CheckText("(many (Model_Specific " + leaves + "(last (Type Nope))))"),
              "E4627 - Illegal Type value Nope specified for last\n"
              "E4622 - No Reserved_Parameters found\n");

    std::string name(20000, 'n'), value(20000, 'v');
    std::string out = CheckText("(" + name + " (Reserved_Parameters (" + name + " (Usage " + value + "))))");
    EXPECT_EQ(out.compare(0, 48, "E4624 - Unknown parameter " + std::string(22, 'n')), 0);
    EXPECT_NE(out.find("E4627 - Illegal Usage value vvvv"), std::string::npos);
    EXPECT_NE(out.find("E4625 - GetWave_Exists parameter is mandatory\n"), std::string::npos);
}

TEST(AmiChecker, EveryTruncationOfAFile)
{
    // The text as the reader joins it, comments gone.
    int banners = gbSuppressBanners;
    PARSE_SuppressBanners(1);
    ASSERT_EQ(PARSE(IBIS_FIXTURES "/algmod/amiok.ami", FILE_AMI), 1);
    gbSuppressBanners = banners;
    ASSERT_NE(gsBuffer, nullptr);
    std::string text = gsBuffer;
    free(gsBuffer);
    gsBuffer = nullptr;
    ASSERT_GT(text.size(), 500u);
    for (size_t n = 0; n <= text.size(); n++) CheckText(text.substr(0, n));
    EXPECT_EQ(CheckText(text), "");
    // No text at all is a failure; nothing to check is nothing.
    EXPECT_EQ(CheckText(""), "E4620 - The AMI parameter file should start with a parenthesis\n");
    LogCapture log;
    AMI_Test();
    EXPECT_EQ(log.Take(), "");
}

// ---------------------------------------------------------------------------
// Whole .ami files through ibislint.

using AmiCase = CheckerCase;

const AmiCase kAmiCases[] = {
    {"Clean", "amiok.ami", 0,
     R"(
Checking amiok.ami for IBIS 5.0 Compatibility...

Errors  : 0

File Passed
)"},
    {"ReservedRowFaults", "-q amirows.ami", 1,
     R"(E4627 - Illegal Usage value Out specified for Init_Returns_Impulse
E4627 - Illegal Type value Integer specified for GetWave_Exists
E4627 - Illegal Default value 2.5 specified for Max_Init_Aggressors
E4630 - Parameter Default is mandatory for Max_Init_Aggressors
E4629 - Unexpected parameter Format specified for Ignore_Bits
E4627 - Illegal Default value 1 specified for Use_Init_Output
E4630 - Parameter Default is mandatory for Use_Init_Output
E4632 - Gaussian: Illegal Format for Tx_Jitter. Expected 2 number(s)
E4630 - Parameter Format is mandatory for Tx_Jitter
E4630 - Parameter Format is mandatory for Rx_Clock_PDF
E4627 - Illegal Default value x specified for Tx_DCD
E4627 - Illegal Type value UI specified for Rx_Receiver_Sensitivity
E4627 - Illegal Format value Gaussian specified for Rx_Receiver_Sensitivity
E4630 - Parameter Format is mandatory for Rx_Receiver_Sensitivity

Errors  : 14

File Failed
)"},
    {"ReservedChildrenAndOrder", "-q amiorder.ami", 1,
     R"(E4628 - Found a branch Sub expecting a leaf for Init_Returns_Impulse
E4626 - Usage: Illegal format for Init_Returns_Impulse
E4624 - Unknown parameter Labels found as a child of Init_Returns_Impulse
E4624 - Unknown parameter Notes found as a child of Init_Returns_Impulse
E4630 - Parameter Usage is mandatory for Init_Returns_Impulse
E4630 - Parameter Type is mandatory for Init_Returns_Impulse
E4630 - Parameter Default is mandatory for Init_Returns_Impulse
E4630 - Parameter Description is mandatory for Init_Returns_Impulse
E4600 - Expected a branch but found 'GetWave_Exists'  as a leaf of 'Reserved_Parameters'
E4626 - GetWave_Exists: Illegal format for Reserved_Parameters
E4627 - Illegal Format value Value specified for Tx_Jitter
E4630 - Parameter Format is mandatory for Tx_Jitter
E4624 - Unknown parameter Custom found as a child of Reserved_Parameters
E4627 - Illegal Usage value Bad specified for Custom
E4625 - GetWave_Exists parameter is mandatory
E4627 - Illegal Usage value Sideways specified for ord
E4623 - Unknown branch Extra found

Errors  : 17

File Failed
)"},
    {"GeneralRulesAtEveryDepth", "-q amigen.ami", 1,
     R"(E4627 - Illegal Usage value Output specified for b
E4627 - Illegal Type value Double specified for b
E4632 - Range: Illegal Format for b. Expected 3 number(s)
E4632 - List: Illegal Format for d. Expected 1 number(s)
E4632 - Steps: Illegal Format for e. Expected 4 number(s)
E4632 - DjRj: Illegal Format for i. Expected 3 number(s)
E4627 - Illegal Format value Bogus specified for k
E4626 - Description: Illegal format for l
E4627 - Illegal Usage value Nope specified for deepest
E4632 - Value: Illegal Format for deep. Expected 1 number(s)

Errors  : 10

File Failed
)"},
    {"RootWithoutReservedParameters", "-q amims.ami aminochild.ami", 1,
     R"(==> amims.ami <==
E4627 - Illegal Usage value Sometimes specified for p
E4622 - No Reserved_Parameters found

Errors  : 2

File Failed
==> aminochild.ami <==
E4622 - No Reserved_Parameters found

Errors  : 1

File Failed
)"},
    {"EmptyReservedParameters", "-q aminores.ami", 1,
     R"(E4625 - Init_Returns_Impulse parameter is mandatory
E4625 - GetWave_Exists parameter is mandatory

Errors  : 2

File Failed
)"},
    {"ParseFailures", "-q amileaf.ami amibare.ami amiclose.ami amiletter.ami amiempty.ami amiopen.ami amigroup.ami amitwo.ami", 1,
     R"(==> amileaf.ami <==
E4635 - Too few nodes in branches or leaves

Errors  : 1

File Failed
==> amibare.ami <==
E4635 - Too few nodes in branches or leaves

Errors  : 1

File Failed
==> amiclose.ami <==
E4635 - Too few nodes in branches or leaves

Errors  : 1

File Failed
==> amiletter.ami <==
E4620 - The AMI parameter file should start with a parenthesis

Errors  : 1

File Failed
==> amiempty.ami <==
E4620 - The AMI parameter file should start with a parenthesis

Errors  : 1

File Failed
==> amiopen.ami <==
E4619 - The AMI parameter file has mismatched parenthesis

Errors  : 1

File Failed
==> amigroup.ami <==
E4634 -
    Invalid syntax of branch or leaf. At least 2 elements expected in a list

Errors  : 1

File Failed
==> amitwo.ami <==
E4621 - Internal error while parsing AMI Parameter file

Errors  : 1

File Failed
)"},
};

class AmiFiles : public ::testing::TestWithParam<AmiCase> {};

TEST_P(AmiFiles, WholeOutputAndStatus)
{
    CheckCase(std::string(IBIS_FIXTURES) + "/algmod", GetParam(), "-n -c ");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, AmiFiles, ::testing::ValuesIn(kAmiCases), CaseName);

// ---------------------------------------------------------------------------
// The parameter files of the shared corpus, and the sections of the .ibs
// files that name them: built only where the corpus was found.

#ifdef IBIS_CORPUS
const std::string kCorpus = IBIS_CORPUS;

// Messages derived from each file's text: AMI_Version and Supporting_Files
// are no reserved parameters of this checker, a Value leaf is no Default,
// and the Table of Supporting_Files is a branch holding the valueless
// group ("PCIeG5_32GT.ens").
const char kTxMessages[] =
    "E4624 - Unknown parameter AMI_Version found as a child of Reserved_Parameters\n"
    "E4624 - Unknown parameter Value found as a child of GetWave_Exists\n"
    "E4630 - Parameter Default is mandatory for GetWave_Exists\n"
    "E4624 - Unknown parameter Value found as a child of Init_Returns_Impulse\n"
    "E4630 - Parameter Default is mandatory for Init_Returns_Impulse\n";
const char kRxMessages[] =
    "E4624 - Unknown parameter AMI_Version found as a child of Reserved_Parameters\n"
    "E4624 - Unknown parameter Value found as a child of Init_Returns_Impulse\n"
    "E4630 - Parameter Default is mandatory for Init_Returns_Impulse\n"
    "E4624 - Unknown parameter Value found as a child of GetWave_Exists\n"
    "E4630 - Parameter Default is mandatory for GetWave_Exists\n";
const char kPcieMessages[] =
    "E4624 - Unknown parameter AMI_Version found as a child of Reserved_Parameters\n"
    "E4624 -\n    Unknown parameter Supporting_Files found as a child of Reserved_Parameters\n"
    "E4626 - \"PCIeG5_32GT.ens\": Illegal format for Table\n";

TEST(AmiCorpus, ParameterFiles)
{
    struct {
        const char* file;
        const char* messages;
        int errors;
    } files[] = {{"ibisami/example_tx.ami", kTxMessages, 5},
                 {"ibisami/example_rx.ami", kRxMessages, 5},
                 {"ansys_example_data/pcieg5_32gt.ami", kPcieMessages, 3}};
    for (const auto& f : files) {
        CheckerRun r = RunChecker(kCorpus, std::string("-n -c -q ") + f.file);
        EXPECT_EQ(r.out, std::string(f.messages) + "\nErrors  : " + std::to_string(f.errors) + "\n\nFile Failed\n")
            << f.file;
        EXPECT_EQ(r.status, 1);
    }
}

TEST_F(AlgmodFiles, CorpusSections)
{
    struct {
        const char* ibs;
        const char* dir;
        std::vector<const char*> models;      // newest first
        std::vector<const char*> codeFiles;   // newest first
        const char* messages;
    } files[] = {
        {"ibisami/example_tx.ibs", "ibisami/", {"example_tx"},
         {"example_tx_x86_amd64.dll", "example_tx_x86.dll", "example_tx_x86_amd64.so", "example_tx_x86.so"},
         kTxMessages},
        {"ibisami/example_rx.ibs", "ibisami/", {"example_rx"},
         {"example_rx_x86_amd64.dll", "example_rx_x86.dll", "example_rx_x86_amd64.so", "example_rx_x86.so"},
         kRxMessages},
        {"ansys_example_data/pcieg5_32gt.ibs", "ansys_example_data/", {"Tx", "Rx"},
         {"pcieg5_32gt_LX64.so", "pcieg5_32gt_WIN64.dll", "pcieg5_32gt_WIN32.dll"}, kPcieMessages},
    };
    for (const auto& f : files) {
        LogCapture log;
        ReadIbs(kCorpus + "/" + f.ibs);
        // The Executable lines parse: no message, every entry kept.
        EXPECT_EQ(log.Take(), "") << f.ibs;
        size_t withList = 0;
        for (FakeModel* m : models_) {
            if (m->list == nullptr) continue;
            withList++;
            size_t count = 0;
            for (AlgorithmicModelEntry* e = *m->list; e != nullptr; e = e->next) count++;
            EXPECT_EQ(count, f.codeFiles.size()) << f.ibs;
        }
        EXPECT_EQ(withList, f.models.size()) << f.ibs;
        std::string dir = kCorpus + "/" + f.dir;
        CMN_strncpy(gsFilePath_ibs, dir.c_str(), 1024);
        ALGMOD_Test(List());
        // Every entry: its absent code file, then its parameter file's check.
        std::string expected;
        for (const char* model : f.models)
            for (const char* code : f.codeFiles)
                expected += std::string("E4616 - Code file ") + code +
                            " not found. It was defined in [Algorithmic Model] for Model " + model + "\n" +
                            f.messages;
        EXPECT_EQ(log.Take(), expected) << f.ibs;
    }
}
#endif

// The .ibs fixtures' sections, read as the model module will hand them on:
// the messages of this module in a whole-output run of each file.
TEST_F(AlgmodFiles, IbsFixtures)
{
    const std::string dir = std::string(IBIS_FIXTURES) + "/algmod/";
    struct {
        const char* file;
        const char* whileRead;
        const char* afterRead;
    } files[] = {
        {"amclean.ibs", "", ""},
        // Models newest first: the one with files in a subdirectory is
        // checked before the one whose files lie beside the .ibs file.
        {"amsub.ibs", "", ""},
        {"amfaults.ibs",
         "E4605 (line   31) -\n    Incorrect Number of Line Items (2) For Algorithmic Model: Expecting 1\n"
         "E4605 (line   32) -\n    Incorrect Number of Line Items (3) For Algorithmic Model: Expecting 4\n"
         "E4609 (line   33) - Unknown Line in Algorithmic Model\n"
         "E4610 (line   34) - Could not parse Platform, Compiler, Bits  for [Algorithmic Model] "
         "Executable Sub-parameter\n"
         "E4613 (line   35) - Could not parse the Bits in Linux_gcc_3x2 for [Algorithmic Model] "
         "Executable Sub-parameter\n"
         "E4606 - The Number of Bits should be 32 or 64 for Platform Linux and Compiler gcc for "
         "Algorithmic Model defined on line 31\n"
         "E4606 - The Number of Bits should be 32 or 64 for Platform Linux and Compiler gcc for "
         "Algorithmic Model defined on line 31\n"
         "E4607 - Duplicate Sub-Parameter: Platform linux Compiler gcc Bits 64 for Algorithmic Model "
         "defined on line 31\n"
         "E4601 (line   55) - Algorithmic Model: Already Defined for this model\n",
         "E4615 - Empty [Algorithmic Model] defined for Model empty\n"
         "E4617 - AMI Parameter file amclean should have '.ami' extension. It was defined in "
         "[Algorithmic Model] for Model files\n"
         "E4616 - Code file missing.so not found. It was defined in [Algorithmic Model] for Model files\n"
         "E4618 - AMI parameter file missing.ami not found. It was defined in [Algorithmic Model] "
         "for Model files\n"},
    };
    for (const auto& f : files) {
        LogCapture log;
        ReadIbs(dir + f.file);
        EXPECT_EQ(log.Take(), f.whileRead) << f.file;
        CMN_strncpy(gsFilePath_ibs, dir.c_str(), 1024);
        ALGMOD_Test(List());
        EXPECT_EQ(log.Take(), f.afterRead) << f.file;
        EXPECT_STREQ(gsFilePath_ibs, dir.c_str());
    }
}

// The .ibs fixtures through the checker, from the directory above theirs: the
// models hand their sections to the module, the file checks look beside the
// .ibs file, and each parameter file read gets its own banner.
TEST(AlgmodCheckerRuns, IbsFixturesWholeOutput)
{
    static const CheckerCase kCases[] = {
        {"clean", "-n -c algmod/amclean.ibs", 0,
         "\nChecking algmod/amclean.ibs for IBIS 5.0 Compatibility...\n\n"
         "\nChecking algmod/amclean.ami for IBIS 5.0 Compatibility...\n\n"
         "\nChecking algmod/amclean.ami for IBIS 5.0 Compatibility...\n\n"
         "Errors  : 0\n\nFile Passed\n"},
        {"subdirectory", "-n -c algmod/amsub.ibs", 0,
         "\nChecking algmod/amsub.ibs for IBIS 5.0 Compatibility...\n\n"
         "\nChecking algmod/sub/amsub.ami for IBIS 5.0 Compatibility...\n\n"
         "\nChecking algmod/amclean.ami for IBIS 5.0 Compatibility...\n\n"
         "Errors  : 0\n\nFile Passed\n"},
        {"faults", "-n -c algmod/amfaults.ibs", 1,
         "\nChecking algmod/amfaults.ibs for IBIS 5.0 Compatibility...\n\n"
         "E4605 (line   31) -\n"
         "    Incorrect Number of Line Items (2) For Algorithmic Model: Expecting 1\n"
         "E4605 (line   32) -\n"
         "    Incorrect Number of Line Items (3) For Algorithmic Model: Expecting 4\n"
         "E4609 (line   33) - Unknown Line in Algorithmic Model\n"
         "E4610 (line   34) - Could not parse Platform, Compiler, Bits  for [Algorithmic Model] "
         "Executable Sub-parameter\n"
         "E4613 (line   35) - Could not parse the Bits in Linux_gcc_3x2 for [Algorithmic Model] "
         "Executable Sub-parameter\n"
         "E4606 - The Number of Bits should be 32 or 64 for Platform Linux and Compiler gcc for "
         "Algorithmic Model defined on line 31\n"
         "E4606 - The Number of Bits should be 32 or 64 for Platform Linux and Compiler gcc for "
         "Algorithmic Model defined on line 31\n"
         "E4607 - Duplicate Sub-Parameter: Platform linux Compiler gcc Bits 64 for Algorithmic "
         "Model defined on line 31\n"
         "E4601 (line   55) - Algorithmic Model: Already Defined for this model\n"
         "E4615 - Empty [Algorithmic Model] defined for Model empty\n"
         "E4617 - AMI Parameter file amclean should have '.ami' extension. It was defined in "
         "[Algorithmic Model] for Model files\n"
         "E4616 - Code file missing.so not found. It was defined in [Algorithmic Model] for Model files\n"
         "E4618 - AMI parameter file missing.ami not found. It was defined in [Algorithmic Model] "
         "for Model files\n"
         // Four entries of "lines" and the one of "again" name amclean.ami.
         "\nChecking algmod/amclean.ami for IBIS 5.0 Compatibility...\n\n"
         "\nChecking algmod/amclean.ami for IBIS 5.0 Compatibility...\n\n"
         "\nChecking algmod/amclean.ami for IBIS 5.0 Compatibility...\n\n"
         "\nChecking algmod/amclean.ami for IBIS 5.0 Compatibility...\n\n"
         "\nChecking algmod/amclean.ami for IBIS 5.0 Compatibility...\n\n"
         "\nErrors  : 13\n\nFile Failed\n"},
    };
    for (const CheckerCase& c : kCases) {
        CheckerRun r = RunChecker(IBIS_FIXTURES, c.args);
        EXPECT_EQ(r.out, c.expected) << c.name;
        EXPECT_EQ(r.status, c.status) << c.name;
    }
}

#ifdef IBIS_CORPUS
// The corpus .ibs files with [Algorithmic Model] declare IBIS versions past
// 5.0 and are refused as they are; copies declaring 5.0, made here in a
// temporary directory with their parameter files, read through the checker.
// Every Executable line parses (none of the line codes), and each names a
// code file that is not shipped, so each gives exactly one 4616 naming it.
class AlgmodCorpusAs50 : public CheckerTempDir {};

TEST_F(AlgmodCorpusAs50, ExecutableLinesParseAndAbsentCodeFilesAreReported)
{
    const std::string corpus = IBIS_CORPUS;
    struct File {
        const char* dir;
        const char* ibs;
        const char* ami;
    };
    static const File kFiles[] = {
        {"ibisami", "example_rx.ibs", "example_rx.ami"},
        {"ibisami", "example_tx.ibs", "example_tx.ami"},
        {"ansys_example_data", "pcieg5_32gt.ibs", "pcieg5_32gt.ami"},
    };
    for (const File& f : kFiles) {
        std::ifstream in(corpus + "/" + f.dir + "/" + f.ibs, std::ios::binary);
        ASSERT_TRUE(in) << f.ibs;
        std::string text, line;
        std::vector<std::string> codeFiles;
        while (std::getline(in, line)) {
            if (line.rfind("[IBIS Ver]", 0) == 0)
                line = std::string("[IBIS Ver] 5.0") + (!line.empty() && line.back() == '\r' ? "\r" : "");
            char platform[200], code[200], ami[200];
            if (sscanf(line.c_str(), " Executable %199s %199s %199s", platform, code, ami) == 3)
                codeFiles.push_back(code);
            text += line + "\n";
        }
        ASSERT_FALSE(codeFiles.empty()) << f.ibs;
        Write(f.ibs, text);
        std::ifstream amiIn(corpus + "/" + f.dir + "/" + f.ami, std::ios::binary);
        Write(f.ami, std::string(std::istreambuf_iterator<char>(amiIn), {}));

        CheckerRun r = RunChecker(dir_, std::string("-n ") + f.ibs);
        EXPECT_NE(r.out.find("Checking " + std::string(f.ibs) + " for IBIS 5.0 Compatibility"),
                  std::string::npos)
            << r.out;
        for (const char* lineCode : {"E4605", "E4606", "E4607", "E4609", "E4610", "E4613", "E4615"})
            EXPECT_EQ(r.out.find(lineCode), std::string::npos) << f.ibs << " " << lineCode << "\n" << r.out;
        size_t count = 0;
        for (size_t at = r.out.find("E4616"); at != std::string::npos; at = r.out.find("E4616", at + 1))
            count++;
        EXPECT_EQ(count, codeFiles.size()) << r.out;
        for (const std::string& code : codeFiles)
            EXPECT_NE(r.out.find("Code file " + code + " not found."), std::string::npos) << code;
    }
}
#endif

}  // namespace
