#pragma once
// Proper case of a typed name: "студЕНТ гр.х-11" becomes "Студент Гр.х-11".

#include <QString>

namespace orven {

// The first letter of every word upper case, every other letter lower case.
// Words are separated only by blank, tab, line feed, vertical tab, form feed,
// carriage return and the null character; a point or a hyphen does not start a
// new word.
QString properCase(const QString& text);

} // namespace orven
