#include "core/job/Prefill.h"

#include <algorithm>

namespace zqar {

bool Prefill::counts(const LogFile &record) {
    return record.valueCount > 0 && !record.values.empty() && record.startTime.status == DATE_VALID;
}

void Prefill::widenRange(const LogFile &record) {
    if (!counts(record))
        return;
    // The lowest and the highest reading in one pass: a year of samples is read once, not
    // twice. Missing readings (an imported table's gaps) take no part.
    bool found = false;
    double low = 0.0;
    double high = 0.0;
    for (const double v : record.values) {
        if (v == NO_VALUE)
            continue;
        if (!found || v < low)
            low = v;
        if (!found || v > high)
            high = v;
        found = true;
    }
    if (!found)
        return;
    lowest = std::min(lowest, low);
    highest = std::max(highest, high);
    rangeSeen = true;
}

void Prefill::takeTimes(const LoggerArray &array) {
    array.forEachPlaced([this](const LogFile &record) {
        if (!counts(record))
            return;
        if (record.startTime() > latestStart)
            latestStart = record.startTime();
        // 0.0 stands for "none yet", so a record ending exactly at 0.0 gives way to the next.
        const double end = record.endTime();
        if (earliestEnd == 0.0 || end < earliestEnd)
            earliestEnd = end;
        timeSeen = true;
    });
}

CoveredSpan coveredSpan(const LoggerArray &array) {
    Prefill prefill;
    prefill.takeTimes(array);
    return CoveredSpan{prefill.latestStart, prefill.earliestEnd};
}

} // namespace zqar
