#pragma once
// The commands of orven-key, the teacher's key to a design. Each is a function
// over its parsed options that writes its text to io.out and a one-line
// Russian error to io.err and returns the exit status: 0 done (check: the
// report passes), 1 a check that fails, 2 bad usage or bad input. main() only
// parses the command line and dispatches; the tests call the commands in
// process. Every number comes from the student program's own calculation and
// report code.

#include "key/variants.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace orven {

constexpr int statusDone = 0;
constexpr int statusFailed = 1;
constexpr int statusBadInput = 2;

struct KeyOptions {
    QString command; // solve, explain, check
    QString file;
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
    double tolerance = 2; // per cent
};

struct KeyIo {
    QTextStream& out;
    QTextStream& err;
};

// The command line without the program's name; an error text (Russian, one
// line) when it cannot be used.
QString parseKeyArguments(const QStringList& arguments, KeyOptions& options);
QString keyHelpText();

int solveCommand(const KeyOptions& options, KeyIo& io);
int explainCommand(const KeyOptions& options, KeyIo& io);
int checkCommand(const KeyOptions& options, KeyIo& io);
// The command options.command names.
int runKeyCommand(const KeyOptions& options, KeyIo& io);

// A CSV field as RFC 4180 asks: quoted when it holds a separator (, or ;), a
// quote or a line break, quotes doubled.
QString csvField(const QString& text);

} // namespace orven
