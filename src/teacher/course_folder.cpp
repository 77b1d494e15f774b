#include "teacher/course_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace orven {

namespace {

const QString courseKey = QStringLiteral("course/folder");

} // namespace

bool CourseFolder::open(const QString& path, QString& error) {
    const QFileInfo info(path);
    if (info.exists() && !info.isDir()) {
        error = QStringLiteral("%1 — не папка").arg(path);
        return false;
    }
    if (!QDir().mkpath(path)) {
        error = QStringLiteral("папку %1 нельзя создать").arg(path);
        return false;
    }
    if (!QFileInfo(path).isWritable()) {
        error = QStringLiteral("в папку %1 нельзя писать").arg(path);
        return false;
    }
    path_ = QFileInfo(path).absoluteFilePath();
    return true;
}

QString CourseFolder::filePath(const QString& name) const {
    return QDir(path_).filePath(name);
}

QString CourseFolder::remembered() {
    const QString path = QSettings().value(courseKey).toString();
    return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

void CourseFolder::remember(const QString& path) {
    QSettings().setValue(courseKey, path);
}

} // namespace orven
