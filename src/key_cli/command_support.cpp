#include "key_cli/command_support.h"

#include "core/bounded_file.h"

#include "key/design_file.h"
#include "properties/fluids.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <map>

namespace orven {

const KeyOption pdfOption{{QStringLiteral("pdf")},
                          QStringLiteral("ФАЙЛ"),
                          QStringLiteral("то же, что на экране, документом PDF формата A4")};
const KeyOption fluidsOption{{QStringLiteral("fluids")},
                             QStringLiteral("ПАПКА"),
                             QStringLiteral("искать таблицы жидкостей сначала в ПАПКЕ")};
const KeyOption toleranceOption{
    {QStringLiteral("tolerance")},
    QStringLiteral("П"),
    QStringLiteral("допустимое расхождение исходных данных с заданием, % (по умолчанию 2)"),
    false,
    2.0,
    readPercent};

QVariant readPositiveInteger(const QString& text, QString& error) {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < 1) {
        error = QStringLiteral("нужно целое число от 1, а не «%1»").arg(text);
    }
    return number;
}

QVariant readPercent(const QString& text, QString& error) {
    bool ok = false;
    const double percent = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !(percent >= 0 && percent <= 100)) {
        error = QStringLiteral("нужно число от 0 до 100 (%), а не «%1»").arg(text);
    }
    return percent;
}

bool pdfAsked(const CommandLine& line) {
    return line.isSet(pdfOption);
}

bool pdfAlways(const CommandLine&) {
    return true;
}

int badInput(KeyIo& io, const QString& message) {
    io.err << QStringLiteral("orven-key: ") << message << QLatin1Char('\n');
    io.err.flush();
    return statusBadInput;
}

QString shownName(const QString& path) {
    return path == QStringLiteral("-") ? QStringLiteral("стандартный ввод") : path;
}

bool readInput(const QString& path, KeyIo& io, QByteArray& contents, QString& name, QString& error,
               const InputKind& kind) {
    name = shownName(path);
    const QString kindOf = QString::fromUtf16(kind.kindOf);
    if (path != QStringLiteral("-")) {
        return readNamedFile(path, kind.largest, kindOf, contents, error);
    }
    if (io.in == nullptr || !io.in->isReadable()) {
        error = QStringLiteral("стандартный ввод нельзя прочитать");
        return false;
    }
    contents = io.in->read(kind.largest + 1);
    if (contents.size() > kind.largest) {
        error = tooLargeText(name, kind.largest, kindOf);
        return false;
    }
    return true;
}

bool readDesign(const QString& path, KeyIo& io, DesignData& design, QString& error) {
    QByteArray contents;
    QString name;
    return readInput(path, io, contents, name, error) &&
           readDesignFile(contents, name, design, error);
}

namespace {

// The fluid tables installed with the program, found from its own place
// (bin/../share/orven/fluids), so that any prefix finds them.

} // namespace

QString installedFluidsFolder() {
    // The program's own folder; without an application object (Linux only),
    // the kernel's link to the program.
    const QString folder =
        QCoreApplication::instance() != nullptr
            ? QCoreApplication::applicationDirPath()
            : QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
    return QDir::cleanPath(QDir(folder).filePath(QStringLiteral(ORVEN_FLUIDS_RELATIVE)));
}

bool fluidFoldersOf(const CommandLine& line, QStringList& folders, QString& error) {
    const QString fluids = line.text(fluidsOption);
    if (!fluids.isEmpty() && !QFileInfo(fluids).isDir()) {
        error = QStringLiteral("--fluids: папка %1 не найдена").arg(fluids);
        return false;
    }
    folders = fluidFolders(fluids, installedFluidsFolder());
    return true;
}

bool writeFileBytes(const QString& path, const QByteArray& data) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

bool writeTextFile(const QString& path, const QString& text) {
    return writeFileBytes(path, text.toUtf8());
}

