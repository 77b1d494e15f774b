#pragma once
// Plain data of the calculation that lives in the design case: the correlation
// coefficients per plate type and the results of the last calculation.

#include <array>

namespace orven {

// Rows of the coefficient table; a value is addressed as row * 4 + plate type.
enum class CoefficientRow : int {
    turbulentNusseltFactor = 0,
    turbulentReynoldsExponent = 1,
    laminarNusseltFactor = 2,
    transitionReynolds = 3,
    maxReynolds = 4,
    laminarFrictionFactor = 5,
    turbulentFrictionFactor = 6,
    condensationNusseltFactor = 7,
};

struct PlateTypeCoefficients {
    std::array<double, 32> table{};

    double at(CoefficientRow row, int plateType) const {
        return table[static_cast<std::size_t>(static_cast<int>(row) * 4 + plateType)];
    }
};

// Results of the last calculation. A field keeps its value until a later
// calculation overwrites it; nothing clears the group.
struct CalculationResults {
    double hotVelocity = 0;         // w1, m/s
    double coldVelocity = 0;        // w2, m/s
    double hotReynolds = 0;         // Re1 (condensate Re for a condenser)
    double coldReynolds = 0;        // Re2
    double hotPrandtl = 0;          // Pr1
    double coldPrandtl = 0;         // Pr2
    double hotFilmCoefficient = 0;  // alpha1, W/(m2 K)
    double coldFilmCoefficient = 0; // alpha2, W/(m2 K)
    double overallCoefficient = 0;  // K, W/(m2 K)
    double hotPressureDrop = 0;     // dP1, Pa (cooler only)
    double coldPressureDrop = 0;    // dP2, Pa
    double requiredSurface = 0;     // F_req, m2
    double geometricSurface = 0;    // F_geom, m2
    double surfaceMargin = 0;       // %
};

} // namespace orven
