// Undo and Redo of the edits, and the question before unsaved edits are let go, on the
// in-memory backend: edits are typed and clicked as a user would, and the project files
// written before and after are compared byte for byte.

#include "app/BatchTool.h"
#include "core/job/EditHistory.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/settings.h"
#include "platform/memory/MemoryListWindow.h"
#include "resources/desktopTexts.h"

#include "support/FileBytes.h"
#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <sstream>

using namespace zqar;
using namespace zqar::testing;
using platform::SaveChoice;
using FS = FileSelectionPage;
using DF = DataFilterPage;

namespace {

EditState stateWith(const std::string &value) { return EditState{{}, {{"RowSpacing", value}}}; }

} // namespace

TEST(EditHistory, GoesBackAndForthAndANewEditEndsTheWayForward) {
    EditHistory history;
    history.reset(stateWith("1"));
    EXPECT_FALSE(history.note(stateWith("1"))) << "no change is no step";
    EXPECT_TRUE(history.note(stateWith("2")));
    // An edit not yet noted is undone first.
    EXPECT_EQ(history.undo(stateWith("3")), stateWith("2"));
    EXPECT_EQ(history.undo(stateWith("2")), stateWith("1"));
    EXPECT_FALSE(history.undo(stateWith("1")));
    EXPECT_EQ(history.redo(stateWith("1")), stateWith("2"));
    EXPECT_TRUE(history.canRedo());
    // An edit after Undo: what was undone is gone.
    EXPECT_FALSE(history.redo(stateWith("4")));
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undo(stateWith("4")), stateWith("2"));
}

TEST(EditHistory, KeepsTheNewestStepsOnly) {
    EditHistory history;
    history.reset(stateWith("0"));
    const int edits = static_cast<int>(EditHistory::DEPTH) + 5;
    for (int i = 1; i <= edits; ++i)
        history.note(stateWith(std::to_string(i)));
    int undone = 0;
    std::optional<EditState> state;
    while (history.canUndo())
        state = history.undo(history.current()), ++undone;
    EXPECT_EQ(undone, static_cast<int>(EditHistory::DEPTH));
    EXPECT_EQ(state, stateWith("5"));
}

namespace {

class Undo : public PageTest {
protected:
    // Types into a cell of the array table and commits it, as a user would; "Use Serial
    // Numbers" is checked first, a step of its own once the editor opens.
    void typeCell(int row, int column, const std::string &text) {
        checkRadio(fileSelection(), FS::USE_SERIAL_NUMBERS, FS::USE_COMMENT_FIELD, true);
        fileSelection().clickCell(FS::ARRAY_LAYOUT_LIST, row, column, platform::MOUSE_LEFT);
        ASSERT_NE(fileSelection().editBox(), nullptr);
        fileSelection().editBox()->setText(text);
        window.fileSelectionPage.commitEditor();
    }
    // Text typed into an edit box, then the focus moved on.
    void type(platform::MemoryDialog &page, int id, const std::string &text) {
        page.setText(id, text);
        window.noteEdits();
    }
    std::string saveProject(const std::string &name) {
        const std::string path = dir.file(name);
        host.saveAnswers.push_back(path);
        fileSelection().click(FS::SAVE_PROJECT);
        return fileBytes(path);
    }
    std::string cell(int row, int column) {
        return window.fileSelectionPage.arrayLayoutList().itemText(row, column);
    }

    TempDir dir;
};

// The change log keeps every change, Undo's too; the rest of a project is the state.
std::string withoutChangeLog(const std::string &project) {
    const std::size_t log = project.find("[ChangeLog]");
    return log == std::string::npos ? project : project.substr(0, log);
}

} // namespace

TEST_F(Undo, EditsUndoneWriteTheSameProjectAsBefore) {
    const std::string before = saveProject("before.ttp");
    typeCell(1, 1, "4711");
    type(fileSelection(), FS::ROW_SPACING, "2.5");
    fileSelection().click(FS::LOGGERS_ON_BOUNDARY);
    type(dataFilter(), DF::CONTOUR_SPACING, "0.5");
    for (int step = 0; step < 5; ++step)
        EXPECT_TRUE(window.undo());
    EXPECT_FALSE(window.undo());
    EXPECT_EQ(saveProject("after.ttp"), before);
    EXPECT_EQ(cell(1, 1), "-");
    EXPECT_EQ(fileSelection().text(FS::ROW_SPACING), "1");
    EXPECT_TRUE(fileSelection().isChecked(FS::LOGGERS_ON_BOUNDARY));
    EXPECT_EQ(dataFilter().text(DF::CONTOUR_SPACING), "");
}

