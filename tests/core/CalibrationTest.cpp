#include "core/analysis/calibration.h"
#include "core/data/numbers.h"

#include "support/Records.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zqar;
using namespace zqar::testing;

namespace {

LoggerCalibration certificate(std::vector<CalibrationPoint> points) {
    LoggerCalibration calibration;
    calibration.logger = "10231";
    calibration.certificate = "C-1";
    calibration.calibrated = dayAt(2024, 1, 10);
    calibration.due = dayAt(2025, 1, 10);
    calibration.points = std::move(points);
    return calibration;
}

const char *const GOOD_FILE = "\xEF\xBB\xBF"
                              "Logger,Certificate,Calibrated,Due,Reading,Correction\r\n"
                              "10231,C-1,10-Jan-2024,2025-01-10,39.88,-0.06\r\n"
                              "10231,C-1,10-jan-2024,2025-01-10,20.16,-0.03\r\n"
                              "\r\n"
                              "\"20417,2\", \"Cert \"\"B\"\"\" ,2024-02-01,01-Feb-2025,5,0.1\r\n";

} // namespace

TEST(Calibration, InterpolatesBetweenTheTwoPointsAroundTheReading) {
    const LoggerCalibration two = certificate({{20.16, -0.03}, {39.88, -0.06}});
    const Correction c = correctionAt(two, 28.50);
    EXPECT_EQ(formatFixed(c.value, 4), "-0.0427");
    EXPECT_NEAR(c.value, -0.8418 / 19.72, 1e-15);
    EXPECT_FALSE(c.outsideRange);
}

TEST(Calibration, TakesAPointsOwnCorrectionAndTheEndsBeyondTheRange) {
    const LoggerCalibration three = certificate({{0.0, 0.2}, {20.16, -0.03}, {39.88, -0.06}});
    struct Case {
        double reading;
        double correction;
        bool outside;
    };
    const Case cases[] = {
        {-5.0, 0.2, true},   {0.0, 0.2, false},     {20.16, -0.03, false}, {39.88, -0.06, false},
        {45.0, -0.06, true}, {10.08, 0.085, false}, {-1e300, 0.2, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reading);
        const Correction found = correctionAt(three, c.reading);
        if (c.reading == 10.08)
            EXPECT_NEAR(found.value, c.correction, 1e-15);
        else
            EXPECT_EQ(found.value, c.correction); // a point's correction as it stands
        EXPECT_EQ(found.outsideRange, c.outside);
    }
    // One point corrects everything alike and has no range.
    const LoggerCalibration one = certificate({{5.0, 0.1}});
    for (const double reading : {-100.0, 5.0, 100.0}) {
        EXPECT_EQ(correctionAt(one, reading).value, 0.1);
        EXPECT_FALSE(correctionAt(one, reading).outsideRange);
    }
}

TEST(CalibrationFile, ReadsBothDateFormsQuotedLabelsAndPointsInAnyOrder) {
    const CalibrationRead read = readCalibrationText(GOOD_FILE);
    ASSERT_TRUE(read.table) << read.problem;
    const std::vector<LoggerCalibration> &loggers = read.table->loggers;
    ASSERT_EQ(loggers.size(), 2u);
    EXPECT_EQ(loggers[0].logger, "10231");
    EXPECT_EQ(loggers[0].certificate, "C-1");
    EXPECT_EQ(loggers[0].calibrated, dayAt(2024, 1, 10));
    EXPECT_EQ(loggers[0].due, dayAt(2025, 1, 10));
    ASSERT_EQ(loggers[0].points.size(), 2u);
    EXPECT_EQ(loggers[0].points[0].reading, 20.16);
    EXPECT_EQ(loggers[0].points[1].correction, -0.06);
    EXPECT_EQ(loggers[1].logger, "20417,2");
    EXPECT_EQ(loggers[1].certificate, "Cert \"B\"");
    EXPECT_EQ(loggers[1].due, dayAt(2025, 2, 1));
    EXPECT_EQ(read.table->find("20417,2"), &loggers[1]);
    EXPECT_EQ(read.table->find("20417"), nullptr);

    // Saved and read again, the table is the same.
    const CalibrationRead again = readCalibrationText(calibrationFileText(*read.table));
    ASSERT_TRUE(again.table) << again.problem;
    ASSERT_EQ(again.table->loggers.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const LoggerCalibration &a = loggers[i];
        const LoggerCalibration &b = again.table->loggers[i];
        EXPECT_EQ(a.logger, b.logger);
        EXPECT_EQ(a.certificate, b.certificate);
        EXPECT_EQ(a.calibrated, b.calibrated);
        EXPECT_EQ(a.due, b.due);
        ASSERT_EQ(a.points.size(), b.points.size());
        for (std::size_t k = 0; k < a.points.size(); ++k) {
            EXPECT_EQ(a.points[k].reading, b.points[k].reading);
            EXPECT_EQ(a.points[k].correction, b.points[k].correction);
        }
    }
}

