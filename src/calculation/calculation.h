#pragma once
// Thermal and hydraulic calculation of a plate heat exchanger.
//
// Data flow: the initial data come from DesignCase::workingInitialData (the copy
// taken when the exchanger selection opened), the plate area from values[17],
// the channel geometry from DesignCase::plateGeometry and the packs and channels
// from DesignCase::plateArrangement. calculateExchanger() writes its results into
// DesignCase::calculationResults step by step; resultWarnings() then reads them
// and tells the results screen and the report which warnings to show.
//
// The calculation has no screen logic; it reports a fault as a status and the
// screens turn the status into text.

#include "calculation/result_warnings.h"
#include "core/calculation_data.h"

#include <QList>
#include <QStringList>

namespace orven {

struct DesignCase;

enum class CalculationStatus { Completed, InputError };

enum class FlowRegime { Laminar, Turbulent };

// Coefficients of one Nusselt correlation (Nu = A * Re^n * Pr^m) and of the
// matching friction factor B / Re^k.
struct Correlation {
    double a = 0; // A
    double n = 0; // Reynolds exponent
    double m = 0; // Prandtl exponent
    double k = 0; // friction exponent
    double b = 0; // B
};

// The correlation of a channel flow on plate type t in a regime.
Correlation channelCorrelation(const PlateTypeCoefficients& coefficients, int plateType,
                               FlowRegime regime);
// The correlation of the condensing steam of a condenser on plate type t (no friction).
Correlation condensationCorrelation(const PlateTypeCoefficients& coefficients, int plateType);

// x raised to the real power p, computed as exp(p * ln x). Defined for x > 0 only;
// for any other x the result is NaN, which the calculation treats as an input error.
double power(double x, double p);

// Fills the 8 x 4 table of correlation coefficients with its fixed values.
void fillPlateTypeCoefficients(DesignCase& designCase);

// Flow regime for a Reynolds number on the given plate type: turbulent at or
// above the transition Reynolds number of the plate.
FlowRegime flowRegime(const PlateTypeCoefficients& coefficients, int plateType, double reynolds);

// Runs the whole calculation on the design case and stores its results.
CalculationStatus calculateExchanger(DesignCase& designCase);

// The warnings that hold for the results of the last completed calculation
// (calculation/result_warnings.h), in the order in which they are shown.
// Reads the design case without changing it.
QList<ResultWarning> resultWarnings(const DesignCase& designCase);
// The same as bits (1 << ResultWarning), without a list: for loops over many
// variants.
unsigned resultWarningFlags(const DesignCase& designCase);
// The warnings of such bits, in the order in which they are shown.
QList<ResultWarning> warningsOfFlags(unsigned flags);

// What the warnings are decided on for results of the design case's plate and
// type (its last calculation's, unless given).
WarningInputs warningInputs(const DesignCase& designCase);
WarningInputs warningInputs(const DesignCase& designCase, const CalculationResults& results);

// The one or two message lines of a warning, exactly as shown and printed.
QStringList warningMessages(ResultWarning warning);

} // namespace orven
