#include "window/StatisticsWindow.h"

#include "core/analysis/TemperatureSet.h"
#include "core/analysis/qualificationCsv.h"
#include "core/analysis/statisticsColumns.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/job/jobEvents.h"
#include "platform/Host.h"
#include "qt/QtText.h"
#include "resources/controlIds.h"
#include "resources/format.h"
#include "resources/mappingReportTexts.h"
#include "resources/qualificationTexts.h"
#include "resources/strings.h"
#include "resources/studyTexts.h"
#include "window/GraphExport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <limits>

namespace zqar {

namespace {

constexpr int SORT_ROLE = Qt::UserRole + 1;
constexpr int WINDOW_WIDTH = 980; // pixels
constexpr int WINDOW_HEIGHT = 760;
constexpr int MAP_MINIMUM_HEIGHT = 240;
constexpr int ROW_PADDING = 6;                // pixels above and below a line of text
constexpr int QUALIFICATION_FIGURE_COUNT = 7; // the rows of qualificationFigures
constexpr int DEFAULT_PROBE_COUNT = 5;
constexpr int LARGEST_PROBE_COUNT = 999; // the spin box's; the command takes more

QStringList headings() {
    QStringList list;
    for (const StatisticsColumn &column : STATISTICS_COLUMNS)
        list.append(platform::toQString(column.heading));
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

QStringList qualificationPositionHeadings() {
    QStringList list;
    for (const std::string_view heading :
         {text::POSITION_HEADING, text::LOGGER_HEADING, text::POSITION_MEAN_HEADING,
          text::POSITION_SPREAD_HEADING, text::POSITION_FROM_REFERENCE_HEADING,
          text::POSITION_FROM_SET_POINT_HEADING})
        list.append(platform::toQString(heading));
    return list;
}

QStringList eventHeadings() {
    QStringList list;
    for (const std::string_view heading :
         {text::EVENT_HEADING, text::TIME_HEADING, text::FIGURE_HEADING, text::VALUE_HEADING,
          text::POSITION_HEADING, text::NOTE_HEADING})
        list.append(platform::toQString(heading));
    return list;
}

// A read-only table of a model, its columns as wide as their texts.
QTableView *plainTable(QStandardItemModel *model) {
    auto *view = new QTableView;
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->horizontalHeader()->setStretchLastSection(true);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + ROW_PADDING);
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

// The edits of the qualification settings, in the order they stand in the window.
constexpr JobSetting QUALIFICATION_SETTINGS[] = {JobSetting::SetPoint, JobSetting::Tolerance,
                                                 JobSetting::StableStart, JobSetting::StableFinish,
                                                 JobSetting::ReferencePosition};

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
class StatisticsWindow::MapView : public QWidget {
public:
    MapView(const JobView &jobView, QWidget *parent) : QWidget(parent), view(jobView) {
        setMinimumHeight(MAP_MINIMUM_HEIGHT);
    }
    void show(const TemperatureSet *mapSet, std::vector<PositionMark> mapMarks) {
        set = mapSet;
        marks = std::move(mapMarks);
        picture = QImage();
        update();
    }
    QImage render(int width, int height) const {
        if (!set)
            return QImage();
        return renderSetImage(set, view.job.loggerArray.dimensions(), view.readSettings().contour(),
                              width, height, marks);
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (!set)
            return;
        if (picture.size() != size())
            picture = render(width(), height());
        painter.drawImage(0, 0, picture);
    }

private:
    JobView view;
    const TemperatureSet *set = nullptr;
    std::vector<PositionMark> marks;
    QImage picture;
};

StatisticsWindow::StatisticsWindow(const JobView &jobView, QWidget *parent)
    : QWidget(parent, Qt::Window), view(jobView), lowerLimit(new QLineEdit),
      upperLimit(new QLineEdit), activationEnergy(new QLineEdit), setPoint(new QLineEdit),
      tolerance(new QLineEdit), stableStart(new QLineEdit), stableFinish(new QLineEdit),
      referencePosition(new QLineEdit), phasesRow(new QHBoxLayout),
      figures(new QStandardItemModel(this)), qualificationPositions(new QStandardItemModel(this)),
      eventItems(new QStandardItemModel(this)), qualificationSummary(new QLabel),
      mapCheckThreshold(new QLineEdit), probeCount(new QSpinBox),
      items(new QStandardItemModel(this)), sorted(new QSortFilterProxyModel(this)),
      tableView(new QTableView), spots(new QLabel), mapChooser(new QComboBox), mapTitle(new QLabel),
      mapView(new MapView(jobView, this)),
      exportStatisticsButton(new QPushButton(platform::toQString(text::EXPORT_STATISTICS_BUTTON))),
      exportMapButton(new QPushButton(platform::toQString(text::EXPORT_MAP_BUTTON))),
      exportProbesButton(new QPushButton(platform::toQString(text::EXPORT_PROBES_BUTTON))),
      probesPane(new QWidget), probesNote(new QLabel), probeItems(new QStandardItemModel(this)),
      probeTable(new QTableView) {
    setWindowTitle(platform::toQString(text::STATISTICS_CAPTION));

    auto *settingsRow = new QHBoxLayout;
    auto addSetting = [settingsRow](std::string_view label, QLineEdit *edit) {
        settingsRow->addWidget(new QLabel(platform::toQString(label)));
        settingsRow->addWidget(edit);
    };
    addSetting(text::LOWER_LIMIT_LABEL, lowerLimit);
    addSetting(text::UPPER_LIMIT_LABEL, upperLimit);
    addSetting(text::ACTIVATION_ENERGY_LABEL, activationEnergy);
    auto *calculateButton = new QPushButton(platform::toQString(text::CALCULATE_BUTTON));
    settingsRow->addWidget(calculateButton);
    settingsRow->addStretch();

    auto *studyRow = new QHBoxLayout;
    probeCount->setRange(1, LARGEST_PROBE_COUNT);
    probeCount->setValue(DEFAULT_PROBE_COUNT);
    auto *suggestButton = new QPushButton(platform::toQString(text::SUGGEST_PROBES_BUTTON));
    studyRow->addWidget(new QLabel(platform::toQString(text::PROBE_COUNT_LABEL)));
    studyRow->addWidget(probeCount);
    studyRow->addWidget(suggestButton);
    studyRow->addWidget(exportProbesButton);
    studyRow->addSpacing(2 * studyRow->spacing());
    studyRow->addWidget(new QLabel(platform::toQString(text::MAP_CHECK_THRESHOLD_LABEL)));
    studyRow->addWidget(mapCheckThreshold);
    studyRow->addStretch();

    // The edits write through to the job's settings, where the command reads them.
    const std::pair<QLineEdit *, JobSetting> edits[] = {
        {lowerLimit, JobSetting::LowerLimit},
        {upperLimit, JobSetting::UpperLimit},
        {activationEnergy, JobSetting::ActivationEnergy},
        {mapCheckThreshold, JobSetting::MapCheckThreshold}};
    for (const auto &[edit, setting] : edits)
        connect(edit, &QLineEdit::textEdited, this,
                [this, setting = setting](const QString &typed) {
                    view.job.setSetting(setting, platform::fromQString(typed));
                });

    auto *qualificationRow = new QHBoxLayout;
    const std::string_view qualificationLabels[] = {
        text::SET_POINT_LABEL, text::TOLERANCE_LABEL, text::STABLE_START_LABEL,
        text::STABLE_FINISH_LABEL, text::REFERENCE_POSITION_LABEL};
    for (std::size_t i = 0; i < std::size(QUALIFICATION_SETTINGS); ++i) {
        QLineEdit *edit = settingEdit(StatisticsControls::SET_POINT + static_cast<int>(i));
        qualificationRow->addWidget(new QLabel(platform::toQString(qualificationLabels[i])));
        qualificationRow->addWidget(edit, i == 2 || i == 3 ? 2 : 1);
        connect(edit, &QLineEdit::textEdited, this,
                [this, setting = QUALIFICATION_SETTINGS[i]](const QString &typed) {
                    view.job.setSetting(setting, platform::fromQString(typed));
                });
    }
    phasesRow->addWidget(new QLabel(platform::toQString(text::PHASES_LABEL)));

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
    mapRow->addWidget(exportMapButton);

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

    figures->setHorizontalHeaderLabels({platform::toQString(text::FIGURE_HEADING),
                                        platform::toQString(text::VALUE_HEADING),
                                        platform::toQString(text::DEFINITION_HEADING)});
    qualificationPositions->setHorizontalHeaderLabels(qualificationPositionHeadings());
    eventItems->setHorizontalHeaderLabels(eventHeadings());
    auto *qualificationPage = new QWidget;
    auto *qualificationLayout = new QVBoxLayout(qualificationPage);
    qualificationLayout->setContentsMargins(0, 0, 0, 0);
    qualificationSummary->setWordWrap(true);
    qualificationLayout->addWidget(qualificationSummary);
    QTableView *figuresView = plainTable(figures);
    fitRows(figuresView, QUALIFICATION_FIGURE_COUNT);
    qualificationLayout->addWidget(figuresView);
    qualificationLayout->addWidget(plainTable(qualificationPositions), 1);
    auto *tabs = new QTabWidget;
    tabs->addTab(tableView, platform::toQString(text::POSITIONS_TAB));
    tabs->addTab(qualificationPage, platform::toQString(text::QUALIFICATION_HEADING));
    tabs->addTab(plainTable(eventItems), platform::toQString(text::EVENTS_HEADING));

    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(tabs);
    splitter->addWidget(probesPane);
    splitter->addWidget(lower);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(settingsRow);
    layout->addLayout(qualificationRow);
    layout->addLayout(phasesRow);
    layout->addLayout(studyRow);
    layout->addWidget(splitter, 1);

    connect(calculateButton, &QPushButton::clicked, this, [this] { calculate(); });
    connect(mapChooser, &QComboBox::currentIndexChanged, this, [this] { showMap(); });
    connect(exportStatisticsButton, &QPushButton::clicked, this,
            &StatisticsWindow::exportStatistics);
    connect(exportMapButton, &QPushButton::clicked, this, &StatisticsWindow::exportMap);
    connect(suggestButton, &QPushButton::clicked, this, [this] { suggestProbes(); });
    connect(exportProbesButton, &QPushButton::clicked, this, &StatisticsWindow::exportProbes);
    exportStatisticsButton->setEnabled(false);
    exportMapButton->setEnabled(false);
    exportProbesButton->setEnabled(false);
    showStatistics();
    showPhases();
    resize(WINDOW_WIDTH, WINDOW_HEIGHT);
    listening = view.job.listen([this](const JobChange &change) { jobChanged(change); });
}

StatisticsWindow::~StatisticsWindow() { view.job.stopListening(listening); }

void StatisticsWindow::jobChanged(const JobChange &change) {
    if (change.touches(JobChange::SETTINGS))
        showSettings();
    // Figures of records that are gone would be exported as if they were the job's.
    if (change.touches(JobChange::LAYOUT | JobChange::RECORDS) && statistics) {
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
    const std::pair<QLineEdit *, JobSetting> edits[] = {
        {lowerLimit, JobSetting::LowerLimit},
        {upperLimit, JobSetting::UpperLimit},
        {activationEnergy, JobSetting::ActivationEnergy},
        {mapCheckThreshold, JobSetting::MapCheckThreshold}};
    for (const auto &[edit, setting] : edits) {
        const QString kept = platform::toQString(view.job.setting(setting));
        // Only a text that differs is set, so the cursor stays where the user types.
        if (edit->text() != kept)
            edit->setText(kept);
    }
    for (std::size_t i = 0; i < std::size(QUALIFICATION_SETTINGS); ++i) {
        QLineEdit *edit = settingEdit(StatisticsControls::SET_POINT + static_cast<int>(i));
        const QString kept = platform::toQString(view.job.setting(QUALIFICATION_SETTINGS[i]));
        if (edit->text() != kept)
            edit->setText(kept);
    }
}

QLineEdit *StatisticsWindow::settingEdit(int control) const {
    switch (control) {
    case StatisticsControls::LOWER_LIMIT:
        return lowerLimit;
    case StatisticsControls::UPPER_LIMIT:
        return upperLimit;
    case StatisticsControls::ACTIVATION_ENERGY:
        return activationEnergy;
    case StatisticsControls::SET_POINT:
        return setPoint;
    case StatisticsControls::TOLERANCE:
        return tolerance;
    case StatisticsControls::STABLE_START:
        return stableStart;
    case StatisticsControls::STABLE_FINISH:
        return stableFinish;
    case StatisticsControls::REFERENCE_POSITION:
        return referencePosition;
    case StatisticsControls::MAP_CHECK_THRESHOLD:
        return mapCheckThreshold;
    default:
        return nullptr;
    }
}

void StatisticsWindow::present() {
    showSettings();
    show();
    raise();
    activateWindow();
}

CommandOutcome StatisticsWindow::calculate() {
    if (view.recordChanges)
        view.recordChanges();
    StatisticsRun run = calculateStatistics(view.job, view.readSettings(), view.host);
    if (run.outcome.kind != CommandOutcome::Kind::Completed)
        return run.outcome;
    statistics = std::move(run.statistics);
    calculatedWith = run.settings;
    excludedWhenCalculated = excludedPhasesOfJob(view.job);
    // A qualification setting that does not read, or a reference without readings, leaves the
    // statistics standing: the qualification tab says what is wrong.
    qualification = qualificationOver(view.job, statistics->start, statistics->finish);
    eventFigures =
        eventOutcomes(view.job.loggerArray, view.job.events, statistics->finish, calculatedWith);
    // Probes on show follow the new figures.
    if (probes && view.job.probeCount > 0)
        probes = suggestProbesFor(view.job, *statistics, view.job.probeCount);
    showStatistics();
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
    for (const PositionQualification &position : q.positions)
        appendTextRow(qualificationPositions, qualificationPositionRow(position), 2, 5);
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
}

CommandOutcome StatisticsWindow::suggestProbes() {
    const int count = probeCount->value();
    ProbesRun run = runProbeSuggestion(view.job, view.readSettings(), view.host, count);
    if (run.outcome.kind != CommandOutcome::Kind::Completed)
        return run.outcome;
    statistics = std::move(run.statistics);
    probes = std::move(run.probes);
    showStatistics();
    // The mapping report lists as many from now on.
    if (view.job.probeCount != count) {
        view.job.probeCount = count;
        view.job.changed(JobChange::PROBES);
    }
    return run.outcome;
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
    QStringList headings;
    for (const std::string &heading : headerFields(text::PROBES_CSV_HEADER))
        headings.append(platform::toQString(heading));
    probeItems->setHorizontalHeaderLabels(headings);
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
    exportMapButton->setEnabled(calculated);
    showQualification();
    showEvents();
    showProbes();
    if (!calculated) {
        spots->clear();
        showMap();
        return;
    }
    // Sorting is switched off while the rows go in, or every row would be sorted on arrival.
    tableView->setSortingEnabled(false);
    for (std::size_t i = 0; i < statistics->positions.size(); ++i) {
        const PositionStatistics &p = statistics->positions[i];
        const std::vector<std::string> row = statisticsRow(p);
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
    for (const std::string &line : spotLines(*statistics))
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
    const platform::FileDialogOptions options = platform::saveDialogOptions(
        host, text::EXPORT_DIALOG_TITLE, text::EXPORT_FILTER_DESCRIPTION,
        text::EXPORT_FILTER_PATTERN, text::EXPORT_EXTENSION);
    if (const std::optional<std::string> chosen = host.saveFile(options))
        writeProbesCsv(host, *statistics, probes->suggestion, *chosen);
}

void StatisticsWindow::exportStatistics() {
    if (!statistics)
        return;
    platform::Host &host = view.host;
    const platform::FileDialogOptions options = platform::saveDialogOptions(
        host, text::EXPORT_DIALOG_TITLE, text::EXPORT_FILTER_DESCRIPTION,
        text::EXPORT_FILTER_PATTERN, text::EXPORT_EXTENSION);
    if (const std::optional<std::string> chosen = host.saveFile(options))
        writeStatisticsCsv(host, *statistics, *chosen);
}

void StatisticsWindow::exportMap() {
    if (!map.set)
        return;
    platform::Host &host = view.host;
    const platform::FileDialogOptions options =
        platform::saveDialogOptions(host, text::MAP_DIALOG_TITLE, text::MAP_FILTER_DESCRIPTION,
                                    text::MAP_FILTER_PATTERN, text::MAP_EXTENSION);
    const std::optional<std::string> chosen = host.saveFile(options);
    if (!chosen)
        return;
    if (!savePng(mapView->render(mapView->width(), mapView->height()), *chosen))
        host.messageBox(std::string(text::MAP_NOT_SAVED), std::string(text::STATISTICS_CAPTION));
}

} // namespace zqar
