// Texts that are no valid UTF-8 (report fields and log file comments from single-byte
// character sets) pass through the page windows unchanged.

#include "qt/QtText.h"
#include "platform/Page.h"
#include "qt/QtDialog.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using namespace zqar::platform;

namespace {

constexpr int FIELD = 1159;

class FieldPage : public Page {
public:
    FieldPage() : Page(998) {}
};

DialogTemplate fieldTemplate() {
    DialogTemplate t;
    t.id = 998;
    t.width = 200;
    t.height = 50;
    t.controls = {{FIELD, ControlKind::Edit, "", 10, 10, 150, 14, STYLE_BORDER}};
    return t;
}

} // namespace

TEST(QtText, SingleByteTextsSurviveAnEditBoxUnchanged) {
    FieldPage page;
    QtDialog dialog(fieldTemplate(), page);
    const std::string latin1 = "Freezer 4 \xB0"
                               "C, Gr\xF6\xDF"
                               "e";
    dialog.setText(FIELD, latin1);
    EXPECT_EQ(dialog.text(FIELD), latin1);
    // Shown readably, not as replacement characters.
    auto *edit = dialog.findChild<QLineEdit *>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QString::fromUtf8("Freezer 4 \xC2\xB0"
                                              "C, Gr\xC3\xB6\xC3\x9F"
                                              "e"));
    // Once the user types, the box holds what they typed, in UTF-8.
    edit->setText(QString::fromUtf8("21 \xC2\xB0"
                                    "C"));
    EXPECT_EQ(dialog.text(FIELD), "21 \xC2\xB0"
                                  "C");
}

TEST(QtText, ValidUtf8ReadsAsUtf8) {
    EXPECT_EQ(toQString("\xC2\xB0"
                        "C"),
              QString::fromUtf8("\xC2\xB0"
                                "C"));
    EXPECT_EQ(fromQString(toQString("plain")), "plain");
}
