#include "platform/ListView.h"

#include "core/data/TextField.h"
#include "platform/EditBox.h"

#include <algorithm>

namespace zqar::platform {

void ListModel::deleteItem(int item) {
    if (item < 0 || item >= itemCount())
        return;
    rows.erase(rows.begin() + item);
    marks.erase(marks.begin() + item);
    changed();
}

int ListModel::insertItem(int item, std::string_view text) {
    if (item < 0 || item > itemCount())
        item = itemCount();
    rows.insert(rows.begin() + item, std::vector<std::string>{cutText(text)});
    marks.insert(marks.begin() + item, std::vector<unsigned char>());
    changed();
    return item;
}

void ListModel::setItemText(int item, int subItem, std::string_view text) {
    if (item < 0 || item >= itemCount() || subItem < 0)
        return;
    if (subItem > 0 && subItem >= columnCount())
        return;
    auto &row = rows[static_cast<std::size_t>(item)];
    if (row.size() <= static_cast<std::size_t>(subItem))
        row.resize(static_cast<std::size_t>(subItem) + 1);
    row[static_cast<std::size_t>(subItem)] = cutText(text);
    changed();
}

std::string ListModel::itemText(int item, int subItem) const {
    if (item < 0 || item >= itemCount() || subItem < 0)
        return std::string();
    const auto &row = rows[static_cast<std::size_t>(item)];
    if (static_cast<std::size_t>(subItem) >= row.size())
        return std::string();
    return row[static_cast<std::size_t>(subItem)];
}

void ListModel::setMark(int item, int subItem, unsigned char mark, bool set) {
    if (item < 0 || item >= itemCount() || subItem < 0 || subItem >= std::max(columnCount(), 1))
        return;
    auto &row = marks[static_cast<std::size_t>(item)];
    if (row.size() <= static_cast<std::size_t>(subItem)) {
        if (!set)
            return;
        row.resize(static_cast<std::size_t>(subItem) + 1);
    }
    unsigned char &cell = row[static_cast<std::size_t>(subItem)];
    const unsigned char marked =
        static_cast<unsigned char>(set ? cell | mark : cell & static_cast<unsigned char>(~mark));
    if (marked == cell)
        return;
    cell = marked;
    changed();
}

bool ListModel::hasMark(int item, int subItem, unsigned char mark) const {
    if (item < 0 || item >= itemCount() || subItem < 0)
        return false;
    const auto &row = marks[static_cast<std::size_t>(item)];
    return static_cast<std::size_t>(subItem) < row.size() &&
           (row[static_cast<std::size_t>(subItem)] & mark) != 0;
}

void ListModel::setItemMuted(int item, int subItem, bool mute) {
    setMark(item, subItem, MUTED, mute);
}

bool ListModel::isItemMuted(int item, int subItem) const { return hasMark(item, subItem, MUTED); }

void ListModel::setItemFlagged(int item, int subItem, bool flag) {
    setMark(item, subItem, FLAGGED, flag);
}

bool ListModel::isItemFlagged(int item, int subItem) const {
    return hasMark(item, subItem, FLAGGED);
}

void ListModel::setItemMissing(int item, int subItem, bool missing) {
    setMark(item, subItem, MISSING, missing);
}

bool ListModel::isItemMissing(int item, int subItem) const {
    return hasMark(item, subItem, MISSING);
}

bool ListModel::columnExists(int index) const { return index >= 0 && index < columnCount(); }

void ListModel::deleteColumn(int index) {
    if (!columnExists(index))
        return;
    columns.erase(columns.begin() + index);
    // The column's texts go with it; the texts right of it move one column left.
    for (auto &row : rows)
        if (static_cast<std::size_t>(index) < row.size())
            row.erase(row.begin() + index);
    for (auto &row : marks)
        if (static_cast<std::size_t>(index) < row.size())
            row.erase(row.begin() + index);
    changed();
}

void ListModel::insertColumn(int index, std::string_view heading, Align align, int width) {
    if (index < 0 || index > columnCount())
        index = columnCount();
    columns.insert(columns.begin() + index, ListColumn{std::string(heading), align, width});
    // An inserted column starts empty; the texts right of it move one column right. Column 0
    // keeps the item texts when a column is inserted before it in a list with no columns.
    if (columnCount() > 1) {
        for (auto &row : rows)
            if (static_cast<std::size_t>(index) < row.size())
                row.insert(row.begin() + index, std::string());
        for (auto &row : marks)
            if (static_cast<std::size_t>(index) < row.size())
                row.insert(row.begin() + index, 0);
    }
    changed();
}

const ListColumn *ListModel::column(int index) const {
    return columnExists(index) ? &columns[static_cast<std::size_t>(index)] : nullptr;
}

std::optional<Rect> ListModel::cellRect(int item, int subItem) const {
    return window ? window->cellRect(item, subItem) : layoutCellRect(item, subItem);
}

Point ListModel::clientToScreen(Point client) const {
    return window ? window->clientToScreen(client) : client;
}

Point ListModel::screenToClient(Point screen) const {
    return window ? window->screenToClient(screen) : screen;
}

Size ListModel::clientSize() const {
    if (window)
        return window->clientSize();
    int width = 0;
    for (const ListColumn &column : columns)
        width += column.width;
    return Size{width, itemCount() * ROW_HEIGHT};
}

void ListModel::ensureVisible(int item, int subItem) {
    if (window)
        window->ensureVisible(item, subItem);
}

std::unique_ptr<EditBox> ListModel::createEditBox(int id, const Rect &rect) {
    return window ? window->createEditBox(id, rect) : nullptr;
}

std::optional<Rect> ListModel::layoutCellRect(int item, int subItem) const {
    if (item < 0 || item >= itemCount() || !columnExists(subItem))
        return std::nullopt;
    int left = 0;
    for (int c = 0; c < subItem; ++c)
        left += columns[static_cast<std::size_t>(c)].width;
    const int top = item * ROW_HEIGHT;
    return Rect{left, top, left + columns[static_cast<std::size_t>(subItem)].width,
                top + ROW_HEIGHT};
}

} // namespace zqar::platform
