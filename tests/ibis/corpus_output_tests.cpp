// The real files of the shared corpus through the checker, each compared
// whole (banner, every message, totals, exit status) with its reviewed
// output in corpus_expected/<folder>/<file>.out. A change of any message on
// a real file shows here. The files are read where they lie; none is copied.
#include <gtest/gtest.h>

#include <ctype.h>
#include <dirent.h>
#include <stdio.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "checker_run.h"

namespace {

struct CorpusFile {
    const char* dir;
    const char* file;
    int status;
};

// Exit status 1: the file failed its checks (or was refused); 0: passed.
const CorpusFile kFiles[] = {
    {"ansys_example_data", "pcieg5_32gt.ami", 1},
    {"ansys_example_data", "pcieg5_32gt.ibs", 1},
    {"ecdtools_tests", "device_clamp_ref.ibs", 1},
    {"ibisami", "example_rx.ami", 1},
    {"ibisami", "example_rx.ibs", 1},
    {"ibisami", "example_tx.ami", 1},
    {"ibisami", "example_tx.ibs", 1},
    {"kicad_qa", "ibis_v2_1.pkg", 1},
    {"kicad_qa", "ibis_v3_2.ibs", 1},
    {"kicad_qa", "ibis_v3_2.pkg", 1},
    {"labtroll_kicad_sims", "lvc1g14.ibs", 0},
    {"labtroll_kicad_sims", "sn74lvc1g14.ibs", 0},
    {"s2ibispy_tests", "io_buf_t2b_7_1.ibs", 1},
    {"s2ibispy_tests", "max232.ibs", 0},
    {"s2ibispy_tests", "sn74lvc2t45.ibs", 0},
    {"ykjoe_ibis_parser", "f103c8.ibs", 0},
    {"ykjoe_ibis_parser", "invchain_test_0614.ibs", 0},
};

void PrintTo(const CorpusFile& f, std::ostream* os) { *os << f.dir << "/" << f.file; }

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string CaseName(const ::testing::TestParamInfo<CorpusFile>& i)
{
    std::string name = std::string(i.param.dir) + "_" + i.param.file;
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

class CorpusOutput : public ::testing::TestWithParam<CorpusFile> {};

// Each file is checked in its own folder, as a user would run it there, so
// the package-file search and the [File Name] comparison see its real name.
TEST_P(CorpusOutput, WholeOutputAsReviewed)
{
    const CorpusFile& f = GetParam();
    const std::string expected =
        ReadWhole(std::string(IBIS_CORPUS_EXPECTED) + "/" + f.dir + "/" + f.file + ".out");
    ASSERT_FALSE(expected.empty()) << "no reviewed output for " << f.dir << "/" << f.file;
    CheckerRun r = RunChecker(std::string(IBIS_CORPUS) + "/" + f.dir, std::string("-n -c ") + f.file);
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.status, f.status);
    // Nothing on standard error: under the sanitizer build a finding after
    // the totals would otherwise pass with the status 1 of a failed file.
    std::string err;
    const std::string cmd = "cd '" + std::string(IBIS_CORPUS) + "/" + f.dir + "' && '" IBISLINT
                            "' -n -c " + f.file + " 2>&1 >/dev/null";
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) err.append(buf, n);
        pclose(p);
    }
    EXPECT_EQ(err, "");
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusOutput, ::testing::ValuesIn(kFiles), CaseName);

// A file added to the corpus without a reviewed output is reported here.
TEST(CorpusOutputList, EveryCorpusFileHasAReviewedOutput)
{
    std::set<std::string> listed;
    for (const CorpusFile& f : kFiles) listed.insert(std::string(f.dir) + "/" + f.file);
    std::set<std::string> found;
    DIR* top = opendir(IBIS_CORPUS);
    ASSERT_NE(top, nullptr);
    while (dirent* d = readdir(top)) {
        if (d->d_name[0] == '.') continue;
        DIR* sub = opendir((std::string(IBIS_CORPUS) + "/" + d->d_name).c_str());
        if (sub == nullptr) continue;
        while (dirent* e = readdir(sub)) {
            std::string name = e->d_name;
            size_t dot = name.rfind('.');
            if (dot == std::string::npos) continue;
            std::string ext = name.substr(dot);
            for (char& c : ext) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
            if (ext == ".ibs" || ext == ".pkg" || ext == ".ebd" || ext == ".ami")
                found.insert(std::string(d->d_name) + "/" + name);
        }
        closedir(sub);
    }
    closedir(top);
    EXPECT_EQ(found, listed);
}

} // namespace
