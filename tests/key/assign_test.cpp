// A class's tasks from a template: orven-key assign as installed, its files
// read back by the library (design files, the CSV) and by pdftotext (the
// sheets and the key), and the class list's faults.

#include "course/class_list.h"
#include "key/design_file.h"
#include "key/variants.h"
#include "support/key_runs.h"
#include "support/test_support.h"

#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace orven;
using orven::test::Run;
using orven::test::runKey;

namespace {

const QByteArray coolerTemplate = "тип = холодильник\n"
                                  "горячий = вода\n"
                                  "g1 = 0.5 .. 3.0 шаг 0.1\n"
                                  "t1н = 70 .. 95 шаг 5\n"
                                  "t1к = 35 .. 50 шаг 5\n"
                                  "холодный = вода\n"
                                  "t2н = 10 .. 20 шаг 1\n"
                                  "t2к = 25 .. 40 шаг 5\n"
                                  "r = 0.0002 .. 0.0004 шаг 0.00005\n";

void writeFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The pages of a PDF as pdftotext reads them, each page's rows joined by
// blanks: a sentence wrapped over rows reads whole only if no row was cut.
QStringList pdfPages(const QString& path) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-eol"), QStringLiteral("unix"), path, QStringLiteral("-")});
    text.waitForFinished(30000);
    QStringList pages = QString::fromUtf8(text.readAllStandardOutput())
                            .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    for (QString& page : pages) {
        page = page.simplified();
    }
    return pages;
}

// The rows of the variants' table by their column names.
QList<QMap<QString, QString>> variantRows(const QString& path) {
    QList<QStringList> rows;
    QList<int> lines;
    QString error;
    parseCsv(QString::fromUtf8(readFile(path)), QLatin1Char(','), rows, lines, path, error);
    QList<QMap<QString, QString>> table;
    for (qsizetype r = 1; r < rows.size(); ++r) {
        QMap<QString, QString> row;
        for (qsizetype c = 0; c < rows.first().size(); ++c) {
            row[rows.first().at(c)] = rows.at(r).value(c);
        }
        table << row;
    }
    return table;
}

} // namespace

class AssignTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QByteArray list = "фамилия,группа,email,idnumber\n";
        for (int i = 1; i <= 25; ++i) {
            list += QStringLiteral("Студентов Студент %1,Х-%2,s%1@example.org,%3\n")
                        .arg(i)
                        .arg(11 + i % 2)
                        .arg(1000 + i)
                        .toUtf8();
        }
        writeFile(dir_.filePath(QStringLiteral("class.csv")), list);
        writeFile(dir_.filePath(QStringLiteral("template.txt")), coolerTemplate);
    }

    // 25 distinct tasks, each with its design file and at least 3 suitable
    // variants; two sheets a page, a key page a student after the cover,
    // nothing cut at a line's end, and the key's best three three layouts.
    void classOfTwentyFive() {
        const Run run = assign(QStringLiteral("a"), 7);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QString out = dir_.filePath(QStringLiteral("a"));
        const auto rows = variantRows(out + QStringLiteral("/варианты.csv"));
        QCOMPARE(rows.size(), 25);
        QSet<QString> tasks;
        const QStringList taskKeys{"горячий", "g1", "t1н", "t1к", "холодный", "t2н", "t2к", "r"};
        const QStringList sheetPages = pdfPages(out + QStringLiteral("/задания.pdf"));
        QCOMPARE(sheetPages.size(), 13);
        const QStringList sheets =
            sheetPages.join(QLatin1Char(' '))
                .split(QStringLiteral("ЗАДАНИЕ на расчёт пластинчатого теплообменника"))
                .mid(1);
        QCOMPARE(sheets.size(), 25);
        const QStringList key = pdfPages(out + QStringLiteral("/ключ.pdf"));
        QVERIFY(key.value(0).startsWith(QStringLiteral("КЛЮЧ К ЗАДАНИЯМ")));
        QVERIFY(key.value(0).contains(QStringLiteral("(--draw 7)")));
        for (int i = 0; i < 25; ++i) {
            const auto& row = rows.at(i);
            const QString number = QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
            QCOMPARE(row.value(QStringLiteral("вариант")), number);
            QStringList task;
            for (const QString& k : taskKeys) {
                task << row.value(k);
            }
            tasks.insert(task.join(QLatin1Char(' ')));

            const QString path =
                out + QStringLiteral("/варианты/") + number + QStringLiteral(".txt");
            DesignData design;
            QString error;
            QVERIFY2(readDesignFile(readFile(path), path, design, error), qPrintable(error));
            for (int slot = 1; slot <= initialDataCount; ++slot) {
                QCOMPARE(design.texts[slot], row.value(designKeys().at(slot)));
            }
            QVERIFY(solveDesign(design, {0, 0, VariantOrder::Surface, 1}).suitableCount >= 3);

            const QString& sheet = sheets.at(i);
            const auto comma = [&](const QString& key) {
                return QString(row.value(key)).replace(QLatin1Char('.'), QLatin1Char(','));
            };
            for (const QString& expected : QStringList{
                     row.value(QStringLiteral("фамилия")), QStringLiteral("Вариант: ") + number,
                     QStringLiteral("от %1 до %2 °C. Охлаждающая среда")
                         .arg(comma(QStringLiteral("t1н")), comma(QStringLiteral("t1к"))),
                     QStringLiteral("сопротивлений стенки и загрязнений %1 м²·К/Вт")
                         .arg(comma(QStringLiteral("r"))),
                     QStringLiteral("кг/с воды от"), QStringLiteral("Свойства — вода: IAPWS-IF97"),
                     QStringLiteral("подходящий стандартный теплообменник, без предупреждений.")}) {
                QVERIFY2(sheet.contains(expected),
                         qPrintable(expected + QLatin1Char('\n') + sheet));
            }
            const QString keyPage = key.value(i + 1);
            QVERIFY2(keyPage.startsWith(QStringLiteral("Вариант %1 — %2")
                                            .arg(number, row.value(QStringLiteral("фамилия")))),
                     qPrintable(keyPage.left(200)));
            QVERIFY(keyPage.contains(QStringLiteral("Исходные данные для ORVEN")));
            // The task's words, set at two widths, read alike only if no
            // word was cut at a line's end.
            const QString prose =
                sheet.section(QStringLiteral("Вариант: ") + number + QLatin1Char(' '), 1)
                    .section(QStringLiteral(" Свойства — "), 0, 0);
            QVERIFY2(prose.endsWith(QStringLiteral("противоток.")), qPrintable(prose));
            QVERIFY2(keyPage.contains(QStringLiteral("Задание: ") + prose), qPrintable(prose));
            static const QRegularExpression best(QStringLiteral(
                "(\\S+)/\\d+ +\\d+/\\d+ [^к]+каналы в пакетах \\(хол\\.; гор\\.\\): (\\S+; \\S+)"));
            QSet<QString> layouts;
            for (const QRegularExpressionMatch& m : best.globalMatch(keyPage)) {
                layouts.insert(m.captured(1) + QLatin1Char(' ') + m.captured(2));
            }
            QVERIFY2(layouts.size() == 3, qPrintable(keyPage.right(800)));
        }
        QCOMPARE(tasks.size(), 25);
    }

    // Sheets one, two or four to a page; a sheet too long for its share is
    // refused before anything is written.
    void sheetsPerPage_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("pages"); // 0: refused
        QTest::newRow("one") << QStringList{"--per-page", "1"} << 25;
        QTest::newRow("four") << QStringList{"--per-page", "4"} << 7;
        QTest::newRow("two with the values") << QStringList{"--with-values"} << 13;
        QTest::newRow("four with the values")
            << QStringList{"--per-page", "4", "--with-values"} << 0;
    }
    void sheetsPerPage() {
        QFETCH(QStringList, options);
        QFETCH(int, pages);
        const QString out = dir_.filePath(QStringLiteral("pp-") + QTest::currentDataTag());
        const Run run = runKey(QStringList{QStringLiteral("assign"), QStringLiteral("--class"),
                                           dir_.filePath(QStringLiteral("class.csv")),
                                           QStringLiteral("--template"),
                                           dir_.filePath(QStringLiteral("template.txt")),
                                           QStringLiteral("--out"), out} +
                               options);
        if (pages == 0) {
            QCOMPARE(run.status, 2);
            QVERIFY2(run.err.contains(QStringLiteral("возьмите --per-page 2")),
                     qPrintable(run.err));
            QVERIFY(!QFileInfo::exists(out + QStringLiteral("/задания.pdf")));
            return;
        }
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QStringList sheets = pdfPages(out + QStringLiteral("/задания.pdf"));
        QCOMPARE(sheets.size(), pages);
        QCOMPARE(sheets.join(QLatin1Char(' '))
                     .count(QStringLiteral("ЗАДАНИЕ на расчёт пластинчатого теплообменника")),
                 25);
    }

    // Templates at the edges, made here: each drawn or refused at once
    // within 512 MiB of address space, a grid walked, never spelled out.
    void edgeTemplates_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("expected");
        QByteArray gridLines = "тип = холодильник\nгорячий = вода\nхолодный = вода\n";
        while (gridLines.size() < (1 << 20) - 40) {
            gridLines += "g1 = 0.00001 .. 1 шаг 0.00001\n"; // 10^5 values each
        }
        QTest::newRow("1 MiB of grid lines of 10^5 values")
            << gridLines << 2 << "строка 5: ключ «g1» задан второй раз";
        QTest::newRow("1 MiB of blank lines first")
            << QByteArray((1 << 20) - 400, '\n') + coolerTemplate << 0 << QString();
        QTest::newRow("10^12 tasks")
            << QByteArray("тип = холодильник\nгорячий = вода\nхолодный = вода\n"
                          "g1 = 0.5 .. 3.0 шаг 0.0025\nt1н = 70 .. 95 шаг 0.025\n"
                          "t1к = 35 .. 50 шаг 0.015\nt2н = 10 .. 20 шаг 0.01\n"
                          "t2к = 25 .. 40 шаг 0.015\nr = 0.0002 .. 0.0004 шаг 0.0000002\n")
            << 0 << QString();
    }
    void edgeTemplates() {
        QFETCH(QByteArray, contents);
        QFETCH(int, status);
        QFETCH(QString, expected);
        const QString path = dir_.filePath(QStringLiteral("edge.txt"));
        writeFile(path, contents);
        const QString out = dir_.filePath(QStringLiteral("edge-") + QTest::currentDataTag());
        const Run run = runKey({QStringLiteral("assign"), QStringLiteral("--class"),
                                dir_.filePath(QStringLiteral("class.csv")),
                                QStringLiteral("--template"), path, QStringLiteral("--out"), out},
                               {}, 512 << 20);
        QVERIFY2(run.status == status, qPrintable(run.err));
        QVERIFY2(run.err.contains(expected), qPrintable(run.err));
    }

    // What assign writes for a list of the largest size (a field of nearly
    // 1 MiB) is read back by grade.
    void largestListReadBack() {
        const QByteArray note((1 << 20) - 200, 'x');
        writeFile(dir_.filePath(QStringLiteral("wide.csv")),
                  "фамилия,группа,email,заметки\nШиров Ш.,Х-11,w@x," + note +
                      "\nУзков У.,Х-11,u@x,\n");
        const QString out = dir_.filePath(QStringLiteral("wide"));
        QCOMPARE(assign(QStringLiteral("wide"), 1, QStringLiteral("wide.csv")).status, 0);
        QVERIFY(QFileInfo(out + QStringLiteral("/варианты.csv")).size() > (1 << 20));
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("wide-none")));
        writeFile(dir_.filePath(QStringLiteral("wide-none/нет.txt")), "не отчёт");
        const Run graded = runKey({QStringLiteral("grade"), QStringLiteral("--class"),
                                   out + QStringLiteral("/варианты.csv"),
                                   dir_.filePath(QStringLiteral("wide-none"))});
        QVERIFY2(graded.status == 1 && graded.out.contains(QStringLiteral("Широв Ш.")),
                 qPrintable(graded.err));
    }

    // The same class, template and draw number give the same set to the byte
    // (the PDFs to their text; their files carry the time they were made);
    // another number another set.
    void drawNumberDecides() {
        QCOMPARE(assign(QStringLiteral("b"), 7).status, 0);
        QCOMPARE(assign(QStringLiteral("c"), 8).status, 0);
        const auto set = [&](const QString& out) {
            QStringList contents;
            const QDir designs(dir_.filePath(out + QStringLiteral("/варианты")));
            for (const QString& name : designs.entryList(QDir::Files, QDir::Name)) {
                contents << name << QString::fromUtf8(readFile(designs.filePath(name)));
            }
            contents << QString::fromUtf8(
                            readFile(dir_.filePath(out + QStringLiteral("/варианты.csv"))))
                     << pdfPages(dir_.filePath(out + QStringLiteral("/задания.pdf")))
                     << pdfPages(dir_.filePath(out + QStringLiteral("/ключ.pdf")));
            return contents;
        };
        const QStringList first = set(QStringLiteral("b"));
        QCOMPARE(first.size(), 2 * 25 + 1 + 13 + 26);
        QCOMPARE(set(QStringLiteral("a")), first);
        QVERIFY(set(QStringLiteral("c")) != first);
    }

    // A student's task follows the student's identifier, not the place in the
    // list: the list reversed gives each student the same task; another class
    // of the same size gets none of this one's at the same place.
    void taskFollowsTheStudent() {
        const QList<QByteArray> lines =
            readFile(dir_.filePath(QStringLiteral("class.csv"))).trimmed().split('\n');
        QByteArray reversed = lines.first() + '\n';
        QByteArray other = lines.first() + '\n';
        for (qsizetype i = lines.size() - 1; i >= 1; --i) {
            reversed += lines.at(i) + '\n';
            other += QByteArray(lines.at(i)).replace("example.org", "example.net") + '\n';
        }
        writeFile(dir_.filePath(QStringLiteral("reversed.csv")), reversed);
        writeFile(dir_.filePath(QStringLiteral("other.csv")), other);
        QCOMPARE(assign(QStringLiteral("rev"), 7, QStringLiteral("reversed.csv")).status, 0);
        QCOMPARE(assign(QStringLiteral("oth"), 7, QStringLiteral("other.csv")).status, 0);
        const auto tasks = [&](const QString& out) {
            QMap<QString, QString> byEmail;
            QStringList byPlace;
            for (const auto& row :
                 variantRows(dir_.filePath(out + QStringLiteral("/варианты.csv")))) {
                const QString number = row.value(QStringLiteral("вариант"));
                QString task = QString::fromUtf8(readFile(dir_.filePath(
                    out + QStringLiteral("/варианты/") + number + QStringLiteral(".txt"))));
                task = task.section(QLatin1Char('\n'), 1); // the heading names the place
                byEmail[row.value(QStringLiteral("email"))] = task;
                byPlace << task;
            }
            return std::pair{byEmail, byPlace};
        };
        const auto [first, firstPlaces] = tasks(QStringLiteral("a"));
        QCOMPARE(first.size(), 25);
        QCOMPARE(tasks(QStringLiteral("rev")).first, first);
        const QStringList otherPlaces = tasks(QStringLiteral("oth")).second;
        for (int i = 0; i < 25; ++i) {
            QVERIFY2(otherPlaces.at(i) != firstPlaces.at(i), qPrintable(QString::number(i)));
        }
    }

    // A template that cannot serve the class ends at once with one line that
    // says how many tasks it has and why they do not suit, status 1, and
    // writes nothing.
    void impossibleTemplate_data() {
        QTest::addColumn<QByteArray>("changed");
        QTest::addColumn<QByteArray>("into");
        QTest::addColumn<QString>("expected"); // a pattern
        QTest::newRow("every draw crosses its temperatures")
            << QByteArray("t1к = 35 .. 50") << QByteArray("t1к = 96 .. 111")
            << "даёт 624 различных заданий, из них не подходят \\d+, а студентов 25; чаще всего "
               "задания отвергнуты так: температуры пересекаются";
        QTest::newRow("six tasks, no standard exchanger for any")
            << QByteArray("g1 = 0.5 .. 3.0 шаг 0.1\nt1н = 70 .. 95 шаг 5\nt1к = 35 .. 50 шаг 5")
            << QByteArray("g1 = 40 | 45 | 50\nt1н = 90 | 95\nt1к = 40 | 40")
            << "даёт только 6 различных заданий, подходят 0, а студентов 25; чаще всего задания "
               "отвергнуты так: меньше 3 подходящих вариантов \\(6 из 6\\)";
    }
    void impossibleTemplate() {
        QFETCH(QByteArray, changed);
        QFETCH(QByteArray, into);
        QFETCH(QString, expected);
        QByteArray contents = coolerTemplate;
        contents.replace(changed, into)
            .replace("t2н = 10 .. 20 шаг 1", "t2н = 10")
            .replace("t2к = 25 .. 40 шаг 5", "t2к = 35")
            .replace("r = 0.0002 .. 0.0004 шаг 0.00005", "r = 0.02");
        const QString path = dir_.filePath(QStringLiteral("impossible.txt"));
        writeFile(path, contents);
        const Run run =
            runKey({QStringLiteral("assign"), QStringLiteral("--class"),
                    dir_.filePath(QStringLiteral("class.csv")), QStringLiteral("--template"), path,
                    QStringLiteral("--out"), dir_.filePath(QStringLiteral("d"))});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
        QVERIFY2(run.err.contains(QRegularExpression(expected)), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(dir_.filePath(QStringLiteral("d"))));
    }

    void classList_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("expected"); // the error, or the third student's name
        QTest::newRow("semicolons, a BOM, quotes")
            << QByteArray("\xEF\xBB\xBF"
                          "Фамилия;Группа;Email\r\n"
                          "Иванов;Х-11;i@example.org\r\n"
                          "\r\n"
                          "Петров;Х-11;\r\n"
                          "\"Сидоров; Пётр \"\"Младший\"\"\";Х-12;s@example.org\r\n")
            << "Сидоров; Пётр \"Младший\"";
        QTest::newRow("Latin headers")
            << QByteArray("name,group,idnumber\nA,B,1\nC,D,2\nE,F,3\n") << "E";
        QTest::newRow("empty file") << QByteArray() << "к.csv: пустой список";
        QTest::newRow("no group") << QByteArray("фамилия,email\nИванов,i@example.org\n")
                                  << "к.csv, строка 1: нет столбца «группа»";
        QTest::newRow("no identifier") << QByteArray("фамилия,группа\nИванов,Х-11\n")
                                       << "к.csv, строка 1: нет столбца «email» или «idnumber»";
        QTest::newRow("duplicate id")
            << QByteArray("фамилия,группа,idnumber\nИванов,Х-11,7\n\nПетров,Х-11,7\n")
            << "к.csv, строка 4: idnumber «7» уже есть у студента в строке 2";
        QTest::newRow("header only")
            << QByteArray("фамилия,группа,email\n") << "к.csv: в списке нет ни одного студента";
        QTest::newRow("short row") << QByteArray("фамилия,группа,email\nИванов,Х-11\n")
                                   << "к.csv, строка 2: 2 полей, а в заголовке 3";
        QTest::newRow("open quote") << QByteArray("фамилия,группа,email\n\"Иванов,Х-11,a\n")
                                    << "к.csv, строка 2: кавычка не закрыта";
        QTest::newRow("Moodle's export, Russian headers")
            << QByteArray("Имя,Фамилия,Идентификационный номер,Учреждение,Отдел,Группы,Адрес "
                          "электронной почты\n"
                          "Иван,Иванов,,МЭИ,,ТЭ-311,i@example.org\n"
                          "Пётр,Петров,,МЭИ,,ТЭ-311,p@example.org\n"
                          "Семён Ильич,Сидоров,,МЭИ,,ТЭ-312,s@example.org\n")
            << "Сидоров Семён Ильич";
        QTest::newRow("Moodle's export, English headers, two groups")
            << QByteArray("First name,Last name,ID number,Institution,Department,Groups,Email "
                          "address\n"
                          "Ivan,Ivanov,101,,,ТЭ-311,i@example.org\n"
                          "Petr,Petrov,102,,,ТЭ-311,p@example.org\n"
                          "John,Smith,103,,,\"ТЭ-311, ТЭ-312\",s@example.org\n")
            << "Smith John";
        QTest::newRow("Moodle's grading worksheet")
            << QByteArray("Identifier,Full name,Email address,Status,Grade,Maximum grade\n"
                          "Participant 11,Иван Иванов,i@example.org,-,,100\n"
                          "Participant 12,Пётр Петров,p@example.org,-,,100\n"
                          "Participant 13,Анна Латинская,a@example.org,-,,100\n")
            << "Анна Латинская";
        QTest::newRow("Excel on a Russian Windows: Windows-1251, ;;; rows")
            << QByteArray(test::windows1251(
                   QStringLiteral("Фамилия;Группа;Email;\r\nИванов;Х-11;i@example.org;\r\n"
                                  ";;;\r\nПетров;Х-11;p@example.org;\r\nСидоров;Х-12;"
                                  "s@example.org;\r\n;;;\r\n")))
            << "Сидоров";
        QTest::newRow("tabs") << QByteArray(
                                     "фамилия\tгруппа\temail\nА\tХ\ta@x\nБ\tХ\tb@x\nВ\tХ\tc@x\n")
                              << "В";
        QTest::newRow("worksheet: one participant twice")
            << QByteArray("Identifier,Full name,Email address\nParticipant 11,А Б,a@x\n"
                          "Participant 11,В Г,b@x\n")
            << "к.csv, строка 3: номер участника «11» уже есть у студента в строке 2";
    }

    // The variants' table opens where the class list did: its separator and
    // byte-order mark kept (a Windows-1251 list gets the mark Excel needs for
    // UTF-8), or ";" and the mark with --excel; read back, its students are
    // the list's.
    void variantsTableAsTheList_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<bool>("excel");
        QTest::addColumn<QByteArray>("start");
        const QString rows =
            QStringLiteral("фамилия%1группа%1email\nЁжиков Е.%1Х-11%1e@x\nЩукин Щ.%1Х-11%1s@x\n");
        QTest::newRow("commas") << rows.arg(QLatin1Char(',')).toUtf8() << false
                                << QByteArray("фамилия,группа,email,вариант,");
        QTest::newRow("semicolons and a mark")
            << "\xEF\xBB\xBF" + rows.arg(QLatin1Char(';')).toUtf8() << false
            << QByteArray("\xEF\xBB\xBFфамилия;группа;email;вариант;");
        QTest::newRow("Excel's Windows-1251")
            << QByteArray(test::windows1251(rows.arg(QLatin1Char(';')))) << false
            << QByteArray("\xEF\xBB\xBFфамилия;группа;email;вариант;");
        QTest::newRow("tabs") << rows.arg(QLatin1Char('\t')).toUtf8() << false
                              << QByteArray("фамилия\tгруппа\temail\tвариант\t");
        QTest::newRow("commas, --excel") << rows.arg(QLatin1Char(',')).toUtf8() << true
                                         << QByteArray("\xEF\xBB\xBFфамилия;группа;email;вариант;");
    }
    void variantsTableAsTheList() {
        QFETCH(QByteArray, list);
        QFETCH(bool, excel);
        QFETCH(QByteArray, start);
        const QString name = QStringLiteral("list-%1.csv").arg(QTest::currentDataTag());
        const QString out = QStringLiteral("csv-%1").arg(QTest::currentDataTag());
        writeFile(dir_.filePath(name), list);
        QStringList arguments{QStringLiteral("assign"),
                              QStringLiteral("--class"),
                              dir_.filePath(name),
                              QStringLiteral("--template"),
                              dir_.filePath("template.txt"),
                              QStringLiteral("--out"),
                              dir_.filePath(out)};
        if (excel) {
            arguments << QStringLiteral("--excel");
        }
        const Run run = runKey(arguments);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QByteArray table = readFile(dir_.filePath(out + QStringLiteral("/варианты.csv")));
        QVERIFY2(table.startsWith(start), table.left(80).constData());
        ClassList back;
        QString error;
        QVERIFY2(readClassList(table, name, back, error), qPrintable(error));
        QCOMPARE(back.students.size(), 2);
        QCOMPARE(back.students.at(0).name, QStringLiteral("Ёжиков Е."));
    }

    // A second run into a folder that holds a set is refused; with --replace
    // the old set goes whole (a draw's stale file too) and nothing else does.
    void rerunIntoFullFolder() {
        QCOMPARE(assign(QStringLiteral("r"), 7).status, 0);
        const QDir folder(dir_.filePath(QStringLiteral("r")));
        writeFile(folder.filePath(QStringLiteral("варианты/99.txt")), "от прежней жеребьёвки");
        writeFile(folder.filePath(QStringLiteral("заметки.txt")), "свои заметки");
        const QByteArray sheets = readFile(folder.filePath(QStringLiteral("задания.pdf")));
        Run run = assign(QStringLiteral("r"), 8);
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, QStringLiteral("orven-key: в папке %1 уже есть набор заданий "
                                         "(варианты.csv, задания.pdf, ключ.pdf, варианты); "
                                         "--replace заменит его целиком\n")
                              .arg(folder.path()));
        QCOMPARE(readFile(folder.filePath(QStringLiteral("задания.pdf"))), sheets);
        run = runKey({QStringLiteral("assign"), QStringLiteral("--class"),
                      dir_.filePath(QStringLiteral("class.csv")), QStringLiteral("--template"),
                      dir_.filePath(QStringLiteral("template.txt")), QStringLiteral("--out"),
                      folder.path(), QStringLiteral("--draw"), QStringLiteral("8"),
                      QStringLiteral("--replace")});
        QCOMPARE(run.status, 0);
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("варианты/99.txt"))));
        QVERIFY(QFile::exists(folder.filePath(QStringLiteral("заметки.txt"))));
        QCOMPARE(
            folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList{"варианты", "варианты.csv", "задания.pdf", "заметки.txt", "ключ.pdf"}));
        QCOMPARE(assign(QStringLiteral("r8"), 8).status, 0);
        QCOMPARE(readFile(folder.filePath(QStringLiteral("варианты.csv"))),
                 readFile(dir_.filePath(QStringLiteral("r8/варианты.csv"))));
    }

    // What the reader says without refusing: the encoding it took and the
    // namesakes of one group, each naming the file and line.
    void classListNotes() {
        ClassList list;
        QString error;
        const QByteArray csv = test::windows1251(QStringLiteral(
            "Фамилия;Группа;Email\r\nИванов И.С.;Х-11;a@x\r\nИванов И.С.;Х-11;b@x\r\n"
            "Иванов И.С.;Х-12;c@x\r\n"));
        QVERIFY2(readClassList(csv, QStringLiteral("к.csv"), list, error), qPrintable(error));
        QCOMPARE(list.students.size(), 3);
        QCOMPARE(list.notes,
                 (QStringList{"к.csv: файл не в UTF-8, прочитан как Windows-1251",
                              "к.csv, строка 3: «Иванов И.С.» — тёзка студента в строке 2 той же "
                              "группы Х-11; их различают по email или номеру"}));
    }
    void classList() {
        QFETCH(QByteArray, csv);
        QFETCH(QString, expected);
        ClassList list;
        QString error;
        if (readClassList(csv, QStringLiteral("к.csv"), list, error)) {
            QCOMPARE(list.students.size(), 3);
            QCOMPARE(list.students.at(2).name, expected);
        } else {
            QVERIFY2(error.startsWith(expected), qPrintable(error));
        }
    }

private:
    Run assign(const QString& out, int draw, const QString& list = QStringLiteral("class.csv")) {
        return runKey({QStringLiteral("assign"), QStringLiteral("--class"), dir_.filePath(list),
                       QStringLiteral("--template"), dir_.filePath(QStringLiteral("template.txt")),
                       QStringLiteral("--out"), dir_.filePath(out), QStringLiteral("--draw"),
                       QString::number(draw)});
    }

    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(AssignTest)
#include "assign_test.moc"
