#pragma once
// Ctrl+Z undoes and Ctrl+Y or Ctrl+Shift+Z redoes the job's edits in every window that edits
// them: the main window, the Data Files window, the Statistics window. An edit box in those
// windows would keep the keys for its own undo of a few letters; the job's history holds the
// box's text as well, so the keys go past the box to the window. The shell owns the one object.

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QLineEdit;
class QWidget;

namespace zqar {

class UndoKeys : public QObject {
    Q_OBJECT
public:
    UndoKeys(std::function<void()> undo, std::function<void()> redo, QObject *parent = nullptr);
    ~UndoKeys() override;

    // The keys as shortcuts of the window, and its edit boxes give them up.
    void addTo(QWidget &window);
    // An edit box that holds no setting (a rule being typed) keeps its own undo.
    void leaveAlone(QLineEdit &edit);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handles(const QObject *watched) const;

    std::function<void()> undoEdits;
    std::function<void()> redoEdits;
    std::vector<QPointer<QWidget>> windows;
    std::vector<QPointer<QLineEdit>> ownUndo;
};

} // namespace zqar
