#include "core/design_case.h"
#include "results/report.h"
#include "support/recording_printer.h"

#include <QtTest>

using namespace orven;
using orven::test::RecordingPrinter;

namespace {

const QString pinnedDate = QStringLiteral(" 07 декабря 2026г.        14:05:33");

QString pinnedDateLine() {
    return pinnedDate;
}

// A cooler with two cold packs and three hot packs, results below the
// Reynolds limit and a positive margin.
void setUpCooler(DesignCase& c) {
    c.exchangerType = ExchangerType::Cooler;
    c.constructionParameterNames[17] =
        QStringLiteral(" Тип пластины                                         ");
    c.constructionParameterNames[18] =
        QStringLiteral(" Приведённая длина канала (м)                              ");
    c.constructionParameterNames[19] = QStringLiteral(" n19");
    c.constructionParameterNames[20] = QStringLiteral(" n20");
    c.constructionParameterNames[21] = QStringLiteral(" n21");
    c.valueTexts[17] = QStringLiteral("0.3 К");
    c.valueTexts[18] = QStringLiteral(" 1.12");
    c.valueTexts[19] = QStringLiteral(" .0011");
    c.valueTexts[20] = QStringLiteral(" .008");
    c.valueTexts[21] = QStringLiteral(" .065");

    PlateArrangement& a = c.plateArrangement;
    a.coldPackCount = 2;
    a.coldChannels[1] = 41;
    a.coldChannels[2] = 122;
    a.coldChannels[3] = 99; // left from an earlier arrangement, not printed
    a.hotPackCount = 3;
    a.hotChannels[1] = 1;
    a.hotChannels[2] = 12;
    a.hotChannels[3] = 7;

    c.plateGeometry.plateType = 1;
    c.plateTypeCoefficients.table[4 * 4 + 1] = 5000; // maxReynolds of plate type 1

    CalculationResults& r = c.calculationResults;
    r.hotReynolds = 1234.567;
    r.coldReynolds = 856.4;
    r.hotFilmCoefficient = 4567.891;
    r.coldFilmCoefficient = 3456.78;
    r.overallCoefficient = 1500.25;
    r.hotPressureDrop = 25000;
    r.coldPressureDrop = 18000.5;
    r.requiredSurface = 10.12;
    r.geometricSurface = 12.6;
    r.surfaceMargin = 24.51;
}

const QStringList coolerBlock = {
    QStringLiteral("           Тип теплообменника - ХОЛОДИЛЬНИК"),
    QStringLiteral("           Тип пластины                                                0.3 К"),
    QStringLiteral(
        "           Приведённая длина канала (м)                                      1.12"),
    QStringLiteral("           n19        .0011"),
    QStringLiteral("           n20        .008"),
    QStringLiteral("           n21        .065"),
    QStringLiteral("           Число каналов в пакете для холодного теплоносителя (шт.)   2"),
    QStringLiteral("           Номер пакета    1  |  2  |"),
    QStringLiteral("           Число каналов  41  | 122 |"),
    QStringLiteral("           Число каналов в пакете для горячего теплоносителя (шт.)   3"),
    QStringLiteral("           Номер пакета    1  |  2  |  3  |"),
    QStringLiteral("           Число каналов   1  | 12  |  7  |"),
    QString(),
    QStringLiteral("           Reynolds\" критерий (для горячего теплоносителя)                    "
                   "      1234,57"),
    QStringLiteral("           Reynolds\" критерий (для холодного теплоносителя)                   "
                   "       856,40"),
    QStringLiteral("           Коэффициент теплоотдачи от горячего теплоносителя (Вт/м^2*К)        "
                   "     4567,89"),
    QStringLiteral("           Коэффициент теплоотдачи к холодному теплоносителю (Вт/м^2*К)        "
                   "    3456,78"),
    QStringLiteral("           Коэффициент теплопередачи (Вт/м^2*К)                                "
                   "     1500,25"),
    QStringLiteral("           Гидравлическое сопротивление для горячего теплоносителя (Па)        "
                   "    25000,00"),
    QStringLiteral("           Гидравлическое сопротивление для холодного теплоносителя (Па)       "
                   "    18000,50"),
    QStringLiteral("           Расчетная поверхность теплопередачи (м^2)                           "
                   "       10,12"),
    QStringLiteral("           Геометрическая площадь поверхности теплопередачи (м^2)              "
                   "       12,60"),
    QStringLiteral("           Запас поверхности теплопередачи (%)                                 "
                   "       24,51"),
    QStringLiteral(
        "         -----------------------------------------------------------------------------"),
    QString(),
};

const QString accuracyLine = QStringLiteral(
    "           В выбранном Вами режиме формулы не обеспечивают достаточной точности расчета");
const QString marginLabel =
    QStringLiteral("           Запас поверхности теплопередачи (%)                              ");

QStringList printedBlock() {
    RecordingPrinter printer;
    printResultsBlock(printer, designCase());
    return printer.currentLines();
}

} // namespace

class ReportTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        resetDesignCase();
        setUpCooler(designCase());
    }

    void pageHeader_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("line");
        QTest::newRow("first page")
            << 1
            << QStringLiteral(
                   "           07 декабря 2026г.        14:05:33                ORVEN  стр.1");
        QTest::newRow("page 12")
            << 12
            << QStringLiteral(
                   "           07 декабря 2026г.        14:05:33                ORVEN  стр.12");
    }
    void pageHeader() {
        QFETCH(int, page);
        QFETCH(QString, line);
        designCase().pageNumber = static_cast<std::int16_t>(page);
        RecordingPrinter printer;
        printPageHeader(printer, designCase(), pinnedDateLine);
        QCOMPARE(printer.currentLines(), QStringList{line});
        QCOMPARE(line.indexOf(QStringLiteral("ORVEN  стр.")), 60); // column 61
        QCOMPARE(printer.fontName(), QStringLiteral("Courier New Cyr"));
        QCOMPARE(printer.fontSize(), 10.0);
    }
    void pageHeaderWithLongDateLine() {
        RecordingPrinter printer;
        const QString date(55, QLatin1Char('x'));
        printPageHeader(printer, designCase(), [&] { return date; });
        QCOMPARE(printer.currentLines(), QStringList{QString(10, QLatin1Char(' ')) + date +
                                                     QStringLiteral("ORVEN  стр.0")});
    }
    void pageHeaderTakesCurrentDate() {
        RecordingPrinter printer;
        printPageHeader(printer, designCase());
        const QString line = printer.currentLines().value(0);
        QVERIFY2(line.contains(QStringLiteral("%1г.").arg(QDate::currentDate().year())),
                 qPrintable(line));
        QVERIFY(line.endsWith(QStringLiteral("ORVEN  стр.0")));
    }

    void studentLine_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("line");
        QTest::newRow("empty") << QString() << QString(50, QLatin1Char(' '));
        QTest::newRow("usual") << QStringLiteral("Иванов И.И. гр. 101")
                               << QStringLiteral(
                                      "          Иванов И.И. гр. 101                     ");
        const QString longName(45, QChar(0x0416));
        QTest::newRow("longer than 40") << longName << QString(10, QLatin1Char(' ')) + longName;
    }
    void studentLine() {
        QFETCH(QString, name);
        QFETCH(QString, line);
        designCase().studentName = name;
        RecordingPrinter printer;
        printReportHeading(printer, designCase());
        QCOMPARE(printer.currentLines().value(0), line);
    }

    void heading_data() {
        QTest::addColumn<ExchangerType>("type");
        QTest::addColumn<QString>("firstValueLine");
        QTest::newRow("cooler") << ExchangerType::Cooler
                                << QStringLiteral("           Cooler 1       12.5");
        QTest::newRow("condenser")
            << ExchangerType::Condenser << QStringLiteral("           Condenser 1       12.5");
        QTest::newRow("not chosen")
            << ExchangerType::NotChosen << QStringLiteral("           Condenser 1       12.5");
    }
    void heading() {
        QFETCH(ExchangerType, type);
        QFETCH(QString, firstValueLine);
        DesignCase& c = designCase();
        c.exchangerType = type;
        c.studentName = QStringLiteral("Петров");
        for (int slot = 1; slot <= initialDataCount; ++slot) {
            c.coolerParameterNames[slot] = QStringLiteral(" Cooler %1").arg(slot);
            c.condenserParameterNames[slot] = QStringLiteral(" Condenser %1").arg(slot);
            c.valueTexts[slot] = QString::number(slot);
        }
        c.valueTexts[1] = QStringLiteral("12.5");

        RecordingPrinter printer;
        printer.setFontName(QStringLiteral("Arial"));
        printer.setFontSize(14);
        printReportHeading(printer, c);
        QCOMPARE(printer.fontName(), QStringLiteral("Courier New Cyr"));
        QCOMPARE(printer.fontSize(), 10.0);

        const QStringList lines = printer.currentLines();
        QCOMPARE(lines.size(), 23);
        QCOMPARE(
            lines.mid(1, 5),
            (QStringList{
                QString(),
                QStringLiteral("                                    П Р О Г Р А М М А "),
                QStringLiteral("                          РАСЧЁТА ПЛАСТИНЧАТЫХ ТЕПЛООБМЕННИКОВ"),
                QStringLiteral("                                  ИСХОДНЫЕ    ДАННЫЕ"),
                QString(),
            }));
        QCOMPARE(lines.at(6), firstValueLine);
        QVERIFY(lines.at(19).endsWith(QStringLiteral(" 14       14")));
        QCOMPARE(lines.mid(20),
                 (QStringList{
                     QString(),
                     QStringLiteral("                                   РЕЗУЛЬТАТЫ  РАСЧЕТА"),
                     QString(),
                 }));
    }

    void coolerBlockLines() { QCOMPARE(printedBlock(), coolerBlock); }

    void condenserBlockLines() {
        DesignCase& c = designCase();
        c.exchangerType = ExchangerType::Condenser;
        c.plateArrangement.hotPackCount = 1;
        QStringList expected = coolerBlock;
        expected[0] = QStringLiteral("           Тип теплообменника  - КОНДЕНСАТОР");
        expected[9] = QStringLiteral(
            "           Число каналов в пакете для горячего теплоносителя (шт.)   1");
        expected[10] = QStringLiteral("           Номер пакета    1  |");
        expected[11] = QStringLiteral("           Число каналов   1  |");
        expected.removeAt(18); // no hot-stream resistance for a condenser
        QCOMPARE(printedBlock(), expected);
    }

    void marginLine_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QString>("value"); // empty: no margin line
        const QLocale ru(QLocale::Russian, QLocale::Russia);
        QTest::newRow("negative") << ru << -0.01 << QString();
        QTest::newRow("zero, ru") << ru << 0.0 << QStringLiteral("           0,00");
        QTest::newRow("zero, C") << QLocale::c() << 0.0 << QStringLiteral("           0.00");
        QTest::newRow("tiny") << ru << 0.004 << QStringLiteral("           0,00");
        QTest::newRow("wide") << ru << 123456789012.5 << QStringLiteral("123456789012,50");
        QTest::newRow("wider than field")
            << ru << 1234567890123.0 << QStringLiteral("1234567890123,00");
    }
    void marginLine() {
        QFETCH(QLocale, locale);
        QFETCH(double, margin);
        QFETCH(QString, value);
        QLocale::setDefault(locale);
        designCase().calculationResults.surfaceMargin = margin;
        const QStringList lines = printedBlock();
        const auto found = std::find_if(lines.cbegin(), lines.cend(), [](const QString& line) {
            return line.startsWith(marginLabel);
        });
        if (value.isEmpty()) {
            QVERIFY(found == lines.cend());
            QCOMPARE(lines.size(), coolerBlock.size() - 1);
        } else {
            QVERIFY(found != lines.cend());
            QCOMPARE(*found, marginLabel + value);
        }
    }

    void packTables_data() {
        QTest::addColumn<double>("coldPacks");
        QTest::addColumn<QString>("countText");
        QTest::addColumn<int>("cells");
        QTest::newRow("2.5 rounds down to even") << 2.5 << QStringLiteral(" 2.5") << 2;
        QTest::newRow("1.5 rounds up to even") << 1.5 << QStringLiteral(" 1.5") << 2;
        QTest::newRow("2.6") << 2.6 << QStringLiteral(" 2.6") << 3;
        QTest::newRow("one") << 1.0 << QStringLiteral(" 1") << 1;
        QTest::newRow("eight") << 8.0 << QStringLiteral(" 8") << 8;
    }
    void packTables() {
        QFETCH(double, coldPacks);
        QFETCH(QString, countText);
        QFETCH(int, cells);
        PlateArrangement& a = designCase().plateArrangement;
        a.coldPackCount = coldPacks;
        for (int pack = 1; pack <= 8; ++pack) {
            a.coldChannels[pack] = static_cast<std::int16_t>(pack * 10);
        }
        const QStringList lines = printedBlock();
        QCOMPARE(lines.at(6),
                 QStringLiteral(
                     "           Число каналов в пакете для холодного теплоносителя (шт.)  ") +
                     countText);
        QString numbers = QStringLiteral("           Номер пакета  ");
        QString counts = QStringLiteral("           Число каналов ");
        const QStringList numberCells = {QStringLiteral("  1  |"), QStringLiteral("  2  |"),
                                         QStringLiteral("  3  |"), QStringLiteral("  4  |"),
                                         QStringLiteral("  5  |"), QStringLiteral("  6  |"),
                                         QStringLiteral("  7  |"), QStringLiteral("  8  |")};
        const QStringList countCells = {QStringLiteral(" 10  |"), QStringLiteral(" 20  |"),
                                        QStringLiteral(" 30  |"), QStringLiteral(" 40  |"),
                                        QStringLiteral(" 50  |"), QStringLiteral(" 60  |"),
                                        QStringLiteral(" 70  |"), QStringLiteral(" 80  |")};
        numbers += numberCells.mid(0, cells).join(QString());
        counts += countCells.mid(0, cells).join(QString());
        QCOMPARE(lines.at(7), numbers);
        QCOMPARE(lines.at(8), counts);
        QCOMPARE(lines.at(7).size(), 8 + 17 + 6 * cells);
    }

    void channelCells_data() {
        QTest::addColumn<int>("channels");
        QTest::addColumn<QString>("cell");
        QTest::newRow("one digit") << 1 << QStringLiteral("  1  |");
        QTest::newRow("two digits") << 41 << QStringLiteral(" 41  |");
        QTest::newRow("three digits") << 122 << QStringLiteral(" 122 |");
        QTest::newRow("four digits") << 1234 << QStringLiteral("1234 |");
        QTest::newRow("negative") << -5 << QStringLiteral(" -5  |");
        QTest::newRow("wider than cell") << -12345 << QStringLiteral("-12345|");
    }
    void channelCells() {
        QFETCH(int, channels);
        QFETCH(QString, cell);
        PlateArrangement& a = designCase().plateArrangement;
        a.hotPackCount = 1;
        a.hotChannels[1] = static_cast<std::int16_t>(channels);
        QCOMPARE(printedBlock().at(11), QStringLiteral("           Число каналов ") + cell);
    }

    void accuracyWarning_data() {
        QTest::addColumn<double>("hotReynolds");
        QTest::addColumn<double>("coldReynolds");
        QTest::addColumn<bool>("warns");
        QTest::newRow("both below") << 4999.0 << 100.0 << false;
        QTest::newRow("hot equal") << 5000.0 << 100.0 << false;
        QTest::newRow("cold equal") << 100.0 << 5000.0 << false;
        QTest::newRow("hot above") << 5000.01 << 100.0 << true;
        QTest::newRow("cold above") << 100.0 << 5000.01 << true;
        QTest::newRow("both above") << 6000.0 << 7000.0 << true;
    }
    void accuracyWarning() {
        QFETCH(double, hotReynolds);
        QFETCH(double, coldReynolds);
        QFETCH(bool, warns);
        designCase().calculationResults.hotReynolds = hotReynolds;
        designCase().calculationResults.coldReynolds = coldReynolds;
        const QStringList lines = printedBlock();
        QCOMPARE(lines.count(accuracyLine), warns ? 1 : 0);
        if (warns) {
            QCOMPARE(lines.indexOf(accuracyLine), 15); // right after the Reynolds lines
        }
    }

    void accuracyLimitFollowsPlateType() {
        DesignCase& c = designCase();
        c.plateGeometry.plateType = 3;
        c.plateTypeCoefficients.table[4 * 4 + 3] = 1000;
        QCOMPARE(printedBlock().count(accuracyLine), 1); // hot Reynolds 1234.567 > 1000
    }
};

QTEST_GUILESS_MAIN(ReportTest)
#include "report_test.moc"
