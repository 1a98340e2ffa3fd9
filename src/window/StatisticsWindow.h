#pragma once
// The Statistics window: the settings (limits, activation energy, the rolling MKT's window),
// Calculate, the per-position table (sortable by any column), the hot and cold spots with the
// highest rolling MKT, and a map of one statistic drawn as the Graph page draws its sets,
// with exports of the table as CSV and of the map as PNG, and the table printed. A window of its
// own beside the main window, made once by the shell and shown again from the menu. The figures
// come from the statistics commands; this class only shows them. It follows the job: new records, a
// new layout, another report or project, a new calibration table, other rules or exclusions take
// the figures of the old ones away (and disable their exports), and settings changed elsewhere
// show in its edits.
//
// Beside the statistics it shows the qualification figures over the stable window with their
// definitions, each position's qualification row and the events with their figures, and it
// has a check box for each phase of the job's events that leaves the phase's readings out of
// the statistics. Its other tabs hold the job's alarm rules (added and removed here), the
// alarms they fired in the last calculation, and the stretches of readings excluded from the
// statistics with their reasons. Suggest Probes names where the permanent monitoring probes
// should go, in a table and by rank on the map; the map check threshold is the job's, for the
// Graph tab's marks and the mapping report, and so are the data check's plausible settings.

#include "pages/JobView.h"
#include "pages/analysis/qualificationCommands.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/analysis/studyCommands.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QSpinBox;
class QStandardItemModel;
class QTabWidget;
class QTableView;

namespace zqar {

class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsWindow(const JobView &view, QWidget *parent = nullptr);
    ~StatisticsWindow() override;

    // Shows the settings as they stand now (a batch --set or an earlier edit) and raises it.
    void present();

    // Calculate, as the button runs it; answers the command's outcome. An activation energy
    // above 1000 kJ/mol is refused as J/mol typed into the kJ/mol field.
    CommandOutcome calculate();
    void exportStatistics();
    // Print (and Ctrl+P): the table as shown, sorted as the user sorted it, through the print
    // dialog; cancelled when the dialog was or while no figures are shown.
    CommandOutcome printStatistics();
    // Export Map writes PNG, or SVG for a name ending in ".svg"; Copy Picture puts the map
    // on the clipboard.
    void exportMap();
    void copyMap();
    // Suggest Probes, as the button runs it: the statistics calculated anew and the count
    // of the spin box; answers the command's outcome.
    CommandOutcome suggestProbes();
    void exportProbes();

    // Add Rule with the rule edit's text (emptied when the job takes it); Remove Rule, Remove
    // Exclusion: the selected row. Exclude Readings opens its dialog.
    CommandOutcome addRule();
    void removeRule();
    void excludeReadings();
    void removeExclusion();
    void exportAlarms();

    QTableView *table() const { return tableView; }
    // Export Statistics and Export Map: enabled only while figures of the job are shown.
    QPushButton *statisticsExportButton() const { return exportStatisticsButton; }
    QPushButton *statisticsPrintButton() const { return printStatisticsButton; }
    QPushButton *mapExportButton() const { return exportMapButton; }
    QStandardItemModel *model() const { return items; }
    QLabel *spotsLabel() const { return spots; }
    QComboBox *mapChoice() const { return mapChooser; }
    QLineEdit *settingEdit(int control) const;
    const TemperatureSet *currentMap() const { return map.set.get(); }
    QSpinBox *probeCountBox() const { return probeCount; }
    QStandardItemModel *probeModel() const { return probeItems; }
    QLabel *probesNoteLabel() const { return probesNote; }
    // The marks the map shows over its statistic: the probes by rank, when suggested.
    std::vector<PositionMark> mapMarks() const;

    // The qualification figures (Figure, Value, Definition), each position's qualification
    // row, the events with their figures, the line above them saying over what they were
    // computed (or why they were not), and a check box for each phase.
    QStandardItemModel *qualificationModel() const { return figures; }
    QStandardItemModel *qualificationPositionsModel() const { return qualificationPositions; }
    QStandardItemModel *eventsModel() const { return eventItems; }
    QLabel *qualificationLabel() const { return qualificationSummary; }
    std::vector<QCheckBox *> phaseChecks() const { return phaseBoxes; }

