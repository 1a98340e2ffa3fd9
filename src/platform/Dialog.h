#pragma once
// A page's window as the page logic sees it: its controls by id, its message boxes, and
// requests to repaint. The Qt backend and the in-memory backend both implement it.

#include "platform/Geometry.h"
#include "platform/ListView.h"

#include <string>
#include <string_view>

namespace zqar::platform {

class Dialog {
public:
    virtual ~Dialog() = default;

    // The control's text, at most 299 characters, as a 300-byte buffer reads it.
    virtual std::string text(int id) const = 0;
    virtual void setText(int id, std::string_view text) = 0;
    // Check state of a check box or radio button. Setting it touches only that control: a
    // program that checks one radio button of a pair also unchecks the other itself. Only a
    // click by the user checks one and clears its partners.
    virtual bool isChecked(int id) const = 0;
    virtual void setChecked(int id, bool checked) = 0;
    virtual bool isEnabled(int id) const = 0;
    virtual void setEnabled(int id, bool enabled) = 0;
    virtual bool isShown(int id) const = 0;
    virtual void setShown(int id, bool shown) = 0;
    virtual void setFocus(int id) = 0;
    // The list view with this id. Asking for an id that is no list view is a programming
    // error.
    virtual ListView &listView(int id) = 0;

    // The control's rectangle in the page's client pixels, and moving it there.
    virtual Rect controlRect(int id) const = 0;
    virtual void moveControl(int id, const Rect &rect) = 0;
    virtual Size clientSize() const = 0;

    // Asks for the owner-drawn control to be painted again through the page's drawItem.
    virtual void redraw(int id) = 0;

    // A modal message box with an OK button only, owned by this page.
    virtual void messageBox(const std::string &text, const std::string &caption) = 0;
};

} // namespace zqar::platform
