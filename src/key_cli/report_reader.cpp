#include "key_cli/report_reader.h"

#include "core/address_sanitizer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>

#include <cstdio>
#include <memory>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace orven {

namespace {

// Set once, before any reader starts.
QString& readerProgram() {
    static QString program;
    return program;
}

// A request or an answer's head: a decimal number, or a word and one.
constexpr qint64 longestHead = 64;

// One thread's reader, started when first needed and again after one was
// stopped.
class Reader {
public:
    ~Reader() { stop(); }

    ReadFault read(const QByteArray& data, QStringList& lines) {
        if (!process_ && !start()) {
            return ReadFault::NoReader;
        }
        const QDeadlineTimer deadline(mostReadSeconds * 1000);
        process_->write(QByteArray::number(data.size()) + '\n');
        process_->write(data);
        // The head of the answer, then its text, each as far as the deadline.
        QByteArray head;
        while (!head.endsWith('\n')) {
            if (!process_->canReadLine() && !waitForData(deadline)) {
                return failed(deadline);
            }
            head += process_->readLine(longestHead);
            if (head.size() >= longestHead) {
                return failed(deadline);
            }
        }
        const QList<QByteArray> words = head.trimmed().split(' ');
        bool kindOk = false;
        bool sizeOk = false;
        const int kind = words.value(0).toInt(&kindOk);
        const qint64 size = words.value(1).toLongLong(&sizeOk);
        if (words.size() != 2 || !kindOk || !sizeOk || kind < 0 ||
            kind > static_cast<int>(ReadFault::Text) || size < 0 || size > 4 * mostReportText) {
            stop();
            return ReadFault::Memory;
        }
        QByteArray text;
        while (text.size() < size) {
            if (process_->bytesAvailable() == 0 && !waitForData(deadline)) {
                return failed(deadline);
            }
            text += process_->read(size - text.size());
        }
        const auto fault = static_cast<ReadFault>(kind);
        lines = fault == ReadFault::None ? QString::fromUtf8(text).split(QLatin1Char('\n'))
                                         : QStringList();
        return fault;
    }

private:
    bool start() {
        process_ = std::make_unique<QProcess>();
        process_->setProgram(readerProgram().isEmpty() ? QCoreApplication::applicationFilePath()
                                                       : readerProgram());
        process_->setArguments({QString::fromLatin1(readerArgument)});
        process_->setProcessChannelMode(QProcess::SeparateChannels);
        process_->setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_UNIX
        // In the child, before it runs: its address space bounded, no core
        // files of the files that broke it.
        process_->setChildProcessModifier([] {
#if !ORVEN_ADDRESS_SANITIZER // its shadow takes terabytes of addresses
            const rlimit memory{static_cast<rlim_t>(mostReaderMemory),
                                static_cast<rlim_t>(mostReaderMemory)};
            setrlimit(RLIMIT_AS, &memory);
#endif
            const rlimit core{0, 0};
            setrlimit(RLIMIT_CORE, &core);
        });
#endif
        process_->start(QIODevice::ReadWrite);
        if (!process_->waitForStarted(mostReadSeconds * 1000) || !bound()) {
            process_.reset();
            return false;
        }
        return true;
    }

#ifdef Q_OS_WIN
    // Windows bounds a process through a job: its committed memory, and the
    // reader ended with the job when this program ends. The reader reads
    // nothing before its first request, so the job is in place in time.
    bool bound() {
        job_.reset(CreateJobObjectW(nullptr, nullptr));
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY |
                                                  JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE |
                                                  JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
        limits.ProcessMemoryLimit = static_cast<SIZE_T>(mostReaderMemory);
        const HANDLE child = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE,
                                         static_cast<DWORD>(process_->processId()));
        const bool bounded = job_ && child != nullptr &&
                             SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation,
                                                     &limits, sizeof limits) &&
                             AssignProcessToJobObject(job_.get(), child);
        if (child != nullptr) {
            CloseHandle(child);
        }
        if (!bounded) {
            process_->kill();
            process_->waitForFinished();
        }
        return bounded;
    }
    struct JobCloser {
        void operator()(HANDLE job) const { CloseHandle(job); }
    };
    std::unique_ptr<void, JobCloser> job_;
#else
    // The limits were set in the child before it ran.
    bool bound() {
        return true;
    }
