// Runs the ibislint program and keeps its whole standard output and exit
// status, for comparison with an expected text; a test directory for files
// whose bytes a test writes itself.
#ifndef TESTS_IBIS_CHECKER_RUN_H
#define TESTS_IBIS_CHECKER_RUN_H

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <ostream>
#include <string>

struct CheckerRun {
    std::string out;
    int status;
};

// Runs the checker in dir with the given arguments; standard error is dropped.
inline CheckerRun RunChecker(const std::string& dir, const std::string& args)
{
    std::string cmd = "cd '" + dir + "' && '" IBISLINT "' " + args + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    CheckerRun r{"", -1};
    if (p == nullptr) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    return r;
}

// One whole-output comparison: fixture arguments, exit status, expected text.
struct CheckerCase {
    const char* name;
    const char* args;
    int status;
    const char* expected;
};

// Names a case in test listings.
inline void PrintTo(const CheckerCase& c, std::ostream* os) { *os << c.name; }

// Files whose bytes matter are written by the test itself.
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

#endif
