// The time series of many positions as the recording context keeps it: the envelope's band
// and mean column by column against the readings, traces broken by missing readings, the hot
// and cold spots, the lines picked, and a legend that stays inside the chart.

#include "core/data/LogFile.h"
#include "pages/presentation/TimeSeriesChart.h"
#include "platform/memory/RecordingContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace zqar;
using platform::CallKind;
using platform::RecordedCall;
using platform::RecordingContext;
using platform::Rect;

namespace {

constexpr double START = 40000.0; // day numbers
constexpr double FINISH = 40002.0;
constexpr int FONT_WIDTH = 7; // the recording context's 14-pixel font, per character
constexpr int FONT_HEIGHT = 14;

std::unique_ptr<LogFile> record(const std::string &name, double first, double periodDays,
                                std::vector<double> values) {
    auto log = std::make_unique<LogFile>();
    log->loggerName.assign(name);
    log->startTime.day = first;
    log->samplePeriod = periodDays * SECONDS_PER_DAY;
    log->valueCount = static_cast<int32_t>(values.size());
    log->values = std::move(values);
    return log;
}

// Positions "R1C01 10201" ... all of one length, so the legend's width does not depend on
// which of them are the spots.
struct Study {
    std::vector<std::unique_ptr<LogFile>> logs;
    TimeSeriesInput input;

