#include "window/CalibrationWindow.h"

#include "core/analysis/calibration.h"
#include "core/data/dateTime.h"
#include "pages/analysis/calibrationCommands.h"
#include "platform/ChosenFile.h"
#include "platform/Host.h"
#include "qt/QtIcon.h"
#include "qt/QtText.h"
#include "resources/analysisTexts.h"
#include "resources/format.h"
#include "window/readOnlyTables.h"
#include "window/secondaryWindow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <filesystem>

namespace zqar {

namespace {

constexpr int WINDOW_WIDTH = 900; // pixels
constexpr int WINDOW_HEIGHT = 640;
// A status other than "ok": dark red on a pale amber, as the Data Files window flags loggers.
const QColor WARNING_TEXT(160, 0, 0);
const QColor WARNING_BACKGROUND(255, 224, 160);

QStringList headings(std::string_view header) {
    QStringList list;
    for (const QString &heading : platform::toQString(header).split(QLatin1Char(',')))
        list.append(heading);
    return list;
}

QTableWidget *makeTable(std::string_view header) { return readOnlyTable(headings(header)); }

// Puts the rows in, one text per cell.
void fill(QTableWidget *table, const std::vector<std::vector<std::string>> &rows) {
    table->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            table->setItem(static_cast<int>(r), static_cast<int>(c),
                           new QTableWidgetItem(platform::toQString(rows[r][c])));
}

platform::FileDialogOptions calibrationDialog(platform::Host &host, std::string_view title) {
    return platform::fileDialogOptions(host, title, text::CALIBRATION_FILTER_DESCRIPTION,
                                       text::CALIBRATION_FILTER_PATTERN,
                                       text::CALIBRATION_EXTENSION);
}

} // namespace

CalibrationWindow::CalibrationWindow(const JobView &jobView, QWidget *parent)
    : QWidget(parent, Qt::Window), view(jobView), file(new QLabel), statusLabel(new QLabel),
      points(makeTable(text::CALIBRATION_FILE_HEADER)),
      status(makeTable(text::CALIBRATION_CSV_HEADER)),
      saveButton(new QPushButton(platform::toQString(text::CALIBRATION_SAVE_BUTTON))),
      clearButton(new QPushButton(platform::toQString(text::CALIBRATION_CLEAR_BUTTON))) {
    setWindowTitle(platform::toQString(text::CALIBRATION_CAPTION));
    setWindowIcon(platform::applicationIcon());
    auto *loadButton = new QPushButton(platform::toQString(text::CALIBRATION_LOAD_BUTTON));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(file, 1);
    buttons->addWidget(loadButton);
    buttons->addWidget(saveButton);
    buttons->addWidget(clearButton);
    buttons->addWidget(makeCloseButton(*this));

    auto *upper = new QWidget;
    auto *upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->addWidget(new QLabel(platform::toQString(text::CALIBRATION_POINTS_LABEL)));
    upperLayout->addWidget(points, 1);
    auto *lower = new QWidget;
    auto *lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(statusLabel);
    lowerLayout->addWidget(status, 1);
    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(upper);
    splitter->addWidget(lower);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(loadButton, &QPushButton::clicked, this, [this] { load(); });
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(clearButton, &QPushButton::clicked, this, &CalibrationWindow::clear);
    resize(WINDOW_WIDTH, WINDOW_HEIGHT);
    refresh();
    listening = view.job.listen([this](const JobChange &change) {
        if (change.touches(JobChange::CALIBRATION | JobChange::RECORDS | JobChange::LAYOUT))
            refresh();
    });
}

CalibrationWindow::~CalibrationWindow() { view.job.stopListening(listening); }

CommandOutcome CalibrationWindow::load() {
    platform::FileDialogOptions options =
        calibrationDialog(view.host, text::CALIBRATION_LOAD_TITLE);
    options.mustExist = true;
    return platform::withChosenFile(
        view.host, platform::FileChoice::Open, options,
        [this](const std::string &path) { return loadCalibrationFile(view.job, view.host, path); });
}

CommandOutcome CalibrationWindow::save() {
    const CalibrationTable *table = view.job.calibration();
    if (!table)
        return CommandOutcome::cancelled();
    const platform::FileDialogOptions options = platform::saveDialogOptions(
        view.host, text::CALIBRATION_SAVE_TITLE, text::CALIBRATION_FILTER_DESCRIPTION,
        text::CALIBRATION_FILTER_PATTERN, text::CALIBRATION_EXTENSION);
    return platform::withChosenFile(view.host, platform::FileChoice::Save, options,
                                    [this, table](const std::string &path) {
                                        return saveCalibrationFile(view.host, *table, path);
                                    });
}

void CalibrationWindow::clear() {
    if (view.job.calibration())
        view.job.clearCalibration();
}

void CalibrationWindow::refresh() {
    const CalibrationTable *table = view.job.calibration();
    saveButton->setEnabled(table != nullptr);
    clearButton->setEnabled(table != nullptr);
    file->setText(platform::toQString(
        table ? text::format(text::CALIBRATION_FILE_LOADED,
                             std::filesystem::path(view.job.calibrationFile()).filename().string())
              : std::string(text::CALIBRATION_NO_FILE)));
    std::vector<std::vector<std::string>> pointRows;
    if (table)
        for (const LoggerCalibration &calibration : table->loggers)
            for (const CalibrationPoint &point : calibration.points)
                pointRows.push_back(calibrationPointRow(calibration, point));
    fill(points, pointRows);

    // The status needs the span; without one the table stays empty and the label says why.
    const DataFilterSettings span = view.readSettings().dataFilter;
    if (!span.start || !span.finish) {
        statusLabel->setText(platform::toQString(text::CALIBRATION_STATUS_NO_SPAN));
        fill(status, {});
        return;
    }
    statusLabel->setText(platform::toQString(text::format(text::CALIBRATION_STATUS_LABEL,
                                                          formatDateTime(*span.start),
                                                          formatDateTime(*span.finish))));
    static const CalibrationTable NO_TABLE;
    std::vector<std::vector<std::string>> statusRows;
    std::vector<bool> warned;
    for (const CalibrationRow &row : calibrationRows(
             view.job.loggerArray, table ? *table : NO_TABLE, *span.start, *span.finish)) {
        statusRows.push_back(calibrationStatusRow(row));
        warned.push_back(row.status != CalibrationStatus::Ok);
    }
    fill(status, statusRows);
    const int statusColumn = status->columnCount() - 1;
    for (std::size_t r = 0; r < warned.size(); ++r)
        if (QTableWidgetItem *cell = status->item(static_cast<int>(r), statusColumn);
            cell && warned[r]) {
            cell->setForeground(WARNING_TEXT);
            cell->setBackground(WARNING_BACKGROUND);
        }
}

void CalibrationWindow::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    // The span lives in the Data Filter page's edits, which send no notice of their own.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refresh();
}

} // namespace zqar
