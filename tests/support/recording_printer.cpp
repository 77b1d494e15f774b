#include "support/recording_printer.h"

#include <QRegularExpression>

namespace orven::test {

void RecordingPrinter::setFontName(const QString& name) {
    fontName_ = name;
}

void RecordingPrinter::setFontSize(double points) {
    fontSize_ = points;
}

void RecordingPrinter::printLine(const QString& text) {
    if (current_.isEmpty() || pageBreakPending_) {
        current_.append(Page{});
        pageBreakPending_ = false;
    }
    current_.last().append(text);
}

void RecordingPrinter::printEmptyLine() {
    printLine(QString());
}

void RecordingPrinter::newPage() {
    pageBreakPending_ = !current_.isEmpty();
}

void RecordingPrinter::endDocument() {
    if (!current_.isEmpty()) {
        finished_.append(current_);
    }
    current_.clear();
    pageBreakPending_ = false;
}

QStringList RecordingPrinter::currentLines() const {
    QStringList lines;
    for (const Page& page : current_) {
        lines += page;
    }
    return lines;
}

QStringList describePages(const RecordingPrinter::Document& document, const BlockWord& blockWord) {
    static const QRegularExpression header(QStringLiteral("ORVEN  стр\\.(-?\\d+)$"));
    QStringList pages;
    for (const RecordingPrinter::Page& page : document) {
        QStringList words;
        for (int i = 0; i < page.size(); ++i) {
            const QString& line = page[i];
            if (const auto match = header.match(line); match.hasMatch())
                words << QStringLiteral("H") + match.captured(1);
            else if (line.contains(QStringLiteral("П Р О Г Р А М М А")))
                words << QStringLiteral("R");
            else if (const QString word = blockWord(page, i); !word.isEmpty())
                words << word;
        }
        pages << words.join(QLatin1Char(' '));
    }
    return pages;
}

} // namespace orven::test
