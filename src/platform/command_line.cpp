#include "platform/command_line.h"

#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace orven {

namespace {

void writeTo(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

QString helpText() {
    return QStringLiteral(
        "Использование: orven [--help | --version]\n"
        "ORVEN — учебная программа расчёта пластинчатых теплообменников.\n"
        "Без аргументов открывает главное меню программы.\n"
        "\n"
        "  -h, --help     показать эту справку и выйти\n"
        "  -v, --version  показать версию программы и выйти\n"
        "\n"
        "Отчёт печатается на принтер по умолчанию, а без принтера записывается в файл PDF\n"
        "в папку документов пользователя (xdg-user-dir DOCUMENTS).\n"
        "Подробнее: man orven\n");
}

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
const char* programName = "orven";
QList<HeldMessage>& heldMessages() {
    static QList<HeldMessage> messages;
    return messages;
}

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        const QByteArray display = qgetenv("DISPLAY");
        const QString where =
            display.isEmpty() ? QStringLiteral("переменная DISPLAY не задана")
                              : QStringLiteral("DISPLAY=%1").arg(QString::fromLocal8Bit(display));
        writeTo(stderr, QStringLiteral("%1: не удалось открыть дисплей для окон программы (%2); "
                                       "запустите её в графическом сеансе\n")
                            .arg(QString::fromLatin1(programName), where));
        std::_Exit(1);
    }
    heldMessages().append({type, QByteArray(context.category ? context.category : ""), text});
}

} // namespace

int handleCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("показать справку"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("показать версию"));
    parser.addOption(help);
    parser.addOption(version);
    const bool parsed = parser.parse(arguments);
    if (!parsed || !parser.positionalArguments().isEmpty()) {
        const QStringList known{QStringLiteral("-h"), QStringLiteral("--help"),
                                QStringLiteral("-v"), QStringLiteral("--version")};
        QString shown;
        for (const QString& argument : arguments.mid(1)) {
            if (!known.contains(argument)) {
                shown = argument;
                break;
            }
        }
        writeTo(stderr,
                QStringLiteral("orven: неизвестный аргумент «%1»; программа запускается без "
                               "аргументов (справка: orven --help)\n")
                    .arg(shown));
        return 2;
    }
    if (parser.isSet(help)) {
        writeTo(stdout, helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        writeTo(stdout, QStringLiteral("orven " ORVEN_VERSION "\n"));
        return 0;
    }
    return -1;
}

void beginOpeningDisplay(const char* program) {
    programName = program;
    heldMessages().clear();
    previousHandler = qInstallMessageHandler(holdMessage);
}

void endOpeningDisplay() {
    qInstallMessageHandler(previousHandler);
    const QList<HeldMessage> messages = heldMessages();
    heldMessages().clear();
    for (const HeldMessage& message : messages) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
}

} // namespace orven
