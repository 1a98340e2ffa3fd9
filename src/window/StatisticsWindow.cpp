#include "window/StatisticsWindow.h"

#include "core/analysis/TemperatureSet.h"
#include "core/analysis/dataCheck.h"
#include "core/analysis/qualificationCsv.h"
#include "core/analysis/statisticsColumns.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/job/jobEvents.h"
#include "pages/presentation/PrintJob.h"
#include "pages/presentation/csvExportDialog.h"
#include "pages/presentation/statisticsPrint.h"
#include "platform/Host.h"
#include "qt/QtText.h"
#include "resources/analysisTexts.h"
#include "resources/controlIds.h"
#include "resources/desktopTexts.h"
#include "resources/format.h"
#include "resources/mappingReportTexts.h"
#include "resources/qualificationTexts.h"
#include "resources/strings.h"
#include "resources/studyTexts.h"
#include "window/CompareWindow.h"
#include "window/ExclusionDialog.h"
#include "window/GraphExport.h"
#include "window/PictureFile.h"
#include "window/readOnlyTables.h"
#include "window/secondaryWindow.h"
#include "window/tableCopy.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <initializer_list>
#include <limits>

namespace zqar {

namespace {

constexpr int SORT_ROLE = Qt::UserRole + 1;
constexpr int WINDOW_WIDTH = 980; // pixels
constexpr int WINDOW_HEIGHT = 760;
constexpr int MAP_MINIMUM_HEIGHT = 240;
constexpr int QUALIFICATION_FIGURE_COUNT = 7; // the rows of qualificationFigures
constexpr int DEFAULT_PROBE_COUNT = 5;
constexpr int LARGEST_PROBE_COUNT = 999; // the spin box's; the command takes more

QStringList headings() {
    QStringList list;
    for (const StatisticsColumn &column : STATISTICS_COLUMNS)
        list.append(platform::toQString(windowHeading(column)));
    return list;
}

// The value a column sorts by: numbers as numbers, a missing figure below every number.
QVariant sortValue(const StatisticsColumn &column, const std::string &shown,
                   const PositionStatistics &p, int positionIndex) {
    switch (column.order) {
    case ColumnOrder::Position:
        return positionIndex;
    case ColumnOrder::Text:
        return platform::toQString(shown);
    case ColumnOrder::Number:
        break;
    }
    const std::optional<double> value = shown == text::NO_LOGGER ? std::nullopt : column.value(p);
    return value ? *value : std::numeric_limits<double>::lowest();
}

QStringList csvHeadings(std::string_view header) { return qtTexts(headerFields(header)); }

// A read-only table of a model, its last column reaching to the right edge.
QTableView *plainTable(QStandardItemModel *model) {
    QTableView *view = readOnlyTable(model);
    view->horizontalHeader()->setStretchLastSection(true);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + TABLE_ROW_PADDING);
    return view;
}

// A table as high as its header and rows need.
void fitRows(QTableView *view, int rows) {
    view->setFixedHeight(view->horizontalHeader()->sizeHint().height() +
                         rows * view->verticalHeader()->defaultSectionSize() +
                         2 * view->frameWidth());
}

// Columns from firstRight through lastRight hold numbers.
void appendTextRow(QStandardItemModel *model, const std::vector<std::string> &row,
                   std::size_t firstRight, std::size_t lastRight) {
    QList<QStandardItem *> cells;
    for (std::size_t column = 0; column < row.size(); ++column) {
        auto *cell = new QStandardItem(platform::toQString(row[column]));
        // A definition is longer than its column; the tip shows it whole.
        cell->setToolTip(cell->text());
        if (column >= firstRight && column <= lastRight)
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        cells.append(cell);
    }
    model->appendRow(cells);
}

// Columns as wide as their texts once new rows are in: a table on show does not size its
// columns again when rows are appended to a plain model. Switching the stretch of the last
// column on again sizes every column anew, the last one stretched.
void fitColumns(QTableView *view) {
    QHeaderView *header = view->horizontalHeader();
    header->setStretchLastSection(false);
    header->setStretchLastSection(true);
}

// A table of whole rows, one selected at a time, for the lists a button takes a row from.
QTableView *rowTable(QStandardItemModel *model) {
    QTableView *view = plainTable(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    return view;
}

// The selected row, or none.
std::optional<std::size_t> selectedRow(const QTableView *view) {
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return static_cast<std::size_t>(rows.front().row());
}

// The alarms file's columns that hold numbers: Minutes Beyond and Peak.
constexpr std::size_t FIRST_ALARM_NUMBER = 6;
constexpr std::size_t LAST_ALARM_NUMBER = 7;
// The exclusions table's count of readings.
constexpr std::size_t EXCLUDED_READINGS_COLUMN = 3;

bool samePhases(const std::vector<Phase> &a, const std::vector<Phase> &b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].start != b[i].start || a[i].finish != b[i].finish)
            return false;
    return true;
}

} // namespace

