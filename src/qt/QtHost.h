#pragma once
// The host services on the screen: page windows as children of the main window, Qt's file
// and folder dialogs, timers, the help viewer, and the places of things. The drawing
// contexts for off-screen bitmaps and printers come from the painter backend, plugged in
// through the two factories.

#include "platform/Host.h"

#include <QPointer>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class QFileDialog;
class QTimer;
class QWidget;

namespace zqar::platform {

class QtDialog;
class QtHelpViewer;

// The environment variable that names the folder file dialogs start in, instead of the
// folder the program was started from.
constexpr const char *START_DIRECTORY_VARIABLE = "ZQAR_START_DIR";

// How many reports and projects the recent files keep.
constexpr int RECENT_FILE_COUNT = 8;

class QtHost : public Host {
public:
    QtHost();
    ~QtHost() override;
    QtHost(const QtHost &) = delete;
    QtHost &operator=(const QtHost &) = delete;

    // The window that parents the pages and owns the host's message boxes and dialogs.
    void setMainWindow(QWidget *window) { mainWidget = window; }
    QWidget *mainWindow() const { return mainWidget; }

#include "platform/HostOverrides.inc"
    std::optional<std::string> askText(const std::string &title,
                                       const std::string &prompt) override;
    SaveChoice askToSave(const std::string &question, const std::string &caption) override;
    int screenWidth() const override;
    int screenHeight() const override;
    std::unique_ptr<PrintTarget> choosePrinter() override;
    void processPendingInput() override;
    std::unique_ptr<Progress> startProgress(std::string_view title) override;
    // While a list answers a mouse press, the press's own position and buttons; otherwise the
    // cursor's position and the buttons Qt knows to be down.
    Point cursorPosition() const override;
    unsigned mouseButtons() const override;
    std::string currentDirectory() override { return directory; }
    void setCurrentDirectory(const std::string &folder) override { directory = folder; }
    std::string executableDirectory() override;

    // The document goes to the front of the recent files and becomes the window's; the
    // window hears of it through onDocument.
    void noteDocument(const std::string &path) override;
    const std::string &document() const { return currentDocument; }
    std::function<void(const std::string &path)> onDocument;
    // The reports and projects last read or written, newest first, kept across runs in the
    // user's settings (QSettings).
    std::vector<std::string> recentFiles() const;
    void forgetRecentFile(const std::string &path);
    // The folder a file dialog for files of the kind pattern names ("*.ttr") last ended in,
    // kept across runs; empty when there is none.
    std::string rememberedFolder(const std::string &pattern) const;

    // The painter backend's contexts. Without them there is no off-screen bitmap and no
    // printer.
    using OffscreenFactory = std::function<std::unique_ptr<DrawingContext>(int width, int height)>;
    using PrinterChooser = std::function<std::unique_ptr<PrintTarget>(QWidget *owner)>;
    void setOffscreenFactory(OffscreenFactory factory) { offscreenFactory = std::move(factory); }
    void setPrinterChooser(PrinterChooser chooser) { printerChooser = std::move(chooser); }

    // The page's window, once created.
    QtDialog *dialogOf(const Page &page) const;
    QtHelpViewer *helpViewer() const;
    // Sets up a file dialog as the options ask, starting in startDirectory when the options
    // name no folder.
    static void configureFileDialog(QFileDialog &dialog, const FileDialogOptions &options,
                                    bool save, const std::string &startDirectory);

private:
    std::optional<std::string> runFileDialog(const FileDialogOptions &options, bool save);

    QPointer<QWidget> mainWidget;
    std::map<const Page *, QPointer<QtDialog>> dialogs;
    std::map<std::pair<const Page *, int>, QPointer<QTimer>> timers;
    QPointer<QtHelpViewer> viewer;
    std::string directory;
    std::string currentDocument;
    OffscreenFactory offscreenFactory;
    PrinterChooser printerChooser;
};

} // namespace zqar::platform
