#pragma once
// A dialog page: the logic behind one window made from a template. The backend creates the
// window, attaches it, and then routes the window's messages to these handlers. Button
// commands go through the page's message table: bind an id to a handler in the constructor.

#include "platform/Dialog.h"
#include "platform/Geometry.h"

#include <functional>
#include <map>

namespace zqar::platform {

class DrawingContext;

enum Key : int { KEY_TAB = 9, KEY_RETURN = 13, KEY_ESCAPE = 27 };

// What a list view tells its page. Clicks come while the button is still down.
enum class ListNotification { Click, RightClick, SetFocus, KillFocus };

class Page {
public:
    explicit Page(int templateId) : templateId(templateId) {}
    virtual ~Page() = default;
    Page(const Page &) = delete;
    Page &operator=(const Page &) = delete;

    const int templateId;

    // Called by the backend once the window exists, before initialise.
    void attach(Dialog &window) { attached = &window; }
    bool isCreated() const { return attached != nullptr; }
    Dialog &dialog() const { return *attached; }

    // The dialog's init handler.
    virtual void initialise() {}
    // A button click (or a list notification forwarded as a command) from control id.
    // Answers whether the message table had a handler for it.
    bool command(int id) {
        const auto handler = messageTable.find(id);
        if (handler == messageTable.end())
            return false;
        if (commandObserver)
            commandObserver(id);
        handler->second();
        if (afterCommand)
            afterCommand(id);
        return true;
    }
    // Called with the id before each command of the message table runs (the window notes
    // what the user changed since the last command), and after it when after is given.
    void observeCommands(std::function<void(int id)> observer,
                         std::function<void(int id)> after = nullptr) {
        commandObserver = std::move(observer);
        afterCommand = std::move(after);
    }
    // The user finished an edit of control id: left an edit box, clicked a check box or a
    // radio button, or put a layout cell's text in. The window takes it as a step it can undo.
    void edited(int id) {
        if (editObserver)
            editObserver(id);
    }
    void observeEdits(std::function<void(int id)> observer) { editObserver = std::move(observer); }
    // The page's client area changed to width x height pixels.
    virtual void resized(int /*width*/, int /*height*/) {}
    // Paints owner-drawn control id, whose rectangle is item, into dc.
    virtual void drawItem(int /*id*/, DrawingContext & /*dc*/, const Rect & /*item*/) {}
    virtual void timer(int /*id*/) {}
    // The key filter, before the dialog's own key handling. True consumes the key. The
    // pages swallow Enter, so it never presses a button or closes a window.
    virtual bool keyDown(int key) { return key == KEY_RETURN; }
    // A notification from list view id; answers the notification's result.
    virtual int listNotification(int /*id*/, ListNotification /*code*/) { return 0; }

    // Enters a command into the message table: the page itself, or a part of the page that
    // owns some of its controls.
    void bind(int id, std::function<void()> handler) { messageTable[id] = std::move(handler); }

private:
    Dialog *attached = nullptr;
    std::map<int, std::function<void()>> messageTable;
    std::function<void(int id)> commandObserver;
    std::function<void(int id)> afterCommand;
    std::function<void(int id)> editObserver;
};

} // namespace zqar::platform
