#pragma once
// Filling the integer and text formats of the string table. Only %d and %s are used, which
// no locale changes; decimal numbers go through formatFixed.

#include <cstdio>
#include <string>

namespace zqar::text {

inline std::string format(const char *pattern, int value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

// "%d of %d  %s", cut to the 299 characters a status line holds.
inline std::string format(const char *pattern, int first, int second, const std::string &title) {
    char buffer[300];
    std::snprintf(buffer, sizeof buffer, pattern, first, second, title.c_str());
    return buffer;
}

} // namespace zqar::text
