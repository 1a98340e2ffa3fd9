#pragma once
// The read-only tables of the windows beside the main window: nothing can be edited in place,
// no row numbers show, and the columns are as wide as their texts.

#include "qt/QtText.h"

#include <QStringList>

#include <initializer_list>
#include <string_view>

class QStandardItemModel;
class QTableView;
class QTableWidget;

namespace zqar {

constexpr int TABLE_ROW_PADDING = 6; // pixels a table row adds to the height of its text

// Texts of the program as a list of Qt texts, for a table's headings.
template <typename Texts> QStringList qtTexts(const Texts &texts) {
    QStringList list;
    for (const auto &text : texts)
        list.append(platform::toQString(text));
    return list;
}

inline QStringList qtTexts(std::initializer_list<std::string_view> texts) {
    return qtTexts<std::initializer_list<std::string_view>>(texts);
}

// A view of a model.
QTableView *readOnlyTable(QStandardItemModel *model);

// A table of its own texts under the headings: a click selects a whole row, and the rows are as
// high as their text, so a whole array fits in view.
QTableWidget *readOnlyTable(const QStringList &headings);

} // namespace zqar
