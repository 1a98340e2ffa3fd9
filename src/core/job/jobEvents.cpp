#include "core/job/jobEvents.h"

#include "core/analysis/eventFigures.h"
#include "core/job/Job.h"

#include <algorithm>

namespace zqar {

std::vector<Phase> phasesOfJob(const Job &job) { return phasesOf(job.events).phases; }

std::vector<Phase> excludedPhasesOfJob(const Job &job) {
    if (job.excludedPhases.empty())
        return {};
    return phasesNamed(phasesOfJob(job), job.excludedPhases);
}

bool isPhaseExcluded(const Job &job, std::string_view name) {
    return std::any_of(
        job.excludedPhases.begin(), job.excludedPhases.end(),
        [name](const std::string &excluded) { return samePhaseName(excluded, name); });
}

const LoggerArray &statisticsArray(const Job &job, LoggerArray &holder) {
    const std::vector<Phase> excluded = excludedPhasesOfJob(job);
    if (excluded.empty())
        return job.analysisArray();
    holder = withoutPhases(job.analysisArray(), excluded);
    return holder;
}

void addEvent(Job &job, Event event) {
    job.events.push_back(std::move(event));
    job.changed(JobChange::EVENTS);
}

void addEvents(Job &job, const std::vector<Event> &events) {
    if (events.empty())
        return;
    job.events.insert(job.events.end(), events.begin(), events.end());
    job.changed(JobChange::EVENTS);
}

void addEventsFromFile(Job &job, const std::vector<Event> &events, InputFile file) {
    job.events.insert(job.events.end(), events.begin(), events.end());
    job.eventsFiles.push_back(std::move(file));
    job.changed(JobChange::EVENTS);
}

void replaceEvent(Job &job, std::size_t index, Event event) {
    if (index >= job.events.size())
        return;
    job.events[index] = std::move(event);
    job.changed(JobChange::EVENTS);
}

void removeEvent(Job &job, std::size_t index) {
    if (index >= job.events.size())
        return;
    job.events.erase(job.events.begin() + static_cast<std::ptrdiff_t>(index));
    job.changed(JobChange::EVENTS);
}

void setPhaseExcluded(Job &job, std::string_view name, bool excluded) {
    if (excluded == isPhaseExcluded(job, name))
        return;
    std::vector<std::string> &names = job.excludedPhases;
    if (excluded)
        names.emplace_back(name);
    else
        names.erase(
            std::remove_if(names.begin(), names.end(),
                           [name](const std::string &kept) { return samePhaseName(kept, name); }),
            names.end());
    job.changed(JobChange::EVENTS);
}

void setEventsSection(Job &job, EventsSection section) {
    if (section.events.empty() && section.excludedPhases.empty() && job.events.empty() &&
        job.excludedPhases.empty() && job.eventsFiles.empty())
        return;
    job.events = std::move(section.events);
    job.excludedPhases = std::move(section.excludedPhases);
    job.eventsFiles.clear();
    job.changed(JobChange::EVENTS);
}

EventsSection eventsSectionOf(const Job &job) {
    return EventsSection{job.events, job.excludedPhases};
}

} // namespace zqar
