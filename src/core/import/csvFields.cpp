#include "core/import/csvFields.h"

namespace zqar {

namespace {

constexpr char QUOTE = '"';

} // namespace

char delimiterOf(std::string_view line) {
    constexpr char CANDIDATES[] = {'\t', ';', ','};
    std::size_t counts[3] = {};
    bool quoted = false;
    for (const char c : line) {
        if (c == QUOTE)
            quoted = !quoted;
        else if (!quoted)
            for (int k = 0; k < 3; ++k)
                counts[k] += c == CANDIDATES[k];
    }
    char best = 0;
    std::size_t most = 0;
    for (int k = 0; k < 3; ++k) {
        if (counts[k] > most) {
            most = counts[k];
            best = CANDIDATES[k];
        }
    }
    return best;
}

void CsvFields::split(std::string_view line, char delimiter, std::size_t last) {
    fields.clear();
    if (delimiter == 0 || line.empty()) {
        fields.push_back(trimBlanks(line));
        return;
    }
    // Lines without quotes, nearly all of them, in one pass. The bounds of a field are kept in
    // registers until it is stored: building the view in memory and copying it costs more
    // than the scan.
    const char *text = line.data();
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = text[i];
        if (c == delimiter) {
            addTrimmed(text, start, i);
            if (fields.size() > last)
                return;
            start = i + 1;
        } else if (c == QUOTE) {
            splitQuoted(line, delimiter, last);
            return;
        }
    }
    addTrimmed(text, start, line.size());
}

void CsvFields::splitQuoted(std::string_view line, char delimiter, std::size_t last) {
    fields.clear();
    unquoted.clear();
    if (unquoted.capacity() < line.size())
        unquoted.reserve(line.size());
    std::size_t at = 0;
    for (;;) {
        std::size_t start = at;
        // A tab that delimits fields is no blank before a quote.
        while (start < line.size() && line[start] == ' ')
            ++start;
        if (delimiter != '\t')
            while (start < line.size() && isBlank(line[start]))
                ++start;
        std::size_t next;
        if (start < line.size() && line[start] == QUOTE) {
            const std::size_t from = unquoted.size();
            std::size_t i = start + 1;
            for (;;) {
                const std::size_t quote = line.find(QUOTE, i);
                if (quote == std::string_view::npos) {
                    unquoted.append(line.substr(i));
                    i = line.size();
                    break;
                }
                unquoted.append(line.substr(i, quote - i));
                if (quote + 1 < line.size() && line[quote + 1] == QUOTE) {
                    unquoted.push_back(QUOTE);
                    i = quote + 2;
                    continue;
                }
                i = quote + 1;
                break;
            }
            // Whatever stands after the closing quote belongs to the field as written.
            next = line.find(delimiter, i);
            unquoted.append(
                line.substr(i, next == std::string_view::npos ? line.size() - i : next - i));
            fields.push_back(
                trimBlanks(std::string_view(unquoted.data() + from, unquoted.size() - from)));
        } else {
            next = line.find(delimiter, at);
            fields.push_back(trimBlanks(
                line.substr(at, next == std::string_view::npos ? line.size() - at : next - at)));
        }
        if (next == std::string_view::npos || fields.size() > last)
            return;
        at = next + 1;
    }
}

} // namespace zqar
