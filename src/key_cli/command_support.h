#pragma once
// What the key's commands share: the options several take, the readers of
// option values, reading the files named on the command line, writing files,
// the variants' table and the PDF of printed text.

#include "key/report_check.h"
#include "key/variants.h"
#include "key_cli/key_command.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orven {

// Options with one meaning wherever they are taken.
extern const KeyOption pdfOption;       // --pdf FILE: the text as an A4 PDF
extern const KeyOption fluidsOption;    // --fluids DIR: the teacher's fluid tables first
extern const KeyOption toleranceOption; // --tolerance P: per cent off the task allowed

// Readers of option values (KeyOption::read).
QVariant readPositiveInteger(const QString& text, QString& error);
QVariant readPercent(const QString& text, QString& error);

// True when the line asks for --pdf.
bool pdfAsked(const CommandLine& line);
// Always true: for the commands that read or write PDFs whatever the options.
bool pdfAlways(const CommandLine& line);

// One Russian line on the error stream, and the status of bad input.
int badInput(KeyIo& io, const QString& message);

// What a file named on the command line is called in the output.
QString shownName(const QString& path);
// The file named on the command line, or standard input for "-" (at most
// 1 MB); name is what error lines call it.
bool readInput(const QString& path, KeyIo& io, QByteArray& contents, QString& name, QString& error);
bool readDesign(const QString& path, KeyIo& io, DesignData& design, QString& error);
// The folders of fluid tables; false with the error when --fluids names no folder.
bool fluidFoldersOf(const CommandLine& line, QStringList& folders, QString& error);

// Replaces path with the bytes (text in UTF-8), whole or not at all.
bool writeFileBytes(const QString& path, const QByteArray& data);
bool writeTextFile(const QString& path, const QString& text);

// Words set on lines of at most width characters.
QStringList wrapped(const QString& text, int width);

// The table of suitable variants: its header, a row, the order in words.
QString tableHeader();
QString tableRow(int rank, const Evaluated& e, bool condenser);
QString orderText(VariantOrder order);

// What check prints of a report: the student, the initial data, the
// findings, each block worked out again, and the verdict.
QStringList reportCheckLines(const QString& file, const ReportCheck& report);

// A line of printed text that starts a new page.
inline const QString pdfPageBreak = QStringLiteral("\f");
// The text as an A4 landscape PDF in a 6.5 pt fixed-pitch font, so that a
// table row of up to 200 characters stands on one line; the pages are made
// 79 rows each, and a page that continues the variants' table starts with its
// header again.
bool writePdf(const QString& path, const QStringList& lines, const QString& title);
// The lines on the output, and as a PDF where --pdf asks for one.
int writeOutputs(KeyIo& io, const QStringList& lines, const CommandLine& line,
                 const QString& title);

} // namespace orven
