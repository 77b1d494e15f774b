#include "report/report_journal.h"

#include <QCoreApplication>
#include <QFile>
#include <QList>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>

#ifdef Q_OS_WIN
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace orven {

namespace {

// A new file of the user's own, written unbuffered, and its flush to the disk.
#ifdef Q_OS_WIN
int openNewFile(const QString& path) {
    return ::_wopen(reinterpret_cast<const wchar_t*>(path.utf16()),
                    _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}
int syncFile(int descriptor) {
    return ::_commit(descriptor);
}
#else
int openNewFile(const QString& path) {
    return ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                  0600);
}
int syncFile(int descriptor) {
    return ::fsync(descriptor);
}
#endif

const QByteArray headerMark = QByteArrayLiteral("ORVEN-JOURNAL 1 ");
const QByteArray blockMark = QByteArrayLiteral("B");

QByteArray escaped(const QString& text) {
    QByteArray out;
    for (const char c : text.toUtf8()) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

QString unescaped(const QByteArray& data) {
    QByteArray out;
    out.reserve(data.size());
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data.at(i) == '\\' && i + 1 < data.size()) {
            const char next = data.at(++i);
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            out += data.at(i);
        }
    }
    return QString::fromUtf8(out);
}

// One operation from a record line, or false for a line that is no record.
bool parseRecord(const QByteArray& line, ReportOperation& operation) {
    if (line.isEmpty()) {
        return false;
    }
    const QByteArray rest = line.mid(2);
    switch (line.at(0)) {
    case ReportOperation::Font:
        operation = {ReportOperation::Font, unescaped(rest), 0};
        return line.size() >= 2;
    case ReportOperation::Size: {
        bool ok = false;
        const double points = rest.toDouble(&ok);
        operation = {ReportOperation::Size, QString(), points};
        return ok;
    }
    case ReportOperation::Line:
        operation = {ReportOperation::Line, unescaped(rest), 0};
        return line.size() >= 2;
    case ReportOperation::Empty:
        operation = {ReportOperation::Empty, QString(), 0};
        return line.size() == 1;
    case ReportOperation::Page:
        operation = {ReportOperation::Page, QString(), 0};
        return line.size() == 1;
    case ReportOperation::Header: {
        const qsizetype blank = rest.indexOf(' ');
        bool ok = false;
        const int page = rest.left(blank).toInt(&ok);
        operation = {ReportOperation::Header, unescaped(rest.mid(blank + 1)), double(page)};
        return ok && blank > 0;
    }
    default:
        return false;
    }
}

} // namespace

bool reportHasRows(const ReportOperations& operations) {
    return std::any_of(operations.cbegin(), operations.cend(), [](const ReportOperation& op) {
        return op.kind == ReportOperation::Line || op.kind == ReportOperation::Empty ||
               op.kind == ReportOperation::Header;
    });
}

QByteArray journalHeader(qint64 processId, const QString& reportPath) {
    return headerMark + QByteArray::number(processId) + ' ' + escaped(reportPath) + '\n';
}

QByteArray journalBlock(const ReportOperations& operations) {
    QByteArray data;
    for (const ReportOperation& operation : operations) {
        data += static_cast<char>(operation.kind);
        switch (operation.kind) {
        case ReportOperation::Font:
        case ReportOperation::Line:
            data += ' ' + escaped(operation.text);
            break;
        case ReportOperation::Size:
            data += ' ' + QByteArray::number(operation.size, 'g', 17);
            break;
        case ReportOperation::Header:
            data += ' ' + QByteArray::number(static_cast<int>(operation.size)) + ' ' +
                    escaped(operation.text);
            break;
        case ReportOperation::Empty:
        case ReportOperation::Page:
            break;
        }
        data += '\n';
    }
    return data + blockMark + '\n';
}

JournalContents readJournal(const QByteArray& data) {
    JournalContents contents;
    const qsizetype headerEnd = data.indexOf('\n');
    if (headerEnd < 0 || !data.startsWith(headerMark)) {
        return contents;
    }
    const QByteArray header = data.mid(headerMark.size(), headerEnd - headerMark.size());
    const qsizetype blank = header.indexOf(' ');
    bool ok = false;
    contents.processId = header.left(blank).toLongLong(&ok);
    if (blank <= 0 || !ok) {
        return contents;
    }
    contents.reportPath = unescaped(header.mid(blank + 1));
    contents.valid = true;

    // Only lines that end with a line feed are whole; only blocks that end with
    // their mark are taken.
    ReportOperations block;
    qsizetype start = headerEnd + 1;
    for (qsizetype end = data.indexOf('\n', start); end >= 0; end = data.indexOf('\n', start)) {
        const QByteArray line = data.mid(start, end - start);
        start = end + 1;
        if (line == blockMark) {
            contents.operations += block;
            block.clear();
            continue;
        }
        ReportOperation operation;
        if (!parseRecord(line, operation)) {
            break; // damaged from here on: keep what was complete
        }
        block += operation;
    }
    return contents;
}

ReportJournal::~ReportJournal() {
    close();
}

bool ReportJournal::open(const QString& journalPath, const QString& reportPath) {
    close();
    descriptor_ = openNewFile(journalPath);
    if (descriptor_ < 0) {
        return false;
    }
    path_ = journalPath;
    if (!writeAll(journalHeader(QCoreApplication::applicationPid(), reportPath)) ||
        syncFile(descriptor_) != 0) {
        remove();
        return false;
    }
    return true;
}

bool ReportJournal::appendBlock(const ReportOperations& operations) {
    if (!isOpen()) {
        return false;
    }
    return writeAll(journalBlock(operations)) && syncFile(descriptor_) == 0;
}

bool ReportJournal::writeAll(const QByteArray& data) {
    const char* next = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor_, next, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

void ReportJournal::remove() {
    const QString path = path_;
    close();
    if (!path.isEmpty()) {
        QFile::remove(path);
    }
}

void ReportJournal::close() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
    descriptor_ = -1;
    path_.clear();
}

} // namespace orven
