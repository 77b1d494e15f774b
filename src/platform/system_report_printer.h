#pragma once
// The report printer of the running program. Prints to the system's default
// printer when there is one, otherwise into a PDF file in the user's documents
// folder. Lines are set at a fixed pitch of 79 lines per printable height, and
// nothing is ever lost: a line wider than the page continues on the next line,
// and a page that is full continues on a new page.
//
// A document opens with its first line; newPage() only takes effect if a line
// follows it, so a document never ends with a blank page. The destructor ends a
// document that is still open.

#include "results/report_printer.h"

#include <QFont>
#include <QPainter>
#include <QString>
#include <memory>

class QPrinter;

namespace orven {

class SystemReportPrinter final : public ReportPrinter {
public:
    static constexpr int linesPerPage = 79;

    // Default printer if the system has one, else a PDF in the documents folder,
    // named orven-report-YYYY-MM-DD-HHMMSS.pdf (never overwriting a file).
    SystemReportPrinter();
    // Every document into a PDF at pdfPath (an existing file is replaced).
    explicit SystemReportPrinter(const QString& pdfPath);
    ~SystemReportPrinter() override;

    SystemReportPrinter(const SystemReportPrinter&) = delete;
    SystemReportPrinter& operator=(const SystemReportPrinter&) = delete;

    void setFontName(const QString& name) override;
    void setFontSize(double points) override;
    void printLine(const QString& text) override;
    void printEmptyLine() override;
    void newPage() override;
    void endDocument() override;

    // The PDF file of the last finished document; empty if it went to a printer.
    QString lastPdfPath() const { return lastPdfPath_; }

    // The fixed-pitch font used for a requested family name and size. The name
    // is used only when it is an installed fixed-pitch family; otherwise a
    // Courier-compatible family with Cyrillic letters stands in for it.
    static QFont reportFont(const QString& requestedName, double points);

private:
    void openDocument();
    // A PDF in the documents folder (or at the fixed path) as the output.
    void preparePdf();
    // Starts painting on the prepared output; false when it cannot be opened.
    bool beginPainting();
    void applyFont();
    void printRow(const QString& text);
    int fittingLength(const QString& text) const;
    void finishPdfFile();

    QString fixedPdfPath_;
    QString temporaryPdfPath_;
    QString lastPdfPath_;
    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    QString fontName_ = QStringLiteral("Courier New Cyr");
    double fontSize_ = 10;
    QFont font_;
    bool documentOpen_ = false;
    bool pageBreakPending_ = false;
    int row_ = 0;
    double linePitch_ = 0;
    double lineWidth_ = 0;
};

} // namespace orven
