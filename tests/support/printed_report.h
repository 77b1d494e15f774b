#pragma once
// Reports as a student prints them, made by the program's own report printer.

#include "key/design_file.h"
#include "report/report_journal.h"

#include <QList>
#include <QString>

namespace orven::test {

// A report of the design with the suitable variants of the given ranks (1:
// the smallest surface) as its blocks, signed as the student types it.
ReportOperations printedReport(const DesignData& design, const QString& signature,
                               const QList<int>& ranks);

} // namespace orven::test
