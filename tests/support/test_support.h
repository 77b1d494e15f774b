#pragma once
// Helpers shared by the tests.

#include <QByteArray>
#include <QString>

class QWidget;

namespace orven::test {

// Root of the source tree (for test data and scripts).
QString sourceDir();

} // namespace orven::test

namespace orven::test {

// The state of a freshly started program for a screen test: Russian regional
// settings, the design case as at start, no screens loaded, the program not
// ended.
void startFreshRun();

// Unloads every screen and deletes the windows at once.
void clearScreens();

} // namespace orven::test

namespace orven::test {

// A local file or folder dropped on the widget as a file manager drops it;
// the drag is to be accepted.
void dropFile(QWidget* widget, const QString& path);

} // namespace orven::test

namespace orven::test {

// Text in Windows-1251 as Excel on a Russian Windows saves it: ASCII, the
// Russian letters (А..я at 0xC0..0xFF, Ё 0xA8, ё 0xB8) and «» №; made here,
// not by Qt, whose Windows build has no such codec.
QByteArray windows1251(const QString& text);

} // namespace orven::test
