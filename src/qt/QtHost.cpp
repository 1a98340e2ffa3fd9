#include "qt/QtHost.h"

#include "platform/DrawingContext.h"
#include "platform/Page.h"
#include "platform/fileSystems.h"
#include "qt/QtDialog.h"
#include "qt/QtHelpViewer.h"
#include "qt/QtListView.h"
#include "qt/QtMessageBox.h"
#include "qt/QtProgress.h"
#include "qt/QtText.h"
#include "resources/templates.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <memory>

namespace zqar::platform {

namespace {

QString toPath(const std::string &path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}
std::string fromPath(const QString &path) { return QFile::encodeName(path).toStdString(); }

std::string startDirectory() {
    const char *configured = std::getenv(START_DIRECTORY_VARIABLE);
    if (configured && *configured && QFileInfo(toPath(configured)).isDir() &&
        !isPseudoFileSystem(configured))
        return fromPath(QDir(toPath(configured)).absolutePath());
    const std::string current = fromPath(QDir::currentPath());
    return dialogStartFolder(current, fromPath(QDir::homePath()));
}

// Icons and type names that never open a file on the kernel's file systems. Qt's own provider
// reads the first bytes of a file to guess its type; on /proc/kmsg that read never returns,
// and the type database it holds locked meanwhile stops the whole program.
class ContentBlindIconProvider : public QFileIconProvider {
public:
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo &info) const override {
        if (isPseudo(info))
            return QFileIconProvider::icon(info.isDir() ? Folder : File);
        return QFileIconProvider::icon(info);
    }
    QString type(const QFileInfo &info) const override {
        if (isPseudo(info))
            return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
        return QFileIconProvider::type(info);
    }

private:
    static bool isPseudo(const QFileInfo &info) {
        return isPseudoFileSystem(fromPath(info.absoluteFilePath()));
    }
};

// Where the program keeps what lasts between runs: QSettings' user scope, which on Linux is
// $XDG_CONFIG_HOME/Z-QAR/Vemro.conf (~/.config when the variable is not set).
std::unique_ptr<QSettings> userSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Z-QAR"), QStringLiteral("Vemro"));
}

const QString RECENT_FILES_KEY = QStringLiteral("recentFiles");
const QString FOLDERS_GROUP = QStringLiteral("lastFolders");

// A settings key for a kind of file: its filter pattern with only the letters and digits.
QString folderKey(const std::string &pattern) {
    QString key;
    for (const QChar c : toQString(pattern))
        if (c.isLetterOrNumber())
            key += c.toLower();
    return FOLDERS_GROUP + "/" + (key.isEmpty() ? QStringLiteral("any") : key);
}

} // namespace

QtHost::QtHost() : directory(startDirectory()) {}

QtHost::~QtHost() = default;

QtHelpViewer *QtHost::helpViewer() const { return viewer.data(); }

void QtHost::createPage(Page &page) {
    auto *dialog = new QtDialog(dialogTemplate(page.templateId), page, mainWidget);
    dialogs[&page] = dialog;
    page.initialise();
}

void QtHost::showPage(Page &page, bool shown) {
    if (QtDialog *dialog = dialogOf(page))
        dialog->setVisible(shown);
}

QtDialog *QtHost::dialogOf(const Page &page) const {
    const auto found = dialogs.find(&page);
    return found == dialogs.end() ? nullptr : found->second.data();
}

void QtHost::messageBox(const std::string &text, const std::string &caption) {
    showMessageBox(mainWidget, text, caption);
}

std::vector<std::string> QtHost::recentFiles() const {
    std::vector<std::string> files;
    for (const QString &file : userSettings()->value(RECENT_FILES_KEY).toStringList())
        if (!file.isEmpty() && files.size() < static_cast<std::size_t>(RECENT_FILE_COUNT))
            files.push_back(fromPath(file));
    return files;
}

