#pragma once
// A report-style list view addressed by item (row) and sub-item (column), both from 0, as the
// pages use it. ListModel holds the texts and column widths; the Qt backend shows one.

#include "platform/Geometry.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar::platform {

enum class Align { Left, Centre, Right };

struct ListColumn {
    std::string heading;
    Align align = Align::Left;
    int width = 0; // pixels
};

class ListView {
public:
    virtual ~ListView() = default;
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
    virtual int columnCount() const = 0;
    virtual bool columnExists(int column) const = 0;
    virtual void deleteColumn(int column) = 0;
    virtual void insertColumn(int column, std::string_view heading, Align align, int width) = 0;
    virtual const ListColumn *column(int column) const = 0;
    // The cell's bounds in the list's client coordinates; none for a missing cell.
    virtual std::optional<Rect> cellRect(int item, int subItem) const = 0;
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
    int columnCount() const override { return static_cast<int>(columns.size()); }
    bool columnExists(int column) const override;
    void deleteColumn(int column) override;
    void insertColumn(int column, std::string_view heading, Align align, int width) override;
    const ListColumn *column(int column) const override;
    std::optional<Rect> cellRect(int item, int subItem) const override;

    // Called after every change, so that a view can follow.
    std::function<void()> onChange;

private:
    void changed() {
        if (onChange)
            onChange();
    }
    std::vector<ListColumn> columns;
    std::vector<std::vector<std::string>> rows; // each row holds one text per sub-item set
    std::vector<std::vector<bool>> muted;       // per row, as far as a cell was ever muted
};

} // namespace zqar::platform
