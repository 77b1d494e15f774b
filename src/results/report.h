#pragma once
// The printed report: the page header, the heading with the student's name and
// the initial data, and one results block per printed calculation. Each
// operation reads the design case and writes whole lines to a ReportPrinter;
// when pages start and when the document ends is up to the caller (the print
// button of the results screen). Columns are made with blanks only, so the
// report relies on a fixed-pitch font.

#include "core/design_case.h"
#include "report/report_printer.h"

#include <QString>
#include <functional>

namespace orven {

// Source of the date and time line of the page header. An empty function means
// the current date and time.
using DateLineSource = std::function<QString()>;

// Sets the report font and prints the page header line: date and time in a
// field of 50 after 10 blanks, then "ORVEN  стр." and the page number.
void printPageHeader(ReportPrinter& printer, const DesignCase& designCase,
                     const DateLineSource& dateLine = {});

// Sets the report font and prints the student line, the title block, the 14
// initial-data lines and the results title (23 lines).
void printReportHeading(ReportPrinter& printer, const DesignCase& designCase);

// Prints one results block: exchanger type, construction values, pack tables
// of both streams, Reynolds numbers, coefficients, resistances and surfaces
// (23 to 26 lines, the last one empty).
void printResultsBlock(ReportPrinter& printer, const DesignCase& designCase);

} // namespace orven
