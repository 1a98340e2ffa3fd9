#include "core/analysis/qualification.h"
#include "core/analysis/TemperatureSet.h"
#include "core/analysis/qualificationCsv.h"
#include "core/analysis/statistics.h"
#include "core/data/dateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>

using namespace zqar;

namespace {

constexpr double MINUTE = 60.0; // seconds
constexpr double SET_POINT = 20.0;

double juneFifth(int hour, int minute, int second = 0) {
    return dayNumberFromCivil(CivilTime{2025, 6, 5, hour, minute, second});
}

std::unique_ptr<LogFile> record(const std::string &name, double start, double period,
                                std::vector<double> values) {
    auto made = std::make_unique<LogFile>();
    made->loggerName.assign(name);
    made->startTime.day = start;
    made->samplePeriod = period;
    made->valueCount = static_cast<int32_t>(values.size());
    made->values = std::move(values);
    return made;
}

// A rows x columns array of minute loggers from 10:00, each holding the same value throughout.
LoggerArray constantArray(int rows, int columns, int samples, double value) {
    LoggerArray array;
    array.resize(rows, columns, 0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            array.place(r, c,
                        record("L" + std::to_string(r + 1) + std::to_string(c + 1),
                               juneFifth(10, 0), MINUTE,
                               std::vector<double>(static_cast<std::size_t>(samples), value)));
    return array;
}

Qualification qualify(const LoggerArray &array, const QualificationSettings &settings,
                      double start = juneFifth(10, 0), double finish = juneFifth(12, 0)) {
    return computeQualification(array, start, finish, settings);
}

QualificationSettings withSetPoint(double setPoint, std::optional<double> tolerance = {}) {
    QualificationSettings settings;
    settings.setPoint = setPoint;
    settings.tolerance = tolerance;
    return settings;
}

} // namespace

// ---- The settings ----------------------------------------------------------------------

TEST(QualificationSettings, EmptyTextsMeanNoSettingAndTheDefaultReference) {
    const QualificationSettingsReading reading = readQualificationSettings("", " ", "", "", "");
    EXPECT_EQ(reading.problem, QualificationProblem::None);
    EXPECT_FALSE(reading.settings.setPoint);
    EXPECT_FALSE(reading.settings.tolerance);
    EXPECT_FALSE(reading.settings.stableStart);
    EXPECT_FALSE(reading.settings.stableFinish);
    EXPECT_FALSE(reading.settings.referencePosition);
}

TEST(QualificationSettings, ReadsEveryTextAndNamesTheFirstWrongOne) {
    const QualificationSettingsReading good = readQualificationSettings(
        "37.5", "0.5", "05-Jun-2025 06:00PM", "05-Jun-2025 08:30PM", " r3c2 ");
    ASSERT_EQ(good.problem, QualificationProblem::None);
    EXPECT_EQ(*good.settings.setPoint, 37.5);
    EXPECT_EQ(*good.settings.tolerance, 0.5);
    EXPECT_EQ(*good.settings.stableStart, juneFifth(18, 0));
    EXPECT_EQ(*good.settings.stableFinish, juneFifth(20, 30));
    EXPECT_EQ(*good.settings.referencePosition, (ArrayPosition{2, 1}));

    struct Case {
        const char *setPoint, *tolerance, *start, *finish, *reference;
        QualificationProblem problem;
    };
    const Case cases[] = {
        {"warm", "", "", "", "", QualificationProblem::SetPoint},
        {"20", "-0.5", "", "", "", QualificationProblem::Tolerance},
        {"20", "x", "", "", "", QualificationProblem::Tolerance},
        {"20", "1", "32-Jun-2025", "", "", QualificationProblem::StableStart},
        {"20", "1", "", "tomorrow", "", QualificationProblem::StableFinish},
        {"", "", "05-Jun-2025 06:00PM", "05-Jun-2025 05:59PM", "",
         QualificationProblem::StableWindowOrder},
        {"", "", "", "", "R0C1", QualificationProblem::ReferencePositionFormat},
        {"", "", "", "", "R3", QualificationProblem::ReferencePositionFormat},
        {"", "", "", "", "S1x", QualificationProblem::ReferencePositionFormat},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.setPoint) + "|" + c.tolerance + "|" + c.start + "|" + c.finish +
                     "|" + c.reference);
        const QualificationSettingsReading reading =
            readQualificationSettings(c.setPoint, c.tolerance, c.start, c.finish, c.reference);
        EXPECT_EQ(reading.problem, c.problem);
        EXPECT_FALSE(qualificationProblemMessage(reading.problem).empty());
    }
    EXPECT_EQ(*readQualificationSettings("", "", "", "", "S2").settings.referencePosition,
              (ArrayPosition{SINGULAR_ROW, 1}));
}

