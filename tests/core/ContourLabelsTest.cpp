// Large arrays on the contour graph: the row, column and singular labels that are drawn never
// overlap, however many positions share the height and width, and the grid keeps the colours
// visible; a report's legend of many bands becomes one colour bar. Measured on the recorded
// drawing, whose text is half the font height wide per character and one font height high.

#include "core/analysis/TemperatureSet.h"
#include "pages/presentation/ContourGraph.h"
#include "platform/memory/RecordingContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace zqar {
namespace {

using platform::CallKind;
using platform::RecordedCall;
using platform::RecordingContext;
using platform::Rect;

// A field that rises across the rows and the columns, so that every span has colour.
TemperatureSet slopeSet(int rows, int columns, int singular) {
    TemperatureSet set(0.0, 0.0, rows, columns, singular);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            set.setValue(r, c, 18.0 + 6.0 * (r + c) / (rows + columns));
    for (int i = 0; i < singular; ++i)
        set.setValue(SINGULAR_ROW, i, 19.0 + 0.5 * i);
    return set;
}

ContourSettings bandsOf(double minimum, double maximum, double spacing, int inset = 1) {
    ContourSettings settings;
    settings.bands = {minimum, maximum, spacing};
    settings.inset = inset;
    return settings;
}

struct Case {
    int rows;
    int columns;
    int singular;
    int width; // the rectangle, pixels
    int height;
    int dpi;
    int inset;
};

std::string describe(const Case &c) {
    return std::to_string(c.rows) + " x " + std::to_string(c.columns) + " + " +
           std::to_string(c.singular) + " in " + std::to_string(c.width) + " x " +
           std::to_string(c.height) + " at " + std::to_string(c.dpi) + " dpi, inset " +
           std::to_string(c.inset);
}

struct Drawn {
    RecordingContext dc;
    std::vector<RecordedCall> texts;
    std::vector<RecordedCall> lines;
};

void drawCase(Drawn &drawn, const Case &c, const ContourSettings &settings,
              LegendStyle legend = LegendStyle::Boxes) {
    drawn.dc.setDeviceCap(platform::LOGPIXELSX, c.dpi);
    drawContourGraph(drawn.dc, slopeSet(c.rows, c.columns, c.singular),
                     {c.rows, c.columns, c.singular}, settings, DEFAULT_COLOUR_SCALE, 0, 0, c.width,
                     c.height, legend);
    drawn.texts = drawn.dc.callsOf(CallKind::Text);
    drawn.lines = drawn.dc.callsOf(CallKind::LineTo);
}

// The pixels a recorded text covers, as the recording context measures it. Above a baseline
// go four fifths of the height, below it the rest.
Rect textBox(const RecordedCall &text) {
    const int height = std::abs(text.font.height);
    const int width = static_cast<int>(text.text.size()) * height / 2;
    int left = text.point.x;
    if ((text.align & platform::TA_CENTER) == platform::TA_CENTER)
        left -= width / 2;
    else if (text.align & platform::TA_RIGHT)
        left -= width;
    int top = text.point.y;
    if ((text.align & platform::TA_BASELINE) == platform::TA_BASELINE)
        top -= height * 4 / 5;
    return Rect{left, top, left + width, top + height};
}

bool overlap(const Rect &a, const Rect &b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// "R12" is row label 12; the kind is the first letter.
bool isPositionLabel(const std::string &text) {
    return text.size() >= 2 && (text[0] == 'R' || text[0] == 'C' || text[0] == 'S') &&
           text.find_first_not_of("0123456789", 1) == std::string::npos;
}

// The drawn labels of one kind by their number.
std::map<int, RecordedCall> labelsOf(const Drawn &drawn, char kind) {
    std::map<int, RecordedCall> labels;
    for (const RecordedCall &text : drawn.texts)
        if (isPositionLabel(text.text) && text.text[0] == kind)
            labels.emplace(std::stoi(text.text.substr(1)), text);
    return labels;
}

const std::vector<Case> LARGE_ARRAYS = {
    {20, 20, 10, 1100, 800, 96, 1},   {20, 20, 10, 640, 480, 96, 0},
    {20, 20, 10, 4252, 2244, 600, 0}, // a report's map: 180 x 95 mm at 600 dpi
    {100, 100, 10, 1100, 800, 96, 1}, {100, 100, 10, 1000, 700, 96, 0},
    {100, 100, 10, 640, 480, 96, 1},  {100, 100, 10, 4252, 2244, 600, 1},
    {10, 100, 40, 1100, 800, 96, 1}, // more singular slots than rows
};

// No two drawn labels overlap. Each kind draws every k-th label from the first, k the
// smallest step that leaves a quarter of the text height between neighbours: one less would not.
TEST(ContourLabels, EveryKthLabelWithTheSmallestKThatLeavesAGap) {
    for (const Case &c : LARGE_ARRAYS) {
        SCOPED_TRACE(describe(c));
        Drawn drawn;
        drawCase(drawn, c, bandsOf(14.0, 30.0, 0.25, c.inset));
        std::vector<RecordedCall> all;
        for (const RecordedCall &text : drawn.texts)
            if (isPositionLabel(text.text))
                all.push_back(text);
        for (std::size_t i = 0; i < all.size(); ++i)
            for (std::size_t j = i + 1; j < all.size(); ++j)
                EXPECT_FALSE(overlap(textBox(all[i]), textBox(all[j])))
                    << all[i].text << " and " << all[j].text;

        for (const char kind : {'R', 'C', 'S'}) {
            SCOPED_TRACE(kind);
            const std::map<int, RecordedCall> labels = labelsOf(drawn, kind);
            const int count = kind == 'R' ? c.rows : kind == 'C' ? c.columns : c.singular;
            ASSERT_GE(labels.size(), 2u);
            const int step = std::next(labels.begin())->first - labels.begin()->first;
            int expected = 1;
            for (const auto &[number, text] : labels) {
                EXPECT_EQ(number, expected);
                expected += step;
            }
            EXPECT_GT(expected, count) << "labels stop early";
            const RecordedCall &first = labels.begin()->second;
            const RecordedCall &second = std::next(labels.begin())->second;
            const int height = std::abs(first.font.height);
            const int pitch = kind == 'C' ? (second.point.x - first.point.x) / step
                                          : (second.point.y - first.point.y) / step;
            const int widestLabel = static_cast<int>(std::to_string(count).size() + 1) * height / 2;
            const int needed = (kind == 'C' ? widestLabel : height) + std::max(1, height / 4);
            EXPECT_GE(step * pitch, needed);
            EXPECT_LT((step - 1) * pitch, needed);
        }
    }
}

TEST(ContourLabels, ArraysWhoseLabelsFitKeepEveryLabelAndGridLine) {
    const std::vector<Case> fitting = {{6, 4, 2, 1100, 800, 96, 0},
                                       {6, 4, 2, 640, 480, 96, 1},
                                       {6, 4, 2, 4252, 2244, 600, 0},
                                       {20, 20, 10, 1100, 800, 96, 1}};
    for (const Case &c : fitting) {
        SCOPED_TRACE(describe(c));
        Drawn drawn;
        drawCase(drawn, c, bandsOf(17.0, 28.0, 0.25, c.inset));
        EXPECT_EQ(labelsOf(drawn, 'R').size(), static_cast<std::size_t>(c.rows));
        EXPECT_EQ(labelsOf(drawn, 'C').size(), static_cast<std::size_t>(c.columns));
        EXPECT_EQ(labelsOf(drawn, 'S').size(), static_cast<std::size_t>(c.singular));
        // A line through each row and column, four sides of each singular square.
        EXPECT_EQ(drawn.lines.size(),
                  static_cast<std::size_t>(c.rows + c.columns + 4 * c.singular));
    }
}

// Cells under two thirds of the text height keep only the grid lines through labelled
// positions; the singular squares keep their outlines.
TEST(ContourLabels, SmallCellsKeepOnlyTheLabelledGridLines) {
    for (const Case &c :
         {Case{100, 100, 10, 1100, 800, 96, 1}, Case{100, 100, 10, 4252, 2244, 600, 1}}) {
        SCOPED_TRACE(describe(c));
        Drawn drawn;
        drawCase(drawn, c, bandsOf(14.0, 30.0, 0.25, c.inset));
        const ContourLayout layout = layoutContourGraph(
            c.dpi, {c.rows, c.columns, c.singular}, bandsOf(14.0, 30.0, 0.25), c.width, c.height);
        ASSERT_LT(layout.cellHeight, 2 * layout.unit / 3);
        ASSERT_LT(layout.cellWidth, 2 * layout.unit / 3);
        const int fieldWidth = (c.columns - 1) * layout.cellWidth;
        const int fieldHeight = (c.rows - 1) * layout.cellHeight;
        std::vector<int> rowLines;
        std::vector<int> columnLines;
        int squareSides = 0;
        for (const RecordedCall &line : drawn.lines) {
            if (line.from.y == line.point.y && line.point.x - line.from.x == fieldWidth)
                rowLines.push_back(line.from.y);
            else if (line.from.x == line.point.x && line.point.y - line.from.y == fieldHeight)
                columnLines.push_back(line.from.x);
            else
                ++squareSides;
        }
        EXPECT_EQ(squareSides, 4 * c.singular);
        // Each row line carries its label, whose baseline is a third of the unit below it.
        const std::map<int, RecordedCall> rows = labelsOf(drawn, 'R');
        ASSERT_EQ(rowLines.size(), rows.size());
        auto label = rows.begin();
        for (const int y : rowLines)
            EXPECT_EQ((label++)->second.point.y, y + layout.unit / 3);
        const std::map<int, RecordedCall> columns = labelsOf(drawn, 'C');
        ASSERT_EQ(columnLines.size(), columns.size());
        auto column = columns.begin();
        for (const int x : columnLines)
            EXPECT_EQ((column++)->second.point.x, x);
        EXPECT_LT(rowLines.size(), static_cast<std::size_t>(c.rows));
    }
}

// The legend texts of a drawing: the box legend's ranges and the colour bar's tick labels.
std::vector<RecordedCall> legendTexts(const Drawn &drawn) {
    std::vector<RecordedCall> legend;
    for (const RecordedCall &text : drawn.texts)
        if (!isPositionLabel(text.text))
            legend.push_back(text);
    return legend;
}

bool samePoint(platform::Point a, platform::Point b) { return a.x == b.x && a.y == b.y; }

bool sameCalls(const std::vector<RecordedCall> &a, const std::vector<RecordedCall> &b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].kind != b[i].kind || !(a[i].rect == b[i].rect) || a[i].colour != b[i].colour ||
            !samePoint(a[i].point, b[i].point) || !samePoint(a[i].from, b[i].from) ||
            a[i].text != b[i].text || a[i].align != b[i].align || a[i].font != b[i].font)
            return false;
    return true;
}

