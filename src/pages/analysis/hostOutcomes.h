#pragma once
// The failures the analysis commands share: a message box from the host that also becomes the
// command's outcome, and an export file written whole or not at all.

#include "platform/CommandOutcome.h"

#include <string>
#include <string_view>

namespace zqar {

namespace platform {
class Host;
}

// Shows the message under caption and answers the failed outcome that carries it.
CommandOutcome showFailure(platform::Host &host, std::string_view message,
                           std::string_view caption);

// Writes bytes to path beside the old file and renames them over it; when that fails, the
// export-failed message shows under caption.
CommandOutcome writeExport(platform::Host &host, const std::string &path, const std::string &bytes,
                           std::string_view caption);

} // namespace zqar
