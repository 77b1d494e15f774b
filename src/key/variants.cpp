#include "key/variants.h"

#include "calculation/plate_catalogue.h"
#include "core/text_format.h"

#include <QLocale>

#include <tuple>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orven {

namespace {

QString nozzleOf(const StandardChoice& choice) {
    return choice.caption.trimmed();
}

// The name as typed: no blanks, lower case, Latin E and G read as the letters.
QString nameKey(QString name) {
    name = name.simplified().remove(QLatin1Char(' ')).toLower();
    name.replace(QLatin1Char('e'), QChar(0x0435)).replace(QLatin1Char('g'), QChar(0x0433));
    return name.replace(QLatin1Char(','), QLatin1Char('.'));
}

void loadArrangement(PlateArrangement& arrangement, const Variant& variant) {
    arrangement.coldPackCount = variant.coldPacks;
    arrangement.hotPackCount = static_cast<std::int16_t>(variant.hotPacks);
    int cold = 0;
    int hot = 0;
    for (int pack = 1; pack <= maxPackCount; ++pack) {
        arrangement.coldChannels[pack] =
            pack <= variant.coldChannels.size()
                ? static_cast<std::int16_t>(variant.coldChannels.at(pack - 1))
                : std::int16_t{0};
        arrangement.hotChannels[pack] =
            pack <= variant.hotChannels.size()
                ? static_cast<std::int16_t>(variant.hotChannels.at(pack - 1))
                : std::int16_t{0};
        cold += arrangement.coldChannels[pack];
        hot += arrangement.hotChannels[pack];
    }
    arrangement.coldChannelTotal = static_cast<std::int16_t>(cold);
    arrangement.hotChannelTotal = static_cast<std::int16_t>(hot);
}

double shortfallOf(const Evaluated& e, const DesignCase& designCase) {
    if (e.status != CalculationStatus::Completed) {
        return std::numeric_limits<double>::infinity();
    }
    const WarningInputs in = warningInputs(designCase, e.results);
    double total = 0;
    for (const ResultWarningRule& rule : resultWarningRules) {
        if (e.warningFlags & warningBit(rule.warning)) {
            total += rule.shortfall(in);
        }
    }
    return total;
}

// Channels total into packs packs as spreadChannels() gives them, straight
// into a pack array (no list made): the last packs take one more.
void spreadInto(SlotArray<std::int16_t, 0, 10>& channels, int total, int packs) {
    const int base = total / packs;
    const int longer = total % packs;
    for (int pack = 1; pack <= maxPackCount; ++pack) {
        channels[pack] =
            pack > packs ? std::int16_t{0}
                         : static_cast<std::int16_t>(base + (pack - 1 >= packs - longer ? 1 : 0));
    }
}

// The best `keep` of a stream of evaluated variants (all when keep is 0), in
// order; a variant's lists are made only when it is kept.
class BestVariants {
public:
    BestVariants(VariantOrder order, int keep) : order_(order), keep_(keep) {}
    void offer(Evaluated& e, int total) {
        ++count_;
        const auto before = [this](const Evaluated& a, const Evaluated& b) {
            return rankedBefore(a, b, order_);
        };
        if (keep_ > 0 && kept_.size() >= keep_ && !before(e, kept_.last())) {
            return;
        }
        e.variant.coldChannels = spreadChannels(total, static_cast<int>(e.variant.coldPacks));
        e.variant.hotChannels = spreadChannels(total, e.variant.hotPacks);
        e.warnings = warningsOfFlags(e.warningFlags);
        if (keep_ == 0) {
            kept_.append(e);
            return;
        }
        kept_.insert(std::upper_bound(kept_.begin(), kept_.end(), e, before), e);
        if (kept_.size() > keep_) {
            kept_.removeLast();
        }
    }
    QList<Evaluated> take() {
        if (keep_ == 0) {
            std::stable_sort(kept_.begin(), kept_.end(), [this](const auto& a, const auto& b) {
                return rankedBefore(a, b, order_);
            });
        }
        return std::move(kept_);
    }
    qint64 count() const { return count_; }

private:
    VariantOrder order_;
    int keep_;
    QList<Evaluated> kept_;
    qint64 count_ = 0;
};

} // namespace

bool rankedBefore(const Evaluated& a, const Evaluated& b, VariantOrder order) {
    const double surfaceA = a.results.geometricSurface;
    const double surfaceB = b.results.geometricSurface;
    const double marginA = a.results.surfaceMargin;
    const double marginB = b.results.surfaceMargin;
    const double packsA = a.variant.coldPacks + a.variant.hotPacks;
    const double packsB = b.variant.coldPacks + b.variant.hotPacks;
    switch (order) {
    case VariantOrder::Surface:
        return std::tie(surfaceA, marginA, packsA) < std::tie(surfaceB, marginB, packsB);
    case VariantOrder::Margin:
        return std::tie(marginA, surfaceA, packsA) < std::tie(marginB, surfaceB, packsB);
    case VariantOrder::Packs:
        return std::tie(packsA, surfaceA, marginA) < std::tie(packsB, surfaceB, marginB);
    }
    return false;
}

