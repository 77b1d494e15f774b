#include "key_cli/pdf_text.h"

#include "key_cli/key_command.h"
#include "platform/report_rendering.h"

#include <poppler-qt6.h>

#include <memory>

namespace orven {

ReadFault pdfReportText(const QByteArray& data, QStringList& lines) {
    // Poppler says every fault of a broken file as a debug message of Qt's:
    // a file made to break it says hundreds of thousands, which on Windows,
    // with no console behind the reader, each go to the system's debugger
    // channel and outlast the reader's time. Nobody reads them: unsaid.
    static const bool unsaid = [] {
        Poppler::setDebugErrorFunction([](const QString&, const QVariant&) {}, QVariant());
        return true;
    }();
    Q_UNUSED(unsaid);
    lines.clear();
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(data);
    if (!document) {
        return ReadFault::NotPdf;
    }
    if (document->isLocked()) {
        return ReadFault::Locked;
    }
    if (document->numPages() > mostReportPages) {
        return ReadFault::Pages;
    }
    qsizetype characters = 0;
    for (int index = 0; index < document->numPages(); ++index) {
        if (index > 0) {
            lines << QStringLiteral("\f"); // a new page
        }
        const std::unique_ptr<Poppler::Page> page = document->page(index);
        if (!page) {
            continue;
        }
        // Physical layout: the lines as they stand on the page, top to bottom.
        const QString text = page->text(QRectF(), Poppler::Page::PhysicalLayout);
        characters += text.size();
        if (characters > mostReportText) {
            lines.clear();
            return ReadFault::Text;
        }
        // Poppler ends its lines with CR LF on Windows, with LF elsewhere.
        for (QString line : text.split(QLatin1Char('\n'))) {
            if (line.endsWith(QLatin1Char('\r'))) {
                line.chop(1);
            }
            lines << line;
        }
    }
    return ReadFault::None;
}

namespace {

bool writeKeyPdf(const ReportOperations& operations, const QString& path, const QString& title,
                 bool landscape) {
    return writeReportPdf(operations, path, title,
                          landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

} // namespace

void useKeyPdf() {
    setKeyPdfFunctions({writeKeyPdf, readReportText});
}

} // namespace orven
