#pragma once
// The Data Filter tab: the analysis and graph settings in its controls and the two set
// calculations over the job's records. Its report buttons (Load Report, Create Report) are
// bound by the window that owns the pages, since a report fills every page.

#include "core/job/JobSettings.h"
#include "platform/CommandOutcome.h"
#include "platform/Page.h"
#include "resources/controlIds.h"

#include <optional>
#include <string>
#include <string_view>

namespace zqar {

class Job;
class TemperatureSet;
struct Prefill;

namespace platform {
class Host;
class Progress;
} // namespace platform

class DataFilterPage : public platform::Page, public DataFilterControls {
public:
    DataFilterPage(Job &job, platform::Host &host);

    Job &job;
    platform::Host &host;

    // The page's settings as its controls hold them now.
    DataFilterSettings settings() const;
    // What Load Files found: the span every record covers (when one was found), an interval of
    // 30 minutes, the temperature range (when one was found) and a contour spacing.
    void applyPrefill(const Prefill &prefill);

    CommandOutcome calculateAtTime();
    // The sets are made aside and replace the job's only when all are made: a cancel leaves
    // the job's sets and the status line as they were, and the status line then says so.
    CommandOutcome calculateAveraged();
    CommandOutcome calculateAveraged(platform::Progress &progress);

private:
    void fillSet(TemperatureSet &set, double time, double window) const;
    void showStatus(int count);
    std::string statusText; // kept, so a status per set made allocates nothing
};

} // namespace zqar
