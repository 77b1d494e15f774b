#include "core/start_up_screen.h"

#include "core/main_menu_screen.h"
#include "platform/program_end.h"
#include "platform/screens.h"
#include "platform/translations.h"
#include "results/report_progress.h"
#include "results/results_screen.h"

#include <QApplication>

namespace orven {

void startProgram(QApplication& app, ReportPrinter& printer) {
    // The program ends only through endProgram(): hiding one screen before
    // showing the next must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    installRussianTranslations(app);
    setReportPrinter(&printer);
    installReportFinisher();
    installProgramEndHandlers(app);
    screen<Form1>().show();
}

} // namespace orven
