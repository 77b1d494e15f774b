// orven-key grade: a class's reports checked against the variants of assign,
// a verdict a student, and a table for the learning system's gradebook.

#include "course/grading.h"
#include "key_cli/command_support.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace orven {

namespace {

QVariant readSeparator(const QString& text, QString& error) {
    if (text != QStringLiteral(",") && text != QStringLiteral(";")) {
        error = QStringLiteral("нужно «,» или «;», а не «%1»").arg(text);
    }
    return text;
}

const KeyOption classOption{{QStringLiteral("class")},
                            QStringLiteral("варианты.csv"),
                            QStringLiteral("таблица вариантов, которую записала команда assign"),
                            true};
const KeyOption csvOption{{QStringLiteral("csv")},
                          QStringLiteral("ФАЙЛ"),
                          QStringLiteral("оценки в CSV для журнала системы обучения")};
const KeyOption separatorOption{{QStringLiteral("separator")},
                                QStringLiteral(",|;"),
                                QStringLiteral("разделитель CSV, «,» (по умолчанию) или «;»"),
                                false,
                                QStringLiteral(","),
                                readSeparator};
const KeyOption itemOption{{QStringLiteral("item")},
                           QStringLiteral("ИМЯ"),
                           QStringLiteral("имя столбца оценки (по умолчанию ORVEN)"),
                           false,
                           QStringLiteral("ORVEN")};

// A report of a long session is a few hundred kilobytes; a file far larger is
// no report and is not handed to the PDF reader.
constexpr qint64 largestReport = 64 * 1024 * 1024;

// The PDF files named, or found under the folders named (hidden folders and
// links left alone), in a stable order; what cannot be used goes to skipped.
QStringList reportFiles(const QStringList& arguments, QStringList& skipped) {
    QStringList files;
    for (const QString& argument : arguments) {
        const QFileInfo info(argument);
        if (!info.exists()) {
            skipped << QStringLiteral("%1: не найден").arg(argument);
        } else if (info.isDir()) {
            QStringList found;
            QDirIterator it(argument, {QStringLiteral("*.pdf"), QStringLiteral("*.PDF")},
                            QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                found << it.next();
            }
            found.sort();
            files << found;
        } else {
            files << argument;
        }
    }
    files.removeDuplicates();
    return files;
}

QString yesNo(bool yes) {
    return yes ? QStringLiteral("да") : QStringLiteral("нет");
}

int run(const CommandLine& line, KeyIo& io) {
    const QString classList = line.text(classOption);
    const QString csv = line.text(csvOption);
    if (classList.isEmpty()) {
        return badInput(io, QStringLiteral("команде grade нужен --class варианты.csv"));
    }
    QByteArray contents;
    QString name;
    QString error;
    VariantsTable table;
    if (!readInput(classList, io, contents, name, error) ||
        !readVariantsTable(contents, name, table, error)) {
        return badInput(io, error);
    }
    const KeyPdfFunctions& pdf = keyPdfFunctions();
    if (pdf.readText == nullptr) {
        return badInput(io, QStringLiteral("чтение PDF недоступно"));
    }
    QStringList notReports;
    QList<ReadReport> reports;
    for (const QString& path : reportFiles(line.arguments, notReports)) {
        const QFileInfo info(path);
        QStringList lines;
        if (info.size() > largestReport) {
            notReports << QStringLiteral("%1: слишком велик для отчёта").arg(path);
        } else if (!pdf.readText(path, lines, error)) {
            notReports << error;
        } else if (ReportCheck check = checkReportText(lines); !check.isReport) {
            notReports << QStringLiteral("%1: не отчёт ORVEN").arg(path);
        } else {
            reports << ReadReport{path, check};
        }
    }
    const ClassGrades grades =
        gradeClass(table, reports, line.value(toleranceOption).toDouble() / 100);

    QStringList out{QStringLiteral("Проверка отчётов: %1, студентов %2, отчётов прочитано %3")
                        .arg(name)
                        .arg(table.variants.size())
                        .arg(reports.size()),
                    QStringLiteral(" Вар. %1 %2 Данные Числа Итог  Место      Балл  Отзыв")
                        .arg(QStringLiteral("Студент"), -32)
                        .arg(QStringLiteral("Группа"), -8)};
    bool clean = notReports.isEmpty() && grades.unassigned.isEmpty();
    for (int s = 0; s < table.variants.size(); ++s) {
        const ClassVariant& v = table.variants.at(s);
        const StudentGrade& g = grades.students.at(s);
        const bool has = g.graded >= 0;
        clean = clean && g.score == 100 && g.flags.isEmpty();
        out << QStringLiteral(" %1 %2 %3 %4 %5 %6 %7 %8  %9")
                   .arg(v.number, -4)
                   .arg(v.student.name.left(32), -32)
                   .arg(v.student.group.left(8), -8)
                   .arg(has ? yesNo(g.ownData) : QStringLiteral("—"), -6)
                   .arg(has ? yesNo(g.numbersAgree) : QStringLiteral("—"), -5)
                   .arg(has ? yesNo(g.finalSuitable) : QStringLiteral("—"), -5)
                   .arg(g.rank > 0 ? QStringLiteral("%1/%2").arg(g.rank).arg(g.suitableCount)
                                   : QStringLiteral("—"),
                        -10)
                   .arg(g.score, 4)
                   .arg(g.feedback);
        for (const QString& flag : g.flags) {
            out << QStringLiteral("      ! ") + flag;
        }
    }
    if (!notReports.isEmpty()) {
        out << QString() << QStringLiteral("Не отчёты ORVEN:");
        for (const QString& line : notReports) {
            out << QStringLiteral("  ") + line;
        }
    }
    if (!grades.unassigned.isEmpty()) {
        out << QString() << QStringLiteral("Отчёты без студента:");
        for (const QString& line : grades.unassigned) {
            out << QStringLiteral("  ") + line;
        }
    }
    io.out << out.join(QLatin1Char('\n')) << QLatin1Char('\n');
    if (!csv.isEmpty() && !writeFileBytes(csv, gradebookCsv(table, grades, line.text(itemOption),
                                                            line.text(separatorOption).at(0)))) {
        return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(csv));
    }
    return clean ? statusDone : statusFailed;
}

} // namespace

extern const KeyCommand gradeCommand{
    QLatin1String("grade"),
    QStringLiteral("проверить отчёты группы по вариантам assign: студент, данные, числа, "
                   "итоговый вариант, копии; балл и отзыв каждому"),
    QStringLiteral("ОТЧЁТ.pdf|ПАПКА..."),
    1,
    -1,
    QStringLiteral("команде grade нужны отчёты PDF или папки с ними"),
    QString(),
    {&classOption, &csvOption, &toleranceOption, &separatorOption, &itemOption},
    pdfAlways,
    run};

} // namespace orven
