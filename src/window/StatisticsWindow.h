#pragma once
// The Statistics window: the settings (limits, activation energy, the rolling MKT's window and
// the data check's plausible range and jump), Calculate, the per-position table (sortable by
// any column), the hot and cold spots with the highest rolling MKT, and a map of one statistic
// drawn as the Graph page draws its sets, with exports of the table as CSV and of the map as
// PNG. Beside the map: the job's alarm rules (added and removed here), the alarms they fired
// in the last calculation, and the readings excluded from the statistics. A window of its own
// beside the main window, made once by the shell and shown again from the menu. The figures
// come from the statistics commands; this class only shows them. It follows the job: new
// records, a new layout, a new calibration table, rules or exclusions take the figures of the
// old ones away, and settings changed elsewhere show in its edits.

#include "core/analysis/exclusions.h"
#include "pages/JobView.h"
#include "pages/analysis/statisticsCommands.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
class QTableWidget;

namespace zqar {

class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsWindow(const JobView &view, QWidget *parent = nullptr);
    ~StatisticsWindow() override;

    // Shows the settings as they stand now (a batch --set or an earlier edit) and raises it.
    void present();

    // Calculate, as the button runs it; answers the command's outcome. An activation energy
    // above 1000 kJ/mol is refused here as J/mol typed into the kJ/mol field.
    CommandOutcome calculate();
    // Add Rule with a rule's text (a message box says what is wrong with one that does not
    // read); answers whether the job took it. Remove Rule takes the rule at an index away.
    bool addRule(const std::string &spec);
    void removeRule(int index);
    // Exclude Readings: the dialog, then addExclusion. Remove Exclusion takes one away.
    void excludeReadings();
    void addExclusion(const Exclusion &exclusion);
    void removeExclusion(int index);
    void exportStatistics();
    void exportMap();

    QTableView *table() const { return tableView; }
    QStandardItemModel *model() const { return items; }
    QLabel *spotsLabel() const { return spots; }
    QComboBox *mapChoice() const { return mapChooser; }
    QLineEdit *settingEdit(int control) const;
    QLineEdit *ruleEdit() const { return ruleText; }
    QTableWidget *rulesTable() const { return rules; }
    QTableWidget *alarmsTable() const { return alarms; }
    QListWidget *exclusionsList() const { return exclusionList; }
    const TemperatureSet *currentMap() const { return map.set.get(); }

private:
    class MapView;

    void showStatistics();
    void showMap();
    void jobChanged(const JobChange &change);
    void showSettings();
    void showRules();
    void showAlarms();
    void showExclusions();

    struct SettingEdit {
        QLineEdit *edit;
        JobSetting setting;
        int control; // StatisticsControls
    };

    JobView view;
    int listening = 0;
    std::vector<SettingEdit> settingEdits;
    QLineEdit *ruleText;
    QTableWidget *rules;
    QTableWidget *alarms;
    QListWidget *exclusionList;
    QStandardItemModel *items;
    QSortFilterProxyModel *sorted;
    QTableView *tableView;
    QLabel *spots;
    QComboBox *mapChooser;
    QLabel *mapTitle;
    MapView *mapView;
    QPushButton *exportStatisticsButton;
    QPushButton *exportMapButton;
    std::optional<MappingStatistics> statistics;
    std::vector<Alarm> firedAlarms;        // of the last calculation
    std::vector<AlarmRule> evaluatedRules; // the rules they were evaluated with
    std::optional<RollingMkt> rollingMkt;  // of the last calculation
    StatisticMapSet map;
};

} // namespace zqar
