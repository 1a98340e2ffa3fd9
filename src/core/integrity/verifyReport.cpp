#include "core/integrity/verifyReport.h"

#include "core/integrity/manifestXmp.h"
#include "core/integrity/sha256.h"
#include "resources/format.h"
#include "resources/integrityTexts.h"

#include <filesystem>
#include <map>

namespace zqar {

namespace {

namespace fs = std::filesystem;

// The regular file of that name in the sources folder, else in the report's folder.
std::optional<std::string> findFile(const std::string &name, const SourceFolders &folders) {
    std::vector<fs::path> places;
    if (!folders.sourcesFolder.empty())
        places.emplace_back(folders.sourcesFolder);
    places.emplace_back(folders.reportFolder.empty() ? "." : folders.reportFolder);
    for (const fs::path &folder : places) {
        std::error_code error;
        if (fs::is_regular_file(folder / name, error))
            return (folder / name).string();
    }
    return std::nullopt;
}

ItemStatus hashStatus(std::string_view text, const std::string &recordedHash) {
    return sha256Hex(text) == recordedHash ? ItemStatus::Ok : ItemStatus::Changed;
}

} // namespace

std::vector<SourceCheck> checkSources(const Manifest &manifest, const SourceFolders &folders) {
    // A report that several sources were taken from is hashed once.
    std::map<std::string, std::optional<FileDigest>> digests;
    const auto digestOf = [&](const std::string &path) -> const std::optional<FileDigest> & {
        const auto [entry, added] = digests.try_emplace(path);
        if (added)
            entry->second = sha256File(path);
        return entry->second;
    };
    std::vector<SourceCheck> checks;
    for (const ManifestSource &source : manifest.sources) {
        const std::string &name = source.takenFrom ? source.takenFrom->reportName : source.name;
        const std::string &hash = source.takenFrom ? source.takenFrom->reportSha256 : source.sha256;
        SourceCheck check;
        if (const auto path = findFile(name, folders)) {
            check.path = *path;
            const auto &digest = digestOf(*path);
            // A file that is there but cannot be read is not the recorded file either.
            const bool same = digest && digest->sha256 == hash &&
                              (source.takenFrom || digest->size == source.size);
            check.status = same ? ItemStatus::Ok : ItemStatus::Changed;
        }
        checks.push_back(std::move(check));
    }
    return checks;
}

bool Verification::verified() const {
    if (!manifestRead)
        return false;
    for (const VerifiedItem &item : items)
        if (item.status != ItemStatus::Ok)
            return false;
    return true;
}

Verification verifyManifest(const Manifest &manifest, const std::vector<SourceCheck> &sources,
                            const Recomputed &recomputed) {
    Verification verification;
    verification.manifestRead = true;
    for (std::size_t i = 0; i < manifest.sources.size(); ++i)
        verification.items.push_back(
            VerifiedItem{manifest.sources[i].name,
                         i < sources.size() ? sources[i].status : ItemStatus::Missing});

    ItemStatus settings = hashStatus(manifest.settingsText, manifest.settingsSha256);
    if (settings == ItemStatus::Ok && recomputed.settingsText)
        settings = hashStatus(*recomputed.settingsText, manifest.settingsSha256);
    verification.items.push_back(VerifiedItem{std::string(text::SETTINGS_ITEM), settings});

    const ItemStatus results = recomputed.resultsText
                                   ? hashStatus(*recomputed.resultsText, manifest.resultsSha256)
                                   : ItemStatus::Missing;
    verification.items.push_back(VerifiedItem{std::string(text::RESULTS_ITEM), results});
    return verification;
}

Verification verifyReport(const std::string &pdfPath, const std::string &sourcesFolder,
                          const Recompute &recompute) {
    const ManifestRead read = readManifestFromPdf(pdfPath);
    if (!read.manifest) {
        Verification verification;
        verification.reason = read.reason;
        return verification;
    }
    SourceFolders folders;
    folders.sourcesFolder = sourcesFolder;
    folders.reportFolder = fs::path(pdfPath).parent_path().string();
    const std::vector<SourceCheck> sources = checkSources(*read.manifest, folders);
    const Recomputed recomputed = recompute ? recompute(*read.manifest, sources) : Recomputed{};
    return verifyManifest(*read.manifest, sources, recomputed);
}

std::string verificationText(const Verification &verification) {
    std::string out;
    for (const VerifiedItem &item : verification.items) {
        const char *pattern = item.status == ItemStatus::Ok        ? text::ITEM_OK
                              : item.status == ItemStatus::Changed ? text::ITEM_CHANGED
                                                                   : text::ITEM_MISSING;
        out += text::format(pattern, item.name) + "\n";
    }
    if (verification.verified())
        out += std::string(text::VERIFIED) + "\n";
    else if (!verification.manifestRead)
        out += text::format(text::NOT_VERIFIED_BECAUSE, verification.reason) + "\n";
    else
        out += std::string(text::NOT_VERIFIED) + "\n";
    return out;
}

} // namespace zqar
