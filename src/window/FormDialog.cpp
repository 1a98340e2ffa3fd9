#include "window/FormDialog.h"

#include "platform/Host.h"
#include "qt/QtText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace zqar {

FormDialog::FormDialog(platform::Host &platformHost, std::string_view title,
                       std::string_view messageCaption, int minimumWidth, QWidget *parent)
    : QDialog(parent), host(platformHost), caption(messageCaption) {
    setWindowTitle(platform::toQString(title));
    setMinimumWidth(minimumWidth);
}

void FormDialog::addFields(std::initializer_list<std::pair<std::string_view, QWidget *>> fields) {
    auto *form = new QFormLayout;
    for (const auto &[label, field] : fields)
        form->addRow(platform::toQString(label), field);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &FormDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FormDialog::reject);
}

void FormDialog::accept() {
    if (const std::optional<std::string> wrong = problem()) {
        host.messageBox(*wrong, caption);
        return;
    }
    QDialog::accept();
}

} // namespace zqar
