// orven-key-pdf: the part of the teacher's key that reads and writes PDFs
// (poppler, QtGui). orven-key starts it in its own place for a command line
// whose command needs it (KeyCommand::needsPdf), so that the other commands
// run without loading those libraries. It takes orven-key's command line as
// it is.

#include "key_cli/key_command.h"
#include "key_cli/pdf_text.h"
#include "key_cli/report_reader.h"

#include <QGuiApplication>
#include <QLocale>

#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

#ifdef Q_OS_WIN
// Windows has no exec: orven-key starts this helper and waits for it. When
// orven-key is ended (Ctrl+Break, the task manager, a caller's time-out), the
// helper ends with it, and its report readers with it (their job is closed),
// instead of grading on for nobody and holding the caller's pipes open.
void endWithLauncher() {
    bool given = false;
    const auto pid = static_cast<DWORD>(qEnvironmentVariableIntValue("ORVEN_KEY_LAUNCHER", &given));
    if (!given) {
        return; // started by hand
    }
    HANDLE launcher = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (launcher == nullptr) {
        return; // not to be watched here: the helper goes on as if started by hand
    }
    // A bare thread: it touches nothing of Qt's and ends only with the process.
    const auto watch = [](LPVOID handle) -> DWORD {
        if (WaitForSingleObject(handle, INFINITE) == WAIT_OBJECT_0) {
            TerminateProcess(GetCurrentProcess(), orven::statusBadInput);
        }
        return 0;
    };
    if (HANDLE thread = CreateThread(nullptr, 0, watch, launcher, 0, nullptr); thread != nullptr) {
        CloseHandle(thread);
    }
}
#endif

// Qt's own notices (fonts, runtime folder) are no business of the user's.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fputs(QStringLiteral("orven-key: внутренняя ошибка: %1\n").arg(text).toUtf8(), stderr);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    // A reader of handed-in reports, started by this program itself under
    // limits (report_reader.h): poppler alone, no windowing.
    if (argc == 2 && std::strcmp(argv[1], orven::readerArgument) == 0) {
        return orven::serveReportReads(orven::pdfReportText);
    }
#ifdef Q_OS_WIN
    endWithLauncher();
#endif
    return orven::keyMain(argc, argv, [&](const orven::CommandLine& line, orven::KeyIo& io) {
        orven::useKeyPdf();
        qInstallMessageHandler(quietMessages);
#ifndef Q_OS_WIN
        // No windows: the offscreen platform gives the fonts a PDF needs
        // without a display (Windows' own platform needs none).
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        QGuiApplication application(argc, argv);
        QLocale::setDefault(QLocale::c());
        const int status = orven::runKeyCommand(line, io);
        orven::endReportReader();
        return status;
    });
}
