#include "platform/memory/MemoryListWindow.h"

#include "core/data/TextField.h"
#include "platform/memory/MemoryDialog.h"

namespace zqar::platform {

std::optional<Rect> MemoryListWindow::cellRect(int item, int subItem) const {
    std::optional<Rect> cell = model.layoutCellRect(item, subItem);
    if (cell)
        *cell = Rect{cell->left - scroll.x, cell->top - scroll.y, cell->right - scroll.x,
                     cell->bottom - scroll.y};
    return cell;
}

Size MemoryListWindow::clientSize() const {
    const Rect list = dialog.controlRect(listId);
    return Size{list.width(), list.height()};
}

void MemoryListWindow::ensureVisible(int item, int subItem) {
    const std::optional<Rect> cell = model.layoutCellRect(item, subItem);
    if (!cell)
        return;
    const Size client = clientSize();
    // The least scrolling that shows the whole cell, its left and top edges first.
    const auto along = [](int offset, int low, int high, int extent) {
        if (high - offset > extent)
            offset = high - extent;
        if (low - offset < 0)
            offset = low;
        return offset < 0 ? 0 : offset;
    };
    scroll.x = along(scroll.x, cell->left, cell->right, client.width);
    scroll.y = along(scroll.y, cell->top, cell->bottom, client.height);
}

Point MemoryListWindow::clientOrigin() const {
    const Rect list = dialog.controlRect(listId);
    const Point page = dialog.screenOrigin();
    return Point{page.x + list.left, page.y + list.top};
}

Point MemoryListWindow::clientToScreen(Point client) const {
    const Point origin = clientOrigin();
    return Point{client.x + origin.x, client.y + origin.y};
}

Point MemoryListWindow::screenToClient(Point screen) const {
    const Point origin = clientOrigin();
    return Point{screen.x - origin.x, screen.y - origin.y};
}

std::unique_ptr<EditBox> MemoryListWindow::createEditBox(int id, const Rect &rect) {
    return std::make_unique<MemoryEditBox>(dialog, id, listId, rect);
}

MemoryEditBox::MemoryEditBox(MemoryDialog &owner, int boxId, int listId, const Rect &area)
    : id(boxId), parentId(listId), rect(area), dialog(owner) {
    dialog.editBoxCreated(*this);
}

MemoryEditBox::~MemoryEditBox() { dialog.editBoxDestroyed(*this); }

std::string MemoryEditBox::text() const { return content.substr(0, TEXT_MAX_LENGTH); }

void MemoryEditBox::setText(std::string_view text) { content.assign(text); }

void MemoryEditBox::setFocus() { dialog.setFocus(id); }

bool MemoryEditBox::hasFocus() const { return dialog.focus() == id && dialog.editBox() == this; }

} // namespace zqar::platform
