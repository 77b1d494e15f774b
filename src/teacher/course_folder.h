#pragma once
// A course is a folder: the class list, the task template, the drawn set and
// the grading results in it are the files orven-key reads and writes, so the
// window and the command line work on one course. The course last opened is
// remembered between runs.

#include "key_cli/command_support.h"

#include <QString>

#include <functional>

class QMimeData;
class QProgressBar;

namespace orven {

class CourseFolder {
public:
    // The class list as it was imported, byte for byte.
    static inline const QString classListName = QStringLiteral("список.csv");

    // Opens the folder, creating it when missing; false with one Russian line.
    bool open(const QString& path, QString& error);
    bool isOpen() const { return !path_.isEmpty(); }
    QString path() const { return path_; }
    QString filePath(const QString& name) const;

    // The course of the last run (empty when none, or when it is gone), and
    // this one remembered for the next.
    static QString remembered();
    static void remember(const QString& path);

private:
    QString path_;
};

// A file of the course read within its kind's bound, never through a link;
// false with one Russian line.
bool readCourseFile(const QString& path, const InputKind& kind, QByteArray& contents,
                    QString& error);

// Progress told from a worker thread, shown on the bar in the window's own.
std::function<void(int done, int count)> progressOn(QProgressBar* bar);

// The one local file or folder a drop carries, or nothing.
QString droppedLocalPath(const QMimeData* data);

} // namespace orven
