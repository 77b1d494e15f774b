#include "course/zip_archive.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>
#ifdef Q_OS_WIN
#include <io.h>
#endif

namespace orven {

struct ZipReader::Archive {
    zip_t* zip = nullptr;
    ~Archive() {
        if (zip != nullptr) {
            zip_discard(zip);
        }
    }
};

namespace {

// Why a name may not stand for a file of its own: absolute, climbing out,
// a drive or a device of Windows, a control character.
QString badName(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\'))) {
        return QStringLiteral("абсолютный путь");
    }
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (drive.match(name).hasMatch()) {
        return QStringLiteral("путь с именем диска");
    }
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c == QLatin1Char('\\') || c.unicode() == 0x7F) {
            return QStringLiteral("недопустимый знак в имени");
        }
    }
    static const QRegularExpression device(
        QStringLiteral("^(con|prn|aux|nul|com[1-9]|lpt[1-9])(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QStringLiteral("..") || part == QStringLiteral(".")) {
            return QStringLiteral("путь с «%1»").arg(part);
        }
        if (device.match(part).hasMatch()) {
            return QStringLiteral("имя устройства Windows «%1»").arg(part);
        }
    }
    return QString();
}

QString sizeText(qint64 bytes) {
    return bytes >= 1024 * 1024 ? QStringLiteral("%1 МиБ").arg(bytes / (1024 * 1024))
                                : QStringLiteral("%1 байт").arg(bytes);
}

} // namespace

ZipReader::ZipReader() = default;
ZipReader::~ZipReader() = default;

bool ZipReader::open(const QString& path, QString& error, const ZipLimits& limits) {
    path_ = path;
    entries_.clear();
    archive_.reset();
#ifdef Q_OS_WIN
    // Windows: a link or junction at the name is not followed; the name in
    // UTF-16, whatever the code page.
    const QFileInfo info(path);
    const int fd =
        info.isSymLink() || info.isJunction()
            ? -1
            : ::_wopen(reinterpret_cast<const wchar_t*>(path.utf16()), _O_RDONLY | _O_BINARY);
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
#endif
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0) {
            ::close(fd);
        }
        error = QStringLiteral("%1: не читается как обычный файл").arg(path);
        return false;
    }
    int code = 0;
    zip_t* zip = zip_fdopen(fd, ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (zip == nullptr) {
        ::close(fd);
        error = QStringLiteral("%1: не архив zip или архив повреждён").arg(path);
        return false;
    }
    archive_ = std::make_unique<Archive>();
    archive_->zip = zip;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    if (count < 0 || count > limits.entries) {
        error = QStringLiteral("%1: в архиве %2 записей, больше предела %3")
                    .arg(path)
                    .arg(count)
                    .arg(limits.entries);
        archive_.reset();
        return false;
    }
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        ZipEntry entry;
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_SIZE) ||
            !(stat.valid & ZIP_STAT_COMP_SIZE)) {
            entry.name = QStringLiteral("запись %1").arg(i + 1);
            entry.refused = QStringLiteral("запись не читается");
            entries_ << entry;
            continue;
        }
        entry.name = QString::fromUtf8(stat.name);
        entry.size = static_cast<qint64>(stat.size);
        entry.folder = entry.name.endsWith(QLatin1Char('/'));
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(zip, static_cast<zip_uint64_t>(i), 0, &system,
                                             &attributes) != 0) {
            system = 0;
            attributes = 0;
        }
        // A Unix entry's mode, in the high half: its file type a link. The
        // values are Unix's own whatever system reads the archive.
        constexpr zip_uint32_t unixFileType = 0170000;
        constexpr zip_uint32_t unixLink = 0120000;
        const bool link =
            system == ZIP_OPSYS_UNIX && ((attributes >> 16) & unixFileType) == unixLink;
        const auto packed = static_cast<qint64>(stat.comp_size);
        if (const QString bad = badName(entry.name); !bad.isEmpty()) {
            entry.refused = bad;
        } else if (link) {
            entry.refused = QStringLiteral("ссылка");
        } else if (const zip_uint32_t mode = (attributes >> 16) & S_IFMT;
                   system == ZIP_OPSYS_UNIX && mode != 0 && mode != S_IFREG && mode != S_IFDIR) {
            entry.refused = QStringLiteral("не обычный файл");
        } else if (entry.size > limits.entryBytes) {
            entry.refused = QStringLiteral("распакованный %1, больше предела %2")
                                .arg(sizeText(entry.size), sizeText(limits.entryBytes));
        } else if (entry.size > limits.ratioFrom &&
                   static_cast<double>(entry.size) > limits.ratio * static_cast<double>(packed)) {
            entry.refused = QStringLiteral("сжат больше чем в %1 раз").arg(limits.ratio);
        } else if (total + entry.size > limits.totalBytes) {
            entry.refused = QStringLiteral("вместе с прежними записями больше предела %1")
                                .arg(sizeText(limits.totalBytes));
        } else {
            total += entry.size;
        }
        entries_ << entry;
    }
    return true;
}

bool ZipReader::read(qsizetype index, QByteArray& contents, QString& error) {
    const std::lock_guard<std::mutex> lock(reading_);
    contents.clear();
    if (!archive_ || index < 0 || index >= entries_.size() ||
        !entries_.at(index).refused.isEmpty()) {
        error = QStringLiteral("запись не читается");
        return false;
    }
    const ZipEntry& entry = entries_.at(index);
    zip_file_t* file = zip_fopen_index(archive_->zip, static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr) {
        error = QStringLiteral("%1: %2: запись не открывается").arg(path_, entry.name);
        return false;
    }
    // One byte more than it says it holds: a longer entry is caught, not read on.
    contents.resize(entry.size + 1);
    qint64 done = 0;
    while (done < contents.size()) {
        const zip_int64_t got = zip_fread(file, contents.data() + done,
                                          static_cast<zip_uint64_t>(contents.size() - done));
        if (got < 0) {
            zip_fclose(file);
            contents.clear();
            error = QStringLiteral("%1: %2: запись повреждена").arg(path_, entry.name);
            return false;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    const bool closed = zip_fclose(file) == 0;
    if (!closed || done != entry.size) {
        contents.clear();
        error = QStringLiteral("%1: %2: запись повреждена").arg(path_, entry.name);
        return false;
    }
    contents.resize(done);
    return true;
}

bool writeZip(const QString& path, const QList<ZipItem>& items, QString& error) {
    int code = 0;
#ifdef Q_OS_WIN
    // libzip on Windows takes a name in UTF-8 (not the ANSI code page).
    const QByteArray name = path.toUtf8();
#else
    const QByteArray name = QFile::encodeName(path);
#endif
    zip_t* zip = zip_open(name.constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (zip == nullptr) {
        error = QStringLiteral("файл %1 не удалось записать").arg(path);
        return false;
    }
    for (const ZipItem& item : items) {
        zip_source_t* source = zip_source_buffer(
            zip, item.contents.constData(), static_cast<zip_uint64_t>(item.contents.size()), 0);
        const QByteArray name = item.name.toUtf8();
        const zip_int64_t index =
            source == nullptr ? -1 : zip_file_add(zip, name.constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            if (source != nullptr) {
                zip_source_free(source);
            }
            zip_discard(zip);
            error = QStringLiteral("файл %1 не удалось записать").arg(path);
            return false;
        }
        zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0);
    }
    // libzip writes the archive beside its place and renames it there at the close.
    if (zip_close(zip) != 0) {
        zip_discard(zip);
        error = QStringLiteral("файл %1 не удалось записать").arg(path);
        return false;
    }
    return true;
}

} // namespace orven
