#pragma once
// What the program asks of the platform beyond one page's controls: creating page windows,
// file and folder dialogs, timers, the help viewer, printers and the places of things. The
// Qt backend shows real dialogs; the in-memory backend answers from a script and records
// every question.

#include "platform/DrawingContext.h"
#include "platform/Geometry.h"
#include "platform/Progress.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar::platform {

class DrawingContext;
class Page;
class PrintTarget;

// Mouse buttons as bits of Host::mouseButtons.
enum MouseButton : unsigned { MOUSE_LEFT = 1, MOUSE_RIGHT = 2 };

// The answers to the question before unsaved edits are let go.
enum class SaveChoice { Save, Discard, Cancel };

struct FileDialogOptions {
    std::string title;
    std::string filterDescription; // "Z-QAR Vemro Report Files *.ttr"
    std::string filterPattern;     // "*.ttr"
    std::string defaultExtension;  // without the point: "ttr"; added to a name without one
    std::string initialDirectory;
    std::string proposedName;     // empty: no name proposed
    bool mustExist = false;       // open: the file must exist
    bool pathMustExist = false;   // save: the folder must exist
    bool promptOverwrite = false; // save: ask before replacing a file
    bool helpButton = false;
};

class Host {
public:
    virtual ~Host() = default;

    // Makes the page's window from its template as a child of the main window, attaches it
    // and runs the page's initialise. Pages are created in the order the window asks.
    virtual void createPage(Page &page) = 0;
    virtual void showPage(Page &page, bool shown) = 0;

    // A message box with an OK button only that belongs to no page (the main window's).
    virtual void messageBox(const std::string &text, const std::string &caption) = 0;
    // The chosen path, or none when the user cancelled.
    virtual std::optional<std::string> openFile(const FileDialogOptions &options) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogOptions &options) = 0;
    // The open dialog for several existing files: the paths chosen, none when the user
    // cancelled.
    virtual std::vector<std::string> openFiles(const FileDialogOptions &options) = 0;
    virtual std::optional<std::string> browseFolder(const std::string &prompt,
                                                    const std::string &initialDirectory) = 0;

    // A timer on the page: page.timer(id) every interval milliseconds until the page goes.
    virtual void startTimer(Page &page, int id, int intervalMs) = 0;

    // Opens the help file in the program's help viewer. Failures are not reported.
    virtual void showHelp(const std::string &path) = 0;

    // An off-screen context with a bitmap of width x height pixels, compatible with the
    // screen; and the screen's size in pixels.
    virtual std::unique_ptr<DrawingContext> createOffscreen(int width, int height) = 0;
    virtual int screenWidth() const { return 1920; }
    virtual int screenHeight() const { return 1080; }

    // A dialog asking for one line of text (the reason for a change): the text typed, or none
    // when the user cancelled. A host without one answers none.
    virtual std::optional<std::string> askText(const std::string & /*title*/,
                                               const std::string & /*prompt*/) {
        return std::nullopt;
    }

    // Asks whether to save the edits before they are let go, with Save, Discard and Cancel.
    // A host without a screen answers Discard.
    virtual SaveChoice askToSave(const std::string & /*question*/,
                                 const std::string & /*caption*/) {
        return SaveChoice::Discard;
    }

    // The print dialog: a printer context for one document, or none when cancelled.
    virtual std::unique_ptr<PrintTarget> choosePrinter() { return nullptr; }
    // Handles waiting keyboard and mouse input, so the window responds during a printout.
    virtual void processPendingInput() {}

    // The progress of a long command named title, shown until the answer goes. A host without
    // a screen never cancels.
    virtual std::unique_ptr<Progress> startProgress(std::string_view /*title*/) {
        return std::make_unique<SilentProgress>();
    }

    // The mouse cursor's position in screen coordinates.
    virtual Point cursorPosition() const = 0;
    // The mouse buttons that are down as of the input message being handled (MouseButton
    // bits): a click handler sees its own button down.
    virtual unsigned mouseButtons() const = 0;

    // The report or project the window's work was last read from or written to, with its
    // folder. A window names it in its title and keeps it among its recent files; a host
    // without a window lets it go.
    virtual void noteDocument(const std::string & /*path*/) {}

    // The folder file dialogs start in; it follows the last file chosen.
    virtual std::string currentDirectory() = 0;
    virtual void setCurrentDirectory(const std::string &directory) = 0;
    // The folder of the program's executable (help file, companion list).
    virtual std::string executableDirectory() = 0;
};

// The options of a dialog for one kind of file, starting in the host's current folder.
inline FileDialogOptions fileDialogOptions(Host &host, std::string_view title,
                                           std::string_view description, std::string_view pattern,
                                           std::string_view extension) {
    FileDialogOptions options;
    options.title = std::string(title);
    options.filterDescription = std::string(description);
    options.filterPattern = std::string(pattern);
    options.defaultExtension = std::string(extension);
    options.initialDirectory = host.currentDirectory();
    return options;
}

// The same for a file to be written: the folder must exist, and replacing a file is asked.
inline FileDialogOptions saveDialogOptions(Host &host, std::string_view title,
                                           std::string_view description, std::string_view pattern,
                                           std::string_view extension) {
    FileDialogOptions options = fileDialogOptions(host, title, description, pattern, extension);
    options.promptOverwrite = true;
    options.pathMustExist = true;
    return options;
}

} // namespace zqar::platform
