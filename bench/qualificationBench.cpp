// The qualification figures over a year of minute samples from 26 loggers, against the plain
// statistics of the same year (statisticsYear in statisticsBench.cpp): the figures should take
// at most twice as long. Also the events' figures and the copy without an excluded phase.

#include "yearArray.h"
#include "yearOfLogs.h"

#include "core/analysis/eventFigures.h"
#include "core/analysis/qualification.h"
#include "core/analysis/statistics.h"
#include "core/data/LoggerArray.h"
#include "core/job/Prefill.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace zqar;
using zqar::bench::yearOfLogs;

namespace {

using zqar::bench::yearArray;

constexpr double DAYS_PER_MINUTE = 1.0 / 1440.0;

void qualificationYear(benchmark::State &state) {
    const LoggerArray &array = yearArray();
    QualificationSettings settings;
    settings.setPoint = 21.0;
    settings.tolerance = 5.0;
    for (auto _ : state) {
        const Qualification q = computeQualification(array, coveredSpan(array).start,
                                                     coveredSpan(array).finish, settings);
        benchmark::DoNotOptimize(q.positions.data());
        if (q.problem != QualificationProblem::None || q.instants == 0)
            state.SkipWithError("no figures over the year");
    }
}
BENCHMARK(qualificationYear)->Unit(benchmark::kMillisecond)->UseRealTime();

// A door opening and closing and a power failure every week.
std::vector<Event> weeklyEvents(double start, double finish) {
    std::vector<Event> events;
    for (double week = start + 1.0; week < finish; week += 7.0) {
        events.push_back({EventKind::DoorOpen, week, {}, {}});
        events.push_back({EventKind::DoorClosed, week + 2 * DAYS_PER_MINUTE, {}, {}});
        events.push_back({EventKind::PowerOff, week + 1.0, {}, {}});
        events.push_back({EventKind::PowerOn, week + 1.0 + 60 * DAYS_PER_MINUTE, {}, {}});
    }
    return events;
}

void eventFiguresYear(benchmark::State &state) {
    const LoggerArray &array = yearArray();
    const double finish = coveredSpan(array).finish;
    const std::vector<Event> events = weeklyEvents(coveredSpan(array).start, finish);
    StatisticsSettings limits;
    limits.lowerLimit = 15.0;
    limits.upperLimit = 27.0;
    for (auto _ : state) {
        const std::vector<EventOutcome> outcomes = eventOutcomes(array, events, finish, limits);
        benchmark::DoNotOptimize(outcomes.data());
    }
}
BENCHMARK(eventFiguresYear)->Unit(benchmark::kMillisecond)->UseRealTime();

// One phase of a month excluded, then the statistics over the copy.
void statisticsWithoutPhaseYear(benchmark::State &state) {
    const LoggerArray &array = yearArray();
    const double start = coveredSpan(array).start;
    const double finish = coveredSpan(array).finish;
    const std::vector<Phase> phases = {{"loaded", start + 100.0, start + 130.0}};
    for (auto _ : state) {
        const LoggerArray kept = withoutPhases(array, phases);
        const MappingStatistics statistics = computeStatistics(kept, start, finish, {});
        benchmark::DoNotOptimize(statistics.positions.data());
    }
}
BENCHMARK(statisticsWithoutPhaseYear)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
