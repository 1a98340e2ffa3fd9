#pragma once
// Calibration certificates: the points of each logger's certificate, read from and written to
// a CSV file, the correction they give a reading, corrected copies of records for the figures
// (the records themselves keep their raw readings), and the status of each placed logger's
// certificate over the span of a study.

#include "core/data/LoggerArray.h"
#include "core/integrity/sha256.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

struct CalibrationPoint {
    double reading = 0.0;    // the logger's reading at the point, degrees
    double correction = 0.0; // to add to that reading, degrees
};

// One logger's certificate.
struct LoggerCalibration {
    std::string logger; // the record's label: "10231", or "20417,2" for a second channel
    std::string certificate;
    double calibrated = 0.0; // day numbers of the two dates, at midnight
    double due = 0.0;
    std::vector<CalibrationPoint> points; // ascending by reading, no reading twice; never empty
};

struct CalibrationTable {
    std::vector<LoggerCalibration> loggers; // in the order of their first rows in the file
    // The certificate of a record's label, or none.
    const LoggerCalibration *find(std::string_view logger) const;
};

struct CalibrationRead {
    std::optional<CalibrationTable> table; // none when the file was refused
    int line = 0;        // the refused line from 1; 0 when the file could not be read
    std::string problem; // the refusal as the message box shows it, with its line
    FileDigest digest;   // readCalibrationFile: the size and SHA-256 of the bytes it read
};

// The file's text: the header Logger,Certificate,Calibrated,Due,Reading,Correction and one row
// per point; dates as DD-Mon-YYYY or YYYY-MM-DD, numbers with a point, fields quoted as in
// any CSV file ("20417,2"). Blank lines are skipped; any other row that does not fit refuses
// the whole text.
CalibrationRead readCalibrationText(std::string_view text);
CalibrationRead readCalibrationFile(const std::string &path);
// The table as a file that reads back to the same table.
std::string calibrationFileText(const CalibrationTable &table);
// One point's fields as the file and the report give them.
std::vector<std::string> calibrationPointRow(const LoggerCalibration &calibration,
                                             const CalibrationPoint &point);

// The correction a certificate gives a reading: between the two points around the reading the
// straight line through them, a point's own correction at that point, and the end point's
// correction beyond either end, where the reading lies outside the calibrated range. A single
// point corrects every reading alike and has no range to leave.
struct Correction {
    double value = 0.0;
    bool outsideRange = false;
};
Correction correctionAt(const LoggerCalibration &calibration, double reading);

// The record with every reading x replaced by x + c(x); missing readings stay missing.
LogFile correctedRecord(const LogFile &record, const LoggerCalibration &calibration);
// The array with corrected copies of the records that have a certificate and plain copies of
// the others, in the same positions.
LoggerArray correctedArray(const LoggerArray &array, const CalibrationTable &table);

// The readings of a record from start through finish (day numbers) outside the range of its
// certificate.
int32_t readingsOutsideRange(const LogFile &record, const LoggerCalibration &calibration,
                             double start, double finish);

// The first that holds, in this order.
enum class CalibrationStatus { NoCertificate, CalibratedAfterStart, DueBeforeFinish, Ok };
std::string_view calibrationStatusText(CalibrationStatus status);

struct CalibrationRow {
    std::string position;
    std::string logger;
    std::optional<LoggerCalibration> calibration; // none: the logger is used raw
    int32_t readingsOutsideRange = 0;
    CalibrationStatus status = CalibrationStatus::NoCertificate;
};

// One row per placed record in position order over the span from start to finish.
std::vector<CalibrationRow> calibrationRows(const LoggerArray &array, const CalibrationTable &table,
                                            double start, double finish);
// Position,Logger,Certificate,Calibrated,Due,Points,Readings Outside Range,Status.
std::string calibrationCsv(const std::vector<CalibrationRow> &rows);
// One row's fields as the CSV and the report give them.
std::vector<std::string> calibrationStatusRow(const CalibrationRow &row);

} // namespace zqar