QStringList wrapped(const QString& text, int width) {
    if (text.size() <= width) { // a line that fits keeps its blanks (a table's columns)
        return text.trimmed().isEmpty() ? QStringList() : QStringList{text};
    }
    qsizetype indent = 0;
    while (indent < text.size() && text.at(indent) == QLatin1Char(' ')) {
        ++indent;
    }
    const QString first(indent, QLatin1Char(' '));
    // An indented line goes on two further in; a paragraph's lines align.
    const QString more(indent > 0 ? std::min<qsizetype>(indent + 2, width / 2) : 0,
                       QLatin1Char(' '));
    QStringList lines;
    QString line = first;
    const auto room = [&] { return width - line.size(); };
    for (QString word : text.mid(indent).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const bool fresh = line.trimmed().isEmpty();
        if (!fresh && 1 + word.size() > room()) {
            lines << line;
            line = more;
        } else if (!fresh) {
            line += QLatin1Char(' ');
        }
        // Only a word longer than a whole line is cut.
        while (word.size() > room() && word.size() > width - more.size()) {
            const qsizetype fits = std::max<qsizetype>(1, room());
            lines << line + word.left(fits);
            word.remove(0, fits);
            line = more;
        }
        line += word;
    }
    if (!line.trimmed().isEmpty()) {
        lines << line;
    }
    return lines;
}

QString tableHeader(bool withChannels) {
    const QString numbers =
        QStringLiteral("  №  Теплообм. Пакеты      Re1      Re2        K      ΔP1      ΔP2   F_req"
                       "  F_geom  Запас,%");
    return withChannels ? numbers + QStringLiteral("  Каналы в пакетах (хол.; гор.)") : numbers;
}

QString tableRow(int rank, const Evaluated& e, bool condenser, bool withChannels) {
    const CalculationResults& r = e.results;
    const QString numbers =
        QStringLiteral("%1  %2 %3 %4 %5 %6 %7 %8 %9 %10 %11")
            .arg(rank, 3)
            .arg(standardExchangers().at(e.variant.exchanger).name, -9)
            .arg(QStringLiteral("%1/%2").arg(e.variant.coldPacks).arg(e.variant.hotPacks), -6)
            .arg(resultText(r.hotReynolds), 8)
            .arg(resultText(r.coldReynolds), 8)
            .arg(resultText(r.overallCoefficient), 8)
            .arg(condenser ? QStringLiteral("—") : resultText(r.hotPressureDrop), 8)
            .arg(resultText(r.coldPressureDrop), 8)
            .arg(resultText(r.requiredSurface), 7)
            .arg(resultText(r.geometricSurface), 7)
            .arg(resultText(r.surfaceMargin), 8);
    return withChannels ? numbers + QStringLiteral("  ") + channelsText(e.variant) : numbers;
}

QString orderText(VariantOrder order) {
    switch (order) {
    case VariantOrder::Margin:
        return QStringLiteral("по наименьшему запасу, затем поверхности");
    case VariantOrder::Packs:
        return QStringLiteral("по наименьшему числу пакетов, затем поверхности");
    case VariantOrder::Surface:
        break;
    }
    return QStringLiteral("по наименьшей поверхности, затем запасу и числу пакетов");
}

int portraitColumns(double points) {
    // 88 characters of 10 pt, with a little room for the font's own width.
    return static_cast<int>(880 / points);
}

namespace {

// The lines on pages of pdfRowsPerPage rows in a fixed-pitch font of points,
// each wrapped at its words to width: "\f" starts a page, and a variants'
// table (from its header to an empty line) that a page breaks goes on under
// its header again.
ReportOperations pagedText(const QStringList& lines, double points, int width,
                           const QString& header) {
    ReportOperations operations{{ReportOperation::Font, QStringLiteral("Courier New Cyr"), 0},
                                {ReportOperation::Size, QString(), points}};
    int rows = 0;
    bool inTable = false;
    const auto row = [&](const QString& text) {
        if (rows >= pdfRowsPerPage) {
            operations.append({ReportOperation::Page, QString(), 0});
            rows = 0;
            if (inTable && text != header) {
                operations.append({ReportOperation::Line, header, 0});
                ++rows;
            }
        }
        operations.append(text.isEmpty() ? ReportOperation{ReportOperation::Empty, QString(), 0}
                                         : ReportOperation{ReportOperation::Line, text, 0});
        ++rows;
    };
    for (const QString& line : lines) {
        if (line == pdfPageBreak) {
            operations.append({ReportOperation::Page, QString(), 0});
            rows = 0;
            inTable = false;
            continue;
        }
        inTable = (inTable && !line.isEmpty()) || line == header;
        if (line.isEmpty()) {
            row(line);
        }
        for (const QString& part : wrapped(line, width)) {
            row(part);
        }
    }
    return operations;
}

} // namespace

bool writeReadablePdf(const QString& path, const QStringList& lines, const QString& title,
                      double points) {
    const KeyPdfFunctions& pdf = keyPdfFunctions();
    return pdf.write != nullptr &&
           pdf.write(pagedText(lines, points, portraitColumns(points), tableHeader(false)), path,
                     title, false);
}

