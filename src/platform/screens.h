#pragma once
// The collection of loaded screens, in load order. Touching a screen through
// screen<T>() loads it: the first touch creates it, appends it to the
// collection and runs its load step; later touches return the same instance
// until it is unloaded. Unloading removes a screen from the collection at once
// and deletes the window later, so a screen may unload itself from its own
// button handler; the next touch loads a fresh one.

#include "platform/screen.h"

#include <QList>
#include <typeinfo>

namespace orven {

// Loaded screens, the earliest loaded first.
QList<Screen*> loadedScreens();

// Unloads the screen: removed from the collection now, hidden, deleted later.
void unloadScreen(Screen& screen);

// While more than one screen is loaded, unloads the one loaded earliest;
// the survivor is the most recently loaded screen.
void closeOtherScreens();

// Unloads every screen (end of the program; tests' init()).
void unloadAllScreens();

// Deletes the windows of unloaded screens now instead of at the next turn of
// the event loop (tests).
void deleteUnloadedScreens();

// Makes a dialog screen a window owned by owner: it stays above it and comes
// to the front with it (still non-modal). Call before placing and showing it.
void setOwnerScreen(Screen& dialog, QWidget& owner);

// The window a message or input box belongs to: the most recently loaded
// visible screen, else the active window (nullptr when there is none).
QWidget* dialogOwner();

// Internal: adds a new screen to the collection / drops a deleted one.
void registerLoadedScreen(Screen* screen);
void forgetScreen(Screen* screen);

// The loaded screen of exactly type T (a subclass is a different screen).
template <typename T> T* findLoadedScreen() {
    for (Screen* loaded : loadedScreens()) {
        if (typeid(*loaded) == typeid(T))
            return static_cast<T*>(loaded);
    }
    return nullptr;
}

template <typename T> bool isLoaded() {
    return findLoadedScreen<T>() != nullptr;
}

// Touches the screen of type T, loading it first if it is not loaded.
template <typename T> T& screen() {
    if (T* loaded = findLoadedScreen<T>())
        return *loaded;
    T* created = new T;
    registerLoadedScreen(created);
    created->load();
    return *created;
}

} // namespace orven
