#include "qt/QtHelpViewer.h"

#include "qt/QtIcon.h"
#include "qt/QtText.h"
#include "resources/strings.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace zqar::platform {

namespace {
constexpr int VIEWER_WIDTH = 640; // pixels
constexpr int VIEWER_HEIGHT = 560;
constexpr int NARROWEST_VIEWER = 360; // pixels; narrower, the help is no pleasure to read
constexpr int WINDOW_GAP = 4;         // pixels between the main window and the viewer
constexpr int BUTTON_MARGIN = 6;
constexpr qint64 LARGEST_HELP_FILE = 4 * 1024 * 1024; // bytes; more is no help file

// A browser that takes the help file's text from the viewer, read once with its size
// checked, rather than reading the file again itself. Following a link within the file goes
// through its history, so Back and Forward work from the first page on.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    void setDocumentText(const QUrl &url, const QString &text) {
        documentUrl = url;
        documentText = text;
    }
    QVariant loadResource(int type, const QUrl &name) override {
        if (type == QTextDocument::HtmlResource &&
            name.adjusted(QUrl::RemoveFragment) == documentUrl)
            return documentText;
        return QTextBrowser::loadResource(type, name);
    }

private:
    QUrl documentUrl;
    QString documentText;
};

} // namespace

QRect helpViewerPlace(const QRect &mainFrame, const QRect &available, const QSize &wanted,
                      int minimumWidth) {
    const int height = std::min(wanted.height(), available.height());
    const int roomRight = available.right() - mainFrame.right() - WINDOW_GAP;
    const int roomLeft = mainFrame.left() - available.left() - WINDOW_GAP;
    int width = wanted.width();
    int left = 0;
    if (roomRight >= width) {
        left = mainFrame.right() + 1 + WINDOW_GAP;
    } else if (roomLeft >= width) {
        left = mainFrame.left() - WINDOW_GAP - width;
    } else if (std::max(roomRight, roomLeft) >= minimumWidth) {
        width = std::max(roomRight, roomLeft);
        left = roomRight >= roomLeft ? mainFrame.right() + 1 + WINDOW_GAP : available.left();
    } else {
        width = std::min(width, available.width());
        left = available.right() + 1 - width;
    }
    const int top = std::clamp(mainFrame.top(), available.top(),
                               std::max(available.top(), available.bottom() + 1 - height));
    return QRect(left, top, width, height);
}

QtHelpViewer::QtHelpViewer(QWidget *parent)
    : QDialog(parent), textBrowser(new HelpBrowser(this)),
      back(new QPushButton(toQString(text::HELP_BACK), this)),
      forward(new QPushButton(toQString(text::HELP_FORWARD), this)),
      close(new QPushButton(toQString(text::HELP_CLOSE), this)) {
    setWindowIcon(applicationIcon());
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(BUTTON_MARGIN, BUTTON_MARGIN, BUTTON_MARGIN, BUTTON_MARGIN);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    layout->addWidget(textBrowser);
    textBrowser->setOpenExternalLinks(false);
    textBrowser->setOpenLinks(true);

    back->setToolTip(toQString(text::HELP_BACK_TIP));
    forward->setToolTip(toQString(text::HELP_FORWARD_TIP));
    for (QPushButton *button : {back, forward, close}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
    }
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, textBrowser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, textBrowser, &QTextBrowser::forward);
    connect(textBrowser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(textBrowser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    resize(VIEWER_WIDTH, VIEWER_HEIGHT);
}

bool QtHelpViewer::open(const QString &filePath) {
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > LARGEST_HELP_FILE)
        return false;
    const QByteArray bytes = file.read(LARGEST_HELP_FILE);
    const QString content = QString::fromUtf8(bytes);
    const QFileInfo info(filePath);
    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    auto *helpBrowser = static_cast<HelpBrowser *>(textBrowser);
    if (content.trimmed().startsWith('<')) {
        helpBrowser->setDocumentText(url, content);
        // Links inside the file (#sections, images) resolve against the file itself.
        if (helpBrowser->source() == url)
            helpBrowser->reload();
        else
            helpBrowser->setSource(url, QTextDocument::HtmlResource);
    } else {
        helpBrowser->setDocumentText(QUrl(), QString());
        helpBrowser->setSource(QUrl());
        helpBrowser->document()->setBaseUrl(QUrl::fromLocalFile(info.absolutePath() + '/'));
        helpBrowser->setPlainText(content);
    }
    // The file starts a history of its own: Back never leads to what was shown before.
    helpBrowser->clearHistory();
    const QString title = textBrowser->documentTitle();
    setWindowTitle(title.isEmpty() ? info.fileName() : title);
    return true;
}

void QtHelpViewer::placeBeside(const QWidget &window) {
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The frame is known only once the viewer has been shown; until then it counts as none.
    const QSize frameExtra = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    const QRect frame =
        helpViewerPlace(window.frameGeometry(), screen->availableGeometry(),
                        QSize(VIEWER_WIDTH, VIEWER_HEIGHT) + frameExtra, NARROWEST_VIEWER);
    resize(frame.size() - frameExtra);
    move(frame.topLeft());
}

} // namespace zqar::platform
