#pragma once
// The catalogue of standard plate heat exchangers the student chooses from:
// three plates (0.2, 0.3 and 0.5 m2) with the values the selection table shows,
// and the six standard plate-and-nozzle choices, one per button of the table.
// Storing a choice writes the plate geometry into the design case (slot 17 the
// plate area and designation, slots 18..21 the channel and nozzle values, each
// also copied into PlateGeometry for the calculation). The 0.5 m2 plate needs a
// second choice, its letter "Е" or "Г", which sets the plate type.

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace orven {

struct DesignCase;

// One plate of the catalogue. Lengths in metres unless marked.
struct StandardPlate {
    double plateArea = 0; // m2
    int lengthMm = 0;
    int widthMm = 0;
    double thicknessMm = 0;
    double equivalentDiameter = 0;
    double shownCrossSection = 0;  // m2, as the table shows it
    double storedCrossSection = 0; // m2, as a choice stores it
    double reducedChannelLength = 0;
    std::array<int, 3> nozzleMm{}; // executions I, II, III; 0 where there is none
    bool needsLetter = false;
};

// One button of the selection table: what pressing it stores.
struct StandardChoice {
    int button = 0;   // number of the button, 3..8 (Command3..Command8)
    int plateRow = 0; // index of the plate in PlateCatalogue::plates
    QString caption;  // nozzle diameter in mm as the button shows it
    double plateArea = 0;
    QString designation;                   // valueTexts slot 17
    std::optional<std::int16_t> plateType; // empty: left as it is until a letter is chosen
    std::array<double, 4> slotValues{};    // slots 18..21
    std::array<QString, 4> slotTexts;      // slots 18..21
    QString executionLine;                 // the letter step's line; empty for the smaller plates
};

// The second choice for the 0.5 m2 plate.
struct PlateLetterChoice {
    int button = 0; // 9 or 10 (Command9, Command10)
    QString letter;
    std::int16_t plateType = 0;
    QString designation;
};

struct PlateCatalogue {
    std::array<StandardPlate, 3> plates;
    std::array<StandardChoice, 6> choices;
    std::array<PlateLetterChoice, 2> letters;
};

const PlateCatalogue& plateCatalogue();

// The choice of button 3..8 / the letter of button 9..10; nullptr for any other number.
const StandardChoice* standardChoiceOfButton(int button);
const PlateLetterChoice* plateLetterOfButton(int button);

// First slot of the construction values that a choice writes besides slot 17.
constexpr int firstGeometrySlot = 18;

// Stores the plate area and designation (slot 17), the plate type when the
// choice fixes it, and slots 18..21 with their PlateGeometry copies.
void storeStandardChoice(DesignCase& designCase, const StandardChoice& choice);

// Stores the plate type and designation of a 0.5 m2 plate letter; the geometry
// stored by the nozzle choice stays.
void storePlateLetter(DesignCase& designCase, const PlateLetterChoice& letter);

} // namespace orven
