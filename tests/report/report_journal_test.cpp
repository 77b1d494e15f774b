#include "report/report_journal.h"

#include <QtTest>

#include <QTemporaryDir>

using namespace orven;

namespace {

using Op = ReportOperation;

// Three blocks with texts that need escaping and a multi-byte alphabet.
QList<ReportOperations> sampleBlocks() {
    return {
        {{Op::Font, QStringLiteral("Courier New Cyr"), 0},
         {Op::Size, QString(), 10},
         {Op::Header, QStringLiteral("          08.12.2026 12:00  ORVEN  стр."), 12},
         {Op::Empty, QString(), 0}},
        {{Op::Line, QStringLiteral("Студент: Иванов \\ И.\nгр. Х-11"), 0},
         {Op::Line, QStringLiteral("  Re1 =  280.89"), 0},
         {Op::Page, QString(), 0}},
        {{Op::Size, QString(), 9.75}, {Op::Line, QStringLiteral("конец\r"), 0}},
    };
}

} // namespace

class ReportJournalTest : public QObject {
    Q_OBJECT

private slots:
    // A journal cut at any byte gives the operations of every block that was
    // complete before the cut, never part of a block.
    void cutAnywhereGivesCompleteBlocks() {
        const QList<ReportOperations> blocks = sampleBlocks();
        const QString reportPath = QStringLiteral("/home/ученик/Документы/orven-report-1.pdf");
        QByteArray data = journalHeader(4242, reportPath);
        const qsizetype headerSize = data.size();
        QList<qsizetype> blockEnds;
        for (const ReportOperations& block : blocks) {
            data += journalBlock(block);
            blockEnds << data.size();
        }
        for (qsizetype cut = 0; cut <= data.size(); ++cut) {
            const JournalContents contents = readJournal(data.left(cut));
            if (cut < headerSize) {
                QVERIFY2(!contents.valid, qPrintable(QString::number(cut)));
                continue;
            }
            QVERIFY(contents.valid);
            QCOMPARE(contents.processId, 4242);
            QCOMPARE(contents.reportPath, reportPath);
            ReportOperations expected;
            for (int b = 0; b < blocks.size() && blockEnds.at(b) <= cut; ++b) {
                expected += blocks.at(b);
            }
            QVERIFY2(contents.operations == expected, qPrintable(QString::number(cut)));
        }
    }

    void damagedJournals_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("operations");
        QTest::newRow("empty") << QByteArray() << false << 0;
        QTest::newRow("binary") << QByteArray("\x00\xff\x13PDF", 6) << false << 0;
        QTest::newRow("no pid") << QByteArray("ORVEN-JOURNAL 1  /x.pdf\n") << false << 0;
        QTest::newRow("unknown record ends the reading")
            << QByteArray("ORVEN-JOURNAL 1 7 /x.pdf\nL a\nB\nZ what\nL b\nB\n") << true << 1;
        QTest::newRow("size that is no number")
            << QByteArray("ORVEN-JOURNAL 1 7 /x.pdf\nS ten\nB\n") << true << 0;
    }
    void damagedJournals() {
        QFETCH(QByteArray, data);
        QFETCH(bool, valid);
        QFETCH(int, operations);
        const JournalContents contents = readJournal(data);
        QCOMPARE(contents.valid, valid);
        QCOMPARE(contents.operations.size(), operations);
    }

    // The file: each block is on the disk when appendBlock returns; remove()
    // deletes it, close() leaves it for the next start.
    void fileKeepsBlocks() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral(".orven-report-x.journal"));
        const QList<ReportOperations> blocks = sampleBlocks();
        {
            ReportJournal journal;
            QVERIFY(journal.open(path, QStringLiteral("/r.pdf")));
            QVERIFY(!ReportJournal().open(path, QStringLiteral("/r.pdf"))); // never shared
            QVERIFY(journal.appendBlock(blocks.at(0)));
            QVERIFY(journal.appendBlock(blocks.at(1)));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(readJournal(file.readAll()).operations, blocks.at(0) + blocks.at(1));
            journal.close();
        }
        QVERIFY(QFileInfo::exists(path));
        ReportJournal again;
        QVERIFY(!again.open(path, QStringLiteral("/r.pdf")));
        QFile::remove(path);
        QVERIFY(again.open(path, QStringLiteral("/r.pdf")));
        again.remove();
        QVERIFY(!QFileInfo::exists(path));
    }
};

QTEST_GUILESS_MAIN(ReportJournalTest)
#include "report_journal_test.moc"
