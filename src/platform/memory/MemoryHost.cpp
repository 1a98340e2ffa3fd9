#include "platform/memory/MemoryHost.h"

#include "platform/DrawingContext.h"
#include "platform/Page.h"
#include "platform/fileSystems.h"
#include "platform/memory/RecordingContext.h"
#include "resources/controlIds.h"
#include "resources/templates.h"

#include <algorithm>
#include <filesystem>

namespace zqar::platform {

namespace {
// The file dialogs add the default extension to a name typed without one.
std::string withDefaultExtension(std::string path, const FileDialogOptions &options) {
    const std::string name = std::filesystem::path(path).filename().string();
    if (!options.defaultExtension.empty() && !name.empty() && name.find('.') == std::string::npos)
        path += "." + options.defaultExtension;
    return path;
}
// Counts its steps into the host's tally and cancels from the host's scripted step on.
class MemoryProgress : public Progress {
public:
    MemoryProgress(int &tally, int cancelAt) : steps(tally), cancelAtStep(cancelAt) {}
    bool step(std::uint64_t, std::uint64_t) override {
        ++steps;
        ++taken;
        return cancelAtStep <= 0 || taken < cancelAtStep;
    }

private:
    int &steps;
    int cancelAtStep;
    int taken = 0;
};

} // namespace

std::unique_ptr<Progress> MemoryHost::startProgress(std::string_view title) {
    progressTitles.emplace_back(title);
    return std::make_unique<MemoryProgress>(progressSteps, cancelAtStep);
}

std::optional<std::string> MemoryHost::answer(std::deque<std::string> &answers,
                                              const FileDialogOptions &options) {
    if (answers.empty())
        return std::nullopt;
    std::string chosen = withDefaultExtension(answers.front(), options);
    answers.pop_front();
    follow(chosen);
    return chosen;
}

void MemoryHost::follow(const std::string &chosen) {
    // The dialogs' folder follows the last file chosen, but never onto a kernel file system.
    std::error_code error;
    const auto folder = std::filesystem::absolute(std::filesystem::path(chosen), error);
    if (!error && folder.has_parent_path() && !isPseudoFileSystem(folder.parent_path().string()))
        workingDirectory = folder.parent_path().string();
}

MemoryHost::MemoryHost() {
    std::error_code error;
    const auto cwd = std::filesystem::current_path(error);
    workingDirectory = error ? std::string() : cwd.string();
    programDirectory = workingDirectory;
    startDirectory = workingDirectory;
}

std::string MemoryHost::startFolder(const FileDialogOptions &options) const {
    return dialogStartFolder(options.initialDirectory,
                             dialogStartFolder(workingDirectory, startDirectory));
}

MemoryHost::~MemoryHost() = default;

void MemoryHost::createPage(Page &page) {
    auto window = std::make_unique<MemoryDialog>(zqar::dialogTemplate(page.templateId), &page);
    const Page *owner = &page;
    window->onMessageBox = [this, owner](const std::string &text, const std::string &caption) {
        messages.push_back(RecordedMessage{caption, text, owner});
        if (onMessage)
            onMessage(messages.back());
    };
    window->onTextChanged = [this, owner](int id) {
        if (id == STATUS_LINE &&
            std::find(statusPages.begin(), statusPages.end(), owner) == statusPages.end())
            statusPages.push_back(owner);
    };
    window->setMouse(mouse);
    MemoryDialog &created = *window;
    windows[owner] = std::move(window);
    shownPages[owner] = true;
    page.attach(created);
    page.initialise();
}

void MemoryHost::showPage(Page &page, bool shown) { shownPages[&page] = shown; }

bool MemoryHost::isPageShown(const Page &page) const {
    const auto found = shownPages.find(&page);
    return found != shownPages.end() && found->second;
}

MemoryDialog &MemoryHost::dialogOf(const Page &page) { return *windows.at(&page); }

void MemoryHost::messageBox(const std::string &text, const std::string &caption) {
    messages.push_back(RecordedMessage{caption, text, nullptr});
    if (onMessage)
        onMessage(messages.back());
}

std::optional<std::string> MemoryHost::openFile(const FileDialogOptions &options) {
    dialogs.push_back(RecordedDialog{DialogKind::OpenFile, options, {}, startFolder(options)});
    return answer(openAnswers, options);
}

std::optional<std::string> MemoryHost::saveFile(const FileDialogOptions &options) {
    dialogs.push_back(RecordedDialog{DialogKind::SaveFile, options, {}, startFolder(options)});
    return answer(saveAnswers, options);
}

std::vector<std::string> MemoryHost::openFiles(const FileDialogOptions &options) {
    dialogs.push_back(RecordedDialog{DialogKind::OpenFiles, options, {}, startFolder(options)});
    if (openFilesAnswers.empty())
        return {};
    std::vector<std::string> chosen = std::move(openFilesAnswers.front());
    openFilesAnswers.pop_front();
    if (!chosen.empty())
        follow(chosen.back());
    return chosen;
}

std::optional<std::string> MemoryHost::browseFolder(const std::string &prompt,
                                                    const std::string &initialDirectory) {
    dialogs.push_back(RecordedDialog{DialogKind::BrowseFolder, {}, prompt, initialDirectory});
    if (folderAnswers.empty())
        return std::nullopt;
    std::string answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

void MemoryHost::startTimer(Page &page, int id, int intervalMs) {
    timers.push_back(RecordedTimer{&page, id, intervalMs});
}

void MemoryHost::tick(int id) {
    // Copied first: a timer handler may start another timer.
    const std::vector<RecordedTimer> running = timers;
    for (const RecordedTimer &timer : running)
        if (timer.id == id)
            timer.page->timer(id);
}

void MemoryHost::showHelp(const std::string &path) { helpRequests.push_back(path); }

std::unique_ptr<DrawingContext> MemoryHost::createOffscreen(int width, int height) {
    if (offscreenFactory)
        return offscreenFactory(width, height);
    auto context = std::make_unique<RecordingContext>();
    context->setDeviceCap(HORZRES, width);
    context->setDeviceCap(VERTRES, height);
    return context;
}

std::vector<std::string> MemoryHost::takeStatusChanges() {
    std::vector<std::string> texts;
    for (const Page *page : statusPages)
        texts.push_back(windows.at(page)->text(STATUS_LINE));
    statusPages.clear();
    return texts;
}

std::vector<RecordedMessage> MemoryHost::takeMessages() {
    std::vector<RecordedMessage> taken(
        messages.begin() + static_cast<std::ptrdiff_t>(messagesTaken), messages.end());
    messagesTaken = messages.size();
    return taken;
}

} // namespace zqar::platform
