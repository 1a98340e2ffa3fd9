// The mapping report's page layout on the recording printer: tables that run over pages repeat
// their header, every page gets its footer with the true page count, headings stay with what
// follows them, text stays inside the margins, pages reach the printer as they are made; the scaled
// context that puts screen charts on paper; and the report's result sentence.

#include "pages/presentation/PagedDocument.h"

#include "core/analysis/statistics.h"
#include "core/data/numbers.h"
#include "pages/presentation/MappingReport.h"
#include "pages/presentation/ScaledDrawingContext.h"
#include "platform/memory/RecordingContext.h"
#include "resources/format.h"
#include "support/PrintedTexts.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zqar {
namespace {

using platform::CallKind;
using platform::RecordedCall;
using platform::RecordingContext;
using testing::countOf;

// A4 at 300 dots per inch.
constexpr int PAGE_WIDTH = 2480;
constexpr int PAGE_HEIGHT = 3508;

class PagedDocumentTest : public ::testing::Test {
protected:
    PagedDocumentTest() {
        printer.setDeviceCap(platform::HORZRES, PAGE_WIDTH);
        printer.setDeviceCap(platform::VERTRES, PAGE_HEIGHT);
        printer.setDeviceCap(platform::HORZSIZE, 210);
        printer.setDeviceCap(platform::LOGPIXELSX, 300);
    }

    // The texts of each printed page, in the order they were drawn.
    std::vector<std::vector<RecordedCall>> printedPages(const PagedDocument::Content &content) {
        printer.calls.clear();
        const PagedDocument::Footer footer{"left", "centre", [](int page, int count) {
                                               return text::format("Page %d of %d", page, count);
                                           }};
        printedCount = PagedDocument::print(printer, footer, content);
        return testing::textsByPage(printer);
    }

    RecordingContext printer;
    int printedCount = 0;
};

TEST_F(PagedDocumentTest, TableRunsOverPagesWithItsHeaderOnEachAndTheFooterCountsThem) {
    PagedDocument::Table table;
    table.columns = {{"Position", PagedDocument::Align::Left},
                     {"Mean Value", PagedDocument::Align::Right}};
    for (int i = 1; i <= 150; ++i)
        table.rows.push_back({"P" + std::to_string(i), std::to_string(i * 10)});
    const auto pages = printedPages([&table](PagedDocument &document) {
        document.addHeading("Figures");
        document.addTable(table);
    });
    ASSERT_EQ(static_cast<int>(pages.size()), printedCount);
    ASSERT_GT(pages.size(), 2u);
    const std::string count = std::to_string(pages.size());
    int nextRow = 1;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        EXPECT_EQ(countOf(pages[p], "Position"), 1);
        EXPECT_EQ(countOf(pages[p], "Page " + std::to_string(p + 1) + " of " + count), 1);
        EXPECT_EQ(countOf(pages[p], "left"), 1);
        // The rows continue where the last page stopped, and none reaches the footer.
        int footerTop = PAGE_HEIGHT;
        for (const RecordedCall &call : pages[p])
            if (call.text == "left")
                footerTop = call.point.y;
        for (const RecordedCall &call : pages[p]) {
            if (call.text.empty() || call.text[0] != 'P' || call.text == "Position" ||
                call.text.rfind("Page ", 0) == 0)
                continue;
            EXPECT_EQ(call.text, "P" + std::to_string(nextRow));
            EXPECT_LT(call.point.y + call.font.height, footerTop);
            ++nextRow;
        }
    }
    EXPECT_EQ(nextRow, 151);
}

TEST_F(PagedDocumentTest, HeadingNearThePageEndMovesToTheNextPage) {
    const auto pages = printedPages([](PagedDocument &document) {
        document.addParagraph("First");
        document.addSpace(230.0); // millimetres: little of the page is left
        document.addHeading("Section");
        document.addParagraph("Body");
    });
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(countOf(pages[0], "Section"), 0);
    EXPECT_EQ(countOf(pages[1], "Section"), 1);
    EXPECT_EQ(countOf(pages[1], "Body"), 1);
}

