#include "app/BatchTool.h"
#include "app/batchOptions.h"

#include "core/data/trimmed.h"
#include "core/job/jobEvents.h"
#include "pages/analysis/qualificationCommands.h"
#include "resources/format.h"
#include "resources/qualificationTexts.h"

namespace zqar {

namespace {

std::optional<std::string> checkEvent(const std::string &argument) {
    if (!readEvent(argument))
        return text::format(text::EVENT_FORMAT_MESSAGE, argument);
    return std::nullopt;
}

std::optional<std::string> checkPhaseName(const std::string &name) {
    if (trimmed(name).empty())
        return std::string("--exclude-phase takes the name of a phase");
    return std::nullopt;
}

} // namespace

void registerQualificationOptions(BatchTool &tool) {
    tool.addOption(checkedOption("--event", "KIND@TIME",
                                 "add an event: door-open, door-closed, power-off, power-on, "
                                 "phase-start:NAME or phase-end:NAME at a time (repeatable)",
                                 checkEvent, [](BatchTool &t, const std::string &argument) {
                                     addEvent(t.window.job, *readEvent(argument));
                                 }));
    tool.addOption({"--events", "FILE.csv", "add the events of a Time,Event,Note CSV file",
                    [](BatchTool &t, const std::string &file) -> std::optional<std::string> {
                        t.noteOutcome(addEventsFile(t.window.job, t.host, file));
                        return std::nullopt;
                    }});
    tool.addOption(checkedOption("--exclude-phase", "NAME",
                                 "leave the readings of the phase out of the statistics, maps, "
                                 "spots and qualification figures (repeatable)",
                                 checkPhaseName, [](BatchTool &t, const std::string &name) {
                                     setPhaseExcluded(t.window.job, trimmed(name), true);
                                 }));
    tool.addOption(calculationFileOption(
        "--qualification-csv",
        "the qualification figures over the stable window and each position's mean, spread and "
        "deviations as CSV",
        calculateQualification,
        [](BatchTool &t, const QualificationRun &run, const std::string &file) {
            return writeQualificationCsv(t.host, run.qualification, file);
        }));
    tool.addOption(calculationFileOption(
        "--events-csv",
        "every event with its recovery or hold time within the Statistics limits as CSV",
        calculateEventFigures,
        [](BatchTool &t, const EventFiguresRun &run, const std::string &file) {
            return writeEventFiguresCsv(t.host, run.outcomes, file);
        }));
}

} // namespace zqar