    explicit Study(int positions) {
        input.start = START;
        input.finish = FINISH;
        for (int p = 0; p < positions; ++p) {
            char position[16];
            std::snprintf(position, sizeof position, "R%dC%02d", p / 100 + 1, p % 100 + 1);
            const std::string serial = std::to_string(10201 + p);
            logs.push_back(record(serial, START, 1.0, {}));
            input.lines.push_back(
                {std::string(position) + " " + serial, logs.back().get(), std::string(position)});
        }
    }
    LogFile &log(int p) { return *logs[static_cast<std::size_t>(p)]; }
};

std::vector<RecordedCall> textsOf(const RecordingContext &dc) { return dc.callsOf(CallKind::Text); }

// The fill just before a legend text: its swatch.
const RecordedCall *swatchOf(const RecordingContext &dc, const std::string &label) {
    for (std::size_t i = 1; i < dc.calls.size(); ++i)
        if (dc.calls[i].kind == CallKind::Text && dc.calls[i].text == label &&
            dc.calls[i - 1].kind == CallKind::Fill)
            return &dc.calls[i - 1];
    return nullptr;
}

// The rows of the two limit lines, as the chart drew them, give the value at every row.
struct ValueRows {
    double lowValue, highValue;
    int lowRow = 0, highRow = 0;
    double rowOf(double v) const {
        return lowRow + (v - lowValue) / (highValue - lowValue) * (highRow - lowRow);
    }
};

ValueRows limitRows(const RecordingContext &dc, const Rect &plot, double low, double high) {
    std::vector<int> rows;
    for (const RecordedCall &call : dc.callsOf(CallKind::Fill))
        if (call.colour == platform::rgb(255, 0, 0) && call.rect.left == plot.left &&
            call.rect.right == plot.right)
            rows.push_back(call.rect.top);
    EXPECT_EQ(rows.size(), 2u);
    ValueRows found{low, high};
    if (rows.size() == 2) {
        found.lowRow = std::max(rows[0], rows[1]);
        found.highRow = std::min(rows[0], rows[1]);
    }
    return found;
}

// A reading for position p in column c that jumps about, so that a reading taken into the
// wrong column or left out moves the band by many pixels.
double scattered(int p, int c) {
    const unsigned h =
        (static_cast<unsigned>(p) * 2654435761u) ^ (static_cast<unsigned>(c) * 40503u);
    return 10.0 + static_cast<double>((h >> 7) % 2001) / 100.0; // 10.00 .. 30.00
}

TEST(TimeSeriesEnvelope, EachColumnSpansTheSmallestToTheLargestReadingThereWithTheMean) {
    Study study(20);
    study.input.lowerLimit = 0.0;
    study.input.upperLimit = 40.0;
    study.input.spots = TimeSeriesSpots{0, 1}; // the plot's size must not depend on the data
    RecordingContext dc;
    const Rect area{0, 0, 700, 400};
    const Rect plot = timeSeriesPlotArea(dc, study.input, area);
    const int columns = plot.width();
    ASSERT_GT(columns, 300);
    // One sample a column, at its middle; column gapColumn has no reading at all, and every
    // fifth position misses a reading now and then.
    const double period = (FINISH - START) / columns;
    const int gapColumn = columns / 2;
    std::vector<std::vector<double>> readings(20);
    for (int p = 0; p < 20; ++p) {
        for (int c = 0; c < columns; ++c) {
            const bool missing = c == gapColumn || (p % 5 == 0 && c % 7 == 3);
            readings[p].push_back(missing ? NO_VALUE : scattered(p, c));
        }
        study.log(p).values = readings[p];
        study.log(p).valueCount = columns;
        study.log(p).startTime.day = START + period / 2;
        study.log(p).samplePeriod = period * SECONDS_PER_DAY;
    }
    drawTimeSeries(dc, study.input, area);

    const RecordedCall *band = swatchOf(dc, "Envelope (min-max)");
    const RecordedCall *mean = swatchOf(dc, "Mean");
    ASSERT_NE(band, nullptr);
    ASSERT_NE(mean, nullptr);
    const ValueRows rows = limitRows(dc, plot, 0.0, 40.0);
    std::map<int, Rect> bandAt; // column: the fill there
    for (const RecordedCall &call : dc.callsOf(CallKind::Fill))
        if (call.colour == band->colour && call.rect.width() == 1 && call.rect.left >= plot.left &&
            call.rect.left < plot.right) {
            EXPECT_EQ(bandAt.count(call.rect.left), 0u) << "column " << call.rect.left;
            bandAt[call.rect.left] = call.rect;
        }
    std::map<int, int> meanAt; // column: the row of the mean line's start there
    for (const RecordedCall &call : dc.callsOf(CallKind::LineTo))
        if (call.colour == mean->colour)
            meanAt[call.from.x] = call.from.y;

    for (int c = 0; c < columns; ++c) {
        SCOPED_TRACE(::testing::Message() << "column " << c);
        const int x = plot.left + c;
        double low = 0.0, high = 0.0, sum = 0.0;
        int count = 0;
        for (int p = 0; p < 20; ++p) {
            const double v = readings[p][static_cast<std::size_t>(c)];
            if (v == NO_VALUE)
                continue;
            low = count == 0 ? v : std::min(low, v);
            high = count == 0 ? v : std::max(high, v);
            sum += v;
            ++count;
        }
        if (count == 0) {
            EXPECT_EQ(bandAt.count(x), 0u) << "a column of missing readings stays empty";
            continue;
        }
        ASSERT_EQ(bandAt.count(x), 1u);
        EXPECT_NEAR(bandAt[x].top, rows.rowOf(high), 1.0);
        EXPECT_NEAR(bandAt[x].bottom - 1, rows.rowOf(low), 1.0);
        if (meanAt.count(x) > 0) {
            EXPECT_NEAR(meanAt[x], rows.rowOf(sum / count), 1.0);
        }
    }
    // The mean is joined column to column but not across the column without readings.
    EXPECT_GT(meanAt.size(), static_cast<std::size_t>(columns) - 4);
    for (const RecordedCall &call : dc.callsOf(CallKind::LineTo))
        if (call.colour == mean->colour) {
            EXPECT_FALSE(call.from.x < plot.left + gapColumn &&
                         call.point.x > plot.left + gapColumn)
                << "the mean crosses the missing column from " << call.from.x << " to "
                << call.point.x;
        }
}

// Runs of a line's pen, and the straight lines joining them, that reach into the columns
// [from, to).
std::vector<RecordedCall> linesInto(const RecordingContext &dc, platform::Colour colour, int from,
                                    int to) {
    std::vector<RecordedCall> found;
    for (const RecordedCall &call : dc.callsOf(CallKind::LineTo)) {
        const int left = std::min(call.from.x, call.point.x);
        const int right = std::max(call.from.x, call.point.x);
        // A line leaves out its end point: a run ends a row below at the same column.
        const int lastColumn = call.from.x == call.point.x ? right : right - 1;
        if (call.colour == colour && lastColumn >= from && left < to)
            found.push_back(call);
    }
    return found;
}

TEST(TimeSeriesEnvelope, MissingReadingsBreakTheLineInsteadOfBeingDrawn) {
    struct Case {
        const char *what;
        int columnsPerSample; // 1: a sample every column; 3: bridged between samples
    };
    for (const Case c : {Case{"dense", 1}, Case{"sparse", 3}}) {
        SCOPED_TRACE(c.what);
        Study study(1);
        RecordingContext dc;
        const Rect area{0, 0, 600, 300};
        const Rect plot = timeSeriesPlotArea(dc, study.input, area);
        const double column = (FINISH - START) / plot.width();
        const int samples = plot.width() / c.columnsPerSample;
        std::vector<double> values;
        for (int i = 0; i < samples; ++i)
            values.push_back(20.0 + std::sin(i * 0.05));
        // Missing readings from a third to half the way, and one alone further on.
        const int gapFrom = samples / 3;
        const int gapTo = samples / 2;
        for (int i = gapFrom; i < gapTo; ++i)
            values[static_cast<std::size_t>(i)] = NO_VALUE;
        const int single = samples * 3 / 4;
        values[static_cast<std::size_t>(single)] = NO_VALUE;
        study.log(0).values = values;
        study.log(0).startTime.day = START + column / 2;
        study.log(0).samplePeriod = column * c.columnsPerSample * SECONDS_PER_DAY;
        drawTimeSeries(dc, study.input, area);

        const platform::Colour colour = timeSeriesColour(0);
        const int k = c.columnsPerSample;
        EXPECT_TRUE(linesInto(dc, colour, plot.left + gapFrom * k, plot.left + gapTo * k).empty());
        EXPECT_TRUE(
            linesInto(dc, colour, plot.left + single * k, plot.left + single * k + 1).empty());
        EXPECT_FALSE(linesInto(dc, colour, plot.left, plot.left + gapFrom * k).empty());
        EXPECT_FALSE(linesInto(dc, colour, plot.left + gapTo * k, plot.right).empty());
        // Missing readings are no huge ones: no spike to the top, and the axis is the
        // readings' own.
        int top = plot.bottom;
        int bottom = plot.top;
        for (const RecordedCall &call : dc.callsOf(CallKind::LineTo))
            if (call.colour == colour) {
                top = std::min({top, call.from.y, call.point.y});
                bottom = std::max({bottom, call.from.y, call.point.y});
            }
        EXPECT_GT(top, plot.top + 2);
        EXPECT_GT(bottom - top, plot.height() / 2);
    }
}

TEST(TimeSeriesEnvelope, TheDecimationMarksWhereMissingReadingsBreakATrace) {
    const double x = NO_VALUE;
    // Two samples a column over six columns.
    const std::vector<double> values{1, 2, 3, x, x, x, 5, 4, x, 6, 7, 8};
    std::vector<ColumnExtent> e;
    decimateColumns(values.data(), values.size(), 0.0, 1.0, 0.0, 12.0, 6, e);
    ASSERT_EQ(e.size(), 6u);
    const bool has[] = {true, true, false, true, true, true};
    const bool breaks[] = {false, false, false, true, true, false};
    const bool missing[] = {false, true, true, false, true, false};
    for (int c = 0; c < 6; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(e[c].hasSamples, has[c]);
        EXPECT_EQ(e[c].breakBefore, breaks[c]);
        EXPECT_EQ(e[c].missing, missing[c]);
    }
    EXPECT_EQ(e[1].minimum, 3.0);
    EXPECT_EQ(e[1].last, 3.0);
    EXPECT_EQ(e[3].first, 5.0);
    EXPECT_EQ(e[3].minimum, 4.0);
    EXPECT_EQ(e[4].first, 6.0); // not the missing reading before it
    EXPECT_EQ(e[4].readings, 1);
    EXPECT_EQ(e[5].sum, 15.0);

    // A long column, read four at a time where it can be.
    const std::vector<double> day{3, 1, 4, 1, 5, x, 9, 2, 6, 5, 3, x, 7};
    decimateColumns(day.data(), day.size(), 0.0, 1.0, 0.0, 24.0, 2, e);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].readings, 10);
    EXPECT_EQ(e[0].sum, 39.0);
    EXPECT_EQ(e[0].minimum, 1.0);
    EXPECT_EQ(e[0].maximum, 9.0);
    EXPECT_EQ(e[0].first, 3.0);
    EXPECT_EQ(e[0].last, 3.0);
    EXPECT_TRUE(e[0].missing);
    EXPECT_TRUE(e[1].breakBefore) << "the column ended on a missing reading";
    EXPECT_EQ(e[1].first, 7.0);

    // Infinities and NaN are no readings either.
    const std::vector<double> odd{INFINITY, 2.0, NAN, -INFINITY};
    decimateColumns(odd.data(), odd.size(), 0.0, 1.0, 0.0, 4.0, 1, e);
    EXPECT_EQ(e[0].minimum, 2.0);
    EXPECT_EQ(e[0].maximum, 2.0);
    EXPECT_EQ(e[0].readings, 1);
}

