#include "core/text_file.h"

#include <QStringDecoder>
#include <QStringList>

namespace orven {

QString fileErrorText(const QString& fileName, int line, const QString& what) {
    return line > 0 ? QStringLiteral("%1, строка %2: %3").arg(fileName).arg(line).arg(what)
                    : QStringLiteral("%1: %2").arg(fileName, what);
}

bool decodeTextFile(const QByteArray& contents, const QString& fileName, QString& text,
                    QString& error) {
    if (contents.contains('\0')) {
        error = fileErrorText(fileName, 0, QStringLiteral("это не текстовый файл"));
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    text = decoder.decode(contents);
    if (decoder.hasError()) {
        error = fileErrorText(fileName, 0, QStringLiteral("файл не в кодировке UTF-8"));
        return false;
    }
    return true;
}

bool readTextLines(const QByteArray& contents, const QString& fileName, QList<TextLine>& lines,
                   QString& error) {
    lines.clear();
    QString text;
    if (!decodeTextFile(contents, fileName, text, error)) {
        return false;
    }
    const QStringList all = text.split(QLatin1Char('\n'));
    for (int index = 0; index < all.size(); ++index) {
        QString line = all.at(index);
        if (const qsizetype comment = line.indexOf(QLatin1Char('#')); comment >= 0) {
            line.truncate(comment);
        }
        line = line.trimmed();
        if (!line.isEmpty()) {
            lines.append({index + 1, line});
        }
    }
    return true;
}

} // namespace orven
