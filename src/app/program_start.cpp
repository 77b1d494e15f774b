#include "app/program_start.h"

#include "initial_data/initial_data_screen.h"
#include "menu/main_menu_screen.h"
#include "platform/program_end.h"
#include "platform/screen_flow.h"
#include "platform/screens.h"
#include "platform/translations.h"
#include "results/report_progress.h"
#include "results/results_screen.h"
#include "selection/selection_screen.h"

#include <QApplication>

namespace orven {

void wireScreenSteps() {
    setScreenStep(ScreenStep::MainMenu, [] { screen<Form1>().show(); });
    setScreenStep(ScreenStep::ExchangerSelection, [] { openExchangerSelection(); });
    setScreenStep(ScreenStep::InitialDataCorrection, [] { openInitialDataCorrection(); });
}

void startProgram(QApplication& app, ReportPrinter& printer) {
    // The program ends only through endProgram(): hiding one screen before
    // showing the next must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    installRussianTranslations(app);
    setReportPrinter(&printer);
    installReportFinisher();
    wireScreenSteps();
    installProgramEndHandlers(app);
    screen<Form1>().show();
}

} // namespace orven
