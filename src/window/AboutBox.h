#pragma once
// The About box: the icon, the product name, the version and a notice line, from its
// template, with OK. It has no behaviour beyond closing.

#include <QDialog>

#include <memory>

namespace zqar {

namespace platform {
class Page;
class QtDialog;
} // namespace platform

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);
    ~AboutBox() override;

    platform::QtDialog *content() const { return page; }

private:
    std::unique_ptr<platform::Page> logic;
    platform::QtDialog *page;
};

} // namespace zqar
