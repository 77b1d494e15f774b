#include "support/key_runs.h"

#include "core/address_sanitizer.h"
#include "key_cli/key_command.h"

#include <QBuffer>
#include <QLocale>
#include <QProcess>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace orven::test {

Run runKey(const QStringList& arguments, const QByteArray& input, qint64 addressSpace) {
    QProcess process;
#ifdef Q_OS_UNIX
    if (addressSpace > 0 && !ORVEN_ADDRESS_SANITIZER) {
        process.setChildProcessModifier([addressSpace] {
            const rlimit limit{static_cast<rlim_t>(addressSpace),
                               static_cast<rlim_t>(addressSpace)};
            setrlimit(RLIMIT_AS, &limit);
        });
    }
#else
    Q_UNUSED(addressSpace); // the bound is the Linux build's check
#endif
    process.start(qEnvironmentVariable("ORVEN_KEY"), arguments);
    process.write(input);
    process.closeWriteChannel();
    Run run;
    if (!process.waitForFinished(60000)) {
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

bool readerMemoryBounded() {
#ifdef Q_OS_WIN
    // Wine's own ntdll says so by an export of its own.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr;
#else
    return !ORVEN_ADDRESS_SANITIZER;
#endif
}

Run runInProcess(const QStringList& arguments, const QByteArray& input) {
    Run run;
    const ParsedKeyLine parsed = parseKeyLine(arguments);
    if (!parsed.error.isEmpty()) {
        run.status = statusBadInput;
        run.err = QStringLiteral("orven-key: ") + parsed.error + QLatin1Char('\n');
        return run;
    }
    if (!parsed.shownText.isEmpty()) {
        run.status = statusDone;
        run.out = parsed.shownText;
        return run;
    }
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    QBuffer in;
    in.setData(input);
    in.open(QIODevice::ReadOnly);
    KeyIo io{out, err, &in};
    const QLocale previous;
    QLocale::setDefault(QLocale::c());
    run.status = runKeyCommand(parsed.line, io);
    QLocale::setDefault(previous);
    out.flush();
    err.flush();
    return run;
}

} // namespace orven::test
