#pragma once
// The program's help viewer: a window beside the main window that shows the help file, plain
// text or simple HTML, with Back and Forward through the links followed and a Close button.
// It stays open until the user closes it; asking for help again brings it to the front.

#include <QDialog>
#include <QRect>
#include <QSize>

class QPushButton;
class QTextBrowser;

namespace zqar::platform {

// Where the viewer goes, as a frame rectangle in screen coordinates: beside the main window's
// frame, right of it when there is room there, else left of it, else on the side with more
// room, narrowed as far as minimumWidth; when neither side has that much room, at the right
// edge of the screen's available area, over part of the main window. Its height is the
// wanted one, as far as the screen has room, and its top that of the main window, moved up
// as far as needed to keep the whole viewer on the screen.
QRect helpViewerPlace(const QRect &mainFrame, const QRect &available, const QSize &wanted,
                      int minimumWidth);

class QtHelpViewer : public QDialog {
    Q_OBJECT
public:
    explicit QtHelpViewer(QWidget *parent = nullptr);

    // Shows the file; false, with nothing changed, when it cannot be read.
    bool open(const QString &path);
    QTextBrowser *browser() const { return textBrowser; }
    QPushButton *backButton() const { return back; }
    QPushButton *forwardButton() const { return forward; }
    QPushButton *closeButton() const { return close; }

    // Moves the viewer beside the window, on the screen that shows it.
    void placeBeside(const QWidget &window);

private:
    QTextBrowser *textBrowser;
    QPushButton *back;
    QPushButton *forward;
    QPushButton *close;
};

} // namespace zqar::platform
