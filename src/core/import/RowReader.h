#pragma once
// The data rows of an exported table: for each line, whether it holds a reading, its time and
// the numbers in its temperature cells. The importer owns one per pass over a file.
//
// Nearly every row of a file is written alike ("2025-01-01 00:00:00,21.37"), so a row is first
// read in one pass over the text ahead, which finds the line's end as it goes, without
// splitting the line into fields; for the plain layout (the time first, then the temperatures)
// a shorter pass that takes only the common forms comes before it. A line those passes do not
// take whole (a quote, a byte above 0x7F, a cell that is no short number, a line not yet read
// to its end) is taken as a line and read the general way, which gives the same results;
// readGeneral is that way alone.

#include "core/import/ImportSettings.h"
#include "core/import/TextLines.h"
#include "core/import/cellNumbers.h"
#include "core/import/csvFields.h"
#include "core/import/timestamps.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

// Where a table's columns stand. The temperature columns are in increasing order.
struct RowColumns {
    char delimiter = ',';
    std::size_t time = 0;
    std::optional<std::size_t> timeOfDay; // when the date and the time stand apart
    std::vector<std::size_t> temperatures;
};

// One temperature cell of a row.
struct RowCell {
    bool present = false; // not blank
    CellNumber number;    // when present
};

class RowReader {
public:
    enum class Row {
        Readings,      // the time is read; the cells are filled in
        NoReadings,    // every temperature cell is blank: the row is skipped, its time unread
        NeedDateOrder, // the time is day/month or month/day and the order is not known yet
        BadTime,       // the time cell cannot be read
    };

    RowReader(RowColumns columns, DateOrder order);

    // Reads the next line as a row. False when the lines end or stop; lines.stop() says which.
    bool next(TextLines &lines, Row &row) {
        return (plainLayout && readPlainAhead(lines, row)) || readAhead(lines, row) ||
               readLine(lines, row);
    }
    // One line the general way: split into its fields, each read on its own.
    Row readGeneral(std::string_view line);

    int64_t seconds() const { return rowSeconds; }
    // The cell of the k-th temperature column.
    const RowCell &cell(std::size_t k) const { return cells[k]; }
    // The order the dates read so far followed: that of the first date read.
    DateOrder orderSeen() const { return times.orderSeen(); }

private:
    enum class Role : unsigned char { Other, Time, TimeOfDay, Temperature };
    bool readPlainAhead(TextLines &lines, Row &row);
    bool readAhead(TextLines &lines, Row &row);
    bool readLine(TextLines &lines, Row &row);
    Row readTime(std::string_view timeCell, std::string_view timeOfDayCell);

    RowColumns columns;
    bool oneTimeCell = true; // no column of its own for the time of day
    // The time in the first column in one cell, the temperatures in the columns after it.
    bool plainLayout = false;
    std::vector<Role> roles;                // of the columns up to the last one read
    std::vector<std::size_t> temperatureOf; // the k of a Temperature column
    std::vector<RowCell> cells;
    TimestampReader times;
    CsvFields fields;
    std::string scratch;
    int64_t rowSeconds = 0;
};

} // namespace zqar