bool hasSingleChannelPack(const Variant& variant) {
    const auto single = [](const QList<int>& channels) {
        return std::find(channels.cbegin(), channels.cend(), 1) != channels.cend();
    };
    return single(variant.coldChannels) || single(variant.hotChannels);
}

const QList<Exchanger>& standardExchangers() {
    static const QList<Exchanger> exchangers = [] {
        QList<Exchanger> list;
        const PlateCatalogue& catalogue = plateCatalogue();
        for (const StandardChoice& choice : catalogue.choices) {
            if (choice.plateType) {
                list.append({&choice, nullptr,
                             choice.designation.trimmed().section(QLatin1Char(' '), 0, 0) +
                                 QLatin1Char('/') + nozzleOf(choice)});
            }
        }
        // The 0.5 m2 plate: letter Е first, then Г, each with its three nozzles.
        for (const QString& letterName : {QStringLiteral("Е"), QStringLiteral("Г")}) {
            for (const PlateLetterChoice& letter : catalogue.letters) {
                if (letter.letter != letterName) {
                    continue;
                }
                for (const StandardChoice& choice : catalogue.choices) {
                    if (!choice.plateType) {
                        list.append(
                            {&choice, &letter,
                             letter.designation.trimmed() + QLatin1Char('/') + nozzleOf(choice)});
                    }
                }
            }
        }
        return list;
    }();
    return exchangers;
}

const Exchanger* exchangerNamed(const QString& name) {
    for (const Exchanger& exchanger : standardExchangers()) {
        if (nameKey(exchanger.name) == nameKey(name)) {
            return &exchanger;
        }
    }
    return nullptr;
}

QList<int> spreadChannels(int total, int packs) {
    QList<int> channels;
    if (packs <= 0) {
        return channels;
    }
    const int base = total / packs;
    const int longer = total % packs;
    for (int pack = 0; pack < packs; ++pack) {
        channels.append(base + (pack >= packs - longer ? 1 : 0));
    }
    return channels;
}

void loadVariant(DesignCase& designCase, const Variant& variant) {
    const Exchanger& exchanger = standardExchangers().at(variant.exchanger);
    storeStandardChoice(designCase, *exchanger.choice);
    if (exchanger.letter) {
        storePlateLetter(designCase, *exchanger.letter);
    }
    loadArrangement(designCase.plateArrangement, variant);
}

Evaluated evaluateVariant(DesignCase& designCase, const Variant& variant) {
    loadVariant(designCase, variant);
    Evaluated e;
    e.variant = variant;
    e.status = calculateExchanger(designCase);
    e.results = designCase.calculationResults;
    if (e.status == CalculationStatus::Completed) {
        e.warningFlags = resultWarningFlags(designCase);
        e.warnings = warningsOfFlags(e.warningFlags);
    }
    e.shortfall = shortfallOf(e, designCase);
    return e;
}

QStringList failureReasons(const Evaluated& e, const DesignCase& designCase) {
    if (e.status != CalculationStatus::Completed) {
        return {QStringLiteral("расчёт невозможен (ошибка в исходной информации)")};
    }
    const WarningInputs in = warningInputs(designCase, e.results);
    QStringList reasons;
    for (const ResultWarning warning : e.warnings) {
        reasons << ruleOf(warning).reason(in);
    }
    return reasons;
}

