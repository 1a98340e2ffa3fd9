// What a desktop program is expected to have, on the real window: keys that press the pages'
// buttons, Escape, F1 and Close in the other windows, copying the Matrix cells, the document in
// the title, Undo and Redo, closing with unsaved edits, and the recent files and dialog folders
// that last from one run to the next.

#include "app/MainWindow.h"
#include "core/analysis/TemperatureSet.h"
#include "pages/layout/projectFile.h"
#include "qt/QtDialog.h"
#include "qt/QtHost.h"
#include "qt/QtListView.h"
#include "qt/QtMessageBox.h"
#include "resources/controlIds.h"
#include "support/TempDir.h"
#include "window/DataFilesWindow.h"
#include "window/MainWindowShell.h"
#include "window/StatisticsWindow.h"
#include "window/TimeSeriesWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace zqar;
using platform::QtDialog;

namespace {

class HelpRecordingHost : public platform::QtHost {
public:
    void showHelp(const std::string &path) override { helpPaths.push_back(path); }
    std::vector<std::string> helpPaths;
};

void forgetUserSettings() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Z-QAR", "Vemro").clear();
}

class DesktopHabits : public ::testing::Test {
protected:
    void SetUp() override {
        forgetUserSettings();
        platform::setMessageBoxHook(
            [this](const std::string &text, const std::string &) { messages.push_back(text); });
        window = std::make_unique<MainWindow>(host);
        shell = std::make_unique<MainWindowShell>(*window, host);
        shell->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
        activate(shell.get());
    }
    void TearDown() override {
        shell.reset();
        window.reset();
        platform::setMessageBoxHook(nullptr);
        EXPECT_TRUE(messages.empty()) << "unexpected message box: " << messages.front();
        forgetUserSettings();
    }
    // The offscreen platform may hand the activation back to a window shown earlier; the
    // keys go to the window the user would be looking at only once it has settled.
    static void activate(QWidget *widget) {
        ASSERT_TRUE(QTest::qWaitFor([widget] {
            if (QApplication::activeWindow() != widget)
                widget->activateWindow();
            return QApplication::activeWindow() == widget;
        }));
        QTest::qWait(1);
        ASSERT_EQ(QApplication::activeWindow(), widget);
    }
    // A key as the user presses it, to whatever has the focus in the active window.
    static void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget *target = QApplication::focusWidget();
        if (!target)
            target = QApplication::activeWindow();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
    QStringList recentEntries() {
        QMenu *menu = shell->recentFilesMenu();
        emit menu->aboutToShow();
        QStringList entries;
        for (QAction *action : menu->actions())
            entries.push_back(action->text());
        return entries;
    }
    QAbstractButton *button(platform::Page &page, int id) {
        return qobject_cast<QAbstractButton *>(host.dialogOf(page)->control(id));
    }

    zqar::testing::TempDir dir;
    HelpRecordingHost host;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<MainWindowShell> shell;
    std::vector<std::string> messages;
};

} // namespace

TEST_F(DesktopHabits, KeysPressTheButtonsOfTheTabShownAndNothingWhileAButtonIsOff) {
    std::vector<std::string> pressed;
    auto note = [&pressed](platform::Page &page, int id, const char *name) {
        page.bind(id, [&pressed, name] { pressed.push_back(name); });
    };
    note(window->dataFilterPage, DataFilterControls::LOAD_REPORT, "load report");
    note(window->dataFilterPage, DataFilterControls::CALCULATE_AVERAGED, "averaged");
    note(window->dataFilterPage, DataFilterControls::CALCULATE_AT_TIME, "at time");
    note(window->matrixPage, MatrixControls::PRINT, "matrix print");
    note(window->matrixPage, MatrixControls::EXPORT, "matrix export");
    note(window->graphPage, GraphControls::PRINT, "graph print");

    // On the Data Filter tab Print and Export have nothing to press.
    press(Qt::Key_O, Qt::ControlModifier);
    press(Qt::Key_F5);
    press(Qt::Key_P, Qt::ControlModifier);
    press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(pressed, (std::vector<std::string>{"load report", "averaged"}));

    // Sets made at one time are made again at one time.
    window->job.setList.append(std::make_unique<TemperatureSet>(37930.5, 0.0, 6, 4, 2));
    press(Qt::Key_F5);
    EXPECT_EQ(pressed.back(), "at time");

    pressed.clear();
    shell->tabBar()->setCurrentIndex(TAB_MATRIX);
    button(window->matrixPage, MatrixControls::PRINT)->setEnabled(true);
    button(window->matrixPage, MatrixControls::EXPORT)->setEnabled(true);
    press(Qt::Key_P, Qt::ControlModifier);
    press(Qt::Key_E, Qt::ControlModifier);
    shell->tabBar()->setCurrentIndex(TAB_GRAPH);
    button(window->graphPage, GraphControls::PRINT)->setEnabled(true);
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(pressed, (std::vector<std::string>{"matrix print", "matrix export", "graph print"}));

    // A button that is off is not pressed by its key either.
    pressed.clear();
    button(window->graphPage, GraphControls::PRINT)->setEnabled(false);
    button(window->dataFilterPage, DataFilterControls::LOAD_REPORT)->setEnabled(false);
    press(Qt::Key_P, Qt::ControlModifier);
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(pressed.empty());
}

