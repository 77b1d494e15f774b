#pragma once
// Setting a report on paper: the recorded operations of a document (fonts,
// lines, empty lines, page breaks, page headers) drawn on a paged device, a
// printer or a PDF. Lines are set at a fixed pitch of 79 lines per printable
// height; nothing is ever lost: a line wider than the page continues on the
// next row, and a full page continues on a new sheet.
//
// Page headers are numbered by the sheet they stand on, counted from the
// number of the document's first header; a sheet started because the one
// before it was full begins with the last header again, so every sheet has a
// header and the numbers run with the sheets.

#include "report/report_journal.h"

#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;

namespace orven {

constexpr int reportLinesPerPage = 79;
// Margins in millimetres. The right one is narrow so that the widest report
// line (91 characters of 10 pt) fits across A4.
inline const QMarginsF reportPageMargins{10, 10, 5, 10};

// The fixed-pitch font used for a requested family name and size. The name is
// used only when it is an installed fixed-pitch family; otherwise a
// Courier-compatible family with Cyrillic letters stands in for it.
QFont reportFont(const QString& requestedName, double points);

// Sets the operations on a paged device; false when painting fails.
bool renderReport(const ReportOperations& operations, QPagedPaintDevice& device, int resolution);

// Writes the operations as a complete A4 PDF at path (replacing a file there
// only once the new one is complete), or leaves nothing new there.
bool writeReportPdf(const ReportOperations& operations, const QString& path,
                    const QString& title = QStringLiteral("ORVEN"),
                    QPageLayout::Orientation orientation = QPageLayout::Portrait);

// The names a new report may take in a folder: stem.pdf, stem-2.pdf, ...
constexpr int maxReportNameNumber = 999;
// Writes the operations as a new PDF in folder under the first of the names
// stem.pdf, stem-2.pdf, ... at which nothing exists (not even a dangling
// link): complete and on the disk before it appears under its name, never
// written through a link, never replacing anything. Returns its path, or
// empty when it could not be written.
QString writeNewReportPdf(const ReportOperations& operations, const QString& folder,
                          const QString& stem, const QString& title = QStringLiteral("ORVEN"));

} // namespace orven