TEST_F(Undo, ANewLayoutIsUndoneWithItsCellsAndRedoneAsItWas) {
    typeCell(2, 3, "0815");
    const std::string sixByFour = saveProject("six.ttp");
    layout("3", "2", "1");
    typeCell(3, 2, "4711");
    type(fileSelection(), FS::NUMBER_OF_ROWS, "9");
    const std::string threeByTwo = saveProject("three.ttp");

    // Back over the typed count, the cell and the layout, whose counts as typed are a step
    // of their own: the cell of the old layout returns.
    for (int step = 0; step < 3; ++step)
        EXPECT_TRUE(window.undo());
    EXPECT_EQ(window.job.loggerArray.dimensions().rows, 6);
    EXPECT_EQ(fileSelection().text(FS::NUMBER_OF_ROWS), "3");
    EXPECT_TRUE(window.undo());
    EXPECT_EQ(cell(2, 3), "0815");
    EXPECT_EQ(withoutChangeLog(saveProject("undone.ttp")), withoutChangeLog(sixByFour));

    while (window.redo()) {
    }
    EXPECT_EQ(window.job.loggerArray.dimensions().rows, 3);
    EXPECT_EQ(cell(3, 2), "4711");
    EXPECT_EQ(fileSelection().text(FS::NUMBER_OF_ROWS), "9");
    EXPECT_EQ(withoutChangeLog(saveProject("redone.ttp")), withoutChangeLog(threeByTwo));
}

TEST_F(Undo, StatisticsSettingsComeBackAndTheChangeLogKeepsTheUndo) {
    window.job.setSetting(JobSetting::LowerLimit, "2");
    window.noteEdits();
    window.job.setSetting(JobSetting::LowerLimit, "25");
    window.recordChanges(); // as the next command does
    EXPECT_TRUE(window.undo());
    EXPECT_EQ(window.job.setting(JobSetting::LowerLimit), "2");
    // Undo is a change like any other: the log keeps both.
    window.recordChanges();
    ASSERT_EQ(window.job.changeLog.entries.size(), 2u);
    EXPECT_EQ(window.job.changeLog.entries[1].field, "lowerLimitText");
    EXPECT_EQ(window.job.changeLog.entries[1].oldValue, "25");
    EXPECT_EQ(window.job.changeLog.entries[1].newValue, "2");
    EXPECT_TRUE(window.redo());
    EXPECT_EQ(window.job.setting(JobSetting::LowerLimit), "25");
    EXPECT_FALSE(window.redo());
    // An edit after Undo leaves nothing to redo.
    EXPECT_TRUE(window.undo());
    type(fileSelection(), FS::PROJECT_NUMBER, "P-1");
    EXPECT_FALSE(window.redo());
    EXPECT_EQ(window.job.setting(JobSetting::LowerLimit), "2");
}

TEST_F(Undo, LoadingAJobStartsAFreshHistory) {
    const std::string project = saveProject("project.ttp");
    type(fileSelection(), FS::PROJECT_NUMBER, "P-1");
    host.openAnswers.push_back(dir.file("project.ttp"));
    host.saveChoices.push_back(SaveChoice::Discard);
    fileSelection().click(FS::LOAD_PROJECT);
    EXPECT_EQ(fileSelection().text(FS::PROJECT_NUMBER), "");
    EXPECT_FALSE(window.canUndo());
    EXPECT_FALSE(window.undo());
}

namespace {

class UnsavedEdits : public Undo {
protected:
    bool asked() {
        const bool any = !host.saveQuestions.empty();
        host.saveQuestions.clear();
        return any;
    }
    void pressLoadReport() { dataFilter().click(DF::LOAD_REPORT); }
    bool openDialogShown() {
        for (const auto &dialog : host.dialogs)
            if (dialog.kind == platform::DialogKind::OpenFile)
                return true;
        return false;
    }
};

} // namespace

