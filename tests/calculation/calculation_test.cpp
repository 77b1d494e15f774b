#include "calculation/calculation.h"
#include "core/design_case.h"
#include "support/worked_examples.h"

#include <QLocale>
#include <QtTest>
#include <cmath>
#include <numbers>
#include <utility>

using namespace orven;

namespace {

// Doubles are compared with this relative tolerance throughout.
constexpr double relativeTolerance = 1e-5;

// Value written into every result before a failing run, to see which results it overwrote.
constexpr double untouched = -7.0;

constexpr double pi = std::numbers::pi;

// The result fields in the order in which the calculation writes them.
const std::pair<const char*, double CalculationResults::*> resultFields[] = {
    {"geometricSurface", &CalculationResults::geometricSurface},
    {"hotVelocity", &CalculationResults::hotVelocity},
    {"hotReynolds", &CalculationResults::hotReynolds},
    {"coldVelocity", &CalculationResults::coldVelocity},
    {"coldReynolds", &CalculationResults::coldReynolds},
    {"hotPrandtl", &CalculationResults::hotPrandtl},
    {"coldPrandtl", &CalculationResults::coldPrandtl},
    {"hotFilmCoefficient", &CalculationResults::hotFilmCoefficient},
    {"hotPressureDrop", &CalculationResults::hotPressureDrop},
    {"coldFilmCoefficient", &CalculationResults::coldFilmCoefficient},
    {"coldPressureDrop", &CalculationResults::coldPressureDrop},
    {"overallCoefficient", &CalculationResults::overallCoefficient},
    {"requiredSurface", &CalculationResults::requiredSurface},
    {"surfaceMargin", &CalculationResults::surfaceMargin},
};

double resultField(const CalculationResults& r, const QString& name) {
    for (const auto& [fieldName, member] : resultFields) {
        if (name == QLatin1String(fieldName)) {
            return r.*member;
        }
    }
    qFatal("unknown result field");
}

bool closeTo(double actual, double expected) {
    return std::abs(actual - expected) <= relativeTolerance * std::abs(expected);
}

#define COMPARE_CLOSE(actual, expected)                                                            \
    QVERIFY2(closeTo((actual), (expected)), qPrintable(QStringLiteral("%1 is %2, expected %3")     \
                                                           .arg(QStringLiteral(#actual))           \
                                                           .arg((actual), 0, 'g', 10)              \
                                                           .arg((expected), 0, 'g', 10)))

void setInitialData(DesignCase& c, const QList<double>& data) {
    int slot = 1;
    for (double v : data) {
        c.workingInitialData[slot++] = v;
    }
}

// Cooler on 0.2 m2 plates, one pack of five channels for each stream.
void setUpCooler(DesignCase& c) {
    c.exchangerType = ExchangerType::Cooler;
    setInitialData(c, test::workedValues(ExchangerType::Cooler));
    c.plateGeometry = {0, 0.45, 0.0016, 0.0076, 0.1};
    c.values[17] = 0.2;
    PlateArrangement& a = c.plateArrangement;
    a.hotPackCount = 1;
    a.coldPackCount = 1;
    a.hotChannelTotal = 5;
    a.coldChannelTotal = 5;
}

// Condenser on 0.3 m2 plates, 12 hot channels in one pack, 12 cold channels in two packs.
void setUpCondenser(DesignCase& c) {
    c.exchangerType = ExchangerType::Condenser;
    setInitialData(c, test::workedValues(ExchangerType::Condenser));
    c.plateGeometry = {1, 1.12, 0.0011, 0.008, 0.065};
    c.values[17] = 0.3;
    PlateArrangement& a = c.plateArrangement;
    a.hotPackCount = 1;
    a.coldPackCount = 2;
    a.hotChannelTotal = 12;
    a.coldChannelTotal = 12;
}

void setUp(DesignCase& c, bool condenser) {
    if (condenser) {
        setUpCondenser(c);
    } else {
        setUpCooler(c);
    }
}

void markResultsUntouched(CalculationResults& r) {
    for (const auto& field : resultFields) {
        r.*field.second = untouched;
    }
}

// Short form of a warning list: F, H, I, E for the four warnings in their order.
QString warningLetters(const QList<ResultWarning>& warnings) {
    QString letters;
    for (ResultWarning w : warnings) {
        switch (w) {
        case ResultWarning::FormulaAccuracy:
            letters += QLatin1Char('F');
            break;
        case ResultWarning::HighResistance:
            letters += QLatin1Char('H');
            break;
        case ResultWarning::InsufficientSurface:
            letters += QLatin1Char('I');
            break;
        case ResultWarning::ExcessiveSurface:
            letters += QLatin1Char('E');
            break;
        }
    }
    return letters;
}

} // namespace

class CalculationTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        // The calculation must not depend on the locale; run it under the program's own.
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        resetDesignCase();
        fillPlateTypeCoefficients(designCase());
    }

