// Load Report and Create Report of the year of 26 loggers (104 MiB of samples), each against
// its floor: the plainest read of the same report (the fields, then every record's image and
// its samples straight into a vector sized once from its count) and the plainest write of
// the same bytes with one sync. Also the heap each command needs at its peak.

#include "heapCounter.h"
#include "yearOfLogs.h"
#include "yearWindow.h"

#include "pages/analysis/DataFilterPage.h"
#include "pages/layout/FileSelectionPage.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using namespace zqar;
using zqar::bench::HeapCounter;
using zqar::bench::yearOfLogs;
using zqar::bench::YearWindow;

namespace {

using DF = DataFilterPage;

constexpr std::size_t FIELDS_BYTES = 6000;
constexpr std::size_t IMAGE_BYTES = 1840;
constexpr std::size_t COUNT_OFFSET = 1824;
constexpr int YEAR_POSITIONS = 26;

// The year's report, written once by Create Report. Its finish time is its start time, so the
// averaged calculation that ends Load Report makes one set and the timing is the file's.
struct YearReport {
    std::string path;
    uint64_t bytes = 0;
};

const YearReport &yearReport() {
    static const YearReport report = [] {
        YearReport made;
        const std::filesystem::path folder =
            std::filesystem::path(yearOfLogs().directory) / "report";
        std::filesystem::create_directories(folder);
        made.path = (folder / "year.ttr").string();
        std::ofstream(made.path, std::ios::binary); // exists: written in place, no new folder
        YearWindow year;
        year.loadFiles();
        platform::Dialog &filter = year.window.dataFilterPage.dialog();
        filter.setText(DF::FINISH_TIME, filter.text(DF::START_TIME));
        year.host.saveAnswers.push_back(made.path);
        year.window.createReport();
        made.bytes = std::filesystem::file_size(made.path);
        return made;
    }();
    return report;
}

bool loadedTheYear(YearWindow &year) {
    return year.placedCount() == YEAR_POSITIONS && year.host.takeMessages().empty();
}

void loadReportYear(benchmark::State &state) {
    const YearReport &report = yearReport();
    YearWindow year;
    for (auto _ : state) {
        year.window.loadReport(report.path);
        if (!loadedTheYear(year))
            state.SkipWithError("Load Report did not restore the 26 loggers");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * report.bytes));
}
BENCHMARK(loadReportYear)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps the records of one pass until the next pass has read its own, as Load Report keeps
// the array until the new records replace it.
void loadReportFloorYear(benchmark::State &state) {
    const YearReport &report = yearReport();
    std::vector<std::vector<double>> kept;
    for (auto _ : state) {
        std::vector<std::vector<double>> records;
        std::FILE *file = std::fopen(report.path.c_str(), "rb");
        char fields[FIELDS_BYTES];
        char image[IMAGE_BYTES];
        bool complete = file && std::fread(fields, 1, sizeof fields, file) == sizeof fields;
        for (int position = 0; complete && position < YEAR_POSITIONS; ++position) {
            int32_t flag = 0;
            int32_t count = 0;
            complete = std::fread(&flag, sizeof flag, 1, file) == 1 &&
                       std::fread(image, 1, sizeof image, file) == sizeof image;
            std::memcpy(&count, image + COUNT_OFFSET, sizeof count);
            std::vector<double> values(static_cast<std::size_t>(count));
            complete =
                complete && count >= 0 &&
                std::fread(values.data(), sizeof(double), values.size(), file) == values.size();
            records.push_back(std::move(values));
        }
        if (file)
            std::fclose(file);
        if (!complete)
            state.SkipWithError("the floor could not read the report");
        benchmark::DoNotOptimize(records.data());
        kept = std::move(records);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * report.bytes));
}
BENCHMARK(loadReportFloorYear)->Unit(benchmark::kMillisecond)->UseRealTime();

void createReportYear(benchmark::State &state) {
    const YearReport &report = yearReport();
    YearWindow year;
    year.window.loadReport(report.path);
    if (!loadedTheYear(year))
        state.SkipWithError("Load Report did not restore the 26 loggers");
    for (auto _ : state) {
        year.host.saveAnswers.push_back(report.path);
        year.window.createReport();
        if (!year.host.takeMessages().empty() ||
            std::filesystem::file_size(report.path) != report.bytes)
            state.SkipWithError("Create Report failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * report.bytes));
}
BENCHMARK(createReportYear)->Unit(benchmark::kMillisecond)->UseRealTime();

// The report's bytes, already in memory, written to a new file beside the target in pieces of
// 1 MiB, synced once and renamed over the file of the pass before: the file operations Create
// Report makes, without anything to format.
void createReportFloorYear(benchmark::State &state) {
    const YearReport &report = yearReport();
    std::ifstream in(report.path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string target = report.path + ".floor";
    const std::string temporary = target + ".tmp";
    constexpr std::size_t PIECE = 1 << 20;
    for (auto _ : state) {
        const int descriptor =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        std::size_t at = 0;
        while (descriptor >= 0 && at < bytes.size()) {
            const ssize_t written =
                ::write(descriptor, bytes.data() + at, std::min(PIECE, bytes.size() - at));
            if (written <= 0)
                break;
            at += static_cast<std::size_t>(written);
        }
        const bool synced = descriptor >= 0 && ::fsync(descriptor) == 0;
        if (descriptor < 0 || ::close(descriptor) != 0 || !synced || at != bytes.size() ||
            ::rename(temporary.c_str(), target.c_str()) != 0)
            state.SkipWithError("the floor could not write the report");
    }
    std::filesystem::remove(target);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * report.bytes));
}
BENCHMARK(createReportFloorYear)->Unit(benchmark::kMillisecond)->UseRealTime();

double mebibytes(std::size_t bytes) { return static_cast<double>(bytes) / (1 << 20); }

// The heap Load Report holds at its peak above a window with an empty array, against the
// samples it restores.
void loadReportYearPeakHeap(benchmark::State &state) {
    const YearReport &report = yearReport();
    std::size_t peakAbove = 0;
    for (auto _ : state) {
        YearWindow year;
        const std::size_t idle = HeapCounter::live();
        HeapCounter::resetPeak();
        year.window.loadReport(report.path);
        peakAbove = HeapCounter::peak() - idle;
        if (!loadedTheYear(year))
            state.SkipWithError("Load Report did not restore the 26 loggers");
    }
    const double sampleBytes = 8.0 * zqar::bench::YEAR_LOGGERS * zqar::bench::YEAR_SAMPLES;
    state.counters["peakMiB"] = mebibytes(peakAbove);
    state.counters["sampleMiB"] = sampleBytes / (1 << 20);
    state.counters["limitMiB"] = sampleBytes / (1 << 20) + 16.0;
}
BENCHMARK(loadReportYearPeakHeap)->Unit(benchmark::kMillisecond)->Iterations(1);

// What Create Report adds to the heap at its peak, above the loaded window.
void createReportYearPeakHeap(benchmark::State &state) {
    const YearReport &report = yearReport();
    std::size_t peakAbove = 0;
    for (auto _ : state) {
        YearWindow year;
        year.window.loadReport(report.path);
        const std::size_t before = HeapCounter::live();
        HeapCounter::resetPeak();
        year.host.saveAnswers.push_back(report.path);
        year.window.createReport();
        peakAbove = HeapCounter::peak() - before;
        if (!year.host.takeMessages().empty())
            state.SkipWithError("Create Report failed");
    }
    state.counters["peakMiB"] = mebibytes(peakAbove);
    state.counters["limitMiB"] = 16.0;
}
BENCHMARK(createReportYearPeakHeap)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
