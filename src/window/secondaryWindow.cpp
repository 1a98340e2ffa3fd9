#include "window/secondaryWindow.h"

#include "qt/QtText.h"
#include "resources/desktopTexts.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QWidget>

namespace zqar {

namespace {

// Sees the keys that reached the window itself, so a child that answers Escape (an edit that
// cancels, a menu that closes) keeps it.
class EscapeCloses : public QObject {
public:
    explicit EscapeCloses(QWidget &window) : QObject(&window), window(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched != &window || event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        window.close();
        return true;
    }

private:
    QWidget &window;
};

} // namespace

QPushButton *makeCloseButton(QWidget &window) {
    auto *button = new QPushButton(platform::toQString(text::CLOSE_BUTTON), &window);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, &window, &QWidget::close);
    return button;
}

void addWindowKeys(QWidget &window, std::function<void()> help) {
    window.installEventFilter(new EscapeCloses(window));
    auto *helpKey = new QShortcut(QKeySequence(Qt::Key_F1), &window);
    QObject::connect(helpKey, &QShortcut::activated, &window, std::move(help));
}

} // namespace zqar
