#include "app/BatchTool.h"

#include "app/batchOptions.h"
#include "core/data/lineEscaped.h"

#include <filesystem>
#include <ostream>

namespace zqar {

namespace {
constexpr const char *PROGRAM_NAME = "zqar-vemro-batch";
} // namespace

BatchTool::BatchTool(std::ostream &output, std::ostream &errors)
    : window(host), out(output), err(errors) {
    addOption({"--help", "", "show this text and stop",
               [](BatchTool &tool, const std::string &) -> std::optional<std::string> {
                   tool.out << tool.usage();
                   tool.finished = true;
                   return std::nullopt;
               }});
    registerAllOptions(*this);
}

std::size_t BatchOption::argumentCount() const {
    std::size_t count = 0;
    bool inName = false;
    for (const char c : argument) {
        if (c != ' ' && !inName)
            ++count;
        inName = c != ' ';
    }
    return count;
}

void BatchTool::addOption(BatchOption option) {
    for (BatchOption &existing : options)
        if (existing.name == option.name) {
            existing = std::move(option);
            return;
        }
    options.push_back(std::move(option));
}

const BatchOption *BatchTool::find(const std::string &name) const {
    for (const BatchOption &option : options)
        if (option.name == name)
            return &option;
    return nullptr;
}

std::string BatchTool::usage() const {
    std::string text = std::string("usage: ") + PROGRAM_NAME + " OPTION...\n" +
                       "Runs the page commands in the order given, on one set of pages.\n";
    for (const BatchOption &option : options) {
        std::string left = "  " + option.name;
        if (!option.argument.empty())
            left += " " + option.argument;
        for (const std::string &trailing : option.trailingOptions)
            left += " [" + trailing + "]";
        if (left.size() < 32)
            left.resize(32, ' ');
        else
            left += "  ";
        text += left + option.help + "\n";
    }
    text += "Message boxes go to standard error as CAPTION: TEXT, one line each, with a CR\n"
            "written as \\r, a LF as \\n and a backslash as \\\\; status lines to standard\n"
            "output as STATUS: TEXT. Positions are counted from 1.\n"
            "Exit status: 0 when every option ran, 1 when a command stopped on a failure,\n"
            "2 for a usage error.\n";
    return text;
}

void BatchTool::failCommand(const std::string &caption, const std::string &text) {
    host.messageBox(text, caption);
    commandFailed = true;
}

const CommandOutcome &BatchTool::noteOutcome(const CommandOutcome &outcome) {
    commandFailed = commandFailed || outcome.hasFailed();
    return outcome;
}

CommandOutcome BatchTool::printGraph() {
    window.graphPage.showCurrentSet();
    return window.graphPage.onPrint();
}

CommandOutcome BatchTool::printMatrix() {
    window.matrixPage.showCurrentSet();
    return window.matrixPage.onPrint();
}

bool BatchTool::reportCommand() {
    const bool failed = commandFailed;
    commandFailed = false;
    for (const platform::RecordedMessage &message : host.takeMessages())
        err << lineEscaped(message.caption) << ": " << lineEscaped(message.text) << "\n";
    for (const std::string &status : host.takeStatusChanges())
        out << "STATUS: " << status << "\n";
    // An answer the command did not ask for must not reach a later command's dialog.
    host.openAnswers.clear();
    host.saveAnswers.clear();
    host.folderAnswers.clear();
    host.openFilesAnswers.clear();
    return failed;
}

int BatchTool::run(const std::vector<std::string> &arguments) {
    auto usageError = [this](const std::string &message) {
        err << PROGRAM_NAME << ": " << message << "\n" << usage();
        return BATCH_USAGE;
    };
    if (arguments.empty())
        return usageError("no options given");

    // Every option and its argument is checked before the first one runs.
    struct Step {
        const BatchOption *option;
        std::vector<std::string> arguments;
        std::string argument() const { return arguments.empty() ? std::string() : arguments[0]; }
    };
    std::vector<Step> steps;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const BatchOption *option = find(arguments[i]);
        if (!option)
            return usageError("unknown option " + arguments[i]);
        Step step{option, {}};
        const std::size_t count = option->argumentCount();
        if (arguments.size() - 1 - i < count)
            return usageError(option->name + " needs " + option->argument);
        step.arguments.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                              arguments.begin() + static_cast<std::ptrdiff_t>(i + 1 + count));
        i += count;
        for (bool more = true; more && i + 1 < arguments.size();) {
            more = false;
            for (const std::string &trailing : option->trailingOptions)
                if (trailing.substr(0, trailing.find(' ')) == arguments[i + 1]) {
                    if (i + 2 >= arguments.size())
                        return usageError(trailing.substr(0, trailing.find(' ')) + " needs " +
                                          trailing.substr(trailing.find(' ') + 1));
                    step.arguments.push_back(arguments[i + 1]);
                    step.arguments.push_back(arguments[i + 2]);
                    i += 2;
                    more = true;
                    break;
                }
        }
        std::optional<std::string> error;
        if (option->checkArguments)
            error = option->checkArguments(step.arguments);
        else if (option->check)
            error = option->check(step.argument());
        if (error)
            return usageError(*error);
        steps.push_back(std::move(step));
    }

    if (!initialised) {
        window.initialise();
        initialised = true;
        host.takeMessages();
        host.takeStatusChanges();
    }
    finished = false;
    for (const Step &step : steps) {
        if (step.option->writesFile && !step.arguments.empty()) {
            const std::filesystem::path folder =
                std::filesystem::path(step.arguments.back()).parent_path();
            std::error_code ignored;
            if (!folder.empty())
                std::filesystem::create_directories(folder, ignored);
        }
        const std::optional<std::string> error =
            step.option->runArguments ? step.option->runArguments(*this, step.arguments)
                                      : step.option->run(*this, step.argument());
        // What the option changed goes into the job's change log before the next one runs.
        window.recordChanges();
        const bool failed = reportCommand();
        if (error)
            return usageError(*error);
        if (failed)
            return BATCH_FAILED;
        if (finished)
            break;
    }
    return BATCH_OK;
}

} // namespace zqar
