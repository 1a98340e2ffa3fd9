#include "core/job/JobSettings.h"

#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/data/timeUnits.h"
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

MktWindowReading readMktWindow(const Job &job) {
    return readMktWindow(job.setting(JobSetting::MktWindow));
}

DataCheckSettingsReading readDataCheckSettings(const Job &job) {
    return readDataCheckSettings(job.setting(JobSetting::PlausibleLow),
                                 job.setting(JobSetting::PlausibleHigh),
                                 job.setting(JobSetting::PlausibleJump));
}

} // namespace zqar
