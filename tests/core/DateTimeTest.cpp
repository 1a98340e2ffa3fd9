#include "core/data/dateTime.h"
#include "resources/strings.h"
#include "support/LocaleGuard.h"

#include <clocale>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <langinfo.h>
#endif

using namespace zqar;

namespace {

double day(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return dayNumberFromCivil(CivilTime{y, mo, d, h, mi, s});
}

} // namespace

TEST(DayNumbers, KnownDates) {
    EXPECT_EQ(day(1899, 12, 30), 0.0);
    EXPECT_EQ(day(1899, 12, 31), 1.0);
    EXPECT_EQ(day(1900, 1, 1), 2.0);
    EXPECT_EQ(day(1900, 3, 1), 61.0); // 1900 was no leap year
    EXPECT_EQ(day(2003, 11, 5), 37930.0);
    EXPECT_EQ(day(2003, 11, 5, 14, 30), 37930.0 + 52200.0 / 86400.0);
    // Before the epoch the fraction counts away from zero: 29 Dec 1899 06:00 is -1.25.
    EXPECT_EQ(day(1899, 12, 29, 6), -1.25);
    EXPECT_EQ(day(1899, 12, 30, 12), 0.5);
}

TEST(DayNumbers, RoundTripThroughTheCalendar) {
    for (const double d :
         {-1.25, -700000.75, 0.0, 0.5, 2.0, 37930.604166666664, 2958465.999988426}) {
        SCOPED_TRACE(d);
        const CivilTime t = civilFromDayNumber(d);
        EXPECT_EQ(day(t.year, t.month, t.day, t.hour, t.minute, t.second), d);
    }
    const CivilTime noon = civilFromDayNumber(-0.5);
    EXPECT_EQ(noon.day, 30);
    EXPECT_EQ(noon.hour, 12);
}

TEST(FormatDateTime, TheProgramsFormat) {
    EXPECT_EQ(formatDateTime(day(2003, 11, 5, 14, 30)), "05-Nov-2003 02:30PM");
    EXPECT_EQ(formatDateTime(day(2003, 1, 9, 0, 5)), "09-Jan-2003 12:05AM");
    EXPECT_EQ(formatDateTime(day(2003, 1, 9, 12, 0)), "09-Jan-2003 12:00PM");
    EXPECT_EQ(formatDateTime(day(1899, 12, 30)), "30-Dec-1899 12:00AM");
    // Rounded to the second first: 14:29:59.6 shows as 02:30PM, 14:29:59.4 as 02:29PM.
    EXPECT_EQ(formatDateTime(day(2003, 11, 5) + (52200 - 0.4) / 86400), "05-Nov-2003 02:30PM");
    EXPECT_EQ(formatDateTime(day(2003, 11, 5) + (52200 - 0.6) / 86400), "05-Nov-2003 02:29PM");
    // Half a second before midnight rounds into the next day.
    EXPECT_EQ(formatDateTime(day(2003, 12, 31) + (86400 - 0.5) / 86400), "01-Jan-2004 12:00AM");
}

TEST(FormatDateTime, EnglishMonthsWhateverTheLocale) {
    // Without the German locale the test would prove nothing, so it fails instead (Debian's
    // locales-all provides it; scripts/setup.sh installs it).
    zqar::testing::LocaleGuard locale;
    ASSERT_TRUE(locale.use("de_DE.UTF-8")) << "locale de_DE.UTF-8 is not installed";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
#ifndef _WIN32
    ASSERT_STREQ(nl_langinfo(ABMON_3), "M\xc3\xa4r"); // March is abbreviated "Mär" there
#endif
    EXPECT_EQ(formatDateTime(day(2003, 3, 5, 9, 7)), "05-Mar-2003 09:07AM");
    EXPECT_EQ(parseDateTime("05-Mar-2003 09:07AM"), day(2003, 3, 5, 9, 7));
    // Numeric dates follow the German day.month.year order.
    EXPECT_EQ(localeDateOrder(), "DMY");
    EXPECT_EQ(parseDateTime("05.03.2003"), day(2003, 3, 5));
}

