// orven-key assign: a class's individual tasks, their sheets, the teacher's
// key and the table that grade reads.

#include "course/assignment.h"
#include "course/class_list.h"
#include "key_cli/assignment_set.h"
#include "key_cli/command_support.h"

#include <QDir>
#include <QElapsedTimer>

namespace orven {

namespace {

QVariant readDraw(const QString& text, QString& error) {
    bool ok = false;
    const quint64 draw = text.toULongLong(&ok);
    if (!ok) {
        error = QStringLiteral("нужно целое число от 0, а не «%1»").arg(text);
    }
    return draw;
}

QVariant readMinSuitable(const QString& text, QString& error) {
    bool ok = false;
    const int count = text.toInt(&ok);
    if (!ok || count < 1 || count > 1000) {
        error = QStringLiteral("нужно целое число от 1 до 1000, а не «%1»").arg(text);
    }
    return count;
}

const KeyOption classOption{
    {QStringLiteral("class")}, QStringLiteral("СПИСОК.csv"), QStringLiteral("список группы"), true};
const KeyOption templateOption{
    {QStringLiteral("template")}, QStringLiteral("ШАБЛОН"), QStringLiteral("шаблон задания"), true};
const KeyOption outOption{{QStringLiteral("out")},
                          QStringLiteral("ПАПКА"),
                          QStringLiteral("куда записать задания, ключ и варианты"),
                          true};
const KeyOption drawOption{{QStringLiteral("draw")},
                           QStringLiteral("N"),
                           QStringLiteral("число, которое примешивается к жеребьёвке: другое N — "
                                          "другие задания у того же класса (по умолчанию 0)"),
                           false,
                           quint64{0},
                           readDraw};
const KeyOption minSuitableOption{
    {QStringLiteral("min-suitable")},
    QStringLiteral("K"),
    QStringLiteral("не меньше K подходящих вариантов (по умолчанию 3)"),
    false,
    3,
    readMinSuitable};
const KeyOption withValuesOption{{QStringLiteral("with-values")},
                                 QString(),
                                 QStringLiteral("14 исходных данных на листе задания")};
const KeyOption courseOption{{QStringLiteral("course")},
                             QStringLiteral("ТЕКСТ"),
                             QStringLiteral("заголовок листов заданий"),
                             false,
                             QStringLiteral("Расчёт пластинчатого теплообменника")};

QVariant readPerPage(const QString& text, QString& error) {
    if (text != QStringLiteral("1") && text != QStringLiteral("2") && text != QStringLiteral("4")) {
        error = QStringLiteral("нужно 1, 2 или 4, а не «%1»").arg(text);
    }
    return text.toInt();
}

const KeyOption perPageOption{{QStringLiteral("per-page")},
                              QStringLiteral("N"),
                              QStringLiteral("листов заданий на странице A4: 1, 2 или 4 (по "
                                             "умолчанию 2; по 4 — шрифтом 8 пт)"),
                              false,
                              2,
                              readPerPage};

const KeyOption excelOption{{QStringLiteral("excel")},
                            QString(),
                            QStringLiteral("варианты.csv для Excel: «;» и метка порядка байтов "
                                           "(иначе — разделитель и метка списка группы)")};

const KeyOption replaceOption{{QStringLiteral("replace")},
                              QString(),
                              QStringLiteral("заменить набор заданий, который уже есть в ПАПКЕ: "
                                             "его файлы удаляются целиком")};

int run(const CommandLine& line, KeyIo& io) {
    AssignmentSetRequest request;
    request.classShown = line.text(classOption);
    request.templateShown = line.text(templateOption);
    request.outFolder = line.text(outOption);
    request.drawNumber = line.value(drawOption).toULongLong();
    request.minSuitable = line.value(minSuitableOption).toInt();
    request.perPage = line.value(perPageOption).toInt();
    request.withValues = line.isSet(withValuesOption);
    request.course = line.text(courseOption);
    request.excel = line.isSet(excelOption);
    if (request.classShown.isEmpty() || request.templateShown.isEmpty() ||
        request.outFolder.isEmpty()) {
        return badInput(io, QStringLiteral("команде assign нужны --class, --template и --out"));
    }
    // An old set is never mixed with a new one: replaced whole, or refused.
    const QStringList present = assignmentSetFilesIn(request.outFolder);
    if (!present.isEmpty() && !line.isSet(replaceOption)) {
        return badInput(io, QStringLiteral("в папке %1 уже есть набор заданий (%2); --replace "
                                           "заменит его целиком")
                                .arg(request.outFolder, present.join(QStringLiteral(", "))));
    }
    QByteArray contents;
    QString name;
    QString error;
    if (!readInput(request.classShown, io, contents, name, error, classInput) ||
        !readClassList(contents, name, request.list, error) ||
        !fluidFoldersOf(line, request.fluidFolders, error) ||
        !readInput(request.templateShown, io, contents, name, error, templateInput) ||
        !readTaskTemplate(contents, name, request.fluidFolders, request.taskTemplate, error)) {
        return badInput(io, error);
    }
    // What the class list's reader noticed: its encoding, namesakes.
    for (const QString& note : request.list.notes) {
        io.err << QStringLiteral("orven-key: ") << note << QLatin1Char('\n');
    }
    io.err.flush();
    // A long draw says how far it has got, once a second.
    QElapsedTimer clock;
    clock.start();
    qint64 lastTold = 0;
    request.progress = [&](int done, int of) {
        if (const qint64 now = clock.elapsed(); now - lastTold >= 1000 && done < of) {
            lastTold = now;
            io.err << QStringLiteral("orven-key: задания выданы %1 студентам из %2\n")
                          .arg(done)
                          .arg(of);
            io.err.flush();
        }
    };
    AssignmentSet set;
    switch (writeAssignmentSet(request, set, error)) {
    case SetOutcome::Written:
        break;
    case SetOutcome::TemplateFailed:
        io.err << QStringLiteral("orven-key: ") << error << QLatin1Char('\n');
        io.err.flush();
        return statusFailed;
    case SetOutcome::NotWritten:
        return badInput(io, error);
    }
    for (qsizetype i = 0; i < set.assignments.size(); ++i) {
        io.out << set.lines.at(i) << QLatin1Char('\n');
    }
    const QDir out(request.outFolder);
    io.out << QStringLiteral("Задания: %1\nКлюч: %2\nВарианты: %3 и %4/\n")
                  .arg(out.filePath(assignmentSetFiles().at(1)),
                       out.filePath(assignmentSetFiles().at(2)),
                       out.filePath(assignmentSetFiles().at(0)),
                       out.filePath(assignmentSetFiles().at(3)));
    return statusDone;
}

} // namespace

extern const KeyCommand assignCommand{
    QLatin1String("assign"),
    QStringLiteral("индивидуальные задания группы по шаблону: листы заданий, ключ "
                   "преподавателя, таблица вариантов для grade"),
    QString(),
    0,
    0,
    QString(),
    QStringLiteral("В ПАПКЕ: задания.pdf, ключ.pdf, варианты.csv и файл задачи каждого "
                   "варианта в папке «варианты»."),
    {&classOption, &templateOption, &outOption, &drawOption, &minSuitableOption, &withValuesOption,
     &courseOption, &perPageOption, &fluidsOption, &excelOption, &replaceOption},
    pdfAlways,
    run};

} // namespace orven
