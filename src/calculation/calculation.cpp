#include "calculation/calculation.h"

#include "core/design_case.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace orven {

namespace {

// Stores a computed result unless it is infinite or undefined.
bool store(double& field, double value) {
    if (!std::isfinite(value)) {
        return false;
    }
    field = value;
    return true;
}

} // namespace

Correlation channelCorrelation(const PlateTypeCoefficients& c, int t, FlowRegime regime) {
    if (regime == FlowRegime::Turbulent) {
        return {c.at(CoefficientRow::turbulentNusseltFactor, t),
                c.at(CoefficientRow::turbulentReynoldsExponent, t), 0.43, 0.25,
                c.at(CoefficientRow::turbulentFrictionFactor, t)};
    }
    return {c.at(CoefficientRow::laminarNusseltFactor, t), 0.33, 0.33, 1.0,
            c.at(CoefficientRow::laminarFrictionFactor, t)};
}

Correlation condensationCorrelation(const PlateTypeCoefficients& c, int t) {
    return {c.at(CoefficientRow::condensationNusseltFactor, t), 0.7, 0.4, 0, 0};
}

double power(double x, double p) {
    if (!(x > 0)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    // A design's variants, calculated by the thousand, repeat most of these:
    // the Prandtl numbers are the design's, a Reynolds number the same for
    // every layout with that stream's packs. The last results are kept by the
    // bits of x and p, per thread; a result kept is the one computed again.
    struct Kept {
        std::uint64_t x = 0; // no x > 0 has these bits
        std::uint64_t p = 0;
        double value = 0;
    };
    constexpr std::size_t keptCount = 4096; // 96 KiB a thread
    thread_local std::array<Kept, keptCount> kept{};
    const auto xBits = std::bit_cast<std::uint64_t>(x);
    const auto pBits = std::bit_cast<std::uint64_t>(p);
    const std::uint64_t mixed = (xBits ^ (pBits * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
    Kept& slot = kept[mixed >> (64 - std::countr_zero(keptCount))]; // the top bits
    if (slot.x != xBits || slot.p != pBits) {
        slot = {xBits, pBits, std::exp(p * std::log(x))};
    }
    return slot.value;
}

void fillPlateTypeCoefficients(DesignCase& designCase) {
    // Columns: plate 0.2 m2, 0.3 m2, 0.5 m2 "Е", 0.5 m2 "Г"; rows as in CoefficientRow.
    designCase.plateTypeCoefficients.table = {
        0.086, 0.1,   0.135, 0.165, // turbulentNusseltFactor
        0.73,  0.73,  0.73,  0.65,  // turbulentReynoldsExponent
        0.5,   0.6,   0.63,  0.46,  // laminarNusseltFactor
        100,   100,   50,    200,   // transitionReynolds
        30000, 30000, 30000, 50000, // maxReynolds
        200,   425,   485,   210,   // laminarFrictionFactor
        17,    19.3,  22.4,  4.0,   // turbulentFrictionFactor (4.0 for the "Г" plate is right)
        338,   322,   240,   376,   // condensationNusseltFactor
    };
}

FlowRegime flowRegime(const PlateTypeCoefficients& coefficients, int plateType, double reynolds) {
    return reynolds >= coefficients.at(CoefficientRow::transitionReynolds, plateType)
               ? FlowRegime::Turbulent
               : FlowRegime::Laminar;
}

// Faults of the input. The arrangement dialogue accepts any channel count, so a
// channel total of zero or below, or a sum N1 + N2 - 2 outside the 16-bit range,
// can reach this point; both are rejected before anything is written, so such a
// run leaves every result of the previous calculation in place. Any other
// arithmetic fault (a division by zero, a power of a non-positive number) shows
// up as an infinite or undefined value: each value is checked before it is
// stored, and the first bad one ends the calculation with InputError. Results
// stored by the steps before it stay, the later ones keep their previous values,
// just as for a condenser without surface.
CalculationStatus calculateExchanger(DesignCase& designCase) {
    const auto& in = designCase.workingInitialData;
    const double g1 = in[1];      // hot mass flow, kg/s
    const double lambda1 = in[2]; // hot thermal conductivity, W/(m K)
    const double rho1 = in[3];    // hot density, kg/m3
    const double mu1 = in[4];     // hot dynamic viscosity, Pa s
    const double c1 = in[5];      // hot heat capacity, J/(kg K)
    const double g2 = in[6];      // the same five for the cold stream
    const double lambda2 = in[7];
    const double rho2 = in[8];
    const double mu2 = in[9];
    const double c2 = in[10];
    const double dt = in[11];      // mean temperature difference, K
    const double sumR = in[12];    // wall and fouling resistances, m2 K/W
    const double q = in[13];       // heat load, W
    const double epsilon = in[14]; // driving force correction, -

    const PlateGeometry& geo = designCase.plateGeometry;
    const int t = geo.plateType;
    const double plateArea = designCase.values[17]; // F_pl, m2
    const double len = geo.reducedChannelLength;    // L, m
    const double f = geo.channelCrossSection;       // f, m2
    const double de = geo.equivalentDiameter;       // d_e, m
    const double dsh = geo.nozzleDiameter;          // d_sh, m

    const PlateArrangement& arr = designCase.plateArrangement;
    const std::int16_t x1 = arr.hotPackCount; // X1
    const double x2 = arr.coldPackCount;      // X2, may be fractional
    const std::int16_t n1 = arr.hotChannelTotal;
    const std::int16_t n2 = arr.coldChannelTotal;

    const PlateTypeCoefficients& coeff = designCase.plateTypeCoefficients;
    const bool condenser = designCase.exchangerType == ExchangerType::Condenser;
    CalculationResults& r = designCase.calculationResults;
    constexpr auto error = CalculationStatus::InputError;

    const int plates = int(n1) + int(n2) - 2;
    if (n1 <= 0 || n2 <= 0 || plates > std::numeric_limits<std::int16_t>::max()) {
        return error;
    }

    // 1. Geometric surface F_geom = (N1 + N2 - 2) * F_pl, m2.
    const double fGeom = plates * plateArea;
    if (!store(r.geometricSurface, fGeom)) {
        return error;
    }
    // 2. Hot channel velocity w1 = X1 * G1 / rho1 / N1 / f, m/s.
    const double w1 = x1 * g1 / rho1 / n1 / f;
    if (!store(r.hotVelocity, w1)) {
        return error;
    }
    // 3. Hot Reynolds number Re1 = d_e * w1 * rho1 / mu1.
    double re1 = de * w1 * rho1 / mu1;
    if (!store(r.hotReynolds, re1)) {
        return error;
    }
    // 4. Cold channel velocity w2 = G2 * X2 / rho2 / N2 / f, m/s.
    const double w2 = g2 * x2 / rho2 / n2 / f;
    if (!store(r.coldVelocity, w2)) {
        return error;
    }
    // 5. Cold Reynolds number Re2 = w2 * d_e * rho2 / mu2.
    const double re2 = w2 * de * rho2 / mu2;
    if (!store(r.coldReynolds, re2)) {
        return error;
    }
    // 6. Prandtl numbers Pr = c * mu / lambda.
    const double pr1 = c1 * mu1 / lambda1;
    if (!store(r.hotPrandtl, pr1)) {
        return error;
    }
    const double pr2 = c2 * mu2 / lambda2;
    if (!store(r.coldPrandtl, pr2)) {
        return error;
    }

    // 7./8. Hot-side correlation and its characteristic length ell, m.
    Correlation hot;
    double ell = 0;
    if (condenser) {
        // A condenser without surface cannot be calculated (the condensate
        // Reynolds number divides by it).
        if (fGeom == 0) {
            return error;
        }
        // Condensate Reynolds number Re1 = L * G1 / mu1 / F_geom; Nu = A * Re^0.7 * Pr^0.4.
        re1 = len * g1 / mu1 / fGeom;
        if (!store(r.hotReynolds, re1)) {
            return error;
        }
        hot = condensationCorrelation(coeff, t);
        ell = len;
    } else {
        // Only Condenser exactly is a condenser here; any other type is a cooler.
        hot = channelCorrelation(coeff, t, flowRegime(coeff, t, re1));
        ell = de;
    }

    // 9. Hot film coefficient alpha1 = A * lambda1 * Re1^n * Pr1^m / ell, W/(m2 K).
    const double alpha1 = hot.a * lambda1 * power(re1, hot.n) * power(pr1, hot.m) / ell;
    if (!store(r.hotFilmCoefficient, alpha1)) {
        return error;
    }

    // 10. Hot pressure drop (cooler only; a condenser leaves the field untouched):
    //     nozzle velocity w_n1 = G1 * 4 / rho1 / (d_sh * d_sh) / pi, m/s, with pi
    //     as 3.1415927; dP1 = (3 * w_n1^2 + X1 * B * L * w1^2 / Re1^k / d_e) * rho1 / 2, Pa
    //     (three velocity heads in the nozzles plus the friction of X1 packs).
    if (!condenser) {
        const double wn1 = g1 * 4 / rho1 / (dsh * dsh) / 3.1415927;
        const double dp1 =
            (3 * wn1 * wn1 + x1 * hot.b * len * w1 * w1 / power(re1, hot.k) / de) * rho1 / 2;
        if (!store(r.hotPressureDrop, dp1)) {
            return error;
        }
    }

    // 11. Cold-side correlation, for both types chosen by Re2 as for a cooler.
    const Correlation cold = channelCorrelation(coeff, t, flowRegime(coeff, t, re2));

    // 12. Cold film coefficient alpha2 = A * lambda2 * Re2^n * Pr2^m / d_e, W/(m2 K).
    const double alpha2 = cold.a * lambda2 * power(re2, cold.n) * power(pr2, cold.m) / de;
    if (!store(r.coldFilmCoefficient, alpha2)) {
        return error;
    }

    // 13. Cold pressure drop, Pa: channel friction P = B * X2 * L * w2^2 / Re2^k / d_e;
    //     nozzle factor C = 15.2788743 / 3.1415928 (three velocity heads, 48 / pi^2);
    //     S = (G2 / rho2 / (d_sh * d_sh))^2; dP2 = (S * C + P) * rho2 / 2.
    const double p = cold.b * x2 * len * w2 * w2 / power(re2, cold.k) / de;
    const double nozzleFactor = 15.2788743 / 3.1415928;
    const double s0 = g2 / rho2 / (dsh * dsh);
    const double s = s0 * s0;
    const double dp2 = (s * nozzleFactor + p) * rho2 / 2;
    if (!store(r.coldPressureDrop, dp2)) {
        return error;
    }

    // 14. Overall coefficient K = 1 / (1 / alpha1 + sum r + 1 / alpha2), W/(m2 K).
    const double k = 1 / (1 / alpha1 + sumR + 1 / alpha2);
    if (!store(r.overallCoefficient, k)) {
        return error;
    }
    // 15. Required surface F_req = Q / K / dt / epsilon, m2.
    const double fReq = q / k / dt / epsilon;
    if (!store(r.requiredSurface, fReq)) {
        return error;
    }
    // 16. Surface margin (F_geom - F_req) / F_req * 100, %.
    const double margin = (fGeom - fReq) / fReq * 100;
    if (!store(r.surfaceMargin, margin)) {
        return error;
    }
    return CalculationStatus::Completed;
}

QList<ResultWarning> resultWarnings(const DesignCase& designCase) {
    return warningsOfFlags(resultWarningFlags(designCase));
}

QList<ResultWarning> warningsOfFlags(unsigned flags) {
    QList<ResultWarning> warnings;
    for (const ResultWarningRule& rule : resultWarningRules) {
        if (flags & warningBit(rule.warning)) {
            warnings.append(rule.warning);
        }
    }
    return warnings;
}

WarningInputs warningInputs(const DesignCase& designCase) {
    return warningInputs(designCase, designCase.calculationResults);
}

WarningInputs warningInputs(const DesignCase& designCase, const CalculationResults& results) {
    // The hot pressure drop belongs to the last calculation only when it ran as
    // a cooler, i.e. for any type other than Condenser.
    return {results,
            designCase.plateTypeCoefficients.at(CoefficientRow::maxReynolds,
                                                designCase.plateGeometry.plateType),
            designCase.exchangerType == ExchangerType::Condenser};
}

unsigned resultWarningFlags(const DesignCase& designCase) {
    const WarningInputs in = warningInputs(designCase);
    unsigned flags = 0;
    for (const ResultWarningRule& rule : resultWarningRules) {
        if (rule.holds(in)) {
            flags |= warningBit(rule.warning);
        }
    }
    return flags;
}

QStringList warningMessages(ResultWarning warning) {
    return ruleOf(warning).messages();
}

} // namespace orven
