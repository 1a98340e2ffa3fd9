#pragma once
// What a page command came to. The page shows its own message box; the outcome tells the
// command's caller (the batch tool, a command that runs another) how it ended, so nothing has
// to judge a command by the texts it showed. A message that only informs ("One log file was
// not loaded.") belongs to a completed command.

#include "platform/Dialog.h"

#include <string>
#include <string_view>

namespace zqar {

struct CommandOutcome {
    enum class Kind {
        Completed, // the command did its work
        Failed,    // it stopped on a failure, its state as it was before
        Cancelled, // the user closed its dialog without choosing
    };
    Kind kind = Kind::Completed;
    std::string message; // Failed: the text of the message box the command showed

    static CommandOutcome completed() { return {}; }
    static CommandOutcome cancelled() { return {Kind::Cancelled, {}}; }
    static CommandOutcome failed(std::string_view message) {
        return {Kind::Failed, std::string(message)};
    }
    bool hasFailed() const { return kind == Kind::Failed; }
};

// Shows a command's failure message on the page and answers the outcome that carries it.
inline CommandOutcome showFailure(platform::Dialog &dialog, std::string_view message,
                                  std::string_view caption) {
    dialog.messageBox(std::string(message), std::string(caption));
    return CommandOutcome::failed(message);
}

} // namespace zqar
