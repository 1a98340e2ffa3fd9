// The Statistics table on the recording printer: the rows in the order the window shows them,
// run over pages with the window's headings on every page and each page's footer counting
// them, and the texts as the window writes them.

#include "pages/presentation/statisticsPrint.h"

#include "core/analysis/statistics.h"
#include "platform/memory/RecordingContext.h"
#include "support/PrintedTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zqar {
namespace {

using platform::CallKind;
using platform::RecordedCall;
using platform::RecordingContext;
using testing::countOf;
using testing::textsByPage;

constexpr int PAGE_HEIGHT = 3508; // A4 at 300 dots per inch
constexpr double NOW = 45000.0;   // 15-Mar-2023, the printed-on date

RecordingContext a4() {
    RecordingContext printer;
    printer.setDeviceCap(platform::HORZRES, 2480);
    printer.setDeviceCap(platform::VERTRES, PAGE_HEIGHT);
    printer.setDeviceCap(platform::HORZSIZE, 210);
    printer.setDeviceCap(platform::LOGPIXELSX, 300);
    printer.setDeviceCap(platform::LOGPIXELSY, 300);
    return printer;
}

// A placed position P<n> with samples whose mean is n and whose minutes above the upper limit
// are n / 100 (so the first ones are under a minute).
PositionStatistics position(int n) {
    PositionStatistics p;
    p.position = "P" + std::to_string(n);
    p.placed = true;
    p.logger = "L" + std::to_string(n);
    p.samples = 10;
    p.minimum = p.maximum = p.mean = n;
    p.timeOfMinimum = p.timeOfMaximum = 40000.0;
    p.standardDeviation = 0.0;
    p.mkt = static_cast<double>(n);
    p.minutesAbove = n / 100.0;
    p.excursions = n > 0 ? 1 : 0;
    p.longestExcursion = n / 100.0;
    return p;
}

// How often words stand one after the other among the texts: a heading wrapped over lines is
// drawn line after line.
int wordsCount(const std::vector<RecordedCall> &texts, const std::string &words) {
    std::string joined;
    for (const RecordedCall &call : texts)
        joined += "|" + call.text;
    joined += "|";
    int count = 0;
    for (std::size_t at = joined.find(words); at != std::string::npos;
         at = joined.find(words, at + 1)) {
        const std::size_t end = at + words.size();
        count += joined[at - 1] == '|' && joined[end] == '|';
    }
    return count;
}

TEST(StatisticsPrint, RowsRunOverPagesInTheWindowsOrderWithTheHeadingsOnEveryPage) {
    MappingStatistics statistics;
    for (int n = 1; n <= 180; ++n)
        statistics.positions.push_back(position(n));
    StatisticsSettings settings;
    settings.upperLimit = 25.0;
    // Sorted by the mean, largest first, as the user may have sorted the window.
    std::vector<std::size_t> order;
    for (std::size_t i = statistics.positions.size(); i-- > 0;)
        order.push_back(i);
    const PrintedStatistics printed{
        statistics, settings, order, {"Warmest position (mean): P180  L180"}, "Cold store 4"};
    RecordingContext printer = a4();
    const int pageCount = printStatisticsTable(printer, printed, NOW);

    ASSERT_EQ(printer.callsOf(CallKind::StartDocument).size(), 1u);
    ASSERT_EQ(printer.callsOf(CallKind::EndDocument).size(), 1u);
    EXPECT_EQ(printer.calls.back().kind, CallKind::EndDocument);
    const auto pages = textsByPage(printer);
    ASSERT_EQ(static_cast<int>(pages.size()), pageCount);
    ASSERT_GE(pages.size(), 3u);
    EXPECT_EQ(countOf(pages[0], "25"), 1); // the upper limit among the facts
    EXPECT_EQ(countOf(pages.back(), "Warmest position (mean): P180  L180"), 1);

    int next = 180; // the row expected next, counting down
    for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        const std::vector<RecordedCall> &texts = pages[p];
        // Every heading as the window writes it, the temperatures with their unit.
        for (const char *heading : {"Position", "Mean (°C)", "Minutes Above", "MKT (°C)"}) {
            std::string wrapped = heading;
            std::replace(wrapped.begin(), wrapped.end(), ' ', '|');
            const int wrappedCount = wrapped == heading ? 0 : wordsCount(texts, wrapped);
            EXPECT_EQ(countOf(texts, heading) + wrappedCount, 1) << heading;
        }
        EXPECT_EQ(
            countOf(texts, "Page " + std::to_string(p + 1) + " of " + std::to_string(pages.size())),
            1);
        EXPECT_EQ(countOf(texts, "Printed on: 15-Mar-2023 12:00AM"), 1);
        // The footer's centre on every page, the subtitle on the first as well.
        EXPECT_EQ(countOf(texts, "Cold store 4"), p == 0 ? 2 : 1);
        int footerTop = PAGE_HEIGHT;
        for (const RecordedCall &call : texts)
            if (call.text.rfind("Printed on: ", 0) == 0)
                footerTop = call.point.y;
        for (const RecordedCall &call : texts) {
            if (call.text.size() < 2 || call.text[0] != 'P' || call.text[1] < '0' ||
                call.text[1] > '9')
                continue;
            EXPECT_EQ(call.text, "P" + std::to_string(next));
            EXPECT_LT(call.point.y + call.font.height, footerTop);
            --next;
        }
    }
    EXPECT_EQ(next, 0);
}

TEST(StatisticsPrint, TheTableHoldsTheWindowsTextsAndSkipsRowsThatAreGone) {
    MappingStatistics statistics;
    statistics.positions = {position(40), position(250)};
    PositionStatistics empty;
    empty.position = "R9C9";
    statistics.positions.push_back(empty);
    const PagedDocument::Table table = statisticsWindowTable(statistics, {2, 7, 0});
    ASSERT_EQ(table.rows.size(), 2u); // index 7 is no position
    EXPECT_EQ(table.columns[3].heading, "Minimum (°C)");
    EXPECT_EQ(table.columns[3].align, PagedDocument::Align::Right);
    EXPECT_EQ(table.columns[0].align, PagedDocument::Align::Left);
    EXPECT_EQ(table.rows[0][0], "R9C9");
    EXPECT_EQ(table.rows[0][1], "-");
    // 0.4 minutes above: under a minute, not none; 40 as a whole number of degrees written
    // with two decimals.
    EXPECT_EQ(table.rows[1][0], "P40");
    EXPECT_EQ(table.rows[1][3], "40.00");
    EXPECT_EQ(table.rows[1][11], "<1");
    EXPECT_EQ(statisticsWindowTable(statistics, {}).rows[1][11], "3");
}

} // namespace
} // namespace zqar
