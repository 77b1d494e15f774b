#include "platform/report_rendering.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>

#include <string>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orven {

namespace {

// Dots per inch of a PDF page: the same grid as a printer's high resolution.
constexpr int pdfResolution = 1200;
const QString defaultFontName = QStringLiteral("Courier New Cyr");
constexpr double defaultFontSize = 10;

// The number of leading characters of text that fit across the page, at least
// one, so that every character is printed somewhere.
int fittingLength(const QString& text, const QFontMetricsF& metrics, double width) {
    if (text.isEmpty() || metrics.horizontalAdvance(text) <= width) {
        return static_cast<int>(text.size());
    }
    int fits = 1;
    int tooLong = static_cast<int>(text.size());
    while (tooLong - fits > 1) {
        const int middle = (fits + tooLong) / 2;
        if (metrics.horizontalAdvance(text.left(middle)) <= width) {
            fits = middle;
        } else {
            tooLong = middle;
        }
    }
    if (text.at(fits - 1).isHighSurrogate() && fits > 1) {
        --fits;
    }
    return fits;
}

} // namespace

QFont reportFont(const QString& requestedName, double points) {
    QStringList families;
    if (QFontDatabase::families().contains(requestedName) &&
        QFontDatabase::isFixedPitch(requestedName)) {
        families << requestedName;
    }
    families << QStringLiteral("Courier New") << QStringLiteral("Liberation Mono")
             << QStringLiteral("DejaVu Sans Mono");
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(points > 0 ? points : defaultFontSize);
    return font;
}

namespace {

// The operations as the bytes of an A4 PDF; false when painting fails.
bool reportPdfData(const ReportOperations& operations, const QString& title, QByteArray* data,
                   QPageLayout::Orientation orientation = QPageLayout::Portrait) {
    QBuffer pdf(data);
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(orientation);
    writer.setPageMargins(reportPageMargins, QPageLayout::Millimeter);
    writer.setResolution(pdfResolution);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("ORVEN"));
    return renderReport(operations, writer, pdfResolution);
}

// Puts the complete file temporary at the name target unless something is
// there already (a dangling link too): EEXIST then. RENAME_NOREPLACE does it in
// one step; a file system without it gets a hard link (which never replaces
// either), and one without links the plain rename after a look.
#ifdef Q_OS_WIN
// Windows moves a file only where nothing is (without MOVEFILE_REPLACE_EXISTING),
// and on the disk before it returns (MOVEFILE_WRITE_THROUGH).
int placeWithoutReplacing(const QString& temporary, const QString& target) {
    if (MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(temporary).utf16()),
                    reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(target).utf16()),
                    MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? EEXIST : EIO;
}

// The PDF written whole under a hidden name of its own (created anew), put on
// the disk, then given the first free name. QTemporaryFile keeps its file open
// on Windows until it is destroyed, and an open file cannot be moved there:
// the hidden file is a plain new file, closed and flushed through a handle of
// its own before it is moved.
QString placeNewPdf(const QByteArray& data, const QString& folder, const QString& stem) {
    const QString temporary = QDir(folder).filePath(QStringLiteral(".orven-report-%1-%2.part")
                                                        .arg(QCoreApplication::applicationPid())
                                                        .arg(QDateTime::currentMSecsSinceEpoch()));
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return QString();
    }
    const bool written = file.write(data) == data.size() && file.flush();
    file.close();
    const std::wstring native = QDir::toNativeSeparators(temporary).toStdWString();
    HANDLE handle = CreateFileW(native.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool onDisk = handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
    }
    if (written && onDisk && QFileInfo(temporary).size() == data.size()) {
        for (int n = 1; n <= maxReportNameNumber; ++n) {
            const QString path = QDir(folder).filePath(
                n == 1 ? stem + QStringLiteral(".pdf") : stem + QStringLiteral("-%1.pdf").arg(n));
            const int error = placeWithoutReplacing(temporary, path);
            if (error == 0) {
                return path;
            }
            if (error != EEXIST) {
                break;
            }
        }
    }
    QFile::remove(temporary);
    return QString();
}
#else
int placeWithoutReplacing(const QByteArray& temporary, const QByteArray& target) {
    if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(),
                    RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return errno;
    }
    if (::link(temporary.constData(), target.constData()) == 0) {
        ::unlink(temporary.constData());
        return 0;
    }
    if (errno == EEXIST) {
        return EEXIST;
    }
    struct stat status {};
    if (::lstat(target.constData(), &status) == 0) {
        return EEXIST;
    }
    return ::rename(temporary.constData(), target.constData()) == 0 ? 0 : errno;
}
#endif

} // namespace

bool writeReportPdf(const ReportOperations& operations, const QString& path, const QString& title,
                    QPageLayout::Orientation orientation) {
    // The PDF is made in memory, then written under a temporary name and put
    // in place only when complete; a write that fails on the way (a full disk)
    // leaves the old file as it was. QSaveFile alone does not see every failed
    // write (a buffered write that fails when the file is closed), so the size
    // on the disk is checked as well.
    QByteArray data;
    if (!reportPdfData(operations, title, &data, orientation)) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (file.write(data) != data.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit()) {
        return false;
    }
    if (QFileInfo(path).size() != data.size()) {
        QFile::remove(path);
        return false;
    }
    return true;
}

