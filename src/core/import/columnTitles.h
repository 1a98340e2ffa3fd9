#pragma once
// What the titles of an exported table's columns and the lines above them say: which column
// holds the time and which the temperatures, their units, the logger's serial number and the
// UTC offset of the times. Letters are compared without regard to case unless said otherwise.

#include "core/import/ImportSettings.h"

#include <optional>
#include <string>
#include <string_view>

namespace zqar {

// Contains "date", "time", "datum" or "zeit".
bool namesTime(std::string_view title);
// Names a date and no time of day: "date" or "datum", but neither "time" nor "zeit".
bool namesDateOnly(std::string_view title);
// Contains "temp".
bool namesTemperature(std::string_view title);
// Contains "dew" (so "DewPt" too).
bool namesDewPoint(std::string_view title);

// The unit a title names: degrees Fahrenheit by "°F", "*F", "(F)", "deg F" or "Fahrenheit",
// degrees Celsius by "°C", "*C", "(C)", "deg C" or "Celsius", kelvin by "°K", "(K)" or
// "Kelvin"; the one that stands first when a title names several.
std::optional<TemperatureUnit> unitInTitle(std::string_view title);

// The text after "S/N:" up to the next "," or ")", trimmed; empty when there is none.
std::string serialInTitle(std::string_view title);
// For a line that starts with "Serial Number:", "Serial number:", "Seriennummer:" or "S/N:"
// (exactly so): the text after the colon, leading blanks skipped, up to the next blank.
// Empty for other lines.
std::string serialInHeaderLine(std::string_view line);

// The offset from UTC a time title names, in minutes east: "GMT-08:00", "GMT +05:00",
// "UTC+1", "UTC+0530"; "GMT" or "UTC" alone is 0. None when the title names none.
std::optional<int> utcOffsetInTitle(std::string_view title);

} // namespace zqar
