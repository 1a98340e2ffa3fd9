#include "qt/QtDialog.h"

#include "platform/DrawingContext.h"
#include "platform/Page.h"
#include "qt/QtIcon.h"
#include "qt/QtListView.h"
#include "qt/QtMessageBox.h"
#include "qt/QtText.h"
#include "resources/windowHints.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace zqar::platform {

namespace {

// The templates were laid out for an 8-point face whose cells are 13 pixels high.
constexpr int PAGE_FONT_PIXELS = 11;

// A button whose face the page paints. It takes clicks like a button when enabled; the
// graph area is created disabled and only shows.
class OwnerDrawControl : public QWidget {
public:
    OwnerDrawControl(Page &page, int id, QWidget *parent) : QWidget(parent), page(page), id(id) {
        // The control paints every pixel itself; Qt need not erase it first.
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        // White first: whatever the page leaves out (the part of a graph area beyond the
        // screen-sized bitmap it copies from) shows white rather than stale pixels. Qt paints
        // into a back buffer, so this costs no flicker.
        painter.fillRect(rect(), Qt::white);
        const auto &factory = QtDialog::painterContextFactory();
        std::unique_ptr<DrawingContext> context = factory ? factory(painter) : nullptr;
        if (context)
            page.drawItem(id, *context, Rect{0, 0, width(), height()});
    }
    void mouseReleaseEvent(QMouseEvent *event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            !QtDialog::commandsHeld())
            page.command(id);
    }

private:
    Page &page;
    const int id;
};

// A group box as the templates mean it: a frame whose caption sits on its top line. Qt's
// own group box puts the caption above the frame, which eats the room the controls were
// placed in.
class GroupFrame : public QWidget {
public:
    GroupFrame(const QString &caption, QWidget *parent) : QWidget(parent), caption(caption) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    QString title() const { return caption; }
    void setTitle(const QString &text) {
        caption = text;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        const int lineY = metrics.height() / 2;
        const QRect frame(0, lineY, width() - 1, height() - lineY - 1);
        // An etched line: shadow, then light one pixel lower and to the right.
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(frame.adjusted(1, 1, 0, 0));
        if (caption.isEmpty())
            return;
        constexpr int captionLeft = 6; // pixels
        const int captionWidth = metrics.horizontalAdvance(caption) + 4;
        const QRect captionArea(captionLeft, 0, captionWidth, metrics.height());
        painter.fillRect(captionArea, palette().color(QPalette::Window));
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::WindowText));
        painter.drawText(captionArea, Qt::AlignCenter | Qt::TextSingleLine, caption);
    }

private:
    QString caption;
};

QRect pixelRect(const ControlTemplate &source) {
    return QRect(dialogUnitsToPixelsX(source.x), dialogUnitsToPixelsY(source.y),
                 dialogUnitsToPixelsX(source.width), dialogUnitsToPixelsY(source.height));
}

Qt::Alignment labelAlignment(unsigned style) {
    const Qt::Alignment vertical = (style & STYLE_SUNKEN) ? Qt::AlignVCenter : Qt::AlignTop;
    return ((style & STYLE_RIGHT) ? Qt::AlignRight : Qt::AlignLeft) | vertical;
}

QAbstractButton *asButton(QWidget *widget) { return qobject_cast<QAbstractButton *>(widget); }

int commandHolds = 0;

QtDialog::PainterContextFactory &factoryStore() {
    static QtDialog::PainterContextFactory factory;
    return factory;
}

} // namespace

QFont pageFont(const QFont &base) {
    QFont font = base;
    // Wider faces such as the usual desktop default cut off the longer captions.
    font.setFamilies(
        {"Liberation Sans", "Arimo", "Nimbus Sans", "Arial", "Helvetica", base.family()});
    font.setPixelSize(PAGE_FONT_PIXELS);
    return font;
}

