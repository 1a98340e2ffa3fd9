#include "pages/presentation/PrintJob.h"

#include "app/MainWindow.h"
#include "core/analysis/TemperatureSet.h"
#include "core/data/dateTime.h"
#include "platform/memory/MemoryHost.h"
#include "platform/memory/RecordingContext.h"

#include "support/PageHarness.h"

#include <gtest/gtest.h>

#include <set>

namespace zqar {
namespace {

using platform::CallKind;
using platform::DrawingContext;
using platform::RecordedCall;
using platform::RecordingContext;

// Hands the print job a printer whose recording outlives the job. The job sets its pen and
// font here; they are handed on with each call.
class SharedPrinter : public platform::PrintTarget {
public:
    explicit SharedPrinter(RecordingContext &recording) : to(recording) {}
    int deviceCaps(platform::DeviceCap cap) const override { return to.deviceCaps(cap); }
    void fillRect(const platform::Rect &r, platform::Colour c) override { to.fillRect(r, c); }
    void frameRect(const platform::Rect &r, platform::Colour c) override { to.frameRect(r, c); }
    void textOut(int x, int y, std::string_view t) override {
        handOnState();
        to.textOut(x, y, t);
    }
    platform::Size textExtent(std::string_view t) override {
        handOnState();
        return to.textExtent(t);
    }
    void copyFrom(const DrawingContext &s, int x, int y, int w, int h, int sx, int sy) override {
        to.copyFrom(s, x, y, w, h, sx, sy);
    }
    void startDocument(const std::string &name) override { to.startDocument(name); }
    void startPage() override { to.startPage(); }
    void endPage() override { to.endPage(); }
    void endDocument() override { to.endDocument(); }

protected:
    void drawLine(platform::Point from, platform::Point end) override {
        handOnState();
        to.moveTo(from.x, from.y);
        to.lineTo(end.x, end.y);
    }

private:
    void handOnState() {
        to.setPen(pen());
        to.setFont(font());
        to.setBackgroundMode(backgroundMode());
        to.setTextColour(textColour());
        to.setTextAlign(textAlign());
    }

    RecordingContext &to;
};

// An A4 page at 600 dots per inch.
void a4(RecordingContext &printer) {
    printer.setDeviceCap(platform::HORZRES, 4960);
    printer.setDeviceCap(platform::HORZSIZE, 210);
    printer.setDeviceCap(platform::VERTRES, 7016);
    printer.setDeviceCap(platform::LOGPIXELSX, 600);
}

class Printing : public ::testing::Test {
protected:
    Printing() {
        a4(printer);
        host.printerFactory = [this] { return std::make_unique<SharedPrinter>(printer); };
    }
    // A job with the header's margins and tab stops.
    void begin(PrintJob &job) {
        job.beginJob();
        ASSERT_EQ(job.started, 1);
        job.setMargins(10, 10, 10, 10);
        std::vector<double> tabs;
        for (int i = 0; i < 30; ++i)
            tabs.push_back(i * 10.0);
        job.setTabs(tabs);
    }
    std::vector<RecordedCall> texts() const { return printer.callsOf(CallKind::Text); }