    void workedExamples_data() {
        QTest::addColumn<bool>("condenser");
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("expected");
        const auto row = [](bool condenser, const char* field, double expected) {
            QTest::addRow("%s %s", condenser ? "condenser" : "cooler", field)
                << condenser << QString::fromLatin1(field) << expected;
        };
        row(false, "hotVelocity", 0.0203912);
        row(false, "hotReynolds", 280.889);
        row(false, "coldReynolds", 1259.27);
        row(false, "hotPrandtl", 5.63417);
        row(false, "coldPrandtl", 4.94379);
        row(false, "hotFilmCoefficient", 300.497);
        row(false, "coldFilmCoefficient", 2543.92);
        row(false, "hotPressureDrop", 39.0307);
        row(false, "coldPressureDrop", 1259.52);
        row(false, "overallCoefficient", 253.170);
        row(false, "requiredSurface", 11.4898);
        row(false, "geometricSurface", 1.6);
        row(false, "surfaceMargin", -86.0746);
        row(true, "geometricSurface", 6.6);
        row(true, "hotReynolds", 30.0881);
        row(true, "hotPrandtl", 1.75006);
        row(true, "hotFilmCoefficient", 2649.99);
        row(true, "coldReynolds", 3030.30);
        row(true, "coldPrandtl", 5.57333);
        row(true, "coldFilmCoefficient", 5462.30);
        row(true, "coldPressureDrop", 34122.9);
        row(true, "overallCoefficient", 1041.20);
        row(true, "requiredSurface", 3.52159);
        row(true, "surfaceMargin", 87.4155);
    }
    void workedExamples() {
        QFETCH(bool, condenser);
        QFETCH(QString, field);
        QFETCH(double, expected);
        setUp(designCase(), condenser);
        QCOMPARE(calculateExchanger(designCase()), CalculationStatus::Completed);
        COMPARE_CLOSE(resultField(designCase().calculationResults, field), expected);
    }

    void workedExampleWarnings_data() {
        QTest::addColumn<bool>("condenser");
        QTest::addColumn<QString>("warnings");
        QTest::newRow("cooler lacks surface") << false << QStringLiteral("I");
        QTest::newRow("condenser has too much surface") << true << QStringLiteral("E");
    }
    void workedExampleWarnings() {
        QFETCH(bool, condenser);
        QFETCH(QString, warnings);
        setUp(designCase(), condenser);
        QCOMPARE(calculateExchanger(designCase()), CalculationStatus::Completed);
        QCOMPARE(warningLetters(resultWarnings(designCase())), warnings);
    }

    // Only Condenser itself is calculated as a condenser.
    void typeNotChosenCalculatesAsCooler() {
        setUpCooler(designCase());
        designCase().exchangerType = ExchangerType::NotChosen;
        QCOMPARE(calculateExchanger(designCase()), CalculationStatus::Completed);
        const CalculationResults& r = designCase().calculationResults;
        COMPARE_CLOSE(r.hotReynolds, 280.889);
        COMPARE_CLOSE(r.hotFilmCoefficient, 300.497);
        COMPARE_CLOSE(r.hotPressureDrop, 39.0307);
    }

