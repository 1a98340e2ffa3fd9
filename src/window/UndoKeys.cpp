#include "window/UndoKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>

#include <algorithm>
#include <utility>

namespace zqar {

namespace {

const QKeySequence UNDO_KEY(Qt::CTRL | Qt::Key_Z);
const QKeySequence REDO_KEY(Qt::CTRL | Qt::Key_Y);
const QKeySequence SHIFT_REDO_KEY(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);

bool isUndoOrRedoKey(const QKeyEvent &key) {
    const QKeySequence sequence(key.keyCombination());
    return sequence == UNDO_KEY || sequence == REDO_KEY || sequence == SHIFT_REDO_KEY;
}

} // namespace

UndoKeys::UndoKeys(std::function<void()> undo, std::function<void()> redo, QObject *parent)
    : QObject(parent), undoEdits(std::move(undo)), redoEdits(std::move(redo)) {
    // The edit box hears of a shortcut before any window does; only the application sees it
    // first.
    qApp->installEventFilter(this);
}

UndoKeys::~UndoKeys() { qApp->removeEventFilter(this); }

void UndoKeys::addTo(QWidget &window) {
    windows.emplace_back(&window);
    const std::pair<QKeySequence, std::function<void()> *> keys[] = {
        {UNDO_KEY, &undoEdits}, {REDO_KEY, &redoEdits}, {SHIFT_REDO_KEY, &redoEdits}};
    for (const auto &[sequence, command] : keys) {
        auto *shortcut = new QShortcut(sequence, &window);
        connect(shortcut, &QShortcut::activated, this, [command] { (*command)(); });
    }
}

void UndoKeys::leaveAlone(QLineEdit &edit) { ownUndo.emplace_back(&edit); }

bool UndoKeys::handles(const QObject *watched) const {
    const auto *edit = qobject_cast<const QLineEdit *>(watched);
    if (!edit || std::find(ownUndo.begin(), ownUndo.end(), edit) != ownUndo.end())
        return false;
    const QWidget *window = edit->window();
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

bool UndoKeys::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto &key = static_cast<const QKeyEvent &>(*event);
    // Not accepted and not passed on: the box does not claim the key, so the window's
    // shortcut runs.
    return isUndoOrRedoKey(key) && handles(watched);
}

} // namespace zqar
