// Editing the layout tables in place, and the properties of the log file at a position.

#include "pages/layout/FileSelectionPage.h"

#include "core/job/Job.h"
#include "pages/layout/notLoaded.h"
#include "platform/EditBox.h"
#include "platform/Host.h"
#include "platform/ListView.h"
#include "resources/analysisTexts.h"
#include "resources/strings.h"

namespace zqar {

using platform::ListNotification;
using platform::Point;
using platform::Rect;

FileSelectionPage::~FileSelectionPage() { job.stopListening(listening); }

void FileSelectionPage::pickAtCursor() { pickCell(host.cursorPosition()); }

bool FileSelectionPage::opensEditor() const {
    return keyboardAdvance || ((host.mouseButtons() & platform::MOUSE_LEFT) != 0 &&
                               dialog().isChecked(USE_SERIAL_NUMBERS));
}

namespace {

// A point over a cell counts only where the list shows it: a wide array table's cells reach
// on beyond its right edge, under the singular table.
bool shows(const platform::ListView &list, Point client) {
    const platform::Size area = list.clientSize();
    return Rect{0, 0, area.width, area.height}.contains(client);
}

} // namespace

void FileSelectionPage::pickCell(Point screenPoint) {
    // The focus changes below make the lists notify, and the notifications pick again.
    if (picking)
        return;
    picking = true;
    commitEditor();
    const auto rightDown = [this] { return (host.mouseButtons() & platform::MOUSE_RIGHT) != 0; };

    platform::ListView &array = arrayLayoutList();
    const Point arrayPoint = array.screenToClient(screenPoint);
    bool opened = false;
    for (int r = 1; r < array.itemCount() && !opened && shows(array, arrayPoint); ++r) {
        for (int c = 1;; ++c) {
            const std::optional<Rect> cell = array.cellRect(r, c);
            if (!cell || cell->left == cell->right)
                break;
            if (!cell->contains(arrayPoint))
                continue;
            if (opensEditor()) {
                openEditor(array, r, c);
                opened = true;
                break;
            }
            if (rightDown()) {
                showProperties(r - 1, c - 1);
                dialog().setFocus(ARRAY_LAYOUT_LIST);
            }
        }
    }

    platform::ListView &singular = singularLayoutList();
    const Point singularPoint = singular.screenToClient(array.clientToScreen(arrayPoint));
    for (int i = 0; !editor && i < singular.itemCount() && shows(singular, singularPoint); ++i) {
        const std::optional<Rect> cell = singular.cellRect(i, 1);
        if (!cell || !cell->contains(singularPoint))
            continue;
        if (opensEditor()) {
            openEditor(singular, i, 1);
            break;
        }
        if (rightDown()) {
            showProperties(-1, i);
            dialog().setFocus(SINGULAR_LAYOUT_LIST);
        }
    }
    picking = false;
}

void FileSelectionPage::commitEditor() {
    if (!editor || !editedList)
        return;
    std::string typed = editor->text();
    if (typed.empty())
        typed = text::NO_LOGGER;
    editedList->setItemText(editedRow, editedColumn, typed);
    editor.reset();
    editedList = nullptr;
    edited(CELL_EDITOR);
}

void FileSelectionPage::openEditor(platform::ListView &list, int item, int column) {
    const std::optional<Rect> cell = list.cellRect(item, column);
    if (!cell)
        return;
    std::unique_ptr<platform::EditBox> box = list.createEditBox(CELL_EDITOR, *cell);
    if (!box)
        return;
    editedList = &list;
    editedRow = item;
    editedColumn = column;
    const std::string current = list.itemText(item, column);
    box->setText(current == text::NO_LOGGER ? std::string_view() : std::string_view(current));
    editor = std::move(box);
    editor->show();
    editor->setFocus();
}

bool FileSelectionPage::advanceEditor() {
    // Only data cells are 60 pixels wide: the singular table's label column is 40.
    const auto dataCell = [this](int item, int column) -> std::optional<Rect> {
        const std::optional<Rect> cell = editedList->cellRect(item, column);
        if (cell && cell->width() == CELL_COLUMN_WIDTH)
            return cell;
        return std::nullopt;
    };
    int item = editedRow;
    int column = editedColumn + 1;
    std::optional<Rect> target = dataCell(item, column);
    if (!target) {
        item = editedRow + 1;
        column = 1;
        target = dataCell(item, column);
    }
    if (!target)
        return false;
    // The next cell may lie beyond what the list shows; bring it into view and measure again.
    editedList->ensureVisible(item, column);
    target = editedList->cellRect(item, column);
    if (!target)
        return false;
    const Point centre{(target->left + target->right) / 2, (target->top + target->bottom) / 2};
    keyboardAdvance = true;
    pickCell(editedList->clientToScreen(centre));
    keyboardAdvance = false;
    return true;
}

bool FileSelectionPage::keyDown(int key) {
    using platform::KEY_ESCAPE;
    using platform::KEY_RETURN;
    using platform::KEY_TAB;
    if ((key == KEY_TAB || key == KEY_RETURN) && editor && editedList) {
        if (advanceEditor())
            return true;
        // The last cell of a table: Tab goes on to the dialog; Enter never presses a button.
        return key == KEY_RETURN;
    }
    return key == KEY_RETURN || key == KEY_ESCAPE;
}

int FileSelectionPage::listNotification(int id, ListNotification code) {
    if (id != ARRAY_LAYOUT_LIST && id != SINGULAR_LAYOUT_LIST)
        return 0;
    // A right click moves the focus before the list tells of the click. The focus changes
    // then only commit the editor: the click's own pick shows the properties, once.
    const bool rightClicking = (host.mouseButtons() & platform::MOUSE_RIGHT) != 0;
    const auto pick = [this, rightClicking] {
        if (rightClicking) {
            if (!picking)
                commitEditor();
        } else {
            pickAtCursor();
        }
    };
    switch (code) {
    case ListNotification::Click:
    case ListNotification::SetFocus:
        // The list itself must not keep the focus; the editor takes it if one opens.
        dialog().setFocus(USE_SERIAL_NUMBERS);
        pick();
        break;
    case ListNotification::KillFocus:
        // The array list loses the focus to its own editor whenever one opens.
        if (id == SINGULAR_LAYOUT_LIST || (editor && editedList && !editor->hasFocus()))
            pick();
        break;
    case ListNotification::RightClick:
        pickAtCursor();
        break;
    }
    return 0;
}

void FileSelectionPage::showProperties(int row, int column) {
    const LogFile *file = job.loggerArray.at(row, column);
    if (!file) {
        std::string shown(text::FILE_NOT_LOADED);
        if (const EmptyPosition *why = job.loggerArray.whyEmpty(row, column))
            shown += "\r\n" + notLoadedText(*why);
        dialog().messageBox(shown, std::string(text::PROPERTIES_CAPTION));
        return;
    }
    std::string shown = file->propertiesText();
    const std::vector<Suspect> suspects = checkRecord(*file, checkSettings());
    if (!suspects.empty()) {
        shown += std::string(text::SUSPECTS_HEADING) + "\r\n";
        for (const Suspect &suspect : suspects)
            shown += suspectText(suspect) + "\r\n";
    }
    dialog().messageBox(shown, std::string(text::PROPERTIES_CAPTION));
}

} // namespace zqar
