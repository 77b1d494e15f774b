#pragma once
// Where report journals are kept and how a journal left by an earlier run is
// read back. A journal is the user's own business: it lives in a folder only
// the user can enter ($XDG_STATE_HOME/orven, else ~/.local/state/orven; the
// session's runtime folder $XDG_RUNTIME_DIR/orven when that cannot be used),
// and a left one is only taken when it is a regular file of the user's own, not
// reached through a link and not larger than a report can be. Nothing read from
// a journal chooses where its recovered report goes: only the time stamp of
// the report's name is taken from it, and only when it has the report names'
// shape.

#include "core/bounded_file.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orven {

// The largest journal read back. A results block journals about 6 KB and a
// long class session prints a few dozen of them; 8 MB is some 1,300 blocks,
// and is set on paper in about 3 s on a 2-core machine (beside the menu).
constexpr qint64 journalSizeLimit = 8 * 1024 * 1024;

// The journal file names: in the private folders, and beside the report where
// earlier versions of the program kept them (only ever read back).
inline const QString journalNamePattern = QStringLiteral("orven-report-*.journal");
inline const QString oldJournalNamePattern = QStringLiteral(".orven-report-*.journal");

// The state folder of the program ($XDG_STATE_HOME/orven, an absolute
// XDG_STATE_HOME only, else ~/.local/state/orven); not created.
QString journalStateFolder();
// Where journals are kept, in order of preference: the state folder, and
// $XDG_RUNTIME_DIR/orven when that variable is an absolute path; not created.
QStringList journalFolderPlaces();
// The folders a journal may be kept in, in order of preference, each created
// when missing (mode 0700) and taken only when it is a real folder of the
// user's own that nobody else can enter.
QStringList journalFolders();
// Makes path such a folder (creating it, and taking group and other access
// away from a folder of the user's own); false when it cannot be one.
bool makePrivateFolder(const QString& path);

// A journal is read as a file from outside, and only when it is the user's own.
using JournalFileRead = FileRead;
inline JournalFileRead readJournalFile(const QString& path, qint64 limit, QByteArray* data,
                                       FileIdentity* identity) {
    return readBoundedFile(path, limit, data, identity, FileOwner::User);
}

// The time stamp (yyyy-MM-dd-HHmmss) of a report's name
// ("orven-report-<stamp>.pdf", "-<n>" allowed before ".pdf") or of a journal's
// name ("[.]orven-report-<stamp>[-<n>]-<pid>.journal"); empty when the name
// has another shape.
QString reportNameStamp(const QString& fileName);

// The journals whose reports were recovered but which could not be removed:
// kept as lines in a file of the state folder so that they are recovered once.
class RecoveredJournals {
public:
    explicit RecoveredJournals(const QString& recordPath);
    bool contains(const FileIdentity& identity) const { return known_.contains(identity); }
    // Adds and writes the record; false when it cannot be written.
    bool add(const FileIdentity& identity);

private:
    QString path_;
    QList<FileIdentity> known_;
};

// The record of the journals recovered once, in the state folder.
QString recoveredJournalsRecord();

} // namespace orven