// The map of the chosen statistic, drawn into an image of the widget's size whenever the map
// or the size changes.
class StatisticsWindow::MapView : public PictureView {
public:
    MapView(const JobView &jobView, QWidget *parent) : PictureView(parent), view(jobView) {
        setMinimumHeight(MAP_MINIMUM_HEIGHT);
    }
    void show(const TemperatureSet *mapSet, std::vector<PositionMark> mapMarks) {
        set = mapSet;
        marks = std::move(mapMarks);
        if (!set) {
            setRender(nullptr);
            return;
        }
        // The window's label above shows the title; the legend keeps every band in the view.
        setRender([this](int width, int height) {
            return renderSetImage(set, view.job.loggerArray.dimensions(),
                                  view.readSettings().contour(), width, height, marks,
                                  LegendStyle::BarWhenCrowded);
        });
    }
    // The map as a picture of any kind with its title above, at the size it shows.
    PictureDrawing drawing(const std::string &title) const {
        return [this, title](platform::DrawingContext &dc, int width, int height) {
            drawStatisticMapPicture(dc, set, title, view.job.loggerArray.dimensions(),
                                    view.readSettings().contour(), width, height, marks);
        };
    }

private:
    JobView view;
    const TemperatureSet *set = nullptr;
    std::vector<PositionMark> marks;
};

StatisticsWindow::StatisticsWindow(const JobView &jobView, QWidget *parent)
    : QWidget(parent, Qt::Window), view(jobView), phasesRow(new QHBoxLayout),
      figures(new QStandardItemModel(this)), qualificationPositions(new QStandardItemModel(this)),
      eventItems(new QStandardItemModel(this)), figuresTable(plainTable(figures)),
      qualificationTable(plainTable(qualificationPositions)), eventTable(plainTable(eventItems)),
      qualificationSummary(new QLabel), probeCount(new QSpinBox),
      items(new QStandardItemModel(this)), sorted(new QSortFilterProxyModel(this)),
      tableView(new QTableView), spots(new QLabel), mapChooser(new QComboBox), mapTitle(new QLabel),
      mapView(new MapView(jobView, this)),
      exportStatisticsButton(new QPushButton(platform::toQString(text::EXPORT_STATISTICS_BUTTON))),
      printStatisticsButton(new QPushButton(platform::toQString(text::PRINT_STATISTICS_BUTTON))),
      exportMapButton(new QPushButton(platform::toQString(text::EXPORT_MAP_BUTTON))),
      copyMapButton(new QPushButton(platform::toQString(text::COPY_PICTURE_BUTTON))),
      exportProbesButton(new QPushButton(platform::toQString(text::EXPORT_PROBES_BUTTON))),
      probesPane(new QWidget), probesNote(new QLabel), probeItems(new QStandardItemModel(this)),
      probeTable(new QTableView), tabSet(new QTabWidget), ruleText(new QLineEdit),
      ruleItems(new QStandardItemModel(this)), ruleTable(rowTable(ruleItems)),
      removeRuleButton(new QPushButton(platform::toQString(text::REMOVE_RULE_BUTTON))),
      alarmItems(new QStandardItemModel(this)), alarmTable(plainTable(alarmItems)),
      exportAlarmsButton(new QPushButton(platform::toQString(text::EXPORT_ALARMS_BUTTON))),
      exclusionItems(new QStandardItemModel(this)), exclusionTable(rowTable(exclusionItems)),
      removeExclusionButton(new QPushButton(platform::toQString(text::REMOVE_EXCLUSION_BUTTON))) {
    setWindowTitle(platform::toQString(text::STATISTICS_CAPTION));
    tabSet->addTab(tableView, platform::toQString(text::POSITIONS_TAB));
    tabSet->addTab(makeQualificationPage(), platform::toQString(text::QUALIFICATION_HEADING));
    tabSet->addTab(eventTable, platform::toQString(text::EVENTS_HEADING));
    tabSet->addTab(makeRulesPage(), platform::toQString(text::ALARM_RULES_TAB));
    tabSet->addTab(makeAlarmsPage(), platform::toQString(text::ALARMS_TAB));
    tabSet->addTab(makeExclusionsPage(), platform::toQString(text::EXCLUSIONS_TAB));

    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(tabSet);
    splitter->addWidget(probesPane);
    splitter->addWidget(makeLowerPane());

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(makeLimitsRow());
    layout->addLayout(makeQualificationRow());
    layout->addLayout(phasesRow);
    layout->addLayout(makeStudyRow());
    layout->addWidget(splitter, 1);
    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(makeCloseButton(*this));
    layout->addLayout(closeRow);

    connect(mapChooser, &QComboBox::currentIndexChanged, this, [this] { showMap(); });
    connect(exportStatisticsButton, &QPushButton::clicked, this,
            &StatisticsWindow::exportStatistics);
    connect(printStatisticsButton, &QPushButton::clicked, this, [this] { printStatistics(); });
    auto *printKey = new QShortcut(QKeySequence::Print, this);
    connect(printKey, &QShortcut::activated, this, [this] { printStatistics(); });
    connect(exportMapButton, &QPushButton::clicked, this, &StatisticsWindow::exportMap);
    connect(copyMapButton, &QPushButton::clicked, this, &StatisticsWindow::copyMap);
    for (QTableView *table :
         {tableView, figuresTable, qualificationTable, eventTable, probeTable, alarmTable})
        copyTableOnKey(*table);
    connect(exportProbesButton, &QPushButton::clicked, this, &StatisticsWindow::exportProbes);
    exportStatisticsButton->setEnabled(false);
    printStatisticsButton->setEnabled(false);
    exportMapButton->setEnabled(false);
    copyMapButton->setEnabled(false);
    exportProbesButton->setEnabled(false);
    showStatistics();
    showPhases();
    showRules();
    showExclusions();
    resize(WINDOW_WIDTH, WINDOW_HEIGHT);
    listening = view.job.listen([this](const JobChange &change) { jobChanged(change); });
}

