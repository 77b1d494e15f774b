#pragma once
// A class list as it comes: Moodle's participants export (English or Russian
// headers: First name/Имя, Last name/Фамилия, Groups/Группы, Email
// address/Адрес электронной почты, ID number), the assignment's grading
// worksheet (Identifier, Full name, Email address), or a list made by hand
// (фамилия or name, группа or group, email and/or idnumber). CSV in UTF-8 (a
// byte-order mark allowed) or, when it is not UTF-8, Windows-1251 as Excel
// saves it on a Russian Windows; separated by ",", ";" or tab (whichever the
// header row has most of), quoted as RFC 4180 has it, a header row first;
// rows of nothing but separators are skipped. The surname and first names are
// joined as a person writes them ("Иванов Иван Сергеевич"). Each student needs
// an identifier a learning system knows — email, idnumber or Moodle's
// participant number — and no two share one; a group is needed in a list
// made by hand. Other columns are kept as they are.

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
// ',', ';' or tab: the one the first line has most of outside quotes.
QChar csvSeparator(const QString& text);

struct Student {
    QStringList fields; // the row as it was, in the header's order
    QString name;
    QString group;
    QString email;
    QString idnumber;
    QString participant; // Moodle's participant number, from a grading worksheet
    int line = 0;        // the file's line the row starts on
};

struct ClassList {
    QStringList header;
    QList<Student> students; // in the list's order
    int nameColumn = -1;
    int groupColumn = -1;
    int emailColumn = -1;    // -1: no such column
    int idnumberColumn = -1; // -1: no such column
    int participantColumn = -1;
    // How the file was written, for a table made from it to open alike.
    QChar separator = QLatin1Char(',');
    bool byteOrderMark = false;
    bool windows1251 = false;
    // What the reader noticed without refusing: the encoding it took, namesakes
    // in one group. One Russian line each, naming the file.
    QStringList notes;
};

// The identifier a student's task is drawn by: email, idnumber or
// participant number, whichever the list has first, else the name and group;
// written with its kind ("email i@example.org"), letters in lower case.
QString studentIdentifier(const Student& student);

// The largest class list read: a whole year's stream fits many times over.
constexpr qint64 largestClassList = 1 << 20;
constexpr int mostStudents = 2000;

bool readClassList(const QByteArray& contents, const QString& fileName, ClassList& list,
                   QString& error);

} // namespace orven
