#pragma once
// A class's individual tasks, drawn from a template. A template is a task file
// (key/task_file.h) where a number may be a grid, "A .. B шаг S", and any
// value a list to choose from, "вода | масло". Each student's task is drawn
// uniformly over the grid until it can be worked out, its initial data are
// admissible, it has at least K suitable standard variants and no one else in
// the class has it.
//
// A student's draws follow from the class's draw and the student's own
// identifier, never from the student's place in the list: the class's draw is
// SHA-256 of the template's entries, the class's identifiers (sorted) and a
// number the teacher may mix in, so the same files always give the same tasks
// and another class, even of the same size, other ones. Each student's numbers
// come from std::mt19937_64 started from SHA-256 of the class's draw and the
// identifier, and an index is taken from them by rejection (no modulo bias),
// so that every machine draws the same. Where two students draw the same task
// the one earlier in the list keeps it and the other draws on.

#include "key/task_file.h"
#include "key/variants.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace orven {

// A template line: a list of texts to choose from, or a grid walked as it is
// drawn from, never spelled out.
struct TemplateEntry {
    int line = 0;
    QString key;
    QStringList list; // a list's texts, each once; empty for a grid
    double from = 0;
    double step = 0;
    int gridCount = 0; // values of a grid

    int size() const { return list.isEmpty() ? gridCount : static_cast<int>(list.size()); }
    // The i-th text a task's line may take (a grid's values with twelve
    // significant digits: they drop the last bits 0.0002 + 3·0.00005 picks up).
    QString choice(int i) const;
};

struct TaskTemplate {
    QString fileName;
    int lineCount = 0;
    QList<TemplateEntry> entries;
};

// Reads a template and checks that its first choices make a task file that
// reads (keys, type, numbers) and that each fluid it names is found; false
// with one Russian line naming the file and line.
bool readTaskTemplate(const QByteArray& contents, const QString& fileName,
                      const QStringList& fluidFolders, TaskTemplate& taskTemplate, QString& error);

// The number of different tasks a template can give: its entries' choices
// multiplied (a double, as a grid's product may pass 2^64).
double distinctTasks(const TaskTemplate& taskTemplate);

// The class's draw: the template's entries, the students' identifiers
// (studentIdentifier(), in any order) and the teacher's number.
quint64 classDraw(const TaskTemplate& taskTemplate, const QStringList& identifiers, quint64 number);

struct Assignment {
    int variant = 0;     // 1..: the student's position in the list
    QByteArray taskText; // the drawn task as a task file
    TaskData task;
    PreparedTask prepared;
    // The three best suitable variants kept, each a layout of its own (plate
    // and packs), not one layout with its several nozzles.
    Solution solution;
};

struct AssignOptions {
    quint64 draw = 0; // classDraw()
    int minSuitable = 3;
    QStringList fluidFolders;
    int attemptsPerStudent = 2000;
    // Told how many students have their task, of how many; called from any
    // of the working threads, one call at a time.
    std::function<void(int done, int count)> progress = {};
    // Set (from any thread) to stop the draw: assignTasks then ends as soon
    // as the tasks being worked out are, false with "выдача заданий отменена".
    const std::atomic<bool>* cancel = nullptr;
};

// Draws a task for each identifier, in the list's order, over the machine's
// cores; the same inputs give the same tasks whatever the cores. False with
// one Russian line when the template cannot give that many: how many distinct
// tasks it has, how many suit, and which condition turned most away. The run
// stops as soon as the failure is certain.
bool assignTasks(const TaskTemplate& taskTemplate, const QStringList& identifiers,
                 const AssignOptions& options, QList<Assignment>& assignments, QString& failure);

} // namespace orven
