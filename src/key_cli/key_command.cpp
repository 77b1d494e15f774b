#include "key_cli/key_command.h"
#include "key_cli/command_support.h"

#include <QCommandLineParser>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h.
#include <shellapi.h>
#endif

namespace orven {

// The registry: each command's record is defined in its own file.
extern const KeyCommand solveCommand;
extern const KeyCommand explainCommand;
extern const KeyCommand checkCommand;
extern const KeyCommand prepareCommand;
extern const KeyCommand fluidTableCommand;
extern const KeyCommand assignCommand;
extern const KeyCommand gradeCommand;

const QList<const KeyCommand*>& keyCommands() {
    static const QList<const KeyCommand*> commands{
        &solveCommand,      &explainCommand, &checkCommand, &prepareCommand,
        &fluidTableCommand, &assignCommand,  &gradeCommand};
    return commands;
}

const KeyCommand* keyCommandNamed(const QString& name) {
    const auto& commands = keyCommands();
    const auto found = std::find_if(commands.cbegin(), commands.cend(),
                                    [&](const KeyCommand* c) { return c->name == name; });
    return found == commands.cend() ? nullptr : *found;
}

namespace {

KeyPdfFunctions pdf;

// Columns of a terminal the help is wrapped for, and where an option's text starts.
constexpr int helpWidth = 80;
constexpr int optionColumn = 18;

const QString program = QStringLiteral("orven-key");

QString dashed(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString commandList() {
    QStringList names;
    for (const KeyCommand* command : keyCommands()) {
        names << command->name;
    }
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" или ") +
           names.last();
}

// Words set on lines of at most width characters, the first after `first`,
// the others after `indent` blanks.
QString wrappedAfter(const QString& first, const QString& words, int indent) {
    QStringList lines = wrapped(words, helpWidth - indent);
    QString text;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        text +=
            (i == 0 ? first : QString(indent, QLatin1Char(' '))) + lines.at(i) + QLatin1Char('\n');
    }
    return lines.isEmpty() ? first.trimmed() + QLatin1Char('\n') : text;
}

// A head ("  --top N") and its text beside it from the option column on; a
// head past the column pushes the first line's text on.
QString columnLine(QString head, const QString& help) {
    head = head.size() + 2 > optionColumn ? head + QStringLiteral("  ")
                                          : head.leftJustified(optionColumn);
    const qsizetype firstWidth = helpWidth - head.size();
    QStringList words = help.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString firstLine;
    while (!words.isEmpty() && firstLine.size() + 1 + words.first().size() <= firstWidth) {
        firstLine += (firstLine.isEmpty() ? QString() : QStringLiteral(" ")) + words.takeFirst();
    }
    QString text = head + firstLine + QLatin1Char('\n');
    if (!words.isEmpty()) {
        text += wrappedAfter(QString(optionColumn, QLatin1Char(' ')), words.join(QLatin1Char(' ')),
                             optionColumn);
    }
    return text;
}

QString optionLine(const QStringList& names, const QString& valueName, const QString& help) {
    QStringList shown;
    for (const QString& name : names) {
        shown << dashed(name);
    }
    QString head = QStringLiteral("  ") + shown.join(QStringLiteral(", "));
    if (!valueName.isEmpty()) {
        head += QLatin1Char(' ') + valueName;
    }
    return columnLine(head, help);
}

const QStringList helpNames{QStringLiteral("h"), QStringLiteral("help")};
const QStringList versionNames{QStringLiteral("v"), QStringLiteral("version")};

QString exitStatusText() {
    return QStringLiteral("Код выхода: 0 — готово, 1 — проверка не прошла (assign: шаблон не дал "
                          "заданий на всех; grade: есть замечание или нет отчёта), 2 — ошибка в "
                          "вызове или данных.");
}

// The commands that take an option of this name.
QStringList ownersOf(const QString& name) {
    QStringList owners;
    for (const KeyCommand* command : keyCommands()) {
        for (const KeyOption* option : command->options) {
            if (option->names.contains(name)) {
                owners << command->name;
                break;
            }
        }
    }
    return owners;
}

} // namespace

QString KeyOption::shownName() const {
    return dashed(names.last());
}

