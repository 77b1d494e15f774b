#include "platform/system_report_printer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstdio>

namespace orven {

namespace {

// Margins in millimetres. The right one is narrow so that the widest report
// line (91 characters of 10 pt) fits across A4.
const QMarginsF pageMargins(10, 10, 5, 10);

void tellUser(const QString& message) {
    std::fputs((message + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

QString documentsFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    QDir().mkpath(folder);
    return folder;
}

// orven-report-YYYY-MM-DD-HHMMSS.pdf in folder, with -2, -3, ... added when a
// file of that name exists already.
QString freeReportName(const QString& folder) {
    const QString stem = QStringLiteral("orven-report-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString path = QDir(folder).filePath(stem + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = QDir(folder).filePath(stem + QStringLiteral("-%1.pdf").arg(n));
    }
    return path;
}

} // namespace

SystemReportPrinter::SystemReportPrinter() = default;

SystemReportPrinter::SystemReportPrinter(const QString& pdfPath) : fixedPdfPath_(pdfPath) {}

SystemReportPrinter::~SystemReportPrinter() {
    endDocument();
}

QFont SystemReportPrinter::reportFont(const QString& requestedName, double points) {
    QStringList families;
    if (QFontDatabase::families().contains(requestedName) &&
        QFontDatabase::isFixedPitch(requestedName)) {
        families << requestedName;
    }
    families << QStringLiteral("Courier New") << QStringLiteral("Liberation Mono")
             << QStringLiteral("DejaVu Sans Mono");
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(points > 0 ? points : 10);
    return font;
}

void SystemReportPrinter::setFontName(const QString& name) {
    fontName_ = name;
    applyFont();
}

void SystemReportPrinter::setFontSize(double points) {
    fontSize_ = points;
    applyFont();
}

void SystemReportPrinter::applyFont() {
    font_ = reportFont(fontName_, fontSize_);
    if (painter_.isActive()) {
        painter_.setFont(font_);
    }
}

void SystemReportPrinter::openDocument() {
    documentOpen_ = true;
    pageBreakPending_ = false;
    row_ = 0;

    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    const bool toSystemPrinter = fixedPdfPath_.isEmpty() && !defaultPrinter.isNull();
    if (toSystemPrinter) {
        printer_ = std::make_unique<QPrinter>(defaultPrinter, QPrinter::HighResolution);
    } else {
        preparePdf();
    }
    if (!beginPainting() && toSystemPrinter) {
        // A printer that cannot take the report must not lose it: it goes to
        // a PDF in the documents folder instead.
        preparePdf();
        beginPainting();
    }
}

void SystemReportPrinter::preparePdf() {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setPageSize(QPageSize(QPageSize::A4));
    QString path = fixedPdfPath_;
    if (path.isEmpty()) {
        // Written under a temporary name, so that a half-written report is
        // never mistaken for a finished one.
        QTemporaryFile file(
            QDir(documentsFolder()).filePath(QStringLiteral(".orven-report-XXXXXX.pdf.part")));
        file.setAutoRemove(false);
        if (file.open()) {
            path = temporaryPdfPath_ = file.fileName();
        }
    }
    printer_->setOutputFileName(path);
}

bool SystemReportPrinter::beginPainting() {
    printer_->setDocName(QStringLiteral("ORVEN"));
    printer_->setPageMargins(pageMargins, QPageLayout::Millimeter);
    printer_->setFullPage(false);

    if (!painter_.begin(printer_.get())) {
        tellUser(QStringLiteral("ORVEN: отчёт не удалось начать печатать (%1)")
                     .arg(printer_->outputFileName().isEmpty() ? printer_->printerName()
                                                               : printer_->outputFileName()));
        return false;
    }
    const QRectF area = printer_->pageLayout().paintRectPixels(printer_->resolution());
    linePitch_ = area.height() / linesPerPage;
    lineWidth_ = area.width();
    applyFont();
    return true;
}

void SystemReportPrinter::printLine(const QString& text) {
    // Trailing blanks are invisible; they must not push a line onto a second row.
    QString rest = text;
    while (rest.endsWith(QLatin1Char(' '))) {
        rest.chop(1);
    }
    do {
        const int length = fittingLength(rest);
        printRow(rest.left(length));
        rest.remove(0, length);
    } while (!rest.isEmpty());
}

void SystemReportPrinter::printEmptyLine() {
    printRow(QString());
}

// The number of leading characters of text that fit across the page, at least
// one, so that every character is printed somewhere.
int SystemReportPrinter::fittingLength(const QString& text) const {
    if (!painter_.isActive() || text.isEmpty()) {
        return static_cast<int>(text.size());
    }
    const QFontMetricsF metrics(font_, printer_.get());
    if (metrics.horizontalAdvance(text) <= lineWidth_) {
        return static_cast<int>(text.size());
    }
    int fits = 1;
    int tooLong = static_cast<int>(text.size());
    while (tooLong - fits > 1) {
        const int middle = (fits + tooLong) / 2;
        if (metrics.horizontalAdvance(text.left(middle)) <= lineWidth_) {
            fits = middle;
        } else {
            tooLong = middle;
        }
    }
    if (text.at(fits - 1).isHighSurrogate() && fits > 1) {
        --fits;
    }
    return fits;
}

void SystemReportPrinter::printRow(const QString& text) {
    if (!documentOpen_) {
        openDocument();
    }
    if (!painter_.isActive()) {
        return;
    }
    if (pageBreakPending_ || row_ >= linesPerPage) {
        printer_->newPage();
        pageBreakPending_ = false;
        row_ = 0;
    }
    if (!text.isEmpty()) {
        const double baseline = row_ * linePitch_ + QFontMetricsF(font_, printer_.get()).ascent();
        painter_.drawText(QPointF(0, baseline), text);
    }
    ++row_;
}

void SystemReportPrinter::newPage() {
    if (documentOpen_ && row_ > 0) {
        pageBreakPending_ = true;
    }
}

void SystemReportPrinter::endDocument() {
    if (!documentOpen_) {
        return;
    }
    const bool printed = painter_.isActive();
    if (printed) {
        painter_.end();
    }
    documentOpen_ = false;
    pageBreakPending_ = false;
    row_ = 0;
    lastPdfPath_ =
        printer_->outputFormat() == QPrinter::PdfFormat ? printer_->outputFileName() : QString();
    printer_.reset();
    if (!printed && !temporaryPdfPath_.isEmpty()) {
        QFile::remove(temporaryPdfPath_);
        temporaryPdfPath_.clear();
        lastPdfPath_.clear();
    }
    finishPdfFile();
}

void SystemReportPrinter::finishPdfFile() {
    if (temporaryPdfPath_.isEmpty()) {
        return;
    }
    const QString folder = QFileInfo(temporaryPdfPath_).absolutePath();
    const QString finalPath = freeReportName(folder);
    if (QFile::rename(temporaryPdfPath_, finalPath)) {
        lastPdfPath_ = finalPath;
    }
    temporaryPdfPath_.clear();
    tellUser(QStringLiteral("ORVEN: отчёт записан в файл %1").arg(lastPdfPath_));
}

} // namespace orven
