#include "core/csv.h"

#include <QRegularExpression>

namespace orven {

QString csvField(const QString& text) {
    static const QRegularExpression special(QStringLiteral("[,;\"\r\n]"));
    if (text.contains(special)) {
        return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
               QLatin1Char('"');
    }
    return text;
}

CsvWriter::CsvWriter(QChar separator, bool byteOrderMark)
    : separator_(separator), byteOrderMark_(byteOrderMark) {}

void CsvWriter::addRow(const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            text_ += separator_;
        }
        text_ += csvField(fields.at(i));
    }
    text_ += QStringLiteral("\r\n");
}

QByteArray CsvWriter::bytes() const {
    return (byteOrderMark_ ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text_.toUtf8();
}

} // namespace orven
