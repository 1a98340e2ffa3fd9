// A 16 x 16 array over a year, generated in memory: the probe suggestion for 10 probes over
// the readings every five minutes (105,120 instants; should take at most 2 s), given as a
// matrix and, as the command takes them with a qualification reference set, gathered from the
// records at the reference's reading times first; and the map check of the year's 17,520
// half-hour sets (at most 3 s on two cores). The argument is the
// number of threads; the CPU column counts every thread's time, so on a busy machine it tells
// more than the real time.

#include "core/analysis/SetList.h"
#include "core/analysis/TemperatureSet.h"
#include "core/analysis/mapCheck.h"
#include "core/analysis/probes.h"
#include "core/analysis/qualification.h"
#include "core/analysis/statistics.h"
#include "core/data/LoggerArray.h"
#include "core/data/dateTime.h"
#include "core/job/Prefill.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

using namespace zqar;

namespace {

constexpr int SIDE = 16;
constexpr int POSITIONS = SIDE * SIDE;
constexpr int YEAR_READINGS = 365 * 288; // every five minutes
constexpr int YEAR_SETS = 365 * 48;      // half-hour averages
constexpr double FIVE_MINUTES = 300.0;   // seconds
constexpr double PI = 3.14159265358979323846;

double yearStart() { return dayNumberFromCivil(CivilTime{2025, 1, 1, 0, 0, 0}); }

// A room: a daily swing and a seasonal drift that grow towards one corner, a door near
// another that opens now and then, and each logger's own noise.
class Room {
public:
    explicit Room(unsigned seed) : random(seed) {
        std::uniform_real_distribution<double> offset(-0.8, 0.8);
        for (int i = 0; i < POSITIONS; ++i) {
            const int row = i / SIDE;
            const int col = i % SIDE;
            offsets[i] = offset(random);
            daily[i] = 1.0 + 0.15 * row + 0.05 * col;
            door[i] = std::exp(-0.3 * (row + (SIDE - 1 - col)));
        }
    }

