// The Statistics window's alarm rules, alarms and exclusions, its refusal of an activation
// energy in J/mol, and its Print, on a job of one logger: readings 1, 9, 9, 9, 9, 9, 9, 9, 9 every
// ten minutes from 02:30PM, the span 02:30PM to 04:00PM.

#include "app/MainWindow.h"
#include "core/data/dateTime.h"
#include "core/job/jobEvents.h"
#include "platform/memory/RecordingContext.h"
#include "qt/QtHost.h"
#include "qt/QtMessageBox.h"
#include "resources/controlIds.h"
#include "support/TempDir.h"
#include "window/ExclusionDialog.h"
#include "window/MainWindowShell.h"
#include "window/StatisticsWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace zqar {
namespace {

using Row = std::vector<std::string>;

Row rowOf(const QAbstractItemModel &model, int row) {
    Row cells;
    for (int column = 0; column < model.columnCount(); ++column)
        cells.push_back(model.index(row, column).data().toString().toStdString());
    return cells;
}

std::vector<Row> rowsOf(const QAbstractItemModel &model) {
    std::vector<Row> rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows.push_back(rowOf(model, row));
    return rows;
}

Row headingsOf(const QAbstractItemModel &model) {
    Row headings;
    for (int column = 0; column < model.columnCount(); ++column)
        headings.push_back(model.headerData(column, Qt::Horizontal).toString().toStdString());
    return headings;
}

QPushButton *button(QWidget &window, const QString &text) {
    for (QPushButton *candidate : window.findChildren<QPushButton *>())
        if (candidate->text() == text)
            return candidate;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

class StatisticsWindowRules : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setMessageBoxHook(
            [this](const std::string &text, const std::string &) { messages.push_back(text); });
        window = std::make_unique<MainWindow>(host);
        shell = std::make_unique<MainWindowShell>(*window, host);
        shell->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
        auto log = std::make_unique<LogFile>();
        log->loggerName.assign("v");
        log->startTime.day = startTime;
        log->samplePeriod = 600.0;
        log->values = {1, 9, 9, 9, 9, 9, 9, 9, 9};
        log->valueCount = 9;
        window->job.loggerArray.place(0, 0, std::move(log));
        window->job.changed(JobChange::RECORDS);
        window->dataFilterPage.dialog().setText(DataFilterPage::START_TIME, "05-Nov-2003 02:30PM");
        window->dataFilterPage.dialog().setText(DataFilterPage::FINISH_TIME, "05-Nov-2003 04:00PM");
        statistics = shell->showStatistics();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(statistics));
    }
    void TearDown() override {
        shell.reset();
        window.reset();
        platform::setMessageBoxHook(nullptr);
        EXPECT_TRUE(messages.empty()) << "unexpected message box: " << messages.front();
    }

    // The one message box shown since the last call.
    std::string takeMessage() {
        EXPECT_EQ(messages.size(), 1u);
        const std::string last = messages.empty() ? std::string() : messages.back();
        messages.clear();
        return last;
    }

    // The position's row of the statistics table; empty while there are no figures.
    Row firstPosition() const {
        const QAbstractItemModel &table = *statistics->table()->model();
        return table.rowCount() == 0 ? Row{} : rowOf(table, 0);
    }

    // Runs answer on the Exclude Readings dialog that the next modal loop opens.
    static void whenExclusionDialogOpens(std::function<void(ExclusionDialog &)> answer) {
        QTimer::singleShot(0, [answer] {
            auto *dialog = qobject_cast<ExclusionDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
        });
    }

    // Not a static: the date arithmetic's own constants may not be set up before main.
    const double startTime = dayNumberFromCivil(CivilTime{2003, 11, 5, 14, 30, 0});

    platform::QtHost host;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<MainWindowShell> shell;
    StatisticsWindow *statistics = nullptr;
    std::vector<std::string> messages;
};

// A recording printer on A4 that leaves its texts behind when the print command lets it go.
class KeptPrinter : public platform::RecordingContext {
public:
    explicit KeptPrinter(std::vector<std::string> &kept) : kept(kept) {
        setDeviceCap(platform::HORZRES, 2480);
        setDeviceCap(platform::VERTRES, 3508);
        setDeviceCap(platform::HORZSIZE, 210);
        setDeviceCap(platform::LOGPIXELSX, 300);
    }
    ~KeptPrinter() override {
        kept.clear();
        for (const platform::RecordedCall &call : callsOf(platform::CallKind::Text))
            kept.push_back(call.text);
    }

private:
    std::vector<std::string> &kept;
};

} // namespace

