#pragma once
// The times of an exported table's rows, as seconds on one linear count (day number times
// 86400 plus the second of the day), so differences and the grid are whole numbers.
//
// A date is "YYYY-MM-DD" (any of "-", "/", "." between; also with "T" before the time),
// "DD.MM.YYYY", or day and month with "/" or "-" between and the year at the end, whose order
// the table's rows or the user decide; day and month take one or two digits, a year at the end
// two or four (00-69 are 20xx, 70-99 are 19xx). The time of day is "hh:mm" or "hh:mm:ss", with
// "AM" or "PM" (any case) for a 12-hour time.

#include "core/import/ImportSettings.h"
#include "core/import/byteWords.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zqar {

constexpr int64_t SECONDS_PER_DAY_COUNT = 86400;
constexpr int LAST_HOUR_OF_DAY = 23;
constexpr int LAST_MINUTE_OF_HOUR = 59; // and the last second of a minute
constexpr std::size_t CLOCK_LENGTH = 8; // "hh:mm:ss"

// The second of the day of the CLOCK_LENGTH bytes "hh:mm:ss" on a 24-hour clock; -1 for any
// other bytes.
inline int64_t secondOfClock(const char *clock) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // All eight bytes at once. Against "00:00:00" each byte differs by its digit, at most nine,
    // and the colons by nothing; a byte above nine, alone or with the carry it makes, leaves a
    // high bit set. Then each pair of digits is tens * 10 + ones in the byte of its tens.
    constexpr uint64_t ZERO_CLOCK = 0x30303A30303A3030ull;   // "00:00:00"
    constexpr uint64_t COLONS = 0x0000FF0000FF0000ull;       // the bytes 2 and 5
    constexpr uint64_t TENS_TO_HIGH = 0x7676767676767676ull; // 0x80 - 10 in each byte
    const uint64_t digits = loadWord(clock) ^ ZERO_CLOCK;
    if ((((digits + TENS_TO_HIGH) | digits) & WORD_HIGHS) != 0 || (digits & COLONS) != 0)
        return -1;
    const uint64_t pairs = digits * 10 + (digits >> 8);
    // The hour, minute and second stand in the bytes 0, 3 and 6; a byte reaches 0x80 when its
    // number is above LAST_HOUR_OF_DAY or LAST_MINUTE_OF_HOUR.
    constexpr uint64_t NUMBERS = 0x00FF0000FF0000FFull;
    constexpr uint64_t TOO_LARGE = 0x0080000080000080ull;
    constexpr uint64_t TO_TOO_LARGE = (0x80ull - LAST_HOUR_OF_DAY - 1) |
                                      (0x80ull - LAST_MINUTE_OF_HOUR - 1) << 24 |
                                      (0x80ull - LAST_MINUTE_OF_HOUR - 1) << 48;
    if (((pairs & NUMBERS) + TO_TOO_LARGE) & TOO_LARGE)
        return -1;
    const auto hour = static_cast<int64_t>(pairs & 0xFF);
    const auto minute = static_cast<int64_t>((pairs >> 24) & 0xFF);
    const auto second = static_cast<int64_t>((pairs >> 48) & 0xFF);
    return hour * 3600 + minute * 60 + second;
#else
    auto digit = [clock](int at) { return static_cast<unsigned>(clock[at] - '0'); };
    if (clock[2] != ':' || clock[5] != ':' || digit(0) > 9 || digit(1) > 9 || digit(3) > 9 ||
        digit(4) > 9 || digit(6) > 9 || digit(7) > 9)
        return -1;
    const auto hour = static_cast<int>(digit(0) * 10 + digit(1));
    const auto minute = static_cast<int>(digit(3) * 10 + digit(4));
    const auto second = static_cast<int>(digit(6) * 10 + digit(7));
    if (hour > LAST_HOUR_OF_DAY || minute > LAST_MINUTE_OF_HOUR || second > LAST_MINUTE_OF_HOUR)
        return -1;
    return int64_t{hour} * 3600 + minute * 60 + second;
#endif
}

enum class TimestampStatus {
    Ok,
    NotATime,      // the text is in none of the forms, or names no real date or time
    NeedDateOrder, // day/month or month/day, and the order is not known yet
};

struct Timestamp {
    TimestampStatus status = TimestampStatus::NotATime;
    int64_t seconds = 0;
};

// What one date says about the order of day and month.
struct DateOrderHint {
    bool dayFirst = false;   // its first field is above 12
    bool monthFirst = false; // its second field is above 12
};

// Reads the time cells of a table's rows. Keeps the last date it read, since consecutive rows
// mostly share it.
class TimestampReader {
public:
    // order: how to read day/month dates with the year at the end; Found when not known yet.
    explicit TimestampReader(DateOrder order) : order(order) {}

    // A cell holding date and time.
    Timestamp read(std::string_view cell);
    // A date cell and a time cell.
    Timestamp read(std::string_view dateCell, std::string_view timeCell);

    // The common cell at once: the date read last (a real date of 8 to 16 bytes), one blank and
    // "hh:mm:ss" at the start of text[0, size). Answers the length of that text and its
    // seconds, or 0 when it is not there; changes nothing. When the cell ends after that
    // length, read() gives the same seconds.
    std::size_t readRepeatedDate(const char *text, std::size_t size, int64_t &seconds) const;

    // Only the order a day/month date would tell; nothing for the other forms.
    static DateOrderHint hintOf(std::string_view dateText);

    // Where the date of a date-and-time cell ends: at its first blank or "T".
    static std::size_t dateLength(std::string_view cell);

    // The order the dates read so far followed: that of the first date read.
    DateOrder orderSeen() const { return seen; }

private:
    struct Date {
        TimestampStatus status = TimestampStatus::NotATime;
        int64_t day = 0; // day number
        bool yearFirst = false;
    };
    Date dateOf(std::string_view text);
    // Reads the date and keeps it as the one read last.
    void remember(std::string_view dateText);
    // The time of day on the date read last, or that date's failure.
    Timestamp onCachedDate(std::string_view timeText) const;

    DateOrder order;
    DateOrder seen = DateOrder::Found;
    std::string cachedText;
    Date cached;
    // The first and the last eight bytes of cachedText, when readRepeatedDate may use it.
    bool repeatable = false;
    uint64_t cachedHead = 0;
    uint64_t cachedTail = 0;
};

inline std::size_t TimestampReader::readRepeatedDate(const char *text, std::size_t size,
                                                     int64_t &seconds) const {
    constexpr std::size_t TIME_LENGTH = 1 + CLOCK_LENGTH; // the blank and the clock
    const std::size_t length = cachedText.size();
    if (!repeatable || size < length + TIME_LENGTH)
        return 0;
    if (loadWord(text) != cachedHead || loadWord(text + length - sizeof cachedTail) != cachedTail ||
        text[length] != ' ')
        return 0;
    const int64_t second = secondOfClock(text + length + 1);
    if (second < 0)
        return 0;
    seconds = cached.day * SECONDS_PER_DAY_COUNT + second;
    return length + TIME_LENGTH;
}

// The day number (days since 30 December 1899, the time of day as the fraction) of a count
// of seconds: the same bits as the calendar date and time make.
double dayNumberOfSeconds(int64_t seconds);

} // namespace zqar
