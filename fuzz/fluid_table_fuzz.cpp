// A teacher's fluid table, and its properties across and past its range.

#include "harness.h"
#include "properties/fluids.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orven::Fluid fluid;
    QString error;
    if (orven::readFluidTable(inputBytes(data, size), QStringLiteral("т.txt"), fluid, error)) {
        orven::LiquidProperties properties;
        const double low = fluid.lowestCelsius();
        const double high = fluid.highestCelsius();
        for (const double t : {low - 1, low, (low + high) / 2, high, high + 1}) {
            (void)orven::fluidProperties(fluid, t, properties, error);
        }
    }
    return 0;
}
