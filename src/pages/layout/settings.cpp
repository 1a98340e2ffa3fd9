#include "pages/layout/settings.h"

#include "core/data/caseless.h"
#include "core/data/projectFormat.h"
#include "core/data/reportFile.h"
#include "core/job/Job.h"
#include "pages/analysis/DataFilterPage.h"
#include "pages/layout/FileSelectionPage.h"
#include "resources/strings.h"
#include "resources/templates.h"

namespace zqar {

namespace {
using FS = FileSelectionPage;
using DF = DataFilterPage;
constexpr SettingPage FILE_SELECTION = SettingPage::FileSelection;
constexpr SettingPage DATA_FILTER = SettingPage::DataFilter;
constexpr SettingPage STATISTICS = SettingPage::Statistics;
constexpr SettingKind TEXT = SettingKind::Text;
constexpr SettingKind FLAG = SettingKind::Flag;
// What a report's manifest records of a setting.
constexpr bool FIGURES = true;
constexpr bool NO_FIGURES = false;
constexpr bool ALWAYS_RECORDED = true;
constexpr bool RECORDED_WHEN_SET = false;

// A setting the job keeps, shown on the Statistics page.
constexpr Setting jobSetting(std::string_view name, JobSetting setting, SettingKind kind = TEXT,
                             bool changesNumbers = FIGURES,
                             bool recordedWhenEmpty = ALWAYS_RECORDED) {
    return {name, STATISTICS,     static_cast<int>(setting), kind, 0,
            "",   changesNumbers, recordedWhenEmpty};
}
} // namespace

// ProjectDescription's default is "2": it always shared the default text of NumberOfSingular,
// and older projects rely on it.
const Setting SETTINGS[SETTING_COUNT] = {
    {"Directory", FILE_SELECTION, FS::DIRECTORY, TEXT, 0, "", false},
    {PROJECT_ROWS_KEY, FILE_SELECTION, FS::NUMBER_OF_ROWS, TEXT, 0, "6"},
    {PROJECT_COLUMNS_KEY, FILE_SELECTION, FS::NUMBER_OF_COLUMNS, TEXT, 0, "4"},
    {"RowSpacing", FILE_SELECTION, FS::ROW_SPACING, TEXT, 0, "1"},
    {"ColumnSpacing", FILE_SELECTION, FS::COLUMN_SPACING, TEXT, 0, "1"},
    {PROJECT_SINGULAR_KEY, FILE_SELECTION, FS::NUMBER_OF_SINGULAR, TEXT, 0, "2"},
    {"UseCommentField", FILE_SELECTION, FS::USE_COMMENT_FIELD, SettingKind::RadioPair,
     FS::USE_SERIAL_NUMBERS, "Y"},
    {"LoggersOnBoundary", FILE_SELECTION, FS::LOGGERS_ON_BOUNDARY, FLAG, 0, "Y"},
    {"ProjectDescription", FILE_SELECTION, FS::PROJECT_DESCRIPTION, TEXT, 0, "2", false},
    {"ProjectNumber", FILE_SELECTION, FS::PROJECT_NUMBER, TEXT, 0, ""},
    {"ProjectDate", FILE_SELECTION, FS::PROJECT_DATE, TEXT, 0, ""},
    {"timeText", DATA_FILTER, DF::TIME, TEXT, 0, ""},
    {"startTimeText", DATA_FILTER, DF::START_TIME, TEXT, 0, ""},
    {"finishTimeText", DATA_FILTER, DF::FINISH_TIME, TEXT, 0, ""},
    {"averagingIntervalText", DATA_FILTER, DF::AVERAGING_INTERVAL, TEXT, 0, ""},
    {"minimumTemperatureText", DATA_FILTER, DF::MINIMUM_TEMPERATURE, TEXT, 0, ""},
    {"maximumTemperatureText", DATA_FILTER, DF::MAXIMUM_TEMPERATURE, TEXT, 0, ""},
    {"contourSpacingText", DATA_FILTER, DF::CONTOUR_SPACING, TEXT, 0, ""},
    {"showSingularAsText", DATA_FILTER, DF::SHOW_SINGULAR_AS_TEXT, FLAG, 0, ""},
    jobSetting("lowerLimitText", JobSetting::LowerLimit),
    jobSetting("upperLimitText", JobSetting::UpperLimit),
    jobSetting("activationEnergyText", JobSetting::ActivationEnergy),
    jobSetting("setPointText", JobSetting::SetPoint),
    jobSetting("toleranceText", JobSetting::Tolerance),
    jobSetting("stableStartText", JobSetting::StableStart),
    jobSetting("stableFinishText", JobSetting::StableFinish),
    jobSetting("referencePositionText", JobSetting::ReferencePosition),
    jobSetting("preparedByText", JobSetting::PreparedBy, TEXT, NO_FIGURES),
    jobSetting("reviewedByText", JobSetting::ReviewedBy, TEXT, NO_FIGURES),
    jobSetting("approvedByText", JobSetting::ApprovedBy, TEXT, NO_FIGURES),
    jobSetting("controlledStudy", JobSetting::ControlledStudy, FLAG, NO_FIGURES),
    jobSetting("mapCheckThresholdText", JobSetting::MapCheckThreshold),
    jobSetting("mktWindowText", JobSetting::MktWindow),
    jobSetting("plausibleLowText", JobSetting::PlausibleLow),
    jobSetting("plausibleHighText", JobSetting::PlausibleHigh),
    jobSetting("plausibleJumpText", JobSetting::PlausibleJump),
    jobSetting("importDateOrderText", JobSetting::ImportDateOrder, TEXT, FIGURES,
               RECORDED_WHEN_SET),
    jobSetting("importDecimalText", JobSetting::ImportDecimal, TEXT, FIGURES, RECORDED_WHEN_SET),
    jobSetting("importUnitText", JobSetting::ImportUnit, TEXT, FIGURES, RECORDED_WHEN_SET),
    jobSetting("importUtcOffsetText", JobSetting::ImportUtcOffset, TEXT, FIGURES,
               RECORDED_WHEN_SET),
};

// Report field 1 is the identification; every other field is a setting.
static_assert(REPORT_SETTING_COUNT + 1 == REPORT_FIELD_COUNT);

const Setting *findSetting(std::string_view name) {
    for (const Setting &setting : SETTINGS)
        if (equalIgnoringCase(setting.name, name))
            return &setting;
    return nullptr;
}

std::vector<ProjectKey> projectKeys() {
    std::vector<ProjectKey> keys;
    for (const Setting &setting : SETTINGS)
        if (inProject(setting))
            keys.push_back(ProjectKey{setting.name, setting.projectDefault});
    return keys;
}

bool flagIsSet(std::string_view stored) {
    return !stored.empty() && stored.front() == text::FLAG_YES.front();
}

std::string_view flagText(bool set) { return set ? text::FLAG_YES : text::FLAG_NO; }

void checkRadio(platform::Dialog &dialog, int id, int partner, bool checked) {
    dialog.setChecked(id, checked);
    dialog.setChecked(partner, !checked);
}

std::string readSetting(const platform::Dialog &dialog, const Setting &setting) {
    if (setting.kind == SettingKind::Text)
        return dialog.text(setting.control);
    return std::string(flagText(dialog.isChecked(setting.control)));
}

void writeSetting(platform::Dialog &dialog, const Setting &setting, std::string_view stored) {
    switch (setting.kind) {
    case SettingKind::Text:
        dialog.setText(setting.control, stored);
        break;
    case SettingKind::Flag:
        dialog.setChecked(setting.control, flagIsSet(stored));
        break;
    case SettingKind::RadioPair:
        checkRadio(dialog, setting.control, setting.partner, flagIsSet(stored));
        break;
    }
}

std::string readSetting(const SettingPlaces &places, const Setting &setting) {
    switch (setting.page) {
    case SettingPage::FileSelection:
        return readSetting(places.fileSelection, setting);
    case SettingPage::DataFilter:
        return readSetting(places.dataFilter, setting);
    case SettingPage::Statistics:
        break;
    }
    return places.job.setting(static_cast<JobSetting>(setting.control));
}

void writeSetting(const SettingPlaces &places, const Setting &setting, std::string_view stored) {
    switch (setting.page) {
    case SettingPage::FileSelection:
        writeSetting(places.fileSelection, setting, stored);
        return;
    case SettingPage::DataFilter:
        writeSetting(places.dataFilter, setting, stored);
        return;
    case SettingPage::Statistics:
        break;
    }
    places.job.setSetting(static_cast<JobSetting>(setting.control), stored);
}

} // namespace zqar
