#include "platform/system_report_printer.h"

#include "platform/report_rendering.h"
#include "report/journal_files.h"

#include "core/design_case.h"
#include "initial_data/parameter_names.h"
#include "results/report_progress.h"
#include "support/recording_printer.h"

#include <QtTest>

#include <QFontInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

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
        for (const char* name :
             {"HOME", "XDG_CONFIG_HOME", "TMPDIR", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
            saved_ << qMakePair(QByteArray(name), qgetenv(name));
        }
        QDir().mkpath(folder + QStringLiteral("/home"));
        QDir().mkpath(folder + QStringLiteral("/tmp"));
        QDir().mkpath(folder + QStringLiteral("/runtime"));
        qunsetenv("XDG_STATE_HOME");
        qputenv("XDG_RUNTIME_DIR", (folder + QStringLiteral("/runtime")).toLocal8Bit());
        qputenv("HOME", (folder + QStringLiteral("/home")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (folder + QStringLiteral("/home/.config")).toLocal8Bit());
        qputenv("TMPDIR", (folder + QStringLiteral("/tmp")).toLocal8Bit());
    }
    ~HomeIn() {
        for (const auto& [name, value] : saved_) {
            if (value.isNull()) {
                qunsetenv(name.constData());
            } else {
                qputenv(name.constData(), value);
            }
        }
    }
    HomeIn(const HomeIn&) = delete;
    HomeIn& operator=(const HomeIn&) = delete;

private:
    QList<QPair<QByteArray, QByteArray>> saved_;
};

