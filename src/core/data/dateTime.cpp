#include "core/data/dateTime.h"

#include "core/data/caseless.h"
#include "core/data/numbers.h"
#include "core/data/systemCalls.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace zqar {

namespace {

constexpr const char *MONTH_NAMES[12] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};

// Days from 1 January 1970 of a proleptic Gregorian date (valid for any year).
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(int64_t days, int &year, int &month, int &day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

const int64_t EPOCH_DAYS = daysFromCivil(1899, 12, 30);

// ---- The date-time parser -------------------------------------------------------------

bool isLetter(char c) {
    c = asciiLower(c);
    return c >= 'a' && c <= 'z';
}

// A token of the text: a run of digits, a run of letters, or one punctuation character.
struct Token {
    enum Kind { Number, Word, Mark } kind;
    std::string_view text;
    bool spaceBefore;
};

std::optional<std::vector<Token>> tokenize(std::string_view text) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    bool space = false;
    while (i < text.size()) {
        const char c = text[i];
        if (isSpace(c)) {
            space = true;
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        Token::Kind kind;
        if (isDigit(c)) {
            kind = Token::Number;
            while (j < text.size() && isDigit(text[j]))
                ++j;
        } else if (isLetter(c)) {
            kind = Token::Word;
            while (j < text.size() && isLetter(text[j]))
                ++j;
        } else if (c == '-' || c == '/' || c == '.' || c == ':' || c == ',') {
            kind = Token::Mark;
        } else {
            return std::nullopt;
        }
        if (j - i > 12)
            return std::nullopt;
        tokens.push_back({kind, text.substr(i, j - i), space});
        space = false;
        i = j;
    }
    return tokens;
}

int numberOf(const Token &token) { return readInteger(token.text); }

bool sameWord(std::string_view a, std::string_view b) { return equalIgnoringCase(a, b); }

// 1-12 for an English month name or its three-letter abbreviation, 0 otherwise.
int monthOfName(std::string_view word) {
    for (int m = 0; m < 12; ++m) {
        const std::string_view name = MONTH_NAMES[m];
        if (sameWord(word, name) || sameWord(word, name.substr(0, 3)))
            return m + 1;
    }
    if (sameWord(word, "Sept"))
        return 9;
    return 0;
}

int fullYear(const Token &token) {
    const int value = numberOf(token);
    if (token.text.size() <= 2)
        return value < 30 ? 2000 + value : 1900 + value;
    return value;
}

struct Cursor {
    const std::vector<Token> &tokens;
    std::size_t at = 0;
    bool done() const { return at >= tokens.size(); }
    const Token *peek(std::size_t ahead = 0) const {
        return at + ahead < tokens.size() ? &tokens[at + ahead] : nullptr;
    }
    bool mark(char c) const {
        const Token *t = peek();
        return t && t->kind == Token::Mark && t->text[0] == c;
    }
};

// Reads the two digits after the mark the cursor stands on; answers false when they are not there.
bool readTwoDigitField(Cursor &cur, int &value) {
    const Token *t = cur.peek(1);
    if (!t || t->kind != Token::Number || t->text.size() != 2)
        return false;
    value = numberOf(*t);
    cur.at += 2;
    return true;
}

bool isDateSeparator(const Token *t) {
    return t && t->kind == Token::Mark &&
           (t->text[0] == '-' || t->text[0] == '/' || t->text[0] == '.');
}

// Reads the date part into time; answers whether one was there.
bool parseDate(Cursor &cur, CivilTime &time) {
    const Token *first = cur.peek();
    if (!first)
        return false;
    if (first->kind == Token::Number) {
        const Token *sep1 = cur.peek(1);
        const Token *second = cur.peek(2);
        const bool wordNext = sep1 && sep1->kind == Token::Word;
        if (wordNext || (isDateSeparator(sep1) && second && second->kind == Token::Word)) {
            // 05-Nov-2003, 5 Nov 2003, 05/November/2003
            const std::size_t wordAt = wordNext ? 1 : 2;
            const int month = monthOfName(cur.peek(wordAt)->text);
            if (month == 0)
                return false;
            const bool separated2 = isDateSeparator(cur.peek(wordAt + 1));
            const Token *yearToken = cur.peek(wordAt + (separated2 ? 2 : 1));
            if (!yearToken || yearToken->kind != Token::Number)
                return false;
            time.day = numberOf(*first);
            time.month = month;
            time.year = fullYear(*yearToken);
            cur.at += wordAt + (separated2 ? 3 : 2);
            return true;
        }
        if (!second)
            return false;
        // Numeric dates: three numbers with the same separator between them.
        const Token *sep2 = cur.peek(3);
        const Token *third = cur.peek(4);
        if (!isDateSeparator(sep1) || !sep2 || !third || sep2->kind != Token::Mark ||
            sep2->text != sep1->text || second->kind != Token::Number ||
            third->kind != Token::Number)
            return false;
        if (first->text.size() == 4) {
            time.year = numberOf(*first);
            time.month = numberOf(*second);
            time.day = numberOf(*third);
        } else {
            const std::string order = localeDateOrder();
            const Token *parts[3] = {first, second, third};
            for (int k = 0; k < 3; ++k) {
                if (order[k] == 'D')
                    time.day = numberOf(*parts[k]);
                else if (order[k] == 'M')
                    time.month = numberOf(*parts[k]);
                else
                    time.year = fullYear(*parts[k]);
            }
        }
        cur.at += 5;
        return true;
    }
    if (first->kind == Token::Word) {
        // Nov 5, 2003 / November 5 2003
        const int month = monthOfName(first->text);
        if (month == 0)
            return false;
        std::size_t k = 1;
        if (isDateSeparator(cur.peek(k)))
            ++k;
        const Token *dayToken = cur.peek(k);
        if (!dayToken || dayToken->kind != Token::Number)
            return false;
        ++k;
        if (cur.peek(k) && cur.peek(k)->kind == Token::Mark &&
            (cur.peek(k)->text[0] == ',' || isDateSeparator(cur.peek(k))))
            ++k;
        const Token *yearToken = cur.peek(k);
        if (!yearToken || yearToken->kind != Token::Number)
            return false;
        time.month = month;
        time.day = numberOf(*dayToken);
        time.year = fullYear(*yearToken);
        cur.at += k + 1;
        return true;
    }
    return false;
}

// Reads "AM"/"PM"/"A"/"P" if present: -1 none, 0 AM, 1 PM.
int parseMeridiem(Cursor &cur) {
    const Token *t = cur.peek();
    if (!t || t->kind != Token::Word)
        return -1;
    if (sameWord(t->text, "AM") || sameWord(t->text, "A")) {
        ++cur.at;
        return 0;
    }
    if (sameWord(t->text, "PM") || sameWord(t->text, "P")) {
        ++cur.at;
        return 1;
    }
    return -1;
}

bool parseTime(Cursor &cur, CivilTime &time) {
    const Token *hourToken = cur.peek();
    if (!hourToken || hourToken->kind != Token::Number || hourToken->text.size() > 2)
        return false;
    ++cur.at;
    int hour = numberOf(*hourToken);
    int minute = 0;
    int second = 0;
    bool hasMinutes = false;
    if (cur.mark(':')) {
        if (!readTwoDigitField(cur, minute))
            return false;
        hasMinutes = true;
        if (cur.mark(':')) {
            if (!readTwoDigitField(cur, second))
                return false;
            if (cur.mark('.') && cur.peek(1) && cur.peek(1)->kind == Token::Number &&
                !cur.peek(1)->spaceBefore)
                cur.at += 2;
        }
    }
    const int meridiem = parseMeridiem(cur);
    if (meridiem < 0 && !hasMinutes)
        return false;
    if (meridiem >= 0) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (meridiem == 1 ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    time.hour = hour;
    time.minute = minute;
    time.second = second;
    return true;
}

} // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

bool isValidCivil(const CivilTime &time) {
    return time.year >= 0 && time.year <= 9999 && time.month >= 1 && time.month <= 12 &&
           time.day >= 1 && time.day <= daysInMonth(time.year, time.month) && time.hour >= 0 &&
           time.hour <= 23 && time.minute >= 0 && time.minute <= 59 && time.second >= 0 &&
           time.second <= 59;
}

double dayNumberFromCivil(const CivilTime &time) {
    const int64_t days = daysFromCivil(time.year, time.month, time.day) - EPOCH_DAYS;
    const double fraction = (time.hour * 3600 + time.minute * 60 + time.second) / SECONDS_PER_DAY;
    const double whole = static_cast<double>(days);
    return days < 0 ? whole - fraction : whole + fraction;
}

namespace {

// A day number as whole days and a rounded second of that day, as the texts show it.
struct RoundedDayTime {
    int64_t days = 0;
    int64_t seconds = 0; // 0 to 86399
};

RoundedDayTime roundToSecond(double dayNumber) {
    if (!std::isfinite(dayNumber) || std::fabs(dayNumber) > 1e9)
        dayNumber = 0.0;
    const double whole = std::trunc(dayNumber);
    const double fraction = std::fabs(dayNumber - whole);
    RoundedDayTime result;
    result.days = static_cast<int64_t>(whole);
    // -0.5 and 0.5 both mean noon of 30 December 1899: the integer part names the day.
    result.seconds = static_cast<int64_t>(std::floor(fraction * SECONDS_PER_DAY + 0.5));
    if (result.seconds >= WHOLE_SECONDS_PER_DAY) {
        result.seconds -= WHOLE_SECONDS_PER_DAY;
        result.days += 1;
    }
    return result;
}

} // namespace

CivilTime civilFromDayNumber(double dayNumber) {
    CivilTime result;
    const RoundedDayTime rounded = roundToSecond(dayNumber);
    civilFromDays(rounded.days + EPOCH_DAYS, result.year, result.month, result.day);
    result.hour = static_cast<int>(rounded.seconds / WHOLE_SECONDS_PER_HOUR);
    result.minute = static_cast<int>(rounded.seconds / 60 % 60);
    result.second = static_cast<int>(rounded.seconds % 60);
    return result;
}

int64_t roundedSeconds(double dayNumber) {
    const RoundedDayTime rounded = roundToSecond(dayNumber);
    return rounded.days * WHOLE_SECONDS_PER_DAY + rounded.seconds;
}

std::string formatDateTime(double dayNumber) {
    const CivilTime t = civilFromDayNumber(dayNumber);
    int hour12 = t.hour % 12;
    if (hour12 == 0)
        hour12 = 12;
    char text[64];
    std::snprintf(text, sizeof text, "%02d-%.3s-%04d %02d:%02d%s", t.day, MONTH_NAMES[t.month - 1],
                  t.year, hour12, t.minute, t.hour < 12 ? "AM" : "PM");
    return text;
}

std::string formatDateTimeToTheSecond(double dayNumber) {
    std::string text = formatDateTime(dayNumber);
    const CivilTime civil = civilFromDayNumber(dayNumber);
    if (civil.second != 0) {
        // Before the AM or PM, which formatDateTime always ends with.
        const char digits[] = {':', static_cast<char>('0' + civil.second / 10),
                               static_cast<char>('0' + civil.second % 10)};
        text.insert(text.size() - 2, digits, sizeof digits);
    }
    return text;
}

std::string localeDateOrder() {
    const std::string formatText = localeDateFormat();
    const char *format = formatText.c_str();
    std::string order;
    for (const char *p = format; p && *p; ++p) {
        if (*p != '%' || !p[1])
            continue;
        ++p;
        if (*p == 'E' || *p == 'O')
            ++p;
        char field = 0;
        switch (*p) {
        case 'd':
        case 'e':
            field = 'D';
            break;
        case 'm':
        case 'b':
        case 'B':
        case 'h':
            field = 'M';
            break;
        case 'y':
        case 'Y':
        case 'C':
            field = 'Y';
            break;
        case 'D':
            order = "MDY";
            return order;
        case 'F':
            order = "YMD";
            return order;
        default:
            break;
        }
        if (field && order.find(field) == std::string::npos)
            order += field;
    }
    if (order.size() != 3)
        order = "MDY";
    return order;
}

std::optional<double> parseDateTime(std::string_view text) {
    const auto tokens = tokenize(text);
    if (!tokens || tokens->empty())
        return std::nullopt;
    Cursor cur{*tokens};
    CivilTime time;
    time.hour = time.minute = time.second = 0;
    if (!parseDate(cur, time))
        return std::nullopt;
    if (!cur.done()) {
        // ISO's "T" between date and time, or a comma after the date.
        const Token *t = cur.peek();
        if (t->kind == Token::Word && sameWord(t->text, "T") && !t->spaceBefore) {
            ++cur.at;
        } else if (t->kind == Token::Mark && t->text[0] == ',') {
            ++cur.at;
        }
        if (!parseTime(cur, time))
            return std::nullopt;
    }
    if (!cur.done() || !isValidCivil(time))
        return std::nullopt;
    return dayNumberFromCivil(time);
}

} // namespace zqar
