#include "core/analysis/mkt.h"

#include "resources/analysisTexts.h"
#include "resources/format.h"

#include <cmath>
#include <limits>

namespace zqar {

namespace {

constexpr double JOULES_PER_KILOJOULE = 1000.0;

// A plain sum at least this large lost nothing to underflow: each term below the smallest
// normal double is off by at most half its last subnormal unit, and 2^31 of those stay far
// below one unit in the last place of such a sum.
constexpr double SMALLEST_SAFE_SUM =
    std::numeric_limits<double>::min() / std::numeric_limits<double>::epsilon();

} // namespace

double mktEnthalpy(double activationEnergy) {
    return (activationEnergy * JOULES_PER_KILOJOULE) / GAS_CONSTANT;
}

double mktFromScaledMean(double enthalpy, double largestExponent, double scaledMean) {
    return enthalpy / -(largestExponent + std::log(scaledMean)) - ZERO_CELSIUS;
}

double meanKineticTemperature(const double *x, int32_t n, double enthalpy, double plainSum,
                              int32_t readings, double highest) {
    if (plainSum >= SMALLEST_SAFE_SUM)
        return enthalpy / (-std::log(plainSum / readings)) - ZERO_CELSIUS;
    // The highest reading's term is exactly 1 here, so the scaled sum lies from 1 to the count
    // of readings and neither it nor its logarithm can leave the range of a double.
    const double largestExponent = mktExponent(enthalpy, highest);
    double scaledSum = 0.0;
    for (int32_t k = 0; k < n; ++k)
        if (x[k] != NO_VALUE)
            scaledSum += std::exp(mktExponent(enthalpy, x[k]) - largestExponent);
    return mktFromScaledMean(enthalpy, largestExponent, scaledSum / readings);
}

bool activationEnergyLooksLikeJoules(double activationEnergy) {
    return activationEnergy > LARGEST_ACTIVATION_ENERGY;
}

std::string activationEnergyInJoulesMessage(std::string_view typedText) {
    return text::format(text::ACTIVATION_ENERGY_IN_JOULES, std::string(typedText));
}

} // namespace zqar
