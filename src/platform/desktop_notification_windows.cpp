// Windows has no freedesktop notification service: nothing is sent, and the
// program says where a report went in its own message box, whose button opens
// the PDF with the system's viewer.
#include "platform/desktop_notification.h"

namespace orven {

void notifyDesktop(const QString& /*text*/, const QString& /*pdfPath*/) {}

void waitForDesktopNotifications(int /*msecs*/) {}

bool lastDesktopNotificationShown(int /*msecs*/) {
    return false;
}

} // namespace orven
