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

#include <cstdint>
#include <string>
#include <string_view>

namespace zqar {

constexpr int64_t SECONDS_PER_DAY_COUNT = 86400;

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

    DateOrder order;
    DateOrder seen = DateOrder::Found;
    std::string cachedText;
    Date cached;
};

// The day number (days since 30 December 1899, the time of day as the fraction) of a count
// of seconds: the same bits as the calendar date and time make.
double dayNumberOfSeconds(int64_t seconds);

} // namespace zqar
