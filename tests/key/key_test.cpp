// The teacher's key: the enumeration of standard variants and its ranking (in
// process), and the orven-key program itself on design files and on reports
// written by the program's own printer.

#include "core/csv.h"
#include "core/design_case.h"
#include "course/assignment.h"
#include "key/design_file.h"
#include "key/variants.h"
#include "key_cli/key_command.h"
#include "key_cli/pdf_text.h"
#include "platform/report_rendering.h"
#include "platform/system_report_printer.h"
#include "results/report_progress.h"
#include "support/key_runs.h"
#include "support/operations_printer.h"
#include "support/test_support.h"
#include "support/worked_examples.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace orven;
using orven::test::OperationsPrinter;
using orven::test::Run;
using orven::test::runInProcess;
using orven::test::runKey;

Q_DECLARE_METATYPE(orven::ExchangerType)

namespace {

QString design(const QString& name) {
    return test::sourceDir() + QStringLiteral("/tests/key/") + name;
}

DesignData readDesign(const QString& name) {
    QFile file(design(name));
    DesignData data;
    QString error;
    if (!file.open(QIODevice::ReadOnly) || !readDesignFile(file.readAll(), name, data, error)) {
        qWarning("%s", qPrintable(error));
    }
    return data;
}

// Prints a report of blocks of the worked cooler (packs 1/1, cold and hot
// channels as given) the way the results screen's print button does.
// adjust, when given, changes the design case before the first print.
void printCoolerReport(ReportPrinter& printer, const QList<int>& channelTotals,
                       const std::function<void(DesignCase&)>& adjust = {}) {
    resetDesignCase();
    DesignCase& c = designCase();
    loadDesign(c, readDesign(QStringLiteral("worked_cooler.txt")));
    c.studentName = QStringLiteral("Петров Пётр Гр.х-11");
    if (adjust)
        adjust(c);
    c.pageNumber = 1;
    c.pageBlockCount = 1;
    for (const int total : channelTotals) {
        loadVariant(c, {0, 1, 1, {total}, {total}});
        QCOMPARE(calculateExchanger(c), CalculationStatus::Completed);
        c.resultsUnprinted = true;
        c.printRequestHandled = false;
        printResults(c, printer);
    }
    finishReport(c, printer);
}

} // namespace

class KeyTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo(qEnvironmentVariable("ORVEN_KEY")).isExecutable(),
                 "ORVEN_KEY names the orven-key program");
        QVERIFY(dir_.isValid());
        // The PDF part, as the helper orven-key-pdf sets it.
        setKeyPdfFunctions({[](const ReportOperations& operations, const QString& path,
                               const QString& title, bool landscape) {
                                return writeReportPdf(operations, path, title,
                                                      landscape ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
                            },
                            pdfReportText});
    }

    void spreadChannels_data() {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("packs");
        QTest::addColumn<QList<int>>("channels");
        QTest::newRow("the advice's example") << 122 << 3 << QList<int>{40, 41, 41};
        QTest::newRow("one pack") << 5 << 1 << QList<int>{5};
        QTest::newRow("one over") << 9 << 8 << QList<int>{1, 1, 1, 1, 1, 1, 1, 2};
        QTest::newRow("even") << 12 << 2 << QList<int>{6, 6};
    }
    void spreadChannels() {
        QFETCH(int, total);
        QFETCH(int, packs);
        QFETCH(QList<int>, channels);
        QCOMPARE(orven::spreadChannels(total, packs), channels);
    }

    // Totals 2..N for both streams; a pack needs a channel, so a total T has
    // min(T, 8) cold and min(T, 8) hot pack counts (a condenser: one hot pack).
    void variantsPerExchanger_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("maxChannels");
        QTest::addColumn<qint64>("perExchanger");
        QTest::newRow("worked cooler, 10")
            << "worked_cooler.txt" << 10 << qint64(4 + 9 + 16 + 25 + 36 + 49 + 64 + 64 + 64);
        QTest::newRow("worked condenser, 30")
            << "worked_condenser.txt" << 30 << qint64(2 + 3 + 4 + 5 + 6 + 7 + 8 * 23);
        QTest::newRow("no suitable variant, 3") << "no_suitable.txt" << 3 << qint64(4 + 9);
    }
    void variantsPerExchanger() {
        QFETCH(QString, file);
        QFETCH(int, maxChannels);
        QFETCH(qint64, perExchanger);
        const Solution s = solveDesign(readDesign(file), {maxChannels, 5});
        for (const ExchangerSummary& e : s.exchangers) {
            QCOMPARE(e.variants, perExchanger);
            QCOMPARE(e.channelLimit, maxChannels);
        }
        QCOMPARE(s.tried, 9 * perExchanger);
    }

    // Suitable variants in the order a teacher asks for, the best first; the
    // best ones kept alone are the same as the first of all; layouts with a
    // one-channel pack stay out while others suit; each variant recalculated
    // alone is the same and has no warning.
    void suitableVariantsRanked_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<VariantOrder>("order");
        QTest::addColumn<QString>("first");
        QTest::newRow("cooler, smallest surface")
            << "worked_cooler.txt" << VariantOrder::Surface
            << QStringLiteral("0.3/50, пакеты 3/4, каналы 3,3,3; 2,2,2,3");
        QTest::newRow("cooler, smallest margin")
            << "worked_cooler.txt" << VariantOrder::Margin
            << QStringLiteral("0.2/100, пакеты 8/5, каналы 9,9,9,9,9,10,10,10; 15,15,15,15,15");
        QTest::newRow("cooler, fewest packs")
            << "worked_cooler.txt" << VariantOrder::Packs
            << QStringLiteral("0.5Е/100, пакеты 1/1, каналы 36; 36");
        QTest::newRow("condenser, smallest surface")
            << "worked_condenser.txt" << VariantOrder::Surface
            << QStringLiteral("0.2/100, пакеты 2/1, каналы 4,4; 8");
    }
    void suitableVariantsRanked() {
        QFETCH(QString, file);
        QFETCH(VariantOrder, order);
        QFETCH(QString, first);
        const DesignData data = readDesign(file);
        const Solution s = solveDesign(data, {0, 5, order, 0});
        QVERIFY(s.suitable.size() > 10);
        QCOMPARE(s.suitableCount, s.suitable.size());
        QVERIFY(s.nearest.isEmpty());
        QCOMPARE(variantText(s.suitable.first().variant), first);
        const Solution best = solveDesign(data, {0, 5, order, 10});
        QCOMPARE(best.suitable.size(), 10);
        QCOMPARE(best.suitableCount, s.suitableCount);
        DesignCase c;
        loadDesign(c, data);
        for (qsizetype i = 0; i < s.suitable.size(); ++i) {
            const Evaluated& e = s.suitable.at(i);
            QVERIFY(!hasSingleChannelPack(e.variant));
            if (i > 0)
                QVERIFY(!rankedBefore(e, s.suitable.at(i - 1), order));
            if (i < 10) {
                QCOMPARE(variantText(best.suitable.at(i).variant), variantText(e.variant));
                const Evaluated again = evaluateVariant(c, e.variant);
                QVERIFY(again.warnings.isEmpty());
                QCOMPARE(again.results.surfaceMargin, e.results.surfaceMargin);
            }
        }
    }

    void explainShowsTheWorkedCooler() {
        const Run run = runKey(
            {QStringLiteral("explain"), design(QStringLiteral("worked_cooler.txt")),
             QStringLiteral("--exchanger"), QStringLiteral("0.2/100"), QStringLiteral("--packs"),
             QStringLiteral("1,1"), QStringLiteral("--channels"), QStringLiteral("5;5")});
        QCOMPARE(run.status, 0);
        for (const char* shown :
             {"Re1 = 280.889 ≥ 100", "α1 = 0.086 · 0.206 · 280.889^0.73", "= 300.50 Вт/(м^2·К)",
              "K = 1 / (1 / 300.497 + 0.000229 + 1 / 2543.92)",
              "F_req = 121300 / 253.17 / 41.7 / 1", "= 11.49 м^2",
              "запас = (1.6 - 11.4898) / 11.4898 · 100", "= -86.07 %",
              "запас ≤ 0, недостаток площади"}) {
            QVERIFY2(run.out.contains(QString::fromUtf8(shown)), shown);
        }
    }

    void noSuitableVariantNamesTheNearest() {
        const Run run =
            runKey({QStringLiteral("solve"), design(QStringLiteral("no_suitable.txt"))});
        QCOMPARE(run.status, 0);
        const qsizetype at =
            run.out.indexOf(QStringLiteral("Подходящих вариантов нет. Ближайшие к подходящим:"));
        QVERIFY2(at > 0, qPrintable(run.out));
        const QStringList nearest =
            run.out.mid(at).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1);
        QCOMPARE(nearest.size(), 5);
        for (const QString& line : nearest) {
            QVERIFY2(line.contains(QStringLiteral("пакеты")) &&
                         line.contains(QStringLiteral("запас")),
                     qPrintable(line));
        }
    }

    void badInputIsOneLine_data() {
        QTest::addColumn<QByteArray>("contents"); // empty: no file at all
        QTest::addColumn<QString>("message");
        // The worked cooler's first 13 values as bare numbers (eps left out).
        const QByteArray cooler = "тип = холодильник\n" +
                                  test::workedStoredTexts(ExchangerType::Cooler)
                                      .mid(0, 13)
                                      .join(QLatin1Char('\n'))
                                      .toUtf8() +
                                  '\n';
        QTest::newRow("missing file") << QByteArray() << "не найден";
        QTest::newRow("empty file") << QByteArray(" \n") << "не задан тип теплообменника";
        QTest::newRow("binary file") << QByteArray("\x7f"
                                                   "ELF\x02\x01\x00\x00",
                                                   8)
                                     << "это не текстовый файл";
        QTest::newRow("unknown key")
            << QByteArray("тип = холодильник\nfoo = 1\n") << "строка 2: неизвестный ключ «foo»";
        QTest::newRow("out of range")
            << cooler + "1.5\n"
            << "строка 15: значение «1.5» параметра «Коэффициент, учитывающий снижение движ. "
               "силы(б/р)» вне допустимого интервала 0 < x ≤ 1";
        QTest::newRow("1e999")
            << QByteArray("тип = конденсатор\ng1 = 1e999\n") +
                   cooler.mid(cooler.indexOf('\n') + 7) + "1\n"
            << "строка 2: значение «1e999» параметра «Массовый расход горячего теплоносителя (или "
               "пара) (Кг/с)» вне допустимого интервала 0 < x ≤ 1500";
        QTest::newRow("missing value")
            << cooler
            << "не задан параметр «Коэффициент, учитывающий снижение движ. силы(б/р)» (ключ eps)";
    }
    void badInputIsOneLine() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, message);
        const QString path = dir_.filePath(QStringLiteral("design.txt"));
        QFile::remove(path);
        if (!contents.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(contents);
        }
        const Run run = runKey({QStringLiteral("solve"), path});
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
        QVERIFY2(run.err.startsWith(QStringLiteral("orven-key: ")) && run.err.contains(message),
                 qPrintable(run.err));
    }

    // The whole protocol of one variant of each worked example, against the
    // text checked in beside them (tests/key/explain_*.txt), in process.
    void explainWholeText_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("worked cooler")
            << "worked_cooler.txt"
            << QStringList{"--exchanger", "0.2/100", "--packs", "1,1", "--channels", "5;5"}
            << "explain_worked_cooler.txt";
        QTest::newRow("worked condenser")
            << "worked_condenser.txt"
            << QStringList{"--exchanger", "0.3/65", "--packs", "2,1", "--channels", "6,6;12"}
            << "explain_worked_condenser.txt";
    }
    void explainWholeText() {
        QFETCH(QString, file);
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const Run run =
            runInProcess(QStringList{QStringLiteral("explain"), design(file)} + arguments);
        QCOMPARE(run.status, statusDone);
        QFile text(design(expected));
        QVERIFY(text.open(QIODevice::ReadOnly));
        const QStringList want = QString::fromUtf8(text.readAll()).split(QLatin1Char('\n'));
        const QStringList got = run.out.split(QLatin1Char('\n')).mid(1); // without the path
        for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i)
            QCOMPARE(got.value(i), want.value(i));
    }

    // The variants' table in a PDF: every row on one line (all 200 of them,
    // each ending with its channels), landscape, and every page that goes on
    // with the table starts with its header.
    void solvePdfKeepsRowsWhole() {
        const QString path = dir_.filePath(QStringLiteral("solve.pdf"));
        const Run run = runInProcess(
            {QStringLiteral("solve"), design(QStringLiteral("worked_cooler.txt")),
             QStringLiteral("--top"), QStringLiteral("200"), QStringLiteral("--pdf"), path});
        QCOMPARE(run.status, statusDone);
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"),
                        {QStringLiteral("-layout"), QStringLiteral("-eol"), QStringLiteral("unix"),
                         path, QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished(30000));
        const QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput())
                                      .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QVERIFY(pages.size() >= 3);
        static const QRegularExpression row(QStringLiteral(
            "^\\s*(\\d+)\\s+\\S+\\s+\\d+/\\d+(\\s+[-\\d.—]+){8}\\s+[\\d,]+; [\\d,]+$"));
        int rows = 0;
        for (qsizetype page = 0; page < pages.size(); ++page) {
            if (page > 0)
                QVERIFY2(pages.at(page).trimmed().startsWith(QStringLiteral("№")),
                         qPrintable(pages.at(page).left(200)));
            for (const QString& line : pages.at(page).split(QLatin1Char('\n')))
                rows += row.match(line).hasMatch() ? 1 : 0;
        }
        QCOMPARE(rows, 200);
    }

    // CSV fields as RFC 4180 asks: quoted when they hold a separator, a quote
    // or a line break, quotes doubled.
    void csvFields_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "0.2/100"
                               << "0.2/100";
        QTest::newRow("comma") << "9,9,10"
                               << "\"9,9,10\"";
        QTest::newRow("semicolon") << "5; 5"
                                   << "\"5; 5\"";
        QTest::newRow("quote") << "«a» \"b\""
                               << "\"«a» \"\"b\"\"\"";
        QTest::newRow("line break") << "a\nb"
                                    << "\"a\nb\"";
    }
    void csvFields() {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(csvField(text), field);
    }

    // The place of a checked variant among the suitable ones counts only the
    // variants ranked strictly before it: a variant tied with the first
    // (0.3/65 and 0.3/50 have the same surface, margin and packs) is first.
    void tiedVariantSharesItsPlace() {
        OperationsPrinter operations;
        resetDesignCase();
        DesignCase& c = designCase();
        loadDesign(c, readDesign(QStringLiteral("worked_cooler.txt")));
        c.studentName = QStringLiteral("Петров Пётр Гр.х-11");
        c.pageNumber = 1;
        c.pageBlockCount = 1;
        const Exchanger* tied = exchangerNamed(QStringLiteral("0.3/65"));
        QVERIFY(tied != nullptr);
        loadVariant(c, {int(tied - standardExchangers().data()), 3, 4, {3, 3, 3}, {2, 2, 2, 3}});
        QCOMPARE(calculateExchanger(c), CalculationStatus::Completed);
        c.resultsUnprinted = true;
        c.printRequestHandled = false;
        printResults(c, operations);
        finishReport(c, operations);
        const QString path = dir_.filePath(QStringLiteral("tied.pdf"));
        QVERIFY(writeReportPdf(operations.ops, path));
        const Run run = runInProcess({QStringLiteral("check"), path});
        QCOMPARE(run.status, statusDone);
        QVERIFY2(run.out.contains(QStringLiteral("место варианта: 1 из ")), qPrintable(run.out));
    }

    // Reports made from genuine ones and edited as a student might: each is
    // caught with its status and the finding that names it; what the program
    // itself can print (no name, a value over several rows) is read.
    void editedReports_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("finding");
        QTest::newRow("genuine") << "" << 0 << "все строки отчёта на месте";
        QTest::newRow("closing rule removed") << "no-rule" << 1 << "по расчёту «-----";
        QTest::newRow("fake block appended without its rule")
            << "fake-block" << 1 << "блок 4, строка";
        QTest::newRow("block with a Latin T") << "latin" << 1 << "НЕ СОВПАДАЮТ";
        QTest::newRow("free line after the blocks") << "free-end" << 1 << "«Вывод: выбран";
        QTest::newRow("free line before the blocks")
            << "free-start" << 1 << "«Вывод: выбран 0.2/100, запас 25.00 %» — не строка отчёта";
        QTest::newRow("value out of range") << "g1=2000" << 1 << "вне допустимого интервала";
        QTest::newRow("another design's data") << "task" << 1 << "в задании 0.13";
        QTest::newRow("no name") << "no-name" << 0 << "Студент: (не указан)";
        QTest::newRow("value over several rows")
            << "long-value" << 0 << "все строки отчёта на месте";
        QTest::newRow("cut after the initial data")
            << "no-blocks" << 1 << "в отчёте нет ни одного блока результатов";
    }
    void editedReports() {
        QFETCH(QString, edit);
        QFETCH(int, status);
        QFETCH(QString, finding);
        OperationsPrinter operations;
        printCoolerReport(operations, {5, 40, 60}, [&](DesignCase& c) {
            if (edit == QStringLiteral("no-name"))
                c.studentName.clear();
            else if (edit == QStringLiteral("long-value"))
                c.valueTexts[13] = QStringLiteral("121300.") + QString(3000, QLatin1Char('0'));
            else if (edit == QStringLiteral("g1=2000"))
                c.valueTexts[1] = QStringLiteral("2000");
        });
        ReportOperations& ops = operations.ops;
        const auto isRule = [](const ReportOperation& op) {
            return op.kind == ReportOperation::Line &&
                   op.text.trimmed().startsWith(QStringLiteral("-----"));
        };
        const auto firstOf = [&](const QString& text, int nth) {
            int seen = 0;
            for (qsizetype i = 0; i < ops.size(); ++i) {
                if (ops[i].text.contains(text) && ++seen == nth)
                    return i;
            }
            return qsizetype(-1);
        };
        const ReportOperation free{ReportOperation::Line,
                                   QStringLiteral("Вывод: выбран 0.2/100, запас 25.00 %"), 0};
        if (edit == QStringLiteral("no-rule")) {
            const qsizetype rule = std::find_if(ops.begin(), ops.end(), isRule) - ops.begin();
            QVERIFY(rule < ops.size());
            ops.removeAt(rule);
        } else if (edit == QStringLiteral("fake-block")) {
            const qsizetype from = firstOf(QStringLiteral("Тип теплообменника"), 3);
            QVERIFY(from > 0);
            ReportOperations copy = ops.mid(from);
            copy.erase(std::remove_if(copy.begin(), copy.end(), isRule), copy.end());
            copy.erase(std::remove_if(copy.begin(), copy.end(),
                                      [](const ReportOperation& op) {
                                          return op.kind == ReportOperation::Page;
                                      }),
                       copy.end());
            ops += copy;
        } else if (edit == QStringLiteral("latin")) {
            const qsizetype at = firstOf(QStringLiteral("Тип теплообменника"), 2);
            QVERIFY(at > 0);
            ops[at].text.replace(QStringLiteral("Тип"), QStringLiteral("Tип"));
        } else if (edit == QStringLiteral("free-end")) {
            ops << free;
        } else if (edit == QStringLiteral("no-blocks")) {
            const qsizetype results = firstOf(QStringLiteral("РЕЗУЛЬТАТЫ"), 1);
            QVERIFY(results > 0);
            ops.resize(results);
        } else if (edit == QStringLiteral("free-start")) {
            const qsizetype at = firstOf(QStringLiteral("Тип теплообменника"), 1);
            QVERIFY(at > 0);
            ops.insert(at, free);
        }
        const QString path = dir_.filePath(QStringLiteral("edited.pdf"));
        QVERIFY(writeReportPdf(ops, path));
        QStringList arguments{QStringLiteral("check"), path};
        if (edit == QStringLiteral("task")) {
            // The task of another student: the same, but g1 = 0.13 (5.7 % off).
            QFile task(dir_.filePath(QStringLiteral("task.txt")));
            QVERIFY(task.open(QIODevice::WriteOnly));
            QFile cooler(design(QStringLiteral("worked_cooler.txt")));
            QVERIFY(cooler.open(QIODevice::ReadOnly));
            task.write(cooler.readAll().replace("g1 = 0,123", "g1 = 0.13"));
            task.close();
            arguments << QStringLiteral("--task") << task.fileName();
        }
        const Run run = runKey(arguments);
        QVERIFY2(run.status == status, qPrintable(run.out + run.err));
        QVERIFY2(run.out.contains(finding), qPrintable(run.out));
    }

    // A hot pack count edited into something no variant has is a finding,
    // never a number cast blindly to a whole one.
    void editedHotPackCount_data() {
        QTest::addColumn<QString>("count");
        QTest::newRow("huge") << QStringLiteral("1e308");
        QTest::newRow("not a number") << QStringLiteral("nan");
        QTest::newRow("infinite") << QStringLiteral("inf");
        QTest::newRow("nine") << QStringLiteral("9");
        QTest::newRow("fraction") << QStringLiteral("2.5");
    }
    void editedHotPackCount() {
        QFETCH(QString, count);
        OperationsPrinter operations;
        printCoolerReport(operations, {5});
        const QRegularExpression hotCount(
            QStringLiteral("(горячего теплоносителя \\(шт\\.\\)\\s+)\\d+$"));
        int edited = 0;
        for (ReportOperation& op : operations.ops) {
            if (hotCount.match(op.text).hasMatch()) {
                op.text.replace(hotCount, QStringLiteral("\\1") + count);
                ++edited;
            }
        }
        QCOMPARE(edited, 1);
        const QString path = dir_.filePath(QStringLiteral("packs.pdf"));
        QVERIFY(writeReportPdf(operations.ops, path));
        const Run run = runKey({QStringLiteral("check"), path});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains(QStringLiteral("не целое от 1 до 8")), qPrintable(run.out));
    }

    // Reports written by the program's own printer: the genuine one agrees, a
    // copy with one number changed is caught at its block and line, and a PDF
    // of another kind is refused.
    void checkReports() {
        const QString genuine = dir_.filePath(QStringLiteral("genuine.pdf"));
        {
            SystemReportPrinter printer(genuine);
            printCoolerReport(printer, {5, 40, 60});
        }
        Run run = runKey({QStringLiteral("check"), genuine});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains(QStringLiteral("Студент: Петров Пётр Гр.х-11")),
                 qPrintable(run.out));
        QCOMPARE(run.out.count(QStringLiteral("числа: все строки блока")), 3);
        QVERIFY(run.out.contains(
            QStringLiteral("вариант не подходит: недостаток площади: запас -86.07 % ≤ 0")));
        QVERIFY(run.out.contains(
            QStringLiteral("Итог: все строки отчёта на месте, все числа совпадают с пересчётом.")));

        OperationsPrinter operations;
        printCoolerReport(operations, {5, 40, 60});
        int blocks = 0;
        for (ReportOperation& op : operations.ops) {
            blocks += op.text.contains(QStringLiteral("Тип теплообменника")) ? 1 : 0;
            if (blocks == 2 && op.text.contains(QStringLiteral("Коэффициент теплопередачи"))) {
                QVERIFY(op.text.contains(QLatin1Char('.')));
                const qsizetype last = op.text.size() - 1;
                op.text[last] =
                    op.text[last] == QLatin1Char('1') ? QLatin1Char('2') : QLatin1Char('1');
                break;
            }
        }
        const QString tampered = dir_.filePath(QStringLiteral("tampered.pdf"));
        QVERIFY(writeReportPdf(operations.ops, tampered));
        run = runKey({QStringLiteral("check"), tampered});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out.count(QStringLiteral("НЕ СОВПАДАЮТ")), 1);
        QVERIFY2(run.out.contains(
                     QStringLiteral("блок 2, строка 17: напечатано «Коэффициент теплопередачи")),
                 qPrintable(run.out));

        const QString other = dir_.filePath(QStringLiteral("other.pdf"));
        QVERIFY(writeReportPdf({{ReportOperation::Line, QStringLiteral("Счёт № 17 за декабрь"), 0}},
                               other));
        const QString text = dir_.filePath(QStringLiteral("plain.pdf"));
        QFile plain(text);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.write("это не PDF\n");
        plain.close();
        for (const QString& refused : {other, text}) {
            run = runKey({QStringLiteral("check"), refused});
            QCOMPARE(run.status, 2);
            QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
            QVERIFY(run.out.isEmpty());
        }
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        QTest::newRow("--version")
            << QStringList{"--version"} << 0 << "orven-key " ORVEN_VERSION "\n";
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "Использование:";
        QTest::newRow("nothing") << QStringList{} << 2 << "orven-key: не указана команда";
        QTest::newRow("unknown command")
            << QStringList{"rank", "x"} << 2 << "orven-key: неизвестная команда «rank»";
        QTest::newRow("bad --top") << QStringList{"solve", "x", "--top", "-3"} << 2
                                   << "orven-key: --top: нужно целое число от 1";
        QTest::newRow("explain without a variant")
            << QStringList{"explain", design("worked_cooler.txt")} << 2
            << "orven-key: команде explain нужны";
        QTest::newRow("uneven channels")
            << QStringList{"explain",     design("worked_cooler.txt"),
                           "--exchanger", "0.5e/150",
                           "--packs",     "2,1",
                           "--channels",  "3,3;5"}
            << 2 << "orven-key: --channels: всего каналов холодного 6, горячего 5";
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        const Run run = runKey(arguments);
        QCOMPARE(run.status, status);
        QVERIFY2((status == 0 ? run.out : run.err).startsWith(output),
                 qPrintable(run.out + run.err));
        if (status != 0) {
            QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
        }
    }

    void csvAndPdf() {
        const QString csv = dir_.filePath(QStringLiteral("key.csv"));
        const QString pdf = dir_.filePath(QStringLiteral("key.pdf"));
        const Run run =
            runKey({QStringLiteral("solve"), design(QStringLiteral("worked_condenser.txt")),
                    QStringLiteral("--csv"), csv, QStringLiteral("--pdf"), pdf});
        QCOMPARE(run.status, 0);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList rows =
            QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const Solution s = solveDesign(readDesign(QStringLiteral("worked_condenser.txt")));
        QCOMPARE(rows.size(), s.suitable.size() + 1);
        QVERIFY2(rows.at(1).startsWith(
                     QStringLiteral("1,") +
                     standardExchangers().at(s.suitable.first().variant.exchanger).name +
                     QLatin1Char(',')),
                 qPrintable(rows.at(1)));
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-eol"),
                                                 QStringLiteral("unix"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(text.readAllStandardOutput())
                    .contains(QStringLiteral("Подходящих вариантов: %1").arg(s.suitable.size())));
    }

    // A draw stopped by its cancel flag, set while the class's tasks are
    // being worked out, ends with its line and no tasks.
    void drawCancelled() {
        QFile file(test::sourceDir() + QStringLiteral("/tests/key/class_template.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        TaskTemplate taskTemplate;
        QString error;
        QVERIFY2(readTaskTemplate(file.readAll(), QStringLiteral("t.txt"), {}, taskTemplate, error),
                 qPrintable(error));
        std::atomic<bool> cancel{false};
        AssignOptions options;
        options.cancel = &cancel;
        options.progress = [&](int done, int) { cancel = cancel || done >= 2; };
        QStringList identifiers;
        for (int i = 0; i < 40; ++i) {
            identifiers << QStringLiteral("email s%1@x").arg(i);
        }
        QList<Assignment> assignments;
        QString failure;
        QVERIFY(!assignTasks(taskTemplate, identifiers, options, assignments, failure));
        QCOMPARE(failure, QStringLiteral("выдача заданий отменена"));
        QVERIFY(assignments.isEmpty());
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(KeyTest)
#include "key_test.moc"