TEST(TimeSeriesEnvelope, SpotsAreTheWarmestAndColdestByMeanOfTheReadingsInRange) {
    Study study(15);
    for (int p = 0; p < 15; ++p) {
        study.log(p).values.assign(48, 20.0 + p * 0.1); // hourly over the two days
        study.log(p).samplePeriod = SECONDS_PER_DAY / 24;
    }
    study.log(3).values.assign(48, 25.0);
    study.log(4).values[10] = NO_VALUE; // no very warm reading
    study.log(7).values.assign(48, 15.0);
    study.log(9).values.assign(48, 15.0);  // a tie: the first keeps it
    study.log(11).values.assign(48, 12.0); // colder, but only from the end of the range on
    study.log(11).startTime.day = FINISH;
    study.log(12).values.assign(48, NO_VALUE); // no reading at all
    // Half-hourly: the readings from index 97 on lie after the range.
    study.log(14).samplePeriod = SECONDS_PER_DAY / 48;
    study.log(14).values.assign(100, 21.0);
    for (std::size_t i = 97; i < 100; ++i)
        study.log(14).values[i] = 90.0;
    const TimeSeriesSpots spots = findTimeSeriesSpots(study.input);
    EXPECT_EQ(spots.warmest, 3u);
    EXPECT_EQ(spots.coldest, 7u);

    // Over the envelope: the spots first, then the rest of a pick, each once.
    EXPECT_EQ(drawnLines(study.input, spots), (std::vector<std::size_t>{3, 7}));
    study.input.picked = std::vector<std::size_t>{5, 7, 99, 5, 1, 3};
    EXPECT_EQ(drawnLines(study.input, spots), (std::vector<std::size_t>{3, 7, 5, 1}));
    study.input.picked = std::vector<std::size_t>{};
    EXPECT_TRUE(drawnLines(study.input, spots).empty());

    // A dozen positions or fewer are all drawn, in their order.
    Study few(12);
    EXPECT_FALSE(drawsEnvelope(few.input));
    EXPECT_EQ(drawnLines(few.input, {}).size(), 12u);
    few.input.picked = std::vector<std::size_t>{9, 2};
    EXPECT_EQ(drawnLines(few.input, {}), (std::vector<std::size_t>{2, 9}));
}

