#pragma once
// The Statistics window: the three settings, Calculate, the per-position table (sortable by
// any column), the hot and cold spots, and a map of one statistic drawn as the Graph page
// draws its sets, with exports of the table as CSV and of the map as PNG. A window of its own
// beside the main window, made once by the shell and shown again from the menu. The figures
// come from the statistics commands; this class only shows them. It follows the job: new
// records or a new layout take the figures of the old ones away, and settings changed
// elsewhere show in its edits.
//
// Beside the statistics it shows the qualification figures over the stable window with their
// definitions, each position's qualification row and the events with their figures, and it
// has a check box for each phase of the job's events that leaves the phase's readings out of
// the statistics. Suggest Probes names where the permanent monitoring probes should go, in a
// table and by rank on the map; the map check threshold is the job's, for the Graph tab's
// marks and the mapping report.

#include "pages/JobView.h"
#include "pages/analysis/qualificationCommands.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/analysis/studyCommands.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
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
class QTableView;

namespace zqar {

class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsWindow(const JobView &view, QWidget *parent = nullptr);
    ~StatisticsWindow() override;

    // Shows the settings as they stand now (a batch --set or an earlier edit) and raises it.
    void present();

    // Calculate, as the button runs it; answers the command's outcome.
    CommandOutcome calculate();
    void exportStatistics();
    void exportMap();
    // Suggest Probes, as the button runs it: the statistics calculated anew and the count
    // of the spin box; answers the command's outcome.
    CommandOutcome suggestProbes();
    void exportProbes();

    QTableView *table() const { return tableView; }
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

private:
    class MapView;

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
    QLineEdit *lowerLimit;
    QLineEdit *upperLimit;
    QLineEdit *activationEnergy;
    QLineEdit *setPoint;
    QLineEdit *tolerance;
    QLineEdit *stableStart;
    QLineEdit *stableFinish;
    QLineEdit *referencePosition;
    QHBoxLayout *phasesRow;
    std::vector<QCheckBox *> phaseBoxes;
    std::vector<std::string> phaseNames; // the phases the boxes stand for
    QStandardItemModel *figures;
    QStandardItemModel *qualificationPositions;
    QStandardItemModel *eventItems;
    QLabel *qualificationSummary;
    QLineEdit *mapCheckThreshold;
    QSpinBox *probeCount;
    QStandardItemModel *items;
    QSortFilterProxyModel *sorted;
    QTableView *tableView;
    QLabel *spots;
    QComboBox *mapChooser;
    QLabel *mapTitle;
    MapView *mapView;
    QPushButton *exportStatisticsButton;
    QPushButton *exportMapButton;
    QPushButton *exportProbesButton;
    QWidget *probesPane;
    QLabel *probesNote;
    QStandardItemModel *probeItems;
    QTableView *probeTable;
    std::optional<MappingStatistics> statistics;
    std::optional<FittedProbes> probes; // for the statistics shown
    StatisticMapSet map;
    // What the figures were computed with: the limits for the events' figures, and the phases
    // left out, so that a change of them takes figures away that no longer hold.
    StatisticsSettings calculatedWith;
    std::vector<Phase> excludedWhenCalculated;
    std::optional<Qualification> qualification;
    std::vector<EventOutcome> eventFigures;
};

} // namespace zqar
