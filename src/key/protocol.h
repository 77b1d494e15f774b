#pragma once
// The calculation of one variant as a teaching protocol: for each step of the
// method the formula with its symbols and units, the same formula with the
// numbers put in, and the result as the results screen rounds it with its full
// precision beside it; the flow regimes with the comparison that chose them,
// and every warning with the comparison that raises it. Every number comes
// from the student program's own calculation of the variant.

#include "key/variants.h"

#include <QStringList>

namespace orven {

// The lines of a protocol: a title after a blank line; a step as its formula,
// the formula with the numbers put in, and the result, each indented.
class Protocol {
public:
    void title(const QString& text) { lines_ << QString() << text; }
    void step(const QString& formula, const QString& substituted, const QString& value) {
        lines_ << QStringLiteral("    ") + formula << QStringLiteral("      ") + substituted
               << QStringLiteral("      ") + value;
    }
    void note(const QString& text) { lines_ << QStringLiteral("    ") + text; }
    QStringList lines() const { return lines_; }

private:
    QStringList lines_;
};

// G1, λ1, ρ1, ... ε: the symbols of initial-data slots 1..14.
const QStringList& initialDataSymbols();

QStringList explainVariant(const DesignData& design, const Variant& variant);

} // namespace orven
