#include "platform/screens.h"

#include <QApplication>

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

void setOwnerScreen(Screen& dialog, QWidget& owner) {
    if (dialog.parentWidget() == &owner)
        return;
    // A top-level window with a parent is transient for it.
    dialog.setParent(&owner, dialog.windowFlags() | Qt::Dialog);
}

QWidget* dialogOwner() {
    const QList<Screen*> screens = loadedScreens();
    for (auto it = screens.crbegin(); it != screens.crend(); ++it) {
        if ((*it)->isVisible())
            return *it;
    }
    return QApplication::activeWindow();
}

void deleteUnloadedScreens() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace orven
