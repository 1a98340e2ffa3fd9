#include "pages/presentation/reportManifest.h"

#include "core/analysis/alarms.h"
#include "core/analysis/eventFigures.h"
#include "core/analysis/qualificationCsv.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/caseless.h"
#include "core/data/parallelInOrder.h"
#include "core/job/Job.h"
#include "pages/analysis/qualificationCommands.h"
#include "pages/analysis/statisticsCommands.h"
#include "resources/fileTexts.h"
#include "resources/programVersion.h"

#include <filesystem>
#include <string_view>
#include <unordered_set>
#include <utility>

namespace zqar {

namespace {

std::string fileNameOf(const std::string &path) {
    return std::filesystem::path(path).filename().string();
}

// Load Files places only ".dta" files; a record of any other file came from Import.
SourceRole recordRole(const std::string &path) {
    const std::string_view extension = text::LOG_FILE_EXTENSION;
    const bool logFile =
        path.size() >= extension.size() &&
        equalIgnoringCase(std::string_view(path).substr(path.size() - extension.size()), extension);
    return logFile ? SourceRole::LogFile : SourceRole::Import;
}

// A calibration or events file as the job read it.
ManifestSource inputSource(const InputFile &file, SourceRole role) {
    ManifestSource source;
    source.name = fileNameOf(file.path);
    source.role = role;
    source.size = file.digest.size;
    source.sha256 = file.digest.sha256;
    return source;
}

// The files the placed records came from, each once in the order of the array; false with the
// path of one that cannot be read again.
bool addRecordSources(const Job &job, JobSources &found) {
    std::vector<std::string> paths; // each file once, in the order met
    std::unordered_set<std::string> met;
    job.loggerArray.forEachPlaced([&paths, &met](const LogFile &record) {
        std::string path = record.fileName.str();
        if (met.insert(path).second)
            paths.push_back(std::move(path));
    });
    if (!job.reportPath.empty()) {
        ManifestSource report;
        report.name = fileNameOf(job.reportPath);
        report.role = SourceRole::Report;
        report.size = job.reportDigest.size;
        report.sha256 = job.reportDigest.sha256;
        for (const std::string &path : paths)
            found.sources.push_back(
                sourceTakenFromReport(fileNameOf(path), recordRole(path), report));
        return true;
    }
    // Reading and hashing every file is most of the work; the cores share it.
    parallelInOrder<std::optional<ManifestSource>>(
        paths.size(), 0,
        [&paths](std::size_t i) { return describeSource(paths[i], recordRole(paths[i])); },
        [&paths, &found](std::size_t i, std::optional<ManifestSource> source) {
            if (!found.unreadable.empty())
                return;
            if (source)
                found.sources.push_back(std::move(*source));
            else
                found.unreadable = paths[i];
        });
    return found.unreadable.empty();
}

} // namespace

JobSources jobSources(const Job &job) {
    JobSources found;
    if (!addRecordSources(job, found))
        return found;
    if (job.calibration())
        found.sources.push_back(inputSource(job.calibrationInput(), SourceRole::Calibration));
    for (const InputFile &file : job.eventsFiles)
        found.sources.push_back(inputSource(file, SourceRole::Events));
    return found;
}

std::vector<std::string> resultTexts(const Job &job, const JobSettings &,
                                     const StatisticsRun &run) {
    // The statistics, then the qualification figures, the alarms and the events' figures where
    // the job has them, each as its batch option writes it.
    std::vector<std::string> texts{statisticsCsv(run.statistics)};
    if (hasQualificationSettings(job)) {
        const Qualification qualification =
            qualificationOver(job, run.statistics.start, run.statistics.finish);
        if (qualification.problem == QualificationProblem::None)
            texts.push_back(qualificationCsv(qualification));
    }
    if (!job.alarmRules.empty())
        texts.push_back(alarmsCsv(run.alarms, job.alarmRules));
    if (!job.events.empty())
        texts.push_back(eventFiguresCsv(
            eventOutcomes(job.loggerArray, job.events, run.statistics.finish, run.settings)));
    return texts;
}

Manifest reportManifest(std::vector<ManifestSource> sources, std::string settingsText,
                        const std::vector<std::string> &results) {
    const std::vector<std::string_view> texts(results.begin(), results.end());
    return makeManifest(std::move(sources), std::move(settingsText), resultsText(texts),
                        std::string(text::PROGRAM_VERSION));
}

} // namespace zqar
