#include "key_cli/assignment_set.h"

#include "core/csv.h"
#include "key/design_file.h"
#include "key_cli/command_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <limits>

namespace orven {

namespace {

// The key is set in 9 pt, to be read on paper.
constexpr double keyPoints = 9;

QString variantNumber(int variant, int count) {
    const int width = std::max(2, static_cast<int>(QString::number(count).size()));
    return QStringLiteral("%1").arg(variant, width, 10, QLatin1Char('0'));
}

QString studentLine(const Student& s) {
    return s.group.isEmpty() ? s.name : QStringLiteral("%1, группа %2").arg(s.name, s.group);
}

// One student's task sheet, in lines of at most width characters; compact,
// the student on one line and fewer blank lines, for a quarter of a page.
QStringList sheetLines(const QString& course, const Student& student, const QString& number,
                       const Assignment& a, bool withValues, int width, bool compact) {
    QStringList lines = wrapped(course, width);
    const QString title = QStringLiteral("ЗАДАНИЕ на расчёт пластинчатого теплообменника");
    if (compact) {
        lines << title
              << wrapped(QStringLiteral("Студент: %1   Группа: %2   Вариант: %3")
                             .arg(student.name, student.group, number),
                         width);
    } else {
        lines << QString() << title << QString() << QStringLiteral("Студент: %1").arg(student.name)
              << QStringLiteral("Группа:  %1").arg(student.group)
              << QStringLiteral("Вариант: %1").arg(number);
    }
    lines << QString() << wrapped(taskProse(a.task, a.prepared.hotGenitive), width);
    for (const QString& reference : a.prepared.references) {
        lines << wrapped(QStringLiteral("Свойства — %1").arg(reference), width);
    }
    lines << QString();
    if (withValues) {
        lines << QStringLiteral("Исходные данные для программы ORVEN:");
        for (int slot = 1; slot <= initialDataCount; ++slot) {
            const QString name = parameterName(a.task.type, slot);
            lines << QStringLiteral("  %1 %2")
                         .arg(name + QLatin1Char(' '), -(width - 14), QLatin1Char('.'))
                         .arg(roundedText(a.prepared.design.values[slot]));
        }
    } else {
        lines << wrapped(QStringLiteral("Свойства теплоносителей при их средних температурах, "
                                        "тепловую нагрузку, расход охлаждающей среды из "
                                        "теплового баланса и среднюю разность температур "
                                        "определить самостоятельно по справочнику; затем "
                                        "подобрать теплообменник в программе ORVEN."),
                         width);
    }
    if (!compact) {
        lines << QString();
    }
    lines << wrapped(QStringLiteral("Сдать: отчёт программы ORVEN (файл PDF или печать) с "
                                    "фамилией и группой в заголовке; последний блок отчёта — "
                                    "подходящий стандартный теплообменник, без предупреждений."),
                     width);
    return lines;
}

// The task sheets, perPage to an A4 page: each in its share of the page's
// rows, a dashed line to cut along between them. False, with the rows a
// sheet needs, when one does not fit its share.
bool sheetOperations(const QList<QStringList>& sheets, int perPage, double points,
                     ReportOperations& operations, int& needed) {
    const int share = pdfRowsPerPage / perPage;
    const QString cut = QStringLiteral("- ").repeated(portraitColumns(points) / 2).trimmed();
    operations = {{ReportOperation::Font, QStringLiteral("Courier New Cyr"), 0},
                  {ReportOperation::Size, QString(), points}};
    needed = 0;
    for (const QStringList& sheet : sheets) {
        needed = std::max(needed, static_cast<int>(sheet.size()) + (perPage > 1 ? 2 : 0));
    }
    if (needed > share) {
        return false;
    }
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        const qsizetype place = i % perPage;
        if (i > 0 && place == 0) {
            operations.append({ReportOperation::Page, QString(), 0});
        }
        if (place > 0) { // the cut between two sheets, a row after the one above
            operations.append({ReportOperation::Empty, QString(), 0});
            operations.append({ReportOperation::Line, cut, 0});
        }
        QStringList rows = sheets.at(i);
        // Each sheet fills its share, so that the cuts halve or quarter the page.
        const bool lastOnPage = place == perPage - 1 || i + 1 == sheets.size();
        while (!lastOnPage && rows.size() < share - 2) {
            rows << QString();
        }
        for (const QString& row : rows) {
            operations.append(row.isEmpty() ? ReportOperation{ReportOperation::Empty, QString(), 0}
                                            : ReportOperation{ReportOperation::Line, row, 0});
        }
    }
    return true;
}

// One student's part of the teacher's key.
QStringList keyLines(const Student& student, const QString& number, const Assignment& a) {
    QStringList lines{QStringLiteral("Вариант %1 — %2").arg(number, studentLine(student)),
                      QStringLiteral("Задание: ") + taskProse(a.task, a.prepared.hotGenitive)};
    for (const QString& reference : a.prepared.references) {
        lines << QStringLiteral("Свойства — %1").arg(reference);
    }
    lines << QString();
    lines << a.prepared.protocol;
    const Solution& s = a.solution;
    const bool condenser = a.task.type == ExchangerType::Condenser;
    lines << QString()
          << QStringLiteral("Подходящих вариантов: %1; лучшие %2 различных компоновки (пластина "
                            "и пакеты) %3:")
                 .arg(s.suitableCount)
                 .arg(s.suitable.size())
                 .arg(orderText(VariantOrder::Surface))
          << tableHeader(false);
    for (int i = 0; i < s.suitable.size(); ++i) {
        lines << tableRow(i + 1, s.suitable.at(i), condenser, false)
              << QStringLiteral("       каналы в пакетах (хол.; гор.): %1")
                     .arg(channelsText(s.suitable.at(i).variant));
    }
    return lines;
}

// The key's cover: what the set was drawn from, and the class at a glance.
QStringList keyCover(const QString& course, const QString& classList, const QString& templateFile,
                     const ClassList& list, const TaskTemplate& taskTemplate, quint64 classNumber,
                     quint64 draw, int minSuitable, const QList<Assignment>& assignments) {
    QStringList groups;
    QStringList references;
    qint64 fewest = std::numeric_limits<qint64>::max();
    qint64 most = 0;
    for (qsizetype i = 0; i < assignments.size(); ++i) {
        if (const QString& g = list.students.at(i).group; !g.isEmpty() && !groups.contains(g)) {
            groups << g;
        }
        for (const QString& r : assignments.at(i).prepared.references) {
            if (!references.contains(r)) {
                references << r;
            }
        }
        fewest = std::min(fewest, assignments.at(i).solution.suitableCount);
        most = std::max(most, assignments.at(i).solution.suitableCount);
    }
    const int count = static_cast<int>(assignments.size());
    QStringList lines{
        QStringLiteral("КЛЮЧ К ЗАДАНИЯМ"),
        course,
        QString(),
        QStringLiteral("Список группы: %1 — студентов %2%3")
            .arg(classList)
            .arg(count)
            .arg(groups.isEmpty()
                     ? QString()
                     : QStringLiteral(", группы: %1").arg(groups.join(QStringLiteral(", ")))),
        QStringLiteral("Шаблон: %1 — различных заданий %2")
            .arg(templateFile)
            .arg(distinctTasks(taskTemplate)),
        QStringLiteral("Жеребьёвка: %1 (--draw %2); задание студента следует из жеребьёвки и его "
                       "идентификатора")
            .arg(classNumber, 16, 16, QLatin1Char('0'))
            .arg(draw),
        QStringLiteral("У каждого задания не меньше %1 подходящих вариантов; у этих — от %2 до %3")
            .arg(minSuitable)
            .arg(fewest)
            .arg(most)};
    for (const QString& r : references) {
        lines << QStringLiteral("Свойства — %1").arg(r);
    }
    lines << QString()
          << QStringLiteral("%1  %2  %3")
                 .arg(QStringLiteral("Вариант"), -7)
                 .arg(QStringLiteral("Студент"), -60)
                 .arg(QStringLiteral("Подходящих"));
    for (int i = 0; i < count; ++i) {
        const Assignment& a = assignments.at(i);
        lines << QStringLiteral("%1  %2  %3")
                     .arg(variantNumber(a.variant, count), -7)
                     .arg(studentLine(list.students.at(i)), -60)
                     .arg(a.solution.suitableCount, 10);
    }
    return lines;
}

QByteArray variantsCsv(const ClassList& list, const QList<Assignment>& assignments, int count,
                       bool excel) {
    QStringList header = list.header;
    header << QStringLiteral("вариант") << QStringLiteral("тип") << QStringLiteral("горячий")
           << QStringLiteral("холодный") << QStringLiteral("t1н") << QStringLiteral("t1к")
           << QStringLiteral("p1") << QStringLiteral("tнас") << QStringLiteral("t2н")
           << QStringLiteral("t2к") << designKeys().mid(1);
    // As the class list was written, so that it opens where that did; a list
    // Excel saved in Windows-1251 gets UTF-8 with the mark Excel reads it by.
    CsvWriter csv(excel ? QLatin1Char(';') : list.separator,
                  excel || list.byteOrderMark || list.windows1251);
    csv.addRow(header);
    for (int i = 0; i < assignments.size(); ++i) {
        const Assignment& a = assignments.at(i);
        const TaskData& t = a.task;
        const bool condenser = t.type == ExchangerType::Condenser;
        QStringList fields = list.students.at(i).fields;
        fields << variantNumber(a.variant, count) << exchangerTypeWord(t.type) << t.hot << t.cold
               << (condenser ? QString() : exactText(t.hotIn))
               << (condenser ? QString() : exactText(t.hotOut))
               << (t.steamPressure ? exactText(*t.steamPressure) : QString())
               << (t.steamTemperature ? exactText(*t.steamTemperature) : QString())
               << exactText(t.coldIn) << exactText(t.coldOut);
        for (int slot = 1; slot <= initialDataCount; ++slot) {
            fields << a.prepared.design.texts[slot];
        }
        csv.addRow(fields);
    }
    return csv.bytes();
}

} // namespace

