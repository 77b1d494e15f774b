// orven-key assign: a class's individual tasks, their sheets, the teacher's
// key and the table that grade reads.

#include "key/assignment.h"
#include "key/class_list.h"
#include "key/command_support.h"
#include "key/commands.h"

#include <QDir>
#include <QLocale>

namespace orven {

namespace {

// Characters of 10 pt across A4 portrait between the report's margins.
constexpr int sheetWidth = 88;

QStringList wrapped(const QString& text, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty()) {
        lines << line;
    }
    return lines;
}

QString variantNumber(int variant, int count) {
    const int width = std::max(2, static_cast<int>(QString::number(count).size()));
    return QStringLiteral("%1").arg(variant, width, 10, QLatin1Char('0'));
}

QString studentLine(const Student& s) {
    return s.group.isEmpty() ? s.name : QStringLiteral("%1, группа %2").arg(s.name, s.group);
}

// One student's page of the task sheets.
QStringList sheetLines(const QString& course, const Student& student, const QString& number,
                       const Assignment& a, bool withValues) {
    QStringList lines;
    lines << wrapped(course, sheetWidth) << QString()
          << QStringLiteral("ЗАДАНИЕ на расчёт пластинчатого теплообменника") << QString()
          << QStringLiteral("Студент: %1").arg(student.name)
          << QStringLiteral("Группа:  %1").arg(student.group)
          << QStringLiteral("Вариант: %1").arg(number) << QString()
          << wrapped(taskProse(a.task), sheetWidth) << QString();
    if (withValues) {
        lines << QStringLiteral("Исходные данные для программы ORVEN:");
        for (int slot = 1; slot <= initialDataCount; ++slot) {
            const QString name = parameterName(a.task.type, slot);
            lines << QStringLiteral("  %1 %2")
                         .arg(name + QLatin1Char(' '), -(sheetWidth - 14), QLatin1Char('.'))
                         .arg(roundedText(a.prepared.design.values[slot]));
        }
    } else {
        lines << wrapped(QStringLiteral("Свойства теплоносителей при их средних температурах, "
                                        "тепловую нагрузку, расход охлаждающей среды из "
                                        "теплового баланса и среднюю разность температур "
                                        "определить самостоятельно по справочнику; затем "
                                        "подобрать теплообменник в программе ORVEN."),
                         sheetWidth);
    }
    lines << QString()
          << wrapped(QStringLiteral("Сдать: отчёт программы ORVEN (файл PDF или печать) с "
                                    "фамилией и группой в заголовке; последний блок отчёта — "
                                    "подходящий стандартный теплообменник, без предупреждений."),
                     sheetWidth);
    return lines;
}

// One student's part of the teacher's key.
QStringList keyLines(const Student& student, const QString& number, const Assignment& a) {
    QStringList lines{QStringLiteral("Вариант %1 — %2").arg(number, studentLine(student)),
                      QStringLiteral("Задание: ") + taskProse(a.task), QString()};
    lines << a.prepared.protocol;
    const Solution& s = a.solution;
    lines << QString()
          << QStringLiteral("Подходящих вариантов: %1; лучшие %2:")
                 .arg(s.suitableCount)
                 .arg(orderText(VariantOrder::Surface))
          << tableHeader();
    for (int i = 0; i < s.suitable.size(); ++i) {
        lines << tableRow(i + 1, s.suitable.at(i), a.task.type == ExchangerType::Condenser);
    }
    return lines;
}

QString variantsCsv(const ClassList& list, const QList<Assignment>& assignments, int count) {
    QStringList header = list.header;
    header << QStringLiteral("вариант") << QStringLiteral("тип") << QStringLiteral("горячий")
           << QStringLiteral("холодный") << QStringLiteral("t1н") << QStringLiteral("t1к")
           << QStringLiteral("p1") << QStringLiteral("tнас") << QStringLiteral("t2н")
           << QStringLiteral("t2к") << designKeys().mid(1);
    QStringList rows;
    const auto row = [](const QStringList& fields) {
        QStringList quoted;
        for (const QString& field : fields) {
            quoted << csvField(field);
        }
        return quoted.join(QLatin1Char(','));
    };
    rows << row(header);
    for (int i = 0; i < assignments.size(); ++i) {
        const Assignment& a = assignments.at(i);
        const TaskData& t = a.task;
        const bool condenser = t.type == ExchangerType::Condenser;
        QStringList fields = list.students.at(i).fields;
        fields << variantNumber(a.variant, count)
               << (condenser ? QStringLiteral("конденсатор") : QStringLiteral("холодильник"))
               << t.hot << t.cold << (condenser ? QString() : exactText(t.hotIn))
               << (condenser ? QString() : exactText(t.hotOut))
               << (t.steamPressure ? exactText(*t.steamPressure) : QString())
               << (t.steamTemperature ? exactText(*t.steamTemperature) : QString())
               << exactText(t.coldIn) << exactText(t.coldOut);
        for (int slot = 1; slot <= initialDataCount; ++slot) {
            fields << a.prepared.design.texts[slot];
        }
        rows << row(fields);
    }
    return rows.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace

int assignCommand(const KeyOptions& options, KeyIo& io) {
    if (options.classList.isEmpty() || options.taskTemplate.isEmpty() ||
        options.outFolder.isEmpty()) {
        return badInput(io, QStringLiteral("команде assign нужны --class, --template и --out"));
    }
    QByteArray contents;
    QString name;
    QString error;
    ClassList list;
    QStringList folders;
    TaskTemplate taskTemplate;
    if (!readInput(options.classList, io, contents, name, error) ||
        !readClassList(contents, name, list, error) || !fluidFoldersOf(options, folders, error) ||
        !readInput(options.taskTemplate, io, contents, name, error) ||
        !readTaskTemplate(contents, name, folders, taskTemplate, error)) {
        return badInput(io, error);
    }
    const int count = static_cast<int>(list.students.size());
    QList<Assignment> assignments;
    if (!assignTasks(
            taskTemplate, count,
            {options.draw, options.minSuitable, folders, AssignOptions{}.attemptsPerStudent},
            assignments, error)) {
        io.err << QStringLiteral("orven-key: ") << error << QLatin1Char('\n');
        io.err.flush();
        return statusFailed;
    }

    const QDir out(options.outFolder);
    const QString designs = QStringLiteral("варианты");
    if (!QDir().mkpath(out.filePath(designs))) {
        return badInput(io, QStringLiteral("папку %1 нельзя создать").arg(out.filePath(designs)));
    }
    ReportOperations sheets{{ReportOperation::Font, QStringLiteral("Courier New Cyr"), 0},
                            {ReportOperation::Size, QString(), 10}};
    QStringList key{
        QStringLiteral("Ключ к заданиям: класс %1, шаблон %2, жеребьёвка %3, не меньше %4 "
                       "подходящих вариантов")
            .arg(options.classList, options.taskTemplate)
            .arg(options.draw)
            .arg(options.minSuitable),
        pdfPageBreak};
    for (int i = 0; i < count; ++i) {
        const Student& student = list.students.at(i);
        const Assignment& a = assignments.at(i);
        const QString number = variantNumber(a.variant, count);
        const QString design =
            out.filePath(designs + QLatin1Char('/') + number + QStringLiteral(".txt"));
        if (!writeTextFile(
                design, preparedDesignText(
                            a.prepared,
                            QStringLiteral("вариант %1, %2").arg(number, studentLine(student))))) {
            return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(design));
        }
        if (i > 0) {
            sheets.append({ReportOperation::Page, QString(), 0});
        }
        for (const QString& line :
             sheetLines(options.course, student, number, a, options.withValues)) {
            sheets.append(line.isEmpty() ? ReportOperation{ReportOperation::Empty, QString(), 0}
                                         : ReportOperation{ReportOperation::Line, line, 0});
        }
        key << keyLines(student, number, a);
        if (i + 1 < count) {
            key << pdfPageBreak;
        }
        io.out << QStringLiteral("%1  %2  подходящих вариантов %3")
                      .arg(number, studentLine(student))
                      .arg(a.solution.suitableCount)
               << QLatin1Char('\n');
    }
    const QString csv = out.filePath(QStringLiteral("варианты.csv"));
    const QString sheetsPdf = out.filePath(QStringLiteral("задания.pdf"));
    const QString keyPdf = out.filePath(QStringLiteral("ключ.pdf"));
    if (!writeTextFile(csv, variantsCsv(list, assignments, count))) {
        return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(csv));
    }
    const KeyPdfFunctions& pdf = keyPdfFunctions();
    if (pdf.write == nullptr ||
        !pdf.write(sheets, sheetsPdf, QStringLiteral("ORVEN: задания"), false)) {
        return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(sheetsPdf));
    }
    if (!writePdf(keyPdf, key, QStringLiteral("ORVEN: ключ к заданиям"))) {
        return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(keyPdf));
    }
    io.out << QStringLiteral("Задания: %1\nКлюч: %2\nВарианты: %3 и %4/\n")
                  .arg(sheetsPdf, keyPdf, csv, out.filePath(designs));
    return statusDone;
}

} // namespace orven
