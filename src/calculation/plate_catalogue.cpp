#include "calculation/plate_catalogue.h"

#include "core/design_case.h"

namespace orven {

namespace {

// Slot texts are written as the numbers read, so that a list or the report
// shows "0.0018" and never "1.8E-03".
PlateCatalogue makeCatalogue() {
    PlateCatalogue catalogue;
    catalogue.plates = {{
        {0.2, 650, 650, 1.2, 0.0076, 0.0016, 0.0016, 0.45, {100, 0, 0}, false},
        {0.3, 1370, 300, 1.0, 0.008, 0.0011, 0.0011, 1.12, {50, 65, 0}, false},
        // The table shows the 0.5 m2 plate's cross-section as 0.00262, but the
        // calculation works with 0.0018.
        {0.5, 1370, 500, 1.0, 0.008, 0.00262, 0.0018, 1.15, {100, 150, 200}, true},
    }};

    const QString small = QStringLiteral("     0.2 K");    // Latin K
    const QString medium = QStringLiteral("     0.3 М^2"); // Cyrillic М
    const QString large = QStringLiteral("     0.5");
    catalogue.choices = {{
        {3,
         0,
         QStringLiteral("100"),
         0.2,
         small,
         std::int16_t{0},
         {0.45, 0.0016, 0.0076, 0.1},
         {QStringLiteral("0.45"), QStringLiteral("0.0016"), QStringLiteral("0.0076"),
          QStringLiteral("0.1")},
         QString()},
        {4,
         1,
         QStringLiteral("50"),
         0.3,
         medium,
         std::int16_t{1},
         {1.12, 0.0011, 0.008, 0.05},
         {QStringLiteral("1.12"), QStringLiteral("0.0011"), QStringLiteral("0.008"),
          QStringLiteral("0.05")},
         QString()},
        {5,
         1,
         QStringLiteral("65"),
         0.3,
         medium,
         std::int16_t{1},
         {1.12, 0.0011, 0.008, 0.065},
         {QStringLiteral("1.12"), QStringLiteral("0.0011"), QStringLiteral("0.008"),
          QStringLiteral("0.065")},
         QString()},
        // Latin I and c in the execution lines.
        {6,
         2,
         QStringLiteral("100"),
         0.5,
         large,
         std::nullopt,
         {1.15, 0.0018, 0.008, 0.1},
         {QStringLiteral("1.15"), QStringLiteral("0.0018"), QStringLiteral("0.008"),
          QStringLiteral("0.1")},
         QStringLiteral("исполнения I c диаметром штуцера 100мм")},
        {7,
         2,
         QStringLiteral("150"),
         0.5,
         large,
         std::nullopt,
         {1.15, 0.0018, 0.008, 0.15},
         {QStringLiteral("1.15"), QStringLiteral("0.0018"), QStringLiteral("0.008"),
          QStringLiteral("0.15")},
         QStringLiteral("исполнения II c диаметром штуцера 150мм")},
        {8,
         2,
         QStringLiteral("200"),
         0.5,
         large,
         std::nullopt,
         {1.15, 0.0018, 0.008, 0.2},
         {QStringLiteral("1.15"), QStringLiteral("0.0018"), QStringLiteral("0.008"),
          QStringLiteral("0.2")},
         QStringLiteral("исполнения III c диаметром штуцера 200мм")},
    }};

    catalogue.letters = {{
        {9, QStringLiteral("Г"), 3, QStringLiteral("     0.5Г")},
        {10, QStringLiteral("Е"), 2, QStringLiteral("     0.5Е")},
    }};
    return catalogue;
}

} // namespace

const PlateCatalogue& plateCatalogue() {
    static const PlateCatalogue catalogue = makeCatalogue();
    return catalogue;
}

const StandardChoice* standardChoiceOfButton(int button) {
    for (const StandardChoice& choice : plateCatalogue().choices) {
        if (choice.button == button)
            return &choice;
    }
    return nullptr;
}

const PlateLetterChoice* plateLetterOfButton(int button) {
    for (const PlateLetterChoice& letter : plateCatalogue().letters) {
        if (letter.button == button)
            return &letter;
    }
    return nullptr;
}

void storeStandardChoice(DesignCase& designCase, const StandardChoice& choice) {
    designCase.values[17] = choice.plateArea;
    designCase.valueTexts[17] = choice.designation;
    if (choice.plateType)
        designCase.plateGeometry.plateType = *choice.plateType;

    for (int i = 0; i < 4; ++i) {
        designCase.values[firstGeometrySlot + i] = choice.slotValues[i];
        designCase.valueTexts[firstGeometrySlot + i] = choice.slotTexts[i];
    }
    PlateGeometry& geometry = designCase.plateGeometry;
    geometry.reducedChannelLength = choice.slotValues[0];
    geometry.channelCrossSection = choice.slotValues[1];
    geometry.equivalentDiameter = choice.slotValues[2];
    geometry.nozzleDiameter = choice.slotValues[3];
}

void storePlateLetter(DesignCase& designCase, const PlateLetterChoice& letter) {
    designCase.plateGeometry.plateType = letter.plateType;
    designCase.valueTexts[17] = letter.designation;
}

} // namespace orven
