#include "pages/presentation/TimeSeriesChart.h"

#include "core/analysis/SetList.h"
#include "core/data/LogFile.h"
#include "core/data/LoggerArray.h"
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
#include <cmath>
#include <cstdio>

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

// The chart's texts, in one face and height; each text sets its alignment.
const platform::FontRequest CHART_FONT{"Arial", FONT_HEIGHT, platform::FontRequest::NORMAL};

int roundToInt(double value) { return truncToInt(std::floor(value + 0.5)); }

// The first sample index at or after time t, in [0, count].
std::size_t firstIndexFrom(double t, std::size_t count, double firstTime, double periodDays) {
    if (!(periodDays > 0.0))
        return t <= firstTime ? 0 : count;
    const double index = std::ceil((t - firstTime) / periodDays);
    if (!(index > 0.0))
        return 0;
    if (index >= static_cast<double>(count))
        return count;
    return static_cast<std::size_t>(index);
}

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

void drawText(DrawingContext &dc, int x, int y, unsigned align, const std::string &s) {
    dc.setBackgroundMode(platform::BackgroundMode::Transparent);
    dc.setTextColour(platform::BLACK);
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

int legendWidth(DrawingContext &dc, const TimeSeriesInput &input) {
    int width = 0;
    for (const TimeSeriesLine &line : input.lines)
        width = std::max(width, dc.textExtent(line.label).width);
    return width > 0 ? width + SWATCH_WIDTH + 3 * MARGIN : 0;
}

} // namespace

void decimateColumns(const double *values, std::size_t count, double firstTime, double periodDays,
                     double viewStart, double viewEnd, int columns,
                     std::vector<ColumnExtent> &out) {
    out.assign(static_cast<std::size_t>(std::max(columns, 0)), ColumnExtent{});
    if (columns <= 0 || count == 0 || !usableRange(viewStart, viewEnd))
        return;
    const double width = (viewEnd - viewStart) / columns;
    std::size_t begin = firstIndexFrom(viewStart, count, firstTime, periodDays);
    bool readingSeen = false;         // in an earlier column
    bool missingSinceReading = false; // a missing reading after the last one seen
    for (int c = 0; c < columns; ++c) {
        const double right = c + 1 == columns ? viewEnd : viewStart + (c + 1) * width;
        const std::size_t end = firstIndexFrom(right, count, firstTime, periodDays);
        if (end <= begin)
            continue;
        ColumnExtent &e = out[static_cast<std::size_t>(c)];
        // Missing readings (an imported table's gaps) before the column's first reading.
        const double *p = values + begin;
        const double *stop = values + end;
        while (p < stop && *p == NO_VALUE)
            ++p;
        if (p > values + begin)
            missingSinceReading = true;
        begin = end;
        if (p == stop)
            continue;
        e.gapBefore = readingSeen && missingSinceReading;
        double lo = *p;
        double hi = *p;
        e.first = *p;
        const double *lastReading = p;
        for (++p; p < stop; ++p) {
            const double v = *p;
            if (v == NO_VALUE)
                continue;
            lo = v < lo ? v : lo;
            hi = v > hi ? v : hi;
            lastReading = p;
        }
        e.last = *lastReading;
        missingSinceReading = lastReading + 1 != stop;
        e.hasSamples = true;
        e.minimum = lo;
        e.maximum = hi;
        readingSeen = true;
    }
}

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

