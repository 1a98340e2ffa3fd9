#pragma once
// The platform with no screen, for tests and the batch tool: pages get MemoryDialogs built
// from their templates, file and folder dialogs answer from scripted queues (an empty queue
// cancels), and every question, message box, timer and help request is recorded.

#include "platform/Host.h"
#include "platform/memory/MemoryDialog.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zqar::platform {

struct RecordedMessage {
    std::string caption;
    std::string text;
    const Page *page = nullptr; // null for the main window's own boxes
};

enum class DialogKind { OpenFile, SaveFile, BrowseFolder, OpenFiles };

struct RecordedDialog {
    DialogKind kind = DialogKind::OpenFile;
    FileDialogOptions options;    // file dialogs
    std::string prompt;           // folder browser
    std::string initialDirectory; // the folder the dialog starts in
};

struct RecordedTimer {
    Page *page = nullptr;
    int id = 0;
    int intervalMs = 0;
};

class MemoryHost : public Host {
public:
    MemoryHost();
    ~MemoryHost() override;

#include "platform/HostOverrides.inc"
    Point cursorPosition() const override { return mouse.cursor; }
    unsigned mouseButtons() const override { return mouse.buttons; }
    std::string currentDirectory() override { return workingDirectory; }
    void setCurrentDirectory(const std::string &directory) override {
        workingDirectory = directory;
    }
    std::string executableDirectory() override { return programDirectory; }
    void setExecutableDirectory(const std::string &directory) { programDirectory = directory; }

    // The page's window; the page must have been created.
    MemoryDialog &dialogOf(const Page &page);
    bool isPageShown(const Page &page) const;

    // Fires timer id on every page that started one with that id.
    void tick(int id);

    // The simulated mouse every page of this host reads and MemoryDialog's clicks move.
    MemoryMouse mouse;

    // Scripted answers, taken one per dialog in order.
    std::deque<std::string> openAnswers;
    std::deque<std::string> saveAnswers;
    std::deque<std::string> folderAnswers;
    std::deque<std::vector<std::string>> openFilesAnswers; // an empty answer cancels too
    std::deque<std::string> textAnswers; // askText; the prompts asked go to textPrompts
    std::vector<std::string> textPrompts;
    std::optional<std::string> askText(const std::string &, const std::string &prompt) override {
        textPrompts.push_back(prompt);
        if (textAnswers.empty())
            return std::nullopt;
        std::string answer = std::move(textAnswers.front());
        textAnswers.pop_front();
        return answer;
    }

    // askToSave answers from saveChoices in order, Discard when it is empty; the questions
    // asked go to saveQuestions.
    std::deque<SaveChoice> saveChoices;
    std::vector<std::string> saveQuestions;
    SaveChoice askToSave(const std::string &question, const std::string &) override {
        saveQuestions.push_back(question);
        if (saveChoices.empty())
            return SaveChoice::Discard;
        const SaveChoice choice = saveChoices.front();
        saveChoices.pop_front();
        return choice;
    }

    // What the program asked and said, in order.
    std::vector<RecordedDialog> dialogs;
    std::vector<RecordedMessage> messages;
    std::vector<RecordedTimer> timers;
    std::vector<std::string> helpRequests;
    std::vector<std::string> documents; // noteDocument's paths
    void noteDocument(const std::string &path) override { documents.push_back(path); }

    // Called at once for every message box, after it is recorded.
    std::function<void(const RecordedMessage &)> onMessage;

    // Off-screen contexts come from this factory when one is set; otherwise they are recording
    // contexts whose HORZRES and VERTRES answer the bitmap's size.
    std::function<std::unique_ptr<DrawingContext>(int width, int height)> offscreenFactory;

    // The print dialog's answer: a printer from this factory, or cancel when none is set.
    std::function<std::unique_ptr<PrintTarget>()> printerFactory;
    std::unique_ptr<PrintTarget> choosePrinter() override {
        ++printDialogs;
        return printerFactory ? printerFactory() : nullptr;
    }
    void processPendingInput() override { ++pendingInputChecks; }
    int printDialogs = 0;
    int pendingInputChecks = 0;

    // Long commands' progress: the title of each, the steps all of them reported, and a
    // scripted Cancel. With cancelAtStep n > 0 every progress answers false from its n-th step
    // on, as if the user pressed Cancel there; 0 never cancels.
    std::unique_ptr<Progress> startProgress(std::string_view title) override;
    int cancelAtStep = 0;
    std::vector<std::string> progressTitles;
    int progressSteps = 0;

    // The status lines (control 1005) written since the last call, once per page in the
    // order of their first write, each with its present text.
    std::vector<std::string> takeStatusChanges();
    // The messages recorded since the last call.
    std::vector<RecordedMessage> takeMessages();

private:
    // The folder a file dialog starts in, as the screen's host chooses it.
    std::string startFolder(const FileDialogOptions &options) const;
    std::optional<std::string> answer(std::deque<std::string> &answers,
                                      const FileDialogOptions &options);
    // Moves the folder file dialogs start in to that of a file chosen.
    void follow(const std::string &chosen);

    std::map<const Page *, std::unique_ptr<MemoryDialog>> windows;
    std::map<const Page *, bool> shownPages;
    std::vector<const Page *> statusPages;
    std::size_t messagesTaken = 0;
    std::string workingDirectory;
    std::string programDirectory;
    std::string startDirectory; // the working directory at construction
};

} // namespace zqar::platform
