#pragma once

namespace orven {

// Shows the initial-data screen in its first state: only the two type buttons
// and the question "НАЗОВИТЕ ТИП ТЕПЛООБМЕННИКА".
void showInitialDataFirstState();

// Shows the correction variant of the initial-data screen with the current
// values listed, ready for line clicks.
void openInitialDataCorrection();

} // namespace orven
