#pragma once
// The dialog of Mark Event and Edit Event in the time-series window: the kind of event, the
// phase's name for a phase start or end, the time as the program writes dates, and a note.
// OK checks the time and the name (a message box says what is wrong, and the dialog stays);
// the window adds the event to the job or puts it in place of the one edited.

#include "core/data/events.h"
#include "window/FormDialog.h"

#include <optional>
#include <string>

class QComboBox;
class QLineEdit;

namespace zqar {

class EventDialog : public FormDialog {
    Q_OBJECT
public:
    EventDialog(platform::Host &host, const std::string &title, const Event &initial,
                QWidget *parent = nullptr);

    // The event as the controls hold it; none when the time or the phase's name is wrong,
    // with problem set to the message that says so.
    std::optional<Event> event(std::string *problem = nullptr) const;

    QComboBox *kindChoice() const { return kind; }
    QLineEdit *phaseEdit() const { return phase; }
    QLineEdit *timeEdit() const { return time; }
    QLineEdit *noteEdit() const { return note; }

private:
    std::optional<std::string> problem() const override;
    void kindChanged();

    QComboBox *kind;
    QLineEdit *phase;
    QLineEdit *time;
    QLineEdit *note;
};

} // namespace zqar
