#include "key/protocol.h"

#include <QLocale>

namespace orven {

namespace {

// A number put into a formula: six significant digits, as a calculator shows it.
QString n(double value) {
    return QString::number(value, 'g', 6);
}

// A result as the results screen rounds it, with its full precision.
QString result(double value, const QString& unit = QString()) {
    QString text = QStringLiteral("= ") + resultText(value);
    if (!unit.isEmpty()) {
        text += QLatin1Char(' ') + unit;
    }
    return text + QStringLiteral("   (точно ") +
           QString::number(value, 'g', QLocale::FloatingPointShortest) + QLatin1Char(')');
}

QString regimeName(FlowRegime regime) {
    return regime == FlowRegime::Turbulent ? QStringLiteral("турбулентный")
                                           : QStringLiteral("ламинарный");
}

// The regime chosen for a Reynolds number and the coefficients it takes.
Correlation explainRegime(Protocol& p, const DesignCase& dc, const QString& re, double value) {
    const int t = dc.plateGeometry.plateType;
    const double transition = dc.plateTypeCoefficients.at(CoefficientRow::transitionReynolds, t);
    const FlowRegime regime = flowRegime(dc.plateTypeCoefficients, t, value);
    const Correlation c = channelCorrelation(dc.plateTypeCoefficients, t, regime);
    p.note(QStringLiteral("Режим: %1 = %2 %3 %4 (переходное число Рейнольдса пластины) — %5")
               .arg(re, n(value),
                    regime == FlowRegime::Turbulent ? QStringLiteral("≥") : QStringLiteral("<"),
                    n(transition), regimeName(regime)));
    p.note(QStringLiteral("Коэффициенты: A = %1, n = %2, m = %3, k = %4, B = %5")
               .arg(n(c.a), n(c.n), n(c.m), n(c.k), n(c.b)));
    return c;
}

} // namespace

const QStringList& initialDataSymbols() {
    static const QStringList symbols{QString(),
                                     QStringLiteral("G1"),
                                     QStringLiteral("λ1"),
                                     QStringLiteral("ρ1"),
                                     QStringLiteral("μ1"),
                                     QStringLiteral("c1"),
                                     QStringLiteral("G2"),
                                     QStringLiteral("λ2"),
                                     QStringLiteral("ρ2"),
                                     QStringLiteral("μ2"),
                                     QStringLiteral("c2"),
                                     QStringLiteral("Δt"),
                                     QStringLiteral("Σr"),
                                     QStringLiteral("Q"),
                                     QStringLiteral("ε")};
    return symbols;
}

QStringList explainVariant(const DesignData& design, const Variant& variant) {
    DesignCase dc;
    loadDesign(dc, design);
    const Evaluated e = evaluateVariant(dc, variant);
    const auto& in = dc.workingInitialData;
    const PlateGeometry& g = dc.plateGeometry;
    const PlateArrangement& a = dc.plateArrangement;
    const CalculationResults& r = e.results;
    const bool condenser = design.type == ExchangerType::Condenser;
    const double fPl = dc.values[17];

    Protocol p;
    p.note(QStringLiteral("Тип теплообменника: %1").arg(exchangerTypeWord(design.type)));
    p.note(QStringLiteral("Вариант: ") + variantText(variant));
    p.title(QStringLiteral("Исходные данные"));
    const QStringList& symbols = initialDataSymbols();
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        p.note(QStringLiteral("%1 = %2   %3")
                   .arg(symbols.at(slot), n(in[slot]), parameterName(design.type, slot)));
    }
    p.title(QStringLiteral("Пластина и компоновка"));
    p.note(QStringLiteral("F_pl = %1 м^2, L = %2 м, f = %3 м^2, d_e = %4 м, d_sh = %5 м, тип "
                          "пластины t = %6")
               .arg(n(fPl), n(g.reducedChannelLength), n(g.channelCrossSection),
                    n(g.equivalentDiameter), n(g.nozzleDiameter))
               .arg(g.plateType));
    p.note(QStringLiteral("X1 = %1, X2 = %2, N1 = %3, N2 = %4")
               .arg(a.hotPackCount)
               .arg(n(a.coldPackCount))
               .arg(a.hotChannelTotal)
               .arg(a.coldChannelTotal));

    if (e.status != CalculationStatus::Completed) {
        p.title(QStringLiteral("Расчёт невозможен: ОШИБКА В ИСХОДНОЙ ИНФОРМАЦИИ"));
        if (condenser && r.geometricSurface == 0) {
            p.note(QStringLiteral("У конденсатора F_geom = 0: число Рейнольдса конденсата делится "
                                  "на F_geom"));
        }
        return p.lines();
    }

