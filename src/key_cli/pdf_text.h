#pragma once
// The text of a PDF, line by line, as poppler reads it.

#include "key_cli/report_reader.h"

#include <QByteArray>
#include <QStringList>

namespace orven {

// The rows of every page of a PDF's bytes in order, "\f" starting a page;
// a fault when poppler does not take it, it is locked, or it passes the
// limits on pages and text (report_reader.h). In this process, unbounded in
// time and memory: what a reader process runs.
ReadFault pdfReportText(const QByteArray& data, QStringList& lines);

// A program that links poppler and QtGui gives the key's commands their PDFs:
// written here, reports read in readers under limits.
void useKeyPdf();

} // namespace orven
