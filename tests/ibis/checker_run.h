// Runs the ibislint program (its path in the IBISLINT macro) in a directory
// and keeps its standard output and exit status; the test directory and the
// whole-output cases that the checker tests share.
#ifndef TESTS_IBIS_CHECKER_RUN_H
#define TESTS_IBIS_CHECKER_RUN_H

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

struct CheckerRun {
    std::string out;
    int status;
};

// Runs the checker in dir with the given arguments; standard error is kept
// in *err when err is given, else dropped.
inline CheckerRun RunChecker(const std::string& dir, const std::string& args,
                             std::string* err = nullptr)
{
    char errName[] = "/tmp/ibislint_err_XXXXXX";
    int errFd = err != nullptr ? mkstemp(errName) : -1;
    if (errFd >= 0) close(errFd);
    std::string cmd = "cd '" + dir + "' && '" IBISLINT "' " + args + " 2>"
                      + (errFd >= 0 ? std::string(errName) : "/dev/null");
    FILE* p = popen(cmd.c_str(), "r");
    CheckerRun r{"", -1};
    if (p != nullptr) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
        int st = pclose(p);
        r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    }
    if (errFd >= 0) {
        std::ifstream in(errName, std::ios::binary);
        err->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        unlink(errName);
    }
    return r;
}

// Files whose bytes matter are written by the test itself, into a fresh
// directory.
class CheckerTempDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/ibislint_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { (void)system(("rm -rf '" + dir_ + "'").c_str()); }
    void Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir_ + "/" + name, std::ios::binary) << bytes;
    }
    std::string dir_;
};

// One whole-output run: the checker's arguments, its exit status and its
// whole standard output.
struct CheckerCase {
    const char* name;
    const char* args;
    int status;
    const char* expected;
};

using Case = CheckerCase;

inline void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

inline std::string CaseName(const ::testing::TestParamInfo<Case>& i) { return i.param.name; }

// Runs one case in dir; options, when given, go before the case's arguments.
inline void CheckCase(const std::string& dir, const Case& c, const std::string& options = "")
{
    CheckerRun r = RunChecker(dir, options + c.args);
    EXPECT_EQ(r.out, c.expected);
    EXPECT_EQ(r.status, c.status);
}

#endif
