#pragma once
// Who and when, as the change log records them.

#include <cstdint>
#include <string>

namespace zqar {

// The operating-system user the program runs as: the account's name from the user database,
// else the USER or LOGNAME variable, else empty. The database comes first because the
// variables are whatever the user's shell passes on.
std::string currentUserName();

// A moment in UTC as ISO 8601 to the second: "2025-06-05T18:00:00Z".
std::string utcTimeText(std::int64_t secondsSinceEpoch); // since 1970-01-01 00:00 UTC
std::string currentUtcTimeText();

} // namespace zqar
