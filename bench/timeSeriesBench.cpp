// The time-series chart of a year of 26 loggers (13.7 million samples) at 1920 x 1080, against
// a floor that only walks the samples once for each column's minimum and maximum, with no
// drawing at all. And the chart of 10,000 positions (100 x 100 over a week at five minutes,
// 20.2 million samples, made here): its envelope drawn as the batch tool's PNG draws it, as the
// window repaints it with the hot and cold spots already found, and the heap it needs above
// the samples.

#if ZQAR_BENCH_WITH_QT

#include "heapCounter.h"
#include "yearOfLogs.h"

#include "core/data/LogFile.h"
#include "core/data/dateTime.h"
#include "core/job/Job.h"
#include "core/job/JobSettings.h"
#include "pages/presentation/TimeSeriesChart.h"
#include "qt/QtDrawingContext.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace zqar;

namespace {

constexpr int WIDTH = 1920;
constexpr int HEIGHT = 1080;

void ensureApplication() {
    if (QGuiApplication::instance())
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "zqar_bench";
    static char *argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

// The year's files read once, as Load Files reads them.
const std::vector<std::unique_ptr<LogFile>> &yearRecords() {
    static std::vector<std::unique_ptr<LogFile>> records;
    if (records.empty())
        for (const std::string &path : bench::yearOfLogs().paths) {
            records.push_back(std::make_unique<LogFile>());
            records.back()->readLogFile(path, 1);
        }
    return records;
}

TimeSeriesInput yearInput() {
    TimeSeriesInput input;
    bool any = false;
    for (const auto &record : yearRecords()) {
        input.lines.push_back({record->label(), record.get(), ""});
        input.start = any ? std::min(input.start, record->startTime()) : record->startTime();
        input.finish = any ? std::max(input.finish, record->endTime()) : record->endTime();
        any = true;
    }
    input.lowerLimit = 18.0;
    input.upperLimit = 25.0;
    input.hasCurrentSet = true;
    input.currentTime = input.start + 100.0;
    input.currentSpan = 1.0;
    return input;
}

void timeSeriesYear(benchmark::State &state) {
    ensureApplication();
    const TimeSeriesInput input = yearInput();
    auto dc = platform::QtDrawingContext::offscreen(WIDTH, HEIGHT);
    for (auto _ : state) {
        drawTimeSeries(*dc, input, platform::Rect{0, 0, WIDTH, HEIGHT});
        benchmark::DoNotOptimize(dc->image()->constBits());
    }
    state.counters["samples"] = static_cast<double>(bench::YEAR_LOGGERS) * bench::YEAR_SAMPLES;
}
BENCHMARK(timeSeriesYear)->Unit(benchmark::kMillisecond)->UseRealTime();

// Each sample's column by integer arithmetic, and the column's minimum and maximum: the least
// any chart that keeps every excursion must do.
void timeSeriesFloorYear(benchmark::State &state) {
    const TimeSeriesInput input = yearInput();
    const int columns = WIDTH;
    std::vector<double> low(columns);
    std::vector<double> high(columns);
    for (auto _ : state) {
        for (const TimeSeriesLine &line : input.lines) {
            const std::vector<double> &values = line.log->values;
            const std::size_t count = values.size();
            std::fill(low.begin(), low.end(), NO_VALUE);
            std::fill(high.begin(), high.end(), -NO_VALUE);
            for (int c = 0; c < columns; ++c) {
                const std::size_t begin = count * c / columns;
                const std::size_t end = count * (c + 1) / columns;
                double lo = low[c];
                double hi = high[c];
                for (std::size_t i = begin; i < end; ++i) {
                    lo = values[i] < lo ? values[i] : lo;
                    hi = values[i] > hi ? values[i] : hi;
                }
                low[c] = lo;
                high[c] = hi;
            }
            benchmark::DoNotOptimize(low.data());
            benchmark::DoNotOptimize(high.data());
        }
    }
}
BENCHMARK(timeSeriesFloorYear)->Unit(benchmark::kMillisecond)->UseRealTime();

constexpr int GRID_ROWS = 100;
constexpr int GRID_COLUMNS = 100;
constexpr int GRID_SAMPLES = 7 * 288; // a week at five minutes
constexpr double GRID_PERIOD = 300.0; // seconds

// The grid's job: each logger a daily swing, warmer towards one corner, with a little noise
// of its own and now and then a missing reading.
Job &gridJob() {
    static Job job;
    if (job.loggerArray.dimensions().rows == 0) {
        job.loggerArray.resize(GRID_ROWS, GRID_COLUMNS, 0);
        const double start = dayNumberFromCivil(CivilTime{2025, 6, 2, 0, 0, 0});
        unsigned noise = 12345;
        for (int row = 0; row < GRID_ROWS; ++row)
            for (int col = 0; col < GRID_COLUMNS; ++col) {
                auto log = std::make_unique<LogFile>();
                log->loggerName.assign(std::to_string(100000 + row * GRID_COLUMNS + col));
                log->startTime.day = start;
                log->samplePeriod = GRID_PERIOD;
                log->valueCount = GRID_SAMPLES;
                log->values.resize(GRID_SAMPLES);
                const double warmth = 0.03 * (row + col);
                const double phase = 0.002 * (row * GRID_COLUMNS + col);
                for (int i = 0; i < GRID_SAMPLES; ++i) {
                    noise = noise * 1103515245u + 12345u;
                    const double day = i / 288.0;
                    log->values[static_cast<std::size_t>(i)] =
                        (noise >> 16) % 5000 == 0
                            ? NO_VALUE
                            : 20.0 + warmth + 3.0 * std::sin(2.0 * M_PI * day + phase) +
                                  static_cast<double>((noise >> 8) % 100) / 500.0;
                }
                job.loggerArray.place(row, col, std::move(log));
            }
    }
    return job;
}

void timeSeriesGrid(benchmark::State &state) {
    ensureApplication();
    const Job &job = gridJob();
    auto dc = platform::QtDrawingContext::offscreen(WIDTH, HEIGHT);
    for (auto _ : state) {
        const TimeSeriesInput input = timeSeriesInput(job, JobSettings{});
        drawTimeSeries(*dc, input, platform::Rect{0, 0, WIDTH, HEIGHT});
        benchmark::DoNotOptimize(dc->image()->constBits());
    }
    state.counters["samples"] = static_cast<double>(GRID_ROWS) * GRID_COLUMNS * GRID_SAMPLES;
}
BENCHMARK(timeSeriesGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

void timeSeriesGridSpotsKnown(benchmark::State &state) {
    ensureApplication();
    const Job &job = gridJob();
    TimeSeriesInput input = timeSeriesInput(job, JobSettings{});
    input.spots = findTimeSeriesSpots(input);
    auto dc = platform::QtDrawingContext::offscreen(WIDTH, HEIGHT);
    for (auto _ : state) {
        drawTimeSeries(*dc, input, platform::Rect{0, 0, WIDTH, HEIGHT});
        benchmark::DoNotOptimize(dc->image()->constBits());
    }
}
BENCHMARK(timeSeriesGridSpotsKnown)->Unit(benchmark::kMillisecond)->UseRealTime();

// The heap above the samples at the peak of one chart: its input (a line a position) and the
// drawing. The picture's pixels come from malloc, outside the count: 1920 x 1080 x 4 bytes.
void timeSeriesGridPeakHeap(benchmark::State &state) {
    ensureApplication();
    const Job &job = gridJob();
    auto dc = platform::QtDrawingContext::offscreen(WIDTH, HEIGHT);
    std::size_t peakAbove = 0;
    for (auto _ : state) {
        const std::size_t before = bench::HeapCounter::live();
        bench::HeapCounter::resetPeak();
        {
            const TimeSeriesInput input = timeSeriesInput(job, JobSettings{});
            drawTimeSeries(*dc, input, platform::Rect{0, 0, WIDTH, HEIGHT});
        }
        peakAbove = bench::HeapCounter::peak() - before;
    }
    const double mebibyte = 1 << 20;
    state.counters["peakMiB"] = static_cast<double>(peakAbove) / mebibyte;
    state.counters["pictureMiB"] = WIDTH * HEIGHT * 4.0 / mebibyte;
    state.counters["sampleMiB"] = 8.0 * GRID_ROWS * GRID_COLUMNS * GRID_SAMPLES / mebibyte;
    state.counters["limitMiB"] = 32.0;
}
BENCHMARK(timeSeriesGridPeakHeap)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

#endif
