#include "support/test_support.h"
#include "app/program_start.h"

#include "core/design_case.h"
#include "platform/program_end.h"
#include "platform/screens.h"

#include <QLocale>
#include <QtGlobal>

namespace orven::test {

QString sourceDir() {
    return qEnvironmentVariable("ORVEN_SOURCE_DIR");
}

} // namespace orven::test

namespace orven::test {

void startFreshRun() {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    resetDesignCase();
    clearScreens();
    resetProgramEnd();
    wireScreenSteps();
}

void clearScreens() {
    unloadAllScreens();
    deleteUnloadedScreens();
}

} // namespace orven::test
