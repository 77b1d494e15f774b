// orven-key: the teacher's key to a design (key/commands.h). main() parses the
// command line and dispatches.
//
//   orven-key solve FILE [--top N] [--sort ORDER] [--max-channels N] [--csv FILE] [--pdf FILE]
//   orven-key explain FILE --exchanger E --packs COLD,HOT --channels C1,...;H1,... [--pdf FILE]
//   orven-key check REPORT.pdf [--task FILE] [--tolerance P]

#include "key/commands.h"

#include <QGuiApplication>
#include <QLocale>

#include <cstdio>

namespace {

// Qt's own notices (fonts, runtime folder) are no business of the user's.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fputs(QStringLiteral("orven-key: внутренняя ошибка: %1\n").arg(text).toUtf8(), stderr);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    orven::KeyIo io{out, err};
    orven::KeyOptions options;
    if (const QString error = orven::parseKeyArguments(arguments, options); !error.isEmpty()) {
        err << QStringLiteral("orven-key: ") << error << QLatin1Char('\n');
        return orven::statusBadInput;
    }
    if (options.help) {
        out << orven::keyHelpText();
        return orven::statusDone;
    }
    if (options.version) {
        out << QStringLiteral("orven-key " ORVEN_VERSION "\n");
        return orven::statusDone;
    }

    qInstallMessageHandler(quietMessages);
    QLocale::setDefault(QLocale::c());
    if (options.pdf.isEmpty()) {
        // Text alone needs no fonts: no GUI application, no font database.
        QCoreApplication application(argc, argv);
        return orven::runKeyCommand(options, io);
    }
    // No windows: the offscreen platform gives the fonts a PDF needs without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return orven::runKeyCommand(options, io);
}
