#include "window/ExclusionDialog.h"

#include "core/analysis/placedPositions.h"
#include "core/data/dateTime.h"
#include "platform/Host.h"
#include "qt/QtText.h"
#include "resources/analysisTexts.h"
#include "resources/strings.h"

#include <QComboBox>
#include <QLineEdit>

namespace zqar {

namespace {

constexpr int MINIMUM_WIDTH = 420; // pixels: room for a time and a reason

} // namespace

ExclusionDialog::ExclusionDialog(const LoggerArray &loggerArray, platform::Host &platformHost,
                                 std::optional<double> firstTime, std::optional<double> lastTime,
                                 QWidget *parent)
    : FormDialog(platformHost, text::EXCLUDE_TITLE, text::STATISTICS_CAPTION, MINIMUM_WIDTH,
                 parent),
      array(loggerArray), position(new QComboBox), first(new QLineEdit), last(new QLineEdit),
      reason(new QLineEdit) {
    for (const PlacedPosition &placed : placedPositions(array))
        if (placed.record) {
            position->addItem(
                platform::toQString(placed.position + " (" + placed.record->label() + ")"));
            places.emplace_back(placed.row, placed.col);
        }
    if (firstTime)
        first->setText(platform::toQString(formatDateTime(*firstTime)));
    if (lastTime)
        last->setText(platform::toQString(formatDateTime(*lastTime)));

    addFields({{text::EXCLUDE_POSITION_LABEL, position},
               {text::EXCLUDE_FIRST_LABEL, first},
               {text::EXCLUDE_LAST_LABEL, last},
               {text::EXCLUDE_REASON_LABEL, reason}});
}

ExclusionEntry ExclusionDialog::entry() const {
    ExclusionEntry made;
    const int chosen = position->currentIndex();
    if (chosen >= 0) {
        made.row = places[static_cast<std::size_t>(chosen)].first;
        made.col = places[static_cast<std::size_t>(chosen)].second;
    } else {
        // Outside every layout: readExclusionEntry finds no logger there.
        made.row = made.col = -1;
    }
    made.first = platform::fromQString(first->text());
    made.last = platform::fromQString(last->text());
    made.reason = platform::fromQString(reason->text());
    return made;
}

std::optional<std::string> ExclusionDialog::problem() const {
    const ExclusionReading reading = readExclusionEntry(array, entry());
    if (!reading.exclusion)
        return std::string(reading.problem);
    return std::nullopt;
}

} // namespace zqar
