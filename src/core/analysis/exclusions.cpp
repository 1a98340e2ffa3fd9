#include "core/analysis/exclusions.h"

#include "core/analysis/arrayPositions.h"
#include "core/analysis/placedPositions.h"
#include "core/analysis/statistics.h"
#include "core/data/dateTime.h"
#include "resources/analysisTexts.h"
#include "resources/format.h"
#include "resources/strings.h"

namespace zqar {

namespace {

constexpr char FIELD_SEPARATOR = ',';

} // namespace

std::optional<Exclusion> readExclusion(std::string_view text) {
    std::size_t commas[3];
    std::size_t from = 0;
    for (std::size_t &comma : commas) {
        comma = text.find(FIELD_SEPARATOR, from);
        if (comma == std::string_view::npos)
            return std::nullopt;
        from = comma + 1;
    }
    const std::optional<ArrayPosition> position = readArrayPosition(text.substr(0, commas[0]));
    const std::optional<double> first =
        parseDateTime(text.substr(commas[0] + 1, commas[1] - commas[0] - 1));
    const std::optional<double> last =
        parseDateTime(text.substr(commas[1] + 1, commas[2] - commas[1] - 1));
    if (!position || !first || !last || *last < *first)
        return std::nullopt;
    return Exclusion{position->row, position->col, *first, *last,
                     std::string(text.substr(commas[2] + 1))};
}

std::string exclusionSpec(const Exclusion &exclusion) {
    return arrayPositionName(ArrayPosition{exclusion.row, exclusion.col}) + FIELD_SEPARATOR +
           formatDateTimeToTheSecond(exclusion.first) + FIELD_SEPARATOR +
           formatDateTimeToTheSecond(exclusion.last) + FIELD_SEPARATOR + exclusion.reason;
}

void applyExclusions(LoggerArray &array, const std::vector<Exclusion> &exclusions) {
    for (const Exclusion &exclusion : exclusions) {
        LogFile *record = array.at(exclusion.row, exclusion.col);
        if (!record)
            continue;
        const SampleSelection selection = samplesInSpan(*record, exclusion.first, exclusion.last);
        for (int32_t k = 0; k < selection.count; ++k)
            record->values[static_cast<std::size_t>(selection.index(k))] = NO_VALUE;
    }
}

LoggerArray withExclusions(const LoggerArray &array, const std::vector<Exclusion> &exclusions) {
    LoggerArray copy = copyArray(array);
    applyExclusions(copy, exclusions);
    return copy;
}

int32_t excludedReadings(const LoggerArray &array, const Exclusion &exclusion) {
    const LogFile *record = array.at(exclusion.row, exclusion.col);
    if (!record)
        return 0;
    const SampleSelection selection = samplesInSpan(*record, exclusion.first, exclusion.last);
    int32_t readings = 0;
    for (int32_t k = 0; k < selection.count; ++k)
        if (record->values[static_cast<std::size_t>(selection.index(k))] != NO_VALUE)
            ++readings;
    return readings;
}

namespace {

// "R1C2 (10231)", or the position with "-" when it holds no logger now.
std::string positionWithLogger(const LoggerArray &array, const Exclusion &exclusion) {
    const LogFile *record = array.at(exclusion.row, exclusion.col);
    return positionName(exclusion.row, exclusion.col) + " (" +
           (record ? record->label() : std::string(text::NO_LOGGER)) + ")";
}

} // namespace

std::string exclusionText(const LoggerArray &array, const Exclusion &exclusion) {
    return text::formatAll(text::EXCLUSION_LINE,
                           {positionWithLogger(array, exclusion), formatDateTime(exclusion.first),
                            formatDateTime(exclusion.last), exclusion.reason});
}

std::vector<std::string> exclusionRow(const LoggerArray &array, const Exclusion &exclusion) {
    return {positionWithLogger(array, exclusion), formatDateTime(exclusion.first),
            formatDateTime(exclusion.last), std::to_string(excludedReadings(array, exclusion)),
            exclusion.reason};
}

} // namespace zqar
