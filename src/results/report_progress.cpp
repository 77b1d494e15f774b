#include "results/report_progress.h"

namespace orven {

namespace {

ReportPrinter* activePrinter = nullptr;

// Results blocks per page: the heading takes room for one block on page 1.
constexpr int firstPageBlocks = 2;
constexpr int laterPageBlocks = 3;

} // namespace

ReportPrinter* reportPrinter() {
    return activePrinter;
}

void setReportPrinter(ReportPrinter* printer) {
    activePrinter = printer;
}

bool printResults(DesignCase& designCase, ReportPrinter& printer, const DateLineSource& dateLine) {
    // Each calculation prints once: the first press locks further presses until
    // the next calculation re-arms them.
    if (designCase.printRequestHandled) {
        return false;
    }
    if (!designCase.resultsUnprinted) {
        designCase.printRequestHandled = true;
        return false;
    }

    if (!designCase.reportOpen) {
        printPageHeader(printer, designCase, dateLine);
        printReportHeading(printer, designCase);
        designCase.reportOpen = true;
    }

    if (designCase.pageNumber == 1) {
        printResultsBlock(printer, designCase);
        ++designCase.pageBlockCount;
        if (designCase.pageBlockCount == firstPageBlocks + 1) {
            printer.newPage();
            ++designCase.pageNumber;
            designCase.pageBlockCount = 1;
        }
    } else {
        // From page 2 on, pageNumber already names the page after the one being
        // filled once its header is out.
        if (designCase.pageBlockCount == 1) {
            printPageHeader(printer, designCase, dateLine);
            ++designCase.pageNumber;
        }
        printResultsBlock(printer, designCase);
        ++designCase.pageBlockCount;
        if (designCase.pageBlockCount == laterPageBlocks + 1) {
            printer.newPage();
            designCase.pageBlockCount = 1;
        }
    }

    printer.endBlock();
    designCase.resultsUnprinted = false;
    designCase.printRequestHandled = true;
    return true;
}

void finishReport(DesignCase& designCase, ReportPrinter& printer) {
    if (!designCase.reportOpen) {
        return;
    }
    printer.endDocument();
    // The end of the program may ask more than once (the end itself and the
    // application's last signal); the document must end only once.
    designCase.reportOpen = false;
}

void finishActiveReport(DesignCase& designCase) {
    if (ReportPrinter* printer = reportPrinter()) {
        finishReport(designCase, *printer);
    }
}

void resetReportProgress(DesignCase& designCase) {
    designCase.reportOpen = false;
    designCase.pageNumber = 1;
    designCase.pageBlockCount = 1;
}

} // namespace orven
