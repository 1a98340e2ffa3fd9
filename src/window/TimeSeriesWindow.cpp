#include "window/TimeSeriesWindow.h"

#include "qt/QtDialog.h"
#include "qt/QtDrawingContext.h"
#include "qt/QtText.h"
#include "resources/timeSeriesTexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace zqar {

namespace {

constexpr int CLICK_SLOP = 3; // pixels a click may move and still be a click
constexpr int INITIAL_WIDTH = 1000;
constexpr int INITIAL_HEIGHT = 560;

bool sameChart(const TimeSeriesInput &a, const TimeSeriesInput &b) {
    if (a.lines.size() != b.lines.size())
        return false;
    for (std::size_t i = 0; i < a.lines.size(); ++i)
        if (a.lines[i].log != b.lines[i].log || a.lines[i].label != b.lines[i].label)
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

TimeSeriesInput TimeSeriesChartView::currentInput() {
    TimeSeriesInput input = timeSeriesInput(view.job, view.readSettings());
    if (zoom) {
        input.start = zoom->first;
        input.finish = zoom->second;
    }
    return input;
}

void TimeSeriesChartView::refresh() {
    TimeSeriesInput input = currentInput();
    if (pictureValid && sameChart(input, shown))
        return;
    shown = std::move(input);
    pictureValid = false;
    update();
}

void TimeSeriesChartView::redraw() {
    pictureValid = false;
    refresh();
}

void TimeSeriesChartView::resetZoom() {
    zoom.reset();
    pictureValid = false;
    refresh();
    emit zoomChanged(false);
}

void TimeSeriesChartView::render() {
    shown = currentInput();
    auto dc = platform::QtDrawingContext::offscreen(std::max(1, width()), std::max(1, height()));
    const platform::Rect area{0, 0, width(), height()};
    drawTimeSeries(*dc, shown, area);
    plot = timeSeriesPlotArea(*dc, shown, area);
    picture = dc->image()->copy();
    pictureValid = true;
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

TimeSeriesWindow::TimeSeriesWindow(const JobView &jobView, QWidget *parent)
    : QWidget(parent, Qt::Window), job(jobView.job), view(new TimeSeriesChartView(jobView, this)),
      reset(new QPushButton(platform::toQString(text::RESET_ZOOM_BUTTON), this)) {
    setWindowTitle(platform::toQString(text::TIME_SERIES_CAPTION));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(view, 1);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(platform::toQString(text::TIME_SERIES_HINT), this), 1);
    row->addWidget(reset);
    layout->addLayout(row);
    reset->setEnabled(false);
    connect(reset, &QPushButton::clicked, view, &TimeSeriesChartView::resetZoom);
    connect(view, &TimeSeriesChartView::zoomChanged, reset, &QPushButton::setEnabled);
    resize(INITIAL_WIDTH, INITIAL_HEIGHT);
    listening = job.listen([this](const JobChange &change) {
        if (change.touches(JobChange::RECORDS | JobChange::LAYOUT | JobChange::CALIBRATION))
            view->redraw();
        else
            view->refresh();
    });
}

TimeSeriesWindow::~TimeSeriesWindow() { job.stopListening(listening); }

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
