#include "platform/memory/MemoryDialog.h"

#include "core/data/TextField.h"
#include "platform/Page.h"
#include "platform/memory/MemoryListWindow.h"

#include <algorithm>

namespace zqar::platform {

MemoryDialog::MemoryDialog(const DialogTemplate &dialogTemplate, Page *owner)
    : source(dialogTemplate), page(owner), client{dialogUnitsToPixelsX(dialogTemplate.width),
                                                  dialogUnitsToPixelsY(dialogTemplate.height)} {
    int group = -1;
    bool previousWasRadio = false;
    for (const ControlTemplate &item : source.controls) {
        const bool radio = item.kind == ControlKind::RadioButton;
        if (radio && !previousWasRadio)
            ++group;
        previousWasRadio = radio;
        if (item.id == NO_ID)
            continue;
        Control &c = controls[item.id];
        c.source = item;
        c.text = item.kind == ControlKind::Edit ? std::string() : cutText(item.caption);
        c.enabled = (item.style & STYLE_DISABLED) == 0;
        c.shown = (item.style & STYLE_HIDDEN) == 0;
        // Position and size convert separately, as the dialog manager converts them.
        const int left = dialogUnitsToPixelsX(item.x);
        const int top = dialogUnitsToPixelsY(item.y);
        c.rect = Rect{left, top, left + dialogUnitsToPixelsX(item.width),
                      top + dialogUnitsToPixelsY(item.height)};
        c.group = radio ? group : -1;
        if (item.kind == ControlKind::ListView)
            makeList(item.id, c);
    }
}

MemoryDialog::~MemoryDialog() = default;

ListModel &MemoryDialog::makeList(int id, Control &c) {
    c.list = std::make_unique<ListModel>();
    c.listWindow = std::make_unique<MemoryListWindow>(*this, id, *c.list);
    c.list->setWindow(c.listWindow.get());
    return *c.list;
}

bool MemoryDialog::isList(int id) const {
    const auto found = controls.find(id);
    return found != controls.end() && found->second.list != nullptr;
}

void MemoryDialog::notify(int id, ListNotification code) {
    if (page)
        page->listNotification(id, code);
}

MemoryDialog::Control &MemoryDialog::control(int id) {
    // An id the template does not have gets a plain control of its own so the page goes on;
    // unknownIds tells the tests.
    const auto found = controls.find(id);
    if (found != controls.end())
        return found->second;
    unknown.insert(id);
    return controls[id];
}

const MemoryDialog::Control &MemoryDialog::control(int id) const {
    static const Control none;
    const auto found = controls.find(id);
    if (found != controls.end())
        return found->second;
    unknown.insert(id);
    return none;
}

std::string MemoryDialog::text(int id) const { return control(id).text; }

void MemoryDialog::setText(int id, std::string_view newText) {
    // Assigned in place: a status line may be written once for every set a calculation makes.
    control(id).text.assign(newText.substr(0, TEXT_MAX_LENGTH));
    if (onTextChanged)
        onTextChanged(id);
}

bool MemoryDialog::isChecked(int id) const { return control(id).checked; }

void MemoryDialog::setChecked(int id, bool checked) { control(id).checked = checked; }

bool MemoryDialog::isEnabled(int id) const { return control(id).enabled; }

void MemoryDialog::setEnabled(int id, bool enabled) { control(id).enabled = enabled; }

bool MemoryDialog::isShown(int id) const { return control(id).shown; }

void MemoryDialog::setShown(int id, bool shown) { control(id).shown = shown; }

void MemoryDialog::setFocus(int id) {
    if (id == focusId)
        return;
    // The list that loses the focus says so first, then the one that gets it, as the
    // platform's list views do; either may move the focus again.
    const int previous = focusId;
    focusId = id;
    if (isList(previous))
        notify(previous, ListNotification::KillFocus);
    if (isList(id) && focusId == id)
        notify(id, ListNotification::SetFocus);
}

void MemoryDialog::editBoxDestroyed(MemoryEditBox &box) {
    const auto found = std::find(editBoxes.begin(), editBoxes.end(), &box);
    if (found == editBoxes.end())
        return;
    editBoxes.erase(found);
    // A destroyed window that had the focus leaves it with no window.
    if (focusId == box.id)
        focusId = NO_ID;
}

void MemoryDialog::clickList(int id, Point client, MouseButton button) {
    ListModel &list = listModel(id);
    mouse->cursor = list.clientToScreen(client);
    mouse->buttons |= button;
    if (focusId != id)
        setFocus(id);
    notify(id, button == MOUSE_RIGHT ? ListNotification::RightClick : ListNotification::Click);
    mouse->buttons &= ~static_cast<unsigned>(button);
}

void MemoryDialog::clickCell(int id, int item, int subItem, MouseButton button) {
    // The user scrolls a cell into view before clicking it.
    listModel(id).ensureVisible(item, subItem);
    const std::optional<Rect> cell = listModel(id).cellRect(item, subItem);
    if (!cell)
        return;
    clickList(id, Point{(cell->left + cell->right) / 2, (cell->top + cell->bottom) / 2}, button);
}

bool MemoryDialog::pressKey(int key) { return page != nullptr && page->keyDown(key); }

ListView &MemoryDialog::listView(int id) { return listModel(id); }

ListModel &MemoryDialog::listModel(int id) {
    Control &c = control(id);
    return c.list ? *c.list : makeList(id, c);
}

Rect MemoryDialog::controlRect(int id) const { return control(id).rect; }

void MemoryDialog::moveControl(int id, const Rect &rect) { control(id).rect = rect; }

Size MemoryDialog::clientSize() const { return client; }

void MemoryDialog::redraw(int id) { ++redraws[id]; }

int MemoryDialog::redrawCount(int id) const {
    const auto found = redraws.find(id);
    return found == redraws.end() ? 0 : found->second;
}

void MemoryDialog::messageBox(const std::string &message, const std::string &caption) {
    if (onMessageBox)
        onMessageBox(message, caption);
}

bool MemoryDialog::click(int id) {
    const auto found = controls.find(id);
    if (found == controls.end() || !found->second.enabled || !found->second.shown)
        return false;
    Control &clicked = found->second;
    if (clicked.source.kind == ControlKind::RadioButton) {
        for (auto &[otherId, other] : controls)
            if (other.group == clicked.group)
                other.checked = otherId == id;
    } else if (clicked.source.kind == ControlKind::CheckBox) {
        clicked.checked = !clicked.checked;
    }
    if (page == nullptr)
        return false;
    const bool handled = page->command(id);
    if (clicked.source.kind == ControlKind::RadioButton ||
        clicked.source.kind == ControlKind::CheckBox)
        page->edited(id);
    return handled;
}

void MemoryDialog::resize(int width, int height) {
    client = Size{width, height};
    if (page)
        page->resized(width, height);
}

void MemoryDialog::paint(int id, DrawingContext &dc) {
    const Rect bounds = controlRect(id);
    if (page)
        page->drawItem(id, dc, Rect{0, 0, bounds.width(), bounds.height()});
}

} // namespace zqar::platform
