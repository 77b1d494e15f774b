#include "core/proper_case.h"

namespace orven {

namespace {

bool separatesWords(QChar c) {
    switch (c.unicode()) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case u'\0':
        return true;
    default:
        return false;
    }
}

} // namespace

QString properCase(const QString& text) {
    QString result;
    result.reserve(text.size());
    bool wordStart = true;
    for (const QChar c : text) {
        result.append(wordStart ? c.toUpper() : c.toLower());
        wordStart = separatesWords(c);
    }
    return result;
}

} // namespace orven
