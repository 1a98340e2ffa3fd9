#include "window/CompareWindow.h"

#include "core/analysis/TemperatureSet.h"
#include "core/data/dateTime.h"
#include "pages/presentation/csvExportDialog.h"
#include "platform/ChosenFile.h"
#include "platform/Host.h"
#include "qt/QtDrawingContext.h"
#include "qt/QtText.h"
#include "resources/format.h"
#include "resources/strings.h"
#include "resources/studyTexts.h"
#include "window/GraphExport.h"
#include "window/readOnlyTables.h"
#include "window/secondaryWindow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace zqar {

namespace {

constexpr int WINDOW_WIDTH = 1000; // pixels
constexpr int WINDOW_HEIGHT = 720;
constexpr int PICTURE_MINIMUM_HEIGHT = 240;
// comparisonRows: position, statistic, A, B, delta.
constexpr std::size_t ROW_STATISTIC = 1;
constexpr std::size_t ROW_A = 2;
constexpr std::size_t ROW_B = 3;
constexpr std::size_t ROW_DELTA = 4;

std::string joined(const std::vector<std::string> &names) {
    std::string text;
    for (const std::string &name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

} // namespace

PictureView::PictureView(QWidget *parent) : QWidget(parent) {
    setMinimumHeight(PICTURE_MINIMUM_HEIGHT);
}

void PictureView::setRender(Render render) {
    draw = std::move(render);
    picture = QImage();
    update();
}

QImage PictureView::render(int width, int height) const {
    return draw ? draw(width, height) : QImage();
}

void PictureView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!draw)
        return;
    if (picture.size() != size())
        picture = render(width(), height());
    painter.drawImage(0, 0, picture);
}

CompareWindow::CompareWindow(const JobView &jobView, QWidget *parent)
    : QWidget(parent, Qt::Window), view(jobView), studies(new QLabel), matching(new QLabel),
      tabs(new QTabWidget), differences(new QStandardItemModel(this)),
      differencesView(readOnlyTable(differences)), spots(new QStandardItemModel(this)),
      spotsView(readOnlyTable(spots)), mapTitle(new QLabel), mapView(new PictureView),
      positionChoice(new QComboBox), seriesNote(new QLabel), chartView(new PictureView),
      exportButton(new QPushButton(platform::toQString(text::EXPORT_COMPARISON_BUTTON))) {
    setWindowTitle(platform::toQString(text::COMPARE_CAPTION));
    studies->setWordWrap(true);
    matching->setWordWrap(true);
    seriesNote->setWordWrap(true);

    auto *mapPage = new QWidget;
    auto *mapLayout = new QVBoxLayout(mapPage);
    mapLayout->addWidget(mapTitle);
    mapLayout->addWidget(mapView, 1);

    auto *seriesPage = new QWidget;
    auto *seriesLayout = new QVBoxLayout(seriesPage);
    auto *choiceRow = new QHBoxLayout;
    choiceRow->addWidget(new QLabel(platform::toQString(text::SERIES_POSITION_LABEL)));
    choiceRow->addWidget(positionChoice);
    choiceRow->addStretch();
    seriesLayout->addLayout(choiceRow);
    seriesLayout->addWidget(seriesNote);
    seriesLayout->addWidget(chartView, 1);

    tabs->addTab(differencesView, platform::toQString(text::DIFFERENCES_TAB));
    tabs->addTab(spotsView, platform::toQString(text::SPOTS_TAB));
    tabs->addTab(mapPage, platform::toQString(text::DIFFERENCE_MAP_TAB));
    tabs->addTab(seriesPage, platform::toQString(text::COMPARED_SERIES_TAB));

    auto *bottomRow = new QHBoxLayout;
    bottomRow->addStretch();
    bottomRow->addWidget(exportButton);
    bottomRow->addWidget(makeCloseButton(*this));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(studies);
    layout->addWidget(matching);
    layout->addWidget(tabs, 1);
    layout->addLayout(bottomRow);

    connect(positionChoice, &QComboBox::currentIndexChanged, this, [this] { showSeries(); });
    connect(exportButton, &QPushButton::clicked, this, &CompareWindow::exportComparison);
    resize(WINDOW_WIDTH, WINDOW_HEIGHT);
    clear();
    // A comparison of records that are gone would be shown as if it were the job's.
    listening = view.job.listen([this](const JobChange &change) {
        if (change.touches(JobChange::LAYOUT | JobChange::RECORDS) && run)
            clear();
    });
}

CompareWindow::~CompareWindow() { view.job.stopListening(listening); }

CommandOutcome CompareWindow::chooseAndCompare() {
    platform::FileDialogOptions options = platform::fileDialogOptions(
        view.host, text::COMPARE_DIALOG_TITLE, text::REPORT_FILTER_DESCRIPTION,
        text::REPORT_FILTER_PATTERN, text::REPORT_EXTENSION);
    options.mustExist = true;
    return platform::withChosenFile(view.host, platform::FileChoice::Open, options,
                                    [this](const std::string &path) { return compareWith(path); });
}

