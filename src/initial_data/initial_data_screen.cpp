#include "initial_data/initial_data_screen.h"

namespace orven {

void showInitialDataFirstState() {}
void openInitialDataCorrection() {}

} // namespace orven
