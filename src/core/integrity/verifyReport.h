#pragma once
// Checking a report against what it was made from: each source file found again and hashed,
// the settings and results recomputed, and one verdict. Loading the sources and running the
// statistics belong to the job; this side takes them as a callback and does everything else.
//
//     const Verification result = verifyReport(pdfPath, sourcesFolder, recompute);
//     std::fputs(verificationText(result).c_str(), stdout);
//     return result.verified() ? 0 : 1;

#include "core/integrity/Manifest.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zqar {

enum class ItemStatus { Ok, Changed, Missing };

struct VerifiedItem {
    std::string name; // the source's name, or the settings or results item
    ItemStatus status = ItemStatus::Missing;
};

// Where a manifest's sources are looked for: by name in sourcesFolder (when given), else in
// the report's own folder.
struct SourceFolders {
    std::string sourcesFolder; // empty: none given
    std::string reportFolder;
};

// A manifest source as found again.
struct SourceCheck {
    ItemStatus status = ItemStatus::Missing;
    std::string path; // the file that was hashed: the source, or for a source taken from a
                      // report that report; empty when none was found
};

// Each source of the manifest in its order: OK when a file of its name holds the recorded bytes
// (same size and SHA-256), CHANGED when it holds others, MISSING when there is none. A source
// taken from a report is checked as the report file it names.
std::vector<SourceCheck> checkSources(const Manifest &manifest, const SourceFolders &folders);

// What the job computes again from the found sources with the manifest's settings text: that
// settings text as the settings table writes it, and the results text. None where it could not
// be computed (a source missing, a file that does not load).
struct Recomputed {
    std::optional<std::string> settingsText;
    std::optional<std::string> resultsText;
};
using Recompute =
    std::function<Recomputed(const Manifest &manifest, const std::vector<SourceCheck> &sources)>;

struct Verification {
    bool manifestRead = false;
    std::string reason; // why the manifest could not be read
    std::vector<VerifiedItem> items;
    // The manifest was read and every item is OK.
    bool verified() const;
};

// The items of a manifest: its sources, then "settings" and "results".
//   - settings: OK when the recorded settings text hashes to the recorded settings hash and,
//     when the recomputation gives a settings text, that one does too; otherwise CHANGED.
//   - results: OK when the recomputed results text hashes to the recorded results hash,
//     CHANGED when it does not, MISSING when it could not be recomputed (or there is no
//     recompute callback).
Verification verifyManifest(const Manifest &manifest, const std::vector<SourceCheck> &sources,
                            const Recomputed &recomputed);

// The whole check of a report file: its manifest read from the PDF's XMP (a report without
// one, or with a damaged one, is not verified, with the reason), its sources looked for (in
// sourcesFolder when not empty, else beside the report), and the recomputation asked for.
Verification verifyReport(const std::string &pdfPath, const std::string &sourcesFolder,
                          const Recompute &recompute);

// "OK NAME", "CHANGED NAME" or "MISSING NAME" a line, then "VERIFIED" or "NOT VERIFIED" (with
// the reason when the manifest could not be read); every line ends in LF.
std::string verificationText(const Verification &verification);

} // namespace zqar
