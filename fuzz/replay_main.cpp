// A harness as a plain program: every file of the folders (or the files)
// given is put through the reader once. A reader that crashes, hangs or trips
// a check fails the run, naming the input.

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char* argv[]) {
    int inputs = 0;
    for (int a = 1; a < argc; ++a) {
        const QString given = QString::fromLocal8Bit(argv[a]);
        QStringList files{given};
        if (QFileInfo(given).isDir()) {
            files.clear();
            const QDir folder(given);
            for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
                files << folder.filePath(name);
            }
        }
        for (const QString& path : files) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "replay: %s cannot be read\n", qPrintable(path));
                return 1;
            }
            const QByteArray data = file.readAll();
            std::fprintf(stderr, "replay: %s\n", qPrintable(path));
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                   static_cast<std::size_t>(data.size()));
            ++inputs;
        }
    }
    std::fprintf(stderr, "replay: %d inputs read\n", inputs);
    return inputs > 0 ? 0 : 1;
}