void QtHost::noteDocument(const std::string &path) {
    const QString file = QFileInfo(toPath(path)).absoluteFilePath();
    QStringList files = userSettings()->value(RECENT_FILES_KEY).toStringList();
    files.removeAll(file);
    files.prepend(file);
    while (files.size() > RECENT_FILE_COUNT)
        files.removeLast();
    userSettings()->setValue(RECENT_FILES_KEY, files);
    currentDocument = fromPath(file);
    if (onDocument)
        onDocument(currentDocument);
}

void QtHost::forgetRecentFile(const std::string &path) {
    QStringList files = userSettings()->value(RECENT_FILES_KEY).toStringList();
    files.removeAll(toPath(path));
    userSettings()->setValue(RECENT_FILES_KEY, files);
}

std::string QtHost::rememberedFolder(const std::string &pattern) const {
    return fromPath(userSettings()->value(folderKey(pattern)).toString());
}

void QtHost::configureFileDialog(QFileDialog &dialog, const FileDialogOptions &options, bool save,
                                 const std::string &startFolder) {
    dialog.setWindowTitle(toQString(options.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && options.mustExist ? QFileDialog::ExistingFile
                                                  : QFileDialog::AnyFile);
    QString filter = toQString(options.filterPattern);
    if (!options.filterDescription.empty())
        filter = toQString(options.filterDescription) + " (" + filter + ")";
    if (!filter.isEmpty())
        dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(toQString(options.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(save && options.promptOverwrite));
    // Neither the folder asked for nor the last one used may lie on a kernel file system;
    // the program's start folder does then.
    const std::string folder = dialogStartFolder(options.initialDirectory,
                                                 dialogStartFolder(startFolder, startDirectory()));
    if (!folder.empty())
        dialog.setDirectory(toPath(folder));
    // One provider for every dialog, kept for the program's life: the dialog's background
    // file reader may still ask it while the dialog goes.
    static ContentBlindIconProvider *const provider = new ContentBlindIconProvider;
    dialog.setIconProvider(provider);
    if (!options.proposedName.empty())
        dialog.selectFile(toPath(options.proposedName));
}

std::optional<std::string> QtHost::runFileDialog(const FileDialogOptions &options, bool save) {
    QFileDialog dialog(mainWidget);
    // Each kind of file starts where its last dialog ended, in this run or an earlier one,
    // while that folder is still there.
    FileDialogOptions start = options;
    const std::string remembered = rememberedFolder(options.filterPattern);
    if (!remembered.empty() && QFileInfo(toPath(remembered)).isDir())
        start.initialDirectory = remembered;
    configureFileDialog(dialog, start, save, directory);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    if (save && options.pathMustExist && !QFileInfo(chosen).absoluteDir().exists())
        return std::nullopt;
    // The next dialog starts where this one ended, unless that is a kernel file system.
    const std::string chosenFolder = fromPath(QFileInfo(chosen).absolutePath());
    if (!isPseudoFileSystem(chosenFolder)) {
        directory = chosenFolder;
        userSettings()->setValue(folderKey(options.filterPattern), toPath(chosenFolder));
    }
    return fromPath(chosen);
}

std::optional<std::string> QtHost::openFile(const FileDialogOptions &options) {
    return runFileDialog(options, false);
}

std::optional<std::string> QtHost::saveFile(const FileDialogOptions &options) {
    return runFileDialog(options, true);
}

std::vector<std::string> QtHost::openFiles(const FileDialogOptions &options) {
    QFileDialog dialog(mainWidget);
    configureFileDialog(dialog, options, false, directory);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    std::vector<std::string> chosen;
    for (const QString &file : dialog.selectedFiles())
        chosen.push_back(fromPath(file));
    if (!chosen.empty()) {
        const std::string chosenFolder =
            fromPath(QFileInfo(dialog.selectedFiles().constLast()).absolutePath());
        if (!isPseudoFileSystem(chosenFolder))
            directory = chosenFolder;
    }
    return chosen;
}

std::optional<std::string> QtHost::browseFolder(const std::string &prompt,
                                                const std::string &initialDirectory) {
    const QString start =
        toPath(dialogStartFolder(initialDirectory, dialogStartFolder(directory, startDirectory())));
    const QString chosen = QFileDialog::getExistingDirectory(mainWidget, toQString(prompt), start);
    if (chosen.isEmpty())
        return std::nullopt;
    return fromPath(QDir::toNativeSeparators(chosen));
}

std::optional<std::string> QtHost::askText(const std::string &title, const std::string &prompt) {
    bool accepted = false;
    const QString typed = QInputDialog::getText(mainWidget, toQString(title), toQString(prompt),
                                                QLineEdit::Normal, QString(), &accepted);
    if (!accepted)
        return std::nullopt;
    return typed.toStdString();
}

SaveChoice QtHost::askToSave(const std::string &question, const std::string &caption) {
    return platform::askToSave(mainWidget, question, caption);
}

void QtHost::startTimer(Page &page, int id, int intervalMs) {
    QPointer<QTimer> &timer = timers[{&page, id}];
    if (!timer) {
        // The timer belongs to the page's window and goes with it; a page with no window
        // on the screen gets no timer, since nothing would ever stop it.
        QObject *owner = dialogOf(page);
        if (!owner && page.isCreated())
            owner = dynamic_cast<QtDialog *>(&page.dialog());
        if (!owner)
            return;
        timer = new QTimer(owner);
        Page *target = &page;
        QObject::connect(timer, &QTimer::timeout, timer, [target, id] { target->timer(id); });
    }
    // Starting a running timer again, as with the old window timers, only changes its pace.
    timer->start(intervalMs < 0 ? 0 : intervalMs);
}

void QtHost::showHelp(const std::string &path) {
    if (!viewer)
        viewer = new QtHelpViewer(mainWidget);
    // A help file that cannot be read opens nothing, and nothing is said.
    if (!viewer->open(toPath(path)))
        return;
    // A viewer already open stays where the user put it.
    if (!viewer->isVisible() && mainWidget)
        viewer->placeBeside(*mainWidget);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

std::unique_ptr<DrawingContext> QtHost::createOffscreen(int width, int height) {
    return offscreenFactory ? offscreenFactory(width, height) : nullptr;
}

int QtHost::screenWidth() const {
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().width() : Host::screenWidth();
}

int QtHost::screenHeight() const {
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().height() : Host::screenHeight();
}

std::unique_ptr<PrintTarget> QtHost::choosePrinter() {
    return printerChooser ? printerChooser(mainWidget) : nullptr;
}

void QtHost::processPendingInput() {
    // Keys, clicks and repaints, but no timers and no page commands: a slide show step or a
    // new calculation must not change the set in the middle of its printout.
    const QtDialog::CommandHold hold;
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers |
                                    QEventLoop::X11ExcludeTimers);
}

std::unique_ptr<Progress> QtHost::startProgress(std::string_view title) {
    return std::make_unique<QtProgress>(mainWidget, title);
}

Point QtHost::cursorPosition() const {
    const auto press = QtListView::handledPress();
    const QPoint position = press ? press->globalPosition : QCursor::pos();
    return Point{position.x(), position.y()};
}

unsigned QtHost::mouseButtons() const {
    const auto press = QtListView::handledPress();
    const Qt::MouseButtons buttons = press ? press->buttons : QGuiApplication::mouseButtons();
    unsigned down = 0;
    if (buttons & Qt::LeftButton)
        down |= MOUSE_LEFT;
    if (buttons & Qt::RightButton)
        down |= MOUSE_RIGHT;
    return down;
}

std::string QtHost::executableDirectory() {
    return fromPath(QCoreApplication::applicationDirPath());
}

} // namespace zqar::platform