TEST_F(DesktopHabits, CtrlSIsSaveReportAndOpensItsDialog) {
    bool asked = false;
    QTimer::singleShot(0, [&asked] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            asked = dialog->acceptMode() == QFileDialog::AcceptSave;
            dialog->reject();
        }
    });
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(asked);
}

TEST_F(DesktopHabits, CtrlZAndCtrlYUndoAndRedoTheEditsOfTheWindowsThatEditTheJob) {
    auto *spacing = qobject_cast<QLineEdit *>(
        host.dialogOf(window->dataFilterPage)->control(DataFilterControls::CONTOUR_SPACING));
    ASSERT_NE(spacing, nullptr);
    const QString before = spacing->text();
    spacing->setFocus();
    QTest::keyClicks(spacing, "0.5");
    // The edit box gives the keys up: the whole typed text goes, not the last letter.
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(spacing->text(), before);
    press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(spacing->text(), QString("0.5"));
    press(Qt::Key_Z, Qt::ControlModifier);
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(spacing->text(), QString("0.5"));

    // In the Statistics window the settings edits undo the job's settings; the rule being
    // typed keeps its own undo.
    StatisticsWindow *statistics = shell->showStatistics();
    activate(statistics);
    QLineEdit *lower = statistics->settingEdit(StatisticsControls::LOWER_LIMIT);
    ASSERT_NE(lower, nullptr);
    lower->setFocus();
    QTest::keyClicks(lower, "2");
    statistics->ruleEdit()->setFocus();
    QTest::keyClicks(statistics->ruleEdit(), "R1C1 > 8");
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(statistics->ruleEdit()->text(), QString());
    EXPECT_EQ(window->job.setting(JobSetting::LowerLimit), "2");
    lower->setFocus();
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->job.setting(JobSetting::LowerLimit), "");
    EXPECT_EQ(lower->text(), QString());
    // The Data Filter's edit was the step before.
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(spacing->text(), before);
}

TEST_F(DesktopHabits, ClosingWithUnsavedEditsAsksAndCancelKeepsTheWindowOpen) {
    std::vector<std::string> questions;
    platform::SaveChoice answer = platform::SaveChoice::Cancel;
    platform::setSaveQuestionHook([&](const std::string &question, const std::string &) {
        questions.push_back(question);
        return answer;
    });
    EXPECT_TRUE(shell->close()) << "nothing to save";
    shell->show();
    EXPECT_TRUE(questions.empty());
    host.dialogOf(window->fileSelectionPage)->setText(FileSelectionControls::ROW_SPACING, "2");
    EXPECT_FALSE(shell->close());
    EXPECT_TRUE(shell->isVisible());
    ASSERT_EQ(questions.size(), 1u);
    answer = platform::SaveChoice::Discard;
    EXPECT_TRUE(shell->close());
    EXPECT_EQ(questions.size(), 2u);
    platform::setSaveQuestionHook(nullptr);
}

TEST_F(DesktopHabits, CtrlCCopiesTheSelectedMatrixCellsWithTheirLabels) {
    auto set = std::make_unique<TemperatureSet>(37930.5, 0.0, 6, 4, 2);
    set->setValue(0, 0, 20.0);
    set->setValue(0, 1, 21.5);
    set->setValue(1, 0, 22.25);
    window->job.setList.append(std::move(set));
    shell->tabBar()->setCurrentIndex(TAB_MATRIX);
    platform::QtListView *list =
        host.dialogOf(window->matrixPage)->listWidget(MatrixControls::ARRAY_LIST);
    list->synchronise();
    // Rows 2 and 3 and columns 2 and 3 of the list are positions R1, R2 by C1, C2; the ring
    // and the labels lie before them.
    list->setRangeSelected(QTableWidgetSelectionRange(2, 2, 3, 3), true);
    QApplication::clipboard()->clear();
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QString(".\tC1\tC2\nR1\t20.00\t21.50\nR2\t22.25\t-\n"));
    EXPECT_EQ(QString::fromStdString(shell->matrixText()), QApplication::clipboard()->text());

    // Without a selection every cell goes, the array and then the singular loggers.
    list->clearSelection();
    const std::string all = shell->matrixText();
    EXPECT_EQ(all.substr(0, all.find('\n')), ".\t.\tC1\tC2\tC3\tC4\t.");
    EXPECT_NE(all.find("\n\nS1\t-\nS2\t-\n"), std::string::npos) << all;
}

