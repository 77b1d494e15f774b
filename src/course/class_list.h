#pragma once
// A class list as a learning system or a spreadsheet exports it: CSV in UTF-8
// (a byte-order mark allowed), comma- or semicolon-separated (whichever the
// header row has more of), quoted as RFC 4180 has it, a header row first.
// The columns the key needs: фамилия (or name), группа (or group), and an
// identifier the learning system knows, email and/or idnumber (either may be
// empty for a student, but no two students share one). Other columns are kept
// as they are.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orven {

// The rows of CSV text, each a list of fields, and the line each starts on
// (blank lines are skipped); false with a Russian line (naming fileName and
// the line) when a quote is left open.
bool parseCsv(const QString& text, QChar separator, QList<QStringList>& rows, QList<int>& rowLines,
              const QString& fileName, QString& error);
// ',' or ';': the one the first line has more of outside quotes.
QChar csvSeparator(const QString& text);

struct Student {
    QStringList fields; // the row as it was, in the header's order
    QString name;
    QString group;
    QString email;
    QString idnumber;
};

struct ClassList {
    QStringList header;
    QList<Student> students; // in the list's order
    int nameColumn = -1;
    int groupColumn = -1;
    int emailColumn = -1;    // -1: no such column
    int idnumberColumn = -1; // -1: no such column
};

// The largest class list read: a whole year's stream fits many times over.
constexpr qint64 largestClassList = 1 << 20;
constexpr int mostStudents = 2000;

bool readClassList(const QByteArray& contents, const QString& fileName, ClassList& list,
                   QString& error);

} // namespace orven
