#include "pages/layout/recordPlacement.h"

#include "core/data/caseless.h"
#include "core/data/numbers.h"
#include "core/job/Job.h"
#include "core/job/Prefill.h"
#include "pages/layout/FileSelectionPage.h"
#include "platform/ListView.h"
#include "resources/fileTexts.h"
#include "resources/strings.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace zqar {

namespace {

constexpr int SERIAL_COLUMN = 1;              // the singular table's serial-number column
constexpr std::size_t MAX_CHANNEL_DIGITS = 4; // a table holds at most 1000 temperature columns

// One file's placements. The ready records serve the first position of each channel; a
// further position gets a copy of the record its channel had, which is what reading the file
// again would give. Only a record that is neither ready nor copied is read.
class Placer {
public:
    Placer(FileSelectionPage &filePage, FileRecords &fileRecords, Prefill &runPrefill)
        : page(filePage), records(fileRecords), prefill(runPrefill),
          models(static_cast<std::size_t>(std::max(fileRecords.channels, 1))) {
        for (const std::unique_ptr<LogFile> &record : records.ready)
            if (record && (!first || record->channel == 1))
                first = record.get();
        names.resize(models.size());
        for (std::size_t k = 0; k < names.size(); ++k) {
            const bool ready = k < records.ready.size() && records.ready[k];
            names[k] = ready ? records.ready[k]->loggerName.str()
                             : (first ? first->loggerName.str() : std::string());
        }
    }

    // The record whose comment lines say where the file goes: channel 1's, or the first one
    // made when the file gave none for channel 1. Only before the first placement: the record
    // may be replaced in the array after it.
    const LogFile *firstRead() const { return first; }
    // The logger name of each channel, from 1, as read before any placement.
    const std::vector<std::string> &channelNames() const { return names; }

    // Places a record for channel at (row, col) of the array (row -1: singular slot col),
    // both from 0, and writes its label into the table cell. Nothing when the file has no
    // such channel.
    void place(int row, int col, int channel, bool widensRange) {
        if (channel < 1 || static_cast<std::size_t>(channel) > models.size())
            return;
        const std::size_t which = static_cast<std::size_t>(channel - 1);
        std::unique_ptr<LogFile> record;
        if (which < records.ready.size() && records.ready[which])
            record = std::move(records.ready[which]);
        else if (models[which].record)
            record = std::make_unique<LogFile>(*models[which].record);
        else if (records.read)
            record = records.read(channel);
        if (!record)
            return;
        const std::string label = record->label();
        if (widensRange)
            prefill.widenRange(*record);
        const LogFile *kept = record.get();
        page.job.loggerArray.place(row, col, std::move(record));
        for (Model &model : models)
            if (model.row == row && model.col == col)
                model = Model{};
        if (page.job.loggerArray.at(row, col) == kept)
            models[which] = Model{kept, row, col};
        if (row < 0)
            page.singularLayoutList().setItemText(col, SERIAL_COLUMN, label);
        else
            page.arrayLayoutList().setItemText(row + 1, col + 1, label);
        ++placed;
    }

    int placed = 0;

private:
    // A record this file placed, owned by the array; forgotten when its position is filled
    // again, so a copy is never made from a record the array has let go.
    struct Model {
        const LogFile *record = nullptr;
        int row = 0;
        int col = 0;
    };
    FileSelectionPage &page;
    FileRecords &records;
    Prefill &prefill;
    const LogFile *first = nullptr;
    std::vector<Model> models;      // by channel, from 1
    std::vector<std::string> names; // by channel, from 1
};

} // namespace

// k is written without leading zeros, up to the channels the file has. A name that is empty or
// "-" names no cell: a file without a name (one that could not be read, say) would otherwise
// fill every cell left empty, and a logger called "-" every cell without one.
int channelNamed(std::string_view cell, const std::vector<std::string> &names) {
    const auto usable = [](std::string_view name) {
        return !name.empty() && name != text::NO_LOGGER;
    };
    if (!names.empty() && usable(names[0]) && equalIgnoringCase(cell, names[0]))
        return 1;
    const char separator = text::CHANNEL_1_SUFFIX.front();
    const std::size_t at = cell.rfind(separator);
    if (at == std::string_view::npos)
        return 0;
    const std::string_view digits = cell.substr(at + 1);
    if (digits.empty() || digits.size() > MAX_CHANNEL_DIGITS || digits.front() == '0')
        return 0;
    for (const char c : digits)
        if (!isDigit(c))
            return 0;
    const int channel = readInteger(digits);
    if (static_cast<std::size_t>(channel) > names.size())
        return 0;
    const std::string &name = names[static_cast<std::size_t>(channel - 1)];
    return usable(name) && equalIgnoringCase(cell.substr(0, at), name) ? channel : 0;
}

namespace {

void placeBySerialNumber(Placer &placer, FileSelectionPage &page, const ArrayDimensions &counts) {
    const std::vector<std::string> &names = placer.channelNames();
    platform::ListView &arrayList = page.arrayLayoutList();
    for (int r = 1; r <= counts.rows; ++r)
        for (int c = 1; c <= counts.columns; ++c)
            if (const int channel = channelNamed(arrayList.itemText(r, c), names))
                placer.place(r - 1, c - 1, channel, true);
    platform::ListView &singularList = page.singularLayoutList();
    for (int s = 0; s < counts.singularCount; ++s)
        if (const int channel = channelNamed(singularList.itemText(s, SERIAL_COLUMN), names))
            placer.place(-1, s, channel, true);
}

void placeByComments(Placer &placer, const ArrayDimensions &counts, bool singularAsText) {
    // Every read of the file gives the same comment lines, so both positions come from the
    // first read.
    const CommentPosition positions[] = {placer.firstRead()->positionFromComments(1),
                                         placer.firstRead()->positionFromComments(2)};
    for (int channel = 1; channel <= 2; ++channel) {
        const CommentPosition &at = positions[channel - 1];
        if (!at.found || !fitsLayout(at, counts))
            continue;
        if (at.row >= 1)
            placer.place(at.row - 1, at.col - 1, channel, true);
        else
            placer.place(-1, at.col - 1, channel, !singularAsText);
    }
}

} // namespace

bool fitsLayout(const CommentPosition &at, const ArrayDimensions &counts) {
    const bool inArray =
        at.row >= 1 && at.row <= counts.rows && at.col >= 1 && at.col <= counts.columns;
    const bool inSingularSlot = at.row == -1 && at.col >= 1 && at.col <= counts.singularCount;
    return inArray || inSingularSlot;
}

int placeFileRecords(FileSelectionPage &page, const PlacementRules &rules, FileRecords records,
                     Prefill &prefill) {
    Placer placer(page, records, prefill);
    if (!placer.firstRead())
        return 0;
    if (rules.bySerialNumber)
        placeBySerialNumber(placer, page, rules.counts);
    else
        placeByComments(placer, rules.counts, rules.singularAsText);
    return placer.placed;
}

} // namespace zqar
