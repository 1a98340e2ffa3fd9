#pragma once
// The texts of the time-series window and chart.

#include <string_view>

namespace zqar::text {

constexpr std::string_view TIME_SERIES_MENU_ITEM = "Time Series...";
constexpr std::string_view TIME_SERIES_CAPTION = "Time Series";
constexpr std::string_view RESET_ZOOM_BUTTON = "Reset Zoom";
constexpr std::string_view TIME_SERIES_HINT =
    "Click to show the set at that time; drag across a time range to zoom into it.";

// Axis ticks: hours and minutes under a day, day and month from midnight on.
constexpr const char *TIME_TICK = "%02d:%02d";
constexpr const char *DATE_TICK = "%02d-%s";
constexpr const char *MONTH_ABBREVIATIONS[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

} // namespace zqar::text
