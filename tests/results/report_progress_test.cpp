// Paging of the printed report across prints: when the heading, page headers
// and new pages come, the print guard of one calculation, and the end of the
// document.

#include "core/design_case.h"
#include "initial_data/parameter_names.h"
#include "results/report_progress.h"
#include "support/recording_printer.h"

#include <QtTest>

using namespace orven;
using orven::test::RecordingPrinter;

namespace {

QString sp(qsizetype count) {
    return QString(count, QLatin1Char(' '));
}

const QString pinnedDate = QStringLiteral(" 07 декабря 2026г.        14:05:33");

// Counts the document ends, also those of an empty document.
class CountingPrinter : public RecordingPrinter {
public:
    void endDocument() override {
        ++ends;
        RecordingPrinter::endDocument();
    }
    int ends = 0;
};

// A calculation whose results are on the screen and not yet printed; its
// plate designation names the block in the report.
void arm(DesignCase& c, int block) {
    c.valueTexts[17] = QStringLiteral("#%1").arg(block);
    c.resultsUnprinted = true;
    c.printRequestHandled = false;
}

// The parts of each page; a block is "B<n>" with n the text after the plate
// type's name (the tests number their blocks there).
QStringList describe(const RecordingPrinter::Document& document, const DesignCase& c) {
    const QString blockMark = sp(10) + c.constructionParameterNames[17] + sp(7) + "#";
    return test::describePages(document, [&blockMark](const RecordingPrinter::Page& page, int i) {
        return page[i].startsWith(blockMark) ? "B" + page[i].mid(blockMark.size()) : QString();
    });
}

} // namespace

class ReportProgressTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        resetDesignCase();
        DesignCase& c = designCase();
        fillParameterNames(c);
        c.studentName = QStringLiteral("Иванов И-21");
        // As after the start of data input.
        c.pageNumber = 1;
        c.pageBlockCount = 1;
        setReportPrinter(nullptr);
    }

    void pagesFillByResultsBlocks_data() {
        QTest::addColumn<int>("prints");
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<int>("pageNumber");
        QTest::addColumn<int>("pageBlockCount");

        const QString page1 = QStringLiteral("H1 R B1 B2");
        const QString page2 = QStringLiteral("H2 B3 B4 B5");
        const QString page3 = QStringLiteral("H3 B6 B7 B8");
        QTest::newRow("first block") << 1 << QStringList{"H1 R B1"} << 1 << 2;
        QTest::newRow("page 1 full") << 2 << QStringList{page1} << 2 << 1;
        QTest::newRow("page 2 begins") << 3 << QStringList{page1, "H2 B3"} << 3 << 2;
        QTest::newRow("page 2, two blocks") << 4 << QStringList{page1, "H2 B3 B4"} << 3 << 3;
        QTest::newRow("page 2 full") << 5 << QStringList{page1, page2} << 3 << 1;
        QTest::newRow("page 3 begins") << 6 << QStringList{page1, page2, "H3 B6"} << 4 << 2;
        QTest::newRow("page 3 full") << 8 << QStringList{page1, page2, page3} << 4 << 1;
        QTest::newRow("page 4 begins") << 9 << QStringList{page1, page2, page3, "H4 B9"} << 5 << 2;
    }

    void pagesFillByResultsBlocks() {
        QFETCH(int, prints);
        QFETCH(QStringList, pages);
        QFETCH(int, pageNumber);
        QFETCH(int, pageBlockCount);

        DesignCase& c = designCase();
        RecordingPrinter printer;
        for (int block = 1; block <= prints; ++block) {
            arm(c, block);
            QVERIFY(printResults(c, printer));
        }
        QCOMPARE(describe(printer.currentDocument(), c), pages);
        QCOMPARE(c.pageNumber, pageNumber);
        QCOMPARE(c.pageBlockCount, pageBlockCount);
        QVERIFY(c.reportOpen);
        QVERIFY(printer.finishedDocuments().isEmpty());
    }

    void reportBeginsWithHeaderAndHeading() {
        DesignCase& c = designCase();
        RecordingPrinter printer;
        arm(c, 1);
        printResults(c, printer, [] { return pinnedDate; });
        const QStringList lines = printer.currentLines();
        QCOMPARE(lines.value(0),
                 sp(10) + pinnedDate + sp(50 - pinnedDate.size()) + QStringLiteral("ORVEN  стр.1"));
        QCOMPARE(lines.value(1), sp(10) + QStringLiteral("Иванов И-21") + sp(29));
        // Page header (1), heading (23), then the block's first line.
        QCOMPARE(lines.value(24), QStringLiteral("           Тип теплообменника - ХОЛОДИЛЬНИК"));
    }

    void printGuard_data() {
        QTest::addColumn<bool>("resultsUnprinted");
        QTest::addColumn<bool>("printRequestHandled");
        QTest::addColumn<bool>("prints");

        QTest::newRow("armed") << true << false << true;
        QTest::newRow("already handled") << true << true << false;
        QTest::newRow("printed, not handled") << false << false << false;
        QTest::newRow("printed and handled") << false << true << false;
    }

    // Whatever the flags, a press leaves the calculation locked; only a print
    // marks its results printed.
    void printGuard() {
        QFETCH(bool, resultsUnprinted);
        QFETCH(bool, printRequestHandled);
        QFETCH(bool, prints);

        DesignCase& c = designCase();
        c.resultsUnprinted = resultsUnprinted;
        c.printRequestHandled = printRequestHandled;
        RecordingPrinter printer;
        QCOMPARE(printResults(c, printer), prints);
        QCOMPARE(printer.currentLines().isEmpty(), !prints);
        QCOMPARE(c.reportOpen, prints);
        QVERIFY(c.printRequestHandled);
        QCOMPARE(c.resultsUnprinted, resultsUnprinted && !prints);
        QCOMPARE(c.pageBlockCount, prints ? 2 : 1);
    }

    void finishEndsAnOpenReportOnce() {
        DesignCase& c = designCase();
        CountingPrinter printer;
        for (int block = 1; block <= 3; ++block) {
            arm(c, block);
            printResults(c, printer);
        }
        finishReport(c, printer);
        finishReport(c, printer);
        QCOMPARE(printer.ends, 1);
        QCOMPARE(printer.finishedDocuments().size(), 1);
        QCOMPARE(describe(printer.finishedDocuments().first(), c),
                 (QStringList{"H1 R B1 B2", "H2 B3"}));
        QVERIFY(!c.reportOpen);
    }

    void finishActiveReportUsesThePrinterInUse() {
        DesignCase& c = designCase();
        c.reportOpen = true;
        finishActiveReport(c); // no printer set: nothing to end, no fault
        QVERIFY(c.reportOpen);

        CountingPrinter printer;
        setReportPrinter(&printer);
        QCOMPARE(reportPrinter(), &printer);
        finishActiveReport(c);
        QCOMPARE(printer.ends, 1);
        QVERIFY(!c.reportOpen);
        setReportPrinter(nullptr);
    }

    void newReportAfterResetStartsAtPageOne() {
        DesignCase& c = designCase();
        RecordingPrinter printer;
        for (int block = 1; block <= 3; ++block) {
            arm(c, block);
            printResults(c, printer);
        }
        finishReport(c, printer);
        resetReportProgress(c);
        QCOMPARE(c.pageNumber, 1);
        QCOMPARE(c.pageBlockCount, 1);

        c.studentName = QStringLiteral("Петров П-22");
        arm(c, 4);
        printResults(c, printer);
        QCOMPARE(describe(printer.currentDocument(), c), QStringList{"H1 R B4"});
        QVERIFY(printer.currentLines().value(1).contains(QStringLiteral("Петров П-22")));
    }
};

QTEST_GUILESS_MAIN(ReportProgressTest)
#include "report_progress_test.moc"
