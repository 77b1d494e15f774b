// orven-key check: a printed report read back and every block of it worked out again.

#include "core/bounded_file.h"
#include "key/design_file.h"
#include "key/report_check.h"
#include "key_cli/command_support.h"

#include <QFileInfo>

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
    if (!QFileInfo::exists(file) && !QFileInfo(file).isSymLink()) {
        return badInput(io, QStringLiteral("файл %1 не найден").arg(file));
    }
    switch (readBoundedFile(file, largestReport, &bytes, nullptr, FileOwner::Anyone)) {
    case FileRead::Read:
        break;
    case FileRead::TooLarge:
        return badInput(io, QStringLiteral("%1: больше %2 МиБ, предел размера отчёта")
                                .arg(file)
                                .arg(largestReport / (1024 * 1024)));
    case FileRead::NotRegular:
        return badInput(io, QStringLiteral("%1 — не обычный файл (ссылка, папка, канал или "
                                           "устройство)")
                                .arg(file));
    case FileRead::NotOwned:
    case FileRead::Unreadable:
        return badInput(io, QStringLiteral("файл %1 нельзя прочитать").arg(file));
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
