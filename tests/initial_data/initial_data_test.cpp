#include "core/design_case.h"
#include "core/text_format.h"
#include "initial_data/initial_data.h"

#include <QtTest>
#include <cmath>
#include <limits>

using namespace orven;

namespace {

constexpr double relativeTolerance = 1e-12;
constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

bool sameNumber(double actual, double expected) {
    if (std::isnan(expected))
        return std::isnan(actual);
    if (std::isinf(expected) || expected == 0)
        return actual == expected;
    return std::fabs(actual - expected) <= relativeTolerance * std::fabs(expected);
}

// A set of initial data that passes every slot.
void setValidData(DesignCase& c) {
    const double valid[] = {10,  0.6,   1000, 0.001, 4190,   12,  0.6,
                            998, 0.001, 4190, 20,    0.0005, 1e6, 0.95};
    for (int slot = 1; slot <= initialDataCount; ++slot)
        c.values[slot] = valid[slot - 1];
}

} // namespace

class InitialDataTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        resetDesignCase();
    }

    void parseNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << "12.5" << 12.5;
        QTest::newRow("comma ends the number") << "12,5" << 12.0;
        QTest::newRow("exponent") << "1.5E3" << 1500.0;
        QTest::newRow("small e, negative exponent") << "1.5e-3" << 0.0015;
        QTest::newRow("D exponent") << "1D2" << 100.0;
        QTest::newRow("small d exponent") << "2d-1" << 0.2;
        QTest::newRow("plus exponent") << "3E+2" << 300.0;
        QTest::newRow("blank inside") << "1 500" << 1500.0;
        QTest::newRow("tabs and line feeds") << "\t1\n2 .5" << 12.5;
        QTest::newRow("blanks in the exponent") << "1 e 3" << 1000.0;
        QTest::newRow("negative") << "-3.25" << -3.25;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("blank after sign") << "- 4" << -4.0;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("trailing point") << "5." << 5.0;
        QTest::newRow("second point ends") << "1.2.3" << 1.2;
        QTest::newRow("leading zeros") << "0007" << 7.0;
        QTest::newRow("zeros behind the point") << "0.0005" << 0.0005;
        QTest::newRow("trailing letters") << "12abc" << 12.0;
        QTest::newRow("carriage return ends") << "1\r2" << 1.0;
        QTest::newRow("no-break space ends") << QStringLiteral(u"1\u00A02") << 1.0;
        QTest::newRow("normalised comma") << orven::normaliseDecimalComma("12,5") << 12.5;
        QTest::newRow("boundary value") << "1500.0001" << 1500.0001;
        QTest::newRow("hex") << "&H1F" << 31.0;
        QTest::newRow("hex small letters") << "&h1f" << 31.0;
        QTest::newRow("hex FFFF is plain") << "&HFFFF" << 65535.0;
        QTest::newRow("hex with blanks") << "& H 1F" << 31.0;
        QTest::newRow("hex ends at non-digit") << "&H1G" << 1.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("octal small letter") << "&o17" << 15.0;
        QTest::newRow("octal ends at 8") << "&O18" << 1.0;
        QTest::newRow("prefix without digits") << "&H" << 0.0;
        QTest::newRow("lone ampersand") << "&" << 0.0;
        QTest::newRow("unknown prefix") << "&X12" << 0.0;
        QTest::newRow("long hex") << "&H" + QString(300, u'F') << infinity;
    }
    void parseNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        const double actual = orven::parseNumber(text);
        QVERIFY2(sameNumber(actual, expected),
                 qPrintable(QStringLiteral("%1 read as %2").arg(text).arg(actual, 0, 'g', 17)));
    }

    void parseNumberOfHostileText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blank") << " " << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("lone sign") << "-" << 0.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("sign and point") << "-." << 0.0;
        QTest::newRow("exponent without digits") << "1e" << 1.0;
        QTest::newRow("exponent sign without digits") << "1e+" << 1.0;
        QTest::newRow("exponent without mantissa") << "e5" << 0.0;
        QTest::newRow("point and exponent only") << ".e5" << 0.0;
        QTest::newRow("overflow") << "1e999" << infinity;
        QTest::newRow("negative overflow") << "-1e999" << -infinity;
        QTest::newRow("underflow") << "1e-999" << 0.0;
        QTest::newRow("endless exponent") << "1e99999999999999999999999" << infinity;
        QTest::newRow("endless negative exponent") << "1e-99999999999999999999999" << 0.0;
        QTest::newRow("zero with huge exponent") << "0e99999" << 0.0;
        QTest::newRow("thousands of digits") << "1" + QString(3000, u'0') << infinity;
        QTest::newRow("thousands of leading zeros") << QString(4000, u'0') + "7" << 7.0;
        QTest::newRow("thousands of zeros behind the point")
            << "0." + QString(3000, u'0') + "1e3005" << 1e4;
        QTest::newRow("thousands of digits scaled back")
            << "1" + QString(3000, u'0') + "e-3000" << 1.0;
        QTest::newRow("thousands of fraction digits")
            << "2." + QString(5000, u'5') << 2.5555555555555556;
        QTest::newRow("not a number text") << "nan" << 0.0;
        QTest::newRow("infinity text") << "inf" << 0.0;
    }
    void parseNumberOfHostileText() { parseNumber(); }

    void checkInitialData_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("firstInvalid");
        for (int slot = 1; slot <= initialDataCount; ++slot) {
            const AdmissibleRange& range = admissibleRange(slot);
            const QByteArray name = "slot " + QByteArray::number(slot);
            QTest::newRow(name + " at lower limit") << slot << range.lower << slot;
            const double aboveLower = range.lower + (range.hasUpper ? range.upper * 1e-6 : 1e-9);
            QTest::newRow(name + " just above lower limit") << slot << aboveLower << 0;
            QTest::newRow(name + " negative") << slot << -1.0 << slot;
            QTest::newRow(name + " infinite") << slot << infinity << slot;
            QTest::newRow(name + " minus infinite") << slot << -infinity << slot;
            QTest::newRow(name + " not a number") << slot << notANumber << slot;
            if (range.hasUpper) {
                QTest::newRow(name + " at upper limit") << slot << range.upper << 0;
                QTest::newRow(name + " just above upper limit")
                    << slot << range.upper * (1 + 1e-9) << slot;
            }
        }
        QTest::newRow("mass flow 1500") << 1 << 1500.0 << 0;
        QTest::newRow("mass flow 1500.0001") << 1 << 1500.0001 << 1;
        QTest::newRow("mass flow 0") << 1 << 0.0 << 1;
        QTest::newRow("cold mass flow 1000") << 6 << 1000.0 << 0;
        QTest::newRow("cold mass flow 1000.001") << 6 << 1000.001 << 6;
        QTest::newRow("hot density 2") << 3 << 2.0 << 3;
        QTest::newRow("hot density 2.5") << 3 << 2.5 << 0;
        QTest::newRow("hot density 5000") << 3 << 5000.0 << 0;
        QTest::newRow("hot density 5000.01") << 3 << 5000.01 << 3;
        QTest::newRow("cold density 2") << 8 << 2.0 << 8;
        QTest::newRow("cold density 2.5") << 8 << 2.5 << 0;
        QTest::newRow("viscosity 0.01") << 4 << 0.01 << 0;
        QTest::newRow("viscosity 0.0101") << 4 << 0.0101 << 4;
        QTest::newRow("temperature difference 500") << 11 << 500.0 << 0;
        QTest::newRow("temperature difference 500.1") << 11 << 500.1 << 11;
        QTest::newRow("resistance 0.1") << 12 << 0.1 << 0;
        QTest::newRow("resistance 0.1001") << 12 << 0.1001 << 12;
        QTest::newRow("heat load 1e12") << 13 << 1e12 << 0;
        QTest::newRow("heat load largest double") << 13 << std::numeric_limits<double>::max() << 0;
        QTest::newRow("heat load 0") << 13 << 0.0 << 13;
        QTest::newRow("factor 1") << 14 << 1.0 << 0;
        QTest::newRow("factor 1.01") << 14 << 1.01 << 14;
    }
    void checkInitialData() {
        QFETCH(int, slot);
        QFETCH(double, value);
        QFETCH(int, firstInvalid);
        DesignCase& c = designCase();
        setValidData(c);
        c.values[slot] = value;
        orven::checkInitialData(c);
        QCOMPARE(int(c.firstInvalidParameter), firstInvalid);
        QCOMPARE(c.initialDataInvalid, firstInvalid != 0);
    }

    void checkReportsOnlyTheFirstSlot() {
        DesignCase& c = designCase();
        setValidData(c);
        c.values[9] = 1.0;
        c.values[4] = 1.0;
        orven::checkInitialData(c);
        QCOMPARE(int(c.firstInvalidParameter), 4);
        QVERIFY(c.initialDataInvalid);
    }

    void checkClearsAnEarlierFailure() {
        DesignCase& c = designCase();
        setValidData(c);
        c.values[14] = 0;
        orven::checkInitialData(c);
        QCOMPARE(int(c.firstInvalidParameter), 14);
        c.values[14] = 0.5;
        orven::checkInitialData(c);
        QCOMPARE(int(c.firstInvalidParameter), 0);
        QVERIFY(!c.initialDataInvalid);
    }

    void freshDesignCaseFailsTheFirstSlot() {
        orven::checkInitialData(designCase());
        QCOMPARE(int(designCase().firstInvalidParameter), 1);
    }

    void typedTextsThroughReadingAndCheck_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("firstInvalid");
        QTest::newRow("cancelled entry") << "" << 13;
        QTest::newRow("letters") << "много" << 13;
        QTest::newRow("comma value") << "1,5E6" << 0;
        QTest::newRow("overflowing value") << "1e999" << 13;
        QTest::newRow("hex value") << "&HFFFF" << 0;
    }
    void typedTextsThroughReadingAndCheck() {
        QFETCH(QString, typed);
        QFETCH(int, firstInvalid);
        DesignCase& c = designCase();
        setValidData(c);
        c.valueTexts[13] = orven::normaliseDecimalComma(typed);
        refreshValue(c, 13);
        orven::checkInitialData(c);
        QCOMPARE(int(c.firstInvalidParameter), firstInvalid);
    }

    void refreshValueReadsTheSlotText() {
        DesignCase& c = designCase();
        c.valueTexts[5] = QStringLiteral("4.19E3");
        c.valueTexts[18] = QStringLiteral(" 1.15");
        refreshValue(c, 5);
        refreshValue(c, 18);
        QVERIFY(sameNumber(c.values[5], 4190.0));
        QVERIFY(sameNumber(c.values[18], 1.15));
        QCOMPARE(c.values[6], 0.0);
    }
};

QTEST_GUILESS_MAIN(InitialDataTest)
#include "initial_data_test.moc"
