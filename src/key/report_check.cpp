#include "key/report_check.h"

#include "initial_data/initial_data.h"
#include "initial_data/parameter_names.h"
#include "results/report.h"
#include "selection/plate_catalogue.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace orven {

namespace {

// The lines a report block prints, as the report code writes them.
class LinePrinter final : public ReportPrinter {
public:
    void setFontName(const QString&) override {}
    void setFontSize(double) override {}
    void printLine(const QString& text) override { lines << text; }
    void printEmptyLine() override {}
    void newPage() override {}
    void endDocument() override {}
    QStringList lines;
};

// Lines compare without regard to the blanks between words (text read from a
// PDF keeps the words, not always their spacing).
QString plain(const QString& line) {
    return line.simplified();
}

bool isPageHeader(const QString& line) {
    static const QRegularExpression header(QStringLiteral("ORVEN\\s+стр\\.\\s*\\d+$"));
    return header.match(plain(line)).hasMatch();
}

// The value after a parameter name, or a null text when the line is not that parameter's.
QString valueAfter(const QString& line, const QString& name) {
    const QString text = plain(line);
    const QString key = plain(name);
    if (!text.startsWith(key)) {
        return QString();
    }
    return text.mid(key.size()).trimmed();
}

QList<int> numbersIn(const QString& line) {
    static const QRegularExpression number(QStringLiteral("-?\\d+"));
    QList<int> numbers;
    for (const QRegularExpressionMatch& m : number.globalMatch(line)) {
        numbers << m.captured().toInt();
    }
    return numbers;
}

const Exchanger* exchangerOf(const QString& designation, const QString& nozzle) {
    const QList<Exchanger>& list = standardExchangers();
    for (const Exchanger& e : list) {
        const QString d = e.letter ? e.letter->designation : e.choice->designation;
        if (plain(d) == plain(designation) && e.choice->slotTexts[3] == plain(nozzle)) {
            return &e;
        }
    }
    return nullptr;
}

// Reads the packs and channels of one stream: the title line with the pack
// count, the pack numbers, the channel counts.
bool readPacks(const QStringList& block, const QString& title, double& packs,
               QList<int>& channels) {
    for (int i = 0; i + 2 < block.size(); ++i) {
        const QString count = valueAfter(block.at(i), title);
        if (count.isNull()) {
            continue;
        }
        bool ok = false;
        packs = count.toDouble(&ok);
        channels = numbersIn(valueAfter(block.at(i + 2), QStringLiteral("Число каналов")));
        return ok && !channels.isEmpty();
    }
    return false;
}

void checkBlock(CheckedBlock& checked, const QStringList& block, const ReportCheck& report) {
    const auto differ = [&](const QString& what) { checked.differences << what; };
    DesignCase dc;
    DesignData design = report.design;
    design.type = plain(block.first()).contains(QStringLiteral("КОНДЕНСАТОР"))
                      ? ExchangerType::Condenser
                      : ExchangerType::Cooler;
    loadDesign(dc, design);
    checked.type = design.type;

    QString designation;
    QString nozzle;
    for (const QString& line : block) {
        if (QString v = valueAfter(line, constructionParameterName(17)); !v.isNull()) {
            designation = v;
        }
        if (QString v = valueAfter(line, constructionParameterName(21)); !v.isNull()) {
            nozzle = v;
        }
    }
    const Exchanger* exchanger = exchangerOf(designation, nozzle);
    double coldPacks = 0;
    double hotPacks = 0;
    QList<int> cold;
    QList<int> hot;
    if (!exchanger) {
        differ(QStringLiteral("пластина «%1» со штуцером «%2» не из каталога")
                   .arg(designation, nozzle));
        return;
    }
    if (!readPacks(block,
                   QStringLiteral("Число каналов в пакете для холодного теплоносителя (шт.)"),
                   coldPacks, cold) ||
        !readPacks(block, QStringLiteral("Число каналов в пакете для горячего теплоносителя (шт.)"),
                   hotPacks, hot)) {
        differ(QStringLiteral("таблицы пакетов и каналов не читаются"));
        return;
    }
    // The program prints the hot pack count as a whole number of 1 to 8; an
    // edited report may say anything (1e308, nan), which no variant has.
    if (!(hotPacks >= 1 && hotPacks <= 8) || hotPacks != std::floor(hotPacks)) {
        differ(QStringLiteral("число пакетов горячего теплоносителя %1 — не целое от 1 до 8")
                   .arg(hotPacks));
        return;
    }
    checked.known = true;
    checked.variant = {static_cast<int>(exchanger - standardExchangers().data()), coldPacks,
                       static_cast<int>(hotPacks), cold, hot};
    checked.evaluated = evaluateVariant(dc, checked.variant);
    if (checked.evaluated.status != CalculationStatus::Completed) {
        differ(QStringLiteral("этот вариант не рассчитывается (ошибка в исходной информации), а "
                              "в отчёте есть его результаты"));
        return;
    }

    // Numbers are printed with the decimal separator of the student's regional
    // settings; the block is printed again with the one it shows.
    static const QRegularExpression commaNumber(QStringLiteral("\\d,\\d\\d$"));
    const bool decimalComma = std::any_of(block.cbegin(), block.cend(), [](const QString& line) {
        return commaNumber.match(plain(line)).hasMatch();
    });
    const QLocale previous;
    QLocale::setDefault(decimalComma ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale::c());
    LinePrinter printer;
    printResultsBlock(printer, dc);
    QLocale::setDefault(previous);
    QStringList expected;
    for (const QString& line : printer.lines) {
        if (!plain(line).isEmpty()) {
            expected << plain(line);
        }
    }
    const qsizetype count = std::max(expected.size(), block.size());
    for (qsizetype i = 0; i < count; ++i) {
        const QString printed = i < block.size() ? plain(block.at(i)) : QString();
        const QString recalculated = i < expected.size() ? expected.at(i) : QString();
        if (printed != recalculated) {
            differ(QStringLiteral("строка %1: напечатано «%2», по расчёту «%3»")
                       .arg(i + 1)
                       .arg(printed, recalculated));
        }
    }
    checked.linesCompared = static_cast<int>(count);
}

} // namespace

