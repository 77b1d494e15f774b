#pragma once
// The report printer of the running program. The operations of a document are
// kept as they come (and journalled beside the report, block by block, so that
// a process that dies leaves a report to recover); the document is set on
// paper when it ends: on the system's default printer when there is one,
// otherwise as a PDF file. Lines are set at a fixed pitch of 79 lines per
// printable height, and nothing is ever lost: a line wider than the page
// continues on the next line, and a page that is full continues on a new page.
//
// A PDF goes into the first folder of the documents folder, the home folder
// and the temporary folder that takes it. It is written under a temporary name
// and appears under its own name only when it is complete; a write that fails
// anywhere (a full disk) leaves no file and moves on to the next folder.
// Success is told only for a file that was written whole.
//
// A document opens with its first line; newPage() only takes effect if a line
// follows it, so a document never ends with a blank page. The destructor ends a
// document that is still open.
//
// Page headers are numbered by the sheet they stand on, counted from the
// number of the document's first header; a sheet started because the one
// before it was full begins with the last header again, so every sheet has a
// header and the numbers run with the sheets.

#include "results/report_journal.h"
#include "results/report_printer.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>

class QPagedPaintDevice;

namespace orven {

class SystemReportPrinter final : public ReportPrinter {
public:
    static constexpr int linesPerPage = 79;

    // Default printer if the system has one, else a PDF in the documents folder
    // (or the next folder that takes it), named orven-report-YYYY-MM-DD-HHMMSS.pdf
    // (never overwriting a file).
    SystemReportPrinter();
    // Every document into a PDF at pdfPath (an existing file is replaced), no journal.
    explicit SystemReportPrinter(const QString& pdfPath);
    ~SystemReportPrinter() override;

    SystemReportPrinter(const SystemReportPrinter&) = delete;
    SystemReportPrinter& operator=(const SystemReportPrinter&) = delete;

    void setFontName(const QString& name) override;
    void setFontSize(double points) override;
    void printLine(const QString& text) override;
    void printEmptyLine() override;
    void newPage() override;
    void printPageHeaderLine(const QString& text, int pageNumber) override;
    void endBlock() override;
    void endDocument() override;

    // The PDF file of the last finished document; empty if it went to a printer
    // or could not be written.
    QString lastPdfPath() const { return lastPdfPath_; }

    // Every message the printer writes to standard error also goes here, with
    // the path of the finished PDF when there is one (the desktop notification).
    using MessageListener = std::function<void(const QString& message, const QString& pdfPath)>;
    void setMessageListener(MessageListener listener) { messageListener_ = std::move(listener); }
    // Told once, at the print that opens a document, when no folder can take
    // the report (the program shows it in a message box).
    using UnsavedListener = std::function<void(const QString& message)>;
    void setUnsavedListener(UnsavedListener listener) { unsavedListener_ = std::move(listener); }

    // Told each time a document opens (its first line).
    void setDocumentOpenedListener(std::function<void()> listener) {
        documentOpenedListener_ = std::move(listener);
    }

    // The folders a report may go to, in order of preference.
    static QStringList reportFolders();

    // Reports left behind by runs that ended before they could finish them:
    // each journal found in the report folders (whose process is gone) is set
    // as a PDF named as its report with "-восстановлен" before ".pdf", and the
    // journal removed once the PDF is complete. Tells each one.
    void recoverLeftReports();

    // The fixed-pitch font used for a requested family name and size. The name
    // is used only when it is an installed fixed-pitch family; otherwise a
    // Courier-compatible family with Cyrillic letters stands in for it.
    static QFont reportFont(const QString& requestedName, double points);

    // Sets the operations on a paged device; false when painting fails.
    static bool render(const ReportOperations& operations, QPagedPaintDevice& device,
                       int resolution);
    // Writes the operations as a complete PDF at path, or leaves nothing there.
    static bool writePdf(const ReportOperations& operations, const QString& path);

private:
    void record(const ReportOperation& operation);
    void openDocument();
    bool printOnSystemPrinter();
    // The first folder after `after` in reportFolders() that takes a file.
    QString writableFolder(int after, int* index) const;
    void finishAsPdf();
    void tell(const QString& message, const QString& pdfPath = QString());

    QString fixedPdfPath_;
    QString lastPdfPath_;
    QString fontName_ = QStringLiteral("Courier New Cyr");
    double fontSize_ = 10;
    bool documentOpen_ = false;
    bool toSystemPrinter_ = false;
    ReportOperations document_;
    qsizetype journalled_ = 0;
    ReportJournal journal_;
    QString plannedPdfPath_;
    int folderIndex_ = -1;
    MessageListener messageListener_;
    UnsavedListener unsavedListener_;
    std::function<void()> documentOpenedListener_;
};

} // namespace orven
