// Package models with their matrices, rows and R/L/C sections, and board
// descriptions with the files they refer to: whole checker runs over small
// files, the real package files of the corpus, and files too deep or too
// large to keep as fixtures.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "checker_run.h"

namespace {

// Each expected text was worked out line by line from the keyword rules; the
// layout is that of the numbered log (a line error of 60 to 75 characters,
// a line warning of 58 to 75, goes on its own line).
const Case kCases[] = {
    {"CleanMatricesAndSectionedModel", "-n pkgclean.pkg", 0,
     R"(
Checking pkgclean.pkg for IBIS 5.0 Compatibility...

Errors  : 0

File Passed
)"},
    {"PinListFaults", "-n pkgpins.pkg", 1,
     R"(
Checking pkgpins.pkg for IBIS 5.0 Compatibility...

E3433 (line    9) - Number of Pins is zero, unable to add Pin Number.
E3420 (line   10) - Blank Number_of_Pins value.
W3422 (line   11) - Suspicious Number_of_Pins value.
E3421 (line   12) - Duplicate Number_of_Pins keyword.
E3468 (line   13) - Duplicate 'Pin_Numbers' keyword found.
E3437 (line   15) - Duplicate Pin <P1>.
E3432 (line   16) - Pin Numbers name string too long. will be truncated.
E3435 (line   16) - More Pin Numbers names than Number of pins.
E3469 (line   17) - Extraneous data on 'Model_Data' line.
E3465 (line   18) - Bandwidth keyword in wrong location.
E3702 (line   19) - Unknown matrix type 'Odd_matrix'.
E3717 (line   21) -
    Expected 2 Rows, found 0 for Matrix ending previous to this line.
E3701 (line   21) - Matrix type not specified.
E3717 (line   22) -
    Expected 2 Rows, found 0 for Matrix ending previous to this line.
E3466 (line   23) - Row keyword in wrong location.
E3404 (line   24) - Orphan Data line.
E3461 (line   25) - Duplicate Inductance Matrix.
E3430 (line   30) - Number_of_Sections = 0.
E3467 - Keyword 'Manufacturer' not found or blank for Package Model 'E1'.
E3418 - OEM keyword not found for Package Model 'E1'.
E3419 - Description keyword not found for Package Model 'E1'.
E3431 - Number_of_Pins keyword not found or value bad for Package Model 'E1'.
E3452 - Required keyword Pin_Numbers not found for Package Model 'E1'.
E3459 - Required End_Package_Model keyword not found.
E3410 - Define_Package_Model 'E1' is duplicated within the .ibs file.

Errors  : 24
Warnings: 1

File Failed
)"},
    // The pin line that was dropped (line 31) takes its continuation, Fork and
    // Endfork lines with it.
    {"SectionAndForkFaults", "-n pkgsect.pkg", 1,
     R"(
Checking pkgsect.pkg for IBIS 5.0 Compatibility...

E3427 (line   11) - Number of Sections should be specified before Pin Numbers
E3468 (line   12) - Duplicate 'Pin_Numbers' keyword found.
E3438 (line   13) - Detected the start of an orphan R/L/C section
E3440 (line   14) - Detected the start of an orphan 'Fork'
E3443 (line   16) - Endfork found without enclosing Fork
E3439 (line   18) - Cannot Nest Forks
E3442 (line   19) - Empty Fork/Endfork found
E3012 (line   20) -  L and C must be specified when Len != 0
E3443 (line   22) - Endfork found without enclosing Fork
E3007 (line   23) - L should not be less than zero
E3006 (line   23) - Duplicate L sub param in R/L/C section
E3013 (line   23) - Premature end of R/L/C section. Trailing '/' missing
E3432 (line   28) - Pin Numbers name string too long. will be truncated.
W3445 (line   28) -
    Found a Pin Name 'A1=23456' containing '='. Possible syntax error
E3449 (line   28) - No Sections were defined for this pin even though [Number of Sections] was defined.
E3444 (line   31) - A new Pin R has been defined before terminating a previous Fork with the corresponding Endfork
W3447 (line   31) - Found a Pin Name 'R'. Possible syntax error
E3435 (line   31) - More Pin Numbers names than Number of pins.
E3451 - Pin 'A2' has 3 sections. This is greater than the Number of Sections 2 specified
E3451 - Pin 'A3' has 3 sections. This is greater than the Number of Sections 2 specified
E3456 - Model_Data cannot be specified when Number_Of_Sections is specified for package S1.

Errors  : 19
Warnings: 2

File Failed
)"},
    {"MatrixAndRowFaults", "-n pkgmtx.pkg", 1,
     R"(
Checking pkgmtx.pkg for IBIS 5.0 Compatibility...

E3708 (line   39) -
    Bandwidth for this Banded, circle-back matrix exceeds the limit of 2.
E3107 (line   42) - Only 1 columns of data allowed for this Row .
E3717 (line   43) -
    Expected 5 Rows, found 1 for Matrix ending previous to this line.
E3716 - The Capacitance Matrix is Banded and requires the 'Bandwidth' keyword.
E3703 (line   56) - Bandwidth only allowed for Banded Matrices
E3105 (line   58) - More row data than allowed for this row.
E3102 (line   59) -
    Expected Pin <C> at matrix row index 3, found at matrix row index 2.
E3103 (line   60) - Unable to convert row data.
E3102 (line   61) -
    Expected Pin <B> at matrix row index 2, found at matrix row index 3.
W3104 (line   62) - Suspicious row data.
E3105 (line   62) - More row data than allowed for this row.
E3116 (line   65) - Expected 2 columns of Row data for [Row] C in Matrix ending previous to this line, found 1 column
E3114 (line   68) - No row data.
E3115 (line   69) - Excessive data <2n>, only Index and Value should be specified for a Sparse_matrix.
E3113 (line   70) - Duplicate Row column index 2.
E3111 (line   72) -
    This Row Column Index defines an entry in the lower matrix triangle.
E3100 (line   73) - Unable to find Pin <Q> in Package Model Pin_Number list.
E3101 (line   75) - Repeated ROW <B>.
E3102 (line   75) -
    Expected Pin <B> at matrix row index 2, found at matrix row index 3.
E3118 (line   76) - [Row] B must contain a self-coupled index and entry.
E3117 (line   76) - Expected at least one column of Row data for [Row] B in Matrix ending previous to this line.
E3705 (line   77) - Suspicious Bandwidth value.
E3706 (line   77) - Bandwidth <3> must be less than Number_of_Pins <3>.
E3464 (line   78) - Multiple Bandwidth keywords.
E3121 (line   80) - PIN NUMBER string too long.
E3100 (line   80) -
    Unable to find Pin <TOOLO> in Package Model Pin_Number list.
E3717 (line   81) -
    Expected 3 Rows, found 2 for Matrix ending previous to this line.
E3116 (line   81) - Expected 3 columns of Row data for [Row] A in Matrix ending previous to this line, found 0 columns.
E3116 (line   81) - Expected 2 columns of Row data for [Row] TOOLO in Matrix ending previous to this line, found 0 columns.
E3704 (line   92) - Bad Bandwidth value.
E3465 (line   95) - Bandwidth keyword in wrong location.

Errors  : 30
Warnings: 1

File Failed
)"},
    {"ModelEndChecksAndOrphans", "-n pkgend.pkg", 1,
     R"(
Checking pkgend.pkg for IBIS 5.0 Compatibility...

E3460 (line   12) - Duplicate Resistance Matrix.
E3717 (line   13) -
    Expected 2 Rows, found 0 for Matrix ending previous to this line.
E3120 (line   14) - Unknown PIN NUMBER.
E3100 (line   14) - Unable to find Pin <> in Package Model Pin_Number list.
E3462 (line   15) - Duplicate Capacitance Matrix.
E3717 (line   17) -
    Expected 2 Rows, found 1 for Matrix ending previous to this line.
E3116 (line   17) - Expected 2 columns of Row data for [Row]  in Matrix ending previous to this line, found 0 columns.
E3454 - Number of Pins <2> not the same as count of Pin Numbers names found <1> for Package Model 'M1'.
E3455 - Required Model_Data keyword not found for package M1.
E3413 - Inductance matrix not found for Package Model 'M1'.
E3457 - Required End_Model_Data keyword not found for package M1.
E3459 - Required End_Package_Model keyword not found.
E1913 (line   17) - Zero length value for keyword 'Define Package Model'.
E3423 (line   18) - Bad Number_of_Pins value.
W3422 (line   19) - Suspicious Number_of_Pins value.
E3425 (line   20) - Blank Number_of_Sections value.
E3429 (line   21) - Bad Number_of_Sections value.
W3428 (line   22) - Suspicious Number_of_Sections value.
E3426 (line   23) - Duplicate Number_of_Sections keyword.
E3717 (line   26) -
    Expected 3 Rows, found 0 for Matrix ending previous to this line.
E3717 (line   27) -
    Expected 3 Rows, found 0 for Matrix ending previous to this line.
E3717 (line   28) -
    Expected 3 Rows, found 0 for Matrix ending previous to this line.
E3441 (line   30) - Detected the start of an orphan 'Endfork'
W3446 (line   31) -
    Found a Pin Name 'A/B' containing '/'. Possible syntax error
E3417 - Package Model keyword 'Define_Package_Model' not found or blank.
E3467 - Keyword 'Manufacturer' not found or blank for Package Model ''.
E3418 - OEM keyword not found for Package Model ''.
E3419 - Description keyword not found for Package Model ''.
E3454 - Number of Pins <3> not the same as count of Pin Numbers names found <1> for Package Model ''.
E3450 - Some Fork sub parameters were not terminated with Endfork
E3456 - Model_Data cannot be specified when Number_Of_Sections is specified for package .
E3411 - Resistance_Matrix cannot be specified when Number_Of_Sections is specified for Package Model .
E3412 - Inductance_Matrix cannot be specified when Number_Of_Sections is specified for Package Model .
E3414 - Capacitance_Matrix cannot be specified when Number_Of_Sections is specified for Package Model .
E3458 - End_Model_Data cannot be specified when Number_Of_Sections is specified for package .
E3459 - Required End_Package_Model keyword not found.
E3424 (line   35) - Number_of_Pins = 0.
E3467 - Keyword 'Manufacturer' not found or blank for Package Model 'M3'.
E3418 - OEM keyword not found for Package Model 'M3'.
E3419 - Description keyword not found for Package Model 'M3'.
E3431 - Number_of_Pins keyword not found or value bad for Package Model 'M3'.
E3455 - Required Model_Data keyword not found for package M3.
E3413 - Inductance matrix not found for Package Model 'M3'.
E3415 - Capacitance matrix not found for Package Model 'M3'.
E3457 - Required End_Model_Data keyword not found for package M3.
E3459 - Required End_Package_Model keyword not found.
E3453 - No Pin Numbers names found for Package Model 'M4'.
E3455 - Required Model_Data keyword not found for package M4.
E3413 - Inductance matrix not found for Package Model 'M4'.
E3415 - Capacitance matrix not found for Package Model 'M4'.
E3457 - Required End_Model_Data keyword not found for package M4.
E0911 (line   44) - Illegal keyword for a '.pkg' file.
E3401 (line   45) - Orphan Package Model keyword.
E3402 (line   46) - Orphan Data Line.

Errors  : 51
Warnings: 3

File Failed
)"},
    {"BoardFaults", "-n ebderr.ebd", 1,
     R"(
Checking ebderr.ebd for IBIS 3.2 Compatibility...

W4312 (line    6) - Suspicious Number_of_Pins value.
E4309 (line    7) - Duplicate [Number of Pins] keyword
E4311 (line    7) - Duplicate Number_of_Pins keyword.
E4338 (line    8) - 'signal_name' column header not found.
E4323 (line    9) - No signal_name found
E4317 (line   10) - Pin name string too long. will be truncated.
E4322 (line   11) - Duplicate Pin <P1>.
E4325 (line   11) - Unexpected data after signal_name.
E4320 (line   14) - More Pin Numbers names than Number of pins.
E4336 (line   15) - Duplicate [Pin List] keyword found.
E4342 (line   17) - Detected the start of an orphan R/L/C section
E4344 (line   18) - Detected the start of an orphan 'NC'
E4345 (line   18) - Detected the start of an orphan 'Fork'
E4346 (line   18) - Detected the start of an orphan 'Endfork'
E4351 (line   18) - Detected an orphan 'Node' sub param
E4340 (line   19) - Unexpected '=' found
E4341 (line   19) - Unexpected '/' found
E4347 (line   21) - Empty Fork/Endfork found
E4368 (line   22) - Invalid Node specified. Missing '.'
E4384 (line   22) - Node Pin name string too long. will be truncated.
E4350 (line   22) - No ref_designatior.pin found after Node sub param
W4362 (line   23) -
    Found a Pin Name 'P1/' containing '/'. Possible syntax error
W4364 (line   23) - Found a Pin Name 'R'. Possible syntax error
E4352 (line   23) - Unknown token found: 'Bogus'
E4349 (line   23) - No Pin Name found after Pin sub param
E4303 (line   24) - Detected previous unterminated Forks
E4354 (line   24) - Duplicate Path_Description 'pa'
E4361 (line   25) - Pin_name string too long. will be truncated.
E4335 (line   27) - Extraneous data on 'Reference_Designator_Map' line.
E4373 (line   29) - Duplicate Reference Designator 'U1'
E4377 (line   29) - Unknown file extension'.IBS'. Should be '.ibs' or '.ebd'
E4378 (line   29) - File_name 'Part.IBS' contains an upper case character 'P'.
E4378 (line   29) - File_name 'Part.IBS' contains an upper case character 'I'.
E4378 (line   29) - File_name 'Part.IBS' contains an upper case character 'B'.
E4378 (line   29) - File_name 'Part.IBS' contains an upper case character 'S'.
E4381 (line   29) - No Component name found
E4372 (line   30) -
    Reference Designator name 'U2345678901' too long. Will be truncated
E4379 (line   30) -
    File_name 'a+b.x.y.ibs' contains a character '+' that is illegal for DOS.
E4380 (line   30) - File_name 'a+b.x.y.ibs' contains more than one period.
E4380 (line   30) - File_name 'a+b.x.y.ibs' contains more than one period.
E4376 (line   31) - Invalid file name 'noext'. It has no extension
E4381 (line   31) - No Component name found
E4375 (line   32) -
    File name 'waytoolongfilename_abcdefghij.ibs' too long. Will be truncated
E4334 (line   33) - Duplicate 'Reference_Designator_Map' keyword found.
E4335 (line   34) - Extraneous data on 'End_Board_Description' line.
E4334 (line   35) - Duplicate 'End_Board_Description' keyword found.
E4330 - Pin 'P1' was referenced 2 times on Electrical Paths
E4330 - Pin 'P1' was referenced 2 times on Electrical Paths
E4328 - Pin 'P6' was not referenced on any Electrical Path
E4357 - Path pa or a branch does not terminate after NC
E4358 - Pin 'P9' used in Path 'pa' not defined
E4359 - Reference Designator 'X' used in Path 'pa' not defined
E4358 - Pin 'P1/' used in Path 'pa' not defined
E4358 - Pin 'R' used in Path 'pa' not defined
E4356 - Path Descriptor 'empty' has no segments
E1913 (line   36) - Zero length value for keyword 'Define Ebd Model'.
E4310 (line   37) - Blank Number_of_Pins value.
E4309 (line   38) - Duplicate [Number of Pins] keyword
E4313 (line   38) - Bad Number_of_Pins value.
E4309 (line   39) - Duplicate [Number of Pins] keyword
E4314 (line   39) - Number_of_Pins = 0.
E4339 (line   40) - Unrecognized data after 'signal_name'
E4318 (line   41) - Number of Pins is zero, unable to add Pin Number.
E4308 - Ebd Model keyword 'Begin_Board_Description' not found or blank.
E4333 - Keyword 'Manufacturer' not found or blank for Ebd Model ''.
E4315 - Number_of_Pins keyword not found or value bad for Ebd Model ''.
E4355 - EBD Model '' has no paths defined
E4332 - Required End_Board_Description keyword not found.
E4326 - Required keyword Pin_List not found.
E4358 - Pin 'Q1' used in Path 'solo' not defined
E4337 (line   51) - Unable to find 'signal_name' after [Pin List] keyword.
E4327 - No Pin Numbers names found.
E4355 - EBD Model 'e4' has no paths defined
W4329 - Pin 'Q1' was referenced on Electrical Paths but is implicitly connected to a power or a gnd plane
E4330 - Pin 'Q2' was referenced 2 times on Electrical Paths
E4331 -
    Number of Pins <3> not the same as count of Pin Numbers names found <2>.
E4359 - Reference Designator 'U9' used in Path 'r' not defined
E4333 - Keyword 'Manufacturer' not found or blank for Ebd Model 'e1'.
E4315 - Number_of_Pins keyword not found or value bad for Ebd Model 'e1'.
E4326 - Required keyword Pin_List not found.
E4355 - EBD Model 'e1' has no paths defined
E4332 - Required End_Board_Description keyword not found.
E4306 - Board Description 'e1' is duplicated within the .ebd file.

Errors  : 79
Warnings: 4

File Failed
)"},
    {"BoardWordsMapAndOrphans", "-n ebdmisc.ebd", 1,
     R"(
Checking ebdmisc.ebd for IBIS 4.2 Compatibility...

E4324 (line    8) - signal_name too long. will be truncated.
E4348 (line   10) - Endfork found without enclosing Fork
E4369 (line   10) -
    Node Reference designator string too long. will be truncated.
W4386 (line   10) - Found a Node 'U/2' containing '/'. Possible syntax error
W4387 (line   10) - Found a Node 'Fork'. Possible syntax error
E4374 (line   12) - No file name found
E4381 (line   12) - No Component name found
E4382 (line   13) - Component name 'a_component_name_that_runs_past_forty_chars' too long. Will be truncated
E4359 - Reference Designator 'U123456789' used in Path 'p' not defined
E4359 - Reference Designator 'U/2' used in Path 'p' not defined
E4359 - Reference Designator 'Fork' used in Path 'p' not defined
E0912 (line   15) - Illegal keyword for a '.ebd' file.
E4301 (line   16) - Orphan Electrical Board Description keyword.
E4302 (line   17) - Orphan Data Line.

Errors  : 12
Warnings: 2

File Failed
)"},
    // Both boards reach ebdpart.ibs (one nested pass for both) and the first
    // reaches ebdsub.ebd, which names the first board back.  The component
    // reader does not exist yet, so every pin looked up in the .ibs file
    // finds no component.
    {"BoardReferencesReadEachFileOnce", "-n ebdmain.ebd", 1,
     R"(
Checking ebdmain.ebd for IBIS 4.2 Compatibility...

W4329 - Pin 'A3' was referenced on Electrical Paths but is implicitly connected to a power or a gnd plane
E4392 - Pin 'P9' not found on Component 'b2' in file 'ebdmain.ebd'
E4390 -
    Reference Designator 'U4' refers to the Component 'b1' itself being defined

Checking ebdsub.ebd for IBIS 4.2 Compatibility...

E4394 - Ebd file 'ebdsub.ebd' recursively references the component b1 in the calling Ebd file 'ebdmain.ebd'
E4392 - Pin 'B1' not found on Component 'sub' in file 'ebdsub.ebd'

Errors  : 2

File Failed

Checking ebdpart.ibs for IBIS 4.2 Compatibility...

E3951 - Required keyword 'Component' not found.
E4391 - Component 'chip' not found in file 'ebdpart.ibs'
E4393 - Length of Pin '123456' referenced for Component 'chip' is too long
E4391 - Component 'chip' not found in file 'ebdpart.ibs'

Errors  : 4

File Failed

Errors  : 8
Warnings: 1

File Failed
)"},
};

class PackageOutput : public ::testing::TestWithParam<Case> {};

TEST_P(PackageOutput, WholeOutputAndStatus) { CheckCase(IBIS_FIXTURES, GetParam()); }

INSTANTIATE_TEST_SUITE_P(Fixtures, PackageOutput, ::testing::ValuesIn(kCases), CaseName);

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) n++;
    return n;
}

