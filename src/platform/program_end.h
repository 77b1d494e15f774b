#pragma once
// The end of the program, as one operation: finish an open printed report,
// unload every screen and leave the event loop. The handler that calls
// endProgram() returns right after it. The same end is reached from the
// title-bar close of any screen, from the application's aboutToQuit and from
// the termination signals SIGTERM, SIGINT and SIGHUP, so that a report whose
// document is still open always comes out finished.

#include <functional>

class QCoreApplication;

namespace orven {

void endProgram();

// True once endProgram() has run (until resetProgramEnd(), for tests).
bool programEnded();
void resetProgramEnd();

// Registered by the report: ends the print document if one is open.
void setReportFinisher(std::function<void()> finisher);
// Runs the registered finisher, if any.
void finishOpenReport();

// Connects aboutToQuit to finishOpenReport() and turns the termination
// signals into endProgram() on the event loop. Call once, after the
// application object exists.
void installProgramEndHandlers(QCoreApplication& app);
void installTerminationSignalHandlers();

// The end of the process once the program has done all its own work (the
// report finished, every window and the application gone): returns the status
// for main() to return on Linux; on Windows the process ends here.
int leaveProcess(int status);

} // namespace orven
