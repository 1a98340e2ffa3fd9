#include "core/integrity/recordedInputs.h"

#include "core/data/trimmed.h"
#include "resources/format.h"
#include "resources/integrityTexts.h"

#include <string_view>

namespace zqar {

namespace {

// The names of the lines. Stored in reports: never change them.
constexpr std::string_view ALARM_RULE = "alarmRule";
constexpr std::string_view EXCLUSION = "exclusion";
constexpr std::string_view EVENT = "event";
constexpr std::string_view EXCLUDED_PHASE = "excludedPhase";

// Keeps what a line read as; false when it read as nothing.
template <class Value> bool keep(std::optional<Value> read, std::vector<Value> &kept) {
    if (read)
        kept.push_back(std::move(*read));
    return read.has_value();
}

// False, with the problem noted, when the value does not read as a line of its name.
bool readLine(const SettingValue &line, RecordedInputs &inputs) {
    if (line.name == ALARM_RULE)
        return keep(readAlarmRule(line.value), inputs.alarmRules);
    if (line.name == EXCLUSION)
        return keep(readExclusion(line.value), inputs.exclusions);
    if (line.name == EVENT)
        return keep(readEvent(line.value), inputs.events);
    if (line.name == EXCLUDED_PHASE) {
        if (trimmed(line.value).empty())
            return false;
        inputs.excludedPhases.push_back(line.value);
    }
    return true;
}

} // namespace

std::vector<SettingValue> recordedInputValues(const RecordedInputs &inputs) {
    std::vector<SettingValue> values;
    for (const AlarmRule &rule : inputs.alarmRules)
        values.push_back(SettingValue{std::string(ALARM_RULE), rule.spec});
    for (const Exclusion &exclusion : inputs.exclusions)
        values.push_back(SettingValue{std::string(EXCLUSION), exclusionSpec(exclusion)});
    for (const Event &event : inputs.events)
        values.push_back(SettingValue{std::string(EVENT), eventText(event)});
    for (const std::string &phase : inputs.excludedPhases)
        values.push_back(SettingValue{std::string(EXCLUDED_PHASE), phase});
    return values;
}

RecordedInputsReading readRecordedInputs(const std::vector<SettingValue> &values) {
    RecordedInputsReading reading;
    for (const SettingValue &line : values)
        if (!readLine(line, reading.inputs)) {
            reading.problem =
                text::format(text::RECORDED_INPUT_UNREADABLE, line.name + "=" + line.value);
            reading.inputs = RecordedInputs{};
            break;
        }
    return reading;
}

} // namespace zqar
