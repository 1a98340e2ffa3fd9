#pragma once
// A page's window on the screen: real widgets made from the page's template, addressed by
// id, with clicks, keys, sizes and paints routed to the page. The host (or the About box)
// owns it through its Qt parent; the page it serves must outlive it.

#include "platform/Dialog.h"
#include "resources/DialogTemplate.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QKeyEvent;
class QLabel;
class QPainter;

namespace zqar::platform {

class DrawingContext;
class Page;
class QtListView;

// The face the pages are shown in: a sans serif with the narrow metrics the templates were
// laid out for, where one is installed, at 11 pixels.
QFont pageFont(const QFont &base);

// The key code the pages know for a Qt key: Enter, Escape and Tab as 13, 27 and 9, letters
// and digits as their upper-case characters, a few others by their old virtual-key codes;
// 0 for keys the pages never look at.
int pageKeyOf(int qtKey);

// Accepts Escape and Enter, which close none of the program's windows; answers whether the key
// was one of them.
bool swallowClosingKey(QKeyEvent *event);

class QtDialog : public QWidget, public Dialog {
    Q_OBJECT
public:
    // Builds the controls and attaches the page; the caller then runs page.initialise().
    QtDialog(const DialogTemplate &source, Page &page, QWidget *parent = nullptr);
    ~QtDialog() override;

    using QWidget::isEnabled;
    using QWidget::setEnabled;
    using QWidget::setFocus;

#include "platform/DialogOverrides.inc"

    Page &page() const { return servedPage; }
    // The widget of control id, or null.
    QWidget *control(int id) const;
    QtListView *listWidget(int id) const;

    // Moves and sizes the page. A hidden page hears of its new size at once, as a shown one
    // does, so its controls are in place before it is first shown.
    void place(const Rect &rect);

    // While a hold lasts, clicks and keys still reach the widgets but run no page command.
    // A printout hands waiting input to the window; a command run then could change or free
    // the very sets and lists being printed.
    class CommandHold {
    public:
        CommandHold();
        ~CommandHold();
        CommandHold(const CommandHold &) = delete;
        CommandHold &operator=(const CommandHold &) = delete;
    };
    static bool commandsHeld();

    // Makes the drawing context an owner-drawn control paints through, over the control's
    // painter. Until one is set, owner-drawn controls show white.
    using PainterContextFactory = std::function<std::unique_ptr<DrawingContext>(QPainter &)>;
    static void setPainterContextFactory(PainterContextFactory factory);
    static const PainterContextFactory &painterContextFactory();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Control {
        QWidget *widget = nullptr;
        ControlKind kind = ControlKind::Label;
        int group = -1; // radio group; -1 for everything but radio buttons
    };
    // Static texts keep what was set last and show it once per pass of the event loop: a
    // command may set its status line thousands of times, and only the last text matters.
    struct LabelText {
        QLabel *label = nullptr;
        std::string text;
        bool pending = false;
    };

    void createControl(const ControlTemplate &source, int group);
    QWidget *makeWidget(const ControlTemplate &source);
    QWidget *makeLabel(const ControlTemplate &source);
    void runCommand(int id);
    void onRadioClicked(int id);
    void showLabelText(int id);
    const Control *find(int id) const;

    Page &servedPage;
    std::map<int, Control> controls;
    std::map<int, LabelText> labels;
    // What the program last wrote into each edit box, byte for byte, with the text it shows
    // for it: while the user has not changed the box, reading it gives back those exact
    // bytes, so a report field in another character set survives a load and a save.
    struct EditText {
        std::string bytes;
        QString shown;
    };
    std::map<int, EditText> editTexts;
    std::unique_ptr<ListModel> missingList; // answers for ids that are no list view
};

} // namespace zqar::platform
