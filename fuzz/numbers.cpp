// The number readers and writers, each against the C library in the C locale as an
// independent route: readInteger against strtoll, readDecimal against strtod, formatFixed
// against printf's "%.*f", truncToInt against the range check and a plain cast.

#include "core/data/numbers.h"
#include "fuzzCheck.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>

using namespace zqar;

namespace {

// The C functions stop at a zero byte; the readers stop there too, as a zero is no digit.
std::string cString(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

void checkInteger(std::string_view text) {
    const std::string c = cString(text);
    errno = 0;
    long long expected = std::strtoll(c.c_str(), nullptr, 10);
    if (expected > INT32_MAX)
        expected = INT32_MAX;
    if (expected < INT32_MIN)
        expected = INT32_MIN;
    FUZZ_CHECK(readInteger(text) == expected);
}

void checkDecimal(std::string_view text) {
    const DecimalRead read = readDecimalPrefix(text);
    FUZZ_CHECK(read.end <= text.size());
    FUZZ_CHECK(fuzz::sameBits(read.value, readDecimal(text)));
    const std::string c = cString(text);
    std::size_t i = 0;
    while (i < c.size() && isSpace(c[i]))
        ++i;
    if (i < c.size() && (c[i] == '+' || c[i] == '-'))
        ++i;
    // "inf" and "nan" are no numbers here, though strtod takes them; of a hexadecimal
    // number only its leading "0" is read.
    if (i >= c.size() || !(isDigit(c[i]) || c[i] == '.')) {
        FUZZ_CHECK(read.value == 0.0 && !read.found);
        return;
    }
    if (c[i] == '0' && i + 1 < c.size() && (c[i + 1] | 0x20) == 'x') {
        FUZZ_CHECK(read.value == 0.0 && read.found && read.end == i + 1);
        return;
    }
    char *end = nullptr;
    const double expected = std::strtod(c.c_str(), &end);
    if (end == c.c_str()) {
        FUZZ_CHECK(read.value == 0.0 && !read.found);
        return;
    }
    FUZZ_CHECK(read.found);
    FUZZ_CHECK(read.end == static_cast<std::size_t>(end - c.c_str()));
    // Below the normal range the readers may give zero where strtod gives a subnormal.
    if (std::fabs(expected) < DBL_MIN)
        FUZZ_CHECK(read.value == expected || read.value == 0.0);
    else
        FUZZ_CHECK(fuzz::sameBits(read.value, expected));
}

void checkFixed(double value, int decimals) {
    char expected[512];
    const int length = std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
    const std::string text = formatFixed(value, decimals);
    if (length > 0 && static_cast<std::size_t>(length) < 400)
        FUZZ_CHECK(text == expected);
    else
        FUZZ_CHECK(text.empty() || text == expected);
}

void checkTrunc(double value) {
    const int32_t result = truncToInt(value);
    if (value > -2147483649.0 && value < 2147483648.0)
        FUZZ_CHECK(result == static_cast<int32_t>(std::trunc(value)));
    else
        FUZZ_CHECK(result == INT32_MIN);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    const std::string_view text = fuzz::bytesOf(data, size);
    checkInteger(text);
    checkDecimal(text);
    fuzz::InputReader input(text);
    const double value = input.number();
    const int decimals = input.byte() % 41;
    checkFixed(value, decimals);
    checkTrunc(value);
    checkTrunc(readDecimal(text));
    return 0;
}
