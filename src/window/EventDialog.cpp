#include "window/EventDialog.h"

#include "core/data/dateTime.h"
#include "core/data/trimmed.h"
#include "platform/Host.h"
#include "qt/QtText.h"
#include "resources/qualificationTexts.h"

#include <QComboBox>
#include <QLineEdit>

#include <iterator>

namespace zqar {

namespace {

// The choices in the order of EVENT_KIND_CHOICES.
constexpr EventKind KINDS[] = {EventKind::DoorOpen, EventKind::DoorClosed, EventKind::PowerOff,
                               EventKind::PowerOn,  EventKind::PhaseStart, EventKind::PhaseEnd};
static_assert(std::size(KINDS) == std::size(text::EVENT_KIND_CHOICES));

constexpr int MINIMUM_WIDTH = 380; // pixels

int choiceOf(EventKind wanted) {
    for (std::size_t i = 0; i < std::size(KINDS); ++i)
        if (KINDS[i] == wanted)
            return static_cast<int>(i);
    return 0;
}

} // namespace

EventDialog::EventDialog(platform::Host &platformHost, const std::string &title,
                         const Event &initial, QWidget *parent)
    : FormDialog(platformHost, title, text::EVENTS_CAPTION, MINIMUM_WIDTH, parent),
      kind(new QComboBox), phase(new QLineEdit), time(new QLineEdit), note(new QLineEdit) {
    for (const std::string_view choice : text::EVENT_KIND_CHOICES)
        kind->addItem(platform::toQString(choice));
    kind->setCurrentIndex(choiceOf(initial.kind));
    phase->setText(platform::toQString(initial.phase));
    time->setText(platform::toQString(eventTimeText(initial.time)));
    note->setText(platform::toQString(initial.note));

    addFields({{text::EVENT_KIND_LABEL, kind},
               {text::EVENT_PHASE_LABEL, phase},
               {text::EVENT_TIME_LABEL, time},
               {text::EVENT_NOTE_LABEL, note}});
    connect(kind, &QComboBox::currentIndexChanged, this, &EventDialog::kindChanged);
    kindChanged();
}

void EventDialog::kindChanged() {
    phase->setEnabled(
        isPhaseKind(KINDS[static_cast<std::size_t>(std::max(kind->currentIndex(), 0))]));
}

std::optional<Event> EventDialog::event(std::string *problem) const {
    Event made;
    made.kind = KINDS[static_cast<std::size_t>(std::max(kind->currentIndex(), 0))];
    const std::optional<double> at = parseDateTime(platform::fromQString(time->text()));
    if (!at) {
        if (problem)
            *problem = std::string(text::EVENT_TIME_FORMAT_MESSAGE);
        return std::nullopt;
    }
    made.time = *at;
    if (isPhaseKind(made.kind)) {
        made.phase = std::string(trimmed(platform::fromQString(phase->text())));
        if (made.phase.empty()) {
            if (problem)
                *problem = std::string(text::PHASE_NAME_MISSING_MESSAGE);
            return std::nullopt;
        }
    }
    made.note = platform::fromQString(note->text());
    return made;
}

std::optional<std::string> EventDialog::problem() const {
    std::string wrong;
    if (!event(&wrong))
        return wrong;
    return std::nullopt;
}

} // namespace zqar
