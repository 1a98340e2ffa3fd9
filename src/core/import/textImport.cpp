#include "core/import/textImport.h"

#include "core/data/bounds.h"
#include "core/data/caseless.h"
#include "core/data/numbers.h"
#include "core/data/parallelInOrder.h"
#include "core/import/Readings.h"
#include "core/import/RowReader.h"
#include "core/import/columnTitles.h"
#include "core/import/csvFields.h"
#include "core/import/timestamps.h"
#include "resources/format.h"
#include "resources/importTexts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace zqar {

namespace {

constexpr double FAHRENHEIT_OFFSET = 32.0;
constexpr double ZERO_CELSIUS_IN_KELVIN = 273.15;
constexpr int64_t SECONDS_PER_MINUTE = 60;
// The rows read before the readings still to come are estimated from the bytes left.
constexpr int64_t ROWS_BEFORE_ESTIMATE = 1024;
constexpr uint64_t LARGEST_ESTIMATED_BYTES = uint64_t{1} << 50; // keeps the estimate in range
constexpr uint64_t ESTIMATE_SPARE_FRACTION = 64;                // for rows that come out shorter
constexpr uint64_t ESTIMATE_SPARE_READINGS = 64;
// Room set aside on an estimate stays modest: a file whose first rows are short and whose rest
// is something else would otherwise claim much for nothing. Larger files copy their readings.
constexpr uint64_t LARGEST_ESTIMATE = uint64_t{1} << 22; // readings, in all columns

// A temperature column: what its title says, and its readings.
struct ColumnReadings {
    std::size_t column = 0;
    std::string title;
    TemperatureUnit unit = TemperatureUnit::Celsius;
    bool unitFromTitle = false;
    std::string serial;
    int channel = 1;
    Readings readings;
};

// Kept in degrees Celsius, each formula left to right in double precision.
double toCelsius(double value, TemperatureUnit unit) {
    switch (unit) {
    case TemperatureUnit::Fahrenheit:
        return (value - FAHRENHEIT_OFFSET) * 5 / 9;
    case TemperatureUnit::Kelvin:
        return value - ZERO_CELSIUS_IN_KELVIN;
    case TemperatureUnit::Celsius:
        break;
    }
    return value;
}

// Where a cell that used a decimal mark first stood.
struct MarkUse {
    int64_t line = 0; // 0: no cell used it
    std::string title;
};

enum class PassEnd { Done, Refused, InvalidUtf8, NeedDateOrder };

// The column titles and what they say, found again by every pass over the file.
struct Table {
    std::string comments[COMMENT_LINES];
    std::string headerSerial;
    int64_t titleLine = 0;
    char delimiter = 0;
    std::size_t timeColumn = 0;
    std::optional<std::size_t> timeOfDayColumn; // when the date and the time stand apart
    std::optional<int> utcOffsetMinutes;
    std::vector<ColumnReadings> temperatures;
    std::vector<std::string> otherTitles;
    std::size_t lastColumn = 0; // the last column any pass looks at
    bool tooManyColumns = false;
};

class TableReader {
public:
    TableReader(const std::string &path, const ImportSettings &settings)
        : path(path), settings(settings) {}

    ImportResult run(ByteSource &source);

private:
    PassEnd readTitles(TextLines &lines);
    bool findColumns(Table &found) const;
    PassEnd readRows(TextLines &lines, DateOrder order);
    void expectReadings(const TextLines &lines, uint64_t firstRow);
    PassEnd scanDateOrder(TextLines &lines, DateOrder &found);
    int64_t lineOfReading(ByteSource &source, bool windows1252, std::size_t temperature,
                          int64_t reading);
    PassEnd stopOf(const TextLines &lines);
    PassEnd refuse(int64_t line, std::string reason);
    void finish(ByteSource &source, bool windows1252);
    bool decideDecimalMark();
    std::optional<std::vector<int64_t>> gridIntervals(ByteSource &source, bool windows1252);
    int64_t utcShiftSeconds() const;
    ImportedRecord placeReadings(ColumnReadings &column, int64_t interval, int64_t shift);
    std::string fileStem() const;

