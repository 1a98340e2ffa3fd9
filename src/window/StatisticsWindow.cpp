#include "window/StatisticsWindow.h"

#include "core/analysis/TemperatureSet.h"
#include "core/analysis/placedPositions.h"
#include "core/analysis/statisticsColumns.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "platform/Host.h"
#include "qt/QtText.h"
#include "resources/analysisTexts.h"
#include "resources/controlIds.h"
#include "resources/format.h"
#include "resources/strings.h"
#include "window/GraphExport.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <limits>

namespace zqar {

namespace {

constexpr int SORT_ROLE = Qt::UserRole + 1;
constexpr int WINDOW_WIDTH = 980; // pixels
constexpr int ROW_PADDING = 6;    // pixels a table row adds to the height of its text
constexpr int WINDOW_HEIGHT = 760;
constexpr int MAP_MINIMUM_HEIGHT = 240;
constexpr int EXCLUSION_DIALOG_WIDTH = 420; // pixels: room for a time and a reason
constexpr int SIDE_PANEL_WIDTH = 420; // pixels, the rules, alarms and exclusions beside the map

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

QTableWidget *makeTable(std::string_view header) {
    auto *table = new QTableWidget;
    const QStringList columns = platform::toQString(header).split(QLatin1Char(','));
    table->setColumnCount(static_cast<int>(columns.size()));
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    // Rows as high as their text, so a whole array fits in view.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + ROW_PADDING);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void fillTable(QTableWidget *table, const std::vector<std::vector<std::string>> &rows) {
    table->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            table->setItem(static_cast<int>(r), static_cast<int>(c),
                           new QTableWidgetItem(platform::toQString(rows[r][c])));
}

// The row of the table's current selection, or -1.
int selectedRow(const QTableWidget *table) {
    const QList<QTableWidgetItem *> chosen = table->selectedItems();
    return chosen.isEmpty() ? -1 : chosen.front()->row();
}

// The Exclude Readings dialog: one placed logger, the first and the last time of its readings
// to leave out (the Data Filter span to begin with), and the reason.
class ExclusionDialog : public QDialog {
public:
    ExclusionDialog(const Job &job, const DataFilterSettings &span, QWidget *parent)
        : QDialog(parent), position(new QComboBox), first(new QLineEdit), last(new QLineEdit),
          reason(new QLineEdit) {
        setWindowTitle(platform::toQString(text::EXCLUDE_TITLE));
        setMinimumWidth(EXCLUSION_DIALOG_WIDTH);
        for (const PlacedPosition &p : placedPositions(job.loggerArray))
            if (p.record) {
                position->addItem(platform::toQString(p.position + " " + p.record->label()));
                places.push_back({p.row, p.col});
            }
        if (span.start)
            first->setText(platform::toQString(formatDateTime(*span.start)));
        if (span.finish)
            last->setText(platform::toQString(formatDateTime(*span.finish)));
        auto *form = new QFormLayout(this);
        form->addRow(platform::toQString(text::EXCLUDE_POSITION_LABEL), position);
        form->addRow(platform::toQString(text::EXCLUDE_FIRST_LABEL), first);
        form->addRow(platform::toQString(text::EXCLUDE_LAST_LABEL), last);
        form->addRow(platform::toQString(text::EXCLUDE_REASON_LABEL), reason);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        form->addRow(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }

    // The exclusion as typed, or the message that says what is wrong with it.
    std::optional<Exclusion> exclusion(std::string &problem) const {
        const int chosen = position->currentIndex();
        const std::optional<double> from = readTimeSetting(platform::fromQString(first->text()));
        const std::optional<double> through = readTimeSetting(platform::fromQString(last->text()));
        const std::string why = platform::fromQString(reason->text().trimmed());
        if (chosen < 0) {
            problem = text::EXCLUSION_NO_LOGGER;
            return std::nullopt;
        }
        if (!from || !through || *through < *from) {
            problem = text::EXCLUSION_TIMES_INVALID;
            return std::nullopt;
        }
        if (why.empty()) {
            problem = text::EXCLUSION_NO_REASON;
            return std::nullopt;
        }
        const auto &[row, col] = places[static_cast<std::size_t>(chosen)];
        return Exclusion{row, col, *from, *through, why};
    }

private:
    QComboBox *position;
    QLineEdit *first;
    QLineEdit *last;
    QLineEdit *reason;
    std::vector<std::pair<int, int>> places; // row and column of each choice
};

} // namespace

// The map of the chosen statistic, drawn into an image of the widget's size whenever the map
// or the size changes.
class StatisticsWindow::MapView : public QWidget {
public:
    MapView(const JobView &jobView, QWidget *parent) : QWidget(parent), view(jobView) {
        setMinimumHeight(MAP_MINIMUM_HEIGHT);
    }
    void show(const TemperatureSet *mapSet) {
        set = mapSet;
        picture = QImage();
        update();
    }
    QImage render(int width, int height) const {
        if (!set)
            return QImage();
        return renderSetImage(set, view.job.loggerArray.dimensions(), view.readSettings().contour(),
                              width, height);
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
    QImage picture;
};

StatisticsWindow::StatisticsWindow(const JobView &jobView, QWidget *parent)
    : QWidget(parent, Qt::Window), view(jobView), ruleText(new QLineEdit),
      rules(makeTable(text::ALARM_RULE_HEADING)), alarms(makeTable(text::ALARMS_CSV_HEADER)),
      exclusionList(new QListWidget), items(new QStandardItemModel(this)),
      sorted(new QSortFilterProxyModel(this)), tableView(new QTableView), spots(new QLabel),
      mapChooser(new QComboBox), mapTitle(new QLabel), mapView(new MapView(jobView, this)),
      exportStatisticsButton(new QPushButton(platform::toQString(text::EXPORT_STATISTICS_BUTTON))),
      exportMapButton(new QPushButton(platform::toQString(text::EXPORT_MAP_BUTTON))) {
    setWindowTitle(platform::toQString(text::STATISTICS_CAPTION));

    auto *settingsRow = new QHBoxLayout;
    auto *moreSettingsRow = new QHBoxLayout;
    // The edits write through to the job's settings, where the commands read them. An empty
    // plausible setting keeps the default its placeholder shows.
    auto addSetting = [this](QHBoxLayout *row, std::string_view label, JobSetting setting,
                             int control, std::string_view placeholder = {}) {
        auto *edit = new QLineEdit;
        edit->setPlaceholderText(platform::toQString(placeholder));
        row->addWidget(new QLabel(platform::toQString(label)));
        row->addWidget(edit);
        settingEdits.push_back({edit, setting, control});
        connect(edit, &QLineEdit::textEdited, this, [this, setting](const QString &typed) {
            view.job.setSetting(setting, platform::fromQString(typed));
        });
    };
    using SC = StatisticsControls;
    addSetting(settingsRow, text::LOWER_LIMIT_LABEL, JobSetting::LowerLimit, SC::LOWER_LIMIT);
    addSetting(settingsRow, text::UPPER_LIMIT_LABEL, JobSetting::UpperLimit, SC::UPPER_LIMIT);
    addSetting(settingsRow, text::ACTIVATION_ENERGY_LABEL, JobSetting::ActivationEnergy,
               SC::ACTIVATION_ENERGY);
    auto *calculateButton = new QPushButton(platform::toQString(text::CALCULATE_BUTTON));
    settingsRow->addWidget(calculateButton);
    settingsRow->addStretch();
    const DataCheckSettings defaults;
    addSetting(moreSettingsRow, text::MKT_WINDOW_LABEL, JobSetting::MktWindow, SC::MKT_WINDOW);
    addSetting(moreSettingsRow, text::PLAUSIBLE_LOW_LABEL, JobSetting::PlausibleLow,
               SC::PLAUSIBLE_LOW, formatFixed(defaults.plausibleLow, 0));
    addSetting(moreSettingsRow, text::PLAUSIBLE_HIGH_LABEL, JobSetting::PlausibleHigh,
               SC::PLAUSIBLE_HIGH, formatFixed(defaults.plausibleHigh, 0));
    addSetting(moreSettingsRow, text::PLAUSIBLE_JUMP_LABEL, JobSetting::PlausibleJump,
               SC::PLAUSIBLE_JUMP, formatFixed(defaults.plausibleJump, 0));
    moreSettingsRow->addStretch();

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

    // Beside the map: the rules with their edit, the alarms of the last calculation and the
    // exclusions.
    ruleText->setPlaceholderText(platform::toQString(text::ALARM_RULE_HINT));
    auto *addRuleButton = new QPushButton(platform::toQString(text::ADD_RULE_BUTTON));
    auto *removeRuleButton = new QPushButton(platform::toQString(text::REMOVE_RULE_BUTTON));
    auto *ruleRow = new QHBoxLayout;
    ruleRow->addWidget(ruleText, 1);
    ruleRow->addWidget(addRuleButton);
    auto *rulesPage = new QWidget;
    auto *rulesLayout = new QVBoxLayout(rulesPage);
    rulesLayout->addLayout(ruleRow);
    rulesLayout->addWidget(rules, 1);
    rulesLayout->addWidget(removeRuleButton, 0, Qt::AlignRight);
    auto *excludeButton = new QPushButton(platform::toQString(text::EXCLUDE_BUTTON));
    auto *removeExclusionButton =
        new QPushButton(platform::toQString(text::REMOVE_EXCLUSION_BUTTON));
    auto *exclusionButtons = new QHBoxLayout;
    exclusionButtons->addWidget(excludeButton);
    exclusionButtons->addStretch();
    exclusionButtons->addWidget(removeExclusionButton);
    auto *exclusionsPage = new QWidget;
    auto *exclusionsLayout = new QVBoxLayout(exclusionsPage);
    exclusionsLayout->addWidget(exclusionList, 1);
    exclusionsLayout->addLayout(exclusionButtons);
    auto *sidePanel = new QTabWidget;
    sidePanel->addTab(rulesPage, platform::toQString(text::ALARM_RULES_TAB));
    sidePanel->addTab(alarms, platform::toQString(text::ALARMS_TAB));
    sidePanel->addTab(exclusionsPage, platform::toQString(text::EXCLUSIONS_TAB));
    sidePanel->setMinimumWidth(SIDE_PANEL_WIDTH);
    auto *lowerSplitter = new QSplitter(Qt::Horizontal);
    lowerSplitter->addWidget(lower);
    lowerSplitter->addWidget(sidePanel);
    lowerSplitter->setStretchFactor(0, 1);

    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(tableView);
    splitter->addWidget(lowerSplitter);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(settingsRow);
    layout->addLayout(moreSettingsRow);
    layout->addWidget(splitter, 1);

    connect(addRuleButton, &QPushButton::clicked, this,
            [this] { addRule(platform::fromQString(ruleText->text())); });
    connect(ruleText, &QLineEdit::returnPressed, this,
            [this] { addRule(platform::fromQString(ruleText->text())); });
    connect(removeRuleButton, &QPushButton::clicked, this,
            [this] { removeRule(selectedRow(rules)); });
    connect(excludeButton, &QPushButton::clicked, this, &StatisticsWindow::excludeReadings);
    connect(removeExclusionButton, &QPushButton::clicked, this,
            [this] { removeExclusion(exclusionList->currentRow()); });

    connect(calculateButton, &QPushButton::clicked, this, [this] { calculate(); });
    connect(mapChooser, &QComboBox::currentIndexChanged, this, [this] { showMap(); });
    connect(exportStatisticsButton, &QPushButton::clicked, this,
            &StatisticsWindow::exportStatistics);
    connect(exportMapButton, &QPushButton::clicked, this, &StatisticsWindow::exportMap);
    exportStatisticsButton->setEnabled(false);
    exportMapButton->setEnabled(false);
    showStatistics();
    showRules();
    showExclusions();
    resize(WINDOW_WIDTH, WINDOW_HEIGHT);
    listening = view.job.listen([this](const JobChange &change) { jobChanged(change); });
}

StatisticsWindow::~StatisticsWindow() { view.job.stopListening(listening); }

void StatisticsWindow::jobChanged(const JobChange &change) {
    if (change.touches(JobChange::SETTINGS))
        showSettings();
    if (change.touches(JobChange::ALARM_RULES))
        showRules();
    if (change.touches(JobChange::EXCLUSIONS))
        showExclusions();
    // Figures of records that are gone, or of other readings, rules or exclusions, would be
    // exported as if they were the job's.
    if (change.touches(JobChange::LAYOUT | JobChange::RECORDS | JobChange::CALIBRATION |
                       JobChange::ALARM_RULES | JobChange::EXCLUSIONS) &&
        statistics) {
        statistics.reset();
        showStatistics();
    }
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

bool StatisticsWindow::addRule(const std::string &spec) {
    std::optional<AlarmRule> rule = readAlarmRule(spec);
    if (!rule) {
        view.host.messageBox(alarmRuleProblem(spec), std::string(text::STATISTICS_CAPTION));
        return false;
    }
    ruleText->clear();
    view.job.alarmRules.push_back(std::move(*rule));
    view.job.changed(JobChange::ALARM_RULES);
    return true;
}

void StatisticsWindow::removeRule(int index) {
    std::vector<AlarmRule> &kept = view.job.alarmRules;
    if (index < 0 || static_cast<std::size_t>(index) >= kept.size())
        return;
    kept.erase(kept.begin() + index);
    view.job.changed(JobChange::ALARM_RULES);
}

void StatisticsWindow::excludeReadings() {
    ExclusionDialog dialog(view.job, view.readSettings().dataFilter, this);
    while (dialog.exec() == QDialog::Accepted) {
        std::string problem;
        if (const std::optional<Exclusion> exclusion = dialog.exclusion(problem)) {
            addExclusion(*exclusion);
            return;
        }
        view.host.messageBox(problem, std::string(text::STATISTICS_CAPTION));
    }
}

void StatisticsWindow::addExclusion(const Exclusion &exclusion) {
    view.job.exclusions.push_back(exclusion);
    view.job.changed(JobChange::EXCLUSIONS);
}

void StatisticsWindow::removeExclusion(int index) {
    std::vector<Exclusion> &kept = view.job.exclusions;
    if (index < 0 || static_cast<std::size_t>(index) >= kept.size())
        return;
    kept.erase(kept.begin() + index);
    view.job.changed(JobChange::EXCLUSIONS);
}

void StatisticsWindow::showRules() {
    std::vector<std::vector<std::string>> rows;
    for (const AlarmRule &rule : view.job.alarmRules)
        rows.push_back({rule.spec});
    fillTable(rules, rows);
}

void StatisticsWindow::showExclusions() {
    exclusionList->clear();
    for (const Exclusion &exclusion : view.job.exclusions)
        exclusionList->addItem(platform::toQString(exclusionText(view.job.loggerArray, exclusion)));
}

void StatisticsWindow::showAlarms() {
    std::vector<std::vector<std::string>> rows;
    if (statistics)
        for (const Alarm &alarm : firedAlarms)
            rows.push_back(alarmRow(alarm, evaluatedRules));
    fillTable(alarms, rows);
}

void StatisticsWindow::present() {
    showSettings();
    show();
    raise();
    activateWindow();
}

CommandOutcome StatisticsWindow::calculate() {
    const CommandOutcome unit = checkActivationEnergyUnit(view.job, view.host);
    if (unit.kind != CommandOutcome::Kind::Completed)
        return unit;
    StatisticsRun run = calculateStatistics(view.job, view.readSettings(), view.host);
    if (run.outcome.kind != CommandOutcome::Kind::Completed)
        return run.outcome;
    statistics = std::move(run.statistics);
    firedAlarms = std::move(run.alarms);
    evaluatedRules = view.job.alarmRules;
    rollingMkt = std::move(run.rollingMkt);
    showStatistics();
    return run.outcome;
}

void StatisticsWindow::showStatistics() {
    items->removeRows(0, items->rowCount());
    const bool calculated = statistics.has_value();
    exportStatisticsButton->setEnabled(calculated);
    exportMapButton->setEnabled(calculated);
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
    if (rollingMkt) {
        const std::string line = highestRollingMktLine(*rollingMkt);
        if (!line.empty())
            shown += "\n" + line;
    }
    spots->setText(platform::toQString(shown));
    showMap();
}

void StatisticsWindow::showMap() {
    if (!statistics) {
        map = StatisticMapSet{};
        mapTitle->clear();
        mapView->show(nullptr);
        return;
    }
    const int choice = std::max(mapChooser->currentIndex(), 0);
    map = makeStatisticMap(*statistics, MAP_STATISTICS[static_cast<std::size_t>(choice)].statistic);
    mapTitle->setText(platform::toQString(map.title));
    mapView->show(map.set.get());
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
