#include "window/MainWindowShell.h"

#include "app/WindowCommands.h"
#include "app/reportVerification.h"
#include "core/analysis/TemperatureSet.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/layout/settings.h"
#include "pages/presentation/cellText.h"
#include "platform/Page.h"
#include "qt/QtDialog.h"
#include "qt/QtDrawingContext.h"
#include "qt/QtHost.h"
#include "qt/QtIcon.h"
#include "qt/QtListView.h"
#include "qt/QtText.h"
#include "resources/analysisTexts.h"
#include "resources/controlIds.h"
#include "resources/desktopTexts.h"
#include "resources/format.h"
#include "resources/importTexts.h"
#include "resources/integrityTexts.h"
#include "resources/mappingReportTexts.h"
#include "resources/strings.h"
#include "resources/studyTexts.h"
#include "resources/templates.h"
#include "resources/timeSeriesTexts.h"
#include "resources/windowHints.h"
#include "window/AboutBox.h"
#include "window/CalibrationWindow.h"
#include "window/CompareWindow.h"
#include "window/DataFilesWindow.h"
#include "window/ImportPreviewWindow.h"
#include "window/MappingReportFile.h"
#include "window/PictureFile.h"
#include "window/StatisticsWindow.h"
#include "window/TabStrip.h"
#include "window/TimeSeriesWindow.h"
#include "window/UndoKeys.h"
#include "window/secondaryWindow.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <filesystem>
#include <iterator>
#include <utility>
#include <vector>

namespace zqar {

namespace {

// The page size in pixels that holds every control of every page the shell shows: the largest
// of those pages' templates. A page in a window of its own does not count.
QSize largestPageTemplate(WindowCommands &window, platform::QtHost &host, const QWidget *shell) {
    QSize largest;
    for (platform::Page *page : window.pages()) {
        const platform::QtDialog *dialog = host.dialogOf(*page);
        if (dialog && dialog->parent() != shell)
            continue;
        const platform::DialogTemplate &source = dialogTemplate(page->templateId);
        largest = largest.expandedTo(QSize(platform::dialogUnitsToPixelsX(source.width),
                                           platform::dialogUnitsToPixelsY(source.height)));
    }
    return largest;
}

} // namespace

MainWindowShell::MainWindowShell(WindowCommands &mainWindow, platform::QtHost &qtHost,
                                 QWidget *parent)
    : QWidget(parent), window(mainWindow), host(qtHost), strip(new TabStrip(this)),
      undoKeys(new UndoKeys([this] { undo(); }, [this] { redo(); }, this)) {
    const platform::DialogTemplate &source = dialogTemplate(MAIN_WINDOW_TEMPLATE);
    setFont(platform::pageFont(font()));
    setWindowIcon(platform::applicationIcon());

    makeMenu();
    // F1 anywhere in the window opens the help, as the menu's Help does.
    auto *helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(helpKey, &QShortcut::activated, this,
            [this] { runSystemCommand(SYSTEM_COMMAND_HELP); });
    // An edit box with the focus keeps Ctrl+C for its own text.
    const std::pair<QKeySequence, void (MainWindowShell::*)()> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), &MainWindowShell::loadReport},
        {QKeySequence(Qt::Key_F5), &MainWindowShell::calculate},
        {QKeySequence(Qt::CTRL | Qt::Key_P), &MainWindowShell::print},
        {QKeySequence(Qt::CTRL | Qt::Key_E), &MainWindowShell::exportShown},
        {QKeySequence(Qt::CTRL | Qt::Key_C), &MainWindowShell::copyShown}};
    for (const auto &[sequence, command] : keys)
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, command);

    for (const char *name : WindowLayout::TAB_NAMES)
        strip->tabBar()->addTab(QString::fromUtf8(name));

    host.setMainWindow(this);
    platform::installPainterContexts(host);
    window.initialise();
    if (platform::QtDialog *matrix = host.dialogOf(window.tabPage(TAB_MATRIX)))
        for (const int id : {MatrixControls::ARRAY_LIST, MatrixControls::SINGULAR_LIST})
            if (platform::QtListView *list = matrix->listWidget(id))
                list->setSelectableWithoutInput(true);
    // Connected only now: adding the first tab reports a change the window must not see.
    connect(strip->tabBar(), &QTabBar::currentChanged, this, &MainWindowShell::onTabChanged);

    resize(WindowLayout::OUTER_WIDTH, WindowLayout::OUTER_HEIGHT);
    layOut();
    programTitle =
        platform::toQString(source.caption.empty() ? text::MAIN_WINDOW_CAPTION : source.caption);
    showTitle(host.document());
    host.onDocument = [this](const std::string &path) { showTitle(path); };
}

