#include "qt/QtListView.h"

#include "platform/EditBox.h"
#include "qt/QtText.h"

#include <QAbstractItemModel>
#include <QFocusEvent>
#include <QFont>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace zqar::platform {

namespace {

// Muted cells: a grey that still reads easily on white, clearly apart from the black values.
const QColor MUTED_TEXT_COLOUR(128, 128, 128);
// Flagged cells: dark red on a pale amber, readable and unlike anything else in the tables.
const QColor FLAGGED_TEXT_COLOUR(160, 0, 0);
const QColor FLAGGED_BACKGROUND(255, 224, 160);
// Missing cells: slate text in italics on a pale blue-grey, a gap rather than a warning.
const QColor MISSING_TEXT_COLOUR(70, 80, 110);
const QColor MISSING_BACKGROUND(218, 224, 238);

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

void setItalic(QTableWidgetItem &cell, bool italic) {
    QFont font = cell.font();
    font.setItalic(italic);
    cell.setFont(font);
}

std::optional<QtListView::HandledPress> &pressInHand() {
    static std::optional<QtListView::HandledPress> press;
    return press;
}

// The in-place editor: a line edit that goes when its owner lets go of it. It is hidden at
// once and deleted later, because it may be going in answer to a key typed into it.
class QtEditBox : public EditBox {
public:
    explicit QtEditBox(QLineEdit *edit) : edit(edit) {}
    ~QtEditBox() override {
        if (!edit)
            return;
        edit->clearFocus();
        edit->hide();
        edit->deleteLater();
    }
    std::string text() const override {
        if (!edit)
            return std::string();
        // Until the user changes it, the text is the bytes the page wrote, so a logger name
        // in another character set comes back unchanged.
        if (written && edit->text() == shown)
            return cutWritten(*written);
        return fromQString(edit->text());
    }
    void setText(std::string_view text) override {
        if (!edit)
            return;
        edit->setText(toQString(text));
        written = std::string(text);
        shown = edit->text();
    }
    void show() override {
        if (edit)
            edit->show();
    }
    void setFocus() override {
        if (edit)
            edit->setFocus(Qt::OtherFocusReason);
    }
    bool hasFocus() const override { return edit && edit->hasFocus(); }

private:
    QPointer<QLineEdit> edit;
    std::optional<std::string> written;
    QString shown;
};

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
    // A click must not scroll the table: the page measures the cell under the cursor.
    setAutoScroll(false);
    listModel.onChange = [this] { scheduleSynchronise(); };
    listModel.setWindow(this);
}

QtListView::~QtListView() {
    onNotify = nullptr;
    listModel.setWindow(nullptr);
}

std::optional<QtListView::HandledPress> QtListView::handledPress() { return pressInHand(); }

void QtListView::notify(ListNotification code) {
    if (onNotify)
        onNotify(code);
}

void QtListView::mousePressEvent(QMouseEvent *event) {
    QTableWidget::mousePressEvent(event);
    if (!acceptsInput)
        return;
    const auto code = event->button() == Qt::RightButton  ? ListNotification::RightClick
                      : event->button() == Qt::LeftButton ? ListNotification::Click
                                                          : std::optional<ListNotification>();
    if (!code)
        return;
    std::optional<HandledPress> &press = pressInHand();
    const std::optional<HandledPress> outer = press;
    press = HandledPress{event->buttons(), event->globalPosition().toPoint()};
    notify(*code);
    press = outer;
}

void QtListView::focusInEvent(QFocusEvent *event) {
    QTableWidget::focusInEvent(event);
    notify(ListNotification::SetFocus);
}

void QtListView::focusOutEvent(QFocusEvent *event) {
    QTableWidget::focusOutEvent(event);
    notify(ListNotification::KillFocus);
}

