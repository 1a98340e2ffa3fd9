#include "pages/layout/importPreview.h"

#include "core/data/dateTime.h"
#include "core/data/enumTexts.h"
#include "core/job/Job.h"
#include "resources/format.h"
#include "resources/importTexts.h"
#include "resources/strings.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace zqar {

namespace {

constexpr int SECONDS_PER_MINUTE = 60;

constexpr TextEntry<TemperatureUnit> UNIT_NAMES[] = {
    {TemperatureUnit::Celsius, text::UNIT_CELSIUS},
    {TemperatureUnit::Fahrenheit, text::UNIT_FAHRENHEIT},
    {TemperatureUnit::Kelvin, text::UNIT_KELVIN},
};

// No order settled for the file (Found) shows the dash of a missing fact.
constexpr TextEntry<DateOrder> DATE_ORDER_NAMES[] = {
    {DateOrder::Found, text::NO_LOGGER},
    {DateOrder::DayMonthYear, text::DATE_ORDER_DMY},
    {DateOrder::MonthDayYear, text::DATE_ORDER_MDY},
    {DateOrder::YearMonthDay, text::DATE_ORDER_YMD},
};

std::string_view delimiterName(char delimiter) {
    if (delimiter == '\t')
        return text::DELIMITER_TAB;
    if (delimiter == ';')
        return text::DELIMITER_SEMICOLON;
    return text::DELIMITER_COMMA;
}

// Whole minutes as minutes, anything else as seconds.
std::string intervalText(double seconds) {
    const long long whole = std::llround(seconds);
    if (whole > 0 && whole % SECONDS_PER_MINUTE == 0 && whole / SECONDS_PER_MINUTE <= INT32_MAX)
        return text::format(text::INTERVAL_MINUTES, static_cast<int>(whole / SECONDS_PER_MINUTE));
    if (whole <= INT32_MAX && whole >= INT32_MIN)
        return text::format(text::INTERVAL_SECONDS, static_cast<int>(whole));
    return std::to_string(whole);
}

std::string notImportedText(const std::vector<std::string> &titles) {
    std::string joined;
    for (const std::string &title : titles) {
        if (!joined.empty())
            joined += text::NOT_IMPORTED_SEPARATOR;
        joined += title;
    }
    return joined;
}

std::string refusedText(const ImportRefusal &refusal) {
    std::string out(text::REFUSED_PREFIX);
    if (refusal.line > 0 && refusal.line <= INT32_MAX)
        out += text::format(text::REFUSED_LINE, static_cast<int>(refusal.line));
    return out + refusal.reason;
}

// The three settings of the choices, each read on its own: none for a text that is wrong.
struct SettingsAsRead {
    std::optional<DateOrder> dateOrder;
    std::optional<DecimalMark> decimalMark;
    std::optional<TemperatureUnit> untitledUnit;
};

SettingsAsRead readEach(const Job &job) {
    SettingsAsRead read;
    const ImportSettingsReading order =
        readImportSettings(job.setting(JobSetting::ImportDateOrder), "", "", "");
    if (order.problem == ImportSettingProblem::None)
        read.dateOrder = order.settings.dateOrder;
    const ImportSettingsReading mark =
        readImportSettings("", job.setting(JobSetting::ImportDecimal), "", "");
    if (mark.problem == ImportSettingProblem::None)
        read.decimalMark = mark.settings.decimalMark;
    const ImportSettingsReading unit =
        readImportSettings("", "", job.setting(JobSetting::ImportUnit), "");
    if (unit.problem == ImportSettingProblem::None)
        read.untitledUnit = unit.settings.untitledUnit;
    return read;
}

} // namespace

std::vector<PreviewRow> previewRows(const std::vector<ImportResult> &files) {
    std::vector<PreviewRow> rows;
    for (const ImportResult &file : files) {
        const std::string name = std::filesystem::path(file.path).filename().string();
        if (file.refused()) {
            rows.push_back(PreviewRow{{name, refusedText(*file.refusal)}, true});
            continue;
        }
        const ImportLayout &layout = file.layout;
        bool firstOfFile = true;
        for (const ImportedRecord &record : file.records) {
            const ImportedRecordFacts &facts = record.facts;
            std::string unit(textOf(UNIT_NAMES, facts.unit));
            if (!facts.unitFromTitle)
                unit += text::UNIT_NOT_IN_TITLE;
            rows.push_back(PreviewRow{
                {name, facts.serial, std::to_string(facts.channel), unit,
                 formatDateTime(facts.firstTime), formatDateTime(facts.lastTime),
                 intervalText(facts.intervalSeconds), std::to_string(facts.readings),
                 std::to_string(facts.missingReadings),
                 std::string(delimiterName(layout.delimiter)),
                 std::string(layout.decimalMark == ',' ? text::DECIMAL_COMMA : text::DECIMAL_POINT),
                 std::string(textOf(DATE_ORDER_NAMES, layout.dateOrder)),
                 firstOfFile ? notImportedText(layout.columnsNotImported) : std::string()},
                false});
            firstOfFile = false;
        }
    }
    return rows;
}

ImportChoices importChoices(const Job &job) {
    const SettingsAsRead read = readEach(job);
    ImportChoices choices;
    choices.dateOrder = read.dateOrder.value_or(choices.dateOrder);
    choices.decimalMark = read.decimalMark.value_or(choices.decimalMark);
    choices.untitledUnit = read.untitledUnit.value_or(choices.untitledUnit);
    return choices;
}

ImportSettings previewSettings(const Job &job, const ImportChoices &choices) {
    ImportSettings settings;
    settings.dateOrder = choices.dateOrder;
    settings.decimalMark = choices.decimalMark;
    settings.untitledUnit = choices.untitledUnit;
    settings.utcOffsetMinutes = readUtcOffset(job.setting(JobSetting::ImportUtcOffset));
    return settings;
}

void writeImportChoices(Job &job, const ImportChoices &choices) {
    const SettingsAsRead read = readEach(job);
    if (read.dateOrder != choices.dateOrder)
        job.setSetting(JobSetting::ImportDateOrder, settingText(choices.dateOrder));
    if (read.decimalMark != choices.decimalMark)
        job.setSetting(JobSetting::ImportDecimal, settingText(choices.decimalMark));
    if (read.untitledUnit != choices.untitledUnit)
        job.setSetting(JobSetting::ImportUnit, settingText(choices.untitledUnit));
}

} // namespace zqar
