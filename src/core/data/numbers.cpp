#include "core/data/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace zqar {

namespace {

// Skips leading white space and an optional sign; answers whether the sign was a minus.
bool skipBlanksAndSign(std::string_view text, std::size_t &i) {
    while (i < text.size() && isSpace(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        return text[i++] == '-';
    return false;
}

} // namespace

int32_t readInteger(std::string_view text) {
    std::size_t i = 0;
    const bool negative = skipBlanksAndSign(text, i);
    int64_t magnitude = 0;
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    while (i < text.size() && isDigit(text[i])) {
        if (magnitude <= limit)
            magnitude = magnitude * 10 + (text[i] - '0');
        ++i;
    }
    if (negative)
        return magnitude >= limit ? std::numeric_limits<int32_t>::min()
                                  : static_cast<int32_t>(-magnitude);
    return magnitude >= limit ? std::numeric_limits<int32_t>::max()
                              : static_cast<int32_t>(magnitude);
}

DecimalRead readDecimalPrefix(std::string_view text) {
    DecimalRead result;
    std::size_t i = 0;
    const bool negative = skipBlanksAndSign(text, i);
    // Only digits or a point may start the number: from_chars would also take "inf" and
    // "nan", which are no numbers here.
    if (i >= text.size() || !(isDigit(text[i]) || text[i] == '.'))
        return result;
    const char *first = text.data() + i;
    const char *last = text.data() + text.size();
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::invalid_argument)
        return result;
    if (ec == std::errc::result_out_of_range) {
        // Overflow gives infinity as strtod does; underflow gives zero. Which one it was
        // shows in the decimal magnitude: the integer digits plus the exponent.
        const char *p = first;
        long magnitude = 0;
        bool nonZeroSeen = false;
        while (p < ptr && isDigit(*p)) {
            if (*p != '0')
                nonZeroSeen = true;
            if (nonZeroSeen)
                ++magnitude;
            ++p;
        }
        if (p < ptr && *p == '.')
            ++p;
        if (!nonZeroSeen) {
            while (p < ptr && *p == '0') {
                --magnitude;
                ++p;
            }
        }
        while (p < ptr && *p != 'e' && *p != 'E')
            ++p;
        if (p < ptr) {
            ++p;
            long exponent = 0;
            bool exponentNegative = false;
            if (p < ptr && (*p == '+' || *p == '-')) {
                exponentNegative = *p == '-';
                ++p;
            }
            while (p < ptr && isDigit(*p)) {
                if (exponent < 100000)
                    exponent = exponent * 10 + (*p - '0');
                ++p;
            }
            magnitude += exponentNegative ? -exponent : exponent;
        }
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    result.value = negative ? -value : value;
    result.end = static_cast<std::size_t>(ptr - text.data());
    result.found = true;
    return result;
}

std::optional<double> readWholeNumber(std::string_view text) {
    const DecimalRead read = readDecimalPrefix(text);
    if (!read.found || read.end != text.size() || !std::isfinite(read.value))
        return std::nullopt;
    return read.value;
}

std::string formatFixed(double value, int decimals) {
    char text[400];
    const auto [ptr, ec] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return std::string();
    return std::string(text, ptr);
}

int32_t truncToInt(double value) {
    // The comparisons are false for NaN, so it takes the out-of-range answer too.
    if (value > -2147483649.0 && value < 2147483648.0)
        return static_cast<int32_t>(value);
    return std::numeric_limits<int32_t>::min();
}

} // namespace zqar
