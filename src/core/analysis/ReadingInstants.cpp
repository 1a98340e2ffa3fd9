#include "core/analysis/ReadingInstants.h"

#include "core/data/LogFile.h"

#include <algorithm>

namespace zqar {

void ReadingInstants::add(double time, const std::vector<double> &row) {
    times.push_back(time);
    const std::size_t given = std::min(row.size(), positionCount);
    values.insert(values.end(), row.begin(), row.begin() + static_cast<std::ptrdiff_t>(given));
    values.insert(values.end(), positionCount - given, NO_VALUE);
}

} // namespace zqar
