// The mapping report of a study of 100 x 100 positions and 10 singular loggers over a week at
// five minutes (20 million samples, 160 MB), generated in memory in the window of the memory
// backend and printed on a printer that draws nothing and keeps nothing: the time the report
// takes, and the heap it needs at its peak above the loaded study, against 64 MiB. The
// time-series chart the report holds is timed on its own as well. Writing the PDF through Qt
// adds its own cost; the batch tool's --mapping-report over the same study measures that.

#include "heapCounter.h"

#include "app/MainWindow.h"
#include "core/data/LogFile.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/job/Prefill.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/settings.h"
#include "pages/presentation/MappingReport.h"
#include "pages/presentation/ScaledDrawingContext.h"
#include "pages/presentation/TimeSeriesChart.h"
#include "platform/memory/MemoryHost.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace zqar;
using zqar::bench::HeapCounter;

namespace {

constexpr int ROWS = 100;
constexpr int COLUMNS = 100;
constexpr int SINGULAR = 10;
constexpr int SAMPLES = 2016;        // a week at five minutes
constexpr double PERIOD = 300.0;     // seconds
constexpr int SAMPLES_PER_DAY = 288; // the daily swing of every reading
constexpr double PI = 3.14159265358979323846;
constexpr int FIRST_SERIAL = 100001;

// A4 at 300 dots per inch, as the PDF writer gives it.
constexpr int PAGE_WIDTH = 2480;
constexpr int PAGE_HEIGHT = 3508;
constexpr int PAGE_WIDTH_MM = 210;
constexpr int PRINT_DPI = 300;

// A printer that draws nothing and keeps nothing: it counts the pages and the drawing calls,
// and measures text as the recording context of the tests does (half the font height per
// character, one font height high).
class CountingPrinter : public platform::PrintTarget {
public:
    int deviceCaps(platform::DeviceCap cap) const override {
        switch (cap) {
        case platform::HORZRES:
            return PAGE_WIDTH;
        case platform::VERTRES:
            return PAGE_HEIGHT;
        case platform::HORZSIZE:
            return PAGE_WIDTH_MM;
        case platform::LOGPIXELSX:
        case platform::LOGPIXELSY:
            return PRINT_DPI;
        }
        return 0;
    }
    void fillRect(const platform::Rect &, platform::Colour) override { ++calls; }
    void frameRect(const platform::Rect &, platform::Colour) override { ++calls; }
    void textOut(int, int, std::string_view) override { ++calls; }
    platform::Size textExtent(std::string_view text) override {
        const int height = std::abs(font().height);
        return {static_cast<int>(text.size()) * height / 2, height};
    }
    void copyFrom(const platform::DrawingContext &, int, int, int, int, int, int) override {
        ++calls;
    }
    void startDocument(const std::string &) override { pages = 0; }
    void startPage() override { ++pages; }
    void endPage() override {}
    void endDocument() override {}

    long long calls = 0;
    int pages = 0;

protected:
    void drawLine(platform::Point, platform::Point) override { ++calls; }
};

// The generated study's readings: a warm and a cool region across the array, a slope from
// one corner to the other and a daily swing.
std::vector<double> positionReadings(int row, int column) {
    const double base = 20.0 +
                        3.0 * std::sin(row / static_cast<double>(ROWS) * 3.1) *
                            std::cos(column / static_cast<double>(COLUMNS) * 2.3) +
                        4.0 * (row + column) / static_cast<double>(ROWS + COLUMNS);
    std::vector<double> values(SAMPLES);
    for (int i = 0; i < SAMPLES; ++i)
        values[static_cast<std::size_t>(i)] =
            base + 1.5 * std::sin(i / static_cast<double>(SAMPLES_PER_DAY) * 2.0 * PI + row * 0.05);
    return values;
}

std::vector<double> singularReadings(int slot) {
    std::vector<double> values(SAMPLES);
    for (int i = 0; i < SAMPLES; ++i)
        values[static_cast<std::size_t>(i)] = 18.0 + slot * 0.4 + std::sin(i / 100.0);
    return values;
}

std::unique_ptr<LogFile> record(int serial, double start, std::vector<double> values) {
    auto made = std::make_unique<LogFile>();
    const std::string name = std::to_string(serial);
    made->fileName.assign("/generated/" + name + ".dta");
    made->loggerName.assign(name);
    made->startTime.day = start;
    made->samplePeriod = PERIOD;
    made->valueCount = static_cast<int32_t>(values.size());
    made->values = std::move(values);
    return made;
}

// The study in the window of the memory backend, as Load Report leaves it (the sources are
// taken from the report, so no file is read again), with limits that some positions break
// and the averaged sets calculated.
struct GeneratedStudy {
    platform::MemoryHost host;
    MainWindow window{host};
    bool ready = false;

