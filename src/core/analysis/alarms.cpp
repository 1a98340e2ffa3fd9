#include "core/analysis/alarms.h"
#include "core/data/timeUnits.h"

#include "core/analysis/placedPositions.h"
#include "core/analysis/statistics.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/caseless.h"
#include "core/data/dateTime.h"
#include "core/data/enumTexts.h"
#include "core/data/numbers.h"
#include "core/data/trimmed.h"
#include "resources/analysisTexts.h"
#include "resources/format.h"
#include "resources/strings.h"

#include <algorithm>
#include <cmath>

namespace zqar {

namespace {

constexpr int64_t SECONDS_IN_DAY = 86400;

constexpr TextEntry<AlarmSide> SIDE_WORDS[] = {
    {AlarmSide::Above, text::ALARM_ABOVE},
    {AlarmSide::Below, text::ALARM_BELOW},
};
constexpr TextEntry<AlarmMode> MODE_WORDS[] = {
    {AlarmMode::Single, text::ALARM_SINGLE},
    {AlarmMode::Cumulative, text::ALARM_CUMULATIVE},
};

// The calendar day of a day number as the texts show it (rounded to the second).
int64_t calendarDay(double time) {
    const int64_t seconds = roundedSeconds(time);
    return seconds / SECONDS_IN_DAY - (seconds % SECONDS_IN_DAY < 0 ? 1 : 0);
}

// A stretch of readings beyond the threshold: a run, or a span's or day's readings.
struct Beyond {
    Beyond(const AlarmRule &rule, double samplePeriod) : rule(rule), samplePeriod(samplePeriod) {}

    const AlarmRule &rule;
    double samplePeriod; // seconds
    int32_t readings = 0;
    double first = 0.0;
    double peak = 0.0;
    double timeOfPeak = 0.0;
    bool fired = false;
    double trigger = 0.0;

    double minutes() const { return readings * samplePeriod / SECONDS_PER_MINUTE; }

    void add(double value, double time) {
        const bool further = rule.side == AlarmSide::Above ? value > peak : value < peak;
        if (readings == 0) {
            first = time;
            peak = value;
            timeOfPeak = time;
        } else if (further) {
            peak = value;
            timeOfPeak = time;
        }
        ++readings;
        if (!fired && minutes() >= rule.minutes) {
            fired = true;
            trigger = time;
        }
    }

