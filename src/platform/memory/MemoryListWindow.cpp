#include "platform/memory/MemoryListWindow.h"

#include "data/TextField.h"
#include "platform/memory/MemoryDialog.h"

namespace zqar::platform {

std::optional<Rect> MemoryListWindow::cellRect(int item, int subItem) const {
    return model.layoutCellRect(item, subItem);
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
