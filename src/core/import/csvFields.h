#pragma once
// The fields of one line of an exported table: RFC 4180 quoting (a field in double quotes may
// hold the delimiter, and a doubled quote stands for one), each field trimmed of blanks. A row
// is one line: a quote left open runs to the line's end rather than swallowing the lines
// below, so one stray quote in a header line cannot hide the table.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

// Whichever of tab, ';' and ',' occurs most in the line outside quotes; on a tie the first of
// them in that order; 0 when none occurs.
char delimiterOf(std::string_view line);

class CsvFields {
public:
    // Splits the line at the delimiter (0: the whole line is one field). Fields past index
    // last are not looked at; the views stay valid until the next split or until the line
    // goes.
    void split(std::string_view line, char delimiter,
               std::size_t last = static_cast<std::size_t>(-1));

    std::size_t size() const { return fields.size(); }
    // The field at an index, or an empty text past the last one.
    std::string_view operator[](std::size_t index) const {
        return index < fields.size() ? fields[index] : std::string_view();
    }

private:
    // text[from, to) without its blanks at either end.
    void addTrimmed(const char *text, std::size_t from, std::size_t to) {
        while (from < to && (text[from] == ' ' || text[from] == '\t'))
            ++from;
        while (to > from && (text[to - 1] == ' ' || text[to - 1] == '\t'))
            --to;
        fields.emplace_back(text + from, to - from);
    }
    // The general case, for a line with a quote.
    void splitQuoted(std::string_view line, char delimiter, std::size_t last);

    std::vector<std::string_view> fields;
    std::string unquoted; // the text of quoted fields; reserved so that it never moves
};

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Without blanks (spaces and tabs) at either end.
inline std::string_view trimBlanks(std::string_view text) {
    std::size_t from = 0;
    std::size_t to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.substr(from, to - from);
}

} // namespace zqar
