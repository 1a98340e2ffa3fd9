// A long command the user cancels leaves the job as it found it: every setting and cell, the
// records, the sets and the one on show, the exclusions, where the records came from, the
// change log and the status lines, with only its own page's status line saying it was
// cancelled. A report whose writing was cancelled leaves no file and no folder behind.

#include "core/data/reportFile.h"
#include "pages/analysis/DataFilterPage.h"
#include "pages/layout/FileSelectionPage.h"

#include "support/FileBytes.h"
#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

using namespace zqar;
using namespace zqar::testing;
using FS = FileSelectionPage;
using DF = DataFilterPage;
using Kind = CommandOutcome::Kind;

namespace {

namespace fs = std::filesystem;

const std::string CANCELLED = "Cancelled.";

fs::path sampleReport() {
    return fs::path(__FILE__).parent_path().parent_path().parent_path() / "samples" /
           "warehouse.ttr";
}

class CancelledCommands : public PageTest {
protected:
    // A 2 x 2 job by serial numbers, loaded from folder "a" and calculated in averaged sets,
    // with the second set on show and an exclusion.
    CancelledCommands() {
        layout("2", "2", "0");
        fileSelection().click(FS::USE_SERIAL_NUMBERS);
        for (int i = 0; i < 4; ++i)
            window.fileSelectionPage.arrayLayoutList().setItemText(1 + i / 2, 1 + i % 2, serial(i));
        writeLogs("a", 20.0);
        writeLogs("b", 30.0);
        fileSelection().setText(FS::DIRECTORY, dir.file("a"));
        EXPECT_EQ(window.loadFiles(1).kind, Kind::Completed);
        dataFilter().setText(DF::AVERAGING_INTERVAL, "2");
        EXPECT_EQ(window.dataFilterPage.calculateAveraged().kind, Kind::Completed);
        window.showSet(1);
        window.job.exclusions.push_back(
            Exclusion{0, 1, novemberFifth(14, 30), novemberFifth(14, 40), "door open"});
        host.takeStatusChanges();
        host.progressTitles.clear();
    }

    static std::string serial(int i) { return "L" + std::to_string(i + 1); }

    // Four loggers in a folder, ten minutes of samples each around the temperature.
    void writeLogs(const std::string &folder, double temperature) {
        fs::create_directories(dir.file(folder));
        for (int i = 0; i < 4; ++i) {
            DtaFile dta;
            dta.name = serial(i);
            const double t = temperature + i;
            dta.samples({t, t + 0.5, t + 1, t + 0.5, t, t - 0.5, t - 1, t, t + 0.5, t, t});
            dir.write(folder + "/" + serial(i) + ".dta", dta.text());
        }
    }

    // Everything but the status lines, as text.
    std::string jobState() {
        std::ostringstream state;
        for (const SettingValue &value : window.currentSettingValues(SettingChoice::All))
            state << value.name << '=' << value.value << '\n';
        const ArrayDimensions d = window.job.loggerArray.dimensions();
        state << "array " << d.rows << 'x' << d.columns << '+' << d.singularCount << " records "
              << std::hash<std::string>{}(writeReport(ReportFields{}, window.job.loggerArray))
              << '\n';
        const SetList &sets = window.job.setList;
        state << "sets " << sets.count() << " showing " << sets.currentSet << '\n';
        for (int i = 0; i < sets.count(); ++i)
            state << sets.at(i)->time.day << ' ' << sets.at(i)->span << ' '
                  << sets.at(i)->valueAt(0, 0) << '\n';
        state << "exclusions " << window.job.exclusions.size() << " report '"
              << window.job.reportPath << "' log " << window.job.changeLog.entries.size()
              << " copy " << fileSelection().isEnabled(FS::COPY_FILES) << '\n';
        return state.str();
    }

    std::vector<std::string> statuses() {
        std::vector<std::string> lines;
        for (platform::Page *page : window.pages())
            lines.push_back(host.dialogOf(*page).text(STATUS_LINE));
        return lines;
    }

    // Runs the command with Cancel pressed at its given step and checks that only the status
    // line of page (an index of pages()) changed, to "Cancelled.".
    void expectCancelledWithoutChange(const std::function<CommandOutcome()> &command, int step,
                                      std::size_t page) {
        // As a button does before its command: what was typed since goes into the change log.
        window.recordChanges();
        const std::string before = jobState();
        std::vector<std::string> lines = statuses();
        host.cancelAtStep = step;
        const int stepsBefore = host.progressSteps;
        EXPECT_EQ(command().kind, Kind::Cancelled);
        EXPECT_EQ(host.progressSteps - stepsBefore, step) << "stopped at once";
        EXPECT_EQ(jobState(), before);
        lines[page] = CANCELLED;
        EXPECT_EQ(statuses(), lines);
        EXPECT_TRUE(host.takeMessages().empty());
        host.cancelAtStep = 0;
    }

