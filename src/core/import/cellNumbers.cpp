#include "core/import/cellNumbers.h"

namespace zqar {

CellNumber readCellNumber(std::string_view cell, std::string &scratch) {
    CellNumber result;
    std::size_t i = 0;
    if (i < cell.size() && (cell[i] == '+' || cell[i] == '-'))
        ++i;
    std::size_t digits = 0;
    std::size_t markAt = std::string_view::npos;
    for (; i < cell.size(); ++i) {
        const char c = cell[i];
        if (isDigit(c)) {
            ++digits;
        } else if ((c == '.' || c == ',') && markAt == std::string_view::npos) {
            markAt = i;
        } else {
            return result;
        }
    }
    if (digits == 0)
        return result;
    result.isNumber = true;
    result.few = digits <= static_cast<std::size_t>(SHORT_NUMBER_DIGITS);
    if (markAt != std::string_view::npos && cell[markAt] == ',') {
        scratch.assign(cell);
        scratch[markAt] = '.';
        result.value = readDecimal(scratch);
        result.mark = ',';
    } else {
        result.value = readDecimal(cell);
        result.mark = markAt == std::string_view::npos ? 0 : '.';
    }
    return result;
}

} // namespace zqar
