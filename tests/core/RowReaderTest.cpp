#include "core/import/RowReader.h"
#include "core/import/TextLines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace zqar;

namespace {

constexpr std::size_t LINE_LIMIT = 1 << 20;
constexpr std::size_t BEYOND_A_BLOCK = 300000; // bytes: more than one block of the line reader

uint64_t bitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

class RandomTable {
public:
    RandomTable(uint64_t seed, const RowColumns &columns) : random(seed), columns(columns) {
        for (const std::size_t k : columns.temperatures)
            last = std::max(last, k);
        last = std::max({last, columns.time, columns.timeOfDay.value_or(0)});
        dateStyle = below(4);
    }

    // Rows in the forms the one-pass readings take, and in the forms next to them that they
    // must leave to the general way.
    std::string rows(std::size_t bytes) {
        std::string text;
        while (text.size() < bytes) {
            text += row();
            text += pick({"\n", "\r\n", "\r\n", "\r\n", "\r"});
        }
        if (chance(2))
            text += row(); // no line end after the last line
        return text;
    }

private:
    bool chance(int inHundred) {
        return std::uniform_int_distribution<int>(0, 99)(random) < inHundred;
    }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    std::string pick(std::initializer_list<const char *> texts) {
        auto it = texts.begin();
        std::advance(it, below(static_cast<int>(texts.size())));
        return *it;
    }

    std::string row() {
        if (chance(1))
            return std::string(static_cast<std::size_t>(below(200)), ' ');
        std::string line;
        const std::size_t cells =
            chance(3) ? static_cast<std::size_t>(below(static_cast<int>(last) + 1))
                      : last + 1 + static_cast<std::size_t>(chance(20) ? below(3) : 0);
        // Times rise by a minute a row; the date stays for a while.
        minute = (minute + 1) % (24 * 60);
        if (minute == 0 || chance(1))
            day = 1 + below(28);
        for (std::size_t c = 0; c < cells; ++c) {
            if (c > 0)
                line += columns.delimiter;
            line += cell(c);
        }
        return line;
    }

    std::string cell(std::size_t c) {
        const bool temperature = std::find(columns.temperatures.begin(), columns.temperatures.end(),
                                           c) != columns.temperatures.end();
        std::string text;
        if (c == columns.time)
            text = columns.timeOfDay ? date() : dateAndTime();
        else if (columns.timeOfDay && c == *columns.timeOfDay)
            text = clock();
        else if (temperature)
            text = number();
        else
            text = chance(1) && chance(5)
                       ? std::string("\xB0") // no UTF-8: the reading stops
                       : pick({"", "", "45", "Logged", "\"a;b,c\"", "x\"y", "\xC2\xB0", "7"});
        if (chance(2))
            text = pick({" ", "\t", "  "}) + text;
        if (chance(2))
            text += pick({" ", "\t"});
        if (chance(1))
            text = "\"" + text + "\"";
        return text;
    }

    // Mostly in the table's own style, so that rows share their date.
    std::string date() {
        char text[32];
        const int month = 1 + day % 12;
        switch (chance(90) ? dateStyle : below(5)) {
        case 0:
            std::snprintf(text, sizeof text, "2021-%02d-%02d", month, day);
            break;
        case 1:
            std::snprintf(text, sizeof text, "%02d.%02d.%04d", day, month, 2020);
            break;
        case 2:
            std::snprintf(text, sizeof text, "%02d/%02d/%04d", month, day, 1999);
            break;
        case 3:
            std::snprintf(text, sizeof text, "%d/%d/%02d", month, day, day * 3);
            break;
        default:
            return pick({"2021-02-30", "2021-13-01", "garbage", "", "2021-1-1", "31.02.2020"});
        }
        return text;
    }

    std::string clock() {
        char text[32];
        const int hour = minute / 60;
        switch (below(25)) {
        case 0:
            std::snprintf(text, sizeof text, "%d:%02d %s", hour % 12 + 1, minute % 60,
                          chance(50) ? "AM" : "pm");
            break;
        case 1:
            std::snprintf(text, sizeof text, "%02d:%02d", hour, minute % 60);
            break;
        case 2:
            return pick({"24:00:00", "12:60:00", "12:00:60", "1:2:3", "12:00:00:00", "12;00:00"});
        default:
            std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, minute % 60, below(3));
            break;
        }
        return text;
    }

    std::string dateAndTime() { return date() + pick({" ", " ", " ", " ", "T", "  "}) + clock(); }

    std::string number() {
        if (chance(10))
            return "";
        if (chance(3))
            return pick({"n/a", "1e5", "-", ".", "1.2.3", "12345678901234567", "0x10",
                         "\xE2\x80\x94", "1,5", "+-1", "99999999999999999999.5"});
        std::string digits =
            std::to_string(below(40)) + pick({".", ",", ""}) + std::to_string(below(100));
        if (chance(5))
            digits = std::to_string(below(1000000000)) + std::to_string(below(1000000000));
        return pick({"", "", "", "-", "+"}) + digits;
    }

    std::mt19937_64 random;
    RowColumns columns;
    std::size_t last = 0;
    int minute = 0;
    int day = 1;
    int dateStyle = 0;
};

