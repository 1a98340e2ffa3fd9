#include "pages/presentation/reportManifest.h"

#include "core/analysis/statisticsCsv.h"
#include "core/job/Job.h"
#include "pages/analysis/statisticsCommands.h"
#include "resources/programVersion.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

namespace zqar {

namespace {

std::string fileNameOf(const std::string &path) {
    return std::filesystem::path(path).filename().string();
}

} // namespace

JobSources jobSources(const Job &job) {
    JobSources found;
    std::vector<std::string> paths; // each file once, in the order met
    job.loggerArray.forEachPlaced([&paths](const LogFile &record) {
        const std::string path = record.fileName.str();
        if (std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(path);
    });
    if (!job.reportPath.empty()) {
        ManifestSource report;
        report.name = fileNameOf(job.reportPath);
        report.role = SourceRole::Report;
        report.size = job.reportDigest.size;
        report.sha256 = job.reportDigest.sha256;
        for (const std::string &path : paths)
            found.sources.push_back(
                sourceTakenFromReport(fileNameOf(path), SourceRole::LogFile, report));
        return found;
    }
    for (const std::string &path : paths) {
        std::optional<ManifestSource> source = describeSource(path, SourceRole::LogFile);
        if (!source) {
            found.unreadable = path;
            return found;
        }
        found.sources.push_back(std::move(*source));
    }
    return found;
}

std::vector<std::string> resultTexts(const Job &, const JobSettings &, const StatisticsRun &run) {
    return {statisticsCsv(run.statistics)};
}

Manifest reportManifest(std::vector<ManifestSource> sources, std::string settingsText,
                        const std::vector<std::string> &results) {
    const std::vector<std::string_view> texts(results.begin(), results.end());
    return makeManifest(std::move(sources), std::move(settingsText), resultsText(texts),
                        std::string(text::PROGRAM_VERSION));
}

} // namespace zqar
