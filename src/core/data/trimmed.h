#pragma once
// A text without the white space around it (isSpace: the classic locale's, whatever the user's).

#include "core/data/numbers.h"

#include <string_view>

namespace zqar {

inline std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace zqar
