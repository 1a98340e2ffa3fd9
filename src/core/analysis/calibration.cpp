#include "core/analysis/calibration.h"

#include "core/analysis/placedPositions.h"
#include "core/analysis/statistics.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/caseless.h"
#include "core/data/dateTime.h"
#include "core/data/enumTexts.h"
#include "core/data/numbers.h"
#include "resources/analysisTexts.h"
#include "resources/format.h"
#include "resources/strings.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

namespace zqar {

namespace {

enum CalibrationColumn { LOGGER, CERTIFICATE, CALIBRATED, DUE, READING, CORRECTION, COLUMNS };

constexpr std::string_view UTF8_BYTE_ORDER_MARK = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// The fields of one line: separated by commas, a field in double quotes may hold commas and
// doubled quotes. Blanks around a field are dropped.
std::vector<std::string> csvFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (true) {
        std::string field;
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        if (at < line.size() && line[at] == '"') {
            for (++at; at < line.size(); ++at) {
                if (line[at] == '"') {
                    if (at + 1 < line.size() && line[at + 1] == '"')
                        ++at;
                    else
                        break;
                }
                field += line[at];
            }
            ++at;
            const std::size_t comma = std::min(line.find(',', at), line.size());
            field += trimmed(line.substr(std::min(at, line.size()), comma - std::min(at, comma)));
            at = comma;
        } else {
            const std::size_t comma = std::min(line.find(',', at), line.size());
            field = trimmed(line.substr(at, comma - at));
            at = comma;
        }
        fields.push_back(std::move(field));
        if (at >= line.size())
            return fields;
        ++at; // the comma
    }
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

bool allLetters(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return asciiLower(c) >= 'a' && asciiLower(c) <= 'z';
    });
}

// DD-Mon-YYYY (one or two day digits, an English month abbreviation) or YYYY-MM-DD; the date
// reader then checks the month name and that the day exists.
std::optional<double> readDate(std::string_view text) {
    const std::size_t first = text.find('-');
    const std::size_t second = first == std::string_view::npos ? first : text.find('-', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const std::string_view a = text.substr(0, first);
    const std::string_view b = text.substr(first + 1, second - first - 1);
    const std::string_view c = text.substr(second + 1);
    const bool named = allDigits(a) && a.size() <= 2 && allLetters(b) && b.size() == 3 &&
                       allDigits(c) && c.size() == 4;
    const bool iso = allDigits(a) && a.size() == 4 && allDigits(b) && b.size() == 2 &&
                     allDigits(c) && c.size() == 2;
    if (!named && !iso)
        return std::nullopt;
    return parseDateTime(text);
}

CalibrationRead refused(int line, std::string problem) {
    CalibrationRead read;
    read.line = line;
    read.problem = std::move(problem);
    return read;
}

bool isHeader(const std::vector<std::string> &fields) {
    std::vector<std::string> wanted = csvFields(text::CALIBRATION_FILE_HEADER);
    if (fields.size() != wanted.size())
        return false;
    for (std::size_t i = 0; i < wanted.size(); ++i)
        if (!equalIgnoringCase(fields[i], wanted[i]))
            return false;
    return true;
}

std::string lineProblem(const char *pattern, int line, const std::string &field = {}) {
    return text::format(text::format(pattern, line).c_str(), field);
}

} // namespace

const LoggerCalibration *CalibrationTable::find(std::string_view logger) const {
    for (const LoggerCalibration &calibration : loggers)
        if (calibration.logger == logger)
            return &calibration;
    return nullptr;
}

