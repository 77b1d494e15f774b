// orven-key solve: every standard variant of a design, ranked.

#include "core/csv.h"
#include "key/design_file.h"
#include "key/variants.h"
#include "key_cli/command_support.h"

#include <algorithm>

namespace orven {

namespace {

QVariant readChannelLimit(const QString& text, QString& error) {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < 1 || number > channelCeiling) {
        error =
            QStringLiteral("нужно целое число от 1 до %1, а не «%2»").arg(channelCeiling).arg(text);
    }
    return number;
}

const QStringList orderNames{QStringLiteral("surface"), QStringLiteral("margin"),
                             QStringLiteral("packs")};

QVariant readOrder(const QString& text, QString& error) {
    if (!orderNames.contains(text)) {
        error = QStringLiteral("нужно surface, margin или packs, а не «%1»").arg(text);
    }
    return static_cast<int>(orderNames.indexOf(text));
}

const KeyOption topOption{{QStringLiteral("top")},
                          QStringLiteral("N"),
                          QStringLiteral("сколько лучших вариантов показать (по умолчанию 10)"),
                          false,
                          10,
                          readPositiveInteger};
const KeyOption sortOption{
    {QStringLiteral("sort")},
    QStringLiteral("ПОРЯДОК"),
    QStringLiteral("surface — наименьшая поверхность, затем запас, затем пакеты (по умолчанию); "
                   "margin — наименьший запас; packs — меньше пакетов. Компоновки с пакетом из "
                   "одного канала — только если другие не подходят"),
    false,
    static_cast<int>(VariantOrder::Surface),
    readOrder};
const KeyOption maxChannelsOption{
    {QStringLiteral("max-channels")},
    QStringLiteral("N"),
    QStringLiteral("наибольшее число каналов на поток (по умолчанию — пока поверхность не вдвое "
                   "больше расчётной, не больше 2000)"),
    false,
    0,
    readChannelLimit};
const KeyOption csvOption{{QStringLiteral("csv")},
                          QStringLiteral("ФАЙЛ"),
                          QStringLiteral("все подходящие варианты в таблицу CSV")};

QStringList solveText(const QString& path, const DesignData& design, const Solution& s, int top,
                      VariantOrder order) {
    const bool condenser = design.type == ExchangerType::Condenser;
    QStringList out;
    out << QStringLiteral("Ключ к задаче %1 (%2)").arg(path, exchangerTypeWord(design.type));
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
    for (std::size_t w = 0; w < resultWarningCount; ++w) {
        out << QStringLiteral("  %1: %2")
                   .arg(resultWarningRules.at(w).groupName())
                   .arg(s.warningCounts.at(w));
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
    CsvWriter csv;
    csv.addRow({QStringLiteral("место"), QStringLiteral("теплообменник"),
                QStringLiteral("пакеты холодного"), QStringLiteral("пакеты горячего"),
                QStringLiteral("каналы холодного"), QStringLiteral("каналы горячего"),
                QStringLiteral("Re1"), QStringLiteral("Re2"), QStringLiteral("K"),
                QStringLiteral("ΔP1"), QStringLiteral("ΔP2"), QStringLiteral("F_req"),
                QStringLiteral("F_geom"), QStringLiteral("запас %")});
    const auto full = [](double v) { return QString::number(v, 'g', 10); };
    for (int i = 0; i < s.suitable.size(); ++i) {
        const Evaluated& e = s.suitable.at(i);
        const CalculationResults& r = e.results;
        const QString channels = channelsText(e.variant);
        csv.addRow({QString::number(i + 1), standardExchangers().at(e.variant.exchanger).name,
                    QString::number(e.variant.coldPacks), QString::number(e.variant.hotPacks),
                    channels.section(QStringLiteral("; "), 0, 0),
                    channels.section(QStringLiteral("; "), 1, 1), full(r.hotReynolds),
                    full(r.coldReynolds), full(r.overallCoefficient),
                    condenser ? QString() : full(r.hotPressureDrop), full(r.coldPressureDrop),
                    full(r.requiredSurface), full(r.geometricSurface), full(r.surfaceMargin)});
    }
    return writeFileBytes(path, csv.bytes());
}

int run(const CommandLine& line, KeyIo& io) {
    const QString file = line.arguments.first();
    const int top = line.value(topOption).toInt();
    const auto order = static_cast<VariantOrder>(line.value(sortOption).toInt());
    const QString csv = line.text(csvOption);
    DesignData design;
    QString error;
    if (!readDesign(file, io, design, error)) {
        return badInput(io, error);
    }
    // Only the best --top are kept, unless the CSV asks for all of them.
    const Solution solution = solveDesign(
        design, {line.value(maxChannelsOption).toInt(), 5, order, csv.isEmpty() ? top : 0});
    if (!csv.isEmpty() && !writeCsv(csv, solution, design.type == ExchangerType::Condenser)) {
        return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(csv));
    }
    return writeOutputs(io, solveText(shownName(file), design, solution, top, order), line,
                        QStringLiteral("ORVEN: ключ к задаче"));
}

} // namespace

extern const KeyCommand solveCommand{
    QLatin1String("solve"),
    QStringLiteral("перебрать все стандартные варианты задачи из ФАЙЛА"),
    QStringLiteral("ФАЙЛ"),
    1,
    1,
    QStringLiteral("команде solve нужен файл"),
    QStringLiteral("Подходящие варианты — без единого предупреждения программы; показаны "
                   "лучшие в заданном порядке, для остальных — сколько вариантов отпало по "
                   "каждому предупреждению."),
    {&topOption, &sortOption, &maxChannelsOption, &csvOption, &pdfOption},
    pdfAsked,
    run};

} // namespace orven
