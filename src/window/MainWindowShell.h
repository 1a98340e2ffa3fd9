#pragma once
// The main window on the screen: the tab strip, the four pages laid over its display area,
// the window icon and the menu with Undo and Redo, Data Files, Import Files, Save Report, the
// recent files, the Graph tab's picture, Calibration, the analysis windows, the mapping report,
// Verify Report, Help and About, and the keys that stand for the pages' buttons. What happens on a
// tab change, a menu command and in the layout arithmetic is the program's (WindowCommands); this
// class gives it the widgets.

#include <QWidget>

#include <string>

class QMenu;
class QTabBar;
class QToolButton;

namespace zqar {

class CompareWindow;
class CalibrationWindow;
class DataFilesWindow;
class WindowCommands;
class StatisticsWindow;
class TabStrip;
class TimeSeriesWindow;
class UndoKeys;

namespace platform {
class Page;
class QtHost;
} // namespace platform

class MainWindowShell : public QWidget {
    Q_OBJECT
public:
    // Creates the pages through the window's initialise, with the host parenting them here.
    MainWindowShell(WindowCommands &window, platform::QtHost &host, QWidget *parent = nullptr);
    ~MainWindowShell() override;

    TabStrip *tabStrip() const { return strip; }
    QTabBar *tabBar() const;
    QToolButton *menuButton() const;

    // A command of the window's menu, numbered as system menu commands: 16 About, 32 Help.
    void runSystemCommand(int command);
    void showAbout();
    // The File Selection page in its own window, made on first use and raised after.
    void showDataFiles();
    DataFilesWindow *dataFilesWindow() const { return dataFiles; }
    // "Import Files...": the open dialog for several files, the preview, then the import,
    // after which the Data Files window shows where the records went.
    void importFiles();
    // The Data Filter page's Create Report.
    void saveReport();
    // The Calibration window, made on first use and raised after.
    CalibrationWindow *showCalibration();
    // The Statistics window, made on first use and kept; shown and raised each time.
    StatisticsWindow *showStatistics();
    // The "Time Series..." window, made on first use and raised when it is already open.
    void showTimeSeries();
    TimeSeriesWindow *timeSeriesWindow() const { return timeSeries; }
    // "Mapping Report...": the save dialog for the PDF, then the report.
    void saveMappingReport();
    // "Verify Report...": a report's PDF and the folder of its sources, then the check.
    void verifyReport();
    // "Signatures...": the printed names of the report's signature block.
    void editSignatures();
    // "Controlled Study": whether a change asks for its reason.
    void setControlledStudy(bool controlled);
    // "Compare With Report...": the open dialog for the other report, then the comparison in
    // its window, made on first use and raised once a comparison is shown.
    void compareWithReport();
    CompareWindow *compareWindow() const { return comparison; }

    // The keys of the main window, each pressing the button of the page it stands for, so a
    // key does exactly what the button does and nothing while the button is off:
    // Ctrl+O Load Report; F5 the Data Filter's Calculate that made the sets shown (the
    // averaged one when there are none); Ctrl+P and Ctrl+E Print and Export of the tab shown,
    // where the Graph tab's Export saves its picture; Ctrl+C copies the Matrix tab's selected
    // cells (all of them when none are selected) or the Graph tab's picture. Ctrl+S is
    // Save Report's menu item, F1 Help's.
    void loadReport();
    void calculate();
    void print();
    void exportShown();
    void copyShown();
    // The Matrix tab's selected cells as tab-separated text with their row and column labels.
    std::string matrixText() const;
    // "Save Graph Picture..." and "Copy Graph Picture": the Graph tab's set at the size the tab
    // shows it, as a PNG or SVG file and on the clipboard.
    void saveGraphPicture();
    void copyGraphPicture();

    // Undo and Redo of the edits (Ctrl+Z; Ctrl+Y or Ctrl+Shift+Z), here, in the Data Files
    // window and in the Statistics window; the menu's items do the same.
    void undo();
    void redo();

    // "Recent Files": the reports and projects last read or written, newest first; choosing
    // one opens it as the command line does.
    QMenu *recentFilesMenu() const { return recentMenu; }
    void openRecentFile(const std::string &path);

    // Opens the file named on the command line once the event loop runs, so that the window
    // is on the screen before a message box about the file.
    void openFileWhenShown(const std::string &path);

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Unsaved edits are asked about first; Cancel keeps the window open.
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void onTabChanged(int index);
    void layOut();
    // Presses a page's button as a click would; false when it is off or hidden.
    bool pressButton(platform::Page &page, int id);
    // The menu at the right end of the tab row.
    void makeMenu();
    // Undo and Redo in the menu, and their keys in this window.
    void addUndoItems(QMenu &menu);
    // F1 and Escape in a window of the menu.
    void addKeysTo(QWidget &secondary);
    void fillRecentFiles();
    // The document's name before the program's, or the program's alone.
    void showTitle(const std::string &document);

    WindowCommands &window;
    platform::QtHost &host;
    TabStrip *strip;
    DataFilesWindow *dataFiles = nullptr;
    CalibrationWindow *calibration = nullptr;
    StatisticsWindow *statistics = nullptr;
    TimeSeriesWindow *timeSeries = nullptr;
    CompareWindow *comparison = nullptr;
    QMenu *recentMenu = nullptr;
    UndoKeys *undoKeys;
    QString programTitle;
    bool sizedOnce = false;
};

} // namespace zqar
