#pragma once
// The bounds that keep a file of a few bytes from costing gigabytes and minutes.
//
// Layouts: rows and columns both become 0 when rows x columns, or either count alone, exceeds
// MAX_ARRAY_CELLS, and the singular count becomes 0 above MAX_SINGULAR_COUNT (LoggerArray's
// layoutCounts; Load Report sizes what it reads with the same rule).
//
// Averaged sets: the calculation refuses an interval that would make more sets than
// MAX_AVERAGED_SETS (an interval too small to move the day number would never end the loop at
// all), or more values in all sets together than MAX_SET_VALUES (256 MB of them): a year of 26
// loggers at 30 minutes holds 455,520, and the largest layout, 10,000 cells and 1,000
// singular slots, still gets 2,909 sets.
//
// Imported tables: a file may give at most MAX_IMPORT_SAMPLES samples in all its records
// together (a year at one second is 31.5 million; missing readings count, so two readings a
// century apart at a one-second interval are refused instead of filling the memory), at most
// MAX_IMPORT_CHANNELS temperature columns, and lines of at most MAX_IMPORT_LINE bytes.
//
// The fuzz build makes all of them small, so that no input it tries takes seconds under the
// sanitizers and none spends its time on thousands of cell keys.

#include <cstddef>
#include <cstdint>

namespace zqar {

#ifdef ZQAR_FUZZ_BOUNDS
constexpr int32_t MAX_ARRAY_CELLS = 100;
constexpr int32_t MAX_SINGULAR_COUNT = 10;
constexpr double MAX_AVERAGED_SETS = 1000.0;
constexpr double MAX_SET_VALUES = 200000.0;
constexpr int64_t MAX_IMPORT_SAMPLES = 100000;
constexpr int32_t MAX_IMPORT_CHANNELS = 16;
constexpr std::size_t MAX_IMPORT_LINE = 4096;
#else
constexpr int32_t MAX_ARRAY_CELLS = 10000;
constexpr int32_t MAX_SINGULAR_COUNT = 1000;
constexpr double MAX_AVERAGED_SETS = 1000000.0;
constexpr double MAX_SET_VALUES = 32000000.0;
constexpr int64_t MAX_IMPORT_SAMPLES = 40000000;
constexpr int32_t MAX_IMPORT_CHANNELS = 1000;
constexpr std::size_t MAX_IMPORT_LINE = 1 << 20;
#endif

} // namespace zqar
