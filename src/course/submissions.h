#pragma once
// What a class handed in, as the teacher has it: the folder Moodle's
// "Download all submissions" unpacks to, or plain folders and files. In
// Moodle's layouts the folder (or the file name's head) says who uploaded the
// file:
//
//   <Full name>_<participant number>_assignsubmission_file[_]/<file>
//   <Full name>_<participant number>_assignsubmission_file_<file>
//
// (Moodle writes blanks of the name as blanks; a name may hold "_" of its own,
// so the number is the last all-digit field before the marker.) Elsewhere a
// file names nobody and its printed name decides.
//
// A zip named (a file *.zip) is read as its folder would be
// (course/zip_archive.h).
//
// Files from outside: links are not followed, hidden files and folders are
// left alone, and a FIFO or device is listed, never opened.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace orven {

class ZipReader;

struct SubmittedFile {
    QString path;  // on the disk (an entry's: its archive's)
    QString shown; // as the teacher's table names it (the path given, or under it)
    std::shared_ptr<ZipReader> archive; // an entry of this zip
    qsizetype entry = -1;
};

// A submitted file's bytes, at most largest and one more (so that a larger
// one is told apart), never through a link; false with why.
bool readSubmittedFile(const SubmittedFile& file, qint64 largest, QByteArray& contents,
                       QString& error);

struct Submission {
    QString submitter;   // Moodle's full name; empty where the layout names nobody
    QString participant; // Moodle's participant number, with it
    QList<SubmittedFile> files;
    QStringList notFiles; // entries that are no regular file, with why
};

// The Moodle full name and participant number a folder or file name carries
// (its first part: for a flat file, the name up to the marker); false when it
// is not in Moodle's layout. rest is what follows "assignsubmission_file_"
// in a flat file's name.
bool moodleSubmitter(const QString& name, QString& fullName, QString& participant, QString& rest);

// The submissions under the paths named (folders, files, zips), in a stable
// order (by submitter, then file); false with one Russian line when a path
// does not exist, a folder or a zip is empty, a zip cannot be read, or the
// paths hold no file at all.
bool collectSubmissions(const QStringList& paths, QList<Submission>& submissions, QString& error);

} // namespace orven
