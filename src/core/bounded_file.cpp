#include "core/bounded_file.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orven {

#ifdef Q_OS_WIN

// Windows: a link or junction at the name is not followed, only a regular
// file is read, and every file of the user's folders counts as the user's own
// (their access is the user's profile's).
FileRead readBoundedFile(const QString& path, qint64 limit, QByteArray* data,
                         FileIdentity* identity, FileOwner /*owner*/) {
    data->clear();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        return FileRead::Unreadable;
    }
    if (info.isSymLink() || info.isJunction() || !info.isFile()) {
        return FileRead::NotRegular;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return FileRead::Unreadable;
    }
    if (identity != nullptr) {
        *identity = {0, static_cast<quint64>(qHash(info.absoluteFilePath())), file.size(),
                     info.lastModified().toMSecsSinceEpoch() * 1000000};
    }
    if (file.size() > limit) {
        return FileRead::TooLarge;
    }
    *data = file.read(limit + 1);
    if (data->size() > limit) {
        data->clear();
        return FileRead::TooLarge;
    }
    return FileRead::Read;
}

#else

namespace {

FileIdentity identityOf(const struct stat& status) {
    return {static_cast<quint64>(status.st_dev), static_cast<quint64>(status.st_ino),
            static_cast<qint64>(status.st_size),
            static_cast<qint64>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

// The whole of an open file, at most limit bytes; false when it is larger
// (it may have grown since it was looked at) or a read fails.
bool readAtMost(int descriptor, qint64 limit, QByteArray* data) {
    data->clear();
    char buffer[65536];
    while (true) {
        const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (data->size() + got > limit) {
            return false;
        }
        data->append(buffer, got);
    }
}

} // namespace

FileRead readBoundedFile(const QString& path, qint64 limit, QByteArray* data,
                         FileIdentity* identity, FileOwner owner) {
    data->clear();
    const QByteArray name = QFile::encodeName(path);
    const int descriptor =
        ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        return errno == ELOOP ? FileRead::NotRegular : FileRead::Unreadable;
    }
    struct stat status {};
    FileRead result = FileRead::Read;
    if (::fstat(descriptor, &status) != 0) {
        result = FileRead::Unreadable;
    } else if (!S_ISREG(status.st_mode)) {
        result = FileRead::NotRegular;
    } else if (owner == FileOwner::User && status.st_uid != ::geteuid()) {
        result = FileRead::NotOwned;
    } else if (status.st_size > limit) {
        result = FileRead::TooLarge;
    } else if (!readAtMost(descriptor, limit, data)) {
        data->clear();
        result = FileRead::TooLarge;
    }
    if (identity != nullptr) {
        *identity = identityOf(status);
    }
    ::close(descriptor);
    return result;
}

#endif

QString tooLargeText(const QString& shown, qint64 limit, const QString& kindOf) {
    return QStringLiteral("%1: больше %2 МиБ, предел размера %3")
        .arg(shown)
        .arg(limit / (1024 * 1024))
        .arg(kindOf);
}

bool readNamedFile(const QString& path, qint64 limit, const QString& kindOf, QByteArray& contents,
                   QString& error) {
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
        error = QStringLiteral("файл %1 не найден").arg(path);
        return false;
    }
    switch (readBoundedFile(path, limit, &contents, nullptr, FileOwner::Anyone)) {
    case FileRead::Read:
        return true;
    case FileRead::TooLarge:
        error = tooLargeText(path, limit, kindOf);
        return false;
    case FileRead::NotRegular:
        error =
            QStringLiteral("%1 — не обычный файл (ссылка, папка, канал или устройство)").arg(path);
        return false;
    case FileRead::NotOwned:
    case FileRead::Unreadable:
        break;
    }
    error = QStringLiteral("файл %1 нельзя прочитать").arg(path);
    return false;
}

} // namespace orven