TEST_F(UnsavedEdits, OnlyEditsAFileWouldKeepAreAskedAbout) {
    pressLoadReport();
    EXPECT_FALSE(asked()) << "nothing was edited";
    window.job.setSetting(JobSetting::UpperLimit, "8");
    pressLoadReport();
    EXPECT_FALSE(asked()) << "no file keeps the Statistics window's settings";
    type(dataFilter(), DF::MINIMUM_TEMPERATURE, "4");
    EXPECT_TRUE(window.hasUnsavedEdits());
    // Undone, the edit is no longer unsaved.
    window.undo();
    EXPECT_FALSE(window.hasUnsavedEdits());
}

TEST_F(UnsavedEdits, CancelKeepsTheWorkAndDiscardGoesOn) {
    type(fileSelection(), FS::ROW_SPACING, "3");
    host.saveChoices.push_back(SaveChoice::Cancel);
    pressLoadReport();
    EXPECT_TRUE(asked());
    EXPECT_FALSE(openDialogShown());
    host.saveChoices.push_back(SaveChoice::Cancel);
    fileSelection().click(FS::LOAD_PROJECT);
    EXPECT_TRUE(asked());
    EXPECT_FALSE(openDialogShown());
    host.saveChoices.push_back(SaveChoice::Cancel);
    EXPECT_EQ(window.openFile(dir.file("x.ttr")).kind, CommandOutcome::Kind::Cancelled);
    EXPECT_TRUE(asked());
    EXPECT_TRUE(window.hasUnsavedEdits());

    host.saveChoices.push_back(SaveChoice::Discard);
    pressLoadReport();
    EXPECT_TRUE(asked());
    EXPECT_TRUE(openDialogShown());
}

TEST_F(UnsavedEdits, SaveWritesTheKindOfFileLastUsedAndACancelledSaveStops) {
    const std::string path = dir.file("layout.ttp");
    saveProject("layout.ttp");
    EXPECT_FALSE(window.hasUnsavedEdits());
    typeCell(1, 2, "4711");
    EXPECT_TRUE(window.hasUnsavedEdits());

    // The save dialog cancelled: no load either.
    host.saveChoices.push_back(SaveChoice::Save);
    EXPECT_FALSE(window.settleUnsavedEdits());
    EXPECT_EQ(host.saveQuestions.back(), text::UNSAVED_EDITS_SAVE_PROJECT);

    host.saveChoices.push_back(SaveChoice::Save);
    host.saveAnswers.push_back(path);
    EXPECT_TRUE(window.settleUnsavedEdits());
    EXPECT_NE(fileBytes(path).find("R1C2=4711"), std::string::npos);
    EXPECT_FALSE(window.hasUnsavedEdits());
}

TEST_F(UnsavedEdits, NewWorkWithRecordsIsSavedAsAReport) {
    window.job.loggerArray.place(0, 0, makeRecord("4711", novemberFifth(14, 30), 60, {1, 2}));
    type(dataFilter(), DF::MAXIMUM_TEMPERATURE, "30");
    host.saveChoices.push_back(SaveChoice::Save);
    host.saveAnswers.push_back(dir.file("job.ttr"));
    EXPECT_TRUE(window.settleUnsavedEdits());
    EXPECT_EQ(host.saveQuestions.back(), text::UNSAVED_EDITS_SAVE_REPORT);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "job" / "job.ttr"));
    EXPECT_FALSE(window.hasUnsavedEdits());
}

TEST(UnsavedEditsInTheBatchTool, NothingIsAsked) {
    TempDir dir;
    const std::string project = dir.file("p.ttp");
    std::ostringstream out;
    std::ostringstream err;
    BatchTool tool(out, err);
    EXPECT_EQ(tool.run({"--save-project", project, "--set", "RowSpacing=4", "--load-project",
                        project, "--save-project", dir.file("q.ttp")}),
              0)
        << err.str();
    EXPECT_TRUE(tool.host.saveQuestions.empty());
    EXPECT_EQ(fileBytes(dir.file("q.ttp")).find("RowSpacing=4"), std::string::npos);
}