    const std::string &path;
    const ImportSettings &settings;
    ImportResult result;
    Table table;
    CsvFields fields;
    MarkUse pointUse;
    MarkUse commaUse;
};

PassEnd TableReader::refuse(int64_t line, std::string reason) {
    result.refusal = ImportRefusal{path, line, std::move(reason)};
    return PassEnd::Refused;
}

PassEnd TableReader::stopOf(const TextLines &lines) {
    switch (lines.stop()) {
    case TextLines::Stop::InvalidUtf8:
        return PassEnd::InvalidUtf8;
    case TextLines::Stop::LineTooLong:
        return refuse(lines.lineNumber(), std::string(text::LINE_TOO_LONG));
    case TextLines::Stop::None:
    case TextLines::Stop::End:
        break;
    }
    return PassEnd::Done;
}

std::string TableReader::fileStem() const { return std::filesystem::path(path).stem().string(); }

bool TableReader::findColumns(Table &found) const {
    const std::size_t count = fields.size();
    std::size_t time = 0;
    while (time < count && !namesTime(fields[time]))
        ++time;
    if (time == count)
        return false;
    found.timeColumn = time;
    found.timeOfDayColumn.reset();
    if (namesDateOnly(fields[time]) && time + 1 < count && namesTime(fields[time + 1]) &&
        !namesDateOnly(fields[time + 1]))
        found.timeOfDayColumn = time + 1;
    auto isTimeColumn = [&](std::size_t i) {
        return i == time || (found.timeOfDayColumn && i == *found.timeOfDayColumn);
    };
    std::vector<bool> isTemperature(count, false);
    bool anyTemperature = false;
    for (std::size_t i = 0; i < count; ++i) {
        isTemperature[i] = !isTimeColumn(i) && namesTemperature(fields[i]);
        anyTemperature |= isTemperature[i];
    }
    if (!anyTemperature) {
        for (std::size_t i = 0; i < count; ++i) {
            isTemperature[i] =
                !isTimeColumn(i) && unitInTitle(fields[i]) && !namesDewPoint(fields[i]);
            anyTemperature |= isTemperature[i];
        }
    }
    if (!anyTemperature)
        return false;
    found.tooManyColumns =
        std::count(isTemperature.begin(), isTemperature.end(), true) > MAX_IMPORT_CHANNELS;
    if (found.tooManyColumns)
        return true;

    found.temperatures.clear();
    found.otherTitles.clear();
    std::string stem;
    found.lastColumn = std::max(time, found.timeOfDayColumn.value_or(0));
    for (std::size_t i = 0; i < count; ++i) {
        if (isTimeColumn(i))
            continue;
        if (!isTemperature[i]) {
            if (!fields[i].empty())
                found.otherTitles.emplace_back(fields[i]);
            continue;
        }
        ColumnReadings column;
        column.column = i;
        column.title = std::string(fields[i]);
        const std::optional<TemperatureUnit> unit = unitInTitle(fields[i]);
        column.unit = unit.value_or(settings.untitledUnit);
        column.unitFromTitle = unit.has_value();
        column.serial = serialInTitle(fields[i]);
        if (column.serial.empty() && found.headerSerial.empty() && stem.empty())
            stem = fileStem();
        if (column.serial.empty())
            column.serial = found.headerSerial.empty() ? stem : found.headerSerial;
        // The serial as the record's name holds it: up to a zero byte, at most 299 characters.
        column.serial = TextField(column.serial).str();
        column.channel = static_cast<int>(found.temperatures.size()) + 1;
        found.temperatures.push_back(std::move(column));
        found.lastColumn = std::max(found.lastColumn, i);
    }
    found.utcOffsetMinutes = utcOffsetInTitle(fields[time]);
    if (!found.utcOffsetMinutes && found.timeOfDayColumn)
        found.utcOffsetMinutes = utcOffsetInTitle(fields[*found.timeOfDayColumn]);
    return true;
}

PassEnd TableReader::readTitles(TextLines &lines) {
    table = Table{};
    std::string_view line;
    int headerLines = 0;
    while (lines.next(line)) {
        const char delimiter = delimiterOf(line);
        if (delimiter != 0) {
            fields.split(line, delimiter);
            if (findColumns(table)) {
                table.titleLine = lines.lineNumber();
                table.delimiter = delimiter;
                if (table.tooManyColumns)
                    return refuse(table.titleLine, std::string(text::TOO_MANY_COLUMNS));
                return PassEnd::Done;
            }
        }
        if (headerLines < COMMENT_LINES)
            table.comments[headerLines++].assign(line.substr(0, TEXT_MAX_LENGTH));
        if (table.headerSerial.empty())
            table.headerSerial = serialInHeaderLine(line);
    }
    const PassEnd end = stopOf(lines);
    if (end != PassEnd::Done)
        return end;
    return refuse(0, std::string(text::NO_TITLE_ROW));
}

PassEnd TableReader::readRows(TextLines &lines, DateOrder order) {
    RowColumns columns;
    columns.delimiter = table.delimiter;
    columns.time = table.timeColumn;
    columns.timeOfDay = table.timeOfDayColumn;
    for (const ColumnReadings &column : table.temperatures)
        columns.temperatures.push_back(column.column);
    RowReader rows(std::move(columns), order);
    const std::size_t temperatureCount = table.temperatures.size();
    RowReader::Row row = RowReader::Row::NoReadings;
    const std::optional<uint64_t> firstRow = lines.offset();
    int64_t rowsRead = 0;
    while (rows.next(lines, row)) {
        if (++rowsRead == ROWS_BEFORE_ESTIMATE && firstRow)
            expectReadings(lines, *firstRow);
        if (row != RowReader::Row::Readings) {
            if (row == RowReader::Row::NeedDateOrder)
                return PassEnd::NeedDateOrder;
            if (row == RowReader::Row::BadTime)
                return refuse(lines.lineNumber(), std::string(text::BAD_TIME));
            continue;
        }
        const int64_t time = rows.seconds();
        for (std::size_t k = 0; k < temperatureCount; ++k) {
            const RowCell &cell = rows.cell(k);
            if (!cell.present)
                continue;
            ColumnReadings &column = table.temperatures[k];
            const CellNumber &number = cell.number;
            if (!number.isNumber)
                return refuse(lines.lineNumber(), text::format(text::NOT_A_NUMBER, column.title));
            if (number.mark != 0) {
                MarkUse &use = number.mark == ',' ? commaUse : pointUse;
                if (use.line == 0)
                    use = MarkUse{lines.lineNumber(), column.title};
            }
            const double celsius = toCelsius(number.value, column.unit);
            if (!number.few && (!std::isfinite(celsius) || celsius == NO_VALUE))
                return refuse(lines.lineNumber(), text::format(text::OUT_OF_RANGE, column.title));
            if (!column.readings.add(celsius, time))
                return refuse(lines.lineNumber(), text::format(text::TIME_GOES_BACK, column.title));
        }
    }
    result.layout.dateOrder = rows.orderSeen();
    return stopOf(lines);
}

// The readings still to come in each column, from the bytes left and the readings per byte of
// the rows so far, so that each column can set room aside for them.
void TableReader::expectReadings(const TextLines &lines, uint64_t firstRow) {
    const std::optional<uint64_t> now = lines.offset();
    const uint64_t size = lines.sourceSize();
    if (!now || *now <= firstRow || size <= *now || size > LARGEST_ESTIMATED_BYTES)
        return;
    const uint64_t done = *now - firstRow;
    const uint64_t left = size - *now;
    const uint64_t most = std::min(LARGEST_ESTIMATE, static_cast<uint64_t>(MAX_IMPORT_SAMPLES)) /
                          table.temperatures.size();
    for (ColumnReadings &column : table.temperatures) {
        const uint64_t more = static_cast<uint64_t>(column.readings.count()) * left / done;
        const uint64_t room = more + more / ESTIMATE_SPARE_FRACTION + ESTIMATE_SPARE_READINGS;
        column.readings.expect(static_cast<int64_t>(std::min(room, most)));
    }
}

PassEnd TableReader::scanDateOrder(TextLines &lines, DateOrder &found) {
    found = DateOrder::Found;
    std::string_view line;
    while (lines.next(line)) {
        fields.split(line, table.delimiter, table.lastColumn);
        const std::string_view cell = fields[table.timeColumn];
        const std::string_view date =
            table.timeOfDayColumn ? cell : cell.substr(0, TimestampReader::dateLength(cell));
        const DateOrderHint hint = TimestampReader::hintOf(date);
        if (hint.dayFirst != hint.monthFirst) {
            found = hint.dayFirst ? DateOrder::DayMonthYear : DateOrder::MonthDayYear;
            return PassEnd::Done;
        }
    }
    return stopOf(lines);
}

int64_t TableReader::lineOfReading(ByteSource &source, bool windows1252, std::size_t temperature,
                                   int64_t reading) {
    TextLines lines(source, windows1252, MAX_IMPORT_LINE);
    if (readTitles(lines) != PassEnd::Done)
        return 0;
    const std::size_t column = table.temperatures[temperature].column;
    int64_t seen = 0;
    std::string_view line;
    while (lines.next(line)) {
        fields.split(line, table.delimiter, column);
        if (!fields[column].empty() && seen++ == reading)
            return lines.lineNumber();
    }
    return 0;
}

ImportResult TableReader::run(ByteSource &source) {
    result.path = path;
    bool windows1252 = false;
    DateOrder order = settings.dateOrder;
    result.layout.dateOrderChosen = order != DateOrder::Found;
    // A file that is not UTF-8 is read again as Windows-1252, once.
    const auto readAgainAs1252 = [&windows1252](PassEnd end) {
        if (end != PassEnd::InvalidUtf8 || windows1252)
            return false;
        windows1252 = true;
        return true;
    };
    // Each new pass knows one fact more than the one before (the encoding, the date order),
    // so there are at most three.
    for (;;) {
        TextLines lines(source, windows1252, MAX_IMPORT_LINE);
        pointUse = MarkUse{};
        commaUse = MarkUse{};
        PassEnd end = readTitles(lines);
        if (end == PassEnd::Done)
            end = readRows(lines, order);
        if (readAgainAs1252(end))
            continue;
        if (end == PassEnd::NeedDateOrder) {
            TextLines again(source, windows1252, MAX_IMPORT_LINE);
            DateOrder found = DateOrder::Found;
            PassEnd scan = readTitles(again);
            if (scan == PassEnd::Done)
                scan = scanDateOrder(again, found);
            if (readAgainAs1252(scan))
                continue;
            if (scan != PassEnd::Done)
                break;
            if (found == DateOrder::Found) {
                refuse(0, std::string(text::AMBIGUOUS_DATES));
                break;
            }
            order = found;
            continue;
        }
        result.layout.encoding = lines.encoding();
        if (end == PassEnd::Done)
            finish(source, windows1252);
        break;
    }
    if (result.refused())
        result.records.clear();
    return std::move(result);
}

void TableReader::finish(ByteSource &source, bool windows1252) {
    ImportLayout &layout = result.layout;
    layout.delimiter = table.delimiter;
    layout.titleLine = table.titleLine;
    layout.titleUtcOffsetMinutes = table.utcOffsetMinutes;
    layout.columnsNotImported = table.otherTitles;
    if (!decideDecimalMark())
        return;
    const std::optional<std::vector<int64_t>> intervals = gridIntervals(source, windows1252);
    if (!intervals)
        return;
    const int64_t shift = utcShiftSeconds();
    for (std::size_t k = 0; k < table.temperatures.size(); ++k) {
        ColumnReadings &column = table.temperatures[k];
        if (column.readings.count() < 2)
            layout.columnsNotImported.push_back(column.title);
        else
            result.records.push_back(placeReadings(column, (*intervals)[k], shift));
    }
    if (result.records.empty())
        refuse(0, std::string(text::NO_READINGS));
}

// A comma when the delimiter is not one and no temperature cell uses a point, else a point; or
// as chosen. A cell with the other mark is no number.
bool TableReader::decideDecimalMark() {
    char &mark = result.layout.decimalMark;
    if (settings.decimalMark == DecimalMark::Point)
        mark = '.';
    else if (settings.decimalMark == DecimalMark::Comma)
        mark = ',';
    else
        mark = table.delimiter != ',' && pointUse.line == 0 ? ',' : '.';
    const MarkUse &wrong = mark == ',' ? pointUse : commaUse;
    if (wrong.line == 0)
        return true;
    refuse(wrong.line, text::format(text::NOT_A_NUMBER, wrong.title));
    return false;
}

// Every reading on its column's grid, and the grids within the bound, before any memory is
// taken for them: the interval of each column, 0 for one with fewer than two readings.
std::optional<std::vector<int64_t>> TableReader::gridIntervals(ByteSource &source,
                                                               bool windows1252) {
    int64_t samplesLeft = MAX_IMPORT_SAMPLES;
    std::vector<int64_t> intervals(table.temperatures.size(), 0);
    for (std::size_t k = 0; k < table.temperatures.size(); ++k) {
        const Readings &readings = table.temperatures[k].readings;
        if (readings.count() < 2)
            continue;
        const int64_t interval = readings.interval();
        const int64_t offGrid = readings.offGrid(interval);
        if (offGrid >= 0) {
            // Finding the line reads the titles again, which sets up the columns anew.
            const std::string title = table.temperatures[k].title;
            const int64_t line = lineOfReading(source, windows1252, k, offGrid);
            refuse(line, text::format(text::OFF_GRID, title));
            return std::nullopt;
        }
        const int64_t samples = readings.samples(interval);
        if (samples > samplesLeft) {
            refuse(0, std::string(text::TOO_MANY_SAMPLES));
            return std::nullopt;
        }
        samplesLeft -= samples;
        intervals[k] = interval;
    }
    return intervals;
}

// The seconds the times move by: from the offset the title names (or the chosen one, when it
// names none) to the chosen one.
int64_t TableReader::utcShiftSeconds() const {
    if (!settings.utcOffsetMinutes)
        return 0;
    const int wanted = *settings.utcOffsetMinutes;
    return (wanted - table.utcOffsetMinutes.value_or(wanted)) * SECONDS_PER_MINUTE;
}

// The column's record with its readings on the grid; they are let go as they are placed.
ImportedRecord TableReader::placeReadings(ColumnReadings &column, int64_t interval, int64_t shift) {
    Readings &readings = column.readings;
    auto record = std::make_unique<LogFile>();
    record->fileName.assign(path);
    record->loggerName.assign(column.serial);
    record->startTime.day = dayNumberOfSeconds(readings.firstTime() + shift);
    record->startTime.status = DATE_VALID;
    record->samplePeriod = static_cast<double>(interval);
    for (int i = 0; i < COMMENT_LINES; ++i)
        record->comments[i].assign(table.comments[i]);
    record->channel = column.channel;

    ImportedRecordFacts facts;
    facts.serial = column.serial;
    facts.channel = column.channel;
    facts.label = importLabel(column.serial, column.channel);
    facts.columnTitle = column.title;
    facts.unit = column.unit;
    facts.unitFromTitle = column.unitFromTitle;
    facts.firstTime = record->startTime.day;
    facts.lastTime = dayNumberOfSeconds(readings.lastTime() + shift);
    facts.intervalSeconds = record->samplePeriod;
    facts.readings = readings.count();
    const int64_t samples = readings.samples(interval);
    facts.missingReadings = samples - readings.count();

    record->valueCount = static_cast<int32_t>(samples);
    record->values = readings.takeOnGrid(interval, NO_VALUE);
    return ImportedRecord{std::move(record), std::move(facts)};
}

} // namespace

