#pragma once
// The plain text files a teacher writes (designs, tasks, fluid tables): UTF-8,
// "#" starts a comment, blank lines are ignored; every fault is one Russian
// line that names the file and, where there is one, the line.

#include <QByteArray>
#include <QList>
#include <QString>

namespace orven {

struct TextLine {
    int number = 0; // from 1
    QString text;   // without its comment and outer blanks; never empty
};

// "FILE, строка N: what", or "FILE: what" for line 0.
QString fileErrorText(const QString& fileName, int line, const QString& what);

// A reader's way to give up on a file: sets error to the fault's one line
// and gives false, so that a reader can `return fail(line, what);`.
class FileFault {
public:
    FileFault(const QString& fileName, QString& error) : fileName_(fileName), error_(error) {}
    bool operator()(int line, const QString& what) const {
        error_ = fileErrorText(fileName_, line, what);
        return false;
    }

private:
    const QString& fileName_;
    QString& error_;
};

// The contents as text; false with the error line when they are not UTF-8
// text.
bool decodeTextFile(const QByteArray& contents, const QString& fileName, QString& text,
                    QString& error);

// The file's lines that hold something; false with the error line when the
// contents are not UTF-8 text.
bool readTextLines(const QByteArray& contents, const QString& fileName, QList<TextLine>& lines,
                   QString& error);

} // namespace orven