    // The tabs beside the statistics table, the rules (one column, the rule as given), the
    // alarms of the last calculation (the alarms file's columns) and the exclusions.
    QTabWidget *tabs() const { return tabSet; }
    QLineEdit *ruleEdit() const { return ruleText; }
    QTableView *rulesTable() const { return ruleTable; }
    QStandardItemModel *rulesModel() const { return ruleItems; }
    QStandardItemModel *alarmsModel() const { return alarmItems; }
    QTableView *exclusionsTable() const { return exclusionTable; }
    QStandardItemModel *exclusionsModel() const { return exclusionItems; }

private:
    class MapView;
    struct SettingEdit {
        QLineEdit *edit;
        JobSetting setting;
        int control; // StatisticsControls
    };

    // Calculate without showing: the figures of the job as it is now, or the failed outcome
    // with the figures shown before left as they were.
    CommandOutcome runStatistics();
    // An edit of a job setting with its label, written through to the job as it is typed.
    void addSettingEdit(QHBoxLayout *row, std::string_view label, JobSetting setting, int control,
                        int stretch = 0, std::string_view placeholder = {});
    QHBoxLayout *makeLimitsRow();
    QHBoxLayout *makeQualificationRow();
    QHBoxLayout *makeStudyRow();
    QWidget *makeLowerPane();
    QWidget *makeQualificationPage();
    QWidget *makeRulesPage();
    QWidget *makeAlarmsPage();
    QWidget *makeExclusionsPage();
    void showRules();
    void showAlarms();
    void showExclusions();
    void showRemoveButtons();
    void showStatistics();
    void showMap();
    void jobChanged(const JobChange &change);
    void showSettings();
    void showQualification();
    void showEvents();
    void showPhases();
    void showProbes();

    JobView view;
    int listening = 0;
    std::vector<SettingEdit> settingEdits; // every edit of a job setting, in window order
    QHBoxLayout *phasesRow;
    std::vector<QCheckBox *> phaseBoxes;
    std::vector<std::string> phaseNames; // the phases the boxes stand for
    QStandardItemModel *figures;
    QStandardItemModel *qualificationPositions;
    QStandardItemModel *eventItems;
    QTableView *figuresTable;
    QTableView *qualificationTable;
    QTableView *eventTable;
    QLabel *qualificationSummary;
    QSpinBox *probeCount;
    QStandardItemModel *items;
    QSortFilterProxyModel *sorted;
    QTableView *tableView;
    QLabel *spots;
    QComboBox *mapChooser;
    QLabel *mapTitle;
    MapView *mapView;
    QPushButton *exportStatisticsButton;
    QPushButton *printStatisticsButton;
    QPushButton *exportMapButton;
    QPushButton *copyMapButton;
    QPushButton *exportProbesButton;
    QWidget *probesPane;
    QLabel *probesNote;
    QStandardItemModel *probeItems;
    QTableView *probeTable;
    QTabWidget *tabSet;
    QLineEdit *ruleText;
    QStandardItemModel *ruleItems;
    QTableView *ruleTable;
    QPushButton *removeRuleButton;
    QStandardItemModel *alarmItems;
    QTableView *alarmTable;
    QPushButton *exportAlarmsButton;
    QStandardItemModel *exclusionItems;
    QTableView *exclusionTable;
    QPushButton *removeExclusionButton;
    std::optional<MappingStatistics> statistics;
    std::optional<FittedProbes> probes; // for the statistics shown
    StatisticMapSet map;
    // What the figures were computed with: the limits for the events' figures, and the phases
    // left out, so that a change of them takes figures away that no longer hold.
    StatisticsSettings calculatedWith;
    std::vector<Phase> excludedWhenCalculated;
    std::optional<Qualification> qualification;
    std::vector<EventOutcome> eventFigures;
    std::vector<Alarm> firedAlarms;        // by the rules of the job when calculated
    std::vector<AlarmRule> evaluatedRules; // those rules
    std::optional<RollingMkt> rollingMkt;  // when the MKT window was set
};

} // namespace zqar
