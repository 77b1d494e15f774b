#pragma once
// Tables written as CSV (RFC 4180): fields quoted where they hold a separator,
// a quote or a line break, quotes doubled, every record ended by CR LF, in
// UTF-8, with a byte order mark where a spreadsheet needs one to tell the
// encoding.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

namespace orven {

// A field as it stands in a record: quoted when it holds "," or ";" (either
// may be the separator of the file it goes to), a quote or a line break.
QString csvField(const QString& text);

class CsvWriter {
public:
    explicit CsvWriter(QChar separator = QLatin1Char(','), bool byteOrderMark = false);
    void addRow(const QStringList& fields);
    // The whole table as the file's bytes.
    QByteArray bytes() const;

private:
    QChar separator_;
    bool byteOrderMark_;
    QString text_;
};

} // namespace orven