// A single-event rule of an hour above 8: the eight readings of 9 are a run of 80 minutes
// that reaches 60 at the sixth of them, 03:30PM. The alarms file says the same.
TEST_F(StatisticsWindowRules, ARuleTypedInFiresItsAlarmAndGoesWithRemoveRule) {
    QLineEdit *edit = statistics->ruleEdit();
    QTest::keyClicks(edit, "above,8,sometimes,60");
    button(*statistics, "Add Rule")->click();
    EXPECT_EQ(takeMessage(), "above,8,sometimes,60 is not an alarm rule: "
                             "above|below,THRESHOLD,single|cumulative,MINUTES[,day].");
    EXPECT_TRUE(window->job.alarmRules.empty());
    EXPECT_EQ(edit->text(), QString("above,8,sometimes,60")) << "kept to be mended";

    edit->clear();
    QTest::keyClicks(edit, "above,8,single,60");
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_EQ(window->job.alarmRules.size(), 1u);
    EXPECT_EQ(window->job.alarmRules[0].spec, "above,8,single,60");
    EXPECT_EQ(rowsOf(*statistics->rulesModel()), std::vector<Row>{{"above,8,single,60"}});
    EXPECT_TRUE(edit->text().isEmpty());

    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    EXPECT_EQ(headingsOf(*statistics->alarmsModel())[6], "Minutes Beyond");
    const Row alarm{
        "R1C1", "v",    "above,8,single,60",   "-", "05-Nov-2003 02:40PM", "05-Nov-2003 03:30PM",
        "80.0", "9.00", "05-Nov-2003 02:40PM", "No"};
    EXPECT_EQ(rowsOf(*statistics->alarmsModel()), std::vector<Row>{alarm});

    zqar::testing::TempDir folder;
    const std::string file = folder.file("alarms.csv");
    QTimer::singleShot(0, [file] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(QString::fromStdString(file));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QPushButton *exportButton = button(*statistics, "Export Alarms...");
    ASSERT_TRUE(exportButton->isEnabled());
    exportButton->click();
    std::ifstream written(file, std::ios::binary);
    std::stringstream bytes;
    bytes << written.rdbuf();
    EXPECT_EQ(bytes.str(),
              "Position,Logger,Rule,Day,First Beyond,Trigger,Minutes Beyond,Peak,Time of Peak,"
              "Over 24 Hours\r\n"
              "R1C1,v,\"above,8,single,60\",-,05-Nov-2003 02:40PM,05-Nov-2003 03:30PM,80.0,9.00,"
              "05-Nov-2003 02:40PM,No\r\n");

    // Remove Rule takes the selected rule; the alarms of the rules calculated go with it.
    QPushButton *remove = button(*statistics, "Remove Rule");
    EXPECT_FALSE(remove->isEnabled()) << "nothing selected";
    statistics->rulesTable()->selectRow(0);
    ASSERT_TRUE(remove->isEnabled());
    remove->click();
    EXPECT_TRUE(window->job.alarmRules.empty());
    EXPECT_EQ(statistics->rulesModel()->rowCount(), 0);
    EXPECT_EQ(statistics->alarmsModel()->rowCount(), 0);
    EXPECT_TRUE(firstPosition().empty()) << "figures of other rules are gone";
    EXPECT_FALSE(exportButton->isEnabled());
    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    EXPECT_EQ(statistics->alarmsModel()->rowCount(), 0);
}

// Leaving out the reading of 1 at 02:30PM: the figures are those of the eight 9s, and Remove
// Exclusion gives back those of all nine readings.
TEST_F(StatisticsWindowRules, AnExclusionChangesTheFiguresAndRemovingItChangesThemBack) {
    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    const Row all = firstPosition();
    ASSERT_EQ(all.size(), 14u);
    EXPECT_EQ(all[2], "9");    // readings
    EXPECT_EQ(all[3], "1.00"); // minimum
    EXPECT_EQ(all[7], "8.11"); // mean, 73 / 9

    whenExclusionDialogOpens([this](ExclusionDialog &dialog) {
        ASSERT_EQ(dialog.positionChoice()->count(), 1);
        EXPECT_EQ(dialog.positionChoice()->itemText(0), QString("R1C1 (v)"));
        EXPECT_EQ(dialog.firstEdit()->text(), QString("05-Nov-2003 02:30PM")) << "the span's";
        EXPECT_EQ(dialog.lastEdit()->text(), QString("05-Nov-2003 04:00PM"));
        dialog.lastEdit()->setText("05-Nov-2003 02:29PM");
        dialog.reasonEdit()->setText("door open");
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible()) << "refused, the dialog stays";
        EXPECT_EQ(takeMessage(), "The times must read as dates and times (such as 02-Jun-2025 "
                                 "06:00AM), the first not after the last.");
        dialog.lastEdit()->setText("05-Nov-2003 02:35PM");
        dialog.reasonEdit()->setText("  ");
        dialog.accept();
        EXPECT_EQ(takeMessage(), "Give the reason for leaving the readings out.");
        dialog.reasonEdit()->setText("door open");
        dialog.accept();
    });
    statistics->tabs()->setCurrentIndex(5); // Exclusions, as the user would
    button(*statistics, "Exclude Readings...")->click();
    ASSERT_EQ(window->job.exclusions.size(), 1u);
    // The table on show widens its columns to the new row's texts.
    const QTableView *table = statistics->exclusionsTable();
    for (int column = 0; column < 3; ++column) {
        const QString shown = table->model()->index(0, column).data().toString();
        EXPECT_GE(table->columnWidth(column), table->fontMetrics().horizontalAdvance(shown))
            << shown.toStdString();
    }
    EXPECT_EQ(headingsOf(*statistics->exclusionsModel()),
              (Row{"Position", "From", "Through", "Readings Excluded", "Reason"}));
    EXPECT_EQ(rowsOf(*statistics->exclusionsModel()),
              (std::vector<Row>{
                  {"R1C1 (v)", "05-Nov-2003 02:30PM", "05-Nov-2003 02:35PM", "1", "door open"}}));
    EXPECT_TRUE(firstPosition().empty()) << "figures with the reading in are gone";

    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    const Row without = firstPosition();
    ASSERT_EQ(without.size(), 14u);
    EXPECT_EQ(without[2], "8");
    EXPECT_EQ(without[3], "9.00");
    EXPECT_EQ(without[7], "9.00");

    // A cancelled dialog adds nothing.
    whenExclusionDialogOpens([](ExclusionDialog &dialog) { dialog.reject(); });
    button(*statistics, "Exclude Readings...")->click();
    EXPECT_EQ(window->job.exclusions.size(), 1u);
    EXPECT_EQ(firstPosition(), without);

    QPushButton *remove = button(*statistics, "Remove Exclusion");
    EXPECT_FALSE(remove->isEnabled());
    statistics->exclusionsTable()->selectRow(0);
    remove->click();
    EXPECT_TRUE(window->job.exclusions.empty());
    EXPECT_EQ(statistics->exclusionsModel()->rowCount(), 0);
    EXPECT_TRUE(firstPosition().empty());
    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    EXPECT_EQ(firstPosition(), all);
}

