#include "platform/system_report_printer.h"

#include "platform/report_recovery.h"
#include "platform/report_rendering.h"
#include "report/journal_files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace orven {

namespace {

QString timeStamp() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
}

} // namespace

SystemReportPrinter::SystemReportPrinter() = default;

SystemReportPrinter::SystemReportPrinter(const QString& pdfPath) : fixedPdfPath_(pdfPath) {}

SystemReportPrinter::~SystemReportPrinter() {
    stopReportRecovery();
    endDocument();
}

bool SystemReportPrinter::folderTakesFiles(const QString& folder) {
    if (folder.isEmpty()) {
        return false;
    }
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        return false;
    }
    if (!info.exists() && !QDir().mkpath(folder)) {
        return false;
    }
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".orven-probe-XXXXXX")));
    return probe.open();
}

void SystemReportPrinter::recoverLeftReports() {
    orven::recoverLeftReports(
        [this](const QString& message, const QString& pdfPath) { tell(message, pdfPath); },
        writeStandardErrorLine);
}

void SystemReportPrinter::startRecovery() {
    startReportRecovery([this](const QString& message, const QString& pdfPath) {
        if (messageListener_) {
            messageListener_(message, pdfPath);
        }
    });
}

QStringList SystemReportPrinter::reportFolders() {
    QStringList folders;
    for (const QString& folder :
         {QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath(),
          QDir::tempPath()}) {
        const QString clean = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
        if (!clean.isEmpty() && !folders.contains(clean)) {
            folders << clean;
        }
    }
    return folders;
}

void SystemReportPrinter::tell(const QString& message, const QString& pdfPath) {
    writeStandardErrorLine(message);
    if (messageListener_) {
        messageListener_(message, pdfPath);
    }
}

void SystemReportPrinter::setFontName(const QString& name) {
    record({ReportOperation::Font, name, 0});
}

void SystemReportPrinter::setFontSize(double points) {
    record({ReportOperation::Size, QString(), points});
}

void SystemReportPrinter::printLine(const QString& text) {
    record({ReportOperation::Line, text, 0});
}

void SystemReportPrinter::printEmptyLine() {
    record({ReportOperation::Empty, QString(), 0});
}

void SystemReportPrinter::newPage() {
    record({ReportOperation::Page, QString(), 0});
}

void SystemReportPrinter::printPageHeaderLine(const QString& text, int pageNumber) {
    record({ReportOperation::Header, text, double(pageNumber)});
}

void SystemReportPrinter::record(const ReportOperation& operation) {
    switch (operation.kind) {
    case ReportOperation::Font:
        fontName_ = operation.text;
        break;
    case ReportOperation::Size:
        fontSize_ = operation.size;
        break;
    case ReportOperation::Page:
        // A break before the first line of a document is nothing to keep.
        if (!documentOpen_) {
            return;
        }
        break;
    case ReportOperation::Line:
    case ReportOperation::Empty:
    case ReportOperation::Header:
        if (!documentOpen_) {
            openDocument();
        }
        break;
    }
    if (documentOpen_) {
        document_ += operation;
    }
}

QString SystemReportPrinter::writableFolder(int after, int* index) const {
    const QStringList folders = reportFolders();
    for (int i = after + 1; i < folders.size(); ++i) {
        if (folderTakesFiles(folders.at(i))) {
            *index = i;
            return folders.at(i);
        }
    }
    *index = static_cast<int>(folders.size());
    return QString();
}

