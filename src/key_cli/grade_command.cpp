// orven-key grade: a class's reports checked against the variants of assign,
// a verdict a student, and a table for the learning system's gradebook.

#include "core/bounded_file.h"
#include "core/parallel.h"
#include "course/grading.h"
#include "course/moodle_worksheet.h"
#include "course/zip_archive.h"
#include "key_cli/command_support.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QTemporaryDir>

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

const KeyOption worksheetOption{
    {QStringLiteral("worksheet")},
    QStringLiteral("ВЕДОМОСТЬ.csv"),
    QStringLiteral("ведомость оценок задания, скачанная из Moodle: её номера участников "
                   "связывают сданное со студентами, и она заполняется оценками и отзывами")};
const KeyOption outOption{{QStringLiteral("out")},
                          QStringLiteral("ФАЙЛ"),
                          QStringLiteral("куда записать заполненную ведомость (не поверх "
                                         "скачанной)")};

const KeyOption feedbackZipOption{
    {QStringLiteral("feedback-zip")},
    QStringLiteral("ФАЙЛ.zip"),
    QStringLiteral("отзывы-файлы для Moodle («Загрузить несколько файлов отзывов в zip»): "
                   "проверка отчёта каждого сдавшего, в PDF")};

// The worksheet's rows tied to the list's students: by email, else by name.
QList<int> worksheetStudents(const Worksheet& worksheet, const VariantsTable& table) {
    QList<int> students;
    const ClassList& list = table.list;
    for (const WorksheetRow& row : worksheet.rows()) {
        int found = -1;
        if (list.emailColumn >= 0 && !row.email.isEmpty()) {
            for (int s = 0; s < table.variants.size(); ++s) {
                if (table.variants.at(s)
                        .student.fields.value(list.emailColumn)
                        .trimmed()
                        .compare(row.email, Qt::CaseInsensitive) == 0) {
                    found = s;
                    break;
                }
            }
        }
        if (found < 0 && !row.fullName.isEmpty()) {
            found = studentNamed(table, row.fullName);
        }
        students << found;
    }
    return students;
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
    if (!readInput(classList, io, contents, name, error, variantsInput) ||
        !readVariantsTable(contents, name, table, error)) {
        return badInput(io, error);
    }
    // The worksheet first: a fault in it stops everything before any work.
    Worksheet worksheet;
    QList<int> worksheetRows;
    GradingOptions options{
        line.value(toleranceOption).toDouble() / 100, line.isSet(missingAsZeroOption), {}};
    const QString worksheetFile = line.text(worksheetOption);
    const QString worksheetOut = line.text(outOption);
    if (worksheetFile.isEmpty() != worksheetOut.isEmpty()) {
        return badInput(io, QStringLiteral("--worksheet и --out даются вместе: скачанная "
                                           "ведомость и куда записать заполненную"));
    }
    if (!worksheetFile.isEmpty()) {
        QString sheetName;
        if (QFileInfo(worksheetOut).exists() && QFileInfo(worksheetOut).canonicalFilePath() ==
                                                    QFileInfo(worksheetFile).canonicalFilePath()) {
            return badInput(io, QStringLiteral("--out %1: это скачанная ведомость; заполненная "
                                               "пишется в другой файл")
                                    .arg(worksheetOut));
        }
        if (!readInput(worksheetFile, io, contents, sheetName, error, worksheetInput) ||
            !worksheet.read(contents, sheetName, error)) {
            return badInput(io, error);
        }
        worksheetRows = worksheetStudents(worksheet, table);
        for (qsizetype r = 0; r < worksheetRows.size(); ++r) {
            if (worksheetRows.at(r) >= 0 && !worksheet.rows().at(r).participant.isEmpty()) {
                options.participants.insert(worksheet.rows().at(r).participant,
                                            worksheetRows.at(r));
            }
        }
    }
    QList<Submission> submissions;
    if (!collectSubmissions(line.arguments, submissions, error)) {
        return badInput(io, error);
    }
    const KeyPdfFunctions& pdf = keyPdfFunctions();
    if (pdf.readText == nullptr) {
        return badInput(io, QStringLiteral("чтение PDF недоступно"));
    }
    // Every file read and checked on every core; the results put together in
    // the submissions' order, so that the output does not depend on timing.
    struct FileOutcome {
        QString notReport; // why it is no report; empty for a report
        ReadReport report;
    };
    QList<std::pair<int, qsizetype>> files;
    for (int i = 0; i < submissions.size(); ++i) {
        for (qsizetype f = 0; f < submissions.at(i).files.size(); ++f) {
            files << std::pair{i, f};
        }
    }
    QList<FileOutcome> outcomes(files.size());
    forEachIndex(files.size(), [&](qsizetype n) {
        const auto [i, f] = files.at(n);
        const SubmittedFile& file = submissions.at(i).files.at(f);
        FileOutcome& outcome = outcomes[n];
        QStringList lines;
        QByteArray bytes;
        QString why;
        if (!readSubmittedFile(file, largestReport, bytes, why)) {
            outcome.notReport = why;
        } else if (bytes.size() > largestReport) {
            outcome.notReport = tooLargeText(file.shown, largestReport, QStringLiteral("отчёта"));
        } else if (!bytes.startsWith("%PDF-")) {
            outcome.notReport = QStringLiteral("%1: не PDF").arg(file.shown);
        } else if (const ReadFault fault = pdf.readText(bytes, lines); fault != ReadFault::None) {
            outcome.notReport = QStringLiteral("%1: %2").arg(file.shown, readFaultText(fault));
        } else if (ReportCheck check = checkReportText(lines); !check.isReport) {
            outcome.notReport = QStringLiteral("%1: не отчёт ORVEN").arg(file.shown);
        } else {
            outcome.report = ReadReport{
                file.shown, check, i, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
        }
    });
    // What each submission holds that is no report, with why.
    QList<QStringList> notReports(submissions.size());
    for (int i = 0; i < submissions.size(); ++i) {
        notReports[i] = submissions.at(i).notFiles;
    }
    QList<ReadReport> reports;
    for (qsizetype n = 0; n < files.size(); ++n) {
        if (outcomes.at(n).notReport.isEmpty()) {
            reports << outcomes.at(n).report;
        } else {
            notReports[files.at(n).first] << outcomes.at(n).notReport;
        }
    }
    const ClassGrades grades = gradeClass(table, submissions, reports, options);

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
    QStringList strangers;
    for (qsizetype r = 0; r < worksheetRows.size(); ++r) {
        const int s = worksheetRows.at(r);
        if (s < 0) {
            const WorksheetRow& row = worksheet.rows().at(r);
            strangers << QStringLiteral("  строка %1: %2 (участник %3)")
                             .arg(row.line)
                             .arg(row.fullName, row.participant);
            continue;
        }
        const StudentGrade& g = grades.students.at(s);
        worksheet.fill(r, g.score ? std::optional<double>(*g.score) : std::nullopt, g.feedback);
    }
    if (!strangers.isEmpty()) {
        out << QString()
            << QStringLiteral("Строки ведомости без студента в списке (оставлены как "
                              "были):")
            << strangers;
    }
    io.out << out.join(QLatin1Char('\n')) << QLatin1Char('\n');
    // Each student's Moodle name and participant number: from what was
    // handed in, else from the worksheet.
    QList<std::pair<QString, QString>> moodleNames(table.variants.size());
    for (int i = 0; i < submissions.size(); ++i) {
        if (const int s = grades.submitters.at(i); s >= 0 && moodleNames[s].second.isEmpty()) {
            moodleNames[s] = {submissions.at(i).submitter, submissions.at(i).participant};
        }
    }
    for (qsizetype r = 0; r < worksheetRows.size(); ++r) {
        const int s = worksheetRows.at(r);
        if (s >= 0 && moodleNames[s].second.isEmpty()) {
            moodleNames[s] = {worksheet.rows().at(r).fullName, worksheet.rows().at(r).participant};
        }
    }
    const QString feedbackZip = line.text(feedbackZipOption);
    QList<ZipItem> feedbackFiles;
    QStringList unplaced;
    for (int s = 0; !feedbackZip.isEmpty() && s < table.variants.size(); ++s) {
        const StudentGrade& g = grades.students.at(s);
        const ClassVariant& v = table.variants.at(s);
        if (g.graded < 0) {
            continue;
        }
        const auto& [fullName, participant] = moodleNames.at(s);
        if (participant.isEmpty()) {
            unplaced << QStringLiteral("  %1: нет номера участника Moodle").arg(v.student.name);
            continue;
        }
        // The check of the student's own report against the student's own
        // variant, under the student's own name: nobody else's.
        ReportCheck check = reports.at(g.graded).check;
        compareWithTask(check, v.design, options.tolerance);
        check.student = v.student.name;
        QTemporaryDir scratch;
        const QString page = scratch.filePath(QStringLiteral("отзыв.pdf"));
        QByteArray bytes;
        if (!scratch.isValid() ||
            !writePdf(page,
                      reportCheckLines(QFileInfo(reports.at(g.graded).path).fileName(), check),
                      QStringLiteral("ORVEN: проверка отчёта")) ||
            !readSubmittedFile({page, page, {}, -1}, largestReport, bytes, error)) {
            return badInput(
                io, QStringLiteral("отзыв студенту %1 не удалось записать").arg(v.student.name));
        }
        feedbackFiles << ZipItem{
            QStringLiteral("%1_%2_assignsubmission_file/проверка отчёта.pdf")
                .arg(fullName.isEmpty() ? v.student.name : fullName, participant),
            bytes};
    }
    if (!unplaced.isEmpty()) {
        io.out << QStringLiteral("\nОтзывы не вложены в %1:\n").arg(feedbackZip)
               << unplaced.join(QLatin1Char('\n')) << QLatin1Char('\n');
    }
    if (!feedbackZip.isEmpty() && !writeZip(feedbackZip, feedbackFiles, error)) {
        return badInput(io, error);
    }
    if (!worksheetOut.isEmpty() && !writeFileBytes(worksheetOut, worksheet.bytes())) {
        return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(worksheetOut));
    }
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
    {&classOption, &worksheetOption, &outOption, &feedbackZipOption, &csvOption, &toleranceOption,
     &separatorOption, &itemOption, &bomOption, &missingAsZeroOption},
    pdfAlways,
    run};

} // namespace orven
