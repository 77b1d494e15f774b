#include "platform/screens.h"

#include <QCoreApplication>
#include <QEvent>

namespace orven {

namespace {
QList<Screen*>& collection() {
    static QList<Screen*> screens;
    return screens;
}
} // namespace

QList<Screen*> loadedScreens() {
    return collection();
}

void registerLoadedScreen(Screen* screen) {
    collection().append(screen);
}

void forgetScreen(Screen* screen) {
    collection().removeAll(screen);
}

void unloadScreen(Screen& screen) {
    forgetScreen(&screen);
    screen.markUnloading();
    screen.hide();
    screen.deleteLater();
}

void closeOtherScreens() {
    while (collection().size() > 1)
        unloadScreen(*collection().first());
}

void unloadAllScreens() {
    while (!collection().isEmpty())
        unloadScreen(*collection().first());
}

void deleteUnloadedScreens() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace orven