TEST(ParseDateTime, AcceptsWhatTheProgramWritesAndCommonForms) {
    const double expected = day(2003, 11, 5, 14, 30);
    const char *same[] = {
        "05-Nov-2003 02:30PM",       "05-nov-2003 02:30pm",     "05-NOV-2003 02:30 PM",
        "5-Nov-2003 2:30PM",         "05-Nov-2003 14:30",       "05-Nov-2003 02:30:00PM",
        "05 November 2003 14:30:00", "Nov 5, 2003 2:30 PM",     "2003-11-05 14:30",
        "2003-11-05T14:30:00",       "  05-Nov-2003 02:30PM  ", "05/Nov/2003 14:30",
        "05-Nov-2003 2:30p",         "11/05/2003 14:30",        "2003/11/05 2:30 PM",
        "05-Nov-2003 14:30:00.25",
    };
    for (const char *text : same) {
        SCOPED_TRACE(text);
        const auto parsed = parseDateTime(text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(*parsed, expected);
    }
    EXPECT_EQ(parseDateTime("2003-11-05"), day(2003, 11, 5));
    EXPECT_EQ(parseDateTime("05-Nov-2003"), day(2003, 11, 5));
    EXPECT_EQ(parseDateTime("05-Nov-2003 12:00AM"), day(2003, 11, 5));
    EXPECT_EQ(parseDateTime("05-Nov-2003 12:15PM"), day(2003, 11, 5, 12, 15));
    EXPECT_EQ(parseDateTime("05-Nov-2003 02:30:45PM"), day(2003, 11, 5, 14, 30, 45));
    EXPECT_EQ(parseDateTime("05-Nov-2003 2 PM"), day(2003, 11, 5, 14));
    EXPECT_EQ(parseDateTime("11/05/03"), day(2003, 11, 5));
    EXPECT_EQ(parseDateTime("11/05/45"), day(1945, 11, 5));
    EXPECT_EQ(parseDateTime("29-Feb-2004"), day(2004, 2, 29));
}

TEST(ParseDateTime, EveryWrittenTimeOfADayReadsBack) {
    for (int minute = 0; minute < 24 * 60; minute += 7) {
        const double value = day(2003, 11, 5, minute / 60, minute % 60);
        EXPECT_EQ(parseDateTime(formatDateTime(value)), value) << formatDateTime(value);
    }
}

TEST(ParseDateTime, RejectsEverythingElse) {
    const char *bad[] = {
        "",
        "   ",
        "abc",
        "29-Feb-2003",
        "31-Apr-2003",
        "05-Nov-2003 25:00",
        "05-Nov-2003 13:30PM",
        "05-Nov-2003 00:30AM",
        "05-Nov-2003 14:60",
        "05-Nov-2003 14",
        "05-Foo-2003",
        "14:30",
        "2003-13-01",
        "2003-11-05X",
        "05-Nov-2003 02:30PM extra",
        "05-Nov-2003;14:30",
        "1.5",
        "05-Nov",
        "05-Nov-2003 02:30PMPM",
        "2003-11/05",
        "05-Nov-10000",
    };
    for (const char *text : bad) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseDateTime(text).has_value());
    }
}

TEST(ParseDateTime, ReadsOnlyTheGivenCharacters) {
    const std::string text = "05-Nov-2003 02:30PMgarbage";
    EXPECT_EQ(parseDateTime(std::string_view(text).substr(0, 19)), day(2003, 11, 5, 14, 30));
    EXPECT_FALSE(parseDateTime(std::string_view(text).substr(0, 11 + 3)).has_value());
}

TEST(ParseDateTime, NumericDatesFollowTheLocaleOrder) {
    const char *saved = std::setlocale(LC_TIME, nullptr);
    const std::string restore = saved ? saved : "C";
    if (std::setlocale(LC_TIME, "en_GB.UTF-8")) {
        EXPECT_EQ(localeDateOrder(), "DMY");
        EXPECT_EQ(parseDateTime("05/11/2003"), day(2003, 11, 5));
    }
    std::setlocale(LC_TIME, "C");
    EXPECT_EQ(localeDateOrder(), "MDY");
    EXPECT_EQ(parseDateTime("05/11/2003"), day(2003, 5, 11));
    std::setlocale(LC_TIME, restore.c_str());
}

// The example the window's empty time fields show is a time the reader takes.
TEST(ParseDateTime, TheTimeFieldsExampleReads) {
    const std::optional<double> example = parseDateTime(text::TIME_FORMAT_HINT);
    ASSERT_TRUE(example.has_value());
    EXPECT_EQ(formatDateTime(*example), text::TIME_FORMAT_HINT);
}
