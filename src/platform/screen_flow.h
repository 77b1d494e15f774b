#pragma once
// The steps between screens that would otherwise tie their folders in a
// circle: the description back to the main menu, the initial data and the
// results on to the exchanger selection (whose arrangement screen uses the
// initial data's error box), the results back to the correction of the initial
// data. The other steps call the next screen's own function (menu → initial
// data, selection → arrangement → results). A step here is asked for by its
// name, and the program wires each name to its screen at start
// (app/program_start.h), so that no folder includes a folder that includes it.

#include <functional>

namespace orven {

enum class ScreenStep {
    MainMenu,              // the main menu shown again
    ExchangerSelection,    // the construction table
    InitialDataCorrection, // the initial data, for a correction
};

void setScreenStep(ScreenStep step, std::function<void()> action);
// Runs the step's action; a step that was never wired is a fault of the
// program and ends it with a message.
void goToScreen(ScreenStep step);

} // namespace orven