Solution solveDesign(const DesignData& design, const SolveOptions& options) {
    Solution solution;
    solution.requiredMin = std::numeric_limits<double>::infinity();
    solution.requiredMax = 0;
    const bool condenser = design.type == ExchangerType::Condenser;
    const int hotPackLimit = condenser ? 1 : maxPackCount;
    const auto byShortfall = [](const Evaluated& a, const Evaluated& b) {
        return a.shortfall < b.shortfall;
    };
    // Layouts with a one-channel pack are listed only when nothing else suits.
    BestVariants suitable(options.order, options.keep);
    BestVariants singleChannel(options.order, options.keep);

    // Suitable variants ranked before each variant asked about: of the layouts
    // without and with a one-channel pack.
    QList<qint64> beforePlain(options.placesOf.size(), 0);
    QList<qint64> beforeSingle(options.placesOf.size(), 0);

    DesignCase designCase;
    loadDesign(designCase, design);
    PlateArrangement& arrangement = designCase.plateArrangement;
    for (int index = 0; index < standardExchangers().size(); ++index) {
        ExchangerSummary& summary = solution.exchangers[static_cast<std::size_t>(index)];
        loadVariant(designCase, Variant{index, 1, 1, {}, {}});
        const double plateArea = designCase.values[17];
        const int limit = options.maxChannels > 0 ? options.maxChannels : channelCeiling;
        double largestRequired = 0;
        for (int total = 2; total <= limit; ++total) {
            summary.channelLimit = total;
            arrangement.coldChannelTotal = arrangement.hotChannelTotal =
                static_cast<std::int16_t>(total);
            for (int cold = 1; cold <= std::min(maxPackCount, total); ++cold) {
                arrangement.coldPackCount = cold;
                spreadInto(arrangement.coldChannels, total, cold);
                for (int hot = 1; hot <= std::min(hotPackLimit, total); ++hot) {
                    arrangement.hotPackCount = static_cast<std::int16_t>(hot);
                    spreadInto(arrangement.hotChannels, total, hot);
                    const CalculationStatus status = calculateExchanger(designCase);
                    ++solution.tried;
                    ++summary.variants;
                    if (status != CalculationStatus::Completed) {
                        ++solution.calculationErrors;
                        continue;
                    }
                    Evaluated e;
                    e.status = status;
                    e.variant = Variant{index, double(cold), hot, {}, {}};
                    e.results = designCase.calculationResults;
                    e.warningFlags = resultWarningFlags(designCase);
                    const double required = e.results.requiredSurface;
                    largestRequired = std::max(largestRequired, required);
                    solution.requiredMin = std::min(solution.requiredMin, required);
                    solution.requiredMax = std::max(solution.requiredMax, required);
                    for (std::size_t w = 0; w < solution.warningCounts.size(); ++w) {
                        solution.warningCounts[w] += (e.warningFlags >> w) & 1u;
                    }
                    if (e.warningFlags == 0) {
                        ++summary.suitable;
                        // spreadChannels() gives total / packs to the first packs.
                        const bool single = total / cold == 1 || total / hot == 1;
                        for (qsizetype i = 0; i < options.placesOf.size(); ++i) {
                            if (rankedBefore(e, options.placesOf.at(i), options.order)) {
                                ++(single ? beforeSingle : beforePlain)[i];
                            }
                        }
                        (single ? singleChannel : suitable).offer(e, total);
                        continue;
                    }
                    e.shortfall = shortfallOf(e, designCase);
                    // nearestCount 0 keeps none.
                    if (solution.nearest.size() < options.nearestCount ||
                        (!solution.nearest.isEmpty() &&
                         e.shortfall < solution.nearest.last().shortfall)) {
                        e.variant.coldChannels = spreadChannels(total, cold);
                        e.variant.hotChannels = spreadChannels(total, hot);
                        e.warnings = warningsOfFlags(e.warningFlags);
                        const auto at = std::upper_bound(solution.nearest.begin(),
                                                         solution.nearest.end(), e, byShortfall);
                        solution.nearest.insert(at, e);
                        if (solution.nearest.size() > options.nearestCount) {
                            solution.nearest.removeLast();
                        }
                    }
                }
            }
            if (options.maxChannels <= 0 && largestRequired > 0 &&
                (2 * total - 2) * plateArea >= 2 * largestRequired) {
                break;
            }
        }
    }
    if (solution.requiredMin > solution.requiredMax) {
        solution.requiredMin = 0;
    }
    BestVariants& listed = suitable.count() > 0 ? suitable : singleChannel;
    solution.suitableCount = listed.count();
    solution.singleChannelCount = suitable.count() > 0 ? singleChannel.count() : 0;
    for (qsizetype i = 0; i < options.placesOf.size(); ++i) {
        solution.places << 1 + (suitable.count() > 0 ? beforePlain : beforeSingle).at(i);
    }
    solution.suitable = listed.take();
    if (!solution.suitable.isEmpty()) {
        solution.nearest.clear();
    }
    return solution;
}

QString resultText(double value) {
    return warningNumber(value);
}

QString channelsText(const Variant& variant) {
    const auto list = [](const QList<int>& channels) {
        QStringList texts;
        for (const int c : channels) {
            texts << QString::number(c);
        }
        return texts.join(QLatin1Char(','));
    };
    return list(variant.coldChannels) + QStringLiteral("; ") + list(variant.hotChannels);
}

QString variantText(const Variant& variant) {
    return QStringLiteral("%1, пакеты %2/%3, каналы %4")
        .arg(standardExchangers().at(variant.exchanger).name,
             QString::number(variant.coldPacks, 'g', QLocale::FloatingPointShortest))
        .arg(variant.hotPacks)
        .arg(channelsText(variant));
}

} // namespace orven
