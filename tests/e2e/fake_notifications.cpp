// A notification service for tests: takes the name org.freedesktop.Notifications
// on the session bus and writes every Notify call as one line to the file named
// on its command line: summary, body and actions, separated by tabs. Prints
// "ready" on standard output once the name is taken.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <QTextStream>
#include <QVariantMap>

#include <cstdio>

class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit FakeNotifications(const QString& logPath) : log_(logPath) {
        log_.open(QIODevice::WriteOnly | QIODevice::Append);
    }

public slots:
    uint Notify(const QString& /*appName*/, uint /*replacesId*/, const QString& /*icon*/,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& /*hints*/, int /*timeout*/) {
        const QString line = summary + QLatin1Char('\t') + body + QLatin1Char('\t') +
                             actions.join(QLatin1Char('|')) + QLatin1Char('\n');
        log_.write(line.toUtf8());
        log_.flush();
        return ++last_;
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion) {
        vendor = QStringLiteral("test");
        version = QStringLiteral("1");
        specVersion = QStringLiteral("1.2");
        return QStringLiteral("fake-notifications");
    }
    void CloseNotification(uint /*id*/) {}

private:
    QFile log_;
    uint last_ = 0;
};

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: fake_notifications LOG\n", stderr);
        return 2;
    }
    FakeNotifications service(QString::fromLocal8Bit(argv[1]));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fputs("fake_notifications: cannot take the name on the session bus\n", stderr);
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

#include "fake_notifications.moc"