TEST(ContourColourBar, ALegendThatFitsOneColumnStaysAsBoxes) {
    // 460 pixels hold 30 legend lines of 15 pixels.
    const Case c{6, 4, 2, 760, 460, 96, 0};
    for (const double spacing : {1.0, 0.5}) {
        SCOPED_TRACE(spacing);
        Drawn boxes;
        Drawn bar;
        drawCase(boxes, c, bandsOf(17.0, 28.0, spacing, 0), LegendStyle::Boxes);
        drawCase(bar, c, bandsOf(17.0, 28.0, spacing, 0), LegendStyle::BarWhenCrowded);
        EXPECT_TRUE(sameCalls(boxes.dc.calls, bar.dc.calls));
        EXPECT_FALSE(layoutContourGraph(96, {6, 4, 2}, bandsOf(17.0, 28.0, spacing, 0), 760, 460,
                                        LegendStyle::BarWhenCrowded)
                         .colourBar);
    }
}

TEST(ContourColourBar, ManyBandsMakeOneBarWithLabelledTicksAtBandEdges) {
    // 44 bands of a quarter degree need two columns of boxes in 460 pixels.
    const Case c{6, 4, 2, 760, 460, 96, 0};
    const ContourSettings settings = bandsOf(17.0, 28.0, 0.25, 0);
    Drawn drawn;
    drawCase(drawn, c, settings, LegendStyle::BarWhenCrowded);
    const ContourLayout layout =
        layoutContourGraph(96, {6, 4, 2}, settings, 760, 460, LegendStyle::BarWhenCrowded);
    ASSERT_TRUE(layout.colourBar);
    const int u = layout.unit;

    // One frame: the bar, one unit wide, from a unit below the top to a unit above the bottom.
    const auto frames = drawn.dc.callsOf(CallKind::Frame);
    ASSERT_EQ(frames.size(), 1u);
    const Rect bar = frames[0].rect;
    EXPECT_EQ(bar.width(), u);
    EXPECT_EQ(bar.top, u);
    EXPECT_EQ(bar.bottom, 460 - u);
    EXPECT_EQ(bar.left, 760 - layout.legendColumnWidth);

    // The bar's slices cover it once, bottom to top from the coldest band to the hottest.
    std::vector<RecordedCall> slices;
    for (const RecordedCall &fill : drawn.dc.callsOf(CallKind::Fill))
        if (fill.rect.left == bar.left && fill.rect.right == bar.right)
            slices.push_back(fill);
    ASSERT_EQ(slices.size(), 44u);
    int expectedBottom = bar.bottom;
    double start = 17.0;
    for (const RecordedCall &slice : slices) {
        EXPECT_EQ(slice.rect.bottom, expectedBottom);
        EXPECT_EQ(slice.colour, bandColour(DEFAULT_COLOUR_SCALE, settings.bands, start));
        expectedBottom = slice.rect.top;
        start += 0.25;
    }
    EXPECT_EQ(expectedBottom, bar.top);

    // Tick labels rise from the minimum at the bottom; each sits a third of a unit below its
    // tick, which is the lower edge of the band that starts at its temperature.
    std::map<int, int> sliceBottomOfBand;
    for (std::size_t i = 0; i < slices.size(); ++i)
        sliceBottomOfBand[static_cast<int>(i)] = slices[i].rect.bottom;
    sliceBottomOfBand[44] = bar.top;
    const std::vector<RecordedCall> ticks = legendTexts(drawn);
    ASSERT_GE(ticks.size(), 3u);
    EXPECT_EQ(ticks.front().text, "17.00");
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        SCOPED_TRACE(ticks[i].text);
        const double temperature = std::stod(ticks[i].text);
        const double band = (temperature - 17.0) / 0.25;
        const int whole = static_cast<int>(band + 0.5);
        EXPECT_NEAR(band, whole, 1e-9);
        EXPECT_EQ(ticks[i].point.y, sliceBottomOfBand[whole] + u / 3);
        if (i > 0) {
            EXPECT_LT(ticks[i].point.y, ticks[i - 1].point.y);
            EXPECT_FALSE(overlap(textBox(ticks[i]), textBox(ticks[i - 1])));
        }
    }
    // Ten pixels a band: two bands hold a label and its gap, and half a degree is round.
    EXPECT_EQ(ticks[1].text, "17.50");
}

