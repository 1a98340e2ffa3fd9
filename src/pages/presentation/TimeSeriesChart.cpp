#include "pages/presentation/TimeSeriesChart.h"

#include "core/analysis/SetList.h"
#include "core/data/LogFile.h"
#include "core/data/LoggerArray.h"
#include "core/data/caseless.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/job/Job.h"
#include "core/job/JobSettings.h"
#include "core/job/jobEvents.h"
#include "resources/format.h"
#include "resources/qualificationTexts.h"
#include "resources/strings.h"
#include "resources/timeSeriesTexts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

namespace zqar {

using platform::Colour;
using platform::DrawingContext;
using platform::Rect;

namespace {

constexpr double MINUTE = 1.0 / MINUTES_PER_DAY; // days
constexpr double HOUR = 1.0 / HOURS_PER_DAY;
constexpr double TIME_STEPS[] = {
    MINUTE,   2 * MINUTE, 5 * MINUTE, 10 * MINUTE, 15 * MINUTE, 30 * MINUTE, HOUR,
    2 * HOUR, 3 * HOUR,   6 * HOUR,   12 * HOUR,   1.0,         2.0,         7.0,
    14.0,     28.0,       91.0,       182.0,       364.0,
};
// Day number 2 is Monday 1 January 1900: weekly ticks count from there.
constexpr double WEEK_ORIGIN = 2.0;

constexpr int MIN_TIME_TICK_SPACING = 80; // pixels
constexpr int MIN_VALUE_TICK_SPACING = 30;
constexpr int FONT_HEIGHT = 14;
constexpr int TICK_LENGTH = 4;
constexpr int MARGIN = 8;
constexpr int SWATCH_WIDTH = 16;
constexpr int LIMIT_THICKNESS = 2;
constexpr int LIMIT_LABEL_GAP = 2; // pixels between a limit's tick and its name

constexpr Colour AXIS_COLOUR = platform::rgb(0, 0, 0);
constexpr Colour GRID_COLOUR = platform::rgb(225, 225, 225);
constexpr Colour SHADE_COLOUR = platform::rgb(255, 236, 170);
constexpr Colour SET_LINE_COLOUR = platform::rgb(230, 150, 0);
constexpr Colour LIMIT_COLOUR = platform::rgb(255, 0, 0);
constexpr Colour PHASE_COLOUR = platform::rgb(222, 235, 250);
constexpr Colour EXCLUDED_PHASE_COLOUR = platform::rgb(215, 215, 215);
constexpr Colour EVENT_COLOUR = platform::rgb(90, 40, 140);
constexpr int EVENT_LABEL_SHARE = 3; // event labels use at most a third of the plot's height
constexpr int LABEL_GAP = 4;         // pixels between two labels on one row
constexpr int LEGEND_ROW_GAP = 2;    // pixels between two legend entries
constexpr int LEGEND_SHARE = 2;      // the legend takes at most half the chart's width
constexpr int DASH_LENGTH = 6;       // pixels on, then as many off

// Over the envelope: the band, the mean, and the hot and cold spots in colours of their own.
constexpr Colour BAND_COLOUR = platform::rgb(200, 214, 232);
constexpr Colour MEAN_COLOUR = platform::rgb(40, 40, 40);
constexpr int MEAN_THICKNESS = 2;
constexpr Colour HOT_SPOT_COLOUR = platform::rgb(214, 60, 0);
constexpr Colour COLD_SPOT_COLOUR = platform::rgb(0, 70, 200);

// Twenty colours that stay apart on white, none of them the limits' red.
constexpr Colour PALETTE[] = {
    platform::rgb(31, 119, 180),  platform::rgb(44, 160, 44),   platform::rgb(255, 127, 14),
    platform::rgb(148, 103, 189), platform::rgb(140, 86, 75),   platform::rgb(227, 119, 194),
    platform::rgb(127, 127, 127), platform::rgb(188, 189, 34),  platform::rgb(23, 190, 207),
    platform::rgb(0, 0, 128),     platform::rgb(0, 100, 0),     platform::rgb(128, 0, 128),
    platform::rgb(174, 199, 232), platform::rgb(152, 223, 138), platform::rgb(255, 187, 120),
    platform::rgb(197, 176, 213), platform::rgb(196, 156, 148), platform::rgb(128, 128, 0),
    platform::rgb(0, 128, 128),   platform::rgb(60, 60, 60),
};
constexpr std::size_t PALETTE_SIZE = sizeof PALETTE / sizeof PALETTE[0];

// The picked lines over an envelope: the palette without the colours too near the band, the
// mean or the two spots (these entries of it). Once they are used up the lines go on dashed.
constexpr std::size_t NEAR_THE_ENVELOPE[] = {0, 2, 6, 12, 19};
constexpr std::size_t PICK_PALETTE_SIZE = PALETTE_SIZE - std::size(NEAR_THE_ENVELOPE);
constexpr bool nearTheEnvelope(std::size_t entry) {
    for (const std::size_t near : NEAR_THE_ENVELOPE)
        if (near == entry)
            return true;
    return false;
}
constexpr std::array<Colour, PICK_PALETTE_SIZE> PICK_PALETTE = [] {
    std::array<Colour, PICK_PALETTE_SIZE> picked{};
    std::size_t count = 0;
    for (std::size_t i = 0; i < PALETTE_SIZE; ++i)
        if (!nearTheEnvelope(i))
            picked[count++] = PALETTE[i];
    return picked;
}();
static_assert(PICK_PALETTE[0] == PALETTE[1] && PICK_PALETTE.back() == PALETTE[18]);

// The chart's texts, in one face and height; each text sets its alignment.
const platform::FontRequest CHART_FONT{"Arial", FONT_HEIGHT, platform::FontRequest::NORMAL};

int roundToInt(double value) { return truncToInt(std::floor(value + 0.5)); }

// Temperatures of the lines over the range, with the limits, for the value axis.
struct ValueRange {
    double low = 0.0;
    double high = 0.0;
    bool found = false;
    void take(double v) {
        if (!found) {
            low = high = v;
            found = true;
            return;
        }
        low = std::min(low, v);
        high = std::max(high, v);
    }
};

struct Mapping {
    Rect plot;
    double start = 0.0;
    double finish = 1.0;
    double low = 0.0;
    double high = 1.0;
    int x(double t) const {
        return plot.left + roundToInt((t - start) / (finish - start) * plot.width());
    }
    int y(double v) const {
        return plot.bottom - 1 - roundToInt((v - low) / (high - low) * (plot.height() - 1));
    }
};

void drawText(DrawingContext &dc, int x, int y, unsigned align, const std::string &s,
              Colour colour = platform::BLACK) {
    dc.setBackgroundMode(platform::BackgroundMode::Transparent);
    dc.setTextColour(colour);
    dc.setTextAlign(align);
    dc.textOut(x, y, s);
}

std::string valueText(double v, double step) {
    int decimals = 0;
    while (decimals < 6 && std::fabs(step * std::pow(10.0, decimals) -
                                     std::round(step * std::pow(10.0, decimals))) > 1e-9)
        ++decimals;
    return formatFixed(v, decimals);
}

// A vertical run covering rows top..bottom inclusive at column x.
void run(DrawingContext &dc, int x, int top, int bottom) {
    dc.moveTo(x, top);
    dc.lineTo(x, bottom + 1);
}

// A valid range: finish after start, both finite.
bool usableRange(double start, double finish) {
    return std::isfinite(start) && std::isfinite(finish) && finish > start;
}

} // namespace

Ticks timeTicks(double start, double finish, int widthPixels, int minSpacing) {
    Ticks ticks;
    if (!usableRange(start, finish) || widthPixels <= 0)
        return ticks;
    const double perPixel = (finish - start) / widthPixels;
    double step = 0.0;
    for (const double candidate : TIME_STEPS)
        if (candidate / perPixel >= minSpacing) {
            step = candidate;
            break;
        }
    if (step == 0.0) {
        step = 364.0;
        while (step / perPixel < minSpacing)
            step *= 2.0;
    }
    ticks.step = step;
    const double origin = step >= 7.0 ? WEEK_ORIGIN : 0.0;
    // Whole multiples of the step; under a day the multiples of a fraction of a day are
    // rounded to the second so that 1/24 steps land on the hour.
    for (double k = std::ceil((start - origin) / step - 1e-9);; k += 1.0) {
        double t = origin + k * step;
        if (step < 1.0)
            t = std::round(t * SECONDS_PER_DAY) / SECONDS_PER_DAY;
        if (t > finish)
            break;
        if (t >= start)
            ticks.positions.push_back(t);
    }
    return ticks;
}

Ticks valueTicks(double low, double high, int heightPixels, int minSpacing) {
    Ticks ticks;
    if (!usableRange(low, high) || heightPixels <= 0 || minSpacing <= 0)
        return ticks;
    const double most = std::max(1.0, std::floor(static_cast<double>(heightPixels) / minSpacing));
    const double rough = (high - low) / most;
    double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    double step = magnitude;
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * magnitude >= rough) {
            step = factor * magnitude;
            break;
        }
    ticks.step = step;
    for (double k = std::ceil(low / step - 1e-9); k * step <= high + step * 1e-9; k += 1.0)
        ticks.positions.push_back(k * step);
    return ticks;
}

