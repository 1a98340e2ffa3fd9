#include "core/job/Job.h"

#include "core/analysis/statistics.h"

#include <algorithm>

namespace zqar {

Job::Job() {
    settings[static_cast<std::size_t>(JobSetting::ActivationEnergy)] = DEFAULT_ACTIVATION_ENERGY;
}

const std::string &Job::setting(JobSetting which) const {
    return settings[static_cast<std::size_t>(which)];
}

void Job::setSetting(JobSetting which, std::string_view text) {
    std::string &kept = settings[static_cast<std::size_t>(which)];
    if (kept == text)
        return;
    kept = text;
    changed(JobChange::SETTINGS);
}

void Job::setCalibration(CalibrationTable table, InputFile file) {
    calibrationTable = std::make_unique<CalibrationTable>(std::move(table));
    calibrationSource = std::move(file);
    changed(JobChange::CALIBRATION);
}

void Job::clearCalibration() {
    calibrationTable.reset();
    calibrationSource = InputFile{};
    changed(JobChange::CALIBRATION);
}

const LoggerArray &Job::analysisArray() const {
    if (!calibrationTable)
        return loggerArray;
    if (!corrected)
        corrected = std::make_unique<LoggerArray>(correctedArray(loggerArray, *calibrationTable));
    return *corrected;
}

void Job::setCurrentSet(int index) {
    if (index < 0 || index >= setList.count() || index == setList.currentSet)
        return;
    setList.currentSet = index;
    changed(JobChange::CURRENT_SET);
}

int Job::listen(Listener listener) {
    const int key = nextKey++;
    listeners.emplace_back(key, std::move(listener));
    return key;
}

void Job::stopListening(int key) {
    listeners.erase(std::remove_if(listeners.begin(), listeners.end(),
                                   [key](const auto &entry) { return entry.first == key; }),
                    listeners.end());
}

void Job::changed(unsigned what) {
    const JobChange change{what};
    if (change.touches(JobChange::RECORDS | JobChange::LAYOUT | JobChange::CALIBRATION))
        corrected.reset();
    for (const auto &entry : listeners)
        entry.second(change);
}

} // namespace zqar