TEST(QualificationReference, DefaultsToThePlacedCellNearestTheCentre) {
    struct Case {
        int rows, columns;
        const char *emptyCell; // or none
        const char *expected;
    };
    const Case cases[] = {
        {3, 3, nullptr, "R2C2"}, {4, 4, nullptr, "R2C2"}, {2, 3, nullptr, "R1C2"},
        {1, 1, nullptr, "R1C1"}, {5, 2, nullptr, "R3C1"}, {3, 3, "R2C2", "R1C2"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.rows) + " x " + std::to_string(c.columns));
        LoggerArray array = constantArray(c.rows, c.columns, 1, SET_POINT);
        if (c.emptyCell) {
            const ArrayPosition empty = *readArrayPosition(c.emptyCell);
            array.place(empty.row, empty.col, nullptr);
        }
        const auto reference = defaultReferencePosition(array);
        ASSERT_TRUE(reference);
        EXPECT_EQ(arrayPositionName(*reference), c.expected);
    }
    LoggerArray singularOnly;
    singularOnly.resize(0, 0, 1);
    singularOnly.place(-1, 0, record("S", juneFifth(10, 0), MINUTE, {SET_POINT}));
    EXPECT_FALSE(defaultReferencePosition(singularOnly));
}

// ---- The figures -----------------------------------------------------------------------

TEST(QualificationFigures, ChamberWithOneWarmPositionAndAnAlternatingReference) {
    // At the set point, except R1C3 constant 0.6 K above and the reference (the centre)
    // alternating 0.2 K above and below, over an even number of samples.
    constexpr int SAMPLES = 10;
    LoggerArray array = constantArray(3, 3, SAMPLES, SET_POINT);
    array.place(
        0, 2,
        record("warm", juneFifth(10, 0), MINUTE, std::vector<double>(SAMPLES, SET_POINT + 0.6)));
    std::vector<double> alternating;
    for (int i = 0; i < SAMPLES; ++i)
        alternating.push_back(i % 2 == 0 ? SET_POINT + 0.2 : SET_POINT - 0.2);
    array.place(1, 1, record("ref", juneFifth(10, 0), MINUTE, alternating));

    const Qualification q = qualify(array, withSetPoint(SET_POINT));
    ASSERT_EQ(q.problem, QualificationProblem::None);
    EXPECT_EQ(q.referencePosition().position, "R2C2");
    EXPECT_EQ(q.instants, SAMPLES);
    EXPECT_NEAR(q.maximumDeviationFromReference, 0.8, 1e-9);
    EXPECT_NEAR(q.meanSpread, 0.7, 1e-9);
    EXPECT_NEAR(q.stability, 0.2, 1e-9);
    EXPECT_NEAR(q.overallVariation, 0.8, 1e-9);
    EXPECT_NEAR(*q.setPointDeviation, 0.6 / 9, 1e-9);
    EXPECT_EQ(q.toleranceClass, 3);

    const PositionQualification &warm = q.positions[2];
    EXPECT_EQ(warm.position, "R1C3");
    EXPECT_NEAR(warm.deviationFromReference, 0.6, 1e-9);
    EXPECT_NEAR(*warm.deviationFromSetPoint, 0.6, 1e-9);
    EXPECT_NEAR(q.positions[4].spread(), 0.4, 1e-9);

    const std::vector<FigureRow> figures = qualificationFigures(q);
    ASSERT_EQ(figures.size(), 7u);
    EXPECT_EQ(figures[0].value, "0.80");
    EXPECT_EQ(figures[1].value, "0.70");
    EXPECT_EQ(figures[2].value, "0.20");
    EXPECT_TRUE(figures[2].plusMinus);
    EXPECT_EQ(figures[3].value, "0.80");
    EXPECT_EQ(figures[4].value, "0.07");
    EXPECT_EQ(figures[5].value, "-"); // no tolerance
    EXPECT_EQ(figures[6].value, "3");
}

