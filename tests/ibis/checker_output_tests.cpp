// Runs the ibislint program over small fixture files and compares its whole
// standard output (banners, messages, totals) and its exit status with the
// text that the format's rules give for each file.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <ostream>
#include <string>

#include "checker_run.h"

namespace {

// Expected texts follow the log's layout: a text of 60 to 75 characters of
// a line error (58 to 75 of a line warning, 72 to 75 of a plain error) goes
// on its own line after "-" and four blanks.
const Case kCases[] = {
    {"VersionRefused", "v11.ibs", 1,
     R"(ERROR - Could not determine Version for file v11.ibs

Errors  : 1

File Failed
)"},
    {"VersionBanners", "v21.ibs v32.ibs v42.ibs v50.ibs", 1,
     R"(
Checking v21.ibs for IBIS 2.1 Compatibility...

ERROR - Required keyword 'Component' not found.

Errors  : 1

File Failed

Checking v32.ibs for IBIS 3.2 Compatibility...

ERROR - Required keyword 'Component' not found.

Errors  : 1

File Failed

Checking v42.ibs for IBIS 4.2 Compatibility...

ERROR - Required keyword 'Component' not found.

Errors  : 1

File Failed

Checking v50.ibs for IBIS 5.0 Compatibility...

ERROR - Required keyword 'Component' not found.

Errors  : 1

File Failed
)"},
    {"EachPassCountsItsOwnMessages", "v11.ibs v50.ibs", 1,
     R"(ERROR - Could not determine Version for file v11.ibs

Errors  : 1

File Failed

Checking v50.ibs for IBIS 5.0 Compatibility...

ERROR - Required keyword 'Component' not found.

Errors  : 1

File Failed
)"},
    {"VersionOfAnEarlierFileDoesNotCarryOver", "v50.ibs pre.ibs", 1,
     R"(
Checking v50.ibs for IBIS 5.0 Compatibility...

ERROR - Required keyword 'Component' not found.

Errors  : 1

File Failed

Checking pre.ibs for IBIS 5.0 Compatibility...

ERROR (line    1) - Exceeds 80 chararacters.
ERROR - Required keyword 'Component' not found.

Errors  : 2

File Failed
)"},
    {"LineRulesVersion3", "lines32.ibs", 1,
     R"(
Checking lines32.ibs for IBIS 3.2 Compatibility...

ERROR (line    5) - Exceeds 80 chararacters.
WARNING (line    6) - IBIS files should not contain tab characters.
ERROR (line   17) - Non-comment line exists after 'End' keyword.
ERROR (line   18) - Non-comment line exists after 'End' keyword.
ERROR - Required keyword 'Component' not found.

Errors  : 4
Warnings: 1

File Failed
)"},
    {"LineRulesVersion4", "lines42.ibs", 1,
     R"(
Checking lines42.ibs for IBIS 4.2 Compatibility...

ERROR (line    6) - Exceeds 120 chararacters.
ERROR (line    7) - Keywords Must Begin In Column 1.
ERROR (line    8) - Extraneous data on End keyword line.
ERROR - Required keyword 'Component' not found.

Errors  : 4

File Failed
)"},
    {"LineLongerThanTheBuffer", "longline.ibs", 1,
     R"(
Checking longline.ibs for IBIS 5.0 Compatibility...

ERROR (line    4) - Exceeds 120 chararacters.
ERROR - Required keyword 'Component' not found.

Errors  : 2

File Failed
)"},
    {"CommentCharChanges", "ccok.ibs", 1,
     R"(
Checking ccok.ibs for IBIS 5.0 Compatibility...

ERROR (line    6) - Orphan Data Line.
ERROR - Required keyword 'Component' not found.

Errors  : 2

File Failed
)"},
    {"CommentCharErrors", "ccbad.ibs", 1,
     R"(
Checking ccbad.ibs for IBIS 5.0 Compatibility...

ERROR (line    4) - Invalid Comment Character 'a'.
ERROR (line    5) - Invalid Comment Character Definition.
ERROR (line    6) - Invalid Comment Character Definition.
ERROR (line    7) - Too Many Line Items For Keyword COMMENT_CHAR.
ERROR (line    9) - Invalid Comment Character Definition.
ERROR - Required keyword 'Component' not found.

Errors  : 6

File Failed
)"},
    {"MissingEndClosesTheLastSection", "noend.ibs", 1,
     R"(
Checking noend.ibs for IBIS 4.2 Compatibility...

ERROR - Required keyword 'End' not found.
ERROR - Required keyword 'File_Rev' not found in file 'noend.ibs'.
ERROR - Required keyword 'Component' not found.

Errors  : 3

File Failed
)"},
    {"MissingEndWithoutFinalLineEnd", "noendnolf.ibs", 1,
     R"(
Checking noendnolf.ibs for IBIS 4.2 Compatibility...

ERROR - Required keyword 'End' not found.
ERROR - Required keyword 'Component' not found.

Errors  : 2

File Failed
)"},
    {"WrongFileTypes", "types.pkg types.ibs types.ebd types21.pkg", 1,
     R"(
Checking types.pkg for IBIS 5.0 Compatibility...

ERROR (line    4) - Illegal keyword for a '.pkg' file.
ERROR (line    5) - Illegal keyword for a '.pkg' file.
ERROR (line    6) - Illegal keyword for a '.pkg' file.

Errors  : 3

File Failed

Checking types.ibs for IBIS 5.0 Compatibility...

ERROR (line    4) - Illegal keyword for a '.ibs' file.
ERROR - Required keyword 'Manufacturer' not defined for Component 'chip'.
ERROR - Keyword 'Package' not defined for Component 'chip'.
ERROR - Unable to find Pin keyword data for Component 'chip'.

Errors  : 4

File Failed

Checking types.ebd for IBIS 5.0 Compatibility...

ERROR (line    4) - Illegal keyword for a '.ebd' file.
ERROR (line    5) - Illegal keyword for a '.ebd' file.

Errors  : 2

File Failed

Checking types21.pkg for IBIS 2.1 Compatibility...

ERROR (line    4) - Illegal keyword for a '.pkg' file.

Errors  : 1

File Failed
)"},
    {"UnknownKeywords", "unknown.ibs", 1,
     R"(
Checking unknown.ibs for IBIS 3.2 Compatibility...

ERROR (line    3) - Invalid Keyword: Bogus_Keyword
ERROR (line    4) - Data for unknown keyword.
data after a bad keyword
ERROR (line    5) - Invalid Keyword: _Model
ERROR (line    6) - Keyword Missing Ending Bracket (']').
ERROR (line    7) - Invalid Keyword.
ERROR (line    8) - Invalid Keyword: Receiver_Thresholds
ERROR - Required keyword 'File_Rev' not found in file 'unknown.ibs'.
ERROR (line    9) - Orphan Model keyword.
ERROR - Required keyword 'Component' not found.

Errors  : 9

File Failed
)"},
    {"NumberedStyle", "-n unknown.ibs", 1,
     R"(
Checking unknown.ibs for IBIS 3.2 Compatibility...

E0916 (line    3) - Invalid Keyword: Bogus_Keyword
E0907 (line    4) - Data for unknown keyword.
data after a bad keyword
E0916 (line    5) - Invalid Keyword: _Model
E0914 (line    6) - Keyword Missing Ending Bracket (']').
E0915 (line    7) - Invalid Keyword.
E0916 (line    8) - Invalid Keyword: Receiver_Thresholds
E1915 - Required keyword 'File_Rev' not found in file 'unknown.ibs'.
E0102 (line    9) - Orphan Model keyword.
E3951 - Required keyword 'Component' not found.

Errors  : 9

File Failed
)"},
    {"FailedKeywordStillClosesTheOpenModule", "failclose.ibs", 1,
     R"(
Checking failclose.ibs for IBIS 5.0 Compatibility...

ERROR (line    3) - Invalid Keyword: Nonsense
ERROR - Required keyword 'File_Rev' not found in file 'failclose.ibs'.
ERROR - Required keyword 'Manufacturer' not defined for Component 'chip'.
ERROR - Keyword 'Package' not defined for Component 'chip'.
ERROR - Unable to find Pin keyword data for Component 'chip'.

Errors  : 5

File Failed
)"},
    {"VersionGate", "gate.ibs", 1,
     R"(
Checking gate.ibs for IBIS 3.2 Compatibility...

ERROR (line    1) - Illegal IBIS_Version '3.3'.
ERROR - Required keyword 'Component' not found.

Errors  : 2

File Failed
)"},
    {"FileNameRules", "fname.ibs fname2.ibs fname21.ibs", 1,
     R"(
Checking fname.ibs for IBIS 4.2 Compatibility...

ERROR (line    2) -
    File_name 'My.File.ibs' contains an upper case character 'M'.
ERROR (line    2) -
    File_name 'My.File.ibs' contains an upper case character 'F'.
ERROR (line    2) - File_name 'My.File.ibs' contains more than one period.
ERROR (line    2) -
    File name opened 'fname.ibs' not the same as File_name 'My.File.ibs'.
ERROR - Required keyword 'Component' not found.

Errors  : 5

File Failed

Checking fname2.ibs for IBIS 4.2 Compatibility...

ERROR (line    2) -
    File_name 'fname+2' contains a character '+' that is illegal for DOS.
ERROR (line    2) - File_name 'fname+2' must contain one period.
ERROR (line    2) -
    File name opened 'fname2.ibs' not the same as File_name 'fname+2'.
ERROR (line    3) - Illegal use of Reserved Word 'NA'.
ERROR - Required keyword 'Component' not found.

Errors  : 5

File Failed

Checking fname21.ibs for IBIS 2.1 Compatibility...

ERROR (line    2) - File_name string 'fname21_long_name.ibs' is too long, truncating to 12 characters.
ERROR (line    2) - File_name 'fname21_long' must contain one period.
ERROR (line    2) -
    File name opened 'fname21.ibs' not the same as File_name 'fname21_long'.
ERROR - Required keyword 'Component' not found.

Errors  : 4

File Failed
)"},
    {"DuplicateHeaderKeywords", "hdrdup.ibs", 1,
     R"(
Checking hdrdup.ibs for IBIS 4.2 Compatibility...

ERROR (line    3) - Duplicate File_name keyword.
ERROR (line    5) - Duplicate File_Rev keyword.
ERROR (line    7) - Duplicate Date keyword.
ERROR (line    9) - Duplicate Source keyword.
ERROR (line   11) - Duplicate Notes keyword.
ERROR (line   13) - Duplicate Copyright keyword.
ERROR (line   16) - Duplicate IBIS_Ver keyword
ERROR (line   16) - Duplicate IBIS_Ver keyword.
ERROR (line   16) - IBIS_Version must be first keyword.

ERROR (line   16) - Duplicate IBIS_Ver keyword
ERROR - Required keyword 'Component' not found.

Errors  : 11

File Failed
)"},
    {"MissingAndOrphanHeaderKeywords", "hdrmiss.ibs", 1,
     R"(
Checking hdrmiss.ibs for IBIS 5.0 Compatibility...

ERROR (line    1) - Data for unknown keyword.
text before any keyword
ERROR - Required keyword 'File_name' not found in file 'hdrmiss.ibs'.
ERROR - Required keyword 'File_Rev' not found in file 'hdrmiss.ibs'.
ERROR - Required keyword 'Manufacturer' not defined for Component 'x'.
ERROR - Keyword 'Package' not defined for Component 'x'.
ERROR (line    5) - Orphan File Header keyword.
ERROR (line    6) - Orphan Data Line.
ERROR - Unable to find Pin keyword data for Component 'x'.

Errors  : 8

File Failed
)"},
    {"AmiFileRules", "join.ami Upper.ami", 1,
     R"(
Checking join.ami for IBIS 5.0 Compatibility...

ERROR (line    3) -
    Description line in AMI file (at line no 3) is greater than 120 characters
WARNING (line    5) - IBIS files should not contain tab characters.
ERROR - Unknown parameter AMI_Version found as a child of Reserved_Parameters
ERROR - Init_Returns_Impulse parameter is mandatory
ERROR - GetWave_Exists parameter is mandatory

Errors  : 4
Warnings: 1

File Failed

Checking Upper.ami for IBIS 5.0 Compatibility...

WARNING - Filename 'Upper.ami' should be lowercase
ERROR - No Reserved_Parameters found

Errors  : 1
Warnings: 1

File Failed
)"},
};

class CheckerOutput : public ::testing::TestWithParam<Case> {};

TEST_P(CheckerOutput, WholeOutputAndStatus) { CheckCase(IBIS_FIXTURES, GetParam()); }

INSTANTIATE_TEST_SUITE_P(Fixtures, CheckerOutput, ::testing::ValuesIn(kCases), CaseName);

TEST_F(CheckerTempDir, IllegalCharactersCrLfAndEndOfFileMark)
{
    // Line 1 comes before the version line: its character is reported once,
    // by the read, with its own line number.
    Write("chars.ibs", std::string("|\x02 probe line\n"
                                   "[IBIS Ver] 5.0\r\n"
                                   "[File Name] chars.ibs\r\n"
                                   "[File Rev] 1.0\r\n"
                                   "|a\x01" "b\n"
                                   "|nul") +
                       std::string("\0here\n", 6) +
                       "|caf\xe9\n"
                       "|lone\rcr\n"
                       "|x\x1a" "y\n"
                       "[End]\r\n"
                       "\x1a");
    CheckerRun r = RunChecker(dir_, "chars.ibs");
    EXPECT_EQ(r.out,
              "\nChecking chars.ibs for IBIS 5.0 Compatibility...\n\n"
              "ERROR (line    1) -\n    Found illegal control character (code 2).  Converting to space.\n"
              "ERROR (line    5) -\n    Found illegal control character (code 1).  Converting to space.\n"
              "ERROR (line    6) - Found illegal NUL character (code 0).  Converting to space.\n"
              "ERROR (line    7) -\n    Found illegal non-7-bit ASCII character (code e9).  Converting to space.\n"
              "ERROR (line    8) -\n    Found illegal control character (code d).  Converting to space.\n"
              "ERROR (line    9) -\n    Found illegal control character (code 1a).  Converting to space.\n"
              "ERROR - Required keyword 'Component' not found.\n"
              "\nErrors  : 7\n\nFile Failed\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(CheckerTempDir, OverlongPathsAreReportedNotFatal)
{
    std::string deep(1100, 'a');
    std::string ami = deep + "/x.ami", pkg = deep + "/x.pkg";
    CheckerRun r = RunChecker(dir_, ami);
    EXPECT_EQ(r.out, "\nChecking " + ami + " for IBIS 5.0 Compatibility...\n\n"
                     "ERROR - Unable to assemble filename.\n"
                     "\nErrors  : 1\n\nFile Failed\n");
    EXPECT_EQ(r.status, 1);
    r = RunChecker(dir_, pkg);
    EXPECT_EQ(r.out, "ERROR - Unable to assemble filename.\n"
                     "ERROR - Could not determine Version for file " + pkg + "\n"
                     "\nErrors  : 2\n\nFile Failed\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(CheckerTempDir, FileThatCannotBeOpened)
{
    CheckerRun r = RunChecker(dir_, "absent.ibs");
    EXPECT_EQ(r.out, "ERROR - Unable To Open File 'absent.ibs'\n"
                     "ERROR - Could not determine Version for file absent.ibs\n"
                     "\nErrors  : 2\n\nFile Failed\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(CheckerTempDir, EachNameIsRelativeToTheWorkingDirectory)
{
    ASSERT_EQ(mkdir((dir_ + "/d").c_str(), 0755), 0);
    Write("d/a.ibs", "[IBIS Ver] 5.0\n[File Name] a.ibs\n[File Rev] 1\n[End]\n");
    Write("b.ibs", "[IBIS Ver] 5.0\n[File Name] b.ibs\n[File Rev] 1\n[End]\n");
    CheckerRun r = RunChecker(dir_, "-q d/a.ibs b.ibs");
    // Without banners, a line naming each file tells their messages apart.
    const char* noComponent =
        "ERROR - Required keyword 'Component' not found.\n\nErrors  : 1\n\nFile Failed\n";
    EXPECT_EQ(r.out, std::string("==> d/a.ibs <==\n") + noComponent + "==> b.ibs <==\n" + noComponent);
    EXPECT_EQ(r.status, 1);
}

TEST_F(CheckerTempDir, UsageAndFileKinds)
{
    Write("notes.txt", "[IBIS Ver] 5.0\n");
    CheckerRun r = RunChecker(dir_, "notes.txt");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(RunChecker(dir_, "").status, 2);
    EXPECT_EQ(RunChecker(dir_, "-x a.ibs").status, 2);
    // The extension is matched ignoring case; the name then gets 901.
    Write("UP.IBS", "[IBIS Ver] 5.0\n[File Name] up.ibs\n[File Rev] 1\n[End]\n");
    r = RunChecker(dir_, "-q UP.IBS");
    EXPECT_EQ(r.out, "WARNING - Filename 'UP.IBS' should be lowercase\n"
                     "ERROR - Required keyword 'Component' not found.\n"
                     "\nErrors  : 1\nWarnings: 1\n\nFile Failed\n");
    EXPECT_EQ(r.status, 1);
}

}  // namespace
