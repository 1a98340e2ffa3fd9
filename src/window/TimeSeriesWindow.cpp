#include "window/TimeSeriesWindow.h"

#include "core/data/timeUnits.h"
#include "core/job/jobEvents.h"
#include "qt/QtDialog.h"
#include "qt/QtDrawingContext.h"
#include "qt/QtText.h"
#include "resources/desktopTexts.h"
#include "resources/format.h"
#include "resources/qualificationTexts.h"
#include "resources/timeSeriesTexts.h"
#include "window/EventDialog.h"
#include "window/PictureFile.h"
#include "window/secondaryWindow.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zqar {

namespace {

constexpr int CLICK_SLOP = 3; // pixels a click may move and still be a click
constexpr int EVENT_SLOP = 4; // pixels from an event's line that a right click takes it
constexpr int INITIAL_WIDTH = 1200;
constexpr int INITIAL_HEIGHT = 560;
constexpr int PICKER_WIDTH = 220;       // pixels
constexpr int LINE_ROLE = Qt::UserRole; // an item's index into the chart's lines

bool sameMarks(const TimeSeriesInput &a, const TimeSeriesInput &b) {
    if (a.events.size() != b.events.size() || a.phases.size() != b.phases.size())
        return false;
    for (std::size_t i = 0; i < a.events.size(); ++i)
        if (a.events[i].time != b.events[i].time || a.events[i].label != b.events[i].label)
            return false;
    for (std::size_t i = 0; i < a.phases.size(); ++i) {
        const TimeSeriesPhase &p = a.phases[i];
        const TimeSeriesPhase &q = b.phases[i];
        if (p.label != q.label || p.start != q.start || p.finish != q.finish ||
            p.excluded != q.excluded)
            return false;
    }
    return true;
}

bool sameSpots(const TimeSeriesInput &a, const TimeSeriesInput &b) {
    const TimeSeriesSpots none;
    const TimeSeriesSpots &p = a.spots ? *a.spots : none;
    const TimeSeriesSpots &q = b.spots ? *b.spots : none;
    return a.spots.has_value() == b.spots.has_value() && p.warmest == q.warmest &&
           p.coldest == q.coldest;
}

bool sameLabels(const TimeSeriesInput &a, const TimeSeriesInput &b) {
    if (a.lines.size() != b.lines.size())
        return false;
    for (std::size_t i = 0; i < a.lines.size(); ++i)
        if (a.lines[i].label != b.lines[i].label)
            return false;
    return sameSpots(a, b);
}

bool sameChart(const TimeSeriesInput &a, const TimeSeriesInput &b) {
    if (!sameLabels(a, b) || !sameMarks(a, b) || a.picked != b.picked)
        return false;
    for (std::size_t i = 0; i < a.lines.size(); ++i)
        if (a.lines[i].log != b.lines[i].log)
            return false;
    return a.start == b.start && a.finish == b.finish && a.lowerLimit == b.lowerLimit &&
           a.upperLimit == b.upperLimit && a.hasCurrentSet == b.hasCurrentSet &&
           a.currentTime == b.currentTime && a.currentSpan == b.currentSpan;
}

} // namespace

TimeSeriesChartView::TimeSeriesChartView(const JobView &jobView, QWidget *parent)
    : QWidget(parent), view(jobView) {
    setMouseTracking(false);
    setMinimumSize(320, 200);
    setCursor(Qt::CrossCursor);
}

const TimeSeriesSpots &TimeSeriesChartView::spotsOf(const TimeSeriesInput &input) {
    bool same = spotsFound && spotsFound->start == input.start &&
                spotsFound->finish == input.finish && spotsFound->logs.size() == input.lines.size();
    for (std::size_t i = 0; same && i < input.lines.size(); ++i)
        same = spotsFound->logs[i] == input.lines[i].log;
    if (!same) {
        SpotsFound found;
        for (const TimeSeriesLine &line : input.lines)
            found.logs.push_back(line.log);
        found.start = input.start;
        found.finish = input.finish;
        found.spots = findTimeSeriesSpots(input);
        spotsFound = std::move(found);
    }
    return spotsFound->spots;
}

