#pragma once

namespace orven {

// Opens the results screen, runs the calculation and shows its results and warnings.
void showResults();

} // namespace orven
