#pragma once
// Number reading and float-to-integer conversion. These are the only places that parse or
// cast numbers: every setting, header line and sample goes through them, so the program reads
// "20.5" the same way whatever the user's locale says about decimal separators.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zqar {

// C's isspace in the classic locale: blank, tab, line feed, vertical tab, form feed, CR.
inline bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The leading decimal integer of a text, read as atol reads it: leading white space, an
// optional sign, decimal digits up to the first other character. No digits reads as 0.
// Values beyond the 32-bit range saturate.
int32_t readInteger(std::string_view text);

// Like readDecimal, but also says where the number ended (an offset into text; 0 when there
// was no number). Callers that need to know whether a number was there at all use it.
struct DecimalRead {
    double value = 0.0;
    std::size_t end = 0;
    bool found = false;
};
DecimalRead readDecimalPrefix(std::string_view text);

// A text that is one finite decimal number and nothing after it (white space before it is
// allowed, as readDecimalPrefix allows it); none for any other text.
std::optional<double> readWholeNumber(std::string_view text);

// Powers of ten a double holds exactly.
inline constexpr double EXACT_POWERS_OF_TEN[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The leading decimal number of a text, read as atof reads it with a point as the decimal
// separator: leading white space, optional sign, digits with an optional point and exponent.
// Only decimal numbers count: "inf", "nan" and hexadecimal forms read as 0, as does a text
// without a number. A number too large for a double reads as +/- infinity, as atof gives.
//
// Every sample of a log file comes through here, so the plain form a logger writes ("21.37",
// at most 15 digits, no exponent) is read inline: the integer of its digits and the power of
// ten are both exact doubles, so their quotient is the correctly rounded value, the same bits
// the general reader gives. Anything else goes to the general reader.
inline double readDecimal(std::string_view text) {
    const char *p = text.data();
    const char *const end = p + text.size();
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    uint64_t digits = 0;
    int count = 0;
    int decimals = 0;
    for (; p < end && isDigit(*p) && count < 16; ++p, ++count)
        digits = digits * 10 + static_cast<uint64_t>(*p - '0');
    if (p < end && *p == '.')
        for (++p; p < end && isDigit(*p) && count < 16; ++p, ++count, ++decimals)
            digits = digits * 10 + static_cast<uint64_t>(*p - '0');
    const bool plain = count > 0 && count <= 15 &&
                       (p == end || !(isDigit(*p) || *p == '.' || *p == 'e' || *p == 'E'));
    if (!plain)
        return readDecimalPrefix(text).value;
    const double value = static_cast<double>(digits) / EXACT_POWERS_OF_TEN[decimals];
    return negative ? -value : value;
}

// Truncates toward zero. NaN and values outside the 32-bit range give the smallest 32-bit
// integer, as the x86 conversion instruction does, instead of undefined behaviour. The band
// and print layout arithmetic depend on truncation toward zero.
int32_t truncToInt(double value);

// printf's "%.Nf" with a point as the decimal separator whatever the locale: "%.2lf" of 20.5
// is "20.50". Correctly rounded from the binary value, as glibc's printf rounds.
std::string formatFixed(double value, int decimals);

} // namespace zqar
