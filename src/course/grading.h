#pragma once
// A class's reports checked at once against the variants assign gave out:
// each report tied to its student (by the name printed in it, else by whose
// variant its data are), checked as check --task does, and each student given
// a verdict, a score and a line of feedback.
//
// The score: 30 for the student's own variant's data, 30 when every printed
// number agrees with the recalculation and every row belongs to the report,
// 40 when the last block is a suitable variant (no warning); 0 without a
// report. Flags (a copy, another student's variant, several reports) do not
// change it: the teacher weighs them.

#include "course/class_list.h"
#include "key/report_check.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace orven {

struct ClassVariant {
    Student student;
    QString number; // as assign numbered it
    DesignData design;
};

struct VariantsTable {
    ClassList list;
    QList<ClassVariant> variants; // in the list's order
};

// Reads the варианты.csv that assign wrote; false with one Russian line.
bool readVariantsTable(const QByteArray& contents, const QString& fileName, VariantsTable& table,
                       QString& error);

// A report as read from its file.
struct ReadReport {
    QString path;
    ReportCheck check;
};

struct StudentGrade {
    QList<int> reports; // indexes of the reports tied to the student
    int graded = -1;    // the one graded (the best, when there are several)
    bool ownData = false;
    QString dataDifference; // the first, when not own
    bool numbersAgree = false;
    QString numbersFinding; // the first, when they do not
    bool finalSuitable = false;
    QString finalFinding; // why the last block does not suit
    int rank = 0;         // the last block's place among the variant's suitable ones
    qint64 suitableCount = 0;
    QStringList flags;
    int score = 0;
    QString feedback;
};

struct ClassGrades {
    QList<StudentGrade> students; // in the list's order
    QStringList unassigned;       // reports tied to no student, with why
};

// Normalised words of a name as printed: lower case, Latin look-alike letters
// read as Cyrillic, ё as е, "гр."/"группа" and punctuation dropped.
QStringList nameWords(const QString& text);

ClassGrades gradeClass(const VariantsTable& table, const QList<ReadReport>& reports,
                       double tolerance);

// The marks as a gradebook imports them: the list's email and idnumber
// columns (where it has them), the name, the mark under `item` and the
// feedback, with the separator given.
QByteArray gradebookCsv(const VariantsTable& table, const ClassGrades& grades, const QString& item,
                        QChar separator);

} // namespace orven
