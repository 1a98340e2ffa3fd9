#pragma once
// The signature block of the report's title page: a row each for preparing, reviewing and
// approving, with the printed name, the date and time and the meaning. A name given in the
// settings is printed; a row without one is left as lines to sign by hand. The program signs
// nothing itself.

#include "resources/integrityTexts.h"

#include <array>
#include <string>
#include <string_view>

namespace zqar {

// The texts of the settings preparedByText, reviewedByText and approvedByText, as given.
struct SignatureSettings {
    std::string preparedByText;
    std::string reviewedByText;
    std::string approvedByText;
};

struct SignatureRow {
    std::string_view role;    // "Prepared by", ...
    std::string_view meaning; // what signing this row means
    std::string text;         // from the settings; empty: a line to sign
};

inline std::array<SignatureRow, 3> signatureRows(const SignatureSettings &settings) {
    const std::string *texts[] = {&settings.preparedByText, &settings.reviewedByText,
                                  &settings.approvedByText};
    std::array<SignatureRow, 3> rows;
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = SignatureRow{text::SIGNATURE_ROLES[i], text::SIGNATURE_MEANINGS[i], *texts[i]};
    return rows;
}

} // namespace zqar
