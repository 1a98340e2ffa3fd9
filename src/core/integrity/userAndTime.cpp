#include "core/integrity/userAndTime.h"

#include "core/data/dateTime.h"
#include "core/data/systemCalls.h"

#include <cstdio>
#include <ctime>

namespace zqar {

namespace {

// The day number of 1970-01-01, where system time counts from.
constexpr double UNIX_EPOCH_DAY = 25569.0;
constexpr const char *UTC_TIME_FORMAT = "%04d-%02d-%02dT%02d:%02d:%02dZ";

} // namespace

std::string currentUserName() { return loginName(); }

std::string utcTimeText(std::int64_t secondsSinceEpoch) {
    // Whole seconds come back whole: civilFromDayNumber rounds to the nearest second.
    const CivilTime time = civilFromDayNumber(
        UNIX_EPOCH_DAY + static_cast<double>(secondsSinceEpoch) / SECONDS_PER_DAY);
    char text[32];
    std::snprintf(text, sizeof text, UTC_TIME_FORMAT, time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    return text;
}

std::string currentUtcTimeText() {
    return utcTimeText(static_cast<std::int64_t>(std::time(nullptr)));
}

} // namespace zqar
