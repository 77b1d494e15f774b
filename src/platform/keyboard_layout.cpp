#include "platform/keyboard_layout.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QStringList>

#include <dlfcn.h>

namespace orven {

namespace {

// The few Xlib entry points used, declared by hand (no X11 headers needed).
struct XDisplay;
using XWindow = unsigned long;
using XAtom = unsigned long;
using OpenDisplayFn = XDisplay* (*)(const char*);
using CloseDisplayFn = int (*)(XDisplay*);
using DefaultRootWindowFn = XWindow (*)(XDisplay*);
using InternAtomFn = XAtom (*)(XDisplay*, const char*, int);
using GetWindowPropertyFn = int (*)(XDisplay*, XWindow, XAtom, long, long, int, XAtom, XAtom*, int*,
                                    unsigned long*, unsigned long*, unsigned char**);
using FreeFn = int (*)(void*);
using LockGroupFn = int (*)(XDisplay*, unsigned int, unsigned int);
using SyncFn = int (*)(XDisplay*, int);

constexpr unsigned int xkbUseCoreKeyboard = 0x0100;
constexpr XAtom anyPropertyType = 0;
constexpr int xSuccess = 0;

class Xlib {
public:
    Xlib() {
        m_library = ::dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
        if (m_library == nullptr)
            return;
        bool ok = resolve(openDisplay, "XOpenDisplay") && resolve(closeDisplay, "XCloseDisplay") &&
                  resolve(defaultRootWindow, "XDefaultRootWindow") &&
                  resolve(internAtom, "XInternAtom") &&
                  resolve(getWindowProperty, "XGetWindowProperty") && resolve(free, "XFree") &&
                  resolve(lockGroup, "XkbLockGroup") && resolve(sync, "XSync");
        if (!ok) {
            ::dlclose(m_library);
            m_library = nullptr;
        }
    }
    Xlib(const Xlib&) = delete;
    Xlib& operator=(const Xlib&) = delete;

    bool loaded() const { return m_library != nullptr; }

    OpenDisplayFn openDisplay = nullptr;
    CloseDisplayFn closeDisplay = nullptr;
    DefaultRootWindowFn defaultRootWindow = nullptr;
    InternAtomFn internAtom = nullptr;
    GetWindowPropertyFn getWindowProperty = nullptr;
    FreeFn free = nullptr;
    LockGroupFn lockGroup = nullptr;
    SyncFn sync = nullptr;

private:
    template <typename Fn> bool resolve(Fn& fn, const char* name) {
        fn = reinterpret_cast<Fn>(::dlsym(m_library, name));
        return fn != nullptr;
    }

    void* m_library = nullptr;
};

// The layout list of the root window's _XKB_RULES_NAMES: rules, model,
// layouts, variants, options, separated by NUL characters.
QString layoutList(const Xlib& x, XDisplay* display) {
    const XAtom names = x.internAtom(display, "_XKB_RULES_NAMES", 1);
    if (names == 0)
        return QString();
    XAtom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (x.getWindowProperty(display, x.defaultRootWindow(display), names, 0, 1024, 0,
                            anyPropertyType, &type, &format, &count, &remaining,
                            &data) != xSuccess ||
        data == nullptr)
        return QString();
    QString layouts;
    if (format == 8) {
        const QList<QByteArray> fields =
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count))
                .split('\0');
        if (fields.size() > 2)
            layouts = QString::fromLatin1(fields.at(2));
    }
    x.free(data);
    return layouts;
}

void lockKeyboardGroup(const QString& layout) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    // Loaded once and kept: Qt's own X11 connection may share the library.
    static const Xlib x;
    if (!x.loaded())
        return;
    XDisplay* display = x.openDisplay(nullptr);
    if (display == nullptr)
        return;
    const int group = keyboardGroupIndex(layoutList(x, display), layout);
    if (group >= 0 && group < 4) { // XKB has at most four groups
        x.lockGroup(display, xkbUseCoreKeyboard, static_cast<unsigned int>(group));
        x.sync(display, 0);
    }
    x.closeDisplay(display);
}

} // namespace

int keyboardGroupIndex(const QString& layouts, const QString& layout) {
    const QStringList groups = layouts.split(QLatin1Char(','));
    for (int i = 0; i < groups.size(); ++i) {
        const QString name = groups.at(i).section(QLatin1Char('('), 0, 0).trimmed();
        if (name.compare(layout, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void switchKeyboardLayoutToRussian() {
    lockKeyboardGroup(QStringLiteral("ru"));
}

void switchKeyboardLayoutToEnglish() {
    lockKeyboardGroup(QStringLiteral("us"));
}

} // namespace orven
