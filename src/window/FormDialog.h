#pragma once
// A dialog of labelled fields over OK and Cancel. OK closes it only when the fields read: while
// problem() names something wrong, a message box from the host says what, and the dialog
// stays for the user to mend it. The window that opens the dialog owns it.

#include <QDialog>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace zqar {

namespace platform {
class Host;
}

class FormDialog : public QDialog {
    Q_OBJECT
public:
    void accept() override;

protected:
    FormDialog(platform::Host &host, std::string_view title, std::string_view caption,
               int minimumWidth, QWidget *parent);

    // Lays out the fields under their labels, the buttons below them.
    void addFields(std::initializer_list<std::pair<std::string_view, QWidget *>> fields);

    // The message that says what is wrong with the fields; none when they read.
    virtual std::optional<std::string> problem() const = 0;

    platform::Host &host;

private:
    std::string caption; // of the message box
};

} // namespace zqar