TEST_F(PagedDocumentTest, ParagraphsAndFactsWrapInsideTheMargins) {
    std::string words;
    for (int i = 0; i < 300; ++i)
        words += (i == 0 ? "" : " ") + std::string("word") + std::to_string(i);
    const std::string longWord(400, 'x');
    const auto pages = printedPages([&](PagedDocument &document) {
        document.addParagraph(words);
        document.addFacts({{"Label", words}, {"Path", longWord}});
    });
    std::string paragraph;
    std::string unbroken;
    const int rightEdge = PAGE_WIDTH - truncToInt(18.0 * PAGE_WIDTH / 210.0);
    for (const auto &page : pages)
        for (const RecordedCall &call : page) {
            if (call.align != (platform::TA_LEFT | platform::TA_TOP) || call.text == "left")
                continue;
            // The recording context measures half the font height per character.
            EXPECT_LE(call.point.x + static_cast<int>(call.text.size()) * call.font.height / 2,
                      rightEdge)
                << call.text;
            if (call.text.rfind("word", 0) == 0)
                paragraph += (paragraph.empty() ? "" : " ") + call.text;
            if (call.text[0] == 'x')
                unbroken += call.text;
        }
    EXPECT_EQ(paragraph, words + " " + words); // once as the paragraph, once as the fact
    EXPECT_EQ(unbroken, longWord);
}

// The first pass only counts: nothing reaches the printer until the second, which draws every
// block as it is added, so a page is on the printer, footer and all, before the next is made.
TEST_F(PagedDocumentTest, DrawsEachPageAsItIsMadeAfterCountingThemAll) {
    PagedDocument::Table table;
    table.columns = {{"Position", PagedDocument::Align::Left}};
    for (int i = 1; i <= 150; ++i)
        table.rows.push_back({"P" + std::to_string(i)});
    std::vector<std::size_t> callsBeforeTheLastBlock;
    std::vector<int> pagesBeforeTheLastBlock;
    int picturesDrawn = 0;
    const auto pages = printedPages([&](PagedDocument &document) {
        document.addParagraph("First");
        document.addTable(table);
        callsBeforeTheLastBlock.push_back(printer.calls.size());
        pagesBeforeTheLastBlock.push_back(document.pageCount());
        document.addPicture(
            "Figure", 40.0,
            [&](platform::DrawingContext &, const platform::Rect &) { ++picturesDrawn; });
    });
    ASSERT_EQ(callsBeforeTheLastBlock.size(), 2u) << "one pass to count, one to draw";
    EXPECT_EQ(callsBeforeTheLastBlock[0], 0u);
    EXPECT_EQ(picturesDrawn, 1);
    ASSERT_GE(pages.size(), 3u);
    EXPECT_EQ(pagesBeforeTheLastBlock[0], pagesBeforeTheLastBlock[1]);

    // What the printer had when the picture was added: every page before the last one begun,
    // drawn and ended with its footer, and the last one begun.
    const std::vector<RecordedCall> early(printer.calls.begin(),
                                          printer.calls.begin() +
                                              static_cast<long>(callsBeforeTheLastBlock[1]));
    const std::string count = std::to_string(pages.size());
    int started = 0;
    int ended = 0;
    std::vector<std::string> footers;
    for (const RecordedCall &call : early) {
        started += call.kind == CallKind::StartPage;
        ended += call.kind == CallKind::EndPage;
        EXPECT_LE(ended, started);
        EXPECT_GE(ended + 1, started) << "a page begun before the last was ended";
        if (call.kind == CallKind::Text && call.text.rfind("Page ", 0) == 0)
            footers.push_back(call.text);
    }
    EXPECT_EQ(started, static_cast<int>(pages.size()));
    EXPECT_EQ(ended, started - 1);
    ASSERT_EQ(footers.size(), pages.size() - 1);
    for (std::size_t i = 0; i < footers.size(); ++i)
        EXPECT_EQ(footers[i], "Page " + std::to_string(i + 1) + " of " + count);
    EXPECT_EQ(printer.calls.back().kind, CallKind::EndPage);
}

