#include "arrangement/arrangement_screen.h"

namespace orven {

void arrangePlates() {}

} // namespace orven
