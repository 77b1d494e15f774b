#pragma once
// Progress of the printed report across the results screens of one run: which
// printer the report goes to, when a page header, the heading or a new page is
// due, and when the print document ends. The bookkeeping lives in the design
// case (reportOpen, pageNumber, pageBlockCount and the two print flags); these
// functions need no window, so the paging can be followed without a screen.
//
// Page capacity is counted in results blocks: the first page of a report holds
// the heading with the initial data and two blocks, every later page three.

#include "core/design_case.h"
#include "report/report_printer.h"
#include "results/report.h"

namespace orven {

// The printer the report goes to; nullptr until the program sets one (not owned).
ReportPrinter* reportPrinter();
void setReportPrinter(ReportPrinter* printer);

// One press of the print button for the results now on the screen. Prints
// nothing when this calculation's press was already handled or its results were
// already printed; otherwise starts the report if none is open (page header and
// heading), prints the results block with the page header of a later page
// before its first block, and starts a new page when the page is full. Returns
// true when a results block was printed.
bool printResults(DesignCase& designCase, ReportPrinter& printer,
                  const DateLineSource& dateLine = {});

// Ends the print document if a report is open, so the pages printed so far
// come out as one finished document, and marks the report closed; a second
// call ends nothing.
void finishReport(DesignCase& designCase, ReportPrinter& printer);

// The same on the printer in use; nothing when no printer is set.
void finishActiveReport(DesignCase& designCase);

// The report bookkeeping of a fresh report: closed, page 1, first block.
void resetReportProgress(DesignCase& designCase);

} // namespace orven
