#pragma once
// The page commands from the command line: a MainWindow on the in-memory backend, driven by
// options run strictly in order. Each option calls the very page operation its button calls.
// Message boxes go to the error stream as "CAPTION: TEXT", the status lines a command wrote
// to the output stream as "STATUS: TEXT". A command's outcome, not its messages, decides
// whether the run goes on.
//
// Options are entries of a registry, so each command group registers its own options from
// its own source file (see batchOptions.h).

#include "app/MainWindow.h"
#include "platform/CommandOutcome.h"
#include "platform/memory/MemoryHost.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace zqar {

enum BatchExit : int {
    BATCH_OK = 0,     // every option ran
    BATCH_FAILED = 1, // a command failed; the run ended there
    BATCH_USAGE = 2,  // unknown option, missing or malformed argument
};

class BatchTool;

struct BatchOption {
    std::string name; // with its dashes: "--load-report"
    // Shown in the usage text ("FILE"); empty for an option without one. An option with more
    // than one argument names each, separated by blanks ("STAT FILE"), and runs through
    // runArguments.
    std::string argument;
    std::string help; // one line for the usage text
    // Runs the option. Answers an error text for a malformed argument, which ends the run
    // as a usage error. The option hands the outcome of each command it runs to
    // BatchTool::noteOutcome; a failure the command has no message of its own for (a file the
    // option writes) goes to BatchTool::failCommand.
    std::function<std::optional<std::string>(BatchTool &tool, const std::string &argument)> run;
    // The argument names a file the option writes. Its folder is made first, so a script can
    // write into "out/" of a fresh checkout; in the window the save dialog only offers
    // folders that exist.
    bool writesFile = false;
    // Checks the argument's form before the first option of the run goes (empty: no check).
    // Answers an error text for a malformed argument, like run.
    std::function<std::optional<std::string>(const std::string &argument)> check = nullptr;
    // For an option with several arguments, in place of run and check; a file it writes is
    // its last argument.
    std::function<std::optional<std::string>(BatchTool &tool,
                                             const std::vector<std::string> &arguments)>
        runArguments = nullptr;
    std::function<std::optional<std::string>(const std::vector<std::string> &arguments)>
        checkArguments = nullptr;
    // Options of one argument each that may follow the option's own arguments and belong to
    // it, as "NAME ARGUMENT" ("--sources DIR" of --verify-report). The option then runs
    // through runArguments, which gets each one given as its name and its argument after the
    // option's own arguments.
    std::vector<std::string> trailingOptions = {};

    // How many arguments follow the option: the names in argument.
    std::size_t argumentCount() const;
};

class BatchTool {
public:
    BatchTool(std::ostream &out, std::ostream &err);
    BatchTool(const BatchTool &) = delete;
    BatchTool &operator=(const BatchTool &) = delete;

    // Adds an option; a later entry with the same name replaces the earlier one.
    void addOption(BatchOption option);

    // Runs the options (arguments without the program name) and answers the exit code.
    int run(const std::vector<std::string> &arguments);

    std::string usage() const;

    // Shows a message box for a failure the command has no box of its own for, and ends the
    // run with BATCH_FAILED once the option returns.
    void failCommand(const std::string &caption, const std::string &text);
    // Takes a command's outcome: a failed command ends the run with BATCH_FAILED once the
    // option returns. Answers the outcome, so an option can go on by it.
    const CommandOutcome &noteOutcome(const CommandOutcome &outcome);

    // The job and the settings, for the options of the window layer.
    JobView jobView() { return window.jobView(); }
    // Print Graph and Print Matrix of the pages as they are, with the page's status line
    // brought up to date first.
    CommandOutcome printGraph();
    CommandOutcome printMatrix();

    platform::MemoryHost host;
    MainWindow window;
    std::ostream &out;
    std::ostream &err;
    // Set by an option that ends the run successfully (--help).
    bool finished = false;

private:
    const BatchOption *find(const std::string &name) const;
    // Prints what the last command said; answers whether one of its commands failed.
    bool reportCommand();

    std::vector<BatchOption> options;
    bool initialised = false;
    bool commandFailed = false; // set by failCommand and noteOutcome during the running option
};

// An option whose argument names the one file a command writes: write(tool, file) runs the
// command and gives its outcome.
template <typename Write>
BatchOption fileOption(const char *name, const char *argument, const char *help, Write write) {
    return BatchOption{
        name, argument, help,
        [write](BatchTool &tool, const std::string &file) -> std::optional<std::string> {
            tool.noteOutcome(write(tool, file));
            return std::nullopt;
        },
        true};
}

// An option whose argument is checked before the first option of the run goes: check(argument)
// answers the error text of a malformed one, and run(tool, argument) does the work of a good one.
template <typename Check, typename Run>
BatchOption checkedOption(const char *name, const char *argument, const char *help, Check check,
                          Run run) {
    BatchOption option{
        name, argument, help,
        [check, run](BatchTool &tool, const std::string &text) -> std::optional<std::string> {
            if (auto error = check(text))
                return error;
            run(tool, text);
            return std::nullopt;
        }};
    option.check = check;
    return option;
}

// An option that runs a calculation over the job and its settings and, when that completed,
// writes the one file its argument names from the result: write(tool, run, file) writes it
// and gives the outcome.
template <typename Calculate, typename Write>
BatchOption calculationFileOption(const char *name, const char *help, Calculate calculate,
                                  Write write) {
    return BatchOption{
        name, "FILE", help,
        [calculate, write](BatchTool &tool, const std::string &file) -> std::optional<std::string> {
            const auto run = calculate(tool.window.job, tool.window.settings(), tool.host);
            if (tool.noteOutcome(run.outcome).kind == CommandOutcome::Kind::Completed)
                tool.noteOutcome(write(tool, run, file));
            return std::nullopt;
        },
        true};
}

} // namespace zqar