// The limits and the figures' settings, with Calculate.
QHBoxLayout *StatisticsWindow::makeLimitsRow() {
    using Control = StatisticsControls;
    auto *settingsRow = new QHBoxLayout;
    addSettingEdit(settingsRow, text::LOWER_LIMIT_LABEL, JobSetting::LowerLimit,
                   Control::LOWER_LIMIT);
    addSettingEdit(settingsRow, text::UPPER_LIMIT_LABEL, JobSetting::UpperLimit,
                   Control::UPPER_LIMIT);
    addSettingEdit(settingsRow, text::ACTIVATION_ENERGY_LABEL, JobSetting::ActivationEnergy,
                   Control::ACTIVATION_ENERGY);
    addSettingEdit(settingsRow, text::MKT_WINDOW_LABEL, JobSetting::MktWindow, Control::MKT_WINDOW);
    auto *calculateButton = new QPushButton(platform::toQString(text::CALCULATE_BUTTON));
    settingsRow->addWidget(calculateButton);
    settingsRow->addStretch();
    connect(calculateButton, &QPushButton::clicked, this, [this] { calculate(); });
    return settingsRow;
}

QHBoxLayout *StatisticsWindow::makeQualificationRow() {
    using Control = StatisticsControls;
    auto *qualificationRow = new QHBoxLayout;
    addSettingEdit(qualificationRow, text::SET_POINT_LABEL, JobSetting::SetPoint,
                   Control::SET_POINT, 1);
    addSettingEdit(qualificationRow, text::TOLERANCE_LABEL, JobSetting::Tolerance,
                   Control::TOLERANCE, 1);
    addSettingEdit(qualificationRow, text::STABLE_START_LABEL, JobSetting::StableStart,
                   Control::STABLE_START, 2, text::TIME_FORMAT_HINT);
    addSettingEdit(qualificationRow, text::STABLE_FINISH_LABEL, JobSetting::StableFinish,
                   Control::STABLE_FINISH, 2, text::TIME_FORMAT_HINT);
    addSettingEdit(qualificationRow, text::REFERENCE_POSITION_LABEL, JobSetting::ReferencePosition,
                   Control::REFERENCE_POSITION, 1);
    phasesRow->addWidget(new QLabel(platform::toQString(text::PHASES_LABEL)));
    return qualificationRow;
}

