#pragma once
// Number reading and float-to-integer conversion. These are the only places that parse or
// cast numbers: every setting, header line and sample goes through them, so the program reads
// "20.5" the same way whatever the user's locale says about decimal separators.

#include <cstdint>
#include <string>
#include <string_view>

namespace zqar {

// The leading decimal integer of a text, read as atol reads it: leading white space, an
// optional sign, decimal digits up to the first other character. No digits reads as 0.
// Values beyond the 32-bit range saturate.
int32_t readInteger(std::string_view text);

// The leading decimal number of a text, read as atof reads it with a point as the decimal
// separator: leading white space, optional sign, digits with an optional point and exponent.
// Only decimal numbers count: "inf", "nan" and hexadecimal forms read as 0, as does a text
// without a number. A number too large for a double reads as +/- infinity, as atof gives.
double readDecimal(std::string_view text);

// Like readDecimal, but also says where the number ended (an offset into text; 0 when there
// was no number). Callers that need to know whether a number was there at all use it.
struct DecimalRead {
    double value = 0.0;
    std::size_t end = 0;
    bool found = false;
};
DecimalRead readDecimalPrefix(std::string_view text);

// Truncates toward zero. NaN and values outside the 32-bit range give the smallest 32-bit
// integer, as the x86 conversion instruction does, instead of undefined behaviour. The band
// and print layout arithmetic depend on truncation toward zero.
int32_t truncToInt(double value);

// printf's "%.Nf" with a point as the decimal separator whatever the locale: "%.2lf" of 20.5
// is "20.50". Correctly rounded from the binary value, as glibc's printf rounds.
std::string formatFixed(double value, int decimals);

// C's isspace in the classic locale: blank, tab, line feed, vertical tab, form feed, CR.
inline bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace zqar
