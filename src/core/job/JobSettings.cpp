#include "core/job/JobSettings.h"

#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/data/timeUnits.h"
#include "core/data/trimmed.h"
#include "core/job/Job.h"

#include <cmath>

namespace zqar {

std::optional<double> readTimeSetting(std::string_view text) { return parseDateTime(text); }

std::optional<double> readIntervalSetting(std::string_view minutesText) {
    const double interval = readDecimal(minutesText) * DAYS_PER_MINUTE;
    // An infinite interval ("1e999") is refused with the others: it would make one set whose
    // window has no end.
    if (!(interval > 0.0) || !std::isfinite(interval))
        return std::nullopt;
    return interval;
}

ContourSettings contourSettings(const DataFilterSettings &dataFilter,
                                const LayoutSettings &layout) {
    ContourSettings settings;
    settings.bands.minimum = dataFilter.minimumTemperature;
    settings.bands.maximum = dataFilter.maximumTemperature;
    settings.bands.spacing = dataFilter.contourSpacing;
    if (settings.bands.spacing == 0.0)
        settings.bands.spacing = 1.0;
    settings.showSingularAsText = dataFilter.showSingularAsText;
    settings.inset = layout.loggersOnBoundary ? 0 : 1;
    settings.rowSpacing = layout.rowSpacing;
    if (!(settings.rowSpacing > 0.0))
        settings.rowSpacing = 1.0;
    settings.columnSpacing = layout.columnSpacing;
    if (!(settings.columnSpacing > 0.0))
        settings.columnSpacing = 1.0;
    return settings;
}

SettingsReading readStatisticsSettings(const Job &job) {
    return readStatisticsSettings(job.setting(JobSetting::LowerLimit),
                                  job.setting(JobSetting::UpperLimit),
                                  job.setting(JobSetting::ActivationEnergy));
}

QualificationSettingsReading readQualificationSettings(const Job &job) {
    return readQualificationSettings(
        job.setting(JobSetting::SetPoint), job.setting(JobSetting::Tolerance),
        job.setting(JobSetting::StableStart), job.setting(JobSetting::StableFinish),
        job.setting(JobSetting::ReferencePosition));
}

bool hasQualificationSettings(const Job &job) {
    for (const JobSetting setting :
         {JobSetting::SetPoint, JobSetting::Tolerance, JobSetting::StableStart,
          JobSetting::StableFinish, JobSetting::ReferencePosition})
        if (!trimmed(job.setting(setting)).empty())
            return true;
    return false;
}

ThresholdReading readMapCheckThreshold(const Job &job) {
    ThresholdReading reading;
    const std::string &text = job.setting(JobSetting::MapCheckThreshold);
    if (text.empty())
        return reading;
    const DecimalRead read = readDecimalPrefix(text);
    if (!read.found || !(read.value >= 0.0) || !std::isfinite(read.value))
        reading.wrong = true;
    else
        reading.threshold = read.value;
    return reading;
}

MktWindowReading readMktWindow(const Job &job) {
    return readMktWindow(job.setting(JobSetting::MktWindow));
}

DataCheckSettingsReading readDataCheckSettings(const Job &job) {
    return readDataCheckSettings(job.setting(JobSetting::PlausibleLow),
                                 job.setting(JobSetting::PlausibleHigh),
                                 job.setting(JobSetting::PlausibleJump));
}

ImportSettingsReading readImportSettings(const Job &job) {
    return readImportSettings(
        job.setting(JobSetting::ImportDateOrder), job.setting(JobSetting::ImportDecimal),
        job.setting(JobSetting::ImportUnit), job.setting(JobSetting::ImportUtcOffset));
}

} // namespace zqar
