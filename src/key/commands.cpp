#include "key/commands.h"
#include "key/command_support.h"

#include "key/design_file.h"
#include "key/protocol.h"
#include "key/report_check.h"
#include "key/task_file.h"
#include "key/variants.h"
#include "properties/fluids.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <numeric>
#include <optional>

using namespace orven;

namespace {

KeyPdfFunctions pdf;

// Rows of a page of the report's renderer (platform/report_rendering.h).
constexpr int pdfRowsPerPage = 79;

} // namespace

namespace orven {

const KeyPdfFunctions& keyPdfFunctions() {
    return pdf;
}

int badInput(KeyIo& io, const QString& message) {
    io.err << QStringLiteral("orven-key: ") << message << QLatin1Char('\n');
    io.err.flush();
    return statusBadInput;
}

// A design or task file is a few lines; a huge file is not one.
constexpr qint64 largestInputFile = 1 << 20;

QString shownName(const QString& path) {
    return path == QStringLiteral("-") ? QStringLiteral("стандартный ввод") : path;
}

bool readInput(const QString& path, KeyIo& io, QByteArray& contents, QString& name,
               QString& error) {
    name = shownName(path);
    if (path == QStringLiteral("-")) {
        if (io.in == nullptr || !io.in->isReadable()) {
            error = QStringLiteral("стандартный ввод нельзя прочитать");
            return false;
        }
        contents = io.in->read(largestInputFile + 1);
    } else {
        QFile file(path);
        if (!file.exists()) {
            error = QStringLiteral("файл %1 не найден").arg(path);
            return false;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("файл %1 нельзя прочитать").arg(path);
            return false;
        }
        contents = file.read(largestInputFile + 1);
    }
    if (contents.size() > largestInputFile) {
        error = QStringLiteral("%1: файл слишком велик для файла задачи").arg(name);
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

// The fluid tables installed with the program, found from its own place
// (bin/../share/orven/fluids), so that any prefix finds them.
QString installedFluidsFolder() {
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return QDir::cleanPath(
        QFileInfo(self).absoluteDir().filePath(QStringLiteral(ORVEN_FLUIDS_RELATIVE)));
}

bool writeTextFile(const QString& path, const QString& text) {
    QSaveFile file(path);
    const QByteArray data = text.toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

QString typeName(ExchangerType type) {
    return type == ExchangerType::Condenser ? QStringLiteral("конденсатор")
                                            : QStringLiteral("холодильник");
}

QString tableHeader() {
    return QStringLiteral(
        "  №  Теплообм. Пакеты      Re1      Re2        K      ΔP1      ΔP2   F_req"
        "  F_geom  Запас,%  Каналы в пакетах (хол.; гор.)");
}

QString tableRow(int rank, const Evaluated& e, bool condenser) {
    const CalculationResults& r = e.results;
    return QStringLiteral("%1  %2 %3 %4 %5 %6 %7 %8 %9 %10 %11  %12")
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
        .arg(resultText(r.surfaceMargin), 8)
        .arg(channelsText(e.variant));
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

QStringList solveText(const QString& path, const DesignData& design, const Solution& s, int top,
                      VariantOrder order) {
    const bool condenser = design.type == ExchangerType::Condenser;
    QStringList out;
    out << QStringLiteral("Ключ к задаче %1 (%2)").arg(path, typeName(design.type));
    out << QStringLiteral("Расчётная поверхность по всем вариантам: от %1 до %2 м^2")
               .arg(resultText(s.requiredMin), resultText(s.requiredMax));
    out << QStringLiteral("Рассчитано вариантов: %1, из них не рассчитываются: %2")
               .arg(s.tried)
               .arg(s.calculationErrors);
    for (int i = 0; i < standardExchangers().size(); ++i) {
        const ExchangerSummary& e = s.exchangers[static_cast<std::size_t>(i)];
        out << QStringLiteral("  %1: вариантов %2 (каналов на поток до %3), подходящих %4")
                   .arg(standardExchangers().at(i).name, -9)
                   .arg(e.variants)
                   .arg(e.channelLimit)
                   .arg(e.suitable);
    }
    out << QStringLiteral("Не подходят (вариант может попасть в несколько групп):");
    const QStringList warningNames{QStringLiteral("формулы неточны (Re больше предела пластины)"),
                                   QStringLiteral("большое сопротивление (больше 50000 Па)"),
                                   QStringLiteral("недостаток площади (запас ≤ 0)"),
                                   QStringLiteral("слишком большой запас (≥ 70 %)")};
    for (int w = 0; w < 4; ++w) {
        out << QStringLiteral("  %1: %2").arg(warningNames.at(w)).arg(s.warningCounts[w]);
    }
    out << QString();
    if (s.suitable.isEmpty()) {
        out << QStringLiteral("Подходящих вариантов нет. Ближайшие к подходящим:");
        DesignCase dc;
        loadDesign(dc, design);
        for (const Evaluated& e : s.nearest) {
            loadVariant(dc, e.variant);
            out << QStringLiteral("  ") + variantText(e.variant) + QStringLiteral(": ") +
                       failureReasons(e, dc).join(QStringLiteral("; "));
        }
        return out;
    }
    out << QStringLiteral("Подходящих вариантов: %1 (без единого предупреждения%2); %3:")
               .arg(s.suitableCount)
               .arg(s.singleChannelCount > 0
                        ? QStringLiteral("; ещё %1 — с пакетом из одного канала, не показаны")
                              .arg(s.singleChannelCount)
                        : QString())
               .arg(orderText(order));
    out << tableHeader();
    for (int i = 0; i < std::min<qsizetype>(top, s.suitable.size()); ++i) {
        out << tableRow(i + 1, s.suitable.at(i), condenser);
    }
    return out;
}

bool writeCsv(const QString& path, const Solution& s, bool condenser) {
    QStringList rows{QStringLiteral("место,теплообменник,пакеты холодного,пакеты горячего,каналы "
                                    "холодного,каналы горячего,Re1,Re2,K,ΔP1,ΔP2,F_req,F_geom,"
                                    "запас %")};
    const auto full = [](double v) { return QString::number(v, 'g', 10); };
    for (int i = 0; i < s.suitable.size(); ++i) {
        const Evaluated& e = s.suitable.at(i);
        const CalculationResults& r = e.results;
        const QString channels = channelsText(e.variant);
        rows << QStringList{QString::number(i + 1),
                            csvField(standardExchangers().at(e.variant.exchanger).name),
                            QString::number(e.variant.coldPacks),
                            QString::number(e.variant.hotPacks),
                            csvField(channels.section(QStringLiteral("; "), 0, 0)),
                            csvField(channels.section(QStringLiteral("; "), 1, 1)),
                            full(r.hotReynolds),
                            full(r.coldReynolds),
                            full(r.overallCoefficient),
                            condenser ? QString() : full(r.hotPressureDrop),
                            full(r.coldPressureDrop),
                            full(r.requiredSurface),
                            full(r.geometricSurface),
                            full(r.surfaceMargin)}
                    .join(QLatin1Char(','));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray data = (rows.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    return file.write(data) == data.size() && file.commit();
}

bool writePdf(const QString& path, const QStringList& lines, const QString& title) {
    ReportOperations operations{{ReportOperation::Font, QStringLiteral("Courier New Cyr"), 0},
                                {ReportOperation::Size, QString(), 6.5}};
    const QString header = tableHeader();
    constexpr qsizetype rowLength = 200; // characters of 6.5 pt across A4 landscape
    int rows = 0;
    bool inTable = false;
    for (const QString& line : lines) {
        if (line == pdfPageBreak) {
            operations.append({ReportOperation::Page, QString(), 0});
            rows = 0;
            inTable = false;
            continue;
        }
        if (rows >= pdfRowsPerPage) {
            operations.append({ReportOperation::Page, QString(), 0});
            rows = 0;
            if (inTable) {
                operations.append({ReportOperation::Line, header, 0});
                ++rows;
            }
        }
        inTable = inTable || line == header;
        operations.append(line.isEmpty() ? ReportOperation{ReportOperation::Empty, QString(), 0}
                                         : ReportOperation{ReportOperation::Line, line, 0});
        // A longer line (a sentence, not a table row) goes on over more rows.
        rows += std::max<int>(1, static_cast<int>((line.size() + rowLength - 1) / rowLength));
    }
    return pdf.write != nullptr && pdf.write(operations, path, title, true);
}

int outputs(KeyIo& io, const QStringList& lines, const KeyOptions& options, const QString& title) {
    io.out << lines.join(QLatin1Char('\n')) << QLatin1Char('\n');
    if (!options.pdf.isEmpty() && !writePdf(options.pdf, lines, title)) {
        return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(options.pdf));
    }
    return statusDone;
}

QString keyHelpText() {
    return QStringLiteral(
        "Использование:\n"
        "  orven-key solve ФАЙЛ [--top N] [--sort ПОРЯДОК] [--max-channels N] [--csv ФАЙЛ]\n"
        "                  [--pdf ФАЙЛ]\n"
        "  orven-key explain ФАЙЛ --exchanger Т --packs Х,Г --channels Х1,Х2,...;Г1,...\n"
        "                    [--pdf ФАЙЛ]\n"
        "  orven-key check ОТЧЁТ.pdf [--task ФАЙЛ] [--tolerance П]\n"
        "  orven-key prepare ЗАДАНИЕ [-o ФАЙЛ] [--protocol] [--fluids ПАПКА]\n"
        "  orven-key fluid-table ЖИДКОСТЬ ОТ ДО ШАГ [--fluids ПАПКА]\n"
        "  orven-key assign --class СПИСОК.csv --template ШАБЛОН --out ПАПКА [--draw N]\n"
        "                   [--min-suitable K] [--with-values] [--course ТЕКСТ]\n"
        "  orven-key grade --class варианты.csv ОТЧЁТ.pdf|ПАПКА... [--csv ФАЙЛ]\n"
        "                  [--tolerance П] [--separator ,|;] [--item ИМЯ]\n"
        "  orven-key --help | --version\n"
        "\n"
        "Ключ преподавателя к заданию ORVEN: исходные данные из условия задания; все\n"
        "стандартные варианты теплообменника, ранжированные по поверхности, запасу и\n"
        "числу пакетов; расчёт одного варианта по шагам; проверка отчёта,\n"
        "напечатанного программой orven в PDF. ФАЙЛ «-» — стандартный ввод.\n"
        "\n"
        "  solve           перебрать все стандартные варианты задачи из ФАЙЛА\n"
        "  explain         расчёт одного варианта формула за формулой\n"
        "  check           пересчитать каждый блок отчёта и сравнить числа; каждая\n"
        "                  строка отчёта должна быть строкой заголовка, исходных данных\n"
        "                  или блока, исходные данные — в допустимых интервалах\n"
        "  prepare         14 исходных данных из условия задания (свойства при средних\n"
        "                  температурах, тепловой баланс, среднелогарифмический напор)\n"
        "  fluid-table     свойства жидкости от ОТ до ДО °C с ШАГОМ в формате таблицы\n"
        "  assign          индивидуальные задания группы по шаблону: листы заданий,\n"
        "                  ключ преподавателя, таблица вариантов для grade\n"
        "  grade           проверить отчёты группы по вариантам assign: студент, данные,\n"
        "                  числа, итоговый вариант, копии; балл и отзыв каждому\n"
        "  -o ФАЙЛ         prepare: записать файл задачи в ФАЙЛ\n"
        "  --protocol      prepare: показать расчёт по шагам\n"
        "  --fluids ПАПКА  искать таблицы жидкостей сначала в ПАПКЕ\n"
        "  --draw N        assign: номер жеребьёвки (по умолчанию 1)\n"
        "  --min-suitable K  assign: не меньше K подходящих вариантов (по умолчанию 3)\n"
        "  --with-values   assign: 14 исходных данных на листе задания\n"
        "  --course ТЕКСТ  assign: заголовок листов заданий\n"
        "  --csv ФАЙЛ      grade: оценки в CSV для журнала системы обучения\n"
        "  --separator С   grade: разделитель CSV, «,» (по умолчанию) или «;»\n"
        "  --item ИМЯ      grade: имя столбца оценки (по умолчанию ORVEN)\n"
        "  --task ФАЙЛ     сравнить исходные данные отчёта с заданием (файл задачи)\n"
        "  --tolerance П   допустимое расхождение с заданием, % (по умолчанию 2)\n"
        "  --top N         сколько лучших вариантов показать (по умолчанию 10)\n"
        "  --sort ПОРЯДОК  surface — наименьшая поверхность, затем запас, затем пакеты\n"
        "                  (по умолчанию); margin — наименьший запас; packs — меньше\n"
        "                  пакетов. Компоновки с пакетом из одного канала — только если\n"
        "                  другие не подходят\n"
        "  --max-channels N  наибольшее число каналов на поток (по умолчанию — пока\n"
        "                  поверхность не вдвое больше расчётной, не больше 2000)\n"
        "  --csv ФАЙЛ      все подходящие варианты в таблицу CSV\n"
        "  --pdf ФАЙЛ      то же, что на экране, документом PDF формата A4\n"
        "  --exchanger Т   теплообменник: 0.2/100, 0.3/50, 0.3/65, 0.5Е/100, 0.5Е/150,\n"
        "                  0.5Е/200, 0.5Г/100, 0.5Г/150, 0.5Г/200\n"
        "  --packs Х,Г     число пакетов холодного и горячего теплоносителя\n"
        "  --channels ...  каналы в пакетах: холодного через запятую, «;», горячего\n"
        "  -h, --help      показать эту справку и выйти\n"
        "  -v, --version   показать версию и выйти\n"
        "\n"
        "Код выхода: 0 — готово, 1 — проверка не прошла (assign: шаблон не дал заданий\n"
        "на всех; grade: есть замечание или нет отчёта), 2 — ошибка в вызове или данных.\n"
        "Форматы файлов задачи, задания и таблиц жидкостей: man orven-key\n");
}

QString csvField(const QString& text) {
    static const QRegularExpression special(QStringLiteral("[,;\"\r\n]"));
    if (text.contains(special)) {
        return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
               QLatin1Char('"');
    }
    return text;
}

int solveCommand(const KeyOptions& options, KeyIo& io) {
    DesignData design;
    QString error;
    if (!readDesign(options.file, io, design, error)) {
        return badInput(io, error);
    }
    // Only the best --top are kept, unless the CSV asks for all of them.
    const Solution solution = solveDesign(
        design, {options.maxChannels, 5, options.order, options.csv.isEmpty() ? options.top : 0});
    if (!options.csv.isEmpty() &&
        !writeCsv(options.csv, solution, design.type == ExchangerType::Condenser)) {
        return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(options.csv));
    }
    return outputs(io,
                   solveText(shownName(options.file), design, solution, options.top, options.order),
                   options, QStringLiteral("ORVEN: ключ к задаче"));
}

// "40,41,41" -> the numbers; an empty list when the text is not such a list.
QList<int> numberList(const QString& text) {
    QList<int> numbers;
    for (const QString& part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int value = part.trimmed().toInt(&ok);
        if (!ok) {
            return {};
        }
        numbers << value;
    }
    return numbers;
}

int explainCommand(const KeyOptions& options, KeyIo& io) {
    if (options.exchanger.isEmpty() || options.packs.isEmpty() || options.channels.isEmpty()) {
        return badInput(io,
                        QStringLiteral("команде explain нужны --exchanger, --packs и --channels"));
    }
    const Exchanger* exchanger = exchangerNamed(options.exchanger);
    if (!exchanger) {
        return badInput(io, QStringLiteral("--exchanger: неизвестный теплообменник «%1»; есть: %2")
                                .arg(options.exchanger, [] {
                                    QStringList names;
                                    for (const Exchanger& e : standardExchangers()) {
                                        names << e.name;
                                    }
                                    return names.join(QStringLiteral(", "));
                                }()));
    }
    DesignData design;
    QString error;
    if (!readDesign(options.file, io, design, error)) {
        return badInput(io, error);
    }
    const bool condenser = design.type == ExchangerType::Condenser;
    const QList<int> packs = numberList(options.packs);
    if (packs.size() != 2 || packs.at(0) < 1 || packs.at(0) > maxPackCount || packs.at(1) < 1 ||
        packs.at(1) > maxPackCount || (condenser && packs.at(1) != 1)) {
        return badInput(io, QStringLiteral("--packs: нужно «холодные,горячие», каждое от 1 до 8 (у "
                                           "конденсатора горячих 1), а не «%1»")
                                .arg(options.packs));
    }
    const QStringList streams = options.channels.split(QLatin1Char(';'));
    const QList<int> cold = streams.size() == 2 ? numberList(streams.at(0)) : QList<int>();
    const QList<int> hot = streams.size() == 2 ? numberList(streams.at(1)) : QList<int>();
    const auto inRange = [](const QList<int>& list) {
        return std::all_of(list.cbegin(), list.cend(),
                           [](int c) { return c >= 1 && c <= maxChannelCount; });
    };
    if (cold.size() != packs.at(0) || hot.size() != packs.at(1) || !inRange(cold) ||
        !inRange(hot)) {
        return badInput(io, QStringLiteral("--channels: нужно %1 чисел каналов холодного и %2 "
                                           "горячего через «;», каждое от 1 до 32767, а не «%3»")
                                .arg(packs.at(0))
                                .arg(packs.at(1))
                                .arg(options.channels));
    }
    const Variant variant{static_cast<int>(exchanger - standardExchangers().data()),
                          double(packs.at(0)), packs.at(1), cold, hot};
    const int coldTotal = std::accumulate(cold.cbegin(), cold.cend(), 0);
    const int hotTotal = std::accumulate(hot.cbegin(), hot.cend(), 0);
    if (coldTotal != hotTotal || coldTotal > 32767) {
        return badInput(io, QStringLiteral("--channels: всего каналов холодного %1, горячего %2; "
                                           "нужно поровну и не больше 32767")
                                .arg(coldTotal)
                                .arg(hotTotal));
    }
    QStringList lines{QStringLiteral("Расчёт варианта задачи %1").arg(shownName(options.file))};
    lines += explainVariant(design, variant);
    return outputs(io, lines, options, QStringLiteral("ORVEN: расчёт варианта"));
}

int checkCommand(const KeyOptions& options, KeyIo& io) {
    QStringList lines;
    QString error;
    if (pdf.readText == nullptr) {
        return badInput(io, QStringLiteral("чтение PDF недоступно"));
    }
    if (!pdf.readText(options.file, lines, error)) {
        return badInput(io, error);
    }
    ReportCheck report = checkReportText(lines);
    if (!report.isReport) {
        return badInput(io, QStringLiteral("%1 — не отчёт ORVEN (нет заголовка страницы и исходных "
                                           "данных отчёта)")
                                .arg(options.file));
    }
    if (!report.designError.isEmpty()) {
        return badInput(io, QStringLiteral("%1: %2").arg(options.file, report.designError));
    }
    if (!options.task.isEmpty()) {
        DesignData task;
        if (!readDesign(options.task, io, task, error)) {
            return badInput(io, error);
        }
        compareWithTask(report, task, options.tolerance / 100);
    }
    QStringList out{
        QStringLiteral("Отчёт %1").arg(options.file),
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
    io.out << out.join(QLatin1Char('\n')) << QLatin1Char('\n');
    return agree ? statusDone : statusFailed;
}

bool fluidFoldersOf(const KeyOptions& options, QStringList& folders, QString& error) {
    if (!options.fluids.isEmpty() && !QFileInfo(options.fluids).isDir()) {
        error = QStringLiteral("--fluids: папка %1 не найдена").arg(options.fluids);
        return false;
    }
    folders = fluidFolders(options.fluids, installedFluidsFolder());
    return true;
}

int prepareCommand(const KeyOptions& options, KeyIo& io) {
    QByteArray contents;
    QString name;
    QString error;
    TaskData task;
    PreparedTask prepared;
    QStringList folders;
    if (!fluidFoldersOf(options, folders, error) ||
        !readInput(options.file, io, contents, name, error) ||
        !readTaskFile(contents, name, task, error)) {
        return badInput(io, error);
    }
    if (!prepareTask(task, folders, prepared, error)) {
        return badInput(io, QStringLiteral("%1: %2").arg(name, error));
    }
    const QString design = preparedDesignText(prepared, QStringLiteral("задача ") + name);
    if (!options.output.isEmpty() && !writeTextFile(options.output, design)) {
        return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(options.output));
    }
    if (options.protocol) {
        io.out << QStringLiteral("Подготовка исходных данных задачи %1").arg(name)
               << QLatin1Char('\n') << prepared.protocol.join(QLatin1Char('\n'))
               << QLatin1Char('\n');
    } else if (options.output.isEmpty()) {
        io.out << design;
    }
    return statusDone;
}

int fluidTableCommand(const KeyOptions& options, KeyIo& io) {
    const QStringList& a = options.arguments;
    std::array<double, 3> range{};
    const QStringList what{QStringLiteral("начальная температура"),
                           QStringLiteral("конечная температура"), QStringLiteral("шаг")};
    for (int i = 0; i < 3; ++i) {
        if (!parseDecimal(a.at(i + 1), range[static_cast<std::size_t>(i)])) {
            return badInput(
                io, QStringLiteral("fluid-table: %1 «%2» — не число").arg(what.at(i), a.at(i + 1)));
        }
    }
    const auto [from, to, step] = range;
    constexpr double mostRows = 10000;
    if (!(step > 0) || !(to >= from) || (to - from) / step > mostRows) {
        return badInput(io, QStringLiteral("fluid-table: нужно ОТ ≤ ДО и шаг больше нуля, не "
                                           "больше %1 строк")
                                .arg(mostRows));
    }
    QStringList folders;
    QString error;
    Fluid fluid;
    if (!fluidFoldersOf(options, folders, error) || !findFluid(a.at(0), folders, fluid, error)) {
        return badInput(io, error);
    }
    QStringList lines{QStringLiteral("# Свойства жидкости «%1»: %2")
                          .arg(fluid.name, fluid.isWater() ? fluid.source
                                                           : QStringLiteral("таблица %1, линейная "
                                                                            "интерполяция")
                                                                 .arg(fluid.source)),
                      QStringLiteral("# orven-key fluid-table %1").arg(a.join(QLatin1Char(' '))),
                      QStringLiteral("жидкость = %1").arg(fluid.name),
                      QStringLiteral("# %1 %2 %3 %4 %5")
                          .arg(QStringLiteral("t, °C"), 6)
                          .arg(QStringLiteral("ρ, кг/м^3"), 11)
                          .arg(QStringLiteral("μ, Па·с"), 12)
                          .arg(QStringLiteral("c, Дж/(кг·К)"), 13)
                          .arg(QStringLiteral("λ, Вт/(м·К)"), 12)};
    const auto rows = static_cast<int>(std::floor((to - from) / step + 1e-9));
    for (int i = 0; i <= rows; ++i) {
        // Each temperature from the start, so that steps do not add up errors.
        const double t =
            i == rows && std::abs(from + i * step - to) < 1e-9 * step ? to : from + i * step;
        LiquidProperties liquid;
        if (!fluidProperties(fluid, t, liquid, error)) {
            return badInput(io, QStringLiteral("fluid-table: %1").arg(error));
        }
        const auto six = [](double v) { return QString::number(v, 'g', 6); };
        lines << QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(QString::number(t, 'g', 10), 8)
                     .arg(six(liquid.density), 11)
                     .arg(six(liquid.viscosity), 12)
                     .arg(six(liquid.heatCapacity), 13)
                     .arg(six(liquid.conductivity), 12);
    }
    io.out << lines.join(QLatin1Char('\n')) << QLatin1Char('\n');
    return statusDone;
}

int keyMain(int argc, char* argv[],
            const std::function<int(const KeyOptions& options, KeyIo& io)>& run) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    QFile in;
    in.open(stdin, QIODevice::ReadOnly);
    KeyIo io{out, err, &in};
    KeyOptions options;
    if (const QString error = parseKeyArguments(arguments, options); !error.isEmpty()) {
        return badInput(io, error);
    }
    if (options.help) {
        out << keyHelpText();
        return statusDone;
    }
    if (options.version) {
        out << QStringLiteral("orven-key " ORVEN_VERSION "\n");
        return statusDone;
    }
    return run(options, io);
}

void setKeyPdfFunctions(const KeyPdfFunctions& functions) {
    pdf = functions;
}

bool needsPdf(const KeyOptions& options) {
    return options.command == QStringLiteral("check") ||
           options.command == QStringLiteral("assign") ||
           options.command == QStringLiteral("grade") || !options.pdf.isEmpty();
}

namespace {

// Every command by its name, in the order the help lists them.
struct KeyCommand {
    QLatin1String name;
    int (*run)(const KeyOptions& options, KeyIo& io);
};
const std::array<KeyCommand, 7> keyCommands{{{QLatin1String("solve"), solveCommand},
                                             {QLatin1String("explain"), explainCommand},
                                             {QLatin1String("check"), checkCommand},
                                             {QLatin1String("prepare"), prepareCommand},
                                             {QLatin1String("fluid-table"), fluidTableCommand},
                                             {QLatin1String("assign"), assignCommand},
                                             {QLatin1String("grade"), gradeCommand}}};

const KeyCommand* keyCommandNamed(const QString& name) {
    const auto found = std::find_if(keyCommands.cbegin(), keyCommands.cend(),
                                    [&](const KeyCommand& c) { return c.name == name; });
    return found == keyCommands.cend() ? nullptr : &*found;
}

} // namespace

int runKeyCommand(const KeyOptions& options, KeyIo& io) {
    const KeyCommand* command = keyCommandNamed(options.command);
    return command != nullptr
               ? command->run(options, io)
               : badInput(io, QStringLiteral("неизвестная команда «%1»").arg(options.command));
}

QString parseKeyArguments(const QStringList& arguments, KeyOptions& options) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const auto valued = [](const char* name) {
        return QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
    };
    const QCommandLineOption top = valued("top");
    const QCommandLineOption maxChannels = valued("max-channels");
    const QCommandLineOption csv = valued("csv");
    const QCommandLineOption pdf = valued("pdf");
    const QCommandLineOption exchanger = valued("exchanger");
    const QCommandLineOption packs = valued("packs");
    const QCommandLineOption channels = valued("channels");
    const QCommandLineOption sort = valued("sort");
    const QCommandLineOption task = valued("task");
    const QCommandLineOption tolerance = valued("tolerance");
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QString(), QStringLiteral("value"));
    const QCommandLineOption protocol(QStringLiteral("protocol"));
    const QCommandLineOption fluids = valued("fluids");
    const QCommandLineOption classList = valued("class");
    const QCommandLineOption taskTemplate = valued("template");
    const QCommandLineOption outFolder = valued("out");
    const QCommandLineOption draw = valued("draw");
    const QCommandLineOption minSuitable = valued("min-suitable");
    const QCommandLineOption withValues(QStringLiteral("with-values"));
    const QCommandLineOption course = valued("course");
    const QCommandLineOption item = valued("item");
    const QCommandLineOption separator = valued("separator");
    parser.addOptions({help,      version,     top,        maxChannels, csv,          pdf,
                       exchanger, packs,       channels,   sort,        task,         tolerance,
                       output,    protocol,    fluids,     classList,   taskTemplate, outFolder,
                       draw,      minSuitable, withValues, course,      item,         separator});
    if (!parser.parse(arguments)) {
        if (!parser.unknownOptionNames().isEmpty()) {
            const QString name = parser.unknownOptionNames().first();
            return QStringLiteral("неизвестный параметр «%1%2» (справка: orven-key --help)")
                .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
        }
        // Qt says "Missing value after '--top'."
        static const QRegularExpression quotedName(QStringLiteral("'([^']+)'"));
        const QString name = quotedName.match(parser.errorText()).captured(1);
        return QStringLiteral("после %1 нужно значение").arg(name);
    }
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    if (options.help || options.version) {
        return QString();
    }
    for (const QCommandLineOption* counted : {&top, &maxChannels}) {
        if (!parser.isSet(*counted)) {
            continue;
        }
        const QString value = parser.value(*counted);
        bool ok = false;
        const int number = value.toInt(&ok);
        const bool channelsLimit = counted == &maxChannels;
        if (!ok || number < 1 || (channelsLimit && number > channelCeiling)) {
            return QStringLiteral("--%1: нужно целое число от 1%2, а не «%3»")
                .arg(counted->names().first(),
                     channelsLimit ? QStringLiteral(" до %1").arg(channelCeiling) : QString(),
                     value);
        }
        (channelsLimit ? options.maxChannels : options.top) = number;
    }
    if (parser.isSet(sort)) {
        const QStringList orders{QStringLiteral("surface"), QStringLiteral("margin"),
                                 QStringLiteral("packs")};
        const QString value = parser.value(sort);
        if (!orders.contains(value)) {
            return QStringLiteral("--sort: нужно surface, margin или packs, а не «%1»").arg(value);
        }
        options.order = static_cast<VariantOrder>(orders.indexOf(value));
    }
    if (parser.isSet(tolerance)) {
        bool ok = false;
        const QString value = parser.value(tolerance);
        const double percent =
            QString(value).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (!ok || !(percent >= 0 && percent <= 100)) {
            return QStringLiteral("--tolerance: нужно число от 0 до 100 (%), а не «%1»").arg(value);
        }
        options.tolerance = percent;
    }
    options.csv = parser.value(csv);
    options.pdf = parser.value(pdf);
    options.exchanger = parser.value(exchanger);
    options.packs = parser.value(packs);
    options.channels = parser.value(channels);
    options.task = parser.value(task);
    options.output = parser.value(output);
    options.protocol = parser.isSet(protocol);
    options.fluids = parser.value(fluids);
    options.classList = parser.value(classList);
    options.taskTemplate = parser.value(taskTemplate);
    options.outFolder = parser.value(outFolder);
    options.withValues = parser.isSet(withValues);
    if (parser.isSet(course)) {
        options.course = parser.value(course);
    }
    if (parser.isSet(item)) {
        options.item = parser.value(item);
    }
    if (parser.isSet(separator)) {
        const QString value = parser.value(separator);
        if (value != QStringLiteral(",") && value != QStringLiteral(";")) {
            return QStringLiteral("--separator: нужно «,» или «;», а не «%1»").arg(value);
        }
        options.separator = value.at(0);
    }
    if (parser.isSet(draw)) {
        bool ok = false;
        options.draw = parser.value(draw).toULongLong(&ok);
        if (!ok) {
            return QStringLiteral("--draw: нужно целое число от 0, а не «%1»")
                .arg(parser.value(draw));
        }
    }
    if (parser.isSet(minSuitable)) {
        bool ok = false;
        options.minSuitable = parser.value(minSuitable).toInt(&ok);
        if (!ok || options.minSuitable < 1 || options.minSuitable > 1000) {
            return QStringLiteral("--min-suitable: нужно целое число от 1 до 1000, а не «%1»")
                .arg(parser.value(minSuitable));
        }
    }

    QStringList positional = parser.positionalArguments();
    QStringList names;
    for (const KeyCommand& command : keyCommands) {
        names << command.name;
    }
    const QString commandList = names.mid(0, names.size() - 1).join(QStringLiteral(", ")) +
                                QStringLiteral(" или ") + names.last();
    if (positional.isEmpty()) {
        return QStringLiteral("не указана команда: %1 (справка: orven-key --help)")
            .arg(commandList);
    }
    options.command = positional.takeFirst();
    if (keyCommandNamed(options.command) == nullptr) {
        return QStringLiteral("неизвестная команда «%1»: нужно %2")
            .arg(options.command, commandList);
    }
    const bool table = options.command == QStringLiteral("fluid-table");
    const bool assign = options.command == QStringLiteral("assign");
    const bool grade = options.command == QStringLiteral("grade");
    const qsizetype wanted = table ? 4 : assign ? 0 : 1;
    if (positional.size() < wanted) {
        return table ? QStringLiteral("команде fluid-table нужны ЖИДКОСТЬ ОТ ДО ШАГ (°C)")
               : grade ? QStringLiteral("команде grade нужны отчёты PDF или папки с ними")
                       : QStringLiteral("команде %1 нужен файл").arg(options.command);
    }
    if (positional.size() > wanted && !grade) {
        return QStringLiteral("лишний аргумент «%1»").arg(positional.at(wanted));
    }
    options.arguments = positional;
    options.file = positional.value(0);
    return QString();
}

} // namespace orven