std::optional<Rect> QtListView::cellRect(int item, int subItem) const {
    // The model may be ahead of the table; measure what the user is about to see.
    if (stale)
        const_cast<QtListView *>(this)->synchronise();
    if (item < 0 || item >= rowCount() || subItem < 0 || subItem >= columnCount())
        return std::nullopt;
    const QRect cell = visualRect(QTableWidget::model()->index(item, subItem));
    if (!cell.isValid())
        return std::nullopt;
    return Rect{cell.x(), cell.y(), cell.x() + cell.width(), cell.y() + cell.height()};
}

Point QtListView::clientToScreen(Point client) const {
    const QPoint screen = viewport()->mapToGlobal(QPoint(client.x, client.y));
    return Point{screen.x(), screen.y()};
}

Point QtListView::screenToClient(Point screen) const {
    const QPoint client = viewport()->mapFromGlobal(QPoint(screen.x, screen.y));
    return Point{client.x(), client.y()};
}

Size QtListView::clientSize() const { return Size{viewport()->width(), viewport()->height()}; }

void QtListView::ensureVisible(int item, int subItem) {
    if (stale)
        synchronise();
    if (item >= 0 && item < rowCount() && subItem >= 0 && subItem < columnCount())
        scrollTo(QTableWidget::model()->index(item, subItem));
}

std::unique_ptr<EditBox> QtListView::createEditBox(int id, const Rect &rect) {
    auto *edit = new QLineEdit(viewport());
    edit->setObjectName(QString::number(id));
    edit->setFrame(false);
    edit->setGeometry(rect.left, rect.top, std::max(0, rect.width()), std::max(0, rect.height()));
    edit->hide();
    if (keyFilter)
        edit->installEventFilter(keyFilter);
    return std::make_unique<QtEditBox>(edit);
}

void QtListView::setInputEnabled(bool enabled) {
    acceptsInput = enabled;
    setSelectionMode(enabled                  ? QAbstractItemView::SingleSelection
                     : selectableWithoutInput ? QAbstractItemView::ContiguousSelection
                                              : QAbstractItemView::NoSelection);
    setFocusPolicy(enabled ? Qt::StrongFocus : Qt::NoFocus);
    if (!enabled)
        clearSelection();
}

void QtListView::setSelectableWithoutInput(bool selectable) {
    selectableWithoutInput = selectable;
    setInputEnabled(acceptsInput);
}

std::optional<QTableWidgetSelectionRange> QtListView::selectedBlock() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty())
        return std::nullopt;
    return ranges.constFirst();
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
            const bool flagged = listModel.isItemFlagged(r, c);
            const bool missing = !flagged && listModel.isItemMissing(r, c);
            const QBrush foreground = flagged                       ? QBrush(FLAGGED_TEXT_COLOUR)
                                      : missing                     ? QBrush(MISSING_TEXT_COLOUR)
                                      : listModel.isItemMuted(r, c) ? QBrush(MUTED_TEXT_COLOUR)
                                                                    : QBrush();
            const QBrush background = flagged   ? QBrush(FLAGGED_BACKGROUND)
                                      : missing ? QBrush(MISSING_BACKGROUND)
                                                : QBrush();
            QTableWidgetItem *cell = item(r, c);
            if (!cell) {
                cell = new QTableWidgetItem(text);
                cell->setTextAlignment(alignment);
                cell->setForeground(foreground);
                cell->setBackground(background);
                if (missing)
                    setItalic(*cell, true);
                setItem(r, c, cell);
                continue;
            }
            if (cell->foreground() != foreground)
                cell->setForeground(foreground);
            if (cell->background() != background)
                cell->setBackground(background);
            if (cell->font().italic() != missing)
                setItalic(*cell, missing);
            // Only cells that changed are touched, so an unchanged table repaints nothing.
            if (cell->text() != text)
                cell->setText(text);
            if (cell->textAlignment() != static_cast<int>(alignment))
                cell->setTextAlignment(alignment);
        }
    }
}

} // namespace zqar::platform
