#pragma once
// Reading a file that comes from outside the program (a left journal, a
// teacher's table, a file met in a folder) without trusting it: a link at its
// name is not followed, a FIFO does not block, a device is not read, and never
// more than a limit is read.

#include <QByteArray>
#include <QString>

namespace orven {

// What identifies one file on the disk across runs.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds since the epoch

    bool operator==(const FileIdentity&) const = default;
};

enum class FileRead {
    Read,       // data holds the whole file
    NotRegular, // a link, a folder, a FIFO, a device...
    NotOwned,   // another user's file, where only the user's own are taken
    TooLarge,   // larger than the limit; left alone
    Unreadable,
};

enum class FileOwner { Anyone, User };

// Reads the regular file at path (a link there is not followed), at most
// limit bytes; identity, when given, is filled whenever the file was opened.
FileRead readBoundedFile(const QString& path, qint64 limit, QByteArray* data,
                         FileIdentity* identity, FileOwner owner);

// A file the user names (on a command line, in a dialog) read the same way;
// false with one Russian line: not found, not a regular file, unreadable, or
// larger than limit ("больше 1 МиБ, предел размера списка группы", kindOf
// the file's kind in the genitive).
bool readNamedFile(const QString& path, qint64 limit, const QString& kindOf, QByteArray& contents,
                   QString& error);
// The line of a file past its limit.
QString tooLargeText(const QString& shown, qint64 limit, const QString& kindOf);

} // namespace orven
