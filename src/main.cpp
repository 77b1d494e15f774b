#include "core/start_up_screen.h"
#include "platform/program_end.h"
#include "platform/system_report_printer.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Declared after the application: its destructor finishes an open report
    // while the application still exists.
    orven::SystemReportPrinter printer;
    orven::startProgram(app, printer);
    if (orven::programEnded())
        return 0;
    return QApplication::exec();
}