// The probes, the map check's threshold and the data check's settings.
QHBoxLayout *StatisticsWindow::makeStudyRow() {
    using Control = StatisticsControls;
    auto *studyRow = new QHBoxLayout;
    probeCount->setRange(1, LARGEST_PROBE_COUNT);
    probeCount->setValue(DEFAULT_PROBE_COUNT);
    auto *suggestButton = new QPushButton(platform::toQString(text::SUGGEST_PROBES_BUTTON));
    studyRow->addWidget(new QLabel(platform::toQString(text::PROBE_COUNT_LABEL)));
    studyRow->addWidget(probeCount);
    studyRow->addWidget(suggestButton);
    studyRow->addWidget(exportProbesButton);
    studyRow->addSpacing(2 * studyRow->spacing());
    addSettingEdit(studyRow, text::MAP_CHECK_THRESHOLD_LABEL, JobSetting::MapCheckThreshold,
                   Control::MAP_CHECK_THRESHOLD, 1);
    studyRow->addSpacing(2 * studyRow->spacing());
    // An empty plausible setting keeps the data check's default, which its placeholder shows.
    const DataCheckSettings defaults;
    addSettingEdit(studyRow, text::PLAUSIBLE_LOW_LABEL, JobSetting::PlausibleLow,
                   Control::PLAUSIBLE_LOW, 1, formatFixed(defaults.plausibleLow, 0));
    addSettingEdit(studyRow, text::PLAUSIBLE_HIGH_LABEL, JobSetting::PlausibleHigh,
                   Control::PLAUSIBLE_HIGH, 1, formatFixed(defaults.plausibleHigh, 0));
    addSettingEdit(studyRow, text::PLAUSIBLE_JUMP_LABEL, JobSetting::PlausibleJump,
                   Control::PLAUSIBLE_JUMP, 1, formatFixed(defaults.plausibleJump, 0));
    connect(suggestButton, &QPushButton::clicked, this, [this] { suggestProbes(); });
    return studyRow;
}

// The positions' table, the hot and cold spots, the statistic map with its buttons, and the
// suggested probes' pane (hidden until probes are suggested).
QWidget *StatisticsWindow::makeLowerPane() {
    items->setHorizontalHeaderLabels(headings());
    sorted->setSourceModel(items);
    sorted->setSortRole(SORT_ROLE);
    tableView->setModel(sorted);
    // Position order until the user picks a column.
    tableView->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    tableView->setSortingEnabled(true);
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView->verticalHeader()->hide();
    tableView->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    for (const MapStatisticInfo &info : MAP_STATISTICS)
        mapChooser->addItem(platform::toQString(info.choice));
    auto *mapRow = new QHBoxLayout;
    mapRow->addWidget(new QLabel(platform::toQString(text::MAP_CHOICE_LABEL)));
    mapRow->addWidget(mapChooser);
    mapRow->addWidget(mapTitle, 1);
    mapRow->addWidget(exportStatisticsButton);
    mapRow->addWidget(printStatisticsButton);
    mapRow->addWidget(exportMapButton);
    mapRow->addWidget(copyMapButton);

    auto *lower = new QWidget;
    auto *lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(spots);
    lowerLayout->addLayout(mapRow);
    lowerLayout->addWidget(mapView, 1);
    probeTable->setModel(probeItems);
    probeTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    probeTable->verticalHeader()->hide();
    probeTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    probesNote->setWordWrap(true);
    auto *probesLayout = new QVBoxLayout(probesPane);
    probesLayout->setContentsMargins(0, 0, 0, 0);
    probesLayout->addWidget(probesNote);
    probesLayout->addWidget(probeTable, 1);
    probesPane->hide();
    return lower;
}

QWidget *StatisticsWindow::makeQualificationPage() {
    figures->setHorizontalHeaderLabels(
        qtTexts({text::FIGURE_HEADING, text::VALUE_HEADING, text::DEFINITION_HEADING}));
    qualificationPositions->setHorizontalHeaderLabels(
        qtTexts({text::POSITION_HEADING, text::LOGGER_HEADING, text::POSITION_MEAN_HEADING,
                 text::POSITION_SPREAD_HEADING, text::POSITION_FROM_REFERENCE_HEADING,
                 text::POSITION_FROM_SET_POINT_HEADING}));
    eventItems->setHorizontalHeaderLabels(
        qtTexts({text::EVENT_HEADING, text::TIME_HEADING, text::FIGURE_HEADING, text::VALUE_HEADING,
                 text::POSITION_HEADING, text::NOTE_HEADING}));
    auto *qualificationPage = new QWidget;
    auto *qualificationLayout = new QVBoxLayout(qualificationPage);
    qualificationLayout->setContentsMargins(0, 0, 0, 0);
    qualificationSummary->setWordWrap(true);
    qualificationLayout->addWidget(qualificationSummary);
    fitRows(figuresTable, QUALIFICATION_FIGURE_COUNT);
    qualificationLayout->addWidget(figuresTable);
    qualificationLayout->addWidget(qualificationTable, 1);
    return qualificationPage;
}