void MainWindowShell::makeMenu() {
    // Linux window managers give a program no system menu of its own, so its entries live
    // in a menu at the right end of the tab row. The File Selection page has no tab; the
    // menu opens it in a window of its own, and Save Report stands in for the Data Filter
    // page's hidden button. The analysis windows follow, then Help and About.
    auto *menu = new QMenu(this);
    menu->addAction(platform::toQString(text::DATA_FILES_MENU_ITEM), this,
                    &MainWindowShell::showDataFiles);
    menu->addAction(platform::toQString(text::IMPORT_FILES_MENU_ITEM), this,
                    &MainWindowShell::importFiles);
    QAction *saveReportItem = menu->addAction(platform::toQString(text::SAVE_REPORT_MENU_ITEM),
                                              this, &MainWindowShell::saveReport);
    // The item is the window's too, so its key works while the menu is closed.
    saveReportItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addAction(saveReportItem);
    recentMenu = menu->addMenu(platform::toQString(text::RECENT_FILES_MENU));
    connect(recentMenu, &QMenu::aboutToShow, this, &MainWindowShell::fillRecentFiles);
    fillRecentFiles();
    menu->addAction(platform::toQString(text::SAVE_GRAPH_PICTURE_MENU_ITEM), this,
                    &MainWindowShell::saveGraphPicture);
    menu->addAction(platform::toQString(text::COPY_GRAPH_PICTURE_MENU_ITEM), this,
                    &MainWindowShell::copyGraphPicture);
    menu->addSeparator();
    addUndoItems(*menu);
    menu->addSeparator();
    menu->addAction(platform::toQString(text::CALIBRATION_MENU_ITEM), this,
                    [this] { showCalibration(); });
    menu->addAction(platform::toQString(text::STATISTICS_MENU_ITEM), this,
                    [this] { showStatistics(); });
    menu->addAction(platform::toQString(text::TIME_SERIES_MENU_ITEM), this,
                    &MainWindowShell::showTimeSeries);
    menu->addAction(platform::toQString(text::MAPPING_REPORT_MENU_ITEM), this,
                    &MainWindowShell::saveMappingReport);
    menu->addAction(platform::toQString(text::COMPARE_MENU_ITEM), this,
                    &MainWindowShell::compareWithReport);
    menu->addAction(platform::toQString(text::VERIFY_REPORT_MENU_ITEM), this,
                    &MainWindowShell::verifyReport);
    menu->addAction(platform::toQString(text::SIGNATURES_MENU_ITEM), this,
                    &MainWindowShell::editSignatures);
    QAction *controlledItem =
        menu->addAction(platform::toQString(text::CONTROLLED_STUDY_MENU_ITEM));
    controlledItem->setCheckable(true);
    // The job keeps the setting (--set controlledStudy=Y); the item shows it when the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this, controlledItem] {
        controlledItem->setChecked(
            flagIsSet(window.jobView().job.setting(JobSetting::ControlledStudy)));
    });
    connect(controlledItem, &QAction::triggered, this, &MainWindowShell::setControlledStudy);
    menu->addSeparator();
    menu->addAction(platform::toQString(text::HELP_MENU_ITEM), this,
                    [this] { runSystemCommand(SYSTEM_COMMAND_HELP); });
    if (!text::ABOUT_MENU_ITEM.empty()) {
        menu->addSeparator();
        menu->addAction(platform::toQString(text::ABOUT_MENU_ITEM), this,
                        [this] { runSystemCommand(SYSTEM_COMMAND_ABOUT); });
    }
    strip->menuButton()->setMenu(menu);
    strip->menuButton()->setIcon(platform::applicationIcon());
    strip->menuButton()->setToolTip(platform::toQString(text::MENU_BUTTON_TIP));
}

