#pragma once
// Runs of the teacher's key: the installed program (ORVEN_KEY names it), or a
// command in this process as main() runs it.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orven::test {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

// input, when given, is the program's standard input; addressSpace, when
// given, bounds the program's address space (bytes; not in a build with
// AddressSanitizer).
Run runKey(const QStringList& arguments, const QByteArray& input = {}, qint64 addressSpace = 0);
Run runInProcess(const QStringList& arguments, const QByteArray& input = {});

// Whether the key's report readers are held to their memory limit here: not
// in a build with AddressSanitizer (its shadow takes terabytes of addresses),
// nor under Wine, which takes a job's memory limit and does not enforce it.
bool readerMemoryBounded();

} // namespace orven::test
