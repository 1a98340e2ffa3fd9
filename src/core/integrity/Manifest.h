#pragma once
// What a mapping report was made from: its source files with their sizes and SHA-256 hashes,
// the settings text and the hash of the results text, and the program's version. The report
// prints it on its manifest page and carries it in the PDF's XMP metadata (manifestXmp.h);
// checking a report recomputes it (verifyReport.h).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

enum class SourceRole { LogFile, Import, Report, Calibration, Events };

// The role's name in the XMP ("logFile", "import", ...), and back; none for any other name.
std::string_view roleKey(SourceRole role);
std::optional<SourceRole> roleFromKey(std::string_view key);
// The role as the manifest page shows it ("Log file", ...).
std::string_view roleLabel(SourceRole role);

// A source the report was made with the file at hand, or one whose data came out of a report
// file (a report loaded without its log files): then only the report's name and hash are
// known, and checking the source checks that report file.
struct TakenFromReport {
    std::string reportName;
    std::string reportSha256; // 64 lower-case hexadecimal digits
};

struct ManifestSource {
    std::string name; // the file's name without its folder
    SourceRole role = SourceRole::LogFile;
    std::uint64_t size = 0; // bytes; 0 when taken from a report
    std::string sha256;     // 64 lower-case hexadecimal digits; empty when taken from a report
    std::optional<TakenFromReport> takenFrom;
};

struct Manifest {
    std::vector<ManifestSource> sources; // in the order the report lists them
    std::string settingsText;            // see settingsText()
    std::string settingsSha256;
    std::string resultsSha256; // of the results text; the text itself is not kept
    std::string programVersion;
};

bool operator==(const TakenFromReport &a, const TakenFromReport &b);
bool operator==(const ManifestSource &a, const ManifestSource &b);
bool operator==(const Manifest &a, const Manifest &b);

// The file at path, as a source of that role: its name, size and hash. None when the file
// cannot be read.
std::optional<ManifestSource> describeSource(const std::string &path, SourceRole role);
// A source that was not at hand, named as taken from the report file described by report.
ManifestSource sourceTakenFromReport(std::string name, SourceRole role,
                                     const ManifestSource &report);

struct SettingValue {
    std::string name;
    std::string value;
};

// One "name=value" line per setting, each ended by LF, in the order given. A value is one line:
// it is cut before a CR or LF as the project file cuts it (IniFile::writableValue), so the text
// says what a saved project would hold.
std::string settingsText(const std::vector<SettingValue> &settings);
// The settings of such a text, in its order: a line's name is what stands before its first
// "=". Lines without "=" are skipped.
std::vector<SettingValue> readSettingsText(std::string_view text);

// The CSV texts one after the other, in the order given, exactly as written to their files.
std::string resultsText(const std::vector<std::string_view> &csvTexts);

// The manifest of these sources and texts, with their hashes.
Manifest makeManifest(std::vector<ManifestSource> sources, std::string settingsText,
                      std::string_view resultsText, std::string programVersion);

} // namespace zqar
