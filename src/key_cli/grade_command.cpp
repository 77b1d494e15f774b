// orven-key grade: a class's reports checked against the variants of assign,
// a verdict a student, and a table for the learning system's gradebook.

#include "key_cli/class_grading.h"
#include "key_cli/command_support.h"

#include <QFileInfo>

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

int run(const CommandLine& line, KeyIo& io) {
    const QString classList = line.text(classOption);
    const QString csv = line.text(csvOption);
    if (classList.isEmpty()) {
        return badInput(io, QStringLiteral("команде grade нужен --class варианты.csv"));
    }
    QByteArray contents;
    QString name;
    QString error;
    GradingRequest request;
    if (!readInput(classList, io, contents, name, error, variantsInput) ||
        !readVariantsTable(contents, name, request.table, error)) {
        return badInput(io, error);
    }
    // The worksheet first: a fault in it stops everything before any work.
    request.options = {
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
        Worksheet worksheet;
        if (!readInput(worksheetFile, io, contents, sheetName, error, worksheetInput) ||
            !worksheet.read(contents, sheetName, error)) {
            return badInput(io, error);
        }
        request.worksheet = worksheet;
    }
    request.handedIn = line.arguments;
    ClassGrading grading;
    if (!gradeHandedIn(request, grading, error)) {
        return badInput(io, error);
    }
    bool clean = true;
    io.out << gradingLines(grading, name, clean).join(QLatin1Char('\n')) << QLatin1Char('\n');
    const QString feedbackZip = line.text(feedbackZipOption);
    QList<ZipItem> items;
    QStringList unplaced;
    if (!feedbackZip.isEmpty() && !feedbackFiles(grading, items, unplaced, error)) {
        return badInput(io, error);
    }
    if (!unplaced.isEmpty()) {
        io.out << QStringLiteral("\nОтзывы не вложены в %1:\n").arg(feedbackZip)
               << unplaced.join(QLatin1Char('\n')) << QLatin1Char('\n');
    }
    if (!feedbackZip.isEmpty() && !writeZip(feedbackZip, items, error)) {
        return badInput(io, error);
    }
    if (!worksheetOut.isEmpty() && !writeFileBytes(worksheetOut, filledWorksheet(grading))) {
        return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(worksheetOut));
    }
    if (!csv.isEmpty() &&
        !writeFileBytes(csv,
                        gradebookCsv(grading.table, grading.grades, line.text(itemOption),
                                     line.text(separatorOption).at(0), line.isSet(bomOption)))) {
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
