#pragma once
// What a mapping report records of where it came from: the job's source files, the result
// texts, and the manifest made of them with the settings text (core/integrity/Manifest.h).
// Checking a report recomputes the same texts through these functions.

#include "core/integrity/Manifest.h"

#include <string>
#include <vector>

namespace zqar {

class Job;
struct JobSettings;
struct StatisticsRun;

struct JobSources {
    std::vector<ManifestSource> sources;
    std::string unreadable; // the path of a log file that could not be read again; empty: none
};

// The files the placed records came from, in the order of the array (cells row by row, then
// the singular slots), each file once: the log files as they are now, or for records Load
// Report placed, each log file named as taken from that report file (hashed when it was read).
// A record's file with an import's name (isImportFileName) is an import. Then the calibration
// file of the table in use and the events files, in the order read, as they were read.
JobSources jobSources(const Job &job);

// The result texts of a report in their order, each exactly as the batch tool writes its
// file: the statistics CSV, then the qualification, alarms and events CSVs where the job has
// qualification settings, alarm rules or events.
std::vector<std::string> resultTexts(const Job &job, const JobSettings &settings,
                                     const StatisticsRun &run);

// The manifest of a report made now by this program.
Manifest reportManifest(std::vector<ManifestSource> sources, std::string settingsText,
                        const std::vector<std::string> &results);

} // namespace zqar
