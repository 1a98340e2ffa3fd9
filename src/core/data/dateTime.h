#pragma once
// Date-time values are day numbers: days since 30 December 1899 00:00, with the time of day as
// the fraction. Before that day the integer part names the day and the fraction's absolute
// value the time of day, so -1.25 is 29 December 1899 06:00.

#include "core/data/timeUnits.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zqar {

enum DateTimeStatus : int32_t { DATE_VALID = 0, DATE_INVALID = 1, DATE_NULL = 2 };

// A stored date-time: the day number with its status. Calling it gives the day number, which
// is what the record operation of the same name answers; the status is not looked at.
struct DateTime {
    double day = 0.0;
    int32_t status = DATE_VALID;
    double operator()() const { return day; }
};

struct CivilTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);

// The day number of a calendar date and time. Nothing is checked here; see isValidCivil.
double dayNumberFromCivil(const CivilTime &time);

// Year 0 to 9999, month 1 to 12, an existing day, hour 0-23, minute and second 0-59.
bool isValidCivil(const CivilTime &time);

// The calendar date and time of a day number, rounded to the nearest whole second (half a
// second counts up). A day number far outside the years 0 to 9999 gives nonsense but no fault.
CivilTime civilFromDayNumber(double dayNumber);

// The same rounding as a count of seconds: the rounded day times 86400 plus the rounded second
// of that day. Two day numbers that show the same text give the same count, so comparing
// counts compares times as the user reads them.
int64_t roundedSeconds(double dayNumber);

// "%d-%b-%Y %I:%M%p" after rounding to the second, English month names whatever the locale:
// 14:30 on 5 November 2003 is "05-Nov-2003 02:30PM".
std::string formatDateTime(double dayNumber);
// The same with ":SS" before the AM or PM when the second is not 0, so that a time written and
// read back (parseDateTime) is the same second: "05-Nov-2003 02:30:15PM".
std::string formatDateTimeToTheSecond(double dayNumber);

// Reads a date-time text as the user types it. Accepted, in any letter case:
//   - the program's own form and its relatives: "05-Nov-2003 02:30PM", "5 Nov 2003 14:30:15",
//     "05-November-2003 2:30 pm", "05/Nov/2003";
//   - ISO 8601: "2003-11-05", "2003-11-05 14:30", "2003-11-05T14:30:00";
//   - numeric dates in the order of the user's locale (the day, month and year order of
//     LC_TIME's date format, month/day/year in the C locale), separated by "/", "-" or ".";
//     a year of one or two digits means 1930-2029;
// each optionally followed by a time: hours and minutes with optional seconds (and an ignored
// fraction of a second), 24-hour, or 12-hour with AM/PM (also "A"/"P"), with or without a
// blank before it; "2 PM" alone is accepted as a time too. A date alone means midnight.
// Everything else is refused, the empty text included. Only the given characters are read.
std::optional<double> parseDateTime(std::string_view text);

// The date order used for numeric dates: 'D', 'M', 'Y' in the order of the current LC_TIME
// date format (as nl_langinfo(D_FMT) gives it), "MDY" when it names none.
std::string localeDateOrder();

} // namespace zqar
