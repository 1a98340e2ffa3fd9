#pragma once
// Readings the user has excluded from the statistics: a stretch of one position's samples with
// the reason, listed in the report. The records keep every reading; the statistics are given a
// copy in which the excluded readings are missing.

#include "core/data/LoggerArray.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

struct Exclusion {
    int row = 0; // the position: a cell's row and column, or SINGULAR_ROW and the slot
    int col = 0;
    double first = 0.0; // day numbers: the samples from first through last, to the second
    double last = 0.0;
    std::string reason;
};

// "R2C3,02-Jun-2025 06:00AM,02-Jun-2025 08:00AM,door open", as the batch tool's --exclude takes
// it: the position (RrCc or Sn), the first and the last time as the date-time reader takes them,
// and the reason, which is all after the third comma, commas included. None when a part does not
// read or the last time is before the first.
std::optional<Exclusion> readExclusion(std::string_view text);
// The exclusion in that form, times to the second, so that it reads back the same.
std::string exclusionSpec(const Exclusion &exclusion);

// Marks the excluded readings of the array's records missing (NO_VALUE); call it on a copy.
// An exclusion whose position is empty changes nothing.
void applyExclusions(LoggerArray &array, const std::vector<Exclusion> &exclusions);
// A copy of the array with the exclusions applied.
LoggerArray withExclusions(const LoggerArray &array, const std::vector<Exclusion> &exclusions);

// The readings an exclusion takes out of the record at its position.
int32_t excludedReadings(const LoggerArray &array, const Exclusion &exclusion);
// "R1C2 (10231): 05-Nov-2003 02:30PM to 05-Nov-2003 04:00PM, door left open" for the report.
std::string exclusionText(const LoggerArray &array, const Exclusion &exclusion);
// The same as a table's row: position (logger), first time, last time, the readings it takes
// out, reason.
std::vector<std::string> exclusionRow(const LoggerArray &array, const Exclusion &exclusion);

} // namespace zqar
