#include "core/data/numbers.h"
#include "support/LocaleGuard.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <random>
#include <string>

using namespace zqar;

TEST(ReadInteger, ReadsAsAtolDoes) {
    struct Case {
        const char *text;
        int32_t value;
    } cases[] = {
        {"6", 6},
        {"  -12xyz", -12},
        {"+7", 7},
        {"3abc", 3},
        {"abc", 0},
        {"", 0},
        {"- 5", 0},
        {"\t\n 42", 42},
        {"0x10", 0},
        {"1e3", 1},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
        {"2147483647", 2147483647},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(readInteger(c.text), c.value);
    }
}

TEST(ReadDecimal, ReadsAsAtofDoesWithAPoint) {
    struct Case {
        const char *text;
        double value;
    } cases[] = {
        {"20.5", 20.5},
        {"  -0.25 C", -0.25},
        {"30 minutes", 30},
        {".5", 0.5},
        {"5.", 5},
        {"1e2", 100},
        {"1E-2x", 0.01},
        {"1e", 1},
        {"+3.5", 3.5},
        {"abc", 0},
        {"", 0},
        {".", 0},
        {"inf", 0},
        {"nan", 0},
        {"-inf", 0},
        {"0x1p3", 0},
        {"20,5", 20},
        {"1e-400", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(readDecimal(c.text), c.value);
    }
    EXPECT_EQ(readDecimal("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(readDecimal("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(readDecimal("0.0006944444444444444"), 0.0006944444444444444);
}

// The quick route for plain numbers must give the bits strtod gives, at every length it takes
// and just beyond, where the general reader takes over.
TEST(ReadDecimal, PlainNumbersReadToTheSameBitsAsStrtod) {
    std::mt19937_64 random(20261207);
    const char *const tails[] = {"", "\r", " x", ",5", "e", "e3", ".", "x"};
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        const int sign = static_cast<int>(random() % 3);
        if (sign > 0)
            text += sign == 1 ? '-' : '+';
        const int digits = static_cast<int>(random() % 19);
        const int point = static_cast<int>(random() % (digits + 2));
        for (int d = 0; d < digits; ++d) {
            if (d == point)
                text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        text += tails[random() % std::size(tails)];
        SCOPED_TRACE(text);
        const double expected = std::strtod(text.c_str(), nullptr);
        const double got = readDecimal(text);
        ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << got << " vs " << expected;
    }
    EXPECT_TRUE(std::signbit(readDecimal("-0.00")));
    EXPECT_EQ(readDecimal("+.5"), 0.5);
    EXPECT_EQ(readDecimal("123456789012345.6"), 123456789012345.6);
    EXPECT_EQ(readDecimal("0.1234567890123456789"), 0.1234567890123456789);
}

TEST(ReadDecimal, IgnoresTheLocalesDecimalSeparator) {
    // The test means nothing in the C locale, so a missing German locale fails it (Debian's
    // locales-all provides it; scripts/setup.sh installs it).
    zqar::testing::LocaleGuard locale;
    ASSERT_TRUE(locale.use("de_DE.UTF-8")) << "locale de_DE.UTF-8 is not installed";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(readDecimal("20.75"), 20.75);
    EXPECT_EQ(readDecimal("20,75"), 20);
    EXPECT_EQ(formatFixed(20.5, 2), "20.50");
}

TEST(ReadWholeNumber, TakesOneFiniteNumberAndNothingAfterIt) {
    EXPECT_EQ(readWholeNumber("20.5"), 20.5);
    EXPECT_EQ(readWholeNumber("  -3"), -3.0);
    EXPECT_EQ(readWholeNumber("1e2"), 100.0);
    for (const char *wrong : {"", " ", "20.5 ", "12x", "abc", "1e999", "-1e999", "inf", "nan"}) {
        SCOPED_TRACE(wrong);
        EXPECT_EQ(readWholeNumber(wrong), std::nullopt);
    }
}

TEST(FormatFixed, RoundsAsPrintfDoes) {
    EXPECT_EQ(formatFixed(18.25, 2), "18.25");
    EXPECT_EQ(formatFixed(0.125, 2), "0.12"); // exactly half: to even, as glibc
    EXPECT_EQ(formatFixed(2.675, 2), "2.67"); // binary value below the half
    EXPECT_EQ(formatFixed(-0.001, 2), "-0.00");
    EXPECT_EQ(formatFixed(24.6, 0), "25");
    EXPECT_EQ(formatFixed(21.34, 1), "21.3");
}

TEST(TruncToInt, TruncatesTowardZeroAndNeverFaults) {
    EXPECT_EQ(truncToInt(2.9), 2);
    EXPECT_EQ(truncToInt(-2.9), -2);
    EXPECT_EQ(truncToInt(-0.9), 0);
    EXPECT_EQ(truncToInt(2147483647.9), 2147483647);
    EXPECT_EQ(truncToInt(-2147483648.9), -2147483647 - 1);
    const int32_t smallest = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(truncToInt(2147483648.0), smallest);
    EXPECT_EQ(truncToInt(-2147483649.0), smallest);
    EXPECT_EQ(truncToInt(std::nan("")), smallest);
    EXPECT_EQ(truncToInt(std::numeric_limits<double>::infinity()), smallest);
    EXPECT_EQ(truncToInt(-std::numeric_limits<double>::infinity()), smallest);
    EXPECT_EQ(truncToInt(1.7976931348623157e308), smallest);
}
