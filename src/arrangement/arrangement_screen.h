#pragma once

namespace orven {

// Asks for the packs and channels of both streams and, on equal channel totals, shows the results.
void arrangePlates();

} // namespace orven
