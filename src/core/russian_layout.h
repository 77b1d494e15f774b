#pragma once
// The standard Russian keyboard layout (ЙЦУКЕН) over the US one: the character
// a key gives under the Russian layout, from the character it gives under the
// US layout. Used to type Cyrillic on a keyboard that has no Russian layout.

#include <QChar>
#include <QString>

namespace orven {

// The Russian layout's character for the US layout's ch; ch itself for keys
// that give the same (digits, blanks, signs on both layouts).
QChar russianLayoutChar(QChar ch);
QString russianLayoutText(const QString& text);

} // namespace orven
