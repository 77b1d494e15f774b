#include "selection/selection_screen.h"

namespace orven {

void openExchangerSelection() {}

} // namespace orven
