#include "pages/layout/settingValues.h"

#include "core/data/caseless.h"
#include "core/data/projectFormat.h"
#include "core/job/Job.h"
#include "pages/layout/FileSelectionPage.h"
#include "platform/ListView.h"

#include <map>
#include <string>

namespace zqar {

namespace {

constexpr int SERIAL_COLUMN = 1; // the singular table's serial-number column

} // namespace

std::vector<SettingValue> settingValues(const SettingPlaces &places, FileSelectionPage &page,
                                        SettingChoice choice) {
    std::vector<SettingValue> values;
    for (const Setting &setting : SETTINGS) {
        if (choice == SettingChoice::ChangingNumbers && !setting.changesNumbers)
            continue;
        std::string value = readSetting(places, setting);
        if (choice == SettingChoice::ChangingNumbers && !setting.recordedWhenEmpty && value.empty())
            continue;
        values.push_back(SettingValue{std::string(setting.name), std::move(value)});
    }
    // The tables match the dimensions of the last Update Layout, whatever the count texts
    // were typed to since.
    const ArrayDimensions counts = page.job.loggerArray.dimensions();
    platform::ListView &arrayList = page.arrayLayoutList();
    for (int r = 1; r <= counts.rows; ++r)
        for (int c = 1; c <= counts.columns; ++c)
            values.push_back(SettingValue{cellKey(r, c), arrayList.itemText(r, c)});
    platform::ListView &singularList = page.singularLayoutList();
    for (int i = 0; i < counts.singularCount; ++i)
        values.push_back(SettingValue{singularKey(i), singularList.itemText(i, SERIAL_COLUMN)});
    return values;
}

void applySettingValues(const SettingPlaces &places, SettingPage page,
                        const std::vector<SettingValue> &values) {
    for (const SettingValue &value : values)
        if (const Setting *setting = findSetting(value.name); setting && setting->page == page)
            writeSetting(places, *setting, value.value);
}

void applyCellValues(FileSelectionPage &page, const std::vector<SettingValue> &values) {
    std::map<std::string, const std::string *> byKey;
    for (const SettingValue &value : values)
        byKey.emplace(lowerCase(value.name), &value.value);
    const auto find = [&byKey](const std::string &key) -> const std::string * {
        const auto found = byKey.find(lowerCase(key));
        return found == byKey.end() ? nullptr : found->second;
    };
    const ArrayDimensions counts = page.job.loggerArray.dimensions();
    platform::ListView &arrayList = page.arrayLayoutList();
    for (int r = 1; r <= counts.rows; ++r)
        for (int c = 1; c <= counts.columns; ++c)
            if (const std::string *text = find(cellKey(r, c)))
                arrayList.setItemText(r, c, *text);
    platform::ListView &singularList = page.singularLayoutList();
    for (int i = 0; i < counts.singularCount; ++i)
        if (const std::string *text = find(singularKey(i)))
            singularList.setItemText(i, SERIAL_COLUMN, *text);
}

EditState editState(const SettingPlaces &places, FileSelectionPage &page) {
    return EditState{page.job.loggerArray.dimensions(),
                     settingValues(places, page, SettingChoice::All)};
}

void restoreEditState(const SettingPlaces &places, FileSelectionPage &page,
                      const EditState &state) {
    const ArrayDimensions now = page.job.loggerArray.dimensions();
    const ArrayDimensions &wanted = state.dimensions;
    if (now.rows != wanted.rows || now.columns != wanted.columns ||
        now.singularCount != wanted.singularCount) {
        // The counts as numbers for Update Layout; the texts the state holds go in after.
        platform::Dialog &dialog = page.dialog();
        dialog.setText(FileSelectionPage::NUMBER_OF_ROWS, std::to_string(wanted.rows));
        dialog.setText(FileSelectionPage::NUMBER_OF_COLUMNS, std::to_string(wanted.columns));
        dialog.setText(FileSelectionPage::NUMBER_OF_SINGULAR, std::to_string(wanted.singularCount));
        page.updateLayout();
    }
    for (const SettingPage settingPage :
         {SettingPage::FileSelection, SettingPage::DataFilter, SettingPage::Statistics})
        applySettingValues(places, settingPage, state.values);
    applyCellValues(page, state.values);
}

bool differInSavedValues(const EditState &a, const EditState &b) {
    const auto saved = [](const EditState &state) {
        std::vector<SettingValue> values;
        for (const SettingValue &value : state.values) {
            const Setting *setting = findSetting(value.name);
            if (!setting || setting->page != SettingPage::Statistics)
                values.push_back(value);
        }
        return EditState{state.dimensions, std::move(values)};
    };
    return saved(a) != saved(b);
}

} // namespace zqar
