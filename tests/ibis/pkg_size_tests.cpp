// Package models at size: the search of the .pkg files beside an .ibs file
// lists the folder and looks into each file once per pass, matrix rows hold
// only the values their lines give, and a repeated name is reported once per
// repeat.
#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/stat.h>

#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "checker_run.h"
#include "cmn.h"
#include "ibis.h"
#include "log_capture.h"
#include "mtx.h"
#include "parse.h"
#include "pkgmdl.h"
#include "reader_files.h"
#include "row.h"

namespace {

// ---------------------------------------------------------------------------
// The package-file search.

// A clean package model of one pin "1"; without is a keyword line left out.
std::string Model(const std::string& name, const std::string& without = "")
{
    std::string s = "[Define Package Model] " + name + "\n[Manufacturer] Acme\n[OEM] Acme\n"
                    "[Description] One pin\n[Number Of Pins] 1\n[Pin Numbers]\n1\n[Model Data]\n"
                    "[Inductance Matrix] Sparse_matrix\n[Row] 1\n1 1n\n"
                    "[Capacitance Matrix] Sparse_matrix\n[Row] 1\n1 1p\n[End Model Data]\n"
                    "[End Package Model]\n";
    if (!without.empty()) s.erase(s.find(without), without.size());
    return s;
}

std::string PkgFile(const std::string& file, const std::string& models, const char* version = "5.0")
{
    return std::string("[IBIS Ver] ") + version + "\n[File Name] " + file + "\n[File Rev] 1.0\n" +
           models + "[End]\n";
}

// A component of one pin "1" naming a package model and, when given, its
// alternate package models.
std::string Component(const std::string& name, const std::string& model,
                      const std::vector<std::string>& alternates = {})
{
    std::string s = "[Component] " + name + "\n[Manufacturer] M\n[Package]\nR_pkg 1 NA NA\n"
                    "L_pkg 1n NA NA\nC_pkg 1p NA NA\n[Package Model] " + model +
                    "\n[Pin] signal_name model_name\n1 a GND\n";
    if (!alternates.empty()) {
        s += "[Alternate Package Models]\n";
        for (const std::string& a : alternates) s += a + "\n";
        s += "[End Alternate Package Models]\n";
    }
    return s;
}

std::string IbsFile(const std::string& file, const std::string& components)
{
    return "[IBIS Ver] 5.0\n[File Name] " + file + "\n[File Rev] 1.0\n" + components + "[End]\n";
}

std::string Banner(const std::string& file)
{
    return "\nChecking " + file + " for IBIS 5.0 Compatibility...\n\n";
}

std::string Missing(const std::string& model, const std::string& component)
{
    return "E0516 - Unable to find Package Model '" + model + "' for Component '" + component +
           "'\n";
}

// The folder of every search case: a.pkg defines M1 and M2, b.pkg M2 and M3
// (M3 without [OEM]), c.pkg a model nobody names, e.pkg a model Z in a file
// whose version is not known (so Z is never stored), and notes.txt, which is
// no .pkg file, defines X.
class PackageFolder : public CheckerTempDir {
protected:
    void SetUp() override
    {
        CheckerTempDir::SetUp();
        Write("a.pkg", PkgFile("a.pkg", Model("M1") + Model("M2")));
        Write("b.pkg", PkgFile("b.pkg", Model("M2") + Model("M3", "[OEM] Acme\n")));
        Write("c.pkg", PkgFile("c.pkg", Model("OTHER")));
        Write("e.pkg", PkgFile("e.pkg", Model("Z"), "9.9"));
        Write("notes.txt", PkgFile("notes.txt", Model("X")));
    }
};

// Components are checked newest first, and each one's [Package Model] before
// its alternates.  A file is read (its banner and messages printed) by the
// first component that asks for a model it carries, and never again; every
// component whose model is found nowhere gets its 516, whether the search
// read a file for it or not.
TEST_F(PackageFolder, EachFileIsReadOnceForAllComponentsThatAsk)
{
    Write("main.ibs", IbsFile("main.ibs", Component("c1", "M1") + Component("c2", "Z") +
                                              Component("c3", "X") + Component("c4", "M2") +
                                              Component("c5", "Z") +
                                              Component("c6", "M3", {"X", "M1", "Y"}) +
                                              Component("c7", "Y")));
    CheckerRun r = RunChecker(dir_, "-n main.ibs");
    EXPECT_EQ(r.out, Banner("main.ibs") + Missing("Y", "c7") + Banner("b.pkg") +
                         "E3418 - OEM keyword not found for Package Model 'M3'.\n" +
                         Missing("X", "c6") + Banner("a.pkg") + Missing("Y", "c6") +
                         "E0900 - Could not determine Version for file e.pkg\n" +
                         Missing("Z", "c5") + Missing("X", "c3") + Missing("Z", "c2") +
                         "E3410 - Define_Package_Model 'M2' is duplicated within the .ibs file.\n"
                         "\nErrors  : 9\n\nFile Failed\n");
    EXPECT_EQ(r.status, 1);
}

// Many components asking, in turn, for a model of a.pkg, for Z and for a
// model found nowhere: a.pkg's banner and e.pkg's 900 come once, at the
// first (newest) component that asks, and every Z and W gets its 516.
TEST_F(PackageFolder, ManyComponentsAskingAgain)
{
    const struct {
        const char* name;
        int components;
    } cases[] = {{"three", 3}, {"four", 4}, {"many", 60}};
    const char* const models[] = {"M1", "Z", "W"};
    for (const auto& c : cases) {
        std::string components;
        for (int i = 0; i < c.components; i++)
            components += Component("c" + std::to_string(i), models[i % 3]);
        Write("main.ibs", IbsFile("main.ibs", components));
        std::string expected = Banner("main.ibs");
        bool readA = false, readE = false;
        int errors = 0;
        for (int i = c.components - 1; i >= 0; i--) {
            std::string model = models[i % 3];
            if (model == "M1") {
                if (!readA) expected += Banner("a.pkg");
                readA = true;
                continue;
            }
            if (model == "Z" && !readE) {
                expected += "E0900 - Could not determine Version for file e.pkg\n";
                errors++;
                readE = true;
            }
            expected += Missing(model, "c" + std::to_string(i));
            errors++;
        }
        expected += "\nErrors  : " + std::to_string(errors) + "\n\nFile Failed\n";
        CheckerRun r = RunChecker(dir_, "-n main.ibs");
        EXPECT_EQ(r.out, expected) << c.name;
    }
}

// In process: the folder is listed, and each file looked into, once between
// two resets, so that a file written or changed after the first search of a
// pass is seen only in the next pass; a search from another folder lists
// that folder.
class PackageSearchPass : public ReaderFiles {
protected:
    void Open(const std::string& ibs)
    {
        std::string path = Write(ibs, IbsFile("x.ibs", ""));
        ASSERT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
    }
    // The names of the top container's package models, newest first.
    static std::string Models()
    {
        std::string names;
        for (PackageModelRecord* m = gpIbis->packageModels; m != nullptr; m = m->next)
            names += std::string(names.empty() ? "" : " ") + m->name;
        return names;
    }
};

TEST_F(PackageSearchPass, FolderListedAndFilesLookedIntoOncePerPass)
{
    LogCapture log;
    ASSERT_TRUE(INIT());
    Write("one.pkg", PkgFile("one.pkg", Model("P1")));
    Open("x.ibs");
    PKGMDL_ResetPkgSearch();
    const struct {
        const char* step;
        const char* write;   // a file written before the search: name, then text
        const char* writeText;
        bool reset;
        const char* model;
        int result;
        const char* models;
    } steps[] = {
        {"nothing carries Q", nullptr, nullptr, false, "Q", 0, ""},
        {"a file written after the listing", "two.pkg", "Q", false, "Q", 0, ""},
        {"one.pkg read", nullptr, nullptr, false, "P1", 1, "P1"},
        {"one.pkg not again", nullptr, nullptr, false, "P1", 0, "P1"},
        {"one.pkg changed after it was looked into", "three.pkg", "R", false, "R", 0, "P1"},
        {"the next pass lists the folder again", nullptr, nullptr, true, "Q", 1, "Q P1"},
        {"and reads a file read in the last pass", nullptr, nullptr, false, "P1", 1, "P1 Q P1"},
        {"and sees the new files", nullptr, nullptr, false, "R", 1, "R P1 Q P1"},
    };
    for (const auto& s : steps) {
        if (s.write != nullptr) Write(s.write, PkgFile(s.write, Model(s.writeText)));
        if (s.reset) PKGMDL_ResetPkgSearch();
        EXPECT_EQ(PKGMDL_FindPkgFile(s.model), s.result) << s.step;
        EXPECT_EQ(Models(), s.models) << s.step;
    }
    EXPECT_EQ(log.Take(), "");
    IBIS_Free(gpIbis);
}

TEST_F(PackageSearchPass, AnotherFolderIsListedAgain)
{
    LogCapture log;
    ASSERT_TRUE(INIT());
    ASSERT_EQ(mkdir((dir_ + "/d1").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((dir_ + "/d2").c_str(), 0755), 0);
    Write("d1/p.pkg", PkgFile("p.pkg", Model("A")));
    Write("d2/q.pkg", PkgFile("q.pkg", Model("B")));
    PKGMDL_ResetPkgSearch();
    Open("d1/x.ibs");
    EXPECT_EQ(PKGMDL_FindPkgFile("B"), 0);
    EXPECT_EQ(PKGMDL_FindPkgFile("A"), 1);
    Open("d2/x.ibs");
    EXPECT_EQ(PKGMDL_FindPkgFile("A"), 0);
    EXPECT_EQ(PKGMDL_FindPkgFile("B"), 1);
    EXPECT_EQ(Models(), "B A");
    EXPECT_EQ(log.Take(), "");
    IBIS_Free(gpIbis);
}

// ---------------------------------------------------------------------------
// Matrix rows hold the values given: a row that names the last pin keeps one
// entry for it, not a slot for every column up to it.

const int kPins = 2000;

// One expected row: its (column, value) pairs in the order stored.
struct RowValues {
    std::vector<unsigned> columns;
    std::vector<double> values;
};

struct MatrixCase {
    const char* name;
    std::string (*matrix)();            // the [Inductance Matrix] part, up to its last row
    RowValues (*row)(unsigned position);  // what row position holds
    const char* log;
};

void PrintTo(const MatrixCase& c, std::ostream* os) { *os << c.name; }

std::string Pins()
{
    std::string s;
    for (int i = 1; i <= kPins; i++) s += std::to_string(i) + "\n";
    return s;
}

std::string Number(unsigned i) { return std::to_string(i); }

// A sparse matrix of the diagonal only.
std::string Diagonal(const std::string& kind)
{
    std::string s = "[" + kind + " Matrix] Sparse_matrix\n";
    for (int i = 1; i <= kPins; i++) s += "[Row] " + Number(i) + "\n" + Number(i) + " 1p\n";
    return s;
}

const MatrixCase kMatrixCases[] = {
    {"SparseOwnPinThenLast",
     [] {
         std::string s = "[Inductance Matrix] Sparse_matrix\n";
         for (int i = 1; i <= kPins; i++) {
             s += "[Row] " + Number(i) + "\n" + Number(i) + " " + Number(i) + "\n";
             if (i < kPins) s += Number(kPins) + " 0.5\n";
         }
         return s;
     },
     [](unsigned i) {
         if (i == (unsigned)kPins) return RowValues{{i}, {(double)i}};
         return RowValues{{i, (unsigned)kPins}, {(double)i, 0.5}};
     },
     ""},
    {"SparseLastPinFirst",
     [] {
         std::string s = "[Inductance Matrix] Sparse_matrix\n";
         for (int i = 1; i <= kPins; i++) {
             s += "[Row] " + Number(i) + "\n";
             if (i < kPins) s += Number(kPins) + " 2.5\n";
             s += Number(i) + " " + Number(i) + "e-3\n";
         }
         return s;
     },
     [](unsigned i) {
         if (i == (unsigned)kPins) return RowValues{{i}, {i * 1e-3}};
         return RowValues{{(unsigned)kPins, i}, {2.5, i * 1e-3}};
     },
     ""},
    {"BandedBandwidthTwo",
     [] {
         std::string s = "[Inductance Matrix] Banded_matrix\n[Bandwidth] 2\n";
         for (int i = 1; i <= kPins; i++) {
             s += "[Row] " + Number(i) + "\n" + Number(i);
             for (int k = 1; k <= 2 && i + k <= kPins; k++) s += " " + Number(k) + "n";
             s += "\n";
         }
         return s;
     },
     [](unsigned i) {
         RowValues r{{}, {(double)i}};
         for (unsigned k = 1; k <= 2 && i + k <= (unsigned)kPins; k++) r.values.push_back(k * 1e-9);
         return r;
     },
     ""},
    // The last two rows run round to the first columns: every row then has
    // three columns, and holds the three values given.
    {"BandedWrappingRound",
     [] {
         std::string s = "[Inductance Matrix] Banded_matrix\n[Bandwidth] 2\n";
         for (int i = 1; i <= kPins; i++) s += "[Row] " + Number(i) + "\n" + Number(i) + " 7 8\n";
         return s;
     },
     [](unsigned i) { return RowValues{{}, {(double)i, 7, 8}}; },
     ""},
    // Each row of a full matrix gives its first value only: every row but
    // the last lacks columns, and holds the one value given.
    {"FullFirstValueOnly",
     [] {
         std::string s = "[Inductance Matrix] Full_matrix\n";
         for (int i = 1; i <= kPins; i++) s += "[Row] " + Number(i) + "\n" + Number(i) + "\n";
         return s;
     },
     [](unsigned i) { return RowValues{{}, {(double)i}}; },
     nullptr},
};

// The [Capacitance Matrix] line that closes the inductance matrix.
unsigned ClosingLine(const std::string& text)
{
    unsigned line = 1;
    size_t at = text.find("[Capacitance Matrix]");
    for (size_t i = 0; i < at; i++)
        if (text[i] == '\n') line++;
    return line;
}

class MatrixStorage : public ReaderFiles, public ::testing::WithParamInterface<MatrixCase> {};

TEST_P(MatrixStorage, RowsHoldTheValuesGiven)
{
    const MatrixCase& c = GetParam();
    std::string text = PkgFile("m.pkg", "[Define Package Model] M\n[Manufacturer] Acme\n[OEM] Acme\n"
                                        "[Description] d\n[Number Of Pins] " + Number(kPins) +
                                            "\n[Pin Numbers]\n" + Pins() + "[Model Data]\n" +
                                            c.matrix() + Diagonal("Capacitance") +
                                            "[End Model Data]\n[End Package Model]\n");
    std::string path = Write("m.pkg", text);
    LogCapture log;
    ASSERT_TRUE(INIT());
    ASSERT_EQ(PARSE(path.c_str(), FILE_PKG), 1);
    PackageModelRecord* m = gpIbis->packageModels;
    ASSERT_NE(m, nullptr);
    ASSERT_NE(m->Inductance, nullptr);
    EXPECT_EQ(m->Inductance->rows.count, (unsigned)kPins);
    unsigned position = 0;
    for (MatrixRow* r = m->Inductance->rows.head; r != nullptr; r = r->next) {
        position++;
        RowValues want = c.row(position);
        ASSERT_EQ(r->uiPosition, position);
        ASSERT_EQ(r->uiCount, want.values.size()) << "row " << position;
        // The array holds at most twice what was given (it doubles as
        // values come), whatever the row's column count.
        EXPECT_LE(r->uiCapacity, 2 * r->uiCount) << "row " << position;
        EXPECT_LE(r->uiCapacity, r->uiColumnCount) << "row " << position;
        for (unsigned k = 0; k < r->uiCount; k++) {
            if (want.columns.empty()) {
                ASSERT_NE(r->values, nullptr);
                EXPECT_DOUBLE_EQ(r->values[k], want.values[k]) << "row " << position;
            } else {
                ASSERT_NE(r->entries, nullptr);
                EXPECT_EQ(r->entries[k].column, want.columns[k]) << "row " << position;
                EXPECT_DOUBLE_EQ(r->entries[k].value, want.values[k]) << "row " << position;
            }
        }
    }
    std::string expected;
    if (c.log != nullptr) {
        expected = c.log;
    } else {
        // 3116 for every row but the last, at the line that closed the
        // matrix; "column" without an 's' for the one value found.
        char line[16];
        snprintf(line, sizeof line, "%4u", ClosingLine(text));
        for (int i = 1; i < kPins; i++)
            expected += std::string("E3116 (line ") + line + ") - Expected " +
                        Number(kPins - i + 1) + " columns of Row data for [Row] " + Number(i) +
                        " in Matrix ending previous to this line, found 1 column\n";
    }
    EXPECT_EQ(log.Take(), expected);
    FINI();
    log.Take();
}

INSTANTIATE_TEST_SUITE_P(LastPin, MatrixStorage, ::testing::ValuesIn(kMatrixCases),
                         [](const ::testing::TestParamInfo<MatrixCase>& i) { return i.param.name; });

// Puts the line numbers into a log written with "{n}" for the line n after
// the matrix keyword's line, in the log's "(line %4u)" form.
std::string AtLines(std::string log, unsigned keywordLine)
{
    for (size_t at; (at = log.find('{')) != std::string::npos;) {
        size_t close = log.find('}', at);
        char line[24];
        snprintf(line, sizeof line, "(line %4u)",
                 keywordLine + (unsigned)std::stoul(log.substr(at + 1, close - at - 1)));
        log.replace(at, close + 1 - at, line);
    }
    return log;
}

// The row and matrix messages of sparse rows that name the last pin, at
// their lines; the matrix closes at [End Model Data] with its row count, and
// the model ends without a capacitance matrix.
TEST_F(ReaderFiles, MessagesOfRowsNamingTheLastPin)
{
    const std::string last = Number(kPins);
    const std::string ending = " for Matrix ending previous to this line.\n";
    const std::string end = "E3415 - Capacitance matrix not found for Package Model 'M'.\n";
    const struct {
        const char* name;
        std::string rows;   // the lines after the matrix keyword
        std::string log;
    } cases[] = {
        {"repeated last column", "[Row] 1\n1 1\n" + last + " 2\n" + last + " 3\n",
         "E3113 {4} - Duplicate Row column index " + last + ".\n"
         "E3717 {5} -\n    Expected " + last + " Rows, found 1" + ending + end},
        {"lower triangle", "[Row] 1\n1 1\n[Row] 2\n" + last + " 1\n1 1\n",
         "E3111 {5} -\n    This Row Column Index defines an entry in the lower matrix triangle.\n"
         "E3717 {6} -\n    Expected " + last + " Rows, found 2" + ending +
             "E3118 {6} - [Row] 2 must contain a self-coupled index and entry.\n" + end},
        {"last pin only", "[Row] 1\n" + last + " 1\n[Row] 2\n2 1\n",
         "E3717 {5} -\n    Expected " + last + " Rows, found 2" + ending +
             "E3118 {5} - [Row] 1 must contain a self-coupled index and entry.\n" + end},
        {"unknown column and excess data",
         "[Row] 1\n1 1\n" + Number(kPins + 1) + " 1\n" + last + " 1 2\n",
         "E3100 {3} - Unable to find Pin <" + Number(kPins + 1) +
             "> in Package Model Pin_Number list.\n"
             "E3115 {4} - Excessive data <2>, only Index and Value should be specified for a "
             "Sparse_matrix.\n"
             "E3717 {5} -\n    Expected " + last + " Rows, found 1" + ending + end},
    };
    const std::string head = "[IBIS Ver] 5.0\n[File Name] m.pkg\n[File Rev] 1.0\n"
                             "[Define Package Model] M\n[Manufacturer] Acme\n[OEM] Acme\n"
                             "[Description] d\n[Number Of Pins] " + last + "\n[Pin Numbers]\n" +
                             Pins() + "[Model Data]\n";
    const unsigned keywordLine = 11 + kPins;
    for (const auto& c : cases) {
        std::string path = Write("m.pkg", head + "[Inductance Matrix] Sparse_matrix\n" + c.rows +
                                              "[End Model Data]\n[End Package Model]\n[End]\n");
        LogCapture log;
        ASSERT_TRUE(INIT());
        ASSERT_EQ(PARSE(path.c_str(), FILE_PKG), 1);
        EXPECT_EQ(log.Take(), AtLines(c.log, keywordLine)) << c.name;
        FINI();
        log.Take();
    }
}

// ---------------------------------------------------------------------------
// A repeated name is reported once per repeat: 3410 once for each model that
// a later (newer) model of its name follows in the list, newest first; 3101
// once at each repeated [Row].

const Case kRepeatCases[] = {
    // Models in file order A B A C A C C C: the list, newest first, is
    // C C C A C A B A; each model with a later one of its name is reported.
    {"ModelNamesThreeAndFour", "-n rep.pkg", 1,
     "\nChecking rep.pkg for IBIS 5.0 Compatibility...\n\n"
     "E3410 - Define_Package_Model 'C' is duplicated within the .ibs file.\n"
     "E3410 - Define_Package_Model 'C' is duplicated within the .ibs file.\n"
     "E3410 - Define_Package_Model 'C' is duplicated within the .ibs file.\n"
     "E3410 - Define_Package_Model 'A' is duplicated within the .ibs file.\n"
     "E3410 - Define_Package_Model 'A' is duplicated within the .ibs file.\n"
     "\nErrors  : 5\n\nFile Failed\n"},
    // Two of a name: one message, as always.
    {"ModelNamesTwo", "-n two.pkg", 1,
     "\nChecking two.pkg for IBIS 5.0 Compatibility...\n\n"
     "E3410 - Define_Package_Model 'B' is duplicated within the .ibs file.\n"
     "\nErrors  : 1\n\nFile Failed\n"},
    // Rows A B A A B of a two-pin matrix (the repeats without data): each
    // repeat once at its line, then its place.
    {"RowNamesThreeAndFour", "-n rows.pkg", 1,
     "\nChecking rows.pkg for IBIS 5.0 Compatibility...\n\n"
     "E3101 (line   18) - Repeated ROW <A>.\n"
     "E3102 (line   18) -\n"
     "    Expected Pin <A> at matrix row index 1, found at matrix row index 3.\n"
     "E3101 (line   19) - Repeated ROW <A>.\n"
     "E3102 (line   19) -\n"
     "    Expected Pin <A> at matrix row index 1, found at matrix row index 4.\n"
     "E3101 (line   20) - Repeated ROW <B>.\n"
     "E3102 (line   20) -\n"
     "    Expected Pin <B> at matrix row index 2, found at matrix row index 5.\n"
     "E3717 (line   21) -\n"
     "    Expected 2 Rows, found 5 for Matrix ending previous to this line.\n"
     "E3117 (line   21) - Expected at least one column of Row data for [Row] A in Matrix ending "
     "previous to this line.\n"
     "E3117 (line   21) - Expected at least one column of Row data for [Row] A in Matrix ending "
     "previous to this line.\n"
     "E3117 (line   21) - Expected at least one column of Row data for [Row] B in Matrix ending "
     "previous to this line.\n"
     "\nErrors  : 10\n\nFile Failed\n"},
};

class RepeatOutput : public CheckerTempDir, public ::testing::WithParamInterface<Case> {};

TEST_P(RepeatOutput, WholeOutput)
{
    std::string models;
    for (const char* name : {"A", "B", "A", "C", "A", "C", "C", "C"}) models += Model(name);
    Write("rep.pkg", PkgFile("rep.pkg", models));
    Write("two.pkg", PkgFile("two.pkg", Model("B") + Model("D") + Model("B")));
    Write("rows.pkg", PkgFile("rows.pkg",
                              "[Define Package Model] R\n[Manufacturer] Acme\n[OEM] Acme\n"
                              "[Description] d\n[Number Of Pins] 2\n[Pin Numbers]\nA\nB\n"
                              "[Model Data]\n[Inductance Matrix] Sparse_matrix\n"
                              "[Row] A\nA 1n\n[Row] B\nB 1n\n[Row] A\n[Row] A\n[Row] B\n"
                              "[Capacitance Matrix] Sparse_matrix\n[Row] A\nA 1p\n[Row] B\nB 1p\n"
                              "[End Model Data]\n[End Package Model]\n"));
    CheckCase(dir_, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Repeats, RepeatOutput, ::testing::ValuesIn(kRepeatCases), CaseName);

}  // namespace