std::string timeTickText(double time, double step) {
    const CivilTime t = civilFromDayNumber(time);
    char buffer[32];
    if (step < 1.0 && (t.hour != 0 || t.minute != 0))
        std::snprintf(buffer, sizeof buffer, text::TIME_TICK, t.hour, t.minute);
    else
        std::snprintf(buffer, sizeof buffer, text::DATE_TICK, t.day,
                      text::MONTH_ABBREVIATIONS[std::clamp(t.month, 1, 12) - 1]);
    return buffer;
}

Colour timeSeriesColour(std::size_t index) { return PALETTE[index % PALETTE_SIZE]; }

bool drawsEnvelope(const TimeSeriesInput &input) {
    return input.lines.size() > MOST_SEPARATE_LINES;
}

TimeSeriesSpots findTimeSeriesSpots(const TimeSeriesInput &input) {
    TimeSeriesSpots spots;
    double warmestMean = 0.0;
    double coldestMean = 0.0;
    for (std::size_t i = 0; i < input.lines.size(); ++i) {
        const LogFile &log = *input.lines[i].log;
        const std::vector<std::size_t> span =
            columnBounds(log.values.size(), log.startTime(), log.samplePeriod / SECONDS_PER_DAY,
                         input.start, input.finish, 1);
        const ReadingSum total = sumReadings(log.values.data() + span[0], span[1] - span[0]);
        if (total.readings == 0)
            continue;
        const double mean = total.sum / static_cast<double>(total.readings);
        if (!spots.warmest || mean > warmestMean) {
            spots.warmest = i;
            warmestMean = mean;
        }
        if (!spots.coldest || mean < coldestMean) {
            spots.coldest = i;
            coldestMean = mean;
        }
    }
    return spots;
}

