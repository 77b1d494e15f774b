#pragma once
// The calculation of one variant as a teaching protocol: for each step of the
// method the formula with its symbols and units, the same formula with the
// numbers put in, and the result as the results screen rounds it with its full
// precision beside it; the flow regimes with the comparison that chose them,
// and every warning with the comparison that raises it. Every number comes
// from the student program's own calculation of the variant.

#include "key/variants.h"

#include <QStringList>

namespace orven {

QStringList explainVariant(const DesignData& design, const Variant& variant);

} // namespace orven
