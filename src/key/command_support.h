#pragma once
// What the key's commands share: reading the files named on the command line,
// writing files, the variants' table and the PDF of printed text.

#include "key/commands.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orven {

// One Russian line on the error stream, and the status of bad input.
int badInput(KeyIo& io, const QString& message);

// What a file named on the command line is called in the output.
QString shownName(const QString& path);
// The file named on the command line, or standard input for "-" (at most
// 1 MB); name is what error lines call it.
bool readInput(const QString& path, KeyIo& io, QByteArray& contents, QString& name, QString& error);
// The folders of fluid tables; false with the error when --fluids names no folder.
bool fluidFoldersOf(const KeyOptions& options, QStringList& folders, QString& error);

// Replaces path with text in UTF-8, whole or not at all.
bool writeTextFile(const QString& path, const QString& text);

// The table of suitable variants: its header, a row, the order in words.
QString tableHeader();
QString tableRow(int rank, const Evaluated& e, bool condenser);
QString orderText(VariantOrder order);

// A line of printed text that starts a new page.
inline const QString pdfPageBreak = QStringLiteral("\f");
// The text as an A4 landscape PDF in a 6.5 pt fixed-pitch font, so that a
// table row of up to 200 characters stands on one line; the pages are made
// 79 rows each, and a page that continues the variants' table starts with its
// header again.
bool writePdf(const QString& path, const QStringList& lines, const QString& title);

const KeyPdfFunctions& keyPdfFunctions();

} // namespace orven
