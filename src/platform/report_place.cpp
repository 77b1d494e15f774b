#include "platform/report_place.h"

#include "platform/desktop_notification.h"
#include "platform/dialogs.h"

namespace orven {

namespace {

QString noted;

// How long a notification service is given to take the news (milliseconds).
constexpr int notificationWait = 2000;

} // namespace

void noteReportWritten(const QString& pdfPath) {
    noted = pdfPath;
}

void showUnnotifiedReportPlace() {
    const QString path = noted;
    noted.clear();
    if (path.isEmpty() || lastDesktopNotificationShown(notificationWait))
        return;
    dialogs().showInformation(QStringLiteral("ORVEN"),
                              QStringLiteral("Отчёт записан в файл %1").arg(path));
}

} // namespace orven