std::vector<std::size_t> drawnLines(const TimeSeriesInput &input, const TimeSeriesSpots &spots) {
    const std::size_t count = input.lines.size();
    std::vector<std::size_t> wanted;
    if (input.picked) {
        wanted = *input.picked;
    } else if (!drawsEnvelope(input)) {
        for (std::size_t i = 0; i < count; ++i)
            wanted.push_back(i);
    } else {
        for (const std::optional<std::size_t> &spot : {spots.warmest, spots.coldest})
            if (spot)
                wanted.push_back(*spot);
    }
    std::vector<bool> taken(count, false);
    std::vector<std::size_t> drawn;
    auto take = [&](std::size_t index) {
        if (index < count && !taken[index]) {
            taken[index] = true;
            drawn.push_back(index);
        }
    };
    if (drawsEnvelope(input)) {
        for (const std::optional<std::size_t> &spot : {spots.warmest, spots.coldest})
            if (spot && std::find(wanted.begin(), wanted.end(), *spot) != wanted.end())
                take(*spot);
        for (const std::size_t index : wanted)
            take(index);
    } else {
        std::sort(wanted.begin(), wanted.end());
        for (const std::size_t index : wanted)
            take(index);
    }
    return drawn;
}

bool lineMatchesFilter(std::string_view label, std::string_view filter) {
    const std::string haystack = lowerCase(label);
    const std::string words = lowerCase(filter);
    std::size_t at = 0;
    while (at < words.size()) {
        const std::size_t begin = words.find_first_not_of(" \t", at);
        if (begin == std::string::npos)
            break;
        const std::size_t end = std::min(words.find_first_of(" \t", begin), words.size());
        if (haystack.find(words.substr(begin, end - begin)) == std::string::npos)
            return false;
        at = end;
    }
    return true;
}

namespace {

enum class Swatch { Line, Dashed, Band, None };

struct LegendEntry {
    std::string label;
    Colour colour = 0;
    Swatch swatch = Swatch::Line;
};

// The legend's entries in columns of `rows` entries, each column columnWidth pixels wide,
// at the right of the plot; width is all the room it takes, 0 without a legend.
struct Legend {
    std::vector<LegendEntry> entries;
    int rows = 0;
    int labelWidth = 0; // pixels
    int columnWidth = 0;
    int width = 0;
};

struct LineStyle {
    Colour colour = 0;
    bool dashed = false;
};

// What the chart draws and where: worked out once from the input and the area.
struct ChartPlan {
    bool envelope = false;
    std::vector<std::size_t> drawn; // indices into the lines, in the legend's order
    std::vector<LineStyle> styles;  // of the drawn lines
    Legend legend;
    Rect plot;
    int lineHeight = 0;
    // The strip right of the plot where the limits are named, pixels; 0 without limits.
    int limitStrip = 0;
};

// The limits the input sets, with their names.
std::vector<std::pair<double, std::string_view>> limitsOf(const TimeSeriesInput &input) {
    std::vector<std::pair<double, std::string_view>> limits;
    if (input.lowerLimit)
        limits.emplace_back(*input.lowerLimit, text::LOWER_LIMIT_LABEL);
    if (input.upperLimit)
        limits.emplace_back(*input.upperLimit, text::UPPER_LIMIT_LABEL);
    return limits;
}

// The strip a limit's tick and its name take beside the plot: wide enough for the longest
// name, so the names never stand over the lines.
int limitStripWidth(DrawingContext &dc, const TimeSeriesInput &input) {
    int widest = 0;
    for (const auto &limit : limitsOf(input))
        widest = std::max(widest, dc.textExtent(limit.second).width);
    return widest > 0 ? TICK_LENGTH + LIMIT_LABEL_GAP + widest : 0;
}

// The label cut at a character boundary and ended with SHORTENED so that it is at most width
// pixels wide; empty when not even SHORTENED fits.
std::string shortened(DrawingContext &dc, const std::string &label, int width) {
    if (dc.textExtent(label).width <= width)
        return label;
    std::string cut = label;
    while (!cut.empty()) {
        while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80)
            cut.pop_back();
        if (!cut.empty())
            cut.pop_back();
        const std::string candidate = cut + std::string(text::SHORTENED);
        if (dc.textExtent(candidate).width <= width)
            return candidate;
    }
    return {};
}

