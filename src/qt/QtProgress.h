#pragma once
// A long command's progress on the screen: nothing for the first half second, then a modal
// progress dialog with Cancel. Between steps it hands waiting input to the window, so the
// dialog paints and Cancel can be pressed; page commands are held meanwhile.

#include "platform/Progress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

#include <string_view>

class QWidget;

namespace zqar::platform {

class QtProgress : public Progress {
public:
    static constexpr int SHOW_AFTER_MS = 500;
    // Input is handled at most this often, so a command of many small steps is not slowed.
    static constexpr int INPUT_INTERVAL_MS = 50;

    QtProgress(QWidget *owner, std::string_view title);
    ~QtProgress() override;
    QtProgress(const QtProgress &) = delete;
    QtProgress &operator=(const QtProgress &) = delete;

    bool step(std::uint64_t done, std::uint64_t total) override;
    // The dialog once shown, for tests.
    QProgressDialog *dialog() const { return shown; }

private:
    void show();

    QPointer<QWidget> owner;
    QString title;
    QElapsedTimer clock; // since the command started
    qint64 lastInput = 0;
    QPointer<QProgressDialog> shown;
    bool cancelled = false;
};

} // namespace zqar::platform
