#pragma once
// A report-style list on the screen: a headerless table that shows the ListModel it owns.
// The pages write into the model; every change marks the view stale, and the view catches
// up once per pass of the event loop, so a page that writes a thousand cells in one command
// pays for one refresh instead of a thousand.

#include "platform/ListView.h"

#include <QTableWidget>

namespace zqar::platform {

class QtListView : public QTableWidget {
    Q_OBJECT
public:
    explicit QtListView(QWidget *parent = nullptr);

    ListModel &model() { return listModel; }
    const ListModel &model() const { return listModel; }

    // A list without input still scrolls, so a matrix larger than the page can be read; it
    // takes no focus and no selection. The matrix lists are made this way.
    void setInputEnabled(bool enabled);
    bool inputEnabled() const { return acceptsInput; }

    // Brings the table up to date with the model now.
    void synchronise();
    // Number of refreshes so far (each brings every changed cell across).
    int synchronisations() const { return refreshes; }

private:
    void scheduleSynchronise();

    ListModel listModel;
    bool stale = false;
    bool acceptsInput = true;
    int refreshes = 0;
};

} // namespace zqar::platform
