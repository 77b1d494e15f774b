#pragma once
// Screens that fit the display. The screens are laid out in twips at a fixed
// design size; on a small display with a large desktop scale the largest of
// them would stand partly outside the available area. The program is then
// scaled down as one, through Qt's own scale factor, just enough that the
// largest screen with its frame fits; the factor is held to eighths so that a
// fixed-pitch character cell stays a whole number of device pixels and text
// columns stay on the twip grid of the lines drawn beside them.

#include <QPoint>
#include <QRect>
#include <QSizeF>

#include <optional>

namespace orven {

// The total scale (device pixels per logical pixel) at which a window of
// `design` logical pixels (frame included) fits `available`, given the
// current total scale; nullopt when it fits at the current scale already.
std::optional<double> fittingDeviceScale(QSizeF design, QSizeF available, double currentScale);

// How far a window's frame must move to lie inside the available area: only
// as far as needed, and so that its top left stays in sight when it is larger.
QPoint frameShiftInto(const QRect& frame, const QRect& available);

// When the largest screen does not fit the primary display, starts the
// program again at a scale that fits (once: a restarted program keeps its
// scale). Returns only when no restart is needed.
void fitScreensToDisplay(char* argv[]);

} // namespace orven