void SystemReportPrinter::openDocument() {
    documentOpen_ = true;
    lastPdfPath_.clear();
    reportStem_ = QStringLiteral("orven-report-") + timeStamp();
    journalled_ = 0;
    document_ = {{ReportOperation::Font, fontName_, 0},
                 {ReportOperation::Size, QString(), fontSize_}};
    if (documentOpenedListener_) {
        documentOpenedListener_();
    }
    if (!fixedPdfPath_.isEmpty()) {
        return;
    }
    toSystemPrinter_ = !QPrinterInfo::defaultPrinter().isNull();

    const QString folder = writableFolder(-1, &folderIndex_);
    if (folder.isEmpty()) {
        const QString message =
            QStringLiteral(
                "ORVEN: отчёт некуда сохранить: ни в одну из папок %1 нельзя записать файл")
                .arg(reportFolders().join(QStringLiteral(", ")));
        tell(message);
        if (!toSystemPrinter_ && unsavedListener_) {
            unsavedListener_(message);
        }
    }
    // The journal goes to the first private folder that takes it, whatever
    // folder the report itself goes to.
    const QString journalName =
        QStringLiteral("%1-%2.journal").arg(reportStem_).arg(QCoreApplication::applicationPid());
    const QString reportPath = QDir(folder).filePath(reportStem_ + QStringLiteral(".pdf"));
    QStringList tried;
    for (const QString& journalFolder : journalFolders()) {
        const QString journalPath = QDir(journalFolder).filePath(journalName);
        if (journal_.open(journalPath, reportPath)) {
            return;
        }
        tried << journalFolder;
    }
    if (!toldNoJournal_) {
        toldNoJournal_ = true;
        tell(QStringLiteral("ORVEN: журнал отчёта вести негде (%1); отчёт хранится только в "
                            "памяти до конца работы")
                 .arg(tried.isEmpty() ? journalStateFolder() : tried.join(QStringLiteral(", "))));
    }
}

void SystemReportPrinter::endBlock() {
    if (!documentOpen_ || !journal_.isOpen()) {
        return;
    }
    if (!journal_.appendBlock(document_.mid(journalled_))) {
        if (!toldNoJournal_) {
            toldNoJournal_ = true;
            tell(QStringLiteral("ORVEN: журнал отчёта не удалось записать (%1); отчёт хранится "
                                "только в памяти до конца работы")
                     .arg(journal_.path()));
        }
        journal_.remove();
    }
    journalled_ = document_.size();
}

void SystemReportPrinter::endDocument() {
    if (!documentOpen_) {
        return;
    }
    documentOpen_ = false;
    if (!reportHasRows(document_)) {
        journal_.remove();
    } else if (!fixedPdfPath_.isEmpty()) {
        if (writeReportPdf(document_, fixedPdfPath_)) {
            lastPdfPath_ = fixedPdfPath_;
        } else {
            tell(QStringLiteral("ORVEN: отчёт не удалось записать в файл %1").arg(fixedPdfPath_));
        }
    } else if (toSystemPrinter_ && printOnSystemPrinter()) {
        journal_.remove();
    } else {
        finishAsPdf();
    }
    document_.clear();
    journalled_ = 0;
}

bool SystemReportPrinter::printOnSystemPrinter() {
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("ORVEN"));
    printer.setPageMargins(reportPageMargins, QPageLayout::Millimeter);
    printer.setFullPage(false);
    if (renderReport(document_, printer, printer.resolution())) {
        return true;
    }
    // A printer that cannot take the report must not lose it: it goes to a
    // PDF instead.
    tell(QStringLiteral("ORVEN: отчёт не удалось напечатать на принтере %1; он записывается в файл")
             .arg(printer.printerName()));
    return false;
}

void SystemReportPrinter::finishAsPdf() {
    int index = folderIndex_ >= 0 && folderIndex_ < reportFolders().size() ? folderIndex_ - 1 : -1;
    while (true) {
        const QString folder = writableFolder(index, &index);
        if (folder.isEmpty()) {
            break;
        }
        const QString path = writeNewReportPdf(document_, folder, reportStem_);
        if (!path.isEmpty()) {
            lastPdfPath_ = path;
            journal_.remove();
            tell(QStringLiteral("ORVEN: отчёт записан в файл %1").arg(path), path);
            if (writtenListener_) {
                writtenListener_(path);
            }
            return;
        }
        tell(QStringLiteral("ORVEN: отчёт не удалось записать в файл %1 (нет места или нет "
                            "доступа); пробую следующую папку")
                 .arg(QDir(folder).filePath(reportStem_ + QStringLiteral(".pdf"))));
    }
    if (journal_.isOpen()) {
        tell(QStringLiteral("ORVEN: отчёт не удалось записать ни в одну из папок %1; он будет "
                            "восстановлен при следующем запуске из журнала %2")
                 .arg(reportFolders().join(QStringLiteral(", ")), journal_.path()));
        journal_.close();
    } else {
        tell(QStringLiteral("ORVEN: отчёт не удалось записать ни в одну из папок %1")
                 .arg(reportFolders().join(QStringLiteral(", "))));
    }
}

} // namespace orven
