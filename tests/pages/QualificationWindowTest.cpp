// Qualification and events in the window: the Statistics window's settings, figures and phase
// check boxes, and the time-series window's right-click menu that marks, edits and removes
// events, all on the sample report.

#include "app/MainWindow.h"
#include "core/analysis/qualificationCsv.h"
#include "core/data/dateTime.h"
#include "core/data/timeUnits.h"
#include "core/job/jobEvents.h"
#include "pages/analysis/qualificationCommands.h"
#include "qt/QtHost.h"
#include "qt/QtMessageBox.h"
#include "resources/controlIds.h"
#include "window/EventDialog.h"
#include "window/MainWindowShell.h"
#include "window/StatisticsWindow.h"
#include "window/TimeSeriesWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zqar {
namespace {

Event at(EventKind kind, const std::string &time, const std::string &phase = "") {
    Event event;
    event.kind = kind;
    event.time = *parseDateTime(time);
    event.phase = phase;
    return event;
}

class QualificationWindow : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setMessageBoxHook(
            [this](const std::string &text, const std::string &) { messages.push_back(text); });
        window = std::make_unique<MainWindow>(host);
        shell = std::make_unique<MainWindowShell>(*window, host);
        shell->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
        ASSERT_FALSE(
            window->openFile(std::string(ZQAR_SAMPLES_DIR) + "/warehouse.ttr").hasFailed());
    }
    void TearDown() override {
        shell.reset();
        window.reset();
        platform::setMessageBoxHook(nullptr);
        EXPECT_TRUE(messages.empty()) << "unexpected message box: " << messages.front();
    }

    // Runs answer on the dialog that the next modal loop opens.
    static void whenDialogOpens(std::function<void(EventDialog &)> answer) {
        QTimer::singleShot(0, [answer] {
            auto *dialog = qobject_cast<EventDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
        });
    }

    platform::QtHost host;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<MainWindowShell> shell;
    std::vector<std::string> messages;
};

} // namespace

TEST_F(QualificationWindow, StatisticsWindowShowsTheFiguresAndLeavesOutACheckedPhase) {
    StatisticsWindow *statistics = shell->showStatistics();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(statistics));
    QTest::keyClicks(statistics->settingEdit(StatisticsControls::SET_POINT), "21");
    QTest::keyClicks(statistics->settingEdit(StatisticsControls::TOLERANCE), "3");
    QTest::keyClicks(statistics->settingEdit(StatisticsControls::STABLE_START),
                     "03-Jun-2025 12:00AM");
    EXPECT_EQ(window->job.setting(JobSetting::SetPoint), "21");
    EXPECT_EQ(window->job.setting(JobSetting::StableStart), "03-Jun-2025 12:00AM");
    window->job.setSetting(JobSetting::ReferencePosition, "R1C1");
    EXPECT_EQ(statistics->settingEdit(StatisticsControls::REFERENCE_POSITION)->text(),
              QString("R1C1"));

    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    // The same texts as the qualification command gives.
    const QualificationRun run =
        calculateQualification(window->job, window->settings(), window->host());
    ASSERT_EQ(run.outcome.kind, CommandOutcome::Kind::Completed);
    const std::vector<FigureRow> expected = qualificationFigures(run.qualification);
    QStandardItemModel *figures = statistics->qualificationModel();
    ASSERT_EQ(figures->rowCount(), static_cast<int>(expected.size()));
    for (int row = 0; row < figures->rowCount(); ++row) {
        const FigureRow &figure = expected[static_cast<std::size_t>(row)];
        SCOPED_TRACE(std::string(figure.name));
        EXPECT_EQ(figures->item(row, 0)->text().toStdString(), figure.name);
        EXPECT_EQ(figures->item(row, 1)->text().toStdString(),
                  figure.plusMinus ? "+/- " + figure.value : figure.value);
        EXPECT_EQ(figures->item(row, 2)->text().toStdString(), figure.definition);
    }
    EXPECT_EQ(statistics->qualificationPositionsModel()->rowCount(), 26);
    EXPECT_TRUE(statistics->qualificationLabel()->text().contains("reference position R1C1"));

    // A phase: a check box that leaves its readings out, the figures of the readings that
    // were in it taken away until Calculate runs again.
    ASSERT_EQ(statistics->phaseChecks().size(), 0u);
    addEvent(window->job, at(EventKind::PhaseStart, "04-Jun-2025 08:00AM", "Loaded"));
    addEvent(window->job, at(EventKind::PhaseEnd, "04-Jun-2025 06:00PM", "Loaded"));
    EXPECT_EQ(statistics->table()->model()->rowCount(), 26) << "no phase is left out yet";
    ASSERT_EQ(statistics->phaseChecks().size(), 1u);
    QCheckBox *loaded = statistics->phaseChecks().front();
    EXPECT_EQ(loaded->text(), QString("Loaded: exclude from statistics"));
    loaded->click();
    EXPECT_EQ(window->job.excludedPhases, std::vector<std::string>{"Loaded"});
    EXPECT_EQ(statistics->table()->model()->rowCount(), 0);
    EXPECT_EQ(statistics->phaseChecks().front(), loaded) << "the box stays while it is clicked";
    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    EXPECT_EQ(statistics->table()->model()->rowCount(), 26);
    EXPECT_EQ(statistics->eventsModel()->rowCount(), 2);
    EXPECT_EQ(statistics->eventsModel()->item(0, 0)->text(), QString("phase start Loaded"));

    // A setting the figures cannot use is said on the tab; the statistics stand.
    window->job.setSetting(JobSetting::ReferencePosition, "R9C9");
    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    EXPECT_EQ(statistics->qualificationModel()->rowCount(), 0);
    EXPECT_EQ(statistics->qualificationLabel()->text(),
              QString("Qualification figures: The reference position is not in the layout."));
    EXPECT_EQ(statistics->table()->model()->rowCount(), 26);
}