QString writeNewReportPdf(const ReportOperations& operations, const QString& folder,
                          const QString& stem, const QString& title) {
    QByteArray data;
    if (!reportPdfData(operations, title, &data)) {
        return QString();
    }
#ifdef Q_OS_WIN
    return placeNewPdf(data, folder, stem);
#else
    // Written whole and on the disk under a hidden name of its own first
    // (created anew, never through a link), then given its name.
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral(".orven-report-XXXXXX.part")));
    if (!file.open()) {
        return QString();
    }
    struct stat status {};
    if (file.write(data) != data.size() || !file.flush() || ::fsync(file.handle()) != 0 ||
        ::fstat(file.handle(), &status) != 0 || status.st_size != data.size() ||
        ::fchmod(file.handle(), 0644) != 0) {
        return QString();
    }
    const QByteArray temporary = QFile::encodeName(file.fileName());
    for (int n = 1; n <= maxReportNameNumber; ++n) {
        const QString path = QDir(folder).filePath(
            n == 1 ? stem + QStringLiteral(".pdf") : stem + QStringLiteral("-%1.pdf").arg(n));
        const int error = placeWithoutReplacing(temporary, QFile::encodeName(path));
        if (error == 0) {
            file.setAutoRemove(false);
            return path;
        }
        if (error != EEXIST) {
            break;
        }
    }
    return QString();
#endif
}

bool renderReport(const ReportOperations& operations, QPagedPaintDevice& device, int resolution) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    const QRectF area = device.pageLayout().paintRectPixels(resolution);
    const double linePitch = area.height() / reportLinesPerPage;
    const double lineWidth = area.width();
    QString fontName = defaultFontName;
    double fontSize = defaultFontSize;
    QFont font = reportFont(fontName, fontSize);
    painter.setFont(font);
    QFontMetricsF metrics(font, &device);

    enum class Row { Text, Blank, Header };
    bool pagesOk = true;
    bool started = false;
    bool pageBreakPending = false; // asked for by the report
    bool sheetFull = false;        // the next row begins a continuation sheet
    int row = 0;
    // Sheets of this document, and the header that begins a sheet.
    int sheet = 0;
    int firstHeaderSheet = 0;
    int firstHeaderNumber = 0;
    QString headerText;
    bool haveHeader = false;
    const auto numberOfSheet = [&](int onSheet) {
        return QString::number(firstHeaderNumber + onSheet - firstHeaderSheet);
    };
    const auto drawRow = [&](const QString& text) {
        if (!text.isEmpty()) {
            painter.drawText(QPointF(0, row * linePitch + metrics.ascent()), text);
        }
        ++row;
    };
    const auto printRow = [&](const QString& text, Row kind) {
        if (started && row >= reportLinesPerPage && !pageBreakPending) {
            sheetFull = true;
        }
        // A blank row never begins a continuation sheet.
        if (sheetFull && !pageBreakPending && kind == Row::Blank) {
            return;
        }
        if (started && (pageBreakPending || sheetFull)) {
            pagesOk = device.newPage() && pagesOk;
            row = 0;
            ++sheet;
            if (!pageBreakPending && haveHeader && kind != Row::Header) {
                drawRow(headerText + numberOfSheet(sheet));
            }
            pageBreakPending = false;
            sheetFull = false;
        }
        started = true;
        drawRow(text);
    };
    const auto printText = [&](const QString& text, Row kind) {
        // Trailing blanks are invisible; they must not push a line onto a second row.
        QString rest = text;
        while (rest.endsWith(QLatin1Char(' '))) {
            rest.chop(1);
        }
        do {
            const int length = fittingLength(rest, metrics, lineWidth);
            printRow(rest.left(length), kind);
            rest.remove(0, length);
        } while (!rest.isEmpty());
    };

    for (const ReportOperation& operation : operations) {
        switch (operation.kind) {
        case ReportOperation::Font:
        case ReportOperation::Size:
            if (operation.kind == ReportOperation::Font) {
                fontName = operation.text;
            } else {
                fontSize = operation.size;
            }
            font = reportFont(fontName, fontSize);
            painter.setFont(font);
            metrics = QFontMetricsF(font, &device);
            break;
        case ReportOperation::Line:
            printText(operation.text, Row::Text);
            break;
        case ReportOperation::Header: {
            const bool breaks =
                started && (pageBreakPending || sheetFull || row >= reportLinesPerPage);
            const int onSheet = breaks ? sheet + 1 : sheet;
            if (!haveHeader) {
                haveHeader = true;
                firstHeaderSheet = onSheet;
                firstHeaderNumber = static_cast<int>(operation.size);
            }
            headerText = operation.text;
            printText(headerText + numberOfSheet(onSheet), Row::Header);
            break;
        }
        case ReportOperation::Empty:
            printRow(QString(), Row::Blank);
            break;
        case ReportOperation::Page:
            if (started && row > 0) {
                pageBreakPending = true;
            }
            break;
        }
    }
    return painter.end() && pagesOk;
}

} // namespace orven
