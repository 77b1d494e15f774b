#include "platform/desktop_notification.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QVariantMap>

namespace orven {

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");
const QString interfaceName = QStringLiteral("org.freedesktop.Notifications");
const QString openAction = QStringLiteral("default");
// A service that does not answer within this time is given up (milliseconds).
constexpr int callTimeout = 2000;

// A session bus is there when its address is named or the user's runtime
// folder has its socket; otherwise no attempt is made (an attempt without
// either would try to start a bus of its own).
bool sessionBusNamed() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        return true;
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

class Notifier : public QObject {
    Q_OBJECT
public:
    explicit Notifier(QObject* parent) : QObject(parent) {
        QDBusConnection::sessionBus().connect(service, objectPath, interfaceName,
                                              QStringLiteral("ActionInvoked"), this,
                                              SLOT(onActionInvoked(uint, QString)));
    }

    void send(const QString& text, const QString& pdfPath) {
        QDBusMessage call = QDBusMessage::createMethodCall(service, objectPath, interfaceName,
                                                           QStringLiteral("Notify"));
        const QStringList actions = pdfPath.isEmpty()
                                        ? QStringList()
                                        : QStringList{openAction, QStringLiteral("Открыть отчёт")};
        QVariantMap hints;
        hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("orven"));
        call << QStringLiteral("ORVEN") << 0u << QStringLiteral("orven") << QStringLiteral("ORVEN")
             << text << actions << hints << -1;
        auto* watcher = new QDBusPendingCallWatcher(
            QDBusConnection::sessionBus().asyncCall(call, callTimeout), this);
        pending_ << watcher;
        const int serial = ++sent_;
        lastShown_ = false;
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this, watcher, pdfPath, serial] {
                    const QDBusPendingReply<uint> reply = *watcher;
                    if (serial == sent_) {
                        lastShown_ = !reply.isError();
                    }
                    if (!reply.isError() && !pdfPath.isEmpty()) {
                        files_.insert(reply.value(), pdfPath);
                    }
                    pending_.removeOne(watcher);
                    watcher->deleteLater();
                });
    }

    void wait(int msecs) {
        const QDeadlineTimer deadline(msecs);
        while (!pending_.isEmpty() && !deadline.hasExpired()) {
            pending_.first()->waitForFinished();
            QCoreApplication::processEvents();
        }
    }

    bool lastShown() const { return sent_ > 0 && lastShown_; }

private slots:
    void onActionInvoked(uint id, const QString& action) {
        if (action == openAction && files_.contains(id)) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(files_.value(id)));
        }
    }

private:
    QList<QDBusPendingCallWatcher*> pending_;
    int sent_ = 0;
    bool lastShown_ = false;
    QHash<uint, QString> files_;
};

Notifier* notifier() {
    // Owned by the application: gone with it.
    static QPointer<Notifier> instance;
    if (QCoreApplication::instance() == nullptr) {
        return nullptr;
    }
    if (instance.isNull() && sessionBusNamed() && QDBusConnection::sessionBus().isConnected()) {
        instance = new Notifier(QCoreApplication::instance());
    }
    return instance;
}

} // namespace

void notifyDesktop(const QString& text, const QString& pdfPath) {
    if (Notifier* n = notifier()) {
        n->send(text, pdfPath);
    }
}

void waitForDesktopNotifications(int msecs) {
    if (Notifier* n = notifier()) {
        n->wait(msecs);
    }
}

bool lastDesktopNotificationShown(int msecs) {
    Notifier* n = notifier();
    if (n == nullptr) {
        return false;
    }
    n->wait(msecs);
    return n->lastShown();
}

} // namespace orven

#include "desktop_notification.moc"