TEST_F(QualificationWindow, RightClickMarksEditsAndRemovesEvents) {
    shell->showTimeSeries();
    TimeSeriesWindow *series = shell->timeSeriesWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(series));
    TimeSeriesChartView *chart = series->chart();
    chart->repaint();
    const platform::Rect plot = chart->plotArea();
    const int x = (plot.left + plot.right) / 2;

    // Mark Event: a door closing at the time under the click, to the minute.
    std::unique_ptr<QMenu> menu(chart->eventMenu(x));
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QString("Mark Event..."));
    whenDialogOpens([](EventDialog &dialog) {
        dialog.kindChoice()->setCurrentIndex(1); // door closed
        EXPECT_FALSE(dialog.phaseEdit()->isEnabled());
        dialog.noteEdit()->setText("pallets in");
        dialog.accept();
    });
    menu->actions()[0]->trigger();
    ASSERT_EQ(window->job.events.size(), 1u);
    const Event &marked = window->job.events[0];
    EXPECT_EQ(marked.kind, EventKind::DoorClosed);
    EXPECT_EQ(marked.note, "pallets in");
    const double clicked = timeAtColumn(chart->input(), plot, x);
    EXPECT_NEAR(marked.time, clicked, 0.5 / MINUTES_PER_DAY + 1e-9);
    EXPECT_EQ(eventTimeText(marked.time).find(':', 15), std::string::npos) << "no seconds";
    chart->refresh();
    ASSERT_EQ(chart->input().events.size(), 1u);

    // Near its line: edit it into a phase start (a name is needed), then remove it.
    const int line = columnAtTime(chart->input(), plot, marked.time);
    menu.reset(chart->eventMenu(line + 2));
    ASSERT_EQ(menu->actions().size(), 4); // Mark, a separator, Edit, Remove
    EXPECT_EQ(menu->actions()[2]->text(), QString("Edit Event \"door closed\"..."));
    whenDialogOpens([](EventDialog &dialog) {
        dialog.kindChoice()->setCurrentIndex(4); // phase start
        dialog.accept();                         // without a name: refused, the dialog stays
        EXPECT_TRUE(dialog.isVisible());
        dialog.phaseEdit()->setText("Loaded");
        dialog.timeEdit()->setText("04-Jun-2025 08:00AM");
        dialog.accept();
    });
    menu->actions()[2]->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "A phase start or end needs the name of its phase.");
    messages.clear();
    ASSERT_EQ(window->job.events.size(), 1u);
    EXPECT_EQ(eventText(window->job.events[0]), "phase-start:Loaded@04-Jun-2025 08:00AM");
    EXPECT_EQ(window->job.events[0].note, "pallets in");

    chart->refresh();
    const int moved = columnAtTime(chart->input(), plot, window->job.events[0].time);
    menu.reset(chart->eventMenu(moved));
    ASSERT_EQ(menu->actions().size(), 4);
    EXPECT_EQ(menu->actions()[3]->text(), QString("Remove Event \"phase start Loaded\""));
    menu->actions()[3]->trigger();
    EXPECT_TRUE(window->job.events.empty());

    // A cancelled dialog changes nothing.
    menu.reset(chart->eventMenu(x));
    whenDialogOpens([](EventDialog &dialog) { dialog.reject(); });
    menu->actions()[0]->trigger();
    EXPECT_TRUE(window->job.events.empty());
}

} // namespace zqar
