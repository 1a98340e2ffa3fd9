#pragma once
// A text on one line that can be read back: each line feed and carriage return written as
// "\n" and "\r", each backslash doubled.

#include <string>
#include <string_view>

namespace zqar {

inline std::string lineEscaped(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        if (c == '\r')
            line += "\\r";
        else if (c == '\n')
            line += "\\n";
        else if (c == '\\')
            line += "\\\\";
        else
            line += c;
    }
    return line;
}

} // namespace zqar
