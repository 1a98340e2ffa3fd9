#pragma once
// Tables that pair the values of an enumeration with their texts, read both ways. One table
// serves the reader of a setting and its writer, so the two cannot drift apart.

#include <cstddef>
#include <optional>
#include <string_view>

namespace zqar {

template <class Value> struct TextEntry {
    Value value;
    std::string_view text;
};

// The text of value, or `otherwise` where the table has no entry for it.
template <class Value, std::size_t N>
constexpr std::string_view textOf(const TextEntry<Value> (&table)[N], Value value,
                                  std::string_view otherwise = {}) {
    for (const TextEntry<Value> &entry : table)
        if (entry.value == value)
            return entry.text;
    return otherwise;
}

// The value of the first entry whose text `matches` finds equal to text; none where no entry's
// does.
template <class Value, std::size_t N, class Match>
constexpr std::optional<Value> valueOf(const TextEntry<Value> (&table)[N], std::string_view text,
                                       Match matches) {
    for (const TextEntry<Value> &entry : table)
        if (matches(entry.text, text))
            return entry.value;
    return std::nullopt;
}

// The same with texts compared exactly.
template <class Value, std::size_t N>
constexpr std::optional<Value> valueOf(const TextEntry<Value> (&table)[N], std::string_view text) {
    return valueOf(table, text, [](std::string_view a, std::string_view b) { return a == b; });
}

} // namespace zqar
