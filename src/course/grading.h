#pragma once
// A class's reports checked at once against the variants assign gave out:
// each report tied to its student — to who handed it in where Moodle's layout
// says so (course/submissions.h), else by the name printed in it, else by
// whose variant its data are — checked as check --task does, and each student
// given a verdict, a score and a line of feedback.
//
// The score: 30 for the student's own variant's data, 30 when every printed
// number agrees with the recalculation and every row belongs to the report,
// 40 when the last block is a suitable variant (no warning); nothing for a
// report without a results block. A report earns its score only when it is
// the student's own work: where the signature is not the submitter's, the data
// are another student's variant, the same report came from another student,
// the student handed in several, or the report was tied by its data alone,
// the row is held — no score, the evidence in the teacher's flags, and
// feedback that names nobody else. A student without a report has no score
// either, unless missing reports are to count as 0.

#include "course/class_list.h"
#include "course/submissions.h"
#include "key/report_check.h"

#include <QHash>
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
    QString path; // as the teacher's table names it
    ReportCheck check;
    int submission = -1; // the submission it came in (-1: none)
    QByteArray digest;   // of the file's bytes, the same file handed in twice
};

struct GradingOptions {
    double tolerance = 0.02;    // relative, for the initial data
    bool missingAsZero = false; // a student without a report scores 0, not nothing
    // Moodle's participant numbers known to be students (from the grading
    // worksheet): they decide before the submitter's name.
    QHash<QString, int> participants;
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
    QStringList flags;        // the evidence, for the teacher alone
    bool held = false;        // the teacher decides: no score is written
    std::optional<int> score; // empty: held, or no report
    QString feedback;         // for the student alone: names nobody else
};

struct ClassGrades {
    QList<StudentGrade> students; // in the list's order
    QStringList unassigned;       // reports tied to no student, with why
    QList<int> submitters;        // each submission's student (-1: none)
};

// The student of the list whose name this is (a printed or Moodle full name,
// in either order), or -1 when there is none or more than one.
int studentNamed(const VariantsTable& table, const QString& name);

// Normalised words of a name as printed: lower case, Latin look-alike letters
// read as Cyrillic, ё as е, "гр."/"группа" and punctuation dropped.
QStringList nameWords(const QString& text);

ClassGrades gradeClass(const VariantsTable& table, const QList<Submission>& submissions,
                       const QList<ReadReport>& reports, const GradingOptions& options);

// The marks as a gradebook imports them: the list's email and idnumber
// columns (where it has them), the name, the mark under `item` (empty where
// there is none) and the feedback, with the separator given, a byte order
// mark where asked.
QByteArray gradebookCsv(const VariantsTable& table, const ClassGrades& grades, const QString& item,
                        QChar separator, bool byteOrderMark = false);

} // namespace orven
