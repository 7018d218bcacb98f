// A fresh directory of its own for each in-process reader test, with the
// version banners off.
#ifndef TESTS_IBIS_READER_FILES_H
#define TESTS_IBIS_READER_FILES_H

#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>
#include <string>

#include "parse.h"

namespace {

// Files written by a test into a fresh directory of its own.
class ReaderFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/reader_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        PARSE_SuppressBanners(1);
    }
    void TearDown() override
    {
        PARSE_SuppressBanners(0);
        (void)system(("rm -rf '" + dir_ + "'").c_str());
    }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string dir_;
};

}  // namespace

#endif
