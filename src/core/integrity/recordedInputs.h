#pragma once
// The inputs besides the settings table that change a report's figures: the alarm rules, the
// exclusions, the events and the phases left out of the statistics. A report records them after
// the settings and the layout cells, one "name=value" line each in the job's order, each in the
// form the batch tool's option for it takes (--alarm-rule, --exclude, --event, --exclude-phase),
// so that checking the report can put them back:
//
//     alarmRule=above,25,single,60
//     exclusion=R1C4,02-Jun-2025 12:00PM,02-Jun-2025 06:00PM,door left open
//     event=door-open@05-Jun-2025 05:40PM
//     excludedPhase=Loaded
//
// An event's note changes no figure and is not recorded. A job without any of them adds no line,
// so its settings text is the settings table's alone.

#include "core/analysis/alarms.h"
#include "core/analysis/exclusions.h"
#include "core/data/events.h"
#include "core/integrity/Manifest.h"

#include <string>
#include <vector>

namespace zqar {

struct RecordedInputs {
    std::vector<AlarmRule> alarmRules;
    std::vector<Exclusion> exclusions;
    std::vector<Event> events;
    std::vector<std::string> excludedPhases;
};

// The lines of the inputs: the rules, the exclusions, the events, then the excluded phases.
std::vector<SettingValue> recordedInputValues(const RecordedInputs &inputs);

struct RecordedInputsReading {
    RecordedInputs inputs;
    std::string problem; // for the user: the first line that does not read; empty when all did
};

// The inputs among the values, in their order; values of other names are not looked at.
RecordedInputsReading readRecordedInputs(const std::vector<SettingValue> &values);

} // namespace zqar
