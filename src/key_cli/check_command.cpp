// orven-key check: a printed report read back and every block of it worked out again.

#include "key/design_file.h"
#include "key/report_check.h"
#include "key/variants.h"
#include "key_cli/command_support.h"

#include <algorithm>
#include <map>

namespace orven {

namespace {

const KeyOption taskOption{
    {QStringLiteral("task")},
    QStringLiteral("ФАЙЛ"),
    QStringLiteral("сравнить исходные данные отчёта с заданием (файл задачи)")};

int run(const CommandLine& line, KeyIo& io) {
    const QString file = line.arguments.first();
    const KeyPdfFunctions& pdf = keyPdfFunctions();
    QStringList lines;
    QString error;
    if (pdf.readText == nullptr) {
        return badInput(io, QStringLiteral("чтение PDF недоступно"));
    }
    if (!pdf.readText(file, lines, error)) {
        return badInput(io, error);
    }
    ReportCheck report = checkReportText(lines);
    if (!report.isReport) {
        return badInput(io, QStringLiteral("%1 — не отчёт ORVEN (нет заголовка страницы и исходных "
                                           "данных отчёта)")
                                .arg(file));
    }
    if (!report.designError.isEmpty()) {
        return badInput(io, QStringLiteral("%1: %2").arg(file, report.designError));
    }
    if (line.isSet(taskOption)) {
        DesignData task;
        if (!readDesign(line.text(taskOption), io, task, error)) {
            return badInput(io, error);
        }
        compareWithTask(report, task, line.value(toleranceOption).toDouble() / 100);
    }
    QStringList out{
        QStringLiteral("Отчёт %1").arg(file),
        QStringLiteral("Студент: %1")
            .arg(report.student.isEmpty() ? QStringLiteral("(не указан)") : report.student),
        QStringLiteral("Исходные данные:")};
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        out << QStringLiteral("  %1 = %2")
                   .arg(designKeys().at(slot), -4)
                   .arg(report.design.texts[slot]);
    }
    if (!report.findings.isEmpty()) {
        out << QString() << QStringLiteral("Замечания:");
        for (const QString& finding : report.findings) {
            out << QStringLiteral("  ") + finding;
        }
    }
    // The best suitable variant for each type that occurs in the report.
    std::map<ExchangerType, Solution> solutions;
    for (const CheckedBlock& block : report.blocks) {
        out << QString();
        if (!block.known) {
            out << QStringLiteral("Блок %1: не читается: %2")
                       .arg(block.number)
                       .arg(block.differences.join(QStringLiteral("; ")));
            continue;
        }
        out << QStringLiteral("Блок %1: %2").arg(block.number).arg(variantText(block.variant));
        if (block.differences.isEmpty()) {
            out << QStringLiteral("  числа: все строки блока (%1) совпадают с пересчётом")
                       .arg(block.linesCompared);
        } else {
            out << QStringLiteral("  числа: НЕ СОВПАДАЮТ с пересчётом:");
            for (const QString& difference : block.differences) {
                out << QStringLiteral("    блок %1, %2").arg(block.number).arg(difference);
            }
        }
        DesignData design = report.design;
        design.type = block.type;
        DesignCase dc;
        loadDesign(dc, design);
        loadVariant(dc, block.variant);
        const Evaluated& e = block.evaluated;
        out << (e.warnings.isEmpty() && e.status == CalculationStatus::Completed
                    ? QStringLiteral("  вариант подходит (запас %1 %)")
                          .arg(resultText(e.results.surfaceMargin))
                    : QStringLiteral("  вариант не подходит: ") +
                          failureReasons(e, dc).join(QStringLiteral("; ")));
        if (!solutions.count(design.type)) {
            solutions.emplace(design.type, solveDesign(design));
        }
        const Solution& s = solutions.at(design.type);
        if (s.suitable.isEmpty()) {
            out << QStringLiteral("  у задачи нет подходящего стандартного варианта");
        } else {
            const Evaluated& best = s.suitable.first();
            out << QStringLiteral("  лучший подходящий вариант: %1, запас %2 %")
                       .arg(variantText(best.variant), resultText(best.results.surfaceMargin));
            if (e.warnings.isEmpty() && e.status == CalculationStatus::Completed) {
                const qsizetype place =
                    1 + std::count_if(s.suitable.cbegin(), s.suitable.cend(),
                                      [&](const Evaluated& other) {
                                          return rankedBefore(other, e, VariantOrder::Surface);
                                      });
                out << QStringLiteral("  место варианта: %1 из %2 подходящих")
                           .arg(place)
                           .arg(s.suitableCount);
            }
        }
    }
    out << QString();
    const bool agree = report.allAgree();
    out << (agree ? QStringLiteral("Итог: все строки отчёта на месте, все числа совпадают с "
                                   "пересчётом.")
            : report.findings.isEmpty()
                ? QStringLiteral("Итог: в отчёте есть числа, не совпадающие с пересчётом.")
                : QStringLiteral("Итог: отчёт не прошёл проверку (замечаний: %1).")
                      .arg(report.findings.size() +
                           std::count_if(
                               report.blocks.cbegin(), report.blocks.cend(),
                               [](const CheckedBlock& b) { return !b.differences.isEmpty(); })));
    io.out << out.join(QLatin1Char('\n')) << QLatin1Char('\n');
    return agree ? statusDone : statusFailed;
}

} // namespace

extern const KeyCommand checkCommand{
    QLatin1String("check"),
    QStringLiteral("пересчитать каждый блок отчёта и сравнить числа"),
    QStringLiteral("ОТЧЁТ.pdf"),
    1,
    1,
    QStringLiteral("команде check нужен файл"),
    QStringLiteral("Каждая строка отчёта должна быть строкой заголовка, исходных данных или блока, "
                   "исходные данные — в допустимых интервалах; для каждого блока — подходит ли "
                   "вариант и его место среди подходящих."),
    {&taskOption, &toleranceOption},
    pdfAlways,
    run};

} // namespace orven