#endif

    bool waitForData(const QDeadlineTimer& deadline) {
        const qint64 left = deadline.remainingTime();
        return left > 0 && process_->state() == QProcess::Running &&
               process_->waitForReadyRead(static_cast<int>(left));
    }

    // The reader past the deadline, or ended by the file: stopped, and the
    // next file gets a new one.
    ReadFault failed(const QDeadlineTimer& deadline) {
        const bool late = deadline.hasExpired();
        stop();
        return late ? ReadFault::Time : ReadFault::Memory;
    }

    void stop() {
        if (process_) {
            process_->kill();
            process_->waitForFinished(1000);
            process_.reset();
        }
    }

    std::unique_ptr<QProcess> process_;
};

} // namespace

QString readFaultText(ReadFault fault) {
    const QString unread = QStringLiteral("отчёт не прочитан: ");
    switch (fault) {
    case ReadFault::None:
        return QString();
    case ReadFault::NotPdf:
        return QStringLiteral("не читается как PDF");
    case ReadFault::Locked:
        return QStringLiteral("защищён паролем");
    case ReadFault::Pages:
        return unread +
               QStringLiteral("в нём больше %1 страниц, предел %1 страниц").arg(mostReportPages);
    case ReadFault::Text:
        return unread + QStringLiteral("текста больше %1 МиБ, предел %1 МиБ")
                            .arg(mostReportText / (1024 * 1024));
    case ReadFault::Time:
        return unread +
               QStringLiteral("чтение дольше %1 с, предел времени %1 с").arg(mostReadSeconds);
    case ReadFault::Memory:
        return unread + QStringLiteral("чтение прервано: файлу мало %1 МиБ памяти (предел) или он "
                                       "разрушает программу чтения")
                            .arg(mostReaderMemory / (1024 * 1024));
    case ReadFault::NoReader:
        break;
    }
    return unread + QStringLiteral("программа чтения PDF не запускается");
}

namespace {

// A reader a thread: each used by its own thread only, and ended by that
// thread (endReportReader) or with it. On Windows a plain pointer, ended by
// endReportReader alone (a reader left over is ended with its job when the
// program ends): a thread-local object with a destructor, once touched on a
// helper thread, hangs a MinGW program's end in its C++ run-time's unloading.
#ifdef Q_OS_WIN
using ReaderHold = Reader*;
#else
using ReaderHold = std::unique_ptr<Reader>;
#endif
ReaderHold& threadReader() {
    thread_local ReaderHold reader{};
    return reader;
}

} // namespace

ReadFault readReportText(const QByteArray& data, QStringList& lines) {
    lines.clear();
    if (data.size() > largestReport) {
        return ReadFault::NotPdf;
    }
    ReaderHold& reader = threadReader();
    if (!reader) {
        reader = ReaderHold(new Reader);
    }
    return reader->read(data, lines);
}

void setReportReaderProgram(const QString& program) {
    readerProgram() = program;
}

void endReportReader() {
    ReaderHold& reader = threadReader();
#ifdef Q_OS_WIN
    delete reader;
#endif
    reader = ReaderHold{};
}

int serveReportReads(ReadFault (*read)(const QByteArray& data, QStringList& lines)) {
#ifdef Q_OS_WIN
    // The requests and answers are bytes: no CR LF made of LF, no end at ^Z.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // Unbuffered: a buffer would wait for more than a request holds (on
    // Windows it reads whole blocks from the pipe).
    QFile in;
    QFile out;
    if (!in.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered) ||
        !out.open(stdout, QIODevice::WriteOnly)) {
        return 2;
    }
    for (;;) {
        const QByteArray head = in.readLine(longestHead);
        if (head.isEmpty()) {
            return 0; // the input ended: no more files
        }
        bool ok = false;
        const qint64 size = head.trimmed().toLongLong(&ok);
        if (!ok || size < 0 || size > largestReport) {
            return 2;
        }
        QByteArray data;
        while (data.size() < size) {
            const QByteArray part = in.read(size - data.size());
            if (part.isEmpty()) {
                return 2; // the input ended inside a file
            }
            data += part;
        }
        QStringList lines;
        const ReadFault fault = read(data, lines);
        const QByteArray text =
            fault == ReadFault::None ? lines.join(QLatin1Char('\n')).toUtf8() : QByteArray();
        out.write(QByteArray::number(static_cast<int>(fault)) + ' ' +
                  QByteArray::number(text.size()) + '\n');
        out.write(text);
        out.flush();
    }
}

} // namespace orven
