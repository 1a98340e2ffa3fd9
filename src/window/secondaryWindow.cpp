#include "window/secondaryWindow.h"

#include "qt/QtText.h"
#include "resources/desktopTexts.h"

#include <QPushButton>
#include <QShortcut>
#include <QWidget>

namespace zqar {

QPushButton *makeCloseButton(QWidget &window) {
    auto *button = new QPushButton(platform::toQString(text::CLOSE_BUTTON), &window);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, &window, &QWidget::close);
    return button;
}

void addWindowKeys(QWidget &window, std::function<void()> help) {
    auto *helpKey = new QShortcut(QKeySequence(Qt::Key_F1), &window);
    QObject::connect(helpKey, &QShortcut::activated, &window, std::move(help));
    // A shortcut rather than a key handler: the pages take Escape from their controls and do
    // nothing with it, so the key would never reach the window.
    auto *closeKey = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(closeKey, &QShortcut::activated, &window, &QWidget::close);
}

} // namespace zqar