TEST(TimeSeriesEnvelope, EveryDrawnLineHasAStyleOfItsOwn) {
    Study study(200);
    for (int p = 0; p < 200; ++p)
        study.log(p).values.assign(48, 20.0 + p * 0.01);
    study.input.spots = TimeSeriesSpots{199, 0};
    std::vector<std::size_t> pick;
    for (std::size_t p = 0; p < 31; ++p)
        pick.push_back(p * 6);
    pick.push_back(199);
    study.input.picked = pick;
    RecordingContext dc;
    const Rect area{0, 0, 1600, 1000};
    drawTimeSeries(dc, study.input, area);
    const Rect plot = timeSeriesPlotArea(dc, study.input, area);

    // Each legend entry: its swatch pieces (one for a solid line, more for a dashed one).
    std::map<std::string, std::vector<RecordedCall>> swatches;
    for (std::size_t i = 0; i < dc.calls.size(); ++i) {
        const RecordedCall &call = dc.calls[i];
        if (call.kind != CallKind::Text || call.point.x <= plot.right)
            continue;
        std::vector<RecordedCall> pieces;
        for (std::size_t k = i; k > 0 && dc.calls[k - 1].kind == CallKind::Fill &&
                                dc.calls[k - 1].rect.right <= call.point.x &&
                                dc.calls[k - 1].rect.top < call.point.y + FONT_HEIGHT;
             --k)
            pieces.insert(pieces.begin(), dc.calls[k - 1]);
        swatches[call.text] = pieces;
    }
    ASSERT_EQ(swatches.size(), 2u + 32u) << "the envelope, the mean and every line";
    EXPECT_EQ(swatches.count("Hot spot R2C100 10400"), 1u);
    EXPECT_EQ(swatches.count("Cold spot R1C01 10201"), 1u);
    std::map<std::pair<platform::Colour, std::size_t>, std::string> styles;
    int dashed = 0;
    for (const auto &[label, pieces] : swatches) {
        ASSERT_FALSE(pieces.empty()) << label;
        dashed += pieces.size() > 1;
        const auto style = std::make_pair(pieces[0].colour, pieces.size());
        EXPECT_EQ(styles.count(style), 0u) << label << " looks like " << styles[style];
        styles[style] = label;
    }
    EXPECT_GT(dashed, 0) << "thirty other lines run out of colours";
}

