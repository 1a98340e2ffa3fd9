// The Statistics window's rule and exclusion commands on a job without any window: what they
// refuse with which message, and the one change they tell the job's listeners.

#include "core/job/Job.h"
#include "pages/analysis/statisticsCommands.h"
#include "platform/memory/MemoryHost.h"

#include "support/Records.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

using namespace zqar;
using namespace zqar::testing;

namespace {

class RulesAndExclusions : public ::testing::Test {
protected:
    void SetUp() override {
        job.loggerArray.resize(1, 2, 1);
        job.loggerArray.place(0, 0, recordWith("10231", dayAt(2025, 6, 2), 600.0, {1, 2, 3}));
        job.listen([this](const JobChange &change) { changes.push_back(change.what); });
    }
    // The texts of the message boxes since the last call.
    std::vector<std::string> messages() {
        std::vector<std::string> texts;
        for (const platform::RecordedMessage &message : host.takeMessages()) {
            EXPECT_EQ(message.caption, "Statistics");
            texts.push_back(message.text);
        }
        return texts;
    }

    platform::MemoryHost host;
    Job job;
    std::vector<unsigned> changes;
};

} // namespace

TEST_F(RulesAndExclusions, ARuleIsTakenAsTypedWithoutItsBlanksAndRemovedByIndex) {
    EXPECT_EQ(addAlarmRule(job, host, "above,8,sometimes,60").kind, CommandOutcome::Kind::Failed);
    EXPECT_EQ(messages(), std::vector<std::string>{"above,8,sometimes,60 is not an alarm rule: "
                                                   "above|below,THRESHOLD,single|cumulative,"
                                                   "MINUTES[,day]."});
    EXPECT_TRUE(job.alarmRules.empty());
    EXPECT_TRUE(changes.empty());

    ASSERT_EQ(addAlarmRule(job, host, "  above,8,single,60 ").kind,
              CommandOutcome::Kind::Completed);
    ASSERT_EQ(addAlarmRule(job, host, "below,2,cumulative,30,day").kind,
              CommandOutcome::Kind::Completed);
    ASSERT_EQ(job.alarmRules.size(), 2u);
    EXPECT_EQ(job.alarmRules[0].spec, "above,8,single,60") << "the Rule column of the alarms";
    EXPECT_EQ(changes, (std::vector<unsigned>{JobChange::ALARM_RULES, JobChange::ALARM_RULES}));

    changes.clear();
    EXPECT_FALSE(removeAlarmRule(job, 2));
    EXPECT_TRUE(changes.empty()) << "nothing removed, nothing told";
    EXPECT_TRUE(removeAlarmRule(job, 0));
    ASSERT_EQ(job.alarmRules.size(), 1u);
    EXPECT_EQ(job.alarmRules[0].spec, "below,2,cumulative,30,day");
    EXPECT_EQ(changes, std::vector<unsigned>{JobChange::ALARM_RULES});
    EXPECT_TRUE(messages().empty());
}

TEST_F(RulesAndExclusions, AnEntryNeedsALoggerTimesInOrderAndAReason) {
    const double start = dayAt(2025, 6, 2);
    const double sixAm = dayAt(2025, 6, 2, 6);
    struct Case {
        int row, col;
        const char *first, *last, *reason;
        const char *problem; // empty: taken
    };
    const std::string noLogger = "No logger is placed at the position of the exclusion.";
    const std::string badTimes = "The times must read as dates and times (such as 02-Jun-2025 "
                                 "06:00AM), the first not after the last.";
    const std::string noReason = "Give the reason for leaving the readings out.";
    const Case cases[] = {
        {0, 1, "02-Jun-2025 12:00AM", "02-Jun-2025 06:00AM", "door", noLogger.c_str()},
        {-1, 0, "02-Jun-2025 12:00AM", "02-Jun-2025 06:00AM", "door", noLogger.c_str()},
        {-1, -1, "02-Jun-2025 12:00AM", "02-Jun-2025 06:00AM", "door", noLogger.c_str()},
        {0, 0, "early morning", "02-Jun-2025 06:00AM", "door", badTimes.c_str()},
        {0, 0, "02-Jun-2025 12:00AM", "", "door", badTimes.c_str()},
        {0, 0, "02-Jun-2025 06:00AM", "02-Jun-2025 05:59AM", "door", badTimes.c_str()},
        {0, 0, "02-Jun-2025 12:00AM", "02-Jun-2025 06:00AM", " \t ", noReason.c_str()},
        {0, 0, "02-Jun-2025 06:00AM", "02-Jun-2025 06:00AM", "one reading", ""},
        {0, 0, " 02-Jun-2025 12:00AM", "02-Jun-2025 06:00AM ", " door, then fan ", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.first) + " / " + c.last + " / " + c.reason);
        const ExclusionReading reading =
            readExclusionEntry(job.loggerArray, {c.row, c.col, c.first, c.last, c.reason});
        EXPECT_EQ(reading.exclusion.has_value(), *c.problem == '\0');
        EXPECT_EQ(reading.problem, std::string_view(c.problem));
    }
    const ExclusionReading whole =
        readExclusionEntry(job.loggerArray, {0, 0, " 02-Jun-2025 12:00AM", "02-Jun-2025 06:00AM ",
                                             " door, then fan "});
    ASSERT_TRUE(whole.exclusion);
    EXPECT_EQ(whole.exclusion->first, start);
    EXPECT_EQ(whole.exclusion->last, sixAm);
    EXPECT_EQ(whole.exclusion->reason, "door, then fan");
}

TEST_F(RulesAndExclusions, AnExclusionJoinsTheJobOnlyWhenItReads) {
    const ExclusionEntry wrong{0, 1, "02-Jun-2025 12:00AM", "02-Jun-2025 06:00AM", "door"};
    EXPECT_EQ(addExclusion(job, host, wrong).kind, CommandOutcome::Kind::Failed);
    EXPECT_EQ(messages(),
              std::vector<std::string>{"No logger is placed at the position of the exclusion."});
    EXPECT_TRUE(job.exclusions.empty());
    EXPECT_TRUE(changes.empty());

    ExclusionEntry right = wrong;
    right.col = 0;
    ASSERT_EQ(addExclusion(job, host, right).kind, CommandOutcome::Kind::Completed);
    ASSERT_EQ(job.exclusions.size(), 1u);
    EXPECT_EQ(job.exclusions[0].reason, "door");
    EXPECT_EQ(changes, std::vector<unsigned>{JobChange::EXCLUSIONS});

    changes.clear();
    EXPECT_FALSE(removeExclusion(job, 1));
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(removeExclusion(job, 0));
    EXPECT_TRUE(job.exclusions.empty());
    EXPECT_EQ(changes, std::vector<unsigned>{JobChange::EXCLUSIONS});
    EXPECT_TRUE(messages().empty());
}
