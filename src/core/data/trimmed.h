#pragma once
// A text without the white space around it (isSpace: the classic locale's, whatever the user's),
// or without the characters around it that another test picks out.

#include "core/data/numbers.h"

#include <string_view>

namespace zqar {

template <class Predicate> std::string_view trimmedOf(std::string_view text, Predicate isTrimmed) {
    while (!text.empty() && isTrimmed(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isTrimmed(text.back()))
        text.remove_suffix(1);
    return text;
}

inline std::string_view trimmed(std::string_view text) { return trimmedOf(text, isSpace); }

} // namespace zqar
