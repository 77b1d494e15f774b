#pragma once
// Switching the keyboard between the Russian and the English (US) layout, so
// that the name can be typed in Cyrillic. Works on X11 when the keyboard has
// both groups configured (for example "us,ru"); elsewhere, or when anything is
// missing, the switches do nothing (the name box then maps the keys itself). The switch goes over
// Qt's own connection to the X server (XKB through Xlib).

#include <QString>

namespace orven {

// True when the keyboard has a Russian group and it is now locked.
bool switchKeyboardLayoutToRussian();
void switchKeyboardLayoutToEnglish();

// Position of a layout in an XKB layout list such as "us,ru" (variants in
// brackets ignored), or -1 when it is not in the list.
int keyboardGroupIndex(const QString& layouts, const QString& layout);

} // namespace orven
