#pragma once
// The file dialog every CSV export opens: "Export Data", CSV files, asking before a file is
// replaced.

#include "platform/Host.h"
#include "resources/strings.h"

#include <optional>
#include <string>

namespace zqar {

inline platform::FileDialogOptions csvExportOptions(platform::Host &host) {
    return platform::saveDialogOptions(host, text::EXPORT_DIALOG_TITLE,
                                       text::EXPORT_FILTER_DESCRIPTION, text::EXPORT_FILTER_PATTERN,
                                       text::EXPORT_EXTENSION);
}

// The file chosen, or none when the user cancelled.
inline std::optional<std::string> chooseCsvExport(platform::Host &host) {
    return host.saveFile(csvExportOptions(host));
}

} // namespace zqar
