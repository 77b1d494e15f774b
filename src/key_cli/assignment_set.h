#pragma once
// A class's set of tasks written into its folder: each student's design
// file, the task sheets, the teacher's key and the table grade reads, whole
// or not at all. What orven-key assign writes, and what a window may write
// the same way.

#include "course/assignment.h"
#include "course/class_list.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace orven {

// The set's files in its folder: варианты.csv, задания.pdf, ключ.pdf and the
// folder варианты of design files.
const QStringList& assignmentSetFiles();
// Those of them a folder already holds.
QStringList assignmentSetFilesIn(const QString& folder);

struct AssignmentSetRequest {
    ClassList list;
    TaskTemplate taskTemplate;
    QStringList fluidFolders;
    QString classShown;    // the class list as the key's cover names it
    QString templateShown; // the template likewise
    QString outFolder;
    QString course; // the sheets' heading
    quint64 drawNumber = 0;
    int minSuitable = 3;
    int perPage = 2; // sheets to an A4 page: 1, 2 or 4
    bool withValues = false;
    bool excel = false; // варианты.csv with ";" and a byte order mark
    std::function<void(int done, int count)> progress = {};
    // Set from another thread to stop the draw (assignTasks).
    const std::atomic<bool>* cancel = nullptr;
};

struct AssignmentSet {
    quint64 classDraw = 0;
    QList<Assignment> assignments; // in the list's order
    QStringList lines;             // a line a student: variant, student, suitable variants
};

enum class SetOutcome { Written, TemplateFailed, NotWritten };

// Draws the tasks and writes the set into request.outFolder, replacing the
// set there; error says why when the template cannot serve the class or the
// set could not be written (nothing is then changed in the folder).
SetOutcome writeAssignmentSet(const AssignmentSetRequest& request, AssignmentSet& set,
                              QString& error);

} // namespace orven
