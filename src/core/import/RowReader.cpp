#include "core/import/RowReader.h"

#include <algorithm>

namespace zqar {

namespace {

constexpr char QUOTE = '"';

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

} // namespace

RowReader::RowReader(RowColumns given, DateOrder order)
    : columns(std::move(given)), times(order) {
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
    for (std::size_t k = 0; k < columns.temperatures.size(); ++k) {
        roles[columns.temperatures[k]] = Role::Temperature;
        temperatureOf[columns.temperatures[k]] = k;
    }
}

bool RowReader::readLine(TextLines &lines, Row &row) {
    std::string_view line;
    if (!lines.next(line))
        return false;
    row = readGeneral(line);
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

    // The rest of the line is not read, but its end must be in the text, and the line all
    // ASCII, for it to be taken whole.
    if (!lineEnd) {
        const LineEndScan scan =
            findLineEnd(start, static_cast<std::size_t>(p - start), text.size());
        if (scan.nonAscii || scan.at == text.size())
            return false;
        lineEnd = start + scan.at;
    }
    const bool cr = *lineEnd == '\r';
    // A CR at the end of what is read may be the first half of a CR LF.
    if (cr && lineEnd + 1 == end)
        return false;
    if (!lines.skipLine(static_cast<std::size_t>(lineEnd - start), cr && lineEnd[1] == '\n' ? 2 : 1))
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
