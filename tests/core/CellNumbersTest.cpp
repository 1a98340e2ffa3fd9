#include "core/import/cellNumbers.h"
#include "core/import/timestamps.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <random>
#include <string>

using namespace zqar;

namespace {

uint64_t bitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The short reader over a cell followed by the byte that ends it, as a row holds it.
struct ShortRead {
    CellNumber number;
    std::size_t taken = 0;
    bool declined = false;
};

ShortRead readShort(const std::string &cell, char delimiter, char after = '\0') {
    const std::string text = cell + after;
    ShortRead read;
    const char *end = readShortNumber(text.c_str(), delimiter, read.number);
    read.declined = end == nullptr;
    read.taken = end ? static_cast<std::size_t>(end - text.c_str()) : 0;
    return read;
}

// Numbers as loggers' software writes them, and the corners of the short form: up to 15
// digits with or without leading zeros, either mark anywhere, either sign.
std::string randomCell(std::mt19937_64 &random) {
    std::uniform_int_distribution<int> digitCount(1, SHORT_NUMBER_DIGITS);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> choice(0, 5);
    const int digits = digitCount(random);
    std::string cell;
    const int sign = choice(random);
    if (sign == 0)
        cell += '-';
    else if (sign == 1)
        cell += '+';
    std::string body;
    for (int i = 0; i < digits; ++i)
        body += static_cast<char>('0' + digit(random));
    const int markChoice = choice(random);
    if (markChoice < 4) {
        std::uniform_int_distribution<std::size_t> at(0, body.size());
        body.insert(at(random), 1, markChoice < 2 ? '.' : ',');
    }
    return cell + body;
}

} // namespace

TEST(CellNumbers, ShortNumbersGiveTheGeneralReadersBits) {
    std::mt19937_64 random(20250101);
    std::string scratch;
    for (int i = 0; i < 200000; ++i) {
        const std::string cell = randomCell(random);
        SCOPED_TRACE(cell);
        const ShortRead fast = readShort(cell, ';');
        const CellNumber general = readCellNumber(cell, scratch);
        ASSERT_FALSE(fast.declined);
        ASSERT_EQ(fast.taken, cell.size());
        ASSERT_TRUE(general.isNumber);
        ASSERT_EQ(bitsOf(fast.number.value), bitsOf(general.value));
        ASSERT_EQ(fast.number.mark, general.mark);
        ASSERT_EQ(fast.number.few, general.few);
    }
}

TEST(CellNumbers, ShortNumbersAreCorrectlyRounded) {
    // An independent route: from_chars rounds correctly from the text with a point.
    const char *cells[] = {"0.1",
                           "0.3",
                           "21.37",
                           "-0.25",
                           "1.005",
                           "99.995",
                           "123456789.012345",
                           "0.00000000000001",
                           "999999999999999",
                           "5.",
                           ".5",
                           "0,7",
                           "-0",
                           "+0.0",
                           "000000000000001",
                           "-273.15"};
    std::string scratch;
    for (const char *cell : cells) {
        SCOPED_TRACE(cell);
        std::string withPoint = cell;
        for (char &c : withPoint)
            if (c == ',')
                c = '.';
        const char *first = withPoint.c_str() + (withPoint[0] == '+' ? 1 : 0);
        double expected = 0.0;
        std::from_chars(first, withPoint.c_str() + withPoint.size(), expected);
        const ShortRead fast = readShort(cell, '\t');
        ASSERT_FALSE(fast.declined);
        EXPECT_EQ(bitsOf(fast.number.value), bitsOf(expected));
    }
}

TEST(CellNumbers, OtherFormsAreLeftToTheGeneralReader) {
    struct Case {
        const char *cell;
        char delimiter;
        bool declined;
        std::size_t taken; // where the caller finds the byte after the number
    };
    const Case cases[] = {
        {"1234567890123456", ',', true, 0}, // sixteen digits
        {"12345678.90123456", ';', true, 0},
        {"", ',', true, 0},
        {"+", ',', true, 0},
        {"-.", ',', true, 0},
        {".", ';', true, 0},
        {"n/a", ',', true, 0},
        {"1e5", ',', false, 1},   // the exponent is left for the caller to see
        {"1.2.3", ',', false, 3}, // so is a second mark
        {"1,5", ',', false, 1},   // a comma that is the delimiter ends the number
        {"1,5", ';', false, 3},   // and is a mark otherwise
        {"21.5 ", ',', false, 4}, // a blank ends it too
        {"--1", ',', true, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cell);
        const ShortRead fast = readShort(c.cell, c.delimiter);
        EXPECT_EQ(fast.declined, c.declined);
        EXPECT_EQ(fast.taken, c.taken);
    }
    // The byte after the text ends the number whatever it is not: a line end, a quote.
    EXPECT_EQ(readShort("7.25", ',', '\r').taken, 4u);
    EXPECT_EQ(readShort("7.25", ',', '"').taken, 4u);
}

// The eight-bytes-at-once clock against the plain reading of "hh:mm:ss".
TEST(Clock, EveryClockReadsAsDigitByDigit) {
    auto plain = [](const char *clock) -> int64_t {
        for (int i : {0, 1, 3, 4, 6, 7})
            if (clock[i] < '0' || clock[i] > '9')
                return -1;
        if (clock[2] != ':' || clock[5] != ':')
            return -1;
        const int hour = (clock[0] - '0') * 10 + (clock[1] - '0');
        const int minute = (clock[3] - '0') * 10 + (clock[4] - '0');
        const int second = (clock[6] - '0') * 10 + (clock[7] - '0');
        if (hour > 23 || minute > 59 || second > 59)
            return -1;
        return hour * 3600 + minute * 60 + second;
    };
    char clock[CLOCK_LENGTH + 1] = {};
    // Every number of each field, the limits of the range included.
    for (int hour = 0; hour < 100; ++hour) {
        for (int minute = 0; minute < 100; minute += 7) {
            for (int second = 0; second < 100; ++second) {
                std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", hour, minute, second);
                ASSERT_EQ(secondOfClock(clock), plain(clock)) << clock;
            }
        }
    }
    for (int minute = 0; minute < 100; ++minute) {
        std::snprintf(clock, sizeof clock, "23:%02d:59", minute);
        ASSERT_EQ(secondOfClock(clock), plain(clock)) << clock;
    }
    // Any byte at any place of a few clocks, so that no other byte passes for a digit or a
    // colon, nor a carry from one place into the next.
    for (const char *base : {"00:00:00", "23:59:59", "19:09:90", "09:59:09"}) {
        for (int place = 0; place < 8; ++place) {
            for (int byte = 0; byte < 256; ++byte) {
                std::memcpy(clock, base, CLOCK_LENGTH);
                clock[place] = static_cast<char>(byte);
                ASSERT_EQ(secondOfClock(clock), plain(clock))
                    << base << " " << place << " " << byte;
            }
        }
    }
}
