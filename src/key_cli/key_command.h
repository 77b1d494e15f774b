#pragma once
// The commands of orven-key, the teacher's key. Each command is a record in a
// file of its own (*_command.cpp): its name, what it does, its positional
// arguments, its own options, whether it needs the PDF helper, and the
// function that runs it over the parsed command line. The registry
// (key_command.cpp) lists the records once; usage, `--help`, `COMMAND --help`
// and the refusal of another command's option all come from them.
//
// A command writes its text to io.out and a one-line Russian error to io.err
// and returns the exit status: 0 done (check: the report passes), 1 a check
// that fails, 2 bad usage or bad input. The tests run commands in process.

#include "key_cli/report_reader.h"
#include "report/report_journal.h"

#include <QIODevice>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QVariant>

#include <functional>

namespace orven {

constexpr int statusDone = 0;
constexpr int statusFailed = 1;
constexpr int statusBadInput = 2;

struct KeyIo {
    QTextStream& out;
    QTextStream& err;
    QIODevice* in = nullptr; // standard input, for a file named "-"
};

// An option of a command.
struct KeyOption {
    QStringList names;          // short names first: {"o", "output"}
    QString valueName;          // as the usage shows the value; empty for a flag
    QString help;               // what it does, one sentence (wrapped when shown)
    bool required = false;      // shown without brackets; the command checks it
    QVariant defaultValue = {}; // the value when the option is not given
    // The value read from its text; an empty error when it is good. Unset: the text itself.
    QVariant (*read)(const QString& text, QString& error) = nullptr;

    QString shownName() const; // "--top", "-o"
};

struct KeyCommand;

// A command line parsed for its command.
struct CommandLine {
    const KeyCommand* command = nullptr;
    QStringList arguments; // the positional arguments after the command's name
    QMap<const KeyOption*, QVariant> values;

    bool isSet(const KeyOption& option) const { return values.contains(&option); }
    QVariant value(const KeyOption& option) const {
        return values.value(&option, option.defaultValue);
    }
    QString text(const KeyOption& option) const { return value(option).toString(); }
};

struct KeyCommand {
    QLatin1String name;
    QString purpose;        // one line, in the list of commands
    QString argumentsUsage; // the positional arguments as the usage shows them
    int leastArguments = 0;
    int mostArguments = 0;    // -1: any number
    QString missingArguments; // the error when fewer are given
    QString description;      // more about it, for `COMMAND --help`; may be empty
    QList<const KeyOption*> options;
    // True when this run reads or writes a PDF: then it runs in the helper
    // orven-key-pdf. Unset: never.
    bool (*needsPdf)(const CommandLine& line) = nullptr;
    int (*run)(const CommandLine& line, KeyIo& io) = nullptr;
};

// Every command, in the order the help lists them.
const QList<const KeyCommand*>& keyCommands();
const KeyCommand* keyCommandNamed(const QString& name);

// What a command line asks for: a command to run, or a text to show.
struct ParsedKeyLine {
    QString error;     // one Russian line: bad usage (exit 2)
    QString shownText; // --help or --version (exit 0)
    CommandLine line;
};
// The arguments without the program's name.
ParsedKeyLine parseKeyLine(const QStringList& arguments);

QString keyHelpText();
QString commandHelpText(const KeyCommand& command);
// One command's usage: "orven-key solve ФАЙЛ [--top N] ...", wrapped for a terminal.
QString commandUsage(const KeyCommand& command);

// Runs the command the line names.
int runKeyCommand(const CommandLine& line, KeyIo& io);

// What both programs' main() do: the command line parsed (a bad one: one
// line on standard error, status 2), --help and --version answered, and
// otherwise run() called with the line and the standard streams.
int keyMain(int argc, char* argv[],
            const std::function<int(const CommandLine& line, KeyIo& io)>& run);

// Reading a report's PDF and writing a PDF need poppler and QtGui, which the
// program loads only where a command needs them (the helper orven-key-pdf);
// the commands reach them through these functions, set by that program's
// main(). Unset, a command that needs one says so.
struct KeyPdfFunctions {
    // Writes the operations as an A4 PDF, landscape or portrait.
    bool (*write)(const ReportOperations& operations, const QString& path, const QString& title,
                  bool landscape) = nullptr;
    // The rows of a PDF's text, pages divided by "\f"; a fault when not read
    // (report_reader.h: the program reads each in a reader under limits).
    ReadFault (*readText)(const QByteArray& data, QStringList& lines) = nullptr;
};
void setKeyPdfFunctions(const KeyPdfFunctions& functions);
const KeyPdfFunctions& keyPdfFunctions();

} // namespace orven
