#pragma once
// The Exclude Readings dialog of the Statistics window: one of the positions that hold a logger,
// the first and the last time of the readings to leave out (the Data Filter span to begin
// with), and the reason. OK checks them (a message box says what is wrong, and the dialog
// stays); the window then adds the exclusion to the job.

#include "pages/analysis/statisticsCommands.h"
#include "window/FormDialog.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

class QComboBox;
class QLineEdit;

namespace zqar {

class ExclusionDialog : public FormDialog {
    Q_OBJECT
public:
    ExclusionDialog(const LoggerArray &array, platform::Host &host, std::optional<double> first,
                    std::optional<double> last, QWidget *parent = nullptr);

    // What the controls hold; with no logger placed anywhere, a position without one.
    ExclusionEntry entry() const;

    QComboBox *positionChoice() const { return position; }
    QLineEdit *firstEdit() const { return first; }
    QLineEdit *lastEdit() const { return last; }
    QLineEdit *reasonEdit() const { return reason; }

private:
    std::optional<std::string> problem() const override;

    const LoggerArray &array;
    QComboBox *position;
    QLineEdit *first;
    QLineEdit *last;
    QLineEdit *reason;
    std::vector<std::pair<int, int>> places; // the row and column of each choice
};

} // namespace zqar
