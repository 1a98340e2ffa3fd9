#pragma once
// Filling the integer and text formats of the string table. Only %d and %s are used, which
// no locale changes; decimal numbers go through formatFixed.

#include <charconv>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace zqar::text {

// A pattern with one "%d". Built by hand rather than with snprintf: the averaged calculation
// writes its status line once for every set it makes.
// This form writes into out, reusing its room, so a caller that keeps the string allocates
// nothing per call.
inline void format(std::string &out, const char *pattern, int value) {
    const std::string_view text = pattern;
    const std::size_t at = text.find("%d");
    if (at == std::string_view::npos) {
        out.assign(text);
        return;
    }
    char digits[16];
    const std::size_t length =
        static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
    out.assign(text.substr(0, at)).append(digits, length).append(text.substr(at + 2));
}

inline std::string format(const char *pattern, int value) {
    std::string result;
    format(result, pattern, value);
    return result;
}

// A count in words: the text for none, the text for one, or the pattern with its "%d" filled.
inline std::string countText(int count, std::string_view none, std::string_view one,
                             const char *many) {
    if (count == 0)
        return std::string(none);
    if (count == 1)
        return std::string(one);
    return format(many, count);
}

// "%d of %d  %s", cut to the 299 characters a status line holds.
inline std::string format(const char *pattern, int first, int second, const std::string &title) {
    char buffer[300];
    std::snprintf(buffer, sizeof buffer, pattern, first, second, title.c_str());
    return buffer;
}

// A pattern with two "%d", such as a page number of a page count.
inline std::string format(const char *pattern, int first, int second) {
    std::string once;
    format(once, pattern, first);
    std::string twice;
    format(twice, once.c_str(), second);
    return twice;
}

// A pattern with one "%s".
inline std::string format(const char *pattern, const std::string &value) {
    const std::string_view text = pattern;
    const std::size_t at = text.find("%s");
    if (at == std::string_view::npos)
        return std::string(text);
    std::string result(text.substr(0, at));
    return result.append(value).append(text.substr(at + 2));
}

// A pattern with two "%s", such as a map title with its span.
inline std::string format(const char *pattern, const std::string &first,
                          const std::string &second) {
    const std::string_view text = pattern;
    const std::size_t at = text.find("%s");
    const std::size_t next = at == std::string_view::npos ? at : text.find("%s", at + 2);
    if (next == std::string_view::npos)
        return std::string(text);
    std::string result(text.substr(0, at));
    result.append(first).append(text.substr(at + 2, next - at - 2)).append(second);
    return result.append(text.substr(next + 2));
}

// A pattern with one "%s" for each value, filled in order. The values are not searched, so a
// "%s" inside one stays as it is.
inline std::string formatAll(const char *pattern, std::initializer_list<std::string_view> values) {
    const std::string_view text = pattern;
    std::string result;
    std::size_t from = 0;
    for (const std::string_view value : values) {
        const std::size_t at = text.find("%s", from);
        if (at == std::string_view::npos)
            break;
        result.append(text.substr(from, at - from)).append(value);
        from = at + 2;
    }
    return result.append(text.substr(from));
}

} // namespace zqar::text