// Entries from top to bottom at the plot's top, as many rows as the area's height holds, in
// more columns where one does not hold them all. Where even the widest legend the chart allows
// does not, the last entry that fits says how many more there are. Labels wider than that
// legend allows are shortened.
Legend layOutLegend(DrawingContext &dc, std::vector<LegendEntry> entries, const Rect &area, int top,
                    int room, int lineHeight) {
    Legend legend;
    const int height = area.bottom - top - lineHeight;
    const int mostLabelWidth = room - SWATCH_WIDTH - 3 * MARGIN;
    if (entries.empty() || height < 0 || mostLabelWidth <= 0)
        return legend;
    legend.rows = height / (lineHeight + LEGEND_ROW_GAP) + 1;
    int widest = 0;
    for (const LegendEntry &entry : entries)
        widest = std::max(widest, dc.textExtent(entry.label).width);
    auto columnsAllowed = [&] {
        legend.labelWidth = std::min(widest, mostLabelWidth);
        legend.columnWidth = legend.labelWidth + SWATCH_WIDTH + 3 * MARGIN;
        return std::max(1, room / legend.columnWidth);
    };
    std::size_t capacity = static_cast<std::size_t>(columnsAllowed() * legend.rows);
    if (entries.size() > capacity) {
        const std::string more =
            text::format(text::LEGEND_MORE, static_cast<int>(entries.size() - capacity + 1));
        widest = std::max(widest, dc.textExtent(more).width);
        capacity = static_cast<std::size_t>(columnsAllowed() * legend.rows);
        const std::size_t kept = capacity - 1;
        const int hidden = static_cast<int>(entries.size() - kept);
        entries.resize(kept);
        entries.push_back({text::format(text::LEGEND_MORE, hidden), 0, Swatch::None});
    }
    for (LegendEntry &entry : entries)
        entry.label = shortened(dc, entry.label, legend.labelWidth);
    const int columns =
        static_cast<int>((entries.size() + static_cast<std::size_t>(legend.rows) - 1) /
                         static_cast<std::size_t>(legend.rows));
    legend.width = columns * legend.columnWidth;
    legend.entries = std::move(entries);
    return legend;
}

ChartPlan planChart(DrawingContext &dc, const TimeSeriesInput &input, const Rect &area) {
    ChartPlan plan;
    dc.setFont(CHART_FONT);
    const int valueLabelWidth = dc.textExtent("-000.00").width;
    plan.lineHeight = dc.textExtent("0").height;
    plan.envelope = drawsEnvelope(input);
    const TimeSeriesSpots spots = input.spots     ? *input.spots
                                  : plan.envelope ? findTimeSeriesSpots(input)
                                                  : TimeSeriesSpots{};
    plan.drawn = drawnLines(input, spots);

    std::vector<LegendEntry> entries;
    if (plan.envelope) {
        entries.push_back({std::string(text::ENVELOPE_LEGEND), BAND_COLOUR, Swatch::Band});
        entries.push_back({std::string(text::MEAN_LEGEND), MEAN_COLOUR, Swatch::Line});
    }
    std::size_t others = 0;
    for (const std::size_t index : plan.drawn) {
        const std::string &label = input.lines[index].label;
        LineStyle style{timeSeriesColour(index), false};
        std::string legendLabel = label;
        if (plan.envelope && index == spots.warmest) {
            style.colour = HOT_SPOT_COLOUR;
            legendLabel = text::format(text::HOT_SPOT_LINE, label);
        } else if (plan.envelope && index == spots.coldest) {
            style.colour = COLD_SPOT_COLOUR;
            legendLabel = text::format(text::COLD_SPOT_LINE, label);
        } else if (plan.envelope) {
            style.colour = PICK_PALETTE[others % PICK_PALETTE_SIZE];
            style.dashed = others >= PICK_PALETTE_SIZE;
            ++others;
        }
        plan.styles.push_back(style);
        entries.push_back(
            {std::move(legendLabel), style.colour, style.dashed ? Swatch::Dashed : Swatch::Line});
    }

    Rect &plot = plan.plot;
    plot.left = area.left + MARGIN + valueLabelWidth + TICK_LENGTH + 2;
    // The unit stands on its own line above the value axis, clear of the top tick's text.
    plot.top = area.top + MARGIN + plan.lineHeight + plan.lineHeight / 2 + 2;
    plan.limitStrip = limitStripWidth(dc, input);
    const int room = std::min(area.width() / LEGEND_SHARE,
                              area.right - MARGIN - plan.limitStrip - (plot.left + 1));
    plan.legend = layOutLegend(dc, std::move(entries), area, plot.top, room, plan.lineHeight);
    plot.right = std::max(plot.left + 1, area.right - MARGIN - plan.limitStrip - plan.legend.width);
    plot.bottom = std::max(plot.top + 1, area.bottom - MARGIN - 2 * plan.lineHeight - TICK_LENGTH);
    return plan;
}

} // namespace

platform::Rect timeSeriesPlotArea(DrawingContext &dc, const TimeSeriesInput &input,
                                  const Rect &area) {
    return planChart(dc, input, area).plot;
}

double timeAtColumn(const TimeSeriesInput &input, const Rect &plot, int x) {
    const int column = std::clamp(x, plot.left, std::max(plot.left, plot.right - 1)) - plot.left;
    return input.start + (column + 0.5) * (input.finish - input.start) / std::max(1, plot.width());
}

int columnAtTime(const TimeSeriesInput &input, const Rect &plot, double time) {
    if (!usableRange(input.start, input.finish))
        return plot.left;
    return plot.left +
           roundToInt((time - input.start) / (input.finish - input.start) * plot.width());
}

int eventNearColumn(const TimeSeriesInput &input, const Rect &plot, int x, int slop) {
    int nearest = -1;
    int nearestDistance = 0;
    for (std::size_t i = 0; i < input.events.size(); ++i) {
        const double time = input.events[i].time;
        if (time < input.start || time > input.finish)
            continue;
        const int distance =
            std::abs(std::min(columnAtTime(input, plot, time), plot.right - 1) - x);
        if (distance <= slop && (nearest < 0 || distance < nearestDistance)) {
            nearest = static_cast<int>(i);
            nearestDistance = distance;
        }
    }
    return nearest;
}

