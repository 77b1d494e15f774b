#include "platform/system_report_printer.h"

#include "platform/report_rendering.h"

#include "core/design_case.h"
#include "initial_data/parameter_names.h"
#include "results/report_progress.h"
#include "support/recording_printer.h"

#include <QtTest>

#include <QFontInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>

using namespace orven;

namespace {

// Text of a PDF as pdftotext lays it out with a fixed 6 pt character pitch
// (the advance of a 10 pt Courier-compatible font); pages end with "\f".
QString pdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-fixed"),
                                                QStringLiteral("6"), path, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPageCount(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return -1;
    }
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                   QRegularExpression::MultilineOption);
    return pages.match(QString::fromUtf8(process.readAllStandardOutput())).captured(1).toInt();
}

// The non-empty lines of each page.
QList<QStringList> pdfPages(const QString& path) {
    QList<QStringList> pages;
    QStringList pageTexts = pdfText(path).split(QLatin1Char('\f'));
    if (!pageTexts.isEmpty() && pageTexts.last().trimmed().isEmpty()) {
        pageTexts.removeLast();
    }
    for (const QString& pageText : pageTexts) {
        QStringList lines;
        for (const QString& line : pageText.split(QLatin1Char('\n'))) {
            if (!line.trimmed().isEmpty()) {
                lines << line;
            }
        }
        pages << lines;
    }
    return pages;
}

// A line such as a report prints: Cyrillic label, blanks, a value column and a
// marker that must come out in the same column on every line.
QString reportLikeLine(int number) {
    return QStringLiteral("        %1 Коэффициент теплопередачи (Вт/м^2*К) %2 |")
        .arg(number, 3, 10, QLatin1Char('0'))
        .arg(QString::number(number * 12.25, 'f', 2), 15);
}

// HOME, XDG_CONFIG_HOME and TMPDIR pointed into a folder for one test.
class HomeIn {
public:
    explicit HomeIn(const QString& folder) {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "TMPDIR"}) {
            saved_ << qMakePair(QByteArray(name), qgetenv(name));
        }
        QDir().mkpath(folder + QStringLiteral("/home"));
        QDir().mkpath(folder + QStringLiteral("/tmp"));
        qputenv("HOME", (folder + QStringLiteral("/home")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (folder + QStringLiteral("/home/.config")).toLocal8Bit());
        qputenv("TMPDIR", (folder + QStringLiteral("/tmp")).toLocal8Bit());
    }
    ~HomeIn() {
        for (const auto& [name, value] : saved_) {
            qputenv(name.constData(), value);
        }
    }
    HomeIn(const HomeIn&) = delete;
    HomeIn& operator=(const HomeIn&) = delete;

private:
    QList<QPair<QByteArray, QByteArray>> saved_;
};

} // namespace

class SystemReportPrinterTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(dir_.isValid()); }

    void reportFontIsFixedPitch_data() {
        QTest::addColumn<QString>("requested");
        QTest::newRow("report font") << QStringLiteral("Courier New Cyr");
        QTest::newRow("unknown family") << QStringLiteral("No Such Family");
        QTest::newRow("proportional family") << QStringLiteral("DejaVu Sans");
    }
    void reportFontIsFixedPitch() {
        QFETCH(QString, requested);
        const QFontInfo info(reportFont(requested, 10));
        QVERIFY2(info.fixedPitch(), qPrintable(info.family()));
    }

    void threeFullPagesKeepEveryLine_data() {
        QTest::addColumn<bool>("explicitBreaks");
        QTest::newRow("page breaks asked for") << true;
        QTest::newRow("full pages continue by themselves") << false;
    }
    void threeFullPagesKeepEveryLine() {
        QFETCH(bool, explicitBreaks);
        const QString path = dir_.filePath(QStringLiteral("three.pdf"));
        QStringList printed;
        {
            SystemReportPrinter printer(path);
            printer.setFontName(QStringLiteral("Courier New Cyr"));
            printer.setFontSize(10);
            for (int n = 1; n <= 3 * reportLinesPerPage; ++n) {
                printed << reportLikeLine(n);
                printer.printLine(printed.last());
                if (explicitBreaks && n % reportLinesPerPage == 0) {
                    printer.newPage();
                }
            }
            printer.endDocument();
            QCOMPARE(printer.lastPdfPath(), path);
        }
        QCOMPARE(pdfPageCount(path), 3);
        const QList<QStringList> pages = pdfPages(path);
        QCOMPARE(pages.size(), 3);
        QStringList read;
        for (const QStringList& page : pages) {
            QCOMPARE(page.size(), reportLinesPerPage);
            read += page;
        }
        const qsizetype markerColumn = read.first().indexOf(QLatin1Char('|'));
        QVERIFY(markerColumn > 0);
        for (int i = 0; i < printed.size(); ++i) {
            QCOMPARE(read.at(i).trimmed(), printed.at(i).trimmed());
            QCOMPARE(read.at(i).indexOf(QLatin1Char('|')), markerColumn);
        }
    }

    void tooWideLineContinuesOnNextLine() {
        QString wide;
        for (int n = 0; n < 40; ++n) {
            wide += QStringLiteral("Ж%1").arg(n, 3, 10, QLatin1Char('0')); // 160 characters
        }
        const QString path = dir_.filePath(QStringLiteral("wide.pdf"));
        {
            SystemReportPrinter printer(path);
            printer.printLine(QStringLiteral("first"));
            printer.printLine(wide + QStringLiteral("     ")); // trailing blanks add no row
            printer.printLine(QStringLiteral("last"));
        }
        const QList<QStringList> pages = pdfPages(path);
        QCOMPARE(pages.size(), 1);
        const QStringList lines = pages.first();
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0).trimmed(), QStringLiteral("first"));
        QVERIFY(lines.at(1).trimmed().size() >= 91); // the widest report line fits on a row
        QCOMPARE(lines.at(1).trimmed() + lines.at(2).trimmed(), wide);
        QCOMPARE(lines.at(3).trimmed(), QStringLiteral("last"));
        // The continuation starts at the left margin like every other line.
        const QRegularExpression firstPrinted(QStringLiteral("\\S"));
        QCOMPARE(lines.at(2).indexOf(firstPrinted), lines.at(0).indexOf(firstPrinted));
    }

    void pageBreaksTakeEffectOnlyBeforeALine_data() {
        QTest::addColumn<QString>("script"); // l: line, e: empty line, p: new page, d: end
        QTest::addColumn<int>("pages");
        QTest::newRow("break at the end") << QStringLiteral("llpd") << 1;
        QTest::newRow("break then line") << QStringLiteral("lpld") << 2;
        QTest::newRow("two breaks in a row") << QStringLiteral("lppld") << 2;
        QTest::newRow("break before the first line") << QStringLiteral("plld") << 1;
        QTest::newRow("empty line starts a page") << QStringLiteral("lpeld") << 2;
        QTest::newRow("ended by the destructor") << QStringLiteral("lpl") << 2;
    }
    void pageBreaksTakeEffectOnlyBeforeALine() {
        QFETCH(QString, script);
        QFETCH(int, pages);
        const QString path = dir_.filePath(QStringLiteral("breaks.pdf"));
        {
            SystemReportPrinter printer(path);
            for (const QChar step : script) {
                switch (step.toLatin1()) {
                case 'l':
                    printer.printLine(QStringLiteral("Строка"));
                    break;
                case 'e':
                    printer.printEmptyLine();
                    break;
                case 'p':
                    printer.newPage();
                    break;
                case 'd':
                    printer.endDocument();
                    break;
                }
            }
        }
        QCOMPARE(pdfPageCount(path), pages);
    }

    void nothingPrintedWritesNoFile() {
        const QString path = dir_.filePath(QStringLiteral("nothing.pdf"));
        {
            SystemReportPrinter printer(path);
            printer.setFontName(QStringLiteral("Courier New Cyr"));
            printer.newPage();
            printer.endDocument();
        }
        QVERIFY(!QFileInfo::exists(path));
    }

    void documentsFolderGetsNewFilePerDocument() {
        if (!QPrinterInfo::defaultPrinter().isNull()) {
            QSKIP("a default printer is installed; reports go to it, not to files");
        }
        const QByteArray home = qgetenv("HOME");
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", dir_.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", dir_.filePath(QStringLiteral("config")).toLocal8Bit());
        QStringList written;
        {
            SystemReportPrinter printer;
            for (int document = 0; document < 2; ++document) {
                printer.printLine(QStringLiteral("Отчёт %1").arg(document));
                printer.endDocument();
                written << printer.lastPdfPath();
            }
        }
        qputenv("HOME", home);
        qputenv("XDG_CONFIG_HOME", config);

        const QString folder = QDir(dir_.path()).filePath(QStringLiteral("Documents"));
        const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        QCOMPARE(files.size(), 2);
        QCOMPARE(written.size(), 2);
        QVERIFY(written.at(0) != written.at(1));
        const QRegularExpression name(
            QStringLiteral("^orven-report-\\d{4}-\\d{2}-\\d{2}-\\d{6}(-\\d+)?\\.pdf$"));
        for (const QString& path : written) {
            QCOMPARE(QFileInfo(path).absolutePath(), folder);
            QVERIFY2(name.match(QFileInfo(path).fileName()).hasMatch(), qPrintable(path));
            QCOMPARE(pdfPageCount(path), 1);
        }
        QVERIFY(pdfText(written.at(1)).contains(QStringLiteral("Отчёт 1")));
    }

    // The documents folder that cannot take the report sends it on to the
    // next place; the message that names the file comes with its path.
    void reportGoesToTheFirstFolderThatTakesIt_data() {
        QTest::addColumn<QString>("documents"); // "file", "missing"
        QTest::addColumn<QString>("expectedFolder");
        QTest::newRow("documents a plain file") << QStringLiteral("file") << QStringLiteral("home");
        QTest::newRow("documents missing")
            << QStringLiteral("missing") << QStringLiteral("home/Documents");
    }
    void reportGoesToTheFirstFolderThatTakesIt() {
        if (!QPrinterInfo::defaultPrinter().isNull()) {
            QSKIP("a default printer is installed; reports go to it, not to files");
        }
        QFETCH(QString, documents);
        QFETCH(QString, expectedFolder);
        QTemporaryDir root;
        const HomeIn home(root.path());
        if (documents == QLatin1String("file")) {
            QFile file(root.filePath(QStringLiteral("home/Documents")));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QStringList told;
        QString toldPath;
        SystemReportPrinter printer;
        printer.setMessageListener([&](const QString& message, const QString& pdfPath) {
            told << message;
            toldPath = pdfPath;
        });
        printer.printLine(QStringLiteral("Отчёт"));
        printer.endBlock();
        printer.endDocument();
        QCOMPARE(QFileInfo(printer.lastPdfPath()).absolutePath(), root.filePath(expectedFolder));
        QCOMPARE(toldPath, printer.lastPdfPath());
        QCOMPARE(told, QStringList{QStringLiteral("ORVEN: отчёт записан в файл ") + toldPath});
        QVERIFY(pdfText(toldPath).contains(QStringLiteral("Отчёт")));
        QVERIFY(QDir(root.filePath(expectedFolder))
                    .entryList({QStringLiteral("*.journal")}, QDir::Files | QDir::Hidden)
                    .isEmpty());
    }

    // A journal left by a process that is gone becomes a recovered PDF and is
    // removed; the journal of a report still open in this process is left.
    void leftJournalsAreRecovered() {
        QTemporaryDir root;
        const HomeIn home(root.path());
        const QString folder = root.filePath(QStringLiteral("home/Documents"));
        QVERIFY(QDir().mkpath(folder));
        QProcess gone;
        gone.start(QStringLiteral("true"));
        QVERIFY(gone.waitForFinished());
        const qint64 gonePid = gone.processId() > 0 ? gone.processId() : 999999;

        const ReportOperations block{{ReportOperation::Line, QStringLiteral("Блок один"), 0},
                                     {ReportOperation::Page, QString(), 0},
                                     {ReportOperation::Line, QStringLiteral("Блок два"), 0}};
        const auto writeJournal = [&](const QString& name, qint64 pid) {
            QFile file(QDir(folder).filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(
                journalHeader(pid, QDir(folder).filePath(QStringLiteral("orven-report-x.pdf"))) +
                journalBlock(block) + "L половина бло"); // cut inside a block
        };
        writeJournal(QStringLiteral(".orven-report-x-1.journal"), gonePid);
        writeJournal(QStringLiteral(".orven-report-y-2.journal"),
                     QCoreApplication::applicationPid());

        QStringList told;
        SystemReportPrinter printer;
        printer.setMessageListener(
            [&](const QString& message, const QString&) { told << message; });
        printer.recoverLeftReports();

        const QString recovered =
            QDir(folder).filePath(QStringLiteral("orven-report-x-восстановлен.pdf"));
        QCOMPARE(told,
                 QStringList{QStringLiteral("ORVEN: отчёт, не законченный при прошлой работе, "
                                            "восстановлен в файле ") +
                             recovered});
        const QList<QStringList> pages = pdfPages(recovered);
        QCOMPARE(pages.size(), 2);
        QCOMPARE(pages.at(0).join(QLatin1Char('|')).trimmed(), QStringLiteral("Блок один"));
        QCOMPARE(pages.at(1).join(QLatin1Char('|')).trimmed(), QStringLiteral("Блок два"));
        QCOMPARE(QDir(folder).entryList({QStringLiteral("*.journal")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral(".orven-report-y-2.journal")});
    }

    // Wrapped rows overflow the sheets the report counts on: every sheet still
    // starts with a page header numbered as the sheet, and nothing is lost.
    void overflowingSheetsKeepHeadersAndNumbers_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("10000-character name") << QString(10000, QChar(0x416)) << "1";
        QTest::newRow("300-digit value") << "Иванов" << QString(300, QLatin1Char('7'));
    }
    void overflowingSheetsKeepHeadersAndNumbers() {
        QFETCH(QString, name);
        QFETCH(QString, value);
        const QString path = dir_.filePath(QStringLiteral("paging.pdf"));
        const auto printFiveBlocks = [&](ReportPrinter& printer) {
            resetDesignCase();
            DesignCase& c = designCase();
            fillParameterNames(c);
            c.studentName = name;
            for (int slot = 1; slot <= 21; ++slot) {
                c.valueTexts[slot] = value;
            }
            c.pageNumber = 1;
            c.pageBlockCount = 1;
            for (int block = 1; block <= 5; ++block) {
                c.resultsUnprinted = true;
                c.printRequestHandled = false;
                QVERIFY(printResults(c, printer, [] { return QStringLiteral(" 08 декабря"); }));
            }
            finishReport(c, printer);
        };
        test::RecordingPrinter recording;
        printFiveBlocks(recording);
        {
            SystemReportPrinter printer(path);
            printFiveBlocks(printer);
            QCOMPARE(printer.lastPdfPath(), path);
        }

        const QRegularExpression header(QStringLiteral("08 декабря\\s+ORVEN\\s+стр\\.(\\d+)\\s*$"));
        const QRegularExpression blank(QStringLiteral("\\s"),
                                       QRegularExpression::UseUnicodePropertiesOption);
        const auto withoutHeadersAndBlanks = [&](const QStringList& lines) {
            QString text;
            for (const QString& line : lines) {
                if (!header.match(line).hasMatch()) {
                    text += QString(line).remove(blank);
                }
            }
            return text;
        };
        const QList<QStringList> pages = pdfPages(path);
        QVERIFY(pages.size() > 3); // more sheets than the report counts
        QStringList read;
        for (int sheet = 0; sheet < pages.size(); ++sheet) {
            const QRegularExpressionMatch first = header.match(pages.at(sheet).first());
            QVERIFY2(first.hasMatch(), qPrintable(pages.at(sheet).first()));
            QCOMPARE(first.captured(1).toInt(), sheet + 1);
            read += pages.at(sheet);
        }
        QStringList recorded;
        for (const QStringList& page : recording.finishedDocuments().first()) {
            recorded += page;
        }
        const QString readText = withoutHeadersAndBlanks(read);
        const QString recordedText = withoutHeadersAndBlanks(recorded);
        qsizetype same = 0;
        while (same < readText.size() && same < recordedText.size() &&
               readText.at(same) == recordedText.at(same)) {
            ++same;
        }
        QCOMPARE(readText.mid(same, 80), recordedText.mid(same, 80)); // the first difference
    }

    void pdfThatCannotBeWrittenLeavesNothing() {
        const QString path = dir_.filePath(QStringLiteral("no/such/folder/report.pdf"));
        QVERIFY(!writeReportPdf({{ReportOperation::Line, QStringLiteral("x"), 0}}, path));
        QVERIFY(!QFileInfo::exists(path));
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(SystemReportPrinterTest)
#include "system_report_printer_test.moc"
