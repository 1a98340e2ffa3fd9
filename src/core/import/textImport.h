#pragma once
// Importing the text tables that other loggers' software exports: each temperature column of
// a file becomes a log file record (channel k for the k-th such column), with its samples in
// degrees Celsius on a regular grid and NO_VALUE where a reading is missing, together with
// the facts the preview shows. A file that cannot be read as such a table is refused whole,
// with the line and the reason.

#include "core/data/KeepGoing.h"
#include "core/data/LogFile.h"
#include "core/import/ImportSettings.h"
#include "core/import/TextLines.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

struct ImportRefusal {
    std::string path;
    int64_t line = 0; // from 1; 0 when the reason concerns no one line
    std::string reason;
};

// "FILE:LINE: reason", or "FILE: reason" without a line.
std::string refusalText(const ImportRefusal &refusal);

// How the file was written, as found or as the settings chose.
struct ImportLayout {
    TextEncoding encoding = TextEncoding::Utf8;
    char delimiter = 0;                          // '\t', ';' or ','
    char decimalMark = '.';                      // '.' or ','
    DateOrder dateOrder = DateOrder::Found;      // the order of the first date read
    bool dateOrderChosen = false;                // from the settings, not from the rows
    int64_t titleLine = 0;                       // the line of the column titles, from 1
    std::optional<int> titleUtcOffsetMinutes;    // the offset the time title names
    std::vector<std::string> columnsNotImported; // titles: humidity, events, empty columns
};

// What the preview shows of one record.
struct ImportedRecordFacts {
    std::string serial;
    int channel = 1;
    std::string label; // the serial, with ",k" after it for channel k >= 2
    std::string columnTitle;
    TemperatureUnit unit = TemperatureUnit::Celsius; // of the file's numbers
    bool unitFromTitle = false;                      // false: from the settings
    double firstTime = 0.0;                          // day numbers, after any UTC move
    double lastTime = 0.0;
    double intervalSeconds = 0.0;
    int64_t readings = 0;
    int64_t missingReadings = 0;
};

struct ImportedRecord {
    std::unique_ptr<LogFile> record;
    ImportedRecordFacts facts;
};

struct ImportResult {
    std::string path;
    ImportLayout layout;
    std::vector<ImportedRecord> records; // empty when refused
    std::optional<ImportRefusal> refusal;
    bool refused() const { return refusal.has_value(); }
};

// Reads one file; path names the records (their fileName) and the refusals as given.
ImportResult importTextFile(const std::string &path, const ImportSettings &settings);
// The same for the bytes of a file already in memory.
ImportResult importTextBytes(std::string_view bytes, const std::string &path,
                             const ImportSettings &settings);
// Several files on a pool of threads (0: one per hardware thread); the results in the order
// of the paths.
std::vector<ImportResult> importTextFiles(const std::vector<std::string> &paths,
                                          const ImportSettings &settings, unsigned threads = 0);
// The same, asking keepGoing after each file in turn; none when it stopped the reading.
std::optional<std::vector<ImportResult>> importTextFiles(const std::vector<std::string> &paths,
                                                         const ImportSettings &settings,
                                                         unsigned threads,
                                                         const KeepGoing &keepGoing);

// True for a file name ending in ".csv", ".txt" or ".tsv", in any letter case.
bool isImportFileName(std::string_view name);
// The files of a folder with those names, as paths formed from the folder as given, in the
// byte order of their names; none when the folder cannot be read.
std::optional<std::vector<std::string>> listImportFiles(const std::string &folder);

// The label of channel k of a serial: the serial, with ",k" after it for k >= 2.
std::string importLabel(std::string_view serial, int channel);

} // namespace zqar
