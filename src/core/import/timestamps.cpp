#include "core/import/timestamps.h"

#include "core/data/caseless.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/import/csvFields.h"

namespace zqar {

namespace {

constexpr int MONTHS = 12;
constexpr int HOURS_ON_THE_CLOCK = 12;
constexpr int CENTURY_PIVOT = 70; // two-digit years below it are 20xx, the others 19xx

struct Fields {
    int value[3] = {};
    int digits[3] = {};
    char separator = 0;
    std::size_t end = 0; // where the date ends in the text
};

// Up to four digits from at; their count, 0 when none (or more than four).
int digitsAt(std::string_view text, std::size_t at, int &value) {
    int count = 0;
    value = 0;
    while (at + static_cast<std::size_t>(count) < text.size() &&
           isDigit(text[at + static_cast<std::size_t>(count)])) {
        if (count == 4)
            return 0;
        value = value * 10 + (text[at + static_cast<std::size_t>(count)] - '0');
        ++count;
    }
    return count;
}

// Three numbers with the same separator between them.
bool splitDate(std::string_view text, Fields &fields) {
    std::size_t at = 0;
    for (int k = 0; k < 3; ++k) {
        const int count = digitsAt(text, at, fields.value[k]);
        if (count == 0)
            return false;
        fields.digits[k] = count;
        at += static_cast<std::size_t>(count);
        if (k == 2)
            break;
        if (at >= text.size())
            return false;
        const char separator = text[at];
        if (separator != '-' && separator != '/' && separator != '.')
            return false;
        if (k == 0)
            fields.separator = separator;
        else if (separator != fields.separator)
            return false;
        ++at;
    }
    fields.end = at;
    return true;
}

int fullYear(int value, int digits) {
    if (digits == 4)
        return value;
    return value < CENTURY_PIVOT ? 2000 + value : 1900 + value;
}

bool isDayOrMonth(int digits) { return digits == 1 || digits == 2; }
bool isYear(int digits) { return digits == 2 || digits == 4; }

// The seconds of the day of "hh:mm", "hh:mm:ss", each optionally followed by AM or PM; -1 for
// anything else.
int64_t secondOfDay(std::string_view text) {
    // The common 24-hour "hh:mm:ss" at once.
    if (text.size() == CLOCK_LENGTH)
        if (const int64_t second = secondOfClock(text.data()); second >= 0)
            return second;
    int hour = 0;
    int minute = 0;
    int second = 0;
    const int hourDigits = digitsAt(text, 0, hour);
    if (!isDayOrMonth(hourDigits))
        return -1;
    std::size_t at = static_cast<std::size_t>(hourDigits);
    if (at >= text.size() || text[at] != ':' || digitsAt(text, at + 1, minute) != 2)
        return -1;
    at += 3;
    if (at < text.size() && text[at] == ':') {
        if (digitsAt(text, at + 1, second) != 2)
            return -1;
        at += 3;
    }
    while (at < text.size() && isBlank(text[at]))
        ++at;
    if (at < text.size()) {
        if (text.size() - at != 2 || asciiLower(text[at + 1]) != 'm')
            return -1;
        const char half = asciiLower(text[at]);
        if ((half != 'a' && half != 'p') || hour < 1 || hour > HOURS_ON_THE_CLOCK)
            return -1;
        hour = hour % HOURS_ON_THE_CLOCK + (half == 'p' ? HOURS_ON_THE_CLOCK : 0);
    }
    if (hour > LAST_HOUR_OF_DAY || minute > LAST_MINUTE_OF_HOUR || second > LAST_MINUTE_OF_HOUR)
        return -1;
    return int64_t{hour} * 3600 + minute * 60 + second;
}

} // namespace

std::size_t TimestampReader::dateLength(std::string_view cell) {
    std::size_t end = 0;
    while (end < cell.size() && !isBlank(cell[end]) && cell[end] != 'T')
        ++end;
    return end;
}

DateOrderHint TimestampReader::hintOf(std::string_view dateText) {
    DateOrderHint hint;
    Fields fields;
    if (!splitDate(dateText, fields) || fields.separator == '.' || fields.digits[0] == 4)
        return hint;
    hint.dayFirst = fields.value[0] > MONTHS;
    hint.monthFirst = fields.value[1] > MONTHS;
    return hint;
}

TimestampReader::Date TimestampReader::dateOf(std::string_view text) {
    Date date;
    Fields fields;
    if (!splitDate(text, fields) || fields.end != text.size())
        return date;
    int year;
    int month;
    int day;
    DateOrder used;
    if (fields.digits[0] == 4) {
        if (!isDayOrMonth(fields.digits[1]) || !isDayOrMonth(fields.digits[2]))
            return date;
        year = fields.value[0];
        month = fields.value[1];
        day = fields.value[2];
        used = DateOrder::YearMonthDay;
        date.yearFirst = true;
    } else {
        if (!isDayOrMonth(fields.digits[0]) || !isDayOrMonth(fields.digits[1]))
            return date;
        used = fields.separator == '.' ? DateOrder::DayMonthYear : order;
        if (used == DateOrder::Found) {
            date.status = TimestampStatus::NeedDateOrder;
            return date;
        }
        if (used == DateOrder::YearMonthDay) {
            if (!isYear(fields.digits[0]) || !isDayOrMonth(fields.digits[2]))
                return date;
            year = fullYear(fields.value[0], fields.digits[0]);
            month = fields.value[1];
            day = fields.value[2];
        } else {
            if (!isYear(fields.digits[2]))
                return date;
            year = fullYear(fields.value[2], fields.digits[2]);
            const bool dayFirst = used == DateOrder::DayMonthYear;
            day = fields.value[dayFirst ? 0 : 1];
            month = fields.value[dayFirst ? 1 : 0];
        }
    }
    const CivilTime civil{year, month, day, 0, 0, 0};
    if (!isValidCivil(civil))
        return date;
    date.status = TimestampStatus::Ok;
    date.day = truncToInt(dayNumberFromCivil(civil));
    if (seen == DateOrder::Found)
        seen = used;
    return date;
}

void TimestampReader::remember(std::string_view dateText) {
    cached = dateOf(dateText);
    cachedText.assign(dateText);
    repeatable = cached.status == TimestampStatus::Ok && dateText.size() >= sizeof cachedHead &&
                 dateText.size() <= 2 * sizeof cachedHead;
    if (repeatable) {
        cachedHead = loadWord(dateText.data());
        cachedTail = loadWord(dateText.data() + dateText.size() - sizeof cachedTail);
    }
}

Timestamp TimestampReader::read(std::string_view cell) {
    // Consecutive rows mostly share their date: the last one is tried first.
    const std::size_t cachedLength = cachedText.size();
    const bool sameDate = cachedLength > 0 && cell.size() > cachedLength &&
                          (isBlank(cell[cachedLength]) || cell[cachedLength] == 'T') &&
                          cell.compare(0, cachedLength, cachedText) == 0;
    const std::size_t dateEnd = sameDate ? cachedLength : dateLength(cell);
    if (dateEnd == cell.size())
        return {};
    const std::string_view dateText = cell.substr(0, dateEnd);
    std::size_t timeStart = dateEnd + 1;
    if (cell[dateEnd] != 'T')
        while (timeStart < cell.size() && isBlank(cell[timeStart]))
            ++timeStart;
    if (dateText != cachedText)
        remember(dateText);
    // "T" stands only after a date that starts with its year.
    if (cached.status == TimestampStatus::Ok && cell[dateEnd] == 'T' && !cached.yearFirst)
        return {};
    return onCachedDate(cell.substr(timeStart));
}

Timestamp TimestampReader::read(std::string_view dateCell, std::string_view timeCell) {
    if (dateCell != cachedText)
        remember(dateCell);
    return onCachedDate(timeCell);
}

Timestamp TimestampReader::onCachedDate(std::string_view timeText) const {
    Timestamp result;
    if (cached.status != TimestampStatus::Ok) {
        result.status = cached.status;
        return result;
    }
    const int64_t second = secondOfDay(timeText);
    if (second < 0)
        return {};
    result.status = TimestampStatus::Ok;
    result.seconds = cached.day * SECONDS_PER_DAY_COUNT + second;
    return result;
}

double dayNumberOfSeconds(int64_t seconds) {
    int64_t days = seconds / SECONDS_PER_DAY_COUNT;
    int64_t second = seconds % SECONDS_PER_DAY_COUNT;
    if (second < 0) {
        second += SECONDS_PER_DAY_COUNT;
        --days;
    }
    CivilTime civil = civilFromDayNumber(static_cast<double>(days));
    civil.hour = static_cast<int>(second / 3600);
    civil.minute = static_cast<int>(second / 60 % 60);
    civil.second = static_cast<int>(second % 60);
    return dayNumberFromCivil(civil);
}

} // namespace zqar
