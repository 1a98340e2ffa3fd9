// The change log of the window: what the user changed between two commands, found by comparing
// every setting and layout cell with what the last command saw, rather than by watching each
// control, so a change counts however it was made (typed, --set, --cell, a radio button).

#include "app/MainWindow.h"
#include "core/integrity/ChangeLog.h"
#include "core/job/jobInputs.h"
#include "platform/Host.h"
#include "resources/format.h"
#include "resources/integrityTexts.h"
#include "resources/strings.h"

#include <cstddef>
#include <map>

namespace zqar {

namespace {

// The fields asked about in one prompt; a longer list ends with MORE_FIELDS.
constexpr std::size_t PROMPT_FIELDS = 6;

struct FieldChange {
    std::string field;
    std::string oldValue;
    std::string newValue;
};

// What a value that is not there stands for: a layout cell that a shrinking or growing layout
// took away or added holds no logger, a setting nothing.
std::string absentValue(const std::string &name) {
    return findSetting(name) ? std::string() : std::string(text::NO_LOGGER);
}

// The values that differ, in the order of the new list, then those that are gone.
std::vector<FieldChange> differences(const std::vector<SettingValue> &before,
                                     const std::vector<SettingValue> &after) {
    std::map<std::string, const std::string *> old;
    for (const SettingValue &value : before)
        old.emplace(value.name, &value.value);
    std::vector<FieldChange> changes;
    for (const SettingValue &value : after) {
        const auto found = old.find(value.name);
        const std::string previous = found == old.end() ? absentValue(value.name) : *found->second;
        if (found != old.end())
            old.erase(found);
        if (previous != value.value)
            changes.push_back(FieldChange{value.name, previous, value.value});
    }
    for (const SettingValue &value : before)
        if (old.count(value.name) != 0 && value.value != absentValue(value.name))
            changes.push_back(FieldChange{value.name, value.value, absentValue(value.name)});
    return changes;
}

std::string fieldList(const std::vector<FieldChange> &changes) {
    std::string list;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (i > 0)
            list += text::FIELD_SEPARATOR;
        if (i == PROMPT_FIELDS) {
            list += text::MORE_FIELDS;
            break;
        }
        list += changes[i].field;
    }
    return list;
}

} // namespace

std::vector<SettingValue> MainWindow::currentSettingValues(SettingChoice choice) {
    if (!fileSelectionPage.isCreated() || !dataFilterPage.isCreated())
        return {};
    return settingValues(settingPlaces(), fileSelectionPage, choice);
}

std::string MainWindow::manifestSettingsText() {
    return manifestSettingsText(recordedInputsOf(job));
}

std::string MainWindow::manifestSettingsText(const RecordedInputs &recorded) {
    std::vector<SettingValue> values = currentSettingValues(SettingChoice::ChangingNumbers);
    if (values.empty())
        return {};
    const std::vector<SettingValue> inputs = recordedInputValues(recorded);
    values.insert(values.end(), inputs.begin(), inputs.end());
    return settingsText(values);
}

void MainWindow::countChangesFromHere() {
    recordedValues = currentSettingValues(SettingChoice::All);
}

void MainWindow::recordChanges() {
    if (recording)
        return;
    std::vector<SettingValue> now = currentSettingValues(SettingChoice::All);
    if (now.empty())
        return;
    const std::vector<FieldChange> changes = differences(recordedValues, now);
    recordedValues = std::move(now);
    if (changes.empty())
        return;
    std::string reason = changeReason.value_or(std::string());
    if (!changeReason && flagIsSet(job.setting(JobSetting::ControlledStudy))) {
        // The dialog lets other commands run; they find these changes counted already.
        recording = true;
        reason = platformHost
                     .askText(std::string(text::CHANGE_REASON_TITLE),
                              text::format(text::CHANGE_REASON_PROMPT, fieldList(changes)))
                     .value_or(std::string());
        recording = false;
    }
    for (const FieldChange &change : changes)
        appendChange(job.changeLog,
                     changeNow(change.field, change.oldValue, change.newValue, reason));
    job.changed(JobChange::CHANGE_LOG);
}

} // namespace zqar
