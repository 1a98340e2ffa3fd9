#include "pages/presentation/ContourGraph.h"
#include "core/analysis/TemperatureSet.h"
#include "platform/memory/RecordingContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace zqar {
namespace {

using platform::CallKind;
using platform::Colour;
using platform::RecordedCall;
using platform::RecordingContext;
using platform::Rect;
using platform::rgb;

// A set whose every cell holds value, with singular slots 25.0.
TemperatureSet uniformSet(int rows, int columns, int singular, double value) {
    TemperatureSet set(0.0, 0.0, rows, columns, singular);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            set.setValue(r, c, value);
    for (int i = 0; i < singular; ++i)
        set.setValue(SINGULAR_ROW, i, 25.0);
    return set;
}

ContourSettings tenBands() {
    ContourSettings settings;
    settings.bands = {20.0, 30.0, 1.0};
    return settings;
}

struct Drawing {
    RecordingContext dc;
    std::vector<RecordedCall> fills;
    std::vector<RecordedCall> texts;
};

void draw(Drawing &drawing, const TemperatureSet &set, const ContourSettings &settings, int x,
          int y, int width, int height) {
    drawContourGraph(drawing.dc, set, {set.rows, set.columns, set.singularCount}, settings,
                     DEFAULT_COLOUR_SCALE, x, y, width, height);
    drawing.fills = drawing.dc.callsOf(CallKind::Fill);
    drawing.texts = drawing.dc.callsOf(CallKind::Text);
}

const RecordedCall *textCall(const Drawing &drawing, const std::string &text) {
    for (const auto &call : drawing.texts)
        if (call.text == text)
            return &call;
    return nullptr;
}

// Pixels covered by the fills of field brushes (fills one pixel row high).
std::map<std::pair<int, int>, int> fieldCoverage(const Drawing &drawing) {
    std::map<std::pair<int, int>, int> covered;
    for (const auto &fill : drawing.fills)
        if (fill.rect.height() == 1)
            for (int px = fill.rect.left; px < fill.rect.right; ++px)
                ++covered[{px, fill.rect.top}];
    return covered;
}

TEST(BandColour, TenBandsBetweenTwentyAndThirty) {
    const BandParameters bands{20.0, 30.0, 1.0};
    const std::vector<Colour> expected = {
        rgb(128, 0, 255), rgb(12, 0, 255), rgb(0, 102, 255), rgb(0, 216, 255), rgb(0, 255, 178),
        rgb(0, 255, 64),  rgb(51, 255, 0), rgb(166, 255, 0), rgb(255, 229, 0), rgb(255, 115, 0)};
    for (int band = 0; band < 10; ++band) {
        SCOPED_TRACE(band);
        EXPECT_EQ(bandColour(DEFAULT_COLOUR_SCALE, bands, 20.0 + band), expected[band]);
    }
    EXPECT_EQ(bandColour(DEFAULT_COLOUR_SCALE, bands, 30.0), rgb(255, 0, 0));
    EXPECT_EQ(bandColour(DEFAULT_COLOUR_SCALE, bands, 45.0), rgb(255, 0, 0));
    EXPECT_EQ(bandColour(DEFAULT_COLOUR_SCALE, bands, 19.5), rgb(128, 0, 255));
    EXPECT_EQ(bandColour(DEFAULT_COLOUR_SCALE, bands, -40.0), rgb(128, 0, 255));
}

TEST(BandColour, NoWholeBandBetweenMinimumAndMaximum) {
    // N = trunc(0.0005 + 0.999) = 0: anything above the first band is the hot end.
    const BandParameters bands{20.0, 20.0005, 1.0};
    EXPECT_EQ(bandColour(DEFAULT_COLOUR_SCALE, bands, 20.5), rgb(128, 0, 255));
    EXPECT_EQ(bandColour(DEFAULT_COLOUR_SCALE, bands, 21.5), rgb(255, 0, 0));
}

TEST(ContourLayout, WorkedExampleWithFourColumns) {
    const TemperatureSet set = uniformSet(3, 4, 2, 25.0);
    Drawing drawing;
    draw(drawing, set, tenBands(), 10, 20, 760, 460);
    const ContourLayout layout = layoutContourGraph(96, {3, 4, 2}, tenBands(), 760, 460);
    EXPECT_EQ(layout.problem, "");
    EXPECT_EQ(layout.unit, 12);
    EXPECT_EQ(layout.rowSlots, 4);
    EXPECT_EQ(layout.cellHeight, 91);
    EXPECT_EQ(layout.cellWidth, 91);
    EXPECT_EQ(layout.fieldLeft, 38);
    EXPECT_EQ(layout.fieldTop, 48);
    EXPECT_FALSE(layout.fitted);

    ASSERT_FALSE(drawing.fills.empty());
    // The first span is the ring's top left quarter cell, at the field's corner.
    EXPECT_EQ(drawing.fills.front().rect.left, 10 + 38);
    EXPECT_EQ(drawing.fills.front().rect.top, 20 + 48);
    // The first legend box, framed in black.
    const auto frames = drawing.dc.callsOf(CallKind::Frame);
    ASSERT_EQ(frames.size(), 10u);
    EXPECT_EQ(frames.front().rect, (Rect{10 + 652, 20 + 12, 10 + 664, 20 + 24}));
    EXPECT_EQ(frames.front().colour, rgb(0, 0, 0));
    // The first singular square sits 2u right of the field, one cell wide.
    const int xQ = 10 + 38 + 5 * 91 + 24;
    EXPECT_EQ(drawing.fills[drawing.fills.size() - 12].rect, (Rect{xQ, 68, xQ + 91, 68 + 91}));
}

TEST(ContourLayout, WorkedExampleFittedToANarrowRectangle) {
    const ContourLayout layout = layoutContourGraph(96, {3, 8, 2}, tenBands(), 400, 460);
    EXPECT_EQ(layout.problem, "");
    EXPECT_TRUE(layout.fitted);
    EXPECT_EQ(layout.fieldLeft, 48);
    EXPECT_EQ(layout.cellWidth, 17);
    EXPECT_EQ(layout.cellHeight, 17);
    EXPECT_EQ(layout.fieldTop, 196);
}

TEST(ContourGraph, FieldCoversTheArrayWithItsRingOnce) {
    const TemperatureSet set = uniformSet(3, 4, 2, 25.0);
    Drawing drawing;
    draw(drawing, set, tenBands(), 10, 20, 760, 460);
    const auto covered = fieldCoverage(drawing);
    // Half a cell of ring on each side: 45 + 3 x 91 + 45 wide, 45 + 2 x 91 + 45 high.
    EXPECT_EQ(covered.size(), 363u * 272u);
    for (const auto &pixel : covered) {
        ASSERT_EQ(pixel.second, 1) << pixel.first.first << "," << pixel.first.second;
        ASSERT_TRUE(
            (Rect{48, 68, 48 + 363, 68 + 272}.contains({pixel.first.first, pixel.first.second})));
    }
    // A uniform 25 degrees is band 5 everywhere, one run per pixel row and span.
    for (const auto &fill : drawing.fills) {
        if (fill.rect.height() == 1) {
            ASSERT_EQ(fill.colour, bandColour(DEFAULT_COLOUR_SCALE, {20.0, 30.0, 1.0}, 25.0));
        }
    }
}

TEST(ContourGraph, LoggersOnTheBoundaryPaintOnlyBetweenThem) {
    ContourSettings settings = tenBands();
    settings.inset = 0;
    {
        const TemperatureSet set = uniformSet(3, 4, 2, 25.0);
        Drawing drawing;
        draw(drawing, set, settings, 0, 0, 760, 460);
        const ContourLayout layout = layoutContourGraph(96, {3, 4, 2}, settings, 760, 460);
        const auto covered = fieldCoverage(drawing);
        EXPECT_EQ(covered.size(),
                  static_cast<std::size_t>(3 * layout.cellWidth * 2 * layout.cellHeight));
        const auto first = drawing.fills.front().rect;
        EXPECT_EQ(first.left, layout.fieldLeft);
        EXPECT_EQ(first.top, layout.fieldTop);
        // The singular squares start at X0 + K x cellW + 2u.
        const auto squares = drawing.fills[drawing.fills.size() - 12].rect;
        EXPECT_EQ(squares.left, layout.fieldLeft + 4 * layout.cellWidth + 24);
    }
    {
        SCOPED_TRACE("single row");
        const TemperatureSet set = uniformSet(1, 4, 0, 25.0);
        Drawing drawing;
        draw(drawing, set, settings, 0, 0, 760, 460);
        EXPECT_TRUE(fieldCoverage(drawing).empty());
        EXPECT_NE(textCall(drawing, "R1"), nullptr);
        EXPECT_NE(textCall(drawing, "C4"), nullptr);
        EXPECT_EQ(drawing.dc.callsOf(CallKind::LineTo).size(), 1u + 4u);
    }
}

TEST(ContourGraph, LoggerWithoutValueLeavesItsSpansBlank) {
    TemperatureSet set = uniformSet(3, 4, 0, 25.0);
    set.setValue(1, 1, NO_VALUE);
    Drawing drawing;
    draw(drawing, set, tenBands(), 0, 0, 760, 460);
    const ContourLayout layout = layoutContourGraph(96, {3, 4, 0}, tenBands(), 760, 460);
    const int loggerX = layout.fieldLeft + layout.cellWidth / 2 + layout.cellWidth;
    const int loggerY = layout.fieldTop + layout.cellHeight / 2 + layout.cellHeight;
    const Rect blank{loggerX - layout.cellWidth, loggerY - layout.cellHeight,
                     loggerX + layout.cellWidth, loggerY + layout.cellHeight};
    const auto covered = fieldCoverage(drawing);
    for (const auto &pixel : covered)
        ASSERT_FALSE(blank.contains({pixel.first.first, pixel.first.second}))
            << pixel.first.first << "," << pixel.first.second;
    // The span between loggers (1, 2), (1, 3), (2, 2) and (2, 3) is still there.
    EXPECT_EQ(covered.count({loggerX + layout.cellWidth + 1, loggerY + 1}), 1u);
}

TEST(ContourGraph, RunsFollowTheInterpolatedBands) {
    // Columns at 20, 22, 24, 26: each full span crosses two bands per pixel row.
    TemperatureSet set(0.0, 0.0, 2, 4, 0);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
            set.setValue(r, c, 20.0 + 2.0 * c);
    ContourSettings settings = tenBands();
    settings.inset = 0;
    Drawing drawing;
    draw(drawing, set, settings, 0, 0, 760, 460);
    const ContourLayout layout = layoutContourGraph(96, {2, 4, 0}, settings, 760, 460);
    std::vector<RecordedCall> firstRow;
    for (const auto &fill : drawing.fills)
        if (fill.rect.height() == 1 && fill.rect.top == layout.fieldTop)
            firstRow.push_back(fill);
    ASSERT_EQ(firstRow.size(), 6u);
    for (std::size_t i = 0; i < firstRow.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(firstRow[i].colour,
                  bandColour(DEFAULT_COLOUR_SCALE, settings.bands, 20.0 + static_cast<double>(i)));
        if (i > 0) {
            EXPECT_EQ(firstRow[i].rect.left, firstRow[i - 1].rect.right);
        }
    }
    EXPECT_EQ(firstRow.front().rect.left, layout.fieldLeft);
    EXPECT_EQ(firstRow.back().rect.right, layout.fieldLeft + 3 * layout.cellWidth);
}

TEST(ContourGraph, LegendListsEveryBand) {
    ContourSettings settings;
    settings.bands = {0.0, 7.5, 1.0};
    const TemperatureSet set = uniformSet(3, 4, 0, 3.0);
    Drawing drawing;
    draw(drawing, set, settings, 0, 0, 760, 460);
    std::vector<std::string> legend;
    for (const auto &text : drawing.texts)
        if (text.align == platform::TA_LEFT + platform::TA_BASELINE)
            legend.push_back(text.text);
    ASSERT_EQ(legend.size(), 8u);
    EXPECT_EQ(legend.front(), "0.00 - 1.00");
    EXPECT_EQ(legend.back(), "7.00 - 8.00");
}

TEST(ContourGraph, LegendBreaksIntoColumnsAtTheBottom) {
    // 180 pixels hold boxes at tops 12, 27, ... while bottom + 24 stays within the rectangle.
    ContourSettings settings;
    settings.bands = {0.0, 20.0, 1.0};
    const TemperatureSet set = uniformSet(2, 2, 0, 3.0);
    Drawing drawing;
    draw(drawing, set, settings, 0, 0, 900, 180);
    const auto frames = drawing.dc.callsOf(CallKind::Frame);
    ASSERT_EQ(frames.size(), 20u);
    std::set<int> columns;
    for (const auto &frame : frames) {
        columns.insert(frame.rect.left);
        EXPECT_LE(frame.rect.bottom + 24 - 15, 180);
    }
    EXPECT_EQ(columns.size(), 2u);
    EXPECT_EQ(*columns.rbegin() - *columns.begin(), 9 * 12);
}

TEST(ContourGraph, SingularValuesAsText) {
    TemperatureSet set = uniformSet(3, 4, 2, 25.0);
    set.setValue(SINGULAR_ROW, 0, 21.34);
    set.setValue(SINGULAR_ROW, 1, NO_VALUE);
    ContourSettings settings = tenBands();
    settings.showSingularAsText = true;
    Drawing drawing;
    draw(drawing, set, settings, 10, 20, 760, 460);
    const RecordedCall *value = textCall(drawing, "21.3");
    ASSERT_NE(value, nullptr);
    const int xQ = 10 + 38 + 5 * 91 + 24;
    EXPECT_EQ(value->point.x, xQ + 91 / 2);
    EXPECT_EQ(value->point.y, 68 + 91 / 2);
    EXPECT_EQ(value->align, platform::TA_CENTER);
    int whiteSquares = 0;
    for (const auto &fill : drawing.fills)
        if (fill.rect.height() == 91 && fill.colour == rgb(255, 255, 255))
            ++whiteSquares;
    EXPECT_EQ(whiteSquares, 1); // the slot without a value keeps only its outline and label
    EXPECT_NE(textCall(drawing, "S2"), nullptr);
}

TEST(ContourGraph, TextsAreTransparentBlackWithTheirAlignment) {
    const TemperatureSet set = uniformSet(3, 4, 2, 25.0);
    Drawing drawing;
    draw(drawing, set, tenBands(), 0, 0, 760, 460);
    ASSERT_FALSE(drawing.texts.empty());
    for (const auto &text : drawing.texts) {
        EXPECT_EQ(text.backgroundMode, platform::BackgroundMode::Transparent);
        EXPECT_EQ(text.textColour, rgb(0, 0, 0));
        EXPECT_EQ(text.font.height, 12);
    }
    EXPECT_EQ(textCall(drawing, "R1")->align, 26u);
    EXPECT_EQ(textCall(drawing, "C1")->align, 6u);
    EXPECT_EQ(textCall(drawing, "S1")->align, 26u);
}

TEST(ContourGraph, GridLinesAreOnePixelBlack) {
    for (const bool asText : {false, true}) {
        SCOPED_TRACE(asText);
        const TemperatureSet set = uniformSet(3, 4, 2, 25.0);
        ContourSettings settings = tenBands();
        settings.showSingularAsText = asText;
        Drawing drawing;
        draw(drawing, set, settings, 0, 0, 760, 460);
        const auto lines = drawing.dc.callsOf(CallKind::LineTo);
        // Three rows and four columns, and four sides of each of the two singular squares.
        EXPECT_EQ(lines.size(), 3u + 4u + 2u * 4u);
        for (const auto &line : lines) {
            EXPECT_EQ(line.colour, rgb(0, 0, 0));
            EXPECT_EQ(line.penWidth, 1);
        }
        for (const auto &text : drawing.texts)
            EXPECT_EQ(text.font.face, "Arial");
    }
}

TEST(ContourGraph, BadSettingsWriteOneLineInsteadOfTheGraph) {
    struct Case {
        const char *name;
        BandParameters bands;
        ArrayDimensions dimensions;
        int width;
        int height;
        double rowSpacing;
        double columnSpacing;
        std::string message;
        int inset = 1;
    };
    const double huge = 1.0e300;
    const double infinite = HUGE_VAL;
    const std::vector<Case> cases = {
        {"maximum equals minimum",
         {20, 20, 1},
         {3, 4, 2},
         760,
         460,
         1,
         1,
         "Maximum Temperature must be above Minimum Temperature"},
        {"maximum below minimum",
         {30, 20, 1},
         {3, 4, 2},
         760,
         460,
         1,
         1,
         "Maximum Temperature must be above Minimum Temperature"},
        {"negative spacing",
         {20, 30, -1},
         {3, 4, 2},
         760,
         460,
         1,
         1,
         "Contour Spacing must be a number above 0"},
        {"tiny spacing",
         {20, 30, 1e-300},
         {3, 4, 2},
         760,
         460,
         1,
         1,
         "Contour Spacing gives too many bands"},
        {"huge range",
         {-huge, huge, 1},
         {3, 4, 2},
         760,
         460,
         1,
         1,
         "Contour Spacing gives too many bands"},
        {"minimum 1e400",
         {infinite, 30, 1},
         {3, 4, 2},
         760,
         460,
         1,
         1,
         "Minimum Temperature is out of range"},
        {"maximum 1e400",
         {20, infinite, 1},
         {3, 4, 2},
         760,
         460,
         1,
         1,
         "Maximum Temperature is out of range"},
        {"spacing 1e400",
         {20, 30, infinite},
         {3, 4, 2},
         760,
         460,
         1,
         1,
         "Contour Spacing must be a number above 0"},
        {"no rows or singulars on the boundary",
         {20, 30, 1},
         {0, 4, 0},
         760,
         460,
         1,
         1,
         "The layout needs a row or a singular logger",
         0},
        {"no columns on the fitting path",
         {20, 30, 1},
         {0, 0, 3},
         20,
         460,
         1,
         1,
         "The layout needs a column",
         0},
        {"area lower than a legend line",
         {20, 30, 1},
         {3, 4, 2},
         760,
         14,
         1,
         1,
         "The graph area is too low for the legend"},
        {"negative height",
         {20, 30, 1},
         {3, 4, 2},
         760,
         -500,
         1,
         1,
         "The graph area is too low for the legend"},
        // The fitting rounds swing ever wider when rows are far taller than columns.
        {"fitting diverges",
         {20, 30, 1},
         {3, 4, 2},
         200,
         460,
         100,
         1,
         "Row Spacing and Column Spacing do not fit the graph area"},
        // Cells under a pixel: the field would be a line with every label on one spot.
        {"rows closer than a pixel",
         {20, 30, 1},
         {3, 4, 2},
         760,
         460,
         1e-300,
         1,
         "Row Spacing and Column Spacing do not fit the graph area"},
        {"rows farther apart than the area",
         {20, 30, 1},
         {3, 4, 2},
         760,
         460,
         1e300,
         1,
         "Row Spacing and Column Spacing do not fit the graph area"},
        {"columns closer than a pixel",
         {20, 30, 1},
         {3, 4, 2},
         760,
         460,
         1,
         1e-300,
         "Row Spacing and Column Spacing do not fit the graph area"},
        {"columns farther apart than the area",
         {20, 30, 1},
         {3, 4, 2},
         760,
         460,
         1,
         1e300,
         "Row Spacing and Column Spacing do not fit the graph area"},
        {"cells flattened by a slight ratio",
         {20, 30, 1},
         {3, 4, 2},
         760,
         460,
         1,
         0.005,
         "Row Spacing and Column Spacing do not fit the graph area"},
    };
    for (const auto &testCase : cases) {
        SCOPED_TRACE(testCase.name);
        TemperatureSet set(0.0, 0.0, testCase.dimensions.rows, testCase.dimensions.columns,
                           testCase.dimensions.singularCount);
        ContourSettings settings;
        settings.bands = testCase.bands;
        settings.inset = testCase.inset;
        settings.rowSpacing = testCase.rowSpacing;
        settings.columnSpacing = testCase.columnSpacing;
        RecordingContext dc;
        drawContourGraph(dc, set, testCase.dimensions, settings, DEFAULT_COLOUR_SCALE, 0, 0,
                         testCase.width, testCase.height);
        const auto texts = dc.callsOf(CallKind::Text);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts.front().text, testCase.message);
        EXPECT_TRUE(dc.callsOf(CallKind::Fill).empty());
        EXPECT_TRUE(dc.callsOf(CallKind::Frame).empty());
    }
}

