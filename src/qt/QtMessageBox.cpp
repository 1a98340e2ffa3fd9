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
SaveQuestionHook &saveQuestionHook() {
    static SaveQuestionHook hook;
    return hook;
}
} // namespace

void setMessageBoxHook(MessageBoxHook hook) { messageBoxHook() = std::move(hook); }

void setSaveQuestionHook(SaveQuestionHook hook) { saveQuestionHook() = std::move(hook); }

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

namespace zqar::platform {

SaveChoice askToSave(QWidget *owner, const std::string &question, const std::string &caption) {
    if (saveQuestionHook())
        return saveQuestionHook()(question, caption);
    if (messageBoxHook()) {
        messageBoxHook()(question, caption);
        return SaveChoice::Discard;
    }
    QMessageBox box(QMessageBox::Question, toQString(caption), toQString(question),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    owner ? owner->window() : nullptr);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

} // namespace zqar::platform
