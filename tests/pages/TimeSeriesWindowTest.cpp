// The time-series chart in pixels, and its window: a click makes the set at that time
// current, a drag zooms and Reset Zoom goes back; the list beside the chart picks the lines.

#include "window/TimeSeriesWindow.h"
#include "app/MainWindow.h"
#include "core/analysis/TemperatureSet.h"
#include "core/analysis/statistics.h"
#include "core/data/LogFile.h"
#include "pages/presentation/TimeSeriesChart.h"
#include "qt/QtDialog.h"
#include "qt/QtDrawingContext.h"
#include "qt/QtHost.h"
#include "qt/QtMessageBox.h"
#include "window/MainWindowShell.h"

#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>

namespace zqar {
namespace {

constexpr int WIDTH = 700;
constexpr int HEIGHT = 400;

std::unique_ptr<LogFile> record(std::vector<double> values, double periodSeconds) {
    auto log = std::make_unique<LogFile>();
    log->loggerName.assign("10231");
    log->startTime.day = 40000.0;
    log->samplePeriod = periodSeconds;
    log->valueCount = static_cast<int32_t>(values.size());
    log->values = std::move(values);
    return log;
}

QImage draw(const TimeSeriesInput &input) {
    auto dc = platform::QtDrawingContext::offscreen(WIDTH, HEIGHT);
    drawTimeSeries(*dc, input, platform::Rect{0, 0, WIDTH, HEIGHT});
    return dc->image()->copy();
}

QColor qColour(platform::Colour c) {
    return QColor(platform::redOf(c), platform::greenOf(c), platform::blueOf(c));
}

// Rows of the column range [left, right) that hold the colour anywhere.
std::vector<int> rowsWith(const QImage &image, const QColor &colour, int left, int right) {
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        for (int x = left; x < right; ++x)
            if (image.pixelColor(x, y) == colour) {
                rows.push_back(y);
                break;
            }
    return rows;
}

TEST(TimeSeriesPixels, ALoggerCrossingALimitShowsOnBothSidesOfTheLimitLine) {
    // A day of minute samples rising from 20 to 30 degrees through an upper limit of 25.
    std::vector<double> values(1440);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = 20.0 + 10.0 * static_cast<double>(i) / 1439.0;
    const auto log = record(values, 60.0);
    TimeSeriesInput input;
    input.lines.push_back({"R1C1 10231", log.get(), "R1C1"});
    input.start = 40000.0;
    input.finish = 40001.0;
    input.upperLimit = 25.0;
    input.lowerLimit = 15.0;
    const QImage image = draw(input);

    const QColor limit(255, 0, 0);
    const QColor line = qColour(timeSeriesColour(0));
    const int middle = WIDTH / 3;
    const std::vector<int> limitRows = rowsWith(image, limit, middle, middle + 1);
    ASSERT_EQ(limitRows.size(), 4u); // two lines, two pixels thick
    const int upper = limitRows[0];  // the upper limit is the higher line on the screen
    const std::vector<int> lineRows = rowsWith(image, line, 0, WIDTH);
    ASSERT_FALSE(lineRows.empty());
    EXPECT_LT(lineRows.front(), upper);       // above the limit
    EXPECT_GT(lineRows.back(), upper + 1);    // and below it
    EXPECT_LT(lineRows.back(), limitRows[2]); // but never down at the lower limit
}

TEST(TimeSeriesPixels, AOneSampleSpikeInAMillionSamplesIsDrawn) {
    std::vector<double> values(1000000, 20.0);
    values[500000] = 30.0;
    values[0] = 10.0;
    const auto log = record(values, 10.0);
    TimeSeriesInput input;
    input.lines.push_back({"R1C1 10231", log.get(), "R1C1"});
    input.start = 40000.0;
    input.finish = 40000.0 + 1e7 / SECONDS_PER_DAY;
    const QImage image = draw(input);
    const std::vector<int> rows = rowsWith(image, qColour(timeSeriesColour(0)), 0, WIDTH - 150);
    ASSERT_FALSE(rows.empty());
    // 10 to 30 over the plot: the spike reaches the top tenth of the line's rows, the first
    // sample the bottom tenth, and the flat 20 lies between.
    const int span = rows.back() - rows.front();
    EXPECT_GT(span, HEIGHT / 2);
    int spikeColumn = -1;
    for (int x = 0; x < WIDTH && spikeColumn < 0; ++x)
        if (image.pixelColor(x, rows.front()) == qColour(timeSeriesColour(0)))
            spikeColumn = x;
    EXPECT_GT(spikeColumn, WIDTH / 4);
    EXPECT_LT(spikeColumn, WIDTH * 3 / 4);
}

TEST(TimeSeriesPixels, TheLineBreaksAcrossMissingReadings) {
    // Two days at 20 degrees, the middle third missing, then 30 degrees: nothing of the line
    // may stand between the last reading before the gap and the first after it, neither a join
    // from 20 to 30 nor a stroke up to the missing-value marker.
    struct Case {
        const char *what;
        double periodSeconds; // minute samples fill every column; six-hourly ones are bridged
    };
    for (const Case &c : {Case{"dense", 60.0}, Case{"sparse", 6 * 3600.0}}) {
        SCOPED_TRACE(c.what);
        const std::size_t count = static_cast<std::size_t>(2 * SECONDS_PER_DAY / c.periodSeconds);
        const std::size_t gapStart = count / 3;
        const std::size_t gapEnd = 2 * count / 3; // the first reading after the gap
        std::vector<double> values(count, 20.0);
        for (std::size_t i = gapStart; i < count; ++i)
            values[i] = i < gapEnd ? NO_VALUE : 30.0;
        const auto log = record(values, c.periodSeconds);
        TimeSeriesInput input;
        input.lines.push_back({"R1C1 10231", log.get(), "R1C1"});
        input.start = 40000.0;
        input.finish = 40002.0;
        auto dc = platform::QtDrawingContext::offscreen(WIDTH, HEIGHT);
        const platform::Rect area{0, 0, WIDTH, HEIGHT};
        const platform::Rect plot = timeSeriesPlotArea(*dc, input, area);
        drawTimeSeries(*dc, input, area);
        const QImage image = dc->image()->copy();

        const double day = c.periodSeconds / SECONDS_PER_DAY;
        const int lastBefore = columnAtTime(input, plot, input.start + (gapStart - 1.0) * day);
        const int firstAfter = columnAtTime(input, plot, input.start + gapEnd * day);
        ASSERT_LT(lastBefore + 4, firstAfter - 2);
        const QColor line = qColour(timeSeriesColour(0));
        EXPECT_TRUE(rowsWith(image, line, lastBefore + 2, firstAfter - 1).empty());
        // The line on either side is there, the later part higher up.
        const std::vector<int> before = rowsWith(image, line, plot.left, lastBefore + 1);
        const std::vector<int> after = rowsWith(image, line, firstAfter, plot.right);
        ASSERT_FALSE(before.empty());
        ASSERT_FALSE(after.empty());
        EXPECT_GT(before.front(), after.back());
    }
}

TEST(TimeSeriesWindow, ClickShowsTheSetAtThatTimeAndDragZooms) {
    std::vector<std::string> messages;
    platform::setMessageBoxHook(
        [&messages](const std::string &text, const std::string &) { messages.push_back(text); });
    {
        platform::QtHost host;
        MainWindow window(host);
        MainWindowShell shell(window, host);
        shell.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&shell));
        ASSERT_FALSE(window.openFile(std::string(ZQAR_SAMPLES_DIR) + "/warehouse.ttr").hasFailed());
        const SetList &sets = window.job.setList;
        ASSERT_GT(sets.count(), 20);

