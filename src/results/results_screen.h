#pragma once

namespace orven {

// Opens the results screen, runs the calculation and shows its results and warnings.
void showResults();

// Shows the results screen again as it was left (from the advice screen).
void returnToResults();

} // namespace orven
