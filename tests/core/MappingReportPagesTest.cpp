// The mapping report of the sample job on the recording printer, page by page: how many pages
// it has, on which page each section starts, and that the pages reach the printer one after
// another, each begun, drawn and ended with its footer. The page of every section was read off
// the report as it was printed when every page was laid out before the first was drawn.

#include "app/BatchTool.h"
#include "core/analysis/mapCheck.h"
#include "pages/presentation/MappingReport.h"
#include "platform/memory/RecordingContext.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace zqar {
namespace {

namespace fs = std::filesystem;
using platform::CallKind;
using platform::RecordedCall;

const fs::path SAMPLES = fs::path(__FILE__).parent_path().parent_path().parent_path() / "samples";
constexpr platform::Colour HEADING_BLUE = platform::rgb(20, 60, 120); // section headings

struct PrintedPage {
    std::vector<std::string> headings;
    std::vector<std::string> texts;
};

// The headings and the texts of every page, with the page calls checked to alternate.
std::vector<PrintedPage> pagesOf(const std::vector<RecordedCall> &calls) {
    std::vector<PrintedPage> pages;
    bool open = false;
    for (const RecordedCall &call : calls) {
        if (call.kind == CallKind::StartPage) {
            EXPECT_FALSE(open) << "page " << pages.size() << " was not ended";
            open = true;
            pages.emplace_back();
        } else if (call.kind == CallKind::EndPage) {
            EXPECT_TRUE(open);
            open = false;
        } else if (call.kind == CallKind::Text) {
            EXPECT_TRUE(open) << "drawn outside a page: " << call.text;
            if (!open || pages.empty())
                continue;
            pages.back().texts.push_back(call.text);
            if (call.textColour == HEADING_BLUE)
                pages.back().headings.push_back(call.text);
        }
    }
    EXPECT_FALSE(open) << "the last page was not ended";
    return pages;
}

struct Case {
    const char *name;
    std::vector<std::string> options;
    int pages;
    std::vector<std::pair<int, std::string>> headings; // page (from 1) and heading, in order
};

TEST(MappingReportPages, SampleJobKeepsItsPageCountAndWhereEachSectionStarts) {
    testing::TempDir dir;
    const std::string report = (SAMPLES / "warehouse.ttr").string();
    const std::vector<std::pair<int, std::string>> front = {
        {1, "Result"}, {1, "Signatures"}, {2, "Statistics of Every Position"}};
    const std::vector<Case> cases = {
        {"plain",
         {"--load-report", report},
         8,
         {{3, "Maps"},
          {4, "Sets with the Highest and the Lowest Value"},
          {5, "Time Series"},
          {6, "Layout"},
          {6, "Change log"},
          {7, "Manifest"},
          {7, "Settings"}}},
        {"audit",
         {"--load-report",
          report,
          "--calibration",
          (SAMPLES / "warehouse-calibration.csv").string(),
          "--alarm-rule",
          "above,25,single,60",
          "--alarm-rule",
          "above,24,cumulative,600,day",
          "--set",
          "mktWindowText=24",
          "--exclude",
          "R1C4,02-Jun-2025 12:00PM,02-Jun-2025 06:00PM,door left open",
          "--suggest-probes",
          "4",
          dir.file("probes.csv"),
          "--set",
          "mapCheckThresholdText=0.3",
          "--set",
          "plausibleHighText=24",
          "--set",
          "lowerLimitText=15",
          "--set",
          "upperLimitText=24"},
         14,
         {{2, "Excluded readings"},
          {2, "Calibration"},
          {5, "Alarms"},
          {6, "Data check"},
          {7, "Maps"},
          {8, "Sets with the Highest and the Lowest Value"},
          {9, "Time Series"},
          {10, "Suggested Monitoring Probes"},
          {11, "How Far the Map Can Be Trusted"},
          {11, "Layout"},
          {12, "Change log"},
          {13, "Manifest"},
          {13, "Settings"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::ostringstream out;
        std::ostringstream err;
        BatchTool tool(out, err);
        ASSERT_EQ(tool.run(c.options), BATCH_OK) << err.str();
        platform::RecordingContext printer;
        printer.setDeviceCap(platform::HORZRES, 2480);
        printer.setDeviceCap(platform::VERTRES, 3508);
        printer.setDeviceCap(platform::HORZSIZE, 210);
        printer.setDeviceCap(platform::LOGPIXELSX, 300);
        printer.setDeviceCap(platform::LOGPIXELSY, 300);
        ASSERT_EQ(printMappingReport(tool.window.job, tool.window.settings(), tool.host, printer,
                                     45000.0, tool.window.manifestSettingsText())
                      .kind,
                  CommandOutcome::Kind::Completed);

        const std::vector<PrintedPage> pages = pagesOf(printer.calls);
        ASSERT_EQ(static_cast<int>(pages.size()), c.pages);
        std::vector<std::pair<int, std::string>> expected = front;
        expected.insert(expected.end(), c.headings.begin(), c.headings.end());
        std::vector<std::pair<int, std::string>> found;
        for (std::size_t p = 0; p < pages.size(); ++p)
            for (const std::string &heading : pages[p].headings)
                found.emplace_back(static_cast<int>(p + 1), heading);
        EXPECT_EQ(found, expected);

        const std::string count = std::to_string(c.pages);
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const std::vector<std::string> &texts = pages[p].texts;
            ASSERT_FALSE(texts.empty());
            EXPECT_EQ(texts.back(), "Page " + std::to_string(p + 1) + " of " + count);
        }
        EXPECT_EQ(pages.front().texts.front(), "Mapping Report");
    }
}

// With a threshold of 0 every checked position of the sample is over it: the paragraph names
// the first twenty as the result line does, and the table under it lists them all.
TEST(MappingReportPages, TheMapCheckParagraphNamesTwentyPositionsAndCountsTheRest) {
    std::ostringstream out;
    std::ostringstream err;
    BatchTool tool(out, err);
    ASSERT_EQ(tool.run({"--load-report", (SAMPLES / "warehouse.ttr").string(), "--set",
                        "mapCheckThresholdText=0"}),
              BATCH_OK)
        << err.str();
    platform::RecordingContext printer;
    printer.setDeviceCap(platform::HORZRES, 2480);
    printer.setDeviceCap(platform::VERTRES, 3508);
    printer.setDeviceCap(platform::HORZSIZE, 210);
    printer.setDeviceCap(platform::LOGPIXELSX, 300);
    ASSERT_EQ(printMappingReport(tool.window.job, tool.window.settings(), tool.host, printer,
                                 45000.0, tool.window.manifestSettingsText())
                  .kind,
              CommandOutcome::Kind::Completed);
    // The paragraph's lines joined again where they were wrapped.
    std::string text;
    for (const RecordedCall &call : printer.callsOf(CallKind::Text))
        text += call.text + " ";
    const std::string opening = "Threshold 0 °C: exceeded at ";
    const std::size_t start = text.find(opening);
    ASSERT_NE(start, std::string::npos);
    const std::size_t end = text.find('.', start);
    const std::string named = text.substr(start + opening.size(), end - start - opening.size());
    const std::size_t more = named.find(" and ");
    ASSERT_NE(more, std::string::npos) << named;
    EXPECT_EQ(std::count(named.begin(), named.begin() + static_cast<long>(more), ','), 19);
    int rest = 0;
    ASSERT_EQ(std::sscanf(named.c_str() + more, " and %d more", &rest), 1);
    const MapCheck check = checkMap(tool.window.job.setList, tool.window.job.loggerArray);
    int over = 0;
    for (const PositionCheck &position : check.positions)
        over += position.sets > 0 && position.largestError != 0.0;
    EXPECT_GT(over, 20);
    EXPECT_EQ(20 + rest, over);
}

} // namespace
} // namespace zqar
