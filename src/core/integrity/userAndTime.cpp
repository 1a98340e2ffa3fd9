#include "core/integrity/userAndTime.h"

#include "core/data/dateTime.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace zqar {

namespace {

// The day number of 1970-01-01, where system time counts from.
constexpr double UNIX_EPOCH_DAY = 25569.0;
constexpr std::size_t FALLBACK_ENTRY_BYTES = 16384;
constexpr const char *UTC_TIME_FORMAT = "%04d-%02d-%02dT%02d:%02d:%02dZ";

} // namespace

std::string currentUserName() {
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested)
                                           : FALLBACK_ENTRY_BYTES);
    passwd entry{};
    passwd *found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_name && *found->pw_name)
        return found->pw_name;
    for (const char *variable : {"USER", "LOGNAME"})
        if (const char *value = std::getenv(variable); value && *value)
            return value;
    return std::string();
}

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
