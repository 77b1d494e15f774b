#pragma once
// A ReportPrinter for tests: keeps every document as pages of text lines.
// Pages and documents open lazily like the real printer's: a document starts
// with its first line, and a new page only when a line follows newPage().

#include "report/report_printer.h"

#include <QList>
#include <QStringList>

#include <functional>

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

// Names what stands on a page, one word per part: "H<n>" for a page header
// showing page n, "R" for the heading, and for a results block the word that
// blockWord gives for its first line (blockWord gets the page and the line's
// index and answers an empty text for any other line). Pages are joined by
// blanks within a page: {"H1 R B B", "H2 B"}.
using BlockWord = std::function<QString(const RecordingPrinter::Page&, int)>;
QStringList describePages(const RecordingPrinter::Document& document, const BlockWord& blockWord);

} // namespace orven::test
