// A year of minute samples from 26 loggers through Load Files in serial-number mode (on one
// thread and on every hardware thread), and the averaged calculation at 30 minutes over it
// (17,520 sets), each against its floor: the bare readLogFile calls over the same files, and a
// plain loop that computes the same window means into one flat array. Also the heap the loaded year
// holds above the idle window.

#include "heapCounter.h"
#include "yearOfLogs.h"
#include "yearWindow.h"

#include "core/data/numbers.h"
#include "core/data/parallelInOrder.h"
#include "pages/analysis/DataFilterPage.h"
#include "pages/layout/FileSelectionPage.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace zqar;
using zqar::bench::HeapCounter;
using zqar::bench::yearOfLogs;
using zqar::bench::YearWindow;

namespace {

using FS = FileSelectionPage;
using DF = DataFilterPage;

constexpr int YEAR_SETS = 17520; // 365 days of 30-minute sets

// The argument is the number of threads that read the files.
void loadFilesYear(benchmark::State &state) {
    const auto &logs = yearOfLogs();
    YearWindow year;
    const auto threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        year.loadFiles(threads);
        if (!year.loadedAll())
            state.SkipWithError("Load Files did not place the 26 loggers");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * logs.totalBytes));
}
BENCHMARK(loadFilesYear)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(static_cast<int64_t>(threadsFor(0)))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void calculateAveragedYear(benchmark::State &state) {
    YearWindow year;
    year.loadFiles();
    // Load Files proposed the span and the 30 minutes.
    DataFilterPage &filter = year.window.dataFilterPage;
    for (auto _ : state) {
        filter.calculateAveraged();
        if (year.window.job.setList.count() != YEAR_SETS)
            state.SkipWithError("the calculation made the wrong number of sets");
    }
    state.counters["sets"] = year.window.job.setList.count();
}
BENCHMARK(calculateAveragedYear)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same means by index arithmetic into one flat array: every logger starts together and
// samples every minute, so a set's window is a run of 31 samples (both ends count).
void averagedFloorYear(benchmark::State &state) {
    YearWindow year;
    year.loadFiles();
    std::vector<const LogFile *> loggers;
    year.window.job.loggerArray.forEachPlaced(
        [&loggers](const LogFile &record) { loggers.push_back(&record); });
    const double start = loggers.front()->startTime();
    const double interval = 30.0 * DAYS_PER_MINUTE;
    const double windowSeconds = interval * SECONDS_PER_DAY;
    std::vector<double> means(static_cast<std::size_t>(YEAR_SETS) * loggers.size());
    for (auto _ : state) {
        std::size_t out = 0;
        double t = start;
        for (int set = 0; set < YEAR_SETS; ++set, t += interval) {
            for (const LogFile *logger : loggers) {
                const double offset = (t - logger->startTime()) * SECONDS_PER_DAY;
                const int first = truncToInt(offset / logger->samplePeriod + 0.5);
                const int last = truncToInt((offset + windowSeconds) / logger->samplePeriod + 0.5);
                const int end = std::min(last, logger->valueCount - 1);
                double sum = 0.0;
                for (int i = first; i <= end; ++i)
                    sum += logger->values[static_cast<std::size_t>(i)];
                means[out++] = sum / (end - first + 1);
            }
        }
        benchmark::DoNotOptimize(means.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(averagedFloorYear)->Unit(benchmark::kMillisecond)->UseRealTime();

// The heap Load Files holds at its peak above the idle window (array empty, no sets), against
// the samples' 8 bytes each.
void loadFilesYearPeakHeap(benchmark::State &state) {
    std::size_t peakAbove = 0;
    std::size_t heldAbove = 0;
    for (auto _ : state) {
        YearWindow year;
        year.nameCells();
        const std::size_t idle = HeapCounter::live();
        HeapCounter::resetPeak();
        year.window.loadFiles();
        peakAbove = HeapCounter::peak() - idle;
        heldAbove = HeapCounter::live() - idle;
        if (!year.loadedAll())
            state.SkipWithError("Load Files did not place the 26 loggers");
    }
    const double sampleBytes = 8.0 * zqar::bench::YEAR_LOGGERS * zqar::bench::YEAR_SAMPLES;
    state.counters["peakMiB"] = static_cast<double>(peakAbove) / (1 << 20);
    state.counters["heldMiB"] = static_cast<double>(heldAbove) / (1 << 20);
    state.counters["sampleMiB"] = sampleBytes / (1 << 20);
    state.counters["limitMiB"] = (1.15 * sampleBytes + 10.0 * (1 << 20)) / (1 << 20);
}
BENCHMARK(loadFilesYearPeakHeap)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
