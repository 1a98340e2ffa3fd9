#pragma once
// The program's message boxes: modal, OK only, owned by a page or by the main window. Tests
// divert them to a recorder, because a modal box would wait for a click nobody gives.

#include "platform/Host.h"

#include <functional>
#include <string>

class QWidget;

namespace zqar::platform {

using MessageBoxHook = std::function<void(const std::string &text, const std::string &caption)>;

// While a hook is set, every message box goes to it instead of the screen. An empty hook
// brings the real boxes back.
void setMessageBoxHook(MessageBoxHook hook);

void showMessageBox(QWidget *owner, const std::string &text, const std::string &caption);

// The question before unsaved edits are let go: Save, Discard, Cancel. While a question hook
// is set it answers; else while a message box hook is set the question goes to that as a
// message box and the answer is Discard, so no test ever waits on a box nobody closes.
using SaveQuestionHook =
    std::function<SaveChoice(const std::string &question, const std::string &caption)>;
void setSaveQuestionHook(SaveQuestionHook hook);

SaveChoice askToSave(QWidget *owner, const std::string &question, const std::string &caption);

} // namespace zqar::platform
