#include "course/class_list.h"

#include "core/text_file.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <map>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace orven {

QChar csvSeparator(const QString& text) {
    int commas = 0;
    int semicolons = 0;
    int tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && (c == u'\n' || c == u'\r')) {
            break;
        } else if (!quoted) {
            commas += c == u',';
            semicolons += c == u';';
            tabs += c == u'\t';
        }
    }
    return tabs > commas && tabs > semicolons ? QLatin1Char('\t')
           : semicolons > commas              ? QLatin1Char(';')
                                              : QLatin1Char(',');
}

bool parseCsv(const QString& text, QChar separator, QList<QStringList>& rows, QList<int>& rowLines,
              const QString& fileName, QString& error) {
    rows.clear();
    rowLines.clear();
    QStringList row;
    QString field;
    bool quoted = false;
    bool rowHasText = false;
    int line = 1;
    int rowLine = 1;
    int quoteLine = 0;
    const auto endRow = [&] {
        row << field;
        if (rowHasText || row.size() > 1 || !field.isEmpty()) {
            rows << row;
            rowLines << rowLine;
        }
        row.clear();
        field.clear();
        rowHasText = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                line += c == u'\n' ? 1 : 0;
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
            rowHasText = true;
            quoteLine = line;
        } else if (c == separator) {
            row << field;
            field.clear();
        } else if (c == u'\n') {
            endRow();
            rowLine = ++line;
        } else if (c != u'\r') {
            field += c;
        }
    }
    if (quoted) {
        error = fileErrorText(fileName, quoteLine, QStringLiteral("кавычка не закрыта"));
        return false;
    }
    if (!field.isEmpty() || !row.isEmpty()) {
        endRow();
    }
    return true;
}

namespace {

// A header as compared: lower case, without a byte-order mark, blanks and a
// trailing colon.
QString plainHeader(const QString& header) {
    QString name = QString(header).remove(QChar(0xFEFF)).simplified().toLower();
    if (name.endsWith(QLatin1Char(':'))) {
        name.chop(1);
    }
    return name;
}

// A name as namesakes are told: lower case, ё as е, single blanks.
QString namesakeKey(const QString& name) {
    return name.simplified().toLower().replace(u'ё', u'е');
}

} // namespace

QString studentIdentifier(const Student& student) {
    for (const auto& [kind, value] : {std::pair{QStringLiteral("email"), student.email},
                                      {QStringLiteral("idnumber"), student.idnumber},
                                      {QStringLiteral("participant"), student.participant}}) {
        if (!value.isEmpty()) {
            return kind + QLatin1Char(' ') + value.toLower();
        }
    }
    return QStringLiteral("name %1|%2").arg(namesakeKey(student.name), namesakeKey(student.group));
}

namespace {

// Windows-1251 to Unicode: Qt's own converter where Qt has one (with ICU, as
// on Debian), else Windows' own (the Windows build's Qt has no ICU).
bool fromWindows1251(const QByteArray& bytes, QString& text) {
    QStringDecoder decoder("windows-1251");
    if (decoder.isValid()) {
        text = decoder.decode(bytes);
        return true;
    }
#ifdef Q_OS_WIN
    const int size = static_cast<int>(bytes.size());
    const int characters = MultiByteToWideChar(1251, 0, bytes.constData(), size, nullptr, 0);
    text.resize(characters);
    return size == 0 ||
           MultiByteToWideChar(1251, 0, bytes.constData(), size,
                               reinterpret_cast<wchar_t*>(text.data()), characters) == characters;
#else
    return false;
#endif
}

} // namespace