TEST(ContourGraph, ExtremeTemperaturesDrawWithoutFault) {
    // Values far outside the bands saturate to the end bands; NaN-free but huge.
    TemperatureSet set(0.0, 0.0, 2, 2, 1);
    set.setValue(0, 0, -1.0e300);
    set.setValue(0, 1, 1.0e300);
    set.setValue(1, 0, 1.0e10);
    set.setValue(1, 1, -1.0e10);
    set.setValue(SINGULAR_ROW, 0, 1.0e300);
    Drawing drawing;
    draw(drawing, set, tenBands(), 0, 0, 760, 460);
    EXPECT_FALSE(fieldCoverage(drawing).empty());
}

TEST(ContourGraph, AbsurdRectanglesNeverFault) {
    struct Case {
        int x, y, width, height;
    };
    const TemperatureSet set = uniformSet(3, 4, 2, 25.0);
    for (const Case &area :
         {Case{0, 0, -500, 460}, Case{0, 0, 0, 460}, Case{0, 0, 1, 460},
          Case{0, 0, 760, 2147483647}, Case{0, 0, 2147483647, 460},
          Case{900000000, 900000000, 900000000, 900000000}, Case{-2147483647, 0, 760, 460}}) {
        SCOPED_TRACE(testing::Message() << area.x << " " << area.width << "x" << area.height);
        Drawing drawing;
        draw(drawing, set, tenBands(), area.x, area.y, area.width, area.height);
        EXPECT_LE(drawing.fills.size(), 100000u);
    }
}

