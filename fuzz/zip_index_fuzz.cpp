// A zip handed in (Moodle's "Download all submissions"): its index checked
// and every entry it allows read.

#include "course/zip_archive.h"
#include "harness.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reader opens files, as grade gives it them: one of this process's own.
    static const QString path =
        QDir::temp().filePath(QStringLiteral("orven-fuzz-zip-%1.zip").arg(::getpid()));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return 0;
    }
    file.write(inputBytes(data, size));
    file.close();
    orven::ZipReader reader;
    QString error;
    if (reader.open(path, error)) {
        for (qsizetype i = 0; i < reader.entries().size(); ++i) {
            QByteArray contents;
            if (reader.entries().at(i).refused.isEmpty()) {
                (void)reader.read(i, contents, error);
            }
        }
    }
    QFile::remove(path);
    return 0;
}
