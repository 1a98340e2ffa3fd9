#pragma once
// The File Selection page: the layout settings in its controls and the two serial-number
// layout tables. Update Layout shapes the job's logger array; Load Files and the project file
// commands place records and fill the tables. The window shows it as the Data Files window;
// reports and projects fill it as well.

#include "core/analysis/dataCheck.h"
#include "core/job/JobSettings.h"
#include "platform/CommandOutcome.h"
#include "platform/Page.h"
#include "resources/controlIds.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace zqar {

class Job;

namespace platform {
class EditBox;
class Host;
class ListView;
} // namespace platform

class FileSelectionPage : public platform::Page, public FileSelectionControls {
public:
    static constexpr int LABEL_COLUMN_WIDTH = 40; // pixels, the singular table's label column
    static constexpr int CELL_COLUMN_WIDTH = 60;

    FileSelectionPage(Job &job, platform::Host &host);
    ~FileSelectionPage() override;

    Job &job;
    platform::Host &host;

    // The page's settings as its controls hold them now.
    LayoutSettings settings() const;

    // Default settings, the singular table's columns, then Update Layout.
    void initialise() override;
    // Sizes the job's logger array from the three counts (every position empty) and shapes
    // both layout tables; the job then tells that the layout changed. It always completes; a
    // layout beyond the bounds says so on the status line.
    CommandOutcome updateLayout();

    // The in-place editor of the layout tables. A pick first commits an open editor into its
    // cell ("-" for an empty text), then, for the cell under the screen point, opens the
    // editor there (a left click with "Use Serial Numbers" checked, or Tab or Enter moving
    // on) or shows the properties of the log file placed there (a right click).
    void pickCell(platform::Point screenPoint);
    // pickCell at the mouse cursor. Load Files calls it first, so a text still in the
    // editor reaches its cell.
    void pickAtCursor();
    // The properties pop-up of array position (row, column), or of singular slot column
    // when row is -1, with what the data check found in the record, or, for a position
    // Load Files left empty, why.
    void showProperties(int row, int column);
    // Flags the table cell of every placed record the data check finds suspect and clears
    // the others. Runs whenever the records, the layout or the data check's settings change
    // (Load Files, Load Report, Update Layout, --set).
    void markSuspects();
    // Marks the table cell of every position Load Files left empty and clears the others;
    // runs with markSuspects.
    void markNotLoaded();
    // Puts the open editor's text into its cell and closes the editor. Update Layout and
    // Save Project start with it: a text left in the editor would otherwise be lost, or land
    // later in a cell that was written since.
    void commitEditor();
    // Tab and Enter move the editor to the next cell; Enter and Escape do nothing else.
    bool keyDown(int key) override;
    int listNotification(int id, platform::ListNotification code) override;

    platform::ListView &arrayLayoutList();
    platform::ListView &singularLayoutList();

    // Lets the page's other commands (Browse, Load Files, Copy Files, the project file) bind
    // their buttons from their own source files.
    void bindCommand(int id, std::function<void()> handler) { bind(id, std::move(handler)); }

private:
    bool opensEditor() const;
    void openEditor(platform::ListView &list, int item, int column);
    // Moves the editor on by Tab or Enter; false in the last cell of its table.
    bool advanceEditor();

    void jobChanged(unsigned what);
    // The settings the data check runs with: the job's, or the defaults while those are
    // wrong (--data-check-csv says what is wrong with them).
    DataCheckSettings checkSettings() const;

    int listening = 0;
    std::optional<DataCheckSettings> markedWith; // the settings of the last markSuspects
    std::unique_ptr<platform::EditBox> editor;
    platform::ListView *editedList = nullptr;
    int editedRow = 0;
    int editedColumn = 0;
    bool picking = false;         // a pick is running; the focus changes it makes call back
    bool keyboardAdvance = false; // Tab or Enter is moving the editor on
};

// One table pass of Update Layout: shapes a singular list and an array list for the counts,
// with a border ring of `border` cells (0 for the layout tables, 1 for the matrix).
void shapeLayoutTables(platform::ListView &singularList, platform::ListView &arrayList,
                       const ArrayDimensions &counts, int border);

} // namespace zqar