namespace {

// Every line reduced to the plot's columns in one pass over its readings, all of them into the
// envelope and the drawn ones kept apart; and the value range the axis must show: the
// envelope's extremes and the limits, with a little room above and below.
struct ReducedLines {
    std::vector<EnvelopeColumn> envelope;
    std::vector<std::vector<ColumnExtent>> drawn; // in the plan's order
};

Mapping reduceLines(const TimeSeriesInput &input, const ChartPlan &plan, ReducedLines &reduced) {
    const Rect &plot = plan.plot;
    const int columns = plot.width();
    reduced.envelope.assign(static_cast<std::size_t>(std::max(columns, 0)), EnvelopeColumn{});
    reduced.drawn.assign(plan.drawn.size(), {});
    std::vector<std::size_t> slot(input.lines.size(), plan.drawn.size());
    for (std::size_t k = 0; k < plan.drawn.size(); ++k)
        slot[plan.drawn[k]] = k;
    // Loggers started together at one period share their columns' sample indices.
    std::vector<std::size_t> bounds;
    std::size_t boundsCount = 0;
    double boundsStart = 0.0;
    double boundsPeriod = 0.0;
    std::vector<ColumnExtent> scratch;
    for (std::size_t i = 0; i < input.lines.size(); ++i) {
        const LogFile &log = *input.lines[i].log;
        const double first = log.startTime();
        const double period = log.samplePeriod / SECONDS_PER_DAY;
        if (bounds.empty() || boundsCount != log.values.size() || boundsStart != first ||
            boundsPeriod != period) {
            bounds =
                columnBounds(log.values.size(), first, period, input.start, input.finish, columns);
            boundsCount = log.values.size();
            boundsStart = first;
            boundsPeriod = period;
        }
        std::vector<ColumnExtent> &extents =
            slot[i] < reduced.drawn.size() ? reduced.drawn[slot[i]] : scratch;
        reduceColumns(log.values.data(), bounds, extents);
        addToEnvelope(reduced.envelope, extents);
    }
    ValueRange range;
    for (const EnvelopeColumn &column : reduced.envelope)
        if (column.readings > 0) {
            range.take(column.minimum);
            range.take(column.maximum);
        }
    if (input.lowerLimit)
        range.take(*input.lowerLimit);
    if (input.upperLimit)
        range.take(*input.upperLimit);
    if (!range.found) {
        range.low = 0.0;
        range.high = 1.0;
    }
    if (range.high - range.low < 1e-6) {
        range.low -= 0.5;
        range.high += 0.5;
    }
    const double pad = (range.high - range.low) * 0.04;
    return Mapping{plot, input.start, input.finish, range.low - pad, range.high + pad};
}

// Grid lines, ticks and their texts, and the span's first and last time under the axis.
void drawAxes(DrawingContext &dc, const TimeSeriesInput &input, const Mapping &map,
              int lineHeight) {
    const Rect &plot = map.plot;
    const Ticks values = valueTicks(map.low, map.high, plot.height(), MIN_VALUE_TICK_SPACING);
    for (const double v : values.positions) {
        const int y = map.y(v);
        dc.fillRect(Rect{plot.left, y, plot.right, y + 1}, GRID_COLOUR);
        dc.fillRect(Rect{plot.left - TICK_LENGTH, y, plot.left, y + 1}, AXIS_COLOUR);
        drawText(dc, plot.left - TICK_LENGTH - 2, y - lineHeight / 2,
                 platform::TA_RIGHT | platform::TA_TOP, valueText(v, values.step));
    }
    drawText(dc, plot.left - TICK_LENGTH - 2, plot.top - lineHeight - lineHeight / 2 - 2,
             platform::TA_RIGHT | platform::TA_TOP, std::string(text::VALUE_AXIS_UNIT));
    const Ticks times = timeTicks(input.start, input.finish, plot.width(), MIN_TIME_TICK_SPACING);
    for (const double t : times.positions) {
        const int x = std::min(map.x(t), plot.right - 1);
        dc.fillRect(Rect{x, plot.top, x + 1, plot.bottom}, GRID_COLOUR);
        dc.fillRect(Rect{x, plot.bottom, x + 1, plot.bottom + TICK_LENGTH}, AXIS_COLOUR);
        drawText(dc, x, plot.bottom + TICK_LENGTH + 1, platform::TA_CENTER | platform::TA_TOP,
                 timeTickText(t, times.step));
    }
    drawText(dc, plot.left, plot.bottom + TICK_LENGTH + 1 + lineHeight,
             platform::TA_LEFT | platform::TA_TOP, formatDateTime(input.start));
    drawText(dc, plot.right, plot.bottom + TICK_LENGTH + 1 + lineHeight,
             platform::TA_RIGHT | platform::TA_TOP, formatDateTime(input.finish));
}

// The current set under the lines: its interval shaded, a set at a time as a thin line.
void drawCurrentSet(DrawingContext &dc, const TimeSeriesInput &input, const Mapping &map) {
    if (!input.hasCurrentSet)
        return;
    const Rect &plot = map.plot;
    const double from = std::max(input.currentTime, input.start);
    const double to = std::min(input.currentTime + input.currentSpan, input.finish);
    if (input.currentSpan > 0.0 && to > from) {
        const int left = std::max(map.x(from), plot.left);
        const int right = std::min(std::max(map.x(to), left + 1), plot.right);
        dc.fillRect(Rect{left, plot.top, right, plot.bottom}, SHADE_COLOUR);
    } else if (input.currentSpan <= 0.0 && input.currentTime >= input.start &&
               input.currentTime <= input.finish) {
        const int x = std::min(map.x(input.currentTime), plot.right - 1);
        dc.fillRect(Rect{x, plot.top, x + 1, plot.bottom}, SET_LINE_COLOUR);
    }
}

// The phases under the lines, each band with its name at the top.
void drawPhases(DrawingContext &dc, const TimeSeriesInput &input, const Mapping &map,
                int lineHeight) {
    const Rect &plot = map.plot;
    for (const TimeSeriesPhase &phase : input.phases) {
        const double from = std::max(phase.start, input.start);
        const double to = std::min(phase.finish, input.finish);
        if (!(to >= from))
            continue;
        const int left = std::max(map.x(from), plot.left);
        const int right = std::min(std::max(map.x(to), left + 1), plot.right);
        dc.fillRect(Rect{left, plot.top, right, plot.bottom},
                    phase.excluded ? EXCLUDED_PHASE_COLOUR : PHASE_COLOUR);
        drawText(dc, left + 2, plot.bottom - lineHeight - 2, platform::TA_LEFT | platform::TA_TOP,
                 phase.label);
    }
}

// The events over the lines: a line across the plot with the event's name beside its top, on
// white, left of the line near the right edge. Labels go down a row where they would cover
// the label of an earlier event, taken in time order.
void drawEvents(DrawingContext &dc, const TimeSeriesInput &input, const Mapping &map,
                int lineHeight) {
    const Rect &plot = map.plot;
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < input.events.size(); ++i)
        if (input.events[i].time >= input.start && input.events[i].time <= input.finish)
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&input](std::size_t a, std::size_t b) {
        return input.events[a].time < input.events[b].time;
    });
    const int rows = std::max(1, plot.height() / (lineHeight + 1) / EVENT_LABEL_SHARE);
    std::vector<int> rowEnds(static_cast<std::size_t>(rows), plot.left - 1); // pixels
    for (const std::size_t i : order) {
        const TimeSeriesEvent &event = input.events[i];
        const int x = std::min(map.x(event.time), plot.right - 1);
        dc.fillRect(Rect{x, plot.top, x + 1, plot.bottom}, EVENT_COLOUR);
        const int width = dc.textExtent(event.label).width;
        const bool rightOfLine = x + 3 + width <= plot.right;
        const int left = rightOfLine ? x + 3 : x - 2 - width;
        std::size_t row = 0;
        while (row + 1 < rowEnds.size() && rowEnds[row] >= left)
            ++row;
        rowEnds[row] = std::max(rowEnds[row], left + width + LABEL_GAP);
        const int y = plot.top + 2 + static_cast<int>(row) * (lineHeight + 1);
        dc.fillRect(Rect{left - 1, y, left + width + 1, y + lineHeight}, platform::WHITE);
        drawText(dc, left, y, platform::TA_LEFT | platform::TA_TOP, event.label);
    }
}

