#pragma once
// The report file's byte layout: twenty 300-byte text fields, then the logger array's
// positions, each a 4-byte presence flag followed, when present, by the record's 1840-byte
// image and its samples. Little-endian throughout; every byte without meaning is written as
// zero. readReport and writeReport turn bytes into a value and back; the pages decide what
// the fields mean. Both go front to back through the file, so neither holds the whole of it.

#include "core/data/KeepGoing.h"
#include "core/data/LogFile.h"
#include "core/data/LoggerArray.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

constexpr std::size_t REPORT_FIELD_COUNT = 20;
constexpr std::size_t REPORT_ARRAY_OFFSET = REPORT_FIELD_COUNT * TEXT_FIELD_SIZE; // 6000
constexpr std::size_t REPORT_FLAG_SIZE = 4;
constexpr std::size_t REPORT_RECORD_SIZE = 1840;
constexpr std::size_t REPORT_SAMPLE_SIZE = 8;

using ReportFields = std::array<std::string, REPORT_FIELD_COUNT>; // field 1 is index 0
// The fields whose counts lay out the array section (indices into ReportFields).
constexpr std::size_t REPORT_ROWS_FIELD = 2;
constexpr std::size_t REPORT_COLUMNS_FIELD = 3;
constexpr std::size_t REPORT_SINGULAR_FIELD = 6;

struct ReportContents {
    ReportFields fields;        // field 1, the identification, at 0
    ArrayDimensions dimensions; // as the count fields give them (layoutDimensions)
    // Every position in array order, cells row by row and then the singular slots; null
    // where the position is empty.
    std::vector<std::unique_ptr<LogFile>> records;
};

// Where a report is read from: bytes in memory, or an open file from where it stands to its
// end. Either way the source knows how many bytes are left, so a count the report announces
// is checked against what the rest of it can hold before anything is made for it.
class ReportSource {
public:
    explicit ReportSource(std::string_view bytes);
    // The file stays open and owned by the caller; its size is taken now.
    explicit ReportSource(std::FILE *file);

    std::uint64_t remaining() const { return size - consumed; }
    // All count bytes into `into`, or false (and the source stays failed) when fewer are left.
    bool read(void *into, std::size_t count);
    // True when every byte was read and nothing follows (a file may have grown meanwhile).
    bool atEnd();
    // A read error of the file, as against a report that ends early.
    bool readError() const { return ioError; }

private:
    std::string_view memory;
    std::FILE *file = nullptr;
    std::uint64_t size = 0;
    std::uint64_t consumed = 0;
    bool failed = false;
    bool ioError = false;
};

// The report, with the checks Load Report makes: the twenty fields are there, field 1 is the
// identification, and the array section read for the dimensions the count fields give fills
// the rest exactly. None when any of them fails. Nothing is made for a count the rest cannot
// hold, and every sample array is sized once and filled by one read.
std::optional<ReportContents> readReport(ReportSource &source);
std::optional<ReportContents> readReport(std::string_view bytes);

// The report in the file at path. `opened` is false when the file could not be opened or
// read (a folder, a missing file, a read error), as against a file that is no report.
struct ReportFileRead {
    bool opened = false;
    std::optional<ReportContents> contents;
};
ReportFileRead readReportFile(const std::string &path);

// Takes the bytes of a report a piece at a time, in order.
using ReportSink = std::function<void(std::string_view)>;

// The bytes of a report: field 1 is always the identification, then fields 2 to 20 and the
// records as positions.
void writeReport(const ReportContents &contents, const ReportSink &sink);
std::string writeReport(const ReportContents &contents);
// The same for the records of an array, written straight from them. A count field that
// differs from the array's count is written with the array's, so the report can always be
// read back.
void writeReport(const ReportFields &fields, const LoggerArray &array, const ReportSink &sink);
std::string writeReport(const ReportFields &fields, const LoggerArray &array);
// The report of the array into the file at path, through a temp file beside it that replaces
// it only when everything was written. False when it could not be written.
bool writeReportFile(const std::string &path, const ReportFields &fields, const LoggerArray &array);

enum class ReportWrite { Written, Failed, Stopped };
// The same, asking keepGoing with the bytes written of the report's size. A stopped write
// leaves path as it was, as a failed one does.
ReportWrite writeReportFile(const std::string &path, const ReportFields &fields,
                            const LoggerArray &array, const KeepGoing &keepGoing);

// A 300-byte field: the text (at most 299 characters), zeros after it.
void appendTextField(std::string &out, std::string_view text);
// The image and then valueCount samples.
void writeReportRecord(std::string &out, const LogFile &record);

// The twenty fields, or none when the source is shorter than them. A field without a zero in
// its 300 bytes reads as its first 299 characters.
std::optional<ReportFields> readReportFields(ReportSource &source);

// The next record of the source; none when the image or its samples run past the end, or
// the sample count is negative.
std::unique_ptr<LogFile> readReportRecord(ReportSource &source);

// The array section read for the given dimensions. None when a position runs past the end of
// the file, and when bytes are left over after the last position: a report whose array does
// not fill the file exactly was written for other dimensions than its fields say, and its
// records cannot be told apart.
std::optional<std::vector<std::unique_ptr<LogFile>>>
readReportArray(ReportSource &source, const ArrayDimensions &dimensions);

} // namespace zqar
