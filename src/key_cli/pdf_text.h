#pragma once
// The text of a PDF, line by line, as poppler reads it.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orven {

// The lines of every page in order (a page break ends a line); false with a
// Russian reason when the file cannot be read as a PDF.
bool pdfTextLines(const QString& path, QStringList& lines, QString& error);
// The same of a PDF's bytes; name is what the error calls it.
bool pdfDataTextLines(const QByteArray& data, const QString& name, QStringList& lines,
                      QString& error);

} // namespace orven
