#pragma once
// What Load Files offers the Data Filter page: the time span that every placed record covers
// and the temperature range of the records. A record without samples or without a valid
// start time gives neither.

#include "core/data/LoggerArray.h"

namespace zqar {

struct Prefill {
    // The running range starts outside every real sample.
    static constexpr double RANGE_START_LOW = 100000.0;
    static constexpr double RANGE_START_HIGH = -100000.0;

    double lowest = RANGE_START_LOW;
    double highest = RANGE_START_HIGH;
    bool rangeSeen = false;
    double latestStart = 0.0;
    double earliestEnd = 0.0; // 0.0: none yet
    bool timeSeen = false;

    static bool counts(const LogFile &record);
    // Widens the range by the record's samples.
    void widenRange(const LogFile &record);
    // The latest start and the earliest end among the placed records, in array order.
    void takeTimes(const LoggerArray &array);
};

// The span that every placed record with samples covers, as Load Files offers it.
struct CoveredSpan {
    double start = 0.0; // day numbers; both 0 when no record counts
    double finish = 0.0;
};
CoveredSpan coveredSpan(const LoggerArray &array);

} // namespace zqar