#ifdef IBIS_CORPUS
// The package files of the corpus: a 4-pin banded matrix whose third row
// runs past the band (the circle-back limit of a 4-pin matrix is 1), a
// sparse matrix of 8 rows, and pins that name no sections.
TEST(PackageCorpus, KicadPackageFiles)
{
    CheckerRun r = RunChecker(IBIS_CORPUS "/kicad_qa", "-n ibis_v2_1.pkg");
    EXPECT_EQ(Count(r.out, "E3708 (line   50) -\n    Bandwidth for this Banded, circle-back matrix "
                           "exceeds the limit of 1.\n"), 1u) << r.out;
    EXPECT_EQ(Count(r.out, "E3717 (line  103) -\n    Expected 4 Rows, found 8 for Matrix ending "
                           "previous to this line.\n"), 1u) << r.out;
    r = RunChecker(IBIS_CORPUS "/kicad_qa", "-n ibis_v3_2.pkg");
    for (int line = 35; line <= 38; line++)
        EXPECT_EQ(Count(r.out, "E3449 (line   " + std::to_string(line) +
                                   ") - No Sections were defined for this pin even though "
                                   "[Number of Sections] was defined.\n"), 1u) << r.out;
    EXPECT_EQ(Count(r.out, "E3449"), 4u);
}
#endif

