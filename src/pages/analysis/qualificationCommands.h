#pragma once
// The qualification commands: the figures over the stable window and the events' recovery and
// hold times, from the job's records, events and settings and the Data Filter span, and the
// CSV files made from them. The Statistics window, the report and the batch tool call these; a
// failure shows its message box (caption "Statistics", or "Events" for an events file) and
// answers a failed outcome, leaving everything as it was.

#include "core/analysis/eventFigures.h"
#include "core/analysis/qualification.h"
#include "core/job/JobSettings.h"
#include "platform/CommandOutcome.h"

#include <string>
#include <vector>

namespace zqar {

class Job;

namespace platform {
class Host;
}

// The figures over the span from start through finish, with the job's settings and without
// the readings of its excluded phases. No message box: a setting that does not read, or a
// reference without readings, is the answer's problem.
Qualification qualificationOver(const Job &job, double start, double finish);
// The instants and T values those figures are taken over, refused for the same problems.
QualificationInstants qualificationInstantsOver(const Job &job, double start, double finish);

struct QualificationRun {
    CommandOutcome outcome;
    Qualification qualification; // when the outcome is completed
};
QualificationRun calculateQualification(const Job &job, const JobSettings &settings,
                                        platform::Host &host);

struct EventFiguresRun {
    CommandOutcome outcome;
    std::vector<EventOutcome> outcomes; // every event in time order, when completed
};
// The limits are the Statistics window's; the records are read whole, excluded phases and all,
// since a door opening is often a phase of its own.
EventFiguresRun calculateEventFigures(const Job &job, const JobSettings &settings,
                                      platform::Host &host);

CommandOutcome writeQualificationCsv(platform::Host &host, const Qualification &qualification,
                                     const std::string &path);
CommandOutcome writeEventFiguresCsv(platform::Host &host, const std::vector<EventOutcome> &outcomes,
                                    const std::string &path);

// Reads an events CSV file ("Time,Event,Note") and adds its events to the job; a file that
// cannot be read, or a line that is not an event, adds none and shows its message box.
CommandOutcome addEventsFile(Job &job, platform::Host &host, const std::string &path);

} // namespace zqar
