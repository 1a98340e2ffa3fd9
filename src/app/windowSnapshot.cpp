// The state a cancelled Load Report puts back.

#include "app/windowSnapshot.h"

#include "platform/Dialog.h"

namespace zqar {

std::unique_ptr<MainWindow::Snapshot> MainWindow::takeSnapshot() {
    // A text still in the table's editor counts as typed before anything is kept.
    fileSelectionPage.commitEditor();
    auto snapshot = std::make_unique<Snapshot>();
    snapshot->values = currentSettingValues(SettingChoice::All);
    snapshot->dimensions = job.loggerArray.dimensions();
    snapshot->records = std::move(job.loggerArray);
    job.loggerArray.resize(snapshot->dimensions.rows, snapshot->dimensions.columns,
                           snapshot->dimensions.singularCount);
    snapshot->sets = std::move(job.setList);
    job.setList.clear();
    snapshot->exclusions = job.exclusions;
    snapshot->reportPath = job.reportPath;
    snapshot->reportDigest = job.reportDigest;
    snapshot->changeLog = job.changeLog;
    snapshot->recorded = recordedValues;
    const std::array<platform::Page *, 4> all = pages();
    for (std::size_t i = 0; i < all.size(); ++i)
        snapshot->statuses[i] = all[i]->dialog().text(STATUS_LINE);
    return snapshot;
}

void MainWindow::restoreSnapshot(Snapshot &snapshot) {
    const SettingPlaces places = settingPlaces();
    applySettingValues(places, SettingPage::FileSelection, snapshot.values);
    // The tables take the shape of the records kept, which the count texts need not give.
    const ArrayDimensions &counts = snapshot.dimensions;
    shapeLayoutTables(fileSelectionPage.singularLayoutList(), fileSelectionPage.arrayLayoutList(),
                      counts, 0);
    job.loggerArray = std::move(snapshot.records);
    applyCellValues(fileSelectionPage, snapshot.values);
    applySettingValues(places, SettingPage::DataFilter, snapshot.values);
    applySettingValues(places, SettingPage::Statistics, snapshot.values);
    job.setList = std::move(snapshot.sets);
    job.exclusions = std::move(snapshot.exclusions);
    job.reportPath = std::move(snapshot.reportPath);
    job.reportDigest = snapshot.reportDigest;
    job.changeLog = std::move(snapshot.changeLog);
    job.changed(JobChange::LAYOUT | JobChange::RECORDS | JobChange::SETS | JobChange::EXCLUSIONS |
                JobChange::CHANGE_LOG);
    if (currentTab == TAB_MATRIX)
        matrixPage.showCurrentSet();
    recordedValues = std::move(snapshot.recorded);
    const std::array<platform::Page *, 4> all = pages();
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i]->dialog().setText(STATUS_LINE, snapshot.statuses[i]);
}

} // namespace zqar
