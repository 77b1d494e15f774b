#include "report/journal_files.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <QStandardPaths>

#include <cerrno>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orven {

namespace {

// The record of recovered journals stays small: the newest lines are kept.
constexpr int recordedJournalsKept = 1000;
constexpr qint64 recordSizeLimit = 256 * 1024;

} // namespace

QString journalStateFolder() {
#ifdef Q_OS_WIN
    // The user's local application data (%LOCALAPPDATA%\orven).
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/orven"));
#else
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return QDir::cleanPath(base + QStringLiteral("/orven"));
#endif
}

bool makePrivateFolder(const QString& path) {
    if (path.isEmpty() || !QDir::isAbsolutePath(path)) {
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
#ifdef Q_OS_WIN
    // A folder of the user's profile is the user's own; it must only be a
    // real folder, not a link or junction to somewhere else.
    QDir().mkpath(path);
    const QFileInfo folder(path);
    return folder.isDir() && !folder.isSymLink() && !folder.isJunction();
#else
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::geteuid()) {
        return false;
    }
    if ((status.st_mode & 077) != 0 && ::chmod(name.constData(), 0700) != 0) {
        return false;
    }
    return true;
#endif
}

QStringList journalFolderPlaces() {
    QStringList places{journalStateFolder()};
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString inRuntime = QDir::cleanPath(runtime + QStringLiteral("/orven"));
    if (QDir::isAbsolutePath(runtime) && !places.contains(inRuntime)) {
        places << inRuntime;
    }
    return places;
}

QStringList journalFolders() {
    QStringList folders;
    for (const QString& folder : journalFolderPlaces()) {
        if (makePrivateFolder(folder)) {
            folders << folder;
        }
    }
    return folders;
}

QString reportNameStamp(const QString& fileName) {
    static const QRegularExpression report(
        QStringLiteral("^orven-report-(\\d{4}-\\d{2}-\\d{2}-\\d{6})(-\\d{1,4})?\\.pdf$"));
    static const QRegularExpression journal(QStringLiteral(
        "^\\.?orven-report-(\\d{4}-\\d{2}-\\d{2}-\\d{6})(-\\d{1,4})?-\\d{1,10}\\.journal$"));
    QRegularExpressionMatch match = report.match(fileName);
    if (!match.hasMatch()) {
        match = journal.match(fileName);
    }
    return match.captured(1);
}

QString recoveredJournalsRecord() {
    return journalStateFolder() + QStringLiteral("/recovered-journals");
}

RecoveredJournals::RecoveredJournals(const QString& recordPath) : path_(recordPath) {
    QByteArray data;
    if (readJournalFile(path_, recordSizeLimit, &data, nullptr) != JournalFileRead::Read) {
        return;
    }
    for (const QByteArray& line : data.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 4) {
            continue;
        }
        bool ok[4] = {};
        const FileIdentity identity{fields[0].toULongLong(&ok[0]), fields[1].toULongLong(&ok[1]),
                                    fields[2].toLongLong(&ok[2]), fields[3].toLongLong(&ok[3])};
        if (ok[0] && ok[1] && ok[2] && ok[3]) {
            known_ << identity;
        }
    }
}

bool RecoveredJournals::add(const FileIdentity& identity) {
    known_ << identity;
    if (known_.size() > recordedJournalsKept) {
        known_.remove(0, known_.size() - recordedJournalsKept);
    }
    if (!makePrivateFolder(QFileInfo(path_).absolutePath())) {
        return false;
    }
    QByteArray data;
    for (const FileIdentity& known : known_) {
        data += QByteArray::number(known.device) + ' ' + QByteArray::number(known.inode) + ' ' +
                QByteArray::number(known.size) + ' ' + QByteArray::number(known.modified) + '\n';
    }
    QSaveFile file(path_);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

} // namespace orven
