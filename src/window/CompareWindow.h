#pragma once
// The comparison of the loaded job (A) with the study of another report (B), in a window of
// its own beside the main window: the difference B - A of every statistic per position, the
// hot and cold spots of both and whether they persist, the map of the difference of the
// means, and both studies' time series on the time elapsed since each span's start. The
// figures come from the study commands; the window holds them until the next comparison, and
// drops them when the job's records change.

#include "pages/JobView.h"
#include "pages/analysis/studyCommands.h"

#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;

namespace zqar {

// A picture drawn by a function whenever the widget's size changes.
class PictureView : public QWidget {
public:
    using Render = std::function<QImage(int width, int height)>;
    explicit PictureView(QWidget *parent = nullptr);
    void setRender(Render render);
    QImage render(int width, int height) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Render draw;
    QImage picture;
};

class CompareWindow : public QWidget {
    Q_OBJECT
public:
    explicit CompareWindow(const JobView &view, QWidget *parent = nullptr);
    ~CompareWindow() override;

    // The open dialog for the other report, then compareWith; cancelled when none is chosen.
    CommandOutcome chooseAndCompare();
    // Compares the job with the report at path and shows the result. A failure shows its
    // message box and leaves the window as it was.
    CommandOutcome compareWith(const std::string &path);
    void exportComparison();

    const ComparisonRun *comparison() const { return run.get(); }
    QStandardItemModel *differencesModel() const { return differences; }
    QStandardItemModel *spotsModel() const { return spots; }
    QLabel *matchingLabel() const { return matching; }
    QComboBox *seriesChoice() const { return positionChoice; }
    QTabWidget *tabWidget() const { return tabs; }
    const DifferenceMap &differenceMapShown() const { return map; }
    const TimeSeriesInput &seriesShown() const { return series; }

private:
    void showComparison();
    void showSeries();
    void clear();

    JobView view;
    int listening = 0;
    std::unique_ptr<ComparisonRun> run;
    DifferenceMap map;
    TimeSeriesInput series;
    QLabel *studies;
    QLabel *matching;
    QTabWidget *tabs;
    QStandardItemModel *differences;
    QTableView *differencesView;
    QStandardItemModel *spots;
    QTableView *spotsView;
    QLabel *mapTitle;
    PictureView *mapView;
    QComboBox *positionChoice;
    QLabel *seriesNote;
    PictureView *chartView;
    QPushButton *exportButton;
};

} // namespace zqar
