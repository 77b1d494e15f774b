#pragma once
// Russian texts of Qt's own standard dialog buttons and messages.

class QApplication;

namespace orven {

// Loads Qt's Russian translation (qtbase_ru) from Qt's translations folder.
// Returns false when it is not installed; the program's own dialogs set their
// Russian button texts themselves, so nothing else depends on it.
bool installRussianTranslations(QApplication& app);

} // namespace orven
