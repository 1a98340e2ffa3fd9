#include "window/readOnlyTables.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>

namespace zqar {

QTableView *readOnlyTable(QStandardItemModel *model) {
    auto *table = new QTableView;
    table->setModel(model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

QTableWidget *readOnlyTable(const QStringList &headings) {
    auto *table = new QTableWidget;
    table->setColumnCount(static_cast<int>(headings.size()));
    table->setHorizontalHeaderLabels(headings);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() +
                                                   TABLE_ROW_PADDING);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

} // namespace zqar
