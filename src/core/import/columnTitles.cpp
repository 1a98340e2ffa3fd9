#include "core/import/columnTitles.h"

#include "core/data/caseless.h"
#include "core/data/numbers.h"
#include "core/import/csvFields.h"

#include <initializer_list>

namespace zqar {

namespace {

constexpr int MINUTES_PER_HOUR = 60;
constexpr int LAST_HOUR = 23;
constexpr int LAST_MINUTE = 59;

bool containsAny(std::string_view title, std::initializer_list<std::string_view> words) {
    const std::string lower = lowerCase(title);
    for (const std::string_view word : words)
        if (lower.find(word) != std::string::npos)
            return true;
    return false;
}

} // namespace

bool namesTime(std::string_view title) {
    return containsAny(title, {"date", "time", "datum", "zeit"});
}

bool namesDateOnly(std::string_view title) {
    return containsAny(title, {"date", "datum"}) && !containsAny(title, {"time", "zeit"});
}

bool namesTemperature(std::string_view title) { return containsAny(title, {"temp"}); }

bool namesDewPoint(std::string_view title) { return containsAny(title, {"dew"}); }

std::optional<TemperatureUnit> unitInTitle(std::string_view title) {
    constexpr std::size_t MOST_FORMS = 5;
    struct UnitForms {
        TemperatureUnit unit;
        std::string_view forms[MOST_FORMS]; // lower case, the degree sign in UTF-8; the rest empty
    };
    static constexpr UnitForms UNITS[] = {
        {TemperatureUnit::Fahrenheit, {"\u00b0f", "*f", "(f)", "deg f", "fahrenheit"}},
        {TemperatureUnit::Celsius, {"\u00b0c", "*c", "(c)", "deg c", "celsius"}},
        {TemperatureUnit::Kelvin, {"\u00b0k", "(k)", "kelvin"}},
    };
    // The form that starts first names the unit.
    const std::string lower = lowerCase(title);
    std::optional<TemperatureUnit> unit;
    std::size_t first = std::string::npos;
    for (const UnitForms &named : UNITS)
        for (const std::string_view form : named.forms) {
            const std::size_t at = form.empty() ? std::string::npos : lower.find(form);
            if (at < first) {
                first = at;
                unit = named.unit;
            }
        }
    return unit;
}

std::string serialInTitle(std::string_view title) {
    constexpr std::string_view MARK = "S/N:";
    const std::size_t at = title.find(MARK);
    if (at == std::string_view::npos)
        return std::string();
    const std::string_view rest = title.substr(at + MARK.size());
    return std::string(trimBlanks(rest.substr(0, rest.find_first_of(",)"))));
}

std::string serialInHeaderLine(std::string_view line) {
    for (const std::string_view prefix :
         {"Serial Number:", "Serial number:", "Seriennummer:", "S/N:"}) {
        if (line.substr(0, prefix.size()) != prefix)
            continue;
        std::size_t from = prefix.size();
        while (from < line.size() && isBlank(line[from]))
            ++from;
        std::size_t to = from;
        while (to < line.size() && !isBlank(line[to]))
            ++to;
        return std::string(line.substr(from, to - from));
    }
    return std::string();
}

std::optional<int> utcOffsetInTitle(std::string_view title) {
    const std::string lower = lowerCase(title);
    std::size_t at = lower.find("gmt");
    if (at == std::string::npos)
        at = lower.find("utc");
    if (at == std::string::npos)
        return std::nullopt;
    std::size_t i = at + 3;
    while (i < lower.size() && isBlank(lower[i]))
        ++i;
    if (i >= lower.size() || (lower[i] != '+' && lower[i] != '-'))
        return 0;
    const bool west = lower[i] == '-';
    ++i;
    auto digitsFrom = [&](std::size_t from) {
        std::size_t to = from;
        while (to < lower.size() && isDigit(lower[to]))
            ++to;
        return to - from;
    };
    const std::size_t hourDigits = digitsFrom(i);
    int hours = 0;
    int minutes = 0;
    if (hourDigits == 1 || hourDigits == 2) {
        hours = readInteger(std::string_view(lower).substr(i, hourDigits));
        i += hourDigits;
        if (i < lower.size() && lower[i] == ':') {
            if (digitsFrom(i + 1) != 2)
                return std::nullopt;
            minutes = readInteger(std::string_view(lower).substr(i + 1, 2));
        }
    } else if (hourDigits == 4) {
        hours = readInteger(std::string_view(lower).substr(i, 2));
        minutes = readInteger(std::string_view(lower).substr(i + 2, 2));
    } else {
        return std::nullopt;
    }
    if (hours > LAST_HOUR || minutes > LAST_MINUTE)
        return std::nullopt;
    const int offset = hours * MINUTES_PER_HOUR + minutes;
    return west ? -offset : offset;
}

} // namespace zqar
