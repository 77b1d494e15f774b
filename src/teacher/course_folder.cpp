#include "teacher/course_folder.h"

#include "core/bounded_file.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QProgressBar>
#include <QSettings>
#include <QUrl>

namespace orven {

namespace {

const QString courseKey = QStringLiteral("course/folder");

// The program's own settings (~/.config/orven/orven-teacher.conf, or the
// registry's HKCU\Software\orven\orven-teacher), whatever the application
// object is called.
QSettings settings() {
    return QSettings(QStringLiteral("orven"), QStringLiteral("orven-teacher"));
}

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
    const QString path = settings().value(courseKey).toString();
    return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

void CourseFolder::remember(const QString& path) {
    settings().setValue(courseKey, path);
}

bool readCourseFile(const QString& path, const InputKind& kind, QByteArray& contents,
                    QString& error) {
    return readNamedFile(path, kind.largest, QString::fromUtf16(kind.kindOf), contents, error);
}

std::function<void(int done, int count)> progressOn(QProgressBar* bar) {
    return [bar](int done, int count) {
        QMetaObject::invokeMethod(
            bar,
            [bar, done, count] {
                bar->setMaximum(count);
                bar->setValue(done);
            },
            Qt::QueuedConnection);
    };
}

QString droppedLocalPath(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 ||
        !data->urls().first().isLocalFile()) {
        return QString();
    }
    return data->urls().first().toLocalFile();
}

} // namespace orven
