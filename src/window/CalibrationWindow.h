#pragma once
// The Calibration window: the certificate points of the job's calibration table, loaded from
// and saved to a CSV file, and the status of every placed logger's certificate over the Data
// Filter span. A window of its own beside the main window, made once by the shell and shown
// again from the menu. It follows the job: a new table, new records or a new layout show at
// once, and the span is read again whenever the window comes to the front.

#include "pages/JobView.h"
#include "platform/CommandOutcome.h"

#include <QWidget>

#include <string>

class QLabel;
class QPushButton;
class QTableWidget;

namespace zqar {

class CalibrationWindow : public QWidget {
    Q_OBJECT
public:
    explicit CalibrationWindow(const JobView &view, QWidget *parent = nullptr);
    ~CalibrationWindow() override;

    // The buttons' commands, after their file dialogs.
    CommandOutcome load();
    CommandOutcome save();
    void clear();
    // Shows the table and the status as the job and the span hold them now.
    void refresh();

    QTableWidget *pointsTable() const { return points; }
    QTableWidget *statusTable() const { return status; }
    QLabel *fileLabel() const { return file; }

protected:
    void changeEvent(QEvent *event) override;

private:
    JobView view;
    int listening = 0;
    QLabel *file;
    QLabel *statusLabel;
    QTableWidget *points;
    QTableWidget *status;
    QPushButton *saveButton;
    QPushButton *clearButton;
};

} // namespace zqar
