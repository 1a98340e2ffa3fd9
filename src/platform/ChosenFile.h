#pragma once
// A command that starts with a file dialog: closing the dialog without choosing cancels the
// command; otherwise the command goes on with the chosen path.

#include "platform/CommandOutcome.h"
#include "platform/Host.h"

#include <optional>
#include <string>
#include <utility>

namespace zqar::platform {

enum class FileChoice { Open, Save };

template <typename Use>
CommandOutcome withChosenFile(Host &host, FileChoice choice, const FileDialogOptions &options,
                              Use &&use) {
    const std::optional<std::string> chosen =
        choice == FileChoice::Open ? host.openFile(options) : host.saveFile(options);
    if (!chosen)
        return CommandOutcome::cancelled();
    return std::forward<Use>(use)(*chosen);
}

} // namespace zqar::platform
