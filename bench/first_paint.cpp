// Linked into a program to measure its start: the process ends (status 0) as
// soon as its first window has been painted, so that the time and the
// instructions of a run are those of the start up to the first picture.
#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>

#include <cstdio>
#include <unistd.h>

namespace {

class FirstPaint final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() && !seen_) {
            seen_ = true;
            // Once this paint and the frame it belongs to are done.
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    std::fflush(nullptr);
                    ::_exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool seen_ = false;
};

void installFirstPaint() {
    qApp->installEventFilter(new FirstPaint(qApp));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installFirstPaint)
