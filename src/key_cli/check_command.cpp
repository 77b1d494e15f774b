// orven-key check: a printed report read back and every block of it worked out again.

#include "key/design_file.h"
#include "key/report_check.h"
#include "key_cli/command_support.h"

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
    // A handed-in file: read within a bound, never through a link, and its
    // text in a reader under limits.
    QByteArray bytes;
    QString name;
    if (!readInput(file, io, bytes, name, error, reportInput)) {
        return badInput(io, error);
    }
    if (const ReadFault fault = pdf.readText(bytes, lines); fault != ReadFault::None) {
        return badInput(io, QStringLiteral("%1: %2").arg(file, readFaultText(fault)));
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
    io.out << reportCheckLines(file, report).join(QLatin1Char('\n')) << QLatin1Char('\n');
    return report.allAgree() ? statusDone : statusFailed;
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
