#pragma once
// A report-style list on the screen: a headerless table that shows the ListModel it owns.
// The pages write into the model; every change marks the view stale, and the view catches
// up once per pass of the event loop, so a page that writes a thousand cells in one command
// pays for one refresh instead of a thousand.

#include "platform/ListView.h"
#include "platform/Page.h"

#include <QTableWidget>

#include <functional>
#include <optional>

namespace zqar::platform {

class QtListView : public QTableWidget, public ListWindow {
    Q_OBJECT
public:
    explicit QtListView(QWidget *parent = nullptr);
    ~QtListView() override;

    ListModel &model() { return listModel; }
    const ListModel &model() const { return listModel; }

    // A list without input still scrolls, so a matrix larger than the page can be read; it
    // takes no focus and no selection. The matrix lists are made this way.
    void setInputEnabled(bool enabled);
    bool inputEnabled() const { return acceptsInput; }
    // A list without input whose cells may still be selected with the mouse, for copying;
    // the page hears nothing of it.
    void setSelectableWithoutInput(bool selectable);
    // The selected cells, when there are any, as one block (the first, if several).
    std::optional<QTableWidgetSelectionRange> selectedBlock() const;

    // Brings the table up to date with the model now.
    void synchronise();
    // Number of refreshes so far (each brings every changed cell across).
    int synchronisations() const { return refreshes; }

    // The cells on the screen. The client area is the viewport; cell rectangles are the
    // table's own, so an edit box on one covers the cell the user sees. An edit box is a
    // frameless line edit on the viewport; keys typed into it go through keyFilter first.
#include "platform/ListWindowOverrides.inc"
    void setKeyFilter(QObject *filter) { keyFilter = filter; }

    // Clicks (while the button is down) and focus changes, for the page.
    std::function<void(ListNotification)> onNotify;

    // The buttons and screen position of the mouse press a list is handling now, if any:
    // what the page reads as the mouse's state while it answers the click.
    struct HandledPress {
        Qt::MouseButtons buttons;
        QPoint globalPosition;
    };
    static std::optional<HandledPress> handledPress();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void notify(ListNotification code);
    void scheduleSynchronise();

    ListModel listModel;
    QObject *keyFilter = nullptr;
    bool stale = false;
    bool acceptsInput = true;
    bool selectableWithoutInput = false;
    int refreshes = 0;
};

} // namespace zqar::platform
