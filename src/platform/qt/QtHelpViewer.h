#pragma once
// The program's help viewer: a window beside the main window that shows the help file, plain
// text or simple HTML. It stays open until the user closes it; asking for help again brings
// it to the front.

#include <QDialog>

class QTextBrowser;

namespace zqar::platform {

class QtHelpViewer : public QDialog {
    Q_OBJECT
public:
    explicit QtHelpViewer(QWidget *parent = nullptr);

    // Shows the file; false, with nothing changed, when it cannot be read.
    bool open(const QString &path);
    QTextBrowser *browser() const { return textBrowser; }

private:
    QTextBrowser *textBrowser;
};

} // namespace zqar::platform
