#include "course/class_list.h"

#include "core/text_file.h"

#include <map>

namespace orven {

QChar csvSeparator(const QString& text) {
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && (c == u'\n' || c == u'\r')) {
            break;
        } else if (!quoted && c == u',') {
            ++commas;
        } else if (!quoted && c == u';') {
            ++semicolons;
        }
    }
    return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
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

bool readClassList(const QByteArray& contents, const QString& fileName, ClassList& list,
                   QString& error) {
    list = ClassList{};
    const FileFault fail(fileName, error);
    QString text;
    if (!decodeTextFile(contents, fileName, text, error)) {
        return false;
    }
    QList<QStringList> rows;
    QList<int> rowLines;
    if (!parseCsv(text, csvSeparator(text), rows, rowLines, fileName, error)) {
        return false;
    }
    if (rows.isEmpty()) {
        return fail(0, QStringLiteral("пустой список: нужна строка заголовка и строки студентов"));
    }
    for (const QString& column : rows.first()) {
        // A spreadsheet's byte-order mark is not part of the first name.
        list.header << QString(column).remove(QChar(0xFEFF)).trimmed();
    }
    const auto column = [&](const QString& russian, const QString& latin) {
        for (int i = 0; i < list.header.size(); ++i) {
            const QString name = list.header.at(i).toLower();
            if (name == russian || name == latin) {
                return i;
            }
        }
        return -1;
    };
    list.nameColumn = column(QStringLiteral("фамилия"), QStringLiteral("name"));
    list.groupColumn = column(QStringLiteral("группа"), QStringLiteral("group"));
    list.emailColumn = column(QStringLiteral("email"), QStringLiteral("e-mail"));
    list.idnumberColumn = column(QStringLiteral("idnumber"), QStringLiteral("id"));
    const QString found =
        QStringLiteral(" (в заголовке: %1)").arg(list.header.join(QStringLiteral(", ")));
    if (list.nameColumn < 0) {
        return fail(1, QStringLiteral("нет столбца «фамилия» (или «name»)") + found);
    }
    if (list.groupColumn < 0) {
        return fail(1, QStringLiteral("нет столбца «группа» (или «group»)") + found);
    }
    if (list.emailColumn < 0 && list.idnumberColumn < 0) {
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
    std::map<QString, int> seen;
    for (int r = 1; r < rows.size(); ++r) {
        const int line = rowLines.at(r);
        QStringList fields = rows.at(r);
        if (fields.size() != list.header.size()) {
            return fail(line, QStringLiteral("%1 полей, а в заголовке %2")
                                  .arg(fields.size())
                                  .arg(list.header.size()));
        }
        const auto at = [&](int c) { return c < 0 ? QString() : fields.at(c).trimmed(); };
        Student student{fields, at(list.nameColumn).simplified(), at(list.groupColumn),
                        at(list.emailColumn), at(list.idnumberColumn)};
        if (student.name.isEmpty()) {
            return fail(line, QStringLiteral("пустая фамилия"));
        }
        for (const auto& [kind, value] : {std::pair{QStringLiteral("email"), student.email},
                                          {QStringLiteral("idnumber"), student.idnumber}}) {
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
        list.students << student;
    }
    return true;
}

} // namespace orven
