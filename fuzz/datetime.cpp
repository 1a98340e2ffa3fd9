// The date-time reader and writer. The input is read as a typed date-time text; its first
// eight bytes are also read as a day number. What formatDateTime shows must parse again to
// the same value rounded as it is shown (to the second, then without the seconds).

#include "core/data/dateTime.h"
#include "fuzzCheck.h"

#include <cmath>

using namespace zqar;

namespace {

void checkShownDateTime(double dayNumber) {
    const std::string shown = formatDateTime(dayNumber);
    if (!std::isfinite(dayNumber) || std::fabs(dayNumber) > 1e9)
        return; // shown as day 0, and no promise made
    CivilTime civil = civilFromDayNumber(dayNumber);
    if (civil.year < 0 || civil.year > 9999)
        return;
    FUZZ_CHECK(isValidCivil(civil));
    civil.second = 0;
    const std::optional<double> parsed = parseDateTime(shown);
    FUZZ_CHECK(parsed.has_value());
    FUZZ_CHECK(*parsed == dayNumberFromCivil(civil));
    FUZZ_CHECK(formatDateTime(*parsed) == shown);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    const std::string_view text = fuzz::bytesOf(data, size);
    if (const std::optional<double> parsed = parseDateTime(text)) {
        FUZZ_CHECK(std::isfinite(*parsed));
        const CivilTime civil = civilFromDayNumber(*parsed);
        FUZZ_CHECK(isValidCivil(civil));
        // A typed time keeps its seconds: shown and read back, it loses only them.
        FUZZ_CHECK(dayNumberFromCivil(civil) == *parsed);
        checkShownDateTime(*parsed);
    }
    fuzz::InputReader input(text);
    checkShownDateTime(input.number());
    return 0;
}
