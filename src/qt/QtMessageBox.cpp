#include "qt/QtMessageBox.h"

#include "qt/QtText.h"

#include <QMessageBox>
#include <QWidget>

namespace zqar::platform {

namespace {
MessageBoxHook &messageBoxHook() {
    static MessageBoxHook hook;
    return hook;
}
} // namespace

void setMessageBoxHook(MessageBoxHook hook) { messageBoxHook() = std::move(hook); }

void showMessageBox(QWidget *owner, const std::string &text, const std::string &caption) {
    if (messageBoxHook()) {
        messageBoxHook()(text, caption);
        return;
    }
    // Plain text: a message that quotes a file name with "<" in it shows as it is.
    QMessageBox box(QMessageBox::NoIcon, toQString(caption), toQString(text), QMessageBox::Ok,
                    owner ? owner->window() : nullptr);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace zqar::platform
