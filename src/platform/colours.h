#pragma once
// The plain colours the screens are drawn in (faces, buttons, warnings).
// Colours that only one screen uses stay with that screen.

#include <QColor>

namespace orven::colours {

inline const QColor yellow(255, 255, 0);
inline const QColor green(0, 255, 0);
inline const QColor red(255, 0, 0);
inline const QColor blue(0, 0, 255);
inline const QColor magenta(255, 0, 255);
inline const QColor grey(128, 128, 128);

} // namespace orven::colours
