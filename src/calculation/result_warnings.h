#pragma once
// The warnings about a completed calculation, each defined once: when it holds,
// the lines the results screen and the report show, and the words the
// teacher's key uses for it (its name in a count table, why a variant fails,
// how far past its limit a variant is, its line in a worked calculation).
// Everything that lists the warnings walks resultWarningRules, so a new
// warning is a new enumerator and a new row here.

#include "core/calculation_data.h"
#include "core/text_format.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstddef>

namespace orven {

// In the order in which they are shown.
enum class ResultWarning { FormulaAccuracy, HighResistance, InsufficientSurface, ExcessiveSurface };

// Pressure drop above which the hydraulic resistance is called high, Pa.
constexpr double highResistanceLimit = 50000.0;
// Surface margin from which the surface is called excessive, %.
constexpr double excessiveMarginLimit = 70.0;

// What a warning is decided on: the results, the largest Reynolds number the
// plate's formulas hold for, and whether the hot stream condenses (a condenser
// has no hot pressure drop).
struct WarningInputs {
    const CalculationResults& results;
    double maxReynolds = 0;
    bool condenser = false;
};

// A result as the key's texts show it: two decimals, no padding.
inline QString warningNumber(double value) {
    return formatFixed(value, 0, 2).trimmed();
}
// A number put into a formula: six significant digits.
inline QString formulaNumber(double value) {
    return QString::number(value, 'g', 6);
}

struct ResultWarningRule {
    ResultWarning warning;
    bool (*holds)(const WarningInputs& in);
    // The one or two message lines, exactly as shown and printed.
    QStringList (*messages)();
    // The group of variants it rules out, in the key's count of them.
    QString (*groupName)();
    // Why a variant with it does not suit.
    QString (*reason)(const WarningInputs& in);
    // How far past the limit, in per cent of it: the nearer of unsuitable variants first.
    double (*shortfall)(const WarningInputs& in);
    // Its line in a worked calculation, said whether it holds or not; empty
    // where another warning's line covers it.
    QString (*protocolLine)(const WarningInputs& in);
};

namespace warning_detail {
inline double pastLimit(double value, double limit) {
    return (value - limit) / limit * 100;
}
inline double largestDrop(const WarningInputs& in) {
    return in.condenser ? in.results.coldPressureDrop
                        : std::max(in.results.hotPressureDrop, in.results.coldPressureDrop);
}
inline QString exceeded(bool holds) {
    return holds ? QStringLiteral("превышен") : QStringLiteral("не превышен");
}
} // namespace warning_detail

inline const std::array<ResultWarningRule, 4> resultWarningRules{{
    {ResultWarning::FormulaAccuracy,
     [](const WarningInputs& in) {
         return in.results.hotReynolds > in.maxReynolds || in.results.coldReynolds > in.maxReynolds;
     },
     [] {
         return QStringList{QStringLiteral("В выбранном Вами режиме формулы не обеспечивают "
                                           "достаточной точности расчета")};
     },
     [] { return QStringLiteral("формулы неточны (Re больше предела пластины)"); },
     [](const WarningInputs& in) {
         return QStringLiteral("формулы неточны: Re1 = %1, Re2 = %2, больше %3")
             .arg(warningNumber(in.results.hotReynolds), warningNumber(in.results.coldReynolds))
             .arg(in.maxReynolds);
     },
     [](const WarningInputs& in) {
         return warning_detail::pastLimit(std::max(in.results.hotReynolds, in.results.coldReynolds),
                                          in.maxReynolds);
     },
     [](const WarningInputs& in) {
         const bool holds =
             in.results.hotReynolds > in.maxReynolds || in.results.coldReynolds > in.maxReynolds;
         return QStringLiteral("Точность формул: Re1 = %1, Re2 = %2; предел %3 — %4")
             .arg(formulaNumber(in.results.hotReynolds), formulaNumber(in.results.coldReynolds),
                  formulaNumber(in.maxReynolds), warning_detail::exceeded(holds));
     }},
    {ResultWarning::HighResistance,
     [](const WarningInputs& in) {
         return (!in.condenser && in.results.hotPressureDrop > highResistanceLimit) ||
                in.results.coldPressureDrop > highResistanceLimit;
     },
     [] {
         return QStringList{
             QStringLiteral("Обратите внимание на большое гидравлическое сопротивление !!!")};
     },
     [] { return QStringLiteral("большое сопротивление (больше %1 Па)").arg(highResistanceLimit); },
     [](const WarningInputs& in) {
         return in.condenser ? QStringLiteral("большое сопротивление: ΔP2 = %1 Па > %2")
                                   .arg(warningNumber(in.results.coldPressureDrop))
                                   .arg(highResistanceLimit)
                             : QStringLiteral("большое сопротивление: ΔP1 = %1 Па, ΔP2 = %2 Па, "
                                              "больше %3")
                                   .arg(warningNumber(in.results.hotPressureDrop),
                                        warningNumber(in.results.coldPressureDrop))
                                   .arg(highResistanceLimit);
     },
     [](const WarningInputs& in) {
         return warning_detail::pastLimit(warning_detail::largestDrop(in), highResistanceLimit);
     },
     [](const WarningInputs& in) {
         return QStringLiteral("Сопротивление: %1ΔP2 = %2 Па; предел %3 Па — %4")
             .arg(in.condenser ? QString()
                               : QStringLiteral("ΔP1 = %1 Па, ")
                                     .arg(formulaNumber(in.results.hotPressureDrop)),
                  formulaNumber(in.results.coldPressureDrop))
             .arg(highResistanceLimit)
             .arg(warning_detail::exceeded(warning_detail::largestDrop(in) > highResistanceLimit));
     }},
    {ResultWarning::InsufficientSurface,
     [](const WarningInputs& in) { return !(in.results.surfaceMargin > 0); },
     [] {
         return QStringList{
             QStringLiteral("Выбранный Вами теплообменник не подходит из-за недостатка площади."),
             QStringLiteral("Если Вы не знаете, что делать, почитайте пояснения по подбору")};
     },
     [] { return QStringLiteral("недостаток площади (запас ≤ 0)"); },
     [](const WarningInputs& in) {
         return QStringLiteral("недостаток площади: запас %1 % ≤ 0")
             .arg(warningNumber(in.results.surfaceMargin));
     },
     [](const WarningInputs& in) { return -in.results.surfaceMargin; },
     // One line for the margin's both limits.
     [](const WarningInputs& in) {
         const double margin = in.results.surfaceMargin;
         return QStringLiteral("Поверхность: запас %1 %; нужно 0 < запас < %2 — %3")
             .arg(formulaNumber(margin))
             .arg(excessiveMarginLimit)
             .arg(
                 !(margin > 0) ? QStringLiteral("запас ≤ 0, недостаток площади")
                 : margin >= excessiveMarginLimit
                     ? QStringLiteral("запас ≥ %1, слишком большой запас").arg(excessiveMarginLimit)
                     : QStringLiteral("выполнено"));
     }},
    {ResultWarning::ExcessiveSurface,
     [](const WarningInputs& in) {
         return in.results.surfaceMargin > 0 && in.results.surfaceMargin >= excessiveMarginLimit;
     },
     [] {
         return QStringList{
             QStringLiteral("В выбранном Вами теплообменнике очень большой запас поверхности."),
             QStringLiteral("Попробуйте другой.")};
     },
     [] { return QStringLiteral("слишком большой запас (≥ %1 %)").arg(excessiveMarginLimit); },
     [](const WarningInputs& in) {
         return QStringLiteral("слишком большой запас: %1 % ≥ %2")
             .arg(warningNumber(in.results.surfaceMargin))
             .arg(excessiveMarginLimit);
     },
     [](const WarningInputs& in) { return in.results.surfaceMargin - excessiveMarginLimit; },
     [](const WarningInputs&) { return QString(); }},
}};

constexpr std::size_t resultWarningCount = std::tuple_size_v<decltype(resultWarningRules)>;

inline unsigned warningBit(ResultWarning warning) {
    return 1u << static_cast<unsigned>(warning);
}
inline const ResultWarningRule& ruleOf(ResultWarning warning) {
    return *std::find_if(resultWarningRules.cbegin(), resultWarningRules.cend(),
                         [&](const ResultWarningRule& rule) { return rule.warning == warning; });
}

} // namespace orven
