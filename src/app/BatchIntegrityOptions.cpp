// The batch tool's checks of a report and a project, and the reason recorded with changes.

#include "app/BatchTool.h"
#include "app/batchOptions.h"
#include "app/reportVerification.h"
#include "core/data/IniFile.h"
#include "core/integrity/ChangeLog.h"
#include "resources/format.h"
#include "resources/integrityTexts.h"

#include <ostream>

namespace zqar {

namespace {

constexpr std::string_view SOURCES_OPTION = "--sources";

std::optional<std::string> checkVerifyReport(const std::vector<std::string> &arguments) {
    // The report, then at most one "--sources DIR".
    if (arguments.size() > 3)
        return "--verify-report takes one --sources DIR";
    return std::nullopt;
}

std::optional<std::string> verifyReportOption(BatchTool &tool,
                                              const std::vector<std::string> &arguments) {
    const std::string sources = arguments.size() >= 3 ? arguments[2] : std::string();
    const Verification verification = verifyReportFile(arguments[0], sources);
    tool.out << verificationText(verification);
    if (!verification.verified())
        tool.noteOutcome(CommandOutcome::failed(text::NOT_VERIFIED));
    return std::nullopt;
}

std::optional<std::string> verifyProjectOption(BatchTool &tool, const std::string &file) {
    const std::optional<IniFile> project = IniFile::read(file);
    if (!project) {
        tool.failCommand(std::string(text::VERIFY_PROJECT_CAPTION),
                         text::format(text::PROJECT_UNREADABLE, file));
        return std::nullopt;
    }
    const ChainCheck check = checkChain(readChangeLog(*project));
    tool.out << chainCheckText(check) << "\n";
    if (!check.intact())
        tool.noteOutcome(CommandOutcome::failed(chainCheckText(check)));
    return std::nullopt;
}

} // namespace

void registerIntegrityOptions(BatchTool &tool) {
    BatchOption verify{"--verify-report", "REPORT.pdf",
                       "check a mapping report against its sources (found by name in DIR, else "
                       "beside the report): OK, CHANGED or MISSING for each, then VERIFIED or "
                       "NOT VERIFIED; exit status 1 unless verified",
                       nullptr};
    verify.trailingOptions = {std::string(SOURCES_OPTION) + " DIR"};
    verify.checkArguments = checkVerifyReport;
    verify.runArguments = verifyReportOption;
    tool.addOption(std::move(verify));
    tool.addOption({"--verify-project", "FILE.ttp",
                    "check the chain of the project's change log and name the first broken "
                    "entry; exit status 1 when it is broken",
                    verifyProjectOption});
    tool.addOption({"--reason", "TEXT",
                    "the reason recorded in the change log with the changes of the options "
                    "that follow",
                    [](BatchTool &t, const std::string &reason) -> std::optional<std::string> {
                        t.window.changeReason = reason;
                        return std::nullopt;
                    }});
}

} // namespace zqar
