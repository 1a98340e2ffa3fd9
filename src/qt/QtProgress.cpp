#include "qt/QtProgress.h"

#include "qt/QtDialog.h"
#include "qt/QtText.h"
#include "resources/desktopTexts.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QWidget>

#include <algorithm>

namespace zqar::platform {

namespace {
constexpr int BAR_STEPS = 1000; // the bar's range: done and total may exceed an int
} // namespace

QtProgress::QtProgress(QWidget *ownerWindow, std::string_view commandTitle)
    : owner(ownerWindow), title(toQString(commandTitle)) {
    clock.start();
}

QtProgress::~QtProgress() { delete shown.data(); }

void QtProgress::show() {
    auto *dialog = new QProgressDialog(title, toQString(text::CANCEL_BUTTON), 0, BAR_STEPS, owner);
    dialog->setWindowTitle(title);
    // Every window waits: a command from another window could change the job being worked on.
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(0);
    dialog->show();
    shown = dialog;
}

bool QtProgress::step(std::uint64_t done, std::uint64_t total) {
    const qint64 now = clock.elapsed();
    if (!cancelled && now >= SHOW_AFTER_MS && (!shown || now - lastInput >= INPUT_INTERVAL_MS)) {
        lastInput = now;
        // The command's own pages stay as they are while it runs, whatever is clicked.
        const QtDialog::CommandHold hold;
        if (!shown)
            show();
        const std::uint64_t part = total > 0 ? std::min(done, total) * BAR_STEPS / total : 0;
        shown->setValue(static_cast<int>(part));
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers |
                                        QEventLoop::X11ExcludeTimers);
    }
    if (shown && shown->wasCanceled())
        cancelled = true;
    return !cancelled;
}

} // namespace zqar::platform
