#include "core/integrity/Manifest.h"

#include "core/data/IniFile.h"
#include "core/integrity/sha256.h"
#include "resources/integrityTexts.h"

#include <filesystem>

namespace zqar {

namespace {

// The stored names, in the order of SourceRole.
constexpr std::string_view ROLE_KEYS[] = {"logFile", "import", "report", "calibration", "events"};
static_assert(std::size(ROLE_KEYS) == std::size(text::SOURCE_ROLE_LABELS));

std::size_t roleIndex(SourceRole role) { return static_cast<std::size_t>(role); }

} // namespace

std::string_view roleKey(SourceRole role) { return ROLE_KEYS[roleIndex(role)]; }

std::optional<SourceRole> roleFromKey(std::string_view key) {
    for (std::size_t i = 0; i < std::size(ROLE_KEYS); ++i)
        if (ROLE_KEYS[i] == key)
            return static_cast<SourceRole>(i);
    return std::nullopt;
}

std::string_view roleLabel(SourceRole role) { return text::SOURCE_ROLE_LABELS[roleIndex(role)]; }

bool operator==(const TakenFromReport &a, const TakenFromReport &b) {
    return a.reportName == b.reportName && a.reportSha256 == b.reportSha256;
}

bool operator==(const ManifestSource &a, const ManifestSource &b) {
    return a.name == b.name && a.role == b.role && a.size == b.size && a.sha256 == b.sha256 &&
           a.takenFrom == b.takenFrom;
}

bool operator==(const Manifest &a, const Manifest &b) {
    return a.sources == b.sources && a.settingsText == b.settingsText &&
           a.settingsSha256 == b.settingsSha256 && a.resultsSha256 == b.resultsSha256 &&
           a.programVersion == b.programVersion;
}

std::optional<ManifestSource> describeSource(const std::string &path, SourceRole role) {
    const auto digest = sha256File(path);
    if (!digest)
        return std::nullopt;
    ManifestSource source;
    source.name = std::filesystem::path(path).filename().string();
    source.role = role;
    source.size = digest->size;
    source.sha256 = digest->sha256;
    return source;
}

ManifestSource sourceTakenFromReport(std::string name, SourceRole role,
                                     const ManifestSource &report) {
    ManifestSource source;
    source.name = std::move(name);
    source.role = role;
    source.takenFrom = TakenFromReport{report.name, report.sha256};
    return source;
}

std::string settingsText(const std::vector<SettingValue> &settings) {
    std::string text;
    for (const SettingValue &setting : settings)
        text.append(setting.name)
            .append("=")
            .append(IniFile::writableValue(setting.value))
            .append("\n");
    return text;
}

std::vector<SettingValue> readSettingsText(std::string_view text) {
    std::vector<SettingValue> settings;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos)
            settings.push_back(SettingValue{std::string(line.substr(0, equals)),
                                            std::string(line.substr(equals + 1))});
    }
    return settings;
}

std::string resultsText(const std::vector<std::string_view> &csvTexts) {
    std::string text;
    for (const std::string_view csv : csvTexts)
        text.append(csv);
    return text;
}

Manifest makeManifest(std::vector<ManifestSource> sources, std::string settingsText,
                      std::string_view resultsText, std::string programVersion) {
    Manifest manifest;
    manifest.sources = std::move(sources);
    manifest.settingsSha256 = sha256Hex(settingsText);
    manifest.settingsText = std::move(settingsText);
    manifest.resultsSha256 = sha256Hex(resultsText);
    manifest.programVersion = std::move(programVersion);
    return manifest;
}

} // namespace zqar
