#include "course/moodle_worksheet.h"

#include "core/csv.h"
#include "core/text_file.h"
#include "course/class_list.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace orven {

namespace {

// A field's text as it reads: quotes taken off, doubled quotes made single.
QString fieldValue(const QString& raw) {
    if (raw.size() >= 2 && raw.startsWith(QLatin1Char('"')) && raw.endsWith(QLatin1Char('"'))) {
        return raw.mid(1, raw.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    }
    return raw;
}

QString plainHeader(QString header) {
    header.remove(QChar(0xFEFF));
    return header.trimmed().toLower();
}

int columnOf(const QStringList& headers, const QStringList& names, bool prefix = false) {
    for (int c = 0; c < headers.size(); ++c) {
        for (const QString& name : names) {
            if (prefix ? headers.at(c).startsWith(name) : headers.at(c) == name) {
                return c;
            }
        }
    }
    return -1;
}

} // namespace

bool Worksheet::read(const QByteArray& contents, const QString& fileName, QString& error) {
    // A byte order mark is kept, to be given back as it came.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    text_ = utf8(contents);
    if (utf8.hasError()) {
        error = fileErrorText(fileName, 0,
                              QStringLiteral("файл не в кодировке UTF-8, в которой "
                                             "его пишет Moodle"));
        return false;
    }
    separator_ = csvSeparator(text_);
    // The fields of every record with their places in the text.
    QList<QList<Span>> records;
    QList<int> recordLines;
    QList<Span> record;
    qsizetype start = 0;
    bool quoted = false;
    int line = 1;
    int recordLine = 1;
    const auto endField = [&](qsizetype end) { record << Span{start, end}; };
    for (qsizetype i = 0; i <= text_.size(); ++i) {
        const QChar c = i < text_.size() ? text_.at(i) : QChar(u'\n');
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text_.size() && text_.at(i + 1) == u'"') {
                    ++i;
                } else {
                    quoted = false;
                }
            } else if (c == u'\n') {
                ++line;
            }
            if (i == text_.size()) {
                error = fileErrorText(fileName, recordLine, QStringLiteral("кавычка не закрыта"));
                return false;
            }
            continue;
        }
        if (c == u'"' && i == start) {
            quoted = true;
        } else if (c == separator_) {
            endField(i);
            start = i + 1;
        } else if (c == u'\n' || c == u'\r') {
            endField(i);
            const bool blank = record.size() == 1 && record.first().begin == record.first().end;
            if (!blank) {
                records << record;
                recordLines << recordLine;
            }
            record.clear();
            if (c == u'\r' && i + 1 < text_.size() && text_.at(i + 1) == u'\n') {
                ++i;
            }
            ++line;
            recordLine = line;
            start = i + 1;
        }
    }
    if (records.isEmpty()) {
        error = fileErrorText(fileName, 0, QStringLiteral("пустой файл"));
        return false;
    }
    QStringList headers;
    for (const Span& span : records.first()) {
        headers << plainHeader(fieldValue(text_.mid(span.begin, span.end - span.begin)));
    }
    const int identifier =
        columnOf(headers, {QStringLiteral("identifier"), QStringLiteral("идентификатор")});
    gradeColumn_ = columnOf(headers, {QStringLiteral("grade"), QStringLiteral("оценка")});
    const int maximum =
        columnOf(headers, {QStringLiteral("maximum grade"), QStringLiteral("максимальная оценка")});
    feedbackColumn_ = columnOf(headers, {QStringLiteral("feedback comments")});
    if (feedbackColumn_ < 0) {
        feedbackColumn_ = columnOf(headers, {QStringLiteral("отзыв")}, true);
    }
    const int fullName =
        columnOf(headers, {QStringLiteral("full name"), QStringLiteral("полное имя")});
    const int email = columnOf(
        headers, {QStringLiteral("email address"), QStringLiteral("адрес электронной почты")});
    const auto missing = [&](int column, const QString& what) {
        if (column < 0) {
            error = fileErrorText(fileName, 1,
                                  QStringLiteral("нет столбца «%1»: это не ведомость оценок "
                                                 "задания Moodle")
                                      .arg(what));
            return true;
        }
        return false;
    };
    if (missing(identifier, QStringLiteral("Identifier")) ||
        missing(gradeColumn_, QStringLiteral("Grade")) ||
        missing(feedbackColumn_, QStringLiteral("Feedback comments"))) {
        return false;
    }
    static const QRegularExpression number(QStringLiteral("(\\d+)\\s*$"));
    rows_.clear();
    spans_.clear();
    for (qsizetype r = 1; r < records.size(); ++r) {
        const QList<Span>& fields = records.at(r);
        const auto value = [&](int column) {
            return column >= 0 && column < fields.size()
                       ? fieldValue(text_.mid(fields.at(column).begin,
                                              fields.at(column).end - fields.at(column).begin))
                             .trimmed()
                       : QString();
        };
        WorksheetRow row;
        row.line = recordLines.at(r);
        row.participant = number.match(value(identifier)).captured(1);
        row.fullName = value(fullName);
        row.email = value(email);
        bool ok = false;
        const QString most = value(maximum);
        row.decimalComma = most.contains(QLatin1Char(','));
        const double largest =
            QString(most).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        row.maximum = ok && largest > 0 ? largest : 100;
        rows_ << row;
        spans_ << fields;
    }
    replaced_.clear();
    return true;
}

void Worksheet::fill(qsizetype row, std::optional<double> grade, const QString& feedback) {
    const QList<Span>& fields = spans_.at(row);
    const auto put = [&](int column, const QString& text) {
        if (column < fields.size()) {
            QString field = csvField(text);
            // A separator of the file's own is quoted too (tab, colon).
            if (!field.startsWith(QLatin1Char('"')) && text.contains(separator_)) {
                field = QLatin1Char('"') + text + QLatin1Char('"');
            }
            replaced_ << std::pair{fields.at(column), field};
        }
    };
    QString text = grade ? worksheetGrade(*grade, rows_.at(row).maximum) : QString();
    if (rows_.at(row).decimalComma) {
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    }
    put(gradeColumn_, text);
    put(feedbackColumn_, feedback);
}

QByteArray Worksheet::bytes() const {
    QList<std::pair<Span, QString>> changes = replaced_;
    std::sort(changes.begin(), changes.end(),
              [](const auto& a, const auto& b) { return a.first.begin > b.first.begin; });
    QString text = text_;
    for (const auto& [span, field] : changes) {
        text.replace(span.begin, span.end - span.begin, field);
    }
    return text.toUtf8();
}

QString worksheetGrade(double score, double maximum) {
    return QString::number(score / 100 * maximum, 'f', 2);
}

} // namespace orven
