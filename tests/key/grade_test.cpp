// A class's reports graded at once: a class made by orven-key assign, reports
// written by the program's own report printer for students who did it right,
// edited a number, used a neighbour's variant, copied a report, wrote their
// name in Latin look-alikes or handed in nothing, and a file that is no
// report; orven-key grade as installed, its table and its gradebook CSV.

#include "core/address_sanitizer.h"
#include "core/csv.h"
#include "core/design_case.h"
#include "course/class_list.h"
#include "course/grading.h"
#include "course/zip_archive.h"
#include "key/design_file.h"
#include "key/variants.h"
#include "key_cli/key_command.h"
#include "platform/report_rendering.h"
#include "results/report_progress.h"
#include "support/key_runs.h"
#include "support/operations_printer.h"
#include "support/printed_report.h"
#include "support/test_support.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <zip.h>
#include <zlib.h>

using namespace orven;
using orven::test::OperationsPrinter;
using orven::test::Run;
using orven::test::runKey;

namespace {

struct Pupil {
    QString name;
    QString group;
    QString email;
    QString idnumber;
};

const QList<Pupil>& pupils() {
    static const QList<Pupil> list{
        {"Верный Вадим", "Х-11", "vernyi@example.org", "501"},
        {"Правкин Павел", "Х-11", "pravkin@example.org", "502"},
        {"Соседов Семён", "Х-11", "", "503"},
        {"Копиев Кирилл", "Х-12", "kopiev@example.org", ""},
        {"Дублёва Дарья", "Х-12", "dubleva@example.org", "505"},
        {"Латинская Анна", "Х-12", "latin@example.org", "506"},
        {"Пропущенный; Пётр \"Младший\"", "Х-12", "propusk@example.org", "507"},
        {"Жертвин Юрий", "Х-11", "zhertvin@example.org", "508"},
        {"Петров Пётр", "Х-11", "petrov@example.org", "509"},
        {"Попов Егор", "Х-12", "popov@example.org", "510"},
        {"Обрезков Олег", "Х-12", "obrezkov@example.org", "511"},
        {"Вложенов Виктор", "Х-12", "vlozhenov@example.org", "512"},
    };
    return list;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One digit of the last block's last number changed, as a hand edit would.
void editLastNumber(ReportOperations& ops) {
    for (qsizetype i = ops.size() - 1; i >= 0; --i) {
        QString& text = ops[i].text;
        if (ops[i].kind != ReportOperation::Line || text.trimmed().startsWith(QLatin1Char('-'))) {
            continue;
        }
        for (qsizetype c = text.size() - 1; c >= 0; --c) {
            if (text.at(c).isDigit()) {
                text[c] = QChar(u'0' + (text.at(c).digitValue() + 1) % 10);
                return;
            }
        }
    }
}

using ZipEntries = QList<std::pair<QString, QByteArray>>;

// A zip as Moodle (or anyone) might write it: names as given, stored or deflated.
bool writeTestZip(const QString& path, const ZipEntries& entries, bool deflate) {
    int code = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (zip == nullptr) {
        return false;
    }
    for (const auto& [name, contents] : entries) {
        zip_source_t* source = zip_source_buffer(zip, contents.constData(),
                                                 static_cast<zip_uint64_t>(contents.size()), 0);
        const zip_int64_t index =
            zip_file_add(zip, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_discard(zip);
            return false;
        }
        zip_set_file_compression(zip, static_cast<zip_uint64_t>(index),
                                 deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
    }
    return zip_close(zip) == 0;
}

// A PDF of the objects (object 1 the catalogue, numbered in order) with its
// cross-reference table; extra goes into the trailer.
QByteArray pdfOf(const QList<QByteArray>& objects, const QByteArray& extra = {}) {
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets) {
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    }
    return pdf + "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R " +
           extra + " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
}

QByteArray streamOf(const QByteArray& dictionary, const QByteArray& data) {
    return "<< " + dictionary + " /Length " + QByteArray::number(data.size()) + " >>\nstream\n" +
           data + "\nendstream";
}

// Deflated in the zlib format FlateDecode reads: head, count bytes of the
// pattern over and over (a mebibyte holds it whole), tail; made a mebibyte at
// a time, so that gigabytes need no memory.
QByteArray deflated(const QByteArray& head, const QByteArray& pattern, qint64 count,
                    const QByteArray& tail) {
    z_stream z{};
    deflateInit(&z, 9);
    QByteArray out;
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    const auto feed = [&](const QByteArray& in, int flush) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
        z.avail_in = static_cast<uInt>(in.size());
        do {
            z.next_out = reinterpret_cast<Bytef*>(buffer.data());
            z.avail_out = static_cast<uInt>(buffer.size());
            deflate(&z, flush);
            out.append(buffer.constData(), buffer.size() - z.avail_out);
        } while (z.avail_out == 0);
    };
    feed(head, Z_NO_FLUSH);
    const QByteArray block = pattern.repeated((1 << 20) / std::max<qsizetype>(1, pattern.size()));
    for (qint64 done = 0; done < count; done += block.size()) {
        feed(block.left(std::min<qint64>(block.size(), count - done)), Z_NO_FLUSH);
    }
    feed(tail, Z_FINISH);
    deflateEnd(&z);
    return out;
}

// A one-page PDF whose page draws the contents (objects 4 on) given.
QByteArray pageOf(const QByteArray& contents, const QList<QByteArray>& streams) {
    QList<QByteArray> objects{
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents " + contents + " >>"};
    return pdfOf(objects + streams);
}

} // namespace

class GradeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QByteArray list = "фамилия;группа;email;idnumber\n";
        for (const Pupil& p : pupils()) {
            list += QStringList{csvField(p.name), p.group, p.email, p.idnumber}
                        .join(QLatin1Char(';'))
                        .toUtf8() +
                    '\n';
        }
        QFile file(dir_.filePath(QStringLiteral("class.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(list);
        file.close();
        const Run assigned =
            runKey({QStringLiteral("assign"), QStringLiteral("--class"),
                    dir_.filePath(QStringLiteral("class.csv")), QStringLiteral("--template"),
                    test::sourceDir() + QStringLiteral("/tests/key/class_template.txt"),
                    QStringLiteral("--out"), dir_.filePath(QStringLiteral("class")),
                    QStringLiteral("--draw"), QStringLiteral("5")});
        QVERIFY2(assigned.status == 0, qPrintable(assigned.err));

        const auto design = [&](int variant) {
            const QString path = dir_.filePath(
                QStringLiteral("class/варианты/%1.txt").arg(variant, 2, 10, QLatin1Char('0')));
            DesignData data;
            QString error;
            if (!readDesignFile(readFile(path), path, data, error)) {
                qWarning("%s", qPrintable(error));
            }
            return data;
        };
        // Moodle's unpacked "Download all submissions": a folder a submitter
        // (the Moodle full name, first name first), and one flat file.
        const QString moodle = QStringLiteral("moodle");
        const auto folderOf = [&](const QString& fullName, int participant) {
            return QStringLiteral("%1/%2_%3_assignsubmission_file/")
                .arg(moodle, fullName)
                .arg(participant);
        };
        const auto write = [&](const QString& name, const ReportOperations& ops) {
            const QString path = dir_.filePath(name);
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QVERIFY(writeReportPdf(ops, path));
        };
        const auto copy = [&](const QString& from, const QString& to) {
            QVERIFY(QDir().mkpath(QFileInfo(dir_.filePath(to)).path()));
            QVERIFY(QFile::copy(dir_.filePath(from), dir_.filePath(to)));
        };
        write(folderOf("Вадим Верный", 101) + "отчёт.pdf",
              test::printedReport(design(1), "Верный Вадим гр. Х-11", {1}));
        ReportOperations edited = test::printedReport(design(2), "Правкин Павел Х-11", {2, 1});
        editLastNumber(edited);
        write(folderOf("Павел Правкин", 102) + "orven-report.pdf", edited);
        // Соседов's report of Верный's variant.
        write(folderOf("Семён Соседов", 103) + "соседов.pdf",
              test::printedReport(design(1), "Соседов Семён Гр.Х-11", {2}));
        // One file handed in by Копиев and by Дублёва.
        write(folderOf("Кирилл Копиев", 104) + "копиев.pdf",
              test::printedReport(design(4), "Копиев Кирилл Х-12", {1}));
        copy(folderOf("Кирилл Копиев", 104) + "копиев.pdf",
             folderOf("Дарья Дублёва", 105) + "мой.pdf");
        // Латинская Анна typed with the Latin a, A and X, in a plain folder:
        // her printed name ties the report.
        write(QStringLiteral("plain/латинская.pdf"),
              test::printedReport(design(6), "Лaтинскaя Aннa группа X-12", {3, 1}));
        // A hidden folder is not looked into.
        write(QStringLiteral("plain/.hidden/верный-2.pdf"),
              test::printedReport(design(1), "Верный Вадим гр. Х-11", {2}));
        // Петров hands in Жертвин's report under another name.
        write(folderOf("Юрий Жертвин", 108) + "жертвин.pdf",
              test::printedReport(design(8), "Жертвин Юрий Х-11", {1}));
        copy(folderOf("Юрий Жертвин", 108) + "жертвин.pdf",
             folderOf("Пётр Петров", 109) + "петров.pdf");
        // Last year's student's report, Попов's variant, in Попов's folder.
        write(folderOf("Егор Попов", 110) + "попов.pdf",
              test::printedReport(design(10), "Титов Р.Р. гр. ЭН-201", {1}));
        // A report cut after its initial data.
        ReportOperations cut = test::printedReport(design(11), "Обрезков Олег Х-12", {1});
        const auto results = std::find_if(cut.begin(), cut.end(), [](const ReportOperation& op) {
            return op.text.contains(QStringLiteral("РЕЗУЛЬТАТЫ"));
        });
        QVERIFY(results != cut.end());
        cut.erase(results, cut.end());
        write(moodle + QStringLiteral("/Олег Обрезков_111_assignsubmission_file_обрезок.pdf"), cut);
        // A right report beside the task sheet and a picture.
        write(folderOf("Виктор Вложенов", 112) + "отчёт.pdf",
              test::printedReport(design(12), "Вложенов Виктор Х-12", {1}));
        copy(QStringLiteral("class/задания.pdf"), folderOf("Виктор Вложенов", 112) + "задание.pdf");
        QFile picture(dir_.filePath(folderOf("Виктор Вложенов", 112) + "фото.jpg"));
        QVERIFY(picture.open(QIODevice::WriteOnly));
        picture.write("\xFF\xD8\xFF\xE0 not a PDF");
        picture.close();

        csv_ = dir_.filePath(QStringLiteral("оценки.csv"));
        run_ = runKey({QStringLiteral("grade"), QStringLiteral("--class"),
                       dir_.filePath(QStringLiteral("class/варианты.csv")), dir_.filePath(moodle),
                       dir_.filePath(QStringLiteral("plain")), QStringLiteral("--csv"), csv_});
    }

    // Each student's mark (empty where held or missing), whether the row is
    // held for the teacher, and the feedback, which names no other student.
    void classGraded_data() {
        QTest::addColumn<QString>("student");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("held");
        QTest::addColumn<QString>("feedback");
        QTest::addColumn<QString>("evidence");
        QTest::newRow("right") << "Верный Вадим"
                               << "100" << false << "верно; вариант 1-й из"
                               << "";
        QTest::newRow("a number edited")
            << "Правкин Павел"
            << "70" << false << "числа отчёта не совпадают с пересчётом: блок 2,"
            << "";
        QTest::newRow("another's variant") << "Соседов Семён"
                                           << "" << true << "работа на проверке у преподавателя"
                                           << "данные варианта 01 (другой студент: Верный Вадим)";
        QTest::newRow("one file, two submitters: the first")
            << "Копиев Кирилл"
            << "" << true << "работа на проверке у преподавателя"
            << "такой же отчёт у Дублёва Дарья";
        QTest::newRow("one file, two submitters: the second")
            << "Дублёва Дарья"
            << "" << true << "работа на проверке у преподавателя"
            << "такой же отчёт у Копиев Кирилл";
        QTest::newRow("tied by the printed name") << "Латинская Анна"
                                                  << "100" << false << "верно;"
                                                  << "";
        QTest::newRow("nothing handed in") << "Пропущенный; Пётр \"Младший\""
                                           << "" << false << "отчёт не сдан"
                                           << "";
        QTest::newRow("whose report was handed in by another")
            << "Жертвин Юрий"
            << "" << true << "работа на проверке у преподавателя"
            << "такой же отчёт у Петров Пётр";
        QTest::newRow("another's report renamed")
            << "Петров Пётр"
            << "" << true << "работа на проверке у преподавателя"
            << "подпись «Жертвин Юрий Х-11» — не отправителя (это Жертвин Юрий)";
        QTest::newRow("signed by a name outside the class")
            << "Попов Егор"
            << "" << true << "работа на проверке у преподавателя"
            << "подпись «Титов Р.Р. гр. ЭН-201» — не отправителя";
        QTest::newRow("cut after its initial data")
            << "Обрезков Олег"
            << "0" << false << "в отчёте нет ни одного блока результатов"
            << "";
        QTest::newRow("beside a task sheet and a picture") << "Вложенов Виктор"
                                                           << "100" << false << "верно;"
                                                           << "";
    }
    void classGraded() {
        QFETCH(QString, student);
        QFETCH(QString, mark);
        QFETCH(bool, held);
        QFETCH(QString, feedback);
        QFETCH(QString, evidence);
        QVERIFY2(run_.status == 1, qPrintable(run_.err));
        QList<QStringList> rows;
        QList<int> lines;
        QString error;
        QVERIFY(parseCsv(QString::fromUtf8(readFile(csv_)), QLatin1Char(','), rows, lines, csv_,
                         error));
        const auto row = std::find_if(rows.cbegin(), rows.cend(),
                                      [&](const QStringList& r) { return r.value(2) == student; });
        QVERIFY2(row != rows.cend(), qPrintable(student));
        QCOMPARE(row->value(3), mark);
        QVERIFY2(row->value(4).startsWith(feedback), qPrintable(row->value(4)));
        for (const Pupil& other : pupils()) {
            if (other.name != student) {
                QVERIFY2(!row->value(4).contains(other.name.section(QLatin1Char(' '), 0, 0)),
                         qPrintable(row->value(4)));
            }
        }
        // The teacher's table: held rows under their heading, with the evidence.
        const qsizetype heading = run_.out.indexOf(QStringLiteral("На проверку преподавателю"));
        const qsizetype listed = run_.out.indexOf(QLatin1Char(' ') + student + QLatin1Char(','),
                                                  std::max<qsizetype>(heading, 0));
        QCOMPARE(heading >= 0 && listed > heading, held);
        QVERIFY2(run_.out.mid(std::max<qsizetype>(heading, 0)).contains(evidence),
                 qPrintable(run_.out));
    }

    // The gradebook CSV byte for byte: quoting, CR LF, the empty marks.
    void gradebookBytes() {
        QByteArray made = readFile(csv_);
        QByteArray expected =
            readFile(test::sourceDir() + QStringLiteral("/tests/key/grade_expected.csv"));
#ifdef Q_OS_WIN
        // The reports here were written by the Windows build, whose fonts
        // stand the rows a little otherwise on the page: poppler's physical
        // layout, which counts the rows from where they stand, then puts a
        // difference one row apart from the Linux build's reports.
        static const QRegularExpression place(QStringLiteral("\\(стр\\. \\d+, строка \\d+\\)"));
        made = QString::fromUtf8(made).replace(place, QStringLiteral("(место)")).toUtf8();
        expected = QString::fromUtf8(expected).replace(place, QStringLiteral("(место)")).toUtf8();
#endif
        QCOMPARE(made, expected);
    }

    // Who a Moodle folder or flat file name says handed it in, and what is not
    // Moodle's layout.
    void moodleNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fullName"); // empty: not Moodle's layout
        QTest::addColumn<QString>("participant");
        QTest::addColumn<QString>("rest");
        QTest::newRow("folder") << "Иван Иванов_123_assignsubmission_file"
                                << "Иван Иванов"
                                << "123"
                                << "";
        QTest::newRow("folder before Moodle 4.1") << "Иван Иванов_123_assignsubmission_file_"
                                                  << "Иван Иванов"
                                                  << "123"
                                                  << "";
        QTest::newRow("flat file") << "Иван Иванов_123_assignsubmission_file_мой_отчёт.pdf"
                                   << "Иван Иванов"
                                   << "123"
                                   << "мой_отчёт.pdf";
        QTest::newRow("underscore in the name") << "Анна_Мария Петрова_7_assignsubmission_file"
                                                << "Анна Мария Петрова"
                                                << "7"
                                                << "";
        QTest::newRow("a plain file") << "отчёт.pdf"
                                      << ""
                                      << ""
                                      << "";
        QTest::newRow("no number") << "Иван_abc_assignsubmission_file"
                                   << ""
                                   << ""
                                   << "";
        QTest::newRow("marker run on") << "Иван_12_assignsubmission_filex"
                                       << ""
                                       << ""
                                       << "";
        QTest::newRow("no name") << "_12_assignsubmission_file"
                                 << ""
                                 << ""
                                 << "";
    }
    void moodleNames() {
        QFETCH(QString, name);
        QFETCH(QString, fullName);
        QFETCH(QString, participant);
        QFETCH(QString, rest);
        QString gotName;
        QString gotNumber;
        QString gotRest;
        QCOMPARE(moodleSubmitter(name, gotName, gotNumber, gotRest), !fullName.isEmpty());
        if (!fullName.isEmpty()) {
            QCOMPARE(gotName, fullName);
            QCOMPARE(gotNumber, participant);
            QCOMPARE(gotRest, rest);
        }
    }

    // Moodle's zip itself, stored or deflated, grades as its unpacked folder.
    void zipGraded_data() {
        QTest::addColumn<bool>("deflate");
        QTest::newRow("stored") << false;
        QTest::newRow("deflated") << true;
    }
    void zipGraded() {
        QFETCH(bool, deflate);
        const QString zip = dir_.filePath(QStringLiteral("moodle.zip"));
        QVERIFY(writeTestZip(zip, folderEntries(), deflate));
        const QString csv = dir_.filePath(QStringLiteral("zip.csv"));
        const Run run =
            runKey({QStringLiteral("grade"), QStringLiteral("--class"),
                    dir_.filePath(QStringLiteral("class/варианты.csv")), zip,
                    dir_.filePath(QStringLiteral("plain")), QStringLiteral("--csv"), csv});
        QCOMPARE(run.status, 1);
        QCOMPARE(readFile(csv), readFile(csv_));
        QVERIFY2(
            run.out.contains(QStringLiteral("moodle.zip: Виктор Вложенов_112_assignsubmission_file/"
                                            "фото.jpg: не PDF")),
            qPrintable(run.out));
    }

    // Entries that climb out, stand at the root, are a link or unpack a
    // hundredfold are refused each with its line, never written anywhere; the
    // genuine entries beside them are graded.
    void hostileZip() {
        ZipEntries entries = folderEntries();
        const QByteArray report = entries.first().second;
        entries << std::pair{QStringLiteral("../x.pdf"), report}
                << std::pair{QStringLiteral("/tmp/orven-absolute.pdf"), report}
                << std::pair{QStringLiteral("Вадим Верный_101_assignsubmission_file/нули.pdf"),
                             QByteArray(8 * 1024 * 1024, '\0')}
                << std::pair{QStringLiteral("Вадим Верный_101_assignsubmission_file/CON.pdf"),
                             report};
        const QString zip = dir_.filePath(QStringLiteral("hostile/moodle.zip"));
        QVERIFY(QDir().mkpath(QFileInfo(zip).path()));
        QVERIFY(writeTestZip(zip, entries, true));
        const QString csv = dir_.filePath(QStringLiteral("hostile/оценки.csv"));
        const Run run = runKey({QStringLiteral("grade"), QStringLiteral("--class"),
                                dir_.filePath(QStringLiteral("class/варианты.csv")), zip,
                                QStringLiteral("--csv"), csv});
        QCOMPARE(run.status, 1);
        for (const QString& line : {QStringLiteral("../x.pdf: путь с «..»"),
                                    QStringLiteral("/tmp/orven-absolute.pdf: абсолютный путь"),
                                    QStringLiteral("нули.pdf: сжат больше чем в 100 раз"),
                                    QStringLiteral("CON.pdf: имя устройства Windows «CON.pdf»")}) {
            QVERIFY2(run.out.contains(line), qPrintable(run.out));
        }
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("x.pdf"))));
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/orven-absolute.pdf")));
        QDirIterator written(QFileInfo(zip).path(), QDir::AllEntries | QDir::NoDotAndDotDot);
        QStringList files;
        while (written.hasNext()) {
            files << QFileInfo(written.next()).fileName();
        }
        files.sort();
        QCOMPARE(files, (QStringList{"moodle.zip", "оценки.csv"}));
        const QString marks = QString::fromUtf8(readFile(csv));
        QVERIFY2(marks.contains(QStringLiteral("Верный Вадим,100,")), qPrintable(marks));
    }

    // An archive of more entries than the limit, or of none, is refused whole.
    void zipRefused_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("line");
        QTest::newRow("20 000 entries") << 20000 << "в архиве 20000 записей, больше предела 10000";
        QTest::newRow("no entry") << 0 << "в архиве ни одного файла";
    }
    void zipRefused() {
        QFETCH(int, entries);
        QFETCH(QString, line);
        ZipEntries many;
        for (int i = 0; i < entries; ++i) {
            many << std::pair{QStringLiteral("f%1.txt").arg(i), QByteArray("x")};
        }
        const QString zip = dir_.filePath(QStringLiteral("many.zip"));
        QFile::remove(zip);
        if (entries == 0) {
            // libzip writes no file for an empty archive: the end record alone.
            QFile empty(zip);
            QVERIFY(empty.open(QIODevice::WriteOnly));
            empty.write(QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'));
            empty.close();
        } else {
            QVERIFY(writeTestZip(zip, many, false));
        }
        const Run run = runKey({QStringLiteral("grade"), QStringLiteral("--class"),
                                dir_.filePath(QStringLiteral("class/варианты.csv")), zip});
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, QStringLiteral("orven-key: %1: %2\n").arg(zip, line));
    }

    // Moodle's grading worksheet given back with only the grade and feedback
    // cells filled, scaled to each row's maximum; an extra column and a row
    // of nobody in the class stay as they came.
    void worksheetFilled_data() {
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QString>("participant");
        QTest::addColumn<QString>("maximum");
        QTest::addColumn<QStringList>("marks"); // Верный, Правкин, Соседов, Обрезков
        QTest::newRow("English, out of 5") << QStringList{"Identifier",
                                                          "Full name",
                                                          "Email address",
                                                          "Status",
                                                          "Group",
                                                          "Grade",
                                                          "Maximum grade",
                                                          "Grade can be changed",
                                                          "Last modified (submission)",
                                                          "Last modified (grade)",
                                                          "Feedback comments"}
                                           << "Participant %1"
                                           << "5.00" << QStringList{"5.00", "3.50", "", "0.00"};
        QTest::newRow("Russian, out of 100")
            << QStringList{"Идентификатор",
                           "Полное имя",
                           "Адрес электронной почты",
                           "Состояние",
                           "Группа",
                           "Оценка",
                           "Максимальная оценка",
                           "Оценка может быть изменена",
                           "Последнее изменение (ответ)",
                           "Последнее изменение (оценка)",
                           "Отзыв в виде комментария"}
            << "Участник %1"
            << "100,00" << QStringList{"100,00", "70,00", "", "0,00"};
    }
    void worksheetFilled() {
        QFETCH(QStringList, headers);
        QFETCH(QString, participant);
        QFETCH(QString, maximum);
        QFETCH(QStringList, marks);
        // A Russian worksheet as a spreadsheet may save it: with a byte order mark.
        const bool russian = participant.startsWith(QStringLiteral("Участник"));
        QByteArray sheet = QByteArray(russian ? "\xEF\xBB\xBF" : "") +
                           headers.join(QLatin1Char(',')).toUtf8() + "\n";
        const QStringList firstNames{"Вадим", "Павел", "Семён", "Кирилл", "Дарья", "Анна",
                                     "Пётр",  "Юрий",  "Пётр",  "Егор",   "Олег",  "Виктор"};
        for (int i = 0; i < pupils().size(); ++i) {
            const Pupil& p = pupils().at(i);
            const QString fullName =
                firstNames.at(i) + QLatin1Char(' ') + p.name.section(QLatin1Char(' '), 0, 0);
            sheet += QStringList{participant.arg(101 + i),
                                 csvField(fullName),
                                 p.email,
                                 "\"Отправлено для оценивания, не оценено\"",
                                 "Х",
                                 "",
                                 csvField(maximum),
                                 "Да",
                                 "\"среда, 9 декабря 2026, 10:15\"",
                                 "-",
                                 ""}
                         .join(QLatin1Char(','))
                         .toUtf8() +
                     "\n";
        }
        const QByteArray stranger =
            participant.arg(999).toUtf8() +
            ",Иван Чужой,chuzhoi@example.org,-,Х,,5,Да,-,-,\"прежний, отзыв\"\n";
        sheet += stranger;
        const QString in = dir_.filePath(QStringLiteral("Grades-ТП-Курсовой-17.csv"));
        const QString out = dir_.filePath(QStringLiteral("ведомость.csv"));
        QFile file(in);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(sheet);
        file.close();
        const Run run =
            runKey({QStringLiteral("grade"), QStringLiteral("--class"),
                    dir_.filePath(QStringLiteral("class/варианты.csv")),
                    dir_.filePath(QStringLiteral("moodle")), dir_.filePath(QStringLiteral("plain")),
                    QStringLiteral("--worksheet"), in, QStringLiteral("--out"), out});
        QCOMPARE(run.status, 1);
        QVERIFY2(
            run.out.contains(
                QStringLiteral("строка %1: Иван Чужой (участник 999)").arg(pupils().size() + 2)),
            qPrintable(run.out));
        QCOMPARE(readFile(in), sheet);
        QVERIFY(readFile(out).endsWith(stranger));
        QCOMPARE(readFile(out).startsWith("\xEF\xBB\xBF"), russian);
#ifdef Q_OS_WIN
        QSKIP("Python's csv reads the worksheet in the Linux build");
#endif
        const auto table = [](const QString& path) {
            QProcess python;
            python.start(QStringLiteral("/usr/bin/python3"),
                         {QStringLiteral("-c"),
                          QStringLiteral("import csv, json, sys\n"
                                         "with open(sys.argv[1], newline='', encoding='utf-8') as "
                                         "f:\n"
                                         "    print(json.dumps(list(csv.reader(f))))\n"),
                          path});
            python.waitForFinished(30000);
            return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
        };
        const QJsonArray before = table(in);
        const QJsonArray after = table(out);
        QCOMPARE(after.size(), before.size());
        const int grade = 5;
        const int feedback = 10;
        for (int r = 0; r < before.size(); ++r) {
            const QJsonArray a = before.at(r).toArray();
            const QJsonArray b = after.at(r).toArray();
            QCOMPARE(b.size(), a.size());
            for (int c = 0; c < a.size(); ++c) {
                if (r == 0 || r == before.size() - 1 || (c != grade && c != feedback)) {
                    QCOMPARE(b.at(c), a.at(c));
                }
            }
        }
        const QStringList who{"Верный Вадим", "Правкин Павел", "Соседов Семён", "Обрезков Олег"};
        for (int i = 0; i < who.size(); ++i) {
            const auto at = std::find_if(pupils().cbegin(), pupils().cend(),
                                         [&](const Pupil& p) { return p.name == who.at(i); });
            const QJsonArray row = after.at(1 + int(at - pupils().cbegin())).toArray();
            QCOMPARE(row.at(grade).toString(), marks.at(i));
        }
        const QJsonArray held = after.at(3).toArray();
        QCOMPARE(held.at(feedback).toString(),
                 QStringLiteral("работа на проверке у преподавателя"));
    }

    // The feedback files: a folder a student in Moodle's layout, the check of
    // the student's own report in it, naming nobody else; a report from
    // outside Moodle's layout has no participant number to go under.
    void feedbackZip() {
        const QString zip = dir_.filePath(QStringLiteral("отзывы.zip"));
        const Run run =
            runKey({QStringLiteral("grade"), QStringLiteral("--class"),
                    dir_.filePath(QStringLiteral("class/варианты.csv")),
                    dir_.filePath(QStringLiteral("moodle")), dir_.filePath(QStringLiteral("plain")),
                    QStringLiteral("--feedback-zip"), zip});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains(QStringLiteral("Латинская Анна: нет номера участника Moodle")),
                 qPrintable(run.out));
        ZipReader reader;
        QString error;
        QVERIFY2(reader.open(zip, error), qPrintable(error));
        QStringList names;
        for (qsizetype i = 0; i < reader.entries().size(); ++i) {
            const ZipEntry& entry = reader.entries().at(i);
            names << entry.name;
            QByteArray pdf;
            QVERIFY2(reader.read(i, pdf, error), qPrintable(error));
            const QString path = dir_.filePath(QStringLiteral("feedback.pdf"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(pdf);
            file.close();
            QProcess text;
            text.start(QStringLiteral("pdftotext"),
                       {QStringLiteral("-layout"), QStringLiteral("-eol"), QStringLiteral("unix"),
                        path, QStringLiteral("-")});
            QVERIFY(text.waitForFinished(30000));
            const QString page = QString::fromUtf8(text.readAllStandardOutput());
            const auto own = std::find_if(pupils().cbegin(), pupils().cend(), [&](const Pupil& p) {
                return entry.name.contains(p.name.section(QLatin1Char(' '), 0, 0));
            });
            QVERIFY2(own != pupils().cend(), qPrintable(entry.name));
            QVERIFY2(page.contains(QStringLiteral("Студент: ") + own->name), qPrintable(page));
            for (const Pupil& other : pupils()) {
                if (other.name != own->name) {
                    QVERIFY2(!page.contains(other.name.section(QLatin1Char(' '), 0, 0)),
                             qPrintable(entry.name + QLatin1Char('\n') + page));
                }
            }
        }
        names.sort();
        QCOMPARE(names.size(), pupils().size() - 2);
        QCOMPARE(names.first(),
                 QStringLiteral("Вадим Верный_101_assignsubmission_file/проверка отчёта.pdf"));
    }

    // What is no report is listed under whoever handed it in; the hidden
    // folder is not read.
    void notReportsListed() {
        const qsizetype row = run_.out.indexOf(QStringLiteral("Вложенов Виктор"));
        QVERIFY(row >= 0);
        const QString after = run_.out.mid(row);
        QVERIFY2(after.contains(QStringLiteral("не отчёт: ")) &&
                     after.contains(QStringLiteral("задание.pdf: не отчёт ORVEN")) &&
                     after.contains(QStringLiteral("фото.jpg: не PDF")),
                 qPrintable(run_.out));
        QVERIFY(!run_.out.contains(QStringLiteral("верный-2.pdf")));
    }

    // Files made to stall or exhaust the reader, each read under the limits
    // and said in one line with the limit it broke; check exits 2.
    void hostileFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("line");
        const QString limit = QStringLiteral("отчёт не прочитан: ");
        QTest::newRow("a stream inflating to 256 MiB of operators")
            << "раздутый.pdf" << limit + "чтение дольше 5 с, предел времени 5 с";
        QTest::newRow("one stream drawn 1000 times")
            << "тысяча.pdf" << limit + "чтение дольше 5 с, предел времени 5 с";
        // Where the reader's memory is not bounded (readerMemoryBounded) the
        // file may be read (it holds no report) or stopped by time.
        QTest::newRow("a string of 600 MiB")
            << "строка.pdf"
            << (!test::readerMemoryBounded()
                    ? QStringLiteral("строка.pdf")
                    : limit + "чтение прервано: файлу мало 512 МиБ памяти (предел)");
        QTest::newRow("100 000 pages")
            << "страницы.pdf" << limit + "в нём больше 100 страниц, предел 100 страниц";
        QTest::newRow("arrays 100 000 deep") << "вложенный.pdf"
                                             << "— не отчёт ORVEN";
        QTest::newRow("a cross-reference loop") << "петля.pdf"
                                                << "— не отчёт ORVEN";
        QTest::newRow("encrypted, the password unknown") << "шифр.pdf"
                                                         << ": защищён паролем";
        QTest::newRow("larger than 64 MiB") << "огромный.pdf"
                                            << ": больше 64 МиБ, предел размера отчёта";
    }
    void hostileFiles() {
        QFETCH(QString, name);
        QFETCH(QString, line);
        const QString path = hostileFolder() + QLatin1Char('/') + name;
        const Run run = runKey({QStringLiteral("check"), path});
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
        QVERIFY2(run.err.contains(line), qPrintable(run.err));
    }

    // A folder of them beside a genuine report: the genuine one graded in
    // full, every other named with its reason.
    void hostileBesideGenuine() {
        const QString folder = hostileFolder();
        QVERIFY(QFile::copy(dir_.filePath(QStringLiteral(
                                "moodle/Вадим Верный_101_assignsubmission_file/отчёт.pdf")),
                            folder + QStringLiteral("/верный.pdf")));
        const QString csv = dir_.filePath(QStringLiteral("враждебные.csv"));
        const Run run = runKey({QStringLiteral("grade"), QStringLiteral("--class"),
                                dir_.filePath(QStringLiteral("class/варианты.csv")), folder,
                                QStringLiteral("--csv"), csv});
        QCOMPARE(run.status, 1);
        QVERIFY2(QString::fromUtf8(readFile(csv))
                     .contains(QStringLiteral("vernyi@example.org,501,Верный Вадим,100,")),
                 qPrintable(QString::fromUtf8(readFile(csv))));
        for (const QString& name : QDir(folder).entryList(QDir::Files)) {
            if (name != QStringLiteral("верный.pdf")) {
                QVERIFY2(run.out.contains(name + QStringLiteral(": ")), qPrintable(name));
            }
        }
        QVERIFY2(run.out.count(QStringLiteral("отчёт не прочитан: ")) ==
                     (!test::readerMemoryBounded()
                          ? run.out.count(QStringLiteral("строка.pdf: отчёт")) + 3
                          : 4),
                 qPrintable(run.out));
    }

    // A path that is not there, or a folder with nothing in it, is an error
    // before anything is written.
    void nothingToGrade_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("line");
        QTest::newRow("no such path") << "нет-такой"
                                      << "нет-такой: не найден";
        QTest::newRow("an empty folder") << "пустая"
                                         << "пустая: папка пуста";
    }
    void nothingToGrade() {
        QFETCH(QString, path);
        QFETCH(QString, line);
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("пустая")));
        const QString csv = dir_.filePath(QStringLiteral("ничего.csv"));
        const Run run = runKey({QStringLiteral("grade"), QStringLiteral("--class"),
                                dir_.filePath(QStringLiteral("class/варианты.csv")),
                                dir_.filePath(path), QStringLiteral("--csv"), csv});
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, QStringLiteral("orven-key: %1\n").arg(dir_.filePath(line)));
        QVERIFY(!QFile::exists(csv));
    }

    // The gradebook CSV as Python's csv module reads it, with either
    // separator: every student, the identifiers as given, the name with its
    // ";" and quotes intact.
    void csvReadByPython_data() {
        QTest::addColumn<QString>("separator");
        QTest::newRow("comma") << ",";
        QTest::newRow("semicolon") << ";";
    }
    void csvReadByPython() {
        QFETCH(QString, separator);
        const QString csv = dir_.filePath(QStringLiteral("python.csv"));
        runKey({QStringLiteral("grade"), QStringLiteral("--class"),
                dir_.filePath(QStringLiteral("class/варианты.csv")),
                dir_.filePath(QStringLiteral("moodle")), dir_.filePath(QStringLiteral("plain")),
                QStringLiteral("--csv"), csv, QStringLiteral("--separator"), separator,
                QStringLiteral("--item"), QStringLiteral("Курсовой проект")});
#ifdef Q_OS_WIN
        QSKIP("Python's csv reads the gradebook in the Linux build");
#endif
        QProcess python;
        python.start(
            QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import csv, json, sys\n"
                            "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                            "    print(json.dumps(list(csv.reader(f, delimiter=sys.argv[2]))))\n"),
             csv, separator});
        QVERIFY(python.waitForFinished(30000));
        const QJsonArray rows = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
        QCOMPARE(rows.size(), 1 + pupils().size());
        QCOMPARE(rows.at(0).toArray().toVariantList(),
                 (QVariantList{"email", "idnumber", "фамилия", "Курсовой проект", "Отзыв"}));
        for (int i = 0; i < pupils().size(); ++i) {
            const QJsonArray fields = rows.at(i + 1).toArray();
            QCOMPARE(fields.size(), 5);
            QCOMPARE(fields.at(0).toString(), pupils().at(i).email);
            QCOMPARE(fields.at(1).toString(), pupils().at(i).idnumber);
            QCOMPARE(fields.at(2).toString(), pupils().at(i).name);
        }
    }

