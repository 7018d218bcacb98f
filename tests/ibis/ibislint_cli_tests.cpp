// The checker's command line as a user types it: options anywhere among the
// files, short options combined, "--", the help text with the exit statuses,
// and why a file could not be read, each run of the built program in a child
// process.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include "checker_run.h"

namespace {

struct CliCase {
    const char* name;
    const char* args;
    int status;
    const char* outHas;    // words standard output holds; nullptr: it is empty
    const char* errHas;    // words standard error holds; nullptr: it is empty
    const char* sameOutAs; // arguments whose standard output is the same bytes
};

void PrintTo(const CliCase& c, std::ostream* os) { *os << c.name; }

const char* const kNoComponent = "ERROR - Required keyword 'Component' not found.";

const CliCase kCliCases[] = {
    {"OptionAfterTheFile", "mdl_end.ibs -n", 1, "E0187 - Model 'rac'", nullptr, "-n mdl_end.ibs"},
    {"OptionBetweenFiles", "a.ibs -q b.ibs", 1, "==> b.ibs <==", nullptr, "-q a.ibs b.ibs"},
    {"ShortOptionsCombined", "-ncq mdl_end.ibs", 1, "C0182 - Vmeas is <= Vinl", nullptr,
     "-n -c -q mdl_end.ibs"},
    {"CombinedInAnyOrder", "-qcn mdl_end.ibs", 1, "C0183", nullptr, "-ncq mdl_end.ibs"},
    {"LongNames", "--numbered mdl_end.ibs --cautions --no-banners", 1, "C0182", nullptr,
     "-ncq mdl_end.ibs"},
    {"DoubleDashEndsTheOptions", "-q -- -n.ibs", 1, kNoComponent, nullptr, "-q ./-n.ibs"},
    {"DoubleDashWordIsAFile", "-- -n", 1, nullptr,
     "ibislint: -n: not an .ibs, .pkg, .ebd or .ami file", nullptr},
    {"HelpListsTheExitStatuses", "--help", 0,
     "Exit status: 0 every file passed; 1 a file failed", nullptr, nullptr},
    {"ShortHelp", "-h", 0, "2 a usage error", nullptr, "--help"},
    {"HelpAfterAFile", "a.ibs -h", 0, "usage: ibislint", nullptr, "--help"},
    {"UnknownLongOption", "a.ibs --frobnicate", 2, nullptr,
     "ibislint: unknown option '--frobnicate'", nullptr},
    {"UnknownShortOption", "-x a.ibs", 2, nullptr, "ibislint: unknown option '-x'\n", nullptr},
    {"UnknownLetterInCombined", "-nxq a.ibs", 2, nullptr,
     "ibislint: unknown option '-x' in '-nxq'", nullptr},
    {"NoFile", "-nq", 2, nullptr, "ibislint: no file to check", nullptr},
    {"NoSuchFile", "nosuch.ibs", 1, "ERROR - Unable To Open File 'nosuch.ibs'",
     "ibislint: nosuch.ibs: No such file or directory", nullptr},
    {"NoSuchFolder", "-q gone/x.ibs", 1, "Unable To Open File 'gone/x.ibs'",
     "ibislint: gone/x.ibs: No such file or directory", nullptr},
    {"AFolder", "adir.ibs", 1, "ERROR - Could not determine Version for file adir.ibs",
     "ibislint: adir.ibs: Is a directory", nullptr},
    {"NoReadPermission", "locked.ibs", 1, "ERROR - Unable To Open File 'locked.ibs'",
     "ibislint: locked.ibs: Permission denied", nullptr},
};

class IbislintCommandLine : public CheckerTempDir, public ::testing::WithParamInterface<CliCase> {
protected:
    void SetUp() override
    {
        CheckerTempDir::SetUp();
        const std::string plain = "[IBIS Ver] 5.0\n[File Name] x.ibs\n[File Rev] 1\n[End]\n";
        Write("a.ibs", plain);
        Write("b.ibs", plain);
        Write("-n.ibs", plain);
        Write("locked.ibs", plain);
        ASSERT_EQ(chmod((dir_ + "/locked.ibs").c_str(), 0), 0);
        ASSERT_EQ(mkdir((dir_ + "/adir.ibs").c_str(), 0755), 0);
        std::ifstream in(IBIS_FIXTURES "/mdl_end.ibs", std::ios::binary);
        Write("mdl_end.ibs", std::string(std::istreambuf_iterator<char>(in), {}));
    }
};

TEST_P(IbislintCommandLine, StatusAndMessages)
{
    const CliCase& c = GetParam();
    if (std::string(c.args) == "locked.ibs" && access((dir_ + "/locked.ibs").c_str(), R_OK) == 0)
        GTEST_SKIP() << "this user reads files without read permission";
    std::string err;
    CheckerRun r = RunChecker(dir_, c.args, &err);
    EXPECT_EQ(r.status, c.status);
    if (c.outHas == nullptr) {
        EXPECT_EQ(r.out, "");
    } else {
        EXPECT_NE(r.out.find(c.outHas), std::string::npos) << r.out;
    }
    if (c.errHas == nullptr) {
        EXPECT_EQ(err, "");
    } else {
        EXPECT_NE(err.find(c.errHas), std::string::npos) << err;
    }
    if (c.sameOutAs != nullptr) {
        EXPECT_EQ(r.out, RunChecker(dir_, c.sameOutAs).out);
    }
}

INSTANTIATE_TEST_SUITE_P(Typed, IbislintCommandLine, ::testing::ValuesIn(kCliCases),
                         [](const ::testing::TestParamInfo<CliCase>& i) { return i.param.name; });

}  // namespace
