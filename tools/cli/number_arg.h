// Numbers given on the command lines of the programs. A value is taken only
// when the whole word is one finite number: "12abc" is not 12, and "nan" or
// "inf" never reach a model or a size computation.
#pragma once

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace cli {

inline bool ParseFinite(const char* text, double& out)
{
    if (text == nullptr || *text == '\0' || std::isspace(static_cast<unsigned char>(*text)))
        return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text, &end);
    if (end == text || *end != '\0' || errno == ERANGE || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

// A whole number in decimal digits, with an optional sign.
inline bool ParseWhole(const char* text, long& out)
{
    if (text == nullptr || *text == '\0' || std::isspace(static_cast<unsigned char>(*text)))
        return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE)
        return false;
    out = v;
    return true;
}

} // namespace cli
