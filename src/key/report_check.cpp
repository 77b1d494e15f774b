#include "key/report_check.h"

#include "calculation/plate_catalogue.h"
#include "core/text_format.h"
#include "initial_data/initial_data.h"
#include "initial_data/parameter_names.h"
#include "results/report.h"

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
    if (!(hotPacks >= 1 && hotPacks <= maxPackCount) || hotPacks != std::floor(hotPacks)) {
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
    LinePrinter printer;
    {
        const DecimalSeparatorScope separator(decimalComma ? QLatin1Char(',') : QLatin1Char('.'));
        printResultsBlock(printer, dc);
    }
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
    if (!isReport || !designError.isEmpty() || !findings.isEmpty()) {
        return false;
    }
    for (const CheckedBlock& block : blocks) {
        if (!block.differences.isEmpty()) {
            return false;
        }
    }
    return true;
}

namespace {

// A row of the report as it stands on its page.
struct Row {
    QString text;
    int page = 1;
    int row = 0; // on its page, counting every row read
};

QString where(const Row& row) {
    return QStringLiteral("стр. %1, строка %2").arg(row.page).arg(row.row);
}

QString quoted(const QString& text) {
    const QString line = plain(text);
    return line.size() > 80 ? line.left(77) + QStringLiteral("...") : line;
}

// The slot 1..14 whose name (of either type) starts the row, 0 for none;
// value gets what follows the name.
int parameterStarting(const QString& row, QString* value) {
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        for (const QString& name : {coolerParameterName(slot), condenserParameterName(slot)}) {
            const QString after = valueAfter(row, name);
            if (!after.isNull()) {
                *value = after;
                return slot;
            }
        }
    }
    return 0;
}

} // namespace

