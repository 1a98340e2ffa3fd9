// The time-series chart of a year of 26 loggers (13.7 million samples) at 1920 x 1080, against
// a floor that only walks the samples once for each column's minimum and maximum, with no
// drawing at all.

#if ZQAR_BENCH_WITH_QT

#include "core/data/LogFile.h"
#include "core/data/dateTime.h"
#include "pages/presentation/TimeSeriesChart.h"
#include "qt/QtDrawingContext.h"
#include "yearOfLogs.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdlib>
#include <memory>
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

} // namespace

#endif