TEST(ContourLayout, CellsOfOnePixelAreTheNarrowestDrawn) {
    ContourSettings settings = tenBands();
    settings.columnSpacing = 0.011; // 91-pixel rows
    const ContourLayout narrow = layoutContourGraph(96, {3, 4, 2}, settings, 760, 460);
    EXPECT_EQ(narrow.problem, "");
    EXPECT_EQ(narrow.cellWidth, 1);
    settings.columnSpacing = 0.01;
    EXPECT_EQ(layoutContourGraph(96, {3, 4, 2}, settings, 760, 460).problem,
              "Row Spacing and Column Spacing do not fit the graph area");
}

TEST(ContourSettingsReading, BandCountLimitIsInclusive) {
    ContourSettings settings;
    settings.bands = {0.0, MAX_BANDS, 1.0};
    EXPECT_EQ(layoutContourGraph(96, {3, 4, 2}, settings, 760, 460).bandCount, 10000);
    settings.bands.maximum = MAX_BANDS + 0.5;
    EXPECT_EQ(layoutContourGraph(96, {3, 4, 2}, settings, 760, 460).problem,
              "Contour Spacing gives too many bands");
}

TEST(ContourLayout, AGraphThatCannotBeDrawnNamesTheSettingToChange) {
    // The sample job's 6 x 4 array with two singular loggers, bands from 17 to 28 degrees.
    const ArrayDimensions warehouse{6, 4, 2};
    struct Case {
        const char *situation;
        ArrayDimensions dimensions;
        double spacing; // degrees
        int width;      // pixels
        int height;
        const char *problem;
    };
    const char *crowded = "Contour Spacing gives too many bands to leave room for the graph: "
                          "set a larger Contour Spacing or enlarge the window";
    const Case cases[] = {
        // 726 x 518 is the graph area of a 750 x 600 window.
        {"0.06 in a 750 x 600 window", warehouse, 0.06, 726, 518, crowded},
        {"0.07 in a 750 x 600 window: drawn, small", warehouse, 0.07, 726, 518, ""},
        {"0.25 in a 750 x 600 window", warehouse, 0.25, 726, 518, ""},
        {"0.05 in a 1400 x 1000 window", warehouse, 0.05, 1376, 918, ""},
        {"more rows than the height has pixels",
         {600, 4, 2},
         1.0,
         760,
         460,
         "The graph area is too low for its rows of loggers: enlarge the window"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.situation);
        ContourSettings settings;
        settings.bands = {17.0, 28.0, c.spacing};
        const TemperatureSet set(0.0, 0.0, c.dimensions.rows, c.dimensions.columns,
                                 c.dimensions.singularCount);
        RecordingContext dc;
        drawContourGraph(dc, set, c.dimensions, settings, DEFAULT_COLOUR_SCALE, 0, 0, c.width,
                         c.height);
        const auto texts = dc.callsOf(CallKind::Text);
        if (*c.problem == 0) {
            EXPECT_GT(texts.size(), 1u) << "the graph is drawn";
            continue;
        }
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts.front().text, c.problem);
    }
}

