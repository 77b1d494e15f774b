#pragma once
// Every standard variant of a design: the nine catalogue exchangers (the
// selection table's plate-and-nozzle buttons, the 0.5 m2 plate with each of its
// letters), cold packs 1..8 and hot packs 1..8 (a condenser: one hot pack), and
// equal channel totals for both streams, the channels of a pack spread as
// evenly as the advice screen's example (122 in 3 packs: 40, 41, 41). Each
// variant is calculated by the student program's own calculation on a design
// case set up as its screens leave it.

#include "calculation/calculation.h"
#include "key/design_file.h"

#include <QList>
#include <QString>
#include <array>

namespace orven {

struct StandardChoice;
struct PlateLetterChoice;

// One of the nine catalogue exchangers.
struct Exchanger {
    const StandardChoice* choice = nullptr;
    const PlateLetterChoice* letter = nullptr; // the 0.5 m2 plate only
    QString name;                              // "0.5Е/150": plate, letter, nozzle in mm
};
const QList<Exchanger>& standardExchangers();
// The exchanger of a name as `name` gives it (case and blanks ignored); nullptr if none.
const Exchanger* exchangerNamed(const QString& name);

// The channels of each pack when total channels go into packs packs: the
// last packs take one more where they do not divide evenly.
QList<int> spreadChannels(int total, int packs);

// A variant: packs and the channels of each pack, both streams.
struct Variant {
    int exchanger = 0; // index in standardExchangers()
    double coldPacks = 1;
    int hotPacks = 1;
    QList<int> coldChannels; // pack 1..coldPacks
    QList<int> hotChannels;
};

// Sets the exchanger, packs and channels into a design case as the selection
// and arrangement screens store them.
void loadVariant(DesignCase& designCase, const Variant& variant);

struct Evaluated {
    Variant variant;
    CalculationStatus status = CalculationStatus::InputError;
    CalculationResults results;
    unsigned warningFlags = 0; // resultWarningFlags()
    QList<ResultWarning> warnings;
    // How far the variant is from suiting, % (0 when it suits): the sum of its
    // excess over each limit it breaks, relative to that limit.
    double shortfall = 0;
};

// Calculates one variant on a design case holding the design (loadDesign).
Evaluated evaluateVariant(DesignCase& designCase, const Variant& variant);

// Why an evaluated variant does not suit: one text per broken limit, with the
// comparison ("запас −86.07 % ≤ 0").
QStringList failureReasons(const Evaluated& evaluated, const DesignCase& designCase);

// The orders a teacher may rank suitable variants in.
enum class VariantOrder {
    Surface, // the smallest geometric surface, then the smallest margin, then fewer packs
    Margin,  // the smallest margin, then the smallest surface, then fewer packs
    Packs,   // fewer packs, then the smallest surface, then the smallest margin
};
// True when a comes before b in the order.
bool rankedBefore(const Evaluated& a, const Evaluated& b, VariantOrder order);
// True when a pack of either stream holds a single channel.
bool hasSingleChannelPack(const Variant& variant);

struct SolveOptions {
    int maxChannels = 0; // channel total per stream; 0: the automatic limit
    int nearestCount = 5;
    VariantOrder order = VariantOrder::Surface;
    int keep = 0; // suitable variants kept, the best first; 0: all
    // Variants whose place among the suitable ones is counted as they come,
    // so that no list of them need be kept (Solution::places).
    QList<Evaluated> placesOf = {};
};

struct ExchangerSummary {
    int channelLimit = 0; // the largest channel total tried
    qint64 variants = 0;  // variants tried
    qint64 suitable = 0;
};

struct Solution {
    qint64 tried = 0;
    qint64 calculationErrors = 0;
    // Variants with each warning, by ResultWarning (a variant may count under several).
    std::array<qint64, resultWarningCount> warningCounts{};
    double requiredMin = 0; // the range of the required surface over every calculated variant
    double requiredMax = 0;
    std::array<ExchangerSummary, 9> exchangers{};
    // The suitable variants (no warning) in the order asked, the best first, as
    // many as kept; layouts with a one-channel pack only when nothing else suits.
    QList<Evaluated> suitable;
    qint64 suitableCount = 0;      // all of that kind, kept or not
    qint64 singleChannelCount = 0; // suitable with a one-channel pack, when others suit
    QList<Evaluated> nearest;      // when nothing suits: the smallest shortfall first
    // For each of SolveOptions::placesOf: 1 + the listed suitable variants
    // ranked before it.
    QList<qint64> places;
};

// The automatic channel limit stops an exchanger's totals once its geometric
// surface reaches twice the largest required surface met so far on it; never
// beyond this many channels.
constexpr int channelCeiling = 2000;

Solution solveDesign(const DesignData& design, const SolveOptions& options = {});

// A result as the results screen and the report round it (2 decimals).
QString resultText(double value);
// "40,41,41; 61,61": the channels of each cold pack, then of each hot pack.
QString channelsText(const Variant& variant);
// "0.2/100, пакеты 1/1, каналы 5; 5": a variant in one line.
QString variantText(const Variant& variant);

} // namespace orven