    // Both streams get Re = reynolds exactly (flow = density = Re, unit geometry,
    // viscosity 1) or a hair below it; Pr = 100 separates the two regimes clearly.
    void regimeBoundary_data() {
        QTest::addColumn<int>("plateType");
        QTest::addColumn<double>("reynolds");
        QTest::addColumn<double>("viscosity");
        QTest::addColumn<bool>("turbulent");
        QTest::newRow("0.5 Е, Re = 50") << 2 << 50.0 << 1.0 << true;
        QTest::newRow("0.5 Е, Re just below 50") << 2 << 50.0 << 1.0000001 << false;
        QTest::newRow("0.5 Г, Re = 200") << 3 << 200.0 << 1.0 << true;
        QTest::newRow("0.5 Г, Re just below 200") << 3 << 200.0 << 1.0000001 << false;
        QTest::newRow("0.2, Re = 100") << 0 << 100.0 << 1.0 << true;
        QTest::newRow("0.2, Re just below 100") << 0 << 100.0 << 1.0000001 << false;
    }
    void regimeBoundary() {
        QFETCH(int, plateType);
        QFETCH(double, reynolds);
        QFETCH(double, viscosity);
        QFETCH(bool, turbulent);
        DesignCase& c = designCase();
        c.exchangerType = ExchangerType::Cooler;
        setInitialData(c, {reynolds, 1, reynolds, viscosity, 100, reynolds, 1, reynolds, viscosity,
                           100, 10, 0, 1000, 1});
        c.plateGeometry = {std::int16_t(plateType), 1, 1, 1, 1};
        c.values[17] = 1;
        c.plateArrangement.hotPackCount = 1;
        c.plateArrangement.coldPackCount = 1;
        c.plateArrangement.hotChannelTotal = 1;
        c.plateArrangement.coldChannelTotal = 1;
        QCOMPARE(calculateExchanger(c), CalculationStatus::Completed);

        // Coefficients A, n, m, k, B of the plate for the expected regime.
        const double turbulentSet[4][3] = {
            {0.086, 0.73, 17}, {0.1, 0.73, 19.3}, {0.135, 0.73, 22.4}, {0.165, 0.65, 4.0}};
        const double laminarSet[4][2] = {{0.5, 200}, {0.6, 425}, {0.63, 485}, {0.46, 210}};
        const double a = turbulent ? turbulentSet[plateType][0] : laminarSet[plateType][0];
        const double n = turbulent ? turbulentSet[plateType][1] : 0.33;
        const double m = turbulent ? 0.43 : 0.33;
        const double k = turbulent ? 0.25 : 1.0;
        const double b = turbulent ? turbulentSet[plateType][2] : laminarSet[plateType][1];

        const double re = reynolds / viscosity;
        const double pr = 100 * viscosity;
        const double alpha = a * std::pow(re, n) * std::pow(pr, m);
        const CalculationResults& r = c.calculationResults;
        COMPARE_CLOSE(r.hotFilmCoefficient, alpha);
        COMPARE_CLOSE(r.coldFilmCoefficient, alpha);
        // Velocity 1 m/s in channels and nozzles of unit size: dP = (nozzles + B / Re^k) * rho / 2.
        const double friction = b / std::pow(re, k);
        COMPARE_CLOSE(r.hotPressureDrop, (3 * 16 / (pi * pi) + friction) * reynolds / 2);
        COMPARE_CLOSE(r.coldPressureDrop, (48 / (pi * pi) + friction) * reynolds / 2);
    }

