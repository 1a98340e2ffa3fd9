#pragma once
// The settings that reports, projects and the batch tool's --set name, each declared once:
// its stored name, where it lives (a control of the File Selection or the Data Filter page, or
// the job for the Statistics window's settings), and how it is held there. A page's setting
// lives in its control and is read when a command runs; these helpers read and write it in
// the form the files store.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

class Job;
struct ProjectKey;

namespace platform {
class Dialog;
}

enum class SettingPage { FileSelection, DataFilter, Statistics };

enum class SettingKind {
    Text,      // the control's text
    Flag,      // a check box, stored as "Y" or "N"
    RadioPair, // a radio button, stored as "Y" when it is checked and "N" when its partner is
};

struct Setting {
    std::string_view name; // the project key and --set name: "NumberOfRows"
    SettingPage page;
    int control; // the control id; for a Statistics setting, its JobSetting
    SettingKind kind;
    int partner;                     // RadioPair: the button checked when this one is not
    std::string_view projectDefault; // a project's File Selection settings: for a missing key
    // The setting can change a figure of a result, so a report's manifest records it. Where
    // the files are, the titles and the signatures do not.
    bool changesNumbers = true;
    // The manifest records it only when it is not empty: a setting that only some jobs use
    // leaves the manifests of the others as they were, and an empty value is what a check
    // starts from anyway.
    bool recordedWhenEmpty = true;
};

// The first REPORT_SETTING_COUNT in the order of the report's fields 2 to 20; a project holds
// the File Selection settings, in the same order. The settings the job keeps (the Statistics
// window's, the signature block's names, whether the study is controlled) come last and are
// stored in neither file.
constexpr std::size_t REPORT_SETTING_COUNT = 19;
constexpr std::size_t SETTING_COUNT = REPORT_SETTING_COUNT + 21;
extern const Setting SETTINGS[SETTING_COUNT];

// The setting of that name, letter case aside; null for none.
const Setting *findSetting(std::string_view name);
inline bool inProject(const Setting &setting) { return setting.page == SettingPage::FileSelection; }
// The project keys with their defaults, in the order of the file.
std::vector<ProjectKey> projectKeys();

// Where the settings live: the controls of the two pages and the job.
struct SettingPlaces {
    platform::Dialog &fileSelection;
    platform::Dialog &dataFilter;
    Job &job;
};

// A stored flag is set when it starts with a capital Y.
bool flagIsSet(std::string_view stored);
std::string_view flagText(bool set); // "Y" or "N"
// Checks or clears a radio button, and gives its partner the other state.
void checkRadio(platform::Dialog &dialog, int id, int partner, bool checked);

// The setting as stored: the text, or "Y"/"N". The dialog holds the setting's control.
std::string readSetting(const platform::Dialog &dialog, const Setting &setting);
std::string readSetting(const SettingPlaces &places, const Setting &setting);
// Puts a stored value into the setting's control, or into the job.
void writeSetting(platform::Dialog &dialog, const Setting &setting, std::string_view stored);
void writeSetting(const SettingPlaces &places, const Setting &setting, std::string_view stored);

} // namespace zqar
