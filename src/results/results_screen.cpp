#include "results/results_screen.h"

namespace orven {

void showResults() {}

} // namespace orven
