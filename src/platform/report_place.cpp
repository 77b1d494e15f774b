#include "platform/report_place.h"

#include "platform/desktop_notification.h"
#include "platform/dialogs.h"

#ifdef Q_OS_WIN
#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#endif

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
#ifdef Q_OS_WIN
    // Windows has no notification service for the program: its own box says
    // where the report is and opens it with the system's PDF viewer.
    if (dialogs().askYesNo(QStringLiteral("ORVEN"),
                           QStringLiteral("Отчёт записан в файл %1\n\nОткрыть отчёт?")
                               .arg(QDir::toNativeSeparators(path)))) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
#else
    dialogs().showInformation(QStringLiteral("ORVEN"),
                              QStringLiteral("Отчёт записан в файл %1").arg(path));
#endif
}

} // namespace orven
