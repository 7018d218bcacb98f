// Captures what the numbered message log prints, in the numbered style, so
// that a test can name the codes it expects.
#ifndef TESTS_IBIS_LOG_CAPTURE_H
#define TESTS_IBIS_LOG_CAPTURE_H

#include <stdio.h>

#include <string>

#include "errlog.h"

class LogCapture {
public:
    LogCapture()
    {
        file_ = tmpfile();
        ERRLOG_SetOutputFile(file_);
        oldStyle_ = gbOldStyleErrors;
        gbOldStyleErrors = 0;
    }
    ~LogCapture()
    {
        ERRLOG_SetOutputFile(nullptr);
        gbOldStyleErrors = oldStyle_;
        fclose(file_);
    }
    // Everything printed since the last call.
    std::string Take()
    {
        fflush(file_);
        long end = ftell(file_);
        std::string text((size_t)(end - start_), '\0');
        fseek(file_, start_, SEEK_SET);
        size_t n = fread(&text[0], 1, text.size(), file_);
        text.resize(n);
        fseek(file_, end, SEEK_SET);
        start_ = end;
        return text;
    }

private:
    FILE* file_;
    long start_ = 0;
    int oldStyle_;
};

#endif
