#pragma once
// The main window's logic and the program's composition root: it owns the job and the four
// pages, creates them in their order, switches them with the tab strip, and wires what
// crosses pages (Update Layout reshapes the Matrix lists, Load Files fills the Data Filter's
// span, a report fills every page, a new calibration table calculates the sets again). The
// window itself (tab strip, menu, icon) is the backend's; it calls these operations through
// WindowCommands.

#include "app/WindowCommands.h"
#include "core/job/EditHistory.h"
#include "core/job/Job.h"
#include "pages/analysis/DataFilterPage.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/settingValues.h"
#include "pages/layout/settings.h"
#include "pages/presentation/GraphPage.h"
#include "pages/presentation/MatrixPage.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zqar {

struct RecordedInputs;

class MainWindow : public WindowCommands {
public:
    explicit MainWindow(platform::Host &host);
    ~MainWindow() override;
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    Job job;
    FileSelectionPage fileSelectionPage;
    DataFilterPage dataFilterPage;
    MatrixPage matrixPage;
    GraphPage graphPage;
    int currentTab = TAB_DATA_FILTER;

    platform::Host &host() const { return platformHost; }

    // Creates the pages in the order Data Filter, Matrix, Graph, File Selection (the File
    // Selection page's Update Layout shapes the Matrix page's lists, so the Matrix page must
    // exist first), hides them all and shows the Data Filter page.
    void initialise() override;
    int tabChanged(int selection) override;
    int selectedTab() const override { return currentTab; }

    // The help file next to the executable, opened in the platform's help viewer.
    std::string helpFilePath() const;
    void openHelp();

    // A project (".ttp", any case) is loaded as Load Project loads it, anything else as Load
    // Report loads a report, each after its file dialog. A file that cannot be used gets that
    // command's message box. Answers that command's outcome.
    CommandOutcome openFile(const std::string &path) override;
    // A system menu command (low four bits ignored).
    SystemCommandAction systemCommand(int command) override;

    std::array<platform::Page *, 4> pages() override;
    platform::Page &dataFilesPage() override { return fileSelectionPage; }
    platform::Page &tabPage(int tab) override;
    void drawGraph(platform::DrawingContext &dc, int width, int height) override;
    CommandOutcome saveReport() override { return createReport(); }
    JobView jobView() override;

    // Every page's settings as their controls hold them now.
    JobSettings settings() const;
    SettingPlaces settingPlaces();

    // Load Files with the Data Filter page's settings, then the Data Filter page prefilled.
    CommandOutcome loadFiles(unsigned threads = 0);
    // Import with the Data Filter page's settings: the records of the files placed beside the
    // others, the Data Filter page prefilled from all of them, the sets dropped.
    CommandOutcome importFiles(const std::vector<std::string> &paths) override {
        return importFiles(paths, 0);
    }
    CommandOutcome importFiles(const std::vector<std::string> &paths, unsigned threads);
    // Load Report: its file dialog, then the report's settings into both pages (Update Layout
    // between them), its records into the job and the averaged calculation, whose outcome it
    // answers. A report that cannot be read leaves everything as it was.
    CommandOutcome loadReport();
    CommandOutcome loadReport(const std::string &path);
    // Create Report: the save dialog, then the settings and the records into a report file,
    // in a folder named after it when the file is new.
    CommandOutcome createReport();
    // Makes a set current on the Graph and Matrix pages, as their set buttons do.
    void showSet(int index);

    // The settings and the layout cells as the pages and the job hold them now.
    std::vector<SettingValue> currentSettingValues(SettingChoice choice);
    // What a report's manifest records of them: the text of those that change a figure,
    // followed by the job's alarm rules, exclusions, events and excluded phases (or the inputs
    // given).
    std::string manifestSettingsText();
    std::string manifestSettingsText(const RecordedInputs &inputs);
    // The change log: every setting and cell that differs from what the last command saw is
    // appended to the job's log, with one reason for them all (changeReason when given; else
    // asked for in a controlled study, and empty otherwise). Every page command runs it
    // first, the batch tool after each option; commands that fill the job from files (Load
    // Project, Load Files, Load Report) count from what they leave.
    void recordChanges();
    void countChangesFromHere();
    std::optional<std::string> changeReason;

    bool undo() override;
    bool redo() override;
    bool canUndo() const override { return editHistory.canUndo(); }
    bool canRedo() const override { return editHistory.canRedo(); }
    void noteEdits() override;
    // Whether the layout or a setting a report or a project keeps differs from what the last
    // Load or Save of either left.
    bool hasUnsavedEdits();
    bool settleUnsavedEdits() override;
    // Load Project and Save Project as their buttons run them: Load asks about unsaved edits
    // first; both leave the edits saved when they complete.
    CommandOutcome loadProject();
    CommandOutcome saveProject();

private:
    // What Load Report replaces before its calculation runs: every setting and cell, the
    // records, sets and exclusions, where the records came from, the change log, the status
    // lines and what the change log counts from. A cancelled calculation puts it all back.
    struct Snapshot;
    std::unique_ptr<Snapshot> takeSnapshot();
    void restoreSnapshot(Snapshot &snapshot);

    enum class DocumentKind { None, Report, Project };
    EditState currentEdits();
    // The present edits are what the file holds now; Save writes that kind next time.
    void markSaved(DocumentKind kind);
    // Puts a state of the history back, with the history deaf to the edits that makes.
    void restoreEdits(const EditState &state);
    // Undo (back) or Redo: the state the history answers, put back.
    bool stepThroughHistory(bool back);

    EditHistory editHistory;
    EditState savedEdits;
    DocumentKind savedKind = DocumentKind::None;
    bool restoring = false; // a state is being put back

    void jobChanged(const JobChange &change);
    // A new calibration table (or none) makes the sets of the raw or the old readings wrong:
    // they are calculated again as they were made, averaged or at one time.
    void recalculateSets();

    std::vector<SettingValue> recordedValues; // as the last command saw them
    bool recording = false;                   // the reason dialog is open

    platform::Host &platformHost;
};

} // namespace zqar