std::string Head(const std::string& name, const std::string& body)
{
    return "[IBIS Ver] 5.0\n[File Name] " + name + "\n[File Rev] 1.0\n[Define Package Model] big\n"
           "[Manufacturer] Acme\n[OEM] Acme\n[Description] large\n" + body +
           "[End Package Model]\n[End]\n";
}

std::string Repeat(const std::string& line, int n)
{
    std::string s;
    s.reserve(line.size() * (size_t)n);
    for (int i = 0; i < n; i++) s += line;
    return s;
}

// Nesting and lengths that a call stack or a walk per level would not survive.
TEST_F(CheckerTempDir, DeepForksManySectionsAndHugeCounts)
{
    const int n = 200000;
    Write("forks.pkg", Head("forks.pkg", "[Number Of Sections] 1\n[Number Of Pins] 1\n[Pin Numbers]\n"
                                         "A1 Len=0 R=1 /\n" + Repeat("Fork\n", n) + "Len=0 R=1 /\n" +
                                         Repeat("Endfork\n", n)));
    CheckerRun r = RunChecker(dir_, "-q -n forks.pkg");
    EXPECT_EQ(Count(r.out, "Cannot Nest Forks"), (size_t)n - 1);
    EXPECT_EQ(Count(r.out, "E3451 - Pin 'A1' has 2 sections. This is greater than the Number of "
                           "Sections 1 specified\n"), 1u);
    EXPECT_NE(r.out.find("\nErrors  : 200000\n\nFile Failed\n"), std::string::npos);
    EXPECT_EQ(r.status, 1);

    Write("sections.pkg", Head("sections.pkg", "[Number Of Sections] 1\n[Number Of Pins] 1\n"
                                               "[Pin Numbers]\nA1 Len=0 R=1 /\n" +
                                               Repeat("Len=0 R=1 / Len=0 C=1p /\n", n / 2)));
    r = RunChecker(dir_, "-q -n sections.pkg");
    EXPECT_EQ(r.out, "E3451 - Pin 'A1' has 200001 sections. This is greater than the Number of "
                     "Sections 1 specified\n\nErrors  : 1\n\nFile Failed\n");

    Write("huge.pkg", Head("huge.pkg", "[Number Of Pins] 4000000000\n[Pin Numbers]\nA1\nA2\n"
                                       "[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] A1\n1n\n"
                                       "[Capacitance Matrix] Sparse_matrix\n[Row] A1\nA2 1p\n"
                                       "[End Model Data]\n"));
    r = RunChecker(dir_, "-q -n huge.pkg");
    EXPECT_EQ(r.out,
              "E3717 (line   16) -\n"
              "    Expected 4000000000 Rows, found 1 for Matrix ending previous to this line.\n"
              "E3116 (line   16) - Expected 4000000000 columns of Row data for [Row] A1 in Matrix "
              "ending previous to this line, found 1 column\n"
              "E3717 (line   19) -\n"
              "    Expected 4000000000 Rows, found 1 for Matrix ending previous to this line.\n"
              "E3118 (line   19) - [Row] A1 must contain a self-coupled index and entry.\n"
              "E3454 - Number of Pins <4000000000> not the same as count of Pin Numbers names "
              "found <2> for Package Model 'big'.\n"
              "\nErrors  : 5\n\nFile Failed\n");
}

