#pragma once
// The journal of an open report: every operation sent to the report printer
// (font, line, empty line, new page, page header), kept in a file beside the report while
// the report is open, so that a report survives a process that dies before it
// can finish the document. The journal is appended block by block; each block
// ends with a mark and is flushed to the disk before the print returns. Reading
// a journal back gives the operations of every complete block: a journal cut
// anywhere (a power cut in the middle of a write) loses at most the block that
// was being written.
//
// The file is UTF-8 text, one record a line:
//   ORVEN-JOURNAL 1 <pid> <report path>   first line
//   F <font name> | S <points> | L <text> | E | P | H <page> <text>   one operation
//   B                                    end of a block
// Texts are escaped so that a record is always one line ("\\" and "\n").

#include <QByteArray>
#include <QList>
#include <QString>

namespace orven {

struct ReportOperation {
    enum Kind : char {
        Font = 'F',
        Size = 'S',
        Line = 'L',
        Empty = 'E',
        Page = 'P',
        Header = 'H',
    };
    Kind kind = Empty;
    QString text;    // Font: the family; Line: the line; Header: the line before the number
    double size = 0; // Size: the points; Header: the page number

    bool operator==(const ReportOperation&) const = default;
};
using ReportOperations = QList<ReportOperation>;

struct JournalContents {
    bool valid = false;          // the first line is a journal header
    qint64 processId = 0;        // the process that wrote it
    QString reportPath;          // where the finished report was to go
    ReportOperations operations; // every complete block, in order
};

// True when the operations print anything (a line, an empty line, a header).
bool reportHasRows(const ReportOperations& operations);

QByteArray journalHeader(qint64 processId, const QString& reportPath);
// The records of the operations followed by the end-of-block mark.
QByteArray journalBlock(const ReportOperations& operations);
JournalContents readJournal(const QByteArray& data);

// The journal file of one open report. Every call reports whether the data
// reached the disk; a journal that cannot be written leaves the report itself
// unharmed (it is kept in memory as well).
class ReportJournal {
public:
    ReportJournal() = default;
    ~ReportJournal();
    ReportJournal(const ReportJournal&) = delete;
    ReportJournal& operator=(const ReportJournal&) = delete;

    bool open(const QString& journalPath, const QString& reportPath);
    bool isOpen() const { return descriptor_ >= 0; }
    QString path() const { return path_; }
    // Appends one block and waits until it is on the disk (fsync).
    bool appendBlock(const ReportOperations& operations);
    // Closes and deletes the file (the report it guarded is safe).
    void remove();
    // Closes the file and leaves it for the recovery at the next start.
    void close();

private:
    bool writeAll(const QByteArray& data);

    int descriptor_ = -1;
    QString path_;
};

} // namespace orven
