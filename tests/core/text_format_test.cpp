#include "core/design_case.h"
#include "core/text_format.h"

#include <QtTest>
#include <limits>

using namespace orven;

namespace {
const QLocale russian(QLocale::Russian, QLocale::Russia);
const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale british(QLocale::English, QLocale::UnitedKingdom);
} // namespace

class TextFormatTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QLocale::setDefault(russian);
        resetDesignCase();
    }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void normaliseDecimalComma_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("comma becomes point") << "12,5"
                                             << "12.5";
        QTest::newRow("only the first comma") << "1,2,3"
                                              << "1.2,3";
        QTest::newRow("empty becomes zero") << ""
                                            << "0";
        QTest::newRow("one blank stays") << " "
                                         << " ";
        QTest::newRow("point stays") << "0.5"
                                     << "0.5";
        QTest::newRow("blanks kept") << " 1 ,5 "
                                     << " 1 .5 ";
        QTest::newRow("leading comma") << ",5"
                                       << ".5";
        QTest::newRow("letters untouched") << "abc"
                                           << "abc";
    }
    void normaliseDecimalComma() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(orven::normaliseDecimalComma(text), expected);
    }

    void blanks_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("length");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("three") << 3 << 3;
        QTest::newRow("254") << 254 << 254;
        QTest::newRow("negative gives none") << -1 << 0;
        QTest::newRow("above 255 is capped") << 100000 << 255;
    }
    void blanks() {
        QFETCH(int, count);
        QFETCH(int, length);
        const QString text = orven::blanks(count);
        QCOMPARE(text.size(), qsizetype(length));
        QCOMPARE(text, QString(length, u' '));
    }

    void formatFixed_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QLocale& l, double v, int w, int d,
                            const QString& e) { QTest::newRow(name) << l << v << w << d << e; };
        row("russian comma", russian, 1234.567, 15, 2, "        1234,57");
        row("english point", english, 1234.567, 15, 2, "        1234.57");
        row("zero right aligned", russian, 0.0, 15, 2, "           0,00");
        row("negative", russian, -1234.567, 15, 2, "       -1234,57");
        row("no grouping in english", english, 1234567.891, 0, 2, "1234567.89");
        row("exactly the width, unpadded", russian, 123456789012.345, 15, 2, "123456789012,35");
        row("longer than the width, uncut", english, 1e15, 15, 2, "1000000000000000.00");
        // Halves round away from zero as the number reads, although the
        // nearest doubles of 2.675 and 1.005 lie a little below.
        row("half up 2.675", russian, 2.675, 0, 2, "2,68");
        row("half up 1.005", russian, 1.005, 0, 2, "1,01");
        row("below half 2.674", russian, 2.6749, 0, 2, "2,67");
        row("negative half away from zero", russian, -0.005, 0, 2, "-0,01");
        row("carry into the integer part", russian, 999.995, 0, 2, "1000,00");
        row("tiny negative is plain zero", russian, -0.004, 15, 2, "           0,00");
        row("negative zero is plain zero", russian, -0.0, 0, 2, "0,00");
        row("tiny positive", russian, 1e-7, 0, 2, "0,00");
        row("padded with zeros", russian, 1.5, 0, 3, "1,500");
        row("one decimal", english, 0.25, 5, 1, "  0.3");
        row("no decimals", english, 2.5, 0, 0, "3");
        row("not a number", russian, std::numeric_limits<double>::quiet_NaN(), 5, 2, "  nan");
        row("infinite", russian, -std::numeric_limits<double>::infinity(), 0, 2, "-inf");
        row("negative width", russian, 1.0, -3, 2, "1,00");
    }
    void formatFixed() {
        QFETCH(QLocale, locale);
        QFETCH(double, value);
        QFETCH(int, width);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QLocale::setDefault(locale);
        QCOMPARE(orven::formatFixed(value, width, decimals), expected);
    }

    void formatFixedOutsizeCountsDoNotFail() {
        QCOMPARE(orven::formatFixed(1.0, 1000, 2).size(), qsizetype(255));
        const QString manyDecimals = orven::formatFixed(1.0, 0, 1000);
        QCOMPARE(manyDecimals.size(), qsizetype(2 + 254));
        QVERIFY(manyDecimals.startsWith(QStringLiteral("1,000")));
        QVERIFY(orven::formatFixed(1.0, 0, -2) == QStringLiteral("1"));
        // The largest double in fixed notation has 309 digits.
        QCOMPARE(orven::formatFixed(std::numeric_limits<double>::max(), 15, 2).size(),
                 qsizetype(309 + 3));
    }

    void paddingFor_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("length");
        QTest::newRow("fills up") << "abc" << 5 << 2;
        QTest::newRow("exactly fits") << "abc" << 3 << 0;
        QTest::newRow("one too long") << "abcd" << 3 << 0;
        QTest::newRow("parameter name to 62") << QString(59, u'x') << 62 << 3;
        QTest::newRow("plate type name to 62") << QString(54, u'x') << 62 << 8;
        QTest::newRow("empty text") << "" << 4 << 4;
        QTest::newRow("negative width") << "a" << -4 << 0;
    }
    void paddingFor() {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, length);
        QCOMPARE(orven::paddingFor(text, width), QString(length, u' '));
    }

    void centreInField_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("blanks around") << "  12  " << 5 << " 12  |"
                                       << "12";
        QTest::newRow("one digit") << "1" << 5 << "  1  |"
                                   << "1";
        QTest::newRow("two digits") << "41" << 5 << " 41  |"
                                    << "41";
        QTest::newRow("three digits") << "122" << 5 << " 122 |"
                                      << "122";
        QTest::newRow("fills the width") << "12345" << 5 << "12345|"
                                         << "12345";
        QTest::newRow("empty") << "   " << 4 << "    |"
                               << "";
        QTest::newRow("longer than the width") << " 123456 " << 5 << "123456|"
                                               << "123456";
        QTest::newRow("negative width") << "ab" << -1 << "ab|"
                                        << "ab";
        QTest::newRow("no-break space is text")
            << QStringLiteral(u"\u00A0x ") << 4 << QStringLiteral(u" \u00A0x |")
            << QStringLiteral(u"\u00A0x");
    }
    void centreInField() {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QString, expected);
        QFETCH(QString, trimmed);
        QCOMPARE(orven::centreInField(text, width), expected);
        QCOMPARE(text, trimmed);
    }

    void currentDateLine_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("expected");
        const QDateTime december(QDate(2026, 12, 7), QTime(14, 5, 33));
        const QDateTime may(QDate(2026, 5, 1), QTime(9, 5, 3));
        QTest::newRow("russian december")
            << russian << december << QStringLiteral(u" 07 декабря 2026г.        14:05:33");
        QTest::newRow("russian may")
            << russian << may << QStringLiteral(u" 01 мая 2026г.        09:05:03");
        QTest::newRow("american december")
            << english << december << QStringLiteral(u" 7 декабря 2026г.        2:05:33 PM");
        QTest::newRow("american may")
            << english << may << QStringLiteral(u" 1 мая 2026г.        9:05:03 AM");
        QTest::newRow("british december")
            << british << december << QStringLiteral(u" 07 декабря 2026г.        14:05:33");
        QTest::newRow("british may")
            << british << may << QStringLiteral(u" 01 мая 2026г.        09:05:03");
        QTest::newRow("C december")
            << QLocale::c() << december << QStringLiteral(u" 7 декабря 2026г.        14:05:33");
        QTest::newRow("C may") << QLocale::c() << may
                               << QStringLiteral(u" 1 мая 2026г.        09:05:03");
        QTest::newRow("russian january") << russian << QDateTime(QDate(1999, 1, 31), QTime(0, 0, 0))
                                         << QStringLiteral(u" 31 января 1999г.        00:00:00");
    }
    void currentDateLine() {
        QFETCH(QLocale, locale);
        QFETCH(QDateTime, moment);
        QFETCH(QString, expected);
        QLocale::setDefault(locale);
        QCOMPARE(orven::currentDateLine(moment), expected);
    }

    void currentDateLineOfNow() {
        const QDateTime before = QDateTime::currentDateTime();
        const QString line = orven::currentDateLine();
        const QDateTime after = QDateTime::currentDateTime();
        QVERIFY(line == orven::currentDateLine(before) || line == orven::currentDateLine(after));
    }

    void currentDateLineOfInvalidMomentDoesNotFail() {
        QVERIFY(orven::currentDateLine(QDateTime()).startsWith(u' '));
    }
};

QTEST_GUILESS_MAIN(TextFormatTest)
#include "text_format_test.moc"
