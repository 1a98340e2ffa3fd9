#include "platform/qt/QtHelpViewer.h"

#include "platform/qt/QtIcon.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace zqar::platform {

namespace {
constexpr int VIEWER_WIDTH = 640; // pixels
constexpr int VIEWER_HEIGHT = 560;
constexpr qint64 LARGEST_HELP_FILE = 4 * 1024 * 1024; // bytes; more is no help file
} // namespace

QtHelpViewer::QtHelpViewer(QWidget *parent) : QDialog(parent), textBrowser(new QTextBrowser(this)) {
    setWindowIcon(applicationIcon());
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(textBrowser);
    textBrowser->setOpenExternalLinks(false);
    textBrowser->setOpenLinks(true);
    resize(VIEWER_WIDTH, VIEWER_HEIGHT);
}

bool QtHelpViewer::open(const QString &filePath) {
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > LARGEST_HELP_FILE)
        return false;
    const QByteArray bytes = file.read(LARGEST_HELP_FILE);
    const QString content = QString::fromUtf8(bytes);
    const QFileInfo info(filePath);
    // Links inside the file (#sections, images) resolve against its own folder.
    textBrowser->document()->setBaseUrl(QUrl::fromLocalFile(info.absolutePath() + '/'));
    if (content.trimmed().startsWith('<'))
        textBrowser->setHtml(content);
    else
        textBrowser->setPlainText(content);
    const QString title = textBrowser->documentTitle();
    setWindowTitle(title.isEmpty() ? info.fileName() : title);
    return true;
}

} // namespace zqar::platform
