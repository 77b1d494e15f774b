#include "key_cli/pdf_text.h"

#include <QFileInfo>
#include <poppler-qt6.h>

#include <memory>

namespace orven {

namespace {

bool documentLines(std::unique_ptr<Poppler::Document> document, const QString& name,
                   QStringList& lines, QString& error) {
    if (!document) {
        error = QStringLiteral("%1 — не файл PDF").arg(name);
        return false;
    }
    if (document->isLocked()) {
        error = QStringLiteral("%1 защищён паролем").arg(name);
        return false;
    }
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
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            lines << line;
        }
    }
    return true;
}

} // namespace

bool pdfDataTextLines(const QByteArray& data, const QString& name, QStringList& lines,
                      QString& error) {
    lines.clear();
    return documentLines(Poppler::Document::loadFromData(data), name, lines, error);
}

bool pdfTextLines(const QString& path, QStringList& lines, QString& error) {
    lines.clear();
    const QFileInfo info(path);
    if (!info.exists()) {
        error = QStringLiteral("файл %1 не найден").arg(path);
        return false;
    }
    if (!info.isFile() || !info.isReadable()) {
        error = QStringLiteral("файл %1 нельзя прочитать").arg(path);
        return false;
    }
    return documentLines(Poppler::Document::load(path), path, lines, error);
}

} // namespace orven
