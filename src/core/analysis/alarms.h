#pragma once
// Alarm rules as a cold-chain monitor applies them, over the readings of each placed record in
// a time span: a single-event rule fires on an uninterrupted time beyond its threshold, a
// cumulative one on the time beyond it added up over the span or over each calendar day. The
// time of readings is their count times the record's interval; a missing reading counts no
// time and ends a run.

#include "core/data/LoggerArray.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

enum class AlarmSide { Above, Below }; // beyond: greater than, or less than, the threshold
enum class AlarmMode { Single, Cumulative };

struct AlarmRule {
    std::string spec; // the rule as the user gave it
    AlarmSide side = AlarmSide::Above;
    double threshold = 0.0; // degrees
    AlarmMode mode = AlarmMode::Single;
    double minutes = 0.0; // above 0
    bool perDay = false;  // cumulative rules only: one sum per calendar day
};

// "above|below,THRESHOLD,single|cumulative,MINUTES[,day]", words in any letter case, blanks
// around the fields allowed; ",day" only after a cumulative rule. None for anything else.
std::optional<AlarmRule> readAlarmRule(std::string_view spec);
// The message for a rule readAlarmRule refuses.
std::string alarmRuleProblem(std::string_view spec);

struct Alarm {
    std::size_t rule = 0; // index into the rules evaluated
    std::string position;
    std::string logger;
    std::optional<double> day;  // the calendar day of a per-day rule, its midnight
    double firstBeyond = 0.0;   // day numbers: the run's first reading, or the window's first
                                // reading beyond the threshold
    double trigger = 0.0;       // the reading at which the time beyond reached the rule's minutes
    double minutesBeyond = 0.0; // the whole run's, or the whole window's
    double peak = 0.0;          // the furthest reading beyond the threshold, at its first time
    double timeOfPeak = 0.0;
};

// The alarms of one record's readings from start through finish (day numbers), in trigger
// order; position and logger left empty.
std::vector<Alarm> recordAlarms(const LogFile &record, double start, double finish,
                                const AlarmRule &rule, std::size_t ruleIndex = 0);

// Every placed record against every rule: position order, then trigger time (rule order on a
// tie).
std::vector<Alarm> evaluateAlarms(const LoggerArray &array, double start, double finish,
                                  const std::vector<AlarmRule> &rules);

// Position,Logger,Rule,Day,First Beyond,Trigger,Minutes Beyond,Peak,Time of Peak,Over 24 Hours.
std::string alarmsCsv(const std::vector<Alarm> &alarms, const std::vector<AlarmRule> &rules);
// One alarm's fields as the CSV and the report give them.
std::vector<std::string> alarmRow(const Alarm &alarm, const std::vector<AlarmRule> &rules);

} // namespace zqar
