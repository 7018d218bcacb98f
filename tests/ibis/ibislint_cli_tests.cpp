// The checker's command line as a user types it: options anywhere among the
// files, short options combined, "--", the help text with the exit statuses,
// and why a file could not be read, each run of the built program in a child
// process.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// A report that cannot be written is no success: with standard output on the
// full device or closed, every run that reports ends with status 2 (neither
// passed nor failed) and one line naming standard output and the system's
// reason, however the files themselves fared.
struct ReportCase {
    const char* name;
    const char* args;
    int statusWritten; // the status when the report is written
};

void PrintTo(const ReportCase& c, std::ostream* os) { *os << c.name; }

const ReportCase kReportCases[] = {
    {"PassingFile", "ccall_ok.ibs", 0},
    {"FailingFile", "mdl_end.ibs", 1},
    {"SeveralFilesQuiet", "-q ccall_ok.ibs mdl_end.ibs ccall_ok.ibs", 1},
    {"Help", "--help", 0},
};

class IbislintReport : public CheckerTempDir, public ::testing::WithParamInterface<ReportCase> {
protected:
    void SetUp() override
    {
        CheckerTempDir::SetUp();
        for (const char* name : {"mdl_end.ibs", "ccall_ok.ibs"}) {
            std::ifstream in(std::string(IBIS_FIXTURES) + "/" + name, std::ios::binary);
            Write(name, std::string(std::istreambuf_iterator<char>(in), {}));
        }
    }
};

TEST_P(IbislintReport, StandardOutputThatCannotBeWrittenIsNoSuccess)
{
    const ReportCase& c = GetParam();
    std::string err;
    const CheckerRun written = RunChecker(dir_, c.args, &err);
    ASSERT_EQ(written.status, c.statusWritten) << err;
    ASSERT_FALSE(written.out.empty());
    const struct {
        const char* redirect;
        const char* line;
    } ways[] = {{">/dev/full", "ibislint: standard output: No space left on device\n"},
                {">&-", "ibislint: standard output: Bad file descriptor\n"}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.redirect);
        if (std::string(way.redirect) == ">/dev/full" && access("/dev/full", W_OK) != 0)
            continue;
        const CheckerRun r = RunChecker(dir_, std::string(c.args) + " " + way.redirect, &err);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(err, way.line);
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, IbislintReport, ::testing::ValuesIn(kReportCases),
                         [](const ::testing::TestParamInfo<ReportCase>& i) { return i.param.name; });

// A reader that goes away (a pipe into "head -1") ends the checker as it
// ends every filter, by the broken-pipe signal, with nothing on standard
// error: some 20,000 unknown keywords make far more report than a pipe
// holds, so the checker is still writing when the reader leaves.
TEST_F(IbislintReport, ReaderThatGoesAwayEndsItByTheBrokenPipeSignal)
{
    std::string big = "[IBIS Ver] 5.0\n[File Name] big.ibs\n[File Rev] 1\n";
    for (int k = 0; k < 20000; k++) big += "[Bogus" + std::to_string(k) + "]\n";
    Write("big.ibs", big + "[End]\n");
    int out[2], err[2];
    ASSERT_EQ(pipe(out), 0);
    ASSERT_EQ(pipe(err), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // As a shell starts a pipeline: the signal at its default.
        signal(SIGPIPE, SIG_DFL);
        if (dup2(out[1], 1) < 0 || dup2(err[1], 2) < 0 || chdir(dir_.c_str()) != 0) _exit(126);
        for (int fd : {out[0], out[1], err[0], err[1]}) close(fd);
        execl(IBISLINT, IBISLINT, "big.ibs", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    char first[64];
    EXPECT_GT(read(out[0], first, sizeof first), 0);
    close(out[0]);
    std::string said;
    for (ssize_t n; (n = read(err[0], first, sizeof first)) > 0;) said.append(first, n);
    close(err[0]);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status) << ", " << said;
    EXPECT_EQ(WTERMSIG(status), SIGPIPE);
    EXPECT_EQ(said, "");
}

}  // namespace