    RecordingContext printer;
    platform::MemoryHost host;
};

TEST_F(Printing, MillimetresBecomePrinterPixels) {
    PrintJob job(host);
    begin(job);
    EXPECT_NEAR(job.ratio(), 23.619, 0.001);
    EXPECT_EQ(job.leftMargin, 236);
    EXPECT_EQ(job.rightLimit, 4723);
    EXPECT_EQ(job.topMargin, 236);
    EXPECT_EQ(job.bottomLimit, 6779);
    ASSERT_EQ(job.tabStops.size(), 30u);
    EXPECT_EQ(job.tabStops[0], 0);
    EXPECT_EQ(job.tabStops[1], 236);
    EXPECT_EQ(job.tabStops[2], 472);
    EXPECT_EQ(job.tabStops[3], 708);
    EXPECT_EQ(job.tabStops[29], 6849);

    struct Font {
        platform::FontRequest request;
        int height;
        int weight;
    };
    for (const Font &font : {Font{job.titleFont, 212, 700}, Font{job.headingFont, 141, 700},
                             Font{job.bodyFont, 106, 400}, Font{job.smallFont, 94, 400}}) {
        SCOPED_TRACE(font.height);
        EXPECT_EQ(font.request.height, font.height);
        EXPECT_EQ(font.request.weight, font.weight);
        EXPECT_EQ(font.request.face, "Times New Roman");
    }
    ASSERT_NE(job.target(), nullptr);
    EXPECT_EQ(job.target()->font(), job.bodyFont);
}

TEST_F(Printing, TextPiecesGoToTheirColumnsAndAlignments) {
    PrintJob job(host);
    begin(job);
    job.use(job.smallFont); // 94 pixels high: a character is 47 wide
    job.printText("a\tbb\tccc", 1, platform::Align::Left);
    job.printText("left", 0, platform::Align::Left);
    job.printText("ab", 0, platform::Align::Centre);
    job.printText("end", 0, platform::Align::Right);
    job.printText("wide", 31, platform::Align::Left);
    job.printText("xy", 3, platform::Align::Right);
    const auto calls = texts();
    ASSERT_EQ(calls.size(), 8u);
    EXPECT_EQ(calls[0].point.x, 236 + 0);
    EXPECT_EQ(calls[1].point.x, 236 + 236);
    EXPECT_EQ(calls[1].text, "bb");
    EXPECT_EQ(calls[2].point.x, 236 + 472);
    EXPECT_EQ(calls[3].point.x, 236);
    EXPECT_EQ(calls[4].point.x, 236 + 4487 / 2 - 47); // centred between the margins
    EXPECT_EQ(calls[5].point.x + 3 * 47, 4723);       // ends at rightLimit
    EXPECT_EQ(calls[6].point.x, 236 + 6849);          // beyond the last stop
    EXPECT_EQ(calls[7].point.x, 236 + 708 - 94);      // right in [472, 708)
    for (const auto &call : calls)
        EXPECT_EQ(call.point.y, 236);
    EXPECT_EQ(host.pendingInputChecks, 6);
}

TEST_F(Printing, LongTextIsCutAt511Characters) {
    PrintJob job(host);
    begin(job);
    job.printText(std::string(600, 'x'), 0, platform::Align::Left);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text.size(), 511u);
    // Two-byte letters from byte 510 on: the one that would be split is left out.
    job.printText(std::string(510, 'x') + "\xc3\xa9\xc3\xa9", 0, platform::Align::Left);
    EXPECT_EQ(texts()[1].text, std::string(510, 'x'));
}

TEST_F(Printing, ALineBelowTheBottomStartsANewPage) {
    PrintJob job(host);
    begin(job);
    job.use(job.bodyFont); // 106 pixels per line; 236 + 61 x 106 = 6702 still fits under 6779
    job.newLines(61);
    EXPECT_EQ(job.lineOffset, 61 * 106);
    EXPECT_TRUE(printer.callsOf(CallKind::EndPage).empty());
    job.newLines(1);
    EXPECT_EQ(job.lineOffset, 0);
    EXPECT_EQ(printer.callsOf(CallKind::EndPage).size(), 1u);
    EXPECT_EQ(printer.callsOf(CallKind::StartPage).size(), 2u);
    job.printText("top", 0, platform::Align::Left);
    EXPECT_EQ(texts().back().point.y, 236);
    job.newLines(0);
    job.newLines(-5);
    EXPECT_EQ(job.lineOffset, 0);
}

TEST_F(Printing, EndJobReleasesFontsAndClosesTheDocument) {
    {
        PrintJob job(host);
        begin(job);
        job.use(job.titleFont);
        job.endJob();
        EXPECT_EQ(job.started, 0);
        job.endJob(); // a second end does nothing
    }
    ASSERT_GE(printer.calls.size(), 4u);
    EXPECT_EQ(printer.calls.front().kind, CallKind::StartDocument);
    EXPECT_EQ(printer.calls.front().text, "Temperature Profile");
    EXPECT_EQ(printer.calls[1].kind, CallKind::StartPage);
    EXPECT_EQ(printer.calls[printer.calls.size() - 2].kind, CallKind::EndPage);
    EXPECT_EQ(printer.calls.back().kind, CallKind::EndDocument);
}

TEST_F(Printing, CancelledDialogPrintsNothing) {
    host.printerFactory = nullptr;
    PrintJob job(host);
    EXPECT_FALSE(printHeader(job, "Temperature Profile Graph", "p", "s", 0.0));
    EXPECT_EQ(job.started, 0);
    EXPECT_EQ(host.printDialogs, 1);
    EXPECT_TRUE(printer.calls.empty());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Printing, HeaderLinesGrowWithTheirFonts) {
    PrintJob job(host);
    const double now = dayNumberFromCivil(CivilTime{2003, 11, 5, 14, 30, 0});
    ASSERT_TRUE(printHeader(job, "Temperature Profile Graph", "Kiln 4", "1 of 1  Time: x", now));
    const auto calls = texts();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].text, "Printed on: 05-Nov-2003 02:30PM");
    EXPECT_EQ(calls[0].point.x + static_cast<int>(calls[0].text.size()) * 47, 4723);
    EXPECT_EQ(calls[0].font.height, 94);
    EXPECT_EQ(calls[1].text, "Temperature Profile Graph");
    EXPECT_EQ(calls[1].font.height, 212);
    EXPECT_EQ(calls[2].text, "Kiln 4");
    EXPECT_EQ(calls[2].font.height, 141);
    EXPECT_EQ(calls[3].font.height, 106);
    EXPECT_EQ(calls[0].point.y, 236);
    EXPECT_EQ(calls[1].point.y, 236 + 2 * 94);
    EXPECT_EQ(calls[2].point.y, 236 + 2 * 94 + 2 * 212);
    EXPECT_EQ(calls[3].point.y, 236 + 2 * 94 + 2 * 212 + 2 * 141);
    EXPECT_EQ(job.lineOffset, 2 * 94 + 2 * 212 + 2 * 141 + 3 * 106);
    job.endJob();
}

