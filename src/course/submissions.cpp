#include "course/submissions.h"

#include "core/bounded_file.h"
#include "course/zip_archive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <utility>

namespace orven {

namespace {

const QString marker = QStringLiteral("_assignsubmission_file");

// What can be read under a submission: regular files, not through links,
// hidden ones left alone; anything else is named with why.
void gatherFiles(const QString& folder, const QString& shownFolder, Submission& submission,
                 int depth) {
    // A submission is a folder or two; a deeper tree is not Moodle's.
    constexpr int deepest = 8;
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString shown = shownFolder + QLatin1Char('/') + entry.fileName();
        if (entry.fileName().startsWith(QLatin1Char('.'))) {
            continue;
        }
        if (entry.isSymLink()) {
            submission.notFiles << QStringLiteral("%1: ссылка, не открывается").arg(shown);
        } else if (entry.isDir()) {
            if (depth < deepest) {
                gatherFiles(entry.filePath(), shown, submission, depth + 1);
            }
        } else if (entry.isFile()) {
            submission.files << SubmittedFile{entry.filePath(), shown, {}, -1};
        } else {
            submission.notFiles << QStringLiteral("%1: не обычный файл").arg(shown);
        }
    }
}

using SubmitterKey = std::pair<QString, QString>;

// Files that name nobody stand each for itself: its printed name decides;
// what is no file goes with them, named.
void addLoose(const Submission& loose, QList<Submission>& unnamed) {
    for (const SubmittedFile& file : loose.files) {
        unnamed << Submission{QString(), QString(), {file}, {}};
    }
    if (!loose.notFiles.isEmpty()) {
        unnamed << Submission{QString(), QString(), {}, loose.notFiles};
    }
}

} // namespace

bool readSubmittedFile(const SubmittedFile& file, qint64 largest, QByteArray& contents,
                       QString& error) {
    if (file.archive) {
        const ZipEntry& entry = file.archive->entries().at(file.entry);
        if (entry.size > largest) {
            contents.resize(largest + 1); // larger than may be read
            return true;
        }
        return file.archive->read(file.entry, contents, error);
    }
    switch (readBoundedFile(file.path, largest, &contents, nullptr, FileOwner::Anyone)) {
    case FileRead::Read:
        break;
    case FileRead::TooLarge:
        contents.resize(largest + 1); // larger than may be read
        break;
    case FileRead::NotRegular:
        error = QStringLiteral("%1: не обычный файл").arg(file.shown);
        return false;
    case FileRead::NotOwned:
    case FileRead::Unreadable:
        error = QStringLiteral("%1: не читается").arg(file.shown);
        return false;
    }
    return true;
}

bool moodleSubmitter(const QString& name, QString& fullName, QString& participant, QString& rest) {
    const qsizetype at = name.indexOf(marker);
    if (at <= 0) {
        return false;
    }
    const QString head = name.left(at);
    const qsizetype split = head.lastIndexOf(QLatin1Char('_'));
    if (split <= 0) {
        return false;
    }
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,12}$"));
    const QString number = head.mid(split + 1);
    if (!digits.match(number).hasMatch()) {
        return false;
    }
    QString tail = name.mid(at + marker.size());
    // The folder ends at the marker or with one "_" after it (Moodle before
    // 4.1); a flat file goes on with "_" and its own name.
    if (!tail.isEmpty() && tail != QStringLiteral("_") && !tail.startsWith(QLatin1Char('_'))) {
        return false;
    }
    fullName = head.left(split).replace(QLatin1Char('_'), QLatin1Char(' ')).simplified();
    if (fullName.isEmpty()) {
        return false;
    }
    participant = number;
    rest = tail.size() > 1 ? tail.mid(1) : QString();
    return true;
}