TEST(QualificationFigures, EachPositionGivesItsReadingNearestTheInstantWithinHalfItsPeriod) {
    // The reference reads every minute from 10:00; the others are taken at the reference's
    // five reading times.
    LoggerArray array;
    array.resize(1, 4, 0);
    array.place(0, 0, record("ref", juneFifth(10, 0), MINUTE, std::vector<double>(5, 20.0)));
    // 20 s later: always the reading 20 s after the instant.
    array.place(0, 1, record("late", juneFifth(10, 0, 20), MINUTE, {1, 2, 3, 4, 5}));
    // Every two minutes: at 10:01 and 10:03 both neighbours lie exactly half a period away,
    // and the earlier one is taken.
    array.place(0, 2, record("slow", juneFifth(10, 0), 2 * MINUTE, {10, 30, 50}));
    // 40 s later with a missing sample: 10:00 has no reading within 30 s, 10:02's nearest is
    // missing and the next is 40 s away, 10:04 is 80 s past the last sample.
    array.place(0, 3, record("gappy", juneFifth(10, 0, 40), MINUTE, {7, NO_VALUE, 9}));

    QualificationSettings settings;
    settings.referencePosition = ArrayPosition{0, 0};
    const Qualification q = qualify(array, settings);
    ASSERT_EQ(q.problem, QualificationProblem::None);
    EXPECT_EQ(q.instants, 5);
    struct Expected {
        int32_t instants;
        double mean, minimum, maximum;
    };
    const Expected expected[] = {
        {5, 20.0, 20, 20}, {5, 3.0, 1, 5}, {5, 26.0, 10, 50}, {2, 8.0, 7, 9}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(q.positions[i].logger);
        EXPECT_EQ(q.positions[i].instants, expected[i].instants);
        EXPECT_EQ(q.positions[i].mean, expected[i].mean);
        EXPECT_EQ(q.positions[i].minimum, expected[i].minimum);
        EXPECT_EQ(q.positions[i].maximum, expected[i].maximum);
    }
    // Spreads per instant: 19, 18, 27, 26, 45 (the reference's 20 against the others).
    EXPECT_EQ(q.meanSpread, (19.0 + 18.0 + 27.0 + 26.0 + 45.0) / 5);
    EXPECT_EQ(q.maximumDeviationFromReference, 30.0);
    EXPECT_EQ(q.overallVariation, 49.0);
    EXPECT_EQ(q.stability, 20.0);
}

