#pragma once
// The initial data of a design: 14 numbers in slots 1..14 of the design case.
// Each is typed as text (valueTexts), read into a number by parseNumber
// (values), and checked against its admissible interval by checkInitialData
// before the exchanger selection may use it.

#include <QString>

namespace orven {

struct DesignCase;

// Slot numbers of the initial data.
enum class InitialData : int {
    HotMassFlow = 1,           // kg/s
    HotConductivity,           // W/(m K)
    HotDensity,                // kg/m3
    HotViscosity,              // Pa s
    HotHeatCapacity,           // J/(kg K)
    ColdMassFlow,              // kg/s
    ColdConductivity,          // W/(m K)
    ColdDensity,               // kg/m3
    ColdViscosity,             // Pa s
    ColdHeatCapacity,          // J/(kg K)
    MeanTemperatureDifference, // K
    ThermalResistance,         // wall and fouling, m2 K/W
    HeatLoad,                  // W
    DrivingForceFactor,        // dimensionless
};

constexpr int slotOf(InitialData parameter) {
    return static_cast<int>(parameter);
}

// Admissible interval of one slot: lower < v, and v <= upper when hasUpper.
struct AdmissibleRange {
    double lower = 0;
    double upper = 0;
    bool hasUpper = true;
};

// The admissible interval of initial-data slot 1..14 (the same for a cooler
// and a condenser).
const AdmissibleRange& admissibleRange(int slot);

// Whether v lies in the admissible interval of slot 1..14. Infinite and NaN
// values never do.
bool isAdmissible(int slot, double v);

// The number at the start of a value text. Blanks, tabs and line feeds are
// ignored wherever they stand. Accepts an optional sign, digits with at most
// one point, and an exponent E or D (either case) with optional sign and
// digits; "&H" and "&O" (either case) read a hexadecimal or octal integer.
// Reading stops at the first character that cannot continue the number
// ("12,5" gives 12); a text without a leading number gives 0. Numbers beyond
// the double range give +-inf, those too small give 0.
double parseNumber(const QString& text);

// Range check of values slots 1..14: firstInvalidParameter becomes the first
// slot outside its interval (0 when none is) and initialDataInvalid says
// whether there is one.
void checkInitialData(DesignCase& designCase);

// values[slot] = parseNumber(valueTexts[slot]), for slot 1..26.
void refreshValue(DesignCase& designCase, int slot);

} // namespace orven
