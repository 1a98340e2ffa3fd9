#pragma once
// The main window's tab strip: a row of tabs over a framed display area, with the window's
// menu button at the right end of the row. The pages are not its children; the window lays
// them over the display area.

#include <QWidget>

class QTabBar;
class QToolButton;

namespace zqar {

class TabStrip : public QWidget {
    Q_OBJECT
public:
    explicit TabStrip(QWidget *parent = nullptr);

    QTabBar *tabBar() const { return tabs; }
    QToolButton *menuButton() const { return menu; }
    // Tab item's rectangle in this widget's coordinates.
    QRect tabRect(int index) const;
    // Places the tab row and the menu button for the strip's present size. A strip that is
    // not shown yet hears of its size only later, so the window calls this itself.
    void arrange();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QTabBar *tabs;
    QToolButton *menu;
};

} // namespace zqar
