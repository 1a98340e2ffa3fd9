#include "app/BatchTool.h"
#include "app/batchOptions.h"
#include "pages/layout/logFileCommands.h"
#include "pages/layout/projectFile.h"

namespace zqar {

namespace {

// An option whose argument answers the command's one file or folder dialog.
template <typename Queue, typename F>
BatchOption answered(const char *name, const char *argument, const char *help, Queue queue,
                     F operation) {
    return BatchOption{name, argument, help,
                       [queue, operation](BatchTool &tool,
                                          const std::string &answer) -> std::optional<std::string> {
                           (tool.host.*queue).push_back(answer);
                           tool.noteOutcome(operation(tool.window.fileSelectionPage));
                           return std::nullopt;
                       }};
}

} // namespace

void registerFileOptions(BatchTool &tool) {
    using platform::MemoryHost;
    tool.addOption({"--load-files", "", "Load Files from the data file directory",
                    [](BatchTool &t, const std::string &) -> std::optional<std::string> {
                        t.noteOutcome(t.window.loadFiles());
                        return std::nullopt;
                    }});
    // Consecutive --import options make one import, as several files chosen at once do.
    BatchOption import{"--import", "PATH",
                       "Import the exported table PATH, or a folder's .csv, .txt and .tsv files",
                       nullptr};
    import.trailingOptions = {"--import PATH"};
    import.runArguments = [](BatchTool & t, const std::vector<std::string> &arguments)
                              ->std::optional<std::string> {
                                  std::vector<std::string> paths;
    for (std::size_t i = 0; i < arguments.size(); i += 2)
        paths.push_back(arguments[i]);
    t.noteOutcome(t.window.importFiles(paths, 0));
    return std::nullopt;
};
tool.addOption(std::move(import));
tool.addOption(answered("--copy-files", "DIR", "Copy Files of the placed loggers into DIR",
                        &MemoryHost::folderAnswers, copyFiles));
tool.addOption(answered("--load-project", "FILE", "Load Project from FILE",
                        &MemoryHost::openAnswers, loadProject));
BatchOption save = answered("--save-project", "FILE", "Save Project as FILE",
                            &MemoryHost::saveAnswers, saveProject);
save.writesFile = true;
tool.addOption(std::move(save));
} // namespace zqar

} // namespace zqar