QString commandUsage(const KeyCommand& command) {
    QStringList tokens;
    if (!command.argumentsUsage.isEmpty()) {
        tokens << command.argumentsUsage;
    }
    // Required options first, as a sentence names its object before its manner.
    for (const bool required : {true, false}) {
        for (const KeyOption* option : command.options) {
            if (option->required != required) {
                continue;
            }
            QString token = dashed(option->names.first());
            if (!option->valueName.isEmpty()) {
                token += QLatin1Char(' ') + option->valueName;
            }
            tokens << (required ? token : QLatin1Char('[') + token + QLatin1Char(']'));
        }
    }
    const QString head = QStringLiteral("  %1 %2 ").arg(program, command.name);
    QString text = head;
    qsizetype column = head.size();
    for (const QString& token : tokens) {
        if (column > head.size() && column + 1 + token.size() > helpWidth) {
            text += QLatin1Char('\n') + QString(head.size(), QLatin1Char(' '));
            column = head.size();
        } else if (column > head.size()) {
            text += QLatin1Char(' ');
            ++column;
        }
        text += token;
        column += token.size();
    }
    return text + QLatin1Char('\n');
}

QString keyHelpText() {
    QString text = QStringLiteral("Использование:\n");
    for (const KeyCommand* command : keyCommands()) {
        text += commandUsage(*command);
    }
    text += QStringLiteral("  %1 КОМАНДА --help\n  %1 --help | --version\n\n").arg(program);
    text += wrappedAfter(QString(),
                         QStringLiteral("Ключ преподавателя к заданию ORVEN: исходные данные из "
                                        "условия задания; все стандартные варианты "
                                        "теплообменника, ранжированные по поверхности, запасу и "
                                        "числу пакетов; расчёт одного варианта по шагам; "
                                        "проверка отчёта, напечатанного программой orven в PDF; "
                                        "задания группы и проверка их отчётов. ФАЙЛ «-» — "
                                        "стандартный ввод."),
                         0);
    text += QStringLiteral("\nКоманды:\n");
    for (const KeyCommand* command : keyCommands()) {
        text += columnLine(QStringLiteral("  ") + command->name, command->purpose);
    }
    text += QStringLiteral("\nПараметры команды: %1 КОМАНДА --help\n").arg(program);
    text += optionLine(helpNames, QString(), QStringLiteral("показать эту справку и выйти"));
    text += optionLine(versionNames, QString(), QStringLiteral("показать версию и выйти"));
    text += QLatin1Char('\n') + wrappedAfter(QString(), exitStatusText(), 0);
    text += QStringLiteral("Форматы файлов задачи, задания и таблиц жидкостей: man orven-key\n");
    return text;
}

QString commandHelpText(const KeyCommand& command) {
    QString text = QStringLiteral("Использование:\n") + commandUsage(command) + QLatin1Char('\n');
    QString about = command.purpose;
    about[0] = about.at(0).toUpper();
    text += wrappedAfter(QString(), about + QLatin1Char('.'), 0);
    if (!command.description.isEmpty()) {
        text += wrappedAfter(QString(), command.description, 0);
    }
    text += QStringLiteral("\nПараметры:\n");
    for (const KeyOption* option : command.options) {
        text += optionLine(option->names, option->valueName, option->help);
    }
    text += optionLine(helpNames, QString(), QStringLiteral("показать эту справку и выйти"));
    text += QLatin1Char('\n') + wrappedAfter(QString(), exitStatusText(), 0);
    return text;
}