TEST(QualificationFigures, LoggersOfAnyPeriodAndOffsetMatchASearchOfEverySample) {
    // Against the definition searched sample by sample: the reading of the least distance in
    // rounded seconds, the earlier of two, within half the position's period. Periods and
    // starts off the whole second put samples on and near the half-period edges.
    std::mt19937 random(2025);
    std::uniform_int_distribution<int> reading(-50, 50);
    const double periods[] = {1.0, 2.5, 3.0, 7.0, 60.0, 61.0, 119.5, 300.0};
    for (int trial = 0; trial < 20; ++trial) {
        SCOPED_TRACE(trial);
        LoggerArray array;
        array.resize(1, 5, 0);
        for (int col = 0; col < 5; ++col) {
            const double period = periods[random() % 8];
            const double offset = (random() % 2000) / 10.0 - 100.0; // seconds, tenths
            const int samples = 300 / std::max(1, static_cast<int>(period / 4)) + 20;
            std::vector<double> values;
            for (int k = 0; k < samples; ++k)
                values.push_back(random() % 10 == 0 ? NO_VALUE : reading(random));
            array.place(0, col,
                        record("L" + std::to_string(col), juneFifth(10, 0) + offset / 86400.0,
                               period, values));
        }
        QualificationSettings settings;
        settings.referencePosition = ArrayPosition{0, 0};
        const Qualification q = qualify(array, settings, juneFifth(9, 0), juneFifth(13, 0));
        if (q.problem == QualificationProblem::NoReferenceReadings)
            continue;
        ASSERT_EQ(q.problem, QualificationProblem::None);

        const LogFile &reference = *array.at(0, 0);
        for (int col = 1; col < 5; ++col) {
            const LogFile &other = *array.at(0, col);
            int32_t count = 0;
            double sum = 0.0;
            for (int32_t j = 0; j < reference.valueCount; ++j) {
                if (reference.values[static_cast<std::size_t>(j)] == NO_VALUE)
                    continue;
                const int64_t instant = roundedSeconds(sampleTime(reference, j));
                double nearest = NO_VALUE;
                int64_t nearestDistance = 0;
                for (int32_t k = 0; k < other.valueCount; ++k) {
                    const double value = other.values[static_cast<std::size_t>(k)];
                    const int64_t distance =
                        std::llabs(roundedSeconds(sampleTime(other, k)) - instant);
                    if (value == NO_VALUE ||
                        2.0 * static_cast<double>(distance) > other.samplePeriod)
                        continue;
                    if (nearest == NO_VALUE || distance < nearestDistance) {
                        nearest = value;
                        nearestDistance = distance;
                    }
                }
                if (nearest != NO_VALUE) {
                    sum += nearest;
                    ++count;
                }
            }
            SCOPED_TRACE(other.samplePeriod);
            EXPECT_EQ(q.positions[static_cast<std::size_t>(col)].instants, count);
            if (count > 0) {
                EXPECT_EQ(q.positions[static_cast<std::size_t>(col)].mean, sum / count);
            }
        }
    }
}

TEST(QualificationFigures, TheStableWindowChoosesTheInstantsAndMissingReferenceReadingsAreNone) {
    LoggerArray array;
    array.resize(1, 2, 0);
    array.place(0, 0, record("ref", juneFifth(10, 0), MINUTE, {1, 2, NO_VALUE, 4, 5, 6}));
    array.place(0, 1, record("other", juneFifth(10, 0), MINUTE, {10, 20, 30, 40, 50, 60}));
    QualificationSettings settings;
    settings.referencePosition = ArrayPosition{0, 0};
    settings.stableStart = juneFifth(10, 1);
    settings.stableFinish = juneFifth(10, 4); // both ends belong to the window
    const Qualification q = qualify(array, settings);
    ASSERT_EQ(q.problem, QualificationProblem::None);
    EXPECT_EQ(q.instants, 3); // 10:01, 10:03, 10:04
    EXPECT_EQ(q.positions[1].mean, (20.0 + 40.0 + 50.0) / 3);
    EXPECT_EQ(q.positions[0].mean, (2.0 + 4.0 + 5.0) / 3);
    EXPECT_EQ(q.overallVariation, 48.0);
}

