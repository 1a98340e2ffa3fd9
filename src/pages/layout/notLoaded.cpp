#include "pages/layout/notLoaded.h"

#include "core/job/Job.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/recordPlacement.h"
#include "platform/ListView.h"
#include "resources/fileTexts.h"
#include "resources/format.h"
#include "resources/strings.h"

namespace zqar {

namespace {

constexpr int SERIAL_COLUMN = 1; // the singular table's serial-number column

// The text of the position's table cell.
std::string cellText(FileSelectionPage &page, int row, int col) {
    return row < 0 ? page.singularLayoutList().itemText(col, SERIAL_COLUMN)
                   : page.arrayLayoutList().itemText(row + 1, col + 1);
}

bool namesNoLogger(const std::string &cell) { return cell.empty() || cell == text::NO_LOGGER; }

// The trace of the last skipped file that answers to the cell's serial number.
const SkippedFile *fileOfSerial(const std::string &serial,
                                const std::vector<SkippedFile> &skipped) {
    for (auto file = skipped.rbegin(); file != skipped.rend(); ++file) {
        const std::string &name = file->loggerName.empty() ? file->stem : file->loggerName;
        if (channelNamed(serial, {name, name}) != 0)
            return &*file;
    }
    return nullptr;
}

// The trace of the last skipped file whose comment lines name the position.
const SkippedFile *fileOfPosition(int row, int col, const ArrayDimensions &counts,
                                  const std::vector<SkippedFile> &skipped) {
    const CommentPosition wanted =
        row < 0 ? CommentPosition{true, -1, col + 1} : CommentPosition{true, row + 1, col + 1};
    for (auto file = skipped.rbegin(); file != skipped.rend(); ++file)
        for (const CommentPosition &at : file->positions)
            if (at.found && fitsLayout(at, counts) && at.row == wanted.row && at.col == wanted.col)
                return &*file;
    return nullptr;
}

EmptyPosition whyEmpty(FileSelectionPage &page, const PlacementRules &rules, int row, int col,
                       const std::vector<SkippedFile> &skipped) {
    EmptyPosition why;
    const SkippedFile *file = nullptr;
    if (rules.bySerialNumber) {
        why.serial = cellText(page, row, col);
        if (namesNoLogger(why.serial)) {
            why.serial.clear();
            why.reason = NotLoaded::NoSerialNumber;
            return why;
        }
        file = fileOfSerial(why.serial, skipped);
    } else {
        file = fileOfPosition(row, col, rules.counts, skipped);
    }
    if (file) {
        why.reason = file->reason;
        why.path = file->path;
    }
    return why;
}

// Visits every position of the layout: the cells row by row, then the singular slots.
template <typename Visit> void forEachPosition(const ArrayDimensions &counts, Visit &&visit) {
    for (int r = 0; r < counts.rows; ++r)
        for (int c = 0; c < counts.columns; ++c)
            visit(r, c);
    for (int s = 0; s < counts.singularCount; ++s)
        visit(-1, s);
}

} // namespace

void noteEmptyPositions(FileSelectionPage &page, const PlacementRules &rules,
                        const std::vector<SkippedFile> &skipped) {
    LoggerArray &array = page.job.loggerArray;
    forEachPosition(rules.counts, [&](int row, int col) {
        if (!array.at(row, col))
            array.noteEmpty(row, col, whyEmpty(page, rules, row, col, skipped));
    });
}

void markEmptyPositions(FileSelectionPage &page, const PlacementRules &rules) {
    const LoggerArray &array = page.job.loggerArray;
    forEachPosition(rules.counts, [&](int row, int col) {
        if (array.at(row, col))
            return;
        if (rules.bySerialNumber && !namesNoLogger(cellText(page, row, col)))
            return;
        if (row < 0)
            page.singularLayoutList().setItemText(col, SERIAL_COLUMN, text::NO_LOGGER);
        else
            page.arrayLayoutList().setItemText(row + 1, col + 1, text::NO_LOGGER);
    });
}

std::string notLoadedText(const EmptyPosition &why) {
    const bool named = !why.serial.empty();
    switch (why.reason) {
    case NotLoaded::NoSerialNumber:
        return std::string(text::NOT_LOADED_NO_SERIAL);
    case NotLoaded::NoFile:
        break;
    case NotLoaded::Unreadable:
        return text::format(text::NOT_LOADED_UNREADABLE, why.serial, why.path);
    case NotLoaded::NoSamples:
        return named ? text::format(text::NOT_LOADED_NO_SAMPLES, why.serial, why.path)
                     : text::format(text::NOT_LOADED_POSITION_NO_SAMPLES, why.path);
    case NotLoaded::FilteredOut:
        return named ? text::format(text::NOT_LOADED_FILTERED, why.serial, why.path)
                     : text::format(text::NOT_LOADED_POSITION_FILTERED, why.path);
    }
    return named ? text::format(text::NOT_LOADED_NO_FILE, why.serial)
                 : std::string(text::NOT_LOADED_NOT_NAMED);
}

} // namespace zqar
