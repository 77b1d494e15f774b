#pragma once
// The commands of orven-key, the teacher's key to a design. Each is a function
// over its parsed options that writes its text to io.out and a one-line
// Russian error to io.err and returns the exit status: 0 done (check: the
// report passes), 1 a check that fails, 2 bad usage or bad input. main() only
// parses the command line and dispatches; the tests call the commands in
// process. Every number comes from the student program's own calculation and
// report code.

#include "key/variants.h"
#include "report/report_journal.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace orven {

constexpr int statusDone = 0;
constexpr int statusFailed = 1;
constexpr int statusBadInput = 2;

struct KeyOptions {
    QString command;       // solve, explain, check, prepare, fluid-table
    QString file;          // "-" is standard input
    QStringList arguments; // fluid-table: NAME FROM TO STEP; grade: reports and folders
    bool help = false;
    bool version = false;
    int top = 10;
    int maxChannels = 0;
    QString csv;
    QString pdf;
    QString exchanger;
    QString packs;
    QString channels;
    VariantOrder order = VariantOrder::Surface;
    QString task;
    double tolerance = 2;  // per cent
    QString output;        // prepare -o: the design file
    bool protocol = false; // prepare --protocol
    QString fluids;        // --fluids: the teacher's folder of fluid tables
    // assign
    QString classList;
    QString taskTemplate;
    QString outFolder;
    quint64 draw = 1; // the number of the draw: the same number, the same tasks
    int minSuitable = 3;
    bool withValues = false;
    QString course = QStringLiteral("Расчёт пластинчатого теплообменника");
    // grade: the gradebook column and the CSV separator
    QString item = QStringLiteral("ORVEN");
    QChar separator = QLatin1Char(',');
};

struct KeyIo {
    QTextStream& out;
    QTextStream& err;
    QIODevice* in = nullptr; // standard input, for a file named "-"
};

// The command line without the program's name; an error text (Russian, one
// line) when it cannot be used.
QString parseKeyArguments(const QStringList& arguments, KeyOptions& options);
QString keyHelpText();

int solveCommand(const KeyOptions& options, KeyIo& io);
int explainCommand(const KeyOptions& options, KeyIo& io);
int checkCommand(const KeyOptions& options, KeyIo& io);
int prepareCommand(const KeyOptions& options, KeyIo& io);
int fluidTableCommand(const KeyOptions& options, KeyIo& io);
int assignCommand(const KeyOptions& options, KeyIo& io);
int gradeCommand(const KeyOptions& options, KeyIo& io);
// The command options.command names.
int runKeyCommand(const KeyOptions& options, KeyIo& io);

// Reading a report's PDF and writing a PDF need poppler and QtGui, which the
// program loads only where a command needs them (the helper orven-key-pdf);
// the commands reach them through these functions, set by that program's
// main(). Unset, a command that needs one says so.
struct KeyPdfFunctions {
    // The rows of a PDF's text, pages divided by "\f"; false with an error text.
    bool (*readText)(const QString& path, QStringList& lines, QString& error) = nullptr;
    // Writes the operations as an A4 PDF, landscape or portrait.
    bool (*write)(const ReportOperations& operations, const QString& path, const QString& title,
                  bool landscape) = nullptr;
};
void setKeyPdfFunctions(const KeyPdfFunctions& functions);
// True when the command needs them: check and grade read PDFs, assign and
// --pdf write them.
bool needsPdf(const KeyOptions& options);

// What both programs' main() do: the command line parsed (a bad one: one
// line on standard error, status 2), --help and --version answered, and
// otherwise run() called with the options and the standard streams.
int keyMain(int argc, char* argv[],
            const std::function<int(const KeyOptions& options, KeyIo& io)>& run);

// A CSV field as RFC 4180 asks: quoted when it holds a separator (, or ;), a
// quote or a line break, quotes doubled.
QString csvField(const QString& text);

} // namespace orven