TEST(QualificationFigures, StabilisationIsFromTheLastReadingOutsideTheBandOnwards) {
    // Minute readings 10:00 to 11:00. One position arrives within 20 +/- 0.5 at 10:10; another
    // dips out once, late, at 10:45.
    constexpr int SAMPLES = 61;
    LoggerArray array = constantArray(1, 3, SAMPLES, SET_POINT);
    std::vector<double> warming(SAMPLES, SET_POINT);
    for (int i = 0; i < 10; ++i)
        warming[static_cast<std::size_t>(i)] = 15.0 + 0.4 * i;
    array.place(0, 0, record("warming", juneFifth(10, 0), MINUTE, warming));
    std::vector<double> dipping(SAMPLES, SET_POINT);
    dipping[45] = SET_POINT - 0.51;
    array.place(0, 2, record("dipping", juneFifth(10, 0), MINUTE, dipping));

    struct Case {
        double stableFinish;
        bool reached;
        double minutes;
    };
    const Case cases[] = {
        {juneFifth(11, 0), true, 46.0},  // the first reading after the dip
        {juneFifth(10, 44), true, 10.0}, // the dip lies after the window
        {juneFifth(10, 45), false, 0.0}, // the window ends on the dip
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(formatDateTime(c.stableFinish));
        QualificationSettings settings = withSetPoint(SET_POINT, 0.5);
        settings.stableStart = juneFifth(10, 30);
        settings.stableFinish = c.stableFinish;
        const Qualification q = qualify(array, settings, juneFifth(10, 0), juneFifth(11, 0));
        ASSERT_EQ(q.problem, QualificationProblem::None);
        ASSERT_TRUE(q.stabilisation);
        EXPECT_EQ(q.stabilisation->found, c.reached);
        if (c.reached) {
            EXPECT_EQ(q.stabilisation->minutes, c.minutes);
            EXPECT_EQ(formatDateTime(q.stabilisation->time),
                      formatDateTime(juneFifth(10, 0) + c.minutes / 1440.0));
        } else {
            EXPECT_EQ(qualificationFigures(q)[5].value, "not reached");
        }
    }
}

TEST(QualificationFigures, ToleranceClassIsTheTightestHoldingEveryReadingEdgesIncluded) {
    struct Case {
        double highest;
        std::optional<int> expected;
        const char *shown;
    };
    const Case cases[] = {
        {SET_POINT + 3, 3, "3"},
        {SET_POINT + 3.01, 6, "6"},
        {SET_POINT + 14, 14, "14"},
        {SET_POINT + 28, 28, "28"},
        {SET_POINT + 28.5, std::nullopt, "none"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.highest);
        LoggerArray array = constantArray(3, 3, 5, SET_POINT);
        // The highest reading comes after the reference's last instant, still in the window:
        // the class holds every reading, not only the compared ones.
        std::vector<double> edge(11, SET_POINT);
        edge.front() = SET_POINT - 2;
        edge.back() = c.highest;
        array.place(0, 0, record("edge", juneFifth(10, 0), MINUTE, edge));
        const Qualification q = qualify(array, withSetPoint(SET_POINT));
        ASSERT_EQ(q.problem, QualificationProblem::None);
        EXPECT_EQ(q.toleranceClass, c.expected);
        EXPECT_EQ(qualificationFigures(q)[6].value, c.shown);
    }
}

TEST(QualificationFigures, AReferenceWithoutReadingsIsAProblem) {
    LoggerArray array = constantArray(3, 3, 5, SET_POINT);
    QualificationSettings settings;
    settings.referencePosition = ArrayPosition{3, 0};
    EXPECT_EQ(qualify(array, settings).problem, QualificationProblem::ReferencePositionOutside);

    array.place(0, 0, nullptr);
    settings.referencePosition = ArrayPosition{0, 0};
    EXPECT_EQ(qualify(array, settings).problem, QualificationProblem::NoReferenceReadings);

    settings.referencePosition.reset();
    settings.stableStart = juneFifth(11, 0);
    const Qualification late = qualify(array, settings);
    EXPECT_EQ(late.problem, QualificationProblem::NoReferenceReadings);
    for (const FigureRow &row : qualificationFigures(late))
        EXPECT_EQ(row.value, "-");
}

// ---- The CSV ---------------------------------------------------------------------------