int pageKeyOf(int qtKey) {
    static const std::pair<int, int> named[] = {
        {Qt::Key_Return, KEY_RETURN}, {Qt::Key_Enter, KEY_RETURN}, {Qt::Key_Escape, KEY_ESCAPE},
        {Qt::Key_Tab, KEY_TAB},       {Qt::Key_Backtab, KEY_TAB},  {Qt::Key_Backspace, 8},
        {Qt::Key_PageUp, 33},         {Qt::Key_PageDown, 34},      {Qt::Key_End, 35},
        {Qt::Key_Home, 36},           {Qt::Key_Left, 37},          {Qt::Key_Up, 38},
        {Qt::Key_Right, 39},          {Qt::Key_Down, 40},          {Qt::Key_Insert, 45},
        {Qt::Key_Delete, 46},
    };
    for (const auto &[qt, page] : named)
        if (qt == qtKey)
            return page;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return 112 + (qtKey - Qt::Key_F1);
    if (qtKey >= Qt::Key_Space && qtKey <= Qt::Key_AsciiTilde)
        return qtKey; // Qt's letter keys are the upper-case characters, as the pages expect
    return 0;
}

bool swallowClosingKey(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return true;
    default:
        return false;
    }
}

QtDialog::CommandHold::CommandHold() { ++commandHolds; }
QtDialog::CommandHold::~CommandHold() { --commandHolds; }
bool QtDialog::commandsHeld() { return commandHolds > 0; }

void QtDialog::runCommand(int id) {
    if (!commandsHeld())
        servedPage.command(id);
}

void QtDialog::setPainterContextFactory(PainterContextFactory factory) {
    factoryStore() = std::move(factory);
}

const QtDialog::PainterContextFactory &QtDialog::painterContextFactory() { return factoryStore(); }

QtDialog::QtDialog(const DialogTemplate &source, Page &page, QWidget *parent)
    : QWidget(parent), servedPage(page) {
    setFont(pageFont(font()));
    if (!source.child && !source.caption.empty())
        setWindowTitle(toQString(source.caption));
    resize(dialogUnitsToPixelsX(source.width), dialogUnitsToPixelsY(source.height));

    // Consecutive radio buttons form one group, as the page logic counts them.
    int group = -1;
    int groups = 0;
    bool previousWasRadio = false;
    for (const ControlTemplate &control : source.controls) {
        const bool radio = control.kind == ControlKind::RadioButton;
        if (radio && !previousWasRadio)
            group = groups++;
        previousWasRadio = radio;
        createControl(control, radio ? group : -1);
        const std::string_view tip = text::controlTip(source.id, control.id);
        if (QWidget *widget = this->control(control.id); widget && !tip.empty())
            widget->setToolTip(toQString(tip));
        const std::string_view example = text::controlPlaceholder(source.id, control.id);
        if (auto *edit = qobject_cast<QLineEdit *>(this->control(control.id));
            edit && !example.empty())
            edit->setPlaceholderText(toQString(example));
    }
    page.attach(*this);
}

QtDialog::~QtDialog() {
    // The controls go first, while the maps their signals lead to still exist.
    for (QtListView *list : findChildren<QtListView *>(QString(), Qt::FindDirectChildrenOnly)) {
        list->onNotify = nullptr;
        list->setKeyFilter(nullptr);
    }
    for (QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        child->removeEventFilter(this);
        child->disconnect(this);
        delete child;
    }
}

QWidget *QtDialog::makeLabel(const ControlTemplate &source) {
    auto *label = new QLabel(this);
    label->setTextFormat(Qt::PlainText);
    label->setText(toQString(source.caption));
    label->setAlignment(labelAlignment(source.style));
    if (source.style & STYLE_SUNKEN) {
        // A plain sunken panel loses its light edges on a light window; the styled one
        // keeps a frame on all four sides.
        label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        label->setMargin(1);
    }
    if (source.id != NO_ID)
        labels[source.id] = LabelText{label, source.caption, false};
    return label;
}