// The boxes of a legend break to a new column earlier than the layout counts lines (900 x 180:
// twelve counted, ten drawn). A map that keeps every band must take the bar from the eleventh
// band on; boxes would put the eleventh and twelfth beyond the right edge.
TEST(ContourLayout, AMapTakesTheBarOnceTheBoxesAsDrawnNeedASecondColumn) {
    const ArrayDimensions dimensions{2, 2, 0};
    for (const int bands : {10, 11, 12, 13}) {
        SCOPED_TRACE(bands);
        ContourSettings settings;
        settings.bands = {0.0, static_cast<double>(bands), 1.0};
        const ContourLayout layout =
            layoutContourGraph(96, dimensions, settings, 900, 180, LegendStyle::BarWhenCrowded);
        EXPECT_EQ(layout.colourBar, bands > 10);

        RecordingContext boxes;
        drawContourGraph(boxes, uniformSet(2, 2, 0, 3.0), dimensions, settings,
                         DEFAULT_COLOUR_SCALE, 0, 0, 900, 180);
        int rightmost = 0;
        for (const auto &frame : boxes.callsOf(CallKind::Frame))
            rightmost = std::max(rightmost, frame.rect.right);
        // Thirteen bands are counted as two columns, and so placed that both fit.
        EXPECT_EQ(rightmost > 900, bands == 11 || bands == 12);
    }
}

