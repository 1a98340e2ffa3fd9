#include "window/TabStrip.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>

namespace zqar {

namespace {
// The tabs start this far in from the strip's left edge, as a native tab control draws them.
constexpr int TAB_INSET = 2; // pixels
} // namespace

TabStrip::TabStrip(QWidget *parent)
    : QWidget(parent), tabs(new QTabBar(this)), menu(new QToolButton(this)) {
    tabs->setExpanding(false);
    tabs->setDrawBase(true);
    tabs->setFocusPolicy(Qt::TabFocus);
    menu->setAutoRaise(true);
    menu->setPopupMode(QToolButton::InstantPopup);
    menu->setFocusPolicy(Qt::NoFocus);
}

QRect TabStrip::tabRect(int index) const { return tabs->tabRect(index).translated(tabs->pos()); }

void TabStrip::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    arrange();
}

void TabStrip::arrange() {
    const int rowHeight = tabs->sizeHint().height();
    const int buttonSide = rowHeight - 2;
    menu->setGeometry(width() - buttonSide - TAB_INSET, 1, buttonSide, buttonSide);
    tabs->setGeometry(TAB_INSET, 0, std::max(0, width() - buttonSide - 3 * TAB_INSET), rowHeight);
}

void TabStrip::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.shape = QTabBar::RoundedNorth;
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    const int top = tabs->geometry().bottom() + 1 - overlap;
    frame.rect = QRect(0, top, width(), height() - top);
    frame.tabBarSize = tabs->size();
    frame.tabBarRect = tabs->geometry();
    frame.leftCornerWidgetSize = QSize(0, 0);
    frame.rightCornerWidgetSize = QSize(0, 0);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

} // namespace zqar