class PrintCommands : public testing::PageTest {
protected:
    PrintCommands() {
        a4(printer);
        host.printerFactory = [this] { return std::make_unique<SharedPrinter>(printer); };
    }
    void addUniformSet(double value) {
        const ArrayDimensions d = window.job.loggerArray.dimensions();
        auto set = std::make_unique<TemperatureSet>(testing::novemberFifth(10, 0), 0.0, d.rows,
                                                    d.columns, d.singularCount);
        for (int r = 0; r < d.rows; ++r)
            for (int c = 0; c < d.columns; ++c)
                set->setValue(r, c, value);
        for (int i = 0; i < d.singularCount; ++i)
            set->setValue(SINGULAR_ROW, i, value);
        window.job.setList.append(std::move(set));
    }
    RecordingContext printer;
};

// Header: 236 + 2 x 94 + 2 x 212 + 2 x 141 + 3 x 106 pixels down.
constexpr int BODY_TOP = 236 + 1212;

TEST_F(PrintCommands, PrintMatrixPrintsEveryCellCentredInItsColumn) {
    layout("3", "4", "2");
    addUniformSet(25.0);
    window.matrixPage.showCurrentSet();
    ASSERT_TRUE(matrix().click(MatrixPage::PRINT));
    const auto calls = printer.callsOf(CallKind::Text);
    ASSERT_EQ(calls.size(), 4u + 6u * 7u + 2u * 2u);
    std::set<int> matrixLines;
    for (std::size_t i = 4; i < 4 + 42; ++i) {
        matrixLines.insert(calls[i].point.y);
        EXPECT_EQ(calls[i].font.height, 94);
    }
    ASSERT_EQ(matrixLines.size(), 6u);
    EXPECT_EQ(*matrixLines.begin(), BODY_TOP);
    // Three empty lines after the matrix, then one per singular slot.
    EXPECT_EQ(calls[46].point.y, BODY_TOP + (6 + 3) * 94);
    EXPECT_EQ(calls[48].point.y, BODY_TOP + (6 + 3 + 1) * 94);
    // Column 1 of the singular list is centred in [236, 472) right of the margin.
    const int width = static_cast<int>(calls[47].text.size()) * 47;
    EXPECT_EQ(calls[47].point.x, 236 + (236 + 472) / 2 - width / 2);
}

TEST_F(PrintCommands, PrintGraphFillsTheRestOfThePage) {
    layout("3", "4", "2");
    dataFilter().setText(DataFilterPage::MINIMUM_TEMPERATURE, "20");
    dataFilter().setText(DataFilterPage::MAXIMUM_TEMPERATURE, "30");
    dataFilter().setText(DataFilterPage::CONTOUR_SPACING, "1");
    addUniformSet(25.0);
    window.tabChanged(TAB_GRAPH); // sets the status line and enables Print
    ASSERT_TRUE(graph().click(GraphPage::PRINT));
    const auto texts = printer.callsOf(CallKind::Text);
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[1].text, "Temperature Profile Graph");
    EXPECT_EQ(texts[3].text, "1 of 1  Time: 05-Nov-2003 10:00AM");
    EXPECT_EQ(texts[3].text, graph().text(GraphPage::STATUS));
    // The legend's first box: u = trunc(600 x 0.128) = 76, one legend column at the right.
    const auto frames = printer.callsOf(CallKind::Frame);
    ASSERT_EQ(frames.size(), 10u);
    EXPECT_EQ(frames.front().rect.left, 4723 - 9 * 76);
    EXPECT_EQ(frames.front().rect.top, BODY_TOP + 76);
    EXPECT_EQ(printer.calls.back().kind, CallKind::EndDocument);
}

} // namespace
} // namespace zqar
