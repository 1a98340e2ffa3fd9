#include "window/ImportPreviewWindow.h"

#include "core/import/textImport.h"
#include "pages/layout/importCommands.h"
#include "pages/layout/importPreview.h"
#include "qt/QtIcon.h"
#include "qt/QtText.h"
#include "resources/importTexts.h"
#include "window/readOnlyTables.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zqar {

namespace {

constexpr int WINDOW_WIDTH = 1100; // pixels
constexpr int WINDOW_HEIGHT = 520;
// A refused file: dark red, as the other windows flag what needs a look.
const QColor REFUSED_TEXT(160, 0, 0);

QComboBox *makeChoice(std::initializer_list<std::string_view> names, int chosen) {
    auto *choice = new QComboBox;
    int index = 0;
    for (const std::string_view name : names)
        choice->addItem(platform::toQString(name), index++);
    choice->setCurrentIndex(chosen);
    return choice;
}

template <typename Enum> Enum chosenOf(const QComboBox *choice) {
    return static_cast<Enum>(choice->currentData().toInt());
}

} // namespace

ImportPreviewWindow::ImportPreviewWindow(const JobView &jobView, std::vector<std::string> files,
                                         Importer import, QWidget *parent)
    : QDialog(parent), view(jobView), paths(std::move(files)), importer(std::move(import)) {
    setWindowTitle(platform::toQString(text::PREVIEW_TITLE));
    setWindowIcon(platform::applicationIcon());
    // Each list in the order of its enumeration; kelvin is no choice for an untitled column.
    const ImportChoices settings = importChoices(view.job);
    dateOrder = makeChoice(
        {text::CHOICE_FOUND, text::DATE_ORDER_DMY, text::DATE_ORDER_MDY, text::DATE_ORDER_YMD},
        static_cast<int>(settings.dateOrder));
    decimal = makeChoice({text::CHOICE_FOUND, text::DECIMAL_POINT, text::DECIMAL_COMMA},
                         static_cast<int>(settings.decimalMark));
    unit = makeChoice({text::UNIT_CELSIUS, text::UNIT_FAHRENHEIT},
                      static_cast<int>(settings.untitledUnit == TemperatureUnit::Fahrenheit
                                           ? TemperatureUnit::Fahrenheit
                                           : TemperatureUnit::Celsius));

    auto *choiceRow = new QHBoxLayout;
    for (const auto &[label, choice] :
         {std::pair{text::DATE_ORDER_LABEL, dateOrder}, std::pair{text::DECIMAL_LABEL, decimal},
          std::pair{text::UNIT_LABEL, unit}}) {
        choiceRow->addWidget(new QLabel(platform::toQString(label)));
        choiceRow->addWidget(choice);
        choiceRow->addSpacing(fontMetrics().averageCharWidth() * 2);
        connect(choice, &QComboBox::currentIndexChanged, this, &ImportPreviewWindow::reread);
    }
    choiceRow->addStretch(1);

    table = readOnlyTable(qtTexts(text::PREVIEW_HEADINGS));

    auto *buttons = new QDialogButtonBox;
    importing = buttons->addButton(platform::toQString(text::PREVIEW_IMPORT_BUTTON),
                                   QDialogButtonBox::AcceptRole);
    buttons->addButton(platform::toQString(text::PREVIEW_CANCEL_BUTTON),
                       QDialogButtonBox::RejectRole);
    connect(importing, &QPushButton::clicked, this, &ImportPreviewWindow::importChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choiceRow);
    layout->addWidget(table, 1);
    layout->addWidget(buttons);
    resize(WINDOW_WIDTH, WINDOW_HEIGHT);
    reread();
}

ImportChoices ImportPreviewWindow::choices() const {
    ImportChoices chosen;
    chosen.dateOrder = chosenOf<DateOrder>(dateOrder);
    chosen.decimalMark = chosenOf<DecimalMark>(decimal);
    chosen.untitledUnit = chosenOf<TemperatureUnit>(unit);
    return chosen;
}

void ImportPreviewWindow::reread() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::vector<PreviewRow> rows =
        previewRows(importTextFiles(importPaths(paths), previewSettings(view.job, choices())));
    QApplication::restoreOverrideCursor();

    table->clearSpans();
    table->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r);
        for (int column = 0; column < table->columnCount(); ++column) {
            const std::size_t c = static_cast<std::size_t>(column);
            auto *item = new QTableWidgetItem(
                c < rows[r].cells.size() ? platform::toQString(rows[r].cells[c]) : QString());
            if (rows[r].refused)
                item->setForeground(REFUSED_TEXT);
            table->setItem(row, column, item);
        }
        if (rows[r].refused && table->columnCount() > 2)
            table->setSpan(row, 1, 1, table->columnCount() - 1);
    }
}

void ImportPreviewWindow::importChosen() {
    writeImportChoices(view.job, choices());
    // The choices are changes of the user's, logged before the import counts from its result.
    if (view.recordChanges)
        view.recordChanges();
    importer(paths);
    accept();
}

} // namespace zqar
