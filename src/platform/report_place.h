#pragma once
// Where the last report went, told on the screen when the desktop could not
// tell it. A report written as a PDF is told in a desktop notification; on a
// desktop without a notification service (many lab set-ups) nothing would
// say where it is. So the program's printer notes each PDF it finishes, and
// at the two moments a student finishes a report by hand — the change of the
// initial data and the end button of the results — the screen shows the
// path in a message box when no notification service took the news. Never at
// an end by a signal or a lost display: nobody is there to read it.

#include <QString>

namespace orven {

// Noted by the program's printer for each report it writes as a PDF.
void noteReportWritten(const QString& pdfPath);

// The box "Отчёт записан в файл …" (one button "ОК", over the visible screen)
// for a report noted since the last call, unless a notification service
// showed the news; the note is used up either way.
void showUnnotifiedReportPlace();

} // namespace orven