// Whether a dashed line is drawn at column x: DASH_LENGTH columns on, as many off.
bool dashOn(const Rect &plot, int x) { return ((x - plot.left) / DASH_LENGTH) % 2 == 0; }

// A straight line from one column to a later one, in dashes where the line is dashed.
void segment(DrawingContext &dc, const Rect &plot, platform::Point from, platform::Point to,
             bool dashed) {
    if (!dashed) {
        dc.moveTo(from.x, from.y);
        dc.lineTo(to.x, to.y);
        return;
    }
    auto yAt = [&](int x) {
        return from.y +
               roundToInt(static_cast<double>(to.y - from.y) * (x - from.x) / (to.x - from.x));
    };
    for (int x = from.x; x < to.x;) {
        const int cellEnd = plot.left + ((x - plot.left) / DASH_LENGTH + 1) * DASH_LENGTH;
        const int end = std::min(cellEnd, to.x);
        if (dashOn(plot, x)) {
            dc.moveTo(x, yAt(x));
            dc.lineTo(end, yAt(end));
        }
        x = end;
    }
}

// The drawn lines: a run per column from the column's smallest to its largest reading,
// reaching back to the previous column's last reading so the trace stays joined. Columns
// without a reading between two that have one (samples further apart than a column) are
// bridged by a straight line; a missing reading breaks the trace instead.
void drawLines(DrawingContext &dc, const ChartPlan &plan, const ReducedLines &reduced,
               const Mapping &map) {
    const Rect &plot = map.plot;
    const std::size_t count = reduced.drawn.size();
    for (std::size_t k = 0; k < count; ++k) {
        // Over an envelope the spots, first in the legend, are drawn last to stay on top.
        const std::size_t i = plan.envelope ? count - 1 - k : k;
        const LineStyle &style = plan.styles[i];
        platform::Pen pen;
        pen.colour = style.colour;
        dc.setPen(pen);
        int previousX = -1;
        int previousY = 0;
        for (int c = 0; c < plot.width(); ++c) {
            const ColumnExtent &e = reduced.drawn[i][static_cast<std::size_t>(c)];
            if (!e.hasSamples)
                continue;
            if (e.breakBefore)
                previousX = -1;
            const int x = plot.left + c;
            int top = map.y(e.maximum);
            int bottom = map.y(e.minimum);
            const int firstY = std::clamp(map.y(e.first), plot.top, plot.bottom - 1);
            if (previousX == x - 1) {
                top = std::min(top, previousY);
                bottom = std::max(bottom, previousY);
            } else if (previousX >= 0) {
                segment(dc, plot, {previousX, previousY}, {x, firstY}, style.dashed);
            }
            top = std::clamp(top, plot.top, plot.bottom - 1);
            bottom = std::clamp(bottom, plot.top, plot.bottom - 1);
            if (!style.dashed || dashOn(plot, x))
                run(dc, x, top, bottom);
            previousX = x;
            previousY = std::clamp(map.y(e.last), plot.top, plot.bottom - 1);
        }
    }
}

