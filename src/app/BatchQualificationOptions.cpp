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
    BatchOption event{"--event", "KIND@TIME",
                      "add an event: door-open, door-closed, power-off, power-on, "
                      "phase-start:NAME or phase-end:NAME at a time (repeatable)",
                      [](BatchTool &t, const std::string &argument) -> std::optional<std::string> {
                          if (auto error = checkEvent(argument))
                              return error;
                          addEvent(t.window.job, *readEvent(argument));
                          return std::nullopt;
                      }};
    event.check = checkEvent;
    tool.addOption(std::move(event));
    tool.addOption({"--events", "FILE.csv", "add the events of a Time,Event,Note CSV file",
                    [](BatchTool &t, const std::string &file) -> std::optional<std::string> {
                        t.noteOutcome(addEventsFile(t.window.job, t.host, file));
                        return std::nullopt;
                    }});
    BatchOption exclude{"--exclude-phase", "NAME",
                        "leave the readings of the phase out of the statistics, maps, spots "
                        "and qualification figures (repeatable)",
                        [](BatchTool &t, const std::string &name) -> std::optional<std::string> {
                            if (auto error = checkPhaseName(name))
                                return error;
                            setPhaseExcluded(t.window.job, trimmed(name), true);
                            return std::nullopt;
                        }};
    exclude.check = checkPhaseName;
    tool.addOption(std::move(exclude));
    tool.addOption({"--qualification-csv", "FILE",
                    "the qualification figures over the stable window and each position's "
                    "mean, spread and deviations as CSV",
                    [](BatchTool &t, const std::string &file) -> std::optional<std::string> {
                        const QualificationRun run =
                            calculateQualification(t.window.job, t.window.settings(), t.host);
                        if (t.noteOutcome(run.outcome).kind == CommandOutcome::Kind::Completed)
                            t.noteOutcome(writeQualificationCsv(t.host, run.qualification, file));
                        return std::nullopt;
                    },
                    true});
    tool.addOption({"--events-csv", "FILE",
                    "every event with its recovery or hold time within the Statistics limits "
                    "as CSV",
                    [](BatchTool &t, const std::string &file) -> std::optional<std::string> {
                        const EventFiguresRun run =
                            calculateEventFigures(t.window.job, t.window.settings(), t.host);
                        if (t.noteOutcome(run.outcome).kind == CommandOutcome::Kind::Completed)
                            t.noteOutcome(writeEventFiguresCsv(t.host, run.outcomes, file));
                        return std::nullopt;
                    },
                    true});
}

} // namespace zqar