const QStringList& assignmentSetFiles() {
    static const QStringList names{QStringLiteral("варианты.csv"), QStringLiteral("задания.pdf"),
                                   QStringLiteral("ключ.pdf"), QStringLiteral("варианты")};
    return names;
}

QStringList assignmentSetFilesIn(const QString& folder) {
    QStringList present;
    for (const QString& name : assignmentSetFiles()) {
        const QFileInfo item(QDir(folder).filePath(name));
        if (item.exists() || item.isSymLink()) {
            present << name;
        }
    }
    return present;
}

SetOutcome writeAssignmentSet(const AssignmentSetRequest& request, AssignmentSet& set,
                              QString& error) {
    set = AssignmentSet{};
    const ClassList& list = request.list;
    const TaskTemplate& taskTemplate = request.taskTemplate;
    const int count = static_cast<int>(list.students.size());
    QStringList identifiers;
    for (const Student& student : list.students) {
        identifiers << studentIdentifier(student);
    }
    set.classDraw = classDraw(taskTemplate, identifiers, request.drawNumber);
    if (!assignTasks(taskTemplate, identifiers,
                     {set.classDraw, request.minSuitable, request.fluidFolders,
                      AssignOptions{}.attemptsPerStudent, request.progress, request.cancel},
                     set.assignments, error)) {
        return SetOutcome::TemplateFailed;
    }
    const auto notWritten = [&](const QString& why) {
        error = why;
        return SetOutcome::NotWritten;
    };

    // The set is written whole into a hidden folder beside its place, and
    // moved there only once every file is written: a run that fails leaves
    // nothing half-written, and an old set goes only when the new one is whole.
    const QString& outFolder = request.outFolder;
    const QDir out(outFolder);
    const QString designs = assignmentSetFiles().at(3);
    if (!QDir().mkpath(outFolder)) {
        return notWritten(QStringLiteral("папку %1 нельзя создать").arg(outFolder));
    }
    QTemporaryDir staging(out.filePath(QStringLiteral(".orven-assign-XXXXXX")));
    const QDir stage(staging.path());
    if (!staging.isValid() || !QDir().mkpath(stage.filePath(designs))) {
        return notWritten(QStringLiteral("в папке %1 нельзя писать").arg(outFolder));
    }
    const int perPage = request.perPage;
    const double sheetPoints = perPage == 4 ? 8 : 10;
    QList<QStringList> sheets;
    QStringList key =
        keyCover(request.course, request.classShown, request.templateShown, list, taskTemplate,
                 set.classDraw, request.drawNumber, request.minSuitable, set.assignments);
    for (int i = 0; i < count; ++i) {
        const Student& student = list.students.at(i);
        const Assignment& a = set.assignments.at(i);
        const QString number = variantNumber(a.variant, count);
        const QString design =
            stage.filePath(designs + QLatin1Char('/') + number + QStringLiteral(".txt"));
        if (!writeTextFile(
                design, preparedDesignText(
                            a.prepared,
                            QStringLiteral("вариант %1, %2").arg(number, studentLine(student))))) {
            return notWritten(QStringLiteral("файл %1 не удалось записать").arg(design));
        }
        sheets << sheetLines(request.course, student, number, a, request.withValues,
                             portraitColumns(sheetPoints), perPage == 4);
        key << pdfPageBreak << keyLines(student, number, a);
        set.lines << QStringLiteral("%1  %2  подходящих вариантов %3")
                         .arg(number, studentLine(student))
                         .arg(a.solution.suitableCount);
    }
    ReportOperations sheetPages;
    int needed = 0;
    if (!sheetOperations(sheets, perPage, sheetPoints, sheetPages, needed)) {
        return notWritten(QStringLiteral("лист задания занимает %1 строк, а на 1/%2 страницы "
                                         "их входит %3: возьмите --per-page %4")
                              .arg(needed)
                              .arg(perPage)
                              .arg(pdfRowsPerPage / perPage)
                              .arg(perPage / 2));
    }
    const QString csv = stage.filePath(assignmentSetFiles().at(0));
    const QString sheetsPdf = stage.filePath(assignmentSetFiles().at(1));
    const QString keyPdf = stage.filePath(assignmentSetFiles().at(2));
    if (!writeFileBytes(csv, variantsCsv(list, set.assignments, count, request.excel))) {
        return notWritten(QStringLiteral("файл %1 не удалось записать").arg(csv));
    }
    const KeyPdfFunctions& pdf = keyPdfFunctions();
    if (pdf.write == nullptr ||
        !pdf.write(sheetPages, sheetsPdf, QStringLiteral("ORVEN: задания"), false)) {
        return notWritten(QStringLiteral("файл %1 не удалось записать").arg(sheetsPdf));
    }
    if (!writeReadablePdf(keyPdf, key, QStringLiteral("ORVEN: ключ к заданиям"), keyPoints)) {
        return notWritten(QStringLiteral("файл %1 не удалось записать").arg(keyPdf));
    }
    // The old set out, the new one in, item by item by rename.
    for (const QString& name : assignmentSetFiles()) {
        const QFileInfo old(out.filePath(name));
        const bool removed = !old.exists() && !old.isSymLink() ? true
                             : old.isDir() && !old.isSymLink()
                                 ? QDir(old.filePath()).removeRecursively()
                                 : QFile::remove(old.filePath());
        if (!removed || !QDir().rename(stage.filePath(name), old.filePath())) {
            return notWritten(QStringLiteral("%1 не удалось заменить").arg(old.filePath()));
        }
    }
    return SetOutcome::Written;
}

} // namespace orven