TEST(QualificationCsv, WritesTheFiguresThenAPositionRowEachWithDashesForWhatIsMissing) {
    // No set point; an empty singular slot. The reference is R1C1, the first of two equally
    // near cells.
    LoggerArray array;
    array.resize(1, 2, 1);
    array.place(0, 0, record("L1", juneFifth(10, 0), MINUTE, {20, 21}));
    array.place(0, 1, record("L2", juneFifth(10, 0), MINUTE, {22, 22}));
    const Qualification q = qualify(array, QualificationSettings{});
    ASSERT_EQ(q.problem, QualificationProblem::None);
    EXPECT_EQ(qualificationCsv(q),
              "Figure,Value,Definition\r\n"
              "uniformity (maximum deviation from reference),2.00,"
              "\"max over i, j of |T[i][j] - T[ref][j]|\"\r\n"
              "uniformity (mean spread),1.50,"
              "mean over j of (max over i of T[i][j] - min over i of T[i][j])\r\n"
              "stability,0.50,"
              "+/- max over i of (max over j of T[i][j] - min over j of T[i][j]) / 2\r\n"
              "overall variation,2.00,max - min of every T[i][j] in the stable window\r\n"
              "set-point deviation,-,mean of every T[i][j] in the stable window - set point\r\n"
              "stabilisation time,-,minutes from the span's start to the earliest reading time "
              "from which every reading of every position to the end of the stable window lies "
              "within set point +/- tolerance\r\n"
              "tolerance class,-,\"the tightest of +/-3, 6, 8, 10, 14, 28 holding every reading "
              "in the stable window within set point +/- class\"\r\n"
              "\r\n"
              "Position,Logger,Mean,Spread,Deviation From Reference,Deviation From Set Point\r\n"
              "R1C1,L1,20.50,1.00,0.00,-\r\n"
              "R1C2,L2,22.00,0.00,1.50,-\r\n"
              "S1,-,-,-,-,-\r\n");
}

// ---- The T values as a matrix ----------------------------------------------------------