TimeSeriesInput TimeSeriesChartView::currentInput() {
    TimeSeriesInput input = timeSeriesInput(view.job, view.readSettings());
    input.spots = spotsOf(input);
    if (picked) {
        std::vector<std::size_t> lines;
        for (std::size_t i = 0; i < input.lines.size(); ++i)
            if (picked->count(input.lines[i].label) > 0)
                lines.push_back(i);
        input.picked = std::move(lines);
    }
    if (zoom) {
        input.start = zoom->first;
        input.finish = zoom->second;
    }
    return input;
}

void TimeSeriesChartView::take(TimeSeriesInput input) {
    const bool others = !sameLabels(input, shown);
    shown = std::move(input);
    if (others)
        emit linesChanged();
}

void TimeSeriesChartView::refresh() {
    TimeSeriesInput input = currentInput();
    if (pictureValid && sameChart(input, shown))
        return;
    take(std::move(input));
    pictureValid = false;
    update();
}

void TimeSeriesChartView::redraw() {
    pictureValid = false;
    // The records may be new ones where the old ones were.
    spotsFound.reset();
    refresh();
}

void TimeSeriesChartView::setPicked(std::optional<std::set<std::string>> labels) {
    picked = std::move(labels);
    refresh();
}

void TimeSeriesChartView::resetZoom() {
    zoom.reset();
    pictureValid = false;
    refresh();
    emit zoomChanged(false);
}

void TimeSeriesChartView::render() {
    take(currentInput());
    auto dc = platform::QtDrawingContext::offscreen(std::max(1, width()), std::max(1, height()));
    const platform::Rect area{0, 0, width(), height()};
    drawTimeSeries(*dc, shown, area);
    plot = timeSeriesPlotArea(*dc, shown, area);
    picture = dc->image()->copy();
    pictureValid = true;
}

namespace {

PictureDrawing chartDrawing(const TimeSeriesInput &input) {
    return [&input](platform::DrawingContext &dc, int width, int height) {
        drawTimeSeries(dc, input, platform::Rect{0, 0, width, height});
    };
}

} // namespace

CommandOutcome TimeSeriesChartView::savePicture() {
    refresh();
    return savePictureAs(view.host, chartDrawing(shown), PictureSize{width(), height()},
                         text::TIME_SERIES_CAPTION);
}

void TimeSeriesChartView::copyPicture() {
    refresh();
    zqar::copyPicture(chartDrawing(shown), PictureSize{width(), height()});
}

void TimeSeriesChartView::paintEvent(QPaintEvent *) {
    if (!pictureValid || picture.size() != size())
        render();
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
    if (dragStart && std::abs(dragNow - *dragStart) > CLICK_SLOP) {
        const int left = std::max(std::min(*dragStart, dragNow), plot.left);
        const int right = std::min(std::max(*dragStart, dragNow), plot.right);
        painter.fillRect(QRect(left, plot.top, right - left, plot.height()),
                         QColor(0, 90, 200, 50));
    }
}

void TimeSeriesChartView::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    pictureValid = false;
}

void TimeSeriesChartView::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton)
        return;
    dragStart = event->position().toPoint().x();
    dragNow = *dragStart;
}

void TimeSeriesChartView::mouseMoveEvent(QMouseEvent *event) {
    if (!dragStart)
        return;
    dragNow = event->position().toPoint().x();
    update();
}

void TimeSeriesChartView::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton || !dragStart)
        return;
    const int from = *dragStart;
    const int to = event->position().toPoint().x();
    dragStart.reset();
    if (!pictureValid)
        render();
    if (std::abs(to - from) <= CLICK_SLOP) {
        // During a printout the pages must not move to another set.
        if (!platform::QtDialog::commandsHeld()) {
            const int index = setHoldingTime(view.job.setList, timeAtColumn(shown, plot, to));
            if (index >= 0)
                view.showSet(index);
        }
        refresh();
        return;
    }
    const double start = timeAtColumn(shown, plot, std::min(from, to));
    const double finish = timeAtColumn(shown, plot, std::max(from, to));
    if (finish > start) {
        zoom = std::pair{start, finish};
        pictureValid = false;
        emit zoomChanged(true);
    }
    refresh();
    update();
}

