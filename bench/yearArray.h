#pragma once
// The 26 year loggers placed in a 6 x 4 array with 2 singular slots, read once, and the span
// they all cover.

#include "yearOfLogs.h"

#include "core/data/LoggerArray.h"
#include "core/job/Prefill.h"

#include <memory>

namespace zqar::bench {

inline const LoggerArray &yearArray() {
    static const LoggerArray array = [] {
        LoggerArray loaded;
        loaded.resize(6, 4, 2);
        const auto &paths = yearOfLogs().paths;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            auto record = std::make_unique<LogFile>();
            record->readLogFile(paths[i], 1);
            const int slot = static_cast<int>(i);
            if (slot < 24)
                loaded.place(slot / 4, slot % 4, std::move(record));
            else
                loaded.place(-1, slot - 24, std::move(record));
        }
        return loaded;
    }();
    return array;
}

struct YearSpan {
    double start;
    double finish;
};

inline YearSpan wholeYear(const LoggerArray &array) {
    const CoveredSpan span = coveredSpan(array);
    return YearSpan{span.start, span.finish};
}

} // namespace zqar::bench
