#include "support/printed_report.h"

#include "calculation/calculation.h"
#include "key/design_file.h"
#include "key/variants.h"
#include "results/report.h"
#include "results/report_progress.h"
#include "support/operations_printer.h"

namespace orven::test {

ReportOperations printedReport(const DesignData& design, const QString& signature,
                               const QList<int>& ranks) {
    const Solution solution = solveDesign(design, {0, 0, VariantOrder::Surface, 5});
    OperationsPrinter printer;
    resetDesignCase();
    DesignCase& c = designCase();
    loadDesign(c, design);
    c.studentName = signature;
    c.pageNumber = 1;
    c.pageBlockCount = 1;
    for (const int rank : ranks) {
        loadVariant(c, solution.suitable.at(rank - 1).variant);
        calculateExchanger(c);
        c.resultsUnprinted = true;
        c.printRequestHandled = false;
        printResults(c, printer);
    }
    finishReport(c, printer);
    return printer.ops;
}

} // namespace orven::test
