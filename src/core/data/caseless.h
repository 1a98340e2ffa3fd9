#pragma once
// Letter case folding of the ASCII letters only. Names the program compares (settings, keys,
// logger names, file extensions, month names) are ASCII, and the C library's tolower follows
// the user's locale, where "I" need not fold to "i".

#include <string>
#include <string_view>

namespace zqar {

inline char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string lowerCase(std::string_view text) {
    std::string result(text);
    for (char &c : result)
        c = asciiLower(c);
    return result;
}

inline bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

} // namespace zqar
