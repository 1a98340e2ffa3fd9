// How fast a year of minute samples parses, against a floor: the plainest loop that reads the
// same bytes and converts the same numbers. Also how much heap one loaded record needs.

#include "heapCounter.h"
#include "yearOfLogs.h"

#include "core/data/LogFile.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using zqar::LogFile;
using zqar::bench::HeapCounter;
using zqar::bench::yearOfLogs;

namespace {

void readLogFileYear(benchmark::State &state) {
    const auto &logs = yearOfLogs();
    for (auto _ : state) {
        for (const auto &path : logs.paths) {
            LogFile record;
            record.readLogFile(path, 1);
            benchmark::DoNotOptimize(record.values.data());
            if (record.valueCount != zqar::bench::YEAR_SAMPLES)
                state.SkipWithError("a year file did not read completely");
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * logs.totalBytes));
}
BENCHMARK(readLogFileYear)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same reads with every record kept until the next pass, as a load keeps them: each pass
// then gets fresh memory from the system, as Load Files does.
void readLogFileYearKept(benchmark::State &state) {
    const auto &logs = yearOfLogs();
    std::vector<std::unique_ptr<LogFile>> records;
    for (auto _ : state) {
        records.clear();
        for (const auto &path : logs.paths) {
            records.push_back(std::make_unique<LogFile>());
            records.back()->readLogFile(path, 1);
            benchmark::DoNotOptimize(records.back()->values.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * logs.totalBytes));
}
BENCHMARK(readLogFileYearKept)->Unit(benchmark::kMillisecond)->UseRealTime();

// fread into a block, split lines with memchr, skip the 17 header lines, convert the text after
// the first blank with from_chars into a vector reserved for the samples.
bool floorRead(const std::string &path, std::vector<char> &block, std::vector<double> &values) {
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
            if (++lineNumber > 17) {
                const char *blank = static_cast<const char *>(
                    std::memchr(p, ' ', static_cast<std::size_t>(newline - p)));
                if (blank) {
                    double value = 0.0;
                    std::from_chars(blank + 1, newline, value);
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

void floorYear(benchmark::State &state) {
    const auto &logs = yearOfLogs();
    std::vector<char> block(1 << 18);
    for (auto _ : state) {
        for (const auto &path : logs.paths) {
            std::vector<double> values;
            if (!floorRead(path, block, values))
                state.SkipWithError("the floor loop could not read a year file whole");
            benchmark::DoNotOptimize(values.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * logs.totalBytes));
}
BENCHMARK(floorYear)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor with every vector kept until the next pass, the counterpart of readLogFileYearKept
// and of a one-thread Load Files: both pay for the fresh memory the kept samples take.
void floorYearKept(benchmark::State &state) {
    const auto &logs = yearOfLogs();
    std::vector<char> block(1 << 18);
    std::vector<std::vector<double>> kept;
    for (auto _ : state) {
        kept.clear();
        for (const auto &path : logs.paths) {
            kept.emplace_back();
            if (!floorRead(path, block, kept.back()))
                state.SkipWithError("the floor loop could not read a year file whole");
            benchmark::DoNotOptimize(kept.back().data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * logs.totalBytes));
}
BENCHMARK(floorYearKept)->Unit(benchmark::kMillisecond)->UseRealTime();

// The heap one loaded record holds at its peak, above what was live before, per sample and as
// the rest beyond 8 bytes a sample.
void readLogFilePeakHeap(benchmark::State &state) {
    const auto &logs = yearOfLogs();
    std::size_t peakAbove = 0;
    for (auto _ : state) {
        const std::size_t before = HeapCounter::live();
        HeapCounter::resetPeak();
        {
            LogFile record;
            record.readLogFile(logs.paths.front(), 1);
            benchmark::DoNotOptimize(record.values.data());
        }
        peakAbove = HeapCounter::peak() - before;
    }
    constexpr double samples = zqar::bench::YEAR_SAMPLES;
    state.counters["peakBytesPerSample"] = static_cast<double>(peakAbove) / samples;
    state.counters["bytesBeyond8PerSample"] = static_cast<double>(peakAbove) - 8.0 * samples;
}
BENCHMARK(readLogFilePeakHeap)->Unit(benchmark::kMillisecond)->Iterations(3);

// A file whose header announces two billion samples but holds three: the reader must not trust
// the count for its allocation. Limit: a read takes under 50 ms on the CI machine (the counter
// limitMs repeats it next to the measured time); the test in ReadLogFileTest keeps the
// functional part, an empty record with a small capacity.
void readLogFileHugeAnnouncedCount(benchmark::State &state) {
    std::string text;
    const char *lines[] = {"Logger data file",
                           "4711",
                           "sec",
                           "60",
                           "2000000000",
                           "2003",
                           "11",
                           "5",
                           "14",
                           "30",
                           "0",
                           "Comments:",
                           "",
                           "",
                           "",
                           "",
                           "Data:",
                           "1 20",
                           "2 21",
                           "3 22"};
    for (const char *line : lines) {
        text += line;
        text += "\r\n";
    }
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("zqar-huge-count-" + std::to_string(static_cast<long>(getpid())) + ".dta");
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    for (auto _ : state) {
        LogFile record;
        record.readLogFile(path.string(), 1);
        benchmark::DoNotOptimize(record.values.data());
        if (record.valueCount != 0 || record.values.capacity() >= 1000)
            state.SkipWithError("the announced count was trusted");
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    state.counters["limitMs"] = 50;
}
BENCHMARK(readLogFileHugeAnnouncedCount)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
