#pragma once
// The screen side of a list on the in-memory backend: its cells laid out from the column
// widths and the row height, its client area the list's rectangle in the page, scrolled as
// ensureVisible asks, and the page at a fixed place on the simulated screen; edit boxes are
// plain records.

#include "platform/EditBox.h"
#include "platform/ListView.h"

#include <string>

namespace zqar::platform {

class MemoryDialog;

class MemoryListWindow : public ListWindow {
public:
    MemoryListWindow(MemoryDialog &dialog, int listId, const ListModel &model)
        : dialog(dialog), listId(listId), model(model) {}

#include "platform/ListWindowOverrides.inc"

private:
    Point clientOrigin() const; // in screen coordinates
    Point scroll;               // pixels of the table scrolled out left and above
    MemoryDialog &dialog;
    const int listId;
    const ListModel &model;
};

// An edit box with no screen. The dialog keeps track of the live ones, so a test can type
// into the one that is open.
class MemoryEditBox : public EditBox {
public:
    MemoryEditBox(MemoryDialog &dialog, int id, int parentId, const Rect &rect);
    ~MemoryEditBox() override;
    MemoryEditBox(const MemoryEditBox &) = delete;
    MemoryEditBox &operator=(const MemoryEditBox &) = delete;

    std::string text() const override;
    void setText(std::string_view text) override;
    void show() override { shown = true; }
    void setFocus() override;
    bool hasFocus() const override;

    const int id;
    const int parentId; // the list it covers
    const Rect rect;    // in the list's client coordinates
    bool shown = false;

private:
    MemoryDialog &dialog;
    std::string content;
};

} // namespace zqar::platform
