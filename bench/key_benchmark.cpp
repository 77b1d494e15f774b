// Speed of the teacher's key: solving a design of about 300 000 standard
// variants, against as many bare calculations on one prepared design case.
//
//   build/orven_key_benchmark [--benchmark_repetitions=5]

#include "calculation/calculation.h"
#include "key/design_file.h"
#include "key/variants.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace orven;

namespace {

DesignData largeDesign() {
    QFile file(QStringLiteral(ORVEN_SOURCE_DIR "/tests/key/large_cooler.txt"));
    DesignData design;
    QString error;
    if (!file.open(QIODevice::ReadOnly) ||
        !readDesignFile(file.readAll(), file.fileName(), design, error)) {
        std::abort();
    }
    return design;
}

void solveLargeDesign(benchmark::State& state) {
    const DesignData design = largeDesign();
    qint64 variants = 0;
    for (auto _ : state) {
        const Solution solution = solveDesign(design, {0, 5, VariantOrder::Surface, 10});
        benchmark::DoNotOptimize(solution.suitable.size());
        variants += solution.tried;
    }
    state.SetItemsProcessed(variants);
}
BENCHMARK(solveLargeDesign)->Unit(benchmark::kMillisecond);

// The same number of calculateExchanger calls with nothing around them: the
// channel totals of one exchanger, one pack each.
void bareCalculations(benchmark::State& state) {
    const DesignData design = largeDesign();
    const qint64 count = solveDesign(design).tried;
    DesignCase designCase;
    loadDesign(designCase, design);
    loadVariant(designCase, {0, 1, 1, {2}, {2}});
    PlateArrangement& arrangement = designCase.plateArrangement;
    for (auto _ : state) {
        for (qint64 i = 0; i < count; ++i) {
            const auto channels = static_cast<std::int16_t>(2 + i % 1000);
            arrangement.coldChannels[1] = arrangement.hotChannels[1] = channels;
            arrangement.coldChannelTotal = arrangement.hotChannelTotal = channels;
            benchmark::DoNotOptimize(calculateExchanger(designCase));
            benchmark::DoNotOptimize(designCase.calculationResults.surfaceMargin);
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(bareCalculations)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