CalibrationRead readCalibrationText(std::string_view text) {
    if (text.substr(0, UTF8_BYTE_ORDER_MARK.size()) == UTF8_BYTE_ORDER_MARK)
        text.remove_prefix(UTF8_BYTE_ORDER_MARK.size());
    CalibrationTable table;
    int lineNumber = 0;
    bool headerSeen = false;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::vector<std::string> fields = csvFields(line);
        if (!headerSeen) {
            if (!isHeader(fields))
                return refused(lineNumber, std::string(text::CALIBRATION_NO_HEADER));
            headerSeen = true;
            continue;
        }
        if (trimmed(line).empty())
            continue;
        if (fields.size() != COLUMNS)
            return refused(lineNumber, lineProblem(text::CALIBRATION_FIELD_COUNT, lineNumber));
        if (fields[LOGGER].empty())
            return refused(lineNumber, lineProblem(text::CALIBRATION_NO_LOGGER, lineNumber));
        std::optional<double> dates[2];
        for (const int column : {CALIBRATED, DUE}) {
            dates[column - CALIBRATED] = readDate(fields[column]);
            if (!dates[column - CALIBRATED])
                return refused(lineNumber,
                               lineProblem(text::CALIBRATION_BAD_DATE, lineNumber, fields[column]));
        }
        std::optional<double> numbers[2];
        for (const int column : {READING, CORRECTION}) {
            numbers[column - READING] = readWholeNumber(fields[column]);
            if (!numbers[column - READING])
                return refused(lineNumber, lineProblem(text::CALIBRATION_BAD_NUMBER, lineNumber,
                                                       fields[column]));
        }
        if (*dates[1] < *dates[0])
            return refused(lineNumber, lineProblem(text::CALIBRATION_DUE_FIRST, lineNumber));

        LoggerCalibration *calibration = nullptr;
        for (LoggerCalibration &known : table.loggers)
            if (known.logger == fields[LOGGER])
                calibration = &known;
        if (!calibration) {
            table.loggers.push_back(
                {fields[LOGGER], fields[CERTIFICATE], *dates[0], *dates[1], {}});
            calibration = &table.loggers.back();
        } else if (calibration->certificate != fields[CERTIFICATE] ||
                   calibration->calibrated != *dates[0] || calibration->due != *dates[1]) {
            return refused(lineNumber,
                           lineProblem(text::CALIBRATION_OTHER_CERTIFICATE, lineNumber));
        }
        const CalibrationPoint point{*numbers[0], *numbers[1]};
        std::vector<CalibrationPoint> &points = calibration->points;
        const auto place = std::lower_bound(
            points.begin(), points.end(), point.reading,
            [](const CalibrationPoint &p, double reading) { return p.reading < reading; });
        if (place != points.end() && place->reading == point.reading)
            return refused(lineNumber, lineProblem(text::CALIBRATION_SAME_READING, lineNumber));
        points.insert(place, point);
    }
    if (!headerSeen)
        return refused(1, std::string(text::CALIBRATION_NO_HEADER));
    CalibrationRead read;
    read.table = std::move(table);
    return read;
}

CalibrationRead readCalibrationFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (!in || !(bytes << in.rdbuf()) || in.bad())
        return refused(0, std::string(text::CALIBRATION_UNREADABLE));
    const std::string read = bytes.str();
    CalibrationRead reading = readCalibrationText(read);
    reading.digest = FileDigest{read.size(), sha256Hex(read)};
    return reading;
}

std::string calibrationFileText(const CalibrationTable &table) {
    std::string csv(text::CALIBRATION_FILE_HEADER);
    csv += CSV_LINE_END;
    for (const LoggerCalibration &calibration : table.loggers)
        for (const CalibrationPoint &point : calibration.points)
            appendCsvLine(csv, calibrationPointRow(calibration, point));
    return csv;
}

std::vector<std::string> calibrationPointRow(const LoggerCalibration &calibration,
                                             const CalibrationPoint &point) {
    return {calibration.logger,       calibration.certificate,  csvDate(calibration.calibrated),
            csvDate(calibration.due), csvNumber(point.reading), csvNumber(point.correction)};
}

