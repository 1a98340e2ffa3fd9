#include "app/MainWindow.h"

#include "core/analysis/TemperatureSet.h"
#include "core/data/caseless.h"
#include "pages/layout/importCommands.h"
#include "pages/layout/logFileCommands.h"
#include "pages/layout/projectFile.h"
#include "platform/DrawingContext.h"
#include "platform/Host.h"
#include "resources/fileTexts.h"
#include "resources/strings.h"

#include <filesystem>

namespace zqar {

const std::array<const char *, 4> WindowLayout::TAB_NAMES = {
    text::TAB_DATA_FILTER.data(), text::TAB_MATRIX.data(), text::TAB_GRAPH.data(),
    text::TAB_HELP.data()};

MainWindow::MainWindow(platform::Host &host)
    : fileSelectionPage(job, host), dataFilterPage(job, host),
      matrixPage(job, host, [this] { return settings(); }),
      graphPage(job, host, [this] { return settings(); }), platformHost(host) {
    fileSelectionPage.bind(FileSelectionPage::LOAD_FILES, [this] { loadFiles(); });
    fileSelectionPage.bind(FileSelectionPage::LOAD_PROJECT, [this] { loadProject(); });
    fileSelectionPage.bind(FileSelectionPage::SAVE_PROJECT, [this] { saveProject(); });
    dataFilterPage.bind(DataFilterPage::LOAD_REPORT, [this] {
        if (settleUnsavedEdits())
            loadReport();
    });
    dataFilterPage.bind(DataFilterPage::CREATE_REPORT, [this] { createReport(); });
    job.listen([this](const JobChange &change) { jobChanged(change); });
    // Edits typed before a command are a step of their own, and so is what the command
    // changed (Update Layout's new dimensions).
    for (platform::Page *page : pages()) {
        page->observeCommands(
            [this](int) {
                recordChanges();
                noteEdits();
            },
            [this](int) { noteEdits(); });
        page->observeEdits([this](int) { noteEdits(); });
    }
}

MainWindow::~MainWindow() = default;

void MainWindow::jobChanged(const JobChange &change) {
    if (change.touches(JobChange::LAYOUT) && matrixPage.isCreated())
        shapeLayoutTables(matrixPage.singularList(), matrixPage.arrayList(),
                          job.loggerArray.dimensions(), 1);
    // The page on show follows new sets at once; the others catch up when their tab is chosen.
    // A new map check threshold changes the graph's marks.
    if (change.touches(JobChange::SETS | JobChange::SETTINGS) && currentTab == TAB_GRAPH &&
        graphPage.isCreated())
        graphPage.showCurrentSet();
    // Edits cannot be undone past a job filled from files: the records would not follow.
    if (change.touches(JobChange::OPENED)) {
        countChangesFromHere();
        editHistory.reset(currentEdits());
    }
    if (change.touches(JobChange::CALIBRATION))
        recalculateSets();
}

void MainWindow::recalculateSets() {
    const TemperatureSet *first = job.setList.at(0);
    if (!first || !dataFilterPage.isCreated())
        return;
    // The calculation the sets came from, with the Data Filter settings as they are now; the
    // set on show stays the one at its place. It follows a change that is done already, so it
    // cannot be cancelled: sets of the old readings would stay beside the new table.
    const int shown = job.setList.currentSet;
    platform::SilentProgress uncancelled;
    const CommandOutcome outcome = first->span > 0.0 ? dataFilterPage.calculateAveraged(uncancelled)
                                                     : dataFilterPage.calculateAtTime();
    if (outcome.kind == CommandOutcome::Kind::Completed && shown < job.setList.count())
        showSet(shown);
}

void MainWindow::initialise() {
    currentTab = TAB_DATA_FILTER;
    platformHost.createPage(dataFilterPage);
    platformHost.createPage(matrixPage);
    platformHost.createPage(graphPage);
    platformHost.createPage(fileSelectionPage);
    platformHost.showPage(dataFilterPage, false);
    platformHost.showPage(matrixPage, false);
    platformHost.showPage(graphPage, false);
    platformHost.showPage(fileSelectionPage, false);
    platformHost.showPage(dataFilterPage, true);
    countChangesFromHere();
    editHistory.reset(currentEdits());
    savedEdits = editHistory.current();
}

int MainWindow::tabChanged(int selection) {
    if (selection == TAB_MATRIX)
        matrixPage.showCurrentSet();
    if (selection == TAB_GRAPH)
        graphPage.showCurrentSet();
    if (selection == TAB_HELP) {
        openHelp();
        selection = currentTab;
    }
    // Anything the tab strip should never report is taken as the first tab rather than
    // leaving every page hidden.
    if (selection < TAB_DATA_FILTER || selection > TAB_GRAPH)
        selection = TAB_DATA_FILTER;
    platformHost.showPage(dataFilterPage, selection == TAB_DATA_FILTER);
    platformHost.showPage(matrixPage, selection == TAB_MATRIX);
    platformHost.showPage(graphPage, selection == TAB_GRAPH);
    currentTab = selection;
    return selection;
}

std::string MainWindow::helpFilePath() const {
    return platformHost.executableDirectory() + "/" + std::string(text::HELP_FILE_NAME);
}

void MainWindow::openHelp() { platformHost.showHelp(helpFilePath()); }

CommandOutcome MainWindow::openFile(const std::string &path) {
    const std::string extension = std::filesystem::path(path).extension().string();
    if (!settleUnsavedEdits())
        return CommandOutcome::cancelled();
    if (!equalIgnoringCase(extension, "." + std::string(text::PROJECT_EXTENSION)))
        return loadReport(path);
    const CommandOutcome outcome = loadProjectFile(fileSelectionPage, path);
    if (outcome.kind == CommandOutcome::Kind::Completed)
        markSaved(DocumentKind::Project);
    return outcome;
}

SystemCommandAction MainWindow::systemCommand(int command) {
    switch (command & ~0xF) {
    case SYSTEM_COMMAND_ABOUT:
        return SystemCommandAction::ShowAbout;
    case SYSTEM_COMMAND_HELP:
        openHelp();
        return SystemCommandAction::Handled;
    default:
        return SystemCommandAction::Default;
    }
}

platform::Rect WindowLayout::tabStripRect(int width, int height) {
    constexpr int margin = 4; // pixels around the tab strip
    return platform::Rect{margin, margin, width - margin, height - margin};
}

platform::Rect WindowLayout::pageRect(const platform::Rect &tabItem0,
                                      platform::Point tabStripOrigin,
                                      platform::Size tabStripClient) {
    // P is converted into the window's coordinates but then added to the tab strip's client
    // origin (0, 0), not to the strip's position: the page lands at P in the window.
    const int px = tabItem0.left + tabStripOrigin.x;
    const int py = tabItem0.bottom + 8 + tabStripOrigin.y;
    const int left = px;
    const int top = py;
    return platform::Rect{left, top, left + tabStripClient.width - 2 * px,
                          top + tabStripClient.height - py - 10};
}

std::array<platform::Page *, 4> MainWindow::pages() {
    return {&fileSelectionPage, &dataFilterPage, &matrixPage, &graphPage};
}

platform::Page &MainWindow::tabPage(int tab) {
    switch (tab) {
    case TAB_MATRIX:
        return matrixPage;
    case TAB_GRAPH:
        return graphPage;
    default:
        return dataFilterPage;
    }
}

void MainWindow::drawGraph(platform::DrawingContext &dc, int width, int height) {
    dc.fillRect(platform::Rect{0, 0, width, height}, platform::WHITE);
    graphPage.drawContourGraph(dc, 0, 0, width, height);
}

JobView MainWindow::jobView() {
    return JobView{job,
                   platformHost,
                   [this] { return settings(); },
                   [this](int index) { showSet(index); },
                   [this] { return manifestSettingsText(); },
                   [this] { recordChanges(); },
                   [this] { noteEdits(); }};
}

JobSettings MainWindow::settings() const {
    JobSettings settings;
    if (fileSelectionPage.isCreated())
        settings.layout = fileSelectionPage.settings();
    if (dataFilterPage.isCreated())
        settings.dataFilter = dataFilterPage.settings();
    return settings;
}

SettingPlaces MainWindow::settingPlaces() {
    return SettingPlaces{fileSelectionPage.dialog(), dataFilterPage.dialog(), job};
}

CommandOutcome MainWindow::loadFiles(unsigned threads) {
    LoadFilesOptions options;
    options.singularAsText =
        dataFilterPage.isCreated() && dataFilterPage.settings().showSingularAsText;
    options.threads = threads;
    const LoadFilesResult result = zqar::loadFiles(fileSelectionPage, options);
    if (result.outcome.kind == CommandOutcome::Kind::Cancelled)
        return result.outcome;
    matrixPage.disableNavigation();
    graphPage.disableNavigation();
    if (result.prefill && dataFilterPage.isCreated())
        dataFilterPage.applyPrefill(*result.prefill);
    job.reportPath.clear();
    job.reportDigest = FileDigest{};
    job.changed(JobChange::OPENED);
    return result.outcome;
}

CommandOutcome MainWindow::importFiles(const std::vector<std::string> &paths, unsigned threads) {
    ImportFilesOptions options;
    options.singularAsText =
        dataFilterPage.isCreated() && dataFilterPage.settings().showSingularAsText;
    options.threads = threads;
    const ImportFilesResult result = zqar::importFiles(fileSelectionPage, paths, options);
    if (result.prefill) {
        matrixPage.disableNavigation();
        graphPage.disableNavigation();
        if (dataFilterPage.isCreated())
            dataFilterPage.applyPrefill(*result.prefill);
        // The records no longer all come from a report: each names its own file now.
        job.reportPath.clear();
        job.reportDigest = FileDigest{};
        job.changed(JobChange::OPENED);
    }
    return result.outcome;
}

void MainWindow::showSet(int index) {
    // The same path as the set buttons: each page shows the set and writes its status line.
    graphPage.navigator.moveTo(index);
    matrixPage.navigator.moveTo(index);
}

} // namespace zqar

namespace zqar {

std::unique_ptr<WindowCommands> makeMainWindow(platform::Host &host) {
    return std::make_unique<MainWindow>(host);
}

} // namespace zqar
