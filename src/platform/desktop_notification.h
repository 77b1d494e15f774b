#pragma once
// Messages to the desktop through the freedesktop notification service on the
// session bus: where a report was written, or that it could not be. A
// notification never blocks and asks nothing; where there is no session bus or
// no notification service it is skipped without a word. A notification about a
// file has the action "Открыть отчёт", which opens the file with the desktop's
// PDF viewer while the program runs.

#include <QString>

namespace orven {

// Sends one notification with the text; pdfPath, when given, is the file the
// action opens.
void notifyDesktop(const QString& text, const QString& pdfPath = QString());

// Waits at most msecs for the notifications sent so far to reach the service
// (at the end of the program, so that the last one is not lost on the way out).
void waitForDesktopNotifications(int msecs);

// Waits as above, then tells whether the last notification sent was taken by
// a notification service (false when none was sent, there is no session bus,
// no service answered or it answered with an error).
bool lastDesktopNotificationShown(int msecs);

} // namespace orven
