// orven-key fluid-table: a fluid's properties over a range of temperatures, as a table.

#include "core/text_format.h"
#include "key_cli/command_support.h"
#include "properties/fluids.h"

#include <array>
#include <cmath>

namespace orven {

namespace {

int run(const CommandLine& line, KeyIo& io) {
    const QStringList& a = line.arguments;
    std::array<double, 3> range{};
    const QStringList what{QStringLiteral("начальная температура"),
                           QStringLiteral("конечная температура"), QStringLiteral("шаг")};
    for (int i = 0; i < 3; ++i) {
        if (!parseDecimal(a.at(i + 1), range[static_cast<std::size_t>(i)])) {
            return badInput(
                io, QStringLiteral("fluid-table: %1 «%2» — не число").arg(what.at(i), a.at(i + 1)));
        }
    }
    const auto [from, to, step] = range;
    constexpr double mostRows = 10000;
    if (!(step > 0) || !(to >= from) || (to - from) / step > mostRows) {
        return badInput(io, QStringLiteral("fluid-table: нужно ОТ ≤ ДО и шаг больше нуля, не "
                                           "больше %1 строк")
                                .arg(mostRows));
    }
    QStringList folders;
    QString error;
    Fluid fluid;
    if (!fluidFoldersOf(line, folders, error) || !findFluid(a.at(0), folders, fluid, error)) {
        return badInput(io, error);
    }
    // The table's source goes with it, so that a table made from it cites it.
    const QString origin =
        fluid.isWater()
            ? fluid.reference
            : QStringLiteral("%1 (таблица %2, линейная интерполяция)")
                  .arg(fluid.reference.isEmpty() ? fluid.name : fluid.reference, fluid.source);
    QStringList lines{QStringLiteral("# Источник: %1").arg(origin),
                      QStringLiteral("# orven-key fluid-table %1").arg(a.join(QLatin1Char(' '))),
                      QStringLiteral("жидкость = %1").arg(fluid.name)};
    if (!fluid.genitive.isEmpty()) {
        lines << QStringLiteral("род. = %1").arg(fluid.genitive);
    }
    lines << QStringLiteral("# %1 %2 %3 %4 %5")
                 .arg(QStringLiteral("t, °C"), 6)
                 .arg(QStringLiteral("ρ, кг/м^3"), 11)
                 .arg(QStringLiteral("μ, Па·с"), 12)
                 .arg(QStringLiteral("c, Дж/(кг·К)"), 13)
                 .arg(QStringLiteral("λ, Вт/(м·К)"), 12);
    const auto rows = static_cast<int>(std::floor((to - from) / step + 1e-9));
    for (int i = 0; i <= rows; ++i) {
        // Each temperature from the start, so that steps do not add up errors.
        const double t =
            i == rows && std::abs(from + i * step - to) < 1e-9 * step ? to : from + i * step;
        LiquidProperties liquid;
        if (!fluidProperties(fluid, t, liquid, error)) {
            return badInput(io, QStringLiteral("fluid-table: %1").arg(error));
        }
        const auto six = [](double v) { return QString::number(v, 'g', 6); };
        lines << QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(QString::number(t, 'g', 10), 8)
                     .arg(six(liquid.density), 11)
                     .arg(six(liquid.viscosity), 12)
                     .arg(six(liquid.heatCapacity), 13)
                     .arg(six(liquid.conductivity), 12);
    }
    io.out << lines.join(QLatin1Char('\n')) << QLatin1Char('\n');
    return statusDone;
}

} // namespace

extern const KeyCommand fluidTableCommand{
    QLatin1String("fluid-table"),
    QStringLiteral("свойства жидкости от ОТ до ДО °C с ШАГОМ в формате таблицы"),
    QStringLiteral("ЖИДКОСТЬ ОТ ДО ШАГ"),
    4,
    4,
    QStringLiteral("команде fluid-table нужны ЖИДКОСТЬ ОТ ДО ШАГ (°C)"),
    QStringLiteral("Вода — по формулам IAPWS; другие жидкости — из таблиц преподавателя."),
    {&fluidsOption},
    nullptr,
    run};

} // namespace orven
