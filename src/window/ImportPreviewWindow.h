#pragma once
// The preview of Import Files: what each file chosen holds, one row per file and channel (or
// the reason a file is refused), with the three choices that apply to all the files: the date
// order, the decimal mark and the unit of columns whose title names none. A change of a choice
// reads the files again. Import writes the choices into the job's import settings and runs
// the import; Cancel leaves everything as it was. The shell runs it modally.

#include "pages/JobView.h"
#include "pages/layout/importPreview.h"
#include "platform/CommandOutcome.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QPushButton;
class QTableWidget;

namespace zqar {

class ImportPreviewWindow : public QDialog {
    Q_OBJECT
public:
    using Importer = std::function<CommandOutcome(const std::vector<std::string> &paths)>;

    ImportPreviewWindow(const JobView &view, std::vector<std::string> paths, Importer importer,
                        QWidget *parent = nullptr);

    // Reads the files with the choices as they stand and shows what they hold.
    void reread();
    // Import: the choices into the job, then the import of every file; the window closes.
    void importChosen();

    QTableWidget *previewTable() const { return table; }
    QComboBox *dateOrderChoice() const { return dateOrder; }
    QComboBox *decimalChoice() const { return decimal; }
    QComboBox *unitChoice() const { return unit; }
    QPushButton *importButton() const { return importing; }

private:
    ImportChoices choices() const;

    JobView view;
    std::vector<std::string> paths;
    Importer importer;
    QComboBox *dateOrder;
    QComboBox *decimal;
    QComboBox *unit;
    QTableWidget *table;
    QPushButton *importing;
};

} // namespace zqar
