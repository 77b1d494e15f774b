#include "support/recording_printer.h"

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

} // namespace orven::test