void StatisticsWindow::addSettingEdit(QHBoxLayout *row, std::string_view label, JobSetting setting,
                                      int control, int stretch, std::string_view placeholder) {
    auto *edit = new QLineEdit;
    edit->setPlaceholderText(platform::toQString(placeholder));
    row->addWidget(new QLabel(platform::toQString(label)));
    row->addWidget(edit, stretch);
    settingEdits.push_back({edit, setting, control});
    // The edits write through to the job's settings, where the commands read them.
    connect(edit, &QLineEdit::textEdited, this, [this, setting](const QString &typed) {
        view.job.setSetting(setting, platform::fromQString(typed));
    });
    // A whole edit, not each letter, is one step for Undo.
    connect(edit, &QLineEdit::editingFinished, this, [this] {
        if (view.noteEdits)
            view.noteEdits();
    });
}

QWidget *StatisticsWindow::makeRulesPage() {
    ruleItems->setHorizontalHeaderLabels(qtTexts({text::ALARM_RULE_HEADING}));
    ruleText->setPlaceholderText(platform::toQString(text::ALARM_RULE_HINT));
    auto *addButton = new QPushButton(platform::toQString(text::ADD_RULE_BUTTON));
    auto *row = new QHBoxLayout;
    row->addWidget(ruleText, 1);
    row->addWidget(addButton);
    row->addWidget(removeRuleButton);
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addWidget(ruleTable, 1);
    connect(addButton, &QPushButton::clicked, this, [this] { addRule(); });
    connect(ruleText, &QLineEdit::returnPressed, this, [this] { addRule(); });
    connect(removeRuleButton, &QPushButton::clicked, this, &StatisticsWindow::removeRule);
    connect(ruleTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &StatisticsWindow::showRemoveButtons);
    return page;
}

QWidget *StatisticsWindow::makeAlarmsPage() {
    alarmItems->setHorizontalHeaderLabels(csvHeadings(text::ALARMS_CSV_HEADER));
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(exportAlarmsButton);
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addWidget(alarmTable, 1);
    connect(exportAlarmsButton, &QPushButton::clicked, this, &StatisticsWindow::exportAlarms);
    return page;
}

QWidget *StatisticsWindow::makeExclusionsPage() {
    exclusionItems->setHorizontalHeaderLabels(
        qtTexts({text::EXCLUDE_POSITION_LABEL, text::EXCLUDE_FIRST_LABEL, text::EXCLUDE_LAST_LABEL,
                 text::EXCLUDED_READINGS_HEADING, text::EXCLUDE_REASON_LABEL}));
    auto *excludeButton = new QPushButton(platform::toQString(text::EXCLUDE_BUTTON));
    auto *row = new QHBoxLayout;
    row->addWidget(excludeButton);
    row->addWidget(removeExclusionButton);
    row->addStretch();
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addWidget(exclusionTable, 1);
    connect(excludeButton, &QPushButton::clicked, this, &StatisticsWindow::excludeReadings);
    connect(removeExclusionButton, &QPushButton::clicked, this, &StatisticsWindow::removeExclusion);
    connect(exclusionTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &StatisticsWindow::showRemoveButtons);
    return page;
}

StatisticsWindow::~StatisticsWindow() {
    view.job.stopListening(listening);
    // The edits lose the focus as the window goes, after the view they would tell.
    for (const SettingEdit &entry : settingEdits)
        entry.edit->disconnect(this);
}

void StatisticsWindow::jobChanged(const JobChange &change) {
    if (change.touches(JobChange::SETTINGS))
        showSettings();
    if (change.touches(JobChange::ALARM_RULES))
        showRules();
    // The exclusions name positions: their loggers and counts follow the records.
    if (change.touches(JobChange::EXCLUSIONS | JobChange::LAYOUT | JobChange::RECORDS))
        showExclusions();
    // Figures of records that are gone, of another report or project, of other readings, or
    // of other rules or exclusions would be exported as if they were the job's.
    if (change.touches(JobChange::LAYOUT | JobChange::RECORDS | JobChange::OPENED |
                       JobChange::CALIBRATION | JobChange::ALARM_RULES | JobChange::EXCLUSIONS) &&
        statistics) {
        statistics.reset();
        probes.reset();
        showStatistics();
    }
    if (change.touches(JobChange::EVENTS)) {
        showPhases();
        // Figures without the readings of other phases no longer hold; the events' own
        // figures are quick to compute again.
        if (statistics && !samePhases(excludedPhasesOfJob(view.job), excludedWhenCalculated)) {
            statistics.reset();
            showStatistics();
        } else if (statistics) {
            eventFigures = eventOutcomes(view.job.loggerArray, view.job.events, statistics->finish,
                                         calculatedWith);
            showEvents();
        }
    }
}

