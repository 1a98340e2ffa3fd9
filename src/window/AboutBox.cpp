#include "window/AboutBox.h"

#include "platform/Page.h"
#include "qt/QtDialog.h"
#include "qt/QtIcon.h"
#include "qt/QtText.h"
#include "resources/controlIds.h"
#include "resources/templates.h"

namespace zqar {

namespace {

class AboutPage : public platform::Page {
public:
    explicit AboutPage(QDialog &box) : Page(ABOUT_TEMPLATE) {
        bind(AboutControls::OK, [&box] { box.accept(); });
    }
    // A modal box of its own: Enter presses OK, Escape cancels, as in every such box.
    bool keyDown(int) override { return false; }
};

} // namespace

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent), logic(std::make_unique<AboutPage>(*this)),
      page(new platform::QtDialog(dialogTemplate(ABOUT_TEMPLATE), *logic, this)) {
    setWindowTitle(platform::toQString(dialogTemplate(ABOUT_TEMPLATE).caption));
    setWindowIcon(platform::applicationIcon());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    page->move(0, 0);
    setFixedSize(page->size());
    logic->initialise();
}

AboutBox::~AboutBox() {
    // The controls go while the page they call still exists.
    delete page;
}

} // namespace zqar
