#include "window/DataFilesWindow.h"

#include "platform/Page.h"
#include "qt/QtDialog.h"
#include "qt/QtIcon.h"
#include "qt/QtText.h"
#include "resources/strings.h"
#include "resources/templates.h"
#include "window/secondaryWindow.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace zqar {

namespace {

constexpr int CLOSE_ROW_MARGIN = 6; // pixels around the Close button

// Captions the page's template made too narrow for the face they are shown in ("Use Comment
// Field", "Only use files with date stamp") get the width they need, where that covers no
// other control. Right-aligned texts and boxes drawn right of their text keep their places.
void widenClippedCaptions(QWidget &page) {
    const QList<QWidget *> controls = page.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *control : controls) {
        auto *button = qobject_cast<QAbstractButton *>(control);
        auto *label = qobject_cast<QLabel *>(control);
        if (qobject_cast<QPushButton *>(control) || (!button && !label))
            continue;
        if (control->layoutDirection() == Qt::RightToLeft ||
            (label && (label->alignment() & Qt::AlignRight)) ||
            (label && label->frameShape() != QFrame::NoFrame))
            continue;
        const int needed = control->sizeHint().width();
        if (needed <= control->width())
            continue;
        QRect wider = control->geometry();
        wider.setWidth(needed);
        bool free = true;
        for (const QWidget *other : controls)
            if (other != control && !other->testAttribute(Qt::WA_TransparentForMouseEvents) &&
                other->geometry().intersects(wider))
                free = false;
        if (free)
            control->setGeometry(wider);
    }
}

} // namespace

DataFilesWindow::DataFilesWindow(platform::QtDialog &page, QWidget *owner)
    : QWidget(owner, Qt::Window), pageWindow(page) {
    setWindowTitle(platform::toQString(text::DATA_FILES_CAPTION));
    setWindowIcon(platform::applicationIcon());
    const platform::DialogTemplate &source = dialogTemplate(page.page().templateId);
    const int width = platform::dialogUnitsToPixelsX(source.width);
    const int height = platform::dialogUnitsToPixelsY(source.height);
    page.setParent(this);
    page.place(platform::Rect{0, 0, width, height});
    widenClippedCaptions(page);
    page.show();
    // The Close button sits in a row of its own under the page, whose controls keep the
    // places the template gives them; a larger window only adds margin.
    QPushButton *close = makeCloseButton(*this);
    const QSize button = close->sizeHint();
    const int rowHeight = button.height() + 2 * CLOSE_ROW_MARGIN;
    close->setGeometry(width - button.width() - CLOSE_ROW_MARGIN, height + CLOSE_ROW_MARGIN,
                       button.width(), button.height());
    setMinimumSize(width, height + rowHeight);
    resize(width, height + rowHeight);
}

void DataFilesWindow::keyPressEvent(QKeyEvent *event) {
    // Enter closes nothing here; Escape is the window's shortcut and never gets here.
    if (!platform::swallowClosingKey(event))
        QWidget::keyPressEvent(event);
}

} // namespace zqar