TEST(QualificationInstants, HoldExactlyTheTValuesTheFiguresAreTakenOver) {
    // Loggers of any period and offset with missing samples, a reference anywhere (a singular
    // slot too) and a stable window inside the span. Each position's figures, the spread and
    // the deviation from the reference are taken again from the matrix's columns and rows.
    // A one-second reference gives more instants than one block of the walk.
    std::mt19937 random(31);
    std::uniform_int_distribution<int> reading(-50, 50);
    const double periods[] = {1.0, 2.5, 7.0, 60.0, 61.0, 119.5, 300.0};
    for (int trial = 0; trial < 12; ++trial) {
        SCOPED_TRACE(trial);
        LoggerArray array;
        array.resize(2, 2, 1);
        for (int slot = 0; slot < 5; ++slot) {
            const double period = trial == 0 && slot == 0 ? 1.0 : periods[random() % 7];
            const double offset = (random() % 2000) / 10.0 - 100.0; // seconds, tenths
            const int samples = static_cast<int>(4 * 3600 / period) + 2;
            std::vector<double> values;
            for (int k = 0; k < samples; ++k)
                values.push_back(random() % 10 == 0 ? NO_VALUE : reading(random));
            auto made = record("L" + std::to_string(slot), juneFifth(9, 0) + offset / 86400.0,
                               period, values);
            if (slot < 4)
                array.place(slot / 2, slot % 2, std::move(made));
            else
                array.place(-1, 0, std::move(made));
        }
        QualificationSettings settings;
        const ArrayPosition references[] = {{0, 0}, {1, 1}, {SINGULAR_ROW, 0}};
        settings.referencePosition = references[trial % 3];
        settings.stableStart = juneFifth(9, 30);
        settings.stableFinish = juneFifth(12, 15, 30);
        const Qualification q = qualify(array, settings, juneFifth(9, 0), juneFifth(13, 0));
        const QualificationInstants t =
            qualificationInstants(array, juneFifth(9, 0), juneFifth(13, 0), settings);
        ASSERT_EQ(q.problem, QualificationProblem::None);
        ASSERT_EQ(t.problem, QualificationProblem::None);
        EXPECT_EQ(t.reference, q.reference);
        const ReadingInstants &m = t.instants;
        ASSERT_EQ(m.positionCount, q.positions.size());
        ASSERT_EQ(m.count(), static_cast<std::size_t>(q.instants));
        if (trial == 0) {
            EXPECT_GT(m.count(), 4096u);
        }

        double spreadSum = 0.0;
        double largestDeviation = 0.0;
        for (std::size_t j = 0; j < m.count(); ++j) {
            const double own = m.at(j, t.reference);
            ASSERT_NE(own, NO_VALUE);
            EXPECT_GE(m.times[j], *settings.stableStart - 0.5 / 86400.0);
            EXPECT_LE(m.times[j], *settings.stableFinish + 0.5 / 86400.0);
            if (j > 0) {
                EXPECT_GT(m.times[j], m.times[j - 1]);
            }
            double lowest = own;
            double highest = own;
            for (std::size_t i = 0; i < m.positionCount; ++i) {
                const double value = m.at(j, i);
                if (value == NO_VALUE)
                    continue;
                lowest = std::min(lowest, value);
                highest = std::max(highest, value);
                largestDeviation = std::max(largestDeviation, std::fabs(value - own));
            }
            spreadSum += highest - lowest;
        }
        EXPECT_EQ(q.meanSpread, spreadSum / q.instants);
        EXPECT_EQ(q.maximumDeviationFromReference, largestDeviation);
        for (std::size_t i = 0; i < m.positionCount; ++i) {
            SCOPED_TRACE(q.positions[i].position);
            int32_t count = 0;
            double sum = 0.0;
            double lowest = 1e300;
            double highest = -1e300;
            for (std::size_t j = 0; j < m.count(); ++j) {
                const double value = m.at(j, i);
                if (value == NO_VALUE)
                    continue;
                ++count;
                sum += value;
                lowest = std::min(lowest, value);
                highest = std::max(highest, value);
            }
            ASSERT_EQ(count, q.positions[i].instants);
            if (count == 0)
                continue;
            EXPECT_EQ(sum / count, q.positions[i].mean);
            EXPECT_EQ(lowest, q.positions[i].minimum);
            EXPECT_EQ(highest, q.positions[i].maximum);
        }
    }
}

TEST(QualificationInstants, AreRefusedForTheSameProblemsAsTheFigures) {
    LoggerArray array = constantArray(2, 3, 60, SET_POINT);
    array.place(1, 2, nullptr);
    struct Case {
        const char *what;
        std::optional<ArrayPosition> reference;
        double stableStart, stableFinish;
        QualificationProblem problem;
    };
    const Case cases[] = {
        {"window finishing first", std::nullopt, juneFifth(10, 30), juneFifth(10, 20),
         QualificationProblem::StableWindowOrder},
        {"reference outside", ArrayPosition{2, 0}, juneFifth(10, 0), juneFifth(11, 0),
         QualificationProblem::ReferencePositionOutside},
        {"empty reference cell", ArrayPosition{1, 2}, juneFifth(10, 0), juneFifth(11, 0),
         QualificationProblem::NoReferenceReadings},
        {"window after the readings", std::nullopt, juneFifth(11, 30), juneFifth(11, 50),
         QualificationProblem::NoReferenceReadings},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QualificationSettings settings;
        settings.referencePosition = c.reference;
        settings.stableStart = c.stableStart;
        settings.stableFinish = c.stableFinish;
        const QualificationInstants t =
            qualificationInstants(array, juneFifth(10, 0), juneFifth(12, 0), settings);
        EXPECT_EQ(t.problem, c.problem);
        EXPECT_EQ(qualify(array, settings).problem, c.problem);
        EXPECT_EQ(t.instants.count(), 0u);
    }
}