// Reads the text with the row reader, and line by line the general way alone, and compares
// every row.
void expectBothWaysAlike(const std::string &text, const RowColumns &columns, DateOrder order) {
    ByteSource fastBytes(text);
    ByteSource generalBytes(text);
    TextLines fastLines(fastBytes, false, LINE_LIMIT);
    TextLines generalLines(generalBytes, false, LINE_LIMIT);
    RowReader fast(columns, order);
    RowReader general(columns, order);
    int64_t readings = 0;
    for (;;) {
        RowReader::Row fastRow = RowReader::Row::NoReadings;
        const bool fastGot = fast.next(fastLines, fastRow);
        std::string_view line;
        const bool generalGot = generalLines.next(line);
        ASSERT_EQ(fastGot, generalGot) << "line " << generalLines.lineNumber();
        if (!fastGot)
            break;
        const RowReader::Row generalRow = general.readGeneral(line);
        SCOPED_TRACE("line " + std::to_string(generalLines.lineNumber()) + ": " +
                     std::string(line));
        ASSERT_EQ(fastLines.lineNumber(), generalLines.lineNumber());
        ASSERT_EQ(fastRow, generalRow);
        if (fastRow != RowReader::Row::Readings)
            continue;
        ++readings;
        ASSERT_EQ(fast.seconds(), general.seconds());
        for (std::size_t k = 0; k < columns.temperatures.size(); ++k) {
            const RowCell &a = fast.cell(k);
            const RowCell &b = general.cell(k);
            ASSERT_EQ(a.present, b.present) << "column " << k;
            if (!a.present)
                continue;
            ASSERT_EQ(a.number.isNumber, b.number.isNumber) << "column " << k;
            ASSERT_EQ(bitsOf(a.number.value), bitsOf(b.number.value)) << "column " << k;
            ASSERT_EQ(a.number.mark, b.number.mark) << "column " << k;
            ASSERT_EQ(a.number.few, b.number.few) << "column " << k;
        }
    }
    EXPECT_EQ(fastLines.stop(), generalLines.stop());
    EXPECT_EQ(fast.orderSeen(), general.orderSeen());
    EXPECT_GT(readings, 0);
}

RowColumns layout(char delimiter, std::size_t time, std::optional<std::size_t> timeOfDay,
                  std::vector<std::size_t> temperatures) {
    RowColumns columns;
    columns.delimiter = delimiter;
    columns.time = time;
    columns.timeOfDay = timeOfDay;
    columns.temperatures = std::move(temperatures);
    return columns;
}

} // namespace

// The one-pass readings must give what splitting each line gives, on every layout they treat
// apart: the plain one (time first, temperatures after it), others, a separate time of day.
TEST(RowReader, OnePassReadingsGiveTheGeneralWaysRows) {
    struct Case {
        const char *name;
        RowColumns columns;
        DateOrder order;
    };
    const Case cases[] = {
        {"plain, one temperature", layout(',', 0, std::nullopt, {1}), DateOrder::Found},
        {"plain, three temperatures, tabs", layout('\t', 0, std::nullopt, {1, 2, 3}),
         DateOrder::DayMonthYear},
        {"plain, semicolons", layout(';', 0, std::nullopt, {1, 2}), DateOrder::MonthDayYear},
        {"an index first", layout(',', 1, std::nullopt, {2, 4}), DateOrder::Found},
        {"temperature before the time", layout(';', 2, std::nullopt, {0, 3}),
         DateOrder::YearMonthDay},
        {"date and time apart", layout('\t', 0, 1, {2, 4}), DateOrder::DayMonthYear},
    };
    uint64_t seed = 1;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (int table = 0; table < 4; ++table) {
            RandomTable random(seed++, c.columns);
            expectBothWaysAlike(random.rows(table == 0 ? BEYOND_A_BLOCK : 20000), c.columns,
                                c.order);
        }
    }
}

// The rows of a regular export, all taken by the one-pass readings, with a CR LF split by the
// end of a block and lines longer than the limit.
TEST(RowReader, LineEndsAtTheEndOfABlockAndLongLines) {
    const RowColumns columns = layout(',', 0, std::nullopt, {1});
    for (std::size_t shift = 0; shift < 40; ++shift) {
        SCOPED_TRACE(shift);
        std::string text(shift, 'x');
        text += "\r\n";
        for (int i = 0; text.size() < BEYOND_A_BLOCK; ++i) {
            char row[64];
            std::snprintf(row, sizeof row, "2024-03-01 %02d:%02d:00,%d.%02d\r\n", i / 60 % 24,
                          i % 60, i % 30, i % 100);
            text += row;
        }
        expectBothWaysAlike(text, columns, DateOrder::Found);
    }
    std::string longLine = "2024-03-01 00:00:00,1\n2024-03-01 00:01:00,";
    longLine += std::string(LINE_LIMIT + 10, '5');
    longLine += "\n2024-03-01 00:02:00,3\n";
    ByteSource bytes(longLine);
    TextLines lines(bytes, false, LINE_LIMIT);
    RowReader reader(columns, DateOrder::Found);
    RowReader::Row row = RowReader::Row::NoReadings;
    ASSERT_TRUE(reader.next(lines, row));
    EXPECT_EQ(row, RowReader::Row::Readings);
    EXPECT_FALSE(reader.next(lines, row));
    EXPECT_EQ(lines.stop(), TextLines::Stop::LineTooLong);
    EXPECT_EQ(lines.lineNumber(), 2);
    // Asked again once the lines stopped, it reads nothing more.
    EXPECT_FALSE(reader.next(lines, row));
    EXPECT_EQ(lines.lineNumber(), 2);
}