TEST(ContourColourBar, GivesTheFieldTheWidthTheBoxesTook) {
    // A wide array is fitted to the width: the boxes' two columns take what the bar leaves.
    const ContourSettings settings = bandsOf(17.0, 28.0, 0.25);
    const ContourLayout boxes = layoutContourGraph(96, {3, 40, 0}, settings, 760, 460);
    const ContourLayout bar =
        layoutContourGraph(96, {3, 40, 0}, settings, 760, 460, LegendStyle::BarWhenCrowded);
    ASSERT_EQ(boxes.problem, "");
    ASSERT_EQ(bar.problem, "");
    EXPECT_EQ(boxes.legendColumnCount, 2);
    EXPECT_EQ(bar.legendColumnCount, 1);
    EXPECT_GT(bar.cellWidth * 41, boxes.cellWidth * 41 + boxes.legendColumnWidth / 2);
}

TEST(ContourColourBar, TenThousandBandsInAShortBarDrawWithoutFault) {
    const Case c{3, 3, 0, 400, 120, 96, 1};
    Drawn drawn;
    drawCase(drawn, c, bandsOf(0.0, 100.0, 0.01), LegendStyle::BarWhenCrowded);
    const std::vector<RecordedCall> ticks = legendTexts(drawn);
    ASSERT_GE(ticks.size(), 2u);
    EXPECT_EQ(ticks.front().text, "0.00");
    for (std::size_t i = 1; i < ticks.size(); ++i)
        EXPECT_FALSE(overlap(textBox(ticks[i]), textBox(ticks[i - 1]))) << ticks[i].text;
    // No more slices than the bar has pixel rows.
    const auto frames = drawn.dc.callsOf(CallKind::Frame);
    ASSERT_EQ(frames.size(), 1u);
    const Rect bar = frames[0].rect;
    int slices = 0;
    for (const RecordedCall &fill : drawn.dc.callsOf(CallKind::Fill))
        if (fill.rect.left == bar.left && fill.rect.right == bar.right) {
            EXPECT_GE(fill.rect.top, bar.top);
            EXPECT_LE(fill.rect.bottom, bar.bottom);
            ++slices;
        }
    EXPECT_EQ(slices, bar.height());
}

} // namespace
} // namespace zqar