    // A cold pack count of 2.5 is used as it stands: the velocity and Re2 grow with
    // X2 and the channel friction with X2 * w2^2 / Re2^0.25 = X2^2.75; the nozzle loss
    // stays as it is.
    void fractionalColdPackCount_data() {
        QTest::addColumn<double>("packs");
        QTest::newRow("2.5 packs") << 2.5;
        QTest::newRow("1.5 packs") << 1.5;
        QTest::newRow("3 packs") << 3.0;
    }
    void fractionalColdPackCount() {
        QFETCH(double, packs);
        DesignCase& c = designCase();
        setUpCooler(c);
        QCOMPARE(calculateExchanger(c), CalculationStatus::Completed);
        const CalculationResults one = c.calculationResults;
        c.plateArrangement.coldPackCount = packs;
        QCOMPARE(calculateExchanger(c), CalculationStatus::Completed);
        const CalculationResults& r = c.calculationResults;

        COMPARE_CLOSE(r.coldVelocity, packs * one.coldVelocity);
        COMPARE_CLOSE(r.coldReynolds, packs * one.coldReynolds);
        const double g2 = 0.965, rho2 = 994, dsh = 0.1;
        const double nozzle = std::pow(g2 / rho2 / (dsh * dsh), 2) * 48 / (pi * pi) * rho2 / 2;
        COMPARE_CLOSE(r.coldPressureDrop,
                      nozzle + (one.coldPressureDrop - nozzle) * std::pow(packs, 2.75));
        // The hot side does not see the cold packs.
        COMPARE_CLOSE(r.hotPressureDrop, one.hotPressureDrop);
    }

    // Warnings evaluated on results set directly. Letters: F formula accuracy,
    // H high resistance, I insufficient surface, E excessive surface.
    void warnings_data() {
        QTest::addColumn<bool>("condenser");
        QTest::addColumn<int>("plateType");
        QTest::addColumn<double>("hotReynolds");
        QTest::addColumn<double>("coldReynolds");
        QTest::addColumn<double>("hotPressureDrop");
        QTest::addColumn<double>("coldPressureDrop");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QString>("warnings");
        // Formula accuracy: strictly above the upper Reynolds number of the plate.
        QTest::newRow("Re1 at limit") << false << 0 << 30000.0 << 100.0 << 0.0 << 0.0 << 10.0 << "";
        QTest::newRow("Re1 above limit")
            << false << 0 << 30000.0001 << 100.0 << 0.0 << 0.0 << 10.0 << "F";
        QTest::newRow("Re2 at limit") << false << 1 << 100.0 << 30000.0 << 0.0 << 0.0 << 10.0 << "";
        QTest::newRow("Re2 above limit")
            << false << 1 << 100.0 << 30000.0001 << 0.0 << 0.0 << 10.0 << "F";
        QTest::newRow("Г plate allows 50000")
            << false << 3 << 50000.0 << 40000.0 << 0.0 << 0.0 << 10.0 << "";
        QTest::newRow("Г plate above 50000")
            << false << 3 << 100.0 << 50000.001 << 0.0 << 0.0 << 10.0 << "F";
        QTest::newRow("condensate Re above limit")
            << true << 2 << 30000.5 << 100.0 << 0.0 << 0.0 << 10.0 << "F";
        // High resistance: strictly above 50000 Pa; a condenser has no hot pressure drop.
        QTest::newRow("cooler dP at limit")
            << false << 0 << 100.0 << 100.0 << 50000.0 << 50000.0 << 10.0 << "";
        QTest::newRow("cooler dP1 above")
            << false << 0 << 100.0 << 100.0 << 50000.01 << 50000.0 << 10.0 << "H";
        QTest::newRow("cooler dP2 above")
            << false << 0 << 100.0 << 100.0 << 0.0 << 50000.01 << 10.0 << "H";
        QTest::newRow("condenser ignores dP1")
            << true << 0 << 100.0 << 100.0 << 900000.0 << 50000.0 << 10.0 << "";
        QTest::newRow("condenser dP2 above")
            << true << 0 << 100.0 << 100.0 << 0.0 << 50000.01 << 10.0 << "H";
        // Surface margin: 0 and below is too little, 70 and above too much.
        QTest::newRow("margin 0") << false << 0 << 100.0 << 100.0 << 0.0 << 0.0 << 0.0 << "I";
        QTest::newRow("margin -20") << false << 0 << 100.0 << 100.0 << 0.0 << 0.0 << -20.0 << "I";
        QTest::newRow("margin 0.01") << false << 0 << 100.0 << 100.0 << 0.0 << 0.0 << 0.01 << "";
        QTest::newRow("margin 69.99") << false << 0 << 100.0 << 100.0 << 0.0 << 0.0 << 69.99 << "";
        QTest::newRow("margin 70") << false << 0 << 100.0 << 100.0 << 0.0 << 0.0 << 70.0 << "E";
        QTest::newRow("margin 500") << false << 0 << 100.0 << 100.0 << 0.0 << 0.0 << 500.0 << "E";
        // Several at once come in their fixed order.
        QTest::newRow("all but one")
            << false << 0 << 40000.0 << 100.0 << 60000.0 << 0.0 << -1.0 << "FHI";
        QTest::newRow("all but the other")
            << true << 0 << 100.0 << 40000.0 << 0.0 << 60000.0 << 90.0 << "FHE";
    }
    void warnings() {
        QFETCH(bool, condenser);
        QFETCH(int, plateType);
        QFETCH(double, hotReynolds);
        QFETCH(double, coldReynolds);
        QFETCH(double, hotPressureDrop);
        QFETCH(double, coldPressureDrop);
        QFETCH(double, margin);
        QFETCH(QString, warnings);
        DesignCase& c = designCase();
        c.exchangerType = condenser ? ExchangerType::Condenser : ExchangerType::Cooler;
        c.plateGeometry.plateType = std::int16_t(plateType);
        CalculationResults& r = c.calculationResults;
        r.hotReynolds = hotReynolds;
        r.coldReynolds = coldReynolds;
        r.hotPressureDrop = hotPressureDrop;
        r.coldPressureDrop = coldPressureDrop;
        r.surfaceMargin = margin;
        QCOMPARE(warningLetters(resultWarnings(c)), warnings);
    }