QWidget *QtDialog::makeWidget(const ControlTemplate &source) {
    QWidget *widget = nullptr;
    const QString caption = toQString(source.caption);
    const int id = source.id;
    switch (source.kind) {
    case ControlKind::GroupBox: {
        widget = new GroupFrame(caption, this);
        break;
    }
    case ControlKind::Label:
        widget = makeLabel(source);
        break;
    case ControlKind::Edit: {
        auto *edit = new QLineEdit(caption, this);
        edit->setFrame((source.style & STYLE_BORDER) != 0);
        // Enter or leaving the box ends an edit, which the page may keep as a step to undo.
        connect(edit, &QLineEdit::editingFinished, this, [this, id] { servedPage.edited(id); });
        widget = edit;
        break;
    }
    case ControlKind::PushButton: {
        auto *button = new QPushButton(caption, this);
        button->setAutoDefault(false);
        button->setDefault((source.style & STYLE_DEFAULT) != 0);
        connect(button, &QPushButton::clicked, this, [this, id] { runCommand(id); });
        widget = button;
        break;
    }
    case ControlKind::OwnerDrawButton:
        widget = new OwnerDrawControl(servedPage, id, this);
        break;
    case ControlKind::CheckBox: {
        auto *box = new QCheckBox(caption, this);
        if (source.style & STYLE_TEXT_LEFT)
            box->setLayoutDirection(Qt::RightToLeft);
        connect(box, &QCheckBox::clicked, this, [this, id] {
            runCommand(id);
            servedPage.edited(id);
        });
        widget = box;
        break;
    }
    case ControlKind::RadioButton: {
        auto *radio = new QRadioButton(caption, this);
        // Qt's own exclusivity would also act on programmatic checks; the pages expect it
        // only for the user's clicks.
        radio->setAutoExclusive(false);
        connect(radio, &QRadioButton::clicked, this, [this, id] { onRadioClicked(id); });
        widget = radio;
        break;
    }
    case ControlKind::ListView: {
        auto *list = new QtListView(this);
        list->setFrameShape((source.style & STYLE_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
        list->setKeyFilter(this);
        list->onNotify = [this, id](ListNotification code) {
            if (!commandsHeld())
                servedPage.listNotification(id, code);
        };
        widget = list;
        break;
    }
    case ControlKind::Icon: {
        auto *icon = new QLabel(this);
        const QRect area = pixelRect(source);
        icon->setPixmap(applicationPixmap(std::min(area.width(), area.height()) >= 32 ? 32 : 16));
        icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        widget = icon;
        break;
    }
    case ControlKind::TabStrip:
        // The main window's tab strip is the shell's own; a page has none.
        return nullptr;
    }
    return widget;
}

void QtDialog::createControl(const ControlTemplate &source, int group) {
    QWidget *widget = makeWidget(source);
    if (!widget)
        return;
    const int id = source.id;
    widget->setGeometry(pixelRect(source));
    if (source.kind == ControlKind::GroupBox)
        widget->lower(); // a frame around controls must never cover them
    if (source.style & STYLE_DISABLED) {
        if (auto *list = qobject_cast<QtListView *>(widget))
            list->setInputEnabled(false);
        else
            widget->setEnabled(false);
    }
    if (source.style & STYLE_HIDDEN)
        widget->hide();
    widget->installEventFilter(this);
    if (id != NO_ID && controls.count(id) == 0)
        controls[id] = Control{widget, source.kind, group};
}

void QtDialog::onRadioClicked(int id) {
    const Control *clicked = find(id);
    if (!clicked)
        return;
    // A click on a checked radio button keeps it checked, and clears its partners.
    asButton(clicked->widget)->setChecked(true);
    for (auto &[otherId, other] : controls)
        if (otherId != id && other.kind == ControlKind::RadioButton &&
            other.group == clicked->group)
            asButton(other.widget)->setChecked(false);
    runCommand(id);
    servedPage.edited(id);
}

const QtDialog::Control *QtDialog::find(int id) const {
    const auto found = controls.find(id);
    return found == controls.end() ? nullptr : &found->second;
}

QWidget *QtDialog::control(int id) const {
    const Control *found = find(id);
    return found ? found->widget : nullptr;
}

QtListView *QtDialog::listWidget(int id) const { return qobject_cast<QtListView *>(control(id)); }

std::string QtDialog::text(int id) const {
    const auto label = labels.find(id);
    if (label != labels.end())
        return cutUtf8(label->second.text);
    QWidget *widget = control(id);
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        const auto written = editTexts.find(id);
        if (written != editTexts.end() && written->second.shown == edit->text())
            return cutWritten(written->second.bytes);
        return fromQString(edit->text());
    }
    if (auto *button = asButton(widget))
        return fromQString(button->text());
    if (auto *box = dynamic_cast<GroupFrame *>(widget))
        return fromQString(box->title());
    return std::string();
}

void QtDialog::setText(int id, std::string_view text) {
    const auto label = labels.find(id);
    if (label != labels.end()) {
        LabelText &entry = label->second;
        entry.text.assign(text.data(), text.size());
        if (!entry.pending) {
            entry.pending = true;
            QTimer::singleShot(0, this, [this, id] { showLabelText(id); });
        }
        return;
    }
    QWidget *widget = control(id);
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        edit->setText(toQString(text));
        editTexts[id] = EditText{std::string(text), edit->text()};
    } else if (auto *button = asButton(widget))
        button->setText(toQString(text));
    else if (auto *box = dynamic_cast<GroupFrame *>(widget))
        box->setTitle(toQString(text));
}

