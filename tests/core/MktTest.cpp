#include "core/analysis/mkt.h"
#include "core/analysis/statistics.h"

#include "support/Records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace zqar;
using namespace zqar::testing;

namespace {

// The MKT of minute readings over all of them.
std::optional<double> mktOf(const std::vector<double> &values, double activationEnergy) {
    StatisticsSettings settings;
    settings.activationEnergy = activationEnergy;
    const double start = dayAt(2024, 3, 1);
    const LoggerArray array = arrayOf(recordWith("a", start, 60.0, values));
    const double finish = start + static_cast<double>(values.size()) / 1440.0;
    return computeStatistics(array, start, finish, settings).positions.at(0).mkt;
}

} // namespace

TEST(Mkt, MatchesFiftyDigitReferencesAtAnyActivationEnergy) {
    struct Case {
        std::vector<double> values;
        double energy; // kJ/mol
        double expected;
    };
    // Worked out with 60-digit decimal arithmetic (wide enough exponents that nothing
    // underflows) from MKT = (E/R) / -ln(mean of exp(-(E/R) / T)) - 273.15, R = 8.3144.
    const Case cases[] = {
        // The plain sum holds these.
        {{20, 30}, 83.144, 26.259886916003410261165810805155601803734961205630},
        {{20, 25, 30}, 1000, 29.163856695180118239615091127599392686392681040766},
        // Terms below the smallest normal double: the plain sum keeps only a few digits, and
        // its MKT is off by 8e-6.
        {{20, 25, 30}, 1850, 29.546927773419728806691647974845615861044876633186},
        // Every term underflows to zero in the plain sum.
        {{20, 25, 30}, 83144, 29.989904097819668217382331920869583718877495674347},
        {{4, -1, 7, 7, 2, 10, 0, 5}, 83144, 9.9833292830610064620027429262995810784024342584348},
        {{-20.5, -18.25, -19}, 83144, -18.257137924695222045592539800627447555367567466919},
        {{2, 8, 5.5, 3.25}, 83144, 7.9890424185935673367339930576150494878525117574433},
        {{2, 8, 5.5, 3.25}, 1e9, 7.9999990889073454369515780415655721830953295605407},
        {{20, 25, 30}, 1e9, 29.999999160558355247167490124261482158456253714467},
        {{5, 5, 5}, 1e9, 5.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.energy);
        const std::optional<double> mkt = mktOf(c.values, c.energy);
        ASSERT_TRUE(mkt);
        EXPECT_NEAR(*mkt, c.expected, 1e-9);
    }
}

TEST(Mkt, KeepsThePlainFormulasDigitsWhileItsSumHoldsThem) {
    // Existing outputs must not move by a bit: the plain sum in time order, then the formula.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> temperature(-30.0, 60.0);
    std::vector<double> values(5000);
    for (double &v : values)
        v = temperature(random);
    for (const double energy : {60.0, 83.144, 400.0, 1000.0}) {
        const double enthalpy = (energy * 1000.0) / GAS_CONSTANT;
        double sum = 0.0;
        for (const double v : values)
            sum += std::exp(-enthalpy / (v + ZERO_CELSIUS));
        const double plain =
            enthalpy / (-std::log(sum / static_cast<int32_t>(values.size()))) - ZERO_CELSIUS;
        EXPECT_EQ(mktOf(values, energy), plain) << energy;
    }
}

TEST(Mkt, TendsToTheHighestReadingAsTheEnergyGrows) {
    const std::vector<double> values{20, 25, 30, 22};
    double previous = -ZERO_CELSIUS;
    for (double energy = 10.0; energy <= 1e12; energy *= 10.0) {
        const std::optional<double> mkt = mktOf(values, energy);
        ASSERT_TRUE(mkt) << energy;
        EXPECT_GE(*mkt, previous) << energy;
        EXPECT_LE(*mkt, 30.0) << energy;
        previous = *mkt;
    }
    EXPECT_NEAR(previous, 30.0, 1e-6);
}

TEST(Mkt, AnActivationEnergyAboveAThousandLooksLikeJoules) {
    EXPECT_FALSE(activationEnergyLooksLikeJoules(83.144));
    EXPECT_FALSE(activationEnergyLooksLikeJoules(1000.0));
    EXPECT_TRUE(activationEnergyLooksLikeJoules(1000.5));
    EXPECT_TRUE(activationEnergyLooksLikeJoules(83144.0));
    EXPECT_EQ(activationEnergyInJoulesMessage("83144"),
              "The activation energy is in kJ/mol: 83144 looks like J/mol.");
}