bool writePdf(const QString& path, const QStringList& lines, const QString& title) {
    constexpr int rowLength = 200; // characters of 6.5 pt across A4 landscape
    const KeyPdfFunctions& pdf = keyPdfFunctions();
    return pdf.write != nullptr &&
           pdf.write(pagedText(lines, 6.5, rowLength, tableHeader()), path, title, true);
}

int writeOutputs(KeyIo& io, const QStringList& lines, const CommandLine& line,
                 const QString& title) {
    io.out << lines.join(QLatin1Char('\n')) << QLatin1Char('\n');
    const QString pdf = line.text(pdfOption);
    if (!pdf.isEmpty() && !writePdf(pdf, lines, title)) {
        return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(pdf));
    }
    return statusDone;
}

QStringList reportCheckLines(const QString& file, const ReportCheck& report) {
    QStringList out{
        QStringLiteral("Отчёт %1").arg(file),
        QStringLiteral("Студент: %1")
            .arg(report.student.isEmpty() ? QStringLiteral("(не указан)") : report.student),
        QStringLiteral("Исходные данные:")};
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        out << QStringLiteral("  %1 = %2")
                   .arg(designKeys().at(slot), -4)
                   .arg(report.design.texts[slot]);
    }
    if (!report.findings.isEmpty()) {
        out << QString() << QStringLiteral("Замечания:");
        for (const QString& finding : report.findings) {
            out << QStringLiteral("  ") + finding;
        }
    }
    // The best suitable variant for each type that occurs in the report.
    std::map<ExchangerType, Solution> solutions;
    for (const CheckedBlock& block : report.blocks) {
        out << QString();
        if (!block.known) {
            out << QStringLiteral("Блок %1: не читается: %2")
                       .arg(block.number)
                       .arg(block.differences.join(QStringLiteral("; ")));
            continue;
        }
        out << QStringLiteral("Блок %1: %2").arg(block.number).arg(variantText(block.variant));
        if (block.differences.isEmpty()) {
            out << QStringLiteral("  числа: все строки блока (%1) совпадают с пересчётом")
                       .arg(block.linesCompared);
        } else {
            out << QStringLiteral("  числа: НЕ СОВПАДАЮТ с пересчётом:");
            for (const QString& difference : block.differences) {
                out << QStringLiteral("    блок %1, %2").arg(block.number).arg(difference);
            }
        }
        DesignData design = report.design;
        design.type = block.type;
        DesignCase dc;
        loadDesign(dc, design);
        loadVariant(dc, block.variant);
        const Evaluated& e = block.evaluated;
        out << (e.warnings.isEmpty() && e.status == CalculationStatus::Completed
                    ? QStringLiteral("  вариант подходит (запас %1 %)")
                          .arg(resultText(e.results.surfaceMargin))
                    : QStringLiteral("  вариант не подходит: ") +
                          failureReasons(e, dc).join(QStringLiteral("; ")));
        if (!solutions.count(design.type)) {
            solutions.emplace(design.type, solveDesign(design));
        }
        const Solution& s = solutions.at(design.type);
        if (s.suitable.isEmpty()) {
            out << QStringLiteral("  у задачи нет подходящего стандартного варианта");
        } else {
            const Evaluated& best = s.suitable.first();
            out << QStringLiteral("  лучший подходящий вариант: %1, запас %2 %")
                       .arg(variantText(best.variant), resultText(best.results.surfaceMargin));
            if (e.warnings.isEmpty() && e.status == CalculationStatus::Completed) {
                const qsizetype place =
                    1 + std::count_if(s.suitable.cbegin(), s.suitable.cend(),
                                      [&](const Evaluated& other) {
                                          return rankedBefore(other, e, VariantOrder::Surface);
                                      });
                out << QStringLiteral("  место варианта: %1 из %2 подходящих")
                           .arg(place)
                           .arg(s.suitableCount);
            }
        }
    }
    out << QString();
    const bool agree = report.allAgree();
    out << (agree ? QStringLiteral("Итог: все строки отчёта на месте, все числа совпадают с "
                                   "пересчётом.")
            : report.findings.isEmpty()
                ? QStringLiteral("Итог: в отчёте есть числа, не совпадающие с пересчётом.")
                : QStringLiteral("Итог: отчёт не прошёл проверку (замечаний: %1).")
                      .arg(report.findings.size() +
                           std::count_if(
                               report.blocks.cbegin(), report.blocks.cend(),
                               [](const CheckedBlock& b) { return !b.differences.isEmpty(); })));
    return out;
}

} // namespace orven
