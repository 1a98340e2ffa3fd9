#pragma once
// What a view of the job is given by the window that owns the pages: the job itself (to read
// and to listen to), the host for its dialogs and message boxes, a way to read every page's
// settings at the moment a command runs, and a way to make a set current on the Graph and
// Matrix tabs. Views take this instead of the window or another page.

#include "core/job/Job.h"
#include "core/job/JobSettings.h"

#include <functional>
#include <string>

namespace zqar {

namespace platform {
class Host;
}

struct JobView {
    Job &job;
    platform::Host &host;
    std::function<JobSettings()> readSettings;
    // Makes the set at an index current through both display pages, as their set buttons do.
    std::function<void(int index)> showSet;
    // The text of the settings that change a figure, as a report's manifest records it.
    std::function<std::string()> settingsText = nullptr;
    // Appends what the user changed since the last command to the job's change log (asking
    // for a reason in a controlled study); a view's command calls it before it runs.
    std::function<void()> recordChanges = nullptr;
    // Takes the settings edited since the last step as a step Undo can go back from; a view
    // calls it when the user has finished an edit.
    std::function<void()> noteEdits = nullptr;
};

} // namespace zqar
