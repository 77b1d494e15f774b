#include "app/program_start.h"

#include "initial_data/initial_data_screen.h"
#include "menu/main_menu_screen.h"
#include "platform/desktop_notification.h"
#include "platform/dialogs.h"
#include "platform/program_end.h"
#include "platform/report_place.h"
#include "platform/screen_flow.h"
#include "platform/screens.h"
#include "platform/system_report_printer.h"
#include "platform/translations.h"
#include "results/report_progress.h"
#include "results/results_screen.h"
#include "selection/selection_screen.h"

#include <QApplication>

namespace orven {

namespace {

// The printer's messages as the desktop shows them: without the program's
// name in front (the notification names it), starting with a capital.
QString notificationText(QString message) {
    message.remove(QStringLiteral("ORVEN: "));
    if (!message.isEmpty())
        message[0] = message.at(0).toUpper();
    return message;
}

} // namespace

void wireReportPrinter(SystemReportPrinter& printer) {
    printer.setMessageListener([](const QString& message, const QString& pdfPath) {
        notifyDesktop(notificationText(message), pdfPath);
    });
    printer.setUnsavedListener([](const QString& message) {
        dialogs().showWarning(QStringLiteral("Отчёт не сохраняется"), notificationText(message));
    });
    printer.setWrittenListener([](const QString& pdfPath) { noteReportWritten(pdfPath); });
}

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
