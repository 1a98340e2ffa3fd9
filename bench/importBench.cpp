// Importing a year of one-minute readings from 26 loggers as exported tables in the ISO layout
// ("2025-01-01 00:00:00,21.37"), on one thread and on every hardware thread, against the
// parse of the same samples as log files (readLogFileYear and its floor, in
// readLogFileBench.cpp) and against a floor of its own. Also the heap the imported year holds at
// its peak above the samples.
// The tables are made from the year's log files on the first use and removed at the end.

#include "heapCounter.h"
#include "yearOfLogs.h"

#include "core/data/LogFile.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/data/parallelInOrder.h"
#include "core/import/textImport.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace zqar;
using zqar::bench::HeapCounter;
using zqar::bench::yearOfLogs;

namespace {

struct YearOfTables {
    std::filesystem::path directory;
    std::vector<std::string> paths;
    uint64_t totalBytes = 0;

    YearOfTables() {
        const auto &logs = yearOfLogs();
        directory = std::filesystem::path(logs.directory) / "tables";
        std::filesystem::create_directories(directory);
        for (std::size_t i = 0; i < logs.paths.size(); ++i) {
            LogFile record;
            record.readLogFile(logs.paths[i], 1);
            std::string text = "Serial Number: " + logs.loggerNames[i] + "\r\n";
            text += "Date Time,Temperature (\xC2\xB0"
                    "C)\r\n";
            text.reserve(text.size() + record.values.size() * 28);
            const double start = record.startTime();
            for (std::size_t k = 0; k < record.values.size(); ++k) {
                const CivilTime t = civilFromDayNumber(start + static_cast<double>(k) / 1440.0);
                char line[64];
                std::snprintf(line, sizeof line, "%04d-%02d-%02d %02d:%02d:%02d,", t.year, t.month,
                              t.day, t.hour, t.minute, t.second);
                text += line;
                text += formatFixed(record.values[k], 2);
                text += "\r\n";
            }
            const std::string path = (directory / (logs.loggerNames[i] + ".csv")).string();
            std::FILE *file = std::fopen(path.c_str(), "wb");
            if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size() ||
                std::fclose(file) != 0)
                throw std::runtime_error("cannot write " + path);
            paths.push_back(path);
            totalBytes += text.size();
        }
    }
};

const YearOfTables &yearOfTables() {
    static const YearOfTables tables;
    return tables;
}

bool importedWhole(const std::vector<ImportResult> &results) {
    if (results.size() != static_cast<std::size_t>(zqar::bench::YEAR_LOGGERS))
        return false;
    for (const ImportResult &result : results)
        if (result.refused() || result.records.size() != 1 ||
            result.records[0].record->values.size() !=
                static_cast<std::size_t>(zqar::bench::YEAR_SAMPLES))
            return false;
    return true;
}

// The argument is the number of threads that read the files.
void importTextYear(benchmark::State &state) {
    const YearOfTables &tables = yearOfTables();
    const auto threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        const std::vector<ImportResult> results =
            importTextFiles(tables.paths, ImportSettings{}, threads);
        if (!importedWhole(results))
            state.SkipWithError("the year's tables did not import whole");
        benchmark::DoNotOptimize(results.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * tables.totalBytes));
    state.counters["nsPerSample"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * zqar::bench::YEAR_LOGGERS *
                               zqar::bench::YEAR_SAMPLES,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(importTextYear)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(static_cast<int64_t>(threadsFor(0)))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The floor for the same tables: fread into a block, split lines with memchr, skip the two
// lines above the table, convert the text after the comma with from_chars into a vector
// reserved for the samples. The times are not read at all, so an import can come near it
// but not reach it.
bool floorReadTable(const std::string &path, std::vector<char> &block,
                    std::vector<double> &values) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    values.reserve(zqar::bench::YEAR_SAMPLES);
    int lineNumber = 0;
    std::size_t kept = 0;
    for (;;) {
        const std::size_t got = std::fread(block.data() + kept, 1, block.size() - kept, file);
        const std::size_t size = kept + got;
        if (size == 0)
            break;
        const char *p = block.data();
        const char *end = p + size;
        for (;;) {
            const char *newline =
                static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!newline)
                break;
            if (++lineNumber > 2) {
                const char *comma = static_cast<const char *>(
                    std::memchr(p, ',', static_cast<std::size_t>(newline - p)));
                if (comma) {
                    double value = 0.0;
                    std::from_chars(comma + 1, newline, value);
                    values.push_back(value);
                }
            }
            p = newline + 1;
        }
        kept = static_cast<std::size_t>(end - p);
        std::memmove(block.data(), p, kept);
        if (got == 0)
            break;
    }
    std::fclose(file);
    return values.size() == static_cast<std::size_t>(zqar::bench::YEAR_SAMPLES);
}

void importFloorYear(benchmark::State &state) {
    const YearOfTables &tables = yearOfTables();
    std::vector<char> block(1 << 18);
    std::vector<std::vector<double>> kept;
    for (auto _ : state) {
        kept.clear();
        for (const std::string &path : tables.paths) {
            kept.emplace_back();
            if (!floorReadTable(path, block, kept.back()))
                state.SkipWithError("the floor loop could not read a table whole");
            benchmark::DoNotOptimize(kept.back().data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * tables.totalBytes));
}
BENCHMARK(importFloorYear)->Unit(benchmark::kMillisecond)->UseRealTime();

// The heap the import holds at its peak above what was live before, on every hardware thread,
// against the samples' 8 bytes each; the limit is the samples and 16 MiB.
void importTextYearPeakHeap(benchmark::State &state) {
    const YearOfTables &tables = yearOfTables();
    std::size_t peakAbove = 0;
    std::size_t heldAbove = 0;
    for (auto _ : state) {
        const std::size_t before = HeapCounter::live();
        HeapCounter::resetPeak();
        {
            const std::vector<ImportResult> results =
                importTextFiles(tables.paths, ImportSettings{}, 0);
            peakAbove = HeapCounter::peak() - before;
            heldAbove = HeapCounter::live() - before;
            if (!importedWhole(results))
                state.SkipWithError("the year's tables did not import whole");
        }
    }
    const double sampleBytes = 8.0 * zqar::bench::YEAR_LOGGERS * zqar::bench::YEAR_SAMPLES;
    state.counters["peakMiB"] = static_cast<double>(peakAbove) / (1 << 20);
    state.counters["heldMiB"] = static_cast<double>(heldAbove) / (1 << 20);
    state.counters["sampleMiB"] = sampleBytes / (1 << 20);
    state.counters["limitMiB"] = (sampleBytes + 16.0 * (1 << 20)) / (1 << 20);
}
BENCHMARK(importTextYearPeakHeap)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