// The envelope under the drawn lines: each column filled from its largest to its smallest
// reading, and the mean of its readings as a line. Columns that no sample falls in (samples
// further apart than a column) are filled between their neighbours; a column of missing
// readings only leaves a gap.
void drawEnvelope(DrawingContext &dc, const ReducedLines &reduced, const Mapping &map) {
    const Rect &plot = map.plot;
    auto clampRow = [&plot](int y) { return std::clamp(y, plot.top, plot.bottom - 1); };
    auto fillColumn = [&](int c, double low, double high) {
        const int x = plot.left + c;
        dc.fillRect(Rect{x, clampRow(map.y(high)), x + 1, clampRow(map.y(low)) + 1}, BAND_COLOUR);
    };
    const std::vector<EnvelopeColumn> &envelope = reduced.envelope;
    int previous = -1;
    bool broken = false;
    for (int c = 0; c < static_cast<int>(envelope.size()); ++c) {
        const EnvelopeColumn &column = envelope[static_cast<std::size_t>(c)];
        if (column.readings == 0) {
            broken = broken || column.missing;
            continue;
        }
        if (previous >= 0 && !broken) {
            const EnvelopeColumn &before = envelope[static_cast<std::size_t>(previous)];
            for (int k = previous + 1; k < c; ++k) {
                const double f = static_cast<double>(k - previous) / (c - previous);
                fillColumn(k, before.minimum + f * (column.minimum - before.minimum),
                           before.maximum + f * (column.maximum - before.maximum));
            }
        }
        fillColumn(c, column.minimum, column.maximum);
        previous = c;
        broken = false;
    }

    platform::Pen pen;
    pen.colour = MEAN_COLOUR;
    pen.width = MEAN_THICKNESS;
    dc.setPen(pen);
    previous = -1;
    int previousY = 0;
    broken = false;
    for (int c = 0; c < static_cast<int>(envelope.size()); ++c) {
        const EnvelopeColumn &column = envelope[static_cast<std::size_t>(c)];
        if (column.readings == 0) {
            broken = broken || column.missing;
            continue;
        }
        const int x = plot.left + c;
        const int y = clampRow(map.y(column.mean()));
        if (previous >= 0 && !broken) {
            dc.moveTo(plot.left + previous, previousY);
            dc.lineTo(x, y);
        } else if (previous >= 0) {
            run(dc, plot.left + previous, previousY, previousY);
        }
        previous = c;
        previousY = y;
        broken = false;
    }
    if (previous >= 0)
        run(dc, plot.left + previous, previousY, previousY);
}

// The limits over the lines, each named beside the axis at its height: a tick out of the
// plot's right edge and the name after it, in the strip the plan keeps free for them. Names
// that would touch are moved apart, and none leaves the chart.
void drawLimits(DrawingContext &dc, const TimeSeriesInput &input, const Mapping &map,
                int lineHeight, const Rect &area) {
    const Rect &plot = map.plot;
    struct Name {
        std::string_view text;
        int top; // pixels
    };
    std::vector<Name> names;
    for (const auto &[limit, label] : limitsOf(input)) {
        const int y = map.y(limit);
        dc.fillRect(Rect{plot.left, y, plot.right, y + LIMIT_THICKNESS}, LIMIT_COLOUR);
        dc.fillRect(Rect{plot.right + 1, y, plot.right + TICK_LENGTH, y + LIMIT_THICKNESS},
                    LIMIT_COLOUR);
        names.push_back({label, y + LIMIT_THICKNESS / 2 - lineHeight / 2});
    }
    // Top to bottom on the screen; a higher limit stands higher.
    std::sort(names.begin(), names.end(),
              [](const Name &a, const Name &b) { return a.top < b.top; });
    if (names.size() == 2 && names[0].top + lineHeight + 1 > names[1].top) {
        const int overlap = names[0].top + lineHeight + 1 - names[1].top;
        names[0].top -= overlap / 2;
        names[1].top += overlap - overlap / 2;
    }
    if (!names.empty() && names.front().top < area.top) {
        const int down = area.top - names.front().top;
        for (Name &name : names)
            name.top += down;
    }
    if (!names.empty() && names.back().top + lineHeight > area.bottom) {
        const int up = names.back().top + lineHeight - area.bottom;
        for (Name &name : names)
            name.top = std::max(area.top, name.top - up);
    }
    for (const Name &name : names)
        drawText(dc, plot.right + TICK_LENGTH + LIMIT_LABEL_GAP, name.top,
                 platform::TA_LEFT | platform::TA_TOP, std::string(name.text), LIMIT_COLOUR);
}