    TempDir dir;
};

TEST_F(CancelledCommands, LoadFilesPutsBackTheRecordsTablesAndSets) {
    fileSelection().setText(FS::DIRECTORY, dir.file("b"));
    expectCancelledWithoutChange([this] { return window.loadFiles(1); }, 2, 0);
    EXPECT_EQ(host.progressTitles, std::vector<std::string>{"Load Files"});
    // The records are those of folder "a", and the next load goes ahead as ever.
    ASSERT_NE(window.job.loggerArray.at(0, 0), nullptr);
    EXPECT_EQ(window.job.loggerArray.at(0, 0)->values.front(), 20.0);
    EXPECT_EQ(window.loadFiles(1).kind, Kind::Completed);
    EXPECT_EQ(window.job.loggerArray.at(0, 0)->values.front(), 30.0);
    EXPECT_EQ(window.job.setList.count(), 0);
}

TEST_F(CancelledCommands, LoadFilesOnAPoolOfThreadsStopsAsWell) {
    fileSelection().setText(FS::DIRECTORY, dir.file("b"));
    expectCancelledWithoutChange([this] { return window.loadFiles(3); }, 3, 0);
}

TEST_F(CancelledCommands, ImportPlacesNothing) {
    std::vector<std::string> tables;
    for (int i = 0; i < 3; ++i)
        tables.push_back(dir.write("t" + std::to_string(i) + ".csv",
                                   "Serial Number: " + serial(i) +
                                       "\nDate Time,Temp (C)\n2003-11-05 14:30,1\n"));
    expectCancelledWithoutChange([&] { return window.importFiles(tables, 1); }, 2, 0);
    EXPECT_EQ(host.progressTitles, std::vector<std::string>{"Import"});
}

TEST_F(CancelledCommands, CalculateKeepsTheSetsOnShow) {
    dataFilter().setText(DF::AVERAGING_INTERVAL, "1");
    expectCancelledWithoutChange([this] { return window.dataFilterPage.calculateAveraged(); }, 3,
                                 1);
    EXPECT_EQ(host.progressTitles, std::vector<std::string>{"Calculate"});
}

TEST_F(CancelledCommands, LoadReportPutsBackSettingsLayoutRecordsAndChangeLog) {
    // Typed since the last command, and not yet in the change log: still typed afterwards.
    dataFilter().setText(DF::CONTOUR_SPACING, "0.5");
    fileSelection().setText(FS::PROJECT_DESCRIPTION, "typed");
    const std::size_t documents = host.documents.size();
    expectCancelledWithoutChange([this] { return window.loadReport(sampleReport().string()); }, 2,
                                 1);
    EXPECT_EQ(host.documents.size(), documents) << "a cancelled report is no recent file";
    EXPECT_EQ(host.progressTitles, std::vector<std::string>{"Load Report"});
    // The report itself still loads.
    EXPECT_EQ(window.loadReport(sampleReport().string()).kind, Kind::Completed);
    EXPECT_EQ(window.job.reportPath, fs::weakly_canonical(sampleReport()).string());
}

TEST_F(CancelledCommands, CreateReportLeavesNoFileAndNoFolder) {
    const std::string fresh = dir.file("fresh.ttr");
    host.saveAnswers.push_back(fresh);
    expectCancelledWithoutChange([this] { return window.createReport(); }, 1, 1);
    EXPECT_EQ(host.progressTitles, std::vector<std::string>{"Create Report"});
    EXPECT_FALSE(fs::exists(dir.file("fresh"))) << "the folder made for the report";
    EXPECT_FALSE(fs::exists(fresh));

    // An existing report is written where it is; a cancel keeps its bytes.
    const std::string existing = dir.write("old.ttr", "the old report");
    host.saveAnswers.push_back(existing);
    expectCancelledWithoutChange([this] { return window.createReport(); }, 2, 1);
    EXPECT_EQ(fileBytes(existing), "the old report");
    const std::vector<std::string> left = {"a", "b", "old.ttr"};
    std::vector<std::string> found;
    for (const auto &entry : fs::directory_iterator(dir.path()))
        found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, left) << "no temp file stays";
}

} // namespace