// The columns the counting pass fitted are used again when drawing; a table it did not have in
// that place is fitted then, so it still shrinks to stay inside the margins.
TEST_F(PagedDocumentTest, ATableOnlyTheDrawingPassAddsIsFittedToo) {
    PagedDocument::Table narrow;
    narrow.columns = {{"A", PagedDocument::Align::Left}};
    narrow.rows = {{"a"}};
    PagedDocument::Table wide;
    for (int c = 0; c < 12; ++c)
        wide.columns.push_back({"C" + std::to_string(c), PagedDocument::Align::Left});
    wide.rows.push_back(std::vector<std::string>(12, std::string(10, 'w')));
    int pass = 0;
    const auto pages = printedPages([&](PagedDocument &document) {
        if (pass++ == 1)
            document.addTable(wide);
        document.addTable(narrow);
    });
    const int rightEdge = PAGE_WIDTH - truncToInt(18.0 * PAGE_WIDTH / 210.0);
    int cells = 0;
    for (const auto &page : pages)
        for (const RecordedCall &call : page)
            if (call.text[0] == 'w') {
                ++cells;
                EXPECT_LE(call.point.x + static_cast<int>(call.text.size()) * call.font.height / 2,
                          rightEdge);
            }
    EXPECT_EQ(cells, 12);
}

TEST(ScaledDrawingContext, MapsEdgesSoNeighboursStillTouchAndMeasuresBack) {
    RecordingContext paper;
    ScaledDrawingContext chart(paper, 3.125, 100, 200);
    chart.fillRect(platform::Rect{0, 0, 3, 1}, platform::BLACK);
    chart.fillRect(platform::Rect{3, 0, 7, 1}, platform::BLACK);
    const auto fills = paper.callsOf(CallKind::Fill);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].rect, (platform::Rect{100, 200, 109, 203}));
    EXPECT_EQ(fills[1].rect.left, fills[0].rect.right);
    platform::FontRequest font;
    font.height = 14;
    chart.setFont(font);
    // 44 pixels on paper, half of that per character, measured back in chart units.
    EXPECT_EQ(chart.textExtent("ab").width, 14);
    chart.textOut(2, 4, "ab");
    const auto texts = paper.callsOf(CallKind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].font.height, 44);
    EXPECT_EQ(texts[0].point.x, 106);
    EXPECT_EQ(texts[0].point.y, 213);
}

TEST(MappingReportResult, SaysWhetherTheLimitsHeld) {
    auto position = [](std::optional<int32_t> excursions) {
        PositionStatistics p;
        p.placed = true;
        p.samples = excursions ? 10 : 0;
        p.excursions = excursions;
        return p;
    };
    MappingStatistics statistics;
    statistics.positions = {position(0), position(std::nullopt), position(0)};
    StatisticsSettings none;
    StatisticsSettings upper;
    upper.upperLimit = 25.0;
    StatisticsSettings lower;
    lower.lowerLimit = 15.0;
    EXPECT_EQ(limitsResult(statistics, none), "No limits were set.");
    EXPECT_EQ(limitsResult(statistics, upper), "All positions stayed within the limits.");
    statistics.positions[0].excursions = 3;
    statistics.positions[2].excursions = 1;
    EXPECT_EQ(limitsResult(statistics, lower), "2 positions went outside the limits.");
}

TEST(MappingReportResult, NamesTwentyPositionsOutsideAndCountsTheRest) {
    MappingStatistics statistics;
    auto addPositions = [&statistics](int count, std::optional<int32_t> excursions) {
        for (int i = 0; i < count; ++i) {
            PositionStatistics p;
            p.position = "P" + std::to_string(statistics.positions.size() + 1);
            p.placed = true;
            p.samples = 10;
            p.excursions = excursions;
            statistics.positions.push_back(p);
        }
    };
    EXPECT_EQ(outsidePositionsLine(statistics), "");
    addPositions(2, 0);  // P1, P2 held
    addPositions(20, 1); // P3 ... P22 went outside
    std::string twenty = "Outside the limits: P3";
    for (int i = 4; i <= 22; ++i)
        twenty += ", P" + std::to_string(i);
    EXPECT_EQ(outsidePositionsLine(statistics), twenty);
    addPositions(1, std::nullopt); // P23 no readings
    addPositions(1, 4);            // P24
    EXPECT_EQ(outsidePositionsLine(statistics), twenty + " and 1 more");
    addPositions(2000, 2);
    EXPECT_EQ(outsidePositionsLine(statistics), twenty + " and 2001 more");
    StatisticsSettings upper;
    upper.upperLimit = 25.0;
    EXPECT_EQ(limitsResult(statistics, upper), "2021 positions went outside the limits.");
}

} // namespace
} // namespace zqar
