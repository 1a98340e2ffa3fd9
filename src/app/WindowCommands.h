#pragma once
// What the window shell asks of the program: start-up, the tab strip, the menu commands and
// the page layout. MainWindow answers it; the shell and its secondary windows know nothing
// else of it.

#include "pages/JobView.h"
#include "platform/CommandOutcome.h"
#include "platform/Geometry.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace zqar {

namespace platform {
class DrawingContext;
class Host;
class Page;
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

// The tab strip's names, the window's size at start-up and the arithmetic of the page layout.
struct WindowLayout {
    static const std::array<const char *, 4> TAB_NAMES;
    static constexpr int OUTER_WIDTH = 750; // pixels, set once at start-up
    static constexpr int OUTER_HEIGHT = 600;

    // Layout for a client size of width x height pixels: the tab strip's rectangle, and the
    // rectangle all four pages share, from tab item 0's rectangle in the tab strip's client
    // coordinates, the tab strip's origin in the window's client coordinates and the size of
    // the tab strip's client area.
    static platform::Rect tabStripRect(int width, int height);
    static platform::Rect pageRect(const platform::Rect &tabItem0, platform::Point tabStripOrigin,
                                   platform::Size tabStripClient);
};

class WindowCommands {
public:
    virtual ~WindowCommands() = default;

    // Creates the pages and shows the Data Filter page.
    virtual void initialise() = 0;
    // The tab strip's selection changed; answers the tab selected afterwards (the Help tab
    // opens help and gives back the previous tab).
    virtual int tabChanged(int selection) = 0;
    virtual int selectedTab() const = 0;
    virtual SystemCommandAction systemCommand(int command) = 0;
    // A file named on the command line: a project or a report.
    virtual CommandOutcome openFile(const std::string &path) = 0;
    // All four pages, in the order they are placed by the layout.
    virtual std::array<platform::Page *, 4> pages() = 0;
    // The page a tab shows, TAB_DATA_FILTER to TAB_GRAPH.
    virtual platform::Page &tabPage(int tab) = 0;
    // The Graph tab's picture of the current set at width x height pixels, as it prints.
    virtual void drawGraph(platform::DrawingContext &dc, int width, int height) = 0;
    // The page the Data Files window shows.
    virtual platform::Page &dataFilesPage() = 0;
    // "Save Report...": the Data Filter page's Create Report.
    virtual CommandOutcome saveReport() = 0;
    // "Import Files...": the files chosen, imported with the job's import settings.
    virtual CommandOutcome importFiles(const std::vector<std::string> &paths) = 0;
    // The job and the settings, for the analysis windows.
    virtual JobView jobView() = 0;

    // Undo and Redo of the edits of the layout and of every setting (Ctrl+Z, Ctrl+Y): the
    // controls, the tables and the job as they were. Each answers whether it put a state back.
    virtual bool undo() = 0;
    virtual bool redo() = 0;
    virtual bool canUndo() const = 0;
    virtual bool canRedo() const = 0;
    // Takes what the user changed since the last step as a step of its own.
    virtual void noteEdits() = 0;
    // Before the edits are let go (the window closes, a report or project is loaded): when
    // some are not saved, asks to save them. Answers whether to go on: false when the user
    // cancelled, or the save did not complete.
    virtual bool settleUnsavedEdits() = 0;
};

// The program's main window on a host.
std::unique_ptr<WindowCommands> makeMainWindow(platform::Host &host);

} // namespace zqar
