#pragma once
// A class's individual tasks, drawn from a template. A template is a task file
// (key/task_file.h) where a number may be a grid, "A .. B шаг S", and any
// value a list to choose from, "вода | масло". Each student's task is drawn
// uniformly over the grid until it can be worked out, its initial data are
// admissible, it has at least K suitable standard variants and no one else in
// the class has it.
//
// Draws are made by std::mt19937_64, started from the draw's number and the
// student's position in the list (mixed by SplitMix64's finaliser), and an
// index is taken from its numbers by rejection (no modulo bias), so that the
// same class, template and draw number give the same tasks on every machine.

#include "key/task_file.h"
#include "key/variants.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orven {

struct TemplateEntry {
    int line = 0;
    QString key;
    QStringList choices; // the texts a task's line may take
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

struct Assignment {
    int variant = 0;     // 1..: the student's position in the list
    QByteArray taskText; // the drawn task as a task file
    TaskData task;
    PreparedTask prepared;
    Solution solution; // the three best suitable variants kept
};

struct AssignOptions {
    quint64 draw = 1;
    int minSuitable = 3;
    QStringList fluidFolders;
    int attemptsPerStudent = 2000;
};

// Draws tasks for count students. False with one Russian line (how many
// tasks were found, and which condition turned most candidates away) when the
// template cannot give that many.
bool assignTasks(const TaskTemplate& taskTemplate, int count, const AssignOptions& options,
                 QList<Assignment>& assignments, QString& failure);

} // namespace orven