platform::Rect timeSeriesPlotArea(DrawingContext &dc, const TimeSeriesInput &input,
                                  const Rect &area) {
    dc.setFont(CHART_FONT);
    const int labelWidth = dc.textExtent("-000.00").width;
    const int lineHeight = dc.textExtent("0").height;
    Rect plot;
    plot.left = area.left + MARGIN + labelWidth + TICK_LENGTH + 2;
    plot.top = area.top + MARGIN + lineHeight / 2;
    plot.right = std::max(plot.left + 1, area.right - MARGIN - legendWidth(dc, input));
    plot.bottom = std::max(plot.top + 1, area.bottom - MARGIN - 2 * lineHeight - TICK_LENGTH);
    return plot;
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

using ReducedLines = std::vector<std::vector<ColumnExtent>>;

// Every line reduced to the plot's columns, and the value range the axis must show: the
// columns' extremes and the limits, with a little room above and below.
Mapping reduceLines(const TimeSeriesInput &input, const Rect &plot, ReducedLines &reduced) {
    reduced.assign(input.lines.size(), {});
    ValueRange range;
    for (std::size_t i = 0; i < input.lines.size(); ++i) {
        const LogFile &log = *input.lines[i].log;
        decimateColumns(log.values.data(), log.values.size(), log.startTime(),
                        log.samplePeriod / SECONDS_PER_DAY, input.start, input.finish, plot.width(),
                        reduced[i]);
        for (const ColumnExtent &e : reduced[i])
            if (e.hasSamples && std::isfinite(e.minimum) && std::isfinite(e.maximum) &&
                e.minimum != NO_VALUE && e.maximum != NO_VALUE) {
                range.take(e.minimum);
                range.take(e.maximum);
            }
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

// The lines: a run per column from the column's smallest to its largest reading, reaching
// back to the previous column's last reading so the trace stays joined. Columns without a
// reading between two that have one (samples further apart than a column) are bridged by a
// straight line, unless a reading is missing between them: the line breaks there.
void drawLines(DrawingContext &dc, const ReducedLines &reduced, const Mapping &map) {
    const Rect &plot = map.plot;
    for (std::size_t i = 0; i < reduced.size(); ++i) {
        platform::Pen pen;
        pen.colour = timeSeriesColour(i);
        dc.setPen(pen);
        int previousX = -1;
        int previousY = 0;
        for (int c = 0; c < plot.width(); ++c) {
            const ColumnExtent &e = reduced[i][static_cast<std::size_t>(c)];
            if (!e.hasSamples)
                continue;
            const int x = plot.left + c;
            int top = map.y(e.maximum);
            int bottom = map.y(e.minimum);
            const int firstY = map.y(e.first);
            // Nothing joins a column to the one before across a missing reading.
            if (previousX >= 0 && !e.gapBefore) {
                if (previousX == x - 1) {
                    top = std::min(top, previousY);
                    bottom = std::max(bottom, previousY);
                } else {
                    dc.moveTo(previousX, previousY);
                    dc.lineTo(x, firstY);
                }
            }
            top = std::clamp(top, plot.top, plot.bottom - 1);
            bottom = std::clamp(bottom, plot.top, plot.bottom - 1);
            run(dc, x, top, bottom);
            previousX = x;
            previousY = std::clamp(map.y(e.last), plot.top, plot.bottom - 1);
        }
    }
}

// The limits over the lines, each with its name.
void drawLimits(DrawingContext &dc, const TimeSeriesInput &input, const Mapping &map,
                int lineHeight) {
    const Rect &plot = map.plot;
    for (const auto &[limit, label] : {std::pair{input.lowerLimit, text::LOWER_LIMIT_LABEL},
                                       std::pair{input.upperLimit, text::UPPER_LIMIT_LABEL}}) {
        if (!limit)
            continue;
        const int y = map.y(*limit);
        dc.fillRect(Rect{plot.left, y, plot.right, y + LIMIT_THICKNESS}, LIMIT_COLOUR);
        drawText(dc, plot.right - 2, y - lineHeight - 1, platform::TA_RIGHT | platform::TA_TOP,
                 std::string(label));
    }
}

// The legend: a swatch and the label of every line, down the right-hand side.
void drawLegend(DrawingContext &dc, const TimeSeriesInput &input, const Rect &plot,
                const Rect &area, int lineHeight) {
    int y = plot.top;
    const int swatchLeft = plot.right + 2 * MARGIN;
    for (std::size_t i = 0; i < input.lines.size() && y + lineHeight <= area.bottom; ++i) {
        const int middle = y + lineHeight / 2;
        dc.fillRect(Rect{swatchLeft, middle - 1, swatchLeft + SWATCH_WIDTH, middle + 2},
                    timeSeriesColour(i));
        drawText(dc, swatchLeft + SWATCH_WIDTH + MARGIN / 2, y,
                 platform::TA_LEFT | platform::TA_TOP, input.lines[i].label);
        y += lineHeight + 2;
    }
}

} // namespace

void drawTimeSeries(DrawingContext &dc, const TimeSeriesInput &input, const Rect &area) {
    dc.fillRect(area, platform::WHITE);
    if (area.width() <= 0 || area.height() <= 0)
        return;
    const Rect plot = timeSeriesPlotArea(dc, input, area);
    const int lineHeight = dc.textExtent("0").height;
    if (input.lines.empty() || !usableRange(input.start, input.finish)) {
        drawText(dc, (area.left + area.right) / 2, (area.top + area.bottom) / 2,
                 platform::TA_CENTER | platform::TA_TOP, std::string(text::NO_DATA));
        return;
    }
    ReducedLines reduced;
    const Mapping map = reduceLines(input, plot, reduced);
    drawAxes(dc, input, map, lineHeight);
    drawPhases(dc, input, map, lineHeight);
    drawCurrentSet(dc, input, map);
    drawLines(dc, reduced, map);
    drawLimits(dc, input, map, lineHeight);
    drawEvents(dc, input, map, lineHeight);
    dc.frameRect(Rect{plot.left - 1, plot.top - 1, plot.right + 1, plot.bottom + 1}, AXIS_COLOUR);
    drawLegend(dc, input, plot, area, lineHeight);
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
                input.lines.push_back({positionName(row, col) + " " + log->label(), log});
    for (int slot = 0; slot < d.singularCount; ++slot)
        if (const LogFile *log = array.at(-1, slot); log && !log->values.empty())
            input.lines.push_back({positionName(-1, slot) + " " + log->label(), log});

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
