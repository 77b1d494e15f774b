#pragma once
// Reports left behind by runs that ended before they could finish them (a
// killed program, a power cut): each journal of the user's own in the private
// journal folders (and, from earlier versions, in the documents folder) whose
// process is gone is set as a PDF and the journal removed. The PDF goes where
// any report goes (the first report folder that takes it, under a free name)
// and is named by the time stamp of its report with "-восстановлен" added.
//
// Journals that are links, FIFOs, another user's files or larger than
// journalSizeLimit are left alone with one line on standard error. A journal
// that cannot be removed once its report is written is recorded in the state
// folder and not recovered again; the student is told once that it stays.
//
// The recovery runs on a thread of its own once the main menu is up, so that
// nothing a journal holds can keep the program from starting.

#include <QString>

#include <functional>

namespace orven {

// message: a line for the student; pdfPath: the report written, if any.
using RecoveryTeller = std::function<void(const QString& message, const QString& pdfPath)>;

// Recovers every left journal now, on the calling thread; tell gets each
// message for the student, complain each line meant for standard error only.
// stop is asked between journals.
void recoverLeftReports(const RecoveryTeller& tell,
                        const std::function<void(const QString&)>& complain,
                        const std::function<bool()>& stop = {});

// One line on standard error, flushed at once (safe from any thread).
void writeStandardErrorLine(const QString& line);

// The same on a thread of its own: every message goes to standard error at
// once and to tell on the thread that started it (through its event loop).
// Waits for a recovery already running first.
void startReportRecovery(RecoveryTeller tell);
// Asks a running recovery to stop after the journal in hand and waits for it.
void stopReportRecovery();

} // namespace orven
