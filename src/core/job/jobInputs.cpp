#include "core/job/jobInputs.h"

#include "core/job/Job.h"
#include "core/job/jobEvents.h"

namespace zqar {

RecordedInputs recordedInputsOf(const Job &job) {
    return RecordedInputs{job.alarmRules, job.exclusions, job.events, job.excludedPhases};
}

void applyRecordedInputs(Job &job, RecordedInputs inputs) {
    job.alarmRules = std::move(inputs.alarmRules);
    job.exclusions = std::move(inputs.exclusions);
    job.changed(JobChange::ALARM_RULES | JobChange::EXCLUSIONS);
    setEventsSection(job,
                     EventsSection{std::move(inputs.events), std::move(inputs.excludedPhases)});
}

} // namespace zqar
