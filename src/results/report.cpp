#include "results/report.h"

#include "core/text_format.h"

#include <QDate>
#include <QLocale>
#include <QStringList>
#include <QTime>

#include <algorithm>
#include <cmath>

namespace orven {

namespace {

const QString reportFontName = QStringLiteral("Courier New Cyr");
constexpr double reportFontSize = 10;

// Width of a pack cell's text; the cell is this plus "|".
constexpr int packCellWidth = 5;
constexpr int resultWidth = 15;
// Last slot of the channel arrays; pack counts are held to it so that no count
// can read outside the arrays.
constexpr int lastPackSlot = decltype(PlateArrangement::coldChannels)::last;

void setReportFont(ReportPrinter& printer) {
    printer.setFontName(reportFontName);
    printer.setFontSize(reportFontSize);
}

// N(v): a whole number without blanks.
QString wholeNumber(int value) {
    return QString::number(value);
}

// G(v): the general form of a number with the sign place kept as a blank for
// non-negative values; always "." as decimal point, no trailing zeros.
QString generalNumber(double value) {
    if (value == 0) {
        value = 0;
    }
    const QString text = QString::number(value, 'g', 15);
    return value < 0 ? text : QLatin1Char(' ') + text;
}

// A whole number of packs from the entered count: nearest integer, halves to
// the even neighbour (2.5 -> 2, 1.5 -> 2), limited to the pack slots.
int packCount(double entered) {
    double rounded = std::round(entered);
    if (std::abs(entered - std::trunc(entered)) == 0.5) {
        rounded = 2 * std::round(entered / 2);
    }
    return static_cast<int>(std::clamp(rounded, 0.0, double{lastPackSlot}));
}

int packCount(int entered) {
    return std::clamp(entered, 0, lastPackSlot);
}

void printLine8(ReportPrinter& printer, const QString& text) {
    printer.printLine(blanks(8) + text);
}

void printPackTable(ReportPrinter& printer, const QString& title, const QString& countText,
                    int packs, const SlotArray<std::int16_t, 0, 10>& channels) {
    QString numbers = QStringLiteral("   Номер пакета  ");
    QString counts = QStringLiteral("   Число каналов ");
    for (int pack = 1; pack <= packs; ++pack) {
        QString number = wholeNumber(pack);
        QString count = wholeNumber(channels[pack]);
        numbers += centreInField(number, packCellWidth);
        counts += centreInField(count, packCellWidth);
    }
    printLine8(printer, title + countText);
    printLine8(printer, numbers);
    printLine8(printer, counts);
}

void printResult(ReportPrinter& printer, const QString& label, double value) {
    printLine8(printer, label + formatFixed(value, resultWidth, 2));
}

} // namespace

void printPageHeader(ReportPrinter& printer, const DesignCase& designCase,
                     const DateLineSource& dateLine) {
    setReportFont(printer);
    const QString date = dateLine ? dateLine() : currentDateLine();
    printer.printPageHeaderLine(blanks(10) + date + paddingFor(date, 50) +
                                    QStringLiteral("ORVEN  стр."),
                                designCase.pageNumber);
}

void printReportHeading(ReportPrinter& printer, const DesignCase& designCase) {
    setReportFont(printer);
    printer.printLine(blanks(10) + designCase.studentName + paddingFor(designCase.studentName, 40));
    printer.printEmptyLine();
    printLine8(printer, QStringLiteral("                            П Р О Г Р А М М А "));
    printLine8(printer, QStringLiteral("                  РАСЧЁТА ПЛАСТИНЧАТЫХ ТЕПЛООБМЕННИКОВ"));
    printLine8(printer, QStringLiteral("                          ИСХОДНЫЕ    ДАННЫЕ"));
    printer.printEmptyLine();
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        printer.printLine(blanks(10) + designCase.initialDataName(slot) + blanks(7) +
                          designCase.valueTexts[slot]);
    }
    printer.printEmptyLine();
    printLine8(printer, QStringLiteral("                           РЕЗУЛЬТАТЫ  РАСЧЕТА"));
    printer.printEmptyLine();
}

void printResultsBlock(ReportPrinter& printer, const DesignCase& designCase) {
    const bool cooler = designCase.exchangerType == ExchangerType::Cooler;
    const PlateArrangement& arrangement = designCase.plateArrangement;
    const CalculationResults& results = designCase.calculationResults;

    printLine8(printer, cooler ? QStringLiteral("   Тип теплообменника - ХОЛОДИЛЬНИК")
                               : QStringLiteral("   Тип теплообменника  - КОНДЕНСАТОР"));
    for (int slot = 17; slot <= 21; ++slot) {
        printer.printLine(blanks(10) + designCase.constructionParameterNames[slot] + blanks(7) +
                          designCase.valueTexts[slot]);
    }

    printPackTable(printer,
                   QStringLiteral("   Число каналов в пакете для холодного теплоносителя (шт.)  "),
                   generalNumber(arrangement.coldPackCount), packCount(arrangement.coldPackCount),
                   arrangement.coldChannels);
    printPackTable(printer,
                   QStringLiteral("   Число каналов в пакете для горячего теплоносителя (шт.)  "),
                   generalNumber(arrangement.hotPackCount),
                   packCount(int{arrangement.hotPackCount}), arrangement.hotChannels);
    printer.printEmptyLine();

    printResult(
        printer,
        QStringLiteral("   Reynolds\" критерий (для горячего теплоносителя)                  "),
        results.hotReynolds);
    printResult(
        printer,
        QStringLiteral("   Reynolds\" критерий (для холодного теплоносителя)                 "),
        results.coldReynolds);
    const double maxReynolds = designCase.plateTypeCoefficients.at(
        CoefficientRow::maxReynolds, designCase.plateGeometry.plateType);
    if (results.hotReynolds > maxReynolds || results.coldReynolds > maxReynolds) {
        printLine8(printer, QStringLiteral("   В выбранном Вами режиме формулы не обеспечивают "
                                           "достаточной точности расчета"));
    }

    printResult(
        printer,
        QStringLiteral("   Коэффициент теплоотдачи от горячего теплоносителя (Вт/м^2*К)     "),
        results.hotFilmCoefficient);
    printResult(
        printer,
        QStringLiteral("   Коэффициент теплоотдачи к холодному теплоносителю (Вт/м^2*К)    "),
        results.coldFilmCoefficient);
    printResult(
        printer,
        QStringLiteral("   Коэффициент теплопередачи (Вт/м^2*К)                             "),
        results.overallCoefficient);
    if (cooler) {
        printResult(
            printer,
            QStringLiteral("   Гидравлическое сопротивление для горячего теплоносителя (Па)     "),
            results.hotPressureDrop);
    }
    printResult(
        printer,
        QStringLiteral("   Гидравлическое сопротивление для холодного теплоносителя (Па)    "),
        results.coldPressureDrop);
    printResult(
        printer,
        QStringLiteral("   Расчетная поверхность теплопередачи (м^2)                        "),
        results.requiredSurface);
    printResult(
        printer,
        QStringLiteral("   Геометрическая площадь поверхности теплопередачи (м^2)           "),
        results.geometricSurface);
    if (results.surfaceMargin >= 0) {
        printResult(
            printer,
            QStringLiteral("   Запас поверхности теплопередачи (%)                              "),
            results.surfaceMargin);
    }
    printLine8(
        printer,
        QStringLiteral(
            " -----------------------------------------------------------------------------"));
    printer.printEmptyLine();
}

} // namespace orven