TEST_F(DesktopHabits, OtherWindowsCloseWithEscapeOrCloseAndOpenHelpWithF1) {
    shell->showTimeSeries();
    TimeSeriesWindow *series = shell->timeSeriesWindow();
    activate(series);
    press(Qt::Key_F1);
    EXPECT_EQ(host.helpPaths.size(), 1u);
    press(Qt::Key_Escape);
    EXPECT_FALSE(series->isVisible());

    shell->showTimeSeries();
    QPushButton *close = nullptr;
    for (QPushButton *candidate : series->findChildren<QPushButton *>())
        if (candidate->text() == "Close")
            close = candidate;
    ASSERT_NE(close, nullptr);
    close->click();
    EXPECT_FALSE(series->isVisible());

    // The Data Files page keeps Escape from its own controls; the window still closes.
    shell->showDataFiles();
    DataFilesWindow *files = shell->dataFilesWindow();
    activate(files);
    host.dialogOf(window->fileSelectionPage)->control(FileSelectionControls::DIRECTORY)->setFocus();
    press(Qt::Key_Escape);
    EXPECT_FALSE(files->isVisible());
    // Escape in a window never closes the main one.
    EXPECT_TRUE(shell->isVisible());
}

TEST_F(DesktopHabits, TheTitleNamesTheDocumentAndRecentFilesKeepTheLastEightNewestFirst) {
    EXPECT_EQ(shell->windowTitle(), QString("Z-QAR  Vemro"));
    EXPECT_EQ(recentEntries(), QStringList{"(none)"});

    std::vector<std::string> projects;
    for (int i = 1; i <= 9; ++i) {
        projects.push_back(dir.file("study" + std::to_string(i) + ".ttp"));
        ASSERT_FALSE(saveProjectFile(window->fileSelectionPage, projects.back()).hasFailed());
    }
    EXPECT_EQ(shell->windowTitle(), QString("study9.ttp - Z-QAR  Vemro"));
    QStringList entries = recentEntries();
    ASSERT_EQ(entries.size(), 8);
    EXPECT_EQ(entries.front(), QString::fromStdString("&1 " + projects[8]));
    EXPECT_EQ(entries.back(), QString::fromStdString("&8 " + projects[1]));

    // Choosing one opens it; it comes to the front once, not twice.
    shell->recentFilesMenu()->actions().at(3)->trigger();
    EXPECT_EQ(shell->windowTitle(), QString("study6.ttp - Z-QAR  Vemro"));
    entries = recentEntries();
    EXPECT_EQ(entries.size(), 8);
    EXPECT_EQ(entries.front(), QString::fromStdString("&1 " + projects[5]));
    EXPECT_EQ(entries.count(QString::fromStdString("&1 " + projects[5])), 1);

    // The list outlasts the run: a new host reads it back.
    const platform::QtHost nextRun;
    ASSERT_EQ(nextRun.recentFiles().size(), 8u);
    EXPECT_EQ(nextRun.recentFiles().front(), projects[5]);

    // A file that has gone says so in its command's words and leaves the list.
    std::filesystem::remove(projects[8]);
    shell->recentFilesMenu()->actions().at(1)->trigger();
    ASSERT_EQ(messages.size(), 1u);
    messages.clear();
    const std::vector<std::string> left = host.recentFiles();
    EXPECT_EQ(std::count(left.begin(), left.end(), projects[8]), 0);
    EXPECT_EQ(shell->windowTitle(), QString("study6.ttp - Z-QAR  Vemro"));
}

TEST_F(DesktopHabits, EachKindOfFileDialogStartsWhereItsLastFileWasChosenInALaterRunToo) {
    std::filesystem::create_directories(dir.path() / "reports");
    std::filesystem::create_directories(dir.path() / "projects");
    const std::string report = dir.write("reports/a.ttr", "");
    const std::string project = dir.write("projects/a.ttp", "");
    auto choose = [](platform::QtHost &on, const std::string &pattern, const std::string &file) {
        QString startedIn;
        QTimer::singleShot(0, [&startedIn, file] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                startedIn = dialog->directory().absolutePath();
                if (file.empty()) {
                    dialog->reject();
                    return;
                }
                dialog->selectFile(QString::fromStdString(file));
                QMetaObject::invokeMethod(dialog, "accept");
            }
        });
        platform::FileDialogOptions options;
        options.filterPattern = pattern;
        options.initialDirectory = on.currentDirectory();
        on.openFile(options);
        return startedIn.toStdString();
    };
    choose(host, "*.ttr", report);
    choose(host, "*.ttp", project);
    // Reports start among the reports although the last dialog of all was a project's.
    EXPECT_EQ(choose(host, "*.ttr", ""), (dir.path() / "reports").string());

    platform::QtHost nextRun;
    EXPECT_EQ(choose(nextRun, "*.ttr", ""), (dir.path() / "reports").string());
    EXPECT_EQ(choose(nextRun, "*.ttp", ""), (dir.path() / "projects").string());

    // A remembered folder that is gone gives way to the usual start.
    std::filesystem::remove_all(dir.path() / "projects");
    EXPECT_EQ(choose(nextRun, "*.ttp", ""), nextRun.currentDirectory());
}
