#include "platform/qt/QtListView.h"

#include "platform/qt/QtText.h"

#include <QHeaderView>
#include <QTimer>

namespace zqar::platform {

namespace {

// Muted cells: a grey that still reads easily on white, clearly apart from the black values.
const QColor MUTED_TEXT_COLOUR(128, 128, 128);

Qt::Alignment alignmentOf(Align align) {
    switch (align) {
    case Align::Centre:
        return Qt::AlignCenter;
    case Align::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

QtListView::QtListView(QWidget *parent) : QTableWidget(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    // Rows as high as the model's cell rectangles say, so a cell the page measures is the
    // cell the user sees.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(ListModel::ROW_HEIGHT);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setShowGrid(false);
    listModel.onChange = [this] { scheduleSynchronise(); };
}

void QtListView::setInputEnabled(bool enabled) {
    acceptsInput = enabled;
    setSelectionMode(enabled ? QAbstractItemView::SingleSelection : QAbstractItemView::NoSelection);
    setFocusPolicy(enabled ? Qt::StrongFocus : Qt::NoFocus);
    if (!enabled)
        clearSelection();
}

void QtListView::scheduleSynchronise() {
    if (stale)
        return;
    stale = true;
    QTimer::singleShot(0, this, [this] {
        if (stale)
            synchronise();
    });
}

void QtListView::synchronise() {
    stale = false;
    ++refreshes;
    const int rows = listModel.itemCount();
    const int columns = listModel.columnCount();
    if (rowCount() != rows)
        setRowCount(rows);
    if (columnCount() != columns)
        setColumnCount(columns);
    for (int c = 0; c < columns; ++c) {
        const ListColumn *column = listModel.column(c);
        if (columnWidth(c) != column->width)
            setColumnWidth(c, column->width);
        const Qt::Alignment alignment = alignmentOf(column->align);
        for (int r = 0; r < rows; ++r) {
            const QString text = toQString(listModel.itemText(r, c));
            const QBrush foreground =
                listModel.isItemMuted(r, c) ? QBrush(MUTED_TEXT_COLOUR) : QBrush();
            QTableWidgetItem *cell = item(r, c);
            if (!cell) {
                cell = new QTableWidgetItem(text);
                cell->setTextAlignment(alignment);
                cell->setForeground(foreground);
                setItem(r, c, cell);
                continue;
            }
            if (cell->foreground() != foreground)
                cell->setForeground(foreground);
            // Only cells that changed are touched, so an unchanged table repaints nothing.
            if (cell->text() != text)
                cell->setText(text);
            if (cell->textAlignment() != static_cast<int>(alignment))
                cell->setTextAlignment(alignment);
        }
    }
}

} // namespace zqar::platform
