#pragma once
// The page printer the report is written to, line by line. The program never
// positions anything: alignment is done with blanks in a fixed-pitch font.

#include <QString>

namespace orven {

class ReportPrinter {
public:
    virtual ~ReportPrinter() = default;
    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void printLine(const QString& text) = 0;
    virtual void printEmptyLine() = 0;
    virtual void newPage() = 0;
    // A page header: text followed by the page number. A printer that has to
    // start a sheet of its own (a page overflowed by wrapped lines) repeats the
    // header there and numbers every header by its sheet, so that numbers and
    // sheets always agree.
    virtual void printPageHeaderLine(const QString& text, int pageNumber) {
        printLine(text + QString::number(pageNumber));
    }
    // The end of one printed block: what was printed so far must survive the
    // process (a printer that keeps a journal flushes it to the disk here).
    virtual void endBlock() {}
    // Releases the document to the printer; the next line starts a new document.
    virtual void endDocument() = 0;
};

} // namespace orven
