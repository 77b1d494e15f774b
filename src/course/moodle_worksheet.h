#pragma once
// Moodle's offline grading worksheet ("Download grading worksheet"): a CSV of
// the assignment's participants, read and given back with only the grade and
// feedback cells filled. Every other byte — headers, rows and their order,
// other cells, quoting, separator, line ends, a byte order mark — stays as it
// came, so that Moodle's upload finds what it wrote.
//
// The columns are found by their headers in English or Russian:
// Identifier/Идентификатор ("Participant 123"/"Участник 123"), Full name,
// Email address/Адрес электронной почты, Grade/Оценка, Maximum grade/
// Максимальная оценка, and the feedback column ("Feedback comments", or a
// header that begins with "Отзыв").

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace orven {

struct WorksheetRow {
    int line = 0;        // in the file, for messages
    QString participant; // the number of "Participant 123"
    QString fullName;
    QString email;
    double maximum = 100;      // the row's maximum grade
    bool decimalComma = false; // as the maximum is written ("5,00"): the grade is too
};

class Worksheet {
public:
    // false with one Russian line naming the file and line.
    bool read(const QByteArray& contents, const QString& fileName, QString& error);
    const QList<WorksheetRow>& rows() const { return rows_; }
    // Row's grade (empty: left empty) and feedback.
    void fill(qsizetype row, std::optional<double> grade, const QString& feedback);
    // The worksheet as it came, with the cells filled.
    QByteArray bytes() const;

private:
    struct Span {
        qsizetype begin = 0;
        qsizetype end = 0;
    };
    QString text_;
    QChar separator_;
    QList<QList<Span>> spans_; // of each data row's fields in text_
    QList<WorksheetRow> rows_;
    int gradeColumn_ = -1;
    int feedbackColumn_ = -1;
    QList<std::pair<Span, QString>> replaced_;
};

// A score of 100 on the row's scale, two decimals with a point ("5.00"); a
// row whose maximum has a decimal comma gets one too ("5,00").
QString worksheetGrade(double score, double maximum);

} // namespace orven
