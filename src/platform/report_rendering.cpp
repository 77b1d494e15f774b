#include "platform/report_rendering.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace orven {

namespace {

// Dots per inch of a PDF page: the same grid as a printer's high resolution.
constexpr int pdfResolution = 1200;
const QString defaultFontName = QStringLiteral("Courier New Cyr");
constexpr double defaultFontSize = 10;

// The number of leading characters of text that fit across the page, at least
// one, so that every character is printed somewhere.
int fittingLength(const QString& text, const QFontMetricsF& metrics, double width) {
    if (text.isEmpty() || metrics.horizontalAdvance(text) <= width) {
        return static_cast<int>(text.size());
    }
    int fits = 1;
    int tooLong = static_cast<int>(text.size());
    while (tooLong - fits > 1) {
        const int middle = (fits + tooLong) / 2;
        if (metrics.horizontalAdvance(text.left(middle)) <= width) {
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

} // namespace

QFont reportFont(const QString& requestedName, double points) {
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
    font.setPointSizeF(points > 0 ? points : defaultFontSize);
    return font;
}

bool writeReportPdf(const ReportOperations& operations, const QString& path, const QString& title) {
    // The PDF is made in memory, then written under a temporary name and put
    // in place only when complete; a write that fails on the way (a full disk)
    // leaves the old file as it was. QSaveFile alone does not see every failed
    // write (a buffered write that fails when the file is closed), so the size
    // on the disk is checked as well.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(reportPageMargins, QPageLayout::Millimeter);
        writer.setResolution(pdfResolution);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("ORVEN"));
        if (!renderReport(operations, writer, pdfResolution)) {
            return false;
        }
    }
    const QByteArray& data = pdf.data();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (file.write(data) != data.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit()) {
        return false;
    }
    if (QFileInfo(path).size() != data.size()) {
        QFile::remove(path);
        return false;
    }
    return true;
}

bool renderReport(const ReportOperations& operations, QPagedPaintDevice& device, int resolution) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    const QRectF area = device.pageLayout().paintRectPixels(resolution);
    const double linePitch = area.height() / reportLinesPerPage;
    const double lineWidth = area.width();
    QString fontName = defaultFontName;
    double fontSize = defaultFontSize;
    QFont font = reportFont(fontName, fontSize);
    painter.setFont(font);
    QFontMetricsF metrics(font, &device);

    enum class Row { Text, Blank, Header };
    bool pagesOk = true;
    bool started = false;
    bool pageBreakPending = false; // asked for by the report
    bool sheetFull = false;        // the next row begins a continuation sheet
    int row = 0;
    // Sheets of this document, and the header that begins a sheet.
    int sheet = 0;
    int firstHeaderSheet = 0;
    int firstHeaderNumber = 0;
    QString headerText;
    bool haveHeader = false;
    const auto numberOfSheet = [&](int onSheet) {
        return QString::number(firstHeaderNumber + onSheet - firstHeaderSheet);
    };
    const auto drawRow = [&](const QString& text) {
        if (!text.isEmpty()) {
            painter.drawText(QPointF(0, row * linePitch + metrics.ascent()), text);
        }
        ++row;
    };
    const auto printRow = [&](const QString& text, Row kind) {
        if (started && row >= reportLinesPerPage && !pageBreakPending) {
            sheetFull = true;
        }
        // A blank row never begins a continuation sheet.
        if (sheetFull && !pageBreakPending && kind == Row::Blank) {
            return;
        }
        if (started && (pageBreakPending || sheetFull)) {
            pagesOk = device.newPage() && pagesOk;
            row = 0;
            ++sheet;
            if (!pageBreakPending && haveHeader && kind != Row::Header) {
                drawRow(headerText + numberOfSheet(sheet));
            }
            pageBreakPending = false;
            sheetFull = false;
        }
        started = true;
        drawRow(text);
    };
    const auto printText = [&](const QString& text, Row kind) {
        // Trailing blanks are invisible; they must not push a line onto a second row.
        QString rest = text;
        while (rest.endsWith(QLatin1Char(' '))) {
            rest.chop(1);
        }
        do {
            const int length = fittingLength(rest, metrics, lineWidth);
            printRow(rest.left(length), kind);
            rest.remove(0, length);
        } while (!rest.isEmpty());
    };

    for (const ReportOperation& operation : operations) {
        switch (operation.kind) {
        case ReportOperation::Font:
        case ReportOperation::Size:
            if (operation.kind == ReportOperation::Font) {
                fontName = operation.text;
            } else {
                fontSize = operation.size;
            }
            font = reportFont(fontName, fontSize);
            painter.setFont(font);
            metrics = QFontMetricsF(font, &device);
            break;
        case ReportOperation::Line:
            printText(operation.text, Row::Text);
            break;
        case ReportOperation::Header: {
            const bool breaks =
                started && (pageBreakPending || sheetFull || row >= reportLinesPerPage);
            const int onSheet = breaks ? sheet + 1 : sheet;
            if (!haveHeader) {
                haveHeader = true;
                firstHeaderSheet = onSheet;
                firstHeaderNumber = static_cast<int>(operation.size);
            }
            headerText = operation.text;
            printText(headerText + numberOfSheet(onSheet), Row::Header);
            break;
        }
        case ReportOperation::Empty:
            printRow(QString(), Row::Blank);
            break;
        case ReportOperation::Page:
            if (started && row > 0) {
                pageBreakPending = true;
            }
            break;
        }
    }
    return painter.end() && pagesOk;
}

} // namespace orven
