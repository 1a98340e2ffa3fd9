#include "window/DataFilesWindow.h"

#include "platform/Page.h"
#include "qt/QtDialog.h"
#include "qt/QtIcon.h"
#include "qt/QtText.h"
#include "resources/strings.h"
#include "resources/templates.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace zqar {

namespace {

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
    // The controls sit where the template puts them; a larger window only adds margin.
    setMinimumSize(width, height);
    resize(width, height);
}

void DataFilesWindow::keyPressEvent(QKeyEvent *event) {
    // Escape and Enter close nothing here either.
    if (!platform::swallowClosingKey(event))
        QWidget::keyPressEvent(event);
}

} // namespace zqar
