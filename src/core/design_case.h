#pragma once
// The design case: the whole state of one run of the program. Every screen and
// every calculation step reads and writes the one instance returned by
// designCase(); nothing of it is saved. Slots are numbered as the program shows
// them: 1..14 initial data, 16 the exchanger type text, 17..21 the construction
// values of the chosen plate.

#include "core/calculation_data.h"
#include "core/slot_array.h"

#include <QString>
#include <cstdint>

namespace orven {

enum class ExchangerType : std::int32_t { Cooler = 0, Condenser = 1, NotChosen = 2 };

// Screens, lists and the report take any type other than Cooler as a condenser;
// only the calculation asks for Condenser exactly.
inline bool showsAsCondenser(ExchangerType type) {
    return type != ExchangerType::Cooler;
}

constexpr int initialDataCount = 14;
constexpr int parameterSlotCount = 26;

// Geometry of the chosen exchanger. The plate area and designation live in
// slot 17 of values/valueTexts; the other four also have slots 18..21, and the
// calculation reads these separate copies.
struct PlateGeometry {
    std::int16_t plateType = 0;      // 0: 0.2 m2, 1: 0.3 m2, 2: 0.5 m2 "Е", 3: 0.5 m2 "Г"
    double reducedChannelLength = 0; // L, m
    double channelCrossSection = 0;  // f, m2
    double equivalentDiameter = 0;   // d_e, m
    double nozzleDiameter = 0;       // d_sh, m
};

// The limits of a layout, the same in the program and the teacher's key: 1 to
// maxPackCount packs a stream, and channel counts that fit the 16-bit
// integers the program keeps them in.
constexpr int maxPackCount = 8;
constexpr int maxChannelCount = 32767;

// Packs and channels of both streams; packs use slots 1..8, slot 0 is unused.
struct PlateArrangement {
    double coldPackCount = 0; // as entered, may be fractional
    std::int16_t hotPackCount = 0;
    SlotArray<std::int16_t, 0, 10> coldChannels;
    SlotArray<std::int16_t, 0, 10> hotChannels;
    std::int16_t coldChannelTotal = 0;
    std::int16_t hotChannelTotal = 0;
};

struct DesignCase {
    ExchangerType exchangerType = ExchangerType::Cooler;

    SlotArray<QString, 1, parameterSlotCount> coolerParameterNames;
    SlotArray<QString, 1, parameterSlotCount> condenserParameterNames;
    SlotArray<QString, 1, parameterSlotCount> constructionParameterNames;
    SlotArray<QString, 1, parameterSlotCount> valueTexts;
    SlotArray<double, 1, 30> values;

    QString studentName;

    // Result of the last range check of the initial data.
    std::uint8_t firstInvalidParameter = 0;
    bool initialDataInvalid = false;
    bool initialEntryPending = false;

    // Bookkeeping of the printed report.
    std::int16_t pageBlockCount = 0;
    std::int16_t pageNumber = 0;
    bool reportOpen = false;
    bool resultsUnprinted = false;
    bool printRequestHandled = false;

    // The calculation's own copy of slots 1..14, taken when the selection opens.
    SlotArray<double, 1, initialDataCount> workingInitialData;

    PlateGeometry plateGeometry;
    PlateArrangement plateArrangement;
    PlateTypeCoefficients plateTypeCoefficients;
    CalculationResults calculationResults;

    // Name of slot 1..14 under the current exchanger type.
    const QString& initialDataName(int slot) const {
        return showsAsCondenser(exchangerType) ? condenserParameterNames[slot]
                                               : coolerParameterNames[slot];
    }
};

// The one design case of the run.
DesignCase& designCase();
// Puts the design case back to its state at program start (for tests).
void resetDesignCase();

} // namespace orven