void StatisticsWindow::showPhases() {
    const std::vector<Phase> phases = phasesOfJob(view.job);
    std::vector<std::string> names;
    for (const Phase &phase : phases)
        names.push_back(phase.name);
    // A box's own click lands here too: the boxes stay as they are and only follow the job.
    if (names == phaseNames && phasesRow->count() > 1) {
        for (std::size_t i = 0; i < phaseBoxes.size(); ++i) {
            const QSignalBlocker quiet(phaseBoxes[i]);
            phaseBoxes[i]->setChecked(isPhaseExcluded(view.job, names[i]));
        }
        return;
    }
    phaseNames = names;
    // Everything after the row's label goes: the check boxes, a "none" label, the stretch.
    phaseBoxes.clear();
    while (phasesRow->count() > 1) {
        QLayoutItem *item = phasesRow->takeAt(1);
        if (QWidget *widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    if (phases.empty())
        phasesRow->addWidget(new QLabel(platform::toQString(text::NO_PHASES)));
    for (const Phase &phase : phases) {
        auto *box =
            new QCheckBox(platform::toQString(text::format(text::EXCLUDE_PHASE_CHECK, phase.name)));
        box->setChecked(isPhaseExcluded(view.job, phase.name));
        connect(box, &QCheckBox::toggled, this, [this, name = phase.name](bool checked) {
            setPhaseExcluded(view.job, name, checked);
        });
        phasesRow->addWidget(box);
        phaseBoxes.push_back(box);
    }
    phasesRow->addStretch();
}

void StatisticsWindow::showSettings() {
    for (const SettingEdit &entry : settingEdits) {
        const QString kept = platform::toQString(view.job.setting(entry.setting));
        // Only a text that differs is set, so the cursor stays where the user types.
        if (entry.edit->text() != kept)
            entry.edit->setText(kept);
    }
}

QLineEdit *StatisticsWindow::settingEdit(int control) const {
    for (const SettingEdit &entry : settingEdits)
        if (entry.control == control)
            return entry.edit;
    return nullptr;
}

void StatisticsWindow::present() {
    showSettings();
    show();
    raise();
    activateWindow();
}

CommandOutcome StatisticsWindow::calculate() {
    const CommandOutcome outcome = runStatistics();
    if (outcome.kind == CommandOutcome::Kind::Completed)
        showStatistics();
    return outcome;
}

CommandOutcome StatisticsWindow::runStatistics() {
    if (view.recordChanges)
        view.recordChanges();
    const CommandOutcome limits = checkLimitsByName(view.job, view.host);
    if (limits.kind != CommandOutcome::Kind::Completed)
        return limits;
    const CommandOutcome unit = checkActivationEnergyUnit(view.job, view.host);
    if (unit.kind != CommandOutcome::Kind::Completed)
        return unit;
    StatisticsRun run = calculateStatistics(view.job, view.readSettings(), view.host);
    if (run.outcome.kind != CommandOutcome::Kind::Completed)
        return run.outcome;
    statistics = std::move(run.statistics);
    calculatedWith = run.settings;
    excludedWhenCalculated = excludedPhasesOfJob(view.job);
    firedAlarms = std::move(run.alarms);
    evaluatedRules = view.job.alarmRules;
    rollingMkt = std::move(run.rollingMkt);
    // A qualification setting that does not read, or a reference without readings, leaves the
    // statistics standing: the qualification tab says what is wrong.
    qualification = qualificationOver(view.job, statistics->start, statistics->finish);
    eventFigures =
        eventOutcomes(view.job.loggerArray, view.job.events, statistics->finish, calculatedWith);
    // Probes on show follow the new figures.
    if (probes && view.job.probeCount > 0)
        probes = suggestProbesFor(view.job, *statistics, view.job.probeCount);
    return run.outcome;
}

void StatisticsWindow::showQualification() {
    figures->removeRows(0, figures->rowCount());
    qualificationPositions->removeRows(0, qualificationPositions->rowCount());
    if (!statistics || !qualification) {
        qualificationSummary->clear();
        return;
    }
    const Qualification &q = *qualification;
    if (q.problem != QualificationProblem::None) {
        qualificationSummary->setText(
            platform::toQString(text::format(text::QUALIFICATION_NOT_COMPUTED,
                                             std::string(qualificationProblemMessage(q.problem)))));
        return;
    }
    qualificationSummary->setText(platform::toQString(
        text::formatAll(text::QUALIFICATION_SUMMARY,
                        {formatDateTime(q.stableStart), formatDateTime(q.stableFinish),
                         q.referencePosition().position, std::to_string(q.instants)})));
    for (const FigureRow &row : qualificationFigures(q)) {
        const std::string value =
            row.plusMinus ? text::format(text::PLUS_MINUS_VALUE, row.value) : row.value;
        appendTextRow(figures, {std::string(row.name), value, std::string(row.definition)}, 1, 1);
    }
    fitColumns(figuresTable);
    for (const PositionQualification &position : q.positions)
        appendTextRow(qualificationPositions, qualificationPositionRow(position), 2, 5);
    fitColumns(qualificationTable);
}

void StatisticsWindow::showEvents() {
    eventItems->removeRows(0, eventItems->rowCount());
    if (!statistics)
        return;
    for (const EventOutcome &outcome : eventFigures) {
        std::vector<std::string> row = eventFigureRow(outcome);
        row.push_back(outcome.event.note);
        appendTextRow(eventItems, row, 3, 3);
    }
    fitColumns(eventTable);
}

CommandOutcome StatisticsWindow::suggestProbes() {
    const int count = probeCount->value();
    // The probes are suggested once, below, for the count in the box.
    probes.reset();
    const CommandOutcome outcome = runStatistics();
    if (outcome.kind != CommandOutcome::Kind::Completed)
        return outcome;
    probes = suggestProbesFor(view.job, *statistics, count);
    showStatistics();
    // The mapping report lists as many from now on.
    if (view.job.probeCount != count) {
        view.job.probeCount = count;
        view.job.changed(JobChange::PROBES);
    }
    return outcome;
}

CommandOutcome StatisticsWindow::addRule() {
    if (view.recordChanges)
        view.recordChanges();
    const CommandOutcome outcome =
        addAlarmRule(view.job, view.host, platform::fromQString(ruleText->text()));
    if (outcome.kind == CommandOutcome::Kind::Completed)
        ruleText->clear();
    return outcome;
}

void StatisticsWindow::removeRule() {
    if (const std::optional<std::size_t> row = selectedRow(ruleTable)) {
        if (view.recordChanges)
            view.recordChanges();
        removeAlarmRule(view.job, *row);
    }
}

void StatisticsWindow::excludeReadings() {
    const DataFilterSettings span = view.readSettings().dataFilter;
    ExclusionDialog dialog(view.job.loggerArray, view.host, span.start, span.finish, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (view.recordChanges)
        view.recordChanges();
    addExclusion(view.job, view.host, dialog.entry());
}

void StatisticsWindow::removeExclusion() {
    if (const std::optional<std::size_t> row = selectedRow(exclusionTable)) {
        if (view.recordChanges)
            view.recordChanges();
        zqar::removeExclusion(view.job, *row);
    }
}

void StatisticsWindow::showRules() {
    ruleItems->removeRows(0, ruleItems->rowCount());
    for (const AlarmRule &rule : view.job.alarmRules)
        ruleItems->appendRow(new QStandardItem(platform::toQString(rule.spec)));
    fitColumns(ruleTable);
    showRemoveButtons();
}

void StatisticsWindow::showAlarms() {
    alarmItems->removeRows(0, alarmItems->rowCount());
    exportAlarmsButton->setEnabled(statistics.has_value());
    if (!statistics)
        return;
    for (const Alarm &alarm : firedAlarms)
        appendTextRow(alarmItems, alarmRow(alarm, evaluatedRules), FIRST_ALARM_NUMBER,
                      LAST_ALARM_NUMBER);
    fitColumns(alarmTable);
}

void StatisticsWindow::showExclusions() {
    exclusionItems->removeRows(0, exclusionItems->rowCount());
    for (const Exclusion &exclusion : view.job.exclusions)
        appendTextRow(exclusionItems, exclusionRow(view.job.loggerArray, exclusion),
                      EXCLUDED_READINGS_COLUMN, EXCLUDED_READINGS_COLUMN);
    fitColumns(exclusionTable);
    showRemoveButtons();
}

void StatisticsWindow::showRemoveButtons() {
    removeRuleButton->setEnabled(selectedRow(ruleTable).has_value());
    removeExclusionButton->setEnabled(selectedRow(exclusionTable).has_value());
}

std::vector<PositionMark> StatisticsWindow::mapMarks() const {
    if (!statistics || !probes)
        return {};
    return probeMarks(*statistics, probes->suggestion);
}

void StatisticsWindow::showProbes() {
    probeItems->clear();
    const bool shown = statistics && probes;
    probesPane->setVisible(shown);
    exportProbesButton->setEnabled(shown);
    if (!shown) {
        probesNote->clear();
        return;
    }
    probeItems->setHorizontalHeaderLabels(csvHeadings(text::PROBES_CSV_HEADER));
    for (const std::vector<std::string> &row : probeRows(*statistics, probes->suggestion)) {
        QList<QStandardItem *> cells;
        for (const std::string &field : row)
            cells.append(new QStandardItem(platform::toQString(field)));
        probeItems->appendRow(cells);
    }
    probesNote->setText(platform::toQString(probesFitNote(*probes)));
}

void StatisticsWindow::showStatistics() {
    items->removeRows(0, items->rowCount());
    const bool calculated = statistics.has_value();
    exportStatisticsButton->setEnabled(calculated);
    printStatisticsButton->setEnabled(calculated);
    exportMapButton->setEnabled(calculated);
    copyMapButton->setEnabled(calculated);
    showQualification();
    showEvents();
    showProbes();
    showAlarms();
    if (!calculated) {
        spots->clear();
        showMap();
        return;
    }
    // Sorting is switched off while the rows go in, or every row would be sorted on arrival.
    tableView->setSortingEnabled(false);
    for (std::size_t i = 0; i < statistics->positions.size(); ++i) {
        const PositionStatistics &p = statistics->positions[i];
        const std::vector<std::string> row = windowRow(p);
        QList<QStandardItem *> cells;
        for (std::size_t column = 0; column < row.size(); ++column) {
            const StatisticsColumn &kind = STATISTICS_COLUMNS[column];
            auto *cell = new QStandardItem(platform::toQString(row[column]));
            cell->setData(sortValue(kind, row[column], p, static_cast<int>(i)), SORT_ROLE);
            if (kind.alignment == ColumnAlignment::Right)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            cells.append(cell);
        }
        items->appendRow(cells);
    }
    tableView->setSortingEnabled(true);

    std::string shown;
    for (const std::string &line :
         statisticsNotes(*statistics, rollingMkt ? &*rollingMkt : nullptr))
        shown += (shown.empty() ? "" : "\n") + line;
    spots->setText(platform::toQString(shown));
    showMap();
}

void StatisticsWindow::showMap() {
    if (!statistics) {
        map = StatisticMapSet{};
        mapTitle->clear();
        mapView->show(nullptr, {});
        return;
    }
    const int choice = std::max(mapChooser->currentIndex(), 0);
    map = makeStatisticMap(*statistics, MAP_STATISTICS[static_cast<std::size_t>(choice)].statistic);
    mapTitle->setText(platform::toQString(map.title));
    mapView->show(map.set.get(), mapMarks());
}

void StatisticsWindow::exportProbes() {
    if (!statistics || !probes)
        return;
    platform::Host &host = view.host;
    if (const std::optional<std::string> chosen = chooseCsvExport(host))
        writeProbesCsv(host, *statistics, probes->suggestion, *chosen);
}

void StatisticsWindow::exportAlarms() {
    if (!statistics)
        return;
    platform::Host &host = view.host;
    if (const std::optional<std::string> chosen = chooseCsvExport(host))
        writeAlarmsCsv(host, firedAlarms, evaluatedRules, *chosen);
}

void StatisticsWindow::exportStatistics() {
    if (!statistics)
        return;
    platform::Host &host = view.host;
    if (const std::optional<std::string> chosen = chooseCsvExport(host))
        writeStatisticsCsv(host, *statistics, *chosen);
}

CommandOutcome StatisticsWindow::printStatistics() {
    if (!statistics)
        return CommandOutcome::cancelled();
    PrintedStatistics printed{*statistics,
                              calculatedWith,
                              {},
                              statisticsNotes(*statistics, rollingMkt ? &*rollingMkt : nullptr),
                              view.readSettings().layout.projectDescription};
    // The rows as the user sorted them.
    for (int row = 0; row < sorted->rowCount(); ++row)
        printed.order.push_back(
            static_cast<std::size_t>(sorted->mapToSource(sorted->index(row, 0)).row()));
    return zqar::printStatistics(view.host, printed, localNow());
}

void StatisticsWindow::exportMap() {
    if (!map.set)
        return;
    savePictureAs(
        view.host, mapView->drawing(map.title), PictureSize{mapView->width(), mapView->height()},
        PictureSaveTexts{text::MAP_DIALOG_TITLE, text::MAP_NOT_SAVED, text::STATISTICS_CAPTION});
}

void StatisticsWindow::copyMap() {
    if (map.set)
        copyPicture(mapView->drawing(map.title), PictureSize{mapView->width(), mapView->height()});
}

} // namespace zqar
