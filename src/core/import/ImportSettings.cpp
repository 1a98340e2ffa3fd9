#include "core/import/ImportSettings.h"

#include "core/data/numbers.h"

namespace zqar {

namespace {

constexpr int MINUTES_PER_HOUR = 60;
constexpr int LAST_OFFSET_HOUR = 23;
constexpr int LAST_MINUTE = 59;

std::optional<DateOrder> readDateOrder(std::string_view text) {
    if (text.empty())
        return DateOrder::Found;
    if (text == "DMY")
        return DateOrder::DayMonthYear;
    if (text == "MDY")
        return DateOrder::MonthDayYear;
    if (text == "YMD")
        return DateOrder::YearMonthDay;
    return std::nullopt;
}

std::optional<DecimalMark> readDecimalMark(std::string_view text) {
    if (text.empty())
        return DecimalMark::Found;
    if (text == ".")
        return DecimalMark::Point;
    if (text == ",")
        return DecimalMark::Comma;
    return std::nullopt;
}

std::optional<TemperatureUnit> readUnit(std::string_view text) {
    if (text.empty() || text == "C")
        return TemperatureUnit::Celsius;
    if (text == "F")
        return TemperatureUnit::Fahrenheit;
    return std::nullopt;
}

int twoDigits(std::string_view text) { return (text[0] - '0') * 10 + (text[1] - '0'); }

} // namespace

std::optional<int> readUtcOffset(std::string_view text) {
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || !isDigit(text[1]) ||
        !isDigit(text[2]) || text[3] != ':' || !isDigit(text[4]) || !isDigit(text[5]))
        return std::nullopt;
    const int hours = twoDigits(text.substr(1));
    const int minutes = twoDigits(text.substr(4));
    if (hours > LAST_OFFSET_HOUR || minutes > LAST_MINUTE)
        return std::nullopt;
    const int offset = hours * MINUTES_PER_HOUR + minutes;
    return text[0] == '-' ? -offset : offset;
}

ImportSettingsReading readImportSettings(std::string_view dateOrderText,
                                         std::string_view decimalText, std::string_view unitText,
                                         std::string_view utcOffsetText) {
    ImportSettingsReading reading;
    const std::optional<DateOrder> order = readDateOrder(dateOrderText);
    if (!order) {
        reading.problem = ImportSettingProblem::DateOrder;
        return reading;
    }
    const std::optional<DecimalMark> mark = readDecimalMark(decimalText);
    if (!mark) {
        reading.problem = ImportSettingProblem::DecimalMark;
        return reading;
    }
    const std::optional<TemperatureUnit> unit = readUnit(unitText);
    if (!unit) {
        reading.problem = ImportSettingProblem::Unit;
        return reading;
    }
    std::optional<int> offset;
    if (!utcOffsetText.empty()) {
        offset = readUtcOffset(utcOffsetText);
        if (!offset) {
            reading.problem = ImportSettingProblem::UtcOffset;
            return reading;
        }
    }
    reading.settings = ImportSettings{*order, *mark, *unit, offset};
    return reading;
}

} // namespace zqar
