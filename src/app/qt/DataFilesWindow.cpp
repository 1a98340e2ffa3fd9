#include "app/qt/DataFilesWindow.h"

#include "platform/Page.h"
#include "platform/qt/QtDialog.h"
#include "platform/qt/QtIcon.h"
#include "platform/qt/QtText.h"
#include "resources/strings.h"
#include "resources/templates.h"

#include <QKeyEvent>

namespace zqar {

DataFilesWindow::DataFilesWindow(platform::QtDialog &page, QWidget *owner)
    : QWidget(owner, Qt::Window), pageWindow(page) {
    setWindowTitle(platform::toQString(text::DATA_FILES_CAPTION));
    setWindowIcon(platform::applicationIcon());
    const platform::DialogTemplate &source = dialogTemplate(page.page().templateId);
    const int width = platform::dialogUnitsToPixelsX(source.width);
    const int height = platform::dialogUnitsToPixelsY(source.height);
    page.setParent(this);
    page.place(platform::Rect{0, 0, width, height});
    page.show();
    // The controls sit where the template puts them; a larger window only adds margin.
    setMinimumSize(width, height);
    resize(width, height);
}

void DataFilesWindow::keyPressEvent(QKeyEvent *event) {
    // Escape and Enter close nothing here either.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace zqar