// A statistic map as its own picture at the Statistics window's map height: the title centred
// on the first line, the graph below it, and each of the 44 quarter-degree bands of the
// sample job inside the picture.
TEST(TitledMap, HasItsTitleAboveAndEveryBandInsideThePicture) {
    TemperatureSet map = uniformSet(6, 4, 2, 20.0);
    ContourSettings settings;
    settings.bands = {17.0, 28.0, 0.25};
    RecordingContext dc;
    const int width = 960;
    const int height = 240;
    drawTitledMap(dc, map, "Mean from here to there", {6, 4, 2}, settings, {}, 0, 0, width, height);

    const auto texts = dc.callsOf(CallKind::Text);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().text, "Mean from here to there");
    EXPECT_EQ(texts.front().align, platform::TA_CENTER | platform::TA_TOP);
    EXPECT_EQ(texts.front().point.x, width / 2);
    const int titleBottom = 2 * 12; // two text units at 96 dpi
    EXPECT_LT(texts.front().point.y + texts.front().font.height, titleBottom + 1);

    std::set<Colour> filled;
    for (const auto &call : dc.calls) {
        if (call.kind != CallKind::Fill && call.kind != CallKind::Frame)
            continue;
        EXPECT_GE(call.rect.top, titleBottom);
        EXPECT_GE(call.rect.left, 0);
        EXPECT_LE(call.rect.right, width);
        EXPECT_LE(call.rect.bottom, height);
        if (call.kind == CallKind::Fill)
            filled.insert(call.colour);
    }
    for (int band = 0; band < 44; ++band) {
        const double middle = 17.0 + 0.25 * band + 0.125;
        EXPECT_EQ(filled.count(bandColour(DEFAULT_COLOUR_SCALE, settings.bands, middle)), 1u)
            << "band " << band;
    }
}