    // The alarm if the stretch fired; the stretch starts afresh either way.
    void close(std::vector<Alarm> &alarms, std::size_t ruleIndex, std::optional<double> day) {
        if (fired) {
            Alarm alarm;
            alarm.rule = ruleIndex;
            alarm.day = day;
            alarm.firstBeyond = first;
            alarm.trigger = trigger;
            alarm.minutesBeyond = minutes();
            alarm.peak = peak;
            alarm.timeOfPeak = timeOfPeak;
            alarms.push_back(alarm);
        }
        readings = 0;
        fired = false;
    }
};

} // namespace

std::optional<AlarmRule> readAlarmRule(std::string_view spec) {
    std::vector<std::string_view> fields;
    for (std::size_t at = 0;;) {
        const std::size_t comma = std::min(spec.find(',', at), spec.size());
        fields.push_back(trimmed(spec.substr(at, comma - at)));
        if (comma == spec.size())
            break;
        at = comma + 1;
    }
    if (fields.size() != 4 && fields.size() != 5)
        return std::nullopt;
    AlarmRule rule;
    rule.spec = std::string(spec);
    const std::optional<AlarmSide> side = valueOf(SIDE_WORDS, fields[0], equalIgnoringCase);
    const std::optional<double> threshold = readWholeNumber(fields[1]);
    const std::optional<AlarmMode> mode = valueOf(MODE_WORDS, fields[2], equalIgnoringCase);
    const std::optional<double> minutes = readWholeNumber(fields[3]);
    if (!side || !threshold || !mode || !minutes || !(*minutes > 0.0))
        return std::nullopt;
    rule.side = *side;
    rule.threshold = *threshold;
    rule.mode = *mode;
    rule.minutes = *minutes;
    if (fields.size() == 5) {
        if (rule.mode != AlarmMode::Cumulative ||
            !equalIgnoringCase(fields[4], text::ALARM_PER_DAY))
            return std::nullopt;
        rule.perDay = true;
    }
    return rule;
}

std::string alarmRuleProblem(std::string_view spec) {
    return text::format(text::ALARM_RULE_INVALID, std::string(spec));
}

std::vector<Alarm> recordAlarms(const LogFile &record, double start, double finish,
                                const AlarmRule &rule, std::size_t ruleIndex) {
    std::vector<Alarm> alarms;
    const SampleSelection selection = samplesInSpan(record, start, finish);
    Beyond beyond(rule, record.samplePeriod);
    const bool single = rule.mode == AlarmMode::Single;
    std::optional<int64_t> day;
    auto dayStart = [&]() -> std::optional<double> {
        if (!day)
            return std::nullopt;
        return static_cast<double>(*day);
    };
    for (int32_t k = 0; k < selection.count; ++k) {
        const int32_t index = selection.index(k);
        const double value = record.values[static_cast<std::size_t>(index)];
        if (value == NO_VALUE) {
            if (single)
                beyond.close(alarms, ruleIndex, std::nullopt);
            continue;
        }
        const double time = sampleTime(record, index);
        if (rule.perDay) {
            const int64_t today = calendarDay(time);
            if (day && *day != today)
                beyond.close(alarms, ruleIndex, dayStart());
            day = today;
        }
        const bool isBeyond =
            rule.side == AlarmSide::Above ? value > rule.threshold : value < rule.threshold;
        if (isBeyond)
            beyond.add(value, time);
        else if (single)
            beyond.close(alarms, ruleIndex, std::nullopt);
    }
    beyond.close(alarms, ruleIndex, rule.perDay ? dayStart() : std::nullopt);
    return alarms;
}

std::vector<Alarm> evaluateAlarms(const LoggerArray &array, double start, double finish,
                                  const std::vector<AlarmRule> &rules) {
    std::vector<Alarm> alarms;
    for (const PlacedPosition &p : placedPositions(array)) {
        if (!p.record)
            continue;
        std::vector<Alarm> found;
        for (std::size_t r = 0; r < rules.size(); ++r) {
            std::vector<Alarm> more = recordAlarms(*p.record, start, finish, rules[r], r);
            found.insert(found.end(), more.begin(), more.end());
        }
        std::stable_sort(found.begin(), found.end(), [](const Alarm &a, const Alarm &b) {
            return roundedSeconds(a.trigger) < roundedSeconds(b.trigger);
        });
        for (Alarm &alarm : found) {
            alarm.position = p.position;
            alarm.logger = p.record->label();
            alarms.push_back(std::move(alarm));
        }
    }
    return alarms;
}

std::string alarmsCsv(const std::vector<Alarm> &alarms, const std::vector<AlarmRule> &rules) {
    std::string csv(text::ALARMS_CSV_HEADER);
    csv += CSV_LINE_END;
    for (const Alarm &alarm : alarms)
        appendCsvLine(csv, alarmRow(alarm, rules));
    return csv;
}

std::vector<std::string> alarmRow(const Alarm &alarm, const std::vector<AlarmRule> &rules) {
    const std::string rule = alarm.rule < rules.size() ? rules[alarm.rule].spec : "";
    return {alarm.position,
            alarm.logger,
            rule,
            alarm.day ? csvDate(*alarm.day) : std::string(text::NO_LOGGER),
            formatDateTime(alarm.firstBeyond),
            formatDateTime(alarm.trigger),
            csvMinutes(alarm.minutesBeyond),
            csvTemperature(alarm.peak),
            formatDateTime(alarm.timeOfPeak),
            std::string(alarm.minutesBeyond > MINUTES_PER_DAY ? text::ALARM_OVER_A_DAY
                                                              : text::ALARM_WITHIN_A_DAY)};
}

} // namespace zqar
