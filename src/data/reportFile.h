#pragma once
// The report file's byte layout: twenty 300-byte text fields, then the logger array's
// positions, each a 4-byte presence flag followed, when present, by the record's 1840-byte
// image and its samples. Little-endian throughout; every byte without meaning is written as
// zero. The pages decide what the fields hold; this only moves bytes.

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

// A 300-byte field: the text (at most 299 characters), zeros after it.
void appendTextField(std::string &out, std::string_view text);
// The image and then valueCount samples.
void writeReportRecord(std::string &out, const LogFile &record);
// Flag and record of every position: cells row by row, then the singular slots.
void writeReportArray(std::string &out, const LoggerArray &array);
std::string reportBytes(const ReportFields &fields, const LoggerArray &array);

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
