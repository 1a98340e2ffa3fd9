// Typing serial numbers into the layout tables, and the properties of a placed log file, on
// the in-memory backend: clicks move the simulated cursor and focus as a user's would.

#include "pages/layout/FileSelectionPage.h"
#include "platform/memory/MemoryListWindow.h"

#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <fstream>
#include <iterator>

using namespace zqar;
using namespace zqar::testing;
using platform::KEY_ESCAPE;
using platform::KEY_RETURN;
using platform::KEY_TAB;
using platform::MOUSE_LEFT;
using platform::MOUSE_RIGHT;
using FS = FileSelectionPage;

namespace {

class LayoutEditing : public PageTest {
protected:
    FileSelectionPage &page() { return window.fileSelectionPage; }
    platform::ListView &array() { return page().arrayLayoutList(); }
    platform::ListView &singular() { return page().singularLayoutList(); }
    void useSerialNumbers() { fileSelection().click(FS::USE_SERIAL_NUMBERS); }
    void click(int list, int item, int column, platform::MouseButton button = MOUSE_LEFT) {
        fileSelection().clickCell(list, item, column, button);
    }
    platform::MemoryEditBox *editor() { return fileSelection().editBox(); }
    // Types into the open editor, replacing its text.
    void type(const std::string &text) {
        ASSERT_NE(editor(), nullptr);
        editor()->setText(text);
    }
    // The list and cell the open editor covers.
    void expectEditorOn(int list, int item, int column) {
        ASSERT_NE(editor(), nullptr);
        EXPECT_EQ(editor()->parentId, list);
        EXPECT_EQ(editor()->rect, *fileSelection().listModel(list).cellRect(item, column));
    }
};

} // namespace

