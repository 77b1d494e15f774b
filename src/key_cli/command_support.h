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
// The kinds of file a command line names, by what they are called in an
// error, and the largest each may be.
struct InputKind {
    const char16_t* kindOf; // in the genitive: "файла задачи"
    qint64 largest;
};
// A design or task file, a template: a few lines.
inline constexpr InputKind taskInput{u"файла задачи", 1 << 20};
inline constexpr InputKind templateInput{u"шаблона", 1 << 20};
inline constexpr InputKind classInput{u"списка группы", 1 << 20};
// assign's table of a class of 2 000 from a list of the largest size.
inline constexpr InputKind variantsInput{u"таблицы вариантов", 4 << 20};
inline constexpr InputKind worksheetInput{u"ведомости", 4 << 20};
// A report a student hands in (report_reader.h).
inline constexpr InputKind reportInput{u"отчёта", largestReport};
// The file named on the command line (a regular file, never through a link),
// or standard input for "-", at most as large as its kind; name is what error
// lines call it.
bool readInput(const QString& path, KeyIo& io, QByteArray& contents, QString& name, QString& error,
               const InputKind& kind = taskInput);
bool readDesign(const QString& path, KeyIo& io, DesignData& design, QString& error);
// The fluid tables installed beside the program.
QString installedFluidsFolder();
// The folders of fluid tables; false with the error when --fluids names no folder.
bool fluidFoldersOf(const CommandLine& line, QStringList& folders, QString& error);

// Replaces path with the bytes (text in UTF-8), whole or not at all.
bool writeFileBytes(const QString& path, const QByteArray& data);
bool writeTextFile(const QString& path, const QString& text);

// Words set on lines of at most width characters, never cut unless one is
// longer than a line; a line that fits is kept as it is, an indented one
// goes on over lines indented two more.
QStringList wrapped(const QString& text, int width);

// The table of suitable variants: its header, a row, the order in words.
// Without the channels, a row is 91 characters.
QString tableHeader(bool withChannels = true);
QString tableRow(int rank, const Evaluated& e, bool condenser, bool withChannels = true);
QString orderText(VariantOrder order);

// What check prints of a report: the student, the initial data, the
// findings, each block worked out again, and the verdict.
QStringList reportCheckLines(const QString& file, const ReportCheck& report);

// Rows of a page of the report's renderer (platform/report_rendering.h),
// whatever the font's size.
constexpr int pdfRowsPerPage = 79;
// A line of printed text that starts a new page.
inline const QString pdfPageBreak = QStringLiteral("\f");
// The text as an A4 landscape PDF in a 6.5 pt fixed-pitch font, so that a
// table row of up to 200 characters stands on one line (a longer line is
// wrapped at its words); the pages are made 79 rows each, and a page that
// continues the variants' table starts with its header again.
bool writePdf(const QString& path, const QStringList& lines, const QString& title);
// Characters of a fixed-pitch font of that size across A4 portrait between
// the report's margins.
int portraitColumns(double points);
// The text as a document to read on paper: A4 portrait in a fixed-pitch font
// of points (9 or more), each line wrapped at its words (wrapped()), 79 rows
// a page; "\f" starts a page, and a variants' table a page breaks goes on
// under its header again.
bool writeReadablePdf(const QString& path, const QStringList& lines, const QString& title,
                      double points);
// The lines on the output, and as a PDF where --pdf asks for one.
int writeOutputs(KeyIo& io, const QStringList& lines, const CommandLine& line,
                 const QString& title);

} // namespace orven