ReportCheck checkReportText(const QStringList& allLines) {
    ReportCheck report;
    QList<Row> rows;
    bool headerSeen = false;
    int page = 1;
    int rowOnPage = 0;
    for (const QString& line : allLines) {
        if (line == QStringLiteral("\f")) {
            ++page;
            rowOnPage = 0;
            continue;
        }
        ++rowOnPage;
        if (isPageHeader(line)) {
            headerSeen = true;
        } else if (!plain(line).isEmpty()) {
            rows << Row{line, page, rowOnPage};
        }
    }
    // The heading: the program's title, three rows; before it the student's
    // name (none, or a long one over several rows).
    static const QStringList title{QStringLiteral("П Р О Г Р А М М А"),
                                   QStringLiteral("РАСЧЁТА ПЛАСТИНЧАТЫХ ТЕПЛООБМЕННИКОВ"),
                                   QStringLiteral("ИСХОДНЫЕ ДАННЫЕ")};
    qsizetype start = -1;
    for (qsizetype i = 0; i + 2 < rows.size() && start < 0; ++i) {
        if (plain(rows.at(i).text) == title.at(0) && plain(rows.at(i + 1).text) == title.at(1) &&
            plain(rows.at(i + 2).text) == title.at(2)) {
            start = i;
        }
    }
    if (!headerSeen || start < 0) {
        return report;
    }
    report.isReport = true;
    QStringList nameRows;
    for (qsizetype i = 0; i < start; ++i) {
        nameRows << plain(rows.at(i).text);
    }
    report.student = nameRows.join(QString());

    // The initial data: each parameter's row, and the rows a long value
    // continues on.
    std::array<bool, initialDataCount + 1> found{};
    qsizetype index = start + 3;
    int slot = 0;
    static const QString resultsTitle = QStringLiteral("РЕЗУЛЬТАТЫ РАСЧЕТА");
    for (; index < rows.size(); ++index) {
        const QString& text = rows.at(index).text;
        if (plain(text) == resultsTitle) {
            break;
        }
        QString value;
        const int next = parameterStarting(text, &value);
        if (next == slot + 1 && !found[next]) {
            slot = next;
            found[slot] = true;
            report.design.texts[slot] = value;
        } else if (slot > 0 && next == 0) {
            report.design.texts[slot] += plain(text); // a value that went on
        } else {
            report.findings << QStringLiteral("%1: «%2» — не строка исходных данных")
                                   .arg(where(rows.at(index)), quoted(text));
        }
    }
    for (int s = 1; s <= initialDataCount; ++s) {
        if (!found[s]) {
            report.designError =
                QStringLiteral("в отчёте нет строки «%1»").arg(coolerParameterName(s).trimmed());
            return report;
        }
        report.design.texts[s].remove(QLatin1Char(' '));
        report.design.values[s] = parseNumber(report.design.texts[s]);
    }
    for (int s = 1; s <= initialDataCount; ++s) {
        if (!isAdmissible(s, report.design.values[s])) {
            report.findings << QStringLiteral(
                                   "исходные данные: «%1» = %2 вне допустимого интервала %3")
                                   .arg(coolerParameterName(s).trimmed(), report.design.texts[s],
                                        admissibleText(s));
        }
    }
    // The program prints a report only with a results block: one cut after
    // its initial data is not a finished report.
    const auto noBlocksFinding = [&report] {
        if (report.blocks.isEmpty()) {
            report.findings << QStringLiteral("в отчёте нет ни одного блока результатов");
        }
    };
    if (index >= rows.size()) {
        noBlocksFinding();
        return report;
    }
    ++index; // the results title

    // The blocks: each from its exchanger type row to the next one (or the
    // end); its rows, the closing rule included, are compared with the
    // recalculated block, so a row added, removed or changed anywhere in it is
    // found. Rows before the first block belong nowhere.
    QStringList block;
    QList<Row> blockRows;
    const auto finishBlock = [&] {
        if (block.isEmpty()) {
            return;
        }
        CheckedBlock checked;
        checked.number = static_cast<int>(report.blocks.size()) + 1;
        checkBlock(checked, block, report);
        for (QString& difference : checked.differences) {
            static const QRegularExpression rowNumber(QStringLiteral("^строка (\\d+):"));
            const QRegularExpressionMatch m = rowNumber.match(difference);
            const int at = m.hasMatch() ? m.captured(1).toInt() - 1 : -1;
            if (at >= 0 && at < blockRows.size()) {
                difference += QStringLiteral(" (%1)").arg(where(blockRows.at(at)));
            }
        }
        report.blocks << checked;
        block.clear();
        blockRows.clear();
    };
    for (; index < rows.size(); ++index) {
        const Row& row = rows.at(index);
        if (plain(row.text).startsWith(QStringLiteral("Тип теплообменника"))) {
            finishBlock();
        }
        if (block.isEmpty() && !plain(row.text).startsWith(QStringLiteral("Тип теплообменника"))) {
            report.findings
                << QStringLiteral("%1: «%2» — не строка отчёта").arg(where(row), quoted(row.text));
            continue;
        }
        block << row.text;
        blockRows << row;
    }
    finishBlock();
    noBlocksFinding();
    return report;
}

namespace {

bool slotDiffers(const ReportCheck& report, const DesignData& task, double tolerance, int slot) {
    const double printed = report.design.values[slot];
    const double assigned = task.values[slot];
    const double scale = std::max(std::abs(assigned), std::abs(printed));
    return scale > 0 && !(std::abs(printed - assigned) <= tolerance * scale);
}

} // namespace

bool sameInitialData(const ReportCheck& report, const DesignData& task, double tolerance) {
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        if (slotDiffers(report, task, tolerance, slot)) {
            return false;
        }
    }
    return true;
}

QStringList taskDifferences(const ReportCheck& report, const DesignData& task, double tolerance) {
    QStringList differences;
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        if (slotDiffers(report, task, tolerance, slot)) {
            differences << QStringLiteral("«%1» = %2, в задании %3")
                               .arg(parameterName(task.type, slot), report.design.texts[slot],
                                    task.texts[slot]);
        }
    }
    return differences;
}

void compareWithTask(ReportCheck& report, const DesignData& task, double tolerance) {
    for (const QString& difference : taskDifferences(report, task, tolerance)) {
        report.findings << QStringLiteral("исходные данные не задания: ") + difference;
    }
}

} // namespace orven