struct LegendCase {
    const char *what;
    int positions;
    int picked; // -1: the default pick
    Rect area;
    bool allShown; // every entry has its own row
};

TEST(TimeSeriesEnvelope, TheLegendFitsInsideTheChart) {
    const LegendCase cases[] = {
        {"a dozen lines in a short chart", 12, -1, Rect{0, 0, 700, 150}, true},
        {"the default pick", 400, -1, Rect{0, 0, 700, 400}, true},
        {"sixty picked, two columns", 400, 60, Rect{0, 0, 1400, 600}, true},
        {"four hundred picked", 400, 400, Rect{0, 0, 900, 500}, false},
        {"a narrow chart", 400, 30, Rect{10, 20, 310, 220}, false},
    };
    for (const LegendCase &c : cases) {
        SCOPED_TRACE(c.what);
        Study study(c.positions);
        for (int p = 0; p < c.positions; ++p)
            study.log(p).values.assign(48, 20.0 + (p % 17) * 0.3);
        if (c.picked >= 0) {
            std::vector<std::size_t> pick;
            for (int p = 0; p < c.picked; ++p)
                pick.push_back(static_cast<std::size_t>(p));
            study.input.picked = pick;
        }
        RecordingContext dc;
        drawTimeSeries(dc, study.input, c.area);
        const Rect plot = timeSeriesPlotArea(dc, study.input, c.area);
        EXPECT_GT(plot.width(), c.area.width() / 5);

        int entries = 0;
        int hidden = 0;
        std::vector<Rect> taken;
        for (const RecordedCall &call : textsOf(dc)) {
            if (call.point.x <= plot.right)
                continue; // the axes' texts
            const Rect box{call.point.x, call.point.y,
                           call.point.x + FONT_WIDTH * static_cast<int>(call.text.size()),
                           call.point.y + FONT_HEIGHT};
            EXPECT_GE(box.top, c.area.top) << call.text;
            EXPECT_LE(box.bottom, c.area.bottom) << call.text;
            EXPECT_LE(box.right, c.area.right) << call.text;
            for (const Rect &other : taken)
                EXPECT_TRUE(box.right <= other.left || other.right <= box.left ||
                            box.bottom <= other.top || other.bottom <= box.top)
                    << call.text << " overlaps another entry";
            taken.push_back(box);
            int more = 0;
            if (std::sscanf(call.text.c_str(), "and %d more", &more) == 1)
                hidden += more;
            else
                ++entries;
        }
        for (const RecordedCall &call : dc.callsOf(CallKind::Fill))
            if (call.rect.left > plot.right) {
                EXPECT_LE(call.rect.right, c.area.right);
                EXPECT_LE(call.rect.bottom, c.area.bottom);
            }
        const int expected = c.picked >= 0 ? 2 + c.picked : c.positions > 12 ? 4 : c.positions;
        EXPECT_EQ(entries + hidden, expected);
        EXPECT_EQ(hidden == 0, c.allShown);
    }
}

// The box a recorded text covers, by its alignment.
Rect textBox(const RecordedCall &call) {
    const int width = FONT_WIDTH * static_cast<int>(call.text.size());
    int left = call.point.x;
    if ((call.align & platform::TA_CENTER) == platform::TA_CENTER)
        left -= width / 2;
    else if (call.align & platform::TA_RIGHT)
        left -= width;
    return Rect{left, call.point.y, left + width, call.point.y + FONT_HEIGHT};
}

