#include "app/MainWindow.h"

#include "core/data/caseless.h"
#include "pages/layout/projectFile.h"
#include "platform/Host.h"
#include "platform/memory/MemoryDialog.h"
#include "resources/fileTexts.h"
#include "resources/strings.h"
#include "resources/templates.h"

#include <filesystem>

namespace zqar {

const std::array<const char *, 4> MainWindow::TAB_NAMES = {
    text::TAB_DATA_FILTER.data(), text::TAB_MATRIX.data(), text::TAB_GRAPH.data(),
    text::TAB_HELP.data()};

MainWindow::MainWindow(platform::Host &host)
    : fileSelectionPage(*this), dataFilterPage(*this), matrixPage(*this), graphPage(*this),
      statisticsHolder(
          std::make_unique<platform::MemoryDialog>(dialogTemplate(STATISTICS_TEMPLATE))),
      platformHost(host) {
    statisticsHolder->setText(StatisticsControls::ACTIVATION_ENERGY, DEFAULT_ACTIVATION_ENERGY);
}

MainWindow::~MainWindow() = default;

platform::Dialog &MainWindow::statisticsSettings() const { return *statisticsHolder; }

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
}

int MainWindow::tabChanged(int selection) {
    if (selection == TAB_MATRIX)
        matrixPage.showCurrentSet();
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
    if (equalIgnoringCase(extension, "." + std::string(text::PROJECT_EXTENSION)))
        return loadProjectFile(fileSelectionPage, path);
    return dataFilterPage.loadReport(path);
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

platform::Rect MainWindow::tabStripRect(int width, int height) {
    constexpr int margin = 4; // pixels around the tab strip
    return platform::Rect{margin, margin, width - margin, height - margin};
}

platform::Rect MainWindow::pageRect(const platform::Rect &tabItem0, platform::Point tabStripOrigin,
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

} // namespace zqar