// Every file, link or other entry under folder (hidden ones too), as paths.
QStringList filesUnder(const QString& folder) {
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!it.fileInfo().isDir() || it.fileInfo().isSymLink()) {
            paths << path;
        }
    }
    return paths;
}

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

    // The journal of an open report is kept in the private state folder,
    // whatever folder the report itself goes to (here the home folder, the
    // documents folder being a plain file), and goes when the report is done.
    void journalIsKeptPrivately() {
        QTemporaryDir root;
        const HomeIn home(root.path());
        QFile documents(root.filePath(QStringLiteral("home/Documents")));
        QVERIFY(documents.open(QIODevice::WriteOnly));
        const QString state = root.filePath(QStringLiteral("home/.local/state/orven"));
        SystemReportPrinter printer;
        printer.printLine(QStringLiteral("Отчёт"));
        printer.endBlock();
        const QStringList journals =
            QDir(state).entryList({QStringLiteral("orven-report-*.journal")}, QDir::Files);
        QCOMPARE(journals.size(), 1);
        QCOMPARE(QFile::permissions(state) & 0x0077, QFileDevice::Permissions());
        QVERIFY(QFile::permissions(state) & QFileDevice::ExeOwner);
        printer.endDocument();
        QCOMPARE(QFileInfo(printer.lastPdfPath()).absolutePath(),
                 root.filePath(QStringLiteral("home")));
        QVERIFY(QDir(state).entryList({QStringLiteral("*.journal")}, QDir::Files).isEmpty());
    }

    // Left journals as a hostile file could make them: nothing in a journal
    // chooses a place, nothing is written through a link, and nothing but the
    // user's own ordinary files of a journal's size is read. Each row lays out
    // the files in a fresh home; `recovered` is the recovered report's name in
    // the documents folder ("" for none, a pattern with "*" for a name made
    // from the time of the recovery); `left` the journal that must stay; `said`
    // a part of the line on standard error.
    void leftJournals_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("recovered");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("said");
        const QString stamped = QStringLiteral("orven-report-2026-01-02-030405-восстановлен.pdf");
        const QString stateJournal = QStringLiteral("@S/orven-report-2026-01-02-030405-1.journal");
        QTest::newRow("genuine") << stateJournal << stamped << QString() << QString();
        QTest::newRow("an earlier version's, beside the report")
            << QStringLiteral("@D/.orven-report-2026-01-02-030405-1.journal") << stamped
            << QString() << QString();
        QTest::newRow("header places it elsewhere")
            << QStringLiteral("@S/orven-report-a-1.journal header=@R/some/where/new/dir/x.pdf")
            << QStringLiteral("orven-report-*-восстановлен.pdf") << QString() << QString();
        QTest::newRow("relative header")
            << QStringLiteral("@S/orven-report-a-1.journal header=../../escape.pdf")
            << QStringLiteral("orven-report-*-восстановлен.pdf") << QString() << QString();
        QTest::newRow("newline in its name")
            << QStringLiteral("@S/orven-report-2026-01-02-030405-1\n.journal") << stamped
            << QString() << QString();
        QTest::newRow("dangling link at the recovered name")
            << stateJournal + QStringLiteral(" link=@D/") + stamped
            << QStringLiteral("orven-report-2026-01-02-030405-восстановлен-2.pdf") << QString()
            << QString();
        QTest::newRow("link to a journal")
            << QStringLiteral("@S/orven-report-1-1.journal link-to=@R/j") << QString() << QString()
            << QStringLiteral("не обычный файл");
        QTest::newRow("link to /dev/zero")
            << QStringLiteral("@S/orven-report-1-1.journal link-to=/dev/zero") << QString()
            << QString() << QStringLiteral("не обычный файл");
        QTest::newRow("FIFO") << QStringLiteral("@S/orven-report-1-1.journal fifo") << QString()
                              << QString() << QStringLiteral("не обычный файл");
        QTest::newRow("sparse 100 GB")
            << QStringLiteral("@S/orven-report-1-1.journal size=100000000000") << QString()
            << QStringLiteral("@S/orven-report-1-1.journal") << QStringLiteral("больше 8 МБ");
        QTest::newRow("just over the limit")
            << QStringLiteral("@S/orven-report-1-1.journal size=8388609") << QString()
            << QStringLiteral("@S/orven-report-1-1.journal") << QStringLiteral("больше 8 МБ");
        QTest::newRow("in the shared temporary folder")
            << QStringLiteral("@T/.orven-report-2026-01-02-030405-1.journal") << QString()
            << QStringLiteral("@T/.orven-report-2026-01-02-030405-1.journal") << QString();
    }
    void leftJournals() {
        QFETCH(QString, layout);
        QFETCH(QString, recovered);
        QFETCH(QString, left);
        QFETCH(QString, said);
        QTemporaryDir root;
        const HomeIn home(root.path());
        const QString documents = root.filePath(QStringLiteral("home/Documents"));
        const QString state = root.filePath(QStringLiteral("home/.local/state/orven"));
        QVERIFY(QDir().mkpath(documents) && makePrivateFolder(state));
        const auto place = [&](QString path) {
            return path.replace(QStringLiteral("@S/"), state + QLatin1Char('/'))
                .replace(QStringLiteral("@D/"), documents + QLatin1Char('/'))
                .replace(QStringLiteral("@T/"), root.filePath(QStringLiteral("tmp/")))
                .replace(QStringLiteral("@R/"), root.path() + QLatin1Char('/'));
        };
        QProcess gone;
        gone.start(QStringLiteral("true"));
        QVERIFY(gone.waitForFinished());
        const ReportOperations block{{ReportOperation::Line, QStringLiteral("Блок один"), 0},
                                     {ReportOperation::Page, QString(), 0},
                                     {ReportOperation::Line, QStringLiteral("Блок два"), 0}};
        const QStringList parts = layout.split(QLatin1Char(' '));
        const QString journal = place(parts.at(0));
        QString header = documents + QStringLiteral("/orven-report-2026-01-02-030405.pdf");
        const QByteArray genuine = journalBlock(block) + "L половина бло"; // cut inside a block
        QString linkTo;
        qint64 size = -1;
        for (const QString& part : parts.mid(1)) {
            const QString value = place(part.section(QLatin1Char('='), 1));
            if (part.startsWith(QStringLiteral("header="))) {
                header = value;
            } else if (part.startsWith(QStringLiteral("link="))) {
                QVERIFY(
                    ::symlink(QFile::encodeName(root.filePath(QStringLiteral("outside/target.pdf")))
                                  .constData(),
                              QFile::encodeName(value).constData()) == 0);
            } else if (part.startsWith(QStringLiteral("link-to="))) {
                linkTo = value;
            } else if (part.startsWith(QStringLiteral("size="))) {
                size = value.toLongLong();
            } else if (part == QStringLiteral("fifo")) {
                QCOMPARE(::mkfifo(QFile::encodeName(journal).constData(), 0600), 0);
            }
        }
        const QByteArray contents = journalHeader(gone.processId(), header) + genuine;
        if (!linkTo.isEmpty()) {
            QFile target(root.filePath(QStringLiteral("j")));
            QVERIFY(target.open(QIODevice::WriteOnly) && target.write(contents) > 0);
            target.close();
            QVERIFY2(::symlink(QFile::encodeName(linkTo).constData(),
                               QFile::encodeName(journal).constData()) == 0,
                     std::strerror(errno));
        } else if (!QFileInfo(journal).exists()) {
            QDir().mkpath(QFileInfo(journal).absolutePath());
            QFile file(journal);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(contents);
            if (size > 0) {
                QVERIFY(file.resize(size));
            }
        }
        // The journal of a report still open in this process is left alone.
        QFile running(state + QStringLiteral("/orven-report-2026-01-02-030406-9.journal"));
        QVERIFY(running.open(QIODevice::WriteOnly));
        running.write(journalHeader(QCoreApplication::applicationPid(), header) + genuine);
        running.close();
        const QStringList before = filesUnder(root.path());

        QStringList told;
        QString toldPath;
        SystemReportPrinter printer;
        printer.setMessageListener([&](const QString& message, const QString& pdfPath) {
            told << message;
            toldPath = pdfPath;
        });
        QTemporaryFile errors;
        QVERIFY(errors.open());
        const int savedError = ::dup(STDERR_FILENO);
        ::dup2(errors.handle(), STDERR_FILENO);
        printer.recoverLeftReports();
        std::fflush(stderr);
        ::dup2(savedError, STDERR_FILENO);
        ::close(savedError);
        errors.seek(0);
        const QString standardError = QString::fromUtf8(errors.readAll());

        // What is new on the disk: the recovered report in the documents
        // folder, and nothing else anywhere (the link's target not made).
        QStringList added = filesUnder(root.path());
        for (const QString& path : before) {
            added.removeAll(path);
        }
        if (recovered.isEmpty()) {
            QCOMPARE(added, QStringList());
            QCOMPARE(told, QStringList());
        } else {
            QCOMPARE(added.size(), 1);
            const QString written = added.first();
            QCOMPARE(QFileInfo(written).absolutePath(), documents);
            QVERIFY2(QRegularExpression(QRegularExpression::wildcardToRegularExpression(recovered))
                         .match(QFileInfo(written).fileName())
                         .hasMatch(),
                     qPrintable(written));
            QCOMPARE(told, QStringList{QStringLiteral("ORVEN: отчёт, не законченный при прошлой "
                                                      "работе, восстановлен в файле ") +
                                       written});
            QCOMPARE(toldPath, written);
            const QList<QStringList> pages = pdfPages(written);
            QCOMPARE(pages.size(), 2);
            QCOMPARE(pages.at(0).join(QLatin1Char('|')).trimmed(), QStringLiteral("Блок один"));
            QCOMPARE(pages.at(1).join(QLatin1Char('|')).trimmed(), QStringLiteral("Блок два"));
            QVERIFY(!QFileInfo::exists(journal));
        }
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("outside/target.pdf"))));
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("some"))));
        QVERIFY(running.exists());
        if (!left.isEmpty()) {
            QVERIFY(QFileInfo::exists(place(left)));
        }
        if (said.isEmpty()) {
            QCOMPARE(standardError.count(QStringLiteral("журнал")) +
                         standardError.count(QStringLiteral("файл")),
                     told.size());
        } else {
            QVERIFY2(standardError.contains(said), qPrintable(standardError));
            QCOMPARE(standardError.count(QLatin1Char('\n')), 1);
        }
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
