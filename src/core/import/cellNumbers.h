#pragma once
// The number in a temperature cell: an optional sign, then digits with at most one decimal
// mark, a point or a comma; which one the file means is known only after the last row.
//
// readCellNumber reads any cell through the program's one decimal reader. readShortNumber
// reads the form nearly every cell has (fewer than 16 digits) straight from the row's bytes;
// it gives the same bits, since its digits and its power of ten are both exact doubles and one
// division of them is correctly rounded, as the decimal reader's result is.

#include "core/data/numbers.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zqar {

struct CellNumber {
    bool isNumber = false;
    double value = 0.0;
    char mark = 0;    // the mark the cell uses, 0 for none
    bool few = false; // at most 15 digits: no conversion can leave the range of a double
};

// The cell as split and trimmed; scratch holds a copy when the mark is a comma.
CellNumber readCellNumber(std::string_view cell, std::string &scratch);

// The most digits readShortNumber takes: their integer and every power of ten up to it are
// exact doubles.
constexpr int SHORT_NUMBER_DIGITS = 15;

// The number at the start of text, up to the delimiter or any other byte that cannot continue
// it; the text must end in such a byte (TextLines puts a zero byte after its text). Answers
// where the number ends, or null when the text holds no such number or one of more than
// SHORT_NUMBER_DIGITS digits (readCellNumber then decides); the caller looks at the byte there.
inline const char *readShortNumber(const char *text, char delimiter, CellNumber &number) {
    auto digitAt = [](const char *at) { return static_cast<unsigned char>(*at - '0'); };
    const char *p = text;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    uint64_t digits = 0;
    const char *const integer = p;
    for (; digitAt(p) < 10; ++p)
        digits = digits * 10 + digitAt(p);
    auto count = static_cast<std::size_t>(p - integer);
    char mark = 0;
    std::size_t decimals = 0;
    if ((*p == '.' || *p == ',') && *p != delimiter) {
        mark = *p++;
        const char *const fraction = p;
        for (; digitAt(p) < 10; ++p)
            digits = digits * 10 + digitAt(p);
        decimals = static_cast<std::size_t>(p - fraction);
        count += decimals;
    }
    if (count == 0 || count > static_cast<std::size_t>(SHORT_NUMBER_DIGITS))
        return nullptr;
    // Below 10^15, so the signed conversion holds it.
    const double magnitude =
        static_cast<double>(static_cast<int64_t>(digits)) / EXACT_POWERS_OF_TEN[decimals];
    number.isNumber = true;
    number.value = negative ? -magnitude : magnitude;
    number.mark = mark;
    number.few = true;
    return p;
}

} // namespace zqar