CommandOutcome CompareWindow::compareWith(const std::string &path) {
    auto compared = std::make_unique<ComparisonRun>(
        compareWithReport(view.job, view.readSettings(), view.host, path));
    if (compared->outcome.kind != CommandOutcome::Kind::Completed)
        return compared->outcome;
    run = std::move(compared);
    showComparison();
    return run->outcome;
}

void CompareWindow::clear() {
    run.reset();
    map = DifferenceMap{};
    series = TimeSeriesInput{};
    studies->clear();
    matching->clear();
    differences->clear();
    spots->clear();
    mapTitle->clear();
    mapView->setRender(nullptr);
    {
        const QSignalBlocker quiet(positionChoice);
        positionChoice->clear();
    }
    seriesNote->clear();
    chartView->setRender(nullptr);
    exportButton->setEnabled(false);
    setWindowTitle(platform::toQString(text::COMPARE_CAPTION));
}

void CompareWindow::showComparison() {
    const ComparisonRun &compared = *run;
    const std::string otherName = std::filesystem::path(compared.otherPath).filename().string();
    setWindowTitle(platform::toQString(text::format(text::COMPARE_WINDOW_TITLE, otherName)));
    studies->setText(platform::toQString(text::formatAll(
        text::COMPARE_STUDIES,
        {formatDateTime(compared.a.start), formatDateTime(compared.a.finish), otherName,
         formatDateTime(compared.b.start), formatDateTime(compared.b.finish)})));
    std::string unmatched;
    if (!compared.comparison.onlyInA.empty())
        unmatched += std::string(text::ONLY_IN_A) + joined(compared.comparison.onlyInA);
    if (!compared.comparison.onlyInB.empty())
        unmatched += (unmatched.empty() ? "" : "\n") + std::string(text::ONLY_IN_B) +
                     joined(compared.comparison.onlyInB);
    matching->setText(
        platform::toQString(unmatched.empty() ? std::string(text::ALL_MATCHED) : unmatched));

    // One row per position, one column per statistic: its B - A, with A and B in the tip.
    differences->clear();
    const std::vector<std::vector<std::string>> rows =
        comparisonRows(compared.a, compared.b, compared.comparison);
    std::vector<std::string> headings{headerFields(text::COMPARE_CSV_HEADER).front()};
    for (std::size_t k = 0; k < std::min<std::size_t>(rows.size(), COMPARED_STATISTIC_COUNT); ++k)
        headings.push_back(rows[k][ROW_STATISTIC]);
    differences->setHorizontalHeaderLabels(qtTexts(headings));
    for (std::size_t first = 0; first < rows.size(); first += COMPARED_STATISTIC_COUNT) {
        QList<QStandardItem *> cells{new QStandardItem(platform::toQString(rows[first][0]))};
        for (std::size_t k = first; k < std::min(rows.size(), first + COMPARED_STATISTIC_COUNT);
             ++k) {
            auto *cell = new QStandardItem(platform::toQString(rows[k][ROW_DELTA]));
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            cell->setToolTip(platform::toQString("A " + rows[k][ROW_A] + "   B " + rows[k][ROW_B]));
            cells.append(cell);
        }
        differences->appendRow(cells);
    }

    spots->clear();
    spots->setHorizontalHeaderLabels(qtTexts(headerFields(text::COMPARE_SPOTS_HEADER)));
    for (const std::vector<std::string> &row :
         spotComparisonRows(compared.a, compared.b, compared.comparison)) {
        QList<QStandardItem *> cells;
        for (const std::string &field : row)
            cells.append(new QStandardItem(platform::toQString(field)));
        spots->appendRow(cells);
    }

    map = differenceMap(compared, view.readSettings().contour());
    mapTitle->setText(platform::toQString(map.title));
    const ArrayDimensions dimensions = compared.a.dimensions;
    mapView->setRender([this, dimensions](int width, int height) {
        return renderSetImage(map.set.get(), dimensions, map.settings, width, height);
    });

    {
        const QSignalBlocker quiet(positionChoice);
        positionChoice->clear();
        positionChoice->addItem(platform::toQString(text::ALL_POSITIONS_CHOICE));
        for (const ComparedSeries &position : compared.series)
            positionChoice->addItem(platform::toQString(position.position));
        // One position's pair of lines shows a change at a glance; all of them overlap.
        positionChoice->setCurrentIndex(positionChoice->count() > 1 ? 1 : 0);
    }
    seriesNote->setText(platform::toQString(elapsedNote(compared)));
    showSeries();
    exportButton->setEnabled(true);
}

void CompareWindow::showSeries() {
    if (!run)
        return;
    const int choice = positionChoice->currentIndex();
    const std::string position =
        choice <= 0 ? std::string() : platform::fromQString(positionChoice->currentText());
    series = comparedSeriesInput(*run, position);
    chartView->setRender([this](int width, int height) {
        auto dc = platform::QtDrawingContext::offscreen(std::max(1, width), std::max(1, height));
        drawTimeSeries(*dc, series, platform::Rect{0, 0, width, height});
        return dc->image()->copy();
    });
}

void CompareWindow::exportComparison() {
    if (!run)
        return;
    platform::Host &host = view.host;
    if (const std::optional<std::string> chosen = chooseCsvExport(host))
        writeComparisonCsv(host, *run, *chosen);
}

} // namespace zqar