void QtDialog::showLabelText(int id) {
    const auto label = labels.find(id);
    if (label == labels.end() || !label->second.pending)
        return;
    label->second.pending = false;
    label->second.label->setText(toQString(label->second.text));
}

bool QtDialog::isChecked(int id) const {
    const auto *button = asButton(control(id));
    return button && button->isCheckable() && button->isChecked();
}

void QtDialog::setChecked(int id, bool checked) {
    auto *button = asButton(control(id));
    if (button && button->isCheckable())
        button->setChecked(checked);
}

bool QtDialog::isEnabled(int id) const {
    const QWidget *widget = control(id);
    if (const auto *list = qobject_cast<const QtListView *>(widget))
        return list->inputEnabled();
    return widget && !widget->testAttribute(Qt::WA_Disabled);
}

void QtDialog::setEnabled(int id, bool enabled) {
    if (QtListView *list = listWidget(id))
        list->setInputEnabled(enabled);
    else if (QWidget *widget = control(id))
        widget->setEnabled(enabled);
}

bool QtDialog::isShown(int id) const {
    const QWidget *widget = control(id);
    return widget && !widget->isHidden();
}

void QtDialog::setShown(int id, bool shown) {
    if (QWidget *widget = control(id))
        widget->setVisible(shown);
}

void QtDialog::setFocus(int id) {
    if (QWidget *widget = control(id))
        widget->setFocus(Qt::OtherFocusReason);
}

ListView &QtDialog::listView(int id) {
    if (QtListView *list = listWidget(id))
        return list->model();
    // A programming error; a scratch list keeps the program running.
    qWarning("Control %d is no list view", id);
    if (!missingList)
        missingList = std::make_unique<ListModel>();
    return *missingList;
}

Rect QtDialog::controlRect(int id) const {
    const QWidget *widget = control(id);
    if (!widget)
        return Rect{};
    const QRect area = widget->geometry();
    return Rect{area.x(), area.y(), area.x() + area.width(), area.y() + area.height()};
}

void QtDialog::moveControl(int id, const Rect &rect) {
    if (QWidget *widget = control(id))
        widget->setGeometry(rect.left, rect.top, std::max(0, rect.width()),
                            std::max(0, rect.height()));
}

Size QtDialog::clientSize() const { return Size{width(), height()}; }

void QtDialog::redraw(int id) {
    if (QWidget *widget = control(id))
        widget->update();
}

void QtDialog::messageBox(const std::string &text, const std::string &caption) {
    showMessageBox(this, text, caption);
}

void QtDialog::place(const Rect &rect) {
    const QSize before = size();
    setGeometry(rect.left, rect.top, std::max(0, rect.width()), std::max(0, rect.height()));
    if (!isVisible() && size() != before && servedPage.isCreated())
        servedPage.resized(width(), height());
}

bool QtDialog::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = pageKeyOf(static_cast<QKeyEvent *>(event)->key());
        // Held: Enter is swallowed as the pages would, and the page's own key logic waits.
        if (commandsHeld())
            return key == KEY_RETURN;
        if (key != 0 && servedPage.keyDown(key))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void QtDialog::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    if (servedPage.isCreated())
        servedPage.resized(width(), height());
}

} // namespace zqar::platform
