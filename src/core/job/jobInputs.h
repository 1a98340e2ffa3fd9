#pragma once
// The job's inputs a report records with its settings (core/integrity/recordedInputs.h): taken
// from the job when a report is made, and put into the job a check of the report builds afresh.

#include "core/integrity/recordedInputs.h"

namespace zqar {

class Job;

RecordedInputs recordedInputsOf(const Job &job);

// Replaces the job's alarm rules, exclusions, events and excluded phases with these, and tells
// the listeners what changed. Exclusions name positions: put them in after the layout.
void applyRecordedInputs(Job &job, RecordedInputs inputs);

} // namespace zqar
