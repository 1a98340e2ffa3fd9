#pragma once
// The main window's logic: it owns the four pages, creates them in their order, switches them
// with the tab strip and does the arithmetic of the page layout. The window itself (tab strip,
// system menu, icon) is the backend's; it calls these operations.

#include "pages/analysis/DataFilterPage.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/presentation/GraphPage.h"
#include "pages/presentation/MatrixPage.h"
#include "platform/Geometry.h"

#include <array>
#include <memory>
#include <string>

namespace zqar {

namespace platform {
class Dialog;
class Host;
} // namespace platform

enum Tab : int { TAB_DATA_FILTER = 0, TAB_MATRIX = 1, TAB_GRAPH = 2, TAB_HELP = 3 };

// System menu commands the window adds; the low four bits of a command are the platform's.
constexpr int SYSTEM_COMMAND_ABOUT = 16;
constexpr int SYSTEM_COMMAND_HELP = 32;

enum class SystemCommandAction {
    ShowAbout, // the shell runs the About box
    Handled,   // done here (help opened)
    Default,   // the platform's own processing (move, size, close, ...)
};

class MainWindow {
public:
    explicit MainWindow(platform::Host &host);
    ~MainWindow();
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    FileSelectionPage fileSelectionPage;
    DataFilterPage dataFilterPage;
    MatrixPage matrixPage;
    GraphPage graphPage;
    int currentTab = TAB_DATA_FILTER;
    // The Statistics window's settings by control id, with no screen of their own: the window
    // shows and edits them, the batch tool's --set writes them, no file stores them.
    platform::Dialog &statisticsSettings() const;

    static const std::array<const char *, 4> TAB_NAMES;
    static constexpr int OUTER_WIDTH = 750; // pixels, set once at start-up
    static constexpr int OUTER_HEIGHT = 600;

    platform::Host &host() const { return platformHost; }

    // Creates the pages in the order Data Filter, Matrix, Graph, File Selection (the File
    // Selection page's Update Layout writes into the Matrix page's lists, so the Matrix page
    // must exist first), hides them all and shows the Data Filter page.
    void initialise();

    // The tab strip's selection changed to selection. Answers the tab that is selected
    // afterwards: the Help tab opens help and gives back the previous tab, which the shell
    // selects again without a further notification.
    int tabChanged(int selection);

    // The help file next to the executable, opened in the platform's help viewer.
    std::string helpFilePath() const;
    void openHelp();

    // A file named on the command line: a project (".ttp", any case) is loaded as Load
    // Project loads it, anything else as Load Report loads a report, each after its file
    // dialog. A file that cannot be used gets that command's message box. Answers that
    // command's outcome.
    CommandOutcome openFile(const std::string &path);

    // A system menu command (low four bits ignored).
    SystemCommandAction systemCommand(int command);

    // Layout for a client size of width x height pixels: the tab strip's rectangle, and the
    // rectangle all four pages share, from tab item 0's rectangle in the tab strip's client
    // coordinates, the tab strip's origin in the window's client coordinates and the size of
    // the tab strip's client area.
    static platform::Rect tabStripRect(int width, int height);
    static platform::Rect pageRect(const platform::Rect &tabItem0, platform::Point tabStripOrigin,
                                   platform::Size tabStripClient);

    // All four pages, in the order they are placed by the layout.
    std::array<platform::Page *, 4> pages();

private:
    std::unique_ptr<platform::Dialog> statisticsHolder;
    platform::Host &platformHost;
};

} // namespace zqar
