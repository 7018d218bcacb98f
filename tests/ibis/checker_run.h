// Runs the ibislint program (its path in the IBISLINT macro) in a directory
// and keeps its standard output and exit status.
#ifndef TESTS_IBIS_CHECKER_RUN_H
#define TESTS_IBIS_CHECKER_RUN_H

#include <stdio.h>
#include <sys/wait.h>

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

#endif