    p.title(QStringLiteral("1. Геометрическая поверхность"));
    p.step(QStringLiteral("F_geom = (N1 + N2 - 2) · F_pl, м^2"),
           QStringLiteral("F_geom = (%1 + %2 - 2) · %3")
               .arg(a.hotChannelTotal)
               .arg(a.coldChannelTotal)
               .arg(n(fPl)),
           result(r.geometricSurface, QStringLiteral("м^2")));
    p.title(QStringLiteral("2. Скорость горячего теплоносителя в канале"));
    p.step(QStringLiteral("w1 = X1 · G1 / ρ1 / N1 / f, м/с"),
           QStringLiteral("w1 = %1 · %2 / %3 / %4 / %5")
               .arg(a.hotPackCount)
               .arg(n(in[1]), n(in[3]))
               .arg(a.hotChannelTotal)
               .arg(n(g.channelCrossSection)),
           result(r.hotVelocity, QStringLiteral("м/с")));
    p.title(QStringLiteral("3. Число Рейнольдса горячего теплоносителя"));
    p.step(QStringLiteral("Re1 = d_e · w1 · ρ1 / μ1"),
           QStringLiteral("Re1 = %1 · %2 · %3 / %4")
               .arg(n(g.equivalentDiameter), n(r.hotVelocity), n(in[3]), n(in[4])),
           condenser ? QStringLiteral("(у конденсатора заменяется в шаге 7)")
                     : result(r.hotReynolds));
    p.title(QStringLiteral("4. Скорость холодного теплоносителя в канале"));
    p.step(QStringLiteral("w2 = G2 · X2 / ρ2 / N2 / f, м/с"),
           QStringLiteral("w2 = %1 · %2 / %3 / %4 / %5")
               .arg(n(in[6]), n(a.coldPackCount), n(in[8]))
               .arg(a.coldChannelTotal)
               .arg(n(g.channelCrossSection)),
           result(r.coldVelocity, QStringLiteral("м/с")));
    p.title(QStringLiteral("5. Число Рейнольдса холодного теплоносителя"));
    p.step(QStringLiteral("Re2 = w2 · d_e · ρ2 / μ2"),
           QStringLiteral("Re2 = %1 · %2 · %3 / %4")
               .arg(n(r.coldVelocity), n(g.equivalentDiameter), n(in[8]), n(in[9])),
           result(r.coldReynolds));
    p.title(QStringLiteral("6. Числа Прандтля"));
    p.step(QStringLiteral("Pr1 = c1 · μ1 / λ1"),
           QStringLiteral("Pr1 = %1 · %2 / %3").arg(n(in[5]), n(in[4]), n(in[2])),
           result(r.hotPrandtl));
    p.step(QStringLiteral("Pr2 = c2 · μ2 / λ2"),
           QStringLiteral("Pr2 = %1 · %2 / %3").arg(n(in[10]), n(in[9]), n(in[7])),
           result(r.coldPrandtl));

