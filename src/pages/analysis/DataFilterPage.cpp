#include "pages/analysis/DataFilterPage.h"

#include "core/analysis/TemperatureSet.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/job/Job.h"
#include "core/job/Prefill.h"
#include "platform/Host.h"
#include "resources/desktopTexts.h"
#include "resources/fileTexts.h"
#include "resources/format.h"
#include "resources/strings.h"
#include "resources/templates.h"

#include <cmath>

namespace zqar {

namespace {

// A range still beyond these bounds after Load Files holds no real temperature and gives way
// to the fallback.
constexpr double RANGE_LIMIT = 1000.0;
constexpr double FALLBACK_LOW = 15.0;
constexpr double FALLBACK_HIGH = 25.0;

} // namespace

DataFilterPage::DataFilterPage(Job &theJob, platform::Host &theHost)
    : Page(DATA_FILTER_TEMPLATE), job(theJob), host(theHost) {
    bind(CALCULATE_AT_TIME, [this] { calculateAtTime(); });
    bind(CALCULATE_AVERAGED, [this] { calculateAveraged(); });
}

DataFilterSettings DataFilterPage::settings() const {
    const platform::Dialog &page = dialog();
    DataFilterSettings settings;
    settings.time = readTimeSetting(page.text(TIME));
    settings.start = readTimeSetting(page.text(START_TIME));
    settings.finish = readTimeSetting(page.text(FINISH_TIME));
    settings.interval = readIntervalSetting(page.text(AVERAGING_INTERVAL));
    settings.minimumTemperature = readDecimal(page.text(MINIMUM_TEMPERATURE));
    settings.maximumTemperature = readDecimal(page.text(MAXIMUM_TEMPERATURE));
    settings.contourSpacing = readDecimal(page.text(CONTOUR_SPACING));
    settings.showSingularAsText = page.isChecked(SHOW_SINGULAR_AS_TEXT);
    return settings;
}

void DataFilterPage::applyPrefill(const Prefill &prefill) {
    platform::Dialog &page = dialog();
    // Without a record that has samples and a start time there is no span and no range to
    // offer; the settings then stay as they were rather than showing 30-Dec-1899.
    if (prefill.timeSeen) {
        const std::string start = formatDateTime(prefill.latestStart);
        page.setText(START_TIME, start);
        page.setText(TIME, start);
        page.setText(FINISH_TIME, formatDateTime(prefill.earliestEnd));
    }
    page.setText(AVERAGING_INTERVAL, text::LOADED_INTERVAL);
    if (prefill.rangeSeen) {
        double lowest = prefill.lowest;
        double highest = prefill.highest;
        if (lowest > RANGE_LIMIT || highest < -RANGE_LIMIT) {
            lowest = FALLBACK_LOW;
            highest = FALLBACK_HIGH;
        }
        page.setText(MINIMUM_TEMPERATURE, formatFixed(std::floor(lowest), 0));
        page.setText(MAXIMUM_TEMPERATURE, formatFixed(std::ceil(highest), 0));
    }
    page.setText(CONTOUR_SPACING, text::LOADED_CONTOUR_SPACING);
}

void DataFilterPage::fillSet(TemperatureSet &set, double time, double windowSeconds) const {
    // Corrected readings while a calibration table is loaded.
    const LoggerArray &array = job.analysisArray();
    // A position is measured when its logger had samples in the window; the set summaries
    // look at those alone.
    auto measure = [&](const LogFile &logger, int row, int col) {
        const double value = logger.averageAround(time, windowSeconds);
        set.setValue(row, col, value);
        if (value != NO_VALUE)
            set.setMeasured(row, col);
    };
    for (int row = 0; row < set.rows; ++row)
        for (int col = 0; col < set.columns; ++col)
            if (const LogFile *logger = array.at(row, col))
                measure(*logger, row, col);
    // Gaps are filled from the grid alone; singular values are never estimated.
    set.fillGaps();
    for (int slot = 0; slot < set.singularCount; ++slot)
        if (const LogFile *logger = array.at(-1, slot))
            measure(*logger, SINGULAR_ROW, slot);
}

void DataFilterPage::showStatus(int count) {
    text::format(statusText, text::SETS_CREATED, count);
    dialog().setText(STATUS, statusText);
}

CommandOutcome DataFilterPage::calculateAtTime() {
    const std::optional<double> time = settings().time;
    if (!time)
        return showFailure(dialog(), text::TIME_FORMAT_MESSAGE, text::CALCULATE_CAPTION);
    SetList &sets = job.setList;
    const ArrayDimensions d = job.loggerArray.dimensions();
    auto set = std::make_unique<TemperatureSet>(*time, 0.0, d.rows, d.columns, d.singularCount);
    fillSet(*set, *time, 0.0);
    sets.clear();
    sets.append(std::move(set));
    showStatus(1);
    job.changed(JobChange::SETS);
    return CommandOutcome::completed();
}

CommandOutcome DataFilterPage::calculateAveraged() {
    const std::unique_ptr<platform::Progress> progress =
        host.startProgress(text::CALCULATE_CAPTION);
    return calculateAveraged(*progress);
}

CommandOutcome DataFilterPage::calculateAveraged(platform::Progress &progress) {
    // The interval, the start and the finish are checked in that order, each with its message.
    const DataFilterSettings read = settings();
    if (!read.interval)
        return showFailure(dialog(), text::INTERVAL_FORMAT_MESSAGE, text::CALCULATE_CAPTION);
    if (!read.start)
        return showFailure(dialog(), text::START_FORMAT_MESSAGE, text::CALCULATE_CAPTION);
    if (!read.finish)
        return showFailure(dialog(), text::FINISH_FORMAT_MESSAGE, text::CALCULATE_CAPTION);
    const double interval = *read.interval;
    const double start = *read.start;
    const double finish = *read.finish;
    // An interval too small to move the start time would repeat the first set for ever, and
    // one far smaller than the time span would fill the memory with sets.
    const ArrayDimensions d = job.loggerArray.dimensions();
    const double valuesPerSet = static_cast<double>(d.rows) * d.columns + d.singularCount;
    const double estimate = (finish - start) / interval + 2.0;
    if (start + interval == start || estimate > MAX_AVERAGED_SETS ||
        estimate * valuesPerSet > MAX_SET_VALUES)
        return showFailure(dialog(), text::INTERVAL_FORMAT_MESSAGE, text::CALCULATE_CAPTION);

    SetList sets;
    const double windowSeconds = interval * SECONDS_PER_DAY;
    const std::uint64_t expected = estimate > 0.0 ? static_cast<std::uint64_t>(estimate) : 1;
    if (estimate > 0.0)
        sets.reserve(static_cast<std::size_t>(truncToInt(estimate)));
    int count = 0;
    // Repeated addition and exact comparisons: later start times carry the accumulated
    // rounding, and that decides whether a set starting at the finish time is made.
    for (double t = start; t == start || t < finish; t += interval) {
        auto set =
            std::make_unique<TemperatureSet>(t, interval, d.rows, d.columns, d.singularCount);
        fillSet(*set, t, windowSeconds);
        sets.append(std::move(set));
        ++count;
        showStatus(count);
        if (!progress.step(static_cast<std::uint64_t>(count), expected)) {
            dialog().setText(STATUS, text::COMMAND_CANCELLED);
            return CommandOutcome::cancelled();
        }
    }
    job.setList = std::move(sets);
    job.changed(JobChange::SETS);
    return CommandOutcome::completed();
}

} // namespace zqar
