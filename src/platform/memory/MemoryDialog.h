#pragma once
// A page's window with no screen: every control of the template by id, with its text, check
// state, enabled and shown states, rectangle and, for list views, a ListModel. Tests and the
// batch tool press its buttons with click(), which acts as the user's click would.

#include "platform/Dialog.h"
#include "platform/Host.h"
#include "platform/ListView.h"
#include "platform/Page.h"
#include "resources/DialogTemplate.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace zqar::platform {

class Page;
class DrawingContext;
class MemoryEditBox;
class MemoryListWindow;

// The mouse as the in-memory backend simulates it. The host shares one among its pages.
struct MemoryMouse {
    Point cursor;         // screen coordinates
    unsigned buttons = 0; // MouseButton bits
};

class MemoryDialog : public Dialog {
public:
    explicit MemoryDialog(const DialogTemplate &dialogTemplate, Page *page = nullptr);
    ~MemoryDialog() override;

#include "platform/DialogOverrides.inc"

    // A click by the user: a radio button checks itself and clears its group partners, a
    // check box toggles, then the page's command runs and the page hears of the edit.
    // Answers whether the page handled it.
    bool click(int id);
    // A click on list view id at a point of its client area, as the user's would: the cursor
    // moves there, the button goes down, the list takes the focus when it has not got it,
    // the list tells of the click, and the button comes up.
    void clickList(int id, Point client, MouseButton button);
    // The same at the centre of a cell, scrolled into view first.
    void clickCell(int id, int item, int subItem, MouseButton button);
    // A key pressed while the page has the focus: the page's key filter sees it first.
    // Answers whether the filter consumed it.
    bool pressKey(int key);
    // The edit box made last that still exists, or null.
    MemoryEditBox *editBox() const { return editBoxes.empty() ? nullptr : editBoxes.back(); }
    void editBoxCreated(MemoryEditBox &box) { editBoxes.push_back(&box); }
    void editBoxDestroyed(MemoryEditBox &box);
    // The page's client origin on the simulated screen.
    Point screenOrigin() const { return origin; }
    void setScreenOrigin(Point point) { origin = point; }
    // The mouse this page reads; the host shares its own.
    void setMouse(MemoryMouse &shared) { mouse = &shared; }

    // A new client size; the page's resize handler runs.
    void resize(int width, int height);
    // Paints owner-drawn control id into dc through the page, as the window's paint would.
    void paint(int id, DrawingContext &dc);

    bool hasControl(int id) const { return controls.count(id) != 0; }
    ListModel &listModel(int id);
    int focus() const { return focusId; }
    int redrawCount(int id) const;
    // Ids the page asked for that its template does not have: always a programming error.
    const std::set<int> &unknownIds() const { return unknown; }
    const DialogTemplate &dialogTemplate() const { return source; }

    // Every message box of this page, and every status line write (control 1005).
    std::function<void(const std::string &text, const std::string &caption)> onMessageBox;
    std::function<void(int id)> onTextChanged;

private:
    struct Control {
        ControlTemplate source;
        std::string text;
        bool checked = false;
        bool enabled = true;
        bool shown = true;
        Rect rect;
        std::unique_ptr<ListModel> list;
        std::unique_ptr<MemoryListWindow> listWindow;
        int group = -1; // radio group number; -1 for everything else
    };
    Control &control(int id);
    const Control &control(int id) const;
    bool isList(int id) const;
    void notify(int id, ListNotification code);
    ListModel &makeList(int id, Control &c);

    DialogTemplate source;
    Page *page;
    std::map<int, Control> controls;
    std::map<int, int> redraws;
    mutable std::set<int> unknown;
    Size client;
    int focusId = NO_ID;
    std::vector<MemoryEditBox *> editBoxes;
    Point origin{100, 80}; // away from 0, 0, so a missed conversion shows
    MemoryMouse ownMouse;
    MemoryMouse *mouse = &ownMouse;
};

} // namespace zqar::platform