bool readClassList(const QByteArray& contents, const QString& fileName, ClassList& list,
                   QString& error) {
    list = ClassList{};
    const FileFault fail(fileName, error);
    QString text;
    if (!decodeTextFile(contents, fileName, text, error)) {
        // Not UTF-8: what Excel writes on a Russian Windows.
        if (contents.contains('\0') || !fromWindows1251(contents, text)) {
            return false;
        }
        error.clear();
        list.windows1251 = true;
        list.notes << fileErrorText(fileName, 0,
                                    QStringLiteral("файл не в UTF-8, прочитан как Windows-1251"));
    }
    QList<QStringList> rows;
    QList<int> rowLines;
    list.byteOrderMark = contents.startsWith("\xEF\xBB\xBF");
    list.separator = csvSeparator(text);
    if (!parseCsv(text, list.separator, rows, rowLines, fileName, error)) {
        return false;
    }
    // Rows of nothing but separators (Excel's ";;;") are no rows.
    for (qsizetype r = rows.size() - 1; r >= 0; --r) {
        const QStringList& fields = rows.at(r);
        if (std::all_of(fields.cbegin(), fields.cend(),
                        [](const QString& f) { return f.trimmed().isEmpty(); })) {
            rows.removeAt(r);
            rowLines.removeAt(r);
        }
    }
    if (rows.isEmpty()) {
        return fail(0, QStringLiteral("пустой список: нужна строка заголовка и строки студентов"));
    }
    QStringList headers;
    for (const QString& column : rows.first()) {
        // A spreadsheet's byte-order mark is not part of the first name.
        list.header << QString(column).remove(QChar(0xFEFF)).trimmed();
        headers << plainHeader(column);
    }
    const auto column = [&](const QStringList& names) {
        for (const QString& name : names) {
            if (const qsizetype at = headers.indexOf(name); at >= 0) {
                return static_cast<int>(at);
            }
        }
        return -1;
    };
    list.nameColumn =
        column({QStringLiteral("фамилия"), QStringLiteral("name"), QStringLiteral("last name"),
                QStringLiteral("surname"), QStringLiteral("full name"),
                QStringLiteral("полное имя"), QStringLiteral("фио")});
    const int firstNameColumn = column({QStringLiteral("имя"), QStringLiteral("first name")});
    const int middleNameColumn =
        column({QStringLiteral("отчество"), QStringLiteral("middle name")});
    list.groupColumn = column({QStringLiteral("группа"), QStringLiteral("group"),
                               QStringLiteral("группы"), QStringLiteral("groups")});
    list.emailColumn =
        column({QStringLiteral("email"), QStringLiteral("e-mail"), QStringLiteral("email address"),
                QStringLiteral("адрес электронной почты"), QStringLiteral("электронная почта")});
    list.idnumberColumn =
        column({QStringLiteral("idnumber"), QStringLiteral("id"), QStringLiteral("id number"),
                QStringLiteral("индивидуальный номер"), QStringLiteral("идентификационный номер")});
    list.participantColumn =
        column({QStringLiteral("identifier"), QStringLiteral("идентификатор")});
    // Moodle's files: its participants export names first and last names, its
    // worksheet participants; a course without groups has no group column.
    const bool fromMoodle = list.participantColumn >= 0 || firstNameColumn >= 0;
    const QString found =
        QStringLiteral(" (в заголовке: %1)").arg(list.header.join(QStringLiteral(", ")));
    if (list.nameColumn < 0) {
        return fail(1, QStringLiteral("нет столбца «фамилия» (или «name», «Last name», «Full "
                                      "name»)") +
                           found);
    }
    if (list.groupColumn < 0 && !fromMoodle) {
        return fail(1, QStringLiteral("нет столбца «группа» (или «group»)") + found);
    }
    if (list.emailColumn < 0 && list.idnumberColumn < 0 && list.participantColumn < 0) {
        return fail(1, QStringLiteral("нет столбца «email» или «idnumber»: по нему оценки "
                                      "загружаются в систему обучения") +
                           found);
    }
    if (rows.size() == 1) {
        return fail(0, QStringLiteral("в списке нет ни одного студента"));
    }
    if (rows.size() - 1 > mostStudents) {
        return fail(0, QStringLiteral("в списке больше %1 студентов").arg(mostStudents));
    }
    static const QRegularExpression number(QStringLiteral("(\\d+)\\s*$"));
    std::map<QString, int> seen;
    std::map<QString, int> names;
    for (int r = 1; r < rows.size(); ++r) {
        const int line = rowLines.at(r);
        QStringList fields = rows.at(r);
        // A spreadsheet may end a row early or late with empty cells.
        while (fields.size() > list.header.size() && fields.last().trimmed().isEmpty()) {
            fields.removeLast();
        }
        if (fields.size() != list.header.size()) {
            return fail(line, QStringLiteral("%1 полей, а в заголовке %2")
                                  .arg(fields.size())
                                  .arg(list.header.size()));
        }
        const auto at = [&](int c) { return c < 0 ? QString() : fields.at(c).trimmed(); };
        QStringList nameParts{at(list.nameColumn)};
        if (firstNameColumn >= 0 && firstNameColumn != list.nameColumn) {
            nameParts << at(firstNameColumn);
        }
        if (middleNameColumn >= 0) {
            nameParts << at(middleNameColumn);
        }
        Student student{fields,
                        nameParts.join(QLatin1Char(' ')).simplified(),
                        at(list.groupColumn),
                        at(list.emailColumn),
                        at(list.idnumberColumn),
                        number.match(at(list.participantColumn)).captured(1),
                        line};
        if (at(list.nameColumn).isEmpty()) {
            return fail(line, QStringLiteral("пустая фамилия"));
        }
        for (const auto& [kind, value] :
             {std::pair{QStringLiteral("email"), student.email},
              {QStringLiteral("idnumber"), student.idnumber},
              {QStringLiteral("номер участника"), student.participant}}) {
            if (value.isEmpty()) {
                continue;
            }
            const QString key = kind + QLatin1Char(' ') + value.toLower();
            if (const auto other = seen.find(key); other != seen.end()) {
                return fail(line, QStringLiteral("%1 «%2» уже есть у студента в строке %3")
                                      .arg(kind, value)
                                      .arg(other->second));
            }
            seen[key] = line;
        }
        const QString namesake =
            namesakeKey(student.name) + QLatin1Char('|') + namesakeKey(student.group);
        if (const auto other = names.find(namesake); other != names.end()) {
            list.notes << fileErrorText(
                fileName, line,
                QStringLiteral("«%1» — тёзка студента в строке %2%3; их различают по email или "
                               "номеру")
                    .arg(student.name)
                    .arg(other->second)
                    .arg(student.group.isEmpty()
                             ? QString()
                             : QStringLiteral(" той же группы %1").arg(student.group)));
        } else {
            names[namesake] = line;
        }
        list.students << student;
    }
    return true;
}

} // namespace orven
