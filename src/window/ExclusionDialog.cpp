#include "window/ExclusionDialog.h"

#include "core/analysis/placedPositions.h"
#include "core/data/dateTime.h"
#include "platform/Host.h"
#include "qt/QtText.h"
#include "resources/analysisTexts.h"
#include "resources/strings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zqar {

namespace {

constexpr int MINIMUM_WIDTH = 420; // pixels: room for a time and a reason

} // namespace

ExclusionDialog::ExclusionDialog(const LoggerArray &loggerArray, platform::Host &platformHost,
                                 std::optional<double> firstTime, std::optional<double> lastTime,
                                 QWidget *parent)
    : QDialog(parent), array(loggerArray), host(platformHost), position(new QComboBox),
      first(new QLineEdit), last(new QLineEdit), reason(new QLineEdit) {
    setWindowTitle(platform::toQString(text::EXCLUDE_TITLE));
    setMinimumWidth(MINIMUM_WIDTH);
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

    auto *form = new QFormLayout;
    form->addRow(platform::toQString(text::EXCLUDE_POSITION_LABEL), position);
    form->addRow(platform::toQString(text::EXCLUDE_FIRST_LABEL), first);
    form->addRow(platform::toQString(text::EXCLUDE_LAST_LABEL), last);
    form->addRow(platform::toQString(text::EXCLUDE_REASON_LABEL), reason);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ExclusionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ExclusionDialog::reject);
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

void ExclusionDialog::accept() {
    const ExclusionReading reading = readExclusionEntry(array, entry());
    if (!reading.exclusion) {
        host.messageBox(std::string(reading.problem), std::string(text::STATISTICS_CAPTION));
        return;
    }
    QDialog::accept();
}

} // namespace zqar
