#include "platform/keyboard_layout.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QList>
#include <QStringList>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace orven {

namespace {

#ifdef Q_OS_WIN

// Windows keeps a layout per thread; the name box switches the program's own
// to Russian (layout 00000419) and back to US English (00000409), loading it
// for the session if the user has not installed it.
bool activateLayout(const wchar_t* layout) {
    HKL loaded = LoadKeyboardLayoutW(layout, KLF_ACTIVATE | KLF_SUBSTITUTE_OK);
    return loaded != nullptr && ActivateKeyboardLayout(loaded, KLF_SETFORPROCESS) != nullptr;
}

#else

// The layout list of the root window's _XKB_RULES_NAMES: rules, model,
// layouts, variants, options, separated by NUL characters.
QString layoutList(Display* display) {
    const Atom names = XInternAtom(display, "_XKB_RULES_NAMES", True);
    if (names == None)
        return QString();
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), names, 0, 1024, False,
                           AnyPropertyType, &type, &format, &count, &remaining, &data) != Success ||
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
    XFree(data);
    return layouts;
}

// Qt's own connection to the X server; nullptr on any other platform.
Display* qtDisplay() {
    auto* application = qGuiApp;
    if (application == nullptr || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

bool lockKeyboardGroup(const QString& layout) {
    Display* display = qtDisplay();
    if (display == nullptr)
        return false;
    const int group = keyboardGroupIndex(layoutList(display), layout);
    if (group < 0 || group >= XkbNumKbdGroups)
        return false;
    XkbLockGroup(display, XkbUseCoreKbd, static_cast<unsigned int>(group));
    XFlush(display);
    return true;
}

#endif

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

#ifdef Q_OS_WIN

bool switchKeyboardLayoutToRussian() {
    return activateLayout(L"00000419");
}

void switchKeyboardLayoutToEnglish() {
    activateLayout(L"00000409");
}

#else

bool switchKeyboardLayoutToRussian() {
    return lockKeyboardGroup(QStringLiteral("ru"));
}

void switchKeyboardLayoutToEnglish() {
    lockKeyboardGroup(QStringLiteral("us"));
}

#endif

} // namespace orven
