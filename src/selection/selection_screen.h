#pragma once

namespace orven {

// Opens the exchanger selection: refreshes the working copy of the initial data and draws the catalogue table.
void openExchangerSelection();

} // namespace orven