// A statistic map keeps the colours of its own figures whatever range the Graph Options were
// zoomed to: the bands run over its values in whole steps of the spacing.
TEST(ScaledToData, BandsCoverTheMeasuredValuesInStepsOfTheSpacing) {
    TemperatureSet map(0.0, 0.0, 2, 2, 1);
    const double values[] = {17.93, 21.0, NO_VALUE, 22.0};
    for (int i = 0; i < 4; ++i)
        map.setValue(i / 2, i % 2, values[i]);
    map.setValue(SINGULAR_ROW, 0, 27.3);
    ContourSettings zoomed;
    zoomed.bands = {30.0, 31.0, 0.25};
    const ContourSettings scaled = scaledToData(zoomed, map);
    EXPECT_EQ(scaled.bands.minimum, 17.75);
    EXPECT_EQ(scaled.bands.maximum, 27.5);
    EXPECT_EQ(scaled.bands.spacing, 0.25);

    const TemperatureSet flat = uniformSet(1, 2, 0, 20.0);
    ContourSettings degree;
    degree.bands = {0.0, 5.0, 1.0};
    const ContourSettings one = scaledToData(degree, flat);
    EXPECT_EQ(one.bands.minimum, 20.0);
    EXPECT_EQ(one.bands.maximum, 21.0);

    // No value to scale to, or a spacing the graph refuses: the settings as they were, so the
    // graph says what is wrong.
    const ContourSettings unmeasured = scaledToData(zoomed, TemperatureSet(0.0, 0.0, 1, 1, 0));
    EXPECT_EQ(unmeasured.bands.minimum, 30.0);
    EXPECT_EQ(unmeasured.bands.maximum, 31.0);
    ContourSettings negative;
    negative.bands = {30.0, 31.0, -1.0};
    EXPECT_EQ(scaledToData(negative, map).bands.minimum, 30.0);
}

} // namespace
} // namespace zqar
