#include "core/design_case.h"
#include "initial_data/parameter_names.h"

#include <QtTest>

using namespace orven;

namespace {

constexpr QChar noBreakSpace(0x00A0);

// The name followed by blanks up to width.
QString padded(const QString& name, int width) {
    return name + QString(width - name.size(), u' ');
}

} // namespace

class ParameterNamesTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        resetDesignCase();
        fillParameterNames(designCase());
    }

    void completeTexts_data() {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        // Data rows are made before init() runs, so they fill a case of their own.
        DesignCase c;
        fillParameterNames(c);
        QTest::newRow("cooler 1")
            << c.coolerParameterNames[1]
            << padded(QStringLiteral(u" Массовый расход горячего теплоносителя (Кг/\u0441)"), 59);
        QTest::newRow("condenser 1")
            << c.condenserParameterNames[1]
            << padded(QStringLiteral(u" Массовый расход горячего теплоносителя (или пара) "
                                     u"(Кг/\u0441)"),
                      59);
        QTest::newRow("condenser 5")
            << c.condenserParameterNames[5]
            << padded(QStringLiteral(u" Теплоёмкость образовавшегося конденсата  (Дж/Кг*К)"), 59);
        QTest::newRow("cooler 6") << c.coolerParameterNames[6]
                                  << padded(QStringLiteral(
                                                u" Массовый расход холодного теплоносителя (Кг/") +
                                                u'c' + u')',
                                            59);
        QTest::newRow("cooler 12")
            << c.coolerParameterNames[12]
            << QStringLiteral(u" Сумма термич.сопротивлений стенки и загрязнен. (м^2*К/Вт) ");
        QTest::newRow("cooler 13") << c.coolerParameterNames[13]
                                   << padded(QStringLiteral(u" Тепловая нагрузка\u00A0 (Вт)"), 59);
        QTest::newRow("cooler 14")
            << c.coolerParameterNames[14]
            << padded(QStringLiteral(u" Коэффициент, учитывающий снижение движ. силы(б/р)"), 59);
        QTest::newRow("construction 16") << c.constructionParameterNames[16]
                                         << padded(QStringLiteral(u" Тип теплообменника"), 59);
        QTest::newRow("construction 17")
            << c.constructionParameterNames[17] << padded(QStringLiteral(u" Тип пластины"), 54);
        QTest::newRow("construction 21")
            << c.constructionParameterNames[21]
            << padded(QStringLiteral(u" Диаметр штуцера\u00A0(м)"), 59);
        QTest::newRow("construction 23")
            << c.constructionParameterNames[23]
            << padded(QStringLiteral(u" Число каналов в пакете для холодного теплоносителя (шт.)"),
                      59);
        QTest::newRow("construction 26") << c.constructionParameterNames[26]
                                         << padded(QStringLiteral(u" Площадь пластины (м^2)"), 59);
    }
    void completeTexts() {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void everyNameHasItsWidth() {
        const DesignCase& c = designCase();
        for (int slot = 1; slot <= initialDataCount; ++slot) {
            QCOMPARE(c.coolerParameterNames[slot].size(), qsizetype(parameterNameWidth));
            QCOMPARE(c.condenserParameterNames[slot].size(), qsizetype(parameterNameWidth));
        }
        for (int slot = 15; slot <= parameterSlotCount; ++slot) {
            const qsizetype width = slot == 17 ? plateTypeNameWidth : parameterNameWidth;
            QCOMPARE(c.constructionParameterNames[slot].size(), width);
        }
        QCOMPARE(parameterNameWidth, 59);
        QCOMPARE(plateTypeNameWidth, 54);
    }

    void everyNameStartsWithOneBlank() {
        const DesignCase& c = designCase();
        for (int slot = 1; slot <= parameterSlotCount; ++slot) {
            const QString name = slot <= initialDataCount ? c.coolerParameterNames[slot]
                                                          : c.constructionParameterNames[slot];
            QVERIFY2(name.startsWith(u' ') && name[1] != u' ', qPrintable(name));
        }
    }

    void noBreakSpacesStandExactlyWhereTheyBelong() {
        const DesignCase& c = designCase();
        for (int slot = 1; slot <= initialDataCount; ++slot) {
            QCOMPARE(c.coolerParameterNames[slot].count(noBreakSpace), slot == 13 ? 1 : 0);
            QCOMPARE(c.condenserParameterNames[slot].count(noBreakSpace), slot == 13 ? 1 : 0);
        }
        const QString& heatLoad = c.coolerParameterNames[13];
        const qsizetype at = heatLoad.indexOf(noBreakSpace);
        QCOMPARE(heatLoad.left(at), QStringLiteral(u" Тепловая нагрузка"));
        QCOMPARE(heatLoad[at + 1], QChar(u' '));
        QCOMPARE(heatLoad[at + 2], QChar(u'('));
        for (int slot = 15; slot <= parameterSlotCount; ++slot) {
            const QString& name = c.constructionParameterNames[slot];
            const bool expected = slot == 15 || slot == 19 || slot == 20 || slot == 21;
            QCOMPARE(name.count(noBreakSpace), expected ? 1 : 0);
            if (expected)
                QCOMPARE(name[name.indexOf(u'(') - 1], noBreakSpace);
        }
    }

    void massFlowUnitsUseCyrillicAndLatinLetters() {
        const DesignCase& c = designCase();
        QVERIFY(c.coolerParameterNames[1].contains(QStringLiteral(u"(Кг/\u0441)")));
        QVERIFY(c.condenserParameterNames[1].contains(QStringLiteral(u"(Кг/\u0441)")));
        QVERIFY(c.coolerParameterNames[6].contains(QStringLiteral(u"(Кг/") + QChar(0x0063) + u')'));
    }

    void condenserDiffersInTheHotCarrierOnly() {
        const DesignCase& c = designCase();
        for (int slot = 1; slot <= 5; ++slot)
            QVERIFY(c.condenserParameterNames[slot] != c.coolerParameterNames[slot]);
        for (int slot = 6; slot <= initialDataCount; ++slot)
            QCOMPARE(c.condenserParameterNames[slot], c.coolerParameterNames[slot]);
    }

    void otherSlotsStayEmpty() {
        const DesignCase& c = designCase();
        for (int slot = 15; slot <= parameterSlotCount; ++slot) {
            QVERIFY(c.coolerParameterNames[slot].isEmpty());
            QVERIFY(c.condenserParameterNames[slot].isEmpty());
        }
        for (int slot = 1; slot <= initialDataCount; ++slot)
            QVERIFY(c.constructionParameterNames[slot].isEmpty());
    }
};

QTEST_GUILESS_MAIN(ParameterNamesTest)
#include "parameter_names_test.moc"
