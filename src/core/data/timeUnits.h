#pragma once
// Units of time. Day numbers count days since 30 December 1899; log files count seconds.

#include <cstdint>

namespace zqar {

constexpr double SECONDS_PER_DAY = 86400.0;
constexpr double SECONDS_PER_MINUTE = 60.0;
constexpr double SECONDS_PER_HOUR = 3600.0;
constexpr double MINUTES_PER_DAY = 1440.0;
constexpr double HOURS_PER_DAY = 24.0;
// Minutes to days: one unit in the last place below the nearest double of 1/1440. The
// averaged sets' start times and their count depend on this exact constant.
constexpr double DAYS_PER_MINUTE = 0.0006944444444444444;

// The same as whole numbers, for arithmetic on counts of whole seconds.
constexpr int64_t WHOLE_SECONDS_PER_MINUTE = 60;
constexpr int64_t WHOLE_SECONDS_PER_HOUR = 3600;
constexpr int64_t WHOLE_SECONDS_PER_DAY = 86400;

} // namespace zqar
