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
    tool.addOption(answered("--copy-files", "DIR", "Copy Files of the placed loggers into DIR",
                            &MemoryHost::folderAnswers, copyFiles));
    tool.addOption(answered("--load-project", "FILE", "Load Project from FILE",
                            &MemoryHost::openAnswers, loadProject));
    BatchOption save = answered("--save-project", "FILE", "Save Project as FILE",
                                &MemoryHost::saveAnswers, saveProject);
    save.writesFile = true;
    tool.addOption(std::move(save));
}

} // namespace zqar
