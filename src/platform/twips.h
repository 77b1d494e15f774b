#pragma once
// Twips (1/1440 inch) are the unit of every position and size of the screens.
// At 96 logical dots per inch one pixel is 15 twips; Qt scales logical pixels
// on high-density displays by itself, so the conversion stays fixed.

#include <QtGlobal>

namespace orven {

constexpr int twipsPerPixel = 15;

inline int twipsToPixels(double twips) {
    return qRound(twips / twipsPerPixel);
}
inline int pixelsToTwips(int pixels) {
    return pixels * twipsPerPixel;
}

} // namespace orven