        shell.showTimeSeries();
        TimeSeriesWindow *series = shell.timeSeriesWindow();
        ASSERT_NE(series, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(series));
        TimeSeriesChartView *chart = series->chart();
        chart->repaint();
        const platform::Rect plot = chart->plotArea();
        ASSERT_GT(plot.width(), 100);
        const TimeSeriesInput input = chart->input(); // a copy: zooming replaces it
        auto xOf = [&](double t) {
            return plot.left +
                   static_cast<int>(
                       std::floor((t - input.start) / (input.finish - input.start) * plot.width()));
        };
        const int y = (plot.top + plot.bottom) / 2;

        const TemperatureSet &target = *sets.at(20);
        const double middle = target.time() + target.span / 2;
        QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(xOf(middle), y));
        EXPECT_EQ(sets.currentSet, 20);
        platform::QtDialog *matrix = host.dialogOf(window.matrixPage);
        EXPECT_EQ(matrix->text(MatrixPage::STATUS).rfind("21 of ", 0), 0u);
        EXPECT_EQ(chart->input().currentTime, target.time());

        // Moving the set elsewhere moves the shading with it.
        window.graphPage.navigator.next();
        chart->refresh();
        EXPECT_EQ(chart->input().currentTime, sets.at(21)->time());

        EXPECT_FALSE(series->resetButton()->isEnabled());
        const int from = plot.left + plot.width() / 4;
        const int to = plot.left + plot.width() / 2;
        QTest::mousePress(chart, Qt::LeftButton, {}, QPoint(from, y));
        QTest::mouseMove(chart, QPoint((from + to) / 2, y));
        QTest::mouseRelease(chart, Qt::LeftButton, {}, QPoint(to, y));
        ASSERT_TRUE(chart->zoom.has_value());
        EXPECT_NEAR(chart->zoom->first, timeAtColumn(input, plot, from), 1e-9);
        EXPECT_LT(chart->zoom->second - chart->zoom->first, (input.finish - input.start) / 3.0);
        EXPECT_EQ(sets.currentSet, 21); // a drag is no click
        EXPECT_TRUE(series->resetButton()->isEnabled());

