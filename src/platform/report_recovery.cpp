#include "platform/report_recovery.h"

#include "platform/report_rendering.h"
#include "platform/system_report_printer.h"
#include "report/journal_files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <QFileInfo>
#include <windows.h>
#else
#include <csignal>
#include <unistd.h>
#endif

namespace orven {

namespace {

// True while the process that wrote a journal still runs this program (a
// process id of a gone process may have been taken by another program).
bool stillRunning(qint64 processId) {
    if (processId == QCoreApplication::applicationPid()) {
        return true;
    }
#ifdef Q_OS_WIN
    // A process of that id running this same program.
    if (processId <= 0 || processId > 0x7fffffff) {
        return false;
    }
    HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(processId));
    if (process == nullptr) {
        return false;
    }
    wchar_t name[MAX_PATH];
    DWORD length = MAX_PATH;
    DWORD exitCode = 0;
    const bool running = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE &&
                         QueryFullProcessImageNameW(process, 0, name, &length);
    CloseHandle(process);
    return running && QFileInfo(QString::fromWCharArray(name, static_cast<qsizetype>(length))) ==
                          QFileInfo(QCoreApplication::applicationFilePath());
#else
    if (processId <= 0 || processId > 0x7fffffff ||
        (::kill(static_cast<pid_t>(processId), 0) != 0 && errno == ESRCH)) {
        return false;
    }
    const QString other = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(processId));
    return !other.isEmpty() && other == QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
#endif
}

// A path as one line of a message: a name may hold a line feed or other
// control characters.
QString shown(const QString& path) {
    QString text = path;
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control) {
            c = QChar(u'?');
        }
    }
    return text;
}

struct LeftJournal {
    QString path;
    bool old = false; // left beside a report by an earlier version
};

QList<LeftJournal> leftJournals() {
    QList<LeftJournal> found;
    const QDir::Filters every = QDir::AllEntries | QDir::Hidden | QDir::System;
    for (const QString& folder : journalFolderPlaces()) {
        // Only a folder that is (or can be made) the user's own private one.
        if (!QFileInfo::exists(folder) || !makePrivateFolder(folder)) {
            continue;
        }
        const QDir dir(folder);
        for (const QString& name : dir.entryList({journalNamePattern}, every, QDir::Name)) {
            found << LeftJournal{dir.filePath(name), false};
        }
    }
    const QDir documents(SystemReportPrinter::reportFolders().value(0));
    for (const QString& name : documents.entryList({oldJournalNamePattern}, every, QDir::Name)) {
        found << LeftJournal{documents.filePath(name), true};
    }
    return found;
}

// The recovered report's name: the time stamp of the report it was to be,
// taken from the journal's header, else from the journal's name, else now.
QString recoveredStem(const QString& headerPath, const QString& journalName) {
    QString stamp = reportNameStamp(QFileInfo(headerPath).fileName());
    if (stamp.isEmpty()) {
        stamp = reportNameStamp(journalName);
    }
    if (stamp.isEmpty()) {
        stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    }
    return QStringLiteral("orven-report-%1-восстановлен").arg(stamp);
}

QString writeRecovered(const ReportOperations& operations, const QString& stem) {
    for (const QString& folder : SystemReportPrinter::reportFolders()) {
        if (!SystemReportPrinter::folderTakesFiles(folder)) {
            continue;
        }
        const QString path = writeNewReportPdf(operations, folder, stem);
        if (!path.isEmpty()) {
            return path;
        }
    }
    return QString();
}

QThread* recoveryThread = nullptr;

void stopRecoveryAtExit() {
    stopReportRecovery();
}

} // namespace

void recoverLeftReports(const RecoveryTeller& tell,
                        const std::function<void(const QString&)>& complain,
                        const std::function<bool()>& stop) {
    RecoveredJournals recovered(recoveredJournalsRecord());
    for (const LeftJournal& journal : leftJournals()) {
        if (stop && stop()) {
            return;
        }
        QByteArray data;
        FileIdentity identity;
        switch (readJournalFile(journal.path, journalSizeLimit, &data, &identity)) {
        case JournalFileRead::Read:
            break;
        case JournalFileRead::NotRegular:
            complain(QStringLiteral("ORVEN: %1 — не обычный файл; журналом отчёта не считается")
                         .arg(shown(journal.path)));
            continue;
        case JournalFileRead::NotOwned:
            complain(QStringLiteral("ORVEN: журнал %1 принадлежит другому пользователю; "
                                    "он не восстанавливается")
                         .arg(shown(journal.path)));
            continue;
        case JournalFileRead::TooLarge:
            complain(QStringLiteral("ORVEN: журнал %1 больше %2 МБ — это не журнал отчёта; "
                                    "он оставлен как есть")
                         .arg(shown(journal.path))
                         .arg(journalSizeLimit / (1024 * 1024)));
            continue;
        case JournalFileRead::Unreadable:
            continue;
        }
        if (recovered.contains(identity)) {
            continue;
        }
        const JournalContents contents = readJournal(data);
        if (!contents.valid || stillRunning(contents.processId)) {
            continue;
        }
        if (!reportHasRows(contents.operations)) {
            QFile::remove(journal.path);
            continue;
        }
        const QString written =
            writeRecovered(contents.operations,
                           recoveredStem(contents.reportPath, QFileInfo(journal.path).fileName()));
        if (written.isEmpty()) {
            tell(QStringLiteral("ORVEN: незаконченный отчёт из журнала %1 не удалось "
                                "восстановить: ни в одну папку нельзя записать файл")
                     .arg(shown(journal.path)),
                 QString());
            continue;
        }
        // The journal goes before the recovery is told, so that whoever reads
        // the message finds the report alone.
        const bool removed = QFile::remove(journal.path);
        tell(QStringLiteral("ORVEN: отчёт, не законченный при прошлой работе, восстановлен "
                            "в файле %1")
                 .arg(written),
             written);
        if (!removed) {
            recovered.add(identity);
            tell(QStringLiteral("ORVEN: журнал %1 нельзя удалить; он остаётся, но больше "
                                "не восстанавливается")
                     .arg(shown(journal.path)),
                 QString());
        }
    }
}

void writeStandardErrorLine(const QString& line) {
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

void startReportRecovery(RecoveryTeller tell) {
    stopReportRecovery();
    QPointer<QCoreApplication> app = QCoreApplication::instance();
    recoveryThread = QThread::create([tell = std::move(tell), app] {
        // Standard error is written at once, so that a recovery that ends as
        // the program ends is still told there; the rest goes to the event
        // loop of the program.
        const auto toStudent = [&](const QString& message, const QString& pdfPath) {
            writeStandardErrorLine(message);
            if (app) {
                QMetaObject::invokeMethod(
                    app, [tell, message, pdfPath] { tell(message, pdfPath); },
                    Qt::QueuedConnection);
            }
        };
        recoverLeftReports(toStudent, writeStandardErrorLine,
                           [] { return QThread::currentThread()->isInterruptionRequested(); });
    });
    static const bool registered = std::atexit(stopRecoveryAtExit) == 0;
    Q_UNUSED(registered);
    recoveryThread->start(QThread::LowPriority);
}

void stopReportRecovery() {
    if (recoveryThread == nullptr) {
        return;
    }
    recoveryThread->requestInterruption();
    recoveryThread->wait();
    delete recoveryThread;
    recoveryThread = nullptr;
}

} // namespace orven
