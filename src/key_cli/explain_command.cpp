// orven-key explain: one variant of a design worked out formula by formula.

#include "key/design_file.h"
#include "key/protocol.h"
#include "key/variants.h"
#include "key_cli/command_support.h"

#include <algorithm>
#include <numeric>

namespace orven {

namespace {

const KeyOption exchangerOption{
    {QStringLiteral("exchanger")},
    QStringLiteral("Т"),
    QStringLiteral("теплообменник: 0.2/100, 0.3/50, 0.3/65, 0.5Е/100, 0.5Е/150, 0.5Е/200, "
                   "0.5Г/100, 0.5Г/150, 0.5Г/200"),
    true};
const KeyOption packsOption{{QStringLiteral("packs")},
                            QStringLiteral("Х,Г"),
                            QStringLiteral("число пакетов холодного и горячего теплоносителя"),
                            true};
const KeyOption channelsOption{
    {QStringLiteral("channels")},
    QStringLiteral("Х1,Х2,...;Г1,..."),
    QStringLiteral("каналы в пакетах: холодного через запятую, «;», горячего"),
    true};

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

int run(const CommandLine& line, KeyIo& io) {
    const QString file = line.arguments.first();
    const QString exchangerName = line.text(exchangerOption);
    const QString packsText = line.text(packsOption);
    const QString channelsText = line.text(channelsOption);
    if (exchangerName.isEmpty() || packsText.isEmpty() || channelsText.isEmpty()) {
        return badInput(io,
                        QStringLiteral("команде explain нужны --exchanger, --packs и --channels"));
    }
    const Exchanger* exchanger = exchangerNamed(exchangerName);
    if (!exchanger) {
        return badInput(io, QStringLiteral("--exchanger: неизвестный теплообменник «%1»; есть: %2")
                                .arg(exchangerName, [] {
                                    QStringList names;
                                    for (const Exchanger& e : standardExchangers()) {
                                        names << e.name;
                                    }
                                    return names.join(QStringLiteral(", "));
                                }()));
    }
    DesignData design;
    QString error;
    if (!readDesign(file, io, design, error)) {
        return badInput(io, error);
    }
    const bool condenser = design.type == ExchangerType::Condenser;
    const QList<int> packs = numberList(packsText);
    if (packs.size() != 2 || packs.at(0) < 1 || packs.at(0) > maxPackCount || packs.at(1) < 1 ||
        packs.at(1) > maxPackCount || (condenser && packs.at(1) != 1)) {
        return badInput(io, QStringLiteral("--packs: нужно «холодные,горячие», каждое от 1 до %1 "
                                           "(у конденсатора горячих 1), а не «%2»")
                                .arg(maxPackCount)
                                .arg(packsText));
    }
    const QStringList streams = channelsText.split(QLatin1Char(';'));
    const QList<int> cold = streams.size() == 2 ? numberList(streams.at(0)) : QList<int>();
    const QList<int> hot = streams.size() == 2 ? numberList(streams.at(1)) : QList<int>();
    const auto inRange = [](const QList<int>& list) {
        return std::all_of(list.cbegin(), list.cend(),
                           [](int c) { return c >= 1 && c <= maxChannelCount; });
    };
    if (cold.size() != packs.at(0) || hot.size() != packs.at(1) || !inRange(cold) ||
        !inRange(hot)) {
        return badInput(io, QStringLiteral("--channels: нужно %1 чисел каналов холодного и %2 "
                                           "горячего через «;», каждое от 1 до %3, а не «%4»")
                                .arg(packs.at(0))
                                .arg(packs.at(1))
                                .arg(maxChannelCount)
                                .arg(channelsText));
    }
    const Variant variant{static_cast<int>(exchanger - standardExchangers().data()),
                          double(packs.at(0)), packs.at(1), cold, hot};
    const int coldTotal = std::accumulate(cold.cbegin(), cold.cend(), 0);
    const int hotTotal = std::accumulate(hot.cbegin(), hot.cend(), 0);
    if (coldTotal != hotTotal || coldTotal > maxChannelCount) {
        return badInput(io, QStringLiteral("--channels: всего каналов холодного %1, горячего %2; "
                                           "нужно поровну и не больше %3")
                                .arg(coldTotal)
                                .arg(hotTotal)
                                .arg(maxChannelCount));
    }
    QStringList lines{QStringLiteral("Расчёт варианта задачи %1").arg(shownName(file))};
    lines += explainVariant(design, variant);
    return writeOutputs(io, lines, line, QStringLiteral("ORVEN: расчёт варианта"));
}

} // namespace

extern const KeyCommand explainCommand{
    QLatin1String("explain"),
    QStringLiteral("расчёт одного варианта формула за формулой"),
    QStringLiteral("ФАЙЛ"),
    1,
    1,
    QStringLiteral("команде explain нужен файл"),
    QStringLiteral("Вариант — теплообменник, пакеты и каналы в них, как их вводит студент; "
                   "каждая формула с подставленными числами и результатом, затем "
                   "предупреждения программы."),
    {&exchangerOption, &packsOption, &channelsOption, &pdfOption},
    pdfAsked,
    run};

} // namespace orven
