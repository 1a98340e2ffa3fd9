#include "core/import/RowReader.h"

#include <algorithm>

namespace zqar {

namespace {

constexpr char QUOTE = '"';

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// Where the line that starts at start ends, when the reading stopped at from before its end:
// null when the end is not in the text or the line is not all ASCII, so that it cannot be
// taken whole. The rest of the line is not read.
const char *restOfLine(const char *start, const char *from, std::size_t size) {
    const LineEndScan scan = findLineEnd(start, static_cast<std::size_t>(from - start), size);
    return scan.nonAscii || scan.at == size ? nullptr : start + scan.at;
}

// Takes the line that starts at start and ends at lineEnd, within text of size bytes.
bool takeLine(TextLines &lines, const char *start, const char *lineEnd, std::size_t size) {
    const bool cr = *lineEnd == '\r';
    // A CR at the end of what is read may be the first half of a CR LF.
    if (cr && lineEnd + 1 == start + size)
        return false;
    return lines.skipLine(static_cast<std::size_t>(lineEnd - start),
                          cr && lineEnd[1] == '\n' ? 2 : 1);
}

} // namespace

RowReader::RowReader(RowColumns given, DateOrder order) : columns(std::move(given)), times(order) {
    cells.resize(columns.temperatures.size());
    std::size_t last = std::max(columns.time, columns.timeOfDay.value_or(0));
    for (const std::size_t column : columns.temperatures)
        last = std::max(last, column);
    roles.assign(last + 1, Role::Other);
    temperatureOf.assign(last + 1, 0);
    roles[columns.time] = Role::Time;
    oneTimeCell = !columns.timeOfDay;
    if (columns.timeOfDay)
        roles[*columns.timeOfDay] = Role::TimeOfDay;
    plainLayout = oneTimeCell && columns.time == 0;
    for (std::size_t k = 0; k < columns.temperatures.size(); ++k) {
        roles[columns.temperatures[k]] = Role::Temperature;
        temperatureOf[columns.temperatures[k]] = k;
        plainLayout = plainLayout && columns.temperatures[k] == k + 1;
    }
}

bool RowReader::readLine(TextLines &lines, Row &row) {
    std::string_view line;
    if (!lines.next(line))
        return false;
    row = readGeneral(line);
    return true;
}

// A line of the plain layout with nothing but the repeated date, short numbers, delimiters and
// the line's end in the cells read: no blanks, quotes or other forms, which readAhead handles.
bool RowReader::readPlainAhead(TextLines &lines, Row &row) {
    const std::string_view text = lines.ahead();
    const char delimiter = columns.delimiter;
    const char *const start = text.data();
    const std::size_t taken = times.readRepeatedDate(start, text.size(), rowSeconds);
    if (taken == 0 || start[taken] != delimiter)
        return false;
    const char *p = start + taken + 1;
    const char *lineEnd = nullptr;
    bool anyReading = false;
    RowCell *cell = cells.data();
    RowCell *const cellsEnd = cell + cells.size();
    for (; cell != cellsEnd; ++cell) {
        cell->present = *p != delimiter && !isLineEnd(*p);
        if (cell->present) {
            p = readShortNumber(p, delimiter, cell->number);
            if (!p)
                return false;
            anyReading = true;
        }
        if (*p == delimiter) {
            ++p;
        } else if (isLineEnd(*p)) {
            // The cells after the line's end are blank.
            lineEnd = p;
            while (++cell != cellsEnd)
                cell->present = false;
            break;
        } else {
            return false;
        }
    }
    if (!lineEnd)
        lineEnd = restOfLine(start, p, text.size());
    if (!lineEnd || !takeLine(lines, start, lineEnd, text.size()))
        return false;
    row = anyReading ? Row::Readings : Row::NoReadings;
    return true;
}

// Any byte this pass does not expect sends the line the general way, so it needs to be right
// only for the lines it takes: those give the general way's cells and time. The zero byte after
// the text ends every scan.
bool RowReader::readAhead(TextLines &lines, Row &row) {
    const std::string_view text = lines.ahead();
    const char delimiter = columns.delimiter;
    const char *const start = text.data();
    const char *const end = start + text.size();
    // The delimiter may be a tab, which is then no blank.
    auto skipBlanks = [delimiter](const char *at) {
        while (isBlank(*at) && *at != delimiter)
            ++at;
        return at;
    };
    const char *p = start;
    const char *lineEnd = nullptr;
    bool anyReading = false;
    bool timeKnown = false;
    std::string_view timeCell;
    std::string_view timeOfDayCell;
    for (std::size_t column = 0; column < roles.size(); ++column) {
        p = skipBlanks(p);
        const Role role = roles[column];
        std::size_t taken = 0;
        if (role == Role::Temperature) {
            RowCell &cell = cells[temperatureOf[column]];
            cell.present = *p != delimiter && !isLineEnd(*p);
            if (cell.present) {
                p = readShortNumber(p, delimiter, cell.number);
                if (!p)
                    return false;
                anyReading = true;
            }
        } else if (role == Role::Time && oneTimeCell &&
                   (taken = times.readRepeatedDate(p, static_cast<std::size_t>(end - p),
                                                   rowSeconds)) != 0 &&
                   (p[taken] == delimiter || isLineEnd(p[taken]))) {
            p += taken;
            timeKnown = true;
        } else {
            const char *cellEnd = p;
            while (*cellEnd != delimiter && !isLineEnd(*cellEnd)) {
                if (*cellEnd == QUOTE || *cellEnd == '\0' ||
                    static_cast<unsigned char>(*cellEnd) >= 0x80)
                    return false;
                ++cellEnd;
            }
            const char *textEnd = cellEnd;
            while (textEnd > p && isBlank(textEnd[-1]))
                --textEnd;
            const std::string_view cellText(p, static_cast<std::size_t>(textEnd - p));
            if (role == Role::Time)
                timeCell = cellText;
            else if (role == Role::TimeOfDay)
                timeOfDayCell = cellText;
            p = cellEnd;
        }
        // After the cell: blanks, then the delimiter or the line's end, after which the cells
        // are blank.
        p = skipBlanks(p);
        if (*p == delimiter)
            ++p;
        else if (isLineEnd(*p))
            lineEnd = p;
        else
            return false;
    }

    if (!lineEnd)
        lineEnd = restOfLine(start, p, text.size());
    if (!lineEnd || !takeLine(lines, start, lineEnd, text.size()))
        return false;
    if (!anyReading)
        row = Row::NoReadings;
    else if (timeKnown)
        row = Row::Readings;
    else
        row = readTime(timeCell, timeOfDayCell);
    return true;
}

RowReader::Row RowReader::readGeneral(std::string_view line) {
    fields.split(line, columns.delimiter, roles.size() - 1);
    bool anyReading = false;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        cells[k].present = !fields[columns.temperatures[k]].empty();
        anyReading |= cells[k].present;
    }
    // Rows without a reading (event rows) are skipped whatever their time.
    if (!anyReading)
        return Row::NoReadings;
    const Row row = readTime(fields[columns.time],
                             columns.timeOfDay ? fields[*columns.timeOfDay] : std::string_view());
    if (row != Row::Readings)
        return row;
    for (std::size_t k = 0; k < cells.size(); ++k)
        if (cells[k].present)
            cells[k].number = readCellNumber(fields[columns.temperatures[k]], scratch);
    return Row::Readings;
}

RowReader::Row RowReader::readTime(std::string_view timeCell, std::string_view timeOfDayCell) {
    const Timestamp time =
        columns.timeOfDay ? times.read(timeCell, timeOfDayCell) : times.read(timeCell);
    if (time.status == TimestampStatus::NeedDateOrder)
        return Row::NeedDateOrder;
    if (time.status != TimestampStatus::Ok)
        return Row::BadTime;
    rowSeconds = time.seconds;
    return Row::Readings;
}

} // namespace zqar