MainWindowShell::~MainWindowShell() { host.onDocument = nullptr; }

void MainWindowShell::showTitle(const std::string &document) {
    if (document.empty()) {
        setWindowTitle(programTitle);
        return;
    }
    const std::string name = std::filesystem::path(document).filename().string();
    setWindowTitle(
        platform::toQString(text::format(text::DOCUMENT_TITLE, name, programTitle.toStdString())));
}

void MainWindowShell::fillRecentFiles() {
    recentMenu->clear();
    const std::vector<std::string> files = host.recentFiles();
    if (files.empty()) {
        recentMenu->addAction(platform::toQString(text::NO_RECENT_FILES))->setEnabled(false);
        return;
    }
    int number = 0;
    for (const std::string &file : files) {
        // "&1 /path/report.ttr": the digit picks the file from the keyboard.
        const QString label = QStringLiteral("&%1 %2").arg(++number).arg(
            QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(file))));
        QAction *item = recentMenu->addAction(label);
        connect(item, &QAction::triggered, this, [this, file] { openRecentFile(file); });
    }
}

void MainWindowShell::openRecentFile(const std::string &path) {
    if (platform::QtDialog::commandsHeld())
        return;
    // A file that has gone leaves the list; opening it still says so in its command's words.
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        host.forgetRecentFile(path);
    window.openFile(path);
}

QTabBar *MainWindowShell::tabBar() const { return strip->tabBar(); }

QToolButton *MainWindowShell::menuButton() const { return strip->menuButton(); }

void MainWindowShell::onTabChanged(int index) {
    // During a printout the Matrix tab would rewrite the lists being printed: stay put.
    const int selected =
        platform::QtDialog::commandsHeld() ? window.selectedTab() : window.tabChanged(index);
    if (selected != index) {
        // Help gives back the previous tab; selecting it again is no new change.
        const QSignalBlocker quiet(strip->tabBar());
        strip->tabBar()->setCurrentIndex(selected);
    }
}

void MainWindowShell::runSystemCommand(int command) {
    if (platform::QtDialog::commandsHeld())
        return;
    if (window.systemCommand(command) == SystemCommandAction::ShowAbout)
        showAbout();
}

void MainWindowShell::showAbout() {
    AboutBox box(this);
    box.exec();
}