    // The readings of every position at day t of the year.
    void readings(double t, double *out) {
        const double dailySwing = std::sin(2.0 * PI * (t - 0.375));
        const double season = 4.0 * std::sin(2.0 * PI * t / 365.0);
        if (doorLeft <= 0 && uniform(random) < 0.002)
            doorLeft = 6;
        const double doorEffect = doorLeft > 0 ? -3.0 : 0.0;
        if (doorLeft > 0)
            --doorLeft;
        for (int i = 0; i < POSITIONS; ++i)
            out[i] = 20.0 + offsets[i] + daily[i] * dailySwing + season + door[i] * doorEffect +
                     0.05 * noise(random);
    }

private:
    std::mt19937 random;
    std::normal_distribution<double> noise{0.0, 1.0};
    std::uniform_real_distribution<double> uniform{0.0, 1.0};
    double offsets[POSITIONS];
    double daily[POSITIONS];
    double door[POSITIONS];
    int doorLeft = 0;
};

struct YearOfReadings {
    LoggerArray array;
    MappingStatistics statistics;
    ReadingInstants instants{POSITIONS};
};

const YearOfReadings &yearOfReadings() {
    static const std::unique_ptr<YearOfReadings> year = [] {
        auto made = std::make_unique<YearOfReadings>();
        Room room(17);
        std::vector<std::vector<double>> series(POSITIONS, std::vector<double>(YEAR_READINGS));
        std::vector<double> row(POSITIONS);
        made->instants.times.reserve(YEAR_READINGS);
        made->instants.values.reserve(static_cast<std::size_t>(YEAR_READINGS) * POSITIONS);
        for (int k = 0; k < YEAR_READINGS; ++k) {
            const double t = k * FIVE_MINUTES / SECONDS_PER_DAY;
            room.readings(t, row.data());
            for (int i = 0; i < POSITIONS; ++i)
                series[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] =
                    row[static_cast<std::size_t>(i)];
            made->instants.add(yearStart() + t, row);
        }
        made->array.resize(SIDE, SIDE, 0);
        for (int i = 0; i < POSITIONS; ++i) {
            auto record = std::make_unique<LogFile>();
            record->loggerName.assign("P" + std::to_string(1001 + i));
            record->startTime.day = yearStart();
            record->samplePeriod = FIVE_MINUTES;
            record->valueCount = YEAR_READINGS;
            record->values = std::move(series[static_cast<std::size_t>(i)]);
            made->array.place(i / SIDE, i % SIDE, std::move(record));
        }
        made->statistics = computeStatistics(made->array, coveredSpan(made->array).start,
                                             coveredSpan(made->array).finish, {});
        return made;
    }();
    return *year;
}

void suggestProbesYear(benchmark::State &state) {
    const YearOfReadings &year = yearOfReadings();
    const unsigned threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        const ProbeSuggestion suggestion =
            suggestProbes(year.statistics, year.instants, 10, threads);
        if (suggestion.probes.size() != 10 || suggestion.instantsUsed != YEAR_READINGS)
            state.SkipWithError("the year was not fitted");
        benchmark::DoNotOptimize(suggestion.probes.data());
    }
}
BENCHMARK(suggestProbesYear)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The qualification's instants of the year, reference R8C8, then the fit over them.
void suggestProbesOverQualificationYear(benchmark::State &state) {
    const YearOfReadings &year = yearOfReadings();
    const unsigned threads = static_cast<unsigned>(state.range(0));
    QualificationSettings settings;
    settings.referencePosition = ArrayPosition{7, 7};
    for (auto _ : state) {
        const QualificationInstants own = qualificationInstants(
            year.array, year.statistics.start, year.statistics.finish, settings, threads);
        const ProbeSuggestion suggestion =
            suggestProbes(year.statistics, own.instants, 10, threads);
        if (suggestion.probes.size() != 10 || suggestion.instantsUsed != YEAR_READINGS)
            state.SkipWithError("the year was not fitted");
        benchmark::DoNotOptimize(suggestion.probes.data());
    }
}
BENCHMARK(suggestProbesOverQualificationYear)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The qualification's instants of the year alone.
void qualificationInstantsYear(benchmark::State &state) {
    const YearOfReadings &year = yearOfReadings();
    const unsigned threads = static_cast<unsigned>(state.range(0));
    QualificationSettings settings;
    settings.referencePosition = ArrayPosition{7, 7};
    for (auto _ : state) {
        const QualificationInstants own = qualificationInstants(
            year.array, year.statistics.start, year.statistics.finish, settings, threads);
        if (own.instants.count() != YEAR_READINGS)
            state.SkipWithError("the year's instants were not found");
        benchmark::DoNotOptimize(own.instants.values.data());
    }
}
BENCHMARK(qualificationInstantsYear)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The year's half-hour sets as the calculation makes them, with four cells that hold no
// logger and so are filled from their neighbours.
struct YearOfSets {
    LoggerArray array;
    SetList sets;
};

bool hasLogger(int row, int col) {
    return !((row == 3 && col == 4) || (row == 8 && col == 8) || (row == 12 && col == 2) ||
             (row == 0 && col == 15));
}

const YearOfSets &yearOfSets() {
    static const std::unique_ptr<YearOfSets> year = [] {
        auto made = std::make_unique<YearOfSets>();
        made->array.resize(SIDE, SIDE, 0);
        for (int row = 0; row < SIDE; ++row)
            for (int col = 0; col < SIDE; ++col)
                if (hasLogger(row, col)) {
                    auto record = std::make_unique<LogFile>();
                    record->loggerName.assign("P" + std::to_string(1001 + row * SIDE + col));
                    made->array.place(row, col, std::move(record));
                }
        Room room(29);
        std::vector<double> values(POSITIONS);
        made->sets.reserve(YEAR_SETS);
        for (int k = 0; k < YEAR_SETS; ++k) {
            const double t = k / 48.0;
            room.readings(t, values.data());
            auto set = std::make_unique<TemperatureSet>(yearStart() + t, 1.0 / 48.0, SIDE, SIDE, 0);
            for (int row = 0; row < SIDE; ++row)
                for (int col = 0; col < SIDE; ++col)
                    if (hasLogger(row, col)) {
                        set->setValue(row, col, values[static_cast<std::size_t>(row * SIDE + col)]);
                        set->setMeasured(row, col);
                    }
            set->fillGaps();
            made->sets.append(std::move(set));
        }
        return made;
    }();
    return *year;
}

void mapCheckYear(benchmark::State &state) {
    const YearOfSets &year = yearOfSets();
    const unsigned threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        const MapCheck check = checkMap(year.sets, year.array, threads);
        if (check.sets.size() != YEAR_SETS || !check.found)
            state.SkipWithError("the year was not checked");
        benchmark::DoNotOptimize(check.sets.data());
    }
}
BENCHMARK(mapCheckYear)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace
