#pragma once
// The File Selection page in a window of its own, opened from the main window's menu and not
// modal: the data folder, the layout, the serial-number tables, Load Files and the project
// file, while the tabs stay usable. The page is the one the main window made at start-up;
// this window only takes it in.

#include <QWidget>

namespace zqar {

namespace platform {
class QtDialog;
}

class DataFilesWindow : public QWidget {
    Q_OBJECT
public:
    // Takes the page's window in as its only child, at the size of the page's template.
    DataFilesWindow(platform::QtDialog &page, QWidget *owner);

    platform::QtDialog &page() const { return pageWindow; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    platform::QtDialog &pageWindow;
};

} // namespace zqar