    GeneratedStudy() {
        window.initialise();
        const SettingPlaces places = window.settingPlaces();
        for (const auto &[name, value] :
             {std::pair{"NumberOfRows", std::to_string(ROWS)},
              {"NumberOfColumns", std::to_string(COLUMNS)},
              {"NumberOfSingular", std::to_string(SINGULAR)},
              {"ProjectDescription", std::string("Generated 100 x 100 over a week")}})
            writeSetting(places, *findSetting(name), value);
        window.fileSelectionPage.updateLayout();

        Job &job = window.job;
        const double start = dayNumberFromCivil(CivilTime{2025, 6, 2, 0, 0, 0});
        int serial = FIRST_SERIAL;
        for (int row = 0; row < ROWS; ++row)
            for (int column = 0; column < COLUMNS; ++column)
                job.loggerArray.place(row, column,
                                      record(serial++, start, positionReadings(row, column)));
        for (int slot = 0; slot < SINGULAR; ++slot)
            job.loggerArray.place(-1, slot, record(serial++, start, singularReadings(slot)));
        job.reportPath = "/generated/study.ttr";
        job.reportDigest.size = 1;
        job.reportDigest.sha256 = std::string(64, '0');
        job.changed(JobChange::RECORDS);

        Prefill prefill;
        job.loggerArray.forEachPlaced([&prefill](const LogFile &placed) {
            if (Prefill::counts(placed))
                prefill.widenRange(placed);
        });
        prefill.takeTimes(job.loggerArray);
        window.dataFilterPage.applyPrefill(prefill);
        for (const auto &[name, value] :
             {std::pair{"lowerLimitText", "19"}, std::pair{"upperLimitText", "26"}})
            writeSetting(places, *findSetting(name), value);
        ready = window.dataFilterPage.calculateAveraged().kind == CommandOutcome::Kind::Completed &&
                host.takeMessages().empty();
    }

    CommandOutcome print(platform::PrintTarget &printer) {
        return printMappingReport(window.job, window.settings(), host, printer, 46000.0,
                                  window.manifestSettingsText());
    }
};

GeneratedStudy &study() {
    static GeneratedStudy made;
    return made;
}

constexpr double SAMPLE_MIB = 8.0 * (ROWS * COLUMNS + SINGULAR) * SAMPLES / (1 << 20);

void mappingReport100x100Week(benchmark::State &state) {
    GeneratedStudy &generated = study();
    if (!generated.ready)
        state.SkipWithError("the study could not be calculated");
    CountingPrinter printer;
    for (auto _ : state) {
        printer.calls = 0;
        if (generated.print(printer).kind != CommandOutcome::Kind::Completed)
            state.SkipWithError("the report was not printed");
    }
    state.counters["pages"] = printer.pages;
    state.counters["calls"] = static_cast<double>(printer.calls);
    state.counters["sampleMiB"] = SAMPLE_MIB;
}
BENCHMARK(mappingReport100x100Week)->Unit(benchmark::kMillisecond)->UseRealTime();

// The heap the report needs at its peak above the loaded, calculated study.
void mappingReport100x100WeekPeakHeap(benchmark::State &state) {
    GeneratedStudy &generated = study();
    if (!generated.ready)
        state.SkipWithError("the study could not be calculated");
    std::size_t peakAbove = 0;
    for (auto _ : state) {
        CountingPrinter printer;
        const std::size_t before = HeapCounter::live();
        HeapCounter::resetPeak();
        if (generated.print(printer).kind != CommandOutcome::Kind::Completed)
            state.SkipWithError("the report was not printed");
        peakAbove = HeapCounter::peak() - before;
    }
    state.counters["peakMiB"] = static_cast<double>(peakAbove) / (1 << 20);
    state.counters["limitMiB"] = 64.0;
    state.counters["sampleMiB"] = SAMPLE_MIB;
}
BENCHMARK(mappingReport100x100WeekPeakHeap)->Unit(benchmark::kMillisecond)->Iterations(1);

// The report's time-series chart alone, on the same printer at the size the report gives it.
void mappingReportChart100x100Week(benchmark::State &state) {
    GeneratedStudy &generated = study();
    TimeSeriesInput input = timeSeriesInput(generated.window.job, generated.window.settings());
    input.hasCurrentSet = false;
    CountingPrinter printer;
    constexpr double SCREEN_DPI = 96.0;
    const double scale = PRINT_DPI / SCREEN_DPI;
    const platform::Rect area{213, 1000, 2268, 2358}; // 174 x 115 mm below a heading
    std::size_t peakAbove = 0;
    for (auto _ : state) {
        printer.calls = 0;
        const std::size_t before = HeapCounter::live();
        HeapCounter::resetPeak();
        ScaledDrawingContext chart(printer, scale, area.left, area.top);
        drawTimeSeries(chart, input,
                       platform::Rect{0, 0, truncToInt(area.width() / scale),
                                      truncToInt(area.height() / scale)});
        peakAbove = HeapCounter::peak() - before;
    }
    state.counters["calls"] = static_cast<double>(printer.calls);
    state.counters["peakMiB"] = static_cast<double>(peakAbove) / (1 << 20);
}
BENCHMARK(mappingReportChart100x100Week)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
