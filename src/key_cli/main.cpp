// orven-key: the teacher's key (key_cli/key_command.h). main() parses the
// command line and runs its command; a command that reads or writes a PDF on
// this line runs in the helper orven-key-pdf instead, so that the others load
// QtCore alone.

#include "key_cli/key_command.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

// The helper beside this program (a build tree, or Windows), else where it is
// installed, relative to this program (bin/../libexec/orven/orven-key-pdf).
QString pdfHelper() {
#ifdef Q_OS_WIN
    const QDir folder(QCoreApplication::applicationDirPath());
    const QString beside = folder.filePath(QStringLiteral("orven-key-pdf.exe"));
#else
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    const QDir folder = QFileInfo(self).absoluteDir();
    const QString beside = folder.filePath(QStringLiteral("orven-key-pdf"));
#endif
    return QFileInfo(beside).isExecutable()
               ? beside
               : QDir::cleanPath(folder.filePath(QStringLiteral(ORVEN_KEY_PDF_HELPER)));
}

} // namespace

int main(int argc, char* argv[]) {
    return orven::keyMain(argc, argv, [&](const orven::CommandLine& line, orven::KeyIo& io) {
        if (line.command->needsPdf != nullptr && line.command->needsPdf(line)) {
#ifdef Q_OS_WIN
            // Windows has no exec: the helper runs on this console, with this
            // program's streams, and its status is this program's.
            QCoreApplication application(argc, argv);
            QProcess helper;
            helper.setProcessChannelMode(QProcess::ForwardedChannels);
            helper.setInputChannelMode(QProcess::ForwardedInputChannel);
            // The helper ends when this program does (orven-key-pdf's main).
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("ORVEN_KEY_LAUNCHER"),
                               QString::number(QCoreApplication::applicationPid()));
            helper.setProcessEnvironment(environment);
            helper.start(pdfHelper(), QCoreApplication::arguments().mid(1));
            if (helper.waitForStarted(-1) && helper.waitForFinished(-1)) {
                return helper.exitStatus() == QProcess::NormalExit ? helper.exitCode()
                                                                   : orven::statusBadInput;
            }
#else
            const QByteArray helper = QFile::encodeName(pdfHelper());
            ::execv(helper.constData(), argv);
#endif
            io.err << QStringLiteral("orven-key: программа orven-key-pdf (%1), которая читает и "
                                     "пишет PDF, не запускается")
                          .arg(pdfHelper())
                   << QLatin1Char('\n');
            return orven::statusBadInput;
        }
        QCoreApplication application(argc, argv);
        QLocale::setDefault(QLocale::c());
        return orven::runKeyCommand(line, io);
    });
}
