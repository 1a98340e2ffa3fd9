#include "pages/layout/PlacementSnapshot.h"

#include "core/job/Job.h"
#include "pages/layout/FileSelectionPage.h"
#include "platform/ListView.h"

#include <functional>

namespace zqar {

namespace {

constexpr int SERIAL_COLUMN = 1; // the singular table's serial-number column

using Cell = std::function<void(platform::ListView &list, int item, int subItem)>;

// Visits the cell of every position the dimensions give: array cells row by row (the table's
// label row and column left out), then the singular slots.
void forEachCell(FileSelectionPage &page, const ArrayDimensions &counts, const Cell &visit) {
    platform::ListView &arrayList = page.arrayLayoutList();
    for (int r = 1; r <= counts.rows; ++r)
        for (int c = 1; c <= counts.columns; ++c)
            visit(arrayList, r, c);
    platform::ListView &singularList = page.singularLayoutList();
    for (int s = 0; s < counts.singularCount; ++s)
        visit(singularList, s, SERIAL_COLUMN);
}

} // namespace

PlacementSnapshot::PlacementSnapshot(FileSelectionPage &thePage) : page(thePage) {
    Job &job = page.job;
    const ArrayDimensions counts = job.loggerArray.dimensions();
    records = std::move(job.loggerArray);
    job.loggerArray.resize(counts.rows, counts.columns, counts.singularCount);
    sets = std::move(job.setList);
    job.setList.clear();
    forEachCell(page, counts, [this](platform::ListView &list, int item, int subItem) {
        cells.push_back(list.itemText(item, subItem));
    });
    status = page.dialog().text(FileSelectionPage::STATUS);
    copyEnabled = page.dialog().isEnabled(FileSelectionPage::COPY_FILES);
}

void PlacementSnapshot::restore() {
    Job &job = page.job;
    job.loggerArray = std::move(records);
    job.setList = std::move(sets);
    std::size_t next = 0;
    forEachCell(page, job.loggerArray.dimensions(),
                [this, &next](platform::ListView &list, int item, int subItem) {
                    if (next < cells.size())
                        list.setItemText(item, subItem, cells[next++]);
                });
    page.dialog().setText(FileSelectionPage::STATUS, status);
    page.dialog().setEnabled(FileSelectionPage::COPY_FILES, copyEnabled);
    job.changed(JobChange::RECORDS | JobChange::SETS);
}

} // namespace zqar