namespace {

// A window of the menu, shown and raised above the others with the focus.
void bringForward(QWidget *window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void MainWindowShell::showDataFiles() {
    if (!dataFiles) {
        platform::QtDialog *page = host.dialogOf(window.dataFilesPage());
        if (!page)
            return;
        dataFiles = new DataFilesWindow(*page, this);
        addKeysTo(*dataFiles);
        undoKeys->addTo(*dataFiles);
    }
    bringForward(dataFiles);
}

void MainWindowShell::importFiles() {
    if (platform::QtDialog::commandsHeld())
        return;
    platform::FileDialogOptions options = platform::fileDialogOptions(
        host, text::IMPORT_DIALOG_TITLE, text::IMPORT_FILTER_DESCRIPTION,
        text::IMPORT_FILTER_PATTERN, "");
    options.mustExist = true;
    const std::vector<std::string> paths = host.openFiles(options);
    if (paths.empty())
        return;
    ImportPreviewWindow preview(
        window.jobView(), paths,
        [this](const std::vector<std::string> &chosen) { return window.importFiles(chosen); },
        this);
    // Where the records went, and the status line that counts them, are in the Data Files
    // window.
    if (preview.exec() == QDialog::Accepted)
        showDataFiles();
}

void MainWindowShell::saveReport() {
    if (platform::QtDialog::commandsHeld())
        return;
    window.saveReport();
}

CalibrationWindow *MainWindowShell::showCalibration() {
    if (!calibration) {
        calibration = new CalibrationWindow(window.jobView(), this);
        addKeysTo(*calibration);
    }
    bringForward(calibration);
    return calibration;
}

StatisticsWindow *MainWindowShell::showStatistics() {
    if (!statistics) {
        statistics = new StatisticsWindow(window.jobView(), this);
        addKeysTo(*statistics);
        undoKeys->addTo(*statistics);
        undoKeys->leaveAlone(*statistics->ruleEdit());
    }
    statistics->present();
    return statistics;
}

void MainWindowShell::showTimeSeries() {
    if (!timeSeries) {
        timeSeries = new TimeSeriesWindow(window.jobView(), this);
        addKeysTo(*timeSeries);
    }
    bringForward(timeSeries);
}

void MainWindowShell::saveMappingReport() {
    if (platform::QtDialog::commandsHeld())
        return;
    const JobView view = window.jobView();
    if (checkActivationEnergyUnit(view.job, view.host).kind != CommandOutcome::Kind::Completed)
        return;
    zqar::saveMappingReport(view);
}

void MainWindowShell::verifyReport() {
    if (platform::QtDialog::commandsHeld())
        return;
    verifyReportWithDialogs(host);
}

void MainWindowShell::editSignatures() {
    if (platform::QtDialog::commandsHeld())
        return;
    const JobView view = window.jobView();
    const JobSetting names[] = {JobSetting::PreparedBy, JobSetting::ReviewedBy,
                                JobSetting::ApprovedBy};
    QDialog dialog(this);
    dialog.setWindowTitle(platform::toQString(text::SIGNATURES_HEADING));
    auto *form = new QFormLayout(&dialog);
    std::array<QLineEdit *, std::size(names)> edits{};
    for (std::size_t i = 0; i < edits.size(); ++i) {
        edits[i] = new QLineEdit(platform::toQString(view.job.setting(names[i])), &dialog);
        form->addRow(platform::toQString(text::SIGNATURE_NAME_LABELS[i]), edits[i]);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (std::size_t i = 0; i < edits.size(); ++i)
        view.job.setSetting(names[i], edits[i]->text().toStdString());
    view.recordChanges();
}

void MainWindowShell::setControlledStudy(bool controlled) {
    const JobView view = window.jobView();
    view.job.setSetting(JobSetting::ControlledStudy, flagText(controlled));
    view.recordChanges();
}

void MainWindowShell::addUndoItems(QMenu &menu) {
    // The keys belong to the windows (UndoKeys); a shortcut of the item as well would make
    // them ambiguous, so the item only names its key after a tab.
    const auto item = [&menu](std::string_view name, const QKeySequence &key) {
        return menu.addAction(platform::toQString(name) + QLatin1Char('\t') +
                              key.toString(QKeySequence::NativeText));
    };
    QAction *undoItem = item(text::UNDO_MENU_ITEM, QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undoItem, &QAction::triggered, this, &MainWindowShell::undo);
    QAction *redoItem = item(text::REDO_MENU_ITEM, QKeySequence(Qt::CTRL | Qt::Key_Y));
    connect(redoItem, &QAction::triggered, this, &MainWindowShell::redo);
    connect(&menu, &QMenu::aboutToShow, this, [this, undoItem, redoItem] {
        window.noteEdits();
        undoItem->setEnabled(window.canUndo());
        redoItem->setEnabled(window.canRedo());
    });
    undoKeys->addTo(*this);
}

void MainWindowShell::undo() {
    if (!platform::QtDialog::commandsHeld())
        window.undo();
}

void MainWindowShell::redo() {
    if (!platform::QtDialog::commandsHeld())
        window.redo();
}

void MainWindowShell::compareWithReport() {
    if (platform::QtDialog::commandsHeld())
        return;
    if (!comparison) {
        comparison = new CompareWindow(window.jobView(), this);
        addKeysTo(*comparison);
    }
    if (comparison->chooseAndCompare().kind == CommandOutcome::Kind::Completed)
        bringForward(comparison);
}

void MainWindowShell::addKeysTo(QWidget &secondary) {
    addWindowKeys(secondary, [this] { runSystemCommand(SYSTEM_COMMAND_HELP); });
}

bool MainWindowShell::pressButton(platform::Page &page, int id) {
    platform::QtDialog *dialog = host.dialogOf(page);
    auto *button = dialog ? qobject_cast<QAbstractButton *>(dialog->control(id)) : nullptr;
    if (!button || !button->isEnabled() || button->isHidden())
        return false;
    button->click();
    return true;
}

void MainWindowShell::loadReport() {
    pressButton(window.tabPage(TAB_DATA_FILTER), DataFilterControls::LOAD_REPORT);
}

void MainWindowShell::calculate() {
    const TemperatureSet *first = window.jobView().job.setList.at(0);
    const bool atTime = first && first->span <= 0.0;
    pressButton(window.tabPage(TAB_DATA_FILTER), atTime ? DataFilterControls::CALCULATE_AT_TIME
                                                        : DataFilterControls::CALCULATE_AVERAGED);
}

void MainWindowShell::print() {
    const int tab = window.selectedTab();
    if (tab == TAB_MATRIX || tab == TAB_GRAPH)
        pressButton(window.tabPage(tab),
                    tab == TAB_MATRIX ? int(MatrixControls::PRINT) : int(GraphControls::PRINT));
}

void MainWindowShell::exportShown() {
    if (window.selectedTab() == TAB_MATRIX)
        pressButton(window.tabPage(TAB_MATRIX), MatrixControls::EXPORT);
    else if (window.selectedTab() == TAB_GRAPH)
        saveGraphPicture();
}

void MainWindowShell::copyShown() {
    if (window.selectedTab() == TAB_MATRIX)
        QGuiApplication::clipboard()->setText(platform::toQString(matrixText()));
    else if (window.selectedTab() == TAB_GRAPH)
        copyGraphPicture();
}

std::string MainWindowShell::matrixText() const {
    platform::QtDialog *matrix = host.dialogOf(window.tabPage(TAB_MATRIX));
    platform::QtListView *values =
        matrix ? matrix->listWidget(MatrixControls::ARRAY_LIST) : nullptr;
    platform::QtListView *singular =
        matrix ? matrix->listWidget(MatrixControls::SINGULAR_LIST) : nullptr;
    if (!values || !singular)
        return std::string();
    // Row 0 of the array list holds the column labels and its column 0 the row labels; the
    // singular list has its labels in column 0 and no heading row.
    auto blockOf = [](const QTableWidgetSelectionRange &range) {
        return CellBlock{range.topRow(), range.leftColumn(), range.bottomRow(),
                         range.rightColumn()};
    };
    if (const auto block = values->selectedBlock())
        return tabSeparatedText(headedBlock(values->model(), blockOf(*block), 0, 0));
    if (const auto block = singular->selectedBlock())
        return tabSeparatedText(headedBlock(singular->model(), blockOf(*block), -1, 0));
    // Nothing selected: the whole array, a blank line, then the singular loggers.
    const platform::ListModel &array = values->model();
    const platform::ListModel &single = singular->model();
    std::string text;
    if (array.itemCount() > 0 && array.columnCount() > 0)
        text = tabSeparatedText(headedBlock(
            array, CellBlock{0, 0, array.itemCount() - 1, array.columnCount() - 1}, -1, -1));
    if (single.itemCount() > 0 && single.columnCount() > 0)
        text +=
            "\n" +
            tabSeparatedText(headedBlock(
                single, CellBlock{0, 0, single.itemCount() - 1, single.columnCount() - 1}, -1, -1));
    return text;
}

namespace {

PictureSize graphAreaSize(platform::QtHost &host, WindowCommands &window) {
    const platform::QtDialog *graph = host.dialogOf(window.tabPage(TAB_GRAPH));
    const QWidget *area = graph ? graph->control(GraphControls::GRAPH_AREA) : nullptr;
    return area ? PictureSize{area->width(), area->height()} : PictureSize{};
}

} // namespace

void MainWindowShell::saveGraphPicture() {
    if (platform::QtDialog::commandsHeld() || !window.jobView().job.setList.current())
        return;
    savePictureAs(
        host, [this](platform::DrawingContext &dc, int w, int h) { window.drawGraph(dc, w, h); },
        graphAreaSize(host, window), text::PICTURE_SAVE_CAPTION);
}

void MainWindowShell::copyGraphPicture() {
    if (platform::QtDialog::commandsHeld() || !window.jobView().job.setList.current())
        return;
    copyPicture([this](platform::DrawingContext &dc, int w, int h) { window.drawGraph(dc, w, h); },
                graphAreaSize(host, window));
}

void MainWindowShell::layOut() {
    const platform::Rect stripRect = WindowLayout::tabStripRect(width(), height());
    strip->setGeometry(stripRect.left, stripRect.top, std::max(0, stripRect.width()),
                       std::max(0, stripRect.height()));
    strip->arrange();
    const QRect tab0 = strip->tabRect(0);
    const platform::Rect item{tab0.x(), tab0.y(), tab0.x() + tab0.width(),
                              tab0.y() + tab0.height()};
    const platform::Rect pageArea =
        WindowLayout::pageRect(item, platform::Point{strip->x(), strip->y()},
                               platform::Size{strip->width(), strip->height()});
    // A page that moved into a window of its own keeps its own size there.
    for (platform::Page *page : window.pages())
        if (platform::QtDialog *dialog = host.dialogOf(*page); dialog && dialog->parent() == this)
            dialog->place(pageArea);
    // The tab row and the margins around the pages take the same room at any size, so the
    // window can shrink only as far as the largest page still gets its template's size.
    const QSize aroundPages(width() - pageArea.width(), height() - pageArea.height());
    setMinimumSize(largestPageTemplate(window, host, this) + aroundPages);
}

void MainWindowShell::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    layOut();
    // Not every window manager keeps to the minimum size the window asks for (nor does a
    // window without one); the window then grows back to it by itself.
    const QSize least = size().expandedTo(minimumSize());
    if (least != size())
        QTimer::singleShot(0, this, [this] { resize(size().expandedTo(minimumSize())); });
}

void MainWindowShell::closeEvent(QCloseEvent *event) {
    if (platform::QtDialog::commandsHeld() || !window.settleUnsavedEdits()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void MainWindowShell::keyPressEvent(QKeyEvent *event) {
    // Neither key closes the main window, wherever it comes from.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MainWindowShell::openFileWhenShown(const std::string &path) {
    QTimer::singleShot(0, this, [this, path] { window.openFile(path); });
}

void MainWindowShell::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (sizedOnce)
        return;
    sizedOnce = true;
    // 750 x 600 is the outer size, frame included; the frame is known once the window shows.
    QTimer::singleShot(0, this, [this] {
        const QSize frame = frameGeometry().size() - size();
        if (frame.width() > 0 || frame.height() > 0)
            resize(QSize(WindowLayout::OUTER_WIDTH, WindowLayout::OUTER_HEIGHT) - frame);
    });
}

} // namespace zqar
