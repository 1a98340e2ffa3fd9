// A long command's progress on the screen: nothing for the first half second, then a modal
// dialog whose Cancel the next step answers.

#include "qt/QtProgress.h"
#include "qt/QtHost.h"

#include <QApplication>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace zqar::platform;

namespace {

TEST(QtProgress, ShowsAfterHalfASecondAndCancelsAtTheNextStep) {
    QWidget window;
    window.show();
    QtProgress progress(&window, "Load Files");
    EXPECT_TRUE(progress.step(1, 10));
    EXPECT_EQ(progress.dialog(), nullptr) << "a short command shows nothing";

    QTest::qWait(QtProgress::SHOW_AFTER_MS + 20);
    EXPECT_TRUE(progress.step(5, 10));
    QProgressDialog *dialog = progress.dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(dialog->windowTitle(), "Load Files");
    EXPECT_EQ(dialog->value() * 2, dialog->maximum());

    QPushButton *cancel = dialog->findChild<QPushButton *>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "Cancel");
    cancel->click();
    EXPECT_FALSE(progress.step(6, 10));
    EXPECT_FALSE(progress.step(7, 10)) << "a cancel holds";
}

TEST(QtProgress, TheDialogGoesWithTheCommandOrWithItsWindow) {
    QWidget window;
    QPointer<QProgressDialog> dialog;
    {
        QtProgress progress(&window, "Calculate");
        QTest::qWait(QtProgress::SHOW_AFTER_MS + 20);
        EXPECT_TRUE(progress.step(1, 0)) << "no total known";
        dialog = progress.dialog();
        ASSERT_FALSE(dialog.isNull());
    }
    EXPECT_TRUE(dialog.isNull());

    auto owner = std::make_unique<QWidget>();
    auto progress = std::make_unique<QtProgress>(owner.get(), "Import");
    QTest::qWait(QtProgress::SHOW_AFTER_MS + 20);
    EXPECT_TRUE(progress->step(1, 2));
    owner.reset();
    EXPECT_EQ(progress->dialog(), nullptr);
    progress.reset();

    QtHost host;
    EXPECT_NE(dynamic_cast<QtProgress *>(host.startProgress("Import").get()), nullptr);
}

} // namespace
