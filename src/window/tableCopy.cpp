#include "window/tableCopy.h"

#include "pages/presentation/cellText.h"

#include <QAbstractItemModel>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTableView>

#include <set>
#include <vector>

namespace zqar {

namespace {

std::string cellText(const QAbstractItemModel &model, int row, int column) {
    return model.data(model.index(row, column), Qt::DisplayRole).toString().toStdString();
}

// Takes the Copy key before the view's own handling, which copies the current cell alone.
class CopyKey : public QObject {
public:
    explicit CopyKey(QTableView &view) : QObject(&view), view(view) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched != &view || event->type() != QEvent::KeyPress ||
            !static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy))
            return false;
        QGuiApplication::clipboard()->setText(QString::fromStdString(tableViewText(view)));
        return true;
    }

private:
    QTableView &view;
};

} // namespace

std::string tableViewText(const QTableView &view) {
    const QAbstractItemModel *model = view.model();
    if (!model)
        return std::string();
    const QHeaderView &header = *view.horizontalHeader();
    // Visual positions, so the text follows the columns as they are arranged on the screen.
    std::set<int> rows;
    std::set<int> positions;
    const QItemSelectionModel *selection = view.selectionModel();
    const QModelIndexList selected = selection ? selection->selectedIndexes() : QModelIndexList();
    for (const QModelIndex &index : selected) {
        if (view.isColumnHidden(index.column()))
            continue;
        rows.insert(index.row());
        positions.insert(header.visualIndex(index.column()));
    }
    if (rows.empty()) {
        for (int row = 0; row < model->rowCount(); ++row)
            rows.insert(row);
        for (int column = 0; column < model->columnCount(); ++column)
            if (!view.isColumnHidden(column))
                positions.insert(header.visualIndex(column));
    }
    std::vector<int> columns;
    for (const int position : positions)
        columns.push_back(header.logicalIndex(position));

    TextRows lines;
    std::vector<std::string> headings;
    for (const int column : columns)
        headings.push_back(
            model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().toStdString());
    lines.push_back(std::move(headings));
    for (const int row : rows) {
        std::vector<std::string> cells;
        for (const int column : columns)
            cells.push_back(selected.isEmpty() ||
                                    (selection && selection->isSelected(model->index(row, column)))
                                ? cellText(*model, row, column)
                                : std::string());
        lines.push_back(std::move(cells));
    }
    return tabSeparatedText(lines);
}

void copyTableOnKey(QTableView &view) { view.installEventFilter(new CopyKey(view)); }

} // namespace zqar