// The legend: a swatch and the label of every entry, down the right-hand side in as many
// columns as the plan gave it.
void drawLegend(DrawingContext &dc, const ChartPlan &plan) {
    const Legend &legend = plan.legend;
    const int lineHeight = plan.lineHeight;
    for (std::size_t i = 0; i < legend.entries.size(); ++i) {
        const LegendEntry &entry = legend.entries[i];
        const int column = static_cast<int>(i) / legend.rows;
        const int row = static_cast<int>(i) % legend.rows;
        const int swatchLeft =
            plan.plot.right + plan.limitStrip + 2 * MARGIN + column * legend.columnWidth;
        const int y = plan.plot.top + row * (lineHeight + LEGEND_ROW_GAP);
        const int middle = y + lineHeight / 2;
        switch (entry.swatch) {
        case Swatch::Line:
            dc.fillRect(Rect{swatchLeft, middle - 1, swatchLeft + SWATCH_WIDTH, middle + 2},
                        entry.colour);
            break;
        case Swatch::Dashed:
            for (int left = swatchLeft; left < swatchLeft + SWATCH_WIDTH; left += 2 * DASH_LENGTH)
                dc.fillRect(Rect{left, middle - 1,
                                 std::min(left + DASH_LENGTH, swatchLeft + SWATCH_WIDTH),
                                 middle + 2},
                            entry.colour);
            break;
        case Swatch::Band:
            dc.fillRect(Rect{swatchLeft, y + 2, swatchLeft + SWATCH_WIDTH, y + lineHeight - 2},
                        entry.colour);
            break;
        case Swatch::None:
            drawText(dc, swatchLeft, y, platform::TA_LEFT | platform::TA_TOP, entry.label);
            continue;
        }
        drawText(dc, swatchLeft + SWATCH_WIDTH + MARGIN / 2, y,
                 platform::TA_LEFT | platform::TA_TOP, entry.label);
    }
}

} // namespace

void drawTimeSeries(DrawingContext &dc, const TimeSeriesInput &input, const Rect &area) {
    dc.fillRect(area, platform::WHITE);
    if (area.width() <= 0 || area.height() <= 0)
        return;
    const ChartPlan plan = planChart(dc, input, area);
    const Rect &plot = plan.plot;
    const int lineHeight = plan.lineHeight;
    if (input.lines.empty() || !usableRange(input.start, input.finish)) {
        drawText(dc, (area.left + area.right) / 2, (area.top + area.bottom) / 2,
                 platform::TA_CENTER | platform::TA_TOP, std::string(text::NO_DATA));
        return;
    }
    ReducedLines reduced;
    const Mapping map = reduceLines(input, plan, reduced);
    drawAxes(dc, input, map, lineHeight);
    drawPhases(dc, input, map, lineHeight);
    drawCurrentSet(dc, input, map);
    if (plan.envelope)
        drawEnvelope(dc, reduced, map);
    drawLines(dc, plan, reduced, map);
    drawLimits(dc, input, map, lineHeight, area);
    drawEvents(dc, input, map, lineHeight);
    dc.frameRect(Rect{plot.left - 1, plot.top - 1, plot.right + 1, plot.bottom + 1}, AXIS_COLOUR);
    drawLegend(dc, plan);
}

TimeSeriesInput timeSeriesInput(const Job &job, const JobSettings &settings) {
    TimeSeriesInput input;
    // Corrected readings while a calibration table is loaded; the lines point into the job's
    // copies, which live until the records or the table change.
    const LoggerArray &array = job.analysisArray();
    const ArrayDimensions d = array.dimensions();
    for (int row = 0; row < d.rows; ++row)
        for (int col = 0; col < d.columns; ++col)
            if (const LogFile *log = array.at(row, col); log && !log->values.empty())
                input.lines.push_back(
                    {positionName(row, col) + " " + log->label(), log, positionName(row, col)});
    for (int slot = 0; slot < d.singularCount; ++slot)
        if (const LogFile *log = array.at(-1, slot); log && !log->values.empty())
            input.lines.push_back(
                {positionName(-1, slot) + " " + log->label(), log, positionName(-1, slot)});

    const std::optional<double> start = settings.dataFilter.start;
    const std::optional<double> finish = settings.dataFilter.finish;
    if (start && finish && *finish > *start) {
        input.start = *start;
        input.finish = *finish;
    } else {
        // The samples' own range.
        bool any = false;
        for (const TimeSeriesLine &line : input.lines) {
            const double first = line.log->startTime();
            const double last = line.log->endTime();
            input.start = any ? std::min(input.start, first) : first;
            input.finish = any ? std::max(input.finish, last) : last;
            any = true;
        }
    }

    if (const TemperatureSet *set = job.setList.current()) {
        input.hasCurrentSet = true;
        input.currentTime = set->time();
        input.currentSpan = set->span;
    }
    const SettingsReading limits = readStatisticsSettings(job);
    if (limits.problem == SettingsProblem::None) {
        input.lowerLimit = limits.settings.lowerLimit;
        input.upperLimit = limits.settings.upperLimit;
    }
    for (const Event &event : job.events)
        input.events.push_back({event.time, eventName(event)});
    for (const Phase &phase : phasesOfJob(job)) {
        const bool excluded = isPhaseExcluded(job, phase.name);
        input.phases.push_back(
            {excluded ? text::format(text::EXCLUDED_PHASE_LABEL, phase.name) : phase.name,
             phase.start, phase.finish.value_or(std::max(phase.start, input.finish)), excluded});
    }
    return input;
}

int setHoldingTime(const SetList &sets, double time) {
    int nearest = -1;
    double nearestDistance = 0.0;
    for (int i = 0; i < sets.count(); ++i) {
        const TemperatureSet &set = *sets.at(i);
        const double from = set.time();
        const double to = from + set.span;
        if (set.span > 0.0 && time >= from && time < to)
            return i;
        const double distance = time < from ? from - time : std::max(0.0, time - to);
        if (nearest < 0 || distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return nearest;
}

} // namespace zqar