TEST(CalibrationFile, ABadRowRefusesTheWholeFileWithItsLine) {
    const std::string header = "Logger,Certificate,Calibrated,Due,Reading,Correction\n";
    const std::string good = "10231,C-1,10-Jan-2024,10-Jan-2025,20,0.1\n";
    struct Case {
        std::string text;
        int line;
        std::string problem;
    };
    const Case cases[] = {
        {header + good + "10231,C-1,31-Feb-2024,10-Jan-2025,30,0.1\n", 3,
         "Line 3: 31-Feb-2024 is not a date (DD-Mon-YYYY or YYYY-MM-DD)."},
        {header + good + "\n10231,C-1,10-Jan-2024,01/10/2025,30,0.1\n", 4,
         "Line 4: 01/10/2025 is not a date (DD-Mon-YYYY or YYYY-MM-DD)."},
        {header + "10231,C-1,2024-1-10,10-Jan-2025,30,0.1\n", 2,
         "Line 2: 2024-1-10 is not a date (DD-Mon-YYYY or YYYY-MM-DD)."},
        {header + "10231,C-1,10-Jan-2024,10-Jan-2025,30.5x,0.1\n", 2,
         "Line 2: 30.5x is not a number."},
        {header + "10231,C-1,10-Jan-2024,10-Jan-2025,30,0,1\n", 2,
         "Line 2: a row holds six fields."},
        {header + ",C-1,10-Jan-2024,10-Jan-2025,30,0.1\n", 2, "Line 2: the logger is empty."},
        {header + "10231,C-1,10-Jan-2025,10-Jan-2024,30,0.1\n", 2,
         "Line 2: the due date lies before the calibration date."},
        {header + good + "10231,C-2,10-Jan-2024,10-Jan-2025,30,0.1\n", 3,
         "Line 3: the certificate or its dates differ from the logger's earlier rows."},
        {header + good + "10231,C-1,10-Jan-2024,10-Jan-2025,20.0,0.2\n", 3,
         "Line 3: the logger already has a point at this reading."},
        {"Logger;Certificate;Calibrated;Due;Reading;Correction\n" + good, 1,
         "Line 1: the first line must be "
         "Logger,Certificate,Calibrated,Due,Reading,Correction."},
        {"", 1,
         "Line 1: the first line must be "
         "Logger,Certificate,Calibrated,Due,Reading,Correction."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const CalibrationRead read = readCalibrationText(c.text);
        EXPECT_FALSE(read.table);
        EXPECT_EQ(read.line, c.line);
        EXPECT_EQ(read.problem, c.problem);
    }
}

TEST(CalibrationFile, ARefusedFileLeavesTheTableInUseAsItWas) {
    TempDir dir;
    CalibrationTable inUse = *readCalibrationFile(dir.write("good.csv", GOOD_FILE)).table;
    const CalibrationRead bad = readCalibrationFile(
        dir.write("bad.csv", "Logger,Certificate,Calibrated,Due,Reading,Correction\n"
                             "10231,C-1,10-Jan-2024,10-Jan-2025,20,0.1\n"
                             "10231,C-1,10-Jan-2024,10-Jam-2025,30,0.1\n"));
    ASSERT_FALSE(bad.table);
    EXPECT_EQ(bad.line, 3);
    EXPECT_EQ(inUse.loggers.size(), 2u);

    const CalibrationRead missing = readCalibrationFile(dir.file("none.csv"));
    EXPECT_FALSE(missing.table);
    EXPECT_EQ(missing.line, 0);
    EXPECT_EQ(missing.problem, "The calibration file could not be read.");
}

TEST(CalibrationCorrection, CorrectsACopyAndKeepsTheRawRecordsAndMissingReadings) {
    const double start = dayAt(2024, 6, 1);
    LoggerArray array;
    array.resize(1, 2, 0);
    array.place(0, 0, recordWith("10231", start, 600.0, {20.16, 28.5, NO_VALUE, 45.0}));
    array.place(0, 1, recordWith("99999", start, 600.0, {21.0, 22.0}));
    CalibrationTable table;
    table.loggers.push_back(certificate({{20.16, -0.03}, {39.88, -0.06}}));

    const LoggerArray corrected = correctedArray(array, table);
    const std::vector<double> &values = corrected.at(0, 0)->values;
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values[0], 20.16 + -0.03);
    EXPECT_EQ(values[1], 28.5 + correctionAt(table.loggers[0], 28.5).value);
    EXPECT_EQ(values[2], NO_VALUE);
    EXPECT_EQ(values[3], 45.0 + -0.06);
    EXPECT_EQ(corrected.at(0, 1)->values, (std::vector<double>{21.0, 22.0}));
    EXPECT_EQ(array.at(0, 0)->values[1], 28.5);
    EXPECT_EQ(corrected.at(0, 0)->label(), "10231");
}

