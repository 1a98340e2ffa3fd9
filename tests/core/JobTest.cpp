// The job's analysis array: the placed records themselves without a calibration table, and
// corrected copies with one, kept until the records, the layout or the table change.

#include "core/job/Job.h"
#include "support/Records.h"

#include <gtest/gtest.h>

using namespace zqar;
using namespace zqar::testing;

namespace {

CalibrationTable tableFor(const std::string &logger, double correction) {
    CalibrationTable table;
    table.loggers.push_back({logger, "C", 0.0, 1e6, {{20.0, correction}}});
    return table;
}

TEST(Job, AnalysesTheRecordsThemselvesWithoutACalibrationTable) {
    Job job;
    job.loggerArray.resize(1, 1, 0);
    job.loggerArray.place(0, 0, recordWith("a", 0.0, 60.0, {20.0, 21.0}));
    EXPECT_EQ(&job.analysisArray(), &job.loggerArray);
}

TEST(Job, CorrectedCopiesFollowTheRecordsAndTheTable) {
    Job job;
    int calibrationChanges = 0;
    job.listen([&](const JobChange &change) {
        calibrationChanges += change.touches(JobChange::CALIBRATION);
    });
    job.loggerArray.resize(1, 2, 0);
    job.loggerArray.place(0, 0, recordWith("a", 0.0, 60.0, {20.0, NO_VALUE}));
    job.loggerArray.place(0, 1, recordWith("b", 0.0, 60.0, {20.0}));
    job.setCalibration(tableFor("a", 0.5), {"/cal.csv", {}});
    EXPECT_EQ(calibrationChanges, 1);

    const LoggerArray &corrected = job.analysisArray();
    ASSERT_NE(&corrected, &job.loggerArray);
    EXPECT_EQ(corrected.at(0, 0)->values, (std::vector<double>{20.5, NO_VALUE}));
    EXPECT_EQ(corrected.at(0, 1)->values, (std::vector<double>{20.0}));
    EXPECT_EQ(job.loggerArray.at(0, 0)->values.front(), 20.0) << "the records stay raw";
    EXPECT_EQ(&job.analysisArray(), &corrected) << "kept while nothing changes";

    job.loggerArray.place(0, 0, recordWith("a", 0.0, 60.0, {30.0}));
    job.changed(JobChange::RECORDS);
    EXPECT_EQ(job.analysisArray().at(0, 0)->values, (std::vector<double>{30.5}));

    job.setCalibration(tableFor("b", -1.0), {"/other.csv", {}});
    EXPECT_EQ(job.analysisArray().at(0, 0)->values, (std::vector<double>{30.0}));
    EXPECT_EQ(job.analysisArray().at(0, 1)->values, (std::vector<double>{19.0}));

    job.clearCalibration();
    EXPECT_EQ(&job.analysisArray(), &job.loggerArray);
    EXPECT_EQ(job.calibrationFile(), "");
    EXPECT_EQ(calibrationChanges, 3);
}

} // namespace
