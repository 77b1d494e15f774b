#include "platform/system_report_printer.h"

#include "platform/report_rendering.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace orven {

namespace {

const QString journalPattern = QStringLiteral(".orven-report-*.journal");

// orven-report-YYYY-MM-DD-HHMMSS.pdf in folder, with -2, -3, ... added when a
// file of that name exists already.
QString freeReportName(const QString& folder, const QString& stem) {
    QString path = QDir(folder).filePath(stem + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = QDir(folder).filePath(stem + QStringLiteral("-%1.pdf").arg(n));
    }
    return path;
}

QString timeStamp() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
}

// The name of a recovered report: "-восстановлен" before ".pdf".
QString recoveredStem(const QString& reportPath) {
    QString stem = QFileInfo(reportPath).completeBaseName();
    if (stem.isEmpty()) {
        stem = QStringLiteral("orven-report-") + timeStamp();
    }
    return stem + QStringLiteral("-восстановлен");
}

bool takesFiles(const QString& folder) {
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

bool hasRows(const ReportOperations& operations) {
    return std::any_of(operations.cbegin(), operations.cend(), [](const ReportOperation& op) {
        return op.kind == ReportOperation::Line || op.kind == ReportOperation::Empty ||
               op.kind == ReportOperation::Header;
    });
}

// True while the process that wrote a journal still runs this program (a
// process id of a gone process may have been taken by another program).
bool stillRunning(qint64 processId) {
    if (processId == ::getpid()) {
        return true;
    }
    if (processId <= 0 || (::kill(static_cast<pid_t>(processId), 0) != 0 && errno == ESRCH)) {
        return false;
    }
    const QString other = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(processId));
    return !other.isEmpty() && other == QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
}

} // namespace

SystemReportPrinter::SystemReportPrinter() = default;

SystemReportPrinter::SystemReportPrinter(const QString& pdfPath) : fixedPdfPath_(pdfPath) {}

SystemReportPrinter::~SystemReportPrinter() {
    endDocument();
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
    std::fputs((message + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
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
        if (takesFiles(folders.at(i))) {
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
    plannedPdfPath_.clear();
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
        return;
    }
    const QString stem = QStringLiteral("orven-report-") + timeStamp();
    plannedPdfPath_ = freeReportName(folder, stem);
    const QString journalPath =
        QDir(folder).filePath(QStringLiteral(".%1-%2.journal")
                                  .arg(QFileInfo(plannedPdfPath_).completeBaseName())
                                  .arg(::getpid()));
    if (!journal_.open(journalPath, plannedPdfPath_)) {
        tell(QStringLiteral("ORVEN: журнал отчёта не удалось начать (%1); отчёт хранится только в "
                            "памяти до конца работы")
                 .arg(journalPath));
    }
}

void SystemReportPrinter::endBlock() {
    if (!documentOpen_ || !journal_.isOpen()) {
        return;
    }
    if (!journal_.appendBlock(document_.mid(journalled_))) {
        tell(QStringLiteral("ORVEN: журнал отчёта не удалось записать (%1); отчёт хранится только "
                            "в памяти до конца работы")
                 .arg(journal_.path()));
        journal_.remove();
    }
    journalled_ = document_.size();
}

void SystemReportPrinter::endDocument() {
    if (!documentOpen_) {
        return;
    }
    documentOpen_ = false;
    if (!hasRows(document_)) {
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
    const QString stem = plannedPdfPath_.isEmpty() ? QStringLiteral("orven-report-") + timeStamp()
                                                   : QFileInfo(plannedPdfPath_).completeBaseName();
    int index = plannedPdfPath_.isEmpty() ? -1 : folderIndex_;
    QString path = plannedPdfPath_;
    while (true) {
        if (path.isEmpty()) {
            const QString folder = writableFolder(index, &index);
            if (folder.isEmpty()) {
                break;
            }
            path = freeReportName(folder, stem);
        }
        if (writeReportPdf(document_, path)) {
            lastPdfPath_ = path;
            journal_.remove();
            tell(QStringLiteral("ORVEN: отчёт записан в файл %1").arg(path), path);
            return;
        }
        tell(QStringLiteral("ORVEN: отчёт не удалось записать в файл %1 (нет места или нет "
                            "доступа); пробую следующую папку")
                 .arg(path));
        path.clear();
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

void SystemReportPrinter::recoverLeftReports() {
    for (const QString& folder : reportFolders()) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({journalPattern}, QDir::Files | QDir::Hidden)) {
            const QString journalPath = dir.filePath(name);
            QFile file(journalPath);
            if (!file.open(QIODevice::ReadOnly)) {
                continue;
            }
            const JournalContents contents = readJournal(file.readAll());
            file.close();
            if (!contents.valid || stillRunning(contents.processId)) {
                continue;
            }
            if (!hasRows(contents.operations)) {
                QFile::remove(journalPath);
                continue;
            }
            const QString stem = recoveredStem(contents.reportPath);
            QStringList places{QFileInfo(contents.reportPath).absolutePath()};
            places += reportFolders();
            QString written;
            for (const QString& place : places) {
                if (!takesFiles(place)) {
                    continue;
                }
                const QString path = freeReportName(place, stem);
                if (writeReportPdf(contents.operations, path)) {
                    written = path;
                    break;
                }
            }
            if (written.isEmpty()) {
                tell(QStringLiteral("ORVEN: незаконченный отчёт из журнала %1 не удалось "
                                    "восстановить: ни в одну папку нельзя записать файл")
                         .arg(journalPath));
                continue;
            }
            QFile::remove(journalPath);
            tell(QStringLiteral("ORVEN: отчёт, не законченный при прошлой работе, восстановлен "
                                "в файле %1")
                     .arg(written),
                 written);
        }
    }
}

} // namespace orven