TEST(CalibrationStatus, FirstThatHoldsPerPlacedLoggerWithReadingsOutsideTheRange) {
    // A week in June 2024; four loggers and an empty cell.
    const double start = dayAt(2024, 6, 1, 8, 0);
    const double finish = dayAt(2024, 6, 8, 8, 0);
    LoggerArray array;
    array.resize(2, 3, 0);
    const std::vector<double> readings{10.0, 15.0, 20.0, 25.0, 30.0, NO_VALUE, 45.0};
    array.place(0, 0, recordWith("ok", start, 86400.0, readings));
    array.place(0, 1, recordWith("lapses", start, 86400.0, readings));
    array.place(0, 2, recordWith("late", start, 86400.0, readings));
    array.place(1, 1, recordWith("raw", start, 86400.0, readings));
    CalibrationTable table;
    LoggerCalibration ok = certificate({{15.0, 0.1}, {30.0, 0.2}});
    ok.logger = "ok";
    ok.due = dayAt(2024, 6, 8, 0, 0) + 1.0; // due the day after the finish
    LoggerCalibration lapses = ok;
    lapses.logger = "lapses";
    lapses.due = dayAt(2024, 6, 5); // due inside the span
    LoggerCalibration late = ok;
    late.logger = "late";
    late.calibrated = dayAt(2024, 6, 2); // calibrated inside the span, and due inside too
    late.due = dayAt(2024, 6, 5);
    table.loggers = {ok, lapses, late};

    const std::vector<CalibrationRow> rows = calibrationRows(array, table, start, finish);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].status, CalibrationStatus::Ok);
    EXPECT_EQ(rows[1].status, CalibrationStatus::DueBeforeFinish);
    EXPECT_EQ(rows[2].status, CalibrationStatus::CalibratedAfterStart);
    EXPECT_EQ(rows[3].status, CalibrationStatus::NoCertificate);
    EXPECT_EQ(rows[0].readingsOutsideRange, 2); // 10 below, 45 above; the missing one not at all

    EXPECT_EQ(calibrationCsv(rows),
              "Position,Logger,Certificate,Calibrated,Due,Points,Readings Outside Range,Status\r\n"
              "R1C1,ok,C-1,10-Jan-2024,09-Jun-2024,2,2,ok\r\n"
              "R1C2,lapses,C-1,10-Jan-2024,05-Jun-2024,2,2,due before the finish\r\n"
              "R1C3,late,C-1,02-Jun-2024,05-Jun-2024,2,2,calibrated after the start\r\n"
              "R2C2,raw,-,-,-,0,-,no certificate\r\n");
}
