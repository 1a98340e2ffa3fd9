#pragma once
// A report-style list view addressed by item (row) and sub-item (column), both from 0, as the
// pages use it. ListModel holds the texts and column widths; the Qt backend shows one.

#include "platform/Geometry.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar::platform {

class EditBox;

struct ListColumn {
    std::string heading;
    Align align = Align::Left;
    int width = 0; // pixels
};

// What a list's window adds to its texts: where the cells are and the edit boxes over them.
class ListWindow {
public:
    virtual ~ListWindow() = default;
    // The cell's bounds in the list's client coordinates; none for a missing cell.
    virtual std::optional<Rect> cellRect(int item, int subItem) const = 0;
    // Points between the list's client coordinates and the screen's.
    virtual Point clientToScreen(Point client) const = 0;
    virtual Point screenToClient(Point screen) const = 0;
    // The size of the client area, the part of the cells the user can see. Cell rectangles
    // reach beyond it where the list is scrolled or too small for its table.
    virtual Size clientSize() const = 0;
    // Scrolls the list so that the cell can be seen, as far as the list can scroll.
    virtual void ensureVisible(int item, int subItem) = 0;
    // A borderless single-line edit box with control id `id`, a child of the list placed on
    // `rect` (client coordinates), not yet shown. None where the list has no window.
    virtual std::unique_ptr<EditBox> createEditBox(int id, const Rect &rect) = 0;
};

// The texts of a list and its columns, and, through ListWindow, its cells on the screen.
class ListView : public ListWindow {
public:
    virtual int itemCount() const = 0;
    virtual void deleteItem(int item) = 0;
    // Inserts at the index; an index at or beyond the count appends. Returns the new index.
    virtual int insertItem(int item, std::string_view text) = 0;
    virtual void setItemText(int item, int subItem, std::string_view text) = 0;
    // Empty for a missing item or sub-item.
    virtual std::string itemText(int item, int subItem) const = 0;
    // A muted cell shows its text in a paler colour, for a value that is an estimate; the
    // text itself, and with it every copy, export and printout, stays as it is.
    virtual void setItemMuted(int item, int subItem, bool muted) = 0;
    virtual bool isItemMuted(int item, int subItem) const = 0;
    // A flagged cell stands out in a warning colour, for a logger whose readings the user
    // should look at; like muting, it changes nothing of the text.
    virtual void setItemFlagged(int item, int subItem, bool flagged) = 0;
    virtual bool isItemFlagged(int item, int subItem) const = 0;
    // A missing cell stands for a position whose log file did not load: it looks set apart
    // from the loaded ones, and keeps its text like the other marks.
    virtual void setItemMissing(int item, int subItem, bool missing) = 0;
    virtual bool isItemMissing(int item, int subItem) const = 0;
    virtual int columnCount() const = 0;
    virtual bool columnExists(int column) const = 0;
    virtual void deleteColumn(int column) = 0;
    virtual void insertColumn(int column, std::string_view heading, Align align, int width) = 0;
    virtual const ListColumn *column(int column) const = 0;
};

// The texts of a list and its columns, with no view. The in-memory backend uses it as it is;
// the Qt backend keeps one and mirrors every change into its widget through onChange.
class ListModel : public ListView {
public:
    static constexpr int ROW_HEIGHT = 17; // pixels, as the list's font gives it

    int itemCount() const override { return static_cast<int>(rows.size()); }
    void deleteItem(int item) override;
    int insertItem(int item, std::string_view text) override;
    void setItemText(int item, int subItem, std::string_view text) override;
    std::string itemText(int item, int subItem) const override;
    void setItemMuted(int item, int subItem, bool muted) override;
    bool isItemMuted(int item, int subItem) const override;
    void setItemFlagged(int item, int subItem, bool flagged) override;
    bool isItemFlagged(int item, int subItem) const override;
    void setItemMissing(int item, int subItem, bool missing) override;
    bool isItemMissing(int item, int subItem) const override;
    int columnCount() const override { return static_cast<int>(columns.size()); }
    bool columnExists(int column) const override;
    void deleteColumn(int column) override;
    void insertColumn(int column, std::string_view heading, Align align, int width) override;
    const ListColumn *column(int column) const override;
    // Without a window, cells are laid out from the column widths and ROW_HEIGHT, client and
    // screen coordinates are the same, the client area holds every cell, and no edit box can
    // be made.
#include "platform/ListWindowOverrides.inc"
    void setWindow(ListWindow *listWindow) { window = listWindow; }
    // The cell's bounds from the column widths and ROW_HEIGHT, with no scrolling.
    std::optional<Rect> layoutCellRect(int item, int subItem) const;

    // Called after every change, so that a view can follow.
    std::function<void()> onChange;

private:
    // The bits of a cell's marks.
    static constexpr unsigned char MUTED = 1;
    static constexpr unsigned char FLAGGED = 2;
    static constexpr unsigned char MISSING = 4;

    void changed() {
        if (onChange)
            onChange();
    }
    void setMark(int item, int subItem, unsigned char mark, bool set);
    bool hasMark(int item, int subItem, unsigned char mark) const;

    ListWindow *window = nullptr;
    std::vector<ListColumn> columns;
    std::vector<std::vector<std::string>> rows; // each row holds one text per sub-item set
    // Per row, as far as a cell was ever marked: MUTED, FLAGGED and MISSING bits.
    std::vector<std::vector<unsigned char>> marks;
};

} // namespace zqar::platform
