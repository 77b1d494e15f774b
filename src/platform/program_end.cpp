#include "platform/program_end.h"

#include "platform/screens.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QThread>

#ifdef Q_OS_WIN
#include <cstdio>
#include <windows.h>
#else
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace orven {

namespace {
bool ended = false;

std::function<void()>& reportFinisher() {
    static std::function<void()> finisher;
    return finisher;
}

#ifdef Q_OS_WIN
bool consoleHandlerInstalled = false;

// Console control events (Ctrl+C, the console closed, log-off, shut-down)
// arrive on a thread of their own, and the process ends when the handler
// returns: the report is finished on the event loop before it does.
BOOL WINAPI onConsoleControl(DWORD /*event*/) {
    if (QCoreApplication::instance() != nullptr) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { endProgram(); }, Qt::BlockingQueuedConnection);
    }
    return TRUE;
}
#else
// Written by the signal handler, read by the notifier on the event loop.
int signalSockets[2] = {-1, -1};

void onTerminationSignal(int /*signal*/) {
    const char byte = 1;
    // Only async-signal-safe calls here; a full pipe just drops the byte.
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, sizeof byte);
}
#endif
} // namespace

void setReportFinisher(std::function<void()> finisher) {
    reportFinisher() = std::move(finisher);
}

void finishOpenReport() {
    if (reportFinisher())
        reportFinisher()();
}

void endProgram() {
    ended = true;
    finishOpenReport();
    unloadAllScreens();
    // Leaving a loop that is not running would make the next one return at
    // once; main() checks programEnded() before it enters the loop.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

bool programEnded() {
    return ended;
}

void resetProgramEnd() {
    ended = false;
}

void installProgramEndHandlers(QCoreApplication& app) {
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, [] { finishOpenReport(); });
#ifdef Q_OS_WIN
    // The Windows session ends (log-off, shut-down: WM_QUERYENDSESSION): the
    // report is finished before the program is. (On X11 a session manager may
    // ask at any checkpoint; there the end of a session is SIGTERM or SIGHUP.)
    if (auto* gui = qobject_cast<QGuiApplication*>(&app)) {
        QObject::connect(gui, &QGuiApplication::commitDataRequest, gui,
                         [](QSessionManager&) { finishOpenReport(); });
    }
#endif
    installTerminationSignalHandlers();
}

#ifdef Q_OS_WIN

void installTerminationSignalHandlers() {
    if (!consoleHandlerInstalled) {
        consoleHandlerInstalled = SetConsoleCtrlHandler(onConsoleControl, TRUE) != 0;
    }
}

// What ExitProcess would do after main() is the libraries' teardown: their
// static and thread-local destructors, run while the loader holds its lock
// and after every other thread has been killed wherever it stood. That
// teardown was seen to hang now and then under Wine, after the last window
// had closed and the report was written: the C++ runtime's DLL detach runs
// the main thread's thread-local destructors after Qt's own teardown, and
// one of Qt's thread-local objects made Qt set up the main thread's data
// again and start a thread while the loader lock was held. A process that
// never ends is one whose program file an installer can neither replace nor
// remove. The program has nothing left for the teardown to do, so the
// process ends here, its standard streams flushed first.
int leaveProcess(int status) {
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
    return status;
}

#else

void installTerminationSignalHandlers() {
    if (signalSockets[0] != -1)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSockets) != 0) {
        signalSockets[0] = signalSockets[1] = -1;
        return;
    }
    auto* notifier =
        new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char buffer[16];
        while (::read(signalSockets[1], buffer, sizeof buffer) > 0) {
        }
        endProgram();
    });

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

int leaveProcess(int status) {
    return status;
}

#endif

} // namespace orven
