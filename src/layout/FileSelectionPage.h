#pragma once
// The File Selection page: the layout settings in its controls, the two serial-number layout
// tables, and the program's data, the logger array and the set list. In this edition the
// window never shows it; reports and projects fill it, and every reader works all the same.

#include "analysis/SetList.h"
#include "data/LoggerArray.h"
#include "platform/CommandOutcome.h"
#include "platform/Page.h"
#include "resources/controlIds.h"

#include <functional>
#include <string_view>

namespace zqar {

class MainWindow;

namespace platform {
class ListView;
}

class FileSelectionPage : public platform::Page, public FileSelectionControls {
public:
    static constexpr int LABEL_COLUMN_WIDTH = 40; // pixels, the singular table's label column
    static constexpr int CELL_COLUMN_WIDTH = 60;

    explicit FileSelectionPage(MainWindow &window);

    MainWindow &window;
    LoggerArray loggerArray;
    SetList setList; // setList.currentSet is the set the graph and the matrix show

    // Default settings, the singular table's columns, then Update Layout.
    void initialise() override;
    // Sizes the logger array from the three counts (every position empty) and shapes both
    // layout tables and the Matrix page's two lists. It always completes; a layout beyond
    // the bounds says so on the status line.
    CommandOutcome updateLayout();
    // Opens the in-place editor over the cell under the cursor. The editor is not part of
    // this edition's page; Load Files calls this after it has filled the tables.
    void pickAtCursor() {}

    platform::ListView &arrayLayoutList();
    platform::ListView &singularLayoutList();

    // Lets the page's other commands (Browse, Load Files, Copy Files, the project file) bind
    // their buttons from their own source files.
    void bindCommand(int id, std::function<void()> handler) { bind(id, std::move(handler)); }
};

// One table pass of Update Layout: shapes a singular list and an array list for the counts,
// with a border ring of `border` cells (0 for the layout tables, 1 for the matrix).
void shapeLayoutTables(platform::ListView &singularList, platform::ListView &arrayList,
                       const ArrayDimensions &counts, int border);

} // namespace zqar
