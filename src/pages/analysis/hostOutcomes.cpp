#include "pages/analysis/hostOutcomes.h"

#include "core/data/AtomicFileWriter.h"
#include "platform/Host.h"
#include "resources/strings.h"

namespace zqar {

CommandOutcome showFailure(platform::Host &host, std::string_view message,
                           std::string_view caption) {
    host.messageBox(std::string(message), std::string(caption));
    return CommandOutcome::failed(message);
}

CommandOutcome writeExport(platform::Host &host, const std::string &path, const std::string &bytes,
                           std::string_view caption) {
    if (writeFileAtomically(path, bytes))
        return CommandOutcome::completed();
    return showFailure(host, text::EXPORT_FAILED, caption);
}

} // namespace zqar
