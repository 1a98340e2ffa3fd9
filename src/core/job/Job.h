#pragma once
// The job: the placed logger records, the sets of the last calculation with the one the graph
// and the matrix show, the calibration certificates, alarm rules and exclusions the figures
// are made with, and the settings that no page holds (the Statistics window's). The main
// window owns the one job; the pages, the windows and the batch tool change it through it and
// learn of every change through its listeners.

#include "core/analysis/SetList.h"
#include "core/analysis/alarms.h"
#include "core/analysis/calibration.h"
#include "core/analysis/exclusions.h"
#include "core/data/LoggerArray.h"
#include "core/data/events.h"
#include "core/integrity/ChangeLog.h"
#include "core/integrity/sha256.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

// What one change touched, as flags.
struct JobChange {
    static constexpr unsigned LAYOUT = 1;      // the array was shaped anew
    static constexpr unsigned RECORDS = 2;     // records were placed or taken away
    static constexpr unsigned SETS = 4;        // the set list was replaced or cleared
    static constexpr unsigned CURRENT_SET = 8; // another set became the current one
    static constexpr unsigned SETTINGS = 16;   // a setting the job keeps was changed
    static constexpr unsigned EVENTS = 32;     // the events or the excluded phases were changed
    static constexpr unsigned CHANGE_LOG = 64; // entries were appended, or the log replaced
    // The job was filled from files (a project, a report, log files): later changes are
    // counted from what it holds now.
    static constexpr unsigned OPENED = 128;
    static constexpr unsigned PROBES = 256;       // the number of probes asked for changed
    static constexpr unsigned CALIBRATION = 512;  // a calibration table was loaded or cleared
    static constexpr unsigned ALARM_RULES = 1024; // rules were added or removed
    static constexpr unsigned EXCLUSIONS = 2048;  // exclusions were added or removed

    unsigned what = 0;
    bool touches(unsigned flags) const { return (what & flags) != 0; }
};

// A file the job read an input from (the calibration table, events), with its size and SHA-256
// as it was read: a report names the bytes that were used even when the file changes later.
struct InputFile {
    std::string path; // as given
    FileDigest digest;
};

// The settings the job keeps as the user typed them. No file stores them; the Statistics
// window edits them and the batch tool's --set writes them. An empty MKT window computes no
// rolling MKT; an empty plausible setting keeps the data check's default.
enum class JobSetting : int {
    LowerLimit,
    UpperLimit,
    ActivationEnergy,
    SetPoint,
    Tolerance,
    StableStart,
    StableFinish,
    ReferencePosition,
    PreparedBy, // the signature block's printed names
    ReviewedBy,
    ApprovedBy,
    ControlledStudy,   // "Y": a change needs a reason
    MapCheckThreshold, // degrees; the Graph tab marks positions the gap filling misses by more
    MktWindow,
    PlausibleLow,
    PlausibleHigh,
    PlausibleJump,
    // How Import reads the tables whose layout does not tell: the date order ("", DMY, MDY,
    // YMD), the decimal mark ("", ".", ","), the unit of untitled columns ("", C, F) and the
    // UTC offset the times are moved to ("" or +hh:mm / -hh:mm).
    ImportDateOrder,
    ImportDecimal,
    ImportUnit,
    ImportUtcOffset,
    Count
};
constexpr std::size_t JOB_SETTING_COUNT = static_cast<std::size_t>(JobSetting::Count);

class Job {
public:
    using Listener = std::function<void(const JobChange &)>;

    Job();
    Job(const Job &) = delete;
    Job &operator=(const Job &) = delete;

    LoggerArray loggerArray;
    SetList setList; // setList.currentSet is the set the graph and the matrix show
    // The events of the run in the order they were given, and the names of the phases whose
    // readings the statistics leave out. Whoever changes them calls changed(JobChange::EVENTS).
    std::vector<Event> events;
    std::vector<std::string> excludedPhases;
    // The events files whose events were added to events, in the order read, for the report's
    // manifest. Events replaced wholesale (a project's) take them away.
    std::vector<InputFile> eventsFiles;

    // Who changed which setting when and why; project files keep it.
    ChangeLog changeLog;
    // The report file Load Report placed the records from, with its size and SHA-256 as it
    // was read; empty when the records came from log files, each naming its own
    // (LogFile::fileName).
    std::string reportPath;
    FileDigest reportDigest;
    // The monitoring probes the user last asked to have suggested, 0 for none: the mapping
    // report then lists that many for its own statistics.
    int probeCount = 0;
    // The rules the statistics evaluate, in the order given; changes tell ALARM_RULES.
    std::vector<AlarmRule> alarmRules;
    // Stretches of readings the statistics leave out; changes tell EXCLUSIONS. They name
    // positions, so a new layout takes them away.
    std::vector<Exclusion> exclusions;

    // The calibration table in use and the file it was read from; null when none is loaded.
    const CalibrationTable *calibration() const { return calibrationTable.get(); }
    const std::string &calibrationFile() const { return calibrationSource.path; }
    const InputFile &calibrationInput() const { return calibrationSource; }
    // Both tell CALIBRATION.
    void setCalibration(CalibrationTable table, InputFile file);
    void clearCalibration();

    // The records as the sets, the statistics, the time series and the report read them:
    // loggerArray itself without a calibration table, else copies with corrected readings,
    // made on first use and kept until the records, the layout or the table change.
    const LoggerArray &analysisArray() const;

    const std::string &setting(JobSetting which) const;
    // Keeps the text and tells the listeners when it differs from the one kept.
    void setSetting(JobSetting which, std::string_view text);

    // Makes the set at index current (an index outside the list is left alone) and tells the
    // listeners when it moved.
    void setCurrentSet(int index);

    // Listeners are called in the order they were added; a listener may not add or remove
    // listeners while it runs. Answers a key for stopListening.
    int listen(Listener listener);
    void stopListening(int key);
    // Tells every listener what changed; the commands that change the records, the sets or
    // the layout call it once they are done. A change of the records, the layout or the
    // calibration lets the corrected copies go first.
    void changed(unsigned what);

private:
    std::array<std::string, JOB_SETTING_COUNT> settings;
    std::unique_ptr<CalibrationTable> calibrationTable;
    InputFile calibrationSource;                    // empty without a table
    mutable std::unique_ptr<LoggerArray> corrected; // made by analysisArray
    std::vector<std::pair<int, Listener>> listeners;
    int nextKey = 1;
};

} // namespace zqar
