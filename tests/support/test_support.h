#pragma once
// Helpers shared by the tests.

#include <QString>

namespace orven::test {

// Root of the source tree (for test data and scripts).
QString sourceDir();

} // namespace orven::test
