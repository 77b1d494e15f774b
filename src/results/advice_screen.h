#pragma once

namespace orven {

// Shows the selection advice; its button returns to the results screen.
void showSelectionAdvice();

} // namespace orven
