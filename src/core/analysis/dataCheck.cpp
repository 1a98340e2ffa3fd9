#include "core/analysis/dataCheck.h"

#include "core/analysis/placedPositions.h"
#include "core/analysis/statistics.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/dateTime.h"
#include "core/data/enumTexts.h"
#include "core/data/numbers.h"
#include "core/data/trimmed.h"
#include "resources/analysisTexts.h"
#include "resources/format.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zqar {

namespace {

constexpr double LONGEST_FLAT_RUN = 86400.0; // seconds of one value before a run is suspect
constexpr int CHECKS = 5;

// Empty keeps the default; otherwise the whole text must be a finite number.
bool readSetting(std::string_view text, double &value) {
    text = trimmed(text);
    if (text.empty())
        return true;
    const std::optional<double> number = readWholeNumber(text);
    if (number)
        value = *number;
    return number.has_value();
}

// One check's findings as they come, first one first.
struct Finding {
    int32_t count = 0;
    double firstTime = 0.0;
    double value = 0.0;

    void add(double time, double what) {
        if (count++ == 0) {
            firstTime = time;
            value = what;
        }
    }
};

} // namespace

DataCheckSettingsReading readDataCheckSettings(std::string_view plausibleLowText,
                                               std::string_view plausibleHighText,
                                               std::string_view plausibleJumpText) {
    DataCheckSettingsReading reading;
    DataCheckSettings &s = reading.settings;
    if (!readSetting(plausibleLowText, s.plausibleLow) ||
        !readSetting(plausibleHighText, s.plausibleHigh) || !(s.plausibleLow < s.plausibleHigh))
        reading.problem = DataCheckProblem::Range;
    else if (!readSetting(plausibleJumpText, s.plausibleJump) || !(s.plausibleJump > 0.0))
        reading.problem = DataCheckProblem::Jump;
    return reading;
}

std::string_view problemText(DataCheckProblem problem) {
    static constexpr TextEntry<DataCheckProblem> PROBLEM_TEXTS[] = {
        {DataCheckProblem::Range, text::PLAUSIBLE_RANGE_INVALID},
        {DataCheckProblem::Jump, text::PLAUSIBLE_JUMP_INVALID},
    };
    return textOf(PROBLEM_TEXTS, problem);
}

std::string_view dataCheckName(DataCheck check) {
    return text::DATA_CHECK_NAMES[static_cast<int>(check)];
}

std::vector<Suspect> checkRecord(const LogFile &record, const DataCheckSettings &settings) {
    const int32_t n = static_cast<int32_t>(std::min<std::size_t>(
        static_cast<std::size_t>(std::max(record.valueCount, 0)), record.values.size()));
    Finding found[CHECKS];
    Finding &notNumbers = found[static_cast<int>(DataCheck::NotANumber)];
    Finding &below = found[static_cast<int>(DataCheck::BelowPlausible)];
    Finding &above = found[static_cast<int>(DataCheck::AbovePlausible)];
    Finding &jumps = found[static_cast<int>(DataCheck::Jump)];
    Finding &flats = found[static_cast<int>(DataCheck::Flat)];

    for (const int32_t index : record.samplesNotNumbers)
        if (index < n)
            notNumbers.add(sampleTime(record, index),
                           record.values[static_cast<std::size_t>(index)]);

    std::optional<double> previous; // the reading before, none after a missing one
    int32_t runStart = 0;
    int32_t runLength = 0;
    bool runCounted = false;
    for (int32_t k = 0; k < n; ++k) {
        const double value = record.values[static_cast<std::size_t>(k)];
        if (value == NO_VALUE) {
            previous.reset();
            runLength = 0;
            continue;
        }
        if (value < settings.plausibleLow)
            below.add(sampleTime(record, k), value);
        if (value > settings.plausibleHigh)
            above.add(sampleTime(record, k), value);
        if (previous && std::fabs(value - *previous) > settings.plausibleJump)
            jumps.add(sampleTime(record, k), value - *previous);
        if (previous && value == *previous) {
            ++runLength;
        } else {
            runStart = k;
            runLength = 1;
            runCounted = false;
        }
        if (!runCounted && runLength * record.samplePeriod > LONGEST_FLAT_RUN) {
            flats.add(sampleTime(record, runStart), value);
            runCounted = true;
        }
        previous = value;
    }

    std::vector<Suspect> suspects;
    for (int check = 0; check < CHECKS; ++check)
        if (found[check].count > 0)
            suspects.push_back({static_cast<DataCheck>(check), found[check].count,
                                found[check].firstTime, found[check].value});
    return suspects;
}

std::vector<RecordCheck> checkArray(const LoggerArray &array, const DataCheckSettings &settings) {
    std::vector<RecordCheck> checks;
    for (const PlacedPosition &p : placedPositions(array))
        if (p.record)
            checks.push_back({p.position, p.record->label(), checkRecord(*p.record, settings)});
    return checks;
}

std::string dataCheckCsv(const std::vector<RecordCheck> &checks) {
    std::string csv(text::DATA_CHECK_CSV_HEADER);
    csv += CSV_LINE_END;
    for (const RecordCheck &check : checks)
        for (const Suspect &suspect : check.suspects)
            appendCsvLine(csv, suspectRow(check, suspect));
    return csv;
}

std::vector<std::string> suspectRow(const RecordCheck &check, const Suspect &suspect) {
    return {check.position,
            check.logger,
            std::string(dataCheckName(suspect.check)),
            std::to_string(suspect.count),
            formatDateTime(suspect.firstTime),
            csvTemperature(suspect.value)};
}

std::string suspectText(const Suspect &suspect) {
    return text::formatAll(text::DATA_CHECK_LINE,
                           {dataCheckName(suspect.check), std::to_string(suspect.count),
                            formatDateTime(suspect.firstTime), csvTemperature(suspect.value)});
}

} // namespace zqar
