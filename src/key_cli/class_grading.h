#pragma once
// A class's handed-in files graded against its variants: every file read
// (each report in a reader under limits, on every core), the reports tied to
// their students and graded, and what the learning system takes back — the
// filled worksheet, the feedback files. What orven-key grade prints and
// writes, and what a window shows and saves the same way.

#include "course/grading.h"
#include "course/moodle_worksheet.h"
#include "course/submissions.h"
#include "course/zip_archive.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>
#include <utility>

namespace orven {

struct GradingRequest {
    VariantsTable table;
    std::optional<Worksheet> worksheet; // the one downloaded from Moodle, when given
    QStringList handedIn;               // folders, zips and files
    GradingOptions options;
    // Told how many files are read, of how many; from any of the working
    // threads, one call at a time.
    std::function<void(int done, int count)> progress = {};
    // Set (from any thread) to stop: the files being read are finished and
    // no others begun; gradeHandedIn then says "проверка отменена".
    const std::atomic<bool>* cancel = nullptr;
};

struct ClassGrading {
    VariantsTable table;
    GradingOptions options;
    QList<Submission> submissions;
    QList<ReadReport> reports;
    QList<QStringList> notReports; // a submission's files that are no report, with why
    ClassGrades grades;
    std::optional<Worksheet> worksheet;
    QList<int> worksheetRows; // each worksheet row's student (-1: none)
    // Each student's Moodle full name and participant number: from what was
    // handed in, else from the worksheet.
    QList<std::pair<QString, QString>> moodleNames;
};

// Reads and grades what was handed in; false with one Russian line when it
// cannot be collected at all, or when cancelled.
bool gradeHandedIn(const GradingRequest& request, ClassGrading& grading, QString& error);

// The table orven-key grade prints, name being the variants table's file;
// clean is set when every student scores 100 and nothing is left over.
QStringList gradingLines(const ClassGrading& grading, const QString& name, bool& clean);

// The worksheet as downloaded, with each known student's grade and feedback.
QByteArray filledWorksheet(const ClassGrading& grading);

// A student's own report checked against the student's own variant, under
// the student's own name; empty when the student has no graded report.
QStringList studentCheckLines(const ClassGrading& grading, int student);

// The feedback files for Moodle's "upload multiple feedback files in a zip",
// a check a student who handed in a report; unplaced names those without a
// participant number. False with one Russian line when a page cannot be made.
bool feedbackFiles(const ClassGrading& grading, QList<ZipItem>& items, QStringList& unplaced,
                   QString& error);

} // namespace orven