bool apart(const Rect &a, const Rect &b) {
    return a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
}

TEST(TimeSeriesEnvelope, LimitNamesStandBesideTheAxisAndTheUnitAboveIt) {
    struct Case {
        const char *what;
        std::optional<double> lower;
        std::optional<double> upper;
        Rect area;
        bool atTheirHeights; // far enough apart for each name to sit on its line
    };
    const Case cases[] = {
        {"both, far apart", 15.0, 25.0, Rect{0, 0, 700, 400}, true},
        {"the upper one only", std::nullopt, 25.0, Rect{10, 20, 610, 320}, true},
        {"a hair apart", 19.9, 20.0, Rect{0, 0, 700, 400}, false},
        {"at the range's ends", 10.0, 30.0, Rect{0, 0, 700, 120}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Study study(20);
        for (int p = 0; p < 20; ++p)
            study.log(p).values.assign(48, 12.0 + p * 0.8);
        study.input.lowerLimit = c.lower;
        study.input.upperLimit = c.upper;
        RecordingContext dc;
        drawTimeSeries(dc, study.input, c.area);
        const Rect plot = timeSeriesPlotArea(dc, study.input, c.area);

        std::vector<Rect> names;
        std::vector<Rect> others;
        std::vector<Rect> valueTexts; // left of the plot
        std::optional<RecordedCall> unit;
        for (const RecordedCall &call : textsOf(dc)) {
            const Rect box = textBox(call);
            if (call.text == "Upper Limit" || call.text == "Lower Limit") {
                EXPECT_EQ(call.textColour, platform::rgb(255, 0, 0));
                names.push_back(box);
            } else if (call.text == "°C") {
                unit = call;
            } else {
                others.push_back(box);
                if (box.right <= plot.left)
                    valueTexts.push_back(box);
            }
        }
        ASSERT_EQ(names.size(),
                  static_cast<std::size_t>(c.lower.has_value() + c.upper.has_value()));
        for (const Rect &name : names) {
            EXPECT_TRUE(apart(name, plot)) << "a limit's name covers the curves";
            EXPECT_GE(name.left, plot.right);
            EXPECT_GE(name.top, c.area.top);
            EXPECT_LE(name.bottom, c.area.bottom);
            EXPECT_LE(name.right, c.area.right);
            for (const Rect &other : others)
                EXPECT_TRUE(apart(name, other)) << "a limit's name covers another text";
        }
        if (names.size() == 2) {
            EXPECT_TRUE(apart(names[0], names[1]));
        }
        if (c.atTheirHeights) {
            std::vector<int> rows; // of the limit lines across the plot
            for (const RecordedCall &call : dc.callsOf(CallKind::Fill))
                if (call.colour == platform::rgb(255, 0, 0) && call.rect.left == plot.left &&
                    call.rect.right == plot.right)
                    rows.push_back(call.rect.top);
            ASSERT_EQ(rows.size(), names.size());
            for (const Rect &name : names)
                EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&name](int row) {
                    return name.top <= row && row < name.bottom;
                })) << "a limit's name away from its line";
        }

        ASSERT_TRUE(unit);
        const Rect unitBox = textBox(*unit);
        EXPECT_LE(unitBox.right, plot.left);
        EXPECT_LE(unitBox.bottom, plot.top);
        EXPECT_GE(unitBox.top, c.area.top);
        for (const Rect &text : valueTexts)
            EXPECT_TRUE(apart(unitBox, text)) << "the unit covers a value";
    }
}

TEST(TimeSeriesEnvelope, TheFilterFindsPositionsAndSerialNumbersInAnyCase) {
    struct Case {
        const char *filter;
        bool matches;
    };
    const Case cases[] = {
        {"", true},      {"   ", true},       {"10231", true},     {"r3c", true},  {"R3C12", true},
        {"R3C2", false}, {"3c12 1023", true}, {"10231 R4", false}, {"spot", true}, {"10232", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(lineMatchesFilter("R3C12 10231 (hot spot)", c.filter), c.matches) << c.filter;
}

} // namespace
