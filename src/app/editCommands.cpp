// Undo and Redo of the user's edits, and the question before unsaved edits are let go. The
// history holds whole states of the settings and the layout tables (see EditHistory); this
// file takes them from the pages and puts them back.

#include "app/MainWindow.h"
#include "core/data/LogFile.h"
#include "pages/layout/projectFile.h"
#include "platform/Host.h"
#include "resources/desktopTexts.h"

namespace zqar {

EditState MainWindow::currentEdits() {
    if (!fileSelectionPage.isCreated() || !dataFilterPage.isCreated())
        return EditState{};
    return editState(settingPlaces(), fileSelectionPage);
}

void MainWindow::noteEdits() {
    if (restoring || !fileSelectionPage.isCreated())
        return;
    editHistory.note(currentEdits());
}

void MainWindow::restoreEdits(const EditState &state) {
    restoring = true;
    restoreEditState(settingPlaces(), fileSelectionPage, state);
    restoring = false;
}

bool MainWindow::undo() { return stepThroughHistory(true); }

bool MainWindow::redo() { return stepThroughHistory(false); }

bool MainWindow::stepThroughHistory(bool back) {
    if (!fileSelectionPage.isCreated())
        return false;
    // A text still in a cell's editor is the newest edit; the history notes it below.
    restoring = true;
    fileSelectionPage.commitEditor();
    restoring = false;
    EditState now = currentEdits();
    const std::optional<EditState> state =
        back ? editHistory.undo(std::move(now)) : editHistory.redo(std::move(now));
    if (state)
        restoreEdits(*state);
    return state.has_value();
}

void MainWindow::markSaved(DocumentKind kind) {
    savedEdits = currentEdits();
    savedKind = kind;
}

bool MainWindow::hasUnsavedEdits() {
    if (!fileSelectionPage.isCreated())
        return false;
    fileSelectionPage.commitEditor();
    return differInSavedValues(currentEdits(), savedEdits);
}

bool MainWindow::settleUnsavedEdits() {
    if (!hasUnsavedEdits())
        return true;
    // Save writes the kind of file the work last came from or went to; new work with records
    // placed goes into a report, which keeps them, a layout alone into a project.
    DocumentKind kind = savedKind;
    if (kind == DocumentKind::None) {
        bool placed = false;
        job.loggerArray.forEachPlaced([&placed](const LogFile &) { placed = true; });
        kind = placed ? DocumentKind::Report : DocumentKind::Project;
    }
    const bool project = kind == DocumentKind::Project;
    switch (platformHost.askToSave(
        std::string(project ? text::UNSAVED_EDITS_SAVE_PROJECT : text::UNSAVED_EDITS_SAVE_REPORT),
        std::string(text::UNSAVED_EDITS_CAPTION))) {
    case platform::SaveChoice::Discard:
        return true;
    case platform::SaveChoice::Cancel:
        return false;
    case platform::SaveChoice::Save:
        break;
    }
    const CommandOutcome saved = project ? saveProject() : createReport();
    return saved.kind == CommandOutcome::Kind::Completed;
}

CommandOutcome MainWindow::loadProject() {
    if (!settleUnsavedEdits())
        return CommandOutcome::cancelled();
    const CommandOutcome outcome = zqar::loadProject(fileSelectionPage);
    if (outcome.kind == CommandOutcome::Kind::Completed)
        markSaved(DocumentKind::Project);
    return outcome;
}

CommandOutcome MainWindow::saveProject() {
    const CommandOutcome outcome = zqar::saveProject(fileSelectionPage);
    if (outcome.kind == CommandOutcome::Kind::Completed)
        markSaved(DocumentKind::Project);
    return outcome;
}

} // namespace zqar
