#include "app/program_start.h"
#include "platform/command_line.h"
#include "platform/desktop_notification.h"
#include "platform/dialogs.h"
#include "platform/display_fit.h"
#include "platform/program_end.h"
#include "platform/system_report_printer.h"
#include "results/report_progress.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <cstdlib>

namespace {

// exit() called from inside the event loop (Qt does so when the X connection
// breaks) skips aboutToQuit; the open report is finished here instead. The
// handler is registered anew whenever a report opens: handlers run in the
// reverse order of registration, interleaved with the destruction of Qt's
// global caches, so one registered after the caches it needs were made runs
// while they are still there.
void finishReportAtExit() {
    orven::finishOpenReport();
    orven::waitForDesktopNotifications(500);
}

// The program on the display, from the application's start to its end: every
// window, the application and the report printer are gone when it returns.
int runOnDisplay(int argc, char* argv[]) {
    orven::beginOpeningDisplay();
    QApplication app(argc, argv);
    orven::endOpeningDisplay();
    orven::fitScreensToDisplay(argv);
    QApplication::setApplicationName(QStringLiteral("orven"));
    QApplication::setApplicationVersion(QStringLiteral(ORVEN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("orven"));
    // The window's icon is the program's own, from its resources: the same
    // picture the installed icon theme holds, without searching the themes at
    // every start (a search costs a quarter of the start when the icon is not
    // installed). The desktop's menus take the theme's icon from orven.desktop.
#ifndef Q_OS_WIN
    // (Windows takes the icon of the program's file.)
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/orven/orven.svg")));
#endif

    // Declared after the application: its destructor finishes an open report
    // while the application still exists.
    orven::SystemReportPrinter printer;
    orven::wireReportPrinter(printer);
    printer.setDocumentOpenedListener([] { std::atexit(finishReportAtExit); });

    orven::startProgram(app, printer);
    // Reports left by an earlier run are recovered beside the running
    // program, once its main menu is up.
    QTimer::singleShot(0, &app, [&printer] { printer.startRecovery(); });
    int status = 0;
    if (!orven::programEnded())
        status = QApplication::exec();
    orven::finishOpenReport();
    orven::setReportPrinter(nullptr);
    orven::waitForDesktopNotifications(1000);
    return status;
}

} // namespace

int main(int argc, char* argv[]) {
    if (const int status = orven::handleCommandLine(argc, argv); status >= 0)
        return status;
    return orven::leaveProcess(runOnDisplay(argc, argv));
}