        QTest::mouseClick(series->resetButton(), Qt::LeftButton);
        EXPECT_FALSE(chart->zoom.has_value());
        EXPECT_FALSE(series->resetButton()->isEnabled());
    }
    platform::setMessageBoxHook(nullptr);
    EXPECT_TRUE(messages.empty());
}

// The texts of the list's items that are shown, and of those checked.
std::vector<std::string> shownItems(const QListWidget &list, bool checkedOnly) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.count(); ++row) {
        const QListWidgetItem *item = list.item(row);
        if (!item->isHidden() && (!checkedOnly || item->checkState() == Qt::Checked))
            texts.push_back(item->text().toStdString());
    }
    return texts;
}

TEST(TimeSeriesWindow, TheListPicksTheLinesOverTheEnvelopeAndItsFilterFindsSerialNumbers) {
    std::vector<std::string> messages;
    platform::setMessageBoxHook(
        [&messages](const std::string &text, const std::string &) { messages.push_back(text); });
    {
        platform::QtHost host;
        MainWindow window(host);
        MainWindowShell shell(window, host);
        shell.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&shell));
        ASSERT_FALSE(window.openFile(std::string(ZQAR_SAMPLES_DIR) + "/warehouse.ttr").hasFailed());
        shell.showTimeSeries();
        TimeSeriesWindow *series = shell.timeSeriesWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(series));
        TimeSeriesChartView *chart = series->chart();
        chart->repaint();
        QListWidget &list = *series->positionList();
        ASSERT_EQ(list.count(), 26);
        ASSERT_TRUE(drawsEnvelope(chart->input()));

        // By default the hot and cold spots, those the statistics find by another road.
        const TimeSeriesInput &input = chart->input();
        const MappingStatistics statistics =
            computeStatistics(window.job.loggerArray, input.start, input.finish, {});
        const auto nameOf = [&](const Spot &spot) {
            const PositionStatistics &position = statistics.positions[spot.position];
            return position.position + " " + position.logger;
        };
        EXPECT_EQ(shownItems(list, true),
                  (std::vector<std::string>{nameOf(statistics.spots.warmest) + " (hot spot)",
                                            nameOf(statistics.spots.coldest) + " (cold spot)"}));
        EXPECT_FALSE(chart->input().picked.has_value());

        // The filter by serial number: the logger of R6C4 gives S2 its second channel.
        QTest::keyClicks(series->filterEdit(), "20417");
        EXPECT_EQ(shownItems(list, false), (std::vector<std::string>{"R6C4 20417", "S2 20417,2"}));
        series->filterEdit()->setText("r2c 1023");
        EXPECT_EQ(shownItems(list, false), (std::vector<std::string>{"R2C1 10235", "R2C2 10236",
                                                                     "R2C3 10237", "R2C4 10238"}));

        // Checking one draws it as well; the chart keeps the pick over a refresh.
        QListWidgetItem *r2c2 = list.findItems("R2C2 10236", Qt::MatchExactly).value(0);
        ASSERT_NE(r2c2, nullptr);
        r2c2->setCheckState(Qt::Checked);
        chart->refresh();
        ASSERT_TRUE(chart->input().picked.has_value());
        std::set<std::string> drawn;
        const TimeSeriesSpots spots = chart->input().spots.value_or(TimeSeriesSpots{});
        for (const std::size_t index : drawnLines(chart->input(), spots))
            drawn.insert(chart->input().lines[index].label);
        EXPECT_EQ(drawn, (std::set<std::string>{nameOf(statistics.spots.warmest), "R2C2 10236",
                                                nameOf(statistics.spots.coldest)}));
        // The filter hides items without unpicking them.
        series->filterEdit()->clear();
        EXPECT_EQ(shownItems(list, true).size(), 3u);
        EXPECT_EQ(list.count(), 26);
    }
    platform::setMessageBoxHook(nullptr);
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace zqar
