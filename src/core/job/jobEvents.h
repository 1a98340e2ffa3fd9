#pragma once
// The job's events and excluded phases as the commands use them: the phases the events make,
// which of them the statistics leave out, the records the statistics and the qualification
// figures read, and the edits the time-series window and the batch tool make. Each edit tells
// the job's listeners (JobChange::EVENTS) when it changed anything.

#include "core/data/LoggerArray.h"
#include "core/data/events.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

class Job;
struct InputFile;

// The phases of the job's events, and those of them the job leaves out of the statistics.
std::vector<Phase> phasesOfJob(const Job &job);
std::vector<Phase> excludedPhasesOfJob(const Job &job);
bool isPhaseExcluded(const Job &job, std::string_view name);

// The records the statistics, their maps, the spots and the qualification figures read: the
// job's analysis array (the records, corrected when a calibration table is loaded) when no
// phase is left out, otherwise a copy of it without the readings of the excluded phases.
// holder keeps the copy alive for as long as the answer is used.
const LoggerArray &statisticsArray(const Job &job, LoggerArray &holder);

void addEvent(Job &job, Event event);
void addEvents(Job &job, const std::vector<Event> &events);
// The events read from a file, with the file kept among the job's events files (even when it
// held none: it was read all the same).
void addEventsFromFile(Job &job, const std::vector<Event> &events, InputFile file);
// An index outside the list changes nothing.
void replaceEvent(Job &job, std::size_t index, Event event);
void removeEvent(Job &job, std::size_t index);
// Adds the name to the excluded phases, or takes every spelling of it out.
void setPhaseExcluded(Job &job, std::string_view name, bool excluded);
// Replaces both, as a project file gives them; the events files go with the events they gave.
void setEventsSection(Job &job, EventsSection section);
EventsSection eventsSectionOf(const Job &job);

} // namespace zqar
