// orven-key grade: a class's reports checked against the variants of assign,
// a verdict a student, and a table for the learning system's gradebook.

#include "course/grading.h"
#include "key_cli/command_support.h"

#include <QCryptographicHash>
#include <QFile>
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

const KeyOption bomOption{
    {QStringLiteral("bom")},
    QString(),
    QStringLiteral("CSV с меткой порядка байтов (BOM): так его узнаёт Excel")};
const KeyOption missingAsZeroOption{
    {QStringLiteral("missing-as-zero")},
    QString(),
    QStringLiteral("0 тому, кто не сдал отчёт (по умолчанию оценка не ставится)")};

// A report of a long session is a few hundred kilobytes; a file far larger is
// no report and is not handed to the PDF reader.
constexpr qint64 largestReport = 64 * 1024 * 1024;

QString yesNo(bool yes) {
    return yes ? QStringLiteral("да") : QStringLiteral("нет");
}

// The file's bytes (at most largestReport and one), not through a link.
bool readSubmittedFile(const QString& path, QByteArray& contents) {
    QFile file(path);
    if (QFileInfo(path).isSymLink() || !file.open(QIODevice::ReadOnly)) {
        return false;
    }
    contents = file.read(largestReport + 1);
    return true;
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
    QList<Submission> submissions;
    if (!collectSubmissions(line.arguments, submissions, error)) {
        return badInput(io, error);
    }
    const KeyPdfFunctions& pdf = keyPdfFunctions();
    if (pdf.readText == nullptr) {
        return badInput(io, QStringLiteral("чтение PDF недоступно"));
    }
    // What each submission holds that is no report, with why.
    QList<QStringList> notReports(submissions.size());
    QList<ReadReport> reports;
    for (int i = 0; i < submissions.size(); ++i) {
        const Submission& submission = submissions.at(i);
        notReports[i] = submission.notFiles;
        for (const SubmittedFile& file : submission.files) {
            QStringList lines;
            QByteArray bytes;
            if (!readSubmittedFile(file.path, bytes)) {
                notReports[i] << QStringLiteral("%1: не читается").arg(file.shown);
            } else if (bytes.size() > largestReport) {
                notReports[i] << QStringLiteral("%1: слишком велик для отчёта").arg(file.shown);
            } else if (!bytes.startsWith("%PDF-")) {
                notReports[i] << QStringLiteral("%1: не PDF").arg(file.shown);
            } else if (!pdf.readText(file.path, lines, error)) {
                notReports[i] << QStringLiteral("%1: не читается как PDF").arg(file.shown);
            } else if (ReportCheck check = checkReportText(lines); !check.isReport) {
                notReports[i] << QStringLiteral("%1: не отчёт ORVEN").arg(file.shown);
            } else {
                reports << ReadReport{file.shown, check, i,
                                      QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
            }
        }
    }
    const ClassGrades grades =
        gradeClass(table, submissions, reports,
                   {line.value(toleranceOption).toDouble() / 100, line.isSet(missingAsZeroOption)});

    QStringList out{QStringLiteral("Проверка отчётов: %1, студентов %2, отчётов прочитано %3")
                        .arg(name)
                        .arg(table.variants.size())
                        .arg(reports.size()),
                    QStringLiteral(" Вар. %1 %2 Данные Числа Итог  Место      Балл  Отзыв")
                        .arg(QStringLiteral("Студент"), -32)
                        .arg(QStringLiteral("Группа"), -8)};
    bool clean = grades.unassigned.isEmpty();
    QStringList heldRows;
    for (int s = 0; s < table.variants.size(); ++s) {
        const ClassVariant& v = table.variants.at(s);
        const StudentGrade& g = grades.students.at(s);
        const bool has = g.graded >= 0;
        clean = clean && g.score == 100;
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
                   .arg(g.score ? QString::number(*g.score) : QStringLiteral("—"), 4)
                   .arg(g.feedback);
        // Files of the student's that are no report.
        for (int i = 0; i < submissions.size(); ++i) {
            if (grades.submitters.at(i) == s) {
                for (const QString& file : notReports.at(i)) {
                    out << QStringLiteral("      не отчёт: ") + file;
                    clean = false;
                }
            }
        }
        if (g.held) {
            heldRows << QStringLiteral(" %1 %2, %3").arg(v.number, v.student.name, v.student.group);
            for (const QString& flag : g.flags) {
                heldRows << QStringLiteral("      ! ") + flag;
            }
        }
    }
    if (!heldRows.isEmpty()) {
        out << QString() << QStringLiteral("На проверку преподавателю (оценка не выставлена):")
            << heldRows;
    }
    QStringList loose;
    for (int i = 0; i < submissions.size(); ++i) {
        if (grades.submitters.at(i) >= 0) {
            continue;
        }
        const Submission& submission = submissions.at(i);
        for (const QString& file : notReports.at(i)) {
            loose << QStringLiteral("  ") + file +
                         (submission.submitter.isEmpty()
                              ? QString()
                              : QStringLiteral(" (отправитель «%1»)").arg(submission.submitter));
        }
    }
    if (!loose.isEmpty()) {
        clean = false;
        out << QString() << QStringLiteral("Не отчёты ORVEN:") << loose;
    }
    if (!grades.unassigned.isEmpty()) {
        out << QString() << QStringLiteral("Отчёты без студента:");
        for (const QString& text : grades.unassigned) {
            out << QStringLiteral("  ") + text;
        }
    }
    io.out << out.join(QLatin1Char('\n')) << QLatin1Char('\n');
    if (!csv.isEmpty() && !writeFileBytes(csv, gradebookCsv(table, grades, line.text(itemOption),
                                                            line.text(separatorOption).at(0),
                                                            line.isSet(bomOption)))) {
        return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(csv));
    }
    return clean ? statusDone : statusFailed;
}

} // namespace

extern const KeyCommand gradeCommand{
    QLatin1String("grade"),
    QStringLiteral("проверить отчёты группы по вариантам assign: студент, данные, числа, "
                   "итоговый вариант, копии; балл и отзыв каждому"),
    QStringLiteral("СДАННОЕ..."),
    1,
    -1,
    QStringLiteral("команде grade нужны сданные отчёты: папка «Скачать все ответы» из Moodle, "
                   "папки или файлы PDF"),
    QStringLiteral("Кто сдал файл, говорит папка Moodle («Имя_номер_assignsubmission_file»); "
                   "без неё — подпись в отчёте. Балл ставится только за свою работу: отчёт с "
                   "чужой подписью, чужим вариантом, такой же, как у другого студента, или "
                   "несколько отчётов — на проверку преподавателю, без оценки и с нейтральным "
                   "отзывом."),
    {&classOption, &csvOption, &toleranceOption, &separatorOption, &itemOption, &bomOption,
     &missingAsZeroOption},
    pdfAlways,
    run};

} // namespace orven
