#pragma once
// The report printer of the running program. The operations of a document are
// kept as they come (and journalled beside the report, block by block, so that
// a process that dies leaves a report to recover); the document is set on
// paper when it ends: on the system's default printer when there is one,
// otherwise as a PDF file (set as report_rendering.h describes).
//
// A PDF goes into the first folder of the documents folder, the home folder
// and the temporary folder that takes it, under the first free name (a name
// taken by anything, a dangling link too, is passed over). It is written under
// a temporary name and appears under its own name only when it is complete; a
// write that fails anywhere (a full disk) leaves no file and moves on to the
// next folder. Success is told only for a file that was written whole.
//
// The journal of an open report is kept in the user's private journal folder
// (journal_files.h), whatever folder the report goes to.
//
// A document opens with its first line; newPage() only takes effect if a line
// follows it, so a document never ends with a blank page. The destructor ends a
// document that is still open.

#include "report/report_journal.h"
#include "report/report_printer.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace orven {

class SystemReportPrinter final : public ReportPrinter {
public:
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

    // Told the path of each document written as a PDF.
    void setWrittenListener(std::function<void(const QString& pdfPath)> listener) {
        writtenListener_ = std::move(listener);
    }

    // Told each time a document opens (its first line).
    void setDocumentOpenedListener(std::function<void()> listener) {
        documentOpenedListener_ = std::move(listener);
    }

    // The folders a report may go to, in order of preference.
    static QStringList reportFolders();
    // True when a file can be made in folder (created when missing).
    static bool folderTakesFiles(const QString& folder);

    // Reports left behind by runs that ended before they could finish them
    // (report_recovery.h), told as this printer tells its messages: now, or
    // on a thread of its own (waited for when the printer goes).
    void recoverLeftReports();
    void startRecovery();

    // Writes message to standard error and hands it to the message listener.
    void tell(const QString& message, const QString& pdfPath = QString());

private:
    void record(const ReportOperation& operation);
    void openDocument();
    bool printOnSystemPrinter();
    // The first folder after `after` in reportFolders() that takes a file.
    QString writableFolder(int after, int* index) const;
    void finishAsPdf();

    QString fixedPdfPath_;
    QString lastPdfPath_;
    QString fontName_ = QStringLiteral("Courier New Cyr");
    double fontSize_ = 10;
    bool documentOpen_ = false;
    bool toSystemPrinter_ = false;
    ReportOperations document_;
    qsizetype journalled_ = 0;
    ReportJournal journal_;
    QString reportStem_;
    int folderIndex_ = -1;
    bool toldNoJournal_ = false;
    MessageListener messageListener_;
    UnsavedListener unsavedListener_;
    std::function<void()> documentOpenedListener_;
    std::function<void(const QString&)> writtenListener_;
};

} // namespace orven