bool collectSubmissions(const QStringList& paths, QList<Submission>& submissions, QString& error) {
    std::map<SubmitterKey, Submission> named;
    QList<Submission> unnamed;
    const auto submitterOf = [&](const QString& fullName,
                                 const QString& participant) -> Submission& {
        Submission& s = named[{fullName, participant}];
        s.submitter = fullName;
        s.participant = participant;
        return s;
    };
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink()) {
            error = QStringLiteral("%1: не найден").arg(path);
            return false;
        }
        if (info.isSymLink()) {
            error = QStringLiteral("%1: ссылка, не открывается").arg(path);
            return false;
        }
        QString fullName;
        QString participant;
        QString rest;
        if (info.isFile() &&
            info.suffix().compare(QStringLiteral("zip"), Qt::CaseInsensitive) == 0) {
            // Moodle's zip: its entries stand as the unpacked folder's files do.
            auto archive = std::make_shared<ZipReader>();
            if (!archive->open(path, error)) {
                return false;
            }
            bool any = false;
            Submission loose;
            for (qsizetype i = 0; i < archive->entries().size(); ++i) {
                const ZipEntry& entry = archive->entries().at(i);
                if (entry.folder && entry.refused.isEmpty()) {
                    continue;
                }
                any = true;
                const QString shown = path + QStringLiteral(": ") + entry.name;
                const QString top = entry.name.section(QLatin1Char('/'), 0, 0);
                const bool inFolder = entry.name.contains(QLatin1Char('/'));
                const bool moodle = moodleSubmitter(top, fullName, participant, rest) &&
                                    (inFolder ? rest.isEmpty() : !rest.isEmpty());
                Submission& submission = moodle ? submitterOf(fullName, participant) : loose;
                if (!entry.refused.isEmpty()) {
                    submission.notFiles << QStringLiteral("%1: %2").arg(shown, entry.refused);
                } else {
                    submission.files << SubmittedFile{path, shown, archive, i};
                }
            }
            if (!any) {
                error = QStringLiteral("%1: в архиве ни одного файла").arg(path);
                return false;
            }
            addLoose(loose, unnamed);
            continue;
        }
        if (info.isFile()) {
            if (moodleSubmitter(info.fileName(), fullName, participant, rest)) {
                submitterOf(fullName, participant).files << SubmittedFile{path, path, {}, -1};
            } else {
                unnamed << Submission{
                    QString(), QString(), {SubmittedFile{path, path, {}, -1}}, {}};
            }
            continue;
        }
        if (!info.isDir()) {
            error = QStringLiteral("%1: не файл и не папка").arg(path);
            return false;
        }
        const QFileInfoList entries = QDir(path).entryInfoList(
            QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        bool any = false;
        Submission loose;
        for (const QFileInfo& entry : entries) {
            if (entry.fileName().startsWith(QLatin1Char('.'))) {
                continue;
            }
            any = true;
            const QString shown = path + QLatin1Char('/') + entry.fileName();
            const bool moodle = moodleSubmitter(entry.fileName(), fullName, participant, rest);
            if (entry.isSymLink()) {
                (moodle ? submitterOf(fullName, participant) : loose).notFiles
                    << QStringLiteral("%1: ссылка, не открывается").arg(shown);
            } else if (entry.isDir()) {
                if (moodle && rest.isEmpty()) {
                    gatherFiles(entry.filePath(), shown, submitterOf(fullName, participant), 1);
                } else {
                    gatherFiles(entry.filePath(), shown, loose, 1);
                }
            } else if (entry.isFile()) {
                (moodle && !rest.isEmpty() ? submitterOf(fullName, participant) : loose).files
                    << SubmittedFile{entry.filePath(), shown, {}, -1};
            } else {
                loose.notFiles << QStringLiteral("%1: не обычный файл").arg(shown);
            }
        }
        if (!any) {
            error = QStringLiteral("%1: папка пуста").arg(path);
            return false;
        }
        addLoose(loose, unnamed);
    }
    submissions.clear();
    for (auto& [key, submission] : named) {
        submissions << submission;
    }
    submissions << unnamed;
    const bool anyFile = std::any_of(submissions.cbegin(), submissions.cend(),
                                     [](const Submission& s) { return !s.files.isEmpty(); });
    if (!anyFile) {
        error = QStringLiteral("%1: ни одного файла").arg(paths.join(QStringLiteral(", ")));
        return false;
    }
    return true;
}

} // namespace orven
