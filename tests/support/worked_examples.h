#pragma once
// The method's two worked examples, a cooler of oil by water and a condenser
// of steam, kept once as the design files tests/key/worked_cooler.txt and
// tests/key/worked_condenser.txt (which the teacher's key reads as well); here
// as the tests and tools use them.

#include "key/design_file.h"

#include <QList>
#include <QStringList>

namespace orven::test {

// The example read from its file (a file that cannot be read ends the test
// program with a message).
const DesignData& workedExample(ExchangerType type);
// The 14 values as a student types them (some with a decimal comma).
QStringList workedTypedTexts(ExchangerType type);
// The same as the program keeps them (the comma turned into a point).
QStringList workedStoredTexts(ExchangerType type);
// The 14 values as numbers.
QList<double> workedValues(ExchangerType type);

} // namespace orven::test