private:
    // The hostile files, made once.
    QString hostileFolder() {
        const QString folder = dir_.filePath(QStringLiteral("враждебные"));
        if (QFileInfo::exists(folder)) {
            return folder;
        }
        QDir().mkpath(folder);
        const auto write = [&](const QString& name, const QByteArray& contents) {
            QFile file(folder + QLatin1Char('/') + name);
            if (file.open(QIODevice::WriteOnly)) {
                file.write(contents);
            }
        };
        const QByteArray flate = "/Filter [/FlateDecode /FlateDecode]";
        const auto twice = [](const QByteArray& once) { return deflated(once, {}, 0, {}); };
        write(QStringLiteral("раздутый.pdf"),
              pageOf("4 0 R", {streamOf(flate, twice(deflated({}, "q Q ", 256 << 20, {})))}));
        QByteArray thousand = "[";
        for (int i = 0; i < 1000; ++i) {
            thousand += "4 0 R ";
        }
        write(QStringLiteral("тысяча.pdf"),
              pageOf(thousand + "]", {streamOf(flate, twice(deflated({}, " ", 64 << 20, {})))}));
        write(
            QStringLiteral("строка.pdf"),
            pageOf("4 0 R", {streamOf(flate, twice(deflated("BT (", "a", 600 << 20, ") Tj ET")))}));
        QList<QByteArray> pages{"<< /Type /Catalog /Pages 2 0 R >>", QByteArray()};
        QByteArray kids;
        for (int i = 0; i < 100000; ++i) {
            kids += QByteArray::number(i + 3) + " 0 R ";
            pages << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 10 10] >>";
        }
        pages[1] = "<< /Type /Pages /Kids [" + kids + "] /Count 100000 >>";
        write(QStringLiteral("страницы.pdf"), pdfOf(pages));
        write(QStringLiteral("вложенный.pdf"),
              pageOf("4 0 R", {streamOf({}, QByteArray(100000, '[') + QByteArray(100000, ']'))}));
        QByteArray loop = pageOf("4 0 R", {streamOf({}, "BT ET")});
        const QByteArray startxref = loop.mid(loop.lastIndexOf("startxref\n") + 10).trimmed();
        loop.replace("/Root 1 0 R", "/Root 1 0 R /Prev " + startxref.left(startxref.indexOf('\n')));
        write(QStringLiteral("петля.pdf"), loop);
        write(
            QStringLiteral("шифр.pdf"),
            pdfOf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                   "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] >>",
                   "<< /Filter /Standard /V 1 /R 2 /O <" + QByteArray(64, 'a') + "> /U <" +
                       QByteArray(64, 'b') + "> /P -4 >>"},
                  "/Encrypt 4 0 R /ID [<00112233445566778899aabbccddeeff> "
                  "<00112233445566778899aabbccddeeff>]"));
        QFile huge(folder + QStringLiteral("/огромный.pdf"));
        if (huge.open(QIODevice::WriteOnly)) {
            huge.write("%PDF-1.4\n");
            huge.resize(65LL << 20); // sparse: no 65 MiB on the disk
        }
        return folder;
    }

    // The files of the unpacked Moodle folder, as the zip's entries.
    ZipEntries folderEntries() const {
        ZipEntries entries;
        const QString root = dir_.filePath(QStringLiteral("moodle"));
        QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            entries << std::pair{QDir(root).relativeFilePath(path), readFile(path)};
        }
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    QTemporaryDir dir_;
    QString csv_;
    Run run_;
};

QTEST_MAIN(GradeTest)
#include "grade_test.moc"
