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

    // Brings the table up to date with the model now.
    void synchronise();
    // Number of refreshes so far (each brings every changed cell across).
    int synchronisations() const { return refreshes; }

private:
    void scheduleSynchronise();

    ListModel listModel;
    bool stale = false;
    int refreshes = 0;
};

} // namespace zqar::platform
