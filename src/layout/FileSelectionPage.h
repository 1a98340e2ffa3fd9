#pragma once
// The File Selection page: the layout settings in its controls, the two serial-number layout
// tables, and the program's data, the logger array and the set list. In this edition the
// window never shows it; reports and projects fill it, and every reader works all the same.

#include "analysis/SetList.h"
#include "data/LoggerArray.h"
#include "platform/CommandOutcome.h"
#include "platform/Page.h"

#include <functional>
#include <string_view>

namespace zqar {

class MainWindow;

namespace platform {
class ListView;
}

class FileSelectionPage : public platform::Page {
public:
    enum Control : int {
        USE_SERIAL_NUMBERS = 1001,
        USE_COMMENT_FIELD = 1002,
        ARRAY_LAYOUT_LIST = 1003,
        ARRAY_LAYOUT_LABEL = 1004,
        STATUS = 1005,
        BROWSE = 1006,
        SINGULAR_LAYOUT_LIST = 1007,
        SINGULAR_LAYOUT_LABEL = 1008,
        UPDATE_LAYOUT = 1009,
        LOGGERS_ON_BOUNDARY = 1016,
        LOAD_FILES = 1027,
        COPY_FILES = 1028,
        LOAD_PROJECT = 1029,
        SAVE_PROJECT = 1030,
        DIRECTORY = 1123,
        NUMBER_OF_ROWS = 1153,
        ROW_SPACING = 1154,
        NUMBER_OF_COLUMNS = 1155,
        NUMBER_OF_SINGULAR = 1156,
        COLUMN_SPACING = 1157,
        PROJECT_NUMBER = 1158,
        PROJECT_DESCRIPTION = 1159,
        PROJECT_DATE = 1160,
    };

    static constexpr int LABEL_COLUMN_WIDTH = 40; // pixels, the singular table's label column
    static constexpr int CELL_COLUMN_WIDTH = 60;

    explicit FileSelectionPage(MainWindow &window);

    MainWindow &window;
    LoggerArray loggerArray;
    SetList setList; // setList.currentSet is the set the graph and the matrix show

    // Default settings, the singular table's columns, then Update Layout.
    void initialise() override;
    // Sizes the logger array from the three counts (every position empty) and shapes both
    // layout tables and the Matrix page's two lists. It always completes.
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