QMenu *TimeSeriesChartView::eventMenu(int x) {
    if (!pictureValid)
        render();
    auto *menu = new QMenu(this);
    const double time = timeAtColumn(shown, plot, x);
    QAction *mark = menu->addAction(platform::toQString(text::MARK_EVENT_MENU_ITEM));
    connect(mark, &QAction::triggered, this, [this, time] { markEvent(time); });
    const int near = eventNearColumn(shown, plot, x, EVENT_SLOP);
    if (near >= 0 && static_cast<std::size_t>(near) < view.job.events.size()) {
        const std::size_t index = static_cast<std::size_t>(near);
        const std::string name = shown.events[index].label;
        menu->addSeparator();
        QAction *edit =
            menu->addAction(platform::toQString(text::format(text::EDIT_EVENT_MENU_ITEM, name)));
        connect(edit, &QAction::triggered, this, [this, index] { editEvent(index); });
        QAction *remove =
            menu->addAction(platform::toQString(text::format(text::REMOVE_EVENT_MENU_ITEM, name)));
        connect(remove, &QAction::triggered, this, [this, index] { removeEvent(view.job, index); });
    }
    return menu;
}

void TimeSeriesChartView::markEvent(double time) {
    Event initial;
    // A click lands between minutes; the nearest whole minute is what the user meant.
    initial.time = std::round(time * MINUTES_PER_DAY) / MINUTES_PER_DAY;
    EventDialog dialog(view.host, std::string(text::MARK_EVENT_TITLE), initial, this);
    if (dialog.exec() == QDialog::Accepted)
        if (const std::optional<Event> event = dialog.event())
            addEvent(view.job, *event);
}

void TimeSeriesChartView::editEvent(std::size_t index) {
    if (index >= view.job.events.size())
        return;
    EventDialog dialog(view.host, std::string(text::EDIT_EVENT_TITLE), view.job.events[index],
                       this);
    if (dialog.exec() == QDialog::Accepted)
        if (const std::optional<Event> event = dialog.event())
            replaceEvent(view.job, index, *event);
}

void TimeSeriesChartView::contextMenuEvent(QContextMenuEvent *event) {
    // During a printout the job must stay as it is being printed.
    if (platform::QtDialog::commandsHeld())
        return;
    QMenu *menu = eventMenu(event->pos().x());
    menu->exec(event->globalPos());
    menu->deleteLater();
}

