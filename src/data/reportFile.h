#pragma once
// The report file's byte layout: twenty 300-byte text fields, then the logger array's
// positions, each a 4-byte presence flag followed, when present, by the record's 1840-byte
// image and its samples. Little-endian throughout; every byte without meaning is written as
// zero. readReport and writeReport turn bytes into a value and back; the pages decide what
// the fields mean.

#include "data/LogFile.h"
#include "data/LoggerArray.h"

#include <array>
#include <cstddef>
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

// The report in the bytes, with the checks Load Report makes: the twenty fields are there,
// field 1 is the identification, and the array section read for the dimensions the count
// fields give fills the rest of the file exactly. None when any of them fails. Nothing is
// made for a count the bytes cannot hold.
std::optional<ReportContents> readReport(std::string_view bytes);

// The bytes of a report: field 1 is always the identification, then fields 2 to 20 and the
// records as positions.
std::string writeReport(const ReportContents &contents);
// The same for the records of an array. A count field that differs from the array's count
// is written with the array's, so the report can always be read back.
std::string writeReport(const ReportFields &fields, const LoggerArray &array);

// A 300-byte field: the text (at most 299 characters), zeros after it.
void appendTextField(std::string &out, std::string_view text);
// The image and then valueCount samples.
void writeReportRecord(std::string &out, const LogFile &record);

// The twenty fields, or none when the file is shorter than them. A field without a zero in
// its 300 bytes reads as its first 299 characters.
std::optional<ReportFields> readReportFields(std::string_view bytes);

// The record that starts at offset, which moves past it; none when the image or its samples
// run past the end, or the sample count is negative.
std::unique_ptr<LogFile> readReportRecord(std::string_view bytes, std::size_t &offset);

// The array section read for the given dimensions. None when a position runs past the end of
// the file, and when bytes are left over after the last position: a report whose array does
// not fill the file exactly was written for other dimensions than its fields say, and its
// records cannot be told apart.
std::optional<std::vector<std::unique_ptr<LogFile>>>
readReportArray(std::string_view bytes, const ArrayDimensions &dimensions);

} // namespace zqar
