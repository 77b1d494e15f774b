// A report's text as the PDF reader gives it (rows, "\f" between pages),
// checked as check and grade check it.

#include "harness.h"
#include "key/report_check.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QStringList lines = QString::fromUtf8(inputBytes(data, size)).split(QLatin1Char('\n'));
    (void)orven::checkReportText(lines);
    return 0;
}