// 83144 is J/mol typed into the kJ/mol field: Calculate and Suggest Probes refuse it and the
// figures on show stay as they were.
TEST_F(StatisticsWindowRules, AnEnergyInJoulesIsRefusedAndTheFiguresStay) {
    QTest::keyClicks(statistics->settingEdit(StatisticsControls::MKT_WINDOW), "1");
    EXPECT_EQ(window->job.setting(JobSetting::MktWindow), "1");
    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    const std::vector<Row> figures = rowsOf(*statistics->table()->model());
    const QString spots = statistics->spotsLabel()->text();
    // The hour from 02:40PM holds six 9s and nothing else.
    EXPECT_TRUE(spots.endsWith("Highest 1-hour MKT: 9.00 at R1C1 (v), from 05-Nov-2003 02:40PM "
                               "to 05-Nov-2003 03:40PM"))
        << spots.toStdString();

    QLineEdit *energy = statistics->settingEdit(StatisticsControls::ACTIVATION_ENERGY);
    energy->clear();
    QTest::keyClicks(energy, "83144");
    EXPECT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Failed);
    EXPECT_EQ(takeMessage(), "The activation energy is in kJ/mol: 83144 looks like J/mol.");
    EXPECT_EQ(statistics->suggestProbes().kind, CommandOutcome::Kind::Failed);
    EXPECT_EQ(takeMessage(), "The activation energy is in kJ/mol: 83144 looks like J/mol.");
    EXPECT_EQ(rowsOf(*statistics->table()->model()), figures);
    EXPECT_EQ(statistics->spotsLabel()->text(), spots);
    EXPECT_TRUE(statistics->mapMarks().empty()) << "no probes were suggested";
}

