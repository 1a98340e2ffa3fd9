#pragma once
// The "Time Series..." window: the chart of every placed logger over the Data Filter page's
// time range, beside the main window and not modal. A click makes the set holding that time
// current on the Graph and Matrix pages; a drag across the chart zooms into that time range,
// and Reset Zoom goes back to the whole range. The chart follows the job: new records, a new
// calculation, a new current set or new limits show at once; the Data Filter's time range is
// read again with them and whenever the window comes to the front. A right click marks an
// event at that time, or edits or removes the event whose line is near; the job keeps them.
// Beside the chart a list of the positions with their serial numbers, narrowed by a filter
// box above it, picks with check boxes which positions are drawn as lines; beyond a dozen
// positions the chart draws their envelope whatever is picked.

#include "pages/JobView.h"
#include "pages/presentation/TimeSeriesChart.h"
#include "platform/CommandOutcome.h"

#include <QImage>
#include <QWidget>

#include <optional>
#include <set>
#include <string>
#include <utility>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;

namespace zqar {

class TimeSeriesChartView : public QWidget {
    Q_OBJECT
public:
    TimeSeriesChartView(const JobView &view, QWidget *parent = nullptr);

    // The zoomed time range, or none for the pages' whole range.
    std::optional<std::pair<double, double>> zoom;
    // What the chart shows now, and where its plot lies in this widget.
    const TimeSeriesInput &input() const { return shown; }
    platform::Rect plotArea() const { return plot; }

    // Reads the job and the settings again and repaints when anything the chart shows has
    // changed.
    void refresh();
    // Draws the chart again whatever it shows: the records it points to were replaced, and
    // new ones may sit where the old ones were.
    void redraw();
    void resetZoom();
    // The lines drawn one by one, by label; none for the chart's default pick. Labels of no
    // line are passed over.
    void setPicked(std::optional<std::set<std::string>> labels);
    // Save Picture (PNG, or SVG for a name ending in ".svg") and Copy Picture: the chart as
    // it shows, at its size on the screen.
    CommandOutcome savePicture();
    void copyPicture();

    // The right-click menu at pixel column x: Mark Event, and Edit and Remove for the event
    // drawn within a few pixels of x. The caller owns the menu.
    QMenu *eventMenu(int x);
    // The commands of that menu: Mark Event opens its dialog with the time given, Edit Event
    // with the event as it is; both change the job only when the dialog is accepted.
    void markEvent(double time);
    void editEvent(std::size_t index);

signals:
    void zoomChanged(bool zoomed);
    // The lines or their hot and cold spots are others than before.
    void linesChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    TimeSeriesInput currentInput();
    // Shows input from now on, and says so when its lines are others.
    void take(TimeSeriesInput input);
    void render();

    // The hot and cold spots over the whole range, kept while the lines and the range stay:
    // zooming in does not move them, and a repaint does not read every sample twice.
    struct SpotsFound {
        std::vector<const LogFile *> logs;
        double start = 0.0;
        double finish = 0.0;
        TimeSeriesSpots spots;
    };
    const TimeSeriesSpots &spotsOf(const TimeSeriesInput &input);

    JobView view;
    std::optional<std::set<std::string>> picked;
    std::optional<SpotsFound> spotsFound;
    TimeSeriesInput shown;
    platform::Rect plot;
    QImage picture;
    bool pictureValid = false;
    std::optional<int> dragStart; // pixels
    int dragNow = 0;
};

class TimeSeriesWindow : public QWidget {
    Q_OBJECT
public:
    TimeSeriesWindow(const JobView &view, QWidget *parent = nullptr);
    ~TimeSeriesWindow() override;

    TimeSeriesChartView *chart() const { return view; }
    QPushButton *resetButton() const { return reset; }
    QLineEdit *filterEdit() const { return filter; }
    QListWidget *positionList() const { return positions; }
    QPushButton *savePictureButton() const { return savePicture; }
    QPushButton *copyPictureButton() const { return copyPicture; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The list anew from the chart's lines, checked as the chart draws them.
    void fillPositions();
    // Hides the positions the filter text does not match.
    void applyFilter();
    void pickChanged(QListWidgetItem *item);

    Job &job;
    TimeSeriesChartView *view;
    QPushButton *reset;
    QLineEdit *filter;
    QListWidget *positions;
    QPushButton *savePicture;
    QPushButton *copyPicture;
    int listening = 0;
};

} // namespace zqar
