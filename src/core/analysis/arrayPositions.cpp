#include "core/analysis/arrayPositions.h"

#include "core/analysis/TemperatureSet.h"
#include "core/data/caseless.h"
#include "core/data/numbers.h"
#include "core/data/trimmed.h"
#include "resources/format.h"
#include "resources/strings.h"

namespace zqar {

namespace {

// A number from 1 after the letter at text[at]; at moves past its digits. A long run of digits
// saturates, which no layout holds.
std::optional<int> numberAfterLetter(std::string_view text, std::size_t &at, char letter) {
    if (at >= text.size() || asciiLower(text[at]) != letter)
        return std::nullopt;
    const std::size_t first = ++at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    if (at == first)
        return std::nullopt;
    const int32_t number = readInteger(text.substr(first, at - first));
    if (number < 1)
        return std::nullopt;
    return number;
}

} // namespace

std::optional<ArrayPosition> readArrayPosition(std::string_view text) {
    text = trimmed(text);
    std::size_t at = 0;
    if (const auto slot = numberAfterLetter(text, at, 's')) {
        if (at != text.size())
            return std::nullopt;
        return ArrayPosition{SINGULAR_ROW, *slot - 1};
    }
    at = 0;
    const auto row = numberAfterLetter(text, at, 'r');
    if (!row)
        return std::nullopt;
    const auto col = numberAfterLetter(text, at, 'c');
    if (!col || at != text.size())
        return std::nullopt;
    return ArrayPosition{*row - 1, *col - 1};
}

std::string arrayPositionName(ArrayPosition position) {
    return positionName(position.row, position.col);
}

bool isInArray(const ArrayDimensions &dimensions, ArrayPosition position) {
    if (position.row == SINGULAR_ROW)
        return position.col >= 0 && position.col < dimensions.singularCount;
    return position.row >= 0 && position.row < dimensions.rows && position.col >= 0 &&
           position.col < dimensions.columns;
}

std::vector<ArrayPosition> arrayPositions(const ArrayDimensions &dimensions) {
    std::vector<ArrayPosition> positions;
    positions.reserve(static_cast<std::size_t>(dimensions.rows) * dimensions.columns +
                      dimensions.singularCount);
    for (int row = 0; row < dimensions.rows; ++row)
        for (int col = 0; col < dimensions.columns; ++col)
            positions.push_back({row, col});
    for (int slot = 0; slot < dimensions.singularCount; ++slot)
        positions.push_back({SINGULAR_ROW, slot});
    return positions;
}

const LogFile *recordAt(const LoggerArray &array, ArrayPosition position) {
    if (!isInArray(array.dimensions(), position))
        return nullptr;
    return array.at(position.row == SINGULAR_ROW ? -1 : position.row, position.col);
}

} // namespace zqar
