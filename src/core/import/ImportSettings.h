#pragma once
// The choices that apply to every file of one import: the date order and decimal mark when the
// file does not tell them, the unit of temperature columns whose title names none, and the UTC
// offset the times are moved to. The page and the batch tool read the four setting texts into
// this value once, when the command runs.

#include <optional>
#include <string_view>

namespace zqar {

enum class DateOrder { Found, DayMonthYear, MonthDayYear, YearMonthDay };
enum class DecimalMark { Found, Point, Comma };
enum class TemperatureUnit { Celsius, Fahrenheit, Kelvin };

struct ImportSettings {
    DateOrder dateOrder = DateOrder::Found;
    DecimalMark decimalMark = DecimalMark::Found;
    TemperatureUnit untitledUnit = TemperatureUnit::Celsius;
    std::optional<int> utcOffsetMinutes; // none: the times stay as the files write them
};

enum class ImportSettingProblem { None, DateOrder, DecimalMark, Unit, UtcOffset };

struct ImportSettingsReading {
    ImportSettings settings;
    ImportSettingProblem problem = ImportSettingProblem::None; // the first text that is wrong
};

// The four setting texts, each exactly one of:
//   date order: "" (found), "DMY", "MDY", "YMD";
//   decimal mark: "" (found), ".", ",";
//   unit: "" or "C" (degrees Celsius), "F" (degrees Fahrenheit);
//   UTC offset: "" (none), or a sign, two digits of hours (to 23), ":" and two of minutes (to 59).
ImportSettingsReading readImportSettings(std::string_view dateOrderText,
                                         std::string_view decimalText, std::string_view unitText,
                                         std::string_view utcOffsetText);

// The setting text of each choice, as readImportSettings reads it; a unit that cannot be chosen
// (Kelvin) gives the default, "C".
std::string_view settingText(DateOrder order);
std::string_view settingText(DecimalMark mark);
std::string_view settingText(TemperatureUnit unit);

// "+hh:mm" or "-hh:mm" as minutes east of UTC; none for any other text.
std::optional<int> readUtcOffset(std::string_view text);

} // namespace zqar
