#pragma once
// Collects a report's operations, as the program's printer receives them, for
// a test to write as a PDF (platform/report_rendering.h) or to edit first.

#include "report/report_journal.h"
#include "report/report_printer.h"

namespace orven::test {

class OperationsPrinter final : public ReportPrinter {
public:
    void setFontName(const QString& name) override {
        ops << ReportOperation{ReportOperation::Font, name, 0};
    }
    void setFontSize(double points) override {
        ops << ReportOperation{ReportOperation::Size, {}, points};
    }
    void printLine(const QString& text) override {
        ops << ReportOperation{ReportOperation::Line, text, 0};
    }
    void printEmptyLine() override { ops << ReportOperation{ReportOperation::Empty, {}, 0}; }
    void newPage() override { ops << ReportOperation{ReportOperation::Page, {}, 0}; }
    void endDocument() override {}
    ReportOperations ops;
};

} // namespace orven::test
