#include "key_cli/class_grading.h"

#include "core/bounded_file.h"
#include "core/parallel.h"
#include "key_cli/command_support.h"
#include "key_cli/key_command.h"
#include "key_cli/report_reader.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QTemporaryDir>

#include <mutex>

namespace orven {

namespace {

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

// Why a handed-in file is no report, or empty with the report read.
QString readHandedInFile(const SubmittedFile& file, int submission, ReadReport& report) {
    QStringList lines;
    QByteArray bytes;
    QString why;
    if (!readSubmittedFile(file, largestReport, bytes, why)) {
        return why;
    }
    if (bytes.size() > largestReport) {
        return tooLargeText(file.shown, largestReport, QStringLiteral("отчёта"));
    }
    if (!bytes.startsWith("%PDF-")) {
        return QStringLiteral("%1: не PDF").arg(file.shown);
    }
    if (const ReadFault fault = keyPdfFunctions().readText(bytes, lines);
        fault != ReadFault::None) {
        return QStringLiteral("%1: %2").arg(file.shown, readFaultText(fault));
    }
    ReportCheck check = checkReportText(lines);
    if (!check.isReport) {
        return QStringLiteral("%1: не отчёт ORVEN").arg(file.shown);
    }
    report = ReadReport{file.shown, check, submission,
                        QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
    return {};
}

} // namespace

bool gradeHandedIn(const GradingRequest& request, ClassGrading& grading, QString& error) {
    grading = ClassGrading{};
    grading.table = request.table;
    grading.options = request.options;
    grading.worksheet = request.worksheet;
    const VariantsTable& table = grading.table;
    if (grading.worksheet) {
        grading.worksheetRows = worksheetStudents(*grading.worksheet, table);
        for (qsizetype r = 0; r < grading.worksheetRows.size(); ++r) {
            const QString& participant = grading.worksheet->rows().at(r).participant;
            if (grading.worksheetRows.at(r) >= 0 && !participant.isEmpty()) {
                grading.options.participants.insert(participant, grading.worksheetRows.at(r));
            }
        }
    }
    QList<Submission>& submissions = grading.submissions;
    if (!collectSubmissions(request.handedIn, submissions, error)) {
        return false;
    }
    if (keyPdfFunctions().readText == nullptr) {
        error = QStringLiteral("чтение PDF недоступно");
        return false;
    }
    // Every file read and checked on every core; the results put together in
    // the submissions' order, so that the output does not depend on timing.
    QList<std::pair<int, qsizetype>> files;
    for (int i = 0; i < submissions.size(); ++i) {
        for (qsizetype f = 0; f < submissions.at(i).files.size(); ++f) {
            files << std::pair{i, f};
        }
    }
    QList<QString> notReport(files.size());
    QList<ReadReport> read(files.size());
    std::mutex telling;
    int done = 0;
    forEachIndex(
        files.size(),
        [&](qsizetype n) {
            if (request.cancel != nullptr && request.cancel->load()) {
                return;
            }
            const auto [i, f] = files.at(n);
            notReport[n] = readHandedInFile(submissions.at(i).files.at(f), i, read[n]);
            if (request.progress) {
                const std::lock_guard lock(telling);
                request.progress(++done, static_cast<int>(files.size()));
            }
        },
        // Each thread's reader ended by the thread itself, before the
        // thread's end takes Qt's hold on it away.
        endReportReader);
    if (request.cancel != nullptr && request.cancel->load()) {
        error = QStringLiteral("проверка отменена");
        return false;
    }
    for (int i = 0; i < submissions.size(); ++i) {
        grading.notReports << submissions.at(i).notFiles;
    }
    for (qsizetype n = 0; n < files.size(); ++n) {
        if (notReport.at(n).isEmpty()) {
            grading.reports << read.at(n);
        } else {
            grading.notReports[files.at(n).first] << notReport.at(n);
        }
    }
    grading.grades = gradeClass(table, submissions, grading.reports, grading.options);

    auto& names = grading.moodleNames;
    names.resize(table.variants.size());
    for (int i = 0; i < submissions.size(); ++i) {
        if (const int s = grading.grades.submitters.at(i); s >= 0 && names[s].second.isEmpty()) {
            names[s] = {submissions.at(i).submitter, submissions.at(i).participant};
        }
    }
    for (qsizetype r = 0; r < grading.worksheetRows.size(); ++r) {
        const int s = grading.worksheetRows.at(r);
        if (s >= 0 && names[s].second.isEmpty()) {
            const WorksheetRow& row = grading.worksheet->rows().at(r);
            names[s] = {row.fullName, row.participant};
        }
    }
    return true;
}

QStringList gradingLines(const ClassGrading& grading, const QString& name, bool& clean) {
    const VariantsTable& table = grading.table;
    const ClassGrades& grades = grading.grades;
    QStringList out{QStringLiteral("Проверка отчётов: %1, студентов %2, отчётов прочитано %3")
                        .arg(name)
                        .arg(table.variants.size())
                        .arg(grading.reports.size()),
                    QStringLiteral(" Вар. %1 %2 Данные Числа Итог  Место      Балл  Отзыв")
                        .arg(QStringLiteral("Студент"), -32)
                        .arg(QStringLiteral("Группа"), -8)};
    clean = grades.unassigned.isEmpty();
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
        for (int i = 0; i < grading.submissions.size(); ++i) {
            if (grades.submitters.at(i) == s) {
                for (const QString& file : grading.notReports.at(i)) {
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
    for (int i = 0; i < grading.submissions.size(); ++i) {
        if (grades.submitters.at(i) >= 0) {
            continue;
        }
        const Submission& submission = grading.submissions.at(i);
        for (const QString& file : grading.notReports.at(i)) {
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
    for (qsizetype r = 0; r < grading.worksheetRows.size(); ++r) {
        if (grading.worksheetRows.at(r) < 0) {
            const WorksheetRow& row = grading.worksheet->rows().at(r);
            strangers << QStringLiteral("  строка %1: %2 (участник %3)")
                             .arg(row.line)
                             .arg(row.fullName, row.participant);
        }
    }
    if (!strangers.isEmpty()) {
        out << QString()
            << QStringLiteral("Строки ведомости без студента в списке (оставлены как "
                              "были):")
            << strangers;
    }
    return out;
}

QByteArray filledWorksheet(const ClassGrading& grading) {
    if (!grading.worksheet) {
        return {};
    }
    Worksheet worksheet = *grading.worksheet;
    for (qsizetype r = 0; r < grading.worksheetRows.size(); ++r) {
        if (const int s = grading.worksheetRows.at(r); s >= 0) {
            const StudentGrade& g = grading.grades.students.at(s);
            worksheet.fill(r, g.score ? std::optional<double>(*g.score) : std::nullopt, g.feedback);
        }
    }
    return worksheet.bytes();
}

QStringList studentCheckLines(const ClassGrading& grading, int student) {
    const StudentGrade& g = grading.grades.students.at(student);
    if (g.graded < 0) {
        return {};
    }
    const ClassVariant& v = grading.table.variants.at(student);
    const ReadReport& report = grading.reports.at(g.graded);
    ReportCheck check = report.check;
    compareWithTask(check, v.design, grading.options.tolerance);
    check.student = v.student.name;
    return reportCheckLines(QFileInfo(report.path).fileName(), check);
}

bool feedbackFiles(const ClassGrading& grading, QList<ZipItem>& items, QStringList& unplaced,
                   QString& error) {
    for (int s = 0; s < grading.table.variants.size(); ++s) {
        if (grading.grades.students.at(s).graded < 0) {
            continue;
        }
        const ClassVariant& v = grading.table.variants.at(s);
        const auto& [fullName, participant] = grading.moodleNames.at(s);
        if (participant.isEmpty()) {
            unplaced << QStringLiteral("  %1: нет номера участника Moodle").arg(v.student.name);
            continue;
        }
        QTemporaryDir scratch;
        const QString page = scratch.filePath(QStringLiteral("отзыв.pdf"));
        QByteArray bytes;
        if (!scratch.isValid() ||
            !writePdf(page, studentCheckLines(grading, s),
                      QStringLiteral("ORVEN: проверка отчёта")) ||
            !readSubmittedFile({page, page, {}, -1}, largestReport, bytes, error)) {
            error = QStringLiteral("отзыв студенту %1 не удалось записать").arg(v.student.name);
            return false;
        }
        items << ZipItem{QStringLiteral("%1_%2_assignsubmission_file/проверка отчёта.pdf")
                             .arg(fullName.isEmpty() ? v.student.name : fullName, participant),
                         bytes};
    }
    return true;
}

} // namespace orven