std::string refusalText(const ImportRefusal &refusal) {
    std::string out = refusal.path;
    if (refusal.line > 0)
        out.append(text::REFUSAL_SEPARATOR).append(std::to_string(refusal.line));
    return out.append(text::REFUSAL_REASON_SEPARATOR).append(refusal.reason);
}

std::string importLabel(std::string_view serial, int channel) {
    std::string label(serial);
    if (channel >= 2)
        label.append(",").append(std::to_string(channel));
    return cutText(label);
}

ImportResult importTextBytes(std::string_view bytes, const std::string &path,
                             const ImportSettings &settings) {
    ByteSource source(bytes);
    return TableReader(path, settings).run(source);
}

ImportResult importTextFile(const std::string &path, const ImportSettings &settings) {
    struct Closer {
        void operator()(std::FILE *file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        ImportResult result;
        result.path = path;
        result.refusal = ImportRefusal{path, 0, std::string(text::CANNOT_READ)};
        return result;
    }
    ByteSource source(file.get());
    return TableReader(path, settings).run(source);
}

std::vector<ImportResult> importTextFiles(const std::vector<std::string> &paths,
                                          const ImportSettings &settings, unsigned threads) {
    return std::move(*importTextFiles(paths, settings, threads, KeepGoing{}));
}

std::optional<std::vector<ImportResult>> importTextFiles(const std::vector<std::string> &paths,
                                                         const ImportSettings &settings,
                                                         unsigned threads,
                                                         const KeepGoing &keepGoing) {
    std::vector<ImportResult> results;
    results.reserve(paths.size());
    const bool finished = parallelInOrder<ImportResult>(
        paths.size(), threads, [&](std::size_t i) { return importTextFile(paths[i], settings); },
        [&](std::size_t i, ImportResult result) {
            results.push_back(std::move(result));
            return askKeepGoing(keepGoing, i + 1, paths.size());
        });
    if (!finished)
        return std::nullopt;
    return results;
}

bool isImportFileName(std::string_view name) {
    for (const std::string_view extension : text::IMPORT_EXTENSIONS)
        if (name.size() > extension.size() &&
            equalIgnoringCase(name.substr(name.size() - extension.size()), extension))
            return true;
    return false;
}

std::optional<std::vector<std::string>> listImportFiles(const std::string &folder) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error)
        return std::nullopt;
    std::vector<std::string> names;
    for (const auto &entry : entries) {
        std::error_code kindError;
        if (!entry.is_regular_file(kindError))
            continue;
        std::string name = entry.path().filename().string();
        if (isImportFileName(name))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string &name : names)
        paths.push_back((std::filesystem::path(folder) / name).string());
    return paths;
}

} // namespace zqar
