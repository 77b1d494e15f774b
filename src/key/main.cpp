// orven-key: the teacher's key to a design (key/commands.h). main() parses the
// command line and dispatches; the commands that read or write a PDF are run
// by the helper orven-key-pdf, so that the others load QtCore alone.
//
//   orven-key solve FILE [--top N] [--sort ORDER] [--max-channels N] [--csv FILE] [--pdf FILE]
//   orven-key explain FILE --exchanger E --packs COLD,HOT --channels C1,...;H1,... [--pdf FILE]
//   orven-key check REPORT.pdf [--task FILE] [--tolerance P]

#include "key/commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <unistd.h>

namespace {

// The helper beside this program (a build tree), else where it is installed,
// relative to this program (bin/../libexec/orven/orven-key-pdf).
QString pdfHelper() {
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    const QDir folder = QFileInfo(self).absoluteDir();
    const QString beside = folder.filePath(QStringLiteral("orven-key-pdf"));
    return QFileInfo(beside).isExecutable()
               ? beside
               : QDir::cleanPath(folder.filePath(QStringLiteral(ORVEN_KEY_PDF_HELPER)));
}

} // namespace

int main(int argc, char* argv[]) {
    return orven::keyMain(argc, argv, [&](const orven::KeyOptions& options, orven::KeyIo& io) {
        if (orven::needsPdf(options)) {
            const QByteArray helper = QFile::encodeName(pdfHelper());
            ::execv(helper.constData(), argv);
            io.err << QStringLiteral("orven-key: программа orven-key-pdf (%1), которая читает и "
                                     "пишет PDF, не запускается")
                          .arg(pdfHelper())
                   << QLatin1Char('\n');
            return orven::statusBadInput;
        }
        QCoreApplication application(argc, argv);
        QLocale::setDefault(QLocale::c());
        return orven::runKeyCommand(options, io);
    });
}