// Figures of other readings are taken away: a calibration table loaded after Calculate, and
// figures Suggest Probes made without a phase's readings once that phase is counted again.
TEST_F(StatisticsWindowRules, FiguresOfReadingsNoLongerUsedGoAway) {
    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    ASSERT_FALSE(firstPosition().empty());
    CalibrationTable table;
    window->job.setCalibration(std::move(table), InputFile{"certificates.csv", {}});
    EXPECT_TRUE(firstPosition().empty());

    Event start;
    start.kind = EventKind::PhaseStart;
    start.time = startTime;
    start.phase = "Loaded";
    Event finish = start;
    finish.kind = EventKind::PhaseEnd;
    finish.time = startTime + 15.0 / (24 * 60);
    addEvents(window->job, {start, finish});
    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    const Row all = firstPosition();
    ASSERT_EQ(statistics->phaseChecks().size(), 1u);
    statistics->phaseChecks().front()->click();
    EXPECT_TRUE(firstPosition().empty());
    ASSERT_EQ(statistics->suggestProbes().kind, CommandOutcome::Kind::Completed);
    ASSERT_FALSE(firstPosition().empty());
    EXPECT_EQ(firstPosition()[2], "7") << "the readings at 02:30PM and 02:40PM are left out";
    statistics->phaseChecks().front()->click();
    EXPECT_TRUE(firstPosition().empty());
    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    EXPECT_EQ(firstPosition(), all);
}

// Print takes the table as the user sorted it: a second logger of 5s at R1C2, the table sorted
// by the mean (R1C1's 8.11 above R1C2's 5.00), then by the position from the last.
TEST_F(StatisticsWindowRules, PrintTakesTheRowsInTheOrderShownFromTheButtonAndCtrlP) {
    auto log = std::make_unique<LogFile>();
    log->loggerName.assign("w");
    log->startTime.day = startTime;
    log->samplePeriod = 600.0;
    log->values = {5, 5, 5, 5, 5, 5, 5, 5, 5};
    log->valueCount = 9;
    window->job.loggerArray.place(0, 1, std::move(log));
    window->job.changed(JobChange::RECORDS);
    std::vector<std::string> printed;
    int dialogs = 0;
    host.setPrinterChooser([&printed, &dialogs](QWidget *) {
        ++dialogs;
        return std::make_unique<KeptPrinter>(printed);
    });
    QPushButton *print = statistics->statisticsPrintButton();
    EXPECT_FALSE(print->isEnabled()) << "no figures yet";
    EXPECT_EQ(statistics->printStatistics().kind, CommandOutcome::Kind::Cancelled);
    EXPECT_EQ(dialogs, 0);

    ASSERT_EQ(statistics->calculate().kind, CommandOutcome::Kind::Completed);
    ASSERT_TRUE(print->isEnabled());
    // The order the positions' names come in on paper.
    auto printedOrder = [&printed] {
        std::vector<std::string> names;
        for (const std::string &text : printed)
            if (text == "R1C1" || text == "R1C2")
                names.push_back(text);
        return names;
    };
    const int meanColumn = 7;
    statistics->table()->sortByColumn(meanColumn, Qt::AscendingOrder);
    print->click();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(printedOrder(), (std::vector<std::string>{"R1C2", "R1C1"}));
    EXPECT_NE(std::find(printed.begin(), printed.end(), "8.11"), printed.end())
        << "the figures as the window shows them";

    statistics->table()->sortByColumn(0, Qt::DescendingOrder);
    statistics->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(statistics));
    QTest::keyClick(statistics, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(printedOrder(), (std::vector<std::string>{"R1C2", "R1C1"}));

    statistics->table()->sortByColumn(0, Qt::AscendingOrder);
    print->click();
    EXPECT_EQ(printedOrder(), (std::vector<std::string>{"R1C1", "R1C2"}));
}

} // namespace zqar
