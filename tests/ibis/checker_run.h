// Runs the ibislint program over fixture files and compares its whole
// standard output and exit status with an expected text.
#ifndef TESTS_IBIS_CHECKER_RUN_H
#define TESTS_IBIS_CHECKER_RUN_H

#include <stdio.h>
#include <sys/wait.h>

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

#endif
