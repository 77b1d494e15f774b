// A class's reports graded at once: a class made by orven-key assign, reports
// written by the program's own report printer for students who did it right,
// edited a number, used a neighbour's variant, copied a report, wrote their
// name in Latin look-alikes or handed in nothing, and a file that is no
// report; orven-key grade as installed, its table and its gradebook CSV.

#include "core/csv.h"
#include "core/design_case.h"
#include "course/class_list.h"
#include "course/grading.h"
#include "key/design_file.h"
#include "key/variants.h"
#include "key_cli/key_command.h"
#include "platform/report_rendering.h"
#include "results/report_progress.h"
#include "support/key_runs.h"
#include "support/operations_printer.h"
#include "support/test_support.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

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
    };
    return list;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A report of the variant's design with the suitable variants of the given
// ranks as its blocks, signed as the student types it.
ReportOperations printReport(const DesignData& design, const QString& signature,
                             const QList<int>& ranks) {
    const Solution solution = solveDesign(design, {0, 0, VariantOrder::Surface, 5});
    OperationsPrinter printer;
    resetDesignCase();
    DesignCase& c = designCase();
    loadDesign(c, design);
    c.studentName = signature;
    c.pageNumber = 1;
    c.pageBlockCount = 1;
    for (const int rank : ranks) {
        loadVariant(c, solution.suitable.at(rank - 1).variant);
        calculateExchanger(c);
        c.resultsUnprinted = true;
        c.printRequestHandled = false;
        printResults(c, printer);
    }
    finishReport(c, printer);
    return printer.ops;
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
            const QString path =
                dir_.filePath(QStringLiteral("class/варианты/0%1.txt").arg(variant));
            DesignData data;
            QString error;
            if (!readDesignFile(readFile(path), path, data, error)) {
                qWarning("%s", qPrintable(error));
            }
            return data;
        };
        const auto write = [&](const QString& name, const ReportOperations& ops) {
            QVERIFY(writeReportPdf(ops, dir_.filePath(QStringLiteral("reports/") + name)));
        };
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("reports/.hidden")));
        write(QStringLiteral("верный.pdf"), printReport(design(1), "Верный Вадим гр. Х-11", {1}));
        ReportOperations edited = printReport(design(2), "Правкин Павел Х-11", {2, 1});
        editLastNumber(edited);
        write(QStringLiteral("правкин.pdf"), edited);
        write(QStringLiteral("соседов.pdf"), printReport(design(1), "Соседов Семён Гр.Х-11", {2}));
        write(QStringLiteral("копиев.pdf"), printReport(design(4), "Копиев Кирилл Х-12", {1}));
        write(QStringLiteral("дублёва.pdf"), printReport(design(4), "Дублёва Дарья Х-12", {1}));
        // Латинская Анна typed with the Latin a, A and X.
        write(QStringLiteral("латинская.pdf"),
              printReport(design(6), "Лaтинскaя Aннa группа X-12", {3, 1}));
        write(QStringLiteral("заметки.pdf"),
              {{ReportOperation::Line, QStringLiteral("Просто документ, не отчёт"), 0}});
        // A hidden folder is not looked into.
        write(QStringLiteral(".hidden/верный-2.pdf"),
              printReport(design(1), "Верный Вадим гр. Х-11", {2}));
    }

    // Each student's row: verdict, flags and score; the CSV byte for byte.
    void classGraded() {
        const QString csv = dir_.filePath(QStringLiteral("оценки.csv"));
        const Run run =
            runKey({QStringLiteral("grade"), QStringLiteral("--class"),
                    dir_.filePath(QStringLiteral("class/варианты.csv")),
                    dir_.filePath(QStringLiteral("reports")), QStringLiteral("--csv"), csv});
        QCOMPARE(run.status, 1);
        const QStringList lines = run.out.split(QLatin1Char('\n'));
        // A student's row: the name stands after the variant's number.
        const auto rowOf = [&](const QString& name) {
            return std::find_if(lines.cbegin(), lines.cend(),
                                [&](const QString& l) { return l.mid(6).startsWith(name); });
        };
        const auto row = [&](const QString& name) {
            const auto at = rowOf(name);
            return at == lines.cend() ? QString() : at->simplified();
        };
        const auto flagsOf = [&](const QString& name) {
            QStringList flags;
            auto at = rowOf(name);
            while (at != lines.cend() && ++at != lines.cend() &&
                   at->startsWith(QStringLiteral("      !"))) {
                flags << at->mid(8);
            }
            return flags;
        };
        // Данные, числа, итог, балл.
        QVERIFY2(row("Верный Вадим").contains(" да да да 1/"), qPrintable(run.out));
        QVERIFY(row("Верный Вадим").contains(" 100 верно; вариант 1-й из"));
        QCOMPARE(flagsOf("Верный Вадим"), QStringList()); // the hidden folder's report unread
        QVERIFY(row("Правкин Павел").contains(" да нет да 1/"));
        QVERIFY(
            row("Правкин Павел").contains(" 70 числа отчёта не совпадают с пересчётом: блок 2,"));
        QVERIFY(
            row("Соседов Семён")
                .contains(" нет да да — 70 исходные данные не своего варианта: «Массовый расход"));
        QCOMPARE(flagsOf("Соседов Семён"),
                 QStringList{"данные варианта 01 (другой студент: Верный Вадим)"});
        QVERIFY(row("Копиев Кирилл").contains(" да да да 1/"));
        QVERIFY(row("Копиев Кирилл").contains(" 100 отчёт совпадает с отчётом: Дублёва Дарья"));
        QCOMPARE(flagsOf("Копиев Кирилл"), QStringList{"копия: такой же отчёт у Дублёва Дарья"});
        QVERIFY(row("Дублёва Дарья").contains(" нет да да — 70 отчёт совпадает с отчётом: Копиев"));
        QCOMPARE(flagsOf("Дублёва Дарья"),
                 (QStringList{"данные варианта 04 (другой студент: Копиев Кирилл)",
                              "копия: такой же отчёт у Копиев Кирилл"}));
        QVERIFY(row("Латинская Анна").contains(" да да да 1/"));
        QVERIFY(row("Латинская Анна").contains(" 100 верно;"));
        QCOMPARE(flagsOf("Латинская Анна"), QStringList()); // tied by name, not by data
        QVERIFY(row("Пропущенный").endsWith(" — — — — 0 нет отчёта"));
        QVERIFY(run.out.contains(QStringLiteral("заметки.pdf: не отчёт ORVEN")));
        QVERIFY(!run.out.contains(QStringLiteral("верный-2.pdf")));
        QCOMPARE(readFile(csv),
                 readFile(test::sourceDir() + QStringLiteral("/tests/key/grade_expected.csv")));
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
                dir_.filePath(QStringLiteral("reports")), QStringLiteral("--csv"), csv,
                QStringLiteral("--separator"), separator, QStringLiteral("--item"),
                QStringLiteral("Курсовой проект")});
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
    QTemporaryDir dir_;
};

QTEST_MAIN(GradeTest)
#include "grade_test.moc"
