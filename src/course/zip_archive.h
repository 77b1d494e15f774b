#pragma once
// Zip archives from outside (Moodle's "Download all submissions") read in
// memory with libzip, never unpacked onto the disk by their names, and zips
// written for Moodle (feedback files). An archive is untrusted: its entries'
// names, kinds and sizes are checked before anything is read, each against
// the limits below; an entry that fails one is refused with why and the rest
// stay readable.

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <mutex>

namespace orven {

struct ZipLimits {
    qint64 entries = 10000;                   // more: the whole archive is refused
    qint64 entryBytes = 64 * 1024 * 1024;     // an entry unpacked: a report is far less
    qint64 totalBytes = 1024LL * 1024 * 1024; // every entry unpacked together
    double ratio = 100;                       // unpacked to packed, for entries over ratioFrom
    qint64 ratioFrom = 1024 * 1024;
};

struct ZipEntry {
    QString name;    // as the archive names it ("a/b.pdf"), UTF-8
    qint64 size = 0; // unpacked, as the archive says
    bool folder = false;
    QString refused; // why it is not read; empty when it may be
};

class ZipReader {
public:
    ZipReader();
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Opens the file (not through a link) and checks every entry; false with
    // one Russian line when it is no zip or has too many entries.
    bool open(const QString& path, QString& error, const ZipLimits& limits = {});
    const QList<ZipEntry>& entries() const { return entries_; }
    // The unpacked bytes of an entry that is not refused; false with why
    // (a damaged entry, one longer than it said). Threads may call it at
    // once: the archive is read by one at a time.
    bool read(qsizetype index, QByteArray& contents, QString& error);

private:
    struct Archive;
    std::unique_ptr<Archive> archive_;
    std::mutex reading_; // libzip's archive is for one thread at a time
    QList<ZipEntry> entries_;
    QString path_;
};

struct ZipItem {
    QString name; // "folder/file.pdf"
    QByteArray contents;
};
// Writes the items as a new zip (deflated) to path, whole or not at all.
bool writeZip(const QString& path, const QList<ZipItem>& items, QString& error);

} // namespace orven