bool ReportCheck::allAgree() const {
    if (!isReport || !designError.isEmpty()) {
        return false;
    }
    for (const CheckedBlock& block : blocks) {
        if (!block.differences.isEmpty()) {
            return false;
        }
    }
    return true;
}

ReportCheck checkReportText(const QStringList& allLines) {
    ReportCheck report;
    QStringList lines;
    bool headerSeen = false;
    for (const QString& line : allLines) {
        if (isPageHeader(line)) {
            headerSeen = true;
        } else if (!plain(line).isEmpty()) {
            lines << line;
        }
    }
    const qsizetype title =
        lines.indexOf(QRegularExpression(QStringLiteral("^\\s*ИСХОДНЫЕ\\s+ДАННЫЕ\\s*$")));
    if (!headerSeen || title < 3) {
        return report;
    }
    report.isReport = true;
    report.student = plain(lines.at(title - 3));

    // The initial data: 14 lines after the title, names of either type.
    std::array<bool, initialDataCount + 1> found{};
    qsizetype index = title + 1;
    for (; index < lines.size(); ++index) {
        bool any = false;
        for (int slot = 1; slot <= initialDataCount; ++slot) {
            for (const QString& name : {coolerParameterName(slot), condenserParameterName(slot)}) {
                const QString value = valueAfter(lines.at(index), name);
                if (!found[slot] && !value.isNull()) {
                    report.design.texts[slot] = value;
                    report.design.values[slot] = parseNumber(value);
                    found[slot] = any = true;
                    break;
                }
            }
            if (any) {
                break;
            }
        }
        if (!any) {
            break;
        }
    }
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        if (!found[slot]) {
            report.designError =
                QStringLiteral("в отчёте нет строки «%1»").arg(coolerParameterName(slot).trimmed());
            return report;
        }
    }

    // The blocks: from the exchanger type line to the closing rule.
    static const QRegularExpression rule(QStringLiteral("^-{20,}$"));
    QStringList block;
    for (; index < lines.size(); ++index) {
        const QString line = plain(lines.at(index));
        if (line.startsWith(QStringLiteral("Тип теплообменника"))) {
            block = QStringList{lines.at(index)};
        } else if (!block.isEmpty()) {
            block << lines.at(index);
            if (rule.match(line).hasMatch()) {
                CheckedBlock checked;
                checked.number = static_cast<int>(report.blocks.size()) + 1;
                checkBlock(checked, block, report);
                report.blocks << checked;
                block.clear();
            }
        }
    }
    if (!block.isEmpty()) {
        CheckedBlock cut;
        cut.number = static_cast<int>(report.blocks.size()) + 1;
        cut.differences << QStringLiteral("блок не закончен");
        report.blocks << cut;
    }
    return report;
}

} // namespace orven
