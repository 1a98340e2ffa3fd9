#pragma once
// The mean kinetic temperature of a series of readings, MKT = H / -ln(mean of exp(-H / T)) in
// kelvin with H = E / R, in a form that survives any activation energy: once the exponentials
// become too small for a double, the largest is factored out of the mean. Used by the
// statistics and by the rolling windows.

#include "core/analysis/statistics.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zqar {

// H = E / R in kelvin for an activation energy E in kJ/mol.
double mktEnthalpy(double activationEnergy);

// -H / T of a reading in degrees: the exponent of its term, as the statistics compute it.
inline double mktExponent(double enthalpy, double reading) {
    return -enthalpy / (reading + ZERO_CELSIUS);
}

// The MKT in degrees when the mean of the exponentials is exp(largestExponent) * scaledMean,
// scaledMean being the mean of exp(exponent - largestExponent) over the readings.
double mktFromScaledMean(double enthalpy, double largestExponent, double scaledMean);

// The MKT of the readings x[0..n) (NO_VALUE skipped, none at or below absolute zero) given
// the plain sum of their exponentials, sum of exp(-H / T) in time order, and the highest
// reading. While that sum is large enough that no term lost digits to underflow, the result is
// the plain formula's, bit for bit; below it the mean is taken with the largest term factored
// out, so the MKT tends to the highest reading as the energy grows instead of collapsing to
// absolute zero.
double meanKineticTemperature(const double *x, int32_t n, double enthalpy, double plainSum,
                              int32_t readings, double highest);

// Activation energies above this many kJ/mol are refused by the window: they are J/mol typed
// into the kJ/mol field.
constexpr double LARGEST_ACTIVATION_ENERGY = 1000.0; // kJ/mol

bool activationEnergyLooksLikeJoules(double activationEnergy);
// The window's message for such an energy, with the text as the user typed it.
std::string activationEnergyInJoulesMessage(std::string_view typedText);

} // namespace zqar
