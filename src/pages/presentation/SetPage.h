#pragma once
// A tab that shows the job's calculated sets one at a time (the Graph and the Matrix): the set
// buttons move through them with the page's navigator, and the page shows the current set in
// showCurrentSet. The main window owns the pages; the job and the host outlive them.

#include "core/job/JobSettings.h"
#include "pages/presentation/SetNavigator.h"
#include "platform/Page.h"

#include <functional>

namespace zqar {

class Job;

namespace platform {
class Host;
}

class SetPage : public platform::Page {
public:
    Job &job;
    platform::Host &host;
    SetNavigator navigator; // shows the current set anew after a move

    // The status line, the buttons and the set itself for the current set: when the tab is
    // chosen, after a move and when the sets change while the page shows.
    virtual void showCurrentSet() = 0;
    // The set buttons off, while Load Files empties the sets.
    void disableNavigation();

protected:
    // readSettings gives every page's settings at the moment the page shows a set.
    SetPage(int templateId, Job &job, platform::Host &host,
            std::function<JobSettings()> readSettings);

    std::function<JobSettings()> readSettings;
};

} // namespace zqar
