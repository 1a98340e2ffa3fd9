// The statistics of a year of minute samples from 26 loggers over the whole year, against
// their floor: a plain loop that computes the same sums (sum, Boltzmann factors, squared
// deviations) over the same samples. The statistics should take at most 1.5 times the floor.

#include "yearArray.h"

#include "core/analysis/statistics.h"
#include "core/data/LoggerArray.h"
#include "core/job/Prefill.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace zqar;
using zqar::bench::wholeYear;
using zqar::bench::yearArray;
using zqar::bench::YearSpan;

namespace {

void statisticsYear(benchmark::State &state) {
    const LoggerArray &array = yearArray();
    const YearSpan span = wholeYear(array);
    StatisticsSettings settings;
    settings.lowerLimit = 18.0;
    settings.upperLimit = 24.0;
    for (auto _ : state) {
        MappingStatistics statistics = computeStatistics(array, span.start, span.finish, settings);
        benchmark::DoNotOptimize(statistics.positions.data());
        if (statistics.positions.front().samples == 0)
            state.SkipWithError("no samples in the span");
    }
}
BENCHMARK(statisticsYear)->Unit(benchmark::kMillisecond)->UseRealTime();

void statisticsFloorYear(benchmark::State &state) {
    const LoggerArray &array = yearArray();
    std::vector<const LogFile *> loggers;
    array.forEachPlaced([&loggers](const LogFile &record) { loggers.push_back(&record); });
    const double enthalpy = (83.144 * 1000.0) / GAS_CONSTANT;
    for (auto _ : state) {
        for (const LogFile *logger : loggers) {
            const double *x = logger->values.data();
            const std::size_t n = logger->values.size();
            double sum = 0.0;
            double boltzmann = 0.0;
            for (std::size_t i = 0; i < n; ++i) {
                sum += x[i];
                boltzmann += std::exp(-enthalpy / (x[i] + ZERO_CELSIUS));
            }
            const double mean = sum / static_cast<double>(n);
            double squares = 0.0;
            for (std::size_t i = 0; i < n; ++i)
                squares += (x[i] - mean) * (x[i] - mean);
            benchmark::DoNotOptimize(squares);
            benchmark::DoNotOptimize(boltzmann);
        }
    }
}
BENCHMARK(statisticsFloorYear)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
