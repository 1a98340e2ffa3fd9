#include "core/import/ImportSettings.h"

#include "core/data/enumTexts.h"
#include "core/data/numbers.h"

namespace zqar {

namespace {

constexpr int MINUTES_PER_HOUR = 60;
constexpr int LAST_OFFSET_HOUR = 23;
constexpr int LAST_MINUTE = 59;

constexpr TextEntry<DateOrder> DATE_ORDER_TEXTS[] = {
    {DateOrder::Found, ""},
    {DateOrder::DayMonthYear, "DMY"},
    {DateOrder::MonthDayYear, "MDY"},
    {DateOrder::YearMonthDay, "YMD"},
};
constexpr TextEntry<DecimalMark> DECIMAL_MARK_TEXTS[] = {
    {DecimalMark::Found, ""},
    {DecimalMark::Point, "."},
    {DecimalMark::Comma, ","},
};
// Only these two can be chosen; an empty text is degrees Celsius too.
constexpr TextEntry<TemperatureUnit> UNIT_TEXTS[] = {
    {TemperatureUnit::Celsius, "C"},
    {TemperatureUnit::Fahrenheit, "F"},
};
constexpr std::string_view DEFAULT_UNIT_TEXT = "C";

std::optional<TemperatureUnit> readUnit(std::string_view text) {
    return valueOf(UNIT_TEXTS, text.empty() ? DEFAULT_UNIT_TEXT : text);
}

int twoDigits(std::string_view text) { return (text[0] - '0') * 10 + (text[1] - '0'); }

} // namespace

std::string_view settingText(DateOrder order) { return textOf(DATE_ORDER_TEXTS, order); }

std::string_view settingText(DecimalMark mark) { return textOf(DECIMAL_MARK_TEXTS, mark); }

std::string_view settingText(TemperatureUnit unit) {
    return textOf(UNIT_TEXTS, unit, DEFAULT_UNIT_TEXT);
}

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
    const std::optional<DateOrder> order = valueOf(DATE_ORDER_TEXTS, dateOrderText);
    if (!order) {
        reading.problem = ImportSettingProblem::DateOrder;
        return reading;
    }
    const std::optional<DecimalMark> mark = valueOf(DECIMAL_MARK_TEXTS, decimalText);
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
