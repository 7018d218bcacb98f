// Reads fixture files into a fresh container in process, banners off, and
// keeps their messages; the container is freed after each test.
#ifndef TESTS_IBIS_COMPONENT_READ_H
#define TESTS_IBIS_COMPONENT_READ_H

#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "cmpnt.h"
#include "ibis.h"
#include "log_capture.h"
#include "parse.h"

class ComponentRead : public ::testing::Test {
protected:
    void SetUp() override
    {
        PARSE_SuppressBanners(1);
        ASSERT_TRUE(INIT());
    }
    void TearDown() override
    {
        if (gpIbis != nullptr) IBIS_Free(gpIbis);
        PARSE_SuppressBanners(0);
    }
    // Reads a fixture into the container; its messages are kept in log.
    ComponentRecord* Read(const char* name)
    {
        std::string path = std::string(IBIS_FIXTURES) + "/" + name;
        EXPECT_EQ(PARSE(path.c_str(), FILE_IBS), 1);
        return gpIbis->components;
    }
    ComponentRecord* Find(const char* name)
    {
        for (ComponentRecord* c = gpIbis->components; c != nullptr; c = c->next)
            if (strcmp(c->name, name) == 0) return c;
        return nullptr;
    }
    LogCapture log;
};

#endif
