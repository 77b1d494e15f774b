#pragma once
// A design as a teacher writes it down for the key: a plain UTF-8 text file.
// "#" starts a comment; blank lines are ignored. One line names the type,
// "тип = холодильник" or "тип = конденсатор"; the 14 initial data follow
// either as "key = value" lines under their short keys (designKeys()) or as
// bare numbers one per line in slot order, or both mixed (a bare number takes
// the next slot not yet given). Values are read as the student program reads
// typed values: the first comma becomes a point, then the number at the start
// of the text is taken, and the data must pass the range check.

#include "core/design_case.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace orven {

struct DesignData {
    ExchangerType type = ExchangerType::Cooler;
    std::array<QString, initialDataCount + 1> texts;      // slots 1..14, as read (normalised)
    std::array<QString, initialDataCount + 1> typedTexts; // slots 1..14, as written
    std::array<double, initialDataCount + 1> values{};
};

// The type as the key's files and texts name it: "холодильник" or
// "конденсатор"; read back whatever its letters' case and surrounding blanks.
QString exchangerTypeWord(ExchangerType type);
std::optional<ExchangerType> exchangerTypeOfWord(const QString& word);

// The short key of initial-data slot 1..14 (g1, l1, rho1, mu1, c1, g2, ...).
const QStringList& designKeys();

// Reads a design file's contents. On a fault returns false with one Russian
// line in error that names the file and, where there is one, the line.
bool readDesignFile(const QByteArray& contents, const QString& fileName, DesignData& design,
                    QString& error);

// The Russian name of slot 1..14 for the type, without the padding blanks.
QString parameterName(ExchangerType type, int slot);
// "0 < x ≤ 1500", "x > 0": the admissible interval of slot 1..14.
QString admissibleText(int slot);

// A design case as the student program holds it once the initial data are
// typed and checked and the selection has opened: names, values, coefficients
// and the calculation's copy of the initial data.
void loadDesign(DesignCase& designCase, const DesignData& design);

} // namespace orven
