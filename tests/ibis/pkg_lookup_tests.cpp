// Package and board records in process: section reading, the look-ups that
// the component and pin checks use, and a board check that must not open
// the files its board names.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "cmn.h"
#include "ebdmdl.h"
#include "errlog.h"
#include "ibis.h"
#include "log_capture.h"
#include "parse.h"
#include "pkgmdl.h"
#include "reader_files.h"
#include "sect.h"

namespace {

struct SectionCase {
    const char* text;
    int result;
    bool section;     // a section was made
    const char* log;  // the whole numbered log
    const char* rest; // where the text goes on
};

TEST(Sections, ReadingOneSection)
{
    const SectionCase cases[] = {
        {"/", 1, true, "E3011 (line    7) - Empty R/L/C section found\n", ""},
        {"Len=0 L=1n", 0, false,
         "E3013 (line    7) - Premature end of R/L/C section. Trailing '/' missing\n", ""},
        {"R=", 1, false, "E1920 (line    7) - Premature end of R/L/C section\n", ""},
        {"", 1, false, "", ""},
        {"Len=1 L=1n C=1p / Len=2", 1, true, "", "Len=2"},
        {"Len=1 R=1 / x", 1, true,
         "E3012 (line    7) -  L and C must be specified when Len != 0\n", "x"},
        {"R=1 Len=-1 /", 1, true,
         "E3002 (line    7) - Len should be specified before R\n"
         "E3001 (line    7) - Len should not be less than zero\n"
         "E3012 (line    7) -  L and C must be specified when Len != 0\n", ""},
        {"Len=1 Len=0 R=1 R=-1 /", 1, true,
         "E3000 (line    7) - Duplicate Len sub param in R/L/C section\n"
         "E3003 (line    7) - Duplicate R sub param in R/L/C section\n"
         "E3004 (line    7) - R should not be less than zero\n", ""},
        {"L=1n C=1p /", 1, true,
         "E3005 (line    7) - Len should be specified before L\n"
         "E3008 (line    7) - Len should be specified before C\n", ""},
        {"Len=0 C=1p C=-2p /", 1, true,
         "E3009 (line    7) - Duplicate C sub param in R/L/C section\n"
         "E3010 (line    7) - C should not be less than zero\n", ""},
    };
    LogCapture log;
    PARSE_SetPosition("t.pkg", 7);
    for (const SectionCase& c : cases) {
        RlcSection* s = nullptr;
        char* next = nullptr;
        EXPECT_EQ(SECT_ParseSection(c.text, &next, &s), c.result) << c.text;
        EXPECT_EQ(s != nullptr, c.section) << c.text;
        EXPECT_EQ(log.Take(), c.log) << c.text;
        EXPECT_STREQ(next, c.rest) << c.text;
        SECT_Free(s);
    }
}

TEST(Sections, BadNumberLeavesTheValueUnset)
{
    LogCapture log;
    PARSE_SetPosition("t.pkg", 3);
    RlcSection* s = nullptr;
    char* next = nullptr;
    ASSERT_EQ(SECT_ParseSection("Len=0 R=7- /", &next, &s), 1);
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->R, nullptr);
    EXPECT_EQ(*s->R, 0.0);
    EXPECT_EQ(s->L, nullptr);
    EXPECT_EQ(s->C, nullptr);
    EXPECT_EQ(log.Take(), "E1922 (line    3) - Illegal number found '7-'\n");
    SECT_Free(s);
}

TEST_F(ReaderFiles, LookUpsOfPackageModelsAndTheirPins)
{
    std::string path = Write("look.pkg",
                             "[IBIS Ver] 5.0\n[File Name] look.pkg\n[File Rev] 1\n"
                             "[Define Package Model] two\n[Number Of Pins] 2\n[Pin Numbers]\nA\nB\n"
                             "[Define Package Model] one\n[Number Of Pins] 3\n[Pin Numbers]\nC\n[End]\n");
    LogCapture log;
    ASSERT_TRUE(INIT());
    ASSERT_EQ(PARSE(path.c_str(), FILE_PKG), 1);
    IBIS* ibis = nullptr;
    PackageModelRecord* list = nullptr;
    ASSERT_TRUE(IBIS_GetIBIS(&ibis));
    ASSERT_TRUE(IBIS_GetPkgMdls(ibis, &list));

    // A file without package models gives a null list: nothing is found.
    EXPECT_EQ(PKGMDL_FindPackageModel(nullptr, "two", nullptr), 0);
    char* pin = nullptr;
    EXPECT_EQ(PKGMDL_GetPin_Number(nullptr, "two", 1, &pin), 0);
    EXPECT_EQ(EBDMDL_FindEbdModel(nullptr, "b", nullptr), 0);

    PackageModelRecord* found = nullptr;
    ASSERT_EQ(PKGMDL_FindPackageModel(list, "one", &found), 1);
    EXPECT_STREQ(found->name, "one");
    EXPECT_EQ(PKGMDL_FindPackageModel(list, "ONE", nullptr), 0);

    // The iterator walks the stored pins and stops at the first slot left
    // empty, or at the declared count.
    std::string names;
    for (int first = 1; PKGMDL_GetPin_Number(list, "two", first, &pin); first = 0) names += pin;
    EXPECT_EQ(names, "AB");
    EXPECT_EQ(PKGMDL_GetPin_Number(list, "two", 0, &pin), 0);
    names.clear();
    for (int first = 1; PKGMDL_GetPin_Number(list, "one", first, &pin); first = 0) names += pin;
    EXPECT_EQ(names, "C");
    // Outside a model no pin has an index.
    unsigned index = 9;
    EXPECT_EQ(PKGMDL_GetPinIndex("A", &index), 0);
    EXPECT_EQ(index, 0u);
    FINI();
}

TEST_F(ReaderFiles, BoardCheckWithNoRefTestOpensNoFile)
{
    std::string path = Write("b.ebd",
                             "[IBIS Ver] 4.2\n[File Name] b.ebd\n[File Rev] 1\n"
                             "[Begin Board Description] b\n[Manufacturer] A\n[Number Of Pins] 1\n"
                             "[Pin List] signal_name\nP1 s\n[Path Description] p\nPin P1 Node U1.1\n"
                             "[Reference Designator Map]\nU1 absent.ibs c\n"
                             "[End Board Description]\n[End]\n");
    LogCapture log;
    for (int noRefTest : {1, 0}) {
        ASSERT_TRUE(INIT());
        ASSERT_EQ(PARSE(path.c_str(), FILE_EBD), 1);
        (TEST)(FILE_EBD, noRefTest);
        FINI();
        std::string text = log.Take();
        if (noRefTest)
            EXPECT_EQ(text.find("absent.ibs"), std::string::npos) << text;
        else
            EXPECT_NE(text.find("E1905 - Unable To Open File '" + dir_ + "/absent.ibs'"),
                      std::string::npos)
                << text;
    }
}

}  // namespace
