#pragma once
// A ReportPrinter for tests: keeps every document as pages of text lines.
// Pages and documents open lazily like the real printer's: a document starts
// with its first line, and a new page only when a line follows newPage().

#include "results/report_printer.h"

#include <QList>
#include <QStringList>

namespace orven::test {

class RecordingPrinter : public ReportPrinter {
public:
    using Page = QStringList;
    using Document = QList<Page>;

    void setFontName(const QString& name) override;
    void setFontSize(double points) override;
    void printLine(const QString& text) override;
    void printEmptyLine() override;
    void newPage() override;
    void endDocument() override;

    // The document being printed (empty when none is open).
    const Document& currentDocument() const { return current_; }
    // All lines of the current document, pages joined.
    QStringList currentLines() const;
    // Documents closed by endDocument(), oldest first.
    const QList<Document>& finishedDocuments() const { return finished_; }

    QString fontName() const { return fontName_; }
    double fontSize() const { return fontSize_; }

private:
    Document current_;
    QList<Document> finished_;
    bool pageBreakPending_ = false;
    QString fontName_;
    double fontSize_ = 0;
};

} // namespace orven::test
