// Captures the numbered message log in a temporary file and starts every
// test from the log's load-time state (the counters are never reset by the
// log itself).
#pragma once

#include "errlog.h"
#include "parse.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

inline void ResetLogState()
{
    gulBug_cnt = gulError_cnt = gulWarn_cnt = gulCaution_cnt = 0;
    gbOldStyleErrors = 1;
    gbSuppressCautions = 1;
    gbSuppressBugs = gbSuppressErrors = gbSuppressWarns = 0;
    PARSE_SetPosition("", 0);
}

class LogCapture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLogState();
        m_pFile = std::tmpfile();
        ASSERT_NE(m_pFile, nullptr);
        ERRLOG_SetOutputFile(m_pFile);
    }
    void TearDown() override
    {
        ERRLOG_SetOutputFile(nullptr);
        if (m_pFile)
            std::fclose(m_pFile);
        ResetLogState();
    }
    // Everything logged since the previous call.
    std::string Take()
    {
        std::fflush(m_pFile);
        std::rewind(m_pFile);
        std::string text;
        char chunk[4096];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, m_pFile)) > 0)
            text.append(chunk, n);
        std::rewind(m_pFile);
        if (ftruncate(fileno(m_pFile), 0) != 0)
            ADD_FAILURE() << "cannot truncate the log file";
        return text;
    }
    FILE* m_pFile = nullptr;
};
