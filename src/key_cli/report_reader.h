#pragma once
// Reading the reports students hand in, each in a process of its own under
// limits, so that a file made to stall or exhaust the reader (streams that
// inflate to gigabytes, a stream drawn a thousand times, a hundred thousand
// pages) costs its own reading and nothing else: past a limit the reader is
// stopped, the file is said to be unread with the limit it broke, and the
// next file is read by a new reader.
//
// The reader is the PDF helper itself, started with readerArgument: it reads
// requests on its standard input ("<length>\n" and the file's bytes) and
// answers each on its standard output ("<fault> <length>\n" and the text's
// rows, "\n" between them, in UTF-8). One reader serves a thread's files one
// after another; two threads read at once.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orven {

// What a report may take to read, and what it may hold. A genuine report is
// a few pages read in 30 to 50 ms.
constexpr int mostReadSeconds = 5;                       // wall time, one file
constexpr qint64 mostReaderMemory = 512LL * 1024 * 1024; // address space of a reader
constexpr int mostReportPages = 100;
constexpr qsizetype mostReportText = 2 * 1024 * 1024; // characters of text
// A report of a long session is a few hundred kilobytes; a far larger file
// is no report and is not handed to a reader.
constexpr qint64 largestReport = 64 * 1024 * 1024; // bytes of the file

// Why a report's text was not read.
enum class ReadFault {
    None,
    NotPdf,   // poppler does not take it as a PDF
    Locked,   // a password is needed
    Pages,    // more than mostReportPages
    Text,     // more than mostReportText
    Time,     // longer than mostReadSeconds
    Memory,   // the reader ended (its address space, or a file that breaks it)
    NoReader, // the reader could not be started
};

// The Russian words for a fault ("не читается как PDF", "отчёт не прочитан:
// больше 100 страниц, предел 100 страниц").
QString readFaultText(ReadFault fault);

// The PDF's text rows in a reader process under the limits; false with the
// fault. Safe to call from several threads at once.
ReadFault readReportText(const QByteArray& data, QStringList& lines);

// The program started as a reader: this one unless set (before any read)
// to another that serves readerArgument.
void setReportReaderProgram(const QString& program);

// Ends the calling thread's reader (a thread's own ends with the thread).
void endReportReader();

// The reader's side: answers requests on standard input with read(data,
// lines) until the input ends; returns the process's exit status.
constexpr const char* readerArgument = "--read-reports";
int serveReportReads(ReadFault (*read)(const QByteArray& data, QStringList& lines));

} // namespace orven