    Correlation hot;
    double ell = 0;
    QString ellName;
    const int t = g.plateType;
    if (condenser) {
        p.title(QStringLiteral("7. Конденсация пара: число Рейнольдса конденсата"));
        p.step(QStringLiteral("Re1 = L · G1 / μ1 / F_geom"),
               QStringLiteral("Re1 = %1 · %2 / %3 / %4")
                   .arg(n(g.reducedChannelLength), n(in[1]), n(in[4]), n(r.geometricSurface)),
               result(r.hotReynolds));
        hot = condensationCorrelation(dc.plateTypeCoefficients, t);
        p.note(QStringLiteral("Коэффициенты конденсации: A = %1, n = %2, m = %3; ℓ = L")
                   .arg(n(hot.a), n(hot.n), n(hot.m)));
        ell = g.reducedChannelLength;
        ellName = QStringLiteral("L");
    } else {
        p.title(QStringLiteral("8. Режим течения горячего теплоносителя"));
        hot = explainRegime(p, dc, QStringLiteral("Re1"), r.hotReynolds);
        ell = g.equivalentDiameter;
        ellName = QStringLiteral("d_e");
    }
    p.title(QStringLiteral("9. Коэффициент теплоотдачи от горячего теплоносителя"));
    p.step(
        QStringLiteral("α1 = A · λ1 · Re1^n · Pr1^m / %1, Вт/(м^2·К)").arg(ellName),
        QStringLiteral("α1 = %1 · %2 · %3^%4 · %5^%6 / %7")
            .arg(n(hot.a), n(in[2]), n(r.hotReynolds), n(hot.n), n(r.hotPrandtl), n(hot.m), n(ell)),
        result(r.hotFilmCoefficient, QStringLiteral("Вт/(м^2·К)")));
    if (!condenser) {
        p.title(QStringLiteral("10. Гидравлическое сопротивление для горячего теплоносителя"));
        p.step(QStringLiteral("w_n1 = G1 · 4 / ρ1 / (d_sh · d_sh) / 3.1415927, м/с;  ΔP1 = (3 · "
                              "w_n1^2 + X1 · B · L · w1^2 / Re1^k / d_e) · ρ1 / 2, Па"),
               QStringLiteral("w_n1 = %1 · 4 / %2 / (%3 · %3) / 3.1415927;  ΔP1 = (3 · w_n1^2 + "
                              "%4 · %5 · %6 · %7^2 / %8^%9 / %10) · %2 / 2")
                   .arg(n(in[1]), n(in[3]), n(g.nozzleDiameter))
                   .arg(a.hotPackCount)
                   .arg(n(hot.b), n(g.reducedChannelLength), n(r.hotVelocity), n(r.hotReynolds),
                        n(hot.k), n(g.equivalentDiameter)),
               result(r.hotPressureDrop, QStringLiteral("Па")));
    }
    p.title(QStringLiteral("11. Режим течения холодного теплоносителя"));
    const Correlation cold = explainRegime(p, dc, QStringLiteral("Re2"), r.coldReynolds);
    p.title(QStringLiteral("12. Коэффициент теплоотдачи к холодному теплоносителю"));
    p.step(QStringLiteral("α2 = A · λ2 · Re2^n · Pr2^m / d_e, Вт/(м^2·К)"),
           QStringLiteral("α2 = %1 · %2 · %3^%4 · %5^%6 / %7")
               .arg(n(cold.a), n(in[7]), n(r.coldReynolds), n(cold.n), n(r.coldPrandtl), n(cold.m),
                    n(g.equivalentDiameter)),
           result(r.coldFilmCoefficient, QStringLiteral("Вт/(м^2·К)")));
    p.title(QStringLiteral("13. Гидравлическое сопротивление для холодного теплоносителя"));
    p.step(QStringLiteral("P = B · X2 · L · w2^2 / Re2^k / d_e;  C = 15.2788743 / 3.1415928;  "
                          "S = (G2 / ρ2 / (d_sh · d_sh))^2;  ΔP2 = (S · C + P) · ρ2 / 2, Па"),
           QStringLiteral("P = %1 · %2 · %3 · %4^2 / %5^%6 / %7;  S = (%8 / %9 / (%10 · %10))^2")
               .arg(n(cold.b), n(a.coldPackCount), n(g.reducedChannelLength), n(r.coldVelocity),
                    n(r.coldReynolds), n(cold.k), n(g.equivalentDiameter), n(in[6]), n(in[8]))
               .arg(n(g.nozzleDiameter)),
           result(r.coldPressureDrop, QStringLiteral("Па")));
    p.title(QStringLiteral("14. Коэффициент теплопередачи"));
    p.step(QStringLiteral("K = 1 / (1 / α1 + Σr + 1 / α2), Вт/(м^2·К)"),
           QStringLiteral("K = 1 / (1 / %1 + %2 + 1 / %3)")
               .arg(n(r.hotFilmCoefficient), n(in[12]), n(r.coldFilmCoefficient)),
           result(r.overallCoefficient, QStringLiteral("Вт/(м^2·К)")));
    p.title(QStringLiteral("15. Расчётная поверхность теплопередачи"));
    p.step(QStringLiteral("F_req = Q / K / Δt / ε, м^2"),
           QStringLiteral("F_req = %1 / %2 / %3 / %4")
               .arg(n(in[13]), n(r.overallCoefficient), n(in[11]), n(in[14])),
           result(r.requiredSurface, QStringLiteral("м^2")));
    p.title(QStringLiteral("16. Запас поверхности теплопередачи"));
    p.step(QStringLiteral("запас = (F_geom - F_req) / F_req · 100, %"),
           QStringLiteral("запас = (%1 - %2) / %2 · 100")
               .arg(n(r.geometricSurface), n(r.requiredSurface)),
           result(r.surfaceMargin, QStringLiteral("%")));

    p.title(QStringLiteral("17. Предупреждения"));
    const WarningInputs inputs{r, dc.plateTypeCoefficients.at(CoefficientRow::maxReynolds, t),
                               condenser};
    for (const ResultWarningRule& rule : resultWarningRules) {
        if (const QString line = rule.protocolLine(inputs); !line.isEmpty()) {
            p.note(line);
        }
    }
    for (const ResultWarning warning : e.warnings) {
        for (const QString& message : warningMessages(warning)) {
            p.note(QStringLiteral("«") + message + QStringLiteral("»"));
        }
    }
    p.note(e.warnings.isEmpty() ? QStringLiteral("Вариант подходит: ни одного предупреждения.")
                                : QStringLiteral("Вариант не подходит."));
    return p.lines();
}

} // namespace orven
