// The highest MKT over rolling 720-hour windows for a year of minute samples from 26 loggers,
// against the plain statistics of the same year (statisticsYear): the windows should take at
// most twice as long.

#include "yearArray.h"

#include "core/analysis/rollingMkt.h"
#include "core/data/LoggerArray.h"

#include <benchmark/benchmark.h>

using namespace zqar;
using zqar::bench::wholeYear;
using zqar::bench::yearArray;
using zqar::bench::YearSpan;

namespace {

constexpr double THIRTY_DAYS = 720.0; // hours

void rollingMktYear(benchmark::State &state) {
    const LoggerArray &array = yearArray();
    const YearSpan span = wholeYear(array);
    for (auto _ : state) {
        RollingMkt rolling = computeRollingMkt(array, span.start, span.finish, THIRTY_DAYS, 83.144);
        benchmark::DoNotOptimize(rolling.positions.data());
        if (!rolling.highest)
            state.SkipWithError("no window in the span");
    }
}
BENCHMARK(rollingMktYear)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
