#pragma once
// Fonts of the screens. The designed fonts (Courier, Arial, Times New Roman,
// MS Sans Serif) are asked for by family lists that end in fonts installed on
// this system (Liberation, DejaVu), so a fixed-pitch font stays fixed-pitch.

#include <QFont>
#include <QString>

namespace orven {

// Fixed-pitch font (Courier New and its metric twins).
QFont fixedPitchFont(double points, bool bold = false);

// The font a screen was designed with: "Courier"/"Courier New", "Arial",
// "MS Sans Serif", "Times New Roman"; other names are asked for as they are.
QFont namedFont(const QString& family, double points, bool bold = false);

} // namespace orven
