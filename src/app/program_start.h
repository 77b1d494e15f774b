#pragma once
// Start of the program: the services every screen uses (dialogs in Russian,
// the report printer, the end of the program on a signal or a closed window)
// and the first screen, the main menu.

class QApplication;

namespace orven {

class ReportPrinter;
class SystemReportPrinter;

// Prepares the services and shows the main menu. The printer must outlive the
// event loop; an open report is finished on it however the program ends.
void startProgram(QApplication& app, ReportPrinter& printer);

// Sends the program's printer's messages to the desktop's notifications, a
// report that cannot be saved to a message box, and notes each PDF written
// (platform/report_place.h).
void wireReportPrinter(SystemReportPrinter& printer);

// Wires the steps back to earlier screens (platform/screen_flow.h) to their
// screens; startProgram does it, tests call it themselves.
void wireScreenSteps();

} // namespace orven
