// The Qt page window: controls built from a template, clicks and keys routed to the page,
// radio groups, status lines that keep up with thousands of writes, list views that mirror
// their model.

#include "qt/QtDialog.h"
#include "platform/DrawingContext.h"
#include "platform/Page.h"
#include "qt/QtHost.h"
#include "qt/QtListView.h"
#include "qt/QtMessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace zqar::platform;

namespace {

enum : int {
    STATUS = 1005,
    NAME = 1010,
    GO = 1020,
    BOUNDARY = 1030,
    RADIO_A1 = 1041,
    RADIO_A2 = 1042,
    RADIO_A3 = 1043,
    RADIO_B1 = 1051,
    RADIO_B2 = 1052,
    LIST = 1060,
    AREA = 1070,
    SECRET = 1080,
    READ_ONLY_LIST = 1090,
};

DialogTemplate testTemplate() {
    DialogTemplate t;
    t.id = 999;
    t.width = 300;
    t.height = 200;
    t.controls = {
        {NO_ID, ControlKind::GroupBox, "Settings", 2, 0, 290, 190, STYLE_NONE},
        {STATUS, ControlKind::Label, "", 4, 3, 220, 12, STYLE_SUNKEN},
        {NAME, ControlKind::Edit, "", 151, 25, 100, 14, STYLE_BORDER | STYLE_TABSTOP},
        {GO, ControlKind::PushButton, "Go", 264, 25, 30, 14, STYLE_TABSTOP},
        {BOUNDARY, ControlKind::CheckBox, "Loggers on boundary", 24, 57, 102, 10, STYLE_TEXT_LEFT},
        {RADIO_A1, ControlKind::RadioButton, "A1", 10, 70, 40, 10, STYLE_NONE},
        {RADIO_A2, ControlKind::RadioButton, "A2", 10, 80, 40, 10, STYLE_NONE},
        {RADIO_A3, ControlKind::RadioButton, "A3", 10, 90, 40, 10, STYLE_NONE},
        {NO_ID, ControlKind::Label, "between", 60, 70, 40, 8, STYLE_NONE},
        {RADIO_B1, ControlKind::RadioButton, "B1", 10, 100, 40, 10, STYLE_NONE},
        {RADIO_B2, ControlKind::RadioButton, "B2", 10, 110, 40, 10, STYLE_NONE},
        {LIST, ControlKind::ListView, "", 120, 70, 150, 60, STYLE_BORDER | STYLE_NO_HEADER},
        {AREA, ControlKind::OwnerDrawButton, "Button1", 10, 130, 100, 40, STYLE_DISABLED},
        {SECRET, ControlKind::PushButton, "Secret", 120, 140, 40, 14, STYLE_HIDDEN},
        {READ_ONLY_LIST, ControlKind::ListView, "", 200, 140, 60, 30, STYLE_DISABLED},
    };
    return t;
}

class TestPage : public Page {
public:
    TestPage() : Page(999) {
        for (int id : {GO, BOUNDARY, RADIO_A1, RADIO_A2, RADIO_A3, RADIO_B1, RADIO_B2})
            bind(id, [this, id] { commands.push_back(id); });
    }
    bool keyDown(int key) override {
        keys.push_back(key);
        return Page::keyDown(key);
    }
    void resized(int width, int height) override { sizes.push_back({width, height}); }
    void drawItem(int id, DrawingContext &, const Rect &item) override {
        drawn.push_back(id);
        lastItem = item;
    }
    std::vector<int> commands;
    std::vector<int> keys;
    std::vector<Size> sizes;
    std::vector<int> drawn;
    Rect lastItem;
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class QtDialogTest : public testing::Test {
protected:
    void SetUp() override {
        setMessageBoxHook(
            [this](const std::string &text, const std::string &) { messages.push_back(text); });
        // Owner-drawn controls start without a painter backend; one test plugs its own in.
        QtDialog::setPainterContextFactory(nullptr);
        dialog = std::make_unique<QtDialog>(testTemplate(), page);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    void TearDown() override {
        dialog.reset();
        setMessageBoxHook(nullptr);
        EXPECT_TRUE(messages.empty()) << "unexpected message box: " << messages.front();
    }
    template <typename T> T *widget(int id) { return qobject_cast<T *>(dialog->control(id)); }

    TestPage page;
    std::unique_ptr<QtDialog> dialog;
    std::vector<std::string> messages;
};

TEST_F(QtDialogTest, PlacesControlsInPixelsFromDialogUnits) {
    struct Case {
        int id;
        Rect expected; // 6 x 13 pixel base units, truncated
    };
    const Case cases[] = {
        {NAME, {226, 40, 226 + 150, 40 + 22}},   // 151, 25, 100 x 14
        {STATUS, {6, 4, 6 + 330, 4 + 19}},       // 4, 3, 220 x 12
        {BOUNDARY, {36, 92, 36 + 153, 92 + 16}}, // 24, 57, 102 x 10
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(dialog->controlRect(c.id), c.expected);
    }
    EXPECT_EQ(dialog->clientSize().width, 450);
    EXPECT_EQ(dialog->clientSize().height, 325);
}

TEST_F(QtDialogTest, CreatesControlsInTheirInitialStates) {
    EXPECT_FALSE(dialog->isEnabled(AREA));
    EXPECT_TRUE(dialog->isEnabled(GO));
    EXPECT_FALSE(dialog->isShown(SECRET));
    EXPECT_TRUE(dialog->isShown(GO));
    EXPECT_EQ(dialog->text(GO), "Go");
    EXPECT_EQ(widget<QCheckBox>(BOUNDARY)->layoutDirection(), Qt::RightToLeft);
    EXPECT_FALSE(widget<QRadioButton>(RADIO_A1)->autoExclusive());
    // Unknown ids answer empty and ignore writes, as a missing dialog item does.
    EXPECT_EQ(dialog->text(4242), "");
    dialog->setText(4242, "nothing");
    EXPECT_FALSE(dialog->isChecked(4242));
}

TEST_F(QtDialogTest, ReadsEditTextsBackAsA300ByteBufferHoldsThem) {
    dialog->setText(NAME, std::string(400, 'x'));
    EXPECT_EQ(dialog->text(NAME), std::string(299, 'x'));
    // A two-byte letter across the 299th byte is left out whole, not cut in half.
    dialog->setText(NAME, std::string(298, 'x') + "\xC3\xA9" + "tail");
    EXPECT_EQ(dialog->text(NAME), std::string(298, 'x'));
    dialog->setText(NAME, "20.5 \xC2\xB0"
                          "C");
    EXPECT_EQ(widget<QLineEdit>(NAME)->text(), QString::fromUtf8("20.5 \xC2\xB0"
                                                                 "C"));
    EXPECT_EQ(dialog->text(NAME), "20.5 \xC2\xB0"
                                  "C");
}

TEST_F(QtDialogTest, ButtonClicksRunThePagesCommands) {
    QTest::mouseClick(widget<QPushButton>(GO), Qt::LeftButton);
    QTest::mouseClick(widget<QCheckBox>(BOUNDARY), Qt::LeftButton);
    EXPECT_EQ(page.commands, (std::vector<int>{GO, BOUNDARY}));
    EXPECT_TRUE(dialog->isChecked(BOUNDARY));
    dialog->setEnabled(GO, false);
    QTest::mouseClick(widget<QPushButton>(GO), Qt::LeftButton);
    EXPECT_EQ(page.commands.size(), 2u);
}

TEST_F(QtDialogTest, SettingARadioButtonTouchesOnlyThatButton) {
    dialog->setChecked(RADIO_A1, true);
    dialog->setChecked(RADIO_A2, true);
    EXPECT_TRUE(dialog->isChecked(RADIO_A1));
    EXPECT_TRUE(dialog->isChecked(RADIO_A2));
    dialog->setChecked(RADIO_A1, false);
    EXPECT_FALSE(dialog->isChecked(RADIO_A1));
    EXPECT_TRUE(dialog->isChecked(RADIO_A2));
    EXPECT_TRUE(page.commands.empty());
}

TEST_F(QtDialogTest, AClickedRadioButtonClearsOnlyTheOthersOfItsGroup) {
    dialog->setChecked(RADIO_A1, true);
    dialog->setChecked(RADIO_A3, true);
    dialog->setChecked(RADIO_B1, true);
    QTest::mouseClick(widget<QRadioButton>(RADIO_A2), Qt::LeftButton);
    EXPECT_FALSE(dialog->isChecked(RADIO_A1));
    EXPECT_TRUE(dialog->isChecked(RADIO_A2));
    EXPECT_FALSE(dialog->isChecked(RADIO_A3));
    EXPECT_TRUE(dialog->isChecked(RADIO_B1)) << "a label between two runs ends a group";
    // Clicking the checked button again leaves it checked.
    QTest::mouseClick(widget<QRadioButton>(RADIO_A2), Qt::LeftButton);
    EXPECT_TRUE(dialog->isChecked(RADIO_A2));
    QTest::mouseClick(widget<QRadioButton>(RADIO_B2), Qt::LeftButton);
    EXPECT_FALSE(dialog->isChecked(RADIO_B1));
    EXPECT_TRUE(dialog->isChecked(RADIO_A2));
    EXPECT_EQ(page.commands, (std::vector<int>{RADIO_A2, RADIO_A2, RADIO_B2}));
}

TEST_F(QtDialogTest, EnterGoesToThePageAndNeverPressesAButton) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(key);
        page.keys.clear();
        auto *go = widget<QPushButton>(GO);
        go->setFocus();
        QTest::keyClick(go, key);
        EXPECT_EQ(page.keys, (std::vector<int>{KEY_RETURN}));
        EXPECT_TRUE(page.commands.empty());
    }
    // Escape is shown to the page as 27 and, not swallowed, does no harm.
    page.keys.clear();
    QTest::keyClick(widget<QLineEdit>(NAME), Qt::Key_Escape);
    EXPECT_EQ(page.keys, (std::vector<int>{KEY_ESCAPE}));
    EXPECT_TRUE(dialog->isVisible());
    // Ordinary typing reaches the edit box after the page has seen it.
    page.keys.clear();
    QTest::keyClicks(widget<QLineEdit>(NAME), "ab");
    EXPECT_EQ(dialog->text(NAME), "ab");
    EXPECT_EQ(page.keys, (std::vector<int>{'A', 'B'}));
}

TEST_F(QtDialogTest, StatusLineShowsOnlyTheLastOfManyWritesOncePerPass) {
    auto *status = widget<QLabel>(STATUS);
    ASSERT_NE(status, nullptr);
    QApplication::processEvents();
    PaintCounter counter(status);
    for (int i = 1; i <= 10000; ++i) {
        dialog->setText(STATUS, std::to_string(i) + " sets created.");
        ASSERT_EQ(dialog->text(STATUS), std::to_string(i) + " sets created.");
    }
    EXPECT_EQ(status->text(), QString()) << "the label waits for the event loop";
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(status->text(), QString("10000 sets created."));
    EXPECT_LE(counter.paints, 1);
    // A write after the pass is shown in the next one.
    dialog->setText(STATUS, "No Data Available.");
    QApplication::processEvents();
    EXPECT_EQ(status->text(), QString("No Data Available."));
    EXPECT_EQ(dialog->text(STATUS), "No Data Available.");
}

TEST_F(QtDialogTest, ListViewMirrorsItsModel) {
    ListView &list = dialog->listView(LIST);
    QtListView *table = dialog->listWidget(LIST);
    ASSERT_NE(table, nullptr);
    const int refreshesBefore = table->synchronisations();
    list.insertColumn(0, "-", Align::Centre, 40);
    list.insertColumn(1, "-", Align::Left, 60);
    for (int i = 0; i < 50; ++i) {
        list.insertItem(i, "S" + std::to_string(i + 1));
        list.setItemText(i, 1, "-");
    }
    list.setItemText(2, 1, "LG0042");
    QApplication::processEvents();
    EXPECT_EQ(table->synchronisations(), refreshesBefore + 1) << "one refresh for 152 changes";
    EXPECT_TRUE(table->horizontalHeader()->isHidden());
    EXPECT_TRUE(table->verticalHeader()->isHidden());
    ASSERT_EQ(table->rowCount(), 50);
    ASSERT_EQ(table->columnCount(), 2);
    EXPECT_EQ(table->columnWidth(0), 40);
    EXPECT_EQ(table->columnWidth(1), 60);
    EXPECT_EQ(table->item(2, 0)->text(), QString("S3"));
    EXPECT_EQ(table->item(2, 1)->text(), QString("LG0042"));
    EXPECT_EQ(table->item(2, 0)->textAlignment(), static_cast<int>(Qt::AlignCenter));
    // The cell rectangle the page measures is the cell the user sees.
    const QRect cell = table->visualItemRect(table->item(2, 1));
    const Rect measured = *list.cellRect(2, 1);
    EXPECT_EQ(cell.x(), measured.left);
    EXPECT_EQ(cell.y(), measured.top);
    EXPECT_EQ(cell.width(), measured.width());
    EXPECT_EQ(cell.height(), measured.height());

    // Deleting a column and items moves the texts as the model does.
    list.deleteColumn(0);
    list.deleteItem(0);
    QApplication::processEvents();
    ASSERT_EQ(table->columnCount(), 1);
    ASSERT_EQ(table->rowCount(), 49);
    EXPECT_EQ(table->item(1, 0)->text(), QString("LG0042"));
    EXPECT_EQ(table->columnWidth(0), 60);
}

TEST_F(QtDialogTest, ADisabledListTakesNoInputButStillScrolls) {
    EXPECT_FALSE(dialog->isEnabled(READ_ONLY_LIST));
    ListView &list = dialog->listView(READ_ONLY_LIST);
    list.insertColumn(0, "-", Align::Centre, 60);
    for (int i = 0; i < 40; ++i)
        list.insertItem(i, "R" + std::to_string(i + 1));
    QApplication::processEvents();
    QtListView *table = dialog->listWidget(READ_ONLY_LIST);
    table->verticalScrollBar()->setValue(10);
    EXPECT_EQ(table->verticalScrollBar()->value(), 10) << "a long matrix can be read";
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_TRUE(table->selectedItems().isEmpty());
    EXPECT_FALSE(table->hasFocus());
    dialog->setEnabled(READ_ONLY_LIST, true);
    EXPECT_TRUE(dialog->isEnabled(READ_ONLY_LIST));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(table->selectedItems().size(), 1);
}

TEST_F(QtDialogTest, ResizingTellsThePageItsClientSize) {
    page.sizes.clear();
    dialog->resize(500, 400);
    ASSERT_FALSE(page.sizes.empty());
    EXPECT_EQ(page.sizes.back().width, 500);
    EXPECT_EQ(page.sizes.back().height, 400);
    // A hidden page is told at once, so its controls are in place before it shows.
    dialog->hide();
    page.sizes.clear();
    dialog->place(Rect{10, 20, 310, 220});
    ASSERT_EQ(page.sizes.size(), 1u);
    EXPECT_EQ(page.sizes.back().width, 300);
    EXPECT_EQ(page.sizes.back().height, 200);
}

TEST_F(QtDialogTest, OwnerDrawnControlPaintsThroughThePage) {
    // Without a painter backend the area is white and the page is not asked.
    dialog->redraw(AREA);
    const QImage blank = dialog->control(AREA)->grab().toImage();
    EXPECT_EQ(blank.pixelColor(5, 5), QColor(Qt::white));
    EXPECT_TRUE(page.drawn.empty());

    struct NullContext : DrawingContext {
        int deviceCaps(DeviceCap) const override { return 0; }
        void fillRect(const Rect &, Colour) override {}
        void frameRect(const Rect &, Colour) override {}
        void textOut(int, int, std::string_view) override {}
        Size textExtent(std::string_view) override { return {}; }
        void copyFrom(const DrawingContext &, int, int, int, int, int, int) override {}
        void drawLine(Point, Point) override {}
    };
    QtDialog::setPainterContextFactory([](QPainter &) { return std::make_unique<NullContext>(); });
    dialog->control(AREA)->grab();
    QtDialog::setPainterContextFactory(nullptr);
    ASSERT_FALSE(page.drawn.empty());
    EXPECT_EQ(page.drawn.back(), AREA);
    EXPECT_EQ(page.lastItem, (Rect{0, 0, 150, 65}));
}

TEST_F(QtDialogTest, HeldCommandsLetWidgetsRespondButRunNothing) {
    dialog->setChecked(RADIO_A1, true);
    {
        const QtDialog::CommandHold hold;
        QTest::mouseClick(widget<QPushButton>(GO), Qt::LeftButton);
        QTest::mouseClick(widget<QRadioButton>(RADIO_A2), Qt::LeftButton);
        QTest::keyClick(widget<QLineEdit>(NAME), Qt::Key_Return);
        QTest::keyClicks(widget<QLineEdit>(NAME), "x");
    }
    EXPECT_TRUE(page.commands.empty());
    EXPECT_TRUE(page.keys.empty());
    EXPECT_EQ(dialog->text(NAME), "x") << "typing still reaches the edit box";
    EXPECT_FALSE(dialog->isChecked(RADIO_A1)) << "the group still follows the click";
    EXPECT_TRUE(dialog->isChecked(RADIO_A2));
    QTest::mouseClick(widget<QPushButton>(GO), Qt::LeftButton);
    EXPECT_EQ(page.commands, (std::vector<int>{GO}));
}

TEST_F(QtDialogTest, AClickHandledDuringAPrintoutRunsNoCommand) {
    QtHost host;
    auto *go = widget<QPushButton>(GO);
    const auto postClick = [go] {
        const QPointF centre = QRectF(go->rect()).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                go,
                new QMouseEvent(type, centre, go->mapToGlobal(centre), Qt::LeftButton,
                                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                Qt::NoModifier));
    };
    postClick();
    host.processPendingInput();
    EXPECT_TRUE(page.commands.empty());
    postClick();
    QApplication::processEvents();
    EXPECT_EQ(page.commands, (std::vector<int>{GO})) << "the same click, outside a printout";
}

TEST_F(QtDialogTest, MessageBoxesGoThroughTheHook) {
    dialog->messageBox("The date and time is in an incorrect format.", "Calculate");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The date and time is in an incorrect format.");
    messages.clear();
}

} // namespace
