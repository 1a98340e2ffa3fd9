// Tables of values and their texts, read both ways, and the places that now keep one table for
// a reader and its writer: the import settings, XML's named entities and the alarm words.

#include "core/data/enumTexts.h"
#include "core/analysis/alarms.h"
#include "core/data/caseless.h"
#include "core/import/ImportSettings.h"
#include "core/integrity/xmlTree.h"

#include <gtest/gtest.h>
#include <string>

using namespace zqar;

namespace {

enum class Colour { Red, Green, Blue };

constexpr TextEntry<Colour> COLOURS[] = {{Colour::Red, "red"}, {Colour::Green, "green"}};

} // namespace

TEST(EnumTexts, ReadsATableBothWaysAndAnswersWhatIsMissing) {
    EXPECT_EQ(textOf(COLOURS, Colour::Green), "green");
    EXPECT_EQ(textOf(COLOURS, Colour::Blue), "");
    EXPECT_EQ(textOf(COLOURS, Colour::Blue, "grey"), "grey");
    EXPECT_EQ(valueOf(COLOURS, "red"), Colour::Red);
    EXPECT_EQ(valueOf(COLOURS, "RED"), std::nullopt);
    EXPECT_EQ(valueOf(COLOURS, "RED", equalIgnoringCase), Colour::Red);
    static_assert(textOf(COLOURS, Colour::Red) == "red");
}

TEST(EnumTexts, EveryImportChoiceReadsBackFromTheTextItIsWrittenAs) {
    for (const DateOrder order : {DateOrder::Found, DateOrder::DayMonthYear,
                                  DateOrder::MonthDayYear, DateOrder::YearMonthDay}) {
        const ImportSettingsReading read = readImportSettings(settingText(order), "", "", "");
        ASSERT_EQ(read.problem, ImportSettingProblem::None);
        EXPECT_EQ(read.settings.dateOrder, order);
    }
    for (const DecimalMark mark : {DecimalMark::Found, DecimalMark::Point, DecimalMark::Comma}) {
        const ImportSettingsReading read = readImportSettings("", settingText(mark), "", "");
        ASSERT_EQ(read.problem, ImportSettingProblem::None);
        EXPECT_EQ(read.settings.decimalMark, mark);
    }
    for (const TemperatureUnit unit : {TemperatureUnit::Celsius, TemperatureUnit::Fahrenheit}) {
        const ImportSettingsReading read = readImportSettings("", "", settingText(unit), "");
        ASSERT_EQ(read.problem, ImportSettingProblem::None);
        EXPECT_EQ(read.settings.untitledUnit, unit);
    }
    // Kelvin cannot be chosen for columns without a unit; it is written as the default.
    EXPECT_EQ(settingText(TemperatureUnit::Kelvin), "C");
    EXPECT_EQ(readImportSettings("", "", "", "").settings.untitledUnit, TemperatureUnit::Celsius);
    EXPECT_EQ(readImportSettings("dmy", "", "", "").problem, ImportSettingProblem::DateOrder);
    EXPECT_EQ(readImportSettings("", "", "K", "").problem, ImportSettingProblem::Unit);
}

TEST(EnumTexts, EscapedXmlReadsBackToTheSameText) {
    const std::string text = "a<b>&\"c\"'d'\r\te\nf &amp;";
    for (const bool attribute : {false, true}) {
        SCOPED_TRACE(attribute);
        const std::string document = attribute ? "<r a=\"" + xmlEscaped(text, true) + "\"/>"
                                               : "<r>" + xmlEscaped(text) + "</r>";
        const XmlRead read = readXml(document);
        ASSERT_TRUE(read.root) << document;
        EXPECT_EQ(attribute ? read.root->attributes.at(0).value : read.root->text, text);
    }
    EXPECT_EQ(xmlEscaped("<&>"), "&lt;&amp;&gt;");
    EXPECT_EQ(readXml("<r>&bogus;</r>").problem, XmlProblem::UnknownReference);
}

TEST(EnumTexts, AlarmWordsReadInAnyCaseAndNothingElseDoes) {
    const std::optional<AlarmRule> rule = readAlarmRule(" BELOW , 2, Cumulative, 30");
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->side, AlarmSide::Below);
    EXPECT_EQ(rule->mode, AlarmMode::Cumulative);
    EXPECT_EQ(rule->threshold, 2.0);
    EXPECT_EQ(rule->minutes, 30.0);
    EXPECT_FALSE(readAlarmRule("beneath,2,single,30"));
    EXPECT_FALSE(readAlarmRule("above,2,once,30"));
    EXPECT_FALSE(readAlarmRule("above,2x,single,30"));
    EXPECT_FALSE(readAlarmRule("above,2,single,0"));
}