TEST_F(CheckerTempDir, DeepBoardForksAndHugeBoardCount)
{
    const int n = 200000;
    Write("deep.ebd", "[IBIS Ver] 4.2\n[File Name] deep.ebd\n[File Rev] 1.0\n"
                      "[Begin Board Description] deep\n[Manufacturer] Acme\n[Number Of Pins] 1\n"
                      "[Pin List] signal_name\nA1 sig\n[Path Description] p\nPin A1\n" +
                          Repeat("Fork\n", n) + "Len=0 R=1 / NC\n" + Repeat("Endfork\n", n) +
                          "[End Board Description]\n"
                          "[Begin Board Description] huge\n[Manufacturer] Acme\n"
                          "[Number Of Pins] 4000000000\n[Pin List] signal_name\nA1 sig\n"
                          "[Path Description] p\nPin A1\n[End Board Description]\n[End]\n");
    CheckerRun r = RunChecker(dir_, "-q -n deep.ebd");
    EXPECT_EQ(r.out, "E4331 - Number of Pins <4000000000> not the same as count of Pin Numbers "
                     "names found <1>.\n\nErrors  : 1\n\nFile Failed\n");
}

// A referenced pin is looked up on the component read from the .ibs file.
TEST_F(CheckerTempDir, BoardFindsComponentPinsInIbsFile)
{
    Write("part.ibs", "[IBIS Ver] 4.2\n[File Name] part.ibs\n[File Rev] 1.0\n"
                      "[Component] chip\n[Manufacturer] Acme\n[Package]\n"
                      "| variable typ min max\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
                      "[Pin] signal_name model_name R_pin L_pin C_pin\n1 sig POWER\n[End]\n");
    Write("top.ebd", "[IBIS Ver] 4.2\n[File Name] top.ebd\n[File Rev] 1.0\n"
                     "[Begin Board Description] b\n[Manufacturer] Acme\n[Number Of Pins] 1\n"
                     "[Pin List] signal_name\nA1 sig\n[Path Description] p\n"
                     "Pin A1 Node U1.1 Node U1.2 Node U1.123456\n"
                     "[Reference Designator Map]\nU1 part.ibs chip\n[End Board Description]\n[End]\n");
    CheckerRun r = RunChecker(dir_, "-q -n top.ebd");
    EXPECT_EQ(Count(r.out, "E4391"), 0u) << r.out;
    EXPECT_EQ(Count(r.out, "E4392 - Pin '2' not found on Component 'chip' in file 'part.ibs'\n"), 1u)
        << r.out;
    EXPECT_EQ(Count(r.out, "E4393 - Length of Pin '123456' referenced for Component 'chip' is too "
                           "long\n"), 1u) << r.out;
}

}  // namespace
