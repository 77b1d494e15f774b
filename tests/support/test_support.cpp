#include "support/test_support.h"

#include <QtGlobal>

namespace orven::test {

QString sourceDir() { return qEnvironmentVariable("ORVEN_SOURCE_DIR"); }

} // namespace orven::test