    // A cooler with narrow nozzles leaves a large hot pressure drop behind; the
    // following condenser neither overwrites nor counts it.
    void condenserAfterCoolerIgnoresOldHotPressureDrop() {
        DesignCase& c = designCase();
        setUpCooler(c);
        c.plateGeometry.nozzleDiameter = 0.005;
        QCOMPARE(calculateExchanger(c), CalculationStatus::Completed);
        const double oldDrop = c.calculationResults.hotPressureDrop;
        QVERIFY(oldDrop > 50000);
        QVERIFY(resultWarnings(c).contains(ResultWarning::HighResistance));

        setUpCondenser(c);
        QCOMPARE(calculateExchanger(c), CalculationStatus::Completed);
        QCOMPARE(c.calculationResults.hotPressureDrop, oldDrop);
        QCOMPARE(warningLetters(resultWarnings(c)), QStringLiteral("E"));
    }

    // Faulty input ends the calculation with InputError. Results written before
    // the fault are kept; storedUpTo names the last result written (empty: none),
    // every later one keeps its previous value.
    void inputErrors_data() {
        QTest::addColumn<bool>("condenser");
        QTest::addColumn<QString>("change");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("storedUpTo");
        const QString none;
        const QString pr2 = QStringLiteral("coldPrandtl");
        // A condenser without surface fails after the Prandtl numbers.
        QTest::newRow("condenser, one channel each") << true << "channels" << 1.0 << pr2;
        QTest::newRow("condenser, plate area 0") << true << "plateArea" << 0.0 << pr2;
        // Channel totals of zero or below, or a 16-bit overflow of N1 + N2 - 2: nothing written.
        for (bool condenser : {false, true}) {
            const char* type = condenser ? "condenser" : "cooler";
            QTest::addRow("%s, N1 = 0", type) << condenser << "N1" << 0.0 << none;
            QTest::addRow("%s, N2 = 0", type) << condenser << "N2" << 0.0 << none;
            QTest::addRow("%s, N1 < 0", type) << condenser << "N1" << -3.0 << none;
            QTest::addRow("%s, N2 < 0", type) << condenser << "N2" << -30000.0 << none;
            QTest::addRow("%s, N1 + N2 - 2 = 32768", type) << condenser << "sum" << 32768.0 << none;
            QTest::addRow("%s, N1 + N2 - 2 = 39998", type) << condenser << "sum" << 39998.0 << none;
        }
        // Infinite or undefined intermediate values.
        QTest::newRow("cooler, mu1 = 0") << false << "mu1" << 0.0 << "hotVelocity";
        QTest::newRow("condenser, mu1 = 0") << true << "mu1" << 0.0 << "hotVelocity";
        QTest::newRow("cooler, lambda2 = 0") << false << "lambda2" << 0.0 << "hotPrandtl";
        QTest::newRow("cooler, no hot packs (Re1 = 0)")
            << false << "hotPacks" << 0.0 << "coldPrandtl";
        QTest::newRow("cooler, no nozzle") << false << "nozzle" << 0.0 << "hotFilmCoefficient";
        QTest::newRow("condenser, no nozzle") << true << "nozzle" << 0.0 << "coldFilmCoefficient";
        QTest::newRow("cooler, dt = 0") << false << "dt" << 0.0 << "overallCoefficient";
        QTest::newRow("condenser, dt = 0") << true << "dt" << 0.0 << "overallCoefficient";
    }
    void inputErrors() {
        QFETCH(bool, condenser);
        QFETCH(QString, change);
        QFETCH(double, value);
        QFETCH(QString, storedUpTo);
        DesignCase& c = designCase();
        setUp(c, condenser);
        PlateArrangement& a = c.plateArrangement;
        if (change == QLatin1String("channels")) {
            a.hotChannelTotal = a.coldChannelTotal = std::int16_t(value);
        } else if (change == QLatin1String("plateArea")) {
            c.values[17] = value;
        } else if (change == QLatin1String("N1")) {
            a.hotChannelTotal = std::int16_t(value);
        } else if (change == QLatin1String("N2")) {
            a.coldChannelTotal = std::int16_t(value);
        } else if (change == QLatin1String("sum")) {
            const int sum = int(value) + 2;
            a.hotChannelTotal = std::int16_t(sum / 2);
            a.coldChannelTotal = std::int16_t(sum - sum / 2);
        } else if (change == QLatin1String("mu1")) {
            c.workingInitialData[4] = value;
        } else if (change == QLatin1String("lambda2")) {
            c.workingInitialData[7] = value;
        } else if (change == QLatin1String("dt")) {
            c.workingInitialData[11] = value;
        } else if (change == QLatin1String("hotPacks")) {
            a.hotPackCount = std::int16_t(value);
        } else if (change == QLatin1String("nozzle")) {
            c.plateGeometry.nozzleDiameter = value;
        } else {
            QFAIL("unknown change");
        }
        markResultsUntouched(c.calculationResults);

        QCOMPARE(calculateExchanger(c), CalculationStatus::InputError);

        bool written = !storedUpTo.isEmpty();
        for (const auto& [name, member] : resultFields) {
            const double v = c.calculationResults.*member;
            const bool hotDropOfCondenser = condenser && QLatin1String(name) == "hotPressureDrop";
            if (written && !hotDropOfCondenser) {
                QVERIFY2(v != untouched && std::isfinite(v), name);
            } else {
                QVERIFY2(v == untouched, name);
            }
            if (QLatin1String(name) == storedUpTo) {
                written = false;
            }
        }
    }

    // The largest arrangement whose N1 + N2 - 2 fits into 16 bits is still calculated.
    void largestChannelSum_data() {
        QTest::addColumn<bool>("condenser");
        QTest::newRow("cooler") << false;
        QTest::newRow("condenser") << true;
    }
    void largestChannelSum() {
        QFETCH(bool, condenser);
        DesignCase& c = designCase();
        setUp(c, condenser);
        c.plateArrangement.hotChannelTotal = 16384;
        c.plateArrangement.coldChannelTotal = 16385;
        QCOMPARE(calculateExchanger(c), CalculationStatus::Completed);
        COMPARE_CLOSE(c.calculationResults.geometricSurface, 32767 * c.values[17]);
    }
};

QTEST_GUILESS_MAIN(CalculationTest)
#include "calculation_test.moc"