TimeSeriesWindow::TimeSeriesWindow(const JobView &jobView, QWidget *parent)
    : QWidget(parent, Qt::Window), job(jobView.job), view(new TimeSeriesChartView(jobView, this)),
      reset(new QPushButton(platform::toQString(text::RESET_ZOOM_BUTTON), this)),
      filter(new QLineEdit(this)), positions(new QListWidget(this)),
      savePicture(new QPushButton(platform::toQString(text::SAVE_PICTURE_BUTTON), this)),
      copyPicture(new QPushButton(platform::toQString(text::COPY_PICTURE_BUTTON), this)) {
    setWindowTitle(platform::toQString(text::TIME_SERIES_CAPTION));
    auto *layout = new QVBoxLayout(this);
    auto *chartRow = new QHBoxLayout;
    chartRow->addWidget(view, 1);
    auto *picker = new QVBoxLayout;
    picker->addWidget(new QLabel(platform::toQString(text::PICKER_HEADING), this));
    filter->setPlaceholderText(platform::toQString(text::PICKER_FILTER_HINT));
    filter->setClearButtonEnabled(true);
    filter->setFixedWidth(PICKER_WIDTH);
    positions->setFixedWidth(PICKER_WIDTH);
    positions->setUniformItemSizes(true);
    picker->addWidget(filter);
    picker->addWidget(positions, 1);
    chartRow->addLayout(picker);
    layout->addLayout(chartRow, 1);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(platform::toQString(std::string(text::TIME_SERIES_HINT) + " " +
                                                  std::string(text::TIME_SERIES_EVENTS_HINT)),
                              this),
                   1);
    row->addWidget(reset);
    row->addWidget(savePicture);
    row->addWidget(copyPicture);
    row->addWidget(makeCloseButton(*this));
    layout->addLayout(row);
    reset->setEnabled(false);
    connect(reset, &QPushButton::clicked, view, &TimeSeriesChartView::resetZoom);
    connect(savePicture, &QPushButton::clicked, view, [this] { view->savePicture(); });
    connect(copyPicture, &QPushButton::clicked, view, &TimeSeriesChartView::copyPicture);
    connect(view, &TimeSeriesChartView::zoomChanged, reset, &QPushButton::setEnabled);
    connect(view, &TimeSeriesChartView::linesChanged, this, &TimeSeriesWindow::fillPositions);
    connect(positions, &QListWidget::itemChanged, this, &TimeSeriesWindow::pickChanged);
    connect(filter, &QLineEdit::textChanged, this, &TimeSeriesWindow::applyFilter);
    resize(INITIAL_WIDTH, INITIAL_HEIGHT);
    listening = job.listen([this](const JobChange &change) {
        // Another job: its own hot and cold spots, not the positions picked in the last one.
        if (change.touches(JobChange::OPENED | JobChange::LAYOUT))
            view->setPicked(std::nullopt);
        if (change.touches(JobChange::RECORDS | JobChange::LAYOUT | JobChange::CALIBRATION))
            view->redraw();
        else
            view->refresh();
    });
}

TimeSeriesWindow::~TimeSeriesWindow() { job.stopListening(listening); }

void TimeSeriesWindow::fillPositions() {
    const TimeSeriesInput &input = view->input();
    const TimeSeriesSpots spots = input.spots ? *input.spots : TimeSeriesSpots{};
    std::vector<bool> drawn(input.lines.size(), false);
    for (const std::size_t index : drawnLines(input, spots))
        drawn[index] = true;
    const QSignalBlocker quiet(positions);
    positions->clear();
    for (std::size_t i = 0; i < input.lines.size(); ++i) {
        const std::string &label = input.lines[i].label;
        std::string shownText = label;
        if (i == spots.warmest)
            shownText = text::format(text::HOT_SPOT_ITEM, label);
        else if (i == spots.coldest)
            shownText = text::format(text::COLD_SPOT_ITEM, label);
        auto *item = new QListWidgetItem(platform::toQString(shownText), positions);
        item->setData(LINE_ROLE, static_cast<qulonglong>(i));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(drawn[i] ? Qt::Checked : Qt::Unchecked);
    }
    applyFilter();
}

void TimeSeriesWindow::applyFilter() {
    const std::string wanted = platform::fromQString(filter->text());
    for (int row = 0; row < positions->count(); ++row) {
        QListWidgetItem *item = positions->item(row);
        item->setHidden(!lineMatchesFilter(platform::fromQString(item->text()), wanted));
    }
}

void TimeSeriesWindow::pickChanged(QListWidgetItem *) {
    const std::vector<TimeSeriesLine> &lines = view->input().lines;
    std::set<std::string> labels;
    for (int row = 0; row < positions->count(); ++row) {
        const QListWidgetItem *item = positions->item(row);
        const auto index = static_cast<std::size_t>(item->data(LINE_ROLE).toULongLong());
        if (item->checkState() == Qt::Checked && index < lines.size())
            labels.insert(lines[index].label);
    }
    view->setPicked(std::move(labels));
}

void TimeSeriesWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    view->refresh();
}

void TimeSeriesWindow::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    // The time range lives in the Data Filter page's edits, which send no notice of their own.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        view->refresh();
}

} // namespace zqar