ParsedKeyLine parseKeyLine(const QStringList& arguments) {
    ParsedKeyLine parsed;
    const auto isOneOf = [](const QString& argument, const QStringList& names) {
        return std::any_of(names.cbegin(), names.cend(),
                           [&](const QString& name) { return argument == dashed(name); });
    };
    if (arguments.isEmpty()) {
        parsed.error =
            QStringLiteral("не указана команда: %1 (справка: orven-key --help)").arg(commandList());
        return parsed;
    }
    const QString first = arguments.first();
    if (isOneOf(first, helpNames)) {
        parsed.shownText = keyHelpText();
        return parsed;
    }
    if (isOneOf(first, versionNames)) {
        parsed.shownText = QStringLiteral("orven-key " ORVEN_VERSION "\n");
        return parsed;
    }
    if (first.startsWith(QLatin1Char('-'))) {
        parsed.error = QStringLiteral("«%1» — не команда: сначала команда (%2), затем её параметры "
                                      "(справка: orven-key --help)")
                           .arg(first, commandList());
        return parsed;
    }
    const KeyCommand* command = keyCommandNamed(first);
    if (command == nullptr) {
        parsed.error =
            QStringLiteral("неизвестная команда «%1»: нужно %2").arg(first, commandList());
        return parsed;
    }

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(helpNames);
    const QCommandLineOption version(versionNames);
    parser.addOption(help);
    parser.addOption(version);
    QList<QCommandLineOption> parserOptions;
    for (const KeyOption* option : command->options) {
        parserOptions << (option->valueName.isEmpty()
                              ? QCommandLineOption(option->names)
                              : QCommandLineOption(option->names, QString(), option->valueName));
        parser.addOption(parserOptions.last());
    }
    if (!parser.parse(QStringList{program} + arguments.mid(1))) {
        if (!parser.unknownOptionNames().isEmpty()) {
            const QString name = parser.unknownOptionNames().first();
            const QStringList owners = ownersOf(name);
            parsed.error =
                owners.isEmpty()
                    ? QStringLiteral("неизвестный параметр «%1» у команды %2 (справка: "
                                     "orven-key %2 --help)")
                          .arg(dashed(name), command->name)
                    : QStringLiteral("команда %1 не принимает параметр «%2» (он у команд%3 %4; "
                                     "справка: orven-key %1 --help)")
                          .arg(command->name, dashed(name),
                               owners.size() == 1 ? QStringLiteral("ы") : QString(),
                               owners.join(QStringLiteral(", ")));
            return parsed;
        }
        // Qt says "Missing value after '--top'."
        static const QRegularExpression quotedName(QStringLiteral("'([^']+)'"));
        parsed.error = QStringLiteral("после %1 нужно значение")
                           .arg(quotedName.match(parser.errorText()).captured(1));
        return parsed;
    }
    if (parser.isSet(help)) {
        parsed.shownText = commandHelpText(*command);
        return parsed;
    }
    if (parser.isSet(version)) {
        parsed.shownText = QStringLiteral("orven-key " ORVEN_VERSION "\n");
        return parsed;
    }
    CommandLine& line = parsed.line;
    line.command = command;
    for (qsizetype i = 0; i < command->options.size(); ++i) {
        const KeyOption* option = command->options.at(i);
        const QCommandLineOption& parserOption = parserOptions.at(i);
        if (!parser.isSet(parserOption)) {
            continue;
        }
        if (option->valueName.isEmpty()) {
            line.values.insert(option, true);
            continue;
        }
        const QString text = parser.value(parserOption);
        if (option->read == nullptr) {
            line.values.insert(option, text);
            continue;
        }
        QString error;
        const QVariant value = option->read(text, error);
        if (!error.isEmpty()) {
            parsed.error = QStringLiteral("%1: %2").arg(option->shownName(), error);
            return parsed;
        }
        line.values.insert(option, value);
    }
    line.arguments = parser.positionalArguments();
    if (line.arguments.size() < command->leastArguments) {
        parsed.error = command->missingArguments;
    } else if (command->mostArguments >= 0 && line.arguments.size() > command->mostArguments) {
        parsed.error =
            QStringLiteral("лишний аргумент «%1»").arg(line.arguments.at(command->mostArguments));
    }
    return parsed;
}

int runKeyCommand(const CommandLine& line, KeyIo& io) {
    return line.command->run(line, io);
}

int keyMain(int argc, char* argv[],
            const std::function<int(const CommandLine& line, KeyIo& io)>& run) {
    QStringList arguments;
#ifdef Q_OS_WIN
    // The arguments as the console gave them, in UTF-16 (argv is in the ANSI
    // code page, which loses Cyrillic names on a machine set otherwise); the
    // lines out in UTF-8, which the console is told to show.
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count); wide != nullptr) {
        for (int i = 1; i < count; ++i) {
            arguments << QString::fromWCharArray(wide[i]);
        }
        LocalFree(wide);
    }
    SetConsoleOutputCP(CP_UTF8);
    // Bytes as they are: a file's from "-", and the lines out as on Linux,
    // ended by LF, which the console shows as well.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#else
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
#endif
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    QFile in;
    in.open(stdin, QIODevice::ReadOnly);
    KeyIo io{out, err, &in};
    const ParsedKeyLine parsed = parseKeyLine(arguments);
    if (!parsed.error.isEmpty()) {
        return badInput(io, parsed.error);
    }
    if (!parsed.shownText.isEmpty()) {
        out << parsed.shownText;
        return statusDone;
    }
    return run(parsed.line, io);
}

void setKeyPdfFunctions(const KeyPdfFunctions& functions) {
    pdf = functions;
}

const KeyPdfFunctions& keyPdfFunctions() {
    return pdf;
}

} // namespace orven
