#pragma once
// Records and arrays made in memory for the core's calculations, without any page.

#include "core/data/LoggerArray.h"
#include "core/data/dateTime.h"

#include <memory>
#include <string>
#include <vector>

namespace zqar::testing {

// A one-channel record named name with samples every periodSeconds from start (a day number).
inline std::unique_ptr<LogFile> recordWith(const std::string &name, double start,
                                           double periodSeconds, std::vector<double> values) {
    auto record = std::make_unique<LogFile>();
    record->fileName.assign("/data/" + name + ".dta");
    record->loggerName.assign(name);
    record->startTime.day = start;
    record->samplePeriod = periodSeconds;
    record->valueCount = static_cast<int32_t>(values.size());
    record->values = std::move(values);
    return record;
}

// A 1 x 1 array holding the record.
inline LoggerArray arrayOf(std::unique_ptr<LogFile> record) {
    LoggerArray array;
    array.resize(1, 1, 0);
    array.place(0, 0, std::move(record));
    return array;
}

// The day number of a date and time.
inline double dayAt(int year, int month, int day, int hour = 0, int minute = 0) {
    return dayNumberFromCivil(CivilTime{year, month, day, hour, minute, 0});
}

} // namespace zqar::testing