Correction correctionAt(const LoggerCalibration &calibration, double x) {
    const std::vector<CalibrationPoint> &points = calibration.points;
    if (points.empty())
        return {};
    if (points.size() == 1)
        return {points.front().correction, false};
    if (x < points.front().reading)
        return {points.front().correction, true};
    if (x > points.back().reading)
        return {points.back().correction, true};
    const auto high = std::upper_bound(
        points.begin(), points.end(), x,
        [](double reading, const CalibrationPoint &p) { return reading < p.reading; });
    // x is at least the first reading, so the point below exists; a reading equal to it takes
    // its correction as it stands, which the line through two points need not give exactly.
    const CalibrationPoint &low = *std::prev(high);
    if (x == low.reading || high == points.end())
        return {low.correction, false};
    const double xL = low.reading;
    const double xH = high->reading;
    const double cL = low.correction;
    const double cH = high->correction;
    return {cH * (x - xL) / (xH - xL) + cL * (xH - x) / (xH - xL), false};
}

LogFile correctedRecord(const LogFile &record, const LoggerCalibration &calibration) {
    LogFile corrected = record;
    for (double &value : corrected.values)
        if (value != NO_VALUE)
            value = value + correctionAt(calibration, value).value;
    return corrected;
}

LoggerArray correctedArray(const LoggerArray &array, const CalibrationTable &table) {
    const ArrayDimensions d = array.dimensions();
    LoggerArray corrected;
    corrected.resize(d.rows, d.columns, d.singularCount);
    for (const PlacedPosition &p : placedPositions(array)) {
        if (!p.record)
            continue;
        const LoggerCalibration *calibration = table.find(p.record->label());
        corrected.place(p.row, p.col,
                        std::make_unique<LogFile>(
                            calibration ? correctedRecord(*p.record, *calibration) : *p.record));
    }
    return corrected;
}

int32_t readingsOutsideRange(const LogFile &record, const LoggerCalibration &calibration,
                             double start, double finish) {
    const SampleSelection selection = samplesInSpan(record, start, finish);
    int32_t outside = 0;
    for (int32_t k = 0; k < selection.count; ++k) {
        const double value = record.values[static_cast<std::size_t>(selection.index(k))];
        if (value != NO_VALUE && correctionAt(calibration, value).outsideRange)
            ++outside;
    }
    return outside;
}

std::string_view calibrationStatusText(CalibrationStatus status) {
    static constexpr TextEntry<CalibrationStatus> STATUS_TEXTS[] = {
        {CalibrationStatus::Ok, text::STATUS_OK},
        {CalibrationStatus::NoCertificate, text::STATUS_NO_CERTIFICATE},
        {CalibrationStatus::CalibratedAfterStart, text::STATUS_CALIBRATED_AFTER_START},
        {CalibrationStatus::DueBeforeFinish, text::STATUS_DUE_BEFORE_FINISH},
    };
    return textOf(STATUS_TEXTS, status, text::STATUS_OK);
}

std::vector<CalibrationRow> calibrationRows(const LoggerArray &array, const CalibrationTable &table,
                                            double start, double finish) {
    std::vector<CalibrationRow> rows;
    for (const PlacedPosition &p : placedPositions(array)) {
        if (!p.record)
            continue;
        CalibrationRow row;
        row.position = p.position;
        row.logger = p.record->label();
        if (const LoggerCalibration *calibration = table.find(row.logger)) {
            row.calibration = *calibration;
            row.readingsOutsideRange = readingsOutsideRange(*p.record, *calibration, start, finish);
            if (calibration->calibrated > start)
                row.status = CalibrationStatus::CalibratedAfterStart;
            else if (calibration->due < finish)
                row.status = CalibrationStatus::DueBeforeFinish;
            else
                row.status = CalibrationStatus::Ok;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string calibrationCsv(const std::vector<CalibrationRow> &rows) {
    return csvTable(text::CALIBRATION_CSV_HEADER, rows, calibrationStatusRow);
}

std::vector<std::string> calibrationStatusRow(const CalibrationRow &row) {
    const std::string status(calibrationStatusText(row.status));
    const std::string none(text::NO_LOGGER);
    if (!row.calibration)
        return {row.position, row.logger, none, none, none, "0", none, status};
    const LoggerCalibration &c = *row.calibration;
    return {row.position,
            row.logger,
            c.certificate,
            csvDate(c.calibrated),
            csvDate(c.due),
            std::to_string(c.points.size()),
            std::to_string(row.readingsOutsideRange),
            status};
}

} // namespace zqar