TEST_F(LayoutEditing, CommentFieldModeOpensNoEditorButShowsProperties) {
    window.job.loggerArray.place(0, 0, makeRecord("4711", novemberFifth(14, 30), 60, {1, 2, 3}));
    click(FS::ARRAY_LAYOUT_LIST, 1, 1);
    EXPECT_EQ(editor(), nullptr);
    click(FS::ARRAY_LAYOUT_LIST, 1, 1, MOUSE_RIGHT);
    const auto message = takeMessage();
    EXPECT_EQ(message.caption, "Properties");
    EXPECT_EQ(message.text, "Filename: /data/4711.dta\r\nStart Time: 05-Nov-2003 02:30PM\r\n"
                            "End Time: 05-Nov-2003 02:32PM\r\nSample period: 60\r\n"
                            "Channel: 1\r\nNumber of Values: 3\r\n");
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(LayoutEditing, TheEditorCoversTheCellWithTheCellsText) {
    useSerialNumbers();
    array().setItemText(2, 3, "4711");
    click(FS::ARRAY_LAYOUT_LIST, 2, 3);
    expectEditorOn(FS::ARRAY_LAYOUT_LIST, 2, 3);
    EXPECT_EQ(editor()->id, 20000);
    EXPECT_TRUE(editor()->shown);
    EXPECT_TRUE(editor()->hasFocus());
    EXPECT_EQ(editor()->text(), "4711");
    // A cell showing "-" opens empty, and an empty commit puts "-" back.
    click(FS::ARRAY_LAYOUT_LIST, 1, 1);
    expectEditorOn(FS::ARRAY_LAYOUT_LIST, 1, 1);
    EXPECT_EQ(editor()->text(), "");
    EXPECT_EQ(array().itemText(2, 3), "4711");
    EXPECT_TRUE(fileSelection().pressKey(KEY_TAB));
    EXPECT_EQ(array().itemText(1, 1), "-");
    expectEditorOn(FS::ARRAY_LAYOUT_LIST, 1, 2);
}

TEST_F(LayoutEditing, TabAndEnterWalkTheArrayRowByRowAndStopInTheLastCell) {
    useSerialNumbers();
    click(FS::ARRAY_LAYOUT_LIST, 1, 4);
    type("A");
    EXPECT_TRUE(fileSelection().pressKey(KEY_TAB));
    EXPECT_EQ(array().itemText(1, 4), "A");
    expectEditorOn(FS::ARRAY_LAYOUT_LIST, 2, 1);
    type("B");
    EXPECT_TRUE(fileSelection().pressKey(KEY_RETURN));
    EXPECT_EQ(array().itemText(2, 1), "B");
    expectEditorOn(FS::ARRAY_LAYOUT_LIST, 2, 2);

    click(FS::ARRAY_LAYOUT_LIST, 6, 4);
    type("Z");
    EXPECT_FALSE(fileSelection().pressKey(KEY_TAB)) << "the last cell passes Tab on";
    expectEditorOn(FS::ARRAY_LAYOUT_LIST, 6, 4);
    EXPECT_EQ(array().itemText(6, 4), "-") << "nothing committed yet";
    EXPECT_TRUE(fileSelection().pressKey(KEY_RETURN)) << "Enter is swallowed there";
    expectEditorOn(FS::ARRAY_LAYOUT_LIST, 6, 4);
    // The next pick commits it: a click on a label cell opens nothing.
    click(FS::ARRAY_LAYOUT_LIST, 0, 2);
    EXPECT_EQ(array().itemText(6, 4), "Z");
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(LayoutEditing, TabWalksTheSingularTableDownAndItsLabelsStayLabels) {
    layout("6", "4", "3");
    useSerialNumbers();
    click(FS::SINGULAR_LAYOUT_LIST, 0, 0);
    EXPECT_EQ(editor(), nullptr) << "the label column is not editable";
    click(FS::SINGULAR_LAYOUT_LIST, 0, 1);
    type("S-one");
    EXPECT_TRUE(fileSelection().pressKey(KEY_TAB));
    expectEditorOn(FS::SINGULAR_LAYOUT_LIST, 1, 1);
    EXPECT_TRUE(fileSelection().pressKey(KEY_TAB));
    expectEditorOn(FS::SINGULAR_LAYOUT_LIST, 2, 1);
    type("S-three");
    EXPECT_FALSE(fileSelection().pressKey(KEY_TAB));
    // A click in the array table commits and moves there.
    click(FS::ARRAY_LAYOUT_LIST, 3, 2);
    expectEditorOn(FS::ARRAY_LAYOUT_LIST, 3, 2);
    EXPECT_EQ(cells(singular()), (std::vector<std::vector<std::string>>{
                                     {"S1", "S-one"}, {"S2", "-"}, {"S3", "S-three"}}));
}

TEST_F(LayoutEditing, LabelsAndClicksBesideTheCellsOpenNothing) {
    useSerialNumbers();
    const struct {
        int list;
        int item;
        int column;
    } cases[] = {{FS::ARRAY_LAYOUT_LIST, 0, 1},
                 {FS::ARRAY_LAYOUT_LIST, 3, 0},
                 {FS::ARRAY_LAYOUT_LIST, 0, 0},
                 {FS::SINGULAR_LAYOUT_LIST, 1, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.item * 10 + c.column);
        click(c.list, c.item, c.column);
        EXPECT_EQ(editor(), nullptr);
    }
    // Below the last item and right of the last column.
    fileSelection().clickList(FS::ARRAY_LAYOUT_LIST, platform::Point{30, 7 * 17 + 2}, MOUSE_LEFT);
    fileSelection().clickList(FS::ARRAY_LAYOUT_LIST, platform::Point{5 * 60 + 1, 20}, MOUSE_LEFT);
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(LayoutEditing, EnterAndEscapeWithoutAnEditorDoNothing) {
    for (int key : {KEY_RETURN, KEY_ESCAPE}) {
        EXPECT_TRUE(fileSelection().pressKey(key));
        EXPECT_EQ(editor(), nullptr);
    }
    EXPECT_FALSE(fileSelection().pressKey(KEY_TAB));
    EXPECT_FALSE(fileSelection().pressKey('A'));
    useSerialNumbers();
    click(FS::ARRAY_LAYOUT_LIST, 1, 1);
    type("7");
    EXPECT_TRUE(fileSelection().pressKey(KEY_ESCAPE));
    expectEditorOn(FS::ARRAY_LAYOUT_LIST, 1, 1);
    EXPECT_EQ(editor()->text(), "7") << "Escape does not throw the text away";
}

TEST_F(LayoutEditing, RightClicksShowThePositionOneUpAndLeft) {
    auto &loggers = window.job.loggerArray;
    loggers.place(1, 2, makeRecord("r1c2", novemberFifth(8, 0), 60, {1}));
    loggers.place(2, 3, makeRecord("r2c3", novemberFifth(8, 0), 60, {1}));
    loggers.place(-1, 0, makeRecord("slot0", novemberFifth(8, 0), 60, {1}, 2));
    const struct {
        int list;
        int item;
        int column;
        std::string shows;
    } cases[] = {
        {FS::ARRAY_LAYOUT_LIST, 2, 3, "Filename: /data/r1c2.dta\r\n"},
        {FS::ARRAY_LAYOUT_LIST, 3, 4, "Filename: /data/r2c3.dta\r\n"},
        {FS::ARRAY_LAYOUT_LIST, 1, 1, "File not loaded."},
        {FS::SINGULAR_LAYOUT_LIST, 0, 1, "Filename: /data/slot0.dta\r\n"},
        {FS::SINGULAR_LAYOUT_LIST, 1, 1, "File not loaded."},
    };
    for (bool serialNumbers : {false, true}) {
        if (serialNumbers)
            useSerialNumbers();
        for (const auto &c : cases) {
            SCOPED_TRACE(c.shows);
            click(c.list, c.item, c.column, MOUSE_RIGHT);
            const auto message = takeMessage();
            EXPECT_EQ(message.caption, "Properties");
            EXPECT_EQ(message.text.substr(0, c.shows.size()), c.shows);
            EXPECT_EQ(editor(), nullptr);
        }
    }
    click(FS::SINGULAR_LAYOUT_LIST, 0, 1, MOUSE_RIGHT);
    EXPECT_NE(takeMessage().text.find("Channel: 2\r\n"), std::string::npos);
}

TEST_F(LayoutEditing, ARightClickCommitsTheOpenEditorFirst) {
    useSerialNumbers();
    click(FS::ARRAY_LAYOUT_LIST, 2, 2);
    type("4711");
    click(FS::ARRAY_LAYOUT_LIST, 4, 4, MOUSE_RIGHT);
    EXPECT_EQ(takeMessage().text, "File not loaded.");
    EXPECT_EQ(array().itemText(2, 2), "4711");
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(LayoutEditing, LosingTheFocusCommits) {
    useSerialNumbers();
    click(FS::ARRAY_LAYOUT_LIST, 1, 3);
    type("4711");
    // The focus goes to the list and then elsewhere, as when the user tabs through the page.
    fileSelection().setFocus(FS::ARRAY_LAYOUT_LIST);
    EXPECT_EQ(array().itemText(1, 3), "4711");
    EXPECT_EQ(editor(), nullptr);
    fileSelection().setFocus(FS::LOAD_FILES);
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(LayoutEditing, UpdateLayoutAndSaveProjectKeepTheTypedText) {
    useSerialNumbers();
    click(FS::SINGULAR_LAYOUT_LIST, 1, 1);
    type("20417");
    fileSelection().click(FS::UPDATE_LAYOUT);
    EXPECT_EQ(singular().itemText(1, 1), "20417");
    EXPECT_EQ(editor(), nullptr);

    TempDir folder;
    click(FS::ARRAY_LAYOUT_LIST, 1, 2);
    type("10232");
    host.saveAnswers.push_back(folder.file("typed.ttp"));
    fileSelection().click(FS::SAVE_PROJECT);
    std::ifstream saved(folder.file("typed.ttp"), std::ios::binary);
    const std::string project((std::istreambuf_iterator<char>(saved)),
                              std::istreambuf_iterator<char>());
    EXPECT_NE(project.find("R1C2=10232"), std::string::npos) << project;
    EXPECT_NE(project.find("S1=20417"), std::string::npos) << project;
}

TEST_F(LayoutEditing, AWideArrayTableHidesNoCellsUnderTheSingularTable) {
    // Eight columns reach on under the singular table, which stands to the array's right.
    layout("6", "8", "2");
    window.job.loggerArray.place(0, 5, makeRecord("hidden", novemberFifth(8, 0), 60, {1}));
    window.job.loggerArray.place(-1, 1, makeRecord("slot1", novemberFifth(8, 0), 60, {1}));
    const platform::Point screen =
        singular().clientToScreen(platform::Point{70, 17 + 8}); // singular item 1, column 1
    const platform::Point underArray = array().screenToClient(screen);
    ASSERT_TRUE(array().cellRect(1, 6)->contains(underArray)) << "the case this test is about";

    fileSelection().clickList(FS::SINGULAR_LAYOUT_LIST, singular().screenToClient(screen),
                              MOUSE_RIGHT);
    const auto message = takeMessage();
    EXPECT_EQ(message.text.substr(0, 30), "Filename: /data/slot1.dta\r\nSta");
    useSerialNumbers();
    click(FS::SINGULAR_LAYOUT_LIST, 1, 1);
    expectEditorOn(FS::SINGULAR_LAYOUT_LIST, 1, 1);
}

TEST_F(LayoutEditing, TabScrollsToACellBeyondTheVisibleRows) {
    layout("10", "2", "0");
    useSerialNumbers();
    click(FS::ARRAY_LAYOUT_LIST, 6, 2); // the last row the list shows whole
    type("six");
    for (int row = 7; row <= 10; ++row) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(fileSelection().pressKey(KEY_TAB));
        expectEditorOn(FS::ARRAY_LAYOUT_LIST, row, 1);
        const platform::Size client = array().clientSize();
        EXPECT_LE(editor()->rect.bottom, client.height) << "the editor is in view";
        type("r" + std::to_string(row));
        EXPECT_TRUE(fileSelection().pressKey(KEY_TAB));
        expectEditorOn(FS::ARRAY_LAYOUT_LIST, row, 2);
    }
    click(FS::ARRAY_LAYOUT_LIST, 0, 1);
    EXPECT_EQ(array().itemText(6, 2), "six");
    for (int row = 7; row <= 10; ++row)
        EXPECT_EQ(array().itemText(row, 1), "r" + std::to_string(row));
}
